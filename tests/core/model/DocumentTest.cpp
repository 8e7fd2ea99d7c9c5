#include "model/CVantorDoc.h"

#include <gtest/gtest.h>

using namespace vantor::model;

namespace {
CVantorDoc withLines(std::initializer_list<const char*> names) {
    CVantorDoc doc;
    doc.masters.push_back(CMaster{"KX-P6R0-1.0", 35, 35, ""});
    int i = 0;
    for (const char* n : names) {
        CCOM c;
        c.COMName = n;
        c.num_com = i;
        c.x = 260;
        c.y = 80 + 150 * i++;
        doc.coms.push_back(c);
    }
    return doc;
}
} // namespace

TEST(Selection, OneIndexSpace) {
    CVantorDoc doc = withLines({"COM1", "COM2"});
    doc.slaves.resize(3);
    struct Case {
        int item, slave, master, com;
    } cases[] = {
        {-1, -1, -1, -1}, {0, 0, -1, -1}, {2, 2, -1, -1},  {3, -1, 0, -1},
        {4, -1, -1, 0},   {5, -1, -1, 1}, {6, -1, -1, -1}, {100, -1, -1, -1},
    };
    for (const auto& c : cases) {
        doc.selectedItem = c.item;
        EXPECT_EQ(doc.selectedSlave(), c.slave) << c.item;
        EXPECT_EQ(doc.selectedMaster(), c.master) << c.item;
        EXPECT_EQ(doc.selectedCom(), c.com) << c.item;
    }
    EXPECT_EQ(doc.masterItem(0), 3);
    EXPECT_EQ(doc.comItem(1), 5);
}

TEST(Lookups, SlavesOfLineAndLineOfSlave) {
    CVantorDoc doc = withLines({"COM1", "COM3"});
    for (const char* n : {"COM3", "COM1", "COM3", "COM9"}) {
        CSlave s;
        s.com_name = n;
        doc.slaves.push_back(s);
    }
    EXPECT_EQ(doc.slavesOfLine(0), (std::vector<int>{1}));
    EXPECT_EQ(doc.slavesOfLine(1), (std::vector<int>{0, 2}));
    EXPECT_EQ(doc.lineOfSlave(2), 1);
    EXPECT_EQ(doc.lineOfSlave(3), -1);
    EXPECT_THROW(doc.lineOfSlave(4), std::out_of_range);
}

TEST(SlaveAddressProposal, PerAddressingMode) {
    CVantorDoc doc = withLines({"COM1", "COM2"});
    EXPECT_EQ(doc.proposeSlaveAddress(0), 1);
    doc.coms[0].addArea[1] = 1;
    doc.coms[0].addArea[2] = 1;
    doc.slaveAddrFlag[1] = 1;
    EXPECT_EQ(doc.proposeSlaveAddress(0), 3); // data-area addressing: the line's own table
    EXPECT_EQ(doc.proposeSlaveAddress(1), 1);
    doc.addType = 1;
    EXPECT_EQ(doc.proposeSlaveAddress(1), 2); // remote-slave addressing: project-wide table
    // Entry 0 is never proposed, and a full table offers nothing.
    doc.addType = 0;
    doc.coms[1].addArea.fill(1);
    doc.coms[1].addArea[0] = 0;
    EXPECT_EQ(doc.proposeSlaveAddress(1), -1);
    doc.coms[1].addArea[255] = 0;
    EXPECT_EQ(doc.proposeSlaveAddress(1), 255);
}

TEST(Placement, GrowsLineAndCountsSlave) {
    CVantorDoc doc = withLines({"COM1", "COM2", "COM3"});
    // Empty line: x = line x + 50; the line (260..520) holds 310+80.
    auto [x1, y1] = doc.placeNewSlave(2);
    EXPECT_EQ(x1, 310);
    EXPECT_EQ(y1, 380 + 35);
    EXPECT_EQ(doc.coms[2].com_length, 260);
    EXPECT_EQ(doc.coms[2].slave_num, 1);
    CSlave s;
    s.com_name = "COM3";
    s.x = x1;
    doc.slaves.push_back(s);
    // Next: 310 + 80 = 390; 390 + 80 = 470 still inside 520.
    auto [x2, y2] = doc.placeNewSlave(2);
    EXPECT_EQ(x2, 390);
    EXPECT_EQ(doc.coms[2].com_length, 260);
    s.x = x2;
    doc.slaves.push_back(s);
    // Then 470: 550 > 520, the line grows to 470 - 260 + 80 = 290.
    auto [x3, y3] = doc.placeNewSlave(2);
    EXPECT_EQ(x3, 470);
    EXPECT_EQ(doc.coms[2].com_length, 290);
    EXPECT_EQ(doc.coms[2].slave_num, 3);
    EXPECT_EQ(doc.coms[0].slave_num, 0);
    (void)y2;
    (void)y3;
}

TEST(Model, EipKeysInGroupOrder) {
    const auto& keys = eipValueKeys();
    EXPECT_EQ(keys[0], "EIP_COM1_state_enable");
    EXPECT_EQ(keys[5], "EIP_COM6_state_enable");
    EXPECT_EQ(keys[6], "EIP_COM1_state_start_addr");
    EXPECT_EQ(keys[17], "EIP_COM6_state_start_len");
    EXPECT_EQ(keys[18], "EIP_COM1_ctrl_enable");
    EXPECT_EQ(keys[35], "EIP_COM6_ctrl_start_len");
}
