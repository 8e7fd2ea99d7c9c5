#pragma once
// Addresses as the programs' address fields hold them (four dotted decimal
// octets), which of them a gateway can have, and where a window or command
// may connect.
#include "text/Shown.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantor::transfer {

using Octets = std::array<uint8_t, 4>;

// A dotted IPv4 text with four decimal octets 0..255.
std::optional<Octets> parseDottedIp(std::string_view text);

// What an address control holds for a typed text: up to four dot-separated
// octets of at most three digits and 0..255 each, a blank or missing octet
// counting as 0 ("1.2.3" holds 1.2.3.0). Empty when the text cannot be typed
// into such a control (a fifth part, 256, a letter).
std::optional<std::string> completeDottedIp(std::string_view text);

// "192.168.1.10": the octets written the way the address controls show them.
std::string dottedText(const Octets& octets);

// An address a gateway can have: four octets with the first in 1..223. This
// leaves out 0.x.x.x (connecting there reaches this machine), multicast
// (224..239), the reserved addresses above and the broadcast
// 255.255.255.255. Loopback stays: a simulated gateway listens there.
std::optional<Octets> gatewayHostAddress(std::string_view text);

// Where to connect. The address must be complete and one a gateway can
// have: a partial text is refused rather than completed here, because the
// user must see what is connected to (the windows complete their field
// first; the resolver would read "1.2.3" as 1.2.0.3). The port is decimal
// digits, 1..65535; an empty text is refused.
enum class TargetFault { None, Address, Port };
struct ConnectTarget {
    TargetFault fault = TargetFault::None;
    std::string host; // as connected to: "192.168.1.10" for "192.168.001.010"
    int port = 0;
    bool ok() const { return fault == TargetFault::None; }
};
ConnectTarget connectTarget(std::string_view host, std::string_view port);

// The texts of a refused address and port in VantorNet's server dialog and
// its device windows; the port's also in Vantor's device windows.
inline constexpr const char* kIpFormatWrong = VT_TEXT("IP地址格式错误");
inline constexpr const char* kPortFormatWrong = VT_TEXT("端口格式错误");

} // namespace vantor::transfer
