#include "MainWindowParts.h"

#include "DataFiles.h"
#include "FileChooser.h"
#include "QtMessageSink.h"
#include "TableList.h"

#include <QAction>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMessageBox>
#include <QScrollArea>
#include <QShortcut>
#include <QStatusBar>
#include <QTableWidget>
#include <QToolBar>
#include <QUrl>

namespace vantor::gui {

namespace {
struct MainWindowParts {
    Q_DECLARE_TR_FUNCTIONS(MainWindowParts)
};
} // namespace

QScrollArea* scrolledDrawing(QMainWindow* window, QWidget* drawing) {
    auto* scroll = new QScrollArea;
    scroll->setWidget(drawing);
    scroll->setBackgroundRole(QPalette::Base);
    window->setCentralWidget(scroll);
    return scroll;
}

QLabel* startStatusBar(QMainWindow* window, const QString& labelName) {
    const QString notice = workDirectoryNotice();
    window->statusBar()->showMessage(notice.isEmpty() ? MainWindowParts::tr("就绪") : notice);
    auto* label = new QLabel(window);
    label->setObjectName(labelName);
    window->statusBar()->addPermanentWidget(label);
    return label;
}

void buildViewMenu(QMainWindow* window, QMenu* viewMenu, QToolBar* toolbar, QAction* statusToggle,
                   const QList<QPair<QAction*, QString>>& dockToggles) {
    QAction* toolbarToggle = toolbar->toggleViewAction();
    toolbarToggle->setText(MainWindowParts::tr("工具栏(&T)"));
    viewMenu->addAction(toolbarToggle);
    statusToggle->setCheckable(true);
    statusToggle->setChecked(true);
    QObject::connect(statusToggle, &QAction::toggled, window->statusBar(), &QWidget::setVisible);
    viewMenu->addAction(statusToggle);
    for (const auto& toggle : dockToggles) {
        QAction* a = toggle.first;
        auto* dock = window->findChild<QDockWidget*>(toggle.second);
        a->setCheckable(true);
        a->setChecked(true);
        QObject::connect(a, &QAction::toggled, dock, &QWidget::setVisible);
        QObject::connect(dock, &QDockWidget::visibilityChanged, a, [a, dock](bool) {
            if (!dock->isHidden() != a->isChecked())
                a->setChecked(!dock->isHidden());
        });
        viewMenu->addAction(a);
    }
}

QTableWidget* moduleTable(const QString& objectName, const QStringList& headers, const QList<int>& widths,
                          std::function<void()> remove) {
    QTableWidget* t = tableList(objectName, headers, widths, QColor());
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    auto* del = new QShortcut(QKeySequence::Delete, t);
    del->setContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(del, &QShortcut::activated, t, std::move(remove));
    return t;
}

bool askToSave(QWidget* parent, const QString& program, const QString& path,
               const std::function<bool()>& save) {
    const QString name = path.isEmpty() ? "Untitled" : QFileInfo(path).fileName();
    const auto answer =
        QMessageBox::question(parent, program, MainWindowParts::tr("是否保存对 %1 的更改？").arg(name),
                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Cancel)
        return false;
    return answer == QMessageBox::No || save();
}

QString chooseProjectPath(QWidget* parent, const QString& proposed, const QString& filter,
                          const QString& suffix) {
    QString path = chooseSaveFile(parent, MainWindowParts::tr("另存为"), proposed, filter, suffix);
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += "." + suffix;
    return path;
}

QString documentTitle(const QString& path, bool modified, const QString& program) {
    const QString name = path.isEmpty() ? "Untitled" : QFileInfo(path).fileName();
    return name + (modified ? "*" : "") + " - " + program;
}

namespace {
std::function<bool(const QUrl&)>& localPlaceOpener() {
    static std::function<bool(const QUrl&)> opener;
    return opener;
}
} // namespace

void setLocalPlaceOpener(std::function<bool(const QUrl&)> opener) {
    localPlaceOpener() = std::move(opener);
}

bool openLocalPlace(QWidget* parent, const QUrl& url, const QString& what) {
    const auto& opener = localPlaceOpener();
    if (opener ? opener(url) : QDesktopServices::openUrl(url))
        return true;
    const QString where = QDir::toNativeSeparators(url.toLocalFile());
    QtMessageSink(parent).error(
        MainWindowParts::tr("无法打开%1，没有可用的程序。\n位置：%2").arg(what, where).toStdString());
    return false;
}

} // namespace vantor::gui
