#include "text/Gbk.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <memory>
#include <vector>

namespace vantor::text {
namespace {

struct IconvCloser {
    void operator()(void* cd) const { iconv_close(static_cast<iconv_t>(cd)); }
};

// Converts with iconv. On an unconvertible or invalid sequence either gives up
// (replacement empty) or writes the replacement and skips `skip` input bytes
// (the length of the offending sequence as the source encoding counts it).
// One converter per direction and thread, opened on first use: a project
// file converts a text per name and comment, and opening a converter costs
// more than converting a short text.
iconv_t converter(const char* to, const char* from) {
    struct Cached {
        const char* to;
        const char* from;
        std::unique_ptr<void, IconvCloser> cd;
    };
    thread_local std::vector<Cached> cache;
    for (const auto& c : cache)
        if (std::strcmp(c.to, to) == 0 && std::strcmp(c.from, from) == 0)
            return c.cd.get();
    iconv_t raw = iconv_open(to, from);
    if (raw == reinterpret_cast<iconv_t>(-1))
        return raw;
    cache.push_back({to, from, std::unique_ptr<void, IconvCloser>(raw)});
    return raw;
}

std::optional<std::string> convert(const char* to, const char* from, std::string_view in,
                                   const char* replacement, std::size_t (*skip)(std::string_view)) {
    iconv_t raw = converter(to, from);
    if (raw == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    // Back to the initial state whatever an earlier conversion left.
    iconv(raw, nullptr, nullptr, nullptr, nullptr);
    std::string out;
    out.reserve(in.size() * 3 / 2 + 4);
    char buffer[1024];
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        std::size_t r = iconv(raw, &inPtr, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        if (r != static_cast<std::size_t>(-1))
            continue;
        if (errno == E2BIG)
            continue;
        if (replacement == nullptr)
            return std::nullopt;
        out += replacement;
        std::size_t n = skip(std::string_view(inPtr, inLeft));
        inPtr += n;
        inLeft -= n;
    }
    return out;
}

std::size_t utf8SequenceLength(std::string_view s) {
    unsigned char c = static_cast<unsigned char>(s[0]);
    std::size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 1;
    if (n > s.size())
        return s.size();
    for (std::size_t i = 1; i < n; ++i)
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80)
            return i;
    return n;
}

std::size_t gbkSequenceLength(std::string_view s) {
    unsigned char c = static_cast<unsigned char>(s[0]);
    return (c >= 0x81 && c <= 0xFE && s.size() >= 2) ? 2 : 1;
}

std::size_t utf16UnitLength(std::string_view s) {
    return s.size() >= 2 ? 2 : s.size();
}

} // namespace

std::optional<std::string> toGbk(std::string_view utf8) {
    return convert("GBK", "UTF-8", utf8, nullptr, nullptr);
}

std::string fromGbk(std::string_view gbk) {
    return *convert("UTF-8", "GBK", gbk, "\xEF\xBF\xBD", gbkSequenceLength);
}

std::string toGbkLossy(std::string_view utf8) {
    return *convert("GBK", "UTF-8", utf8, "?", utf8SequenceLength);
}

std::string utf16leToGbk(std::string_view bytes) {
    return *convert("GBK", "UTF-16LE", bytes, "?", utf16UnitLength);
}

std::optional<std::size_t> gbkLength(std::string_view utf8) {
    auto g = toGbk(utf8);
    if (!g)
        return std::nullopt;
    return g->size();
}

std::string codePointToGbk(unsigned long cp) {
    if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return "?";
    std::string u;
    if (cp < 0x80) {
        u += static_cast<char>(cp);
    } else if (cp < 0x800) {
        u += static_cast<char>(0xC0 | (cp >> 6));
        u += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        u += static_cast<char>(0xE0 | (cp >> 12));
        u += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        u += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        u += static_cast<char>(0xF0 | (cp >> 18));
        u += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        u += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        u += static_cast<char>(0x80 | (cp & 0x3F));
    }
    auto g = toGbk(u);
    return g ? *g : "?";
}

namespace {
bool isAscii(std::string_view s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

} // namespace

std::string toFileText(std::string_view utf8) {
    return isAscii(utf8) ? std::string(utf8) : text::toGbkLossy(utf8);
}
std::string fromFileText(std::string_view gbk) {
    return isAscii(gbk) ? std::string(gbk) : text::fromGbk(gbk);
}

} // namespace vantor::text
