#include "text/Shown.h"

#include "text/Numbers.h"

#include <atomic>
#include <cstdarg>

namespace vantor::text {

namespace {

std::atomic<Translator> installed{nullptr};

} // namespace

void installTranslator(Translator translator) {
    installed.store(translator);
}

std::string shown(const std::string& text) {
    const Translator translator = installed.load();
    return translator && !text.empty() ? translator(text.c_str()) : text;
}

std::string shownFormat(const char* fmt, ...) {
    const std::string translated = shown(fmt);
    va_list args;
    va_start(args, fmt);
    std::string out = formatList(translated.c_str(), args);
    va_end(args);
    return out;
}

} // namespace vantor::text
