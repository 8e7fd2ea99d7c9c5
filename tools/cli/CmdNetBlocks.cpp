// vantor-cli net-blocks FILE.vncfg: compiles a VantorNet project and prints
// image A and image B, "A <hex>" then "B <hex>" (lowercase, no separators).
// A refused compile check prints its message on stderr, nothing on stdout,
// and exits 1.
#include "CliCommand.h"
#include "JsonOutput.h"
#include "TransferSupport.h"

#include "net/NetCompiler.h"

#include <cstdio>

namespace vantor::cli {
namespace {

int runNetBlocks(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: vantor-cli net-blocks FILE.vncfg\n");
        return kUsage;
    }
    net::CVantorNetDoc doc;
    if (!loadNetProject(args[0], doc))
        return kUsage;
    StderrSink sink;
    auto images = net::compileNet(doc, sink);
    if (!images)
        return kRefused;
    if (jsonMode()) {
        printJson({{"a", transfer::toHex(images->a)}, {"b", transfer::toHex(images->b)}});
        return kOk;
    }
    std::printf("A %s\n", transfer::toHex(images->a).c_str());
    std::printf("B %s\n", transfer::toHex(images->b).c_str());
    return kOk;
}

const Register registered{{"net-blocks", "FILE.vncfg", runNetBlocks, true}};

} // namespace
} // namespace vantor::cli
