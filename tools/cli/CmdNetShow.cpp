// vantor-cli net-show FILE.vncfg: a readable summary of a VantorNet project:
// the gateway and work mode, both serial ports, the defaults, then each
// server with its units and their commands.
#include "CliCommand.h"
#include "JsonOutput.h"
#include "TransferSupport.h"

#include "net/NetCatalogue.h"

#include <cstdio>

namespace vantor::cli {
namespace {

void printCom(const char* name, const net::CCom& c) {
    std::printf("%s: 波特率 %s, %s, 数据位 8, 停止位 %s, MODBUS地址 %d\n", name,
                net::listEntry(net::kBaudList, c.baud).c_str(),
                net::listEntry(net::kParityList, c.parity).c_str(),
                net::listEntry(net::kStopList, c.stop).c_str(), c.address);
}

void printSlave(std::size_t index, const net::CSlave& s) {
    std::printf(
        "从站 %zu \"%s\" %s:%d: 报文发送延时 %d ms, 应答超时时间 %d ms, 控制使能 %s, 设备图像 \"%s\"\n",
        index + 1, s.name.c_str(), s.ipadd.c_str(), s.port, s.space * 10, s.timetip * 10,
        s.control ? "是" : "否", s.picture.c_str());
    for (const auto& node : s.nodes) {
        std::printf("  站地址 %d:\n", node.address);
        int row = 1;
        for (const auto& m : node.modules)
            std::printf("    %d. %s, MODBUS地址 %d, 起始地址 %d, 长度 %d, 网关地址 %s%s, 注释 \"%s\"\n",
                        row++, m.Func.c_str(), m.mod_num, m.Start_Add, m.Length,
                        gatewayReference(m.area_num, m.Gate_Add).c_str(), m.editSend == 1 ? ", 数变即发" : "",
                        m.Explain.c_str());
    }
}

Json comJson(const net::CCom& c) {
    return {{"baud", net::listEntry(net::kBaudList, c.baud)},
            {"parity", net::listEntry(net::kParityList, c.parity)},
            {"dataBits", 8},
            {"stopBits", net::listEntry(net::kStopList, c.stop)},
            {"address", c.address}};
}

Json slaveJson(std::size_t index, const net::CSlave& s) {
    Json slave = {{"index", index + 1},
                  {"name", s.name},
                  {"ip", s.ipadd},
                  {"port", s.port},
                  {"sendDelayMs", s.space * 10},
                  {"replyTimeoutMs", s.timetip * 10},
                  {"control", static_cast<bool>(s.control)},
                  {"picture", s.picture},
                  {"nodes", Json::array()}};
    for (const auto& node : s.nodes) {
        Json commands = Json::array();
        for (const auto& m : node.modules)
            commands.push_back({{"function", m.Func},
                                {"modbusAddress", m.mod_num},
                                {"start", m.Start_Add},
                                {"length", m.Length},
                                {"gatewayAddress", gatewayReference(m.area_num, m.Gate_Add)},
                                {"sendOnChange", m.editSend == 1},
                                {"comment", m.Explain}});
        slave["nodes"].push_back({{"address", node.address}, {"commands", std::move(commands)}});
    }
    return slave;
}

void printNetProjectJson(const net::CVantorNetDoc& doc) {
    Json out = {{"model", doc.hasMaster() ? Json(doc.modelName()) : Json(nullptr)},
                {"workMode", net::listEntry(net::kWorkModes, doc.GW_work_mode)},
                {"com1", comJson(doc.com1)},
                {"com2", comJson(doc.com2)},
                {"sendOnChangeDefault", doc.isDataModifySendEnable == 1},
                {"slaveCount", doc.slaves.size()},
                {"commandCount", doc.commandCount()},
                {"slaves", Json::array()}};
    for (std::size_t i = 0; i < doc.slaves.size(); ++i)
        out["slaves"].push_back(slaveJson(i, doc.slaves[i]));
    printJson(out);
}

int runNetShow(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: vantor-cli net-show FILE.vncfg\n");
        return kUsage;
    }
    net::CVantorNetDoc doc;
    if (!loadNetProject(args[0], doc))
        return kUsage;
    if (jsonMode()) {
        printNetProjectJson(doc);
        return kOk;
    }
    std::printf("网关型号: %s\n", doc.hasMaster() ? doc.modelName().c_str() : "(无)");
    std::printf("工作模式: %s\n", net::listEntry(net::kWorkModes, doc.GW_work_mode).c_str());
    printCom("COM1", doc.com1);
    printCom("COM2", doc.com2);
    std::printf("数变即发默认设置: %s\n", doc.isDataModifySendEnable == 1 ? "使能" : "不使能");
    std::printf("从站数: %zu, 命令数: %d\n", doc.slaves.size(), doc.commandCount());
    for (std::size_t i = 0; i < doc.slaves.size(); ++i)
        printSlave(i, doc.slaves[i]);
    return kOk;
}

const Register registered{{"net-show", "FILE.vncfg", runNetShow, true}};

} // namespace
} // namespace vantor::cli
