// vantor-cli firmware FILE.bin --model M [--ip A] [--port P] [--verbose]
// Updates the gateway's firmware as the firmware window does: identification
// and model check, the image in blocks of 240 bytes, then the closing frame
// with the 32-byte header. FILE.bin's name must begin with the model name,
// as the window lists only such files. A progress line shows the blocks
// acknowledged ("progress K/N"; rewritten in place on a terminal). Prints
// the completion message and exits 0 when the gateway accepts the update;
// every refusal or failure message goes to stderr with exit 1. Only the
// models whose window opens are accepted. --ip defaults to the access IP of
// IP/ETHOption.xml; --port to the access port 5032.
#include "BlockingDriver.h"
#include "CliCommand.h"
#include "TransferSupport.h"

#include "model/CVantorDoc.h"
#include "model/GatewayCatalogue.h"
#include "services/FirmwareExchange.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace vantor::cli {
namespace {

constexpr const char* kUsageText = "FILE.bin --model M [--ip A] [--port P] [--verbose]";

std::optional<transfer::Bytes> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    transfer::Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return std::nullopt;
    return bytes;
}

int runFirmware(const std::vector<std::string>& args) {
    Options o(args, {"--model", "--ip", "--port"}, {"--verbose"});
    auto port = o.number("--port");
    auto modelName = o.value("--model");
    if (!o.ok() || o.positional().size() != 1 || !modelName || (port && (*port < 1 || *port > 65535))) {
        if (!o.error().empty())
            std::fprintf(stderr, "vantor-cli firmware: %s\n", o.error().c_str());
        std::fprintf(stderr, "usage: vantor-cli firmware %s\n", kUsageText);
        return kUsage;
    }
    if (!model::findGatewayModel(*modelName)) {
        std::fprintf(stderr, "vantor-cli firmware: unknown gateway model %s\n", modelName->c_str());
        return kUsage;
    }
    if (!services::firmwareUpdateOffered(*modelName)) {
        std::fprintf(stderr, "vantor-cli firmware: firmware updates are not offered for %s\n",
                     modelName->c_str());
        return kUsage;
    }
    const std::string path = o.positional()[0];
    const std::string name = std::filesystem::path(path).filename().string();
    if (name.compare(0, modelName->size(), *modelName) != 0) {
        std::fprintf(stderr, "vantor-cli firmware: %s is not named for %s\n", name.c_str(),
                     modelName->c_str());
        return kUsage;
    }
    model::CVantorDoc doc;
    doc.NewDocument(dataDirectoryOf("IP/ETHOption.xml"));
    services::FirmwareSettings settings;
    settings.host = o.value("--ip").value_or(doc.IP);
    settings.accessPort = doc.accessPort;
    settings.portOverride = port;

    // A file that cannot be read is reported by the exchange, as the window
    // does, after the identification.
    services::FirmwareExchange exchange(*modelName, readFile(path), settings);
    transfer::StreamWireLog log(stderr);
    blocking::BlockingDriver driver(exchange, o.flag("--verbose") ? &log : nullptr);
    const bool terminal = ::isatty(STDOUT_FILENO) == 1;
    bool progressShown = false;
    int lastPercent = -1;
    driver.onProgress = [&](const transfer::ProgressAction& p) {
        const int span = p.maximum - p.minimum;
        const int percent = span > 0 ? (p.position - p.minimum) * 100 / span : 100;
        if (terminal) {
            std::printf("\rprogress %d/%d", p.position, p.maximum);
            progressShown = true;
        } else if (percent != lastPercent) {
            std::printf("progress %d/%d\n", p.position, p.maximum);
        }
        lastPercent = percent;
        std::fflush(stdout);
    };
    driver.onMessage = [&](const Message& m) {
        if (progressShown) {
            std::printf("\n");
            progressShown = false;
        }
        std::fprintf(m.kind == MessageKind::Information ? stdout : stderr, "%s\n", m.text.c_str());
    };
    auto result = driver.run();
    return result.success ? kOk : kRefused;
}

const Register reg({"firmware", kUsageText, runFirmware});

} // namespace
} // namespace vantor::cli
