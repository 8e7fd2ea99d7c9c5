#include "common/LanguageChoice.h"

namespace vantor::common {

std::optional<Language> languageNamed(std::string_view code) {
    if (code == "zh")
        return Language::Chinese;
    if (code == "en")
        return Language::English;
    return std::nullopt;
}

std::string_view languageCode(Language language) {
    return language == Language::English ? "en" : "zh";
}

Language languageOfLocale(std::string_view lcAll, std::string_view lcMessages, std::string_view lang) {
    const std::string_view locale = !lcAll.empty() ? lcAll : !lcMessages.empty() ? lcMessages : lang;
    return locale.starts_with("en") ? Language::English : Language::Chinese;
}

Language chooseLanguage(std::optional<Language> option, std::string_view stored, Language locale) {
    if (option)
        return *option;
    if (auto remembered = languageNamed(stored))
        return *remembered;
    return locale;
}

} // namespace vantor::common
