// A project assembled through the Vantor window as a user would: catalogue
// double-clicks answering the slave and command dialogs, clicks and drags in
// the drawing, the keys of copy, paste and delete, save and reopen, and the
// address map export. Message boxes are recorded, never shown.
#include "GuiTestSupport.h"
#include "MainWindow.h"
#include "ProjectView.h"
#include "QtMessageSink.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>
#include <functional>

using vantor::RecordingSink;
using vantor::testing::ModalStep;
using vantor::testing::pressOk;
using vantor::testing::readAll;
using vantor::testing::ScriptedChooser;
using vantor::testing::setField;

class AssembleProjectTest : public QObject {
    Q_OBJECT

    RecordingSink messages_;

    void activate(MainWindow& w, const QString& text) {
        auto* tree = w.findChild<QTreeWidget*>("tree33333");
        auto found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        QVERIFY2(!found.isEmpty(), qPrintable(text));
        emit tree->itemDoubleClicked(found.first(), 0);
    }
    void trigger(MainWindow& w, int id) { w.findChild<QAction*>(QString("command%1").arg(id))->trigger(); }
    bool enabled(MainWindow& w, int id) {
        return w.findChild<QAction*>(QString("command%1").arg(id))->isEnabled();
    }
    ProjectView* view(MainWindow& w) { return w.findChild<ProjectView*>(); }
    void click(MainWindow& w, int x, int y) { QTest::mouseClick(view(w), Qt::LeftButton, {}, QPoint(x, y)); }

    // A new slave on the selected line, answered through its dialog.
    void addSlave(MainWindow& w, const QString& name) {
        ModalStep step([name](QDialog* d) {
            setField(d, "edit1002", name);
            pressOk(d);
        });
        activate(w, "Normal Slave");
        VERIFY_MODAL(step);
    }
    // A new command on the selected slave with the proposed gateway address.
    void addCommand(MainWindow& w, const QString& kind, const QString& length) {
        ModalStep step([length](QDialog* d) {
            setField(d, "edit1096", length);
            pressOk(d);
        });
        activate(w, kind);
        VERIFY_MODAL(step);
    }

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        vantor::gui::QtMessageSink::redirectTo(&messages_);
    }
    void cleanupTestCase() { vantor::gui::QtMessageSink::redirectTo(nullptr); }
    void init() { messages_.messages.clear(); }

    void assembleEditSaveReopen() {
        MainWindow w;
        w.show(); // keyboard shortcuts need an active window
        QVERIFY(QTest::qWaitForWindowActive(&w));
        auto& doc = w.document();
        activate(w, "KX-P4R0-1.0");
        activate(w, "COM1");
        activate(w, "COM3");
        activate(w, "COM5");
        QCOMPARE(messages_.texts(), std::vector<std::string>{"KX-P4R0-1.0只有四个COM口"});
        QCOMPARE(doc.coms.size(), std::size_t(2));

        // Slaves on COM1 (selected by clicking its bus), then commands.
        click(w, 400, 80);
        QCOMPARE(doc.selectedCom(), 0);
        addSlave(w, "温度表");
        QCOMPARE(doc.slaves.size(), std::size_t(1));
        QCOMPARE(doc.slaves[0].address, 1);
        QCOMPARE(doc.slaves[0].name, std::string("温度表"));
        QCOMPARE(doc.selectedSlave(), 0);
        addCommand(w, "读4区 03H", "10");
        addCommand(w, "读0区 01H", "16");
        QCOMPARE(doc.slaves[0].modules.size(), std::size_t(2));
        QCOMPARE(doc.slaves[0].modules[0].Gate_Add, 0);
        QCOMPARE(doc.slaves[0].modules[1].area_num, 0);
        auto* list = w.findChild<QTableWidget*>("list1000");
        QCOMPARE(list->rowCount(), 2);
        QCOMPARE(list->item(0, 5)->text(), QString("40000"));

        // A refused value keeps the dialog open with the user's input.
        QString keptText;
        ModalStep refused([&keptText](QDialog* d) {
            setField(d, "edit1096", "0");
            pressOk(d);
            // Still open: read the field, then give up with Cancel.
            QTimer::singleShot(0, d, [d, &keptText] {
                keptText = d->findChild<QLineEdit*>("edit1096")->text();
                d->reject();
            });
        });
        activate(w, "读3区 04H");
        VERIFY_MODAL(refused);
        QCOMPARE(keptText, QString("0"));
        QCOMPARE(doc.slaves[0].modules.size(), std::size_t(2));
        QVERIFY(!messages_.messages.empty());

        // Copy and paste with the keys: a second slave with fresh addresses.
        const auto& s = doc.slaves[0];
        w.activateWindow(); // the dialogs took the activation away
        QVERIFY(QTest::qWaitForWindowActive(&w));
        click(w, s.x + 10, s.y + 10);
        QCOMPARE(QApplication::focusWidget(), view(w));
        QTest::keyClick(view(w), Qt::Key_C, Qt::ControlModifier);
        QTest::keyClick(view(w), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(doc.slaves.size(), std::size_t(2));
        QCOMPARE(doc.slaves[1].modules.size(), std::size_t(2));
        QCOMPARE(doc.slaves[1].modules[0].Gate_Add, 10);
        QCOMPARE(doc.slaves[1].address, 2);

        // Drag the last slave right: the line grows; back left: it shrinks to 260.
        const int lineX = doc.coms[0].x;
        click(w, doc.slaves[1].x + 10, doc.slaves[1].y + 10);
        QTest::mousePress(view(w), Qt::LeftButton, {}, QPoint(doc.slaves[1].x + 25, doc.slaves[1].y + 20));
        QMouseEvent move(QEvent::MouseMove, QPointF(925, 135), QPointF(925, 135), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view(w), &move);
        view(w)->grab(); // paint: the line follows its slaves
        QCOMPARE(doc.coms[0].com_length, 900 - lineX + 80);
        QMouseEvent back(QEvent::MouseMove, QPointF(425, 135), QPointF(425, 135), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view(w), &back);
        view(w)->grab();
        QCOMPARE(doc.coms[0].com_length, 260);

        // Save, reopen in a fresh window, save again: the same bytes.
        QTemporaryDir dir;
        const QString first = dir.filePath("p.vtc"), second = dir.filePath("q.vtc");
        QVERIFY(w.saveTo(first));
        QVERIFY(!w.windowTitle().contains('*'));
        MainWindow again;
        QVERIFY(again.openProject(first));
        QCOMPARE(again.document().slaves.size(), std::size_t(2));
        QVERIFY(again.saveTo(second));
        QCOMPARE(readAll(second), readAll(first));

        // Delete the selected slave with the context menu's command: Yes.
        click(w, doc.slaves[1].x + 10, doc.slaves[1].y + 10);
        trigger(w, 32773);
        QCOMPARE(doc.slaves.size(), std::size_t(1));
        QCOMPARE(messages_.messages.back().caption, std::string("删除从站"));
    }

    // 从站属性 and COM属性: a refused OK, then Cancel, leaves the project as
    // it was (nothing saved, no modified mark).
    void cancelAfterRefusalChangesNothing() {
        MainWindow w;
        QVERIFY(w.openProject("demo.vtc"));
        w.show(); // the drawing takes mouse events only when shown
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto& doc = w.document();
        const auto slaves = doc.slaves;
        const auto coms = doc.coms;
        const auto& s = doc.slaves[0];
        struct Case {
            QPoint at;
            const char* field;
            const char* bad;
            const char* changed; // a second field changed before OK
            const char* message;
        } cases[] = {{QPoint(s.x + 10, s.y + 10), "edit1001", "abc", "edit1002", "从站地址有非法字符"},
                     {QPoint(doc.coms[0].x + 40, doc.coms[0].y + 2), "edit1067", "abc", nullptr,
                      "报文发送间隔格式错误"}};
        for (const auto& c : cases) {
            messages_.messages.clear();
            bool stayedOpen = false;
            ModalStep step([&](QDialog* d) {
                if (c.changed)
                    setField(d, c.changed, "CHANGED");
                if (auto* baud = d->findChild<QComboBox*>("combo1014"))
                    baud->setCurrentIndex(baud->currentIndex() == 0 ? 1 : 0);
                setField(d, c.field, c.bad);
                pressOk(d);
                stayedOpen = d->isVisible();
                d->reject();
            });
            // The press selects, the double-click opens.
            QTest::mouseClick(view(w), Qt::LeftButton, {}, c.at);
            QTest::mouseDClick(view(w), Qt::LeftButton, {}, c.at);
            VERIFY_MODAL(step);
            QVERIFY(stayedOpen);
            QCOMPARE(messages_.texts(), std::vector<std::string>{c.message});
            QVERIFY(doc.slaves == slaves);
            QVERIFY(doc.coms == coms);
            QVERIFY(!doc.modified);
        }
    }

    // Delete on the drawing asks and deletes as the context menu's 删除 does.
    void deleteKeyOnTheDrawing() {
        MainWindow w;
        QVERIFY(w.openProject("demo.vtc"));
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        auto& doc = w.document();
        const std::size_t before = doc.slaves.size();
        click(w, doc.slaves[0].x + 10, doc.slaves[0].y + 10);
        QCOMPARE(doc.selectedSlave(), 0);
        QTest::keyClick(view(w), Qt::Key_Delete);
        QCOMPARE(doc.slaves.size(), before - 1);
        QCOMPARE(messages_.messages.back().caption, std::string("删除从站"));
        // In the module list, Delete removes the current command instead.
        click(w, doc.slaves[0].x + 10, doc.slaves[0].y + 10);
        const std::size_t commands = doc.slaves[0].modules.size();
        auto* list = w.findChild<QTableWidget*>("list1000");
        list->setFocus();
        list->selectRow(0);
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(doc.slaves[0].modules.size(), commands - 1);
        QCOMPARE(doc.slaves.size(), before - 1);
        // Ctrl+Z twice brings both back and the opened state is unmodified;
        // Ctrl+Y deletes the slave again.
        QTest::keyClick(view(w), Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(view(w), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(doc.slaves.size(), before);
        QVERIFY(!doc.modified);
        QVERIFY(!w.windowTitle().contains('*'));
        QTest::keyClick(view(w), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(doc.slaves.size(), before - 1);
        QVERIFY(w.windowTitle().contains('*'));
    }

    void enablingPerModel() {
        struct Case {
            const char* model;
            bool network, eip, workMode, addressing;
        } cases[] = {{"TRX-H-QMB6", false, true, false, false},
                     {"TRC-H-ZRTU", true, false, false, true},
                     {"LNK-P1-1.0", true, false, true, true}};
        for (const auto& c : cases) {
            MainWindow w;
            activate(w, c.model);
            QCOMPARE(enabled(w, 32776), c.network);
            QCOMPARE(enabled(w, 32821), c.eip);
            QCOMPARE(enabled(w, 32824), c.eip);
            QCOMPARE(enabled(w, 32826), c.workMode);
            QCOMPARE(enabled(w, 32817), c.addressing);
            QVERIFY(enabled(w, 32777));
            QVERIFY(!enabled(w, 32813));
        }
        // The CDT gateway brings its two lines.
        MainWindow w;
        activate(w, "TRC-H-ZRTU");
        QCOMPARE(w.document().coms.size(), std::size_t(2));
    }

    void addressMapExportWritesWorkbook() {
        MainWindow w;
        QVERIFY(w.openProject("demo.vtc"));
        QTemporaryDir dir;
        const QString path = dir.filePath("map.xlsx");
        ScriptedChooser chooser({path});
        ModalStep mapWindow([](QDialog* map) {
            auto* list = map->findChild<QTableWidget*>("list1033");
            QVERIFY(list && list->rowCount() > 0);
            map->findChild<QPushButton*>("button1096")->click();
            map->reject();
        });
        trigger(w, 32777);
        VERIFY_MODAL(mapWindow);
        QCOMPARE(chooser.requests.size(), std::size_t(1));
        QCOMPARE(chooser.requests[0].caption, QString("导出"));
        QVERIFY(chooser.requests[0].directory.endsWith("/EXCEL"));
        const QByteArray bytes = readAll(path);
        QVERIFY(bytes.startsWith("PK")); // a zip container: an .xlsx workbook
        QCOMPARE(messages_.messages.back().kind, vantor::MessageKind::Information);
    }
};

QTEST_MAIN(AssembleProjectTest)
#include "AssembleProjectTest.moc"
