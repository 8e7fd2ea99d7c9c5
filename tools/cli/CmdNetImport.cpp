// vantor-cli net-import IN.xlsx -o OUT.vncfg: builds a VantorNet project
// from a workbook as 文件 → 导入工程表格... does, and saves it. Every refused
// row is one line on stderr ("从站 第5行 端口号: 端口号添入一个0和65535之间的整数")
// and nothing is written (exit 1); a file that cannot be read as a workbook
// exits 2.
#include "CliCommand.h"
#include "JsonOutput.h"
#include "TransferSupport.h"

#include "net/NetProjectFile.h"
#include "workbook/NetWorkbook.h"

#include <cstdio>

namespace vantor::cli {
namespace {

int runNetImport(const std::vector<std::string>& args) {
    Options options(args, {"-o"}, {});
    const auto out = options.value("-o");
    if (!options.ok() || options.positional().size() != 1 || !out || out->empty()) {
        std::fprintf(stderr, "usage: vantor-cli net-import IN.xlsx -o OUT.vncfg\n");
        return kUsage;
    }
    const auto result = workbook::importNetWorkbook(options.positional()[0]);
    if (const auto failed = importFailure(result))
        return *failed;
    const net::CVantorNetDoc& doc = *result.project;
    std::string error;
    if (!net::NetProjectFile::save(doc, *out, dataDirectoryOf("Vantor.ver"), &error)) {
        reportError(error);
        return kUsage;
    }
    if (jsonMode())
        printJson({{"written", *out},
                   {"model", doc.modelName()},
                   {"serverCount", doc.slaves.size()},
                   {"commandCount", doc.commandCount()}});
    return kOk;
}

const Register registered{{"net-import", "IN.xlsx -o OUT.vncfg", runNetImport, true}};

} // namespace
} // namespace vantor::cli
