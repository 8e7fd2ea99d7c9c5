#include "text/Shown.h"

#include "text/Numbers.h"

#include <atomic>
#include <cstdarg>

namespace vantor::text {

namespace {

std::atomic<Translator> installed{nullptr};
thread_local int asWritten = 0;

} // namespace

void installTranslator(Translator translator) {
    installed.store(translator);
}

AsWritten::AsWritten() {
    ++asWritten;
}

AsWritten::~AsWritten() {
    --asWritten;
}

bool translating() {
    return installed.load() != nullptr && asWritten == 0;
}

std::string shown(const std::string& text) {
    return translating() && !text.empty() ? installed.load()(text.c_str()) : text;
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
