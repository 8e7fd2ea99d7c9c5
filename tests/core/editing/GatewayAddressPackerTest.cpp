#include "editing/GatewayAddressPacker.h"

#include "EditingFixtures.h"

#include <gtest/gtest.h>

#include <vector>

using namespace vantor;
using vantor::testing::addTestSlave;
using vantor::testing::command;

namespace {

const char* kRead0 = "读0区 01H";
const char* kWrite0 = "写0区 0FH 写多线圈";
const char* kRead1 = "读1区 02H";
const char* kRead3 = "读3区 04H";
const char* kRead4 = "读4区 03H";
const char* kWrite4Single = "写4区 06H 写单字";
const char* kWrite4 = "写4区 10H 写多字";

model::CVantorDoc eipProject() {
    return vantor::testing::project("TRX-H-QMB6", {"COM1", "COM2"});
}

std::vector<int> gates(const model::CSlave& s) {
    std::vector<int> g;
    for (const auto& m : s.modules)
        g.push_back(m.Gate_Add);
    return g;
}

TEST(PackingTest, ReadsBySlaveAddressThenWrites) {
    auto doc = eipProject();
    int s3 = addTestSlave(doc, "COM1", 3);
    int s1 = addTestSlave(doc, "COM1", 1);
    doc.slaves[s3].modules = {command(kWrite4, 0, 2, 500), command(kRead4, 0, 10, 77)};
    doc.slaves[s1].modules = {command(kRead4, 0, 10, 300)};
    editing::packGatewayAddresses(doc);
    EXPECT_EQ(gates(doc.slaves[s1]), (std::vector<int>{0}));
    EXPECT_EQ(gates(doc.slaves[s3]), (std::vector<int>{20, 10}));
    EXPECT_EQ(doc.nextGateAddress[3], 22);
    EXPECT_TRUE(doc.modified);
}

TEST(PackingTest, PortsInNameOrderAreasInOrderStartsAscending) {
    auto doc = eipProject();
    int onCom2 = addTestSlave(doc, "COM2", 1);
    int onCom1 = addTestSlave(doc, "COM1", 9);
    doc.slaves[onCom2].modules = {command(kRead3, 0, 4, 0)};
    // Listed out of order: area 3 before area 0, start 10 before start 0.
    doc.slaves[onCom1].modules = {command(kRead3, 10, 2, 0), command(kRead3, 0, 3, 0),
                                  command(kRead0, 5, 16, 0), command(kRead1, 0, 8, 0)};
    editing::packGatewayAddresses(doc);
    EXPECT_EQ(gates(doc.slaves[onCom1]), (std::vector<int>{3, 0, 0, 0}));
    EXPECT_EQ(gates(doc.slaves[onCom2]), (std::vector<int>{5}));
    EXPECT_EQ(doc.nextGateAddress, (std::array<int, 4>{16, 8, 9, 0}));
}

TEST(PackingTest, EqualAddressesKeepProjectOrderAndTiesKeepListOrder) {
    auto doc = eipProject();
    int a = addTestSlave(doc, "COM1", 4);
    int b = addTestSlave(doc, "COM1", 4);
    doc.slaves[a].modules = {command(kWrite0, 7, 3, 0), command(kWrite0, 7, 5, 0)};
    doc.slaves[b].modules = {command(kRead0, 0, 2, 0)};
    editing::packGatewayAddresses(doc);
    EXPECT_EQ(gates(doc.slaves[b]), (std::vector<int>{0}));
    EXPECT_EQ(gates(doc.slaves[a]), (std::vector<int>{2, 5}));
    EXPECT_EQ(doc.nextGateAddress[0], 10);
}

struct OverlapCase {
    const char* name;
    const char* func;
    std::vector<std::pair<int, int>> ranges; // slave start, length (list order)
    std::vector<int> expected;
    int next;
};

class PackingOverlapTest : public ::testing::TestWithParam<OverlapCase> {};

TEST_P(PackingOverlapTest, MergesOnlyInAreas1And3) {
    const auto& c = GetParam();
    auto doc = eipProject();
    int s = addTestSlave(doc, "COM1", 1);
    for (auto [start, length] : c.ranges)
        doc.slaves[s].modules.push_back(command(c.func, start, length, 999));
    editing::packGatewayAddresses(doc);
    EXPECT_EQ(gates(doc.slaves[s]), c.expected);
    const auto* kind = model::findCommandKind(c.func);
    EXPECT_EQ(doc.nextGateAddress[static_cast<std::size_t>(model::areaIndex(kind->area))], c.next);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PackingOverlapTest,
    ::testing::Values(
        // Area 3: a range starting inside the block shares its addresses and
        // adds only what reaches beyond it.
        OverlapCase{"Area3Extends", kRead3, {{0, 10}, {5, 10}}, {0, 5}, 15},
        OverlapCase{"Area3Inside", kRead3, {{0, 10}, {2, 2}}, {0, 2}, 10},
        OverlapCase{"Area3ChainThenGap", kRead3, {{0, 10}, {5, 10}, {12, 1}, {20, 4}}, {0, 5, 12, 15}, 19},
        OverlapCase{"Area1Extends", kRead1, {{8, 8}, {0, 10}}, {8, 0}, 16},
        OverlapCase{"Area3Disjoint", kRead3, {{10, 2}, {0, 3}}, {3, 0}, 5},
        // Areas 0 and 4: overlapping ranges take their own addresses.
        OverlapCase{"Area4NoMerge", kRead4, {{0, 10}, {5, 10}}, {0, 10}, 20},
        OverlapCase{"Area0NoMerge", kRead0, {{0, 10}, {2, 2}}, {0, 10}, 12},
        OverlapCase{"Area4WritesMixed", kWrite4Single, {{3, 1}, {3, 1}}, {0, 1}, 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PackingTest, ReadsOfAllPortsComeBeforeAnyWrite) {
    auto doc = eipProject();
    int w = addTestSlave(doc, "COM1", 1);
    int r = addTestSlave(doc, "COM2", 1);
    doc.slaves[w].modules = {command(kWrite4, 0, 4, 0)};
    doc.slaves[r].modules = {command(kRead4, 0, 6, 0)};
    editing::packGatewayAddresses(doc);
    EXPECT_EQ(doc.slaves[r].modules[0].Gate_Add, 0);
    EXPECT_EQ(doc.slaves[w].modules[0].Gate_Add, 6);
    EXPECT_EQ(doc.nextGateAddress[3], 10);
}

TEST(PackingTest, OnlyTheEtherNetIpModelNeedsPacking) {
    auto eip = eipProject();
    addTestSlave(eip, "COM1", 1);
    eip.slaves[0].modules = {command(kRead4, 0, 6, 50)};
    EXPECT_TRUE(editing::packGatewayAddressesIfNeeded(eip));
    EXPECT_EQ(eip.slaves[0].modules[0].Gate_Add, 0);

    auto other = vantor::testing::project("KX-P6R0-1.0", {"COM1"});
    addTestSlave(other, "COM1", 1);
    other.slaves[0].modules = {command(kRead4, 0, 6, 50)};
    EXPECT_FALSE(editing::packGatewayAddressesIfNeeded(other));
    EXPECT_EQ(other.slaves[0].modules[0].Gate_Add, 50);
    EXPECT_FALSE(other.modified);
}

// Packing twice gives the same addresses: the result depends only on the
// slave ranges, not on the addresses found.
TEST(PackingTest, Idempotent) {
    auto doc = eipProject();
    int a = addTestSlave(doc, "COM2", 7);
    int b = addTestSlave(doc, "COM1", 2);
    doc.slaves[a].modules = {command(kRead3, 4, 6, 1), command(kWrite0, 0, 9, 2), command(kRead0, 0, 9, 3)};
    doc.slaves[b].modules = {command(kRead3, 0, 6, 4), command(kWrite4, 0, 9, 5)};
    editing::packGatewayAddresses(doc);
    auto first = doc.slaves;
    editing::packGatewayAddresses(doc);
    EXPECT_EQ(doc.slaves, first);
}

} // namespace
