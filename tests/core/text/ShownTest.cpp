#include "text/Shown.h"

#include "FakeTranslator.h"

#include <gtest/gtest.h>

namespace vantor::text {
namespace {

// Texts, templates and a translated piece.
const vantor::testing::English kEnglish = {
    {"请选择从站", "Select a slave"},
    {"从站数%d超过%s", "%d slaves are more than %s"},
    {"下 载 失 败！%s", "Download failed:%s"},
    {" 应答超时", " no reply"},
    {"连接%s:%d失败", "cannot reach %s port %d"},
};

TEST(ShownTest, aTranslatorAnswersKnownTextsAndTemplatesAndLeavesTheRest) {
    const vantor::testing::FakeTranslator english(kEnglish);
    EXPECT_EQ(shown("请选择从站"), "Select a slave");
    EXPECT_EQ(shownFormat(VT_TEXT("从站数%d超过%s"), 256, "255"), "256 slaves are more than 255");
    EXPECT_EQ(shown("PLC_1"), "PLC_1"); // a user's own name
    EXPECT_EQ(shown(""), "");
    EXPECT_EQ(shown(shown("请选择从站")), "Select a slave"); // translating twice is harmless
}

// A text kept as written for a file, shown again: the template it was made
// from is found, and its values (a translated piece among them) go into the
// template's English.
TEST(ShownTest, aComposedTextKeptAsWrittenIsShownFromItsTemplate) {
    const char* const templates[] = {"从站数%d超过%s", "下 载 失 败！%s", "连接%s:%d失败"};
    const struct {
        const char* written;
        const char* inEnglish;
    } cases[] = {
        {"从站数256超过255", "256 slaves are more than 255"},
        {"下 载 失 败！ 应答超时", "Download failed: no reply"}, // the value itself translated
        {"连接10.0.0.1:502失败", "cannot reach 10.0.0.1 port 502"},
        {"从站数多超过255", "从站数多超过255"}, // no number where the template has one
        {"请选择从站", "Select a slave"},       // made from no template
        {"连接失败", "连接失败"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(shownComposed(c.written, templates), c.written) << "without a translator: " << c.written;
    const vantor::testing::FakeTranslator english(kEnglish);
    for (const auto& c : cases)
        EXPECT_EQ(shownComposed(c.written, templates), c.inEnglish) << c.written;
}

} // namespace
} // namespace vantor::text
