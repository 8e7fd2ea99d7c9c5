#pragma once
// Where a program finds the files shipped with it (pictures, help pages, the
// version file, the access-address template) and where it keeps the files it
// writes (the address files, exports).
//
// Writing goes to the start-up directory, or to the per-user data directory
// when the start-up one cannot be written. Reading looks in that directory
// first (so what was written is read back), then in the start-up directory,
// then in the installed data directory (<prefix>/share/vantor, found beside
// the executable, so a relocated or staged prefix works as well).
#include <functional>
#include <string>
#include <vector>

namespace vantor::common {

class DataLocations {
public:
    // Answers a question about a path (does it exist, can files be created
    // in it); injectable so the rule is tested without touching the disk.
    using Probe = std::function<bool(const std::string& path)>;

    // `current`: the start-up directory; `perUser`: the per-user data
    // directory ("" when there is none); `installed`: the installed data
    // directory ("" when unknown). The per-user directory is used for
    // writing only when `writable(current)` is false and it is not empty.
    static DataLocations choose(const std::string& current, const std::string& perUser,
                                const std::string& installed, const Probe& writable);
    // The rule with the real file system: the current working directory,
    // no per-user directory, the data directory beside this executable.
    // What the command-line tools use.
    static DataLocations forCurrentDirectory();

    // "<executableDirectory>/../share/vantor", normalised.
    static std::string installedDirectoryFor(const std::string& executableDirectory);
    // The directory of the running executable ("" when it cannot be told).
    static std::string executableDirectory();
    // Whether files can be created in `directory` (it exists and is writable).
    static bool isWritableDirectory(const std::string& directory);

    // Where the program writes its files.
    const std::string& workDirectory() const { return work_; }
    // True when the start-up directory was not writable and the per-user
    // directory took its place.
    bool usesPerUserDirectory() const { return work_ != current_; }
    const std::string& installedDirectory() const { return installed_; }

    // The directories searched for a file to read, in order, without repeats.
    std::vector<std::string> candidates() const;
    // The first candidate holding `relative` ("BITMAP/slave.bmp"); the path
    // in the work directory when none does.
    std::string find(const std::string& relative, const Probe& exists) const;
    std::string find(const std::string& relative) const;
    // The candidate directory holding `relative`; the work directory when
    // none does. For operations that take a directory ("Vantor.ver" in it).
    std::string directoryOf(const std::string& relative, const Probe& exists) const;
    std::string directoryOf(const std::string& relative) const;

private:
    std::string current_;
    std::string work_;
    std::string installed_;
};

} // namespace vantor::common
