#include "MainWindow.h"

#include "CatalogueWidget.h"
#include "CopiesDialog.h"
#include "DataFiles.h"
#include "DeviceCommands.h"
#include "EditDialogs.h"
#include "FileChooser.h"
#include "FleetDialog.h"
#include "Language.h"
#include "MainWindowParts.h"
#include "ProjectView.h"
#include "QtMessageSink.h"
#include "QtText.h"
#include "RefusalList.h"
#include "TableDialogs.h"
#include "TableList.h"
#include "editing/CommandEditor.h"
#include "editing/LineBudget.h"
#include "editing/MenuEnabling.h"
#include "editing/ModuleList.h"
#include "editing/ProjectEditor.h"
#include "editing/SlaveCopies.h"
#include "model/CommandKind.h"
#include "model/GatewayCatalogue.h"
#include "model/ProjectFile.h"
#include "workbook/VantorWorkbook.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QScrollArea>
#include <QSettings>
#include <QShortcut>
#include <QStatusBar>
#include <QTableWidget>
#include <QTextStream>
#include <QToolBar>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

using namespace vantor;
using vantor::editing::VantorCommand;
using vantor::gui::q;

namespace {

// The first line of the version file.
QString versionLine() {
    QFile f(gui::dataFile("Vantor.ver"));
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QTextStream(&f).readLine();
}

} // namespace

MainWindow::MainWindow(QWidget* parent)
    : ProjectWindow({"Vantor", "Configure files(*.vtc)", "vtc"}, parent),
      workDirectory_(gui::workDirectory()) {
    startProject();
    view_ = new ProjectView(doc_);
    gui::scrolledDrawing(this, view_);
    buildDocks();
    buildMenus();
    // The poll cycle of the selected line (its serial-line budget).
    budget_ = gui::startStatusBar(this, "labelBudget");

    connect(view_, &ProjectView::selectionChanged, this, &MainWindow::refreshSelection);
    connect(view_, &ProjectView::modified, this, &MainWindow::afterEdit);
    connect(view_, &ProjectView::contextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(this);
        menu.addAction(commandAction(VantorCommand::Delete));
        menu.addAction(commandAction(VantorCommand::Copy));
        menu.addAction(commandAction(VantorCommand::Paste));
        menu.addSeparator();
        menu.addAction(slaveCopies_);
        slaveCopies_->setEnabled(doc_.selectedSlave() >= 0);
        menu.exec(at);
    });
    connect(view_, &ProjectView::doubleClicked, this, [this](view::GraphicScene::Opens target) {
        if (target == view::GraphicScene::Opens::SlaveProperties) {
            auto form = editing::openSlaveForm(doc_, doc_.selectedSlave());
            runSlaveDialog(this, doc_, form);
        } else if (target == view::GraphicScene::Opens::GatewayInformation) {
            runGatewayInfoCommand(this, doc_);
        } else if (target == view::GraphicScene::Opens::ComProperties) {
            auto form = editing::openComForm(doc_, doc_.selectedCom());
            runComDialog(this, doc_, form);
        }
        afterEdit();
    });
    onCommand(VantorCommand::AddressingMode, [this] {
        auto form = editing::openAddressingModeForm(doc_);
        runAddressingModeDialog(this, doc_, form);
        afterEdit();
    });
    // The device commands: each opens its own windows and shows its messages.
    // The download packs TRX-H-QMB6's gateway addresses first: an edit.
    for (auto id : {VantorCommand::Download, VantorCommand::ToolbarDownload})
        onCommand(id, [this] {
            runDownloadCommand(this, doc_);
            afterEdit();
        });
    onCommand(VantorCommand::NetworkParams, [this] {
        runNetworkParamsCommand(this, doc_);
        afterEdit();
    });
    // The access IP is the project's too (its file keeps it).
    onCommand(VantorCommand::AccessParams, [this] {
        runAccessParamsCommand(this, doc_, workDirectory_);
        afterEdit();
    });
    onCommand(VantorCommand::SlaveState, [this] { runSlaveStateCommand(this, doc_); });
    onCommand(VantorCommand::Firmware, [this] { runFirmwareCommand(this, doc_, workDirectory_); });
    onCommand(VantorCommand::WorkMode, [this] {
        if (runWorkModeCommand(this, doc_))
            afterEdit();
    });
    onCommand(VantorCommand::AddressMap, [this] {
        runAddressMapCommand(this, doc_, workDirectory_);
        afterEdit();
    });
    onCommand(VantorCommand::EipAddressMap, [this] {
        runEipTableCommand(this, doc_, workDirectory_);
        afterEdit();
    });
    onCommand(VantorCommand::EipParams, [this] {
        runEipParamsDialog(this, doc_);
        afterEdit();
    });
    onCommand(VantorCommand::DefaultValues, [this] {
        auto form = editing::openDefaultValuesForm(doc_);
        runDefaultValuesDialog(this, doc_, form);
        afterEdit();
    });
    projectStarted();
}

void MainWindow::editCommand(int row) {
    if (!editing::rowEditable(doc_, row))
        return;
    if (auto form = editing::openEditCommandForm(doc_, row); form && runCommandDialog(this, doc_, *form))
        afterEdit();
}

void MainWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(tr("文件(&F)"));
    addFileCommands(file);
    file->addSeparator();
    QAction* exporting = file->addAction(tr("导出工程表格..."));
    exporting->setObjectName("commandExportWorkbook");
    connect(exporting, &QAction::triggered, this, &MainWindow::exportWorkbook);
    QAction* importing = file->addAction(tr("导入工程表格..."));
    importing->setObjectName("commandImportWorkbook");
    connect(importing, &QAction::triggered, this, &MainWindow::importWorkbook);
    file->addSeparator();
    addRecentFilesAndExit(file);

    addEditCommands(menuBar()->addMenu(tr("编辑(&E)")));
    QMenu* viewMenu = menuBar()->addMenu(tr("查看(&V)"));
    QToolBar* toolbar = addToolBar(tr("工具栏"));
    toolbar->setObjectName("toolbar128");
    gui::buildViewMenu(this, viewMenu, toolbar, command(kStatusBar, tr("状态栏(&S)")),
                       {{command(VantorCommand::ToggleModules, tr("模块栏")), "bar22222"},
                        {command(VantorCommand::ToggleCatalogue, tr("设备树")), "bar11111"}});

    QMenu* work = menuBar()->addMenu(tr("工作目录"));
    work->addAction(command(VantorCommand::FirmwareFolder, tr("固件目录")));
    onCommand(VantorCommand::FirmwareFolder, [this] {
        gui::openLocalPlace(this, QUrl::fromLocalFile(workDirectory_ + "/FIRMWARE"), tr("FIRMWARE目录"));
    });

    QMenu* device = menuBar()->addMenu(tr("设备"));
    using enum VantorCommand;
    const std::pair<VantorCommand, QString> deviceItems[] = {
        {Download, tr("配置下载")},
        {NetworkParams, tr("网络参数设置")},
        {AccessParams, tr("访问参数设置")},
        {DefaultValues, tr("默认值设置")},
        {SlaveState, tr("从站状态")},
        {AddressMap, tr("网关地址映射表")},
        {Upload, tr("配置上传")},
        {AddressingMode, tr("寻址方式设置")},
        {Firmware, tr("固件升级")},
        {EipParams, tr("EIP网关参数")},
        {EipAddressMap, tr("EIP网关地址映射表")},
        {WorkMode, tr("模式设置")},
    };
    for (const auto& [id, text] : deviceItems)
        device->addAction(command(id, text));
    device->addSeparator();
    QAction* health = device->addAction(tr("通信诊断"));
    health->setObjectName("commandHealth");
    connect(health, &QAction::triggered, this, [this] { runSlaveStateCommand(this, doc_, true); });
    QAction* report = device->addAction(tr("调试报告"));
    report->setObjectName("commandReport");
    connect(report, &QAction::triggered, this, [this] { runReportCommand(this, doc_, projectPath()); });
    QAction* fleet = device->addAction(tr("批量下载..."));
    fleet->setObjectName("commandFleet");
    connect(fleet, &QAction::triggered, this, [this] {
        FleetDialog dialog(this);
        dialog.exec();
    });

    menuBar()->addMenu(gui::makeLanguageMenu(this));
    QMenu* help = menuBar()->addMenu(tr("帮助(&H)"));
    help->addAction(command(kHelp, tr("帮助")));
    onCommand(kHelp, [this] {
        gui::openLocalPlace(this, QUrl::fromLocalFile(gui::pageInLanguage("Help/index.html")),
                            tr("帮助", "the page that cannot be opened"));
    });
    help->addAction(command(kAbout, tr("关于 Vantor(&A)...")));
    onCommand(kAbout, [this] { about(); });

    // Toolbar: New, Open, Save, upload, access parameters, download, Help.
    toolbar->addAction(commandAction(kNew));
    toolbar->addAction(commandAction(kOpen));
    toolbar->addAction(commandAction(kSave));
    toolbar->addAction(commandAction(Upload));
    toolbar->addAction(commandAction(AccessParams));
    toolbar->addAction(command(ToolbarDownload, tr("配置下载")));
    toolbar->addSeparator();
    toolbar->addAction(commandAction(kHelp));

    // The view's commands: delete, copy, paste, with the usual keys.
    command(Delete, tr("删除"));
    command(Copy, tr("复制"));
    command(Paste, tr("粘贴"));
    onCommand(Delete, [this] {
        gui::QtMessageSink sink(this);
        editing::deleteSelection(doc_, sink);
        afterEdit();
    });
    onCommand(Copy, [this] { editing::copySelection(doc_); });
    onCommand(Paste, [this] {
        gui::QtMessageSink sink(this);
        editing::paste(doc_, sink);
        afterEdit();
    });
    // 批量复制: copies of the selected slave on its line, one undo step.
    slaveCopies_ = new QAction(gui::copiesCommandText(), this);
    slaveCopies_->setObjectName("commandSlaveCopies");
    connect(slaveCopies_, &QAction::triggered, this, [this] {
        const int slave = doc_.selectedSlave();
        if (slave < 0)
            return;
        editing::CopiesForm form;
        int noChoice = 0;
        gui::runCopiesDialog(this, form, {}, noChoice, [&](QWidget* dialog) {
            gui::QtMessageSink sink(dialog);
            return editing::acceptSlaveCopiesForm(doc_, slave, form, sink);
        });
        afterEdit();
    });
    // The drawing's keys: Ctrl+C / Ctrl+Insert copy, Ctrl+V / Shift+Insert paste.
    commandAction(Copy)->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert)});
    commandAction(Paste)->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_V), QKeySequence(Qt::SHIFT | Qt::Key_Insert)});
    // Delete on the drawing does what the context menu's 删除 does.
    commandAction(Delete)->setShortcut(QKeySequence::Delete);
    for (auto id : {Delete, Copy, Paste}) {
        commandAction(id)->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        view_->addAction(commandAction(id));
    }
}

void MainWindow::buildDocks() {
    catalogue_ = gui::catalogueWidget(editing::catalogueTree(), "tree33333");
    connect(catalogue_, &QTreeWidget::itemDoubleClicked, this, &MainWindow::catalogueActivated);

    auto* catalogueDock = new QDockWidget(tr("设备树"), this);
    catalogueDock->setObjectName("bar11111");
    catalogueDock->setWidget(catalogue_);
    gui::widenToLongestItem(catalogue_, 275);
    addDockWidget(Qt::LeftDockWidgetArea, catalogueDock);

    auto* panel = new QWidget;
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* header = new QHBoxLayout;
    selectedName_ = new QLabel;
    selectedName_->setObjectName("selectedName");
    selectedAddress_ = new QLabel;
    selectedAddress_->setObjectName("selectedAddress");
    header->addWidget(selectedName_);
    header->addWidget(selectedAddress_);
    header->addStretch();
    layout->addLayout(header);
    QStringList labels{""};
    for (const auto& h : editing::moduleListHeaders())
        labels << gui::shown(h);
    const auto& widths = editing::moduleListWidths();
    auto deleteRow = [this] {
        int row = modules_->currentRow();
        if (row < 0)
            return;
        gui::QtMessageSink sink(this);
        if (editing::deleteCommand(doc_, row, sink))
            afterEdit();
    };
    modules_ = gui::moduleTable("list1000", labels, QList<int>(widths.begin(), widths.end()), deleteRow);
    QFont listFont(VT_DATA("宋体"));
    listFont.setPixelSize(14);
    modules_->setFont(listFont);
    gui::fitColumnsToTitles(modules_);
    layout->addWidget(modules_);
    modules_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(modules_, &QWidget::customContextMenuRequested, this, [this, deleteRow](const QPoint& at) {
        const int row = modules_->rowAt(at.y());
        if (row < 0 || !editing::rowEditable(doc_, row))
            return;
        modules_->selectRow(row);
        QMenu menu(this);
        QAction* remove = menu.addAction(tr("删除"));
        QAction* edit = menu.addAction(tr("修改"));
        QAction* chosen = menu.exec(modules_->viewport()->mapToGlobal(at));
        if (chosen == remove)
            deleteRow();
        else if (chosen == edit)
            editCommand(row);
    });
    connect(modules_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { editCommand(row); });

    auto* moduleDock = new QDockWidget(tr("模块栏"), this);
    moduleDock->setObjectName("bar22222");
    moduleDock->setWidget(panel);
    addDockWidget(Qt::BottomDockWidgetArea, moduleDock);
}

void MainWindow::applyEnabling() {
    const editing::MenuEnabling enabling = editing::menuEnabling(doc_);
    for (auto it = commands().begin(); it != commands().end(); ++it)
        it.value()->setEnabled(enabling.enabled(it.key()));
}

void MainWindow::refreshSelection() {
    const editing::SelectionView selection = editing::selectionView(doc_);
    selectedName_->setText(q(selection.name));
    selectedAddress_->setText(q(selection.address));
    if (budget_)
        budget_->setText(gui::shown(editing::selectedLineSummary(doc_)));
    modules_->setRowCount(static_cast<int>(selection.rows.size()));
    for (int r = 0; r < static_cast<int>(selection.rows.size()); ++r) {
        const auto& row = selection.rows[static_cast<std::size_t>(r)];
        // The command kind and the 是 of 数变即发 are the core's texts; the
        // numbers and the user's comment stay as they are.
        const QString cells[] = {q(row.number), gui::shown(row.func),     q(row.start),
                                 q(row.length), gui::shown(row.editSend), q(row.gateway),
                                 q(row.comment)};
        for (int c = 0; c < 7; ++c)
            modules_->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
}

void MainWindow::showProject() {
    applyEnabling();
    refreshSelection();
    view_->update();
}

bool MainWindow::editInProgress() const {
    return view_ && view_->dragging();
}

void MainWindow::catalogueActivated(QTreeWidgetItem* item) {
    if (!item)
        return;
    const std::string text = gui::catalogueKey(item);
    const std::string parent = gui::catalogueKey(item->parent());
    gui::QtMessageSink sink(this);
    const editing::CatalogueOutcome outcome = editing::activateCatalogueItem(doc_, text, parent, sink);
    switch (outcome.action) {
    case editing::CatalogueAction::OpenNewSlaveForm:
        if (auto form = editing::openNewSlaveForm(doc_, outcome.line, sink);
            form && runSlaveDialog(this, doc_, *form))
            editing::addSlave(doc_, outcome.line, form->result);
        break;
    case editing::CatalogueAction::OpenCdtOptions:
        runCdtOptionsDialog(this, doc_);
        break;
    case editing::CatalogueAction::OpenCommandForm:
        if (auto form = editing::openNewCommandForm(doc_, outcome.kind, sink))
            runCommandDialog(this, doc_, *form);
        break;
    default:
        break;
    }
    afterEdit();
}

void MainWindow::startProject() {
    doc_.NewDocument(gui::dataDirectoryOf("IP/ETHOption.xml").toStdString());
}

bool MainWindow::readProject(const std::string& path, std::string& error) {
    if (!model::ProjectFile::open(doc_, path, &error))
        return false;
    doc_.selectedItem = -1;
    return true;
}

bool MainWindow::writeProject(const std::string& path, std::string& error) {
    return model::ProjectFile::save(doc_, path, gui::dataDirectoryOf("Vantor.ver").toStdString(), &error);
}

void MainWindow::exportWorkbook() {
    gui::exportWorkbookFrom(this, workDirectory_, projectPath(),
                            [this](const std::string& path, std::string& error) {
                                return workbook::exportWorkbook(doc_, path, error);
                            });
}

// The workbook becomes the project as one step that 撤销 takes back; a
// refused workbook changes nothing and lists every refused row.
void MainWindow::importWorkbook() {
    const QString path = gui::chooseWorkbookToImport(this, workDirectory_);
    if (path.isEmpty())
        return;
    model::CVantorDoc fresh;
    fresh.NewDocument(gui::dataDirectoryOf("IP/ETHOption.xml").toStdString());
    auto result = workbook::importWorkbook(path.toStdString(), fresh);
    if (!gui::importAccepted(this, result))
        return;
    doc_ = std::move(*result.project);
    afterEdit();
}

void MainWindow::about() {
    QMessageBox box(this);
    box.setWindowTitle(tr("关于 Vantor"));
    box.setIconPixmap(QPixmap());
    box.setText(QString("<b>Vantor</b><br>%1").arg(versionLine().toHtmlEscaped()));
    box.exec();
}
