// vantor-cli blocks FILE.vtc [--no]: after the download checks, the blocks a
// download would send, one line each: "20 <hex>", "21 <hex>" and, for the
// EtherNet/IP gateway, "70 <hex>" (lowercase, no separators).
#include "CliCommand.h"
#include "TransferSupport.h"

#include "transfer/DownloadCommand.h"

#include <cstdio>

namespace vantor::cli {
namespace {

int runBlocks(const std::vector<std::string>& args) {
    Options o(args, {}, {"--no"});
    if (!o.ok() || o.positional().size() != 1) {
        std::fprintf(stderr, "usage: vantor-cli blocks FILE.vtc [--no]\n");
        return kUsage;
    }
    model::CVantorDoc doc;
    if (!loadProject(o.positional()[0], doc))
        return kUsage;
    StderrSink sink(!o.flag("--no"));
    auto blocks = transfer::prepareDownload(doc, sink);
    if (!blocks)
        return kRefused;
    std::vector<std::pair<int, std::string>> lines = {{20, transfer::toHex(blocks->rtu)},
                                                      {21, transfer::toHex(blocks->fieldbus)}};
    if (blocks->hasEip)
        lines.emplace_back(70, transfer::toHex(blocks->eip));
    if (jsonMode()) {
        Json all = Json::array();
        for (const auto& [command, hex] : lines)
            all.push_back({{"command", command}, {"hex", hex}});
        printJson({{"blocks", all}, {"questions", questionsJson(sink)}});
        return kOk;
    }
    for (const auto& [command, hex] : lines)
        std::printf("%d %s\n", command, hex.c_str());
    return kOk;
}

const Register reg({"blocks", "FILE.vtc [--no]", runBlocks, true});

} // namespace
} // namespace vantor::cli
