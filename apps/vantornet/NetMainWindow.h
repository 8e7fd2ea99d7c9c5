#pragma once
// VantorNet's main window: menus, toolbar, status bar, the device tree and
// the module list in docks, and the project drawing as the client. It owns
// the project; every rule it applies comes from core/net. The file
// commands, undo and the title are the project window's.
#include "ProjectHistory.h"
#include "ProjectWindow.h"
#include "net/CVantorNetDoc.h"
#include "net/NetCompiler.h"
#include "net/NetUndoHistory.h"

#include <optional>

class QAction;
class QLabel;
class QTableWidget;
class QTreeWidget;
class QTreeWidgetItem;
class NetProjectView;

class NetMainWindow : public vantor::gui::ProjectWindow {
    Q_OBJECT
public:
    // The numbers of VantorNet's own commands (the shared file, edit, view
    // and help ones are the project window's StandardCommand); each action
    // is named command<number>. Some numbers mean other commands in Vantor.
    enum VantorNetCommand : int {
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

    vantor::net::CVantorNetDoc& document() { return doc_; }
    // The images of the last 编译, if any.
    const std::optional<vantor::net::NetImages>& images() const { return images_; }

private:
    vantor::gui::ProjectHistory& history() override { return history_; }
    // A new or opened project drops the images of the last 编译.
    void startProject() override;
    bool readProject(const std::string& path, std::string& error) override;
    bool writeProject(const std::string& path, std::string& error) override;
    // The module list, the drawing and the status summary.
    void showProject() override;

    void buildMenus();
    void buildDocks();
    void refreshModules();
    // 导出工程表格... and 导入工程表格...
    void exportWorkbook();
    void importWorkbook();
    void about();
    void catalogueActivated(QTreeWidgetItem* item);
    void viewDoubleClicked(int target);
    void deleteCommandRow();
    void editCommandRow(int row);

    vantor::net::CVantorNetDoc doc_;
    vantor::gui::DocumentHistory<vantor::net::CVantorNetDoc, vantor::net::NetWindowState> history_{doc_};
    std::optional<vantor::net::NetImages> images_;
    NetProjectView* view_ = nullptr;
    QTreeWidget* catalogue_ = nullptr;
    QTableWidget* modules_ = nullptr;
    QLabel* summary_ = nullptr;
};
