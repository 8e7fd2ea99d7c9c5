#pragma once
// The gateway's network settings as the network-parameter dialog enters
// them: the checks with their messages and the set-network-parameters
// request.
#include "common/MessageSink.h"
#include "text/Shown.h"
#include "transfer/Bytes.h"
#include "transfer/GatewayAddress.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantor::services {

using transfer::completeDottedIp;
using transfer::Octets;
using transfer::parseDottedIp;

struct NetworkSettings {
    std::string ip;
    std::string mask;
    std::string gateway;
    std::string portText; // MODBUS TCP port as typed
};

// The port text: decimal digits only, 0..65535; an empty text counts as 0.
std::optional<int> parsePortText(std::string_view text);

// A subnet mask the gateway accepts: a run of ones then zeros, at least two
// ones and at least one zero (0.0.0.0, 128.0.0.0 and 255.255.255.255 are
// refused).
bool maskAccepted(const Octets& mask);
inline constexpr const char* kMaskWrong = VT_TEXT("网口1子网掩码设置错误");

struct CheckedSettings {
    Octets ip;
    Octets mask;
    Octets gateway;
    uint16_t port;
};

// The rule for the addresses of new network settings, one for every window
// and command that sends them, stopping at the first failure: the IP an
// address a gateway can have (four octets, the first in 1..223), the mask
// accepted, the default gateway four octets (a text that is no address
// names the field, not the subnet; an empty window field reads 0.0.0.0,
// which is outside every subnet) in the IP's subnet (IP AND mask equal to
// gateway AND mask). Null when the addresses pass, with their octets in
// `out` (its port is left alone); otherwise the refusal text.
inline constexpr const char* kIpWrong = VT_TEXT("网口1IP设置错误");
inline constexpr const char* kGatewayWrong = VT_TEXT("网口1网关设置错误");
inline constexpr const char* kGatewayOutsideSubnet = VT_TEXT("网口1IP和网关不在同一网段");
const char* networkAddressRefusal(std::string_view ip, std::string_view mask, std::string_view gateway,
                                  CheckedSettings& out);

// The checks of the VT_TEXT("下载配置") button, in order, stopping at the first
// failure with its message: port range, the address rule above; then the
// settings that would lock the gateway out: MODBUS TCP port 0, an IP that
// is its subnet's network or broadcast address, a default gateway equal to
// the IP.
inline constexpr const char* kPortZero = VT_TEXT("网口1端口不能为0");
inline constexpr const char* kIpIsNetworkAddress = VT_TEXT("网口1IP不能为子网的网络地址");
inline constexpr const char* kIpIsBroadcastAddress = VT_TEXT("网口1IP不能为子网的广播地址");
inline constexpr const char* kGatewayIsIp = VT_TEXT("网口1默认网关不能与IP相同");
std::optional<CheckedSettings> checkNetworkSettings(const NetworkSettings& s, MessageSink& sink);

// The first of the lock-out rules above that `s` breaks, or null.
const char* lockOutReason(const CheckedSettings& s);

// Body length of the request: 48 (two Ethernet ports) or 24.
int networkBodyLength(std::string_view model);

// The set-network-parameters request (command 10).
transfer::Bytes networkParamsRequest(std::string_view model, const CheckedSettings& s);
// The same with the body length given: 24 (one Ethernet port) or 48 (both
// ports get the same settings).
transfer::Bytes networkParamsRequest(const CheckedSettings& s, int bodyLength);

} // namespace vantor::services
