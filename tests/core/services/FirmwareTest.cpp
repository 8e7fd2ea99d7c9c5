#include "../transfer/ExchangeHarness.h"
#include "services/FirmwareExchange.h"
#include "transfer/CommandFrame.h"

#include <gtest/gtest.h>

#include <fstream>

#include <unistd.h>

namespace vantor::services {
namespace {

using transfer::Bytes;
using transfer::testing::ExchangeHarness;

Bytes fileOf(std::size_t size) {
    Bytes b(size);
    for (std::size_t i = 0; i < size; ++i)
        b[i] = static_cast<uint8_t>(i * 7 + 1);
    return b;
}

Bytes identity(uint8_t code) {
    Bytes r = transfer::commandFrame(1, 52);
    r.resize(61, 0);
    r[12] = code;
    r[13] = 0x34;
    r[14] = 0x58;
    r[15] = 0x06;
    return r;
}

Bytes blockReply(uint8_t result = 0) {
    Bytes r = transfer::commandFrame(3, 4);
    r.push_back(result);
    r.resize(12, 0);
    return r;
}

uint32_t le32(const Bytes& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

struct Update {
    Update(std::optional<Bytes> file, const std::string& model = "KX-P4R0-1.0")
        : ex(model, std::move(file), FirmwareSettings{"192.168.1.15", 5032, std::nullopt}), h(ex) {
        h.start();
        h.connect();
    }
    // Acknowledges every block until the exchange ends; returns the frames
    // sent after the identification.
    std::vector<Bytes> run() {
        h.reply(identity(0x75));
        // Bounded: an exchange that never finished would fail, not hang.
        for (int replies = 0; !h.finished && replies < 10000; ++replies)
            h.reply(blockReply());
        EXPECT_TRUE(h.finished) << "no end after 10000 acknowledged blocks";
        return {h.sent.begin() + 1, h.sent.end()};
    }
    FirmwareExchange ex;
    ExchangeHarness h;
};

TEST(FirmwareExchange, BlocksSequenceAndClosingFramePerFileSize) {
    struct Case {
        std::size_t fileSize;
        std::vector<std::size_t> blockData; // data bytes per block
        int range;
    } cases[] = {
        {512, {240, 240}, 2}, {32 + 250, {240, 10}, 1},         {32, {0}, 0},
        {33, {1}, 0},         {32 + 480 + 1, {240, 240, 1}, 2},
    };
    for (const auto& c : cases) {
        const Bytes file = fileOf(c.fileSize);
        Update u(file);
        const auto frames = u.run();
        ASSERT_EQ(frames.size(), c.blockData.size() + 1) << c.fileSize;
        std::size_t offset = 32;
        for (std::size_t k = 0; k < c.blockData.size(); ++k) {
            const Bytes& f = frames[k];
            EXPECT_EQ(f[0], 3);
            EXPECT_EQ(le32(f, 4), c.blockData[k] + 4) << c.fileSize << " block " << k;
            EXPECT_EQ(le32(f, 8), k);
            EXPECT_EQ(Bytes(f.begin() + 12, f.end()),
                      Bytes(file.begin() + static_cast<std::ptrdiff_t>(offset),
                            file.begin() + static_cast<std::ptrdiff_t>(offset + c.blockData[k])));
            offset += c.blockData[k];
        }
        const Bytes& closing = frames.back();
        EXPECT_EQ(le32(closing, 0), 3u);
        EXPECT_EQ(le32(closing, 4), 36u);
        EXPECT_EQ(le32(closing, 8), 0x80000000u | c.blockData.size()) << c.fileSize;
        EXPECT_EQ(Bytes(closing.begin() + 12, closing.end()), Bytes(file.begin(), file.begin() + 32));
        ASSERT_FALSE(u.h.progress.empty());
        EXPECT_EQ(u.h.progress.front(), (transfer::ProgressAction{0, c.range, 0}));
        EXPECT_EQ(u.h.progress.back(), (transfer::ProgressAction{0, c.range, c.range}));
        for (const auto& p : u.h.progress)
            EXPECT_LE(p.position, p.maximum);
        ASSERT_TRUE(u.h.finished);
        EXPECT_TRUE(u.h.finished->success);
        EXPECT_EQ(u.h.messages,
                  (std::vector<Message>{{MessageKind::Information, "信息",
                                         "固件升级完成\n将拨码开关BIT4置为OFF,并对设备重新上电"}}));
        EXPECT_FALSE(u.h.open);
    }
}

TEST(FirmwareExchange, EachRequestArmsTheSixtySecondTimer) {
    Update u(fileOf(512));
    EXPECT_EQ(u.h.sent[0], (Bytes{1, 0, 0, 0, 0, 0, 0, 0}));
    u.h.reply(identity(0x75));
    EXPECT_TRUE(u.ex.transferring());
    u.h.advance(59999);
    EXPECT_FALSE(u.h.finished);
    u.h.advance(1);
    ASSERT_TRUE(u.h.finished);
    EXPECT_EQ(u.h.messages, (std::vector<Message>{{MessageKind::Error, "错误", "主站网关响应超时\n"}}));
    EXPECT_FALSE(u.h.open);
    int replyTimers = 0;
    for (const auto& t : u.h.timerStarts) {
        if (t.id == kFirmwareReplyTimer) {
            EXPECT_EQ(t.ms, 60000);
            ++replyTimers;
        }
    }
    // Armed for the identification and for the first block.
    EXPECT_EQ(replyTimers, 2);
}

TEST(FirmwareExchange, RefusalsEndBeforeAnyBlock) {
    struct Case {
        const char* name;
        std::optional<Bytes> file;
        std::string model;
        Bytes identification;
        std::string message;
    } cases[] = {
        {"no file", std::nullopt, "KX-P4R0-1.0", identity(0x75), "固件输入错误,请确认文件是否存在"},
        {"31-byte file", fileOf(31), "KX-P4R0-1.0", identity(0x75), "固件文件不完整,长度不足32字节的文件头"},
        {"empty file", Bytes{}, "KX-P4R0-1.0", identity(0x75), "固件文件不完整,长度不足32字节的文件头"},
        {"wrong model", fileOf(512), "KX-P4R0-1.0", identity(0x73), "设备型号不匹配"},
        {"short identification", fileOf(512), "KX-P4R0-1.0", Bytes{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x75},
         "设备状态应答数据不完整"},
    };
    for (const auto& c : cases) {
        Update u(c.file, c.model);
        u.h.reply(c.identification);
        ASSERT_TRUE(u.h.finished) << c.name;
        EXPECT_FALSE(u.h.finished->success) << c.name;
        EXPECT_EQ(u.h.messageTexts(), std::vector<std::string>{c.message}) << c.name;
        EXPECT_EQ(u.h.sent.size(), 1u) << c.name;
        EXPECT_FALSE(u.h.open) << c.name;
    }
}

TEST(FirmwareExchange, ResultCodesAndOddReplies) {
    {
        Update u(fileOf(512));
        u.h.reply(identity(0x75));
        u.h.reply(blockReply(5));
        ASSERT_TRUE(u.h.finished);
        EXPECT_EQ(u.h.messageTexts(),
                  std::vector<std::string>{"固件升级失败,错误码5\n请确认拨码开关BIT4为ON"});
        EXPECT_EQ(u.h.sent.size(), 2u);
    }
    {
        // A failing verdict on the closing frame is a failure too.
        Update u(fileOf(40));
        u.h.reply(identity(0x75));
        u.h.reply(blockReply());
        u.h.reply(blockReply(200));
        EXPECT_EQ(u.h.messageTexts(),
                  std::vector<std::string>{"固件升级失败,错误码200\n请确认拨码开关BIT4为ON"});
    }
    {
        Update u(fileOf(512));
        u.h.reply(identity(0x75));
        u.h.reply(Bytes{1, 0, 0, 0}); // not a block reply: still waiting
        EXPECT_FALSE(u.h.finished);
        EXPECT_EQ(u.h.sent.size(), 2u);
        u.h.reply(Bytes{3, 0, 0, 0, 4, 0, 0, 0}); // no result byte
        EXPECT_EQ(u.h.messageTexts(), std::vector<std::string>{"固件升级应答数据不完整"});
    }
}

TEST(FirmwareFiles, ListsBinFilesNamedForTheModel) {
    const auto dir = std::filesystem::temp_directory_path() / ("vantor_fw_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir / "KX-P4R0-1.0-sub.bin");
    for (const char* name : {"KX-P4R0-1.0_v2.bin", "KX-P4R0-1.0.BIN", "kx-p4r0-1.0_v3.bin", "KX-P4R0-1.0.txt",
                             "KX-P6R0-1.0.bin", "KX-P4R0-1.bin", "KX-P4R0-1.0_a.bin"})
        std::ofstream(dir / name) << "x";
    EXPECT_EQ(firmwareFiles(dir, "KX-P4R0-1.0"),
              (std::vector<std::string>{"KX-P4R0-1.0.BIN", "KX-P4R0-1.0_a.bin", "KX-P4R0-1.0_v2.bin"}));
    EXPECT_TRUE(firmwareFiles(dir, "KX-P2R0-1.0").empty());
    EXPECT_TRUE(firmwareFiles(dir / "missing", "KX-P4R0-1.0").empty());
    std::filesystem::remove_all(dir);
}

TEST(FirmwareFiles, WindowOpensForTheSixModels) {
    for (const char* m :
         {"LNK-P1-1.0", "KX-P1R0-1.0", "KX-P2R0-1.0", "KX-P4R0-1.0", "KX-P6R0-1.0", "KX-P1-1.0"})
        EXPECT_TRUE(firmwareUpdateOffered(m)) << m;
    for (const char* m : {"NXE-485-ZRTU2", "NXE-485-ZRTU2E", "TRX-H-QMB6", "TRC-H-ZRTU", ""})
        EXPECT_FALSE(firmwareUpdateOffered(m)) << m;
}

} // namespace
} // namespace vantor::services
