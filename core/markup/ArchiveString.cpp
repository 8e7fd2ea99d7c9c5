#include "markup/ArchiveString.h"

#include "common/WholeFile.h"
#include "markup/CXmlDoc.h"
#include "text/Gbk.h"
#include "text/Shown.h"

#include <cstdint>
#include <filesystem>

namespace vantor::markup {

namespace {

void putLittleEndian(std::string& out, uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

// Sequential little-endian reads that fail instead of running past the end.
class ByteReader {
public:
    explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}

    bool read(int width, uint64_t& v) {
        if (bytes_.size() - pos_ < static_cast<std::size_t>(width))
            return false;
        v = 0;
        for (int i = 0; i < width; ++i)
            v |= static_cast<uint64_t>(static_cast<uint8_t>(bytes_[pos_ + static_cast<std::size_t>(i)]))
                 << (8 * i);
        pos_ += static_cast<std::size_t>(width);
        return true;
    }
    std::size_t remaining() const { return bytes_.size() - pos_; }
    std::string_view take(std::size_t n) {
        auto s = bytes_.substr(pos_, n);
        pos_ += n;
        return s;
    }

private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
};

// One length prefix. When `wideAllowed`, the 16-bit value 0xFFFE is the
// marker of a wide string and the real length follows it.
bool readLength(ByteReader& r, bool wideAllowed, uint64_t& length, bool& wide) {
    uint64_t v = 0;
    if (!r.read(1, v))
        return false;
    if (v < 0xFF) {
        length = v;
        return true;
    }
    if (!r.read(2, v))
        return false;
    if (wideAllowed && v == 0xFFFE) {
        wide = true;
        return readLength(r, false, length, wide);
    }
    if (v < 0xFFFF) {
        length = v;
        return true;
    }
    if (!r.read(4, v))
        return false;
    if (v < 0xFFFFFFFFu) {
        length = v;
        return true;
    }
    return r.read(8, length);
}

} // namespace

std::string encodeArchiveString(std::string_view text) {
    const uint64_t n = text.size();
    std::string out;
    out.reserve(text.size() + 15);
    if (n < 0xFF) {
        putLittleEndian(out, n, 1);
    } else if (n < 0xFFFE) {
        putLittleEndian(out, 0xFF, 1);
        putLittleEndian(out, n, 2);
    } else if (n < 0xFFFFFFFFu) {
        putLittleEndian(out, 0xFF, 1);
        putLittleEndian(out, 0xFFFF, 2);
        putLittleEndian(out, n, 4);
    } else {
        putLittleEndian(out, 0xFF, 1);
        putLittleEndian(out, 0xFFFF, 2);
        putLittleEndian(out, 0xFFFFFFFFu, 4);
        putLittleEndian(out, n, 8);
    }
    out.append(text);
    return out;
}

std::optional<std::string> decodeArchiveString(std::string_view bytes) {
    ByteReader r(bytes);
    uint64_t length = 0;
    bool wide = false;
    if (!readLength(r, true, length, wide))
        return std::nullopt;
    // Compare in units so that a huge announced length cannot overflow.
    const std::size_t available = wide ? r.remaining() / 2 : r.remaining();
    if (length > available)
        return std::nullopt;
    if (!wide)
        return std::string(r.take(static_cast<std::size_t>(length)));
    return text::utf16leToGbk(r.take(static_cast<std::size_t>(length) * 2));
}

std::string cannotOpenText(const std::string& path) {
    return text::shownFormat(VT_TEXT("无法打开文件 %s"), path.c_str());
}

std::optional<std::string> readArchiveFile(const std::string& path, std::string* error) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (!ec && size > kMaxDocumentFileBytes) {
        if (error)
            *error = text::shownFormat(VT_TEXT("无法打开文件 %s: %s"), path.c_str(),
                                       text::shown(kDocumentTooLarge).c_str());
        return std::nullopt;
    }
    std::string bytes;
    if (!readWholeFile(path, bytes)) {
        if (error)
            *error = cannotOpenText(path);
        return std::nullopt;
    }
    auto text = decodeArchiveString(bytes);
    if (!text && error)
        *error = text::shownFormat(VT_TEXT("无法打开文件 %s: 文件已损坏或格式不正确"), path.c_str());
    return text;
}

} // namespace vantor::markup
