#include "NetFixtures.h"

#include "common/WholeFile.h"
#include "markup/ArchiveString.h"
#include "model/ProjectFile.h"
#include "net/NetProjectFile.h"
#include "text/Gbk.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace vantor::net {
namespace {

using testing::command;
using testing::project;
using testing::server;

CVantorNetDoc roundTrip(const CVantorNetDoc& doc) {
    CVantorNetDoc back;
    EXPECT_TRUE(
        NetProjectFile::readBytes(back, markup::encodeArchiveString(NetProjectFile::buildText(doc, "v"))));
    return back;
}

void expectSameProject(const CVantorNetDoc& a, const CVantorNetDoc& b) {
    EXPECT_EQ(a.bus, b.bus);
    EXPECT_EQ(a.com1, b.com1);
    EXPECT_EQ(a.com2, b.com2);
    EXPECT_EQ(a.currentSelect, b.currentSelect);
    EXPECT_EQ(a.insert_add, b.insert_add);
    EXPECT_EQ(a.insert_slave_flag, b.insert_slave_flag);
    EXPECT_EQ(a.rev_allow, b.rev_allow);
    EXPECT_EQ(a.test, b.test);
    EXPECT_EQ(a.isDataModifySendEnable, b.isDataModifySendEnable);
    EXPECT_EQ(a.GW_work_mode, b.GW_work_mode);
    EXPECT_EQ(a.masters, b.masters);
    EXPECT_EQ(a.slaves, b.slaves);
}

TEST(NetProjectFile, WritingOrderAndAttributeNames) {
    CVantorNetDoc doc = project("KX-P1-1.0");
    auto s = server("192.168.0.1", 502, 7);
    s.nodes[0].modules.push_back(command("读4区 03H", 3, 10, 20));
    doc.slaves.push_back(s);
    doc.currentSelect = 3;
    const std::string want =
        "<?xml version='1.0' encoding='gb2312'?>\r\n"
        "<VantorNetProject>\r\n"
        "<softVer>V9</softVer>\r\n"
        "<bus length=\"400\" x=\"150\" y=\"150\"/>\r\n"
        "<COM com1_baud=\"3\" com1_check_flag=\"2\" com1_com_num=\"1\" com1_modadd=\"17\" "
        "com1_stop_flag=\"0\" com2_baud=\"3\" com2_check_flag=\"2\" com2_com_num=\"2\" "
        "com2_modadd=\"18\" com2_stop_flag=\"0\"/>\r\n"
        "<globalValue insert_add=\"1\" insert_slave_flag=\"0\" rev_allow=\"1\" "
        "currentSelect=\"3\" test=\"0\" isDataModifySendEnable=\"0\"/>\r\n"
        "<MasterInfo GW_work_mode=\"0\">\r\n"
        "<Master masterName=\"KX-P1-1.0\" x=\"200\" y=\"50\" bitmap=\"KX-P1-1.0\"/>\r\n"
        "</MasterInfo>\r\n"
        "<SlaveInfo>\r\n"
        "<Slave address=\"-1\" control=\"1\" ipadd=\"192.168.0.1\" name=\"S192.168.0.1\" "
        "picture=\"\" port=\"502\" space=\"5\" timetip=\"50\" x=\"0\" y=\"0\">\r\n"
        "<Node address=\"7\">\r\n"
        "<Module Start_Add=\"3\" Length=\"10\" Explain=\"\" Func=\"" +
        *text::toGbk("读4区 03H") +
        "\" area_num=\"4\" read_wri=\"0\" Gate_Add=\"20\" mod_num=\"1\" editSend=\"0\"/>\r\n"
        "</Node>\r\n"
        "</Slave>\r\n"
        "</SlaveInfo>\r\n"
        "</VantorNetProject>\r\n";
    EXPECT_EQ(NetProjectFile::buildText(doc, "V9"), want);
}

TEST(NetProjectFile, EmptyProjectWritesEmptyListsAndLoadsBack) {
    CVantorNetDoc doc;
    const std::string text = NetProjectFile::buildText(doc, "");
    EXPECT_NE(text.find("<MasterInfo GW_work_mode=\"0\"/>"), std::string::npos) << text;
    EXPECT_NE(text.find("<SlaveInfo/>"), std::string::npos) << text;
    CVantorNetDoc back = project("LNK-P1-1.0");
    back.slaves.push_back(server("1.2.3.4", 1, 1));
    ASSERT_TRUE(NetProjectFile::readBytes(back, markup::encodeArchiveString(text)));
    expectSameProject(doc, back);
}

TEST(NetProjectFile, EveryFieldSurvives) {
    CVantorNetDoc doc = project("NXE-485-ZRTU2");
    doc.bus = {11, 22, 333};
    doc.com1 = {1, 6, 1, 1, 200};
    doc.com2 = {2, 0, 0, 1, 247};
    doc.currentSelect = 4;
    doc.insert_add = 5;
    doc.test = 9;
    doc.rev_allow = 0;
    doc.isDataModifySendEnable = 1;
    doc.GW_work_mode = 1;
    // A server with two nodes exists only in edited files; both survive.
    auto s = server("10.0.0.250", 65535, 247);
    s.control = 0;
    s.picture = "pump.bmp";
    s.address = 12;
    s.nodes[0].modules.push_back(command("写0区 0FH 写多线圈", 65535, 1968, 8191, 1));
    s.nodes.push_back({3, {command("读3区 04H", 0, 1, 0)}});
    doc.slaves.push_back(s);
    doc.slaves.push_back(server("10.0.0.2", 502, 1));
    // The markup characters survive in names and comments.
    doc.slaves[1].name = "a<b&c>d'e\"f 泵站";
    doc.slaves[1].nodes[0].modules.push_back(command("读0区 01H", 1, 2, 3));
    doc.slaves[1].nodes[0].modules[0].Explain = "<&>'\" 注释";
    expectSameProject(doc, roundTrip(doc));
}

TEST(NetProjectFile, LengthPrefixForms) {
    struct Case {
        std::size_t length;
        std::string prefix;
    };
    for (const auto& c : {Case{254, "\xFE"}, Case{255, std::string("\xFF\xFF\x00", 3)},
                          Case{300, std::string("\xFF\x2C\x01", 3)}}) {
        const std::string bytes = markup::encodeArchiveString(std::string(c.length, 'a'));
        EXPECT_EQ(bytes.substr(0, c.prefix.size()), c.prefix) << c.length;
    }
    // A real project is far above 255 bytes: FF, low byte, high byte.
    CVantorNetDoc doc = project("KX-P1-1.0");
    const std::string text = NetProjectFile::buildText(doc, "");
    const std::string bytes = markup::encodeArchiveString(text);
    ASSERT_GT(text.size(), 255u);
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(bytes[1]) | static_cast<unsigned char>(bytes[2]) << 8, text.size());
}

TEST(NetProjectFile, WideContainerIsAccepted) {
    CVantorNetDoc doc = project("KX-P1-1.0");
    doc.slaves.push_back(server("192.168.0.9", 502, 4));
    doc.slaves[0].name = "泵站";
    const std::string text = NetProjectFile::buildText(doc, "");
    // UTF-16LE of the GBK text: FF, FE FF, length in characters, the units.
    const std::string utf8 = text::fromGbk(text);
    std::u16string wide;
    for (std::size_t i = 0; i < utf8.size();) {
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        char32_t cp;
        int n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        cp = n == 1 ? c : c & (0xFF >> (n + 1));
        for (int k = 1; k < n; ++k)
            cp = cp << 6 | (static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]) & 0x3F);
        wide.push_back(static_cast<char16_t>(cp));
        i += static_cast<std::size_t>(n);
    }
    std::string bytes("\xFF\xFE\xFF", 3);
    ASSERT_LT(wide.size(), 0xFFFEu);
    bytes += '\xFF';
    bytes += static_cast<char>(wide.size() & 0xFF);
    bytes += static_cast<char>(wide.size() >> 8);
    for (char16_t u : wide) {
        bytes += static_cast<char>(u & 0xFF);
        bytes += static_cast<char>(u >> 8);
    }
    CVantorNetDoc back;
    ASSERT_TRUE(NetProjectFile::readBytes(back, bytes));
    expectSameProject(doc, back);
}

// Cutting the file before a section keeps what came before it and leaves
// every later field as it was.
TEST(NetProjectFile, LoadStopsAtAMissingSection) {
    CVantorNetDoc saved = project("QB-H-NET2.0");
    saved.bus = {1, 2, 3};
    saved.com1.baud = 6;
    saved.currentSelect = 3;
    saved.GW_work_mode = 1;
    saved.slaves.push_back(server("1.1.1.1", 502, 1));
    const std::string full = NetProjectFile::buildText(saved, "");

    struct Case {
        const char* cut; // the element removed
        NetLoadStop stop;
        bool busRead, comRead, globalsRead, mastersRead;
    };
    const Case cases[] = {
        {"<bus ", NetLoadStop::AtBus, false, false, false, false},
        {"<COM ", NetLoadStop::AtCom, true, false, false, false},
        {"<globalValue ", NetLoadStop::AtGlobalValue, true, true, false, false},
        {"<MasterInfo ", NetLoadStop::AtMasterInfo, true, true, true, false},
    };
    for (const auto& c : cases) {
        std::string text = full;
        const auto at = text.find(c.cut);
        ASSERT_NE(at, std::string::npos);
        const auto end = c.cut == std::string("<MasterInfo ") ? text.find("</MasterInfo>\r\n") + 15
                                                              : text.find("\r\n", at) + 2;
        text.erase(at, end - at);

        CVantorNetDoc doc = project("KX-P1-1.0");
        doc.slaves.push_back(server("9.9.9.9", 1, 2));
        const CVantorNetDoc before = doc;
        EXPECT_EQ(NetProjectFile::readText(doc, text), c.stop) << c.cut;
        EXPECT_EQ(doc.bus, c.busRead ? saved.bus : before.bus) << c.cut;
        EXPECT_EQ(doc.com1, c.comRead ? saved.com1 : before.com1) << c.cut;
        EXPECT_EQ(doc.currentSelect, c.globalsRead ? saved.currentSelect : before.currentSelect) << c.cut;
        EXPECT_EQ(doc.masters, c.mastersRead ? saved.masters : before.masters) << c.cut;
        EXPECT_EQ(doc.GW_work_mode, c.mastersRead ? saved.GW_work_mode : before.GW_work_mode) << c.cut;
        EXPECT_EQ(doc.slaves, before.slaves) << c.cut;
    }
}

TEST(NetProjectFile, WithoutSlaveListThereAreNoSlaves) {
    CVantorNetDoc saved = project("KX-P1-1.0");
    std::string text = NetProjectFile::buildText(saved, "");
    text.erase(text.find("<SlaveInfo/>"), 14);
    CVantorNetDoc doc;
    doc.slaves.push_back(server("9.9.9.9", 1, 2));
    EXPECT_EQ(NetProjectFile::readText(doc, text), NetLoadStop::Complete);
    EXPECT_TRUE(doc.slaves.empty());
    EXPECT_EQ(doc.masters, saved.masters);
}

TEST(NetProjectFile, ForeignFilesLoadNothing) {
    model::CVantorDoc vantor;
    const std::string vtcText = model::ProjectFile::buildText(vantor, "");
    for (const std::string& text : {vtcText, std::string("not markup at all"), std::string()}) {
        CVantorNetDoc doc = project("KX-P1-1.0");
        doc.bus.x = 77;
        const CVantorNetDoc before = doc;
        EXPECT_EQ(NetProjectFile::readText(doc, text), NetLoadStop::NotAProject);
        expectSameProject(doc, before);
    }
}

TEST(NetProjectFile, AbsentAttributesReadAsZero) {
    const std::string text =
        "<VantorNetProject><bus/><COM/><globalValue/><MasterInfo><Master/></MasterInfo>"
        "<SlaveInfo><Slave><Node><Module/></Node></Slave></SlaveInfo></VantorNetProject>";
    CVantorNetDoc doc;
    ASSERT_EQ(NetProjectFile::readText(doc, text), NetLoadStop::Complete);
    EXPECT_EQ(doc.bus, (CBus{0, 0, 0}));
    EXPECT_EQ(doc.com1, (CCom{0, 0, 0, 0, 0}));
    EXPECT_EQ(doc.rev_allow, 0);
    ASSERT_EQ(doc.masters.size(), 1u);
    EXPECT_EQ(doc.masters[0], (CMaster{"", 0, 0, ""}));
    ASSERT_EQ(doc.slaves.size(), 1u);
    EXPECT_EQ(doc.slaves[0].timetip, 0);
    EXPECT_EQ(doc.slaves[0].name, "");
    ASSERT_EQ(doc.slaves[0].nodes.size(), 1u);
    ASSERT_EQ(doc.slaves[0].nodes[0].modules.size(), 1u);
    EXPECT_EQ(doc.slaves[0].nodes[0].modules[0], (CModule{0, 0, 0, 0, 0, 0, "", "", 0}));
}

class NetProjectFileOnDisk : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("vncfg-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::filesystem::path dir;
};

TEST_F(NetProjectFileOnDisk, SaveOpenWithVersionFile) {
    std::ofstream(dir / "Vantor.ver") << "VantorNet 2.2.1\r\nsecond line\r\n";
    CVantorNetDoc doc = project("KX-P1R0-1.0");
    doc.slaves.push_back(server("192.168.1.20", 502, 3));
    const std::string path = (dir / "p.vncfg").string();
    std::string error;
    ASSERT_TRUE(NetProjectFile::save(doc, path, dir.string(), &error)) << error;
    std::string bytes;
    ASSERT_TRUE(readWholeFile(path, bytes));
    EXPECT_NE(bytes.find("<softVer>VantorNet 2.2.1</softVer>"), std::string::npos);

    CVantorNetDoc back;
    back.modified = true;
    ASSERT_TRUE(NetProjectFile::open(back, path, &error)) << error;
    EXPECT_FALSE(back.modified);
    expectSameProject(doc, back);
}

TEST_F(NetProjectFileOnDisk, DamagedOrMissingFilesChangeNothing) {
    CVantorNetDoc doc = project("KX-P1-1.0");
    const std::string good = markup::encodeArchiveString(NetProjectFile::buildText(doc, ""));
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"cut.vncfg", good.substr(0, 100)},
        {"prefix.vncfg", std::string("\xFF", 1)},
        {"empty.vncfg", std::string()},
        {"wide-cut.vncfg", std::string("\xFF\xFE\xFF\x10\x41\x00", 6)},
    };
    for (const auto& c : cases) {
        std::ofstream(dir / c.name, std::ios::binary) << c.bytes;
        CVantorNetDoc target = project("LNK-P1-1.0");
        std::string error;
        EXPECT_FALSE(NetProjectFile::open(target, (dir / c.name).string(), &error)) << c.name;
        EXPECT_NE(error.find("文件已损坏或格式不正确"), std::string::npos) << error;
        EXPECT_EQ(target.modelName(), "LNK-P1-1.0");
    }
    CVantorNetDoc target;
    std::string error;
    EXPECT_FALSE(NetProjectFile::open(target, (dir / "missing.vncfg").string(), &error));
    EXPECT_NE(error.find("无法打开文件"), std::string::npos);
}

TEST(NetProjectFileOpen, ReplacesTheProjectAndRefusesOtherTexts) {
    const auto dir = std::filesystem::temp_directory_path() / "vantornet-open-replace";
    std::filesystem::create_directories(dir);
    struct Case {
        const char* name;
        std::string text;
        bool opens;
    };
    const Case cases[] = {
        {"vantor.vncfg", "<VantorProject><bus length=\"9\"/></VantorProject>", false},
        {"text.vncfg", "hello", false},
        {"stops-at-com.vncfg", "<VantorNetProject><bus length=\"900\" x=\"10\" y=\"20\"/></VantorNetProject>",
         true},
    };
    for (const auto& c : cases) {
        std::ofstream(dir / c.name, std::ios::binary) << markup::encodeArchiveString(c.text);
        CVantorNetDoc target = project("LNK-P1-1.0");
        target.slaves.push_back(server("10.0.0.1", 502, 1));
        target.GW_work_mode = 1;
        std::string error;
        EXPECT_EQ(NetProjectFile::open(target, (dir / c.name).string(), &error), c.opens) << c.name;
        if (c.opens) {
            EXPECT_EQ(target.bus.length, 900);
            EXPECT_TRUE(target.masters.empty()) << "nothing of the previous project stays";
            EXPECT_TRUE(target.slaves.empty());
            EXPECT_EQ(target.GW_work_mode, 0);
            EXPECT_FALSE(target.modified);
        } else {
            EXPECT_NE(error.find("不是VantorNet工程文件"), std::string::npos) << error;
            EXPECT_EQ(target.modelName(), "LNK-P1-1.0");
            EXPECT_EQ(target.slaves.size(), 1u);
        }
    }
}

} // namespace
} // namespace vantor::net
