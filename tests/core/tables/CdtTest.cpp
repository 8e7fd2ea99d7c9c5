#include "TableFixtures.h"

#include "editing/CdtAddressTable.h"
#include "editing/CdtOptionsForm.h"

#include <gtest/gtest.h>

using namespace vantor;
using namespace vantor::testing;
using editing::CdtDataRow;
using editing::CdtOptionsForm;
using editing::CdtStateRow;

namespace {

model::CVantorDoc cdtProject() {
    auto doc = projectFor("TRC-H-ZRTU");
    model::CCOM com1;
    com1.COMName = "COM1";
    com1.num_com = 1;
    doc.coms.push_back(com1);
    return doc;
}

} // namespace

TEST(CdtOptions, OpeningShowsLineAndNumbers) {
    struct Case {
        int baud, check;
        int item, parity;
    } cases[] = {{7, 0, 0, 0}, {0, 1, 1, 1}, {1, 2, 2, 2}, {2, 2, 3, 2}, {5, 0, 0, 0}, {-1, 0, 0, 0}};
    for (const auto& c : cases) {
        auto doc = cdtProject();
        doc.coms[0].baud = c.baud;
        doc.coms[0].check = c.check;
        doc.cdtOptions = {9, 12, 300, 2500};
        auto form = CdtOptionsForm::load(doc);
        EXPECT_EQ(form.baudItem, c.item) << c.baud;
        EXPECT_EQ(form.parityItem, c.parity);
        EXPECT_EQ(form.remoteStation, "9");
        EXPECT_EQ(form.gatewayStation, "12");
        EXPECT_EQ(form.telemetryPeriod, "300");
        EXPECT_EQ(form.telesignalPeriod, "2500");
    }
}

TEST(CdtOptions, ChecksInOrder) {
    struct Case {
        const char* name;
        const char *remote, *gateway, *telemetry, *telesignal;
        Message message; // empty text: accepted
        std::array<int, 4> stored{};
        const char* telemetryShown = nullptr;
        const char* telesignalShown = nullptr;
    } cases[] = {
        {"defaults", "1", "2", "500", "200", {}, {1, 2, 500, 200}, "500", "200"},
        {"limits", "0", "255", "1000", "3000", {}, {0, 255, 1000, 3000}, "1000", "3000"},
        {"periods rounded down", "1", "2", "995", "2999", {}, {1, 2, 990, 2990}, "990", "2990"},
        {"small periods", "1", "2", "9", "0", {}, {1, 2, 0, 0}, "0", "0"},
        {"remote 256", "256", "2", "500", "200", {MessageKind::Error, "错误", "远端CDT站地址取值范围:0~255"}},
        {"remote not digits",
         "-1",
         "2",
         "500",
         "200",
         {MessageKind::Error, "错误", "远端CDT站地址取值范围:0~255"}},
        {"remote empty", "", "2", "500", "200", {MessageKind::Error, "错误", "远端CDT站地址取值范围:0~255"}},
        {"gateway 300",
         "1",
         "300",
         "500",
         "200",
         {MessageKind::Error, "错误", "网关CDT站地址取值范围:0~255"}},
        {"equal stations",
         "5",
         "5",
         "500",
         "200",
         {MessageKind::Information, "", "远端CDT站地址和网关CDT站地址不能为同一地址"}},
        {"equal stations checked before periods",
         "5",
         "5",
         "5000",
         "200",
         {MessageKind::Information, "", "远端CDT站地址和网关CDT站地址不能为同一地址"}},
        {"telemetry 1005",
         "1",
         "2",
         "1005",
         "200",
         {MessageKind::Error, "错误", "遥测模拟量发送周期取值范围:0~1000"}},
        {"telesignal 3001",
         "1",
         "2",
         "500",
         "3001",
         {MessageKind::Error, "错误", "遥信开关量发送周期取值范围:0~3000"}},
        {"telesignal fails after telemetry was rounded",
         "1",
         "2",
         "995",
         "x",
         {MessageKind::Error, "错误", "遥信开关量发送周期取值范围:0~3000"},
         {},
         "990",
         "x"},
        {"huge number does not wrap",
         "4294967297",
         "2",
         "500",
         "200",
         {MessageKind::Error, "错误", "远端CDT站地址取值范围:0~255"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto doc = cdtProject();
        doc.cdtOptions = {7, 8, 100, 100};
        doc.coms[0].baud = 7;
        doc.coms[0].check = 0;
        auto form = CdtOptionsForm::load(doc);
        form.baudItem = 3;
        form.parityItem = 1;
        form.remoteStation = c.remote;
        form.gatewayStation = c.gateway;
        form.telemetryPeriod = c.telemetry;
        form.telesignalPeriod = c.telesignal;
        RecordingSink sink;
        bool ok = form.apply(doc, sink);
        if (c.message.text.empty()) {
            EXPECT_TRUE(ok);
            EXPECT_TRUE(sink.messages.empty());
            EXPECT_EQ(doc.cdtOptions, c.stored);
            EXPECT_EQ(doc.coms[0].baud, 2); // "9600"
            EXPECT_EQ(doc.coms[0].check, 1);
        } else {
            EXPECT_FALSE(ok);
            ASSERT_EQ(sink.messages.size(), 1u);
            EXPECT_EQ(sink.messages[0], c.message);
            EXPECT_EQ(doc.cdtOptions, (std::array<int, 4>{7, 8, 100, 100}));
            EXPECT_EQ(doc.coms[0].baud, 7);
            EXPECT_EQ(doc.coms[0].check, 0);
        }
        if (c.telemetryShown) {
            EXPECT_EQ(form.telemetryPeriod, c.telemetryShown);
        }
        if (c.telesignalShown) {
            EXPECT_EQ(form.telesignalPeriod, c.telesignalShown);
        }
    }
}

TEST(CdtOptions, BaudItemsStoreTheirCodes) {
    for (int item = 0; item < 4; ++item) {
        auto doc = cdtProject();
        auto form = CdtOptionsForm::load(doc);
        form.baudItem = item;
        RecordingSink sink;
        ASSERT_TRUE(form.apply(doc, sink));
        EXPECT_EQ(doc.coms[0].baud, (std::array<int, 4>{7, 0, 1, 2})[static_cast<std::size_t>(item)]);
        EXPECT_EQ(CdtOptionsForm::load(doc).baudItem, item);
    }
}

TEST(CdtAddressTable, WordsMappedIntoTelesignal) {
    auto doc = cdtProject();
    int s = addSlave(doc, "COM2", 3);
    addCommand(doc, s, kRead3, 0x0010, 4, 0).isCDTYx = 1;
    auto t = editing::buildCdtAddressTable(doc);
    EXPECT_EQ(t.telesignal, (std::vector<CdtDataRow>{{"0", "0", "003", "30016", "0064"}}));
    EXPECT_EQ(t.telemetry, (std::vector<CdtDataRow>{{"0", "0", "003", "30016", "0004"}}));
    EXPECT_EQ(t.slaveState, (std::vector<CdtStateRow>{{"0", "64", "3"}}));
}

TEST(CdtAddressTable, OffsetsOrderAndStateBits) {
    auto doc = cdtProject();
    int s5 = addSlave(doc, "COM2", 5);
    int s2 = addSlave(doc, "COM2", 2);
    addCommand(doc, s5, kRead4, 10000, 2, 0);
    addCommand(doc, s5, kRead0, 40, 8, 0);
    addCommand(doc, s5, kWrite0Multi, 0, 16, 100); // writes are not listed
    addCommand(doc, s2, kRead1, 7, 3, 0);
    addCommand(doc, s2, kRead4, 20, 1, 0).isCDTYx = 1;
    addCommand(doc, s2, kRead3, 5, 2, 0);
    addCommand(doc, s2, kWrite4Single, 0, 1, 0);
    auto t = editing::buildCdtAddressTable(doc);
    EXPECT_EQ(t.telesignal, (std::vector<CdtDataRow>{
                                {"0", "0", "002", "10007", "0003"},
                                {"1", "3", "002", "40020", "0016"},
                                {"2", "19", "005", "00040", "0008"},
                            }));
    EXPECT_EQ(t.telemetry, (std::vector<CdtDataRow>{
                               {"0", "0", "002", "30005", "0002"},
                               {"1", "2", "002", "40020", "0001"},
                               {"2", "3", "005", "410000", "0002"},
                           }));
    EXPECT_EQ(t.telesignalBits, 27);
    EXPECT_EQ(t.telemetryWords, 5);
    EXPECT_EQ(t.slaveState, (std::vector<CdtStateRow>{{"0", "27", "2"}, {"1", "28", "5"}}));
}

TEST(CdtAddressTable, EmptyAndSlavesWithoutCommands) {
    auto doc = cdtProject();
    EXPECT_TRUE(editing::buildCdtAddressTable(doc).slaveState.empty());
    addSlave(doc, "COM2", 9);
    addSlave(doc, "COM2", 4);
    auto t = editing::buildCdtAddressTable(doc);
    EXPECT_TRUE(t.telesignal.empty());
    EXPECT_TRUE(t.telemetry.empty());
    EXPECT_EQ(t.slaveState, (std::vector<CdtStateRow>{{"0", "0", "4"}, {"1", "1", "9"}}));
}

// "数据首地址" has at least five digits: an area-0 start beyond 9999 keeps its
// five, the larger bases of the other areas give six.
TEST(CdtAddressTable, StartAddressDigits) {
    for (auto [func, start, text] : {std::tuple{kRead0, 7, "00007"},
                                     {kRead0, 10223, "10223"},
                                     {kRead0, 63154, "63154"},
                                     {kRead1, 12000, "112000"},
                                     {kRead4, 65535, "465535"}}) {
        auto doc = cdtProject();
        addCommand(doc, addSlave(doc, "COM2", 1), func, start, 1, 0);
        auto t = editing::buildCdtAddressTable(doc);
        const auto& rows = t.telesignal.empty() ? t.telemetry : t.telesignal;
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0][3], text) << func << " " << start;
    }
}
