// The Vantor window driven as a user would: catalogue double-clicks, the
// drawing's selection, the module list and the menu enabling.
#include "MainWindow.h"
#include "EditDialogs.h"
#include "GuiTestSupport.h"
#include "ProjectView.h"
#include "QtMessageSink.h"
#include "editing/CommandEditor.h"
#include "model/ProjectFile.h"
#include "workbook/VantorWorkbook.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

class MainWindowTest : public QObject {
    Q_OBJECT

    QTreeWidgetItem* catalogueItem(MainWindow& w, const QString& text) {
        auto* tree = w.findChild<QTreeWidget*>("tree33333");
        auto found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? nullptr : found.first();
    }
    void doubleClick(MainWindow& w, const QString& text) {
        auto* tree = w.findChild<QTreeWidget*>("tree33333");
        QTreeWidgetItem* item = catalogueItem(w, text);
        QVERIFY(item);
        emit tree->itemDoubleClicked(item, 0);
    }
    bool enabled(MainWindow& w, int id) {
        return w.findChild<QAction*>(QString("command%1").arg(id))->isEnabled();
    }

private slots:
    // Recent files go to a test settings location, not the user's.
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void catalogueHasThreeBranchesExpanded() {
        MainWindow w;
        auto* tree = w.findChild<QTreeWidget*>("tree33333");
        QCOMPARE(tree->topLevelItemCount(), 3);
        QCOMPARE(tree->topLevelItem(0)->text(0), QString("MODBUS RTU Master"));
        QCOMPARE(tree->topLevelItem(0)->childCount(), 10);
        QCOMPARE(tree->topLevelItem(1)->childCount(), 6);
        QTreeWidgetItem* normal = tree->topLevelItem(2)->child(0);
        QCOMPARE(normal->text(0), QString("Normal Slave"));
        QCOMPARE(normal->childCount(), 8);
        QVERIFY(normal->isExpanded());
    }

    void enablingFollowsTheGatewayModel() {
        struct Case {
            const char* model;
            bool network, eip, workMode;
        } cases[] = {{"KX-P6R0-1.0", true, false, false},
                     {"TRX-H-QMB6", false, true, false},
                     {"LNK-P1-1.0", true, false, true}};
        for (const auto& c : cases) {
            MainWindow w;
            QVERIFY(!enabled(w, 32772));
            QVERIFY(enabled(w, 57600));
            doubleClick(w, c.model);
            QCOMPARE(w.document().modelName(), std::string(c.model));
            QVERIFY(enabled(w, 32772));
            QCOMPARE(enabled(w, 32776), c.network);
            QCOMPARE(enabled(w, 32821), c.eip);
            QCOMPARE(enabled(w, 32826), c.workMode);
            QVERIFY(!enabled(w, 32813)); // 配置上传 never
        }
    }

    void linesAndModuleListFollowSelection() {
        MainWindow w;
        doubleClick(w, "KX-P6R0-1.0");
        doubleClick(w, "COM3");
        auto& doc = w.document();
        QCOMPARE(doc.coms.size(), std::size_t(1));
        QCOMPARE(doc.coms[0].x, 260);
        QCOMPARE(doc.coms[0].y, 380);
        // The new line is selected: the module list names it.
        QCOMPARE(w.findChild<QLabel*>("selectedName")->text(), QString("COM3"));
        QVERIFY(doc.modified);
        QVERIFY(w.windowTitle().contains('*'));
    }

    // The command dialog shows only the boxes the command offers: one not
    // offered is hidden, not left in the dialog's corner over the title.
    void commandDialogShowsOnlyTheBoxesItOffers() {
        const struct {
            const char* model;
            const char* kind;
            bool editSend, cdtYx;
        } cases[] = {{"KX-P2R0-1.0", "读4区 03H", false, false},
                     {"KX-P2R0-1.0", "写4区 10H 写多字", true, false},
                     {"TRC-H-ZRTU", "读4区 03H", false, true}};
        for (const auto& c : cases) {
            vantor::model::CVantorDoc doc;
            std::string error;
            QVERIFY2(vantor::model::ProjectFile::open(doc, "demo.vtc", &error), error.c_str());
            doc.masters[0].masterName = c.model;
            doc.selectedItem = 0;
            vantor::RecordingSink sink;
            auto form = vantor::editing::openNewCommandForm(doc, c.kind, sink);
            QVERIFY(form);
            bool editSend = false, cdtYx = false;
            vantor::testing::ModalStep step([&](QDialog* d) {
                editSend = d->findChild<QCheckBox*>("checkEditSend")->isVisible();
                cdtYx = d->findChild<QCheckBox*>("checkCdtYx")->isVisible();
                d->reject();
            });
            runCommandDialog(nullptr, doc, *form);
            VERIFY_MODAL(step);
            QCOMPARE(editSend, c.editSend);
            QCOMPARE(cdtYx, c.cdtYx);
        }
    }

    void openingABrokenFileKeepsTheProject() {
        QTemporaryDir dir;
        const QString path = dir.filePath("broken.vtc");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("\xff\x10"); // a length prefix cut short
        f.close();
        MainWindow w;
        doubleClick(w, "KX-P2R0-1.0");
        vantor::testing::ModalStep refusal([](QDialog* d) { d->accept(); });
        QVERIFY(!w.openProject(path));
        VERIFY_MODAL(refusal);
        QCOMPARE(w.document().modelName(), std::string("KX-P2R0-1.0"));
    }

    // 打开 and 另存为 ask through the file chooser; a cancelled request
    // changes nothing, a name without extension is saved as .vtc.
    void openAndSaveAsAskThroughTheChooser() {
        QTemporaryDir dir;
        vantor::testing::ScriptedChooser chooser(
            {QFileInfo("demo.vtc").absoluteFilePath(), dir.filePath("copy")});
        MainWindow w;
        w.findChild<QAction*>("command57601")->trigger();
        QVERIFY(!w.document().slaves.empty());
        QCOMPARE(chooser.requests.at(0).mode, vantor::gui::FileRequest::Mode::Open);
        w.findChild<QAction*>("command57604")->trigger();
        QCOMPARE(chooser.requests.at(1).mode, vantor::gui::FileRequest::Mode::Save);
        QVERIFY(QFile::exists(dir.filePath("copy.vtc")));
        QVERIFY(w.windowTitle().contains("copy.vtc"));
        // Cancelled: nothing asked beyond the chooser, nothing written.
        w.findChild<QAction*>("command57604")->trigger();
        QCOMPARE(chooser.unanswered, 1);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"copy.vtc"});
    }

    // 导出工程表格... asks for the file through the chooser and writes the
    // project's four sheets; what it wrote reads back to the same project.
    void exportWorkbookWritesTheProject() {
        QTemporaryDir dir;
        const QString book = dir.filePath("demo.xlsx");
        vantor::testing::ScriptedChooser chooser({book});
        MainWindow w;
        QVERIFY(w.openProject("demo.vtc"));
        vantor::testing::ModalStep done([](QDialog* d) { d->accept(); });
        w.findChild<QAction*>("commandExportWorkbook")->trigger();
        VERIFY_MODAL(done);
        QCOMPARE(chooser.requests.at(0).mode, vantor::gui::FileRequest::Mode::Save);
        QVERIFY(chooser.requests.at(0).directory.endsWith("EXCEL/demo.xlsx"));
        vantor::model::CVantorDoc fresh;
        fresh.NewDocument(QDir::currentPath().toStdString());
        const auto back = vantor::workbook::importWorkbook(book.toStdString(), fresh);
        QVERIFY2(back.accepted(), back.report.text().c_str());
        QCOMPARE(vantor::model::ProjectFile::buildText(*back.project, "v"),
                 vantor::model::ProjectFile::buildText(w.document(), "v"));
    }

    // 导入工程表格...: a refused workbook lists its rows in a box the user can
    // copy from and changes nothing (project, undo history, file); an
    // accepted one becomes the project as one undo step.
    void importWorkbookIsAllOrNothing() {
        QTemporaryDir dir;
        vantor::model::CVantorDoc demo;
        std::string error;
        QVERIFY(vantor::model::ProjectFile::open(demo, "demo.vtc", &error));
        auto sheets = vantor::workbook::exportSheets(demo);
        sheets[2].rows[0][vantor::workbook::kSlName] = vantor::sheet::Cell::of(std::string("改名"));
        const QString good = dir.filePath("good.xlsx");
        QVERIFY(vantor::sheet::saveWorkbook(good.toStdString(), sheets, error));
        sheets[2].rows[1][vantor::workbook::kSlTimeout] = vantor::sheet::Cell::of(99.0);
        const QString bad = dir.filePath("bad.xlsx");
        QVERIFY(vantor::sheet::saveWorkbook(bad.toStdString(), sheets, error));
        const QString project = dir.filePath("p.vtc");
        QFile::copy("demo.vtc", project);
        const QByteArray onDisk = vantor::testing::readAll(project);

        vantor::testing::ScriptedChooser chooser({bad, good});
        MainWindow w;
        QVERIFY(w.openProject(project));
        const std::string before = vantor::model::ProjectFile::buildText(w.document(), "v");
        QString listed;
        vantor::testing::ModalStep refusals([&](QDialog* d) {
            listed = d->findChild<QPlainTextEdit*>("textRefusals")->toPlainText();
            d->findChild<QPushButton*>("buttonCopy")->click();
            d->reject();
        });
        w.findChild<QAction*>("commandImportWorkbook")->trigger();
        VERIFY_MODAL(refusals);
        QCOMPARE(listed, QString("从站 第3行 应答超时时间: 应答超时时间请添入一个100和3000之间的整数"));
        QCOMPARE(QApplication::clipboard()->text(), listed);
        QCOMPARE(vantor::model::ProjectFile::buildText(w.document(), "v"), before);
        QVERIFY(!enabled(w, 57643));
        QVERIFY(!w.windowTitle().contains('*'));
        QCOMPARE(vantor::testing::readAll(project), onDisk);

        // Accepted: the workbook's project, modified, one step back to the file's.
        w.findChild<QAction*>("commandImportWorkbook")->trigger();
        QCOMPARE(w.document().slaves.at(0).name, std::string("改名"));
        QVERIFY(w.windowTitle().contains('*'));
        w.findChild<QAction*>("command57643")->trigger();
        QCOMPARE(vantor::model::ProjectFile::buildText(w.document(), "v"), before);
        QVERIFY(!enabled(w, 57643));
        QVERIFY(!w.windowTitle().contains('*'));
    }

    void demoProjectOpensAndSelectsSlaves() {
        MainWindow w;
        QVERIFY(w.openProject("demo.vtc"));
        auto& doc = w.document();
        QVERIFY(!doc.slaves.empty());
        QVERIFY(!doc.modified);
        // Click on the first slave's picture.
        auto* view = w.findChild<ProjectView*>();
        const auto& s = doc.slaves[0];
        QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(s.x + 10, s.y + 10));
        QCOMPARE(doc.selectedSlave(), 0);
        auto* list = w.findChild<QTableWidget*>("list1000");
        QCOMPARE(list->rowCount(), static_cast<int>(s.modules.size()));
        QCOMPARE(list->item(0, 1)->text().toStdString(), s.modules[0].Func);
        // The status bar gives the poll cycle of the slave's line.
        auto* budget = w.findChild<QLabel*>("labelBudget");
        QVERIFY(budget);
        QVERIFY2(budget->text().startsWith("COM1 轮询周期约 "), qPrintable(budget->text()));
        QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(2000, 900)); // nothing there
        QVERIFY(budget->text().isEmpty());
    }

    // 批量复制 in the drawing's context menu of a slave: a refusal keeps the
    // dialog open and the project as it was; the copies are one undo step.
    void slaveCopiesFromTheContextMenu() {
        vantor::RecordingSink messages;
        vantor::gui::QtMessageSink::redirectTo(&messages);
        MainWindow w;
        QVERIFY(w.openProject("demo.vtc"));
        auto& doc = w.document();
        const auto before = doc.slaves;
        QAction* copies = w.findChild<QAction*>("commandSlaveCopies");
        QVERIFY(vantor::testing::popupOffers(copies, [&] {
            QTest::mouseClick(w.findChild<ProjectView*>(), Qt::RightButton, {},
                              {before[0].x + 5, before[0].y + 5});
        }));
        bool stayedOpen = false;
        vantor::testing::ModalStep step([&](QDialog* d) {
            vantor::testing::setField(d, "editCount", "2");
            vantor::testing::pressOk(d); // address 2 is taken on COM1
            stayedOpen = d->isVisible() && doc.slaves == before;
            vantor::testing::setField(d, "editStep", "10");
            vantor::testing::pressOk(d);
        });
        copies->trigger();
        VERIFY_MODAL(step);
        vantor::gui::QtMessageSink::redirectTo(nullptr);
        QVERIFY(stayedOpen);
        QCOMPARE(messages.texts(), std::vector<std::string>{"地址2已经被占用,请更换地址间隔或复制数量"});
        QCOMPARE(doc.slaves.size(), before.size() + 2);
        QCOMPARE(doc.slaves.back().address, 21);
        w.findChild<QAction*>("command57643")->trigger();
        QVERIFY(doc.slaves == before && !doc.modified);
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
