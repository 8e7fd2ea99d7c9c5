#include "editing/AddressingModeForm.h"
#include "editing/ComPropertiesForm.h"
#include "editing/DefaultValuesForm.h"
#include "editing/SlavePropertiesForm.h"

#include "EditingFixtures.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vantor;
using editing::FormResult;
using vantor::testing::addTestSlave;

namespace {

model::CVantorDoc lineWithSlave5() {
    auto doc = vantor::testing::project("KX-P4R0-1.0", {"COM1", "COM2"});
    addTestSlave(doc, "COM1", 5);
    doc.slaves[0].space = 3;
    doc.slaves[0].timeout = 50;
    doc.slaves[0].control = 0x43;
    doc.slaves[0].name = "A";
    return doc;
}

TEST(SlaveFormTest, OpensExistingSlave) {
    auto doc = lineWithSlave5();
    auto f = editing::openSlaveForm(doc, 0);
    EXPECT_EQ(f.addressText, "5");
    EXPECT_EQ(f.intervalText, "30");
    EXPECT_EQ(f.timeoutText, "500");
    EXPECT_EQ(f.nameText, "A");
    EXPECT_FALSE(f.operationEnable);
    EXPECT_TRUE(f.keepError);
    EXPECT_FALSE(f.clearError);
    EXPECT_TRUE(f.changeSend);
    EXPECT_TRUE(f.writeStop);
}

TEST(SlaveFormTest, OpensNewSlaveWithProposalAndDefaults) {
    auto doc = lineWithSlave5();
    doc.coms[0].addArea[1] = 1;
    doc.slaveAddrFlag[2] = 1;
    RecordingSink sink;
    auto f = editing::openNewSlaveForm(doc, 0, sink);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->addressText, "2"); // data-area addressing: the line's table
    EXPECT_EQ(doc.lastProposedSlaveAddress, 2);
    EXPECT_EQ(f->intervalText, "0");
    EXPECT_EQ(f->timeoutText, "500");
    EXPECT_EQ(f->nameText, "SLAVE");
    EXPECT_TRUE(f->operationEnable);
    EXPECT_FALSE(f->keepError || f->clearError || f->changeSend || f->writeStop);
    doc.addType = 1;
    EXPECT_EQ(editing::openNewSlaveForm(doc, 0, sink)->addressText, "1"); // remote: project-wide table
    doc.slaveAddrFlag.fill(1);
    EXPECT_FALSE(editing::openNewSlaveForm(doc, 0, sink));
    EXPECT_EQ(sink.texts(), (std::vector<std::string>{editing::kNoFreeSlaveAddress}));
}

struct SlaveOkCase {
    const char* name;
    const char* address;
    const char* interval;
    const char* timeout;
    const char* deviceName;
    const char* message; // nullptr: accepted
};

class SlaveFormOkTest : public ::testing::TestWithParam<SlaveOkCase> {};

TEST_P(SlaveFormOkTest, ChecksInOrder) {
    const auto& c = GetParam();
    auto doc = lineWithSlave5();
    auto f = editing::openSlaveForm(doc, 0);
    f.addressText = c.address;
    f.intervalText = c.interval;
    f.timeoutText = c.timeout;
    f.nameText = c.deviceName;
    RecordingSink sink;
    auto result = editing::acceptSlaveForm(doc, f, sink);
    if (c.message) {
        EXPECT_EQ(result, FormResult::StayOpen);
        ASSERT_EQ(sink.messages.size(), 1u);
        EXPECT_EQ(sink.messages[0], (Message{MessageKind::Error, "错误", c.message}));
        EXPECT_EQ(doc.slaves[0].address, 5);
    } else {
        EXPECT_EQ(result, FormResult::Accepted);
        EXPECT_TRUE(sink.messages.empty());
    }
}

const std::string kName64(64, 'n');
const std::string kName65(65, 'n');
const std::string kChinese33 = [] {
    std::string s;
    for (int i = 0; i < 33; ++i)
        s += "站";
    return s;
}();

INSTANTIATE_TEST_SUITE_P(
    Cases, SlaveFormOkTest,
    ::testing::Values(
        SlaveOkCase{"Plain", "6", "0", "500", "A", nullptr},
        SlaveOkCase{"AddressZero", "0", "0", "500", "A", "地址请添入一个1和247之间的整数"},
        SlaveOkCase{"AddressEmpty", "", "0", "500", "A", "地址请添入一个1和247之间的整数"},
        SlaveOkCase{"Address247", "247", "0", "500", "A", nullptr},
        SlaveOkCase{"Address248", "248", "0", "500", "A", "地址请添入一个1和247之间的整数"},
        SlaveOkCase{"AddressLetters", "12a", "0", "500", "A", "从站地址有非法字符"},
        SlaveOkCase{"AddressBeforeInterval", "x", "y", "z", "A", "从站地址有非法字符"},
        SlaveOkCase{"IntervalLetters", "6", "1.5", "z", "A", "报文发送间隔时间有非法字符"},
        SlaveOkCase{"TimeoutLetters", "6", "0", "-1", "A", "应答超时时间有非法字符"},
        SlaveOkCase{"DigitsBeforeRange", "0", "0", "x", "A", "应答超时时间有非法字符"},
        SlaveOkCase{"Interval3000", "6", "3000", "500", "A", nullptr},
        SlaveOkCase{"Interval3001", "6", "3001", "500", "A", "报文发送间隔请添入一个0和3000之间的整数"},
        SlaveOkCase{"Timeout99", "6", "0", "99", "A", "应答超时时间请添入一个100和3000之间的整数"},
        SlaveOkCase{"Timeout100", "6", "0", "100", "A", nullptr},
        SlaveOkCase{"Timeout3000", "6", "0", "3000", "A", nullptr},
        SlaveOkCase{"Timeout3001", "6", "0", "3001", "A", "应答超时时间请添入一个100和3000之间的整数"},
        SlaveOkCase{"Name64", "6", "0", "500", kName64.c_str(), nullptr},
        SlaveOkCase{"Name65", "6", "0", "500", kName65.c_str(), "设备名称超过64字符"},
        SlaveOkCase{"ChineseName66Bytes", "6", "0", "500", kChinese33.c_str(), "设备名称超过64字符"},
        SlaveOkCase{"NameBeforeDigits", "x", "0", "500", kName65.c_str(), "设备名称超过64字符"},
        SlaveOkCase{"NameOutsideGbk", "6", "0", "500", "\xF0\x9F\x98\x80", "设备名称含有无法保存的字符"}),
    [](const auto& info) { return std::string(info.param.name); });

// A refusal at any step leaves the slave as it was, so Cancel after it
// changes nothing; the next OK that passes stores everything.
TEST(SlaveFormTest, RefusedOkStoresNothing) {
    struct Case {
        const char* name;
        const char* address;
        const char* interval;
        const char* timeout;
    } cases[] = {{"地址", "abc", "1234", "1000"},
                 {"间隔", "9", "3010", "1000"},
                 {"超时", "9", "1234", "3001"},
                 {"地址范围", "248", "1234", "1000"}};
    for (const auto& c : cases) {
        auto doc = lineWithSlave5();
        const auto before = doc;
        auto f = editing::openSlaveForm(doc, 0);
        f.operationEnable = !f.operationEnable;
        f.nameText = "新名";
        f.addressText = c.address;
        f.intervalText = c.interval;
        f.timeoutText = c.timeout;
        RecordingSink sink;
        EXPECT_EQ(editing::acceptSlaveForm(doc, f, sink), FormResult::StayOpen) << c.name;
        EXPECT_EQ(sink.messages.size(), 1u) << c.name;
        EXPECT_EQ(doc.slaves, before.slaves) << c.name;
        EXPECT_EQ(doc.coms[0].addArea, before.coms[0].addArea) << c.name;
        EXPECT_EQ(doc.slaveAddrFlag, before.slaveAddrFlag) << c.name;
        EXPECT_EQ(doc.modified, before.modified) << c.name;
    }
    auto doc = lineWithSlave5();
    auto f = editing::openSlaveForm(doc, 0);
    f.operationEnable = false;
    f.nameText = "新名";
    f.intervalText = "1234";
    f.timeoutText = "1005";
    f.addressText = "9";
    RecordingSink sink;
    EXPECT_EQ(editing::acceptSlaveForm(doc, f, sink), FormResult::Accepted);
    EXPECT_EQ(doc.slaves[0].control, 0x7F);
    EXPECT_EQ(doc.slaves[0].name, "新名");
    EXPECT_EQ(doc.slaves[0].space, 123);
    EXPECT_EQ(doc.slaves[0].timeout, 100);
    EXPECT_EQ(doc.slaves[0].address, 9);
    // 1234 ms is stored as 123 and shown as 1230.
    EXPECT_EQ(editing::openSlaveForm(doc, 0).intervalText, "1230");
}

TEST(SlaveFormTest, DataAreaAddressChangeFreesEntries) {
    auto doc = lineWithSlave5();
    auto f = editing::openSlaveForm(doc, 0);
    f.addressText = "6";
    RecordingSink sink;
    ASSERT_EQ(editing::acceptSlaveForm(doc, f, sink), FormResult::Accepted);
    EXPECT_EQ(doc.slaves[0].address, 6);
    EXPECT_EQ(doc.coms[0].addArea[5], 0);
    EXPECT_NE(doc.coms[0].addArea[6], 0);
    EXPECT_EQ(doc.slaveAddrFlag[5], 0);
    EXPECT_NE(doc.slaveAddrFlag[6], 0);

    // Another slave with address 6 on COM2 keeps the project-wide entry.
    addTestSlave(doc, "COM2", 6);
    f = editing::openSlaveForm(doc, 0);
    f.addressText = "7";
    ASSERT_EQ(editing::acceptSlaveForm(doc, f, sink), FormResult::Accepted);
    EXPECT_EQ(doc.coms[0].addArea[6], 0);
    EXPECT_NE(doc.slaveAddrFlag[6], 0);
    EXPECT_TRUE(sink.messages.empty());
}

struct OccupancyCase {
    const char* name;
    int addType;
    int typed;
    bool accepted;
};

class SlaveOccupancyTest : public ::testing::TestWithParam<OccupancyCase> {};

// COM1 holds slaves 5 (edited) and 8; COM2 holds slave 9.
TEST_P(SlaveOccupancyTest, ChecksTheTableOfTheMode) {
    const auto& c = GetParam();
    auto doc = lineWithSlave5();
    addTestSlave(doc, "COM1", 8);
    addTestSlave(doc, "COM2", 9);
    doc.addType = c.addType;
    auto f = editing::openSlaveForm(doc, 0);
    f.addressText = std::to_string(c.typed);
    RecordingSink sink;
    auto result = editing::acceptSlaveForm(doc, f, sink);
    EXPECT_EQ(result == FormResult::Accepted, c.accepted);
    if (!c.accepted) {
        EXPECT_EQ(sink.texts(), (std::vector<std::string>{"地址已经被占用,请更换另外一个！"}));
        EXPECT_EQ(doc.slaves[0].address, 5);
        EXPECT_NE(doc.coms[0].addArea[5], 0);
    } else {
        EXPECT_EQ(doc.slaves[0].address, c.typed);
        EXPECT_NE(doc.coms[0].addArea[static_cast<std::size_t>(c.typed)], 0);
        EXPECT_NE(doc.slaveAddrFlag[static_cast<std::size_t>(c.typed)], 0);
        if (c.typed != 5) {
            EXPECT_EQ(doc.coms[0].addArea[5], 0);
            EXPECT_EQ(doc.slaveAddrFlag[5], 0);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, SlaveOccupancyTest,
                         ::testing::Values(OccupancyCase{"DataSameAddress", 0, 5, true},
                                           OccupancyCase{"DataTakenOnLine", 0, 8, false},
                                           OccupancyCase{"DataTakenOnOtherLine", 0, 9, true},
                                           OccupancyCase{"RemoteSameAddress", 1, 5, true},
                                           OccupancyCase{"RemoteTakenOnLine", 1, 8, false},
                                           OccupancyCase{"RemoteTakenOnOtherLine", 1, 9, false},
                                           OccupancyCase{"RemoteFree", 1, 10, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SlaveFormTest, NewSlaveKeepsValuesInTheForm) {
    auto doc = lineWithSlave5();
    doc.sendInterlTime = 120;
    doc.repTimeoutTime = 800;
    RecordingSink sink;
    auto f = editing::openNewSlaveForm(doc, 1, sink);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->intervalText, "120");
    EXPECT_EQ(f->timeoutText, "800");
    f->addressText = "5"; // free on COM2 in data-area addressing
    f->operationEnable = false;
    ASSERT_EQ(editing::acceptSlaveForm(doc, *f, sink), FormResult::Accepted);
    EXPECT_EQ(f->result.address, 5);
    EXPECT_EQ(f->result.space, 12);
    EXPECT_EQ(f->result.timeout, 80);
    EXPECT_EQ(f->result.name, "SLAVE");
    EXPECT_EQ(f->result.control, 0x7F);
    EXPECT_EQ(doc.lastProposedSlaveAddress, 5);
    EXPECT_NE(doc.coms[1].addArea[5], 0);
    EXPECT_EQ(doc.coms[1].addArea[1], 0); // the proposal was not taken
    EXPECT_NE(doc.slaveAddrFlag[5], 0);
    EXPECT_EQ(doc.slaveAddrFlag[1], 0);
    EXPECT_EQ(doc.slaves.size(), 1u); // adding is the caller's step
    int s = editing::addSlave(doc, 1, f->result);
    EXPECT_EQ(doc.slaves[static_cast<std::size_t>(s)].space, 12);
}

struct ComCase {
    const char* text;
    const char* message;
    int stored;
};

class ComFormTest : public ::testing::TestWithParam<ComCase> {};

TEST_P(ComFormTest, IntervalRule) {
    const auto& c = GetParam();
    auto doc = lineWithSlave5();
    auto f = editing::openComForm(doc, 0);
    EXPECT_EQ(f.intervalText, "300");
    EXPECT_EQ(f.baud, 2);
    EXPECT_EQ(f.check, 2);
    EXPECT_EQ(f.stop, 0);
    EXPECT_EQ(f.dataBitsText, "8");
    f.baud = 6;
    f.check = 1;
    f.stop = 1;
    f.intervalText = c.text;
    RecordingSink sink;
    const auto before = doc.coms[0];
    const bool wasModified = doc.modified;
    auto result = editing::acceptComForm(doc, f, sink);
    EXPECT_EQ(doc.coms[0].space, c.stored);
    if (c.message) {
        // Refused: nothing of the form is stored, so Cancel changes nothing.
        EXPECT_EQ(result, FormResult::StayOpen);
        EXPECT_EQ(sink.texts(), (std::vector<std::string>{c.message}));
        EXPECT_EQ(doc.coms[0].baud, before.baud);
        EXPECT_EQ(doc.coms[0].check, before.check);
        EXPECT_EQ(doc.coms[0].stop, before.stop);
        EXPECT_EQ(doc.modified, wasModified);
    } else {
        EXPECT_EQ(doc.coms[0].baud, 6);
        EXPECT_EQ(doc.coms[0].check, 1);
        EXPECT_EQ(doc.coms[0].stop, 1);
        EXPECT_EQ(result, FormResult::Accepted);
        EXPECT_TRUE(sink.messages.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ComFormTest,
                         ::testing::Values(ComCase{"2550", nullptr, 255}, ComCase{"10", nullptr, 1},
                                           ComCase{"15", nullptr, 1},
                                           ComCase{"2560", "报文发送间隔请添入一个10和2550之间的整数", 30},
                                           ComCase{"9", "报文发送间隔请添入一个10和2550之间的整数", 30},
                                           ComCase{"0", "报文发送间隔请添入一个10和2550之间的整数", 30},
                                           ComCase{"", "报文发送间隔请添入一个10和2550之间的整数", 30},
                                           ComCase{"abc", "报文发送间隔格式错误", 30},
                                           ComCase{"0x", "报文发送间隔格式错误", 30},
                                           ComCase{"100a", "报文发送间隔格式错误", 30}));

TEST(AddressingModeTest, DuplicateAddressesNameBothSlaves) {
    auto doc = vantor::testing::project("KX-P4R0-1.0", {"COM1", "COM2"});
    addTestSlave(doc, "COM1", 3);
    addTestSlave(doc, "COM2", 3);
    RecordingSink sink;
    auto f = editing::openAddressingModeForm(doc);
    EXPECT_FALSE(f.remote);
    f.remote = true;
    EXPECT_EQ(editing::acceptAddressingModeForm(doc, f, sink), FormResult::StayOpen);
    EXPECT_EQ(sink.texts(),
              (std::vector<std::string>{"远端选择方式不能有相同的从站地址 地址相同的从站有COM2:3和COM1:3"}));
    EXPECT_EQ(doc.addType, 0);
    doc.slaves[1].address = 4;
    sink.messages.clear();
    EXPECT_EQ(editing::acceptAddressingModeForm(doc, f, sink), FormResult::Accepted);
    EXPECT_EQ(doc.addType, 1);
    EXPECT_TRUE(editing::openAddressingModeForm(doc).remote);
    f.remote = false;
    EXPECT_EQ(editing::acceptAddressingModeForm(doc, f, sink), FormResult::Accepted);
    EXPECT_EQ(doc.addType, 0);
    EXPECT_TRUE(sink.messages.empty());
}

struct DefaultsCase {
    const char* interval;
    const char* timeout;
    const char* message;
};

class DefaultValuesTest : public ::testing::TestWithParam<DefaultsCase> {};

TEST_P(DefaultValuesTest, ChecksThenStoresInMilliseconds) {
    const auto& c = GetParam();
    model::CVantorDoc doc;
    auto f = editing::openDefaultValuesForm(doc);
    EXPECT_FALSE(f.editSendEnabled);
    EXPECT_EQ(f.intervalText, "0");
    EXPECT_EQ(f.timeoutText, "500");
    f.editSendEnabled = true;
    f.intervalText = c.interval;
    f.timeoutText = c.timeout;
    RecordingSink sink;
    auto result = editing::acceptDefaultValuesForm(doc, f, sink);
    if (c.message) {
        EXPECT_EQ(result, FormResult::StayOpen);
        EXPECT_EQ(sink.texts(), (std::vector<std::string>{c.message}));
        EXPECT_EQ(doc.sendInterlTime, 0);
        EXPECT_EQ(doc.repTimeoutTime, 500);
        EXPECT_EQ(doc.editSendDefault, 0);
    } else {
        EXPECT_EQ(result, FormResult::Accepted);
        EXPECT_EQ(std::to_string(doc.sendInterlTime), c.interval);
        EXPECT_EQ(std::to_string(doc.repTimeoutTime), c.timeout);
        EXPECT_EQ(doc.editSendDefault, 1);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DefaultValuesTest,
    ::testing::Values(DefaultsCase{"1234", "100", nullptr}, DefaultsCase{"3000", "3000", nullptr},
                      DefaultsCase{"3001", "500", "报文发送间隔请添入一个0和3000之间的整数"},
                      DefaultsCase{"1e3", "500", "报文发送间隔时间有非法字符"},
                      DefaultsCase{"0", "99", "应答超时时间请添入一个100和3000之间的整数"},
                      DefaultsCase{"0", "3001", "应答超时时间请添入一个100和3000之间的整数"},
                      DefaultsCase{"0", "5s", "应答超时时间有非法字符"}));

} // namespace
