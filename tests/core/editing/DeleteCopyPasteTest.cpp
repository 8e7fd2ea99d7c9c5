#include "editing/GatewayAddressPlanner.h"
#include "editing/ProjectEditor.h"

#include "EditingFixtures.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vantor;
using vantor::testing::addTestSlave;
using vantor::testing::command;

namespace {

const std::vector<std::string> kAsked{"确实要删除吗？"};

// KX-P6R0-1.0 with COM1 (slaves 1, 2) and COM2 (slaves 1, 5).
model::CVantorDoc twoLines() {
    auto doc = vantor::testing::project("KX-P6R0-1.0", {"COM1", "COM2"});
    addTestSlave(doc, "COM1", 1);
    addTestSlave(doc, "COM1", 2);
    addTestSlave(doc, "COM2", 1);
    addTestSlave(doc, "COM2", 5);
    return doc;
}

struct DeleteCase {
    const char* name;
    int selectedItem; // in a twoLines() project: slaves 0..3, master 4, lines 5, 6
    const char* caption;
    std::vector<std::string> slavesLeft; // com_name:address
    std::vector<std::string> linesLeft;
    std::vector<int> flagsSet; // slaveAddrFlag entries still set
};

class DeleteTest : public ::testing::TestWithParam<DeleteCase> {};

std::vector<std::string> slaveKeys(const model::CVantorDoc& doc) {
    std::vector<std::string> keys;
    for (const auto& s : doc.slaves)
        keys.push_back(s.com_name + ":" + std::to_string(s.address));
    return keys;
}

std::vector<int> flagsSet(const model::CVantorDoc& doc) {
    std::vector<int> set;
    for (int a = 0; a < 256; ++a)
        if (doc.slaveAddrFlag[static_cast<std::size_t>(a)])
            set.push_back(a);
    return set;
}

TEST_P(DeleteTest, RemovesSelectionAndReleasesAddresses) {
    const auto& c = GetParam();
    auto doc = twoLines();
    doc.selectedItem = c.selectedItem;
    RecordingSink sink;
    ASSERT_TRUE(editing::deleteSelection(doc, sink));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].kind, MessageKind::Question);
    EXPECT_EQ(sink.messages[0].caption, c.caption);
    EXPECT_EQ(sink.messages[0].text, "确实要删除吗？");
    EXPECT_EQ(slaveKeys(doc), c.slavesLeft);
    std::vector<std::string> lines;
    for (const auto& com : doc.coms)
        lines.push_back(com.COMName);
    EXPECT_EQ(lines, c.linesLeft);
    EXPECT_EQ(flagsSet(doc), c.flagsSet);
    EXPECT_EQ(doc.selectedItem, -1);
    // Every remaining line counts and marks exactly its slaves.
    for (const auto& com : doc.coms) {
        int count = 0;
        for (const auto& s : doc.slaves)
            count += s.com_name == com.COMName;
        EXPECT_EQ(com.slave_num, count) << com.COMName;
        for (int a = 0; a < 256; ++a) {
            bool used = false;
            for (const auto& s : doc.slaves)
                used = used || (s.com_name == com.COMName && s.address == a);
            EXPECT_EQ(com.addArea[static_cast<std::size_t>(a)] != 0, used) << com.COMName << " " << a;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DeleteTest,
    ::testing::Values(
        // Address 1 is still used on COM2, so the project-wide entry stays.
        DeleteCase{
            "SlaveSharedAddress", 0, "删除从站", {"COM1:2", "COM2:1", "COM2:5"}, {"COM1", "COM2"}, {1, 2, 5}},
        DeleteCase{
            "SlaveOwnAddress", 3, "删除从站", {"COM1:1", "COM1:2", "COM2:1"}, {"COM1", "COM2"}, {1, 2}},
        // A line takes exactly its own slaves; their addresses are released.
        DeleteCase{"Line", 6, "删除com", {"COM1:1", "COM1:2"}, {"COM1"}, {1, 2}},
        DeleteCase{"OtherLine", 5, "删除com", {"COM2:1", "COM2:5"}, {"COM2"}, {1, 5}},
        DeleteCase{"Gateway", 4, "删除主站", {}, {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DeleteTest, NoKeepsEverythingAndNothingSelectedAsksNothing) {
    auto doc = twoLines();
    auto before = doc.slaves;
    doc.selectedItem = 6;
    RecordingSink sink;
    sink.answers = {false};
    EXPECT_FALSE(editing::deleteSelection(doc, sink));
    EXPECT_EQ(doc.slaves, before);
    EXPECT_EQ(doc.coms.size(), 2u);
    EXPECT_EQ(doc.selectedItem, 6);
    doc.selectedItem = -1;
    sink.messages.clear();
    EXPECT_FALSE(editing::deleteSelection(doc, sink));
    EXPECT_TRUE(sink.messages.empty());
}

TEST(DeleteTest, GatewayKeepsNextGatewayAddresses) {
    auto doc = twoLines();
    doc.nextGateAddress = {5, 6, 7, 8};
    doc.copiedSlave = 2;
    doc.selectedItem = doc.masterItem(0);
    RecordingSink sink;
    editing::deleteSelection(doc, sink);
    EXPECT_FALSE(doc.hasMaster());
    EXPECT_EQ(doc.nextGateAddress, (std::array<int, 4>{5, 6, 7, 8}));
    EXPECT_EQ(doc.copiedSlave, -1);
}

TEST(CopyPasteTest, DeletingTheCopiedSlaveForgetsIt) {
    auto doc = twoLines();
    doc.selectedItem = 1;
    editing::copySelection(doc);
    EXPECT_EQ(doc.copiedSlave, 1);
    RecordingSink sink;
    editing::deleteSelection(doc, sink);
    EXPECT_EQ(doc.copiedSlave, -1);
    doc.selectedItem = doc.comItem(0);
    auto out = editing::paste(doc, sink);
    EXPECT_FALSE(out.pasted);
    EXPECT_EQ(sink.texts(), (std::vector<std::string>{"确实要删除吗？", "请选择从站"}));
}

TEST(CopyPasteTest, CopiedSlaveFollowsEarlierDeletes) {
    auto doc = twoLines();
    doc.slaves[3].modules.push_back(command("读4区 03H", 0, 4, 0));
    doc.selectedItem = 3;
    editing::copySelection(doc);
    doc.selectedItem = 0;
    RecordingSink sink;
    editing::deleteSelection(doc, sink);
    EXPECT_EQ(doc.copiedSlave, 2);
    EXPECT_EQ(doc.slaves[2].address, 5);
}

TEST(CopyPasteTest, CopyWithoutSlaveForgets) {
    auto doc = twoLines();
    doc.copiedSlave = 2;
    doc.selectedItem = doc.comItem(1);
    editing::copySelection(doc);
    EXPECT_EQ(doc.copiedSlave, -1);
}

TEST(CopyPasteTest, PasteCopiesCommandsOntoFreshRanges) {
    auto doc = twoLines();
    doc.slaves[0].space = 4;
    doc.slaves[0].timeout = 70;
    doc.slaves[0].name = "泵";
    doc.slaves[0].modules = {command("读4区 03H", 0, 10, 0), command("写0区 0FH 写多线圈", 3, 8, 0)};
    doc.slaves[0].modules[1].Explain = "阀门";
    doc.slaves[0].modules[1].editSend = 1;
    doc.nextGateAddress = {8, 0, 0, 10};
    doc.selectedItem = 0;
    editing::copySelection(doc);
    doc.selectedItem = doc.comItem(1);
    RecordingSink sink;
    auto out = editing::paste(doc, sink);
    EXPECT_TRUE(sink.messages.empty());
    ASSERT_TRUE(out.pasted);
    EXPECT_EQ(out.commands, 2);
    const auto& s = doc.slaves[static_cast<std::size_t>(out.slave)];
    EXPECT_EQ(s.com_name, "COM2");
    EXPECT_EQ(s.address, 2); // 1 is taken on COM2
    EXPECT_EQ(s.name, "SLAVE");
    EXPECT_EQ(s.space, 4);
    EXPECT_EQ(s.timeout, 70);
    EXPECT_EQ(s.control, 0x81);
    ASSERT_EQ(s.modules.size(), 2u);
    EXPECT_EQ(s.modules[0].Gate_Add, 10);
    EXPECT_EQ(s.modules[1].Gate_Add, 8);
    EXPECT_EQ(s.modules[1].Explain, "阀门");
    EXPECT_EQ(s.modules[1].editSend, 1);
    EXPECT_EQ(s.modules[1].Start_Add, 3);
    EXPECT_EQ(doc.nextGateAddress, (std::array<int, 4>{16, 0, 0, 20}));
    EXPECT_EQ(doc.coms[1].slave_num, 3);
    EXPECT_NE(doc.coms[1].addArea[2], 0);
    EXPECT_NE(doc.slaveAddrFlag[2], 0);
    EXPECT_EQ(doc.lastProposedSlaveAddress, 2);
    EXPECT_EQ(doc.selectedCom(), 1);
    // Pasting changes the copy only.
    EXPECT_EQ(doc.slaves[0].modules[0].Gate_Add, 0);
}

TEST(CopyPasteTest, PasteOntoSelectedSlavesLineInRemoteAddressing) {
    auto doc = twoLines();
    doc.addType = 1;
    doc.slaves[2].modules = {command("读3区 04H", 0, 2, 0)};
    doc.selectedItem = 2;
    editing::copySelection(doc);
    doc.selectedItem = 1; // a slave on COM1
    RecordingSink sink;
    auto out = editing::paste(doc, sink);
    ASSERT_TRUE(out.pasted);
    EXPECT_EQ(doc.slaves[static_cast<std::size_t>(out.slave)].com_name, "COM1");
    EXPECT_EQ(doc.slaves[static_cast<std::size_t>(out.slave)].address, 3); // 1, 2, 5 used somewhere
    // The project-wide table now holds the new address, so a second paste
    // onto another line cannot take it again.
    doc.selectedItem = doc.comItem(1);
    out = editing::paste(doc, sink);
    ASSERT_TRUE(out.pasted);
    EXPECT_EQ(doc.slaves[static_cast<std::size_t>(out.slave)].address, 4);
    EXPECT_TRUE(sink.messages.empty());
}

TEST(CopyPasteTest, PasteWithoutCommandsLeavesProjectAsItWas) {
    auto doc = twoLines();
    doc.selectedItem = 3;
    editing::copySelection(doc);
    doc.selectedItem = doc.comItem(0);
    auto slaves = doc.slaves;
    auto coms = doc.coms;
    auto flags = doc.slaveAddrFlag;
    RecordingSink sink;
    auto out = editing::paste(doc, sink);
    EXPECT_FALSE(out.pasted);
    EXPECT_EQ(doc.slaves, slaves);
    EXPECT_EQ(doc.coms, coms);
    EXPECT_EQ(doc.slaveAddrFlag, flags);
    EXPECT_EQ(doc.selectedItem, -1);
    EXPECT_TRUE(sink.messages.empty());
}

struct PasteRefusalCase {
    const char* name;
    int copied;
    int selectedItem;
    std::vector<std::string> messages;
};

class PasteRefusalTest : public ::testing::TestWithParam<PasteRefusalCase> {};

TEST_P(PasteRefusalTest, ChangesNothing) {
    const auto& c = GetParam();
    auto doc = twoLines();
    doc.slaves[0].modules = {command("读3区 04H", 0, 2, 0)};
    doc.copiedSlave = c.copied;
    doc.selectedItem = c.selectedItem;
    auto slaves = doc.slaves;
    RecordingSink sink;
    EXPECT_FALSE(editing::paste(doc, sink).pasted);
    EXPECT_EQ(sink.texts(), c.messages);
    EXPECT_EQ(doc.slaves, slaves);
}

INSTANTIATE_TEST_SUITE_P(Cases, PasteRefusalTest,
                         ::testing::Values(PasteRefusalCase{"NothingCopied", -1, 5, {"请选择从站"}},
                                           PasteRefusalCase{"CopiedOutOfRange", 9, 5, {"请选择从站"}},
                                           PasteRefusalCase{"NoTarget", 0, 4, {"没有选中的COM线"}},
                                           PasteRefusalCase{"NothingSelected", 0, -1, {"没有选中的COM线"}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CopyPasteTest, PasteAtSlaveLimitAndWithoutFreeAddressRefused) {
    auto doc = vantor::testing::project("KX-P6R0-1.0", {"COM1"});
    for (int a = 1; a <= 31; ++a)
        addTestSlave(doc, "COM1", a);
    doc.slaves[0].modules = {command("读3区 04H", 0, 2, 0)};
    doc.copiedSlave = 0;
    doc.selectedItem = doc.comItem(0);
    RecordingSink sink;
    EXPECT_FALSE(editing::paste(doc, sink).pasted);
    EXPECT_EQ(sink.texts(), (std::vector<std::string>{"每个串口上最多连接31个从站"}));

    auto full = vantor::testing::project("KX-P6R0-1.0", {"COM1"});
    addTestSlave(full, "COM1", 1);
    full.slaves[0].modules = {command("读3区 04H", 0, 2, 0)};
    full.coms[0].addArea.fill(1);
    full.copiedSlave = 0;
    full.selectedItem = full.comItem(0);
    sink.messages.clear();
    EXPECT_FALSE(editing::paste(full, sink).pasted);
    EXPECT_EQ(sink.texts(), (std::vector<std::string>{editing::kNoFreeSlaveAddress}));
    EXPECT_EQ(full.slaves.size(), 1u);
}

TEST(CopyPasteTest, PasteStopsWithoutFreeGatewayAddress) {
    auto doc = twoLines();
    // Bit area 1 is full (the copied slave holds its last four bits): the
    // first command is pasted, the second finds no room and ends the copying.
    doc.slaves[1].modules = {command("读1区 02H", 0, 8188, 0)};
    doc.slaves[0].modules = {command("读4区 03H", 0, 1, 0), command("读1区 02H", 0, 4, 8188),
                             command("读3区 04H", 10, 1, 0)};
    doc.copiedSlave = 0;
    doc.selectedItem = doc.comItem(1);
    RecordingSink sink;
    auto out = editing::paste(doc, sink);
    ASSERT_TRUE(out.pasted);
    EXPECT_EQ(out.commands, 1);
    EXPECT_EQ(sink.texts(), (std::vector<std::string>{"没有可用的网关地址"}));
    EXPECT_EQ(doc.slaves[static_cast<std::size_t>(out.slave)].modules.size(), 1u);
}

TEST(CopyPasteTest, PasteRemovesCommandsFailingTheAreaCheck) {
    auto doc = twoLines();
    // Word area 4 ends at 2000: the proposal at 1995 leaves no room for 10.
    doc.slaves[1].modules = {command("读4区 03H", 0, 5, 1990)};
    doc.slaves[0].modules = {command("读4区 03H", 0, 10, 0), command("读0区 01H", 0, 8, 0)};
    doc.slaves[1].modules[0].Gate_Add = 1990;
    doc.nextGateAddress = {0, 0, 0, 1990};
    doc.copiedSlave = 0;
    doc.selectedItem = doc.comItem(1);
    // Source command at 0 is below the bound, so the proposal is 1995.
    RecordingSink sink;
    auto out = editing::paste(doc, sink);
    ASSERT_TRUE(out.pasted);
    EXPECT_EQ(out.commands, 1);
    EXPECT_EQ(sink.texts(), (std::vector<std::string>{"网关数据区访问超限 0区8192,1区8192,3区2000,4区2000"}));
    const auto& s = doc.slaves[static_cast<std::size_t>(out.slave)];
    ASSERT_EQ(s.modules.size(), 1u);
    EXPECT_EQ(s.modules[0].Func, "读0区 01H");
}

TEST(CopyPasteTest, PasteStopsAtCommandLimit) {
    auto doc = vantor::testing::project("TRX-H-QMB6", {"COM1"});
    addTestSlave(doc, "COM1", 1);
    for (int i = 0; i < 255; ++i)
        doc.slaves[0].modules.push_back(command("读0区 01H", i, 1, i));
    doc.copiedSlave = 0;
    doc.selectedItem = doc.comItem(0);
    RecordingSink sink;
    auto out = editing::paste(doc, sink);
    EXPECT_EQ(out.commands, 1);
    EXPECT_EQ(sink.texts(), (std::vector<std::string>{"模块数超范围，最大模块数为256"}));
    EXPECT_EQ(doc.commandCount(), 256);
}

TEST(CopyPasteTest, EtherNetIpHookRemovesWhatDoesNotFit) {
    auto doc = vantor::testing::project("TRX-H-QMB6", {"COM1"});
    addTestSlave(doc, "COM1", 1);
    doc.slaves[0].modules = {command("读4区 03H", 0, 100, 0), command("读4区 03H", 100, 20, 100)};
    doc.copiedSlave = 0;
    doc.selectedItem = doc.comItem(0);
    int calls = 0;
    editing::EipSizeCheck check = [&](const model::CVantorDoc& d, MessageSink& s) {
        ++calls;
        int words = 0;
        for (const auto& slave : d.slaves)
            for (const auto& m : slave.modules)
                words += m.Length;
        if (words > 200) {
            s.error("错误", "输入超限");
            return false;
        }
        return true;
    };
    RecordingSink sink;
    auto out = editing::paste(doc, sink, check);
    EXPECT_EQ(calls, 2);
    ASSERT_TRUE(out.pasted);
    EXPECT_EQ(out.commands, 1);
    EXPECT_EQ(doc.slaves[1].modules.size(), 1u);
    EXPECT_EQ(doc.slaves[1].modules[0].Length, 20);
    EXPECT_EQ(sink.texts(), (std::vector<std::string>{"输入超限"}));

    // Other models never call it.
    auto other = twoLines();
    other.slaves[0].modules = {command("读4区 03H", 0, 100, 0)};
    other.copiedSlave = 0;
    other.selectedItem = other.comItem(0);
    calls = 0;
    editing::paste(other, sink, check);
    EXPECT_EQ(calls, 0);
}

// Pasted ranges never overlap what is there, even where a single free
// address sits in front of an occupied range.
TEST(CopyPasteTest, PastedRangesAreFree) {
    auto doc = twoLines();
    doc.slaves[1].modules = {command("读4区 03H", 0, 8, 12), command("读4区 03H", 20, 10, 0)};
    doc.slaves[0].modules = {command("读4区 03H", 0, 5, 30)};
    doc.copiedSlave = 0;
    doc.selectedItem = doc.comItem(0);
    // The last command visited ends at 10, a free address; 10..14 would run
    // into 12..19, so the paste moves on to 20.
    ASSERT_EQ(editing::proposeGatewayAddress(doc, 0, 4), 10);
    RecordingSink sink;
    auto out = editing::paste(doc, sink);
    ASSERT_TRUE(out.pasted);
    EXPECT_EQ(doc.slaves[static_cast<std::size_t>(out.slave)].modules[0].Gate_Add, 20);
    EXPECT_TRUE(sink.messages.empty());
}

} // namespace
