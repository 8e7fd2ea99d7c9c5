#include "GatewayPorts.h"

#include <QtGlobal>

namespace {
std::optional<int> portFromEnvironment(const char* name) {
    bool ok = false;
    const int port = qEnvironmentVariableIntValue(name, &ok);
    if (!ok || port < 1 || port > 65535)
        return std::nullopt;
    return port;
}
} // namespace

std::optional<int> accessPortOverride() {
    return portFromEnvironment("VANTOR_ACCESS_PORT");
}

int modbusPort() {
    return portFromEnvironment("VANTOR_MODBUS_PORT").value_or(502);
}
