// VantorLoad in English: its dialog, every message it gives on start and
// every window its buttons open, without address files and with a gateway
// address nobody answers at, hold no Chinese text.
#include "EnglishWalk.h"
#include "LoadDialog.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

class EnglishWalkVantorLoadTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void everyWindowAndMessageSpeaksEnglish() {
        vantor::testing::EnglishWalk walk("vantorload");
        for (const char* address : {"", "127.0.0.1"}) {
            QTemporaryDir dir;
            QVERIFY(dir.isValid());
            if (*address) {
                QVERIFY(QDir(dir.path()).mkpath("IP"));
                QFile ip(dir.filePath("IP/ip.txt")), port(dir.filePath("IP/port.txt"));
                QVERIFY(ip.open(QIODevice::WriteOnly) && port.open(QIODevice::WriteOnly));
                ip.write(address);
                port.write("1"); // nothing listens there
            }
            const QString where =
                *address ? QString("gateway at %1").arg(address) : QString("no address files");
            std::unique_ptr<LoadDialog> dialog;
            walk.follow(
                where + ", start",
                [&] {
                    dialog = std::make_unique<LoadDialog>(dir.path());
                    dialog->show();
                },
                1, false);
            for (QPushButton* button : dialog->findChildren<QPushButton*>())
                if (button->isVisible() && button->isEnabled())
                    walk.follow(where + " > " + button->text(), [button] { button->click(); });
        }
        QVERIFY2(walk.windows > 4 && walk.texts > 100,
                 qPrintable(QString("only %1 windows and %2 texts seen").arg(walk.windows).arg(walk.texts)));
        QVERIFY2(walk.clean(), qPrintable("Chinese left in English mode:" + walk.report()));
    }
};

QTEST_MAIN(EnglishWalkVantorLoadTest)
#include "EnglishWalkVantorLoadTest.moc"
