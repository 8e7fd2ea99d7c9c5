// The GIF frame splitter on GIFs built here block by block: frame counts,
// delays, disposal, offsets, the cut-out single-frame GIFs, extensions that
// are skipped, and data cut short at every length.
#include "picture/GifSplitter.h"

#include <gtest/gtest.h>

#include <string>

using namespace vantor::picture;

namespace {

class GifBuilder {
public:
    // `tableBits`: 0 for no global table, else the table holds 2^tableBits
    // colours (entry i = (i, 2i, 3i)).
    GifBuilder(int width, int height, int tableBits = 1, uint8_t backgroundIndex = 0) {
        for (char c : std::string("GIF89a"))
            b_.push_back(static_cast<uint8_t>(c));
        u16(width);
        u16(height);
        b_.push_back(tableBits ? static_cast<uint8_t>(0x80 | (tableBits - 1)) : 0);
        b_.push_back(backgroundIndex);
        b_.push_back(0);
        for (int i = 0; tableBits && i < (1 << tableBits); ++i) {
            b_.push_back(static_cast<uint8_t>(i));
            b_.push_back(static_cast<uint8_t>(2 * i));
            b_.push_back(static_cast<uint8_t>(3 * i));
        }
    }
    GifBuilder& control(int delay, int disposal) {
        b_.insert(b_.end(), {0x21, 0xF9, 0x04, static_cast<uint8_t>(disposal << 2)});
        u16(delay);
        b_.insert(b_.end(), {0x00, 0x00});
        return *this;
    }
    GifBuilder& image(int left, int top, int w, int h, int localBits = 0, std::size_t dataBytes = 3) {
        b_.push_back(0x2C);
        u16(left);
        u16(top);
        u16(w);
        u16(h);
        b_.push_back(localBits ? static_cast<uint8_t>(0x80 | (localBits - 1)) : 0);
        for (int i = 0; localBits && i < 3 * (1 << localBits); ++i)
            b_.push_back(0x11);
        b_.push_back(2); // LZW minimum code size
        subBlocks(dataBytes);
        return *this;
    }
    GifBuilder& comment(std::size_t bytes) {
        b_.insert(b_.end(), {0x21, 0xFE});
        subBlocks(bytes);
        return *this;
    }
    GifBuilder& application() {
        b_.insert(b_.end(), {0x21, 0xFF, 0x0B});
        for (char c : std::string("NETSCAPE2.0"))
            b_.push_back(static_cast<uint8_t>(c));
        b_.insert(b_.end(), {0x03, 0x01, 0x00, 0x00, 0x00});
        return *this;
    }
    GifBuilder& plainText() {
        b_.insert(b_.end(), {0x21, 0x01, 0x0C});
        b_.insert(b_.end(), 12, 0x00);
        subBlocks(4);
        return *this;
    }
    GifBuilder& raw(uint8_t v) {
        b_.push_back(v);
        return *this;
    }
    GifBuilder& trailer() { return raw(0x3B); }
    const GifBytes& bytes() const { return b_; }
    std::size_t size() const { return b_.size(); }

private:
    void u16(int v) {
        b_.push_back(static_cast<uint8_t>(v & 0xFF));
        b_.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
    }
    // Data split into sub-blocks of at most 255 bytes, then the terminator.
    void subBlocks(std::size_t n) {
        uint8_t fill = 1;
        while (n > 0) {
            std::size_t chunk = n > 255 ? 255 : n;
            b_.push_back(static_cast<uint8_t>(chunk));
            for (std::size_t i = 0; i < chunk; ++i)
                b_.push_back(fill++);
            n -= chunk;
        }
        b_.push_back(0);
    }
    GifBytes b_;
};

TEST(GifSplitter, HeaderAndBackground) {
    struct Case {
        int tableBits;
        uint8_t index;
        std::optional<uint32_t> background;
    } cases[] = {
        {1, 1, 0x010203},     // entry 1 of a two-colour table
        {3, 7, 0x070E15},     // last entry of an eight-colour table
        {1, 2, std::nullopt}, // index past a two-colour table
        {0, 0, std::nullopt}, // no global table
        {8, 255, 0xFFFEFD},   // last entry of a full table
    };
    for (const auto& c : cases) {
        GifBuilder g(40, 30, c.tableBits, c.index);
        g.image(0, 0, 40, 30).trailer();
        auto a = splitGif(g.bytes());
        ASSERT_TRUE(a) << c.tableBits;
        EXPECT_EQ(a->width, 40);
        EXPECT_EQ(a->height, 30);
        EXPECT_EQ(a->background, c.background) << c.tableBits << " " << int(c.index);
    }
}

TEST(GifSplitter, FramesCarryDelayDisposalAndPlace) {
    GifBuilder g(64, 48);
    g.application()
        .control(0, 0)
        .image(0, 0, 64, 48)
        .comment(300)
        .control(4, 2)
        .image(8, 4, 16, 12, 2, 600)
        .control(5, 3)
        .plainText()
        .image(1, 2, 3, 4)
        .image(10, 20, 30, 28) // no control extension of its own
        .trailer();
    auto a = splitGif(g.bytes());
    ASSERT_TRUE(a);
    ASSERT_EQ(a->frames.size(), 4u);
    struct Want {
        int delay, disposal, left, top, width, height, wait;
    } want[] = {{0, 0, 0, 0, 64, 48, 100},
                {4, 2, 8, 4, 16, 12, 100},
                {5, 3, 1, 2, 3, 4, 50},
                {-1, 0, 10, 20, 30, 28, 100}};
    for (std::size_t i = 0; i < 4; ++i) {
        const auto& f = a->frames[i];
        EXPECT_EQ(f.delay, want[i].delay) << i;
        EXPECT_EQ(f.disposal, want[i].disposal) << i;
        EXPECT_EQ(f.left, want[i].left) << i;
        EXPECT_EQ(f.top, want[i].top) << i;
        EXPECT_EQ(f.width, want[i].width) << i;
        EXPECT_EQ(f.height, want[i].height) << i;
        EXPECT_EQ(frameWaitMs(f.delay), want[i].wait) << i;
    }
}

TEST(GifSplitter, EachFrameIsAGifOfItsOwn) {
    GifBuilder g(20, 10, 2);
    g.control(7, 2).image(0, 0, 20, 10, 0, 40).control(9, 3).image(5, 5, 4, 4, 1, 300).trailer();
    const GifBytes& all = g.bytes();
    auto a = splitGif(all);
    ASSERT_TRUE(a);
    ASSERT_EQ(a->frames.size(), 2u);
    const std::size_t prefix = 13 + 3 * 4;
    for (const auto& f : a->frames) {
        ASSERT_GT(f.gif.size(), prefix + 1);
        // Same header and global table as the whole.
        EXPECT_TRUE(std::equal(all.begin(), all.begin() + prefix, f.gif.begin()));
        EXPECT_EQ(f.gif.back(), kGifTrailer);
        // The cut-out walks as exactly one control extension and one image.
        auto again = splitGif(f.gif);
        ASSERT_TRUE(again);
        ASSERT_EQ(again->frames.size(), 1u);
        EXPECT_EQ(again->frames[0].gif, f.gif);
        EXPECT_EQ(again->frames[0].delay, f.delay);
        EXPECT_EQ(again->frames[0].disposal, f.disposal);
    }
    // Frame 1 holds its 8-byte control extension and the image with its
    // 6-byte local table and 300 data bytes in two sub-blocks.
    EXPECT_EQ(a->frames[1].gif.size(), prefix + 8 + (11 + 6 + 1 + 255 + 1 + 45 + 1) + 1);
}

TEST(GifSplitter, SingleFrame) {
    GifBuilder g(16, 16);
    g.control(10, 1).image(0, 0, 16, 16).trailer();
    auto a = splitGif(g.bytes());
    ASSERT_TRUE(a);
    ASSERT_EQ(a->frames.size(), 1u);
    EXPECT_EQ(a->frames[0].gif, g.bytes());
}

TEST(GifSplitter, RefusedData) {
    const GifBytes png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 0, 0, 0};
    EXPECT_FALSE(hasGifSignature(png));
    EXPECT_FALSE(splitGif(png));
    EXPECT_FALSE(splitGif(GifView{}));
    EXPECT_TRUE(hasGifSignature(GifBytes{'G', 'I', 'F'}));
    EXPECT_FALSE(splitGif(GifBytes{'G', 'I', 'F'}));
    // A header and table but no image at all.
    GifBuilder noImage(8, 8);
    noImage.comment(5).trailer();
    EXPECT_FALSE(splitGif(noImage.bytes()));
    // An unknown extension label ends the walk before the image.
    GifBuilder unknown(8, 8);
    unknown.raw(0x21).raw(0x42).raw(0).image(0, 0, 8, 8).trailer();
    EXPECT_FALSE(splitGif(unknown.bytes()));
    // An unknown block byte after the first image ends the walk there.
    GifBuilder stray(8, 8);
    stray.image(0, 0, 8, 8).raw(0x00).image(0, 0, 8, 8).trailer();
    auto a = splitGif(stray.bytes());
    ASSERT_TRUE(a);
    EXPECT_EQ(a->frames.size(), 1u);
}

// Every prefix of a three-frame GIF: never more frames than wholly present,
// every frame's cut-out lies inside the data, and the count only grows.
TEST(GifSplitter, TruncatedAtEveryLength) {
    GifBuilder g(32, 32, 4);
    g.application().control(3, 2).image(0, 0, 32, 32, 0, 100).control(6, 3).image(4, 4, 8, 8, 3, 270);
    const std::size_t afterSecond = g.size();
    g.comment(10).control(8, 0).image(2, 2, 2, 2).trailer();
    const GifBytes& all = g.bytes();
    std::size_t lastCount = 0;
    for (std::size_t n = 0; n <= all.size(); ++n) {
        // A copy of exactly n bytes, so a read past it is caught by the
        // sanitizer build.
        GifBytes cut(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(n));
        auto a = splitGif(cut);
        std::size_t count = a ? a->frames.size() : 0;
        EXPECT_GE(count, lastCount) << n;
        EXPECT_LE(count, 3u);
        if (n < afterSecond) {
            EXPECT_LE(count, 1u) << n;
        } else {
            EXPECT_GE(count, 2u) << n;
        }
        lastCount = count;
    }
    EXPECT_EQ(lastCount, 3u);
}

TEST(GifSplitter, BlockLengths) {
    GifBuilder g(4, 4, 0);
    g.control(1, 1);
    const std::size_t app = g.size();
    g.application();
    const std::size_t img = g.size();
    g.image(0, 0, 4, 4, 1, 5);
    const std::size_t end = g.size();
    g.trailer();
    EXPECT_EQ(gifBlockLength(g.bytes(), 13), 8u);
    EXPECT_EQ(gifBlockLength(g.bytes(), app), 14u + 5u);
    EXPECT_EQ(gifBlockLength(g.bytes(), img), 11u + 6u + 7u);
    EXPECT_EQ(gifBlockLength(g.bytes(), end), 1u);
    EXPECT_FALSE(gifBlockLength(g.bytes(), end + 1));
    EXPECT_FALSE(gifBlockLength(g.bytes(), 0)); // 'G' starts no block
}

} // namespace
