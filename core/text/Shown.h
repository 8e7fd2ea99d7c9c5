#pragma once
// Texts the user reads in a window.
//
// Every text of the programs is written in Chinese, and Chinese stays the
// default. A window program running in another language installs a
// translator at start-up; the core's shown texts then pass through it. The
// command-line tools, the simulator and the tests install none, so their
// output, the files written and the bytes sent never change with the
// language.
//
// Marking (checked by scripts/translations.sh):
//   VT_TEXT("...")  a text shown in a window: extracted into the core's
//                   catalogue (translations/core_en.ts, keyed by the text
//                   itself) and looked up where it is shown;
//   VT_DATA("...")  a text that is never shown translated: file contents,
//                   sheet names, what the gateway receives, the tools' output.
// Both leave the literal exactly as written.
#include <span>
#include <string>

#define VT_TEXT(s) s
#define VT_DATA(s) s

namespace vantor::text {

// Answers the user's language for a text as written (UTF-8 in, UTF-8 out).
using Translator = std::string (*)(const char* text);

// Installed once by a window program before its first window; null removes
// it again (tests).
void installTranslator(Translator translator);

// `text` in the user's language: the catalogue's entry for it, else `text`
// itself (no translator, a user's own name, a text already translated).
std::string shown(const std::string& text);

// While one lives, shown() on this thread answers every text as written:
// for work whose texts are read by the program itself rather than by the
// user (a message matched against the Chinese it starts with).
class AsWritten {
public:
    AsWritten();
    ~AsWritten();
    AsWritten(const AsWritten&) = delete;
    AsWritten& operator=(const AsWritten&) = delete;
};

// Whether shown() would translate on this thread now.
bool translating();

// printf-style formatting of a marked template after translating it:
// shownFormat(VT_TEXT("从站数%d超过255"), n). A translation keeps the
// template's conversions in the same order (the catalogue check compares
// them).
std::string shownFormat(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// A text kept as written (for a file) shown in the user's language: when it
// was composed from one of `templates`, the template is recognised, its
// values taken out (each translated in turn, for a translated piece) and
// put into the translated template; any other text as shown() answers it.
std::string shownComposed(const std::string& written, std::span<const char* const> templates);

} // namespace vantor::text
