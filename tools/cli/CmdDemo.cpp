// vantor-cli demo OUT.vtc: writes the demonstration project shipped as
// data/demo.vtc (run it in the data folder so that the access IP and the
// version come from the shipped files). A two-port gateway with two lines,
// five slaves and commands in all four gateway data areas.
#include "CliCommand.h"
#include "TransferSupport.h"

#include "model/CVantorDoc.h"
#include "model/CommandKind.h"
#include "model/ProjectFile.h"

#include <cstdio>
#include <filesystem>

namespace vantor::cli {
namespace {

using model::CVantorDoc;

struct DemoCommand {
    const char* func;
    int start;
    int length;
    int gate;
    const char* explain;
    int editSend;
};

struct DemoSlave {
    int line; // index into the lines
    int address;
    const char* name;
    int space;   // 10 ms units
    int timeout; // 10 ms units
    uint8_t control;
    std::vector<DemoCommand> commands;
};

const char* const kModel = "KX-P2R0-1.0";

void addLine(CVantorDoc& doc, const std::string& name, int portIndex) {
    model::CCOM com;
    com.COMName = name;
    com.num_com = static_cast<int>(doc.coms.size());
    com.x = 260;
    com.y = 80 + 150 * portIndex;
    doc.coms.push_back(com);
}

void addSlave(CVantorDoc& doc, const DemoSlave& d) {
    model::CCOM& com = doc.coms.at(static_cast<std::size_t>(d.line));
    com.addArea[static_cast<std::size_t>(d.address)] = 1;
    doc.slaveAddrFlag[static_cast<std::size_t>(d.address)] = 1;
    model::CSlave slave;
    slave.com_name = com.COMName;
    slave.address = d.address;
    slave.name = d.name;
    slave.space = d.space;
    slave.timeout = d.timeout;
    slave.control = d.control;
    auto [x, y] = doc.placeNewSlave(d.line);
    slave.x = x;
    slave.y = y;
    for (const auto& c : d.commands) {
        const model::CommandKind* kind = model::findCommandKind(c.func);
        model::CModule m;
        m.Func = c.func;
        m.area_num = kind->area;
        m.read_wri = kind->readWrite;
        m.Start_Add = c.start;
        m.Length = c.length;
        m.Gate_Add = c.gate;
        m.Explain = c.explain;
        m.editSend = c.editSend;
        slave.modules.push_back(m);
    }
    doc.slaves.push_back(slave);
}

CVantorDoc demoProject(const std::string& startDirectory) {
    CVantorDoc doc;
    doc.NewDocument(startDirectory);
    doc.masters.push_back({kModel, 35, 35, kModel});
    addLine(doc, "COM1", 0);
    addLine(doc, "COM2", 1);
    // Gateway addresses: area 0 bits 0..16, area 1 bits 0..15, area 3 words
    // 0..21, area 4 words 0..20, no two commands sharing an address.
    const DemoSlave slaves[] = {
        {0,
         1,
         "温度采集器",
         0,
         50,
         0x81,
         {{"读4区 03H", 0, 8, 0, "温度值", 0}, {"读1区 02H", 0, 16, 0, "报警输入", 0}}},
        {0,
         2,
         "电能表",
         5,
         100,
         0x81,
         {{"读3区 04H", 100, 20, 0, "电量累计", 0}, {"读4区 03H", 0, 4, 8, "电压电流", 0}}},
        {0,
         3,
         "阀门控制器",
         0,
         50,
         0x80,
         {{"写0区 0FH 写多线圈", 0, 8, 0, "阀门开关", 1}, {"读0区 01H", 16, 8, 8, "阀位反馈", 0}}},
        {1,
         1,
         "变频器",
         2,
         30,
         0x81,
         {{"写4区 06H 写单字", 8192, 1, 12, "频率设定", 1},
          {"读4区 03H", 8200, 6, 13, "运行状态", 0},
          {"写4区 10H 写多字", 8300, 2, 19, "启停控制", 0}}},
        {1,
         5,
         "液位计",
         0,
         50,
         0x81,
         {{"读3区 04H", 0, 2, 20, "液位", 0}, {"写0区 05H 写单线圈", 5, 1, 16, "报警复位", 0}}},
    };
    for (const auto& s : slaves)
        addSlave(doc, s);
    return doc;
}

int runDemo(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: vantor-cli demo OUT.vtc\n");
        return kUsage;
    }
    std::string error;
    if (!model::ProjectFile::save(demoProject(dataDirectoryOf("IP/ETHOption.xml")), args[0],
                                  dataDirectoryOf("Vantor.ver"), &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return kUsage;
    }
    return kOk;
}

const Register registered{{"demo", "OUT.vtc", runDemo}};

} // namespace
} // namespace vantor::cli
