// vantor-cli check FILE.vtc [--no]: the download command's checks on a
// project, without downloading. The empty-slave question is answered Yes,
// or No with --no. Exit 0 when the project may be downloaded, 1 when a
// check refused (its message on stderr) or the question was answered No.
#include "CliCommand.h"
#include "TransferSupport.h"

#include "transfer/DownloadCommand.h"

#include <cstdio>

namespace vantor::cli {
namespace {

int runCheck(const std::vector<std::string>& args) {
    Options o(args, {}, {"--no"});
    if (!o.ok() || o.positional().size() != 1) {
        std::fprintf(stderr, "usage: vantor-cli check FILE.vtc [--no]\n");
        return kUsage;
    }
    model::CVantorDoc doc;
    if (!loadProject(o.positional()[0], doc))
        return kUsage;
    StderrSink sink(!o.flag("--no"));
    if (!transfer::prepareDownload(doc, sink))
        return kRefused;
    if (jsonMode())
        printJson({{"downloadable", true}, {"questions", questionsJson(sink)}});
    return kOk;
}

const Register reg({"check", "FILE.vtc [--no]", runCheck, true});

} // namespace
} // namespace vantor::cli
