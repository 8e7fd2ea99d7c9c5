#include "picture/GifSplitter.h"

namespace vantor::picture {

namespace {

constexpr uint8_t kExtension = 0x21; // '!'
constexpr uint8_t kImage = 0x2C;     // ','
constexpr uint8_t kPlainText = 0x01;
constexpr uint8_t kGraphicControl = 0xF9;
constexpr uint8_t kComment = 0xFE;
constexpr uint8_t kApplication = 0xFF;
constexpr std::size_t kGraphicControlSize = 8;
constexpr std::size_t kImageFixedSize = 11; // descriptor (10) + LZW code size (1)

int u16(GifView d, std::size_t pos) {
    return d[pos] | (d[pos + 1] << 8);
}

// Colour table size for a packed byte whose bit 7 says a table follows.
std::size_t colourTableSize(uint8_t packed) {
    if (!(packed & 0x80))
        return 0;
    return 3u * (std::size_t{1} << ((packed & 7) + 1));
}

// End of the sub-block chain starting at `pos` (just past its zero length
// byte), or nothing when the chain runs past the data.
std::optional<std::size_t> chainEnd(GifView d, std::size_t pos) {
    for (;;) {
        if (pos >= d.size())
            return std::nullopt;
        const std::size_t n = d[pos++];
        if (n == 0)
            return pos;
        pos += n;
        if (pos > d.size())
            return std::nullopt;
    }
}

} // namespace

bool hasGifSignature(GifView data) {
    return data.size() >= 3 && data[0] == 'G' && data[1] == 'I' && data[2] == 'F';
}

std::optional<std::size_t> gifBlockLength(GifView d, std::size_t pos) {
    if (pos >= d.size())
        return std::nullopt;
    const uint8_t b = d[pos];
    if (b == kGifTrailer)
        return 1;
    if (b == kExtension) {
        if (pos + 1 >= d.size())
            return std::nullopt;
        std::size_t fixed = 0;
        switch (d[pos + 1]) {
        case kGraphicControl:
            if (pos + kGraphicControlSize > d.size())
                return std::nullopt;
            return kGraphicControlSize;
        case kPlainText:
            fixed = 15;
            break;
        case kApplication:
            fixed = 14;
            break;
        case kComment:
            fixed = 2;
            break;
        default:
            return std::nullopt;
        }
        auto end = chainEnd(d, pos + fixed);
        if (!end)
            return std::nullopt;
        return *end - pos;
    }
    if (b == kImage) {
        if (pos + kImageFixedSize > d.size())
            return std::nullopt;
        const std::size_t lct = colourTableSize(d[pos + 9]);
        auto end = chainEnd(d, pos + kImageFixedSize + lct);
        if (!end)
            return std::nullopt;
        return *end - pos;
    }
    return std::nullopt;
}

std::optional<GifAnimation> splitGif(GifView d) {
    if (!hasGifSignature(d) || d.size() < kGifHeaderSize)
        return std::nullopt;
    GifAnimation out;
    out.width = u16(d, 6);
    out.height = u16(d, 8);
    const uint8_t packed = d[10];
    const std::size_t gct = colourTableSize(packed);
    const std::size_t prefix = kGifHeaderSize + gct;
    if (prefix > d.size())
        return std::nullopt;
    if (gct) {
        // An index beyond the table names no colour; the table is never
        // read past its end.
        const std::size_t entry = kGifHeaderSize + 3u * d[11];
        if (entry + 3 <= prefix)
            out.background = (uint32_t{d[entry]} << 16) | (uint32_t{d[entry + 1]} << 8) | d[entry + 2];
    }

    std::optional<std::size_t> gceStart;
    int delay = -1;
    int disposal = 0;
    std::size_t pos = prefix;
    while (pos < d.size()) {
        auto len = gifBlockLength(d, pos);
        if (!len || d[pos] == kGifTrailer)
            break;
        if (d[pos] == kExtension && d[pos + 1] == kGraphicControl) {
            gceStart = pos;
            delay = u16(d, pos + 4);
            disposal = (d[pos + 3] >> 2) & 7;
        } else if (d[pos] == kImage) {
            GifFrame f;
            const std::size_t start = gceStart.value_or(pos);
            const std::size_t end = pos + *len;
            f.gif.reserve(prefix + (end - start) + 1);
            f.gif.assign(d.begin(), d.begin() + static_cast<std::ptrdiff_t>(prefix));
            f.gif.insert(f.gif.end(), d.begin() + static_cast<std::ptrdiff_t>(start),
                         d.begin() + static_cast<std::ptrdiff_t>(end));
            f.gif.push_back(kGifTrailer);
            f.delay = gceStart ? delay : -1;
            f.disposal = gceStart ? disposal : 0;
            f.left = u16(d, pos + 1);
            f.top = u16(d, pos + 3);
            f.width = u16(d, pos + 5);
            f.height = u16(d, pos + 7);
            out.frames.push_back(std::move(f));
            gceStart.reset();
            delay = -1;
            disposal = 0;
        }
        pos += *len;
    }
    if (out.frames.empty())
        return std::nullopt;
    return out;
}

} // namespace vantor::picture
