#pragma once
// The recent-file list of a program's 文件 menu: the last four projects
// opened or saved, kept in the program's QSettings, newest first.
#include <QObject>
#include <QString>
#include <functional>

class QMenu;

namespace vantor::gui {

class RecentFiles : public QObject {
public:
    static constexpr int kCount = 4;

    // `menu` lists the files; choosing one calls `open` with its path.
    RecentFiles(QMenu* menu, std::function<void(const QString&)> open);
    // `path` opened or saved: to the front, the list cut to four.
    void add(const QString& path);

private:
    void rebuild();

    QMenu* menu_;
    std::function<void(const QString&)> open_;
};

} // namespace vantor::gui
