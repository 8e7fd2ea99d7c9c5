// vantor-cli map FILE.vtc [--export OUT]: the gateway address map of a
// project, after the same opening checks as the map window: the four lists
// (areas 0, 1, 3, 4) under their titles, one tab-separated row per line; for
// the CDT gateway its three CDT lists instead. --export writes the four lists
// as the sheets Area0, Area1, Area3, Area4 (OUT ending in .xlsx: a workbook;
// otherwise delimited text).
#include "CliCommand.h"
#include "JsonOutput.h"
#include "TransferSupport.h"

#include "editing/AddressMap.h"
#include "editing/CdtAddressTable.h"
#include "model/CVantorDoc.h"

#include <cstdio>

namespace vantor::cli {
namespace {

template <typename Rows> void printList(const char* title, const Rows& rows, bool first) {
    if (!first)
        std::printf("\n");
    std::printf("%s\n", title);
    for (const auto& r : rows)
        printRow(r);
}

int runMap(const std::vector<std::string>& args) {
    Options options(args, {"--export"}, {});
    if (!options.ok() || options.positional().size() != 1 ||
        (options.value("--export") && options.value("--export")->empty())) {
        std::fprintf(stderr, "usage: vantor-cli map FILE.vtc [--export OUT]\n");
        return kUsage;
    }
    const bool exporting = options.value("--export").has_value();
    const std::string exportPath = options.value("--export").value_or("");
    model::CVantorDoc doc;
    if (!loadProject(options.positional()[0], doc))
        return kUsage;

    StderrSink sink;
    switch (editing::openAddressMap(doc, sink)) {
    case editing::MapView::Refused:
        return kRefused;
    case editing::MapView::CdtTable: {
        if (exporting) {
            reportError("vantor-cli map: the CDT address table has no export");
            return kUsage;
        }
        auto t = editing::buildCdtAddressTable(doc);
        if (jsonMode()) {
            using editing::kCdtDataColumns, editing::kCdtListTitles;
            printJson({{"kind", "cdt"},
                       {"lists",
                        {tableJson(kCdtListTitles[0], kCdtDataColumns, t.telesignal),
                         tableJson(kCdtListTitles[1], kCdtDataColumns, t.telemetry),
                         tableJson(kCdtListTitles[2], editing::kCdtStateColumns, t.slaveState)}}});
            return kOk;
        }
        printList(editing::kCdtListTitles[0], t.telesignal, true);
        printList(editing::kCdtListTitles[1], t.telemetry, false);
        printList(editing::kCdtListTitles[2], t.slaveState, false);
        return kOk;
    }
    case editing::MapView::GatewayMap:
        break;
    }
    auto map = editing::buildAddressMap(doc);
    std::string errors;
    if (!jsonMode())
        for (int a = 0; a < 4; ++a)
            printList(editing::mapListTitle(a).c_str(), map.areas[static_cast<std::size_t>(a)], a == 0);
    if (exporting && !exportSucceeded(editing::exportAddressMap(map, exportPath, errors), errors))
        return kUsage;
    if (jsonMode()) {
        Json lists = Json::array();
        for (int a = 0; a < 4; ++a)
            lists.push_back(tableJson(editing::mapListTitle(a), editing::mapColumnTitles(a),
                                      map.areas[static_cast<std::size_t>(a)]));
        printJson({{"kind", "gateway"}, {"lists", lists}});
    }
    return kOk;
}

const Register registered{{"map", "FILE.vtc [--export OUT]", runMap, true}};

} // namespace
} // namespace vantor::cli
