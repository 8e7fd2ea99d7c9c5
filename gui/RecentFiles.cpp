#include "RecentFiles.h"

#include <QAction>
#include <QMenu>
#include <QSettings>
#include <QStringList>

namespace vantor::gui {

RecentFiles::RecentFiles(QMenu* menu, std::function<void(const QString&)> open)
    : QObject(menu), menu_(menu), open_(std::move(open)) {
    rebuild();
}

void RecentFiles::add(const QString& path) {
    QSettings settings;
    QStringList files = settings.value("recentFiles").toStringList();
    files.removeAll(path);
    files.prepend(path);
    while (files.size() > kCount)
        files.removeLast();
    settings.setValue("recentFiles", files);
    rebuild();
}

void RecentFiles::rebuild() {
    menu_->clear();
    const QStringList files = QSettings().value("recentFiles").toStringList();
    for (int i = 0; i < files.size() && i < kCount; ++i) {
        const QString path = files.at(i);
        QAction* a = menu_->addAction(QString("&%1 %2").arg(i + 1).arg(path));
        connect(a, &QAction::triggered, this, [this, path] { open_(path); });
    }
    menu_->setEnabled(!files.isEmpty());
}

} // namespace vantor::gui
