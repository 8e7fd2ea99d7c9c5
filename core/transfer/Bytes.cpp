#include "transfer/Bytes.h"

#include "text/Numbers.h"

namespace vantor::transfer {

namespace {
constexpr char kDigits[] = "0123456789abcdef";
} // namespace

std::string toHex(ByteView bytes) {
    std::string s;
    s.reserve(bytes.size() * 2);
    for (uint8_t b : bytes) {
        s.push_back(kDigits[b >> 4]);
        s.push_back(kDigits[b & 0xF]);
    }
    return s;
}

std::string toSpacedHex(ByteView bytes) {
    std::string s;
    s.reserve(bytes.size() * 3);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i)
            s.push_back(' ');
        s.push_back(kDigits[bytes[i] >> 4]);
        s.push_back(kDigits[bytes[i] & 0xF]);
    }
    return s;
}

std::optional<Bytes> fromHex(std::string_view text) {
    Bytes out;
    int high = -1;
    for (char c : text) {
        if (c == ' ' || c == '\n' || c == '\r' || c == '\t')
            continue;
        int n = text::hexDigitValue(c);
        if (n < 0)
            return std::nullopt;
        if (high < 0) {
            high = n;
        } else {
            out.push_back(static_cast<uint8_t>(high << 4 | n));
            high = -1;
        }
    }
    if (high >= 0)
        return std::nullopt;
    return out;
}

} // namespace vantor::transfer
