// vantor-cli net-download FILE.vncfg [--ip A] [--port P] [--pace MS]
//                                    [--tick MS] [--reply-timeout MS] [--no]
//                                    [--verbose]
// VantorNet's 编译并下载: compiles the project (a refused check ends here),
// asks the empty-server question (answered yes; --no answers no), then runs
// the download dialog's exchange against the gateway at A (default
// 192.168.1.15) on port P (default 5032): 连接, then 下载. Each status text
// is printed as it changes, "下载完毕！" last; messages and a failure's
// result go to stderr. --pace sets the pause before acting on each reply
// (300 ms), --tick the fieldbus phase's tick (2000 ms; the first part of
// image B goes out on the third), --reply-timeout the reply timeout
// (10000 ms); --verbose prints the wire log on stderr.
// Exit 0 only on "下载完毕！", 1 on a refusal or failure.
#include "BlockingDriver.h"
#include "CliCommand.h"
#include "TransferSupport.h"

#include "net/NetDownloadExchange.h"

#include <cstdio>

namespace vantor::cli {
namespace {

constexpr const char* kUsageText =
    "FILE.vncfg [--ip A] [--port P] [--pace MS] [--tick MS] [--reply-timeout MS] [--no] [--verbose]";

int runNetDownload(const std::vector<std::string>& args) {
    Options o(args, {"--ip", "--port", "--pace", "--tick", "--reply-timeout"}, {"--no", "--verbose"});
    auto port = o.number("--port");
    auto pace = o.number("--pace");
    auto tick = o.number("--tick");
    auto replyTimeout = o.number("--reply-timeout");
    if (!o.ok() || o.positional().size() != 1 || (port && (*port < 1 || *port > 65535)) ||
        (tick && *tick < 1)) {
        if (!o.error().empty())
            std::fprintf(stderr, "vantor-cli net-download: %s\n", o.error().c_str());
        std::fprintf(stderr, "usage: vantor-cli net-download %s\n", kUsageText);
        return kUsage;
    }
    net::CVantorNetDoc doc;
    if (!loadNetProject(o.positional()[0], doc))
        return kUsage;
    StderrSink sink(!o.flag("--no"));
    auto images = net::compileNet(doc, sink);
    if (!images || !net::confirmEmptyServers(doc, sink))
        return kRefused;

    net::NetDownloadSettings settings;
    settings.host = o.value("--ip").value_or(settings.host);
    settings.port = port.value_or(settings.port);
    settings.paceMs = pace.value_or(settings.paceMs);
    settings.tickMs = tick.value_or(settings.tickMs);
    settings.replyTimeoutMs = replyTimeout.value_or(settings.replyTimeoutMs);
    net::NetDownloadExchange exchange(doc.modelName(), doc.GW_work_mode, std::move(*images), settings,
                                      &doc.rev_allow);

    transfer::StreamWireLog log(stderr);
    blocking::BlockingDriver driver(exchange, o.flag("--verbose") ? &log : nullptr);
    printStatusChanges(driver);
    driver.onMessage = [](const Message& m) { std::fprintf(stderr, "%s\n", m.text.c_str()); };
    driver.afterEvent = [&] {
        if (exchange.downloadEnabled())
            exchange.pressDownload(); // 下载 as soon as the connection is up
    };
    auto result = driver.run();
    if (!result.resultText.empty())
        std::fprintf(result.success ? stdout : stderr, "%s\n", result.resultText.c_str());
    return result.success ? kOk : kRefused;
}

const Register reg({"net-download", kUsageText, runNetDownload});

} // namespace
} // namespace vantor::cli
