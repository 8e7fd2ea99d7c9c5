#include "text/Shown.h"

#include "text/Numbers.h"

#include <atomic>
#include <cstdarg>
#include <cstring>
#include <regex>
#include <vector>

namespace vantor::text {

namespace {

std::atomic<Translator> installed{nullptr};
thread_local int asWritten = 0;

// A printf conversion at fmt[i] ('%' there): its length, and whether it
// takes a number; 0 for "%%".
struct Conversion {
    std::size_t length;
    bool number;
};
Conversion conversionAt(const char* fmt, std::size_t i) {
    std::size_t j = i + 1;
    while (fmt[j] && std::strchr("-+ #0123456789.hljzt", fmt[j]))
        ++j;
    if (fmt[j] == '%' && j == i + 1)
        return {0, false};
    return {fmt[j] ? j - i + 1 : j - i, fmt[j] != 's' && fmt[j] != 'c'};
}

// The template as a pattern whose groups are its values.
std::regex patternOf(const char* fmt) {
    std::string pattern;
    for (std::size_t i = 0; fmt[i];) {
        if (fmt[i] == '%') {
            const Conversion c = conversionAt(fmt, i);
            if (c.length == 0) {
                pattern += "%";
                i += 2;
                continue;
            }
            pattern += c.number ? "(-?[0-9A-Fa-f.]+)" : "([\\s\\S]*?)";
            i += c.length;
        } else {
            if (std::strchr("\\^$.|?*+()[]{}", fmt[i]))
                pattern += '\\';
            pattern += fmt[i++];
        }
    }
    return std::regex(pattern);
}

// `fmt` with its conversions replaced, in order, by `values`.
std::string filled(const char* fmt, const std::vector<std::string>& values) {
    std::string out;
    std::size_t next = 0;
    for (std::size_t i = 0; fmt[i];) {
        if (fmt[i] != '%') {
            out += fmt[i++];
            continue;
        }
        const Conversion c = conversionAt(fmt, i);
        if (c.length == 0) {
            out += '%';
            i += 2;
            continue;
        }
        out += next < values.size() ? values[next++] : std::string();
        i += c.length;
    }
    return out;
}

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

std::string shownComposed(const std::string& written, std::span<const char* const> templates) {
    if (!translating())
        return written;
    for (const char* fmt : templates) {
        std::smatch match;
        if (!std::regex_match(written, match, patternOf(fmt)))
            continue;
        std::vector<std::string> values;
        for (std::size_t g = 1; g < match.size(); ++g)
            values.push_back(shown(match[g].str()));
        return filled(shown(fmt).c_str(), values);
    }
    return shown(written);
}

} // namespace vantor::text
