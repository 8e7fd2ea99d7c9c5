#include "NetFixtures.h"

#include "net/NetCommandForm.h"
#include "net/NetProjectEditor.h"
#include "net/NetServerForm.h"
#include "net/NetSettingsForms.h"

#include <gtest/gtest.h>

namespace vantor::net {
namespace {

using editing::FormResult;
using testing::command;
using testing::project;
using testing::server;

using Texts = std::vector<std::string>;

TEST(NetCatalogueTree, ContentsAndOrder) {
    const auto& tree = netCatalogueTree();
    ASSERT_EQ(tree.size(), 2u);
    EXPECT_EQ(tree[0].text, "MODBUS RTU Master");
    std::vector<std::string> models;
    for (const auto& c : tree[0].children)
        models.push_back(c.text);
    EXPECT_EQ(models, (Texts{"NXE-485-ZRTU2", "KX-P1R0-1.0", "NXE-485-ZRTU2E", "KX-P1-1.0", "QB-H-NET2.0",
                             "LNK-P1-1.0"}));
    EXPECT_EQ(tree[1].text, "MODBUS TCP Server");
    ASSERT_EQ(tree[1].children.size(), 1u);
    EXPECT_EQ(tree[1].children[0].text, "Normal Server");
    std::vector<std::string> functions;
    for (const auto& c : tree[1].children[0].children)
        functions.push_back(c.text);
    EXPECT_EQ(functions, (Texts{"读0区 01H", "写0区 0FH 写多线圈", "写0区 05H 写单线圈", "读1区 02H",
                                "读3区 04H", "读4区 03H", "写4区 06H 写单字", "写4区 10H 写多字"}));
}

TEST(NetCatalogueTree, OnlyOneGateway) {
    CVantorNetDoc doc;
    RecordingSink sink;
    EXPECT_EQ(activateNetCatalogueItem(doc, "KX-P1-1.0", "MODBUS RTU Master", sink).action,
              NetCatalogueAction::GatewayAdded);
    EXPECT_EQ(doc.masters, (std::vector<CMaster>{{"KX-P1-1.0", 200, 50, "KX-P1-1.0"}}));
    EXPECT_EQ(activateNetCatalogueItem(doc, "QB-H-NET2.0", "MODBUS RTU Master", sink).action,
              NetCatalogueAction::Nothing);
    EXPECT_EQ(doc.modelName(), "KX-P1-1.0");
    EXPECT_EQ(doc.masters.size(), 1u);
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(activateNetCatalogueItem(doc, "MODBUS RTU Master", "", sink).action,
              NetCatalogueAction::Nothing);
}

TEST(NetCatalogueTree, ThirtyOneServersAtMost) {
    CVantorNetDoc doc;
    for (int i = 0; i < 32; ++i) {
        RecordingSink sink;
        const auto out = activateNetCatalogueItem(doc, "Normal Server", "MODBUS TCP Server", sink);
        if (i < 31) {
            ASSERT_EQ(out.action, NetCatalogueAction::OpenSlaveForm) << i;
            EXPECT_EQ(doc.insert_slave_flag, 1);
            NetServerForm form = openNewServerForm(doc);
            form.ipText = "10.0.0." + std::to_string(i + 1);
            ASSERT_EQ(acceptServerForm(doc, form, sink), FormResult::Accepted) << sink.texts()[0];
            endServerForm(doc);
            EXPECT_EQ(doc.insert_slave_flag, 0);
        } else {
            EXPECT_EQ(out.action, NetCatalogueAction::Refused);
            EXPECT_EQ(sink.messages,
                      (std::vector<Message>{{MessageKind::Error, "错误", "最多添加31个站点"}}));
        }
    }
    EXPECT_EQ(doc.slaves.size(), 31u);
}

TEST(NetCatalogueTree, FunctionNeedsRoomAndASelectedServer) {
    for (int count : {1023, 1024}) {
        CVantorNetDoc doc = project("KX-P1-1.0");
        doc.slaves.push_back(server("1.1.1.1", 502, 1));
        doc.slaves[0].nodes.push_back({2, {}});
        for (int i = 0; i < count; ++i)
            doc.slaves[0].nodes[static_cast<std::size_t>(i % 2)].modules.push_back(
                command("读0区 01H", i, 1, i));
        doc.currentSelect = 3;
        RecordingSink sink;
        const auto out = activateNetCatalogueItem(doc, "读4区 03H", "Normal Server", sink);
        if (count < 1024) {
            EXPECT_EQ(out.action, NetCatalogueAction::OpenCommandForm);
            EXPECT_EQ(out.function, "读4区 03H");
            EXPECT_TRUE(sink.messages.empty());
        } else {
            EXPECT_EQ(out.action, NetCatalogueAction::Refused);
            EXPECT_EQ(sink.texts(), Texts{"模块数超范围，最大模块数为1024"});
        }
    }
    CVantorNetDoc doc = project("KX-P1-1.0");
    doc.slaves.push_back(server("1.1.1.1", 502, 1));
    for (int select : {0, 1, 2, 4}) {
        doc.currentSelect = select;
        RecordingSink sink;
        EXPECT_EQ(activateNetCatalogueItem(doc, "读4区 03H", "Normal Server", sink).action,
                  NetCatalogueAction::Refused);
        EXPECT_EQ(sink.texts(), Texts{"请选择从站"});
    }
}

TEST(NetAddServer, PlacementAndBusGrowth) {
    CVantorNetDoc doc;
    doc.bus = {150, 150, 400};
    struct Step {
        int x, busLength;
    };
    // 200, 320, 440 (the bus grows to reach 560), 560 ...
    for (const Step want : {Step{200, 400}, Step{320, 400}, Step{440, 410}, Step{560, 530}}) {
        NewServerValues v;
        v.sendInterval = 15;
        v.replyTimeout = 3000;
        v.unitAddress = 9;
        const int s = addServer(doc, v);
        EXPECT_EQ(doc.slaves[static_cast<std::size_t>(s)].x, want.x);
        EXPECT_EQ(doc.slaves[static_cast<std::size_t>(s)].y, 220);
        EXPECT_EQ(doc.bus.length, want.busLength);
        EXPECT_EQ(doc.currentSelect, s + 3);
    }
    const CSlave& s = doc.slaves[0];
    EXPECT_EQ(s.space, 1); // 15 ms in units of 10 ms
    EXPECT_EQ(s.timetip, 300);
    ASSERT_EQ(s.nodes.size(), 1u);
    EXPECT_EQ(s.nodes[0].address, 9);
    EXPECT_TRUE(s.nodes[0].modules.empty());
}

TEST(NetServerForm, AddModeDefaults) {
    CVantorNetDoc doc;
    const NetServerForm f = openNewServerForm(doc);
    EXPECT_TRUE(f.addMode);
    EXPECT_EQ(f.nameText, "SLAVE");
    EXPECT_EQ(f.ipText, "192.168.0.1");
    EXPECT_EQ(f.portText, "502");
    EXPECT_EQ(f.timeoutText, "500");
    EXPECT_EQ(f.intervalText, "50");
    EXPECT_EQ(f.picture, "node.bmp");
    EXPECT_TRUE(f.control);
    EXPECT_EQ(f.unitText, "1");
    EXPECT_EQ(doc.insert_slave_flag, 1);
}

TEST(NetServerForm, ChecksInOrder) {
    struct Case {
        const char* ip;
        const char* unit;
        const char* port;
        const char* interval;
        const char* timeout;
        const char* message; // nullptr: accepted
    };
    const Case cases[] = {
        {"192.168.0.x", "a", "b", "c", "d", "IP地址格式错误"},
        {"300.1.1.1", "a", "b", "c", "d", "IP地址格式错误"},
        {"1.2.3", "a", "b", "c", "d", "IP地址格式错误"},
        {"1.2.3.4.5", "a", "b", "c", "d", "IP地址格式错误"},
        {"1..3.4", "a", "b", "c", "d", "IP地址格式错误"},
        {"", "a", "b", "c", "d", "IP地址格式错误"},
        // The gateway connects to the server: no address a server cannot have.
        {"0.0.0.0", "1", "502", "50", "500", "IP地址格式错误"},
        {"255.255.255.255", "1", "502", "50", "500", "IP地址格式错误"},
        {"224.0.0.1", "1", "502", "50", "500", "IP地址格式错误"},
        {"192.168.0.9", "1", "0", "50", "500", "端口格式错误"},
        {" 10.0.0.1 ", "1", "502", "50", "500", nullptr},
        {"192.168.0.9", "1a", "b", "c", "d", "从站MOD地址格式错误"},
        {"192.168.0.9", "1", "-1", "c", "d", "端口格式错误"},
        {"192.168.0.9", "1", "", "50", "500", "端口格式错误"},
        {"192.168.0.9", "1", "502", "5 0", "d", "报文发送间隔格式错误"},
        {"192.168.0.9", "1", "502", "50", "1e3", "应答超时时间格式错误"},
        {"192.168.0.9", "0", "65536", "3001", "9", "端口号添入一个0和65535之间的整数"},
        {"192.168.0.9", "0", "65535", "3001", "9", "从站MOD地址添入一个1和247之间的整数"},
        {"192.168.0.9", "248", "1", "3001", "9", "从站MOD地址添入一个1和247之间的整数"},
        {"192.168.0.9", "247", "1", "3001", "9", "报文发送间隔请添入一个0和3000之间的整数"},
        {"192.168.0.9", "247", "1", "3000", "9", "应答超时时间请添入一个10和3000之间的整数"},
        {"192.168.0.9", "247", "1", "3000", "3001", "应答超时时间请添入一个10和3000之间的整数"},
        {"192.168.0.9", "247", "1", "0", "10", nullptr},
        {"192.168.0.9", "1", "65535", "3000", "3000", nullptr},
        // The same IP, port and unit as the existing server.
        {"192.168.0.1", "1", "502", "50", "500", "192.168.0.1:502 MOD:1 已经存在"},
        {"192.168.000.001", "1", "502", "50", "500", "192.168.000.001:502 MOD:1 已经存在"},
        {" 192.168.0.01 ", "1", "502", "50", "500", "192.168.0.01:502 MOD:1 已经存在"},
        {"192.168.0.1", "2", "502", "50", "500", nullptr},
        {"192.168.000.011", "1", "502", "50", "500", nullptr},
        {"192.168.0.1", "1", "503", "50", "500", nullptr},
    };
    for (const auto& c : cases) {
        CVantorNetDoc doc;
        doc.slaves.push_back(server("192.168.0.1", 502, 1));
        NetServerForm f = openNewServerForm(doc);
        f.ipText = c.ip;
        f.unitText = c.unit;
        f.portText = c.port;
        f.intervalText = c.interval;
        f.timeoutText = c.timeout;
        RecordingSink sink;
        const FormResult r = acceptServerForm(doc, f, sink);
        if (c.message) {
            EXPECT_EQ(r, FormResult::StayOpen) << c.message;
            EXPECT_EQ(sink.texts(), Texts{c.message});
            EXPECT_EQ(sink.messages[0].caption, "错误");
            EXPECT_EQ(doc.slaves.size(), 1u);
        } else {
            EXPECT_EQ(r, FormResult::Accepted) << c.ip << " " << c.unit << " " << c.port;
            EXPECT_TRUE(sink.messages.empty()) << sink.texts()[0];
            EXPECT_EQ(doc.slaves.size(), 2u);
            EXPECT_EQ(doc.slaves[1].ipadd.find(' '), std::string::npos);
        }
    }
}

TEST(NetServerForm, EditMode) {
    CVantorNetDoc doc;
    doc.slaves.push_back(server("192.168.0.1", 502, 1));
    doc.slaves.push_back(server("192.168.0.2", 502, 1));
    doc.slaves[1].space = 1; // entered as 15 ms
    doc.slaves[1].timetip = 50;
    doc.slaves[1].picture = "pump.bmp";
    doc.currentSelect = 2;
    EXPECT_FALSE(openServerForm(doc));
    doc.currentSelect = 4;
    auto f = openServerForm(doc);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->intervalText, "10");
    EXPECT_EQ(f->timeoutText, "500");
    EXPECT_EQ(f->unitText, "1");
    EXPECT_EQ(f->picture, "pump.bmp");

    // Unchanged endpoint: no uniqueness check against itself.
    RecordingSink sink;
    f->nameText = "新名称";
    EXPECT_EQ(acceptServerForm(doc, *f, sink), FormResult::Accepted);
    EXPECT_EQ(doc.slaves[1].name, "新名称");

    // Moving onto the other server's endpoint is refused and changes nothing.
    f = openServerForm(doc);
    f->ipText = "192.168.0.1";
    f->nameText = "不应保存";
    EXPECT_EQ(acceptServerForm(doc, *f, sink), FormResult::StayOpen);
    EXPECT_EQ(sink.texts(), Texts{"192.168.0.1:502 MOD:1 已经存在"});
    EXPECT_EQ(doc.slaves[1].name, "新名称");
    EXPECT_EQ(doc.slaves[1].ipadd, "192.168.0.2");

    f->unitText = "5";
    f->portText = "1502";
    f->timeoutText = "15";
    f->control = false;
    sink.messages.clear();
    EXPECT_EQ(acceptServerForm(doc, *f, sink), FormResult::Accepted);
    EXPECT_EQ(doc.slaves[1].nodes[0].address, 5);
    EXPECT_EQ(doc.slaves[1].port, 1502);
    EXPECT_EQ(doc.slaves[1].timetip, 1);
    EXPECT_EQ(doc.slaves[1].control, 0);
    EXPECT_EQ(openServerForm(doc)->timeoutText, "10");
}

TEST(NetServerForm, PictureFileName) {
    EXPECT_EQ(pictureFileName("C:\\pictures\\pump.bmp"), "pump.bmp");
    EXPECT_EQ(pictureFileName("/home/u/BITMAP/valve.bmp"), "valve.bmp");
    EXPECT_EQ(pictureFileName("node.bmp"), "node.bmp");
}

// A project with one selected server and a gateway.
CVantorNetDoc withServer() {
    CVantorNetDoc doc = project("KX-P1-1.0");
    doc.slaves.push_back(server("192.168.0.1", 502, 3));
    doc.currentSelect = 3;
    return doc;
}

TEST(NetCommandForm, OpeningTexts) {
    struct Case {
        const char* function;
        const char* startLabel;
        bool lengthEnabled, editSendVisible;
    };
    const Case cases[] = {
        {"读0区 01H", "起始地址(bit)：", true, false},
        {"写0区 05H 写单线圈", "起始地址(bit)：", false, true},
        {"写0区 0FH 写多线圈", "起始地址(bit)：", true, true},
        {"读1区 02H", "起始地址(bit)：", true, false},
        {"读3区 04H", "起始地址(word)：", true, false},
        {"读4区 03H", "起始地址(word)：", true, false},
        {"写4区 06H 写单字", "起始地址(word)：", false, true},
        {"写4区 10H 写多字", "起始地址(word)：", true, true},
    };
    for (int preset : {0, 1}) {
        CVantorNetDoc doc = withServer();
        doc.isDataModifySendEnable = preset;
        for (const auto& c : cases) {
            RecordingSink sink;
            auto f = openNewNetCommandForm(doc, c.function, sink);
            ASSERT_TRUE(f);
            EXPECT_EQ(f->title, c.function);
            EXPECT_EQ(f->startLabel, c.startLabel);
            EXPECT_EQ(f->lengthLabel, std::string(c.startLabel).find("bit") != std::string::npos
                                          ? "长度(bit)："
                                          : "长度(word)：");
            EXPECT_EQ(f->lengthText, "1");
            EXPECT_EQ(f->lengthEnabled, c.lengthEnabled) << c.function;
            EXPECT_EQ(f->editSendVisible, c.editSendVisible) << c.function;
            EXPECT_EQ(f->editSend, c.editSendVisible && preset == 1) << c.function;
            EXPECT_EQ(f->modbusText, "1");
            EXPECT_EQ(f->gatewayText, "0");
            EXPECT_EQ(f->startText, "0");
        }
    }
    CVantorNetDoc doc = withServer();
    doc.currentSelect = 2;
    RecordingSink sink;
    EXPECT_FALSE(openNewNetCommandForm(doc, "读4区 03H", sink));
}

TEST(NetCommandForm, ProposalWrapsAtTheAreaEnd) {
    CVantorNetDoc doc = withServer();
    auto& modules = doc.slaves[0].nodes[0].modules;
    modules.push_back(command("读4区 03H", 0, 5, 0));
    modules.push_back(command("读4区 03H", 100, 10, 1990));
    doc.nextGateAddress[3] = 1990;
    RecordingSink sink;
    // The last command ends at 2000, which becomes 0; 0..4 are taken.
    EXPECT_EQ(openNewNetCommandForm(doc, "写4区 06H 写单字", sink)->gatewayText, "5");

    // A full word area: no proposal, an empty field and the message.
    CVantorNetDoc full = withServer();
    for (int i = 0; i < 16; ++i)
        full.slaves[0].nodes[0].modules.push_back(command("读3区 04H", i * 125, 125, i * 125));
    auto f = openNewNetCommandForm(full, "读3区 04H", sink);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->gatewayText, "");
    EXPECT_EQ(sink.texts(), Texts{"没有可用的网关地址"});
    // The other word area is still free.
    sink.messages.clear();
    EXPECT_EQ(openNewNetCommandForm(full, "读4区 03H", sink)->gatewayText, "0");
    EXPECT_TRUE(sink.messages.empty());
}

TEST(NetCommandForm, DefaultStartAddressFollowsTheFirstNode) {
    CVantorNetDoc doc = withServer();
    doc.slaves[0].nodes[0].modules.push_back(command("读4区 03H", 10, 5, 0));
    doc.slaves[0].nodes[0].modules.push_back(command("写4区 10H 写多字", 40, 2, 5));
    doc.slaves[0].nodes.push_back({4, {command("读4区 03H", 500, 5, 20)}});
    RecordingSink sink;
    EXPECT_EQ(openNewNetCommandForm(doc, "读4区 03H", sink)->startText, "15");
    EXPECT_EQ(openNewNetCommandForm(doc, "写4区 06H 写单字", sink)->startText, "42");
    EXPECT_EQ(openNewNetCommandForm(doc, "读3区 04H", sink)->startText, "0");
}

TEST(NetCommandForm, ChecksInOrder) {
    struct Case {
        const char* function;
        const char* start;
        const char* length;
        const char* gate;
        const char* message; // nullptr: accepted
    };
    const Case cases[] = {
        {"读4区 03H", "1x", "y", "0", "起始地址格式错误"},
        {"读4区 03H", "1", "y", "0", "长度格式错误"},
        {"读4区 03H", "65536", "0", "0", "起始地址请添入一个0和65535之间的整数"},
        {"写4区 06H 写单字", "0", "2", "0", "长度请添入1"},
        {"写0区 05H 写单线圈", "0", "0", "0", "长度请添入1"},
        {"读0区 01H", "0", "2001", "0", "长度请添入一个1和2000之间的整数"},
        {"读1区 02H", "0", "0", "0", "长度请添入一个1和2000之间的整数"},
        {"读3区 04H", "0", "126", "0", "长度请添入一个1和125之间的整数"},
        {"写0区 0FH 写多线圈", "0", "1969", "0", "长度请添入一个1和1968之间的整数"},
        {"写4区 10H 写多字", "0", "124", "0", "长度请添入一个1和123之间的整数"},
        {"读4区 03H", "65500", "100", "0", "超限,数据区范围为1-65536"},
        {"读4区 03H", "65436", "100", "200", nullptr},
        {"读4区 03H", "0", "10", "1a", "网关地址错误"},
        // Existing: area 4 read at slave 100..109, gateway 50..59.
        {"读4区 03H", "0", "10", "55", "网关地址区域重叠"},
        {"写4区 10H 写多字", "0", "10", "45", "网关地址区域重叠"},
        {"读4区 03H", "105", "10", "0", "4区读区域重叠"},
        {"写4区 10H 写多字", "105", "10", "0", nullptr},
        {"读3区 04H", "105", "10", "55", nullptr},
        {"写0区 0FH 写多线圈", "0", "8", "100", "0区写区域重叠"},
        {"读0区 01H", "0", "8", "8", nullptr},
        {"读0区 01H", "0", "8", "0", "网关地址区域重叠"},
    };
    for (const auto& c : cases) {
        CVantorNetDoc doc = withServer();
        doc.slaves[0].nodes[0].modules.push_back(command("读4区 03H", 100, 10, 50));
        doc.slaves[0].nodes[0].modules.push_back(command("写0区 05H 写单线圈", 7, 1, 7));
        RecordingSink sink;
        auto f = openNewNetCommandForm(doc, c.function, sink);
        ASSERT_TRUE(f);
        f->startText = c.start;
        f->lengthText = c.length;
        f->gatewayText = c.gate;
        f->modbusText = "17";
        const FormResult r = acceptNetCommandForm(doc, *f, sink);
        if (c.message) {
            EXPECT_EQ(r, FormResult::StayOpen) << c.message;
            EXPECT_EQ(sink.texts(), Texts{c.message}) << c.function << " " << c.start;
            EXPECT_EQ(doc.commandCount(), 2);
        } else {
            ASSERT_EQ(r, FormResult::Accepted) << c.function << " " << c.start << " " << sink.texts().size();
            ASSERT_EQ(doc.commandCount(), 3);
            const CModule& m = doc.slaves[0].nodes[0].modules.back();
            EXPECT_EQ(m.Func, c.function);
            EXPECT_EQ(m.mod_num, 17);
            EXPECT_EQ(std::to_string(m.Gate_Add), c.gate);
            const int area = findFunction(c.function)->area;
            EXPECT_EQ(doc.nextGateAddress[static_cast<std::size_t>(model::areaIndex(area))],
                      m.Gate_Add + m.Length);
        }
    }
}

// Empty fields are refused as such, not read as 0; the MODBUS address of a
// new command is a unit address 1..247.
TEST(NetCommandForm, EmptyFieldsAndModbusAddress) {
    struct Case {
        const char* start;
        const char* gate;
        const char* modbus;
        const char* message; // nullptr: accepted
    };
    const Case cases[] = {
        {"", "100", "1", "起始地址格式错误"},
        {"200", "", "1", "网关地址错误"},
        {"200", "100", "", kModbusAddressFormat},
        {"200", "100", "x1", kModbusAddressFormat},
        {"200", "100", "-3", kModbusAddressFormat},
        {"200", "100", "0", kModbusAddressRange},
        {"200", "100", "248", kModbusAddressRange},
        {"200", "100", "99999", kModbusAddressRange},
        {"200", "100", "1", nullptr},
        {"200", "100", "247", nullptr},
    };
    for (const auto& c : cases) {
        CVantorNetDoc doc = withServer();
        // Area 4 read at slave 0..9 and gateway 0..9: an empty field read as 0
        // would overlap it.
        doc.slaves[0].nodes[0].modules.push_back(command("读4区 03H", 0, 10, 0));
        RecordingSink sink;
        auto f = openNewNetCommandForm(doc, "读4区 03H", sink);
        ASSERT_TRUE(f);
        f->startText = c.start;
        f->lengthText = "10";
        f->gatewayText = c.gate;
        f->modbusText = c.modbus;
        const FormResult r = acceptNetCommandForm(doc, *f, sink);
        if (c.message) {
            EXPECT_EQ(r, FormResult::StayOpen) << c.modbus;
            EXPECT_EQ(sink.texts(), Texts{c.message}) << c.start << "|" << c.gate << "|" << c.modbus;
            EXPECT_EQ(doc.commandCount(), 1);
        } else {
            ASSERT_EQ(r, FormResult::Accepted) << c.modbus;
            EXPECT_EQ(std::to_string(doc.slaves[0].nodes[0].modules.back().mod_num), c.modbus);
        }
    }
}

TEST(NetCommandForm, EditRestoresOnOverlapAndKeepsModbusAddress) {
    CVantorNetDoc doc = withServer();
    doc.slaves[0].nodes[0].modules.push_back(command("读4区 03H", 0, 10, 0));
    doc.slaves[0].nodes[0].modules[0].mod_num = 9;
    doc.slaves[0].nodes.push_back(
        {8, {command("读4区 03H", 0, 10, 20), command("写4区 06H 写单字", 5, 1, 40)}});
    // Row 2 is the second node's write (rows count over nodes).
    auto f = openEditNetCommandForm(doc, 2);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->title, "写4区 06H 写单字");
    EXPECT_FALSE(f->modbusEnabled);
    EXPECT_EQ(f->modbusText, "3");
    EXPECT_EQ(f->gatewayText, "40");
    EXPECT_FALSE(openEditNetCommandForm(doc, 3));
    EXPECT_FALSE(openEditNetCommandForm(doc, -1));

    // Editing without change passes.
    RecordingSink sink;
    EXPECT_EQ(acceptNetCommandForm(doc, *f, sink), FormResult::Accepted);
    // Onto the first node's gateway range: refused, command and form restored.
    f->gatewayText = "5";
    f->commentText = "x";
    EXPECT_EQ(acceptNetCommandForm(doc, *f, sink), FormResult::StayOpen);
    EXPECT_EQ(sink.texts(), Texts{"网关地址区域重叠"});
    EXPECT_EQ(doc.slaves[0].nodes[1].modules[1], command("写4区 06H 写单字", 5, 1, 40));
    EXPECT_EQ(f->gatewayText, "40");
    EXPECT_EQ(f->commentText, "");
    // A slave range used by the other node's read is no collision for a write.
    f->startText = "0";
    f->editSend = true;
    sink.messages.clear();
    EXPECT_EQ(acceptNetCommandForm(doc, *f, sink), FormResult::Accepted);
    const CModule& m = doc.slaves[0].nodes[1].modules[1];
    EXPECT_EQ(m.Start_Add, 0);
    EXPECT_EQ(m.editSend, 1);
    EXPECT_EQ(m.mod_num, 1);
}

TEST(NetModuleList, RowsOverEveryNodeAndDelete) {
    CVantorNetDoc doc = withServer();
    auto a = command("写4区 10H 写多字", 3, 2, 12000, 1);
    a.Explain = "注释";
    a.mod_num = 5;
    doc.slaves[0].nodes[0].modules.push_back(a);
    doc.slaves[0].nodes.push_back({4, {command("读1区 02H", 7, 9, 16)}});
    const std::vector<NetModuleRow> want{
        {"1", "5", "写4区 10H 写多字", "3", "2", "是", "412000", "注释"},
        {"2", "1", "读1区 02H", "7", "9", "", "10016", ""},
    };
    EXPECT_EQ(netModuleRows(doc), want);
    EXPECT_EQ(netModuleListHeaders()[1], "站地址");
    EXPECT_EQ(netModuleListWidths()[4], 130);

    RecordingSink sink;
    sink.answers = {false, true};
    EXPECT_FALSE(deleteNetCommand(doc, 1, sink));
    EXPECT_EQ(doc.commandCount(), 2);
    EXPECT_TRUE(deleteNetCommand(doc, 1, sink));
    EXPECT_EQ(sink.messages[0], (Message{MessageKind::Question, "删除模块", "确实要删除吗？"}));
    EXPECT_TRUE(doc.slaves[0].nodes[1].modules.empty());
    EXPECT_EQ(doc.slaves[0].nodes[0].modules.size(), 1u);
    EXPECT_FALSE(deleteNetCommand(doc, 1, sink));
    doc.currentSelect = 0;
    EXPECT_TRUE(netModuleRows(doc).empty());
}

TEST(NetDelete, ServerAsksGatewayDoesNot) {
    CVantorNetDoc doc = withServer();
    doc.slaves.push_back(server("192.168.0.2", 502, 1));
    doc.currentSelect = 4;
    RecordingSink sink;
    sink.answers = {false};
    EXPECT_FALSE(deleteNetSelection(doc, sink));
    EXPECT_EQ(doc.slaves.size(), 2u);
    EXPECT_EQ(sink.messages[0], (Message{MessageKind::Question, "删除节点", "确实要删除吗？"}));
    EXPECT_TRUE(deleteNetSelection(doc, sink));
    ASSERT_EQ(doc.slaves.size(), 1u);
    EXPECT_EQ(doc.slaves[0].ipadd, "192.168.0.1");
    EXPECT_EQ(doc.currentSelect, 0);

    sink.messages.clear();
    doc.currentSelect = 2;
    EXPECT_TRUE(deleteNetSelection(doc, sink));
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_FALSE(doc.hasMaster());
    EXPECT_EQ(doc.slaves.size(), 1u);
    EXPECT_FALSE(deleteNetSelection(doc, sink));
}

TEST(NetSettings, GatewayFormPerModel) {
    for (const auto& m : netGatewayModels()) {
        CVantorNetDoc doc = project(std::string(m.name));
        doc.com2.address = 0; // as a file without the attribute leaves it
        NetGatewayForm f = openGatewayForm(doc);
        EXPECT_EQ(f.com2Enabled, m.twoPorts) << m.name;
        f.com1 = {6, 1, 1, "247"};
        RecordingSink sink;
        if (m.twoPorts) {
            EXPECT_EQ(acceptGatewayForm(doc, f, sink), FormResult::StayOpen);
            EXPECT_EQ(sink.texts(), Texts{"请输入一个介于 1 和 247 之间的整数。"});
            EXPECT_EQ(doc.com1.baud, 3);
            f.com2 = {0, 0, 0, "1"};
            sink.messages.clear();
        }
        EXPECT_EQ(acceptGatewayForm(doc, f, sink), FormResult::Accepted) << m.name;
        EXPECT_TRUE(sink.messages.empty());
        EXPECT_EQ(doc.com1, (CCom{1, 6, 1, 1, 247}));
        EXPECT_EQ(doc.com2.address, m.twoPorts ? 1 : 0);
    }
    CVantorNetDoc doc = project("NXE-485-ZRTU2");
    for (const char* bad : {"0", "248", "", "1a"}) {
        NetGatewayForm f = openGatewayForm(doc);
        f.com1.addressText = bad;
        RecordingSink sink;
        EXPECT_EQ(acceptGatewayForm(doc, f, sink), FormResult::StayOpen) << bad;
    }
}

TEST(NetSettings, WorkModeOnlyForTheModelThatHasOne) {
    for (const auto& m : netGatewayModels()) {
        CVantorNetDoc doc = project(std::string(m.name));
        doc.GW_work_mode = 1;
        const auto mode = openWorkModeForm(doc);
        EXPECT_EQ(mode.has_value(), m.name == "LNK-P1-1.0") << m.name;
        if (mode) {
            EXPECT_EQ(*mode, 1);
            acceptWorkModeForm(doc, 0);
            EXPECT_EQ(doc.GW_work_mode, 0);
        }
    }
    EXPECT_FALSE(openWorkModeForm(project("")));
}

TEST(NetSettings, ChangeSendDefault) {
    CVantorNetDoc doc = withServer();
    EXPECT_FALSE(openChangeSendDefaultForm(doc));
    acceptChangeSendDefaultForm(doc, true);
    EXPECT_TRUE(openChangeSendDefaultForm(doc));
    RecordingSink sink;
    EXPECT_TRUE(openNewNetCommandForm(doc, "写0区 05H 写单线圈", sink)->editSend);
    EXPECT_FALSE(openNewNetCommandForm(doc, "读0区 01H", sink)->editSend);
    acceptChangeSendDefaultForm(doc, false);
    EXPECT_FALSE(openNewNetCommandForm(doc, "写0区 05H 写单线圈", sink)->editSend);
}

} // namespace
} // namespace vantor::net
