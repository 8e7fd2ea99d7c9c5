#include "model/ProjectFile.h"

#include "markup/ArchiveString.h"
#include "model/CommandKind.h"
#include "text/Gbk.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

using namespace vantor;
using namespace vantor::model;
using vantor::markup::decodeArchiveString;
using vantor::markup::encodeArchiveString;
namespace fs = std::filesystem;

namespace {

std::string bytesOf(std::initializer_list<int> b) {
    std::string s;
    for (int v : b)
        s += static_cast<char>(v);
    return s;
}

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void writeFile(const fs::path& p, std::string_view bytes) {
    std::ofstream out(p, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A fresh directory per test, removed afterwards.
class TempDir {
public:
    TempDir() {
        static int n = 0;
        path_ = fs::temp_directory_path() /
                ("vantor-projectfile-" + std::to_string(::getpid()) + "-" + std::to_string(n++));
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    const fs::path& path() const { return path_; }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

private:
    fs::path path_;
};

CModule command(std::string_view func, int start, int length, int gate, std::string explain) {
    const CommandKind* k = findCommandKind(func);
    CModule m;
    m.Func = std::string(func);
    m.area_num = k ? k->area : -1;
    m.read_wri = k ? k->readWrite : -1;
    m.Start_Add = start;
    m.Length = length;
    m.Gate_Add = gate;
    m.Explain = std::move(explain);
    return m;
}

// A project in which every stored field differs from its default.
CVantorDoc fullProject() {
    CVantorDoc d;
    d.NewDocument("/nonexistent-start-directory");
    d.masters.push_back({"KX-P2R0-1.0", 35, 36, "KX-P2R0-1.0"});

    CCOM c1;
    c1.COMName = "COM1";
    c1.num_com = 0;
    c1.x = 260;
    c1.y = 80;
    c1.com_length = 420;
    c1.baud = 6;
    c1.check = 1;
    c1.stop = 1;
    c1.slave_num = 2;
    c1.space = 255;
    c1.addArea[1] = 1;
    c1.addArea[2] = 1;
    CCOM c2;
    c2.COMName = "COM2";
    c2.num_com = 1;
    c2.x = 260;
    c2.y = 230;
    c2.baud = 0;
    c2.check = 0;
    c2.slave_num = 1;
    c2.space = 1;
    c2.addArea[247] = 1;
    d.coms = {c1, c2};

    CSlave s1;
    s1.x = 310;
    s1.y = 115;
    s1.com_name = "COM1";
    s1.address = 1;
    s1.space = 12;
    s1.timeout = 300;
    s1.control = 0xC3;
    s1.name = "温度采集器&<\"'>";
    s1.modules.push_back(command("读4区 03H", 0, 10, 0, "温度 a&b<c>\"d'e"));
    s1.modules.push_back(command("写0区 0FH 写多线圈", 100, 16, 16, ""));
    s1.modules.push_back(command("读1区 02H", 65535, 8, 8191, "末尾"));
    s1.modules[1].editSend = 1;
    s1.modules[2].isCDTYx = 1;
    s1.modules[2].mod_num = 7;
    CSlave s2;
    s2.x = -5;
    s2.y = 115;
    s2.com_name = "COM1";
    s2.address = 2;
    s2.control = 0xFF;
    s2.name = "空从站"; // no commands
    CSlave s3;
    s3.x = 310;
    s3.y = 265;
    s3.com_name = "COM2";
    s3.address = 247;
    s3.control = 0x00;
    s3.timeout = 1;
    s3.name = "电能表";
    s3.modules.push_back(command("读3区 04H", 30, 2, 1998, "电压"));
    d.slaves = {s1, s2, s3};

    d.slaveAddrFlag[1] = 1;
    d.slaveAddrFlag[2] = 1;
    d.slaveAddrFlag[247] = 1;
    d.slaveAddrFlag[255] = -3;
    d.addType = 1;
    d.repTimeoutTime = 3000;
    d.sendInterlTime = 120;
    d.GW_work_mode = 2;
    d.IP = "127.0.0.1";
    d.SETIP = "10.0.0.2";
    d.SETMASK = "255.255.0.0";
    d.SETGW = "10.0.0.1";
    d.SETPORT = 1502;
    for (std::size_t i = 0; i < d.eip.size(); ++i)
        d.eip[i] = static_cast<int>(i) * 7 - 3;
    return d;
}

// A document with different stored values and with the values the file
// does not hold set away from their defaults.
CVantorDoc previousProject() {
    CVantorDoc d;
    d.NewDocument("/nonexistent-start-directory");
    d.masters.push_back({"TRX-H-QMB6", 1, 2, "TRX-H-QMB6"});
    CCOM c;
    c.COMName = "COM6";
    c.addArea.fill(9);
    d.coms = {c};
    CSlave s;
    s.com_name = "COM6";
    s.name = "旧从站";
    s.modules.push_back(command("写4区 06H 写单字", 1, 1, 5, "旧"));
    d.slaves = {s};
    d.slaveAddrFlag.fill(4);
    d.addType = 0;
    d.repTimeoutTime = 100;
    d.sendInterlTime = 7;
    d.GW_work_mode = 5;
    d.IP = "192.168.9.9";
    d.SETIP = "1.1.1.1";
    d.SETMASK = "2.2.2.2";
    d.SETGW = "3.3.3.3";
    d.SETPORT = 9;
    d.eip.fill(77);
    // not stored in the file
    d.selectedItem = 2;
    d.nextGateAddress = {1, 2, 3, 4};
    d.lastProposedSlaveAddress = 17;
    d.accessPort = 60000;
    d.editSendDefault = 1;
    d.cdtOptions = {9, 8, 7, 6};
    d.copiedSlave = 0;
    d.modified = true;
    return d;
}

// The sections of the file, in reading order, each with the fields it fills.
enum Section { kFlags, kGlobal, kMasters, kComs, kSlaves, kEth, kEip, kSectionCount };

void expectSection(const CVantorDoc& got, const CVantorDoc& want, int section, const std::string& why) {
    SCOPED_TRACE(why + ", section " + std::to_string(section));
    switch (section) {
    case kFlags:
        EXPECT_EQ(got.slaveAddrFlag, want.slaveAddrFlag);
        break;
    case kGlobal:
        EXPECT_EQ(got.addType, want.addType);
        EXPECT_EQ(got.repTimeoutTime, want.repTimeoutTime);
        EXPECT_EQ(got.sendInterlTime, want.sendInterlTime);
        break;
    case kMasters:
        EXPECT_EQ(got.GW_work_mode, want.GW_work_mode);
        EXPECT_EQ(got.masters, want.masters);
        break;
    case kComs:
        EXPECT_EQ(got.coms, want.coms);
        break;
    case kSlaves:
        EXPECT_EQ(got.slaves, want.slaves);
        break;
    case kEth:
        EXPECT_EQ(got.IP, want.IP);
        EXPECT_EQ(got.SETIP, want.SETIP);
        EXPECT_EQ(got.SETMASK, want.SETMASK);
        EXPECT_EQ(got.SETGW, want.SETGW);
        EXPECT_EQ(got.SETPORT, want.SETPORT);
        break;
    case kEip:
        EXPECT_EQ(got.eip, want.eip);
        break;
    }
}

void expectNotStoredEq(const CVantorDoc& got, const CVantorDoc& want) {
    EXPECT_EQ(got.selectedItem, want.selectedItem);
    EXPECT_EQ(got.nextGateAddress, want.nextGateAddress);
    EXPECT_EQ(got.lastProposedSlaveAddress, want.lastProposedSlaveAddress);
    EXPECT_EQ(got.accessPort, want.accessPort);
    EXPECT_EQ(got.editSendDefault, want.editSendDefault);
    EXPECT_EQ(got.cdtOptions, want.cdtOptions);
    EXPECT_EQ(got.copiedSlave, want.copiedSlave);
}

void expectDocEq(const CVantorDoc& got, const CVantorDoc& want, const std::string& why) {
    for (int s = 0; s < kSectionCount; ++s)
        expectSection(got, want, s, why);
    expectNotStoredEq(got, want);
    EXPECT_EQ(got.modified, want.modified) << why;
}

// Removes the element `name` (with its children) from a text written by
// buildText, where every element ends its line with CR LF.
std::string withoutElement(std::string text, const std::string& name, std::size_t from = 0) {
    std::size_t start = text.find("<" + name + " ", from);
    if (start == std::string::npos)
        start = text.find("<" + name + ">", from);
    if (start == std::string::npos)
        start = text.find("<" + name + "/>", from);
    EXPECT_NE(start, std::string::npos) << name;
    if (start == std::string::npos)
        return text;
    std::size_t lineEnd = text.find("\r\n", start);
    std::size_t end;
    if (text.compare(lineEnd - 2, 2, "/>") == 0)
        end = lineEnd + 2;
    else
        end = text.find("</" + name + ">\r\n", start) + name.size() + 5;
    text.erase(start, end - start);
    return text;
}

std::string flagsText(const std::array<int, 256>& flags) {
    std::string s;
    for (int i = 0; i < 256; ++i)
        s += " " + std::to_string(i) + "=\"" + std::to_string(flags[static_cast<std::size_t>(i)]) + "\"";
    return s;
}

// UTF-8 -> UTF-16LE, for the wide form of the container.
std::string utf16le(std::string_view utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        uint32_t cp;
        int extra;
        if (c < 0x80) {
            cp = c;
            extra = 0;
        } else if (c < 0xE0) {
            cp = c & 0x1F;
            extra = 1;
        } else if (c < 0xF0) {
            cp = c & 0x0F;
            extra = 2;
        } else {
            cp = c & 0x07;
            extra = 3;
        }
        for (int k = 1; k <= extra; ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]) & 0x3F);
        i += static_cast<std::size_t>(extra) + 1;
        auto unit = [&](uint32_t u) {
            out += static_cast<char>(u & 0xFF);
            out += static_cast<char>(u >> 8);
        };
        if (cp >= 0x10000) {
            cp -= 0x10000;
            unit(0xD800 + (cp >> 10));
            unit(0xDC00 + (cp & 0x3FF));
        } else {
            unit(cp);
        }
    }
    return out;
}

} // namespace

// ---------------------------------------------------------------------------
// Container

TEST(ArchiveString, PrefixFormsByLength) {
    struct Case {
        std::size_t length;
        std::string prefix;
    } cases[] = {
        {0, bytesOf({0x00})},
        {1, bytesOf({0x01})},
        {254, bytesOf({0xFE})},
        {255, bytesOf({0xFF, 0xFF, 0x00})},
        {300, bytesOf({0xFF, 0x2C, 0x01})},
        {0xFFFD, bytesOf({0xFF, 0xFD, 0xFF})},
        // 0xFFFE would read as the wide marker, so it takes the 32-bit form.
        {0xFFFE, bytesOf({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00})},
        {0xFFFF, bytesOf({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00})},
        {70000, bytesOf({0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        std::string text(c.length, 'x');
        if (!text.empty())
            text.back() = 'y';
        std::string encoded = encodeArchiveString(text);
        ASSERT_EQ(encoded.size(), c.prefix.size() + c.length);
        EXPECT_EQ(encoded.substr(0, c.prefix.size()), c.prefix);
        EXPECT_EQ(encoded.substr(c.prefix.size()), text);
        auto decoded = decodeArchiveString(encoded);
        ASSERT_TRUE(decoded.has_value());
        EXPECT_EQ(*decoded, text);
    }
}

TEST(ArchiveString, ReadsLongFormsOtherWritersUse) {
    // A reader accepts every form whose length fits, not only the shortest.
    struct Case {
        std::string bytes;
        std::string text;
    } cases[] = {
        {bytesOf({0xFF, 0x03, 0x00}) + "abc", "abc"},
        {bytesOf({0xFF, 0xFF, 0xFF, 0x02, 0x00, 0x00, 0x00}) + "ab", "ab"},
        {bytesOf({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x01, 0, 0, 0, 0, 0, 0, 0}) + "z", "z"},
        {bytesOf({0x02}) + "abTRAILING", "ab"},
    };
    for (const auto& c : cases) {
        auto decoded = decodeArchiveString(c.bytes);
        ASSERT_TRUE(decoded.has_value()) << c.text;
        EXPECT_EQ(*decoded, c.text);
    }
}

TEST(ArchiveString, WideStringsAreConvertedToGbk) {
    const std::string gbkZhong = *text::toGbk("中");
    struct Case {
        std::string bytes;
        std::string gbk;
    } cases[] = {
        {bytesOf({0xFF, 0xFE, 0xFF, 0x02, 'A', 0x00, 0x2D, 0x4E}), "A" + gbkZhong},
        {bytesOf({0xFF, 0xFE, 0xFF, 0x00}), ""},
        // After the marker, a 16-bit length of 0xFFFE is a length.
        {bytesOf({0xFF, 0xFE, 0xFF, 0xFF, 0x2C, 0x01}) + utf16le(std::string(300, 'q')),
         std::string(300, 'q')},
    };
    for (const auto& c : cases) {
        auto decoded = decodeArchiveString(c.bytes);
        ASSERT_TRUE(decoded.has_value()) << c.gbk;
        EXPECT_EQ(*decoded, c.gbk);
    }
}

TEST(ArchiveString, DamagedPrefixesAndShortTextsAreRefused) {
    const char* why[] = {"empty",
                         "short text",
                         "prefix cut after 0xFF",
                         "16-bit length cut",
                         "300 announced, 299 there",
                         "32-bit form cut",
                         "32-bit length beyond the end",
                         "64-bit length beyond any size",
                         "wide marker without length",
                         "wide text cut in the middle of a unit",
                         "wide text short by one unit"};
    std::string cases[] = {
        "",
        bytesOf({0x05}) + "abc",
        bytesOf({0xFF}),
        bytesOf({0xFF, 0x2C}),
        bytesOf({0xFF, 0x2C, 0x01}) + std::string(299, 'x'),
        bytesOf({0xFF, 0xFF, 0xFF, 0x00, 0x00}),
        bytesOf({0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x01, 0x00}) + "abc",
        bytesOf({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}) +
            "abc",
        bytesOf({0xFF, 0xFE, 0xFF}),
        bytesOf({0xFF, 0xFE, 0xFF, 0x02, 'A', 0x00, 0x2D}),
        bytesOf({0xFF, 0xFE, 0xFF, 0x03, 'A', 0x00, 0x2D, 0x4E}),
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_FALSE(decodeArchiveString(cases[i]).has_value()) << why[i];
}

// ---------------------------------------------------------------------------
// Written form

TEST(ProjectFileWrite, ProjectWithoutSlavesIsWrittenExactly) {
    CVantorDoc d;
    d.NewDocument("/nonexistent-start-directory");
    d.masters.push_back({"KX-P2R0-1.0", 35, 35, "KX-P2R0-1.0"});
    CCOM c;
    c.COMName = "COM1";
    c.num_com = 0;
    c.x = 260;
    c.y = 80;
    c.addArea[3] = 1;
    d.coms.push_back(c);
    d.slaveAddrFlag[255] = -1;
    d.IP = "127.0.0.1";
    d.eip[35] = 9;

    std::string eip;
    for (std::size_t i = 0; i < 36; ++i)
        eip += " " + eipValueKeys()[i] + "=\"" + std::to_string(i == 35 ? 9 : 0) + "\"";
    const std::string expected =
        "<?xml version='1.0' encoding='gb2312'?>\r\n"
        "<VantorProject>\r\n"
        "<softVer>Vantor V1.0.0</softVer>\r\n"
        "<slaveAddrFlag" +
        flagsText(d.slaveAddrFlag) +
        "/>\r\n"
        "<globalValue addType=\"0\" repTimeoutTime=\"500\" sendInterlTime=\"0\"/>\r\n"
        "<MasterInfo GW_work_mode=\"0\">\r\n"
        "<Master masterName=\"KX-P2R0-1.0\" x=\"35\" y=\"35\" bitmap=\"KX-P2R0-1.0\"/>\r\n"
        "</MasterInfo>\r\n"
        "<COMInfo>\r\n"
        "<COM COMName=\"COM1\" num_com=\"0\" x=\"260\" y=\"80\" com_length=\"260\" "
        "baud=\"2\" check=\"2\" stop=\"0\" slave_num=\"0\" space=\"30\">\r\n"
        "<addArea" +
        flagsText(c.addArea) +
        "/>\r\n"
        "</COM>\r\n"
        "</COMInfo>\r\n"
        "<SlaveInfo/>\r\n"
        "<ETHParam IP=\"127.0.0.1\" SETIP=\"192.168.1.10\" SETMASK=\"255.255.255.0\" "
        "SETGW=\"192.168.1.1\" SETPORT=\"502\"/>\r\n"
        "<EIPDevInfo" +
        eip +
        "/>\r\n"
        "</VantorProject>\r\n";
    EXPECT_EQ(ProjectFile::buildText(d, "Vantor V1.0.0"), expected);

    CVantorDoc back = previousProject();
    EXPECT_TRUE(ProjectFile::readText(back, expected));
    EXPECT_TRUE(back.slaves.empty());
    EXPECT_EQ(back.coms, d.coms);
}

TEST(ProjectFileWrite, SlavesAndCommandsInAttributeOrder) {
    const std::string text = ProjectFile::buildText(fullProject(), "V");
    const std::string gbk =
        text::toGbkLossy("<Slave x=\"310\" y=\"115\" address=\"1\" com_name=\"COM1\" space=\"12\" "
                         "timeout=\"300\" control=\"195\" "
                         "name=\"温度采集器&amp;&lt;&quot;&apos;&gt;\">\r\n"
                         "<Module Start_Add=\"0\" Length=\"10\" "
                         "Explain=\"温度 a&amp;b&lt;c&gt;&quot;d&apos;e\" Func=\"读4区 03H\" "
                         "area_num=\"4\" read_wri=\"0\" Gate_Add=\"0\" mod_num=\"-1\" "
                         "editSend=\"0\" isCDTYx=\"0\"/>\r\n");
    EXPECT_NE(text.find(gbk), std::string::npos) << text::fromGbk(text);
    // A slave without commands is an empty element; control 0xFF is 255.
    EXPECT_NE(text.find(text::toGbkLossy("control=\"255\" name=\"空从站\"/>\r\n")), std::string::npos);
    EXPECT_NE(text.find(text::toGbkLossy("control=\"0\" name=\"电能表\">\r\n")), std::string::npos);
    EXPECT_NE(text.find("</Slave>\r\n</SlaveInfo>\r\n<ETHParam"), std::string::npos);
    // Texts are GBK, never UTF-8.
    EXPECT_EQ(text.find("温度"), std::string::npos);
}

TEST(ProjectFileWrite, SaveWritesVersionContainerAndLongPrefix) {
    TempDir dir;
    writeFile(dir / "Vantor.ver", "Vantor V2.3.4\r\nbuild notes\r\n");
    CVantorDoc d = fullProject();
    // 512 commands make a text well beyond 65534 bytes: the 7-byte prefix.
    CModule m = command("读4区 03H", 0, 1, 0, "一条注释");
    for (int i = 0; i < 509; ++i) {
        m.Gate_Add = i;
        d.slaves[1].modules.push_back(m);
    }
    std::string error;
    ASSERT_TRUE(ProjectFile::save(d, dir / "big.vtc", dir.path().string(), &error)) << error;
    const std::string bytes = readFile(dir.path() / "big.vtc");
    const std::string text = ProjectFile::buildText(d, "Vantor V2.3.4");
    ASSERT_GT(text.size(), 0xFFFEu);
    // FF, FF FF, then the length as a 32-bit little-endian word, then the text.
    const auto n = static_cast<uint32_t>(text.size());
    EXPECT_EQ(bytes.substr(0, 7), bytesOf({0xFF, 0xFF, 0xFF, int(n & 0xFF), int((n >> 8) & 0xFF),
                                           int((n >> 16) & 0xFF), int(n >> 24)}));
    EXPECT_EQ(bytes.substr(7), text);
    EXPECT_NE(text.find("<softVer>Vantor V2.3.4</softVer>\r\n"), std::string::npos);

    CVantorDoc back = previousProject();
    ASSERT_TRUE(ProjectFile::open(back, dir / "big.vtc", &error)) << error;
    EXPECT_EQ(back.slaves, d.slaves);
    EXPECT_FALSE(back.modified);
    // Nothing is left beside the file.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);
}

TEST(ProjectFileWrite, VersionFileFirstLine) {
    struct Case {
        const char* why;
        std::optional<std::string> file;
        std::string version;
    } cases[] = {
        {"missing file", std::nullopt, ""},
        {"empty file", std::string(""), ""},
        {"CR LF", std::string("Vantor V1.0.0\r\nsecond\r\n"), "Vantor V1.0.0"},
        {"no line end", std::string("Vantor V1.0.1"), "Vantor V1.0.1"},
        {"UTF-8 with BOM", std::string("\xEF\xBB\xBF组态软件 V3\n"), "组态软件 V3"},
        {"GBK", text::toGbkLossy("组态软件 V4") + "\r\n", "组态软件 V4"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        if (c.file)
            writeFile(dir / "Vantor.ver", *c.file);
        EXPECT_EQ(ProjectFile::readSoftVer(dir.path().string()), c.version) << c.why;
    }
    // Without a version file the project still saves, with an empty softVer.
    TempDir dir;
    CVantorDoc d = fullProject();
    std::string error;
    ASSERT_TRUE(ProjectFile::save(d, dir / "p.vtc", dir.path().string(), &error)) << error;
    EXPECT_NE(readFile(dir.path() / "p.vtc").find("<VantorProject>\r\n<softVer/>\r\n"), std::string::npos);
}

// ---------------------------------------------------------------------------
// Reading

TEST(ProjectFileRead, RoundTripKeepsEveryStoredFieldAndNothingElse) {
    const CVantorDoc full = fullProject();
    const CVantorDoc prev = previousProject();
    CVantorDoc got = prev;
    EXPECT_TRUE(ProjectFile::readText(got, ProjectFile::buildText(full, "V")));
    for (int s = 0; s < kSectionCount; ++s)
        expectSection(got, full, s, "round trip");
    expectNotStoredEq(got, prev);

    // The same through the file, which also clears the modified flag.
    TempDir dir;
    std::string error;
    ASSERT_TRUE(ProjectFile::save(full, dir / "full.vtc", dir.path().string(), &error)) << error;
    CVantorDoc opened = prev;
    ASSERT_TRUE(ProjectFile::open(opened, dir / "full.vtc", &error)) << error;
    for (int s = 0; s < kSectionCount; ++s)
        expectSection(opened, full, s, "file round trip");
    expectNotStoredEq(opened, prev);
    EXPECT_FALSE(opened.modified);
}

TEST(ProjectFileRead, MissingSectionStopsTheWalk) {
    const CVantorDoc full = fullProject();
    const CVantorDoc prev = previousProject();
    const std::string text = ProjectFile::buildText(full, "V");
    // Removing section k keeps sections before k from the file and leaves k
    // and everything after it as it was.
    struct Case {
        std::string element;
        int firstKept;
    } cases[] = {
        {"slaveAddrFlag", kFlags}, {"globalValue", kGlobal}, {"MasterInfo", kMasters},
        {"COMInfo", kComs},        {"SlaveInfo", kSlaves},
    };
    for (const auto& c : cases) {
        CVantorDoc got = prev;
        EXPECT_FALSE(ProjectFile::readText(got, withoutElement(text, c.element)));
        for (int s = 0; s < kSectionCount; ++s)
            expectSection(got, s < c.firstKept ? full : prev, s, "without " + c.element);
        expectNotStoredEq(got, prev);
    }
    // Without the root nothing changes at all.
    for (const std::string& bad : {std::string(""), std::string("<Other/>"), std::string("garbage <<<"),
                                   text.substr(0, text.find("<VantorProject>"))}) {
        CVantorDoc got = prev;
        EXPECT_FALSE(ProjectFile::readText(got, bad));
        expectDocEq(got, prev, "no root: " + bad);
    }
}

TEST(ProjectFileRead, OptionalTailSections) {
    const CVantorDoc full = fullProject();
    const CVantorDoc prev = previousProject();
    const std::string text = ProjectFile::buildText(full, "V");

    // Without EIPDevInfo the 36 values stay as they were.
    CVantorDoc noEip = prev;
    EXPECT_TRUE(ProjectFile::readText(noEip, withoutElement(text, "EIPDevInfo")));
    expectSection(noEip, full, kEth, "without EIPDevInfo");
    expectSection(noEip, prev, kEip, "without EIPDevInfo");
    expectSection(noEip, full, kSlaves, "without EIPDevInfo");

    // Without ETHParam the texts are empty and the port 0; EIPDevInfo is
    // still read.
    CVantorDoc noEth = prev;
    EXPECT_TRUE(ProjectFile::readText(noEth, withoutElement(text, "ETHParam")));
    EXPECT_EQ(noEth.IP, "");
    EXPECT_EQ(noEth.SETIP, "");
    EXPECT_EQ(noEth.SETMASK, "");
    EXPECT_EQ(noEth.SETGW, "");
    EXPECT_EQ(noEth.SETPORT, 0);
    expectSection(noEth, full, kEip, "without ETHParam");

    // Without both.
    CVantorDoc neither = prev;
    EXPECT_TRUE(
        ProjectFile::readText(neither, withoutElement(withoutElement(text, "ETHParam"), "EIPDevInfo")));
    EXPECT_EQ(neither.IP, "");
    EXPECT_EQ(neither.SETPORT, 0);
    expectSection(neither, prev, kEip, "without both");
}

TEST(ProjectFileRead, LineWithoutAddressFlagsGetsZeros) {
    const CVantorDoc full = fullProject();
    // Remove the first line's addArea only; the second keeps its flags.
    const std::string text = withoutElement(ProjectFile::buildText(full, "V"), "addArea");
    CVantorDoc got = previousProject(); // its only line has every flag 9
    EXPECT_TRUE(ProjectFile::readText(got, text));
    ASSERT_EQ(got.coms.size(), 2u);
    EXPECT_EQ(got.coms[0].addArea, (std::array<int, 256>{}));
    EXPECT_EQ(got.coms[0].COMName, "COM1");
    EXPECT_EQ(got.coms[0].com_length, 420);
    EXPECT_EQ(got.coms[1].addArea, full.coms[1].addArea);
}

TEST(ProjectFileRead, LenientNumbersAndMissingAttributes) {
    const std::string text = "<VantorProject>\r\n"
                             "<slaveAddrFlag 0=\"12abc\" 1=\"\" 2=\" -7\" 3=\"x9\" 4=\"+5\"/>\r\n"
                             "<globalValue addType=\"1x\" repTimeoutTime=\"\"/>\r\n"
                             "<MasterInfo GW_work_mode=\"3.9\">\r\n"
                             "<Master x=\"abc\" y=\"-12\"/>\r\n"
                             "</MasterInfo>\r\n"
                             "<COMInfo><COM COMName=\"COM2\" baud=\"5 \"/></COMInfo>\r\n"
                             "<SlaveInfo>\r\n"
                             "<Slave address=\"12abc\" control=\"511\">\r\n"
                             "<Module Start_Add=\" 40\" Func=\"读0区 01H\"/>\r\n"
                             "</Slave>\r\n"
                             "<Slave control=\"-1\"/>\r\n"
                             "<Slave control=\"256\" name=\"n\"/>\r\n"
                             "</SlaveInfo>\r\n"
                             "</VantorProject>\r\n";
    CVantorDoc d = previousProject();
    EXPECT_TRUE(ProjectFile::readText(d, text::toGbkLossy(text)));
    EXPECT_EQ(d.slaveAddrFlag[0], 12);
    EXPECT_EQ(d.slaveAddrFlag[1], 0);
    EXPECT_EQ(d.slaveAddrFlag[2], -7);
    EXPECT_EQ(d.slaveAddrFlag[3], 0);
    EXPECT_EQ(d.slaveAddrFlag[4], 5);
    EXPECT_EQ(d.slaveAddrFlag[255], 0); // missing
    EXPECT_EQ(d.addType, 1);
    EXPECT_EQ(d.repTimeoutTime, 0);
    EXPECT_EQ(d.sendInterlTime, 0);
    EXPECT_EQ(d.GW_work_mode, 3);
    ASSERT_EQ(d.masters.size(), 1u);
    EXPECT_EQ(d.masters[0], (CMaster{"", 0, -12, ""}));
    ASSERT_EQ(d.coms.size(), 1u);
    EXPECT_EQ(d.coms[0].COMName, "COM2");
    EXPECT_EQ(d.coms[0].baud, 5);
    EXPECT_EQ(d.coms[0].check, 0);      // missing: 0, not the line default
    EXPECT_EQ(d.coms[0].num_com, 0);    // missing: 0, not the line default
    EXPECT_EQ(d.coms[0].com_length, 0); // missing
    ASSERT_EQ(d.slaves.size(), 3u);
    EXPECT_EQ(d.slaves[0].address, 12);
    EXPECT_EQ(d.slaves[0].control, 0xFF); // low 8 bits of 0x1FF
    EXPECT_EQ(d.slaves[0].name, "");      // missing text: empty, not "SLAVE"
    EXPECT_EQ(d.slaves[0].timeout, 0);
    EXPECT_EQ(d.slaves[1].control, 0xFF);
    EXPECT_EQ(d.slaves[2].control, 0x00);
    EXPECT_EQ(d.slaves[2].name, "n");
    ASSERT_EQ(d.slaves[0].modules.size(), 1u);
    const CModule& m = d.slaves[0].modules[0];
    EXPECT_EQ(m.Start_Add, 40);
    EXPECT_EQ(m.Func, "读0区 01H");
    EXPECT_EQ(m.Explain, "");
    EXPECT_EQ(m.Gate_Add, 0);
    EXPECT_EQ(m.area_num, 0);
    EXPECT_TRUE(d.slaves[1].modules.empty());
}

TEST(ProjectFileRead, WideContainerReadsLikeTheNarrowOne) {
    const CVantorDoc full = fullProject();
    const std::string gbk = ProjectFile::buildText(full, "V");
    const std::string wide = utf16le(text::fromGbk(gbk));
    ASSERT_LT(wide.size() / 2, 0xFFFFu);
    std::string bytes = bytesOf({0xFF, 0xFE, 0xFF, 0xFF});
    bytes += static_cast<char>((wide.size() / 2) & 0xFF);
    bytes += static_cast<char>((wide.size() / 2) >> 8);
    bytes += wide;
    CVantorDoc got = previousProject();
    ASSERT_TRUE(ProjectFile::readBytes(got, bytes));
    for (int s = 0; s < kSectionCount; ++s)
        expectSection(got, full, s, "wide container");
}

TEST(ProjectFileRead, DamagedFilesLeaveTheModelUntouched) {
    TempDir dir;
    const CVantorDoc full = fullProject();
    std::string error;
    ASSERT_TRUE(ProjectFile::save(full, dir / "good.vtc", dir.path().string(), &error)) << error;
    const std::string good = readFile(dir.path() / "good.vtc");
    ASSERT_EQ(static_cast<unsigned char>(good[0]), 0xFF); // the 3-byte form

    const std::string damaged = ": 文件已损坏或格式不正确";
    // A whole container whose text is not this program's project: opening it
    // must not keep the open project under the other file's name.
    const std::string notOurs = ": 不是Vantor工程文件";
    struct Case {
        const char* why;
        std::string bytes;
        const std::string& says;
    } cases[] = {
        {"empty file", "", damaged},
        {"last byte missing", good.substr(0, good.size() - 1), damaged},
        {"cut in the middle", good.substr(0, good.size() / 2), damaged},
        {"prefix only", good.substr(0, 3), damaged},
        {"prefix cut", good.substr(0, 2), damaged},
        {"wrong prefix", bytesOf({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}) + good.substr(3), damaged},
        {"a VantorNet project", markup::encodeArchiveString("<?xml version=\"1.0\"?><VantorNetProject/>"),
         notOurs},
        {"text without markup", markup::encodeArchiveString("PK\x03\x04 not a project"), notOurs},
    };
    for (const auto& c : cases) {
        const std::string path = dir / "bad.vtc";
        writeFile(path, c.bytes);
        CVantorDoc got = previousProject();
        error.clear();
        EXPECT_FALSE(ProjectFile::open(got, path, &error)) << c.why;
        EXPECT_EQ(error, "无法打开文件 " + path + c.says) << c.why;
        expectDocEq(got, previousProject(), c.why);
    }

    CVantorDoc got = previousProject();
    EXPECT_FALSE(ProjectFile::open(got, dir / "missing.vtc", &error));
    EXPECT_EQ(error, "无法打开文件 " + (dir / "missing.vtc"));
    expectDocEq(got, previousProject(), "missing file");
}

TEST(ProjectFileSave, FailedSaveKeepsThePreviousFile) {
    TempDir dir;
    const CVantorDoc first = fullProject();
    CVantorDoc second = fullProject();
    second.slaves.clear();

    // The file name leaves no room for the name of the file written beside
    // it, so the save fails before the target is touched (root can write
    // anywhere, so a read-only directory would not do).
    const std::string longName = std::string(251, 'p') + ".vtc"; // 255, the longest name
    std::string error;
    const std::string before = encodeArchiveString(ProjectFile::buildText(first, "V"));
    writeFile(dir.path() / longName, before);
    EXPECT_FALSE(ProjectFile::save(second, dir / longName, "", &error));
    EXPECT_EQ(error.rfind("无法保存文件 " + (dir / longName), 0), 0u) << error;
    EXPECT_TRUE(readFile(dir.path() / longName) == before);

    // A target that cannot be replaced (a directory with content) fails at
    // the rename; the file written beside it is removed again.
    fs::create_directories(dir.path() / "taken.vtc" / "inner");
    EXPECT_FALSE(ProjectFile::save(second, dir / "taken.vtc", "", &error));
    EXPECT_TRUE(fs::is_directory(dir.path() / "taken.vtc" / "inner"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);

    // A directory that does not exist.
    EXPECT_FALSE(ProjectFile::save(second, dir / "no/such/dir/p.vtc", "", &error));
    EXPECT_FALSE(error.empty());
}
