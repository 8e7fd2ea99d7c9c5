#pragma once
// Runs a piece of a test in a child process, for the peak memory of that
// piece alone (the parent's copies of large inputs do not count) and so that
// a crash fails the test instead of ending the test program.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>

namespace vantor::testing {

struct ChildResult {
    bool exited = false; // ended normally with status 0
    std::string out;     // what `f` returned
    long peakKb = 0;
    double ms = 0;
};

inline ChildResult runInChild(const std::function<std::string()>& f) {
    int fds[2];
    if (::pipe(fds) != 0)
        std::abort();
    const auto begin = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        const std::string out = f();
        (void)!::write(fds[1], out.data(), out.size());
        ::_exit(0);
    }
    ::close(fds[1]);
    ChildResult r;
    char buf[4096];
    for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;)
        r.out.append(buf, static_cast<std::size_t>(n));
    ::close(fds[0]);
    int status = 0;
    struct rusage usage {};
    ::wait4(pid, &status, 0, &usage);
    r.ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count();
    r.exited = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    r.peakKb = usage.ru_maxrss;
    return r;
}

} // namespace vantor::testing
