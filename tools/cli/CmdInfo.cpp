// vantor-cli info --model M [--ip A] [--port P] [--verbose]
// Reads the gateway's identity and state as the device state window does
// (identification with the model check, then the serial number) and prints
// one "name value" line per field: id, version, build, mac1, mac2, state
// (the run-state name, then its colour as R,G,B), serial. Exit 0 when both
// replies came; the window's messages ("设备型号不匹配 ...", "主站没有响应")
// go to stderr with exit 1. --ip defaults to the access IP of
// IP/ETHOption.xml; --port to the service port (5032, or 60000 for
// TRX-H-QMB6).
#include "BlockingDriver.h"
#include "CliCommand.h"
#include "JsonOutput.h"
#include "TransferSupport.h"

#include "model/CVantorDoc.h"
#include "model/GatewayCatalogue.h"
#include "services/DeviceInfoExchange.h"

#include <cstdio>
#include <filesystem>

namespace vantor::cli {
namespace {

constexpr const char* kUsageText = "--model M [--ip A] [--port P] [--verbose]";

int runInfo(const std::vector<std::string>& args) {
    Options o(args, {"--model", "--ip", "--port"}, {"--verbose"});
    auto port = o.number("--port");
    auto modelName = o.value("--model");
    if (!o.ok() || !o.positional().empty() || !modelName || (port && (*port < 1 || *port > 65535))) {
        if (!o.error().empty())
            std::fprintf(stderr, "vantor-cli info: %s\n", o.error().c_str());
        std::fprintf(stderr, "usage: vantor-cli info %s\n", kUsageText);
        return kUsage;
    }
    if (!model::findGatewayModel(*modelName)) {
        reportError("vantor-cli info: unknown gateway model " + *modelName);
        return kUsage;
    }
    model::CVantorDoc doc;
    doc.NewDocument(dataDirectoryOf("IP/ETHOption.xml"));
    services::DeviceInfoSettings settings;
    settings.host = o.value("--ip").value_or(doc.IP);
    settings.accessPort = doc.accessPort;
    settings.portOverride = port;

    services::DeviceInfoExchange exchange(*modelName, settings);
    transfer::StreamWireLog log(stderr);
    blocking::BlockingDriver driver(exchange, o.flag("--verbose") ? &log : nullptr);
    driver.onMessage = [](const Message& m) { reportError(m.text); };
    auto result = driver.run();
    if (!result.success)
        return kRefused;
    const auto& f = exchange.fields();
    if (jsonMode()) {
        Json state = nullptr;
        if (f.runState.colour)
            state = {{"text", f.runState.text},
                     {"colour", {f.runState.colour->r, f.runState.colour->g, f.runState.colour->b}}};
        printJson({{"id", f.deviceId},
                   {"version", f.version},
                   {"build", f.buildTime},
                   {"mac1", f.mac1},
                   {"mac2", f.mac2},
                   {"state", state},
                   {"serial", f.serialNumber}});
        return kOk;
    }
    std::printf("id %s\nversion %s\nbuild %s\nmac1 %s\nmac2 %s\n", f.deviceId.c_str(), f.version.c_str(),
                f.buildTime.c_str(), f.mac1.c_str(), f.mac2.c_str());
    if (f.runState.colour)
        std::printf("state %s %d,%d,%d\n", f.runState.text.c_str(), f.runState.colour->r,
                    f.runState.colour->g, f.runState.colour->b);
    else
        std::printf("state\n");
    std::printf("serial %s\n", f.serialNumber.c_str());
    return kOk;
}

const Register reg({"info", kUsageText, runInfo, true});

} // namespace
} // namespace vantor::cli
