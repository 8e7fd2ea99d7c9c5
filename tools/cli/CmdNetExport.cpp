// vantor-cli net-export FILE.vncfg -o OUT.xlsx: the whole VantorNet project
// as a workbook (网关, 串口, 从站, 节点, 命令), as 文件 → 导出工程表格... writes it.
#include "CliCommand.h"
#include "TransferSupport.h"

#include "workbook/NetWorkbook.h"

#include <cstdio>

namespace vantor::cli {
namespace {

int runNetExport(const std::vector<std::string>& args) {
    Options options(args, {"-o"}, {});
    const auto out = options.value("-o");
    if (!options.ok() || options.positional().size() != 1 || !out || out->empty()) {
        std::fprintf(stderr, "usage: vantor-cli net-export FILE.vncfg -o OUT.xlsx\n");
        return kUsage;
    }
    net::CVantorNetDoc doc;
    if (!loadNetProject(options.positional()[0], doc))
        return kUsage;
    std::string error;
    if (!workbook::exportNetWorkbook(doc, *out, error)) {
        reportError(error);
        return kUsage;
    }
    return kOk;
}

const Register registered{{"net-export", "FILE.vncfg -o OUT.xlsx", runNetExport}};

} // namespace
} // namespace vantor::cli
