// vantor-cli net-resave IN.vncfg OUT.vncfg: opens a VantorNet project as the
// program opens it (a new project first, then the file over it) and saves it
// as the program saves it, with the current directory as the start-up
// directory (its "Vantor.ver" gives the version text).
#include "CliCommand.h"
#include "TransferSupport.h"

#include "net/NetProjectFile.h"

#include <cstdio>

namespace vantor::cli {
namespace {

int runNetResave(const std::vector<std::string>& args) {
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: vantor-cli net-resave IN.vncfg OUT.vncfg\n");
        return kUsage;
    }
    net::CVantorNetDoc doc;
    if (!loadNetProject(args[0], doc))
        return kUsage;
    std::string error;
    if (!net::NetProjectFile::save(doc, args[1], dataDirectoryOf("Vantor.ver"), &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return kUsage;
    }
    return kOk;
}

const Register registered{{"net-resave", "IN.vncfg OUT.vncfg", runNetResave}};

} // namespace
} // namespace vantor::cli
