#include "editing/SlaveCopies.h"

#include "CopiesChecks.h"
#include "EditingFixtures.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vantor;
using vantor::testing::addTestSlave;
using vantor::testing::command;

namespace {

// COM1 holds the original (address 3: a word read and a coil write) and a
// slave at 203; COM2 a slave at 7.
model::CVantorDoc original(const char* model = "KX-P2R0-1.0") {
    auto doc = vantor::testing::project(model, {"COM1", "COM2"});
    addTestSlave(doc, "COM1", 3);
    doc.slaves[0].modules = {command("读4区 03H", 0, 10, 0), command("写0区 0FH 写多线圈", 0, 8, 0)};
    addTestSlave(doc, "COM1", 203);
    addTestSlave(doc, "COM2", 7);
    return doc;
}

struct CopiesCase {
    const char* name;
    int count;
    int step;
    std::vector<int> addresses; // of the copies; empty when refused
    std::string message;        // the refusal
    void (*setup)(model::CVantorDoc&) = nullptr;
    const char* model = "KX-P2R0-1.0";
};

class SlaveCopiesTest : public ::testing::TestWithParam<CopiesCase> {};

TEST_P(SlaveCopiesTest, AllOrNothing) {
    const auto& c = GetParam();
    auto doc = original(c.model);
    if (c.setup)
        c.setup(doc);
    const auto before = doc;
    RecordingSink sink;
    const auto out = editing::makeSlaveCopies(doc, 0, {c.count, c.step}, sink);
    if (!c.message.empty())
        return vantor::testing::expectRefusedAlone(out.made, sink, c.message, doc, before);
    ASSERT_TRUE(out.made) << (sink.messages.empty() ? "" : sink.messages[0].text);
    EXPECT_TRUE(sink.messages.empty());
    std::vector<int> addresses;
    for (int s : out.slaves) {
        const auto& copy = doc.slaves[static_cast<std::size_t>(s)];
        addresses.push_back(copy.address);
        EXPECT_EQ(copy.com_name, "COM1");
        EXPECT_EQ(copy.modules.size(), doc.slaves[0].modules.size());
        EXPECT_NE(doc.coms[0].addArea[static_cast<std::size_t>(copy.address)], 0);
    }
    EXPECT_EQ(addresses, c.addresses);
    EXPECT_EQ(doc.coms[0].slave_num, before.coms[0].slave_num + c.count);
    EXPECT_EQ(doc.selectedCom(), 0);
    EXPECT_TRUE(doc.modified);
    vantor::testing::expectOwnRanges(editing::projectCommands(doc),
                                     [](int area) { return area >= 3 ? 2000 : 8192; });
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SlaveCopiesTest,
    ::testing::Values(
        CopiesCase{"TwoCopiesStepFour", 2, 4, {7, 11}, ""},
        CopiesCase{"LastLegalAddress", 2, 122, {125, 247}, ""},
        CopiesCase{"LeavesTheAddressRange", 2, 123, {}, "地址请添入一个1和247之间的整数"},
        // The second copy would take 203; the first is not kept either.
        CopiesCase{"CollidesOnTheLine", 2, 100, {}, "地址已经被占用,请更换另外一个！"},
        // 7 is used on COM2 only: free in data-area addressing, taken in
        // remote-slave addressing.
        CopiesCase{"OtherLinesAddressInDataAreaMode", 1, 4, {7}, ""},
        CopiesCase{"OtherLinesAddressInRemoteMode",
                   1,
                   4,
                   {},
                   "地址已经被占用,请更换另外一个！",
                   [](model::CVantorDoc& d) { d.addType = 1; }},
        // Two slaves and 29 copies fill the 31 places of the line.
        CopiesCase{"FillsTheLine",
                   29,
                   1,
                   {4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18,
                    19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32},
                   ""},
        CopiesCase{"OverfillsTheLine", 30, 1, {}, "每个串口上最多连接31个从站"},
        CopiesCase{"WordAreaOverflow",
                   1,
                   1,
                   {},
                   "网关数据区访问超限 0区8192,1区8192,3区2000,4区2000",
                   [](model::CVantorDoc& d) { d.nextGateAddress[3] = 1995; }},
        // Bit area 0 is taken up to its end: no room for the coil write.
        CopiesCase{"NoFreeGatewayRange",
                   1,
                   1,
                   {},
                   "没有可用的网关地址",
                   [](model::CVantorDoc& d) { d.slaves[1].modules = {command("读0区 01H", 0, 8184, 8)}; }},
        // 254 commands: the first copy reaches the model's 256, the second
        // has no room.
        CopiesCase{"CommandLimit",
                   2,
                   1,
                   {},
                   "模块数超范围，最大模块数为256",
                   [](model::CVantorDoc& d) {
                       for (int i = 0; i < 252; ++i)
                           d.slaves[1].modules.push_back(command("读3区 04H", i, 1, i));
                   },
                   "TRX-H-QMB6"},
        // A slave without commands is copied as it is (a paste would drop it).
        CopiesCase{
            "WithoutCommands", 1, 1, {4}, "", [](model::CVantorDoc& d) { d.slaves[0].modules.clear(); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SlaveCopiesTest, CommandsGetTheRangesPastesWouldGive) {
    auto doc = original();
    RecordingSink sink;
    ASSERT_TRUE(editing::makeSlaveCopies(doc, 0, {2, 4}, sink).made);
    // Each copy moves on from where the previous one ended, area by area.
    EXPECT_EQ(doc.slaves[3].modules[0].Gate_Add, 10);
    EXPECT_EQ(doc.slaves[3].modules[1].Gate_Add, 8);
    EXPECT_EQ(doc.slaves[4].modules[0].Gate_Add, 20);
    EXPECT_EQ(doc.slaves[4].modules[1].Gate_Add, 16);
    EXPECT_EQ(doc.slaves[4].name, "SLAVE");
    EXPECT_EQ(doc.slaves[4].x, doc.slaves[3].x + 80);
}

TEST(SlaveCopiesTest, FormFieldsAndMissingSlave) {
    struct Case {
        const char* count;
        const char* step;
        const char* message;
    } cases[] = {{"", "1", "复制数量有非法字符"},
                 {"2x", "1", "复制数量有非法字符"},
                 {"0", "1", "复制数量请添入一个1和255之间的整数"},
                 {"256", "1", "复制数量请添入一个1和255之间的整数"},
                 {"1", "-1", "地址间隔有非法字符"},
                 {"1", "0", "地址间隔请添入一个1和255之间的整数"},
                 {"1", "99999999999", "地址间隔请添入一个1和255之间的整数"}};
    for (const auto& c : cases) {
        auto doc = original();
        const auto before = doc;
        RecordingSink sink;
        EXPECT_EQ(editing::acceptSlaveCopiesForm(doc, 0, {c.count, c.step}, sink),
                  editing::FormResult::StayOpen);
        EXPECT_EQ(sink.texts(), std::vector<std::string>{c.message}) << c.count << " " << c.step;
        EXPECT_TRUE(doc == before);
    }
    auto doc = original();
    RecordingSink sink;
    EXPECT_EQ(editing::acceptSlaveCopiesForm(doc, 0, {"255", "1"}, sink), editing::FormResult::StayOpen);
    EXPECT_EQ(sink.texts(), std::vector<std::string>{"每个串口上最多连接31个从站"});
    sink.messages.clear();
    EXPECT_FALSE(editing::makeSlaveCopies(doc, 3, {1, 1}, sink).made);
    EXPECT_EQ(sink.texts(), std::vector<std::string>{"请选择从站"});
}

} // namespace
