#include "text/Shown.h"

#include <gtest/gtest.h>

#include <map>

namespace vantor::text {
namespace {

// A catalogue of two entries, one of them a template.
std::string english(const char* text) {
    static const std::map<std::string, std::string> catalogue = {
        {"请选择从站", "Select a slave"},
        {"从站数%d超过%s", "%d slaves are more than %s"},
    };
    auto it = catalogue.find(text);
    return it == catalogue.end() ? text : it->second;
}

struct ShownTest : ::testing::Test {
    void TearDown() override { installTranslator(nullptr); }
};

TEST_F(ShownTest, withoutATranslatorEveryTextStaysAsWritten) {
    EXPECT_EQ(shown(VT_TEXT("请选择从站")), "请选择从站");
    EXPECT_EQ(shownFormat(VT_TEXT("从站数%d超过%s"), 256, "255"), "从站数256超过255");
}

TEST_F(ShownTest, aTranslatorAnswersKnownTextsAndTemplatesAndLeavesTheRest) {
    installTranslator(english);
    EXPECT_EQ(shown("请选择从站"), "Select a slave");
    EXPECT_EQ(shownFormat(VT_TEXT("从站数%d超过%s"), 256, "255"), "256 slaves are more than 255");
    EXPECT_EQ(shown("PLC_1"), "PLC_1"); // a user's own name
    EXPECT_EQ(shown(""), "");
    EXPECT_EQ(shown(shown("请选择从站")), "Select a slave"); // translating twice is harmless
}

} // namespace
} // namespace vantor::text
