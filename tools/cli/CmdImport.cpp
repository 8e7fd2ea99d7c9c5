// vantor-cli import IN.xlsx -o OUT.vtc: builds a project from a workbook as
// 文件 → 导入工程表格... does, and saves it. Every refused row is one line on
// stderr ("从站 第5行 从站地址: 地址请添入一个1和247之间的整数") and nothing is
// written (exit 1); a file that cannot be read as a workbook exits 2.
#include "CliCommand.h"
#include "JsonOutput.h"
#include "TransferSupport.h"

#include "model/ProjectFile.h"
#include "workbook/VantorWorkbook.h"

#include <cstdio>

namespace vantor::cli {
namespace {

int runImport(const std::vector<std::string>& args) {
    Options options(args, {"-o"}, {});
    const auto out = options.value("-o");
    if (!options.ok() || options.positional().size() != 1 || !out || out->empty()) {
        std::fprintf(stderr, "usage: vantor-cli import IN.xlsx -o OUT.vtc\n");
        return kUsage;
    }
    model::CVantorDoc fresh;
    fresh.NewDocument(dataDirectoryOf("IP/ETHOption.xml"));
    const auto result = workbook::importWorkbook(options.positional()[0], fresh);
    if (const auto failed = importFailure(result))
        return *failed;
    const model::CVantorDoc& doc = *result.project;
    std::string error;
    if (!model::ProjectFile::save(doc, *out, dataDirectoryOf("Vantor.ver"), &error)) {
        reportError(error);
        return kUsage;
    }
    if (jsonMode())
        printJson({{"written", *out},
                   {"model", doc.modelName()},
                   {"lineCount", doc.coms.size()},
                   {"slaveCount", doc.slaves.size()},
                   {"commandCount", doc.commandCount()}});
    return kOk;
}

const Register registered{{"import", "IN.xlsx -o OUT.vtc", runImport, true}};

} // namespace
} // namespace vantor::cli
