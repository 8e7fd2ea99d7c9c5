// vantor-cli load rtu --type T [--ip A] [--port P] [--com1 B,P,S,ADDR]
//                     [--com2 B,P,S,ADDR] [--verbose]
// vantor-cli load ip [--ip A] [--port P] --set-ip I --mask K --gw G
//                    --mport N [--verbose]
// The two VantorLoad operations on the gateway at A (default: the address in
// IP/ip.txt) on configuration port P (default 5032): connect, press RTU设置
// or IP设置 and wait for the end of the run, with the real timers. B, P and
// S are indexes into the baud, parity and stop-bit lists, ADDR the MODBUS
// address; the defaults are the dialog's. The address files of the current
// directory are read and written as the program does. Prints "下载完成" and
// exits 0 on success; otherwise the message on stderr and exit 1.
#include "BlockingDriver.h"
#include "CliCommand.h"
#include "TransferSupport.h"

#include "editing/ComPropertiesForm.h"
#include "load/LoadExchange.h"

#include <cstdio>
#include <filesystem>
#include <sstream>

namespace vantor::cli {
namespace {

constexpr const char* kUsageText =
    "rtu --type T [--ip A] [--port P] [--com1 BAUD,PARITY,STOP,ADDR] [--com2 BAUD,PARITY,STOP,ADDR] "
    "[--verbose]\n"
    "       load ip [--ip A] [--port P] --set-ip I --mask K --gw G --mport N [--verbose]";

// "BAUD,PARITY,STOP,ADDR": three list indexes and the address as typed.
bool parsePort(const std::string& text, load::PortFields& port) {
    std::vector<std::string> parts;
    std::stringstream in(text);
    for (std::string part; std::getline(in, part, ',');)
        parts.push_back(part);
    if (parts.size() != 4)
        return false;
    const std::size_t sizes[] = {editing::baudTexts().size(), editing::parityTexts().size(),
                                 editing::stopTexts().size()};
    int values[3] = {};
    for (int i = 0; i < 3; ++i) {
        const std::string& p = parts[static_cast<std::size_t>(i)];
        if (p.size() != 1 || p[0] < '0' || static_cast<std::size_t>(p[0] - '0') >= sizes[i])
            return false;
        values[i] = p[0] - '0';
    }
    port = {values[0], values[1], values[2], parts[3]};
    return true;
}

int usageError(const std::string& why) {
    if (!why.empty())
        std::fprintf(stderr, "vantor-cli load: %s\n", why.c_str());
    std::fprintf(stderr, "usage: vantor-cli load %s\n", kUsageText);
    return kUsage;
}

int runLoad(const std::vector<std::string>& args) {
    Options o(args, {"--type", "--ip", "--port", "--com1", "--com2", "--set-ip", "--mask", "--gw", "--mport"},
              {"--verbose"});
    if (!o.ok())
        return usageError(o.error());
    if (o.positional().size() != 1 || (o.positional()[0] != "rtu" && o.positional()[0] != "ip"))
        return usageError("");
    const bool rtu = o.positional()[0] == "rtu";

    // The dialog's initial values; the gateway IP is proposed from the
    // address file when the exchange starts, unless --ip names one.
    load::LoadFields fields;
    if (auto port = o.value("--port"))
        fields.configPort = *port;
    if (rtu) {
        if (o.value("--set-ip") || o.value("--mask") || o.value("--gw") || o.value("--mport"))
            return usageError("the network settings belong to load ip");
        auto type = o.value("--type");
        if (!type)
            return usageError("--type is required");
        auto index = load::deviceTypeIndex(*type);
        if (!index)
            return usageError("unknown device type " + *type);
        fields.deviceType = *index;
        if (auto c = o.value("--com1"); c && !parsePort(*c, fields.com1))
            return usageError("bad --com1 " + *c);
        if (auto c = o.value("--com2"); c && !parsePort(*c, fields.com2))
            return usageError("bad --com2 " + *c);
    } else {
        if (o.value("--type") || o.value("--com1") || o.value("--com2"))
            return usageError("the serial settings belong to load rtu");
        auto ip = o.value("--set-ip");
        auto mask = o.value("--mask");
        auto gw = o.value("--gw");
        auto mport = o.value("--mport");
        if (!ip || !mask || !gw || !mport)
            return usageError("--set-ip, --mask, --gw and --mport are required");
        fields.newIp = *ip;
        fields.mask = *mask;
        fields.gateway = *gw;
        fields.modPort = *mport;
    }

    std::error_code ec;
    load::LoadExchange exchange(std::filesystem::current_path(ec).string());
    transfer::StreamWireLog log(stderr);
    blocking::BlockingDriver driver(exchange, o.flag("--verbose") ? &log : nullptr);
    const bool addressGiven = o.value("--ip").has_value();
    driver.onMessage = [addressGiven](const Message& m) {
        // Without --ip a missing address file matters; with it, it does not.
        if (addressGiven && m.text == load::kMissingFile)
            return;
        std::fprintf(m.kind == MessageKind::Information ? stdout : stderr, "%s\n", m.text.c_str());
    };

    bool connectPressed = false, operationPressed = false, refused = false;
    driver.afterEvent = [&] {
        if (exchange.outcome() != load::Outcome::None || refused) {
            exchange.cancel();
            return;
        }
        if (!connectPressed) {
            // The exchange has started: the fields as given, then 连接.
            connectPressed = true;
            fields.gatewayIp = o.value("--ip").value_or(exchange.fields().gatewayIp);
            exchange.setFields(fields);
            refused = !exchange.pressConnect();
        } else if (!operationPressed && exchange.linkState() == load::LinkState::Connected) {
            operationPressed = true;
            refused = !(rtu ? exchange.pressRtu() : exchange.pressIp());
        }
        if (refused)
            exchange.cancel();
    };
    driver.run();
    return exchange.outcome() == load::Outcome::Done ? kOk : kRefused;
}

const Register reg({"load", kUsageText, runLoad});

} // namespace
} // namespace vantor::cli
