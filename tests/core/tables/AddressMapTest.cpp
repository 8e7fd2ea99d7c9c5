#include "TableFixtures.h"

#include "editing/AddressMap.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace vantor;
using namespace vantor::testing;
using editing::MapRow;

TEST(ModbusReference, AreaDigitAndWidth) {
    struct Case {
        int area, address;
        const char* text;
    } cases[] = {
        {0, 5, "00005"},      {0, 0, "00000"},      {1, 0, "10000"},      {3, 7, "30007"},
        {4, 0, "40000"},      {4, 9999, "49999"},   {1, 10000, "110000"}, {3, 12345, "312345"},
        {4, 10000, "410000"}, {0, 10000, "010000"}, {0, 8191, "08191"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(editing::modbusReference(c.area, c.address), c.text) << c.area << " " << c.address;
}

TEST(AddressMapRows, ColumnsZeroFilled) {
    auto doc = projectFor("KX-P2R0-1.0");
    int s = addSlave(doc, "COM1", 7);
    addCommand(doc, s, kRead4, 3, 16, 0);
    addCommand(doc, s, kRead0, 123456, 2, 5);
    addCommand(doc, s, kWrite4Single, 100, 1, 16);
    auto map = editing::buildAddressMap(doc);
    ASSERT_EQ(map.areas[0].size(), 1u);
    ASSERT_EQ(map.areas[3].size(), 2u);
    EXPECT_EQ(map.areas[3][0], (MapRow{"1", "40000", "读", "0016", "COM1", "007", "00003"}));
    EXPECT_EQ(map.areas[3][1], (MapRow{"2", "40016", "写", "0001", "COM1", "007", "00100"}));
    EXPECT_EQ(map.areas[0][0], (MapRow{"1", "00005", "读", "0002", "COM1", "007", "123456"}));
    EXPECT_TRUE(map.areas[1].empty());
    EXPECT_TRUE(map.areas[2].empty());
}

// The order of rows: reads before writes, COM1 before COM2, slaves by
// address, commands by start address, regardless of project order.
TEST(AddressMapRows, OrderReadsPortsSlavesStarts) {
    auto doc = projectFor("KX-P6R0-1.0");
    int c2 = addSlave(doc, "COM2", 1);
    int c1b = addSlave(doc, "COM1", 9);
    int c1a = addSlave(doc, "COM1", 4);
    int c6 = addSlave(doc, "COM6", 2);
    addCommand(doc, c2, kRead4, 0, 1, 100);
    addCommand(doc, c1b, kWrite4Multi, 0, 2, 200);
    addCommand(doc, c1b, kRead4, 50, 1, 101);
    addCommand(doc, c1b, kRead4, 10, 1, 102);
    addCommand(doc, c1a, kRead4, 90, 1, 103);
    addCommand(doc, c6, kWrite4Single, 0, 1, 201);
    addCommand(doc, c2, kWrite4Single, 5, 1, 202);
    addCommand(doc, c1a, kRead3, 0, 1, 0); // other area, own list
    auto map = editing::buildAddressMap(doc);
    std::vector<std::string> got;
    for (const auto& r : map.areas[3])
        got.push_back(r[0] + " " + r[1] + " " + r[2] + " " + r[4] + " " + r[5] + " " + r[6]);
    std::vector<std::string> want = {
        "1 40103 读 COM1 004 00090", "2 40102 读 COM1 009 00010", "3 40101 读 COM1 009 00050",
        "4 40100 读 COM2 001 00000", "5 40200 写 COM1 009 00000", "6 40202 写 COM2 001 00005",
        "7 40201 写 COM6 002 00000",
    };
    EXPECT_EQ(got, want);
    ASSERT_EQ(map.areas[2].size(), 1u);
    EXPECT_EQ(map.areas[2][0][0], "1");
}

TEST(AddressMapRows, EqualStartsAndAddressesKeepProjectOrder) {
    auto doc = projectFor("KX-P2R0-1.0");
    int a = addSlave(doc, "COM1", 3);
    int b = addSlave(doc, "COM1", 3);
    addCommand(doc, a, kRead1, 5, 1, 1);
    addCommand(doc, a, kRead1, 5, 1, 2);
    addCommand(doc, b, kRead1, 0, 1, 3);
    auto map = editing::buildAddressMap(doc);
    ASSERT_EQ(map.areas[1].size(), 3u);
    EXPECT_EQ(map.areas[1][0][1], "10001");
    EXPECT_EQ(map.areas[1][1][1], "10002");
    EXPECT_EQ(map.areas[1][2][1], "10003");
}

TEST(AddressMapOpening, ChecksInOrder) {
    struct Case {
        const char* name;
        std::string model;
        int gate; // of one area-4 read of length 10
        editing::MapView view;
        std::vector<std::string> messages;
    } cases[] = {
        {"no gateway", "", 0, editing::MapView::Refused, {"请添加一个主站!"}},
        {"plain model", "KX-P4R0-1.0", 0, editing::MapView::GatewayMap, {}},
        {"area exceeded",
         "KX-P4R0-1.0",
         1991,
         editing::MapView::Refused,
         {"网关数据区访问超限 0区8192,1区8192,3区2000,4区2000"}},
        {"CDT gateway", "TRC-H-ZRTU", 0, editing::MapView::CdtTable, {}},
        {"CDT gateway, area exceeded",
         "TRC-H-ZRTU",
         1995,
         editing::MapView::Refused,
         {"网关数据区访问超限 0区8192,1区8192,3区2000,4区2000"}},
        // Packed first: the out-of-range address is renumbered to 0.
        {"EtherNet/IP gateway packs first", "TRX-H-QMB6", 1995, editing::MapView::GatewayMap, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto doc = projectFor(c.model);
        int s = addSlave(doc, c.model == "TRC-H-ZRTU" ? "COM2" : "COM1", 1);
        addCommand(doc, s, kRead4, 0, 10, c.gate);
        RecordingSink sink;
        EXPECT_EQ(editing::openAddressMap(doc, sink), c.view);
        EXPECT_EQ(sink.texts(), c.messages);
        for (const auto& m : sink.messages)
            EXPECT_EQ(m.caption, "错误");
    }
}

TEST(AddressMapOpening, PackingRenumbersBeforeTheRowsAreBuilt) {
    auto doc = projectFor("TRX-H-QMB6");
    int s3 = addSlave(doc, "COM1", 3);
    int s1 = addSlave(doc, "COM1", 1);
    addCommand(doc, s3, kRead4, 0, 10, 500);
    addCommand(doc, s1, kRead4, 0, 10, 700);
    addCommand(doc, s3, kWrite4Multi, 0, 2, 900);
    RecordingSink sink;
    ASSERT_EQ(editing::openAddressMap(doc, sink), editing::MapView::GatewayMap);
    auto map = editing::buildAddressMap(doc);
    ASSERT_EQ(map.areas[3].size(), 3u);
    EXPECT_EQ(map.areas[3][0][1], "40000");
    EXPECT_EQ(map.areas[3][1][1], "40010");
    EXPECT_EQ(map.areas[3][2][1], "40020");
}

namespace {

std::string header() {
    return "序号\t网关MODBUS地址\t读/写\t长度(bit)\t通道\t从站地址\t从站数据起始地址";
}

} // namespace

TEST(AddressMapExport, WorkbookHoldsFourSheets) {
    auto doc = projectFor("KX-P2R0-1.0");
    int s = addSlave(doc, "COM2", 7);
    addCommand(doc, s, kRead0, 0, 16, 5);
    addCommand(doc, s, kWrite0Multi, 16, 8, 21);
    addCommand(doc, s, kRead4, 100, 2, 0);
    auto dir = scratchDir("map");
    auto file = dir / "map.xlsx";
    std::string errors = "stale";
    ASSERT_TRUE(editing::exportAddressMap(editing::buildAddressMap(doc), file.string(), errors)) << errors;
    EXPECT_EQ(errors, "");
    std::string want = "#Area0\n" + header() +
                       "\n1\t00005\t读\t0016\tCOM2\t007\t00000\n2\t00021\t写\t0008\tCOM2\t007\t00016\n"
                       "#Area1\n" +
                       header() + "\n#Area3\n" + header() + "\n#Area4\n" + header() +
                       "\n1\t40000\t读\t0002\tCOM2\t007\t00100\n";
    EXPECT_EQ(readWorkbook(file), want);
    // Nothing left beside the file.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
    std::filesystem::remove_all(dir);
}

TEST(AddressMapExport, EmptyProjectGivesHeaderRowsOnly) {
    auto doc = projectFor("KX-P1-1.0");
    auto dir = scratchDir("empty");
    auto file = dir / "EMPTY.XLSX";
    std::string errors;
    ASSERT_TRUE(editing::exportAddressMap(editing::buildAddressMap(doc), file.string(), errors)) << errors;
    EXPECT_EQ(readWorkbook(file), "#Area0\n" + header() + "\n#Area1\n" + header() + "\n#Area3\n" + header() +
                                      "\n#Area4\n" + header() + "\n");
    std::filesystem::remove_all(dir);
}

TEST(AddressMapExport, OtherExtensionWritesDelimitedText) {
    auto doc = projectFor("KX-P2R0-1.0");
    int s = addSlave(doc, "COM1", 12);
    addCommand(doc, s, kRead3, 4, 3, 9);
    auto dir = scratchDir("text");
    auto file = dir / "map.csv";
    std::string errors;
    ASSERT_TRUE(editing::exportAddressMap(editing::buildAddressMap(doc), file.string(), errors)) << errors;
    std::ifstream in(file, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    const std::string h = "序号,网关MODBUS地址,读/写,长度(bit),通道,从站地址,从站数据起始地址\r\n";
    EXPECT_EQ(ss.str(), "Area0\r\n" + h + "\r\nArea1\r\n" + h + "\r\nArea3\r\n" + h +
                            "1,30009,读,0003,COM1,012,00004\r\n\r\nArea4\r\n" + h);
    std::filesystem::remove_all(dir);
}

TEST(AddressMapExport, CancelledOrUnwritableTarget) {
    editing::AddressMap empty;
    std::string errors = "stale";
    EXPECT_FALSE(editing::exportAddressMap(empty, "", errors));
    EXPECT_EQ(errors, "");
    EXPECT_FALSE(editing::exportAddressMap(empty, "/nonexistent-dir/x/map.xlsx", errors));
    EXPECT_EQ(errors, "打开文件时产生错误\n");
    EXPECT_FALSE(editing::exportAddressMap(empty, "/nonexistent-dir/x/map.txt", errors));
    EXPECT_EQ(errors, "写文件时产生错误\n");
}

TEST(AddressMapRows, DamagedNumbersFromAFile) {
    // Values the command form never produces but an edited file may hold.
    auto doc = projectFor("KX-P2R0-1.0");
    int s = addSlave(doc, "COM1", -1);
    addCommand(doc, s, kRead4, -5, 12345, -1);
    auto map = editing::buildAddressMap(doc);
    ASSERT_EQ(map.areas[3].size(), 1u);
    EXPECT_EQ(map.areas[3][0], (MapRow{"1", "39999", "读", "12345", "COM1", "-01", "-0005"}));
}
