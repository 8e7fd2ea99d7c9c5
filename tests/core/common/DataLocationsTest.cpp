#include "common/DataLocations.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <unistd.h>

using vantor::common::DataLocations;

namespace {

DataLocations::Probe answers(bool value) {
    return [value](const std::string&) { return value; };
}

DataLocations::Probe present(std::set<std::string> files) {
    return [files](const std::string& p) { return files.count(p) > 0; };
}

} // namespace

TEST(DataLocations, WorkDirectoryAndCandidates) {
    // current, per-user, installed; whether current is writable; then the
    // work directory and the directories read, in order ("|"-separated).
    struct Case {
        const char *current, *perUser, *installed;
        bool currentWritable;
        const char *work, *candidates;
    } cases[] = {
        {"/home/u/p", "/home/u/.u", "/usr/share/vantor", true, "/home/u/p", "/home/u/p|/usr/share/vantor"},
        {"/", "/home/u/.u", "/usr/share/vantor", false, "/home/u/.u", "/home/u/.u|/|/usr/share/vantor"},
        {"/", "", "/usr/share/vantor", false, "/", "/|/usr/share/vantor"},
        {"/w", "/p", "", true, "/w", "/w"},
        {"/usr/share/vantor", "/p", "/usr/share/vantor", false, "/p", "/p|/usr/share/vantor"},
        {"/p", "/p", "/usr/share/vantor", false, "/p", "/p|/usr/share/vantor"},
    };
    for (const auto& c : cases) {
        const auto l = DataLocations::choose(c.current, c.perUser, c.installed, answers(c.currentWritable));
        std::string joined;
        for (const auto& d : l.candidates())
            joined += (joined.empty() ? "" : "|") + d;
        EXPECT_EQ(l.workDirectory(), c.work) << c.current << " " << c.perUser;
        EXPECT_EQ(joined, c.candidates) << c.current << " " << c.perUser;
    }
}

TEST(DataLocations, FindTakesTheFirstCandidateHoldingTheFile) {
    const auto readOnly = DataLocations::choose("/cwd", "/user", "/inst", answers(false));
    struct Case {
        const char* name;
        std::set<std::string> files;
        std::string relative, path, directory;
    } cases[] = {
        {"start-up directory wins",
         {"/cwd/BITMAP/slave.bmp", "/inst/BITMAP/slave.bmp"},
         "BITMAP/slave.bmp",
         "/cwd/BITMAP/slave.bmp",
         "/cwd"},
        // Started in a read-only copy of the data: the address written to the
        // per-user directory is read back, not the copy's old one.
        {"what was written before the start-up copy",
         {"/cwd/IP/ETHOption.xml", "/user/IP/ETHOption.xml"},
         "IP/ETHOption.xml",
         "/user/IP/ETHOption.xml",
         "/user"},
        {"per-user copy before the template",
         {"/user/IP/ETHOption.xml", "/inst/IP/ETHOption.xml"},
         "IP/ETHOption.xml",
         "/user/IP/ETHOption.xml",
         "/user"},
        {"installed when nobody else has it",
         {"/inst/Vantor.ver"},
         "Vantor.ver",
         "/inst/Vantor.ver",
         "/inst"},
        {"nowhere: the work directory, where it would be written",
         {},
         "IP/ip.txt",
         "/user/IP/ip.txt",
         "/user"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(readOnly.find(c.relative, present(c.files)), c.path) << c.name;
        EXPECT_EQ(readOnly.directoryOf(c.relative, present(c.files)), c.directory) << c.name;
    }
}

TEST(DataLocations, InstalledDirectoryBesideTheExecutable) {
    const std::pair<std::string, std::string> cases[] = {
        {"/usr/bin", "/usr/share/vantor"},
        {"/usr/bin/", "/usr/share/vantor"},
        {"/tmp/stage/opt/vantor/bin", "/tmp/stage/opt/vantor/share/vantor"},
        {"/usr/local/bin/../bin", "/usr/local/share/vantor"},
    };
    for (const auto& [exe, share] : cases)
        EXPECT_EQ(DataLocations::installedDirectoryFor(exe), share) << exe;
}

TEST(DataLocations, RealFileSystem) {
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() / ("vantor-locations-" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "cwd");
    fs::create_directories(root / "inst" / "BITMAP");
    std::ofstream(root / "inst" / "BITMAP" / "slave.bmp") << "x";
    EXPECT_TRUE(DataLocations::isWritableDirectory((root / "cwd").string()));
    EXPECT_FALSE(DataLocations::isWritableDirectory((root / "missing").string()));
    const auto l = DataLocations::choose((root / "cwd").string(), (root / "user").string(),
                                         (root / "inst").string(), DataLocations::isWritableDirectory);
    EXPECT_EQ(l.find("BITMAP/slave.bmp"), (root / "inst" / "BITMAP" / "slave.bmp").string());
    EXPECT_EQ(l.find("IP/ip.txt"), (root / "cwd" / "IP" / "ip.txt").string());
    // A directory without write permission sends the writes elsewhere (not
    // checkable as root, who may write anywhere).
    if (::geteuid() != 0) {
        fs::permissions(root / "cwd", fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_FALSE(DataLocations::isWritableDirectory((root / "cwd").string()));
        fs::permissions(root / "cwd", fs::perms::owner_all);
    }
    fs::remove_all(root);
    EXPECT_FALSE(DataLocations::executableDirectory().empty());
}
