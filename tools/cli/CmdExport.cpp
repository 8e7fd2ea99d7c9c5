// vantor-cli export FILE.vtc -o OUT.xlsx: the whole project as a workbook,
// one sheet per level (网关, 串口, 从站, 命令), as 文件 → 导出工程表格... writes it.
#include "CliCommand.h"
#include "TransferSupport.h"

#include "workbook/VantorWorkbook.h"

#include <cstdio>

namespace vantor::cli {
namespace {

int runExport(const std::vector<std::string>& args) {
    Options options(args, {"-o"}, {});
    const auto out = options.value("-o");
    if (!options.ok() || options.positional().size() != 1 || !out || out->empty()) {
        std::fprintf(stderr, "usage: vantor-cli export FILE.vtc -o OUT.xlsx\n");
        return kUsage;
    }
    model::CVantorDoc doc;
    if (!loadProject(options.positional()[0], doc))
        return kUsage;
    std::string error;
    if (!workbook::exportWorkbook(doc, *out, error)) {
        reportError(error);
        return kUsage;
    }
    return kOk;
}

const Register registered{{"export", "FILE.vtc -o OUT.xlsx", runExport}};

} // namespace
} // namespace vantor::cli
