#include "CopiesChecks.h"
#include "NetFixtures.h"

#include "net/NetProjectEditor.h"
#include "net/NetServerCopies.h"

#include <gtest/gtest.h>

namespace vantor::net {
namespace {

using testing::command;
using testing::server;

struct NetCopiesCase {
    const char* name;
    CopyStep by;
    int count;
    int step;
    std::string message; // the refusal; empty when the copies are made
    void (*setup)(CVantorNetDoc&) = nullptr;
};

class ServerCopiesTest : public ::testing::TestWithParam<NetCopiesCase> {};

// The original 192.168.0.10:502 unit 1 (a word read and a coil write; a
// second unit where a file gave it one), 192.168.0.100:502 unit 1 and
// 192.168.0.10:502 unit 9.
TEST_P(ServerCopiesTest, AllOrNothing) {
    const auto& c = GetParam();
    auto doc = testing::project("NXE-485-ZRTU2");
    doc.slaves = {server("192.168.0.10", 502, 1), server("192.168.0.100", 502, 1),
                  server("192.168.0.10", 502, 9)};
    doc.slaves[0].nodes[0].modules = {command("读4区 03H", 0, 10, 0),
                                      command("写0区 0FH 写多线圈", 0, 8, 0, 1)};
    if (c.setup)
        c.setup(doc);
    const auto before = doc;
    RecordingSink sink;
    const auto out = makeServerCopies(doc, 0, {c.count, c.step}, c.by, sink);
    if (!c.message.empty())
        return vantor::testing::expectRefusedAlone(out.made, sink, c.message, doc, before);
    ASSERT_TRUE(out.made) << (sink.messages.empty() ? "" : sink.messages[0].text);
    ASSERT_EQ(out.slaves.size(), static_cast<std::size_t>(c.count));
    const CSlave& original = doc.slaves[0];
    for (int k = 1; k <= c.count; ++k) {
        const CSlave& copy =
            doc.slaves[static_cast<std::size_t>(out.slaves[static_cast<std::size_t>(k - 1)])];
        const int ipStep = c.by == CopyStep::Ip ? k * c.step : 0,
                  unitStep = c.by == CopyStep::Unit ? k * c.step : 0;
        EXPECT_EQ(copy.ipadd, "192.168.0." + std::to_string(10 + ipStep));
        ASSERT_EQ(copy.nodes.size(), original.nodes.size());
        for (std::size_t n = 0; n < copy.nodes.size(); ++n) {
            EXPECT_EQ(copy.nodes[n].address, original.nodes[n].address + unitStep);
            EXPECT_EQ(copy.nodes[n].modules.size(), original.nodes[n].modules.size());
        }
    }
    EXPECT_EQ(doc.currentSelect, CVantorNetDoc::slaveSelection(out.slaves.back()));
    vantor::testing::expectOwnRanges(netProjectCommands(doc), areaEnd);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ServerCopiesTest,
    ::testing::Values(NetCopiesCase{"IpStepFive", CopyStep::Ip, 2, 5, ""},
                      NetCopiesCase{"IpLastPart255", CopyStep::Ip, 1, 245, ""},
                      NetCopiesCase{"IpPastTheLastPart", CopyStep::Ip, 1, 246, "IP地址格式错误"},
                      // The second copy would be 192.168.0.100 unit 1.
                      NetCopiesCase{"IpCollides", CopyStep::Ip, 2, 45, "192.168.0.100:502 MOD:1 已经存在"},
                      NetCopiesCase{"UnitCollides", CopyStep::Unit, 2, 4, "192.168.0.10:502 MOD:9 已经存在"},
                      NetCopiesCase{"LastUnit", CopyStep::Unit, 1, 246, ""},
                      NetCopiesCase{"UnitPast247", CopyStep::Unit, 1, 247,
                                    "从站MOD地址添入一个1和247之间的整数"},
                      // Every unit of the server moves and takes its commands along.
                      NetCopiesCase{"EveryNode", CopyStep::Unit, 2, 1, "",
                                    [](CVantorNetDoc& d) {
                                        d.slaves[0].nodes.push_back({20, {command("读3区 04H", 0, 4, 0)}});
                                    }},
                      // Three servers and 28 copies are the 31 a project holds.
                      NetCopiesCase{"FillsTheProject", CopyStep::Ip, 28, 1, ""},
                      NetCopiesCase{"OverfillsTheProject", CopyStep::Ip, 29, 1, "最多添加31个站点"},
                      // 1022 commands: the first copy reaches 1024, the second has no room.
                      NetCopiesCase{"CommandLimit", CopyStep::Ip, 2, 1, "模块数超范围，最大模块数为1024",
                                    [](CVantorNetDoc& d) {
                                        for (int i = 0; i < 1020; ++i)
                                            d.slaves[1].nodes[0].modules.push_back(
                                                command("读3区 04H", i, 1, i));
                                    }},
                      NetCopiesCase{"NoFreeGatewayRange", CopyStep::Ip, 1, 1, "没有可用的网关地址",
                                    [](CVantorNetDoc& d) {
                                        d.slaves[1].nodes[0].modules = {command("读0区 01H", 0, 8184, 8)};
                                    }}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace vantor::net
