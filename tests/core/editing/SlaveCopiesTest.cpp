#include "editing/SlaveCopies.h"

#include "CopiesChecks.h"
#include "EditingFixtures.h"

#include <gtest/gtest.h>

using namespace vantor;
using vantor::testing::addTestSlave;
using vantor::testing::command;

namespace {

struct CopiesCase {
    const char* name;
    int count;
    int step;
    std::string message;                         // the refusal; empty when the copies are made
    void (*setup)(model::CVantorDoc&) = nullptr; // on top of the project below
    const char* model = "KX-P2R0-1.0";
    std::vector<int> gates = {}; // of the copies' commands, in order, when given
};

class SlaveCopiesTest : public ::testing::TestWithParam<CopiesCase> {};

// COM1 holds the original (address 3: a word read and a coil write) and a
// slave at 203; COM2 a slave at 7.
TEST_P(SlaveCopiesTest, AllOrNothing) {
    const auto& c = GetParam();
    auto doc = vantor::testing::project(c.model, {"COM1", "COM2"});
    addTestSlave(doc, "COM1", 3);
    doc.slaves[0].modules = {command("读4区 03H", 0, 10, 0), command("写0区 0FH 写多线圈", 0, 8, 0)};
    addTestSlave(doc, "COM1", 203);
    addTestSlave(doc, "COM2", 7);
    if (c.setup)
        c.setup(doc);
    const auto before = doc;
    RecordingSink sink;
    const auto out = editing::makeSlaveCopies(doc, 0, {c.count, c.step}, sink);
    if (!c.message.empty())
        return vantor::testing::expectRefusedAlone(out.made, sink, c.message, doc, before);
    ASSERT_TRUE(out.made) << (sink.messages.empty() ? "" : sink.messages[0].text);
    ASSERT_EQ(out.slaves.size(), static_cast<std::size_t>(c.count));
    std::vector<int> gates;
    for (int k = 1; k <= c.count; ++k) {
        const auto& copy = doc.slaves[static_cast<std::size_t>(out.slaves[static_cast<std::size_t>(k - 1)])];
        EXPECT_EQ(copy.address, 3 + k * c.step);
        EXPECT_NE(doc.coms[0].addArea[static_cast<std::size_t>(copy.address)], 0);
        EXPECT_EQ(copy.modules.size(), doc.slaves[0].modules.size());
        for (const auto& m : copy.modules)
            gates.push_back(m.Gate_Add);
    }
    if (!c.gates.empty()) {
        EXPECT_EQ(gates, c.gates);
    }
    EXPECT_EQ(doc.coms[0].slave_num, before.coms[0].slave_num + c.count);
    EXPECT_EQ(doc.selectedCom(), 0);
    vantor::testing::expectOwnRanges(editing::projectCommands(doc),
                                     [](int area) { return area >= 3 ? 2000 : 8192; });
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SlaveCopiesTest,
    ::testing::Values(
        // Each copy's commands move on from where the previous copy's ended;
        // 7 is used on COM2 only, which data-area addressing allows.
        CopiesCase{"TwoCopiesStepFour", 2, 4, "", nullptr, "KX-P2R0-1.0", {10, 8, 20, 16}},
        CopiesCase{"LastLegalAddress", 2, 122, ""},
        CopiesCase{"LeavesTheAddressRange", 2, 123, "地址请添入一个1和247之间的整数"},
        // The second copy would take 203; the first is not kept either.
        CopiesCase{"CollidesOnTheLine", 2, 100, "地址已经被占用,请更换另外一个！"},
        // In remote-slave addressing COM2's 7 is taken for COM1 too.
        CopiesCase{"OtherLinesAddressInRemoteMode", 1, 4, "地址已经被占用,请更换另外一个！",
                   [](model::CVantorDoc& d) { d.addType = 1; }},
        // Two slaves and 29 copies fill the 31 places of the line.
        CopiesCase{"FillsTheLine", 29, 1, ""},
        CopiesCase{"OverfillsTheLine", 30, 1, "每个串口上最多连接31个从站"},
        CopiesCase{"WordAreaOverflow", 1, 1, "网关数据区访问超限 0区8192,1区8192,3区2000,4区2000",
                   [](model::CVantorDoc& d) { d.nextGateAddress[3] = 1995; }},
        CopiesCase{"NoFreeGatewayRange", 1, 1, "没有可用的网关地址",
                   [](model::CVantorDoc& d) { d.slaves[1].modules = {command("读0区 01H", 0, 8184, 8)}; }},
        // 254 commands: the first copy reaches the model's 256, the second has no room.
        CopiesCase{"CommandLimit", 2, 1, "模块数超范围，最大模块数为256",
                   [](model::CVantorDoc& d) {
                       for (int i = 0; i < 252; ++i)
                           d.slaves[1].modules.push_back(command("读3区 04H", i, 1, i));
                   },
                   "TRX-H-QMB6"},
        // A slave without commands is copied as it is (a paste would drop it).
        CopiesCase{"WithoutCommands", 1, 1, "", [](model::CVantorDoc& d) { d.slaves[0].modules.clear(); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CopiesForm, FieldsRefusedBeforeAnyCopy) {
    const std::vector<std::array<std::string, 3>> cases = {
        {"", "1", "复制数量有非法字符"},
        {"0", "1", "复制数量请添入一个1和255之间的整数"},
        {"1", "-1", "地址间隔有非法字符"},
        {"1", "99999999999", "地址间隔请添入一个1和255之间的整数"}};
    for (const auto& [count, step, message] : cases) {
        auto doc = vantor::testing::project("KX-P2R0-1.0", {"COM1"});
        addTestSlave(doc, "COM1", 1);
        const auto before = doc;
        RecordingSink sink;
        EXPECT_EQ(editing::acceptSlaveCopiesForm(doc, 0, {count, step}, sink), editing::FormResult::StayOpen);
        vantor::testing::expectRefusedAlone(false, sink, message, doc, before);
    }
}

} // namespace
