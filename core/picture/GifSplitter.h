#pragma once
// The GIF block walker and frame splitter behind the animated picture.
//
// An animated GIF is cut into single-frame GIFs that any still-picture
// decoder understands: each one is the 13-byte header and the global colour
// table, then the frame's blocks (its graphic control extension, if any,
// through the end of its image data), then the trailer ';'. Each frame keeps
// its delay and disposal method from the graphic control extension that
// precedes it, and its place in the logical screen from its image
// descriptor. The walk never reads past the data: a block that would run
// past the end, or an unknown byte, ends it.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace vantor::picture {

using GifBytes = std::vector<uint8_t>;
using GifView = std::span<const uint8_t>;

inline constexpr std::size_t kGifHeaderSize = 13;
inline constexpr uint8_t kGifTrailer = 0x3B;

struct GifFrame {
    GifBytes gif;     // the frame as a GIF of its own
    int delay = -1;   // hundredths of a second; -1 without a graphic control extension
    int disposal = 0; // 0..7; 2 restores the background, 3 the previous picture
    int left = 0, top = 0, width = 0, height = 0;
};

struct GifAnimation {
    int width = 0; // logical screen
    int height = 0;
    // 0xRRGGBB of the global colour table entry named by the background
    // index; nothing without a global table (or an index outside it).
    std::optional<uint32_t> background;
    std::vector<GifFrame> frames;
};

// The three bytes "GIF" (the version that follows is not examined).
bool hasGifSignature(GifView data);

// Byte length of the block starting at `pos` (extension, image or trailer),
// or nothing when the byte there starts no known block or the block runs
// past the end of the data.
std::optional<std::size_t> gifBlockLength(GifView data, std::size_t pos);

// Splits a GIF into frames. Nothing when the data is not a GIF, its header
// or global colour table is cut short, or no whole frame was found.
std::optional<GifAnimation> splitGif(GifView data);

// How long a frame stays: its delay in ms when above 4 hundredths, else
// 100 ms.
inline int frameWaitMs(int delay) {
    return delay > 4 ? delay * 10 : 100;
}

} // namespace vantor::picture
