#include "common/AtomicFile.h"

#include "text/Shown.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace vantor {

namespace {

// The number in a temporary file's name "<target>.tmp.<pid>.<n>" when
// `name` is one for `base`; 0 otherwise.
pid_t temporaryOwner(std::string_view name, std::string_view base) {
    const std::string_view infix = ".tmp.";
    if (name.size() <= base.size() + infix.size() || name.substr(0, base.size()) != base ||
        name.substr(base.size(), infix.size()) != infix)
        return 0;
    const std::string_view rest = name.substr(base.size() + infix.size());
    const auto dot = rest.find('.');
    if (dot == 0 || dot == std::string_view::npos || dot + 1 == rest.size() || dot > 9)
        return 0;
    for (std::size_t i = 0; i < rest.size(); ++i)
        if (i != dot && (rest[i] < '0' || rest[i] > '9'))
            return 0;
    pid_t pid = 0;
    for (char c : rest.substr(0, dot))
        pid = pid * 10 + (c - '0');
    return pid;
}

// Removes what saves of the same target left behind when they were killed
// before their rename: temporary files whose process no longer exists. A
// file of a process that still runs (this one included) may be a save in
// progress and stays.
void sweepStaleTemporaries(const std::string& dir, const std::string& base) {
    DIR* d = ::opendir(dir.c_str());
    if (d == nullptr)
        return;
    while (const dirent* entry = ::readdir(d)) {
        const pid_t owner = temporaryOwner(entry->d_name, base);
        if (owner <= 0 || owner == ::getpid())
            continue;
        if (::kill(owner, 0) == 0 || errno != ESRCH)
            continue;
        struct stat st {};
        const std::string path = dir + "/" + entry->d_name;
        if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode))
            ::unlink(path.c_str());
    }
    ::closedir(d);
}

} // namespace

std::string SaveFailure::text() const {
    if (error == 0)
        return text::shown(step);
    std::string reason = std::strerror(error);
    return text::shown(step) + " (" + reason.substr(0, reason.find('\n')) + ")";
}

AtomicFile::AtomicFile(std::string target) : target_(std::move(target)) {}

AtomicFile::~AtomicFile() {
    if (!committed_)
        discard();
}

void AtomicFile::discard() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    if (!temp_.empty())
        ::unlink(temp_.c_str());
    temp_.clear();
}

bool AtomicFile::fail(const char* step, int error) {
    if (!failure_)
        failure_ = SaveFailure{step, error};
    discard();
    return false;
}

bool AtomicFile::create() {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
        temp_ = target_ + ".tmp." + std::to_string(::getpid()) + "." + std::to_string(counter++);
        fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ < 0 && errno != EEXIST) {
            const int err = errno;
            temp_.clear();
            return fail(kCannotCreate, err);
        }
    }
    if (fd_ < 0) {
        temp_.clear();
        return fail(kCannotCreate, EEXIST);
    }
    struct stat st {};
    if (::stat(target_.c_str(), &st) == 0 && S_ISREG(st.st_mode))
        (void)::fchmod(fd_, st.st_mode & 07777);
    return true;
}

bool AtomicFile::write(std::string_view bytes) {
    if (fd_ < 0)
        return fail(kWriteFailed, EBADF);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail(kWriteFailed, errno);
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool AtomicFile::commit() {
    if (temp_.empty())
        return fail(kWriteFailed, EBADF);
    // A writer that wrote the file by its path: open it again to flush it.
    if (fd_ < 0)
        fd_ = ::open(temp_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0)
        return fail(kWriteFailed, errno);
    if (::fsync(fd_) != 0)
        return fail(kWriteFailed, errno);
    const int closed = ::close(fd_);
    fd_ = -1;
    if (closed != 0)
        return fail(kWriteFailed, errno);
    if (::rename(temp_.c_str(), target_.c_str()) != 0)
        return fail(kCannotReplace, errno);
    committed_ = true;
    // Make the rename itself durable; a failure here endangers neither
    // version of the file.
    const auto slash = target_.rfind('/');
    std::string dir = slash == std::string::npos ? "." : target_.substr(0, slash);
    if (dir.empty())
        dir = "/";
    sweepStaleTemporaries(dir, slash == std::string::npos ? target_ : target_.substr(slash + 1));
    const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        (void)::fsync(dfd);
        ::close(dfd);
    }
    return true;
}

std::optional<SaveFailure> replaceFile(const std::string& path, std::string_view bytes) {
    AtomicFile file(path);
    if (file.create() && file.write(bytes) && file.commit())
        return std::nullopt;
    return file.failure();
}

bool writeFileAtomically(const std::string& path, std::string_view bytes, std::string* error) {
    auto failure = replaceFile(path, bytes);
    if (failure && error)
        *error = text::shownFormat(VT_TEXT("无法保存文件 %s: %s"), path.c_str(), failure->text().c_str());
    return !failure;
}

} // namespace vantor
