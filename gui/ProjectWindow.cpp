#include "ProjectWindow.h"

#include "FileChooser.h"
#include "MainWindowParts.h"
#include "ProjectHistory.h"
#include "QtMessageSink.h"
#include "RecentFiles.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QKeySequence>
#include <QMenu>

namespace vantor::gui {

ProjectWindow::ProjectWindow(FileKind kind, QWidget* parent)
    : QMainWindow(parent), kind_(std::move(kind)), startDirectory_(QDir::currentPath()) {}

QAction* ProjectWindow::command(int id, const QString& text) {
    auto* a = new QAction(text, this);
    a->setObjectName(QString("command%1").arg(id));
    commands_.insert(id, a);
    return a;
}

void ProjectWindow::addFileCommands(QMenu* file) {
    const std::pair<StandardCommand, QString> items[] = {{kNew, tr("新建(&N)")},
                                                         {kOpen, tr("打开(&O)...")},
                                                         {kSave, tr("保存(&S)")},
                                                         {kSaveAs, tr("另存为(&A)...")}};
    for (const auto& [id, text] : items)
        file->addAction(command(id, text));
    commandAction(kNew)->setShortcut(QKeySequence::New);
    commandAction(kOpen)->setShortcut(QKeySequence::Open);
    commandAction(kSave)->setShortcut(QKeySequence::Save);
    onCommand(kNew, [this] { newProject(); });
    onCommand(kOpen, [this] { openProjectDialog(); });
    onCommand(kSave, [this] { save(); });
    onCommand(kSaveAs, [this] { saveAs(); });
}

void ProjectWindow::addRecentFilesAndExit(QMenu* file) {
    recent_ = new RecentFiles(file->addMenu(tr("最近的文件")), [this](const QString& path) {
        if (maybeSave())
            openProject(path);
    });
    file->addSeparator();
    file->addAction(command(kExit, tr("退出(&X)")));
    onCommand(kExit, [this] { close(); });
}

void ProjectWindow::addEditCommands(QMenu* edit) {
    edit->addAction(command(kUndo, tr("撤销(&U)")));
    commandAction(kUndo)->setShortcut(QKeySequence::Undo);
    onCommand(kUndo, [this] { stepHistory(true); });
    edit->addAction(command(kRedo, tr("重做(&R)")));
    // Ctrl+Y, and the platform's own redo key where that is another one
    // (the same key twice on one action would make it ambiguous).
    QList<QKeySequence> redoKeys{QKeySequence(Qt::CTRL | Qt::Key_Y)};
    for (const QKeySequence& k : QKeySequence::keyBindings(QKeySequence::Redo))
        if (!redoKeys.contains(k))
            redoKeys.append(k);
    commandAction(kRedo)->setShortcuts(redoKeys);
    onCommand(kRedo, [this] { stepHistory(false); });
}

void ProjectWindow::afterEdit() {
    if (!editInProgress()) {
        history().record();
        showProject();
    }
    updateTitle();
}

void ProjectWindow::projectStarted() {
    history().restart();
    afterEdit();
}

void ProjectWindow::stepHistory(bool undo) {
    if (undo ? history().undo() : history().redo())
        afterEdit();
}

void ProjectWindow::updateTitle() {
    if (QAction* undo = commandAction(kUndo))
        undo->setEnabled(history().canUndo());
    if (QAction* redo = commandAction(kRedo))
        redo->setEnabled(history().canRedo());
    setWindowTitle(documentTitle(path_, history().modified(), kind_.program));
}

void ProjectWindow::setPath(const QString& path) {
    path_ = QFileInfo(path).absoluteFilePath();
    if (recent_)
        recent_->add(path_);
}

bool ProjectWindow::maybeSave() {
    return !history().modified() || askToSave(this, kind_.program, path_, [this] { return save(); });
}

void ProjectWindow::newProject() {
    if (!maybeSave())
        return;
    startProject();
    path_.clear();
    projectStarted();
}

bool ProjectWindow::fileStep(bool (ProjectWindow::*step)(const std::string&, std::string&),
                             const QString& path) {
    // Relative paths inside a project are taken from the start-up directory.
    QDir::setCurrent(startDirectory_);
    std::string error;
    if ((this->*step)(path.toStdString(), error))
        return true;
    QtMessageSink(this).error(error);
    return false;
}

bool ProjectWindow::openProject(const QString& path) {
    if (!fileStep(&ProjectWindow::readProject, path))
        return false;
    setPath(path);
    projectStarted();
    return true;
}

void ProjectWindow::openProjectDialog() {
    if (!maybeSave())
        return;
    const QString path = chooseOpenFile(this, tr("打开"), startDirectory_, kind_.filter);
    if (!path.isEmpty())
        openProject(path);
}

bool ProjectWindow::saveTo(const QString& path) {
    if (!fileStep(&ProjectWindow::writeProject, path))
        return false;
    history().markSaved();
    setPath(path);
    updateTitle();
    return true;
}

bool ProjectWindow::save() {
    return path_.isEmpty() ? saveAs() : saveTo(path_);
}

bool ProjectWindow::saveAs() {
    const QString path =
        chooseProjectPath(this, path_.isEmpty() ? startDirectory_ : path_, kind_.filter, kind_.suffix);
    return !path.isEmpty() && saveTo(path);
}

void ProjectWindow::closeEvent(QCloseEvent* e) {
    if (maybeSave())
        e->accept();
    else
        e->ignore();
}

} // namespace vantor::gui
