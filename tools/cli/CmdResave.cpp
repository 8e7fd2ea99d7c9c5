// vantor-cli resave IN.vtc OUT.vtc: opens a project as the program opens it
// (a new project first, then the file over it) and saves it as the program
// saves it, with the current directory as the start-up directory.
#include "CliCommand.h"
#include "TransferSupport.h"

#include "model/CVantorDoc.h"
#include "model/ProjectFile.h"

#include <cstdio>
#include <filesystem>

namespace vantor::cli {
namespace {

int runResave(const std::vector<std::string>& args) {
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: vantor-cli resave IN.vtc OUT.vtc\n");
        return kUsage;
    }
    model::CVantorDoc doc;
    doc.NewDocument(dataDirectoryOf("IP/ETHOption.xml"));
    std::string error;
    if (!model::ProjectFile::open(doc, args[0], &error) ||
        !model::ProjectFile::save(doc, args[1], dataDirectoryOf("Vantor.ver"), &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return kUsage;
    }
    return kOk;
}

const Register registered{{"resave", "IN.vtc OUT.vtc", runResave}};

} // namespace
} // namespace vantor::cli
