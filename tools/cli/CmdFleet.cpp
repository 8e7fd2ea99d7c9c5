// vantor-cli fleet PLAN.csv|PLAN.xlsx [--parallel N] [--report OUT.html] [--pace MS]
//                          [--reply-timeout MS] [--tick MS] [--settle MS] [--json]
// Commissions every gateway of the plan (one row per gateway:
// name,ip,port,project,mport): rows that cannot run are named with their
// line before anything is sent; then every project is downloaded, up to N
// gateways at a time (16), and each gateway verified (identity, version and
// serial number read back; for Vantor one cycle of the slaves' state
// words). One line per gateway as its stage changes, then the summary.
// --pace and --reply-timeout set the downloads' pause and reply timeout
// (each exchange's own by default), --tick VantorNet's fieldbus tick, --settle the time the restarted gateway
// is given before it is asked (2000 ms); --report writes the fleet report.
// Exit 0 when every row succeeded, 1 when any was refused or failed, 2 for
// usage, an unreadable plan or a report that cannot be written.
#include "CliCommand.h"
#include "FleetDriver.h"
#include "JsonOutput.h"
#include "TransferSupport.h"

#include "common/AtomicFile.h"
#include "fleet/FleetReport.h"

#include <cstdio>
#include <filesystem>

namespace vantor::cli {
namespace {

constexpr const char* kUsageText = "PLAN.csv|PLAN.xlsx [--parallel N] [--report OUT.html] [--pace MS] "
                                   "[--reply-timeout MS] [--tick MS] [--settle MS]";
constexpr int kDefaultParallel = 16;

Json gatewayJson(const fleet::GatewayOutcome& g) {
    Json blocks = Json::array();
    for (const auto& b : g.sent)
        blocks.push_back({{"command", b.command}, {"bytes", b.bytes}});
    Json j = {{"name", g.row.name},
              {"ok", g.ok},
              {"reason", g.reason},
              {"line", g.row.line},
              {"ip", g.row.host},
              {"port", g.row.port ? Json(*g.row.port) : Json()},
              {"project", g.row.project},
              {"checksum", g.checksum},
              {"model", g.model},
              {"blocks", blocks},
              {"download", g.downloadResult},
              {"elapsed_ms", g.elapsedMs()}};
    const auto& d = g.device;
    if (d.identified)
        j["identity"] = {{"device_id", d.info.deviceId},
                         {"version", d.info.version},
                         {"build_time", d.info.buildTime},
                         {"serial_number", d.info.serialNumber},
                         {"run_state", d.info.runState.text}};
    if (g.downloaded) {
        Json rows = Json::array();
        for (const auto& r : d.states)
            rows.push_back(Json(r.cells));
        j["states"] = {{"read", d.statesRead}, {"summary", fleet::stateSummary(g)}, {"rows", rows}};
    }
    return j;
}

Json runJson(const fleet::FleetRun& run) {
    Json doc = {{"gateways", Json::array()}, {"refused", Json::array()}};
    for (const auto& g : run.gateways)
        doc["gateways"].push_back(gatewayJson(g));
    for (const auto& r : run.refusals)
        doc["refused"].push_back({{"line", r.line}, {"name", r.name}, {"reason", r.text}});
    doc["summary"] = {{"gateways", run.gateways.size()},
                      {"succeeded", run.succeeded()},
                      {"failed", run.failed()},
                      {"refused", run.refusals.size()},
                      {"elapsed_ms", run.elapsedMs}};
    return doc;
}

int runFleet(const std::vector<std::string>& args) {
    Options o(args, {"--parallel", "--report", "--pace", "--reply-timeout", "--tick", "--settle"}, {});
    const auto parallel = o.number("--parallel");
    const auto pace = o.number("--pace");
    const auto replyTimeout = o.number("--reply-timeout");
    const auto settle = o.number("--settle");
    const auto tick = o.number("--tick");
    const auto reportPath = o.value("--report");
    if (!o.ok() || o.positional().size() != 1 || (parallel && *parallel < 1) || (tick && *tick < 1) ||
        (reportPath && reportPath->empty())) {
        if (!o.error().empty())
            std::fprintf(stderr, "vantor-cli fleet: %s\n", o.error().c_str());
        std::fprintf(stderr, "usage: vantor-cli fleet %s [--json]\n", kUsageText);
        return kUsage;
    }
    const std::filesystem::path planPath(o.positional()[0]);
    auto plan = fleet::readPlanFile(planPath.string());
    if (!plan.error.empty()) {
        reportError(planPath.string() + ": " + plan.error);
        return kUsage;
    }

    // Every row is read and checked before anything is sent.
    fleet::FleetRun run;
    run.planName = planPath.filename().string();
    run.refusals = plan.refusals;
    std::vector<fleet::PreparedGateway> ready;
    const std::string ethOptionDir = dataDirectoryOf("IP/ETHOption.xml");
    for (const auto& row : plan.rows) {
        auto prepared = fleet::prepareRow(row, ethOptionDir);
        if (prepared.gateway)
            ready.push_back(std::move(*prepared.gateway));
        else
            run.refusals.push_back({row.line, row.name, prepared.refusal});
    }
    std::sort(run.refusals.begin(), run.refusals.end(),
              [](const auto& a, const auto& b) { return a.line < b.line; });
    if (!jsonMode())
        for (const auto& r : run.refusals)
            std::fprintf(stderr, "%s\n", fleet::refusalLine(r).c_str());

    fleet::CommissionSettings settings;
    settings.paceMs = pace;
    settings.replyTimeoutMs = replyTimeout;
    settings.tickMs = tick;
    settings.settleMs = settle.value_or(settings.settleMs);
    blocking::FleetDriver driver(std::move(ready), settings, parallel.value_or(kDefaultParallel));
    if (!jsonMode())
        driver.onChange = [](const fleet::GatewayCommission& c) {
            std::string line = c.name() + ": " + c.stageText();
            std::replace(line.begin(), line.end(), '\n', ' ');
            std::printf("%s\n", line.c_str());
            std::fflush(stdout);
        };
    run.gateways = driver.run();
    run.elapsedMs = driver.elapsedMs();
    run.generatedAt = localTimeText();

    if (reportPath) {
        std::string error;
        if (!writeFileAtomically(*reportPath, fleet::fleetReport(run), &error)) {
            reportError("vantor-cli fleet: " + error);
            return kUsage;
        }
    }
    if (jsonMode())
        printJson(runJson(run));
    else
        std::printf("%s\n", fleet::fleetSummaryText(run).c_str());
    return run.failed() == 0 && run.refusals.empty() ? kOk : kRefused;
}

const Register reg({"fleet", kUsageText, runFleet, true});

} // namespace
} // namespace vantor::cli
