// Any bytes as an animated picture: the block walker and the frame splitter.
// Every frame must come out as a GIF of its own (the original header and
// colour table, then its blocks, then the trailer), and no block may be
// measured past the data.
#include "picture/GifSplitter.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

using namespace vantor::picture;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A copy of exactly the input's size, so reading one byte too far is seen.
    const GifBytes bytes(data, data + size);
    const GifView view(bytes);

    // Walk the blocks from every position a caller could name.
    for (std::size_t pos = 0; pos <= std::min<std::size_t>(size, 64); ++pos) {
        if (auto n = gifBlockLength(view, pos)) {
            if (*n == 0 || pos + *n > size)
                __builtin_trap();
        }
    }
    auto animation = splitGif(view);
    if (!animation)
        return 0;
    if (!hasGifSignature(view) || size < kGifHeaderSize || animation->frames.empty())
        __builtin_trap();
    for (const GifFrame& f : animation->frames) {
        if (f.gif.size() < kGifHeaderSize + 1 || f.gif.back() != kGifTrailer ||
            !std::equal(f.gif.begin(), f.gif.begin() + kGifHeaderSize, bytes.begin()) || f.disposal < 0 ||
            f.disposal > 7 || f.delay < -1 || f.width < 0 || f.height < 0)
            __builtin_trap();
        (void)frameWaitMs(f.delay);
    }
    return 0;
}
