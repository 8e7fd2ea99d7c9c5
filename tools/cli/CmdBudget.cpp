// vantor-cli budget FILE.vtc [--threshold MS] [--dead COM1:3,...] [--json]:
// the estimated poll cycle of each serial line, the slave that costs most
// and whether the cycle exceeds the threshold (default 1000 ms). A table
// with a header line, or JSON with every slave's share.
#include "CliCommand.h"
#include "TransferSupport.h"

#include "editing/LineBudget.h"

#include <cstdio>

namespace vantor::cli {
namespace {

std::string ms(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

void printTable(const std::vector<editing::LineBudget>& budgets) {
    printRow(editing::budgetColumnTitles());
    for (const auto& b : budgets)
        printRow(editing::budgetTableRow(b));
}

void printJson(const std::vector<editing::LineBudget>& budgets) {
    std::printf("[");
    for (std::size_t i = 0; i < budgets.size(); ++i) {
        const auto& b = budgets[i];
        std::printf("%s{\"line\":\"%s\",\"baud\":%d,\"bitsPerCharacter\":%d,\"commands\":%d,\"cycleMs\":%s,"
                    "\"overThreshold\":%s,\"costliestSlave\":%s,\"slaves\":[",
                    i ? "," : "", b.line.c_str(), b.baud, b.bitsPerCharacter, b.commands,
                    ms(b.cycleMs).c_str(), b.overThreshold ? "true" : "false",
                    b.costliest.slave < 0 ? "null" : std::to_string(b.costliest.address).c_str());
        for (std::size_t k = 0; k < b.slaves.size(); ++k)
            std::printf("%s{\"address\":%d,\"ms\":%s}", k ? "," : "", b.slaves[k].address,
                        ms(b.slaves[k].ms).c_str());
        std::printf("]}");
    }
    std::printf("]\n");
}

int runBudget(const std::vector<std::string>& args) {
    Options o(args, {"--threshold", "--dead"}, {"--json"});
    const auto threshold = o.number("--threshold");
    std::set<std::pair<std::string, int>> dead;
    const bool deadOk = !o.value("--dead") || editing::parseDeadSlaves(*o.value("--dead"), dead);
    if (!o.ok() || !deadOk || o.positional().size() != 1) {
        std::fprintf(stderr,
                     "usage: vantor-cli budget FILE.vtc [--threshold MS] [--dead COM1:3,...] [--json]\n");
        return kUsage;
    }
    model::CVantorDoc doc;
    if (!loadProject(o.positional()[0], doc))
        return kUsage;
    const auto budgets =
        editing::lineBudgets(doc, threshold ? *threshold : editing::kDefaultCycleThresholdMs, dead);
    if (o.flag("--json"))
        printJson(budgets);
    else
        printTable(budgets);
    return kOk;
}

const Register reg({"budget", "FILE.vtc [--threshold MS] [--dead COM1:3,...] [--json]", runBudget});

} // namespace
} // namespace vantor::cli
