#pragma once
// Replacing a file so that whoever looks at its name, at any moment and
// after any crash, finds either the whole old file or the whole new one:
// the new content is written to a file of its own beside the target,
// flushed to disk, then renamed over the target, and the directory entry is
// synced. A save that fails at any step removes its temporary file and
// leaves the old file as it was.
//
// Every file the programs and tools write goes through here: projects,
// ETHOption.xml, the address files, exports, reports, the simulator's dumps.
#include "text/Shown.h"

#include <optional>
#include <string>
#include <string_view>

namespace vantor {

// Why a replacement failed: the step, in the user's words, and errno.
struct SaveFailure {
    std::string step;
    int error = 0;
    // "<step> (<system reason>)".
    std::string text() const;
};

class AtomicFile {
public:
    static constexpr const char* kCannotCreate = VT_TEXT("无法创建临时文件");
    static constexpr const char* kWriteFailed = VT_TEXT("写入失败");
    static constexpr const char* kCannotReplace = VT_TEXT("无法替换文件");

    explicit AtomicFile(std::string target);
    // Removes the temporary file unless it was committed.
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates the temporary file beside the target (a name no other save
    // uses at the same time), with the permissions of the file it replaces.
    bool create();
    // Where the new content goes; writers that take a path (a spreadsheet
    // library) write it there themselves between create() and commit().
    const std::string& tempPath() const { return temp_; }
    bool write(std::string_view bytes);
    // Flushes the temporary file to disk, renames it over the target and
    // syncs the directory. Then removes the temporary files of the same
    // target that saves killed before their rename left behind (those whose
    // process is gone).
    bool commit();

    const std::optional<SaveFailure>& failure() const { return failure_; }

private:
    bool fail(const char* step, int error);
    void discard();

    std::string target_;
    std::string temp_;
    int fd_ = -1;
    bool committed_ = false;
    std::optional<SaveFailure> failure_;
};

// The whole replacement in one call; nothing when it succeeded.
std::optional<SaveFailure> replaceFile(const std::string& path, std::string_view bytes);

// The same for callers that report a text: false, with "无法保存文件 <path>:
// <step> (<reason>)" in `error` (UTF-8), on failure.
bool writeFileAtomically(const std::string& path, std::string_view bytes, std::string* error);

} // namespace vantor
