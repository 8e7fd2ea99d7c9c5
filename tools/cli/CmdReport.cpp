// vantor-cli report FILE.vtc [--ip A] [--port P] [--mport P] -o OUT.html:
// the commissioning report of a project as one HTML page. With --ip the
// gateway there is asked for its identity and serial number (as `info`
// does; --port overrides the service port) and for one cycle of the
// slaves' state words (as `state` does; --mport, default 502). A gateway
// that cannot be reached is noted in the report with the reason, and the
// report is still written (exit 0). Exit 2 for usage, a project that cannot
// be read, or a report that cannot be written.
#include "BlockingDriver.h"
#include "CliCommand.h"
#include "TransferSupport.h"

#include "common/AtomicFile.h"
#include "services/CommissioningReport.h"

#include <cstdio>
#include <filesystem>

namespace vantor::cli {
namespace {

constexpr const char* kUsageText = "FILE.vtc [--ip A] [--port P] [--mport P] -o OUT.html";

// The blocking loop as the report's exchange runner.
std::vector<Message> runBlocking(transfer::Exchange& exchange, const std::function<bool()>& done) {
    std::vector<Message> messages;
    blocking::BlockingDriver driver(exchange);
    driver.onMessage = [&](const Message& m) { messages.push_back(m); };
    driver.afterEvent = [&] {
        if (!exchange.finished() && done())
            exchange.cancel();
    };
    driver.run();
    return messages;
}

int runReport(const std::vector<std::string>& args) {
    Options o(args, {"--ip", "--port", "--mport", "-o"}, {});
    const auto port = o.number("--port");
    const auto mport = o.number("--mport");
    const auto out = o.value("-o");
    auto badPort = [](const std::optional<int>& p) { return p && (*p < 1 || *p > 65535); };
    if (!o.ok() || o.positional().size() != 1 || !out || out->empty() || badPort(port) || badPort(mport) ||
        (o.value("--ip") && o.value("--ip")->empty())) {
        if (!o.error().empty())
            std::fprintf(stderr, "vantor-cli report: %s\n", o.error().c_str());
        std::fprintf(stderr, "usage: vantor-cli report %s\n", kUsageText);
        return kUsage;
    }
    model::CVantorDoc doc;
    const std::string& path = o.positional()[0];
    if (!loadProject(path, doc))
        return kUsage;

    std::error_code ec;
    if (std::filesystem::equivalent(path, *out, ec)) {
        std::fprintf(stderr, "vantor-cli report: %s\n", services::kReportOverProject);
        return kUsage;
    }

    std::optional<services::ReportDevice> device;
    if (const auto ip = o.value("--ip"))
        device = services::visitGateway(doc, {*ip, port, mport.value_or(services::kModbusPort)}, runBlocking);

    const std::string html = services::commissioningReport(
        doc, std::filesystem::path(path).filename().string(), localTimeText(), device);
    std::string error;
    if (!writeFileAtomically(*out, html, &error)) {
        std::fprintf(stderr, "vantor-cli report: %s\n", error.c_str());
        return kUsage;
    }
    return kOk;
}

const Register reg({"report", kUsageText, runReport});

} // namespace
} // namespace vantor::cli
