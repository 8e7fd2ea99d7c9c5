#include "DataFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

#include <cstdio>
#include <optional>

namespace vantor::gui {

namespace {

std::optional<common::DataLocations>& chosen() {
    static std::optional<common::DataLocations> locations;
    return locations;
}

std::string installedDirectory() {
    return common::DataLocations::installedDirectoryFor(QCoreApplication::applicationDirPath().toStdString());
}

} // namespace

const common::DataLocations& setUpDataFiles() {
    const QString perUser = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    // The per-user directory is created only when the current one cannot be
    // written; a directory that cannot be created leaves the current one.
    auto writableOrNoPlaceElse = [&perUser](const std::string& current) {
        return common::DataLocations::isWritableDirectory(current) || perUser.isEmpty() ||
               !QDir().mkpath(perUser);
    };
    chosen() = common::DataLocations::choose(QDir::currentPath().toStdString(), perUser.toStdString(),
                                             installedDirectory(), writableOrNoPlaceElse);
    if (chosen()->usesPerUserDirectory())
        std::fprintf(stderr, "%s\n", workDirectoryNotice().toLocal8Bit().constData());
    return *chosen();
}

const common::DataLocations& dataFiles() {
    if (chosen())
        return *chosen();
    // Without setUpDataFiles (the window tests): the current directory as it
    // is at each call, since tests move between scratch directories.
    static std::optional<common::DataLocations> current;
    current = common::DataLocations::choose(QDir::currentPath().toStdString(), "", installedDirectory(),
                                            [](const std::string&) { return true; });
    return *current;
}

QString dataFile(const QString& relative) {
    return QString::fromStdString(dataFiles().find(relative.toStdString()));
}

QString dataDirectoryOf(const QString& relative) {
    return QString::fromStdString(dataFiles().directoryOf(relative.toStdString()));
}

QString workDirectory() {
    return QString::fromStdString(dataFiles().workDirectory());
}

QString workDirectoryNotice() {
    if (!dataFiles().usesPerUserDirectory())
        return {};
    return QCoreApplication::translate("DataFiles", "当前目录不可写，文件保存在 %1").arg(workDirectory());
}

} // namespace vantor::gui
