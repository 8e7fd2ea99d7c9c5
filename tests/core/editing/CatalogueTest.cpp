#include "editing/CatalogueTree.h"
#include "editing/MenuEnabling.h"
#include "editing/ProjectEditor.h"

#include "EditingFixtures.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vantor;
using editing::CatalogueAction;
using vantor::testing::addTestSlave;
using vantor::testing::command;

namespace {

// Double-clicks a model, then each port in turn; answers the messages.
struct PortCase {
    const char* name;
    const char* model;
    std::vector<const char*> ports;
    std::vector<std::string> messages;
    std::vector<std::string> lines; // COMName of every line afterwards
};

class PortRuleTest : public ::testing::TestWithParam<PortCase> {};

TEST_P(PortRuleTest, AppliesTheModelsPortRule) {
    const auto& c = GetParam();
    model::CVantorDoc doc;
    RecordingSink sink;
    ASSERT_EQ(editing::activateCatalogueItem(doc, c.model, editing::kMasterRoot, sink).action,
              CatalogueAction::GatewayAdded);
    for (const char* port : c.ports)
        editing::activateCatalogueItem(doc, port, editing::kComRoot, sink);
    EXPECT_EQ(sink.texts(), c.messages);
    for (const auto& m : sink.messages)
        EXPECT_EQ(m.caption, "错误");
    std::vector<std::string> lines;
    for (const auto& com : doc.coms)
        lines.push_back(com.COMName);
    EXPECT_EQ(lines, c.lines);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PortRuleTest,
    ::testing::Values(
        PortCase{"P4R0Com5", "KX-P4R0-1.0", {"COM1", "COM5"}, {"KX-P4R0-1.0只有四个COM口"}, {"COM1"}},
        PortCase{"P4R0Com2Twice", "KX-P4R0-1.0", {"COM2", "COM2"}, {"KX-P4R0-1.0的COM2已经存在"}, {"COM2"}},
        PortCase{"LnkCom2", "LNK-P1-1.0", {"COM2"}, {"LNK-P1-1.0只有1个COM口"}, {}},
        PortCase{"KxP1Com2",
                 "KX-P1-1.0",
                 {"COM1", "COM1", "COM3"},
                 {"KX-P1-1.0的COM1已经存在", "KX-P1-1.0只有1个COM口"},
                 {"COM1"}},
        PortCase{"KxP1R0Com2", "KX-P1R0-1.0", {"COM2"}, {"KX-P1R0-1.0只有1个COM口"}, {}},
        PortCase{"Zrtu2Com3",
                 "NXE-485-ZRTU2",
                 {"COM3", "COM1", "COM1"},
                 {"NXE-485-ZRTU2只有两个COM口", "NXE-485-ZRTU2的COM1已经存在"},
                 {"COM1"}},
        PortCase{"Zrtu2eUsesZrtu2Texts",
                 "NXE-485-ZRTU2E",
                 {"COM4", "COM2", "COM2"},
                 {"NXE-485-ZRTU2只有两个COM口", "NXE-485-ZRTU2的COM2已经存在"},
                 {"COM2"}},
        PortCase{"P2R0Com3", "KX-P2R0-1.0", {"COM3"}, {"KX-P2R0-1.0只有2个COM口"}, {}},
        PortCase{"P6R0AllSix",
                 "KX-P6R0-1.0",
                 {"COM6", "COM1", "COM3", "COM2", "COM5", "COM4", "COM4"},
                 {"KX-P6R0-1.0的COM4已经存在"},
                 {"COM6", "COM1", "COM3", "COM2", "COM5", "COM4"}},
        PortCase{"Qmb6Twice", "TRX-H-QMB6", {"COM5", "COM5"}, {"TRX-H-QMB6的COM5已经存在"}, {"COM5"}},
        PortCase{"CdtCom3",
                 "TRC-H-ZRTU",
                 {"COM3", "COM2"},
                 {"TRC-H-ZRTU只有两个COM口", "TRC-H-ZRTU的COM2已经存在"},
                 {"COM1", "COM2"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CatalogueTest, SecondModelRefused) {
    model::CVantorDoc doc;
    RecordingSink sink;
    editing::activateCatalogueItem(doc, "KX-P6R0-1.0", editing::kMasterRoot, sink);
    auto before = doc.masters;
    auto outcome = editing::activateCatalogueItem(doc, "KX-P2R0-1.0", editing::kMasterRoot, sink);
    EXPECT_EQ(outcome.action, CatalogueAction::Refused);
    EXPECT_EQ(sink.texts(), (std::vector<std::string>{"只支持单主站"}));
    EXPECT_EQ(doc.masters, before);
}

TEST(CatalogueTest, AddGatewaySelectsAndMarksModified) {
    model::CVantorDoc doc;
    RecordingSink sink;
    editing::activateCatalogueItem(doc, "LNK-P1-1.0", editing::kMasterRoot, sink);
    ASSERT_EQ(doc.masters.size(), 1u);
    EXPECT_EQ(doc.masters[0].masterName, "LNK-P1-1.0");
    EXPECT_EQ(doc.masters[0].bitmap, "LNK-P1-1.0");
    EXPECT_EQ(doc.masters[0].x, 35);
    EXPECT_EQ(doc.masters[0].y, 35);
    EXPECT_EQ(doc.selectedMaster(), 0);
    EXPECT_TRUE(doc.modified);
    EXPECT_TRUE(sink.messages.empty());
}

TEST(CatalogueTest, CdtGatewayCreatesLinkLineAndCom2) {
    model::CVantorDoc doc;
    RecordingSink sink;
    editing::activateCatalogueItem(doc, "TRC-H-ZRTU", editing::kMasterRoot, sink);
    ASSERT_EQ(doc.coms.size(), 2u);
    const auto& link = doc.coms[0];
    EXPECT_EQ(link.COMName, "COM1");
    EXPECT_EQ(link.num_com, 1);
    EXPECT_EQ(link.x, -1);
    EXPECT_EQ(link.y, -1);
    EXPECT_EQ(link.com_length, 0);
    EXPECT_EQ(link.check, 0);
    EXPECT_EQ(link.stop, 0);
    EXPECT_EQ(link.slave_num, 2);
    EXPECT_EQ(link.baud, 2);
    const auto& com2 = doc.coms[1];
    EXPECT_EQ(com2.COMName, "COM2");
    EXPECT_EQ(com2.num_com, 1);
    EXPECT_EQ(com2.check, 0);
    EXPECT_EQ(com2.x, 260);
    EXPECT_EQ(com2.y, 80);
    // COM1 in the catalogue opens the CDT options.
    auto outcome = editing::activateCatalogueItem(doc, "COM1", editing::kComRoot, sink);
    EXPECT_EQ(outcome.action, CatalogueAction::OpenCdtOptions);
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(doc.coms.size(), 2u);
}

struct PlacementCase {
    const char* model;
    const char* port;
    int y;
};

class LinePlacementTest : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(LinePlacementTest, DrawsLineByPortPosition) {
    const auto& c = GetParam();
    model::CVantorDoc doc;
    RecordingSink sink;
    editing::activateCatalogueItem(doc, c.model, editing::kMasterRoot, sink);
    editing::activateCatalogueItem(doc, "COM1", editing::kComRoot, sink); // ignored where COM1 is special
    auto outcome = editing::activateCatalogueItem(doc, c.port, editing::kComRoot, sink);
    ASSERT_EQ(outcome.action, CatalogueAction::LineAdded);
    const auto& com = doc.coms[static_cast<std::size_t>(outcome.line)];
    EXPECT_EQ(com.x, 260);
    EXPECT_EQ(com.y, c.y);
    EXPECT_EQ(com.num_com, outcome.line);
    EXPECT_EQ(com.com_length, 260);
    EXPECT_EQ(doc.selectedCom(), outcome.line);
}

INSTANTIATE_TEST_SUITE_P(Cases, LinePlacementTest,
                         ::testing::Values(PlacementCase{"KX-P6R0-1.0", "COM3", 380},
                                           PlacementCase{"KX-P6R0-1.0", "COM6", 830},
                                           PlacementCase{"TRX-H-QMB6", "COM4", 530},
                                           PlacementCase{"KX-P4R0-1.0", "COM4", 530},
                                           PlacementCase{"KX-P2R0-1.0", "COM2", 230},
                                           PlacementCase{"NXE-485-ZRTU2E", "COM2", 230}));

TEST(CatalogueTest, PortWithoutGateway) {
    model::CVantorDoc doc;
    RecordingSink sink;
    EXPECT_EQ(editing::activateCatalogueItem(doc, "COM1", editing::kComRoot, sink).action,
              CatalogueAction::Refused);
    EXPECT_EQ(sink.texts(), (std::vector<std::string>{"没有主站，请添加主站！"}));
    EXPECT_TRUE(doc.coms.empty());
}

TEST(CatalogueTest, NormalSlaveNeedsALine) {
    auto doc = vantor::testing::project("KX-P2R0-1.0", {"COM1"});
    RecordingSink sink;
    EXPECT_EQ(editing::activateCatalogueItem(doc, "Normal Slave", editing::kSlaveRoot, sink).action,
              CatalogueAction::Refused);
    doc.selectedItem = doc.masterItem(0);
    editing::activateCatalogueItem(doc, "Normal Slave", editing::kSlaveRoot, sink);
    EXPECT_EQ(sink.texts(), (std::vector<std::string>{"没有选中的COM线", "没有选中的COM线"}));
}

TEST(CatalogueTest, NormalSlaveOnSelectedSlavesLineSelectsTheLine) {
    auto doc = vantor::testing::project("KX-P2R0-1.0", {"COM1", "COM2"});
    int s = addTestSlave(doc, "COM2", 1);
    doc.selectedItem = doc.slaveItem(s);
    RecordingSink sink;
    auto outcome = editing::activateCatalogueItem(doc, "Normal Slave", editing::kSlaveRoot, sink);
    EXPECT_EQ(outcome.action, CatalogueAction::OpenNewSlaveForm);
    EXPECT_EQ(outcome.line, 1);
    EXPECT_EQ(doc.selectedCom(), 1);
    EXPECT_TRUE(sink.messages.empty());
}

struct SlaveLimitCase {
    const char* model;
    int present;
    bool accepted;
    const char* message;
};

class SlaveLimitTest : public ::testing::TestWithParam<SlaveLimitCase> {};

TEST_P(SlaveLimitTest, RefusesAtTheModelsLimit) {
    const auto& c = GetParam();
    auto doc = vantor::testing::project(c.model, {"COM1"});
    for (int a = 1; a <= c.present; ++a)
        addTestSlave(doc, "COM1", a);
    doc.selectedItem = doc.comItem(0);
    RecordingSink sink;
    auto outcome = editing::activateCatalogueItem(doc, "Normal Slave", editing::kSlaveRoot, sink);
    EXPECT_EQ(outcome.action, c.accepted ? CatalogueAction::OpenNewSlaveForm : CatalogueAction::Refused);
    if (c.accepted)
        EXPECT_TRUE(sink.messages.empty());
    else
        EXPECT_EQ(sink.texts(), (std::vector<std::string>{c.message}));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SlaveLimitTest,
    ::testing::Values(SlaveLimitCase{"KX-P2R0-1.0", 30, true, ""},
                      SlaveLimitCase{"KX-P2R0-1.0", 31, false, "每个串口上最多连接31个从站"},
                      SlaveLimitCase{"NXE-485-ZRTU2E", 63, true, ""},
                      SlaveLimitCase{"NXE-485-ZRTU2E", 64, false, "每个串口上最多连接64个从站"}));

TEST(CatalogueTest, NormalSlaveWithNoFreeAddressRefused) {
    auto doc = vantor::testing::project("KX-P2R0-1.0", {"COM1"});
    doc.coms[0].addArea.fill(1); // stale entries from an edited file
    doc.selectedItem = doc.comItem(0);
    RecordingSink sink;
    EXPECT_EQ(editing::activateCatalogueItem(doc, "Normal Slave", editing::kSlaveRoot, sink).action,
              CatalogueAction::Refused);
    EXPECT_EQ(sink.texts(), (std::vector<std::string>{editing::kNoFreeSlaveAddress}));
}

struct CommandCountCase {
    const char* model;
    int present;
    bool opens;
    const char* message;
};

class CommandCountTest : public ::testing::TestWithParam<CommandCountCase> {};

TEST_P(CommandCountTest, ChecksBeforeTheFormOpens) {
    const auto& c = GetParam();
    auto doc = vantor::testing::project(c.model, {"COM1"});
    int s = addTestSlave(doc, "COM1", 1);
    addTestSlave(doc, "COM1", 2);
    for (int i = 0; i < c.present; ++i)
        doc.slaves[static_cast<std::size_t>(i % 2)].modules.push_back(command("读3区 04H", i, 1, i));
    doc.selectedItem = doc.slaveItem(s);
    RecordingSink sink;
    auto outcome = editing::activateCatalogueItem(doc, "写4区 10H 写多字", editing::kNormalSlave, sink);
    EXPECT_EQ(outcome.action, c.opens ? CatalogueAction::OpenCommandForm : CatalogueAction::Refused);
    if (c.opens) {
        EXPECT_EQ(outcome.kind, "写4区 10H 写多字");
        EXPECT_TRUE(sink.messages.empty());
    } else {
        EXPECT_EQ(sink.texts(), (std::vector<std::string>{c.message}));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandCountTest,
    ::testing::Values(CommandCountCase{"KX-P6R0-1.0", 511, true, ""},
                      CommandCountCase{"KX-P6R0-1.0", 512, false, "模块数超范围，最大模块数为512"},
                      CommandCountCase{"TRX-H-QMB6", 255, true, ""},
                      CommandCountCase{"TRX-H-QMB6", 256, false, "模块数超范围，最大模块数为256"}));

TEST(CatalogueTest, CommandKindNeedsSelectedSlave) {
    auto doc = vantor::testing::project("KX-P6R0-1.0", {"COM1"});
    doc.selectedItem = doc.comItem(0);
    RecordingSink sink;
    EXPECT_EQ(editing::activateCatalogueItem(doc, "读0区 01H", editing::kNormalSlave, sink).action,
              CatalogueAction::Refused);
    EXPECT_EQ(sink.texts(), (std::vector<std::string>{"请选择从站!"}));
}

TEST(CatalogueTest, RootsAndUnknownItemsDoNothing) {
    model::CVantorDoc doc;
    RecordingSink sink;
    for (auto text : {editing::kMasterRoot, editing::kComRoot, editing::kSlaveRoot})
        EXPECT_EQ(editing::activateCatalogueItem(doc, text, "", sink).action, CatalogueAction::Nothing);
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_FALSE(doc.hasMaster());
}

TEST(CatalogueTest, AddSlavePlacesAndCountsOnLine) {
    auto doc = vantor::testing::project("KX-P6R0-1.0", {"COM1"});
    editing::NewSlaveValues v{7, 3, 80, "泵站", 0x80};
    int first = editing::addSlave(doc, 0, v);
    int second = editing::addSlave(doc, 0, {8, 0, 50, "SLAVE", 0x7F});
    const auto& a = doc.slaves[static_cast<std::size_t>(first)];
    const auto& b = doc.slaves[static_cast<std::size_t>(second)];
    EXPECT_EQ(a.address, 7);
    EXPECT_EQ(a.space, 3);
    EXPECT_EQ(a.timeout, 80);
    EXPECT_EQ(a.name, "泵站");
    EXPECT_EQ(a.control, 0x81); // a new slave keeps the default config word
    EXPECT_EQ(a.com_name, "COM1");
    EXPECT_EQ(a.x, 310);
    EXPECT_EQ(a.y, 115);
    EXPECT_EQ(b.x, 390);
    EXPECT_EQ(doc.coms[0].slave_num, 2);
    EXPECT_EQ(doc.coms[0].com_length, 260);
    EXPECT_EQ(doc.selectedSlave(), second);
    editing::addSlave(doc, 0, v);
    EXPECT_EQ(doc.coms[0].com_length, 470 - 260 + 80);
}

struct EnablingCase {
    const char* model;
    std::vector<int> enabled;
};

class EnablingTest : public ::testing::TestWithParam<EnablingCase> {};

TEST_P(EnablingTest, FollowsTheModelsFeatures) {
    const auto& c = GetParam();
    model::CVantorDoc doc;
    if (*c.model)
        doc.masters.push_back({c.model, 35, 35, c.model});
    auto e = editing::menuEnabling(doc);
    const std::vector<int> governed{32772, 32776, 32777, 32802, 32804, 32806,
                                    32813, 32817, 32818, 32821, 32824, 32826};
    std::vector<int> on;
    for (int id : governed)
        if (e.enabled(id))
            on.push_back(id);
    EXPECT_EQ(on, c.enabled);
    EXPECT_TRUE(e.enabled(57600));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EnablingTest,
    ::testing::Values(EnablingCase{"", {}},
                      EnablingCase{"KX-P6R0-1.0", {32772, 32776, 32777, 32802, 32804, 32806, 32817, 32818}},
                      EnablingCase{"TRX-H-QMB6", {32772, 32777, 32802, 32804, 32821, 32824}},
                      EnablingCase{"LNK-P1-1.0",
                                   {32772, 32776, 32777, 32802, 32804, 32806, 32817, 32818, 32826}},
                      EnablingCase{"TRC-H-ZRTU", {32772, 32776, 32777, 32802, 32804, 32806, 32817, 32818}}));

TEST(EnablingTest, AddressMapKindAndToolbarDownload) {
    model::CVantorDoc doc;
    RecordingSink sink;
    EXPECT_FALSE(editing::checkToolbarDownload(doc, sink));
    EXPECT_EQ(sink.texts(), (std::vector<std::string>{"请添加一个主站!"}));
    doc = vantor::testing::project("TRC-H-ZRTU", {"COM2"});
    EXPECT_EQ(editing::addressMapKind(doc), editing::AddressMapKind::CdtAddressTable);
    addTestSlave(doc, "COM2", 1);
    doc.slaves[0].modules.push_back(command("读3区 04H", 0, 10, 1995));
    sink.messages.clear();
    EXPECT_FALSE(editing::checkToolbarDownload(doc, sink));
    EXPECT_EQ(sink.texts(), (std::vector<std::string>{"网关数据区访问超限 0区8192,1区8192,3区2000,4区2000"}));
    doc.slaves[0].modules[0].Gate_Add = 1990;
    EXPECT_TRUE(editing::checkToolbarDownload(doc, sink));
    EXPECT_EQ(editing::addressMapKind(vantor::testing::project("KX-P1-1.0")),
              editing::AddressMapKind::GatewayAddressMap);
}

} // namespace

namespace {

// Every leaf of the catalogue, activated under its parent on a fresh project
// with a line and a slave selected, leads somewhere: a gateway, a refusal
// naming the missing gateway, a new-slave form or a command form.
TEST(CatalogueTreeTest, EveryLeafIsActionable) {
    const auto& tree = editing::catalogueTree();
    ASSERT_EQ(tree.size(), 3u);
    EXPECT_EQ(tree[0].children.size(), 10u);
    EXPECT_EQ(tree[0].children[5].text, "TRC-H-ZRTU");
    EXPECT_EQ(tree[1].children.back().text, "COM6");
    ASSERT_EQ(tree[2].children.size(), 1u);
    EXPECT_EQ(tree[2].children[0].children[7].text, "写4区 10H 写多字");
    EXPECT_EQ(tree[2].children[0].children[7].image, 4);
    for (const auto& model : tree[0].children) {
        vantor::model::CVantorDoc doc;
        RecordingSink sink;
        EXPECT_EQ(editing::activateCatalogueItem(doc, model.text, tree[0].text, sink).action,
                  editing::CatalogueAction::GatewayAdded)
            << model.text;
    }
    auto doc = vantor::testing::project("KX-P6R0-1.0", {"COM1"});
    vantor::testing::addTestSlave(doc, "COM1", 1);
    RecordingSink sink;
    for (const auto& kind : tree[2].children[0].children) {
        doc.selectedItem = 0;
        EXPECT_EQ(editing::activateCatalogueItem(doc, kind.text, tree[2].children[0].text, sink).action,
                  editing::CatalogueAction::OpenCommandForm)
            << kind.text;
    }
    EXPECT_EQ(editing::activateCatalogueItem(doc, tree[2].children[0].text, tree[2].text, sink).action,
              editing::CatalogueAction::OpenNewSlaveForm);
    EXPECT_TRUE(sink.messages.empty());
}

} // namespace
