#include "common/InfoOptions.h"

#include <gtest/gtest.h>

#include <sstream>

using vantor::common::answerInfoOptions;

TEST(InfoOptions, AnswersOnlyALoneVersionOrHelp) {
    const std::string version = std::string("vantor-x ") + vantor::common::suiteVersion() + "\n";
    struct Case {
        std::vector<std::string> args;
        std::optional<int> status;
        std::string printed;
    } cases[] = {
        {{"--version"}, 0, version},
        {{"--help"}, 0, "HELP TEXT\n"},
        {{}, std::nullopt, ""},
        {{"demo.vtc"}, std::nullopt, ""},
        // A value after --version is something else (the simulator's fault
        // switch takes one), as is anything with more arguments.
        {{"--version", "1,1"}, std::nullopt, ""},
        {{"--model", "X", "--version", "1,2"}, std::nullopt, ""},
        {{"--help", "show"}, std::nullopt, ""},
        {{"-version"}, std::nullopt, ""},
    };
    for (const auto& c : cases) {
        std::ostringstream out;
        EXPECT_EQ(answerInfoOptions(c.args, "vantor-x", "HELP TEXT\n", out), c.status)
            << ::testing::PrintToString(c.args);
        EXPECT_EQ(out.str(), c.printed) << ::testing::PrintToString(c.args);
    }
}

TEST(InfoOptions, VersionIsTheProjectRelease) {
    // Three dot-separated numbers, as the project() call gives them.
    const std::string v = vantor::common::suiteVersion();
    int dots = 0;
    for (char ch : v) {
        dots += ch == '.';
        EXPECT_TRUE(ch == '.' || (ch >= '0' && ch <= '9')) << v;
    }
    EXPECT_EQ(dots, 2) << v;
}
