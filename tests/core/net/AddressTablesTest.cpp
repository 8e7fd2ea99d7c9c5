#include "NetFixtures.h"

#include "net/NetAddressTables.h"

#include <gtest/gtest.h>

namespace vantor::net {
namespace {

using testing::command;
using testing::project;
using testing::server;

TEST(NetAddressTables, ReferenceNotation) {
    struct Case {
        int area, address;
        const char* text;
    };
    const Case cases[] = {
        {1, 5, "10005"},    {1, 12000, "112000"}, {0, 7, "00007"},      {0, 12000, "12000"}, {3, 0, "30000"},
        {3, 9999, "39999"}, {3, 10000, "310000"}, {4, 65535, "465535"}, {4, 123, "40123"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(netReference(c.area, c.address), c.text) << c.area << " " << c.address;
}

TEST(NetAddressTables, DpAddressesWalkEachImage) {
    CVantorNetDoc doc = project("QB-H-NET2.0");
    doc.slaves.push_back(server("192.168.0.5", 502, 7));
    doc.slaves.push_back(server("192.168.0.6", 502, 12));
    auto& first = doc.slaves[0].nodes[0].modules;
    first.push_back(command("读4区 03H", 100, 10, 0));
    first.push_back(command("写4区 10H 写多字", 0, 3, 10));
    first.push_back(command("读0区 01H", 5, 9, 0));
    doc.slaves[1].nodes[0].modules.push_back(command("写0区 05H 写单线圈", 8, 1, 30));
    doc.slaves[1].nodes[0].modules.push_back(command("读3区 04H", 12000, 4, 0));

    const DpTable t = buildDpTable(doc);
    const std::vector<NetMapRow> input{
        {"0", "0", "读4区 03H", "0010", "192.168.0.5", "007", "40100"},
        {"1", "20", "读0区 01H", "0009", "192.168.0.5", "007", "00005"},
        {"2", "22", "读3区 04H", "0004", "192.168.0.6", "012", "312000"},
    };
    const std::vector<NetMapRow> output{
        {"0", "0", "写4区 10H 写多字", "0003", "192.168.0.5", "007", "40000"},
        {"1", "6", "写0区 05H 写单线圈", "0001", "192.168.0.6", "012", "00008"},
    };
    EXPECT_EQ(t.input, input);
    EXPECT_EQ(t.output, output);
}

TEST(NetAddressTables, EmptyProjectShowsEmptyLists) {
    CVantorNetDoc doc = project("QB-H-NET2.0");
    doc.slaves.push_back(server("1.1.1.1", 502, 1));
    EXPECT_TRUE(showsDpTable(doc));
    const DpTable t = buildDpTable(doc);
    EXPECT_TRUE(t.input.empty());
    EXPECT_TRUE(t.output.empty());
    for (const auto& list : buildNetAddressMap(doc))
        EXPECT_TRUE(list.empty());
    EXPECT_FALSE(showsDpTable(project("KX-P1-1.0")));
    EXPECT_FALSE(showsDpTable(project("")));
}

TEST(NetAddressTables, MapOrder) {
    CVantorNetDoc doc = project("KX-P1-1.0");
    // A server with two nodes: the unit with the lower address comes first.
    auto a = server("10.0.0.1", 502, 9);
    a.nodes[0].modules = {command("读4区 03H", 50, 2, 10), command("写4区 06H 写单字", 1, 1, 30),
                          command("读4区 03H", 20, 3, 12)};
    a.nodes.push_back({2, {command("读4区 03H", 7, 1, 20), command("读0区 01H", 0, 4, 100)}});
    auto b = server("10.0.0.2", 503, 1);
    b.nodes[0].modules = {command("写4区 10H 写多字", 0, 2, 0), command("读4区 03H", 0, 1, 40)};
    doc.slaves = {a, b};

    const auto map = buildNetAddressMap(doc);
    const std::vector<NetMapRow> area0{{"0", "00100", "读", "0004", "10.0.0.1", "002", "00000"}};
    const std::vector<NetMapRow> area4{
        {"0", "40020", "读", "0001", "10.0.0.1", "002", "40007"},
        {"1", "40012", "读", "0003", "10.0.0.1", "009", "40020"},
        {"2", "40010", "读", "0002", "10.0.0.1", "009", "40050"},
        {"3", "40040", "读", "0001", "10.0.0.2", "001", "40000"},
        {"4", "40030", "写", "0001", "10.0.0.1", "009", "40001"},
        {"5", "40000", "写", "0002", "10.0.0.2", "001", "40000"},
    };
    EXPECT_EQ(map[0], area0);
    EXPECT_TRUE(map[1].empty());
    EXPECT_TRUE(map[2].empty());
    EXPECT_EQ(map[3], area4);
    EXPECT_EQ(netMapColumnTitles(0)[3], "长度(bit)");
    EXPECT_EQ(netMapColumnTitles(3)[3], "长度(word)");
    EXPECT_EQ(netMapColumnTitles(3)[5], "站地址");
}

TEST(NetAddressTables, GatewayAddressCorrection) {
    CVantorNetDoc doc = project("KX-P1-1.0");
    doc.slaves.push_back(server("1.1.1.1", 502, 1));
    auto& modules = doc.slaves[0].nodes[0].modules;
    modules = {command("读4区 03H", 0, 10, 0), command("写4区 10H 写多字", 0, 5, 100),
               command("读1区 02H", 0, 3, 17)};
    doc.slaves.push_back(server("1.1.1.2", 502, 1));
    doc.slaves[1].nodes.push_back({2, {command("读4区 03H", 0, 4, 40)}});
    doc.nextGateAddress = {99, 99, 99, 99};

    correctGatewayAddresses(doc);
    EXPECT_EQ(doc.nextGateAddress, (std::array<int, 4>{0, 20, 0, 105}));

    // Deleting the highest command of area 4 lowers the next proposal.
    modules.erase(modules.begin() + 1);
    correctGatewayAddresses(doc);
    EXPECT_EQ(doc.nextGateAddress, (std::array<int, 4>{0, 20, 0, 44}));
}

} // namespace
} // namespace vantor::net
