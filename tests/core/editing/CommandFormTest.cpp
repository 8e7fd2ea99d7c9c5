#include "editing/CommandEditor.h"

#include "EditingFixtures.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vantor;
using editing::FormResult;
using vantor::testing::addTestSlave;
using vantor::testing::command;

namespace {

// KX-P6R0-1.0, COM1 with slaves 1 and 2, slave 1 selected.
model::CVantorDoc projectWithSlave(const char* modelName = "KX-P6R0-1.0") {
    auto doc = vantor::testing::project(modelName, {"COM1"});
    addTestSlave(doc, "COM1", 1);
    addTestSlave(doc, "COM1", 2);
    doc.selectedItem = 0;
    return doc;
}

struct OpenCase {
    const char* func;
    const char* model;
    const char* startLabel;
    const char* lengthLabel;
    bool lengthEnabled;
    bool editSendVisible;
    bool cdtYxVisible;
};

class CommandFormOpenTest : public ::testing::TestWithParam<OpenCase> {};

TEST_P(CommandFormOpenTest, FixedTextsAndSwitches) {
    const auto& c = GetParam();
    auto doc = projectWithSlave(c.model);
    RecordingSink sink;
    auto form = editing::openNewCommandForm(doc, c.func, sink);
    ASSERT_TRUE(form);
    EXPECT_EQ(form->title, c.func);
    EXPECT_EQ(form->startLabel, c.startLabel);
    EXPECT_EQ(form->lengthLabel, c.lengthLabel);
    EXPECT_EQ(form->lengthEnabled, c.lengthEnabled);
    EXPECT_EQ(form->editSendVisible, c.editSendVisible);
    EXPECT_EQ(form->cdtYxVisible, c.cdtYxVisible);
    EXPECT_EQ(form->startText, "0");
    EXPECT_EQ(form->lengthText, "1");
    EXPECT_EQ(form->gatewayText, "0");
    EXPECT_FALSE(form->editMode);
    EXPECT_TRUE(sink.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandFormOpenTest,
    ::testing::Values(
        OpenCase{"读0区 01H", "KX-P6R0-1.0", "起始地址(bit)：", "长度(bit)：", true, false, false},
        OpenCase{"写0区 0FH 写多线圈", "KX-P6R0-1.0", "起始地址(bit)：", "长度(bit)：", true, true, false},
        OpenCase{"写0区 05H 写单线圈", "KX-P6R0-1.0", "起始地址(bit)：", "长度(bit)：", false, true, false},
        OpenCase{"读1区 02H", "TRC-H-ZRTU", "起始地址(bit)：", "长度(bit)：", true, false, false},
        OpenCase{"读3区 04H", "KX-P6R0-1.0", "起始地址(word)：", "长度(word)：", true, false, false},
        OpenCase{"读3区 04H", "TRC-H-ZRTU", "起始地址(word)：", "长度(word)：", true, false, true},
        OpenCase{"读4区 03H", "TRC-H-ZRTU", "起始地址(word)：", "长度(word)：", true, false, true},
        OpenCase{"写4区 06H 写单字", "TRC-H-ZRTU", "起始地址(word)：", "长度(word)：", false, true, true},
        OpenCase{"写4区 10H 写多字", "TRX-H-QMB6", "起始地址(word)：", "长度(word)：", true, true, false}));

TEST(CommandFormTest, EditSendDefaultTicksWritesOnly) {
    auto doc = projectWithSlave();
    doc.editSendDefault = 1;
    RecordingSink sink;
    EXPECT_TRUE(editing::openNewCommandForm(doc, "写4区 06H 写单字", sink)->editSend);
    EXPECT_FALSE(editing::openNewCommandForm(doc, "读4区 03H", sink)->editSend);
    doc.editSendDefault = 0;
    EXPECT_FALSE(editing::openNewCommandForm(doc, "写0区 05H 写单线圈", sink)->editSend);
}

TEST(CommandFormTest, DefaultStartFollowsLastCommandOfSameAreaAndDirection) {
    auto doc = projectWithSlave();
    auto& modules = doc.slaves[0].modules;
    modules = {command("读4区 03H", 10, 5, 0), command("写4区 10H 写多字", 100, 3, 50),
               command("读4区 03H", 40, 2, 20), command("写4区 06H 写单字", 7, 1, 60),
               command("读0区 01H", 8, 8, 0)};
    RecordingSink sink;
    EXPECT_EQ(editing::openNewCommandForm(doc, "读4区 03H", sink)->startText, "42");
    EXPECT_EQ(editing::openNewCommandForm(doc, "写4区 10H 写多字", sink)->startText, "8");
    EXPECT_EQ(editing::openNewCommandForm(doc, "读0区 01H", sink)->startText, "16");
    EXPECT_EQ(editing::openNewCommandForm(doc, "写0区 0FH 写多线圈", sink)->startText, "0");
    EXPECT_EQ(editing::openNewCommandForm(doc, "读3区 04H", sink)->startText, "0");
}

TEST(CommandFormTest, ProposalFromNextGatewayAddressAndNoneLeavesFieldEmpty) {
    auto doc = projectWithSlave();
    doc.slaves[1].modules = {command("读4区 03H", 0, 5, 10)};
    doc.nextGateAddress[3] = 15;
    RecordingSink sink;
    EXPECT_EQ(editing::openNewCommandForm(doc, "读4区 03H", sink)->gatewayText, "15");
    doc.slaves[1].modules.push_back(command("读3区 04H", 0, 4000, 0));
    auto form = editing::openNewCommandForm(doc, "读3区 04H", sink);
    ASSERT_TRUE(form);
    EXPECT_EQ(form->gatewayText, "");
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0], (Message{MessageKind::Error, "错误", "没有可用的网关地址"}));
}

TEST(CommandFormTest, NeedsSelectedSlaveAndKnownKind) {
    auto doc = projectWithSlave();
    RecordingSink sink;
    EXPECT_FALSE(editing::openNewCommandForm(doc, "读9区", sink));
    doc.selectedItem = doc.comItem(0);
    EXPECT_FALSE(editing::openNewCommandForm(doc, "读0区 01H", sink));
    EXPECT_FALSE(editing::openEditCommandForm(doc, 0));
}

struct OkCase {
    const char* name;
    const char* func;
    const char* start;
    const char* length;
    const char* gateway;
    const char* comment;
    const char* message; // nullptr: accepted
};

class CommandFormOkTest : public ::testing::TestWithParam<OkCase> {};

TEST_P(CommandFormOkTest, ChecksInOrder) {
    const auto& c = GetParam();
    auto doc = projectWithSlave();
    RecordingSink sink;
    auto form = editing::openNewCommandForm(doc, c.func, sink);
    ASSERT_TRUE(form);
    form->startText = c.start;
    form->lengthText = c.length;
    form->gatewayText = c.gateway;
    form->commentText = c.comment;
    auto result = editing::acceptCommandForm(doc, *form, sink);
    if (!c.message) {
        EXPECT_EQ(result, FormResult::Accepted);
        EXPECT_TRUE(sink.messages.empty()) << sink.texts()[0];
        EXPECT_EQ(doc.slaves[0].modules.size(), 1u);
    } else {
        EXPECT_EQ(result, FormResult::StayOpen);
        ASSERT_EQ(sink.messages.size(), 1u);
        EXPECT_EQ(sink.messages[0], (Message{MessageKind::Error, "错误", c.message}));
        EXPECT_TRUE(doc.slaves[0].modules.empty());
        EXPECT_EQ(doc.nextGateAddress, (std::array<int, 4>{}));
    }
}

const std::string kComment256(256, 'x');
const std::string kComment257(257, 'x');
const std::string kChinese128 = [] {
    std::string s;
    for (int i = 0; i < 128; ++i)
        s += "注";
    return s;
}();
const std::string kChinese129 = kChinese128 + "注";

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandFormOkTest,
    ::testing::Values(
        OkCase{"Plain", "读4区 03H", "0", "10", "0", "", nullptr},
        OkCase{"EmptyStartIsZero", "读4区 03H", "", "10", "", "", nullptr},
        OkCase{"LeadingZeros", "读4区 03H", "007", "010", "0", "", nullptr},
        OkCase{"DoubleZeroStart", "读4区 03H", "00", "10", "0", "", "起始地址格式错误"},
        OkCase{"StartNotDigits", "读4区 03H", "1a", "10", "0", "", "起始地址格式错误"},
        OkCase{"NegativeStart", "读4区 03H", "-1", "10", "0", "", "起始地址格式错误"},
        OkCase{"LengthNotDigits", "读4区 03H", "0", "x", "0", "", "长度格式错误"},
        OkCase{"DoubleZeroLength", "读4区 03H", "0", "00", "0", "", "长度格式错误"},
        OkCase{"StartBeyond65535", "读4区 03H", "65536", "1", "0", "",
               "起始地址请添入一个0和65535之间的整数"},
        // The slave range ends at 65535; the length rule comes first.
        OkCase{"RangeEndsAt65535", "读1区 02H", "65530", "6", "0", "", nullptr},
        OkCase{"RangePast65535", "读1区 02H", "65530", "100", "0", "", "超限,数据区范围为1-65536"},
        OkCase{"WordRangePast65535", "读4区 03H", "65500", "100", "0", "", "超限,数据区范围为1-65536"},
        OkCase{"LengthRuleBeforeRange", "读4区 03H", "65530", "126", "0", "",
               "长度请添入一个1和125之间的整数"},
        OkCase{"StartHuge", "读4区 03H", "99999999999999", "1", "0", "",
               "起始地址请添入一个0和65535之间的整数"},
        OkCase{"Start65535", "读4区 03H", "65535", "1", "0", "", nullptr},
        OkCase{"LengthDigitsBeforeDoubleZero", "读4区 03H", "00", "x", "0", "", "长度格式错误"},
        OkCase{"CommentFirst", "读4区 03H", "a", "x", "y", kComment257.c_str(), "注释最大长度为256个字符"},
        OkCase{"Comment256", "读4区 03H", "0", "1", "0", kComment256.c_str(), nullptr},
        OkCase{"ChineseComment256Bytes", "读4区 03H", "0", "1", "0", kChinese128.c_str(), nullptr},
        OkCase{"ChineseComment258Bytes", "读4区 03H", "0", "1", "0", kChinese129.c_str(),
               "注释最大长度为256个字符"},
        OkCase{"CommentOutsideGbk", "读4区 03H", "0", "1", "0", "\xF0\x9F\x98\x80", "注释含有无法保存的字符"},
        OkCase{"SingleCoilLength2", "写0区 05H 写单线圈", "0", "2", "0", "", "长度请添入1"},
        OkCase{"SingleRegisterLength0", "写4区 06H 写单字", "0", "0", "0", "", "长度请添入1"},
        OkCase{"SingleRegister", "写4区 06H 写单字", "0", "1", "0", "", nullptr},
        OkCase{"Coils2000", "读0区 01H", "0", "2000", "0", "", nullptr},
        OkCase{"Coils2001", "读0区 01H", "0", "2001", "0", "", "长度请添入一个1和2000之间的整数"},
        OkCase{"Inputs0", "读1区 02H", "0", "0", "0", "", "长度请添入一个1和2000之间的整数"},
        OkCase{"Inputs2000", "读1区 02H", "0", "2000", "0", "", nullptr},
        OkCase{"Holding126", "读4区 03H", "0", "126", "0", "", "长度请添入一个1和125之间的整数"},
        OkCase{"Input125", "读3区 04H", "0", "125", "0", "", nullptr},
        OkCase{"EmptyLength", "读3区 04H", "0", "", "0", "", "长度请添入一个1和125之间的整数"},
        OkCase{"MultiCoils1968", "写0区 0FH 写多线圈", "0", "1968", "0", "", nullptr},
        OkCase{"MultiCoils1969", "写0区 0FH 写多线圈", "0", "1969", "0", "",
               "长度请添入一个1和1968之间的整数"},
        OkCase{"MultiRegisters123", "写4区 10H 写多字", "0", "123", "0", "", nullptr},
        OkCase{"MultiRegisters124", "写4区 10H 写多字", "0", "124", "0", "",
               "长度请添入一个1和123之间的整数"},
        OkCase{"GatewayNotDigits", "读4区 03H", "0", "1", "1 0", "", "网关地址错误"},
        OkCase{"Gateway3999", "读4区 03H", "0", "1", "3999", "", nullptr},
        OkCase{"Gateway4000", "读4区 03H", "0", "1", "4000", "", "网关地址超限"},
        OkCase{"GatewayBit8191", "读0区 01H", "0", "2000", "8191", "", nullptr},
        OkCase{"GatewayBit8192", "读0区 01H", "0", "1", "8192", "", "网关地址超限"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CommandFormTest, NewCommandStoresFieldsAndAdvancesNextAddress) {
    auto doc = projectWithSlave("TRC-H-ZRTU");
    RecordingSink sink;
    auto form = editing::openNewCommandForm(doc, "写4区 10H 写多字", sink);
    form->startText = "100";
    form->lengthText = "5";
    form->gatewayText = "10";
    form->commentText = "流量";
    form->editSend = true;
    form->cdtYx = true;
    ASSERT_EQ(editing::acceptCommandForm(doc, *form, sink), FormResult::Accepted);
    ASSERT_EQ(doc.slaves[0].modules.size(), 1u);
    const auto& m = doc.slaves[0].modules[0];
    EXPECT_EQ(m.Func, "写4区 10H 写多字");
    EXPECT_EQ(m.area_num, 4);
    EXPECT_EQ(m.read_wri, 1);
    EXPECT_EQ(m.Start_Add, 100);
    EXPECT_EQ(m.Length, 5);
    EXPECT_EQ(m.Gate_Add, 10);
    EXPECT_EQ(m.Explain, "流量");
    EXPECT_EQ(m.editSend, 1);
    EXPECT_EQ(m.isCDTYx, 1);
    EXPECT_EQ(m.mod_num, -1);
    EXPECT_EQ(form->index, 0);
    EXPECT_EQ(doc.nextGateAddress[3], 15);
    EXPECT_TRUE(doc.modified);
    // The next proposal of area 4 starts there.
    EXPECT_EQ(editing::openNewCommandForm(doc, "读4区 03H", sink)->gatewayText, "15");
}

struct OverlapCase {
    const char* name;
    std::vector<model::CModule> selectedSlave;
    std::vector<model::CModule> otherSlave;
    const char* func;
    int start;
    int length;
    int gate;
    const char* message; // nullptr: no overlap
};

class OverlapTest : public ::testing::TestWithParam<OverlapCase> {};

TEST_P(OverlapTest, NewCommand) {
    const auto& c = GetParam();
    auto doc = projectWithSlave();
    doc.slaves[0].modules = c.selectedSlave;
    doc.slaves[1].modules = c.otherSlave;
    RecordingSink sink;
    auto form = editing::openNewCommandForm(doc, c.func, sink);
    form->startText = std::to_string(c.start);
    form->lengthText = std::to_string(c.length);
    form->gatewayText = std::to_string(c.gate);
    auto result = editing::acceptCommandForm(doc, *form, sink);
    if (c.message) {
        EXPECT_EQ(result, FormResult::StayOpen);
        EXPECT_EQ(sink.texts(), (std::vector<std::string>{c.message}));
        EXPECT_EQ(doc.slaves[0].modules.size(), c.selectedSlave.size());
    } else {
        EXPECT_EQ(result, FormResult::Accepted);
        EXPECT_TRUE(sink.messages.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OverlapTest,
    ::testing::Values(
        // Read and write of the same slave range, disjoint gateway ranges.
        OverlapCase{"ReadWriteSameSlaveRange",
                    {command("读0区 01H", 0, 10, 0)},
                    {},
                    "写0区 0FH 写多线圈",
                    0,
                    10,
                    10,
                    nullptr},
        // ... but their gateway ranges share area 0.
        OverlapCase{"ReadWriteShareGatewayArea0",
                    {command("读0区 01H", 0, 10, 0)},
                    {},
                    "写0区 0FH 写多线圈",
                    0,
                    10,
                    9,
                    "网关地址区域重叠"},
        OverlapCase{"ReadWriteShareGatewayArea4",
                    {command("写4区 06H 写单字", 0, 1, 7)},
                    {},
                    "读4区 03H",
                    50,
                    10,
                    0,
                    "网关地址区域重叠"},
        OverlapCase{"GatewayAcrossSlaves",
                    {},
                    {command("读3区 04H", 0, 10, 100)},
                    "读3区 04H",
                    0,
                    1,
                    109,
                    "网关地址区域重叠"},
        OverlapCase{
            "GatewayAdjacent", {}, {command("读3区 04H", 0, 10, 100)}, "读3区 04H", 0, 1, 110, nullptr},
        // A new range ending exactly where an existing one starts is free;
        // one address further it clashes (gateway ranges, word and bit areas).
        OverlapCase{
            "GatewayAdjacentBefore", {}, {command("读3区 04H", 0, 10, 100)}, "读3区 04H", 0, 5, 95, nullptr},
        OverlapCase{"GatewayOneIntoBefore",
                    {},
                    {command("读3区 04H", 0, 10, 100)},
                    "读3区 04H",
                    0,
                    5,
                    96,
                    "网关地址区域重叠"},
        OverlapCase{"GatewayBitAdjacentBefore",
                    {command("读0区 01H", 0, 16, 16)},
                    {},
                    "写0区 0FH 写多线圈",
                    40,
                    16,
                    0,
                    nullptr},
        OverlapCase{"GatewayBitOneIntoBefore",
                    {command("读0区 01H", 0, 16, 16)},
                    {},
                    "写0区 0FH 写多线圈",
                    40,
                    17,
                    0,
                    "网关地址区域重叠"},
        OverlapCase{
            "OtherAreaNoClash", {}, {command("读3区 04H", 0, 10, 100)}, "读4区 03H", 0, 10, 100, nullptr},
        // Two slaves may read the same slave range.
        OverlapCase{"SameSlaveRangeOtherSlave",
                    {},
                    {command("读4区 03H", 0, 10, 0)},
                    "读4区 03H",
                    0,
                    10,
                    10,
                    nullptr},
        OverlapCase{"Read0", {command("读0区 01H", 5, 10, 0)}, {}, "读0区 01H", 14, 1, 100, "0区读区域重叠"},
        OverlapCase{"Read0Adjacent", {command("读0区 01H", 5, 10, 0)}, {}, "读0区 01H", 15, 1, 100, nullptr},
        OverlapCase{
            "Read0AdjacentBefore", {command("读0区 01H", 5, 10, 0)}, {}, "读0区 01H", 0, 5, 100, nullptr},
        OverlapCase{"Read0OneIntoBefore",
                    {command("读0区 01H", 5, 10, 0)},
                    {},
                    "读0区 01H",
                    1,
                    5,
                    100,
                    "0区读区域重叠"},
        OverlapCase{
            "Read4AdjacentBefore", {command("读4区 03H", 8, 8, 0)}, {}, "读4区 03H", 0, 8, 100, nullptr},
        OverlapCase{"Read4OneIntoBefore",
                    {command("读4区 03H", 8, 8, 0)},
                    {},
                    "读4区 03H",
                    1,
                    8,
                    100,
                    "4区读区域重叠"},
        OverlapCase{"Write0Single",
                    {command("写0区 0FH 写多线圈", 0, 8, 0)},
                    {},
                    "写0区 05H 写单线圈",
                    7,
                    1,
                    100,
                    "0区写区域重叠"},
        OverlapCase{"Read1", {command("读1区 02H", 0, 8, 0)}, {}, "读1区 02H", 0, 1, 100, "1区读区域重叠"},
        OverlapCase{"Read3", {command("读3区 04H", 0, 8, 0)}, {}, "读3区 04H", 7, 2, 100, "3区读区域重叠"},
        OverlapCase{"Read4", {command("读4区 03H", 0, 8, 0)}, {}, "读4区 03H", 3, 2, 100, "4区读区域重叠"},
        OverlapCase{"Write4",
                    {command("写4区 06H 写单字", 3, 1, 0)},
                    {},
                    "写4区 10H 写多字",
                    0,
                    4,
                    100,
                    "4区写区域重叠"},
        // Same slave range in another area is no slave overlap.
        OverlapCase{
            "SlaveRangeOtherArea", {command("读3区 04H", 0, 8, 0)}, {}, "读4区 03H", 0, 8, 100, nullptr},
        // The gateway rule comes first.
        OverlapCase{"GatewayBeforeSlave",
                    {command("读4区 03H", 0, 8, 0)},
                    {},
                    "读4区 03H",
                    0,
                    8,
                    4,
                    "网关地址区域重叠"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CommandEditTest, EditWithoutChangesPasses) {
    auto doc = projectWithSlave();
    doc.slaves[0].modules = {command("读4区 03H", 0, 10, 0), command("读4区 03H", 10, 10, 10)};
    doc.slaves[0].modules[1].Explain = "原注释";
    doc.slaves[0].modules[1].editSend = 1;
    auto before = doc.slaves[0].modules;
    auto form = editing::openEditCommandForm(doc, 1);
    ASSERT_TRUE(form);
    EXPECT_TRUE(form->editMode);
    EXPECT_EQ(form->startText, "10");
    EXPECT_EQ(form->lengthText, "10");
    EXPECT_EQ(form->gatewayText, "10");
    EXPECT_EQ(form->commentText, "原注释");
    EXPECT_TRUE(form->editSend);
    RecordingSink sink;
    EXPECT_EQ(editing::acceptCommandForm(doc, *form, sink), FormResult::Accepted);
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(doc.slaves[0].modules, before);
    EXPECT_EQ(doc.nextGateAddress, (std::array<int, 4>{}));
}

TEST(CommandEditTest, EditAppliesNewValues) {
    auto doc = projectWithSlave();
    doc.slaves[0].modules = {command("读4区 03H", 0, 10, 0)};
    auto form = editing::openEditCommandForm(doc, 0);
    form->startText = "20";
    form->lengthText = "4";
    form->gatewayText = "50";
    form->commentText = "新";
    RecordingSink sink;
    EXPECT_EQ(editing::acceptCommandForm(doc, *form, sink), FormResult::Accepted);
    const auto& m = doc.slaves[0].modules[0];
    EXPECT_EQ(m.Start_Add, 20);
    EXPECT_EQ(m.Length, 4);
    EXPECT_EQ(m.Gate_Add, 50);
    EXPECT_EQ(m.Explain, "新");
    EXPECT_EQ(m.Func, "读4区 03H");
    EXPECT_EQ(doc.slaves[0].modules.size(), 1u);
}

TEST(CommandEditTest, OverlapRestoresCommandAndFields) {
    auto doc = projectWithSlave();
    doc.slaves[0].modules = {command("读4区 03H", 0, 10, 0), command("读4区 03H", 10, 10, 10)};
    doc.slaves[0].modules[1].Explain = "保留";
    doc.slaves[0].modules[1].isCDTYx = 1;
    auto before = doc.slaves[0].modules;
    auto form = editing::openEditCommandForm(doc, 1);
    form->gatewayText = "5";
    form->commentText = "改";
    form->startText = "30";
    form->cdtYx = false;
    RecordingSink sink;
    EXPECT_EQ(editing::acceptCommandForm(doc, *form, sink), FormResult::StayOpen);
    EXPECT_EQ(sink.texts(), (std::vector<std::string>{"网关地址区域重叠"}));
    EXPECT_EQ(doc.slaves[0].modules, before);
    EXPECT_EQ(form->gatewayText, "10");
    EXPECT_EQ(form->startText, "10");
    EXPECT_EQ(form->commentText, "保留");
    EXPECT_TRUE(form->cdtYx);
    // Slave ranges too.
    sink.messages.clear();
    form->startText = "5";
    EXPECT_EQ(editing::acceptCommandForm(doc, *form, sink), FormResult::StayOpen);
    EXPECT_EQ(sink.texts(), (std::vector<std::string>{"4区读区域重叠"}));
    EXPECT_EQ(doc.slaves[0].modules, before);
}

TEST(CommandEditTest, EditFieldErrorsChangeNothing) {
    auto doc = projectWithSlave();
    doc.slaves[0].modules = {command("写4区 06H 写单字", 3, 1, 0)};
    auto before = doc.slaves[0].modules;
    auto form = editing::openEditCommandForm(doc, 0);
    EXPECT_FALSE(form->lengthEnabled);
    form->startText = "00";
    RecordingSink sink;
    EXPECT_EQ(editing::acceptCommandForm(doc, *form, sink), FormResult::StayOpen);
    EXPECT_EQ(doc.slaves[0].modules, before);
    EXPECT_FALSE(editing::openEditCommandForm(doc, 1));
}

TEST(CommandFormTest, EtherNetIpHookTakesBackNewCommand) {
    auto doc = projectWithSlave("TRX-H-QMB6");
    RecordingSink sink;
    int calls = 0;
    editing::EipSizeCheck refuse = [&](const model::CVantorDoc& d, MessageSink& s) {
        ++calls;
        EXPECT_EQ(d.slaves[0].modules.size(), 1u); // runs with the new command in place
        s.error("错误", "输出超限");
        return false;
    };
    auto form = editing::openNewCommandForm(doc, "写4区 10H 写多字", sink);
    form->lengthText = "3";
    EXPECT_EQ(editing::acceptCommandForm(doc, *form, sink, refuse), FormResult::Accepted);
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(doc.slaves[0].modules.empty());
    EXPECT_EQ(form->index, -1);
    EXPECT_EQ(sink.texts(), (std::vector<std::string>{"输出超限"}));
    // Not run for other models.
    auto other = projectWithSlave();
    form = editing::openNewCommandForm(other, "写4区 10H 写多字", sink);
    EXPECT_EQ(editing::acceptCommandForm(other, *form, sink, refuse), FormResult::Accepted);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(other.slaves[0].modules.size(), 1u);
}

// The points where the two programs' command forms differ, side by side:
// the same fields, one rule set each.
TEST(CommandFields, VantorAndVantorNetDifferOnlyWhereDecided) {
    const auto* kind = model::findCommandKind("读4区 03H");
    ASSERT_NE(kind, nullptr);
    struct Case {
        const char* start;
        const char* gate;
        const char* vantor; // the message, or nullptr when accepted
        const char* net;
    } cases[] = {
        {"", "0", nullptr, "起始地址格式错误"},
        {"0", "", nullptr, "网关地址错误"},
        {"00", "0", "起始地址格式错误", nullptr},
        {"0", "4000", "网关地址超限", nullptr},
    };
    for (const auto& c : cases) {
        for (auto rules : {editing::CommandFormRules::Vantor, editing::CommandFormRules::VantorNet}) {
            editing::CommandFields fields;
            const auto message = editing::checkCommandFields(*kind, c.start, "1", c.gate, rules, fields);
            const char* expected = rules == editing::CommandFormRules::Vantor ? c.vantor : c.net;
            EXPECT_EQ(message.value_or(""), expected ? expected : "") << c.start << " / " << c.gate;
        }
    }
}

} // namespace
