#include "TableFixtures.h"

#include "editing/EipAddressTable.h"
#include "editing/EipParamsForm.h"

#include <gtest/gtest.h>

using namespace vantor;
using namespace vantor::testing;
using editing::CEipModStruct;
using editing::EipGroup;

namespace {

model::CVantorDoc eipProject() {
    return projectFor("TRX-H-QMB6");
}

void enableGroup(model::CVantorDoc& doc, int group, int start, int count) {
    editing::setEipGroup(doc, group, EipGroup{true, start, count});
}

} // namespace

// --- parameter form ------------------------------------------------------

TEST(EipParams, StartRangesPerPort) {
    std::pair<int, int> want[] = {{2001, 2255}, {2257, 2511}, {2513, 2767},
                                  {2769, 3023}, {3025, 3279}, {3281, 3535}};
    for (int com = 1; com <= 6; ++com)
        EXPECT_EQ(editing::eipStartRange(com), want[com - 1]) << com;
}

TEST(EipParams, GroupsMapOntoTheStoredValues) {
    model::CVantorDoc doc;
    editing::setEipGroup(doc, 2, EipGroup{true, 2513, 10}); // COM3 state words
    editing::setEipGroup(doc, 11, EipGroup{true, 3281, 7}); // COM6 control words
    const auto& keys = model::eipValueKeys();
    auto value = [&](const std::string& key) {
        for (std::size_t i = 0; i < keys.size(); ++i)
            if (keys[i] == key)
                return doc.eip[i];
        return -999;
    };
    EXPECT_EQ(value("EIP_COM3_state_enable"), 1);
    EXPECT_EQ(value("EIP_COM3_state_start_addr"), 2513);
    EXPECT_EQ(value("EIP_COM3_state_start_len"), 10);
    EXPECT_EQ(value("EIP_COM6_ctrl_enable"), 1);
    EXPECT_EQ(value("EIP_COM6_ctrl_start_addr"), 3281);
    EXPECT_EQ(value("EIP_COM6_ctrl_start_len"), 7);
    EXPECT_EQ(value("EIP_COM1_state_enable"), 0);
}

TEST(EipParams, OpeningAndTicking) {
    model::CVantorDoc doc;
    enableGroup(doc, 0, 2001, 5);
    editing::setEipGroup(doc, 7, EipGroup{false, 2300, 9}); // stored but disabled
    auto form = editing::EipParamsForm::load(doc);
    EXPECT_TRUE(form.groups[0].enabled);
    EXPECT_TRUE(form.groups[0].editable);
    EXPECT_EQ(form.groups[0].start, "2001");
    EXPECT_EQ(form.groups[0].count, "5");
    EXPECT_FALSE(form.groups[7].enabled);
    EXPECT_FALSE(form.groups[7].editable);
    EXPECT_EQ(form.groups[7].start, "");
    form.setEnabled(7, true, doc);
    EXPECT_TRUE(form.groups[7].editable);
    EXPECT_EQ(form.groups[7].start, "2300");
    EXPECT_EQ(form.groups[7].count, "9");
    form.setEnabled(7, false, doc);
    EXPECT_FALSE(form.groups[7].editable);
}

TEST(EipParams, ChecksAndMessages) {
    struct Field {
        int group;
        const char* start;
        const char* count;
    };
    struct Case {
        const char* name;
        std::vector<Field> enabled;
        std::string message; // empty: accepted
    } cases[] = {
        {"lowest start and count", {{0, "2001", "1"}}, ""},
        {"highest start and count", {{5, "3535", "255"}, {11, "3535", "255"}}, ""},
        {"start below", {{0, "2000", "1"}}, "COM1 状态字起始地址取值范围2001-2255"},
        {"start above", {{5, "3536", "1"}}, "COM6 状态字起始地址取值范围3281-3535"},
        {"gap between ports", {{1, "2256", "1"}}, "COM2 状态字起始地址取值范围2257-2511"},
        {"start not digits", {{7, "22a7", "1"}}, "COM2 控制字起始地址取值范围2257-2511"},
        {"start empty", {{8, "", "1"}}, "COM3 控制字起始地址取值范围2513-2767"},
        {"huge start does not wrap", {{0, "4294969297", "1"}}, "COM1 状态字起始地址取值范围2001-2255"},
        {"count zero", {{2, "2513", "0"}}, "COM3 状态字长度取值范围1-255"},
        {"count 256", {{9, "2769", "256"}}, "COM4 控制字长度取值范围1-255"},
        {"count signed", {{4, "3025", "+5"}}, "COM5 状态字长度取值范围1-255"},
        {"start checked before count", {{3, "1", "0"}}, "COM4 状态字起始地址取值范围2769-3023"},
        {"state words before control words",
         {{6, "1", "1"}, {5, "1", "1"}},
         "COM6 状态字起始地址取值范围3281-3535"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        model::CVantorDoc doc;
        editing::EipParamsForm form = editing::EipParamsForm::load(doc);
        // A disabled group's text is never checked.
        form.groups[10].start = "junk";
        for (const auto& f : c.enabled) {
            form.groups[static_cast<std::size_t>(f.group)].enabled = true;
            form.groups[static_cast<std::size_t>(f.group)].start = f.start;
            form.groups[static_cast<std::size_t>(f.group)].count = f.count;
        }
        const auto before = doc.eip;
        RecordingSink sink;
        bool ok = form.apply(doc, sink);
        if (c.message.empty()) {
            EXPECT_TRUE(ok);
            EXPECT_TRUE(sink.messages.empty());
            for (const auto& f : c.enabled) {
                auto g = editing::eipGroup(doc, f.group);
                EXPECT_TRUE(g.enabled);
                EXPECT_EQ(std::to_string(g.start), f.start);
                EXPECT_EQ(std::to_string(g.count), f.count);
            }
        } else {
            EXPECT_FALSE(ok);
            ASSERT_EQ(sink.messages.size(), 1u);
            EXPECT_EQ(sink.messages[0], (Message{MessageKind::Error, "错误", c.message}));
            EXPECT_EQ(doc.eip, before);
        }
    }
}

TEST(EipParams, DisablingKeepsTheStoredNumbers) {
    model::CVantorDoc doc;
    enableGroup(doc, 3, 2800, 4);
    auto form = editing::EipParamsForm::load(doc);
    form.setEnabled(3, false, doc);
    RecordingSink sink;
    ASSERT_TRUE(form.apply(doc, sink));
    auto g = editing::eipGroup(doc, 3);
    EXPECT_FALSE(g.enabled);
    EXPECT_EQ(g.start, 2800);
    EXPECT_EQ(g.count, 4);
}

// --- allocation ------------------------------------------------------------

TEST(EipAllocation, SplitsAndTags) {
    struct Item {
        std::string com;
        int address;
        const char* func;
        int length;
        int gate;
    };
    struct Case {
        const char* name;
        std::vector<Item> items;
        std::vector<std::vector<CEipModStruct>> input; // per connection
        std::vector<int> inputUsed;
    } cases[] = {
        {"300 words into an empty input",
         {{"COM1", 1, kRead3, 125, 0}, {"COM1", 1, kRead3, 125, 125}, {"COM1", 1, kRead3, 50, 250}},
         {{{0, 0x01030000, 247}}, {{0, 0x010300F7, 53}}},
         {494, 106}},
        {"300 words after 101 bytes",
         {{"COM1", 1, kRead0, 808, 0},
          {"COM1", 1, kRead3, 125, 0},
          {"COM1", 1, kRead3, 125, 125},
          {"COM1", 1, kRead3, 50, 250}},
         {{{0, 0x01000000, 808}, {101, 0x01030000, 196}}, {{0, 0x010300C4, 104}}},
         {493, 208}},
        {"2000 bits of COM2", {{"COM2", 1, kRead0, 2000, 0}}, {{{0, 0x02000000, 2000}}}, {250}},
        {"bits split at the byte boundary",
         {{"COM1", 1, kRead0, 2000, 0}, {"COM1", 1, kRead0, 1000, 2000}, {"COM1", 1, kRead1, 2000, 40}},
         {{{0, 0x01000000, 3000}, {375, 0x01010028, 952}}, {{0, 0x010103E0, 1048}}},
         {494, 131}},
        {"one word beyond a connection",
         {{"COM3", 1, kRead4, 125, 0}, {"COM3", 1, kRead4, 122, 125}, {"COM3", 1, kRead4, 1, 247}},
         {{{0, 0x03040000, 247}}, {{0, 0x030400F7, 1}}},
         {494, 2}},
        {"odd used bytes with one word free",
         {{"COM1", 1, kRead0, 3944, 0}, {"COM1", 1, kRead3, 2, 7}},
         // 493 bytes used: no word fits, the connection closes at 493
         {{{0, 0x01000000, 3944}}, {{0, 0x01030007, 2}}},
         {493, 4}},
        {"per port: sum of lengths at the first command's address",
         {{"COM1", 9, kRead4, 4, 50},
          {"COM1", 2, kRead4, 3, 70},
          {"COM1", 2, kRead4, 1, 60},
          {"COM2", 1, kRead4, 2, 0}},
         {{{0, 0x0104003C, 8}, {16, 0x02040000, 2}}},
         {20}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto doc = eipProject();
        int start = 0;
        for (const auto& it : c.items) {
            int s = -1;
            for (std::size_t i = 0; i < doc.slaves.size(); ++i)
                if (doc.slaves[i].com_name == it.com && doc.slaves[i].address == it.address)
                    s = static_cast<int>(i);
            if (s < 0)
                s = addSlave(doc, it.com, it.address);
            addCommand(doc, s, it.func, start, it.length, it.gate);
            start += it.length;
        }
        // The per-port case relies on start-address order within slave 2.
        if (std::string(c.name).rfind("per port", 0) == 0)
            doc.slaves[1].modules[1].Start_Add = 0;
        RecordingSink sink;
        auto t = editing::buildEipTable(doc, sink);
        EXPECT_TRUE(sink.messages.empty());
        EXPECT_FALSE(t.overflow);
        int total = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            std::vector<CEipModStruct> want = k < c.input.size() ? c.input[k] : std::vector<CEipModStruct>{};
            EXPECT_EQ(t.input[k].entries, want) << "connection " << k + 1;
            EXPECT_EQ(t.input[k].used, k < c.inputUsed.size() ? c.inputUsed[k] : 0) << "connection " << k + 1;
            total += t.input[k].used;
        }
        EXPECT_EQ(t.inputTotal, total);
        EXPECT_EQ(t.outputTotal, 0);
        EXPECT_EQ(t.connectionCount, static_cast<int>(c.inputUsed.size()));
    }
}

TEST(EipAllocation, StateAndControlWords) {
    auto doc = eipProject();
    enableGroup(doc, 2, 2513, 10); // COM3 state words
    enableGroup(doc, 0, 2001, 1);  // COM1 state words
    enableGroup(doc, 10, 3025, 3); // COM5 control words
    RecordingSink sink;
    auto t = editing::buildEipTable(doc, sink);
    EXPECT_EQ(t.input[0].entries, (std::vector<CEipModStruct>{{0, 0x000307D1, 1}, {2, 0x000309D1, 10}}));
    EXPECT_EQ(t.input[0].used, 22);
    EXPECT_EQ(t.output[0].entries, (std::vector<CEipModStruct>{{0, 0x00040BD1, 3}}));
    EXPECT_EQ(t.output[0].used, 6);
    EXPECT_EQ(t.connectionCount, 1);
}

TEST(EipAllocation, OverflowStopsWithItsMessage) {
    struct Case {
        const char* name;
        int inputWords;  // area 3 reads on COM1
        int outputWords; // area 4 writes on COM1
        std::vector<std::string> messages;
        int connections;
    } cases[] = {
        {"input exactly four connections", 988, 0, {}, 4},
        {"input one word more", 989, 10, {"输入超限"}, 3},
        {"output exactly four connections", 2, 988, {}, 4},
        {"output one word more", 2, 989, {"输出超限"}, 3},
        {"nothing", 0, 0, {}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto doc = eipProject();
        int s = addSlave(doc, "COM1", 1);
        for (int left = c.inputWords, at = 0; left > 0; left -= 100, at += 100)
            addCommand(doc, s, kRead3, at, std::min(left, 100), at);
        for (int left = c.outputWords, at = 0; left > 0; left -= 100, at += 100)
            addCommand(doc, s, kWrite4Multi, at, std::min(left, 100), at);
        RecordingSink sink;
        auto t = editing::buildEipTable(doc, sink);
        EXPECT_EQ(sink.texts(), c.messages);
        EXPECT_EQ(t.overflow, !c.messages.empty());
        EXPECT_EQ(t.connectionCount, c.connections);
        for (const auto& m : sink.messages)
            EXPECT_EQ(m.caption, "错误");
        // What fitted stays: three full connections, nothing in the fourth.
        if (c.inputWords > 988) {
            EXPECT_EQ(t.input[2].used, 494);
            EXPECT_EQ(t.input[3].used, 0);
            EXPECT_EQ(t.outputTotal, 0); // allocation stopped before the output
        }
        if (c.outputWords > 988) {
            EXPECT_EQ(t.output[2].used, 494);
            EXPECT_EQ(t.output[3].used, 0);
        }
        std::vector<uint8_t> block;
        RecordingSink blockSink;
        EXPECT_EQ(editing::buildEipBlock(doc, blockSink, block), c.messages.empty());
        EXPECT_EQ(editing::checkEipSize(doc, blockSink), c.messages.empty());
    }
}

TEST(EipAllocation, SizeCheckOnlyForTheEtherNetIpGateway) {
    auto doc = projectFor("KX-P6R0-1.0");
    int s = addSlave(doc, "COM1", 1);
    for (int i = 0; i < 10; ++i)
        addCommand(doc, s, kRead3, i * 125, 125, i * 125);
    RecordingSink sink;
    EXPECT_TRUE(editing::checkEipSize(doc, sink));
    EXPECT_TRUE(sink.messages.empty());
    doc.masters[0].masterName = "TRX-H-QMB6";
    EXPECT_FALSE(editing::checkEipSize(doc, sink));
    EXPECT_EQ(sink.texts(), std::vector<std::string>{"输入超限"});
}

TEST(EipCollect, ReadsThenWritesByPortSlaveAreaStart) {
    auto doc = eipProject();
    int b = addSlave(doc, "COM2", 1);
    int a = addSlave(doc, "COM1", 5);
    int c = addSlave(doc, "COM1", 2);
    addCommand(doc, b, kRead4, 0, 1, 1);
    addCommand(doc, a, kWrite4Single, 0, 1, 2);
    addCommand(doc, a, kRead4, 9, 1, 3);
    addCommand(doc, a, kRead4, 4, 1, 4);
    addCommand(doc, c, kRead4, 7, 1, 5);
    addCommand(doc, c, kWrite4Multi, 0, 1, 6);
    auto lists = editing::collectEipCommands(doc);
    std::vector<std::string> got;
    for (const auto& r : lists[3])
        got.push_back(std::to_string(r.port) + "/" + std::to_string(r.slaveAddress) + "/" +
                      std::to_string(r.module.Gate_Add));
    EXPECT_EQ(got, (std::vector<std::string>{"1/2/5", "1/5/4", "1/5/3", "2/1/1", "1/2/6", "1/5/2"}));
    EXPECT_TRUE(lists[0].empty());
}

// --- the block of command 70 ----------------------------------------------------

TEST(EipBlock, MixedProjectByteForByte) {
    auto doc = eipProject();
    int s1 = addSlave(doc, "COM1", 1);
    int s2 = addSlave(doc, "COM2", 2);
    addCommand(doc, s1, kRead0, 0, 10, 0);
    addCommand(doc, s1, kRead4, 0, 5, 0);
    addCommand(doc, s1, kWrite4Multi, 100, 2, 5);
    addCommand(doc, s2, kRead3, 0, 3, 0);
    addCommand(doc, s2, kWrite0Single, 0, 1, 10);
    enableGroup(doc, 0, 2001, 2); // COM1 state words
    enableGroup(doc, 7, 2257, 1); // COM2 control words
    std::vector<uint8_t> block;
    RecordingSink sink;
    ASSERT_TRUE(editing::buildEipBlock(doc, sink, block));
    const std::vector<uint8_t> want = {
        0x16, 0, 0, 0, 0x07, 0,    0,    0,    0x01, 0, 0, 0,             // totals, connections
        0x16, 0, 0, 0, 0,    0,    0,    0,    0,    0, 0, 0, 0, 0, 0, 0, // input used
        0x07, 0, 0, 0, 0,    0,    0,    0,    0,    0, 0, 0, 0, 0, 0, 0, // output used
        0x04, 0, 0, 0, 0,    0,    0,    0,    0,    0, 0, 0, 0, 0, 0, 0, // input entries
        0x03, 0, 0, 0, 0,    0,    0,    0,    0,    0, 0, 0, 0, 0, 0, 0, // output entries
        0x00, 0, 0, 0, 0x00, 0x00, 0x00, 0x01, 0x0a, 0, 0, 0,             // 10 bits COM1 area 0
        0x02, 0, 0, 0, 0x00, 0x00, 0x03, 0x02, 0x03, 0, 0, 0,             // 3 words COM2 area 3
        0x08, 0, 0, 0, 0x00, 0x00, 0x04, 0x01, 0x05, 0, 0, 0,             // 5 words COM1 area 4
        0x12, 0, 0, 0, 0xd1, 0x07, 0x03, 0x00, 0x02, 0, 0, 0,             // COM1 state words
        0x00, 0, 0, 0, 0x0a, 0x00, 0x00, 0x02, 0x01, 0, 0, 0,             // 1 bit COM2 area 0
        0x01, 0, 0, 0, 0x05, 0x00, 0x04, 0x01, 0x02, 0, 0, 0,             // 2 words COM1 area 4
        0x05, 0, 0, 0, 0xd1, 0x08, 0x04, 0x00, 0x01, 0, 0, 0,             // COM2 control words
    };
    EXPECT_EQ(block, want);
}

TEST(EipBlock, EmptyProjectAndSecondConnection) {
    auto doc = eipProject();
    RecordingSink quiet;
    auto t = editing::buildEipTable(doc, quiet);
    auto empty = editing::encodeEipBlock(t);
    EXPECT_EQ(empty, std::vector<uint8_t>(76, 0));

    int s = addSlave(doc, "COM1", 1);
    addCommand(doc, s, kWrite4Multi, 0, 100, 0);
    addCommand(doc, s, kWrite4Multi, 100, 100, 100);
    addCommand(doc, s, kWrite4Multi, 200, 100, 200);
    RecordingSink sink;
    std::vector<uint8_t> block;
    ASSERT_TRUE(editing::buildEipBlock(doc, sink, block));
    ASSERT_EQ(block.size(), 76u + 2 * 12);
    EXPECT_EQ(block[8], 2);                   // connection count
    EXPECT_EQ(block[4] | block[5] << 8, 600); // output total
    EXPECT_EQ(block[28] | block[29] << 8, 494);
    EXPECT_EQ(block[32] | block[33] << 8, 106);
    EXPECT_EQ(block[60], 1); // entries in output connection 1
    EXPECT_EQ(block[64], 1); // and 2
    // Second entry: offset 0, tag 0x010400F7, 53 words.
    EXPECT_EQ(std::vector<uint8_t>(block.begin() + 88, block.end()),
              (std::vector<uint8_t>{0, 0, 0, 0, 0xF7, 0x00, 0x04, 0x01, 53, 0, 0, 0}));
}

// --- rows and export ---------------------------------------------------------

TEST(EipRows, ConnectionNumberOnFirstRowOnly) {
    auto doc = eipProject();
    int s = addSlave(doc, "COM1", 1);
    addCommand(doc, s, kRead0, 0, 808, 0);
    addCommand(doc, s, kRead3, 0, 125, 0);
    addCommand(doc, s, kRead3, 125, 125, 125);
    addCommand(doc, s, kRead3, 250, 50, 250);
    addCommand(doc, s, kWrite0Multi, 0, 16, 808);
    RecordingSink sink;
    auto t = editing::buildEipTable(doc, sink);
    using R4 = std::array<std::string, 4>;
    EXPECT_EQ(editing::eipEntryRows(t, true), (std::vector<R4>{{"1", "0", "0x01000000", "808"},
                                                               {"", "101", "0x01030000", "196"},
                                                               {"2", "0", "0x010300c4", "104"}}));
    EXPECT_EQ(editing::eipEntryRows(t, false), (std::vector<R4>{{"1", "0", "0x01000328", "16"}}));
    using R3 = std::array<std::string, 3>;
    EXPECT_EQ(editing::eipConnectionRows(t), (std::vector<R3>{{"1", "493", "2"}, {"2", "208", "0"}}));

    auto dir = scratchDir("eip");
    auto file = dir / "eip.xlsx";
    std::string errors;
    ASSERT_TRUE(editing::exportEipTable(t, file.string(), errors)) << errors;
    EXPECT_EQ(readWorkbook(file),
              "#EIPConn\n连接\t输入长度\t输出长度\n1\t493\t2\n2\t208\t0\n2\t701\t2\n"
              "#EIPInput\n连接\tEIP地址\t网关地址\t长度\n1\t0\t0x01000000\t808\n\t101\t0x01030000\t196\n"
              "2\t0\t0x010300c4\t104\n"
              "#EIPOutput\n连接\tEIP地址\t网关地址\t长度\n1\t0\t0x01000328\t16\n");
    std::filesystem::remove_all(dir);
}

TEST(EipRows, EmptyProjectExportsHeadersAndTotals) {
    auto doc = eipProject();
    RecordingSink sink;
    auto t = editing::buildEipTable(doc, sink);
    auto dir = scratchDir("eipempty");
    auto file = dir / "eip.xlsx";
    std::string errors;
    ASSERT_TRUE(editing::exportEipTable(t, file.string(), errors)) << errors;
    EXPECT_EQ(readWorkbook(file), "#EIPConn\n连接\t输入长度\t输出长度\n0\t0\t0\n"
                                  "#EIPInput\n连接\tEIP地址\t网关地址\t长度\n"
                                  "#EIPOutput\n连接\tEIP地址\t网关地址\t长度\n");
    std::filesystem::remove_all(dir);
}

TEST(EipOpening, OnlyTheEtherNetIpGatewayPacksAndBuilds) {
    for (const char* gateway : {"", "KX-P6R0-1.0", "TRC-H-ZRTU"}) {
        auto doc = projectFor(gateway);
        int s = addSlave(doc, "COM1", 1);
        addCommand(doc, s, kRead4, 0, 3, 77);
        RecordingSink sink;
        EXPECT_FALSE(editing::openEipAddressTable(doc, sink).has_value()) << gateway;
        EXPECT_TRUE(sink.messages.empty());
        EXPECT_EQ(doc.slaves[0].modules[0].Gate_Add, 77);
    }
    auto doc = eipProject();
    int s = addSlave(doc, "COM1", 1);
    addCommand(doc, s, kRead4, 0, 3, 77);
    RecordingSink sink;
    auto t = editing::openEipAddressTable(doc, sink);
    ASSERT_TRUE(t.has_value());
    EXPECT_EQ(doc.slaves[0].modules[0].Gate_Add, 0); // packed
    EXPECT_EQ(t->input[0].entries, (std::vector<CEipModStruct>{{0, 0x01040000, 3}}));
}
