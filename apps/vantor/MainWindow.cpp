#include "MainWindow.h"

#include "CatalogueWidget.h"
#include "CopiesDialog.h"
#include "DataFiles.h"
#include "DeviceCommands.h"
#include "EditDialogs.h"
#include "FileChooser.h"
#include "FleetDialog.h"
#include "MainWindowParts.h"
#include "ProjectView.h"
#include "QtMessageSink.h"
#include "QtText.h"
#include "RecentFiles.h"
#include "RefusalList.h"
#include "TableDialogs.h"
#include "editing/CommandEditor.h"
#include "editing/LineBudget.h"
#include "editing/MenuEnabling.h"
#include "editing/ModuleList.h"
#include "editing/ProjectEditor.h"
#include "editing/SlaveCopies.h"
#include "editing/UndoHistory.h"
#include "model/CommandKind.h"
#include "model/GatewayCatalogue.h"
#include "model/ProjectFile.h"
#include "workbook/VantorWorkbook.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
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
using vantor::gui::q;

namespace {

constexpr int kToggleModules = 32799;
constexpr int kToggleCatalogue = 32800;

// The first line of the version file.
QString versionLine() {
    QFile f(gui::dataFile("Vantor.ver"));
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QTextStream(&f).readLine();
}

} // namespace

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent), startDirectory_(QDir::currentPath()), workDirectory_(gui::workDirectory()) {
    doc_.NewDocument(gui::dataDirectoryOf("IP/ETHOption.xml").toStdString());
    view_ = new ProjectView(doc_);
    gui::scrolledDrawing(this, view_);
    history_.reset(doc_);
    buildDocks();
    buildMenus();
    // The poll cycle of the selected line (its serial-line budget).
    budget_ = gui::startStatusBar(this, "labelBudget");

    connect(view_, &ProjectView::selectionChanged, this, &MainWindow::refreshSelection);
    connect(view_, &ProjectView::modified, this, &MainWindow::updateTitle);
    connect(view_, &ProjectView::contextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(this);
        menu.addAction(commands_.value(32773));
        menu.addAction(commands_.value(32811));
        menu.addAction(commands_.value(32812));
        menu.addSeparator();
        menu.addAction(slaveCopies_);
        slaveCopies_->setEnabled(doc_.selectedSlave() >= 0);
        menu.exec(at);
    });
    connect(view_, &ProjectView::doubleClicked, this, [this](view::GraphicScene::Opens target) {
        if (target == view::GraphicScene::Opens::SlaveProperties) {
            auto form = editing::openSlaveForm(doc_, doc_.selectedSlave());
            if (runSlaveDialog(this, doc_, form))
                doc_.modified = true;
        } else if (target == view::GraphicScene::Opens::GatewayInformation) {
            runGatewayInfoCommand(this, doc_);
        } else if (target == view::GraphicScene::Opens::ComProperties) {
            auto form = editing::openComForm(doc_, doc_.selectedCom());
            if (runComDialog(this, doc_, form))
                doc_.modified = true;
        }
        refreshSelection();
        updateTitle();
        view_->update();
    });
    connect(commands_[32817], &QAction::triggered, this, [this] {
        auto form = editing::openAddressingModeForm(doc_);
        if (runAddressingModeDialog(this, doc_, form))
            doc_.modified = true;
        updateTitle();
        view_->update();
    });
    // The device commands: each opens its own windows and shows its messages.
    for (int id : {32772, 32785})
        connect(commands_[id], &QAction::triggered, this, [this] { runDownloadCommand(this, doc_); });
    connect(commands_[32776], &QAction::triggered, this, [this] {
        runNetworkParamsCommand(this, doc_);
        updateTitle();
    });
    connect(commands_[32802], &QAction::triggered, this,
            [this] { runAccessParamsCommand(this, doc_, workDirectory_); });
    connect(commands_[32806], &QAction::triggered, this, [this] { runSlaveStateCommand(this, doc_); });
    connect(commands_[32818], &QAction::triggered, this,
            [this] { runFirmwareCommand(this, doc_, workDirectory_); });
    connect(commands_[32826], &QAction::triggered, this, [this] {
        if (runWorkModeCommand(this, doc_))
            updateTitle();
    });
    connect(commands_[32777], &QAction::triggered, this, [this] {
        runAddressMapCommand(this, doc_, workDirectory_);
        refreshSelection();
        updateTitle();
        view_->update();
    });
    connect(commands_[32824], &QAction::triggered, this, [this] {
        runEipTableCommand(this, doc_, workDirectory_);
        refreshSelection();
        updateTitle();
    });
    connect(commands_[32821], &QAction::triggered, this, [this] {
        if (runEipParamsDialog(this, doc_))
            doc_.modified = true;
        updateTitle();
    });
    connect(commands_[32804], &QAction::triggered, this, [this] {
        auto form = editing::openDefaultValuesForm(doc_);
        if (runDefaultValuesDialog(this, doc_, form))
            doc_.modified = true;
        updateTitle();
    });
    applyEnabling();
    refreshSelection();
    updateTitle();
}

void MainWindow::editCommand(int row) {
    if (!editing::rowEditable(doc_, row))
        return;
    if (auto form = editing::openEditCommandForm(doc_, row); form && runCommandDialog(this, doc_, *form)) {
        doc_.modified = true;
        refreshSelection();
        updateTitle();
        view_->update();
    }
}

QAction* MainWindow::command(int id, const QString& text, void (MainWindow::*slot)()) {
    auto* a = new QAction(text, this);
    a->setObjectName(QString("command%1").arg(id));
    if (slot)
        connect(a, &QAction::triggered, this, slot);
    commands_.insert(id, a);
    return a;
}

void MainWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu("文件(&F)");
    file->addAction(command(57600, "新建(&N)", &MainWindow::newProject));
    commands_[57600]->setShortcut(QKeySequence::New);
    file->addAction(command(57601, "打开(&O)...", &MainWindow::openProjectDialog));
    commands_[57601]->setShortcut(QKeySequence::Open);
    file->addAction(command(57603, "保存(&S)"));
    connect(commands_[57603], &QAction::triggered, this, [this] { save(); });
    commands_[57603]->setShortcut(QKeySequence::Save);
    file->addAction(command(57604, "另存为(&A)..."));
    connect(commands_[57604], &QAction::triggered, this, [this] { saveAs(); });
    file->addSeparator();
    QAction* exporting = file->addAction("导出工程表格...");
    exporting->setObjectName("commandExportWorkbook");
    connect(exporting, &QAction::triggered, this, &MainWindow::exportWorkbook);
    QAction* importing = file->addAction("导入工程表格...");
    importing->setObjectName("commandImportWorkbook");
    connect(importing, &QAction::triggered, this, &MainWindow::importWorkbook);
    file->addSeparator();
    recent_ = new gui::RecentFiles(file->addMenu("最近的文件"), [this](const QString& path) {
        if (maybeSave())
            openProject(path);
    });
    file->addSeparator();
    file->addAction(command(57665, "退出(&X)"));
    connect(commands_[57665], &QAction::triggered, this, &QWidget::close);

    QMenu* edit = menuBar()->addMenu("编辑(&E)");
    edit->addAction(command(57643, "撤销(&U)"));
    commands_[57643]->setShortcut(QKeySequence::Undo);
    connect(commands_[57643], &QAction::triggered, this,
            [this] { stepHistory(&editing::UndoHistory::undo); });
    edit->addAction(command(57644, "重做(&R)"));
    // Ctrl+Y, and the platform's own redo key where that is another one
    // (the same key twice on one action would make it ambiguous).
    QList<QKeySequence> redoKeys{QKeySequence(Qt::CTRL | Qt::Key_Y)};
    for (const QKeySequence& k : QKeySequence::keyBindings(QKeySequence::Redo))
        if (!redoKeys.contains(k))
            redoKeys.append(k);
    commands_[57644]->setShortcuts(redoKeys);
    connect(commands_[57644], &QAction::triggered, this,
            [this] { stepHistory(&editing::UndoHistory::redo); });
    QMenu* viewMenu = menuBar()->addMenu("查看(&V)");
    QToolBar* toolbar = addToolBar("工具栏");
    toolbar->setObjectName("toolbar128");
    gui::buildViewMenu(
        this, viewMenu, toolbar, command(59393, "状态栏(&S)"),
        {{command(kToggleModules, "模块栏"), "bar22222"}, {command(kToggleCatalogue, "设备树"), "bar11111"}});

    QMenu* work = menuBar()->addMenu("工作目录");
    work->addAction(command(32820, "固件目录", &MainWindow::openFirmwareFolder));

    QMenu* device = menuBar()->addMenu("设备");
    const std::pair<int, const char*> deviceItems[] = {
        {32772, "配置下载"}, {32776, "网络参数设置"},   {32802, "访问参数设置"},      {32804, "默认值设置"},
        {32806, "从站状态"}, {32777, "网关地址映射表"}, {32813, "配置上传"},          {32817, "寻址方式设置"},
        {32818, "固件升级"}, {32821, "EIP网关参数"},    {32824, "EIP网关地址映射表"}, {32826, "模式设置"},
    };
    for (auto [id, text] : deviceItems)
        device->addAction(command(id, text));
    device->addSeparator();
    QAction* report = device->addAction("调试报告");
    report->setObjectName("commandReport");
    connect(report, &QAction::triggered, this, [this] { runReportCommand(this, doc_, path_); });
    QAction* fleet = device->addAction("批量下载...");
    fleet->setObjectName("commandFleet");
    connect(fleet, &QAction::triggered, this, [this] {
        FleetDialog dialog(this);
        dialog.exec();
    });

    QMenu* help = menuBar()->addMenu("帮助(&H)");
    help->addAction(command(57670, "帮助", &MainWindow::openHelp));
    help->addAction(command(57664, "关于 Vantor(&A)...", &MainWindow::about));

    // Toolbar: New, Open, Save, upload, access parameters, download, Help.
    toolbar->addAction(commands_[57600]);
    toolbar->addAction(commands_[57601]);
    toolbar->addAction(commands_[57603]);
    toolbar->addAction(commands_[32813]);
    toolbar->addAction(commands_[32802]);
    toolbar->addAction(command(32785, "配置下载"));
    toolbar->addSeparator();
    toolbar->addAction(commands_[57670]);

    // The view's commands: delete, copy, paste, with the usual keys.
    command(32773, "删除");
    command(32811, "复制");
    command(32812, "粘贴");
    connect(commands_[32773], &QAction::triggered, this, [this] {
        gui::QtMessageSink sink(this);
        if (editing::deleteSelection(doc_, sink)) {
            applyEnabling();
            updateTitle();
        }
        refreshSelection();
        view_->update();
    });
    connect(commands_[32811], &QAction::triggered, this, [this] { editing::copySelection(doc_); });
    connect(commands_[32812], &QAction::triggered, this, [this] {
        gui::QtMessageSink sink(this);
        editing::paste(doc_, sink);
        refreshSelection();
        updateTitle();
        view_->update();
    });
    // 批量复制: copies of the selected slave on its line, one undo step.
    slaveCopies_ = new QAction(gui::kCopiesCommandText, this);
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
        refreshSelection();
        updateTitle();
        view_->update();
    });
    // The drawing's keys: Ctrl+C / Ctrl+Insert copy, Ctrl+V / Shift+Insert paste.
    commands_[32811]->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert)});
    commands_[32812]->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_V), QKeySequence(Qt::SHIFT | Qt::Key_Insert)});
    // Delete on the drawing does what the context menu's 删除 does.
    commands_[32773]->setShortcut(QKeySequence::Delete);
    for (int id : {32773, 32811, 32812}) {
        commands_[id]->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        view_->addAction(commands_[id]);
    }
}

void MainWindow::buildDocks() {
    catalogue_ = gui::catalogueWidget(editing::catalogueTree(), "tree33333");
    connect(catalogue_, &QTreeWidget::itemDoubleClicked, this, &MainWindow::catalogueActivated);

    auto* catalogueDock = new QDockWidget("设备树", this);
    catalogueDock->setObjectName("bar11111");
    catalogueDock->setWidget(catalogue_);
    catalogue_->setMinimumWidth(275);
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
        labels << q(h);
    const auto& widths = editing::moduleListWidths();
    auto deleteRow = [this] {
        int row = modules_->currentRow();
        if (row < 0)
            return;
        gui::QtMessageSink sink(this);
        if (editing::deleteCommand(doc_, row, sink)) {
            refreshSelection();
            updateTitle();
            view_->update();
        }
    };
    modules_ = gui::moduleTable("list1000", labels, QList<int>(widths.begin(), widths.end()), deleteRow);
    QFont listFont("宋体");
    listFont.setPixelSize(14);
    modules_->setFont(listFont);
    layout->addWidget(modules_);
    modules_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(modules_, &QWidget::customContextMenuRequested, this, [this, deleteRow](const QPoint& at) {
        const int row = modules_->rowAt(at.y());
        if (row < 0 || !editing::rowEditable(doc_, row))
            return;
        modules_->selectRow(row);
        QMenu menu(this);
        QAction* remove = menu.addAction("删除");
        QAction* edit = menu.addAction("修改");
        QAction* chosen = menu.exec(modules_->viewport()->mapToGlobal(at));
        if (chosen == remove)
            deleteRow();
        else if (chosen == edit)
            editCommand(row);
    });
    connect(modules_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { editCommand(row); });

    auto* moduleDock = new QDockWidget("模块栏", this);
    moduleDock->setObjectName("bar22222");
    moduleDock->setWidget(panel);
    addDockWidget(Qt::BottomDockWidgetArea, moduleDock);
}

void MainWindow::applyEnabling() {
    const editing::MenuEnabling enabling = editing::menuEnabling(doc_);
    for (auto it = commands_.begin(); it != commands_.end(); ++it)
        it.value()->setEnabled(enabling.enabled(it.key()));
}

void MainWindow::refreshSelection() {
    const editing::SelectionView selection = editing::selectionView(doc_);
    selectedName_->setText(q(selection.name));
    selectedAddress_->setText(q(selection.address));
    if (budget_)
        budget_->setText(q(editing::selectedLineSummary(doc_)));
    modules_->setRowCount(static_cast<int>(selection.rows.size()));
    for (int r = 0; r < static_cast<int>(selection.rows.size()); ++r) {
        const auto& row = selection.rows[static_cast<std::size_t>(r)];
        const std::string* cells[] = {&row.number,   &row.func,    &row.start,  &row.length,
                                      &row.editSend, &row.gateway, &row.comment};
        for (int c = 0; c < 7; ++c)
            modules_->setItem(r, c, new QTableWidgetItem(q(*cells[c])));
    }
}

void MainWindow::stepHistory(bool (editing::UndoHistory::*step)(model::CVantorDoc&)) {
    if (!(history_.*step)(doc_))
        return;
    applyEnabling();
    refreshSelection();
    updateTitle();
    view_->update();
}

void MainWindow::updateTitle() {
    // Every edit ends here: a changed project becomes an undo step (a drag
    // once, when it ends), and the modified mark follows the steps.
    if (!view_->dragging())
        history_.record(doc_);
    commands_[57643]->setEnabled(history_.canUndo());
    commands_[57644]->setEnabled(history_.canRedo());
    setWindowTitle(gui::documentTitle(path_, doc_.modified, "Vantor"));
}

void MainWindow::catalogueActivated(QTreeWidgetItem* item) {
    if (!item)
        return;
    const std::string text = item->text(0).toStdString();
    const std::string parent = item->parent() ? item->parent()->text(0).toStdString() : std::string();
    gui::QtMessageSink sink(this);
    const editing::CatalogueOutcome outcome = editing::activateCatalogueItem(doc_, text, parent, sink);
    switch (outcome.action) {
    case editing::CatalogueAction::GatewayAdded:
        applyEnabling();
        break;
    case editing::CatalogueAction::OpenNewSlaveForm:
        if (auto form = editing::openNewSlaveForm(doc_, outcome.line, sink);
            form && runSlaveDialog(this, doc_, *form))
            editing::addSlave(doc_, outcome.line, form->result);
        break;
    case editing::CatalogueAction::OpenCdtOptions:
        if (runCdtOptionsDialog(this, doc_))
            doc_.modified = true;
        break;
    case editing::CatalogueAction::OpenCommandForm:
        if (auto form = editing::openNewCommandForm(doc_, outcome.kind, sink))
            runCommandDialog(this, doc_, *form);
        break;
    default:
        break;
    }
    refreshSelection();
    updateTitle();
    view_->update();
}

bool MainWindow::maybeSave() {
    return !doc_.modified || gui::askToSave(this, "Vantor", path_, [this] { return save(); });
}

void MainWindow::newProject() {
    if (!maybeSave())
        return;
    doc_.NewDocument(gui::dataDirectoryOf("IP/ETHOption.xml").toStdString());
    history_.reset(doc_);
    path_.clear();
    applyEnabling();
    refreshSelection();
    updateTitle();
    view_->update();
}

bool MainWindow::openProject(const QString& path) {
    QDir::setCurrent(startDirectory_);
    std::string error;
    if (!model::ProjectFile::open(doc_, path.toStdString(), &error)) {
        gui::QtMessageSink(this).error("错误", error);
        return false;
    }
    doc_.selectedItem = -1;
    doc_.modified = false;
    history_.reset(doc_);
    path_ = QFileInfo(path).absoluteFilePath();
    recent_->add(path_);
    applyEnabling();
    refreshSelection();
    updateTitle();
    view_->update();
    return true;
}

void MainWindow::openProjectDialog() {
    if (!maybeSave())
        return;
    const QString path = gui::chooseOpenFile(this, "打开", QString(), "Configure files(*.vtc)");
    if (!path.isEmpty())
        openProject(path);
}

bool MainWindow::saveTo(const QString& path) {
    QDir::setCurrent(startDirectory_);
    std::string error;
    if (!model::ProjectFile::save(doc_, path.toStdString(), gui::dataDirectoryOf("Vantor.ver").toStdString(),
                                  &error)) {
        gui::QtMessageSink(this).error("错误", error);
        return false;
    }
    doc_.modified = false;
    history_.markSaved();
    path_ = QFileInfo(path).absoluteFilePath();
    recent_->add(path_);
    updateTitle();
    return true;
}

bool MainWindow::save() {
    return path_.isEmpty() ? saveAs() : saveTo(path_);
}

bool MainWindow::saveAs() {
    const QString path = gui::chooseProjectPath(this, path_, "Configure files(*.vtc)", "vtc");
    return !path.isEmpty() && saveTo(path);
}

namespace {

const char* const kWorkbookFilter = "Excel 工作簿 (*.xlsx);;所有文件 (*)";

// Workbooks are proposed below EXCEL/ of the work directory, named after the
// project.
QString workbookPlace(const QString& workDirectory, const QString& projectPath) {
    const QString dir = workDirectory + "/EXCEL";
    QDir().mkpath(dir);
    return projectPath.isEmpty() ? dir : dir + "/" + QFileInfo(projectPath).completeBaseName() + ".xlsx";
}

} // namespace

void MainWindow::exportWorkbook() {
    const QString path = gui::chooseSaveFile(this, "导出工程表格", workbookPlace(workDirectory_, path_),
                                             kWorkbookFilter, "xlsx");
    if (path.isEmpty())
        return;
    std::string error;
    gui::QtMessageSink sink(this);
    if (workbook::exportWorkbook(doc_, path.toStdString(), error))
        sink.information("信息", "已导出到 " + path.toStdString());
    else
        sink.error("错误", error);
}

// The workbook becomes the project as one step that 撤销 takes back; a
// refused workbook changes nothing and lists every refused row.
void MainWindow::importWorkbook() {
    const QString path =
        gui::chooseOpenFile(this, "导入工程表格", workbookPlace(workDirectory_, QString()), kWorkbookFilter);
    if (path.isEmpty())
        return;
    model::CVantorDoc fresh;
    fresh.NewDocument(gui::dataDirectoryOf("IP/ETHOption.xml").toStdString());
    auto result = workbook::importWorkbook(path.toStdString(), fresh);
    if (!result.fileError.empty()) {
        gui::QtMessageSink(this).error("错误", result.fileError);
        return;
    }
    if (!result.accepted()) {
        const auto& refusals = result.report.refusals();
        gui::showRefusalList(this, "导入工程表格",
                             QString("工程表格中有%1行未能导入，工程没有改变：").arg(refusals.size()),
                             QString::fromStdString(result.report.text()).trimmed());
        return;
    }
    doc_ = std::move(*result.project);
    applyEnabling();
    refreshSelection();
    updateTitle();
    view_->update();
}

void MainWindow::about() {
    QMessageBox box(this);
    box.setWindowTitle("关于 Vantor");
    box.setIconPixmap(QPixmap());
    box.setText(QString("<b>Vantor</b><br>%1").arg(versionLine().toHtmlEscaped()));
    box.exec();
}

void MainWindow::openFirmwareFolder() {
    gui::openLocalPlace(this, QUrl::fromLocalFile(workDirectory_ + "/FIRMWARE"), "FIRMWARE目录");
}

void MainWindow::openHelp() {
    gui::openLocalPlace(this, QUrl::fromLocalFile(gui::dataFile("Help/index.html")), "帮助");
}

void MainWindow::closeEvent(QCloseEvent* e) {
    if (maybeSave())
        e->accept();
    else
        e->ignore();
}
