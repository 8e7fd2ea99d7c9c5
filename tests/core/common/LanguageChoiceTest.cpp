#include "common/LanguageChoice.h"

#include <gtest/gtest.h>

namespace vantor::common {
namespace {

constexpr auto zh = Language::Chinese;
constexpr auto en = Language::English;

TEST(LanguageChoiceTest, localeOptionAndStoredChoiceInTheirOrder) {
    struct Case {
        const char* lcAll;
        const char* lcMessages;
        const char* lang;
        std::optional<Language> option;
        const char* stored;
        Language expected;
    };
    const Case cases[] = {
        {"", "", "", std::nullopt, "", zh},            // nothing set: as today
        {"", "", "en_GB.UTF-8", std::nullopt, "", en}, // LANG
        {"", "", "zh_CN.UTF-8", std::nullopt, "", zh},
        {"", "", "de_DE.UTF-8", std::nullopt, "", zh}, // any other language: Chinese
        {"", "", "C", std::nullopt, "", zh},
        {"", "en_US.UTF-8", "zh_CN.UTF-8", std::nullopt, "", en}, // LC_MESSAGES over LANG
        {"zh_CN.UTF-8", "en_US.UTF-8", "", std::nullopt, "", zh}, // LC_ALL over both
        {"", "", "en_US.UTF-8", std::nullopt, "zh", zh},          // the menu's choice over the locale
        {"", "", "", std::nullopt, "en", en},
        {"", "", "en_US.UTF-8", std::nullopt, "fr", en}, // a stored code naming nothing
        {"", "", "", en, "zh", en},                      // --lang over everything
        {"en_US.UTF-8", "", "", zh, "en", zh},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.lcAll) + "|" + c.lcMessages + "|" + c.lang + "|" + c.stored);
        EXPECT_EQ(chooseLanguage(c.option, c.stored, languageOfLocale(c.lcAll, c.lcMessages, c.lang)),
                  c.expected);
    }
}

TEST(LanguageChoiceTest, codesRoundTripAndOnlyTwoAreKnown) {
    for (Language l : {zh, en})
        EXPECT_EQ(languageNamed(languageCode(l)), l);
    for (const char* unknown : {"", "EN", "en_US", "cn", "zh-CN"})
        EXPECT_FALSE(languageNamed(unknown)) << unknown;
}

} // namespace
} // namespace vantor::common
