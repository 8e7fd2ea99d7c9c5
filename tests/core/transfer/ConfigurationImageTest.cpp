#include "transfer/ConfigurationImage.h"
#include "ProjectBuilder.h"
#include "transfer/CommandFrame.h"
#include "transfer/DownloadCommand.h"

#include <gtest/gtest.h>

namespace vantor::transfer {
namespace {

using testing::ProjectBuilder;

uint32_t u32(const Bytes& b, std::size_t at) {
    EXPECT_LE(at + 4, b.size());
    if (at + 4 > b.size())
        return 0xFFFFFFFF;
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

Bytes slice(const Bytes& b, std::size_t at, std::size_t n) {
    return Bytes(b.begin() + static_cast<std::ptrdiff_t>(at),
                 b.begin() + static_cast<std::ptrdiff_t>(at + n));
}

Bytes words(std::initializer_list<uint32_t> values) {
    Bytes b;
    for (auto v : values)
        putU32(b, v);
    return b;
}

TEST(ConfigurationImage, SixSlotLayoutWithOnlyCom2) {
    ProjectBuilder p("KX-P2R0-1.0");
    p.line("COM2", 6, 1, 1).slave("COM2", 3).command("读4区 03H", 0, 10, 0);
    Bytes rtu = buildRtuBlock(p.doc);
    ASSERT_EQ(rtu.size(), 120u);
    EXPECT_EQ(slice(rtu, 0, 20), Bytes(20, 0));
    EXPECT_EQ(slice(rtu, 20, 20), words({255, 1, 8, 1, 6}));
    EXPECT_EQ(slice(rtu, 40, 80), Bytes(80, 0));

    Bytes fb = buildFieldbusBlock(p.doc);
    // header, six slave counts, six command counts, one slave, one command
    ASSERT_EQ(fb.size(), 8u + 24 + 24 + 28 + 16);
    EXPECT_EQ(slice(fb, 0, 56), words({1, 1, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0}));
}

struct ListedCase {
    const char* name;
    const char* model;
    std::vector<std::string> lines;
    std::size_t rtuSize;
    std::vector<int> zeroRecords; // RTU records that must be zero
};

class ListedLayout : public ::testing::TestWithParam<ListedCase> {};

TEST_P(ListedLayout, SlotsFollowTheExistingLines) {
    const auto& c = GetParam();
    ProjectBuilder p(c.model);
    for (const auto& l : c.lines)
        p.line(l);
    Bytes rtu = buildRtuBlock(p.doc);
    ASSERT_EQ(rtu.size(), c.rtuSize);
    for (std::size_t r = 0; r < rtu.size() / 20; ++r) {
        bool zero =
            std::find(c.zeroRecords.begin(), c.zeroRecords.end(), static_cast<int>(r)) != c.zeroRecords.end();
        EXPECT_EQ(slice(rtu, r * 20, 20) == Bytes(20, 0), zero) << "record " << r;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ListedLayout,
    ::testing::Values(ListedCase{"OnlyCom2", "NXE-485-ZRTU2", {"COM2"}, 40, {0}},
                      ListedCase{"OnlyCom1", "NXE-485-ZRTU2E", {"COM1"}, 40, {1}},
                      ListedCase{"BothInPortOrder", "NXE-485-ZRTU2", {"COM2", "COM1"}, 40, {}},
                      ListedCase{"SinglePort", "KX-P1R0-1.0", {"COM1"}, 20, {}},
                      ListedCase{"SinglePortNoLine", "LNK-P1-1.0", {}, 20, {0}},
                      ListedCase{"SixSlotFour", "KX-P4R0-1.0", {"COM4", "COM1"}, 120, {1, 2, 4, 5}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ConfigurationImage, SlaveRecordsInAddressOrderWithTimesInMilliseconds) {
    ProjectBuilder p("NXE-485-ZRTU2");
    p.line("COM1").line("COM2");
    p.slave("COM1", 5, 30, 50).command("读4区 03H", 100, 4, 0);
    p.slave("COM1", 2, 1, 10).command("读0区 01H", 7, 16, 0).command("读3区 04H", 1, 2, 0);
    p.doc.slaves[1].control = 0x7F;
    Bytes fb = buildFieldbusBlock(p.doc);
    ASSERT_EQ(fb.size(), 8u + 8 + 8 + 2 * 28 + 3 * 16);
    EXPECT_EQ(slice(fb, 8, 16), words({2, 0, 3, 0}));
    std::size_t s0 = 24;
    EXPECT_EQ(slice(fb, s0, 28), words({0, 0, 2, 0, 2, 10, 100}));       // address 2 first, disabled
    EXPECT_EQ(slice(fb, s0 + 28, 28), words({0, 0, 5, 1, 1, 300, 500})); // 30 -> 300 ms, 50 -> 500 ms
    std::size_t c0 = s0 + 56;
    EXPECT_EQ(u32(fb, c0) & 0xFF, 1u);
    EXPECT_EQ(fb[c0 + 6], 0); // slave 2's area-0 read comes first
    EXPECT_EQ(fb[c0 + 16 + 6], 3);
    EXPECT_EQ(fb[c0 + 32 + 6], 4); // then slave 5's command
}

TEST(ConfigurationImage, CommandRecordLayoutAndAreaOrder) {
    ProjectBuilder p("KX-P6R0-1.0");
    p.line("COM1")
        .slave("COM1", 1)
        .command("读4区 03H", 0x1234, 0x0102, 0x0304)
        .command("读0区 01H", 9, 8, 16);
    Bytes fb = buildFieldbusBlock(p.doc);
    std::size_t c0 = 8 + 48 + 28;
    ASSERT_EQ(fb.size(), c0 + 32);
    EXPECT_EQ(slice(fb, c0, 16), (Bytes{1, 0, 0, 0, 9, 0, 0, 0, 16, 0, 0, 0, 8, 0, 0, 0}));
    EXPECT_EQ(slice(fb, c0 + 16, 16),
              (Bytes{1, 0, 0, 0, 0x34, 0x12, 4, 0, 0x04, 0x03, 4, 0, 0x02, 0x01, 0, 0}));
}

struct TypeCase {
    const char* func;
    int editSend;
    int cdtYx;
    uint8_t type;
};

TEST(ConfigurationImage, CommandTypeByte) {
    const TypeCase cases[] = {
        {"读4区 03H", 0, 0, 0x01},          {"写4区 06H 写单字", 0, 0, 0x02},
        {"写4区 10H 写多字", 1, 0, 0x23},   {"读3区 04H", 0, 1, 0x11},
        {"写0区 0FH 写多线圈", 0, 0, 0x22}, {"写0区 05H 写单线圈", 1, 1, 0x13},
        {"写4区 10H 写多字", 1, 1, 0x33},
    };
    for (const auto& c : cases) {
        ProjectBuilder p("KX-P6R0-1.0");
        p.line("COM1").slave("COM1", 1).command(c.func, 0, 1, 0, c.editSend, c.cdtYx);
        EXPECT_EQ(commandType(p.doc.slaves[0].modules[0]), c.type) << c.func << " " << c.editSend << c.cdtYx;
    }
}

TEST(ConfigurationImage, CdtLinkGivesTwoFixedRecordsAndStationAddress) {
    ProjectBuilder p("TRC-H-ZRTU");
    p.line("COM1", 3, 0, 1).line("COM2");
    p.doc.cdtOptions = {7, 9, 500, 200}; // remote, gateway, telemetry ms, telesignal ms
    p.slave("COM2", 4).command("读3区 04H", 0, 2, 0);
    Bytes rtu = buildRtuBlock(p.doc);
    ASSERT_EQ(rtu.size(), 40u);
    EXPECT_EQ(slice(rtu, 0, 20), words({9, 1, 8, 0, 3}));
    EXPECT_EQ(slice(rtu, 20, 20), words({255, 0, 8, 2, 2}));

    Bytes fb = buildFieldbusBlock(p.doc);
    ASSERT_EQ(fb.size(), 8u + 8 + 8 + 3 * 28 + 16);
    EXPECT_EQ(slice(fb, 0, 24), words({4, 1, 0, 1, 0, 1}));
    EXPECT_EQ(slice(fb, 24, 28), words({0, 0, 7, 0, 0, 200, 0}));
    EXPECT_EQ(slice(fb, 52, 28), words({0, 0, 7, 0, 0, 500, 0}));
    EXPECT_EQ(slice(fb, 80, 28), words({0, 0, 4, 1, 1, 0, 500}));
}

struct HeaderCase {
    const char* model;
    int workMode;
    int addType;
    uint32_t word1;
    uint32_t word2;
};

TEST(ConfigurationImage, HeaderWords) {
    const HeaderCase cases[] = {
        {"LNK-P1-1.0", 1, 0, 5, 1},  {"LNK-P1-1.0", 0, 1, 1, 2},    {"KX-P1-1.0", 1, 0, 5, 1},
        {"KX-P6R0-1.0", 1, 0, 1, 1}, {"NXE-485-ZRTU2", 0, 1, 1, 2}, {"TRC-H-ZRTU", 1, 0, 4, 1},
    };
    for (const auto& c : cases) {
        ProjectBuilder p(c.model);
        p.doc.GW_work_mode = c.workMode;
        p.doc.addType = c.addType;
        Bytes fb = buildFieldbusBlock(p.doc);
        EXPECT_EQ(u32(fb, 0), c.word1) << c.model;
        EXPECT_EQ(u32(fb, 4), c.word2) << c.model;
    }
}

TEST(ConfigurationImage, SinglePortSlaveCommandCountKeepsLowByteOnly) {
    ProjectBuilder p("KX-P1R0-1.0");
    p.line("COM1").slave("COM1", 1);
    for (int i = 0; i < 257; ++i)
        p.command("读4区 03H", i, 1, i);
    Bytes fb = buildFieldbusBlock(p.doc);
    EXPECT_EQ(u32(fb, 12), 257u);    // line command count: two bytes
    EXPECT_EQ(u32(fb, 16 + 16), 1u); // slave record: low byte only
}

TEST(Frames, RtuFrameCarriesSizeModulo256) {
    Bytes block(120, 0xAB);
    Bytes f = rtuFrame(block);
    ASSERT_EQ(f.size(), 128u);
    EXPECT_EQ(slice(f, 0, 8), (Bytes{20, 0, 0, 0, 120, 0, 0, 0}));
    Bytes big(300, 1);
    EXPECT_EQ(rtuFrame(big)[4], 300 % 256);
    EXPECT_EQ(rtuFrame(big)[5], 0);
}

struct ChunkCase {
    std::size_t blockSize;
    std::vector<std::size_t> chunkSizes;
};

TEST(Frames, ChunksOf240CarryTheTotalInEveryFrame) {
    const ChunkCase cases[] = {
        {241, {240, 1}}, {480, {240, 240}}, {240, {240}}, {0, {0}}, {1000, {240, 240, 240, 240, 40}}};
    for (const auto& c : cases) {
        Bytes block(c.blockSize);
        for (std::size_t i = 0; i < block.size(); ++i)
            block[i] = static_cast<uint8_t>(i * 7);
        ASSERT_EQ(chunkCount(c.blockSize), c.chunkSizes.size()) << c.blockSize;
        Bytes joined;
        for (std::size_t i = 0; i < c.chunkSizes.size(); ++i) {
            Bytes f = chunkFrame(command::kFieldbusConfig, block, i);
            ASSERT_EQ(f.size(), 8 + c.chunkSizes[i]) << c.blockSize << " chunk " << i;
            EXPECT_EQ(u32(f, 0), 21u);
            EXPECT_EQ(u32(f, 4), c.blockSize);
            joined.insert(joined.end(), f.begin() + 8, f.end());
        }
        EXPECT_EQ(joined, block);
    }
}

// --- the download command's checks ----------------------------------------

TEST(DownloadCommand, RefusesWithoutGateway) {
    model::CVantorDoc doc;
    RecordingSink sink;
    EXPECT_FALSE(prepareDownload(doc, sink));
    EXPECT_EQ(sink.texts(), std::vector<std::string>{"请添加一个主站!"});
}

TEST(DownloadCommand, AreaCheckComesBeforeTheEmptySlaveQuestion) {
    ProjectBuilder p("KX-P1-1.0");
    p.line("COM1").slave("COM1", 1).command("读0区 01H", 0, 10, 4090).slave("COM1", 2);
    RecordingSink sink;
    EXPECT_FALSE(prepareDownload(p.doc, sink));
    EXPECT_EQ(sink.texts(), std::vector<std::string>{"网关数据区访问超限 0区4096,1区4096,3区2000,4区2000"});
}

TEST(DownloadCommand, EmptySlaveQuestionListsEverySuchSlave) {
    for (bool answer : {true, false}) {
        ProjectBuilder p("NXE-485-ZRTU2");
        p.line("COM1")
            .line("COM2")
            .slave("COM1", 3)
            .slave("COM2", 4)
            .command("读4区 03H", 0, 1, 0)
            .slave("COM2", 9);
        RecordingSink sink;
        sink.answers.push_back(answer);
        auto blocks = prepareDownload(p.doc, sink);
        EXPECT_EQ(blocks.has_value(), answer);
        ASSERT_EQ(sink.messages.size(), 1u);
        EXPECT_EQ(sink.messages[0].kind, MessageKind::Question);
        EXPECT_EQ(sink.messages[0].caption, "空从站提示");
        EXPECT_EQ(sink.messages[0].text, "存在没有操作的从站,继续下载吗？\n空站地址为: COM1:3,COM2:9");
    }
}

TEST(DownloadCommand, SharedAddressesRefusedOnlyInRemoteSlaveAddressing) {
    for (int addType : {0, 1}) {
        ProjectBuilder p("NXE-485-ZRTU2");
        p.line("COM1").line("COM2");
        p.slave("COM1", 6).command("读4区 03H", 0, 1, 0);
        p.slave("COM1", 7).command("读4区 03H", 0, 1, 1);
        p.slave("COM2", 6).command("读4区 03H", 0, 1, 2);
        p.doc.addType = addType;
        RecordingSink sink;
        auto blocks = prepareDownload(p.doc, sink);
        if (addType == 0) {
            EXPECT_TRUE(blocks.has_value());
            EXPECT_TRUE(sink.messages.empty());
        } else {
            EXPECT_FALSE(blocks.has_value());
            EXPECT_EQ(sink.texts(), std::vector<std::string>{
                                        "远端选择方式不能有相同的从站地址 地址相同的从站有COM2:6和COM1:6"});
        }
    }
}

TEST(DownloadCommand, EtherNetIpGatewayIsPackedAndGetsBlock70) {
    ProjectBuilder p("TRX-H-QMB6");
    p.line("COM1");
    p.slave("COM1", 3).command("读4区 03H", 0, 10, 500).command("写4区 10H 写多字", 0, 2, 900);
    p.slave("COM1", 1).command("读4区 03H", 0, 10, 700);
    RecordingSink sink;
    auto blocks = prepareDownload(p.doc, sink);
    ASSERT_TRUE(blocks.has_value()) << ::testing::PrintToString(sink.texts());
    EXPECT_TRUE(blocks->hasEip);
    // Block 70: the two 10-word reads are 40 input bytes, the 2-word write
    // 4 output bytes, all in connection 1.
    ASSERT_GE(blocks->eip.size(), 44u);
    EXPECT_EQ(slice(blocks->eip, 0, 44), words({40, 4, 1, 40, 0, 0, 0, 4, 0, 0, 0}));
    // Packed: the reads of slave 1 and slave 3 at 0 and 10, the write at 20.
    EXPECT_EQ(p.doc.slaves[1].modules[0].Gate_Add, 0);
    EXPECT_EQ(p.doc.slaves[0].modules[0].Gate_Add, 10);
    EXPECT_EQ(p.doc.slaves[0].modules[1].Gate_Add, 20);
    // The block sent carries the packed addresses: the last three command
    // records, slave 1 first, each with its gateway address at offset 8.
    ASSERT_GE(blocks->fieldbus.size(), 48u);
    const std::size_t c0 = blocks->fieldbus.size() - 48;
    EXPECT_EQ(slice(blocks->fieldbus, c0 + 4, 6), (Bytes{0, 0, 4, 0, 0, 0}));
    EXPECT_EQ(slice(blocks->fieldbus, c0 + 16 + 4, 6), (Bytes{0, 0, 4, 0, 10, 0}));
    EXPECT_EQ(slice(blocks->fieldbus, c0 + 32 + 4, 6), (Bytes{0, 0, 4, 0, 20, 0}));
}

TEST(DownloadCommand, OtherModelsCarryNoBlock70) {
    ProjectBuilder p("KX-P6R0-1.0");
    p.line("COM1").slave("COM1", 1).command("读4区 03H", 0, 1, 33);
    RecordingSink sink;
    auto blocks = prepareDownload(p.doc, sink);
    ASSERT_TRUE(blocks.has_value());
    EXPECT_FALSE(blocks->hasEip);
    EXPECT_EQ(p.doc.slaves[0].modules[0].Gate_Add, 33); // not packed
}

TEST(DownloadCommand, BlockBeyondTheLengthFieldIsRefused) {
    // 2400 slaves of 28 bytes: more than the chunk length field can announce
    // (only a damaged or hand-made file holds that many).
    ProjectBuilder p("NXE-485-ZRTU2");
    p.line("COM1");
    for (int i = 0; i < 2400; ++i)
        p.slave("COM1", i % 247 + 1).command("读4区 03H", 0, 0, 0);
    RecordingSink sink;
    EXPECT_FALSE(prepareDownload(p.doc, sink));
    EXPECT_EQ(sink.texts(), std::vector<std::string>{"下载数据量过大，请减少从站个数或从站模块数"});
}

// A single-port slave record counts the slave's commands in one byte (the
// other layouts in two): a slave with more is refused, naming it.
TEST(DownloadCommand, SinglePortSlaveWithMoreCommandsThanItsByte) {
    for (auto [model, commands] :
         {std::pair{"KX-P1R0-1.0", 255}, {"KX-P1R0-1.0", 256}, {"LNK-P1-1.0", 300}, {"KX-P2R0-1.0", 300}}) {
        ProjectBuilder p(model);
        p.line("COM1").slave("COM1", 4).command("读4区 03H", 0, 1, 0).slave("COM1", 9);
        for (int i = 0; i < commands; ++i)
            p.command("读4区 03H", i, 1, i + 1);
        const bool refused = commands > 255 && std::string(model) != "KX-P2R0-1.0";
        RecordingSink sink;
        EXPECT_EQ(prepareDownload(p.doc, sink).has_value(), !refused) << model << " " << commands;
        EXPECT_EQ(sink.texts(), refused ? std::vector<std::string>{"COM1 站地址9的命令数超过255"}
                                        : std::vector<std::string>{});
    }
}

} // namespace
} // namespace vantor::transfer
