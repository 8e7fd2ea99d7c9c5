// vantor-cli eip FILE.vtc [--export OUT]: the EtherNet/IP address table of an
// EtherNet/IP gateway project, computed as the table window does (addresses
// packed first): the totals, the connections, then the INPUT and OUTPUT
// entries, one tab-separated row per line. --export writes the sheets
// EIPConn, EIPInput and EIPOutput. An overflow is reported on stderr; what
// was allocated before it is still printed, and the exit status is 1.
#include "CliCommand.h"
#include "TransferSupport.h"

#include "editing/EipAddressTable.h"
#include "model/CVantorDoc.h"

#include <cstdio>

namespace vantor::cli {
namespace {

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
        std::fprintf(stderr, "请添加一个主站!\n");
        return kRefused;
    }
    StderrSink sink;
    auto opened = editing::openEipAddressTable(doc, sink);
    if (!opened) {
        std::fprintf(stderr, "vantor-cli eip: the gateway model %s has no EtherNet/IP table\n",
                     doc.modelName().c_str());
        return kRefused;
    }
    const editing::EipTable& table = *opened;
    std::printf("EIP输入总长度\t%d\nEIP输出总长度\t%d\nEIP连接个数\t%d\n", table.inputTotal,
                table.outputTotal, table.connectionCount);
    std::printf("\nEIP连接\t输入长度\t输出长度\n");
    for (const auto& r : editing::eipConnectionRows(table))
        printRow(r);
    for (bool input : {true, false}) {
        std::printf("\n%s\n连接\tEIP地址\t网关地址\t长度\n", input ? "INPUT" : "OUTPUT");
        for (const auto& r : editing::eipEntryRows(table, input))
            printRow(r);
    }
    if (exporting) {
        std::string errors;
        if (!editing::exportEipTable(table, exportPath, errors)) {
            std::fprintf(stderr, "%s", errors.empty() ? "写文件时产生错误\n" : errors.c_str());
            return kUsage;
        }
    }
    return table.overflow ? kRefused : kOk;
}

const Register registered{{"eip", "FILE.vtc [--export OUT]", runEip}};

} // namespace
} // namespace vantor::cli
