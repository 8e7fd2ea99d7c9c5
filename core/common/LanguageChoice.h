#pragma once
// Which language the window programs speak: Chinese (the default and the
// texts as written) or English.
#include <optional>
#include <string_view>

namespace vantor::common {

enum class Language { Chinese, English };

// "zh" or "en" (the --lang values and the stored choice); nothing else.
std::optional<Language> languageNamed(std::string_view code);
std::string_view languageCode(Language language);

// The locale's language as the C library reads it: the first non-empty of
// LC_ALL, LC_MESSAGES and LANG; English when that starts with "en",
// Chinese otherwise (also when none is set).
Language languageOfLocale(std::string_view lcAll, std::string_view lcMessages, std::string_view lang);

// --lang wins over the choice stored from the menu, which wins over the
// locale. A stored code that names no language counts as none.
Language chooseLanguage(std::optional<Language> option, std::string_view stored, Language locale);

} // namespace vantor::common
