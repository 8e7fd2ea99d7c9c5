// vantor-cli show FILE.vtc: a readable summary of a project: the gateway,
// access IP and addressing mode, then each line with its settings, its slaves
// and each slave's commands.
#include "CliCommand.h"
#include "JsonOutput.h"
#include "TransferSupport.h"

#include "editing/ModuleList.h"
#include "model/CommandKind.h"

#include "model/CVantorDoc.h"
#include "model/ProjectFile.h"
#include "text/Numbers.h"

#include <cstdio>

namespace vantor::cli {
namespace {

using text::format;

const char* const kBauds[] = {"2400", "4800", "9600", "19200", "38400", "57600", "115.2k"};
const char* const kParities[] = {"无校验", "奇校验", "偶校验"};
const char* const kStops[] = {"1位", "2位"};

template <std::size_t N> std::string pick(const char* const (&names)[N], int index) {
    if (index >= 0 && static_cast<std::size_t>(index) < N)
        return names[index];
    return format("?(%d)", index);
}

void printSlave(const model::CSlave& s) {
    std::printf("  从站 %d \"%s\": 报文发送延时 %d ms, 应答超时时间 %d ms, 配置字 0x%02X\n", s.address,
                s.name.c_str(), s.space * 10, s.timeout * 10, static_cast<unsigned>(s.control));
    int row = 1;
    for (const auto& m : s.modules) {
        std::printf("    %d. %s, 起始地址 %d, 长度 %d, 网关地址 %s%s, 注释 \"%s\"\n", row++, m.Func.c_str(),
                    m.Start_Add, m.Length, gatewayReference(m.area_num, m.Gate_Add).c_str(),
                    m.editSend == 1 ? ", 数变即发" : "", m.Explain.c_str());
    }
}

Json slaveJson(const model::CSlave& s) {
    Json slave = {{"address", s.address},        {"name", s.name},
                  {"sendDelayMs", s.space * 10}, {"replyTimeoutMs", s.timeout * 10},
                  {"control", s.control},        {"commands", Json::array()}};
    for (const auto& m : s.modules)
        slave["commands"].push_back({{"function", m.Func},
                                     {"start", m.Start_Add},
                                     {"length", m.Length},
                                     {"gatewayAddress", gatewayReference(m.area_num, m.Gate_Add)},
                                     {"sendOnChange", m.editSend == 1},
                                     {"comment", m.Explain}});
    return slave;
}

void printProjectJson(const model::CVantorDoc& doc) {
    Json out = {{"model", doc.hasMaster() ? Json(doc.modelName()) : Json(nullptr)},
                {"accessIp", doc.IP},
                {"addressing", doc.addType == 1 ? "远端从站寻址" : "MODBUS数据区寻址"},
                {"lineCount", doc.coms.size()},
                {"slaveCount", doc.slaves.size()},
                {"commandCount", doc.commandCount()},
                {"lines", Json::array()},
                {"unassignedSlaves", Json::array()}};
    for (std::size_t l = 0; l < doc.coms.size(); ++l) {
        const model::CCOM& c = doc.coms[l];
        Json line = {{"name", c.COMName},
                     {"baud", pick(kBauds, c.baud)},
                     {"parity", pick(kParities, c.check)},
                     {"dataBits", 8},
                     {"stopBits", pick(kStops, c.stop)},
                     {"slaveGapMs", c.space * 10},
                     {"slaveCount", c.slave_num},
                     {"slaves", Json::array()}};
        for (int s : doc.slavesOfLine(static_cast<int>(l)))
            line["slaves"].push_back(slaveJson(doc.slaves[static_cast<std::size_t>(s)]));
        out["lines"].push_back(std::move(line));
    }
    for (std::size_t s = 0; s < doc.slaves.size(); ++s)
        if (doc.lineOfSlave(static_cast<int>(s)) < 0)
            out["unassignedSlaves"].push_back(slaveJson(doc.slaves[s]));
    printJson(out);
}

int runShow(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: vantor-cli show FILE.vtc\n");
        return kUsage;
    }
    model::CVantorDoc doc;
    doc.NewDocument(dataDirectoryOf("IP/ETHOption.xml"));
    std::string error;
    if (!model::ProjectFile::open(doc, args[0], &error)) {
        reportError(error);
        return kUsage;
    }
    if (jsonMode()) {
        printProjectJson(doc);
        return kOk;
    }

    std::printf("网关型号: %s\n", doc.hasMaster() ? doc.modelName().c_str() : "(无)");
    std::printf("访问IP: %s\n", doc.IP.c_str());
    std::printf("寻址方式: %s\n", doc.addType == 1 ? "远端从站寻址" : "MODBUS数据区寻址");
    std::printf("串口数: %zu, 从站数: %zu, 命令数: %d\n", doc.coms.size(), doc.slaves.size(),
                doc.commandCount());
    for (std::size_t l = 0; l < doc.coms.size(); ++l) {
        const model::CCOM& c = doc.coms[l];
        std::printf("%s: 波特率 %s, %s, 数据位 8, 停止位 %s, 从站时间间隔 %d ms, 从站 %d 个\n",
                    c.COMName.c_str(), pick(kBauds, c.baud).c_str(), pick(kParities, c.check).c_str(),
                    pick(kStops, c.stop).c_str(), c.space * 10, c.slave_num);
        for (int s : doc.slavesOfLine(static_cast<int>(l)))
            printSlave(doc.slaves[static_cast<std::size_t>(s)]);
    }
    bool headed = false;
    for (std::size_t s = 0; s < doc.slaves.size(); ++s) {
        if (doc.lineOfSlave(static_cast<int>(s)) >= 0)
            continue;
        if (!headed)
            std::printf("不在任何串口上的从站:\n");
        headed = true;
        printSlave(doc.slaves[s]);
    }
    return kOk;
}

const Register registered{{"show", "FILE.vtc", runShow, true}};

} // namespace
} // namespace vantor::cli
