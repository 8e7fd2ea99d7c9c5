#include "NetMainWindow.h"

#include "CatalogueWidget.h"
#include "CopiesDialog.h"
#include "DataFiles.h"
#include "FileChooser.h"
#include "Language.h"
#include "MainWindowParts.h"
#include "NetDeviceCommands.h"
#include "NetEditDialogs.h"
#include "NetProjectView.h"
#include "NetTableDialogs.h"
#include "QtMessageSink.h"
#include "QtText.h"
#include "RefusalList.h"
#include "TableList.h"
#include "net/NetAddressTables.h"
#include "net/NetCatalogue.h"
#include "net/NetCommandForm.h"
#include "net/NetProjectEditor.h"
#include "net/NetProjectFile.h"
#include "net/NetServerCopies.h"
#include "net/NetServerForm.h"
#include "workbook/NetWorkbook.h"

#include <QAction>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDockWidget>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollArea>
#include <QShortcut>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolBar>
#include <QTreeWidget>
#include <QUrl>

#include <algorithm>

using namespace vantor;
using vantor::gui::q;

namespace {

// The module list's column holding the user's comment on a command.
constexpr int kCommentColumn = 7;

// The catalogue's items show their texts in the user's language; each keeps
// the core's text, which activating it hands back to the core.
constexpr int kCoreText = Qt::UserRole;
void showInLanguage(QTreeWidgetItem* item, const editing::CatalogueNode& node) {
    item->setData(0, kCoreText, q(node.text));
    item->setText(0, gui::shown(node.text));
    for (int i = 0; i < item->childCount() && i < static_cast<int>(node.children.size()); ++i)
        showInLanguage(item->child(i), node.children[static_cast<std::size_t>(i)]);
}

std::string coreText(const QTreeWidgetItem* item) {
    return item ? item->data(0, kCoreText).toString().toStdString() : std::string();
}

} // namespace

NetMainWindow::NetMainWindow(QWidget* parent)
    : ProjectWindow({"VantorNet", "VNConfigure files(*.vncfg)", "vncfg"}, parent) {
    view_ = new NetProjectView(doc_);
    gui::scrolledDrawing(this, view_);
    buildDocks();
    buildMenus();
    summary_ = gui::startStatusBar(this, "labelSummary");

    connect(view_, &NetProjectView::selectionChanged, this, &NetMainWindow::refreshModules);
    connect(view_, &NetProjectView::doubleClicked, this,
            [this](net::NetGraphicScene::Opens target) { viewDoubleClicked(static_cast<int>(target)); });
    connect(view_, &NetProjectView::contextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(this);
        menu.addAction(commandAction(kDelete));
        menu.addAction(commandAction(kServerCopies));
        commandAction(kServerCopies)->setEnabled(doc_.selectedSlave() >= 0);
        menu.exec(at);
    });
    projectStarted();
}

void NetMainWindow::buildMenus() {
    auto on = [this](int id, auto slot) { onCommand(id, std::move(slot)); };

    QMenu* file = menuBar()->addMenu(tr("文件(&F)"));
    addFileCommands(file);
    file->addSeparator();
    QAction* exporting = file->addAction(tr("导出工程表格..."));
    exporting->setObjectName("commandExportWorkbook");
    connect(exporting, &QAction::triggered, this, &NetMainWindow::exportWorkbook);
    QAction* importing = file->addAction(tr("导入工程表格..."));
    importing->setObjectName("commandImportWorkbook");
    connect(importing, &QAction::triggered, this, &NetMainWindow::importWorkbook);
    file->addSeparator();
    addRecentFilesAndExit(file);

    addEditCommands(menuBar()->addMenu(tr("编辑(&E)")));

    QMenu* viewMenu = menuBar()->addMenu(tr("查看(&V)"));
    QToolBar* toolbar = addToolBar(tr("工具栏"));
    toolbar->setObjectName("toolbar");
    gui::buildViewMenu(this, viewMenu, toolbar, command(kStatusBar, tr("状态栏(&S)")),
                       {{command(kToggleCatalogue, tr("设备树")), "treeDock"},
                        {command(kToggleModules, tr("模块列表")), "moduleDock"}});

    QMenu* device = menuBar()->addMenu(tr("设备(&D)"));
    device->addAction(command(kCompile, tr("编译")));
    device->addAction(command(kDownload, tr("下载")));
    device->addAction(command(kCompileDownload, tr("编译并下载")));
    device->addSeparator();
    device->addAction(command(kIpSettings, tr("IP地址设置")));
    device->addSeparator();
    device->addAction(command(kAddressMap, tr("网关地址映射表")));
    device->addAction(command(kCorrectAddresses, tr("网关地址修正")));
    device->addAction(command(kChangeSendDefault, tr("数变即发默认设置")));
    device->addAction(command(kWorkMode, tr("工作模式设置")));
    on(kCompile, [this] {
        // A refused compile keeps the images of the last one.
        if (auto images = runNetCompileCommand(this, doc_))
            images_ = std::move(images);
    });
    on(kDownload, [this] { runNetDownloadCommand(this, doc_, false); });
    on(kCompileDownload, [this] {
        if (auto images = runNetCompileCommand(this, doc_)) {
            images_ = std::move(images);
            runNetDownloadCommand(this, doc_, true);
        }
    });
    on(kIpSettings, [this] { runNetIpSetCommand(this, doc_); });
    on(kAddressMap, [this] { runNetAddressMapCommand(this, doc_); });
    on(kCorrectAddresses, [this] {
        net::correctGatewayAddresses(doc_);
        afterEdit();
    });
    on(kChangeSendDefault, [this] {
        runNetChangeSendDialog(this, doc_);
        afterEdit();
    });
    on(kWorkMode, [this] {
        runNetWorkModeDialog(this, doc_);
        afterEdit();
    });

    QMenu* work = menuBar()->addMenu(tr("工作目录"));
    work->addAction(command(kBitmapFolder, tr("BITMAP目录")));
    on(kBitmapFolder, [this] {
        gui::openLocalPlace(this, QUrl::fromLocalFile(gui::dataDirectoryOf("BITMAP/master.bmp") + "/BITMAP"),
                            tr("BITMAP目录", "what could not be opened"));
    });

    menuBar()->addMenu(gui::makeLanguageMenu(this));
    QMenu* help = menuBar()->addMenu(tr("帮助(&H)"));
    help->addAction(command(kHelp, tr("帮助")));
    help->addAction(command(kAbout, tr("关于 VantorNet(&A)...")));
    on(kHelp, [this] {
        QUrl page = QUrl::fromLocalFile(gui::pageInLanguage("Help/index.html"));
        page.setFragment("vantornet");
        gui::openLocalPlace(this, page, tr("帮助", "what could not be opened"));
    });
    on(kAbout, [this] { about(); });

    toolbar->addAction(commandAction(kNew));
    toolbar->addAction(commandAction(kOpen));
    toolbar->addAction(commandAction(kSave));
    toolbar->addSeparator();
    toolbar->addAction(commandAction(kCompileDownload));

    // 删除 of the drawing's context menu, and the Delete key on the drawing
    // (the module list has a Delete of its own).
    command(kDelete, tr("删除"));
    commandAction(kDelete)->setShortcut(QKeySequence::Delete);
    commandAction(kDelete)->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    view_->addAction(commandAction(kDelete));
    on(kDelete, [this] {
        gui::QtMessageSink sink(this);
        net::deleteNetSelection(doc_, sink);
        afterEdit();
    });
    // 批量复制 of the selected server, one undo step.
    command(kServerCopies, gui::copiesCommandText());
    on(kServerCopies, [this] {
        const int server = doc_.selectedSlave();
        if (server < 0)
            return;
        editing::CopiesForm form;
        int by = static_cast<int>(net::CopyStep::Ip);
        gui::runCopiesDialog(this, form, net::kCopyStepTexts, by, [&](QWidget* dialog) {
            gui::QtMessageSink sink(dialog);
            return net::acceptServerCopiesForm(doc_, server, form, static_cast<net::CopyStep>(by), sink);
        });
        afterEdit();
    });
}

void NetMainWindow::buildDocks() {
    const auto& nodes = net::netCatalogueTree();
    catalogue_ = gui::catalogueWidget(nodes, "deviceTree");
    for (int i = 0; i < catalogue_->topLevelItemCount() && i < static_cast<int>(nodes.size()); ++i)
        showInLanguage(catalogue_->topLevelItem(i), nodes[static_cast<std::size_t>(i)]);
    // A double-click adds the item; the catalogue stays fully expanded.
    catalogue_->setExpandsOnDoubleClick(false);
    connect(catalogue_, &QTreeWidget::itemDoubleClicked, this, &NetMainWindow::catalogueActivated);
    auto* catalogueDock = new QDockWidget(tr("设备树"), this);
    catalogueDock->setObjectName("treeDock");
    catalogueDock->setWidget(catalogue_);
    gui::widenToLongestItem(catalogue_, 230);
    addDockWidget(Qt::LeftDockWidgetArea, catalogueDock);

    const auto& widths = net::netModuleListWidths();
    modules_ = gui::moduleTable("moduleList", gui::headerTexts(net::netModuleListHeaders()),
                                QList<int>(widths.begin(), widths.end()), [this] { deleteCommandRow(); });
    modules_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(modules_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const int row = modules_->rowAt(at.y());
        if (row < 0)
            return;
        modules_->selectRow(row);
        QMenu menu(this);
        QAction* remove = menu.addAction(tr("删除"));
        if (menu.exec(modules_->viewport()->mapToGlobal(at)) == remove)
            deleteCommandRow();
    });
    connect(modules_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { editCommandRow(row); });

    auto* tabs = new QTabWidget;
    tabs->setObjectName("moduleTabs");
    tabs->addTab(modules_, tr("模块"));
    auto* moduleDock = new QDockWidget(tr("模块列表"), this);
    moduleDock->setObjectName("moduleDock");
    moduleDock->setWidget(tabs);
    addDockWidget(Qt::BottomDockWidgetArea, moduleDock);
}

void NetMainWindow::refreshModules() {
    gui::fillTable(modules_, net::netModuleRows(doc_), kCommentColumn);
    gui::fitColumnsToCells(modules_, kCommentColumn);
}

void NetMainWindow::showProject() {
    refreshModules();
    view_->refresh();
    const std::string model = doc_.modelName();
    summary_->setText(tr("%1  从站 %2/%3  命令 %4/%5")
                          .arg(model.empty() ? tr("无网关") : q(model))
                          .arg(doc_.slaves.size())
                          .arg(net::kMaxSlaves)
                          .arg(doc_.commandCount())
                          .arg(net::kMaxCommands));
}

void NetMainWindow::catalogueActivated(QTreeWidgetItem* item) {
    if (!item)
        return;
    const std::string text = coreText(item);
    const std::string parent = coreText(item->parent());
    gui::QtMessageSink sink(this);
    const net::NetCatalogueOutcome outcome = net::activateNetCatalogueItem(doc_, text, parent, sink);
    if (outcome.action == net::NetCatalogueAction::OpenSlaveForm) {
        net::NetServerForm form = net::openNewServerForm(doc_);
        runNetServerDialog(this, doc_, form, startDirectory());
    } else if (outcome.action == net::NetCatalogueAction::OpenCommandForm) {
        if (auto form = net::openNewNetCommandForm(doc_, outcome.function, sink))
            runNetCommandDialog(this, doc_, *form);
    }
    afterEdit();
}

void NetMainWindow::viewDoubleClicked(int target) {
    switch (static_cast<net::NetGraphicScene::Opens>(target)) {
    case net::NetGraphicScene::Opens::ServerProperties:
        if (auto form = net::openServerForm(doc_))
            runNetServerDialog(this, doc_, *form, startDirectory());
        break;
    case net::NetGraphicScene::Opens::GatewaySettings:
        runNetGatewayDialog(this, doc_);
        break;
    case net::NetGraphicScene::Opens::Nothing:
        return;
    }
    afterEdit();
}

void NetMainWindow::deleteCommandRow() {
    const int row = modules_->currentRow();
    if (row < 0)
        return;
    gui::QtMessageSink sink(this);
    if (net::deleteNetCommand(doc_, row, sink))
        afterEdit();
}

void NetMainWindow::editCommandRow(int row) {
    if (auto form = net::openEditNetCommandForm(doc_, row); form && runNetCommandDialog(this, doc_, *form))
        afterEdit();
}

void NetMainWindow::startProject() {
    doc_.NewDocument();
    images_.reset();
}

bool NetMainWindow::readProject(const std::string& path, std::string& error) {
    if (!net::NetProjectFile::open(doc_, path, &error))
        return false;
    images_.reset();
    return true;
}

bool NetMainWindow::writeProject(const std::string& path, std::string& error) {
    return net::NetProjectFile::save(doc_, path, gui::dataDirectoryOf("Vantor.ver").toStdString(), &error);
}

void NetMainWindow::exportWorkbook() {
    gui::exportWorkbookFrom(this, startDirectory(), projectPath(),
                            [this](const std::string& path, std::string& error) {
                                return workbook::exportNetWorkbook(doc_, path, error);
                            });
}

// The workbook becomes the project as one step that 撤销 takes back; a
// refused workbook changes nothing and lists every refused row.
void NetMainWindow::importWorkbook() {
    const QString path = gui::chooseWorkbookToImport(this, startDirectory());
    if (path.isEmpty())
        return;
    auto result = workbook::importNetWorkbook(path.toStdString());
    if (!gui::importAccepted(this, result))
        return;
    doc_ = std::move(*result.project);
    images_.reset();
    afterEdit();
}

void NetMainWindow::about() {
    QMessageBox box(this);
    box.setObjectName("aboutBox");
    box.setWindowTitle(tr("关于 VantorNet"));
    box.setText(tr("VantorNet 2.2.1 版"));
    box.exec();
}
