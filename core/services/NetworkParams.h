#pragma once
// The gateway's network settings as the network-parameter dialog enters
// them: the checks with their messages and the set-network-parameters
// request.
#include "common/MessageSink.h"
#include "transfer/Bytes.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantor::services {

using Octets = std::array<uint8_t, 4>;

struct NetworkSettings {
    std::string ip;
    std::string mask;
    std::string gateway;
    std::string portText; // MODBUS TCP port as typed
};

// The port text: decimal digits only, 0..65535; an empty text counts as 0.
std::optional<int> parsePortText(std::string_view text);

// A dotted IPv4 text with four decimal octets 0..255.
std::optional<Octets> parseDottedIp(std::string_view text);

// A subnet mask the gateway accepts: a run of ones then zeros, at least two
// ones and at least one zero (0.0.0.0, 128.0.0.0 and 255.255.255.255 are
// refused).
bool maskAccepted(const Octets& mask);

struct CheckedSettings {
    Octets ip;
    Octets mask;
    Octets gateway;
    uint16_t port;
};

// The checks of the "下载配置" button, in order, stopping at the first
// failure with its message: port range, IP first octet 1..223, mask,
// IP and gateway in one subnet.
std::optional<CheckedSettings> checkNetworkSettings(const NetworkSettings& s, MessageSink& sink);

// Body length of the request: 48 (two Ethernet ports) or 24.
int networkBodyLength(std::string_view model);

// The set-network-parameters request (command 10).
transfer::Bytes networkParamsRequest(std::string_view model, const CheckedSettings& s);
// The same with the body length given: 24 (one Ethernet port) or 48 (both
// ports get the same settings).
transfer::Bytes networkParamsRequest(const CheckedSettings& s, int bodyLength);

} // namespace vantor::services
