#pragma once
// The language the window programs speak: Chinese (the texts as written, the
// default) or English (Qt Linguist catalogues built from translations/).
#include "common/LanguageChoice.h"

#include <QString>

#include <optional>

class QCoreApplication;
class QMenu;
class QWidget;

namespace vantor::gui {

using common::Language;

// "--lang en|zh" (or "--lang=en|zh") taken out of argv, so the program sees
// its own arguments as before. `exitStatus` is set (2, after a line on
// stderr) when the value names no language or is missing.
struct LanguageOption {
    std::optional<Language> language;
    std::optional<int> exitStatus;
};
LanguageOption takeLanguageOption(int& argc, char** argv);

// Before the first window: chooses the language (--lang, else the choice
// stored by the language menu, else the locale) and installs it with the
// catalogues found among the data files (translations/). Returns the
// language in use: Chinese when an English catalogue is missing.
Language startInLanguage(QCoreApplication& app, std::optional<Language> option, const QString& program);

// Installs `language`: for Chinese Qt's own catalogue (standard buttons and
// dialogs); for English the catalogues core_en, gui_en and <program>_en from
// `directory`, and the core's translator. False when a catalogue is missing.
bool installLanguage(QCoreApplication& app, Language language, const QString& program,
                     const QString& directory);

// The language installed last (Chinese before any).
Language currentLanguage();

// A shipped page in the language in use: "Help/index.html" becomes
// "Help/index_en.html" in English when that page exists.
QString pageInLanguage(const QString& relative);

// The 语言 / Language menu (for a menu bar or a button): 中文 and English,
// the one in use checked. Choosing one stores it for every program of the
// suite and says that it takes effect at the next start.
QMenu* makeLanguageMenu(QWidget* parent);

} // namespace vantor::gui
