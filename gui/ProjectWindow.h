#pragma once
// The skeleton both configurators' main windows are built on: the project
// file commands (新建, 打开..., 保存, 另存为..., 最近的文件, 退出), the save
// question before a project is closed, 撤销 and 重做, the window title, and
// the menu commands by number. A program supplies what is its own: its
// name and project file kind, starting, reading and writing a project, its
// undo history and what the screen shows of the project.
//
// Every edit ends in afterEdit(): the undo step is recorded there, the
// screen follows and the title takes the modified mark. Nothing else
// records a step.
#include <QAction>
#include <QMainWindow>
#include <QMap>
#include <QString>
#include <string>
#include <type_traits>

class QMenu;

namespace vantor::gui {

class ProjectHistory;
class RecentFiles;

class ProjectWindow : public QMainWindow {
    Q_OBJECT
public:
    // The commands whose numbers both programs share, with the same meaning.
    // Each program numbers its own commands in its own enumeration; every
    // action is named command<number>.
    enum StandardCommand : int {
        kNew = 57600,
        kOpen = 57601,
        kSave = 57603,
        kSaveAs = 57604,
        kUndo = 57643,
        kRedo = 57644,
        kAbout = 57664,
        kExit = 57665,
        kHelp = 57670,
        kStatusBar = 59393,
    };

    // Opens a project file as 打开 does; false (with a message) when it
    // cannot be read, and the open project stays.
    bool openProject(const QString& path);
    // Saves to `path` as 另存为 does; false (with a message) on failure.
    bool saveTo(const QString& path);

protected:
    // How a program names its projects.
    struct FileKind {
        QString program; // the title's end and the save question's caption
        QString filter;  // offered by 打开 and 另存为
        QString suffix;  // added to a name chosen without one
    };
    ProjectWindow(FileKind kind, QWidget* parent);

    // What the program supplies.
    virtual ProjectHistory& history() = 0;
    // 新建: a fresh project in the document.
    virtual void startProject() = 0;
    // Reads `path` into the document; false with `error` and the document
    // as it was when the file is refused.
    virtual bool readProject(const std::string& path, std::string& error) = 0;
    virtual bool writeProject(const std::string& path, std::string& error) = 0;
    // The lists, the drawing, the status and the menu enabling follow the
    // project.
    virtual void showProject() = 0;
    // An edit still under way (a drag): only the title follows until it
    // ends; then afterEdit() records it as one step.
    virtual bool editInProgress() const { return false; }

    // The end of every edit: the undo step, the screen, the title.
    void afterEdit();
    // 新建 and opening: the project is the only step, unmodified.
    void projectStarted();
    // Before the project is closed: true to go on.
    bool maybeSave();
    bool save();
    bool saveAs();

    // The file menu's pieces; the program's own entries go between them:
    // 新建, 打开..., 保存, 另存为...; then 最近的文件, a separator and 退出.
    void addFileCommands(QMenu* file);
    void addRecentFilesAndExit(QMenu* file);
    // 撤销 and 重做 with their keys.
    void addEditCommands(QMenu* edit);

    // A menu command: an action named command<id>, kept under its number.
    QAction* command(int id, const QString& text);
    QAction* commandAction(int id) const { return commands_.value(id); }
    template <typename Id>
    requires std::is_enum_v<Id> QAction* command(Id id, const QString& text) {
        return command(static_cast<int>(id), text);
    }
    template <typename Id>
    requires std::is_enum_v<Id> QAction* commandAction(Id id) const {
        return commandAction(static_cast<int>(id));
    }
    // Runs `slot` when the command `id` is triggered.
    template <typename Id, typename Slot> void onCommand(Id id, Slot slot) {
        connect(commandAction(id), &QAction::triggered, this, std::move(slot));
    }
    const QMap<int, QAction*>& commands() const { return commands_; }

    const QString& projectPath() const { return path_; }
    // Where the program was started: project paths are taken from there.
    const QString& startDirectory() const { return startDirectory_; }

    void closeEvent(QCloseEvent* e) override;

private:
    void newProject();
    void openProjectDialog();
    void stepHistory(bool undo);
    // The title and 撤销 / 重做 follow the history; records nothing.
    void updateTitle();
    void setPath(const QString& path);
    // Reads or writes `path` (`step`) from the start-up directory; false
    // with the message shown.
    bool fileStep(bool (ProjectWindow::*step)(const std::string&, std::string&), const QString& path);

    FileKind kind_;
    QString startDirectory_;
    QString path_;
    RecentFiles* recent_ = nullptr;
    QMap<int, QAction*> commands_;
};

} // namespace vantor::gui
