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
    std::printf("20 %s\n", transfer::toHex(blocks->rtu).c_str());
    std::printf("21 %s\n", transfer::toHex(blocks->fieldbus).c_str());
    if (blocks->hasEip)
        std::printf("70 %s\n", transfer::toHex(blocks->eip).c_str());
    return kOk;
}

const Register reg({"blocks", "FILE.vtc [--no]", runBlocks});

} // namespace
} // namespace vantor::cli
