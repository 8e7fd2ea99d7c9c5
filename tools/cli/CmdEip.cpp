// vantor-cli eip FILE.vtc [--export OUT]: the EtherNet/IP address table of an
// EtherNet/IP gateway project, computed as the table window does (addresses
// packed first): the totals, the connections, then the INPUT and OUTPUT
// entries, one tab-separated row per line. --export writes the sheets
// EIPConn, EIPInput and EIPOutput. An overflow is reported on stderr; what
// was allocated before it is still printed, and the exit status is 1.
#include "CliCommand.h"
#include "JsonOutput.h"
#include "TransferSupport.h"

#include "editing/EipAddressTable.h"
#include "model/CVantorDoc.h"

#include <array>
#include <cstdio>

namespace vantor::cli {
namespace {

const std::array<const char*, 3> kConnectionColumns = {"EIP连接", "输入长度", "输出长度"};
const std::array<const char*, 4> kEntryColumns = {"连接", "EIP地址", "网关地址", "长度"};

int runEip(const std::vector<std::string>& args) {
    Options options(args, {"--export"}, {});
    if (!options.ok() || options.positional().size() != 1 ||
        (options.value("--export") && options.value("--export")->empty())) {
        std::fprintf(stderr, "usage: vantor-cli eip FILE.vtc [--export OUT]\n");
        return kUsage;
    }
    const bool exporting = options.value("--export").has_value();
    const std::string exportPath = options.value("--export").value_or("");
    model::CVantorDoc doc;
    if (!loadProject(options.positional()[0], doc))
        return kUsage;
    if (!doc.hasMaster()) {
        reportError(model::kNoGateway);
        return kRefused;
    }
    StderrSink sink;
    auto opened = editing::openEipAddressTable(doc, sink);
    if (!opened) {
        reportError("vantor-cli eip: the gateway model " + doc.modelName() + " has no EtherNet/IP table");
        return kRefused;
    }
    const editing::EipTable& table = *opened;
    std::string errors;
    if (jsonMode()) {
        if (exporting && !exportSucceeded(editing::exportEipTable(table, exportPath, errors), errors))
            return kUsage;
        Json out = {
            {"inputTotal", table.inputTotal},
            {"outputTotal", table.outputTotal},
            {"connectionCount", table.connectionCount},
            {"connections", tableJson("EIP连接", kConnectionColumns, editing::eipConnectionRows(table))},
            {"input", tableJson("INPUT", kEntryColumns, editing::eipEntryRows(table, true))},
            {"output", tableJson("OUTPUT", kEntryColumns, editing::eipEntryRows(table, false))},
            {"overflow", table.overflow}};
        if (table.overflow)
            out["error"] = collectedErrors();
        printJson(out);
        return table.overflow ? kRefused : kOk;
    }
    std::printf("EIP输入总长度\t%d\nEIP输出总长度\t%d\nEIP连接个数\t%d\n", table.inputTotal,
                table.outputTotal, table.connectionCount);
    std::printf("\n");
    printRow(kConnectionColumns);
    for (const auto& r : editing::eipConnectionRows(table))
        printRow(r);
    for (bool input : {true, false}) {
        std::printf("\n%s\n", input ? "INPUT" : "OUTPUT");
        printRow(kEntryColumns);
        for (const auto& r : editing::eipEntryRows(table, input))
            printRow(r);
    }
    if (exporting && !exportSucceeded(editing::exportEipTable(table, exportPath, errors), errors))
        return kUsage;
    return table.overflow ? kRefused : kOk;
}

const Register registered{{"eip", "FILE.vtc [--export OUT]", runEip, true}};

} // namespace
} // namespace vantor::cli
