// The atomic file replacement every save goes through: the target holds the
// old or the new content and nothing else, keeps its permissions, and a
// failure leaves no temporary file behind.
#include "common/AtomicFile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

class AtomicFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "vantor-atomic-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir = pattern;
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string read(const fs::path& p) const {
        std::ifstream in(p, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    std::size_t entries() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
    }
    fs::path dir;
};

TEST_F(AtomicFileTest, ReplacesTheWholeFileAndKeepsItsPermissions) {
    const fs::path target = dir / "p.vtc";
    std::ofstream(target) << "old content, longer than the new one";
    ::chmod(target.c_str(), 0640);
    EXPECT_FALSE(vantor::replaceFile(target.string(), "new").has_value());
    EXPECT_EQ(read(target), "new");
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(entries(), 1u) << "no temporary file left";
}

TEST_F(AtomicFileTest, FailuresSayWhichStepAndLeaveTheOldFile) {
    struct Case {
        const char* name;
        fs::path target;
        const char* step;
    };
    fs::create_directories(dir / "taken.vtc"); // a directory where the file should go
    const Case cases[] = {
        {"missing folder", dir / "missing" / "p.vtc", vantor::AtomicFile::kCannotCreate},
        {"target is a directory", dir / "taken.vtc", vantor::AtomicFile::kCannotReplace},
    };
    for (const auto& c : cases) {
        auto failure = vantor::replaceFile(c.target.string(), "bytes");
        ASSERT_TRUE(failure.has_value()) << c.name;
        EXPECT_EQ(failure->step, c.step) << c.name;
        EXPECT_NE(failure->text().find(c.step), std::string::npos) << c.name;
        EXPECT_NE(failure->error, 0) << c.name;
    }
    EXPECT_TRUE(fs::is_directory(dir / "taken.vtc"));
    EXPECT_EQ(entries(), 1u) << "no temporary file left";
}

// A writer that takes a path (the spreadsheet library) writes the temporary
// file itself; nothing reaches the target until commit, and an abandoned
// replacement removes its temporary file.
TEST_F(AtomicFileTest, WritersThatTakeAPathCommitOrAbandon) {
    const fs::path target = dir / "map.xlsx";
    std::ofstream(target) << "old";
    for (bool commit : {false, true}) {
        {
            vantor::AtomicFile file(target.string());
            ASSERT_TRUE(file.create());
            std::ofstream(file.tempPath(), std::ios::binary | std::ios::trunc) << "workbook";
            EXPECT_EQ(read(target), "old");
            if (commit) {
                ASSERT_TRUE(file.commit());
            }
        }
        EXPECT_EQ(read(target), commit ? "workbook" : "old");
        EXPECT_EQ(entries(), 1u);
    }
}

// A save killed before its rename leaves "<target>.tmp.<pid>.<n>"; the next
// save of the same target removes those whose process is gone and nothing
// else: not a save still running (another process or this one), not another
// target's, not a name that merely looks alike.
TEST_F(AtomicFileTest, ASaveSweepsTemporariesOfKilledSaves) {
    const pid_t gone = ::fork();
    ASSERT_GE(gone, 0);
    if (gone == 0)
        ::_exit(0);
    ASSERT_EQ(::waitpid(gone, nullptr, 0), gone);
    const std::string dead = std::to_string(gone);
    const std::string self = std::to_string(::getpid());
    const std::string running = std::to_string(::getppid());
    struct Case {
        std::string name;
        bool removed;
    };
    const Case cases[] = {
        {"p.vtc.tmp." + dead + ".0", true},   {"p.vtc.tmp." + dead + ".4711", true},
        {"p.vtc.tmp." + self + ".99", false}, {"p.vtc.tmp." + running + ".3", false},
        {"q.vtc.tmp." + dead + ".0", false},  {"p.vtc.tmp." + dead + ".0.bak", false},
        {"p.vtc.tmp." + dead, false},         {"p.vtc.tmp.x" + dead + ".1", false},
        {"p.vtc.tmp." + dead + ".", false},   {"xp.vtc.tmp." + dead + ".0", false},
        {"p.vtc.tmp.9999999999.0", false},
    };
    for (const auto& c : cases)
        std::ofstream(dir / c.name) << "partial";
    fs::create_directories(dir / ("p.vtc.tmp." + dead + ".7")); // not a file: stays

    ASSERT_FALSE(vantor::replaceFile((dir / "p.vtc").string(), "new").has_value());
    EXPECT_EQ(read(dir / "p.vtc"), "new");
    for (const auto& c : cases)
        EXPECT_EQ(fs::exists(dir / c.name), !c.removed) << c.name;
    EXPECT_TRUE(fs::is_directory(dir / ("p.vtc.tmp." + dead + ".7")));
}

} // namespace
