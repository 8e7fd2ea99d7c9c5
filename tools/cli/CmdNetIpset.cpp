// vantor-cli net-ipset [--ip A] [--port P] --set-ip I --mask K --gw G
//                      --mport N [--verbose]
// VantorNet's network settings (IP地址设置): opens the dialog over the
// address files of the current directory (their address is printed; a
// missing IP file ends with "你选择了下载空文件！"), connects to the gateway
// at A (default 192.168.1.10) on configuration port P (default 5032) and
// presses 下载配置 with the new settings. On acknowledgement the address
// files are rewritten. Prints "下载完毕！" and exits 0 on success;
// otherwise the message on stderr and exit 1.
#include "BlockingDriver.h"
#include "CliCommand.h"
#include "TransferSupport.h"

#include "net/NetIpSetExchange.h"

#include <cstdio>

namespace vantor::cli {
namespace {

constexpr const char* kUsageText = "[--ip A] [--port P] --set-ip I --mask K --gw G --mport N [--verbose]";

int runNetIpset(const std::vector<std::string>& args) {
    Options o(args, {"--ip", "--port", "--set-ip", "--mask", "--gw", "--mport"}, {"--verbose"});
    auto port = o.number("--port");
    const bool complete = o.value("--set-ip") && o.value("--mask") && o.value("--gw") && o.value("--mport");
    if (!o.ok() || !o.positional().empty() || !complete || (port && (*port < 1 || *port > 65535))) {
        if (!o.error().empty())
            std::fprintf(stderr, "vantor-cli net-ipset: %s\n", o.error().c_str());
        std::fprintf(stderr, "usage: vantor-cli net-ipset %s\n", kUsageText);
        return kUsage;
    }
    net::IpSetFields fields;
    fields.connectIp = o.value("--ip").value_or(fields.connectIp);
    fields.configPort = port.value_or(fields.configPort);
    fields.newIp = *o.value("--set-ip");
    fields.mask = *o.value("--mask");
    fields.gateway = *o.value("--gw");
    fields.port = *o.value("--mport");

    net::NetIpSetExchange exchange(startDirectory());
    exchange.setFields(fields);
    transfer::StreamWireLog log(stderr);
    blocking::BlockingDriver driver(exchange, o.flag("--verbose") ? &log : nullptr);
    printStatusChanges(driver);
    driver.onMessage = [](const Message& m) { std::fprintf(stderr, "%s\n", m.text.c_str()); };
    bool connectPressed = false, downloadPressed = false;
    driver.afterEvent = [&] {
        if (exchange.finished() || downloadPressed)
            return;
        if (!connectPressed) {
            connectPressed = exchange.pressConnect();
        } else if (exchange.connected()) {
            downloadPressed = true;
            if (!exchange.pressDownload())
                exchange.cancel(); // a refused field: its message is out
        } else {
            exchange.cancel(); // the connection failed: "连接失败" is out
        }
    };
    auto result = driver.run();
    if (!result.resultText.empty())
        std::fprintf(result.success ? stdout : stderr, "%s\n", result.resultText.c_str());
    return result.success ? kOk : kRefused;
}

const Register reg({"net-ipset", kUsageText, runNetIpset});

} // namespace
} // namespace vantor::cli
