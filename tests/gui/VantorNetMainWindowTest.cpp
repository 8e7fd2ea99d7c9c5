// VantorNet's main window as a user drives it: the window at start-up, a
// project assembled by double-clicks in the device tree and the drawing
// (gateway, servers, commands) with its refusals, deleting with the
// question, the address tables, save and reopen, undo and redo. Message
// boxes are recorded, file choices scripted.
#include "GuiTestSupport.h"
#include "MainWindowParts.h"
#include "NetMainWindow.h"
#include "NetProjectView.h"
#include "QtMessageSink.h"
#include "net/NetCatalogue.h"
#include "net/NetProjectEditor.h"
#include "net/NetProjectFile.h"
#include "text/Shown.h"
#include "workbook/NetWorkbook.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QtTest>

using vantor::RecordingSink;
using vantor::net::CVantorNetDoc;
using vantor::testing::ModalStep;
using vantor::testing::pressOk;
using vantor::testing::readAll;
using vantor::testing::ScriptedChooser;
using vantor::testing::setField;
using W = NetMainWindow;

namespace {

// Records the URLs the window asks the desktop to open.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    UrlRecorder() { QDesktopServices::setUrlHandler("file", this, "open"); }
    ~UrlRecorder() override { QDesktopServices::unsetUrlHandler("file"); }
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls.append(url); }
};

} // namespace

class VantorNetMainWindowTest : public QObject {
    Q_OBJECT

    RecordingSink messages_;

    static void activate(W& w, const QString& text) {
        auto* tree = w.findChild<QTreeWidget*>("deviceTree");
        auto found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        QVERIFY2(!found.isEmpty(), qPrintable(text));
        emit tree->itemDoubleClicked(found.first(), 0);
    }
    static QAction* action(W& w, int id) { return w.findChild<QAction*>(QString("command%1").arg(id)); }
    static NetProjectView* view(W& w) { return w.findChild<NetProjectView*>(); }
    static QTableWidget* modules(W& w) { return w.findChild<QTableWidget*>("moduleList"); }
    static void click(W& w, int x, int y) { QTest::mouseClick(view(w), Qt::LeftButton, {}, QPoint(x, y)); }
    // Press (selects), then double-click (opens), as a user's double-click.
    static void doubleClick(W& w, int x, int y) {
        QTest::mouseClick(view(w), Qt::LeftButton, {}, QPoint(x, y));
        QTest::mouseDClick(view(w), Qt::LeftButton, {}, QPoint(x, y));
    }

    // A new server through the 从站属性 dialog.
    void addServer(W& w, const QString& ip, const QString& unit = "1") {
        ModalStep step([&](QDialog* d) {
            setField(d, "editIp", ip);
            setField(d, "editUnit", unit);
            pressOk(d);
        });
        activate(w, "Normal Server");
        VERIFY_MODAL(step);
    }
    // A new command of `function` on the selected server.
    void addCommand(W& w, const QString& function, const QString& start, const QString& length) {
        ModalStep step([&](QDialog* d) {
            setField(d, "editStart", start);
            if (d->findChild<QLineEdit*>("editLength")->isEnabled())
                setField(d, "editLength", length);
            pressOk(d);
        });
        activate(w, function);
        VERIFY_MODAL(step);
    }

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        vantor::gui::QtMessageSink::redirectTo(&messages_);
    }
    void cleanupTestCase() { vantor::gui::QtMessageSink::redirectTo(nullptr); }
    void init() {
        messages_.messages.clear();
        messages_.answers.clear();
    }

    void startUpWindow() {
        W w;
        QCOMPARE(w.windowTitle(), QString("Untitled - VantorNet"));
        auto* tree = w.findChild<QTreeWidget*>("deviceTree");
        QCOMPARE(tree->topLevelItemCount(), 2);
        QTreeWidgetItem* gateways = tree->topLevelItem(0);
        QCOMPARE(gateways->text(0), QString("MODBUS RTU Master"));
        QStringList models;
        for (int i = 0; i < gateways->childCount(); ++i)
            models << gateways->child(i)->text(0);
        QCOMPARE(models, (QStringList{"NXE-485-ZRTU2", "KX-P1R0-1.0", "NXE-485-ZRTU2E", "KX-P1-1.0",
                                      "QB-H-NET2.0", "LNK-P1-1.0"}));
        QTreeWidgetItem* normal = tree->topLevelItem(1)->child(0);
        QCOMPARE(normal->text(0), QString("Normal Server"));
        QCOMPARE(normal->childCount(), 8);
        QCOMPARE(normal->child(1)->text(0), QString("写0区 0FH 写多线圈"));
        QVERIFY(gateways->isExpanded() && normal->isExpanded());
        QCOMPARE(w.findChild<QDockWidget*>("treeDock")->windowTitle(), QString("设备树"));
        QCOMPARE(w.findChild<QDockWidget*>("moduleDock")->windowTitle(), QString("模块列表"));
        auto* tabs = w.findChild<QTabWidget*>("moduleTabs");
        QCOMPARE(tabs->tabText(0), QString("模块"));
        QTableWidget* list = modules(w);
        QCOMPARE(list->columnCount(), 8);
        QCOMPARE(list->horizontalHeaderItem(4)->text(), QString("数据单元数(长度)"));
        QCOMPARE(list->columnWidth(2), 180);

        QStringList toolbar;
        for (QAction* a : w.findChild<QToolBar*>("toolbar")->actions())
            if (!a->isSeparator())
                toolbar << a->objectName();
        QCOMPARE(toolbar, (QStringList{"command57600", "command57601", "command57603", "command32773"}));
        const int ids[] = {W::kCompile,
                           W::kDownload,
                           W::kCompileDownload,
                           W::kIpSettings,
                           W::kAddressMap,
                           W::kChangeSendDefault,
                           W::kBitmapFolder,
                           W::kCorrectAddresses,
                           W::kWorkMode,
                           W::kAbout,
                           W::kHelp,
                           W::kUndo,
                           W::kRedo,
                           W::kNew,
                           W::kOpen,
                           W::kSaveAs};
        for (int id : ids)
            QVERIFY2(action(w, id), qPrintable(QString::number(id)));
        QVERIFY(!action(w, W::kUndo)->isEnabled());

        // 关于, the BITMAP folder and the help page.
        QString aboutText;
        ModalStep about([&](QDialog* d) {
            aboutText = static_cast<QMessageBox*>(d)->text() + "|" + d->windowTitle();
            d->reject();
        });
        action(w, W::kAbout)->trigger();
        VERIFY_MODAL(about);
        QCOMPARE(aboutText, QString("VantorNet 2.2.1 版|关于 VantorNet"));
        UrlRecorder urls;
        action(w, W::kBitmapFolder)->trigger();
        action(w, W::kHelp)->trigger();
        QCOMPARE(urls.urls.size(), 2);
        QCOMPARE(urls.urls[0].toLocalFile(), QDir::currentPath() + "/BITMAP");
        QCOMPARE(urls.urls[1].toLocalFile(), QDir::currentPath() + "/Help/index.html");
        QCOMPARE(urls.urls[1].fragment(), QString("vantornet"));
        QVERIFY(QFile::exists(urls.urls[1].toLocalFile()));

        // With no program to open them, both say what and where.
        QVERIFY(messages_.messages.empty());
        vantor::gui::setLocalPlaceOpener([](const QUrl&) { return false; });
        action(w, W::kBitmapFolder)->trigger();
        action(w, W::kHelp)->trigger();
        vantor::gui::setLocalPlaceOpener(nullptr);
        QCOMPARE(messages_.texts(),
                 (std::vector<std::string>{
                     ("无法打开BITMAP目录，没有可用的程序。\n位置：" + QDir::currentPath() + "/BITMAP")
                         .toStdString(),
                     ("无法打开帮助，没有可用的程序。\n位置：" + QDir::currentPath() + "/Help/index.html")
                         .toStdString()}));
        QCOMPARE(messages_.messages[0].caption, std::string("错误"));
    }

    void assembleByDoubleClicks() {
        W w;
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        CVantorNetDoc& doc = w.document();
        activate(w, "KX-P1-1.0");
        activate(w, "QB-H-NET2.0"); // a second gateway changes nothing
        QCOMPARE(doc.masters.size(), std::size_t(1));
        QCOMPARE(doc.modelName(), std::string("KX-P1-1.0"));
        QVERIFY(w.windowTitle().endsWith("* - VantorNet"));

        // A command without a selected server is refused.
        activate(w, "读4区 03H");
        QCOMPARE(messages_.texts(), std::vector<std::string>{"请选择从站"});
        messages_.messages.clear();

        addServer(w, "192.168.0.20");
        addServer(w, "192.168.0.21");
        QCOMPARE(doc.slaves.size(), std::size_t(2));
        QCOMPARE(doc.slaves[1].x, doc.slaves[0].x + 120);
        QCOMPARE(doc.slaves[0].picture, std::string("node.bmp"));
        QCOMPARE(doc.currentSelect, CVantorNetDoc::slaveSelection(1));
        QCOMPARE(doc.insert_slave_flag, 0);

        // The same endpoint and unit twice is refused and keeps the dialog
        // open with the input; the same endpoint with another unit is fine.
        QString keptIp;
        bool stayedOpen = false;
        ModalStep duplicate([&](QDialog* d) {
            setField(d, "editIp", "192.168.0.20");
            pressOk(d);
            stayedOpen = d->isVisible();
            keptIp = d->findChild<QLineEdit*>("editIp")->text();
            d->reject();
        });
        activate(w, "Normal Server");
        VERIFY_MODAL(duplicate);
        QVERIFY(stayedOpen);
        QCOMPARE(keptIp, QString("192.168.0.20"));
        QCOMPARE(messages_.texts(), std::vector<std::string>{"192.168.0.20:502 MOD:1 已经存在"});
        QCOMPARE(doc.slaves.size(), std::size_t(2));
        addServer(w, "192.168.0.20", "2");
        QCOMPARE(doc.slaves.size(), std::size_t(3));

        // Commands on the first server, selected by a click on its icon.
        const auto& first = doc.slaves[0];
        click(w, first.x + 10, first.y + 10);
        QCOMPARE(doc.selectedSlave(), 0);
        addCommand(w, "读4区 03H", "0", "10");
        addCommand(w, "写4区 06H 写单字", "100", "1");
        addCommand(w, "读0区 01H", "7", "16");
        QCOMPARE(doc.slaves[0].commandCount(), 3);
        QTableWidget* list = modules(w);
        QCOMPARE(list->rowCount(), 3);
        QCOMPARE(list->item(0, 6)->text(), QString("40000"));
        QCOMPARE(list->item(1, 6)->text(), QString("40010"));
        QCOMPARE(list->item(2, 2)->text(), QString("读0区 01H"));

        // A refused command keeps the dialog open with the user's input.
        QString keptLength;
        ModalStep refused([&](QDialog* d) {
            setField(d, "editStart", "65500");
            setField(d, "editLength", "100");
            pressOk(d);
            keptLength = d->findChild<QLineEdit*>("editLength")->text();
            d->reject();
        });
        messages_.messages.clear();
        activate(w, "读3区 04H");
        VERIFY_MODAL(refused);
        QCOMPARE(keptLength, QString("100"));
        QCOMPARE(messages_.texts(), std::vector<std::string>{"超限,数据区范围为1-65536"});
        QCOMPARE(doc.slaves[0].commandCount(), 3);

        // A double-click on a row edits that command.
        ModalStep edit([&](QDialog* d) {
            QVERIFY(!d->findChild<QLineEdit*>("editModbus")->isEnabled());
            setField(d, "editComment", "温度");
            pressOk(d);
        });
        emit list->cellDoubleClicked(0, 0);
        VERIFY_MODAL(edit);
        QCOMPARE(doc.slaves[0].nodes[0].modules[0].Explain, std::string("温度"));
        QCOMPARE(list->item(0, 7)->text(), QString("温度"));

        // Delete on a selected row asks first; No keeps, Yes removes.
        w.activateWindow(); // the dialogs took the activation away
        QVERIFY(QTest::qWaitForWindowActive(&w));
        list->setFocus();
        list->selectRow(1);
        messages_.messages.clear();
        messages_.answers = {false, true};
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(doc.slaves[0].commandCount(), 3);
        QCOMPARE(messages_.messages.size(), std::size_t(1));
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(doc.slaves[0].commandCount(), 2);
        QCOMPARE(messages_.messages.back().caption, std::string("删除模块"));

        // Double-click on a server opens its properties: a refused edit
        // keeps the dialog open and the server as it was.
        const vantor::net::CSlave before = doc.slaves[2];
        bool editStayedOpen = false;
        messages_.messages.clear();
        ModalStep badPort([&](QDialog* d) {
            setField(d, "editPort", "65536");
            pressOk(d);
            editStayedOpen = d->isVisible() && d->findChild<QLineEdit*>("editPort")->text() == "65536";
            d->reject();
        });
        doubleClick(w, doc.slaves[2].x + 10, doc.slaves[2].y + 10);
        VERIFY_MODAL(badPort);
        QVERIFY(editStayedOpen);
        QCOMPARE(messages_.texts(), std::vector<std::string>{"端口号添入一个0和65535之间的整数"});
        QVERIFY(doc.slaves[2] == before);

        // The picture chooser keeps only the file name.
        ScriptedChooser chooser({QDir::currentPath() + "/BITMAP/plc.bmp"});
        ModalStep picture([&](QDialog* d) {
            d->findChild<QPushButton*>("buttonPicture")->click();
            pressOk(d);
        });
        doubleClick(w, doc.slaves[2].x + 10, doc.slaves[2].y + 10);
        VERIFY_MODAL(picture);
        QCOMPARE(chooser.requests.size(), std::size_t(1));
        QCOMPARE(doc.slaves[2].picture, std::string("plc.bmp"));

        // Double-click on the gateway: 主站设置, COM2 locked on a one-port model.
        ModalStep gateway([&](QDialog* d) {
            QCOMPARE(d->windowTitle(), QString("主站设置"));
            QVERIFY(!d->findChild<QComboBox*>("comboBaud2")->isEnabled());
            d->findChild<QComboBox*>("comboBaud1")->setCurrentIndex(6);
            setField(d, "editAddress1", "33");
            pressOk(d);
        });
        doubleClick(w, doc.masters[0].x + 10, doc.masters[0].y + 10);
        VERIFY_MODAL(gateway);
        QCOMPARE(doc.com1.baud, 6);
        QCOMPARE(doc.com1.address, 33);

        // A gateway address off 1..247 is refused and the dialog stays open.
        messages_.messages.clear();
        bool gatewayStayedOpen = false;
        ModalStep badAddress([&](QDialog* d) {
            setField(d, "editAddress1", "248");
            pressOk(d);
            gatewayStayedOpen = d->isVisible() && d->findChild<QLineEdit*>("editAddress1")->text() == "248";
            d->reject();
        });
        doubleClick(w, doc.masters[0].x + 10, doc.masters[0].y + 10);
        VERIFY_MODAL(badAddress);
        QVERIFY(gatewayStayedOpen);
        QCOMPARE(messages_.messages.size(), std::size_t(1));
        QCOMPARE(doc.com1.address, 33);

        // 删除 from the drawing's context menu on a server asks (No keeps
        // it); on the gateway it does not ask.
        const std::size_t questions = messages_.messages.size();
        messages_.answers = {false, true};
        auto chooseDelete = [] {
            QTimer::singleShot(0, [] {
                if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                    QAction* remove = menu->actions().value(0);
                    menu->close();
                    if (remove && remove->text() == "删除")
                        remove->trigger();
                }
            });
        };
        const QPoint onServer(doc.slaves[1].x + 5, doc.slaves[1].y + 5);
        chooseDelete();
        QTest::mouseClick(view(w), Qt::RightButton, {}, onServer);
        QCOMPARE(doc.slaves.size(), std::size_t(3));
        QCOMPARE(doc.currentSelect, CVantorNetDoc::slaveSelection(1));
        chooseDelete();
        QTest::mouseClick(view(w), Qt::RightButton, {}, onServer);
        QCOMPARE(doc.slaves.size(), std::size_t(2));
        QCOMPARE(messages_.messages.back().caption, std::string("删除节点"));
        QCOMPARE(messages_.messages.back().text, std::string("确实要删除吗？"));
        QCOMPARE(doc.currentSelect, CVantorNetDoc::kSelectNothing);
        click(w, doc.masters[0].x + 5, doc.masters[0].y + 5);
        action(w, W::kDelete)->trigger();
        QVERIFY(doc.masters.empty());
        QCOMPARE(doc.slaves.size(), std::size_t(2)); // the servers stay
        QCOMPARE(messages_.messages.size(), questions + 2);
        view(w)->grab(); // paints without a gateway
    }

    void thirtySecondServerRefused() {
        W w;
        CVantorNetDoc& doc = w.document();
        for (int i = 0; i < 30; ++i) {
            vantor::net::NewServerValues v;
            v.ipadd = "10.0.0." + std::to_string(i + 1);
            vantor::net::addServer(doc, v);
        }
        addServer(w, "10.0.1.1"); // the 31st
        QCOMPARE(doc.slaves.size(), std::size_t(31));
        QVERIFY(messages_.messages.empty());
        activate(w, "Normal Server");
        QCOMPARE(messages_.texts(), std::vector<std::string>{"最多添加31个站点"});
        QCOMPARE(messages_.messages[0].caption, std::string("错误"));
        QCOMPARE(doc.slaves.size(), std::size_t(31));
        QCOMPARE(doc.insert_slave_flag, 0);
        QVERIFY2(view(w)->width() >= doc.slaves.back().x + 70, "the drawing grows with the servers");
        doc.modified = false;
    }

    // A user's double-click on "Normal Server" (here refused: 31 servers
    // already) leaves the catalogue expanded, its functions in sight.
    void doubleClickKeepsTheCatalogueExpanded() {
        W w;
        CVantorNetDoc& doc = w.document();
        for (int i = 0; i < 31; ++i) {
            vantor::net::NewServerValues v;
            v.ipadd = "10.0.0." + std::to_string(i + 1);
            vantor::net::addServer(doc, v);
        }
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto* tree = w.findChild<QTreeWidget*>("deviceTree");
        auto found = tree->findItems("Normal Server", Qt::MatchExactly | Qt::MatchRecursive);
        QVERIFY(!found.isEmpty());
        QTreeWidgetItem* normal = found.first();
        QVERIFY(normal->isExpanded());
        const QPoint at = tree->visualItemRect(normal).center();
        for (int round = 0; round < 2; ++round) {
            QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, at);
            QVERIFY(normal->isExpanded());
            QVERIFY(normal->parent() == nullptr || normal->parent()->isExpanded());
        }
        QCOMPARE(messages_.texts(), (std::vector<std::string>{"最多添加31个站点", "最多添加31个站点"}));
        doc.modified = false;
    }

    void dpTableOfProfibusProject() {
        W w;
        CVantorNetDoc& doc = w.document();
        activate(w, "QB-H-NET2.0");
        addServer(w, "192.168.1.7", "3");
        addCommand(w, "读4区 03H", "0", "10");
        addCommand(w, "写4区 10H 写多字", "12000", "2");
        addCommand(w, "读1区 02H", "5", "9");
        addCommand(w, "读3区 04H", "12000", "4");
        QCOMPARE(doc.commandCount(), 4);
        QList<QStringList> input, output;
        QString title, background;
        QList<int> widths;
        ModalStep table([&](QDialog* d) {
            title = d->windowTitle();
            auto rows = [](QTableWidget* t) {
                QList<QStringList> out;
                for (int r = 0; r < t->rowCount(); ++r) {
                    QStringList row;
                    for (int c = 0; c < t->columnCount(); ++c)
                        row << t->item(r, c)->text();
                    out << row;
                }
                return out;
            };
            auto* in = d->findChild<QTableWidget*>("listDpInput");
            auto* out = d->findChild<QTableWidget*>("listDpOutput");
            input = rows(in);
            output = rows(out);
            for (int c = 0; c < 7; ++c)
                widths << in->columnWidth(c) << out->columnWidth(c);
            background = in->styleSheet();
            d->reject();
        });
        action(w, W::kAddressMap)->trigger();
        VERIFY_MODAL(table);
        QCOMPARE(title, QString("DP地址映射表"));
        QCOMPARE(input,
                 (QList<QStringList>{{"0", "0", "读4区 03H", "0010", "192.168.1.7", "003", "40000"},
                                     {"1", "20", "读1区 02H", "0009", "192.168.1.7", "003", "10005"},
                                     {"2", "22", "读3区 04H", "0004", "192.168.1.7", "003", "312000"}}));
        QCOMPARE(output, (QList<QStringList>{
                             {"0", "0", "写4区 10H 写多字", "0002", "192.168.1.7", "003", "412000"}}));
        QCOMPARE(widths, (QList<int>{30, 30, 110, 100, 70, 120, 70, 60, 120, 90, 70, 70, 120, 120}));
        QVERIFY2(background.contains("#f0f7e9"), qPrintable(background));

        // Another model: the four lists of the gateway address map.
        doc.masters[0].masterName = "KX-P1-1.0";
        int lists = 0;
        ModalStep map([&](QDialog* d) {
            QCOMPARE(d->windowTitle(), QString("网关地址映射表"));
            lists = static_cast<int>(d->findChildren<QTableWidget*>().size());
            QCOMPARE(d->findChild<QTableWidget*>("listArea4")->rowCount(), 2);
            d->reject();
        });
        action(w, W::kAddressMap)->trigger();
        VERIFY_MODAL(map);
        QCOMPARE(lists, 4);
        doc.modified = false;
    }

    void settingsDialogs() {
        W w;
        CVantorNetDoc& doc = w.document();
        activate(w, "KX-P1-1.0");
        // 工作模式设置 runs only for LNK-P1-1.0.
        action(w, W::kWorkMode)->trigger();
        QCOMPARE(doc.GW_work_mode, 0);
        doc.masters[0].masterName = "LNK-P1-1.0";
        doc.GW_work_mode = 1;
        ModalStep mode([](QDialog* d) {
            QVERIFY(d->findChild<QRadioButton*>("radioRtuMaster")->isChecked());
            d->findChild<QRadioButton*>("radioRtuSlave")->setChecked(true);
            pressOk(d);
        });
        action(w, W::kWorkMode)->trigger();
        VERIFY_MODAL(mode);
        QCOMPARE(doc.GW_work_mode, 0);
        ModalStep changeSend([](QDialog* d) {
            QVERIFY(d->findChild<QRadioButton*>("radioDisable")->isChecked());
            d->findChild<QRadioButton*>("radioEnable")->setChecked(true);
            pressOk(d);
        });
        action(w, W::kChangeSendDefault)->trigger();
        VERIFY_MODAL(changeSend);
        QCOMPARE(doc.isDataModifySendEnable, 1);
        // A new write command starts with 数变即发 ticked.
        addServer(w, "10.1.1.1");
        bool ticked = false;
        ModalStep command([&](QDialog* d) {
            ticked = d->findChild<QCheckBox*>("checkEditSend")->isChecked();
            d->reject();
        });
        activate(w, "写4区 10H 写多字");
        VERIFY_MODAL(command);
        QVERIFY(ticked);

        // 编译并下载 asks about a server without commands first; No ends it.
        messages_.messages.clear();
        messages_.answers = {false};
        action(w, W::kCompileDownload)->trigger();
        QCOMPARE(messages_.messages.size(), std::size_t(1));
        QCOMPARE(messages_.messages[0].caption, std::string("空从站提示"));
        QCOMPARE(messages_.messages[0].text,
                 std::string("存在没有操作的从站,继续下载吗？\n空站地址为: 10.1.1.1"));
        QVERIFY(w.images()); // compiled before the question
        QCOMPARE(w.images()->b.size(), std::size_t(16 + 28));

        // 编译: a refusal keeps the images of the last compile; a good project gives new ones.
        addCommand(w, "读0区 01H", "0", "200");
        doc.slaves[0].nodes[0].modules[0].Gate_Add = 8000;
        messages_.messages.clear();
        action(w, W::kCompile)->trigger();
        QCOMPARE(messages_.texts(),
                 std::vector<std::string>{"网关数据区访问超限 0区8192,1区8192,3区2000,4区2000"});
        QCOMPARE(w.images()->b.size(), std::size_t(16 + 28)); // the last compile's images stay
        // 下载 runs the same checks: the project never reaches the download window.
        messages_.messages.clear();
        action(w, W::kDownload)->trigger();
        QCOMPARE(messages_.texts(),
                 std::vector<std::string>{"网关数据区访问超限 0区8192,1区8192,3区2000,4区2000"});
        doc.slaves[0].nodes[0].modules[0].Gate_Add = 0;
        action(w, W::kCompile)->trigger();
        QVERIFY(w.images());
        QCOMPARE(w.images()->a.size(), std::size_t(20));
        QCOMPARE(w.images()->b.size(), std::size_t(16 + 28 + 16));
        doc.modified = false;
    }

    // 批量复制 in the drawing's context menu of a server: a refusal keeps the
    // dialog open and the project as it was; the step goes to the unit
    // address when chosen; the copies are one undo step.
    void serverCopiesFromTheContextMenu() {
        W w;
        QVERIFY(w.openProject("demo.vncfg"));
        CVantorNetDoc& doc = w.document();
        const auto before = doc.slaves;
        QVERIFY(vantor::testing::popupOffers(action(w, W::kServerCopies), [&] {
            QTest::mouseClick(view(w), Qt::RightButton, {}, QPoint(before[0].x + 5, before[0].y + 5));
        }));
        bool stayedOpen = false;
        ModalStep step([&](QDialog* d) {
            setField(d, "editCount", "40"); // 43 servers are too many
            pressOk(d);
            stayedOpen = d->isVisible() && doc.slaves == before;
            setField(d, "editCount", "2");
            d->findChild<QComboBox*>("comboStep")->setCurrentIndex(1); // 从站MOD地址
            pressOk(d);
        });
        action(w, W::kServerCopies)->trigger();
        VERIFY_MODAL(step);
        QVERIFY(stayedOpen);
        QCOMPARE(messages_.texts(), std::vector<std::string>{"最多添加31个站点"});
        QCOMPARE(doc.slaves.size(), before.size() + 2);
        QCOMPARE(doc.slaves.back().ipadd, before[0].ipadd);
        QCOMPARE(doc.slaves.back().nodes[0].address, before[0].nodes[0].address + 2);
        action(w, W::kUndo)->trigger();
        QVERIFY(doc.slaves == before && !doc.modified);
    }

    void saveReopenSaveAndUndo() {
        W w;
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        CVantorNetDoc& doc = w.document();
        activate(w, "NXE-485-ZRTU2");
        addServer(w, "192.168.3.4", "9");
        addCommand(w, "写0区 0FH 写多线圈", "3", "40");
        addCommand(w, "读4区 03H", "0", "8");

        QTemporaryDir dir;
        const QString first = dir.filePath("p.vncfg"), second = dir.filePath("q.vncfg");
        ScriptedChooser chooser({dir.filePath("p")});
        action(w, W::kSaveAs)->trigger();
        QCOMPARE(chooser.requests.size(), std::size_t(1));
        QCOMPARE(chooser.requests[0].filter, QString("VNConfigure files(*.vncfg)"));
        QCOMPARE(w.windowTitle(), QString("p.vncfg - VantorNet"));
        QCOMPARE(QSettings().value("recentFiles").toStringList().value(0),
                 QFileInfo(first).absoluteFilePath());
        W again;
        QVERIFY(again.openProject(first));
        QVERIFY(again.document().slaves == doc.slaves);
        QVERIFY(again.saveTo(second));
        QCOMPARE(readAll(second), readAll(first));
        QVERIFY(!readAll(first).isEmpty());

        // Undo steps back through the edits; the modified mark follows.
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(doc.commandCount(), 1);
        QVERIFY(w.windowTitle().contains('*'));
        QTest::keyClick(&w, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(doc.commandCount(), 2);
        QVERIFY2(!w.windowTitle().contains('*'), "back at the saved step");
        for (int i = 0; i < 4; ++i)
            action(w, W::kUndo)->trigger();
        QVERIFY(doc.masters.empty() && doc.slaves.empty());
        QVERIFY(!action(w, W::kUndo)->isEnabled());
        QCOMPARE(modules(w)->rowCount(), 0);
        action(w, W::kRedo)->trigger();
        QCOMPARE(doc.modelName(), std::string("NXE-485-ZRTU2"));

        // The demo project saves back to its own bytes.
        W demo;
        QVERIFY(demo.openProject("demo.vncfg"));
        QVERIFY(demo.saveTo(dir.filePath("demo.vncfg")));
        QCOMPARE(readAll(dir.filePath("demo.vncfg")), readAll("demo.vncfg"));

        // A file that is no project is refused with a message.
        const QString bad = dir.filePath("bad.vncfg");
        QFile f(bad);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("\x01\x02");
        f.close();
        messages_.messages.clear();
        QVERIFY(!again.openProject(bad));
        QCOMPARE(messages_.messages.size(), std::size_t(1));
        doc.modified = false;
    }

    // 导出工程表格... asks for the file through the chooser and writes the
    // project's sheets; what it wrote reads back to the same project.
    void exportWorkbookWritesTheProject() {
        QTemporaryDir dir;
        const QString book = dir.filePath("demo.xlsx");
        ScriptedChooser chooser({book});
        W w;
        QVERIFY(w.openProject("demo.vncfg"));
        w.findChild<QAction*>("commandExportWorkbook")->trigger();
        QCOMPARE(chooser.requests.at(0).mode, vantor::gui::FileRequest::Mode::Save);
        QVERIFY(chooser.requests.at(0).directory.endsWith("EXCEL/demo.xlsx"));
        QCOMPARE(messages_.messages.at(0).text, "已导出到 " + book.toStdString());
        auto back = vantor::workbook::importNetWorkbook(book.toStdString());
        QVERIFY2(back.accepted(), back.report.text().c_str());
        back.project->currentSelect = w.document().currentSelect;
        QCOMPARE(vantor::net::NetProjectFile::buildText(*back.project, "v"),
                 vantor::net::NetProjectFile::buildText(w.document(), "v"));
    }

    // 导入工程表格...: a refused workbook lists its rows in a box the user can
    // copy from and changes nothing (project, undo history, file); an
    // accepted one becomes the project as one undo step.
    void importWorkbookIsAllOrNothing() {
        QTemporaryDir dir;
        CVantorNetDoc demo;
        std::string error;
        QVERIFY(vantor::net::NetProjectFile::open(demo, "demo.vncfg", &error));
        auto sheets = vantor::workbook::exportNetSheets(demo);
        sheets[2].rows[0][vantor::workbook::kNsName] = vantor::sheet::Cell::of(std::string("改名"));
        const QString good = dir.filePath("good.xlsx");
        QVERIFY(vantor::sheet::saveWorkbook(good.toStdString(), sheets, error));
        sheets[2].rows[1][vantor::workbook::kNsTimeout] = vantor::sheet::Cell::of(9.0);
        const QString bad = dir.filePath("bad.xlsx");
        QVERIFY(vantor::sheet::saveWorkbook(bad.toStdString(), sheets, error));
        const QString project = dir.filePath("p.vncfg");
        QFile::copy("demo.vncfg", project);
        const QByteArray onDisk = readAll(project);

        ScriptedChooser chooser({bad, good});
        W w;
        QVERIFY(w.openProject(project));
        const std::string before = vantor::net::NetProjectFile::buildText(w.document(), "v");
        QString listed;
        ModalStep refusals([&](QDialog* d) {
            listed = d->findChild<QPlainTextEdit*>("textRefusals")->toPlainText();
            d->findChild<QPushButton*>("buttonCopy")->click();
            d->reject();
        });
        w.findChild<QAction*>("commandImportWorkbook")->trigger();
        VERIFY_MODAL(refusals);
        QCOMPARE(listed, QString("从站 第3行 应答超时时间: 应答超时时间请添入一个10和3000之间的整数"));
        QCOMPARE(QApplication::clipboard()->text(), listed);
        QCOMPARE(vantor::net::NetProjectFile::buildText(w.document(), "v"), before);
        QVERIFY(!action(w, W::kUndo)->isEnabled());
        QVERIFY(!w.windowTitle().contains('*'));
        QCOMPARE(readAll(project), onDisk);

        // Accepted: the workbook's project, modified, one step back to the file's.
        w.findChild<QAction*>("commandImportWorkbook")->trigger();
        QCOMPARE(w.document().slaves.at(0).name, std::string("改名"));
        QVERIFY(w.windowTitle().contains('*'));
        action(w, W::kUndo)->trigger();
        CVantorNetDoc undone = w.document();
        undone.currentSelect = demo.currentSelect; // an undo step selects nothing
        QCOMPARE(vantor::net::NetProjectFile::buildText(undone, "v"), before);
        QVERIFY(!action(w, W::kUndo)->isEnabled());
        QVERIFY(!w.windowTitle().contains('*'));
    }
    // In another language the device tree and the module list show the
    // core's texts translated; a translated item still adds the core's
    // command kind, and a command's comment stays as the user wrote it.
    void coreTextsInTheUsersLanguage() {
        struct English {
            English() {
                vantor::text::installTranslator([](const char* t) { return "en:" + std::string(t); });
            }
            ~English() { vantor::text::installTranslator(nullptr); }
        } english;
        W w;
        QVERIFY(w.openProject("demo.vncfg"));
        CVantorNetDoc& doc = w.document();
        click(w, doc.slaves[2].x + 10, doc.slaves[2].y + 10);
        addCommand(w, "en:写4区 06H 写单字", "500", "1");
        const auto& added = doc.slaves[2].nodes.back().modules.back();
        QCOMPARE(added.Func, std::string("写4区 06H 写单字"));
        QTableWidget* list = modules(w);
        QCOMPARE(list->rowCount(), 4);
        const struct {
            int row, column;
            QString text;
        } cells[] = {{0, 2, "en:写0区 0FH 写多线圈"},
                     {2, 5, "en:是"},
                     {0, 7, "阀门开关"},
                     {3, 2, "en:写4区 06H 写单字"}};
        for (const auto& c : cells)
            QCOMPARE(list->item(c.row, c.column)->text(), c.text);
        for (int c = 0; c < list->columnCount(); ++c)
            QVERIFY2(list->columnWidth(c) >= list->horizontalHeader()->sectionSizeHint(c),
                     qPrintable(list->horizontalHeaderItem(c)->text()));
        QCOMPARE(list->horizontalHeaderItem(2)->text(), QString("en:功能"));
    }
};

QTEST_MAIN(VantorNetMainWindowTest)
#include "VantorNetMainWindowTest.moc"
