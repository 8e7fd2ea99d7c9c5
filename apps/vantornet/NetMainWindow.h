#pragma once
// VantorNet's main window: menus, toolbar, status bar, the device tree and
// the module list in docks, and the project drawing as the client. It owns
// the project; every rule it applies comes from core/net.
#include "net/CVantorNetDoc.h"
#include "net/NetCompiler.h"
#include "net/NetUndoHistory.h"

#include <QMainWindow>
#include <QMap>
#include <optional>

class QAction;
class QLabel;
class QTableWidget;
class QTreeWidget;
class QTreeWidgetItem;
class NetProjectView;
namespace vantor::gui {
class RecentFiles;
}

class NetMainWindow : public QMainWindow {
    Q_OBJECT
public:
    // The menu commands; each action is named command<id>.
    enum Command {
        kNew = 57600,
        kOpen = 57601,
        kSave = 57603,
        kSaveAs = 57604,
        kExit = 57665,
        kUndo = 57643,
        kRedo = 57644,
        kStatusBar = 59393,
        kHelp = 57670,
        kAbout = 57664,
        kCompile = 32771,
        kDownload = 32772,
        kCompileDownload = 32773,
        kIpSettings = 32774,
        kAddressMap = 32775,
        kChangeSendDefault = 32776,
        kBitmapFolder = 32777,
        kCorrectAddresses = 32778,
        kWorkMode = 32779,
        kDelete = 32780,
        kServerCopies = 32781, // 批量复制 in the drawing's context menu
        kToggleCatalogue = 32800,
        kToggleModules = 32801,
    };

    explicit NetMainWindow(QWidget* parent = nullptr);

    // Opens a project file as 打开 does; false (with a message) when it
    // cannot be read.
    bool openProject(const QString& path);
    // Saves to `path` as 另存为 does; false (with a message) on failure.
    bool saveTo(const QString& path);
    vantor::net::CVantorNetDoc& document() { return doc_; }
    // The images of the last 编译, if any.
    const std::optional<vantor::net::NetImages>& images() const { return images_; }

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    QAction* command(int id, const QString& text);
    void buildMenus();
    void buildDocks();
    // Every edit ends here: an undo step when the project changed, the
    // module list, the drawing and the title follow.
    void afterEdit();
    void refreshModules();
    void updateTitle();
    void stepHistory(bool undo);
    bool maybeSave();

    void newProject();
    void openProjectDialog();
    bool save();
    bool saveAs();
    // 导出工程表格... and 导入工程表格...
    void exportWorkbook();
    void importWorkbook();
    void about();
    void catalogueActivated(QTreeWidgetItem* item);
    void viewDoubleClicked(int target);
    void deleteCommandRow();
    void editCommandRow(int row);

    vantor::net::CVantorNetDoc doc_;
    vantor::net::NetUndoHistory history_;
    std::optional<vantor::net::NetImages> images_;
    QString startDirectory_;
    QString path_;
    NetProjectView* view_ = nullptr;
    QTreeWidget* catalogue_ = nullptr;
    QTableWidget* modules_ = nullptr;
    QLabel* summary_ = nullptr;
    vantor::gui::RecentFiles* recent_ = nullptr;
    QMap<int, QAction*> commands_;
};
