#pragma once
// Byte strings as they travel on the device link, and the little helpers
// every frame builder and reader uses. Reads never go past the bytes held.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vantor::transfer {

using Bytes = std::vector<uint8_t>;
using ByteView = std::span<const uint8_t>;

inline void putU8(Bytes& b, unsigned v) {
    b.push_back(static_cast<uint8_t>(v & 0xFF));
}
inline void putU16(Bytes& b, unsigned v) {
    putU8(b, v);
    putU8(b, v >> 8);
}
inline void putU32(Bytes& b, uint32_t v) {
    putU16(b, v & 0xFFFF);
    putU16(b, v >> 16);
}

// The byte at `offset`, or nothing when the frame is shorter.
inline std::optional<uint8_t> byteAt(ByteView frame, std::size_t offset) {
    if (offset >= frame.size())
        return std::nullopt;
    return frame[offset];
}

// Lowercase hex without separators ("0a0b"), as the CLI prints blocks.
std::string toHex(ByteView bytes);
// Lowercase hex with a blank between bytes ("0a 0b"), as the wire log shows frames.
std::string toSpacedHex(ByteView bytes);
// Inverse of toHex (blanks are skipped); nothing on a malformed text.
std::optional<Bytes> fromHex(std::string_view text);

inline Bytes bytesOf(std::string_view s) {
    return Bytes(s.begin(), s.end());
}

} // namespace vantor::transfer
