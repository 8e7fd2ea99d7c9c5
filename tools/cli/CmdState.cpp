// vantor-cli state --model M [--ip A] [--mport P] [--cycles N] [--verbose]
// Polls the slave state and control words over MODBUS TCP as the slave
// state window does (a cycle each second: the state words of every polled
// port, then the control words) and prints the list after each cycle:
// "cycle K", then one line per written row with its six cells separated by
// tabs (COM, slave address, control word address, control word, state word
// address, state word). Stops after N cycles (default 1); exit 0 when all
// N came, 1 when the exchange failed (its message on stderr). --ip defaults
// to the access IP of IP/ETHOption.xml; --mport to 502.
#include "BlockingDriver.h"
#include "CliCommand.h"
#include "JsonOutput.h"
#include "TransferSupport.h"

#include "model/CVantorDoc.h"
#include "model/GatewayCatalogue.h"
#include "services/SlaveStateExchange.h"

#include <array>
#include <cstdio>
#include <filesystem>

namespace vantor::cli {
namespace {

constexpr const char* kUsageText = "--model M [--ip A] [--mport P] [--cycles N] [--verbose]";

// The names of a row's cells in the JSON document, in the list's order.
const std::array<const char*, 6> kRowFields = {"com",     "slave",        "controlAddress",
                                               "control", "stateAddress", "state"};

int runState(const std::vector<std::string>& args) {
    Options o(args, {"--model", "--ip", "--mport", "--cycles"}, {"--verbose"});
    auto port = o.number("--mport");
    auto cycles = o.number("--cycles");
    auto modelName = o.value("--model");
    if (!o.ok() || !o.positional().empty() || !modelName || (port && (*port < 1 || *port > 65535)) ||
        (cycles && *cycles < 1)) {
        if (!o.error().empty())
            std::fprintf(stderr, "vantor-cli state: %s\n", o.error().c_str());
        std::fprintf(stderr, "usage: vantor-cli state %s\n", kUsageText);
        return kUsage;
    }
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

    services::SlaveStateExchange exchange(*modelName, {host, port.value_or(services::kModbusPort)});
    transfer::StreamWireLog log(stderr);
    blocking::BlockingDriver driver(exchange, o.flag("--verbose") ? &log : nullptr);
    driver.onMessage = [](const Message& m) { reportError(m.text); };
    const int wanted = cycles.value_or(1);
    int printed = 0;
    Json cyclesJson = Json::array();
    driver.afterEvent = [&] {
        if (exchange.cycles() == printed)
            return;
        printed = exchange.cycles();
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
        std::fflush(stdout);
        if (printed >= wanted)
            exchange.cancel();
    };
    driver.run();
    if (printed < wanted)
        return kRefused;
    if (jsonMode())
        printJson({{"cycles", cyclesJson}});
    return kOk;
}

const Register reg({"state", kUsageText, runState, true});

} // namespace
} // namespace vantor::cli
