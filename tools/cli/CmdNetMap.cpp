// vantor-cli net-map FILE.vncfg: where each command's data lies in the
// gateway. QB-H-NET2.0: a line "DP输入" with the input image rows, a line
// "DP输出" with the output image rows; other models: a line per area
// ("MODBUS   0XXXX" ...) with its rows. A row is the table's seven columns
// joined by tabs.
#include "CliCommand.h"
#include "JsonOutput.h"
#include "TransferSupport.h"

#include "net/NetAddressTables.h"

#include <cstdio>

namespace vantor::cli {
namespace {

void printList(const std::string& title, const std::vector<net::NetMapRow>& rows) {
    std::printf("%s\n", title.c_str());
    for (const auto& r : rows)
        printRow(r);
}

int runNetMap(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: vantor-cli net-map FILE.vncfg\n");
        return kUsage;
    }
    net::CVantorNetDoc doc;
    if (!loadNetProject(args[0], doc))
        return kUsage;
    if (net::showsDpTable(doc)) {
        const auto table = net::buildDpTable(doc);
        if (jsonMode()) {
            printJson({{"kind", "dp"},
                       {"lists",
                        {tableJson(net::kDpInputTitle, net::dpColumnTitles(), table.input),
                         tableJson(net::kDpOutputTitle, net::dpColumnTitles(), table.output)}}});
            return kOk;
        }
        printList(net::kDpInputTitle, table.input);
        printList(net::kDpOutputTitle, table.output);
        return kOk;
    }
    const auto map = net::buildNetAddressMap(doc);
    if (jsonMode()) {
        Json lists = Json::array();
        for (int a = 0; a < 4; ++a)
            lists.push_back(tableJson(editing::mapListTitle(a), net::netMapColumnTitles(a),
                                      map[static_cast<std::size_t>(a)]));
        printJson({{"kind", "gateway"}, {"lists", lists}});
        return kOk;
    }
    for (int a = 0; a < 4; ++a)
        printList(editing::mapListTitle(a), map[static_cast<std::size_t>(a)]);
    return kOk;
}

const Register registered{{"net-map", "FILE.vncfg", runNetMap, true}};

} // namespace
} // namespace vantor::cli
