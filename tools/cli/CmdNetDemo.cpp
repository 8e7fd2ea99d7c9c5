// vantor-cli net-demo OUT.vncfg: writes the VantorNet demonstration project
// shipped as data/demo.vncfg (run it in the data folder so that the version
// comes from the shipped file): a two-port gateway with three MODBUS TCP
// servers and commands in all four gateway data areas, assembled with the
// editing operations.
#include "CliCommand.h"
#include "TransferSupport.h"

#include "net/NetCatalogue.h"
#include "net/NetProjectEditor.h"
#include "net/NetProjectFile.h"

#include <cstdio>

namespace vantor::cli {
namespace {

struct DemoCommand {
    const char* func;
    int start;
    int length;
    int gate;
    const char* explain;
    int editSend;
};

struct DemoServer {
    net::NewServerValues values;
    std::vector<DemoCommand> commands;
};

net::CVantorNetDoc demoProject() {
    net::CVantorNetDoc doc;
    net::addGateway(doc, "NXE-485-ZRTU2");
    doc.com2.baud = 5;
    doc.com2.parity = 0;
    const DemoServer servers[] = {
        {{"192.168.0.11", 502, "温度采集器", 50, 500, "node.bmp", true, 1},
         {{"读4区 03H", 0, 10, 0, "温度值", 0}, {"读1区 02H", 0, 16, 0, "报警输入", 0}}},
        {{"192.168.0.12", 502, "电能表", 100, 1000, "node.bmp", true, 2},
         {{"读3区 04H", 100, 20, 0, "电量累计", 0}, {"写4区 10H 写多字", 200, 4, 10, "费率设定", 1}}},
        {{"192.168.0.13", 503, "阀门控制器", 0, 300, "node.bmp", false, 3},
         {{"写0区 0FH 写多线圈", 0, 8, 0, "阀门开关", 0},
          {"读0区 01H", 16, 8, 8, "阀位反馈", 0},
          {"写4区 06H 写单字", 300, 1, 14, "开度设定", 1}}},
    };
    for (const auto& d : servers) {
        const int s = net::addServer(doc, d.values);
        for (const auto& c : d.commands) {
            const auto* kind = net::findFunction(c.func);
            net::CModule m;
            m.Func = c.func;
            m.area_num = kind->area;
            m.read_wri = kind->readWrite;
            m.Start_Add = c.start;
            m.Length = c.length;
            m.Gate_Add = c.gate;
            m.mod_num = d.values.unitAddress;
            m.Explain = c.explain;
            m.editSend = c.editSend;
            net::appendCommand(doc, s, m);
        }
    }
    doc.modified = false;
    return doc;
}

int runNetDemo(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: vantor-cli net-demo OUT.vncfg\n");
        return kUsage;
    }
    std::string error;
    if (!net::NetProjectFile::save(demoProject(), args[0], dataDirectoryOf("Vantor.ver"), &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return kUsage;
    }
    return kOk;
}

const Register registered{{"net-demo", "OUT.vncfg", runNetDemo}};

} // namespace
} // namespace vantor::cli
