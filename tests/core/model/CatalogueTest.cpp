#include "model/CVantorDoc.h"
#include "model/CommandKind.h"
#include "model/GatewayCatalogue.h"

#include <gtest/gtest.h>

using namespace vantor;
using namespace vantor::model;

namespace {

CVantorDoc projectFor(const std::string& model, int lines = 1) {
    CVantorDoc doc;
    doc.masters.push_back(CMaster{model, 35, 35, ""});
    for (int i = 0; i < lines; ++i) {
        CCOM com;
        com.COMName = "COM" + std::to_string(i + 1);
        com.num_com = i;
        doc.coms.push_back(com);
    }
    return doc;
}

CModule command(const char* func, int gate, int length) {
    const CommandKind* kind = findCommandKind(func);
    CModule m;
    m.Func = func;
    m.area_num = kind->area;
    m.read_wri = kind->readWrite;
    m.Gate_Add = gate;
    m.Length = length;
    m.Start_Add = 0;
    return m;
}

CSlave slaveOn(const std::string& com, int address) {
    CSlave s;
    s.com_name = com;
    s.address = address;
    return s;
}

} // namespace

TEST(Catalogue, ModelTableInTreeOrder) {
    const char* names[] = {"NXE-485-ZRTU2", "KX-P1R0-1.0",    "KX-P2R0-1.0", "KX-P4R0-1.0", "KX-P6R0-1.0",
                           "TRC-H-ZRTU",    "NXE-485-ZRTU2E", "TRX-H-QMB6",  "KX-P1-1.0",   "LNK-P1-1.0"};
    auto models = gatewayModels();
    ASSERT_EQ(models.size(), std::size(names));
    for (std::size_t i = 0; i < models.size(); ++i)
        EXPECT_EQ(models[i].name, names[i]);
}

TEST(Catalogue, LimitsPerModel) {
    struct Case {
        const char* model;
        std::size_t ports;
        int slaves, commands, bitEnd;
        int code; // -1: not checked
    } cases[] = {
        {"NXE-485-ZRTU2", 2, 31, 512, 8192, 0x71},  {"KX-P1R0-1.0", 1, 31, 512, 4096, 0x72},
        {"KX-P2R0-1.0", 2, 31, 512, 8192, 0x74},    {"KX-P4R0-1.0", 4, 31, 512, 8192, 0x75},
        {"KX-P6R0-1.0", 6, 31, 512, 8192, 0x73},    {"TRC-H-ZRTU", 2, 31, 512, 8192, -1},
        {"NXE-485-ZRTU2E", 2, 64, 512, 8192, 0x77}, {"TRX-H-QMB6", 6, 31, 256, 8192, 0x73},
        {"KX-P1-1.0", 1, 31, 512, 4096, 0x72},      {"LNK-P1-1.0", 1, 31, 512, 4096, 0x72},
    };
    for (const auto& c : cases) {
        const GatewayModel* m = findGatewayModel(c.model);
        ASSERT_NE(m, nullptr) << c.model;
        EXPECT_EQ(m->ports.size(), c.ports) << c.model;
        EXPECT_EQ(m->ports.back(), "COM" + std::to_string(c.ports)) << c.model;
        EXPECT_EQ(m->slaveLimit, c.slaves) << c.model;
        EXPECT_EQ(m->commandLimit, c.commands) << c.model;
        EXPECT_EQ(m->bitAreaEnd, c.bitEnd) << c.model;
        EXPECT_EQ(m->wordAreaEnd, 2000) << c.model;
        EXPECT_EQ(m->modelCode ? *m->modelCode : -1, c.code) << c.model;
    }
    EXPECT_EQ(findGatewayModel("KX-P3R0-1.0"), nullptr);
    EXPECT_EQ(gatewayModel("").commandLimit, 512);
}

TEST(Catalogue, FeatureFlags) {
    struct Case {
        const char* model;
        Feature feature;
        bool has;
    } cases[] = {
        {"TRX-H-QMB6", FeatureNetworkParams, false},    {"TRX-H-QMB6", FeatureSlaveState, false},
        {"TRX-H-QMB6", FeatureAddressingMode, false},   {"TRX-H-QMB6", FeatureFirmwareMenu, false},
        {"TRX-H-QMB6", FeatureEipParams, true},         {"TRX-H-QMB6", FeatureServicePort60000, true},
        {"TRX-H-QMB6", FeatureTwoPortBlocks, true},     {"KX-P6R0-1.0", FeatureEipParams, false},
        {"KX-P6R0-1.0", FeatureTwoPortBlocks, true},    {"KX-P4R0-1.0", FeatureTwoPortBlocks, true},
        {"KX-P2R0-1.0", FeatureTwoPortBlocks, true},    {"KX-P1R0-1.0", FeatureTwoPortBlocks, false},
        {"NXE-485-ZRTU2", FeatureTwoPortBlocks, false}, {"LNK-P1-1.0", FeatureWorkMode, true},
        {"KX-P1-1.0", FeatureWorkMode, false},          {"TRC-H-ZRTU", FeatureCdt, true},
        {"NXE-485-ZRTU2", FeatureCdt, false},           {"NXE-485-ZRTU2", FeatureFirmwareMenu, true},
        {"NXE-485-ZRTU2", FeatureFirmwareOpens, false}, {"NXE-485-ZRTU2E", FeatureFirmwareOpens, false},
        {"TRC-H-ZRTU", FeatureFirmwareOpens, false},    {"LNK-P1-1.0", FeatureFirmwareOpens, true},
        {"KX-P1-1.0", FeatureFirmwareOpens, true},      {"KX-P6R0-1.0", FeatureFirmwareOpens, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(gatewayModel(c.model).has(c.feature), c.has) << c.model << " feature " << c.feature;
}

TEST(Catalogue, IdentityNames) {
    struct Case {
        uint8_t id[4];
        const char* name;
    } cases[] = {
        {{0x71, 0x34, 0x58, 0x06}, "NXE-485-ZRTU2"}, {{0x72, 0x34, 0x58, 0x06}, "LNK-P1-1.0"},
        {{0x73, 0x34, 0x58, 0x06}, "KX-P6R0-1.0"},   {{0x74, 0x34, 0x58, 0x06}, "KX-P2R0-1.0"},
        {{0x75, 0x34, 0x58, 0x06}, "KX-P4R0-1.0"},   {{0x77, 0x34, 0x58, 0x06}, "NXE-485-ZRTU2E"},
        {{0x76, 0x34, 0x58, 0x06}, "未知设备"},      {{0x71, 0x34, 0x58, 0x07}, "未知设备"},
        {{0x71, 0x35, 0x58, 0x06}, "未知设备"},      {{0x00, 0x00, 0x00, 0x00}, "未知设备"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(identityName(c.id), c.name);
}

TEST(AreaCheck, EndsOfAreas) {
    const std::string big = "网关数据区访问超限 0区8192,1区8192,3区2000,4区2000";
    const std::string small = "网关数据区访问超限 0区4096,1区4096,3区2000,4区2000";
    struct Case {
        const char* model;
        const char* func;
        int gate, length;
        std::string message; // empty: accepted
    } cases[] = {
        {"KX-P4R0-1.0", "读0区 01H", 8190, 2, ""},
        {"KX-P4R0-1.0", "读0区 01H", 8190, 3, big},
        {"KX-P4R0-1.0", "读1区 02H", 0, 8193, big},
        {"KX-P1-1.0", "读1区 02H", 4000, 96, ""},
        {"KX-P1-1.0", "写0区 0FH 写多线圈", 4000, 97, small},
        {"KX-P1R0-1.0", "读0区 01H", 4096, 1, small},
        {"LNK-P1-1.0", "读0区 01H", 4095, 2, small},
        {"KX-P1-1.0", "读3区 04H", 1990, 10, ""},
        {"KX-P1-1.0", "读3区 04H", 1990, 11, small},
        {"KX-P6R0-1.0", "写4区 10H 写多字", 1999, 1, ""},
        {"KX-P6R0-1.0", "读4区 03H", 1999, 2, big},
        {"TRX-H-QMB6", "写4区 06H 写单字", 2000, 1, big},
    };
    for (const auto& c : cases) {
        CVantorDoc doc = projectFor(c.model);
        doc.slaves.push_back(slaveOn("COM1", 1));
        doc.slaves[0].modules.push_back(command("读4区 03H", 0, 1));
        doc.slaves[0].modules.push_back(command(c.func, c.gate, c.length));
        RecordingSink sink;
        bool ok = checkAreas(doc, sink);
        EXPECT_EQ(ok, c.message.empty()) << c.model << ' ' << c.func << ' ' << c.gate << '+' << c.length;
        if (c.message.empty()) {
            EXPECT_TRUE(sink.messages.empty());
            EXPECT_TRUE(doc.modified);
        } else {
            ASSERT_EQ(sink.messages.size(), 1u);
            EXPECT_EQ(sink.messages[0], (Message{MessageKind::Error, "错误", c.message}));
            EXPECT_FALSE(doc.modified);
        }
    }
}

TEST(AreaCheck, CdtSums) {
    struct Case {
        std::vector<std::pair<const char*, int>> commands; // func, length (addresses packed)
        std::string message;
    } cases[] = {
        {{{"读0区 01H", 500}, {"写0区 05H 写单线圈", 12}}, ""},
        {{{"读0区 01H", 500}, {"写0区 0FH 写多线圈", 13}}, "遥信最大数据为512bit"},
        {{{"读1区 02H", 256}, {"读0区 01H", 257}}, "遥信最大数据为512bit"},
        {{{"读3区 04H", 200}, {"读4区 03H", 56}}, ""},
        {{{"读3区 04H", 200}, {"读4区 03H", 57}}, "遥测最大数据为256word"},
        // Writes to area 4 do not count as telemetry.
        {{{"读3区 04H", 256}, {"写4区 10H 写多字", 100}}, ""},
    };
    for (const auto& c : cases) {
        CVantorDoc doc = projectFor("TRC-H-ZRTU", 2);
        doc.slaves.push_back(slaveOn("COM2", 1));
        int next[5] = {};
        for (auto [func, length] : c.commands) {
            CModule m = command(func, 0, length);
            m.Gate_Add = next[m.area_num];
            next[m.area_num] += length;
            doc.slaves[0].modules.push_back(m);
        }
        RecordingSink sink;
        EXPECT_EQ(checkAreas(doc, sink), c.message.empty());
        EXPECT_EQ(sink.texts(), c.message.empty() ? std::vector<std::string>{} : std::vector{c.message});
    }
    // The same sums on another model are not limited.
    CVantorDoc doc = projectFor("NXE-485-ZRTU2");
    doc.slaves.push_back(slaveOn("COM1", 1));
    doc.slaves[0].modules.push_back(command("读0区 01H", 0, 1000));
    RecordingSink sink;
    EXPECT_TRUE(checkAreas(doc, sink));
}

TEST(CommandCount, LimitPerModel) {
    struct Case {
        const char* model;
        int existing;
        bool ok;
        const char* message;
    } cases[] = {
        {"KX-P6R0-1.0", 511, true, ""},
        {"KX-P6R0-1.0", 512, false, "模块数超范围，最大模块数为512"},
        {"TRX-H-QMB6", 255, true, ""},
        {"TRX-H-QMB6", 256, false, "模块数超范围，最大模块数为256"},
    };
    for (const auto& c : cases) {
        CVantorDoc doc = projectFor(c.model);
        // Spread the commands over several slaves: the count is project-wide.
        for (int i = 0; i < c.existing; ++i) {
            if (i % 100 == 0)
                doc.slaves.push_back(slaveOn("COM1", i / 100 + 1));
            doc.slaves.back().modules.push_back(command("读4区 03H", i, 1));
        }
        RecordingSink sink;
        EXPECT_EQ(checkCommandCount(doc, sink), c.ok) << c.model << ' ' << c.existing;
        if (!c.ok) {
            EXPECT_EQ(sink.messages.at(0), (Message{MessageKind::Error, "错误", c.message}));
        }
    }
}

TEST(SlaveCount, LimitPerLine) {
    struct Case {
        const char* model;
        int existing;
        bool ok;
        const char* message;
    } cases[] = {
        {"KX-P2R0-1.0", 30, true, ""},
        {"KX-P2R0-1.0", 31, false, "每个串口上最多连接31个从站"},
        {"NXE-485-ZRTU2E", 63, true, ""},
        {"NXE-485-ZRTU2E", 64, false, "每个串口上最多连接64个从站"},
    };
    for (const auto& c : cases) {
        CVantorDoc doc = projectFor(c.model, 2);
        for (int i = 0; i < c.existing; ++i)
            doc.slaves.push_back(slaveOn("COM1", i + 1));
        doc.slaves.push_back(slaveOn("COM2", 1)); // other lines do not count
        RecordingSink sink;
        EXPECT_EQ(checkSlaveCount(doc, 0, sink), c.ok) << c.model << ' ' << c.existing;
        EXPECT_EQ(sink.texts(), c.ok ? std::vector<std::string>{} : std::vector<std::string>{c.message});
    }
}
