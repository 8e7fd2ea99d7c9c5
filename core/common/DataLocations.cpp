#include "common/DataLocations.h"

#include <algorithm>
#include <filesystem>
#include <unistd.h>

namespace vantor::common {

namespace {

std::string joined(const std::string& directory, const std::string& relative) {
    if (directory.empty())
        return relative;
    return directory.back() == '/' ? directory + relative : directory + "/" + relative;
}

bool existsOnDisk(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

} // namespace

DataLocations DataLocations::choose(const std::string& current, const std::string& perUser,
                                    const std::string& installed, const Probe& writable) {
    DataLocations l;
    l.current_ = current;
    l.work_ = perUser.empty() || writable(current) ? current : perUser;
    l.installed_ = installed;
    return l;
}

DataLocations DataLocations::forCurrentDirectory() {
    std::error_code ec;
    const std::string current = std::filesystem::current_path(ec).string();
    const std::string exeDir = executableDirectory();
    return choose(current, "", exeDir.empty() ? "" : installedDirectoryFor(exeDir),
                  [](const std::string&) { return true; });
}

std::string DataLocations::installedDirectoryFor(const std::string& executableDirectory) {
    std::filesystem::path dir(executableDirectory);
    // "/usr/bin/" names the same directory as "/usr/bin".
    if (!dir.has_filename())
        dir = dir.parent_path();
    return (dir / ".." / "share" / "vantor").lexically_normal().string();
}

std::string DataLocations::executableDirectory() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.parent_path().string();
}

bool DataLocations::isWritableDirectory(const std::string& directory) {
    std::error_code ec;
    return std::filesystem::is_directory(directory, ec) && ::access(directory.c_str(), W_OK | X_OK) == 0;
}

std::vector<std::string> DataLocations::candidates() const {
    std::vector<std::string> out;
    for (const std::string* d : {&work_, &current_, &installed_})
        if (!d->empty() && std::find(out.begin(), out.end(), *d) == out.end())
            out.push_back(*d);
    return out;
}

std::string DataLocations::find(const std::string& relative, const Probe& exists) const {
    return joined(directoryOf(relative, exists), relative);
}

std::string DataLocations::find(const std::string& relative) const {
    return find(relative, existsOnDisk);
}

std::string DataLocations::directoryOf(const std::string& relative, const Probe& exists) const {
    for (const auto& d : candidates())
        if (exists(joined(d, relative)))
            return d;
    return work_;
}

std::string DataLocations::directoryOf(const std::string& relative) const {
    return directoryOf(relative, existsOnDisk);
}

} // namespace vantor::common
