#include "editing/GatewayAddressPlanner.h"

#include "EditingFixtures.h"

#include <gtest/gtest.h>

#include <vector>

using namespace vantor;
using vantor::testing::command;

namespace {

struct Placed {
    const char* func;
    int gate;
    int length;
};

model::CVantorDoc withCommands(const std::vector<Placed>& placed) {
    auto doc = vantor::testing::project("KX-P6R0-1.0", {"COM1"});
    vantor::testing::addTestSlave(doc, "COM1", 1);
    for (const auto& p : placed)
        doc.slaves[0].modules.push_back(command(p.func, 0, p.length, p.gate));
    return doc;
}

struct ProposalCase {
    const char* name;
    std::vector<Placed> commands;
    int lowerBound;
    int area;
    int expected;
};

class ProposalTest : public ::testing::TestWithParam<ProposalCase> {};

TEST_P(ProposalTest, ProposesExpectedAddress) {
    const auto& c = GetParam();
    auto doc = withCommands(c.commands);
    EXPECT_EQ(editing::proposeGatewayAddress(doc, c.lowerBound, c.area), c.expected);
}

const char* kRead0 = "读0区 01H";
const char* kWrite0 = "写0区 0FH 写多线圈";
const char* kRead1 = "读1区 02H";
const char* kRead3 = "读3区 04H";
const char* kRead4 = "读4区 03H";
const char* kWrite4 = "写4区 10H 写多字";

INSTANTIATE_TEST_SUITE_P(
    Cases, ProposalTest,
    ::testing::Values(
        ProposalCase{"EmptyArea0", {}, 0, 0, 0}, ProposalCase{"EmptyArea1", {}, 0, 1, 0},
        ProposalCase{"EmptyArea3", {}, 0, 3, 0}, ProposalCase{"EmptyArea4", {}, 0, 4, 0},
        // After a command at 10 of length 5 the search starts at 15, the
        // area's next gateway address.
        ProposalCase{"AfterCommand", {{kRead4, 10, 5}}, 15, 4, 15},
        ProposalCase{"AfterCommandInsideAnother", {{kRead4, 12, 8}, {kRead4, 10, 5}}, 15, 4, 20},
        ProposalCase{"AfterCommandLowerBoundZero", {{kRead4, 10, 5}}, 0, 4, 15},
        // 15 lies inside another command: step upward to its end.
        ProposalCase{"StepsOverOccupied", {{kRead4, 10, 5}, {kRead4, 14, 6}}, 14, 4, 20},
        ProposalCase{"StepsOneAtATime", {{kRead4, 14, 6}, {kRead4, 10, 5}}, 10, 4, 20},
        // The last command visited wins, not the largest address.
        ProposalCase{"LastVisitedWins", {{kRead3, 100, 10}, {kRead3, 20, 5}}, 0, 3, 25},
        // Commands below the lower bound do not move the start.
        ProposalCase{"BelowLowerBoundIgnored", {{kRead3, 100, 10}, {kRead3, 5, 5}}, 50, 3, 110},
        ProposalCase{"NothingAboveBoundStartsAtBound", {{kRead3, 5, 5}}, 50, 3, 50},
        ProposalCase{"BoundAtTopWraps", {{kRead0, 8180, 12}}, 8192, 0, 0},
        // Only the candidate itself is tested, not the range a command needs.
        ProposalCase{"SingleCandidateTest", {{kRead4, 12, 8}, {kRead4, 0, 10}}, 0, 4, 10},
        // Wraps: 8192 in bit areas, 4000 in word areas.
        ProposalCase{"WrapBitArea", {{kRead0, 8180, 12}}, 0, 0, 0},
        ProposalCase{"WrapBitAreaOccupiedZero", {{kRead0, 0, 3}, {kRead0, 8180, 12}}, 0, 0, 3},
        ProposalCase{"WrapWordArea", {{kRead3, 3990, 10}}, 0, 3, 0},
        ProposalCase{
            "StepAcrossTopOfWordArea", {{kRead4, 0, 2}, {kRead4, 3998, 2}, {kRead4, 3990, 9}}, 0, 4, 2},
        // A range reaching beyond the address space starts over at 0.
        ProposalCase{"CandidateBeyondSpace", {{kRead0, 8191, 2000}}, 0, 0, 0},
        // Reads and writes of area 0 share the area; other areas never collide.
        ProposalCase{"Area0ReadsAndWritesShare", {{kRead0, 0, 8}, {kWrite0, 8, 4}}, 0, 0, 12},
        ProposalCase{"Area4ReadsAndWritesShare", {{kWrite4, 0, 8}}, 0, 4, 8},
        ProposalCase{"OtherAreaIgnored", {{kRead0, 0, 100}}, 0, 1, 0},
        ProposalCase{"Area1", {{kRead1, 0, 16}}, 0, 1, 16},
        // One address left at the very top: reached by stepping.
        ProposalCase{"LastFreeAddress", {{kRead3, 0, 3999}}, 0, 3, 3999},
        // Full areas have no proposal.
        ProposalCase{"FullWordArea", {{kRead3, 0, 4000}}, 0, 3, -1},
        ProposalCase{"FullBitArea", {{kRead0, 0, 4096}, {kWrite0, 4096, 4096}}, 0, 0, -1},
        ProposalCase{"UnknownArea", {}, 0, 2, -1}),
    [](const auto& info) { return std::string(info.param.name); });

struct RangeCase {
    const char* name;
    std::vector<Placed> commands;
    int lowerBound;
    int area;
    int length;
    int expected;
};

class RangeProposalTest : public ::testing::TestWithParam<RangeCase> {};

TEST_P(RangeProposalTest, ProposesFreeRange) {
    const auto& c = GetParam();
    auto doc = withCommands(c.commands);
    EXPECT_EQ(editing::proposeGatewayRange(doc, c.lowerBound, c.area, c.length), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RangeProposalTest,
    ::testing::Values(RangeCase{"Empty", {}, 0, 4, 10, 0},
                      RangeCase{"FitsInGap", {{kRead4, 12, 8}, {kRead4, 0, 10}}, 0, 4, 2, 10},
                      RangeCase{"GapTooSmall", {{kRead4, 12, 8}, {kRead4, 0, 10}}, 0, 4, 5, 20},
                      RangeCase{"WrapsToLowGap", {{kRead3, 5, 3991}}, 0, 3, 5, 0},
                      RangeCase{"FitsAtTop", {{kRead3, 5, 3990}}, 0, 3, 5, 3995},
                      RangeCase{"NoRoom", {{kRead3, 2, 3996}}, 0, 3, 3, -1}),
    [](const auto& info) { return std::string(info.param.name); });

// The proposal is a pure function of the project: asking twice answers the
// same and changes nothing.
TEST(ProposalTest, LeavesProjectUnchanged) {
    auto doc = withCommands({{kRead4, 10, 5}, {kRead4, 15, 5}});
    auto before = doc.slaves;
    EXPECT_EQ(editing::proposeGatewayAddress(doc, 0, 4), 20);
    EXPECT_EQ(editing::proposeGatewayAddress(doc, 0, 4), 20);
    EXPECT_EQ(doc.slaves, before);
}

// Commands of every slave count, in project order.
TEST(ProposalTest, VisitsAllSlavesInOrder) {
    auto doc = withCommands({{kRead3, 40, 4}});
    vantor::testing::addTestSlave(doc, "COM1", 2);
    doc.slaves[1].modules.push_back(command(kRead3, 0, 6, 10));
    // Last visited is slave 2's command (ends at 16).
    EXPECT_EQ(editing::proposeGatewayAddress(doc, 0, 3), 16);
    // Slave 1's command blocks a candidate inside it.
    doc.slaves[1].modules[0].Gate_Add = 30;
    doc.slaves[1].modules[0].Length = 12; // ends at 42, inside 40..43
    EXPECT_EQ(editing::proposeGatewayAddress(doc, 0, 3), 44);
}

} // namespace
