#include "net/CVantorNetDoc.h"
#include "net/NetCatalogue.h"

#include <gtest/gtest.h>

namespace vantor::net {
namespace {

TEST(NetModel, NewProjectValues) {
    CVantorNetDoc doc;
    doc.bus = {1, 2, 3};
    doc.com1.baud = 6;
    doc.com2.address = 99;
    doc.slaves.push_back({});
    doc.masters.push_back({});
    doc.nextGateAddress = {1, 2, 3, 4};
    doc.rev_allow = 0;
    doc.insert_add = 7;
    doc.GW_work_mode = 1;
    doc.isDataModifySendEnable = 1;
    doc.currentSelect = 5;
    doc.NewDocument();

    EXPECT_EQ(doc.bus, (CBus{150, 150, 400}));
    EXPECT_EQ(doc.com1, (CCom{1, 3, 2, 0, 17}));
    EXPECT_EQ(doc.com2, (CCom{2, 3, 2, 0, 18}));
    EXPECT_EQ(doc.rev_allow, 1);
    EXPECT_EQ(doc.insert_add, 1);
    EXPECT_EQ(doc.currentSelect, 0);
    EXPECT_EQ(doc.insert_slave_flag, 0);
    EXPECT_EQ(doc.test, 0);
    EXPECT_EQ(doc.isDataModifySendEnable, 0);
    EXPECT_EQ(doc.GW_work_mode, 0);
    EXPECT_TRUE(doc.slaves.empty());
    EXPECT_TRUE(doc.masters.empty());
    EXPECT_EQ(doc.nextGateAddress, (std::array<int, 4>{0, 0, 0, 0}));
}

TEST(NetModel, SelectionIsRangeChecked) {
    CVantorNetDoc doc;
    doc.slaves.resize(2);
    struct Case {
        int select;
        int slave;
    };
    for (const Case c : {Case{0, -1}, Case{1, -1}, Case{2, -1}, Case{3, 0}, Case{4, 1}, Case{5, -1},
                         Case{-7, -1}, Case{1 << 30, -1}}) {
        doc.currentSelect = c.select;
        EXPECT_EQ(doc.selectedSlave(), c.slave) << c.select;
    }
}

TEST(NetModel, CommandsCountedOverEveryNode) {
    CVantorNetDoc doc;
    doc.slaves.resize(2);
    doc.slaves[0].nodes.resize(2);
    doc.slaves[0].nodes[0].modules.resize(3);
    doc.slaves[0].nodes[1].modules.resize(2);
    doc.slaves[1].nodes.resize(1);
    doc.slaves[1].nodes[0].modules.resize(1);
    EXPECT_EQ(doc.commandCount(), 6);
}

TEST(NetCatalogue, ModelsAndTheirRules) {
    struct Case {
        const char* name;
        bool twoPorts, profibus, workMode;
    };
    const Case cases[] = {
        {"NXE-485-ZRTU2", true, false, false},  {"KX-P1R0-1.0", false, false, false},
        {"NXE-485-ZRTU2E", true, false, false}, {"KX-P1-1.0", false, false, false},
        {"QB-H-NET2.0", false, true, false},    {"LNK-P1-1.0", false, false, true},
    };
    ASSERT_EQ(netGatewayModels().size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        EXPECT_EQ(netGatewayModels()[i].name, c.name);
        EXPECT_EQ(isTwoPortModel(c.name), c.twoPorts) << c.name;
        EXPECT_EQ(isProfibusModel(c.name), c.profibus) << c.name;
        EXPECT_EQ(hasWorkMode(c.name), c.workMode) << c.name;
    }
    EXPECT_EQ(findNetGatewayModel("TRX-H-QMB6"), nullptr);
    EXPECT_FALSE(isTwoPortModel(""));
}

TEST(NetCatalogue, FunctionTable) {
    struct Case {
        const char* label;
        int function, area, readWrite, maxLength;
    };
    const Case cases[] = {
        {"读0区 01H", 1, 0, 0, 2000},       {"读1区 02H", 2, 1, 0, 2000},
        {"读3区 04H", 4, 3, 0, 125},        {"读4区 03H", 3, 4, 0, 125},
        {"写0区 05H 写单线圈", 5, 0, 2, 1}, {"写0区 0FH 写多线圈", 15, 0, 1, 1968},
        {"写4区 06H 写单字", 6, 4, 2, 1},   {"写4区 10H 写多字", 16, 4, 1, 123},
    };
    for (const auto& c : cases) {
        const auto* k = findFunction(c.label);
        ASSERT_NE(k, nullptr) << c.label;
        EXPECT_EQ(k->modbusFunction, c.function);
        EXPECT_EQ(k->area, c.area);
        EXPECT_EQ(k->readWrite, c.readWrite);
        EXPECT_EQ(k->maxLength, c.maxLength);
    }
    EXPECT_EQ(findFunction("读2区 01H"), nullptr);
    EXPECT_EQ(areaEnd(0), 8192);
    EXPECT_EQ(areaEnd(1), 8192);
    EXPECT_EQ(areaEnd(3), 2000);
    EXPECT_EQ(areaEnd(4), 2000);
    EXPECT_EQ(areaEnd(2), 0);
}

TEST(NetCatalogue, SerialLists) {
    EXPECT_EQ(listEntry(kBaudList, 0), "2400");
    EXPECT_EQ(listEntry(kBaudList, 6), "115.2k");
    EXPECT_EQ(listEntry(kBaudList, 7), "?(7)");
    EXPECT_EQ(listEntry(kParityList, 2), "偶校验");
    EXPECT_EQ(listEntry(kStopList, 1), "2位");
    EXPECT_EQ(listEntry(kStopList, -1), "?(-1)");
}

} // namespace
} // namespace vantor::net
