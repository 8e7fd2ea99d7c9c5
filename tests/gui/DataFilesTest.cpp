// Vantor started in a directory it cannot write: its files go to the
// per-user data directory, the status bar says so, and what it wrote there
// (the access address of 访问参数设置) is what the next window reads.
#include "DataFiles.h"
#include "DeviceAccessDialog.h"
#include "GuiTestSupport.h"
#include "IpAddressEdit.h"
#include "MainWindow.h"
#include "model/CVantorDoc.h"
#include "services/AccessParams.h"

#include <QAction>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>

using vantor::testing::ModalStep;

class DataFilesTest : public QObject {
    Q_OBJECT

    QTemporaryDir home_;
    QString dataDir_;

    // A directory this user cannot create files in: a read-only copy for
    // ordinary users; for root, who may write anywhere else, a process
    // directory of /proc.
    QString readOnlyDirectory() {
        if (!vantor::common::DataLocations::isWritableDirectory("/proc/1"))
            return "/proc/1";
        const QString dir = home_.filePath("readonly");
        QDir().mkpath(dir);
        QFile::setPermissions(dir, QFile::ReadOwner | QFile::ExeOwner);
        return vantor::common::DataLocations::isWritableDirectory(dir.toStdString()) ? QString() : dir;
    }

private slots:
    void initTestCase() {
        QVERIFY(home_.isValid());
        dataDir_ = QDir::currentPath();
        qputenv("XDG_DATA_HOME", home_.filePath("data").toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", home_.filePath("config").toLocal8Bit());
        QCoreApplication::setOrganizationName("Vantor");
        QCoreApplication::setApplicationName("Vantor");
    }

    void readOnlyStartDirectory() {
        const QString readOnly = readOnlyDirectory();
        if (readOnly.isEmpty())
            QSKIP("no directory here is read-only for this user");
        QVERIFY(QDir::setCurrent(readOnly));
        vantor::gui::setUpDataFiles();
        const QString perUser = home_.filePath("data/Vantor/Vantor");
        QCOMPARE(vantor::gui::workDirectory(), perUser);
        QVERIFY(QDir(perUser).exists());

        MainWindow first;
        QVERIFY2(first.statusBar()->currentMessage().contains(perUser),
                 qPrintable(first.statusBar()->currentMessage()));
        // A project named relative to the start-up directory still opens.
        QVERIFY(QDir::setCurrent(dataDir_));
        bool opened = false;
        {
            // A refusal would come as a message box: closed, so the test fails
            // instead of waiting on it.
            ModalStep refusal([](QDialog* d) { d->reject(); });
            opened = first.openProject(QDir(readOnly).relativeFilePath(dataDir_ + "/demo.vtc"));
            QVERIFY(!refusal.ran());
        }
        QVERIFY(opened);

        ModalStep step([](QDialog* d) {
            auto* dialog = qobject_cast<DeviceAccessDialog*>(d);
            QVERIFY(dialog);
            dialog->ipEdit()->setText("10.1.2.3");
            dialog->accept();
        });
        first.findChild<QAction*>("command32802")->trigger();
        VERIFY_MODAL(step);
        QCOMPARE(vantor::model::readAccessIp(vantor::services::ethOptionPath(perUser.toStdString())),
                 std::string("10.1.2.3"));

        MainWindow second;
        QCOMPARE(second.document().IP, std::string("10.1.2.3"));
    }

    // The read-only copy is removed with the rest, failed or not.
    void cleanupTestCase() {
        QFile::setPermissions(home_.filePath("readonly"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
};

QTEST_MAIN(DataFilesTest)
#include "DataFilesTest.moc"
