// vantor-cli state --model M [--ip A] [--mport P] [--cycles N] [--verbose]
// Polls the slave state and control words over MODBUS TCP as the slave
// state window does (a cycle each second: the state words of every polled
// port, then the control words) and prints the list after each cycle:
// "cycle K", then one line per written row with its six cells separated by
// tabs (COM, slave address, control word address, control word, state word
// address, state word). Stops after N cycles (default 1); exit 0 when all
// N came, 1 when the exchange failed (its message on stderr). --ip defaults
// to the access IP of IP/ETHOption.xml; --mport to 502.
//
// --watch [--interval MS] [--project FILE.vtc]: the line health instead, a
// cycle every MS (default 1000), one line per cycle (with --json one JSON
// object per line) as the health view derives it; without --cycles it runs
// until stopped. The project (whose model stands in for --model) adds the
// slaves' names, the slaves the gateway does not list, and each slave's
// share of its line's poll cycle. Times are milliseconds since the watch
// began.
#include "BlockingDriver.h"
#include "CliCommand.h"
#include "JsonOutput.h"
#include "TransferSupport.h"

#include "model/CVantorDoc.h"
#include "model/GatewayCatalogue.h"
#include "services/LineHealth.h"
#include "services/SlaveStateExchange.h"
#include "text/Numbers.h"

#include <array>
#include <cstdio>
#include <filesystem>

namespace vantor::cli {
namespace {

constexpr const char* kUsageText = "--model M [--ip A] [--mport P] [--cycles N] [--verbose] | --watch "
                                   "[--interval MS] [--project FILE.vtc] [--model M] [--ip A] [--mport P] "
                                   "[--cycles N] [--verbose]";

// The names of a row's cells in the JSON document, in the list's order.
const std::array<const char*, 6> kRowFields = {"com",     "slave",        "controlAddress",
                                               "control", "stateAddress", "state"};

// One watched cycle as a line: "cycle K at T ms:" then per slave (port and
// address order) "COM1:3 silent 100.0% last - since 1000" ("share 68%" with
// the project), slaves separated by "; ".
std::string watchLine(const services::LineHealth& health, bool withProject) {
    std::string line =
        "cycle " + std::to_string(health.cycles()) + " at " + std::to_string(health.nowMs()) + " ms:";
    const char* separator = " ";
    for (const auto& s : health.slaves()) {
        line += separator;
        separator = "; ";
        line += "COM" + std::to_string(s.port) + ":" + std::to_string(s.address) + " " +
                services::healthClassKey(s.health) + " " + services::failureRateText(s.failureRate()) +
                " last " + (s.lastSuccessMs ? std::to_string(*s.lastSuccessMs) : "-") + " since " +
                std::to_string(s.sinceMs);
        if (withProject)
            line += " share " + text::format("%.0f%%", s.budgetShare * 100);
    }
    return line;
}

Json watchJson(const services::LineHealth& health, bool withProject) {
    Json slaves = Json::array();
    for (const auto& s : health.slaves()) {
        Json j = {{"line", "COM" + std::to_string(s.port)}, {"address", s.address}};
        if (withProject)
            j["name"] = s.name;
        j["class"] = services::healthClassKey(s.health);
        const auto rate = s.failureRate();
        j["failure_rate"] = rate ? Json(*rate) : Json(nullptr);
        j["last_success_ms"] = s.lastSuccessMs ? Json(*s.lastSuccessMs) : Json(nullptr);
        j["since_ms"] = s.sinceMs;
        if (withProject)
            j["budget_share"] = s.budgetShare;
        slaves.push_back(std::move(j));
    }
    return {{"cycle", health.cycles()}, {"t_ms", health.nowMs()}, {"slaves", std::move(slaves)}};
}

int usage(const Options& o) {
    if (!o.error().empty())
        std::fprintf(stderr, "vantor-cli state: %s\n", o.error().c_str());
    std::fprintf(stderr, "usage: vantor-cli state %s\n", kUsageText);
    return kUsage;
}

int runState(const std::vector<std::string>& args) {
    Options o(args, {"--model", "--ip", "--mport", "--cycles", "--interval", "--project"},
              {"--verbose", "--watch"});
    auto port = o.number("--mport");
    auto cycles = o.number("--cycles");
    auto interval = o.number("--interval");
    auto modelName = o.value("--model");
    const auto projectPath = o.value("--project");
    const bool watch = o.flag("--watch");
    if (!o.ok() || !o.positional().empty() || (port && (*port < 1 || *port > 65535)) ||
        (cycles && *cycles < 1) || (!watch && (interval || projectPath)) || (interval && *interval < 1))
        return usage(o);
    model::CVantorDoc project;
    if (projectPath) {
        if (!loadProject(*projectPath, project))
            return kUsage;
        if (!project.hasMaster()) {
            reportError("vantor-cli state: " + *projectPath + " has no gateway");
            return kUsage;
        }
        if (modelName && *modelName != project.modelName()) {
            reportError("vantor-cli state: --model " + *modelName + " is not the project's model " +
                        project.modelName());
            return kUsage;
        }
        modelName = project.modelName();
    }
    if (!modelName)
        return usage(o);
    const auto* gateway = model::findGatewayModel(*modelName);
    if (!gateway) {
        reportError("vantor-cli state: unknown gateway model " + *modelName);
        return kUsage;
    }
    if (!gateway->has(model::FeatureSlaveState)) {
        reportError("vantor-cli state: slave states are not offered for " + *modelName);
        return kUsage;
    }
    const std::string host = accessHost(o);

    services::SlaveStateExchange exchange(
        *modelName, {host, port.value_or(services::kModbusPort), interval.value_or(services::kPollPeriodMs)});
    transfer::StreamWireLog log(stderr);
    blocking::BlockingDriver driver(exchange, o.flag("--verbose") ? &log : nullptr);
    driver.onMessage = [](const Message& m) { reportError(m.text); };
    // Watching runs until stopped unless --cycles bounds it.
    const int wanted = cycles.value_or(watch ? 0 : 1);
    int printed = 0;
    Json cyclesJson = Json::array();
    services::LineHealth health(services::usesStatusLayout(*modelName));
    if (projectPath)
        health.setProject(project);
    driver.afterEvent = [&] {
        if (exchange.cycles() == printed)
            return;
        printed = exchange.cycles();
        if (watch) {
            health.addCycle(driver.elapsedMs(), services::samplesOf(exchange));
            if (jsonMode())
                printJson(watchJson(health, projectPath.has_value()));
            else
                std::printf("%s\n", watchLine(health, projectPath.has_value()).c_str());
        } else {
            Json rows = Json::array();
            if (!jsonMode())
                std::printf("cycle %d\n", printed);
            for (const auto& row : exchange.rows()) {
                if (row.empty())
                    continue;
                if (jsonMode()) {
                    Json r = Json::object();
                    for (std::size_t i = 0; i < row.cells.size() && i < kRowFields.size(); ++i)
                        r[kRowFields[i]] = row.cells[i];
                    rows.push_back(std::move(r));
                    continue;
                }
                printRow(row.cells);
            }
            cyclesJson.push_back({{"cycle", printed}, {"rows", std::move(rows)}});
        }
        std::fflush(stdout);
        if (wanted > 0 && printed >= wanted)
            exchange.cancel();
    };
    driver.run();
    if (printed < wanted || (watch && wanted == 0)) {
        // In a watch, the lines printed so far stand; the failure follows
        // them as one more line.
        if (watch && jsonMode())
            printJson({{"error", collectedErrors()}});
        return kRefused;
    }
    if (jsonMode() && !watch)
        printJson({{"cycles", cyclesJson}});
    return kOk;
}

const Register reg({"state", kUsageText, runState, true});

} // namespace
} // namespace vantor::cli
