#pragma once
// The main window: menus, toolbar, status bar, the device catalogue and the
// module list in docks, and the project drawing as the client. It owns the
// project document; every rule it applies comes from the core. The file
// commands, undo and the title are the project window's.
#include "ProjectHistory.h"
#include "ProjectWindow.h"
#include "editing/UndoHistory.h"
#include "model/CVantorDoc.h"

class QAction;
class QLabel;
class QTableWidget;
class QTreeWidget;
class QTreeWidgetItem;
class ProjectView;

class MainWindow : public vantor::gui::ProjectWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);

    vantor::model::CVantorDoc& document() { return doc_; }

private:
    vantor::gui::ProjectHistory& history() override { return history_; }
    void startProject() override;
    bool readProject(const std::string& path, std::string& error) override;
    bool writeProject(const std::string& path, std::string& error) override;
    void showProject() override;
    // A drag in the drawing is one step, recorded when it ends.
    bool editInProgress() const override;

    void buildMenus();
    void buildDocks();
    void applyEnabling();
    void refreshSelection();

    // 导出工程表格... / 导入工程表格...: the whole project as a workbook.
    void exportWorkbook();
    void importWorkbook();
    void about();
    void catalogueActivated(QTreeWidgetItem* item);
    void editCommand(int row);

    vantor::model::CVantorDoc doc_;
    vantor::gui::DocumentHistory<vantor::model::CVantorDoc, vantor::editing::VantorWindowState> history_{
        doc_};
    // What the program writes (the access address, exports) goes to the work
    // directory, the start-up one unless that cannot be written.
    QString workDirectory_;
    ProjectView* view_ = nullptr;
    QTreeWidget* catalogue_ = nullptr;
    QTableWidget* modules_ = nullptr;
    QLabel* selectedName_ = nullptr;
    QLabel* budget_ = nullptr;
    QLabel* selectedAddress_ = nullptr;
    QAction* slaveCopies_ = nullptr; // the drawing's 批量复制
};
