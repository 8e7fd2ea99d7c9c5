// vantor-cli control [--ip A] --address N --value HHHH [--mport P] [--verbose]
// Writes one slave's control word as the control word window does: the
// value must be four hex digits ("控制字输入错误,应为4个16进制数" otherwise,
// exit 1); N is the control word's display address (42001...). Prints
// "设置成功" and exits 0 when the gateway echoes the write; "设置失败" (the
// exception reply) or "无应答" go to stderr with exit 1. --ip defaults to
// the access IP of IP/ETHOption.xml; --mport to 502.
#include "BlockingDriver.h"
#include "CliCommand.h"
#include "TransferSupport.h"

#include "model/CVantorDoc.h"
#include "services/ControlWordExchange.h"

#include <cstdio>
#include <filesystem>

namespace vantor::cli {
namespace {

constexpr const char* kUsageText = "[--ip A] --address N --value HHHH [--mport P] [--verbose]";

int runControl(const std::vector<std::string>& args) {
    Options o(args, {"--ip", "--address", "--value", "--mport"}, {"--verbose"});
    auto port = o.number("--mport");
    auto address = o.number("--address");
    auto text = o.value("--value");
    if (!o.ok() || !o.positional().empty() || !address || !text || (port && (*port < 1 || *port > 65535)) ||
        !services::ControlWordExchange::validDisplayAddress(*address)) {
        if (!o.error().empty())
            std::fprintf(stderr, "vantor-cli control: %s\n", o.error().c_str());
        std::fprintf(stderr, "usage: vantor-cli control %s\n", kUsageText);
        return kUsage;
    }
    StderrSink sink;
    auto value = services::ControlWordExchange::parseValue(*text, sink);
    if (!value)
        return kRefused;
    const std::string host = accessHost(o);

    services::ControlWordExchange exchange(*address, *value, {host, port.value_or(services::kModbusPort)});
    transfer::StreamWireLog log(stderr);
    blocking::BlockingDriver driver(exchange, o.flag("--verbose") ? &log : nullptr);
    driver.onMessage = [](const Message& m) {
        std::fprintf(m.kind == MessageKind::Information ? stdout : stderr, "%s\n", m.text.c_str());
    };
    auto result = driver.run();
    return result.success ? kOk : kRefused;
}

const Register reg({"control", kUsageText, runControl});

} // namespace
} // namespace vantor::cli
