#pragma once
// Pieces both configurators' main windows are built from: the scrolled
// drawing, the view menu's switches, the module list, the save question,
// the project file choice and the window title.
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class QAction;
class QUrl;
class QMainWindow;
class QMenu;
class QScrollArea;
class QTableWidget;
class QToolBar;
class QWidget;

class QLabel;

namespace vantor::gui {

// The drawing inside a white scroll area, as the window's client.
QScrollArea* scrolledDrawing(QMainWindow* window, QWidget* drawing);

// The status bar at start-up: "就绪", or where the program writes its files
// when the start-up directory cannot be written; answers a permanent label
// named `labelName` at its right.
QLabel* startStatusBar(QMainWindow* window, const QString& labelName);

// 查看: the toolbar switch, then `statusToggle` (showing or hiding the
// status bar) and one checkable switch per dock (action, dock object name),
// each kept in step with its dock.
void buildViewMenu(QMainWindow* window, QMenu* viewMenu, QToolBar* toolbar, QAction* statusToggle,
                   const QList<QPair<QAction*, QString>>& dockToggles);

// The module list: read-only rows, single full-row selection, the column
// titles (`headers`) and widths. Delete on the list calls `remove` (the
// list's own key: the drawing has another). Rows are filled with fillTable.
QTableWidget* moduleTable(const QString& objectName, const QStringList& headers, const QList<int>& widths,
                          std::function<void()> remove);

// Before a project is closed: "是否保存对 <name> 的更改？" with Yes, No and
// Cancel. True to go on (No, or Yes and `save` succeeded).
bool askToSave(QWidget* parent, const QString& program, const QString& path,
               const std::function<bool()>& save);

// 另存为: the chosen path with `suffix` added when it has none; empty when
// cancelled.
QString chooseProjectPath(QWidget* parent, const QString& proposed, const QString& filter,
                          const QString& suffix);

// "<file name or Untitled>[*] - <program>".
QString documentTitle(const QString& path, bool modified, const QString& program);

// Opens a local file or folder (`url`, a file URL, possibly with a fragment)
// with the desktop's program for it. When none can be started, says so:
// "无法打开<what>" and where it lies, caption "错误". False then.
bool openLocalPlace(QWidget* parent, const QUrl& url, const QString& what);
// Tests replace the desktop's opener (null restores it).
void setLocalPlaceOpener(std::function<bool(const QUrl&)> opener);

} // namespace vantor::gui
