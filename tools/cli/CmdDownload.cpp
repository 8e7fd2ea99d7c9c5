// vantor-cli download FILE.vtc [--ip A] [--port P] [--pace MS]
//                              [--reply-timeout MS] [--no] [--verbose]
// Runs the download command's checks and then the download exchange against
// the gateway at A (default: the project's access IP). Each status text is
// printed as it changes, the result text last; messages go to stderr.
// --port connects to P instead of the service port (5032, or 60000 for
// TRX-H-QMB6); --pace sets the pause before acting on each reply (300 ms);
// --reply-timeout the reply timeout (50000 ms); --verbose prints the wire
// log on stderr. Exit 0 only on "下 载 完 毕!".
#include "BlockingDriver.h"
#include "CliCommand.h"
#include "TransferSupport.h"

#include "transfer/DownloadCommand.h"
#include "transfer/DownloadExchange.h"

#include <cstdio>

namespace vantor::cli {
namespace {

constexpr const char* kUsageText =
    "FILE.vtc [--ip A] [--port P] [--pace MS] [--reply-timeout MS] [--no] [--verbose]";

int runDownload(const std::vector<std::string>& args) {
    Options o(args, {"--ip", "--port", "--pace", "--reply-timeout"}, {"--no", "--verbose"});
    auto port = o.number("--port");
    auto pace = o.number("--pace");
    auto replyTimeout = o.number("--reply-timeout");
    if (!o.ok() || o.positional().size() != 1 || (port && (*port < 1 || *port > 65535))) {
        if (!o.error().empty())
            std::fprintf(stderr, "vantor-cli download: %s\n", o.error().c_str());
        std::fprintf(stderr, "usage: vantor-cli download %s\n", kUsageText);
        return kUsage;
    }
    model::CVantorDoc doc;
    if (!loadProject(o.positional()[0], doc))
        return kUsage;
    StderrSink sink(!o.flag("--no"));
    auto blocks = transfer::prepareDownload(doc, sink);
    if (!blocks)
        return kRefused;

    transfer::DownloadSettings settings;
    settings.host = o.value("--ip").value_or(doc.IP);
    settings.accessPort = doc.accessPort;
    settings.portOverride = port;
    settings.paceMs = pace.value_or(transfer::kDefaultPaceMs);
    settings.replyTimeoutMs = replyTimeout.value_or(transfer::kDefaultReplyTimeoutMs);
    transfer::DownloadExchange exchange(doc.modelName(), std::move(*blocks), settings);

    transfer::StreamWireLog log(stderr);
    blocking::BlockingDriver driver(exchange, o.flag("--verbose") ? &log : nullptr);
    printStatusChanges(driver);
    driver.onMessage = [&](const Message& m) { std::fprintf(stderr, "%s\n", m.text.c_str()); };
    auto result = driver.run();
    if (!result.resultText.empty())
        std::printf("%s\n", result.resultText.c_str());
    return result.success && result.resultText == transfer::DownloadExchange::kDone ? kOk : kRefused;
}

const Register reg({"download", kUsageText, runDownload});

} // namespace
} // namespace vantor::cli
