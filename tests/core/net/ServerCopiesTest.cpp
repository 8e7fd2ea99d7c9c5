#include "CopiesChecks.h"
#include "NetFixtures.h"

#include "net/NetProjectEditor.h"
#include "net/NetServerCopies.h"

#include <gtest/gtest.h>

namespace vantor::net {
namespace {

using testing::command;
using testing::server;

// The original 192.168.0.10:502 unit 1 (a word read and a coil write),
// 192.168.0.100:502 unit 1, and 192.168.0.10:502 unit 9.
CVantorNetDoc original() {
    auto doc = testing::project("NXE-485-ZRTU2");
    doc.slaves = {server("192.168.0.10", 502, 1), server("192.168.0.100", 502, 1),
                  server("192.168.0.10", 502, 9)};
    doc.slaves[0].nodes[0].modules = {command("读4区 03H", 0, 10, 0),
                                      command("写0区 0FH 写多线圈", 0, 8, 0, 1)};
    return doc;
}

struct NetCopiesCase {
    const char* name;
    CopyStep by;
    int count;
    int step;
    std::vector<std::string> endpoints; // "IP unit" of the copies; empty when refused
    std::string message;
    void (*setup)(CVantorNetDoc&) = nullptr;
};

class ServerCopiesTest : public ::testing::TestWithParam<NetCopiesCase> {};

TEST_P(ServerCopiesTest, AllOrNothing) {
    const auto& c = GetParam();
    auto doc = original();
    if (c.setup)
        c.setup(doc);
    const auto before = doc;
    RecordingSink sink;
    const auto out = makeServerCopies(doc, 0, {c.count, c.step}, c.by, sink);
    if (!c.message.empty())
        return vantor::testing::expectRefusedAlone(out.made, sink, c.message, doc, before);
    ASSERT_TRUE(out.made) << (sink.messages.empty() ? "" : sink.messages[0].text);
    std::vector<std::string> endpoints;
    for (int s : out.slaves) {
        const CSlave& copy = doc.slaves[static_cast<std::size_t>(s)];
        endpoints.push_back(copy.ipadd + " " + std::to_string(copy.nodes.at(0).address));
        EXPECT_EQ(copy.port, 502);
        EXPECT_EQ(copy.name, doc.slaves[0].name);
        EXPECT_EQ(copy.commandCount(), doc.slaves[0].commandCount());
    }
    EXPECT_EQ(endpoints, c.endpoints);
    EXPECT_EQ(doc.currentSelect, CVantorNetDoc::slaveSelection(out.slaves.back()));
    vantor::testing::expectOwnRanges(netProjectCommands(doc), areaEnd);
}

std::vector<std::string> ips(int from, int count, int step, int unit = 1) {
    std::vector<std::string> out;
    for (int k = 1; k <= count; ++k)
        out.push_back("192.168.0." + std::to_string(from + k * step) + " " + std::to_string(unit));
    return out;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ServerCopiesTest,
    ::testing::Values(
        NetCopiesCase{"IpStepFive", CopyStep::Ip, 2, 5, ips(10, 2, 5), ""},
        NetCopiesCase{"IpLastPart255", CopyStep::Ip, 1, 245, ips(10, 1, 245), ""},
        NetCopiesCase{"IpPastTheLastPart", CopyStep::Ip, 1, 246, {}, "IP地址格式错误"},
        // The second copy would be 192.168.0.100 unit 1.
        NetCopiesCase{"IpCollides", CopyStep::Ip, 2, 45, {}, "192.168.0.100:502 MOD:1 已经存在"},
        NetCopiesCase{"UnitStepOne", CopyStep::Unit, 2, 1, {"192.168.0.10 2", "192.168.0.10 3"}, ""},
        NetCopiesCase{"UnitCollides", CopyStep::Unit, 2, 4, {}, "192.168.0.10:502 MOD:9 已经存在"},
        NetCopiesCase{"LastUnit", CopyStep::Unit, 1, 246, {"192.168.0.10 247"}, ""},
        NetCopiesCase{"UnitPast247", CopyStep::Unit, 1, 247, {}, "从站MOD地址添入一个1和247之间的整数"},
        // Three servers and 28 copies are the 31 a project holds.
        NetCopiesCase{"FillsTheProject", CopyStep::Ip, 28, 1, ips(10, 28, 1), ""},
        NetCopiesCase{"OverfillsTheProject", CopyStep::Ip, 29, 1, {}, "最多添加31个站点"},
        // 1022 commands: the first copy reaches 1024, the second has no room.
        NetCopiesCase{"CommandLimit",
                      CopyStep::Ip,
                      2,
                      1,
                      {},
                      "模块数超范围，最大模块数为1024",
                      [](CVantorNetDoc& d) {
                          for (int i = 0; i < 1020; ++i)
                              d.slaves[1].nodes[0].modules.push_back(command("读3区 04H", i, 1, i));
                      }},
        NetCopiesCase{
            "NoFreeGatewayRange",
            CopyStep::Ip,
            1,
            1,
            {},
            "没有可用的网关地址",
            [](CVantorNetDoc& d) { d.slaves[1].nodes[0].modules = {command("读0区 01H", 0, 8184, 8)}; }}),
    [](const auto& info) { return std::string(info.param.name); });

// A server of a stored file may carry several units: each gets its commands
// back on fresh ranges, and unit stepping moves every unit.
TEST(ServerCopiesTest, EveryNodeIsCopied) {
    auto doc = original();
    doc.slaves[0].nodes.push_back({20, {command("读3区 04H", 0, 4, 0)}});
    doc.nextGateAddress = {8, 0, 4, 10};
    RecordingSink sink;
    ASSERT_TRUE(makeServerCopies(doc, 0, {1, 3}, CopyStep::Unit, sink).made);
    const CSlave& copy = doc.slaves.back();
    ASSERT_EQ(copy.nodes.size(), 2u);
    EXPECT_EQ(copy.nodes[0].address, 4);
    EXPECT_EQ(copy.nodes[1].address, 23);
    EXPECT_EQ(copy.nodes[0].modules[0].Gate_Add, 10);
    EXPECT_EQ(copy.nodes[0].modules[1].Gate_Add, 8);
    EXPECT_EQ(copy.nodes[0].modules[1].editSend, 1);
    EXPECT_EQ(copy.nodes[1].modules[0].Gate_Add, 4);
    EXPECT_EQ(doc.nextGateAddress, (std::array<int, 4>{16, 0, 8, 20}));
    EXPECT_EQ(copy.x, doc.slaves[2].x + 120);
    EXPECT_TRUE(doc.modified);
}

} // namespace
} // namespace vantor::net
