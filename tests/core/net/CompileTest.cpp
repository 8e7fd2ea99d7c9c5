#include "NetFixtures.h"

#include "net/NetCompiler.h"
#include "transfer/Bytes.h"

#include <gtest/gtest.h>

namespace vantor::net {
namespace {

using testing::command;
using testing::project;
using testing::server;
using transfer::Bytes;
using transfer::toHex;

// A project with one server (one node, two commands).
CVantorNetDoc oneServer(const std::string& model) {
    CVantorNetDoc doc = project(model);
    auto s = server("192.168.0.1", 502, 1);
    s.nodes[0].modules.push_back(command("读4区 03H", 0, 10, 0));
    s.nodes[0].modules.push_back(command("写4区 10H 写多字", 100, 2, 10, 1));
    doc.slaves.push_back(s);
    return doc;
}

TEST(NetCompile, ImageSizesByModel) {
    struct Case {
        const char* model;
        std::size_t a, b;
    };
    for (const auto& c :
         {Case{"KX-P1-1.0", 20, 76}, Case{"KX-P1R0-1.0", 20, 76}, Case{"QB-H-NET2.0", 20, 76},
          Case{"LNK-P1-1.0", 20, 76}, Case{"NXE-485-ZRTU2", 40, 84}, Case{"NXE-485-ZRTU2E", 40, 84}}) {
        RecordingSink sink;
        auto images = compileNet(oneServer(c.model), sink);
        ASSERT_TRUE(images) << c.model;
        EXPECT_EQ(images->a.size(), c.a) << c.model;
        EXPECT_EQ(images->b.size(), c.b) << c.model;
        EXPECT_TRUE(sink.messages.empty());
    }
}

TEST(NetCompile, ImageABytes) {
    CVantorNetDoc doc = project("NXE-485-ZRTU2");
    doc.com1 = {1, 6, 1, 1, 17};
    doc.com2 = {2, 0, 2, 0, 247};
    EXPECT_EQ(toHex(buildImageA(doc)), "11000000"
                                       "01000000"
                                       "08000000"
                                       "01000000"
                                       "06000000"
                                       "f7000000"
                                       "00000000"
                                       "08000000"
                                       "02000000"
                                       "00000000");
    doc.masters[0].masterName = "KX-P1-1.0";
    EXPECT_EQ(toHex(buildImageA(doc)), "1100000001000000080000000100000006000000");
}

TEST(NetCompile, ImageBLayout) {
    CVantorNetDoc doc = oneServer("KX-P1-1.0");
    doc.slaves[0].space = 5;
    doc.slaves[0].timetip = 300;
    EXPECT_EQ(toHex(buildImageB(doc)),
              // mode 2, fixed 1, one server, two commands
              "02000000"
              "01000000"
              "01000000"
              "02000000"
              // node: IP, port 502, unit 1, control 1, 2 commands, 50 ms, 3000 ms
              "c0a80001"
              "f6010000"
              "01000000"
              "01000000"
              "02000000"
              "32000000"
              "b80b0000"
              // read area 4 at 0, gateway 0, 10 words
              "01000000"
              "00000400"
              "00000400"
              "0a000000"
              // change-triggered multiple write: 0x23, start 100, gateway 10, 2 words
              "23000000"
              "64000400"
              "0a000400"
              "02000000");

    // Two-port models: a spacer after the server count and after the
    // command count; work mode 1 gives mode 6.
    doc.masters[0].masterName = "NXE-485-ZRTU2";
    doc.GW_work_mode = 1;
    EXPECT_EQ(toHex(buildImageB(doc)).substr(0, 48), "060000000100000001000000000000000200000000000000");
}

TEST(NetCompile, CommandKinds) {
    struct Case {
        const char* func;
        int editSend;
        unsigned kind;
    };
    const Case cases[] = {
        {"读0区 01H", 0, 1},
        {"读1区 02H", 0, 1},
        {"读3区 04H", 0, 1},
        {"读4区 03H", 0, 1},
        {"写4区 06H 写单字", 0, 2},
        {"写4区 06H 写单字", 1, 3},
        {"写0区 05H 写单线圈", 1, 3},
        {"写4区 10H 写多字", 0, 0x22},
        {"写4区 10H 写多字", 1, 0x23},
        {"写0区 0FH 写多线圈", 0, 0x22},
        {"写0区 0FH 写多线圈", 1, 0x23},
        // A read never becomes a write, whatever an edited file says.
        {"读4区 03H", 1, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(commandKind(command(c.func, 0, 1, 0, c.editSend)), c.kind) << c.func << " " << c.editSend;
}

TEST(NetCompile, NodeRecordsOfEveryNode) {
    CVantorNetDoc doc = project("KX-P1-1.0");
    auto s = server("10.1.2.3", 65535, 247);
    s.control = 0;
    s.nodes[0].modules.push_back(command("读0区 01H", 1, 9, 0));
    s.nodes.push_back({5, {command("读1区 02H", 2, 3, 0), command("读1区 02H", 9, 3, 3)}});
    doc.slaves.push_back(s);
    const Bytes b = buildImageB(doc);
    ASSERT_EQ(b.size(), 16u + 2 * 28 + 3 * 16);
    EXPECT_EQ(imageBSize(doc), b.size());
    doc.masters[0].masterName = "NXE-485-ZRTU2"; // two ports: the spacers
    EXPECT_EQ(imageBSize(doc), buildImageB(doc).size());
    EXPECT_EQ(toHex(Bytes(b.begin() + 16, b.begin() + 16 + 28)),
              "0a010203ffff0000f7000000000000000100000032000000f4010000");
    EXPECT_EQ(toHex(Bytes(b.begin() + 44, b.begin() + 44 + 12)), "0a010203ffff000005000000");
    EXPECT_EQ(b[44 + 16], 2); // the second node's command count
    EXPECT_EQ(toHex(Bytes(b.begin() + 72 + 32, b.end())), "010000000900010003000100"
                                                          "03000000");
}

TEST(NetCompile, IpBytes) {
    struct Case {
        const char* ip;
        std::array<uint8_t, 4> bytes;
    };
    const Case cases[] = {
        {"192.168.0.1", {0xC0, 0xA8, 0x00, 0x01}},
        {"255.255.255.255", {0xFF, 0xFF, 0xFF, 0xFF}},
        // Short or damaged texts: the missing parts are 0, never read past.
        {"10.20", {10, 20, 0, 0}},
        {"", {0, 0, 0, 0}},
        {"1.2.3.4.5", {1, 2, 3, 4}},
        {"a.b.7.", {0, 0, 7, 0}},
        {"300.1.1.1", {44, 1, 1, 1}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ipBytes(c.ip), c.bytes) << c.ip;
}

TEST(NetCompile, PortBytesOfTheExample) {
    CVantorNetDoc doc = project("KX-P1-1.0");
    doc.slaves.push_back(server("192.168.0.1", 502, 1));
    const Bytes b = buildImageB(doc);
    EXPECT_EQ(toHex(Bytes(b.begin() + 16, b.begin() + 24)), "c0a80001f6010000");
}

TEST(NetCompile, GatewayAreaLimits) {
    struct Case {
        const char* func;
        int gate, length;
        bool ok;
    };
    const Case cases[] = {
        {"读0区 01H", 8000, 192, true},       {"读0区 01H", 8000, 193, false},
        {"读0区 01H", 8000, 200, false},      {"读1区 02H", 8191, 1, true},
        {"读1区 02H", 8192, 1, false},        {"读3区 04H", 1999, 1, true},
        {"读3区 04H", 1990, 11, false},       {"写4区 10H 写多字", 1900, 100, true},
        {"写4区 06H 写单字", 2000, 1, false},
    };
    for (const char* model : {"KX-P1-1.0", "NXE-485-ZRTU2", "NXE-485-ZRTU2E", "KX-P1R0-1.0", "LNK-P1-1.0"}) {
        for (const auto& c : cases) {
            CVantorNetDoc doc = project(model);
            doc.slaves.push_back(server("1.1.1.1", 502, 1));
            doc.slaves[0].nodes[0].modules.push_back(command("读4区 03H", 0, 1, 0));
            doc.slaves[0].nodes[0].modules.push_back(command(c.func, 0, c.length, c.gate));
            RecordingSink sink;
            EXPECT_EQ(compileNet(doc, sink).has_value(), c.ok) << model << " " << c.func << " " << c.gate;
            if (!c.ok) {
                EXPECT_EQ(sink.texts(),
                          std::vector<std::string>{"网关数据区访问超限 0区8192,1区8192,3区2000,4区2000"});
            }
        }
    }
    // The DP gateway has no gateway data area limit.
    CVantorNetDoc doc = project("QB-H-NET2.0");
    doc.slaves.push_back(server("1.1.1.1", 502, 1));
    doc.slaves[0].nodes[0].modules.push_back(command("读0区 01H", 0, 200, 8000));
    RecordingSink sink;
    EXPECT_TRUE(compileNet(doc, sink));
}

TEST(NetCompile, DpImageLimitsAsTheSumsGrow) {
    struct Case {
        std::vector<CModule> commands;
        std::string message; // empty: compiles
    };
    const std::vector<Case> cases = {
        // 122 words = 244 bytes: just fits.
        {{command("读4区 03H", 0, 122, 0)}, ""},
        {{command("读4区 03H", 0, 122, 0), command("读0区 01H", 0, 1, 0)}, "PB输入最大244BYTE"},
        // Bits round up per command: four commands of 9 bits take 8 bytes,
        // one of a single bit one more.
        {{command("读3区 04H", 0, 118, 0), command("读0区 01H", 0, 9, 0), command("读1区 02H", 0, 9, 0),
          command("读0区 01H", 9, 9, 9), command("读1区 02H", 9, 9, 9)},
         ""},
        {{command("读3区 04H", 0, 118, 0), command("读0区 01H", 0, 9, 0), command("读1区 02H", 0, 9, 0),
          command("读0区 01H", 9, 9, 9), command("读1区 02H", 9, 9, 9), command("读1区 02H", 30, 1, 30)},
         "PB输入最大244BYTE"},
        {{command("写4区 10H 写多字", 0, 122, 0), command("写4区 06H 写单字", 200, 1, 200)},
         "PB输出最大244BYTE"},
        // Reads and writes are summed apart: 244 each compiles.
        {{command("读4区 03H", 0, 122, 0), command("写4区 10H 写多字", 0, 122, 500)}, ""},
        // Tested command by command: the write sum is over first, so its
        // message comes although the read sum will be over too.
        {{command("写4区 10H 写多字", 0, 123, 0), command("读4区 03H", 0, 123, 500)}, "PB输出最大244BYTE"},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        CVantorNetDoc doc = project("QB-H-NET2.0");
        doc.slaves.push_back(server("1.1.1.1", 502, 1));
        doc.slaves[0].nodes[0].modules = cases[i].commands;
        RecordingSink sink;
        EXPECT_EQ(compileNet(doc, sink).has_value(), cases[i].message.empty()) << i;
        if (!cases[i].message.empty()) {
            EXPECT_EQ(sink.texts(), std::vector<std::string>{cases[i].message}) << i;
        }
    }
}

TEST(NetCompile, CommandCountLimit) {
    for (int count : {1023, 1024, 1025}) {
        CVantorNetDoc doc = project("KX-P1-1.0");
        for (int s = 0; s < 5; ++s)
            doc.slaves.push_back(server("1.1.1." + std::to_string(s), 502, 1));
        for (int i = 0; i < count; ++i)
            doc.slaves[static_cast<std::size_t>(i % 5)].nodes[0].modules.push_back(
                command("读0区 01H", i, 1, i));
        RecordingSink sink;
        auto images = compileNet(doc, sink);
        EXPECT_EQ(images.has_value(), count <= 1024) << count;
        if (count > 1024) {
            EXPECT_EQ(sink.texts(), std::vector<std::string>{"模块数超范围，最大模块数为1024"});
        } else {
            EXPECT_EQ(images->b.size(), 16u + 5 * 28 + static_cast<std::size_t>(count) * 16);
        }
    }
}

// A node record counts its commands in one byte: 255 at most per node.
TEST(NetCompile, NodeCommandCountFitsItsByte) {
    for (int count : {255, 256}) {
        CVantorNetDoc doc = project("KX-P1-1.0");
        doc.slaves.push_back(server("10.0.0.1", 502, 1));
        doc.slaves[0].nodes.push_back({7, {}});
        for (int i = 0; i < count; ++i)
            doc.slaves[0].nodes[1].modules.push_back(command("读0区 01H", i, 1, i));
        RecordingSink sink;
        auto images = compileNet(doc, sink);
        EXPECT_EQ(images.has_value(), count == 255);
        if (images) {
            EXPECT_EQ(images->b[16 + 28 + 16], 255);
        } else {
            EXPECT_EQ(sink.texts(), std::vector<std::string>{"10.0.0.1 站地址7的命令数超过255"});
        }
    }
}

// The server count and unit addresses go out in one byte, image B's size in
// a 16-bit word: beyond them the compile refuses, naming the object.
TEST(NetCompile, CountsThatMustFitTheirField) {
    struct Case {
        int servers, nodesEach, unit;
        const char* message; // empty: compiles
    } cases[] = {
        {255, 1, 0, ""},
        {256, 1, 1, "从站数256超过255"},
        {1, 1, 255, ""},
        {1, 1, 256, "10.0.0.1 站地址256超出0~255"},
        {1, 1, -1, "10.0.0.1 站地址-1超出0~255"},
        {200, 11, 1, ""}, // 16 + 2200 × 28 = 61616 bytes; 12 nodes each give 67216
        {200, 12, 1, "下载数据量过大，请减少从站个数或从站模块数"},
    };
    for (const auto& c : cases) {
        CVantorNetDoc doc = project("KX-P1-1.0");
        for (int i = 0; i < c.servers; ++i) {
            auto s =
                server("10.0." + std::to_string(i / 250) + "." + std::to_string(i % 250 + 1), 502, c.unit);
            s.nodes.resize(static_cast<std::size_t>(c.nodesEach), s.nodes[0]);
            s.nodes[0].modules.push_back(command("读0区 01H", 0, 1, i));
            doc.slaves.push_back(s);
        }
        RecordingSink sink;
        EXPECT_EQ(compileNet(doc, sink).has_value(), *c.message == 0) << c.message;
        EXPECT_EQ(sink.texts(),
                  (*c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{}));
    }
}

TEST(NetCompile, WithoutGatewayNothingCompiles) {
    CVantorNetDoc doc = project("");
    doc.slaves.push_back(server("1.1.1.1", 502, 1));
    RecordingSink sink;
    EXPECT_FALSE(compileNet(doc, sink));
    EXPECT_EQ(sink.texts(), std::vector<std::string>{"请添加一个主站!"});
}

TEST(NetCompile, EmptyServerQuestion) {
    CVantorNetDoc doc = project("KX-P1-1.0");
    doc.slaves.push_back(server("10.0.0.1", 502, 1));
    doc.slaves.push_back(server("10.0.0.2", 502, 1));
    doc.slaves.push_back(server("10.0.0.3", 502, 1));
    doc.slaves[1].nodes[0].modules.push_back(command("读0区 01H", 0, 1, 0));
    doc.slaves[2].nodes.clear();
    EXPECT_EQ(emptyServers(doc), (std::vector<int>{0, 2}));

    for (bool answer : {true, false}) {
        RecordingSink sink;
        sink.answers.push_back(answer);
        EXPECT_EQ(confirmEmptyServers(doc, sink), answer);
        ASSERT_EQ(sink.messages.size(), 1u);
        EXPECT_EQ(sink.messages[0],
                  (Message{MessageKind::Question, "空从站提示",
                           "存在没有操作的从站,继续下载吗？\n空站地址为: 10.0.0.1,10.0.0.3"}));
    }
    doc.slaves.erase(doc.slaves.begin());
    doc.slaves.pop_back();
    RecordingSink sink;
    EXPECT_TRUE(confirmEmptyServers(doc, sink));
    EXPECT_TRUE(sink.messages.empty());
}

TEST(NetCompile, ImageBPartsOf500Bytes) {
    // 16-byte header, 11 nodes (308 bytes), 11 commands (176 bytes): 500 bytes.
    CVantorNetDoc doc = project("KX-P1-1.0");
    for (int i = 0; i < 11; ++i) {
        doc.slaves.push_back(server("10.0.0." + std::to_string(i + 1), 502, 1));
        doc.slaves.back().nodes[0].modules.push_back(command("读4区 03H", 0, 1, i));
    }
    const Bytes b = buildImageB(doc);
    ASSERT_EQ(b.size(), 500u);
    ASSERT_EQ(imageBPartCount(b), 3u);
    const std::size_t sizes[] = {240, 240, 20};
    for (std::size_t i = 0; i < 3; ++i) {
        const Bytes part = imageBPart(b, i);
        ASSERT_EQ(part.size(), 8 + sizes[i]);
        EXPECT_EQ(toHex(Bytes(part.begin(), part.begin() + 8)), "15000000f4010000") << i;
        EXPECT_TRUE(
            std::equal(part.begin() + 8, part.end(), b.begin() + static_cast<std::ptrdiff_t>(i * 240)));
    }
    EXPECT_EQ(toHex(imageAFrame(buildImageA(doc))).substr(0, 16), "1400000014000000");
}

} // namespace
} // namespace vantor::net
