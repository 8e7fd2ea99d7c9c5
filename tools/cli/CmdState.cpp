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
#include "TransferSupport.h"

#include "model/CVantorDoc.h"
#include "model/GatewayCatalogue.h"
#include "services/SlaveStateExchange.h"

#include <cstdio>
#include <filesystem>

namespace vantor::cli {
namespace {

constexpr const char* kUsageText = "--model M [--ip A] [--mport P] [--cycles N] [--verbose]";

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
        std::fprintf(stderr, "vantor-cli state: unknown gateway model %s\n", modelName->c_str());
        return kUsage;
    }
    if (!gateway->has(model::FeatureSlaveState)) {
        std::fprintf(stderr, "vantor-cli state: slave states are not offered for %s\n", modelName->c_str());
        return kUsage;
    }
    std::string host;
    if (auto ip = o.value("--ip")) {
        host = *ip;
    } else {
        std::error_code ec;
        model::CVantorDoc doc;
        doc.NewDocument(std::filesystem::current_path(ec).string());
        host = doc.IP;
    }

    services::SlaveStateExchange exchange(*modelName, {host, port.value_or(services::kModbusPort)});
    StreamWireLog log(stderr);
    BlockingDriver driver(exchange, o.flag("--verbose") ? &log : nullptr);
    driver.onMessage = [](const Message& m) { std::fprintf(stderr, "%s\n", m.text.c_str()); };
    const int wanted = cycles.value_or(1);
    int printed = 0;
    driver.afterEvent = [&] {
        if (exchange.cycles() == printed)
            return;
        printed = exchange.cycles();
        std::printf("cycle %d\n", printed);
        for (const auto& row : exchange.rows()) {
            if (row.empty())
                continue;
            for (std::size_t i = 0; i < row.cells.size(); ++i)
                std::printf("%s%s", i ? "\t" : "", row.cells[i].c_str());
            std::printf("\n");
        }
        std::fflush(stdout);
        if (printed >= wanted)
            exchange.cancel();
    };
    driver.run();
    return printed >= wanted ? kOk : kRefused;
}

const Register reg({"state", kUsageText, runState});

} // namespace
} // namespace vantor::cli
