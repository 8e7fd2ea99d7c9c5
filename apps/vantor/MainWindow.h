#pragma once
// The main window: menus, toolbar, status bar, the device catalogue and the
// module list in docks, and the project drawing as the client. It owns the
// project document; every rule it applies comes from the core.
#include "editing/UndoHistory.h"
#include "model/CVantorDoc.h"

#include <QMainWindow>
#include <QMap>

class QAction;
class QLabel;
class QTableWidget;
class QTreeWidget;
class QTreeWidgetItem;
class ProjectView;
namespace vantor::gui {
class RecentFiles;
}

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);

    // Opens a project file as the Open command does; false (with a message)
    // when it cannot be read.
    bool openProject(const QString& path);
    // Saves to `path` as Save As does; false (with a message) on failure.
    bool saveTo(const QString& path);
    vantor::model::CVantorDoc& document() { return doc_; }

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void buildMenus();
    void buildDocks();
    QAction* command(int id, const QString& text, void (MainWindow::*slot)() = nullptr);
    void applyEnabling();
    void refreshSelection();
    void updateTitle();
    // 撤销 / 重做: one step of the history, then the window follows.
    void stepHistory(bool (vantor::editing::UndoHistory::*step)(vantor::model::CVantorDoc&));
    bool maybeSave();

    void newProject();
    void openProjectDialog();
    bool save();
    bool saveAs();
    // 导出工程表格... / 导入工程表格...: the whole project as a workbook.
    void exportWorkbook();
    void importWorkbook();
    void about();
    void openFirmwareFolder();
    void openHelp();
    void catalogueActivated(QTreeWidgetItem* item);
    void editCommand(int row);

    vantor::model::CVantorDoc doc_;
    vantor::editing::UndoHistory history_;
    // Where the program was started: relative project paths are taken from
    // there. What it writes (the access address, exports) goes to the work
    // directory, the start-up one unless that cannot be written.
    QString startDirectory_;
    QString workDirectory_;
    QString path_;
    ProjectView* view_ = nullptr;
    QTreeWidget* catalogue_ = nullptr;
    QTableWidget* modules_ = nullptr;
    QLabel* selectedName_ = nullptr;
    QLabel* budget_ = nullptr;
    QLabel* selectedAddress_ = nullptr;
    vantor::gui::RecentFiles* recent_ = nullptr;
    QMap<int, QAction*> commands_;
    QAction* slaveCopies_ = nullptr; // the drawing's 批量复制
};
