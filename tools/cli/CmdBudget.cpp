// vantor-cli budget FILE.vtc [--threshold MS] [--dead COM1:3,...] [--json]:
// the estimated poll cycle of each serial line, the slave that costs most
// and whether the cycle exceeds the threshold (default 1000 ms). A table
// with a header line, or JSON with every slave's share.
#include "CliCommand.h"
#include "JsonOutput.h"
#include "TransferSupport.h"

#include "editing/LineBudget.h"

#include <cmath>
#include <cstdio>

namespace vantor::cli {
namespace {

void printTable(const std::vector<editing::LineBudget>& budgets) {
    printRow(editing::budgetColumnTitles());
    for (const auto& b : budgets)
        printRow(editing::budgetTableRow(b));
}

// Milliseconds to one decimal, as the table shows them.
double tenths(double value) {
    return std::round(value * 10) / 10;
}

void printBudgetJson(const std::vector<editing::LineBudget>& budgets) {
    Json all = Json::array();
    for (const auto& b : budgets) {
        Json slaves = Json::array();
        for (const auto& s : b.slaves)
            slaves.push_back({{"address", s.address}, {"ms", tenths(s.ms)}});
        all.push_back({{"line", b.line},
                       {"baud", b.baud},
                       {"bitsPerCharacter", b.bitsPerCharacter},
                       {"commands", b.commands},
                       {"cycleMs", tenths(b.cycleMs)},
                       {"overThreshold", b.overThreshold},
                       {"costliestSlave", b.costliest.slave < 0 ? Json(nullptr) : Json(b.costliest.address)},
                       {"slaves", std::move(slaves)}});
    }
    printJson(all);
}

int runBudget(const std::vector<std::string>& args) {
    Options o(args, {"--threshold", "--dead"}, {});
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
    if (jsonMode())
        printBudgetJson(budgets);
    else
        printTable(budgets);
    return kOk;
}

const Register reg({"budget", "FILE.vtc [--threshold MS] [--dead COM1:3,...]", runBudget, true});

} // namespace
} // namespace vantor::cli
