// vantor-cli netparams --model M [--ip A] [--port P] --set-ip I --mask K
//                      --gw G --mport N [--verbose]
// Writes new network settings into the gateway at A (default: the access IP
// of IP/ETHOption.xml) as the network-parameter dialog does: connect, check
// the fields, the 100-tick run with the request on the ninth tick, restart
// on acknowledgement. Prints the result text; exit 0 only on "下载完毕！",
// 1 when a field is refused (its message on stderr) or the gateway did not
// acknowledge.
#include "BlockingDriver.h"
#include "CliCommand.h"
#include "TransferSupport.h"

#include "model/GatewayCatalogue.h"
#include "services/NetworkParamsExchange.h"

#include <cstdio>
#include <filesystem>

namespace vantor::cli {
namespace {

constexpr const char* kUsageText =
    "--model M [--ip A] [--port P] --set-ip I --mask K --gw G --mport N [--verbose]";

int runNetparams(const std::vector<std::string>& args) {
    Options o(args, {"--model", "--ip", "--port", "--set-ip", "--mask", "--gw", "--mport"}, {"--verbose"});
    auto port = o.number("--port");
    auto model = o.value("--model");
    bool complete =
        model && o.value("--set-ip") && o.value("--mask") && o.value("--gw") && o.value("--mport");
    if (!o.ok() || !o.positional().empty() || !complete || (port && (*port < 1 || *port > 65535))) {
        if (!o.error().empty())
            std::fprintf(stderr, "vantor-cli netparams: %s\n", o.error().c_str());
        std::fprintf(stderr, "usage: vantor-cli netparams %s\n", kUsageText);
        return kUsage;
    }
    const auto* gateway = model::findGatewayModel(*model);
    if (!gateway) {
        std::fprintf(stderr, "vantor-cli netparams: unknown gateway model %s\n", model->c_str());
        return kUsage;
    }
    if (!gateway->has(model::FeatureNetworkParams)) {
        std::fprintf(stderr, "vantor-cli netparams: the network settings of %s are not set this way\n",
                     model->c_str());
        return kUsage;
    }

    model::CVantorDoc doc;
    doc.NewDocument(dataDirectoryOf("IP/ETHOption.xml"));
    doc.masters.push_back(model::CMaster{});
    doc.masters.back().masterName = *model;
    if (auto ip = o.value("--ip"))
        doc.IP = *ip;

    services::NetworkParamsExchange exchange(doc);
    if (port)
        exchange.setPortOverride(*port);
    const services::NetworkSettings fields{*o.value("--set-ip"), *o.value("--mask"), *o.value("--gw"),
                                           *o.value("--mport")};

    transfer::StreamWireLog log(stderr);
    blocking::BlockingDriver driver(exchange, o.flag("--verbose") ? &log : nullptr);
    driver.onStatus = [](const std::string& text) {
        if (!text.empty())
            std::printf("%s\n", text.c_str());
    };
    driver.onMessage = [](const Message& m) { std::fprintf(stderr, "%s\n", m.text.c_str()); };
    StderrSink sink;
    bool pressed = false;
    bool refused = false;
    driver.afterEvent = [&] {
        // "下载配置" once the connection is up.
        if (pressed || !exchange.connectedToGateway())
            return;
        pressed = true;
        if (!exchange.download(fields, sink)) {
            refused = true;
            exchange.cancel();
        }
    };
    auto result = driver.run();
    if (refused)
        return kRefused;
    if (!result.resultText.empty())
        std::printf("%s\n", result.resultText.c_str());
    return result.success ? kOk : kRefused;
}

const Register reg({"netparams", kUsageText, runNetparams});

} // namespace
} // namespace vantor::cli
