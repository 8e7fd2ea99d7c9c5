#pragma once
// What VantorLoad sends: its device types, the serial settings of the
// gateway's ports, the field checks and the request frames. Every value of
// a request is a 32-bit little-endian word holding a value below 256, except
// inside the network-parameter body.
#include "services/NetworkParams.h"
#include "text/Shown.h"
#include "transfer/Bytes.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantor::load {

// The "设备类型" list, in its order.
inline constexpr std::array<const char*, 5> kDeviceTypes{"NXE-485-ZRTU2", "KX-P1R0-1.0", "NXE-485-ZRTU2E",
                                                         "KX-P1-1.0", "LNK-P1-1.0"};
// Index of a device type by name; nothing for an unknown name.
std::optional<int> deviceTypeIndex(std::string_view name);
// Types with COM1 only (indexes 1, 3 and 4); the others carry COM1 and COM2.
bool singlePort(int deviceType);

inline constexpr const char* kDataBits = "8";
inline constexpr int kMaxModbusAddress = 127;

// One serial port as the dialog shows it: list indexes into the baud,
// parity and stop-bit lists (editing::baudTexts, parityTexts, stopTexts)
// and the MODBUS address as typed.
struct PortFields {
    int baud = 3;
    int parity = 2;
    int stop = 0;
    std::string address;
    bool operator==(const PortFields&) const = default;
};

// The dialog's fields with their initial values (the gateway IP comes from
// the address file).
struct LoadFields {
    int deviceType = 0;
    std::string gatewayIp;
    std::string configPort = "5032";
    std::string newIp = "192.168.1.10";
    std::string mask = "255.255.255.0";
    std::string gateway = "192.168.1.1";
    std::string modPort = "502";
    PortFields com1{3, 2, 0, "17"};
    PortFields com2{3, 2, 0, "18"};
    bool operator==(const LoadFields&) const = default;
};

// Messages of the field checks.
inline constexpr const char* kIncompleteIp = VT_TEXT("请输入完整的IP地址");
inline constexpr const char* kConfigPortRange = VT_TEXT("配置端口取值范围:1-65535");
// One text for every MOD端口 the gateway cannot serve on: not digits, empty,
// 0 or above 65535.
inline constexpr const char* kModPortRange = VT_TEXT("MOD端口取值范围:1-65535");
inline constexpr const char* kModAddressRange = VT_TEXT("MOD地址取值范围:0-127");

// The gateway IP control's address from the text of the IP address file:
// the text is split at its first three "." and each part read as a decimal
// number (leading blanks and a sign allowed, reading stops at the first
// other character, nothing gives 0); the control keeps the low byte of
// each. "192.168.1.15\r\n" gives "192.168.1.15"; an empty text "0.0.0.0".
std::string proposedGatewayIp(std::string_view fileText);

using transfer::dottedText;

// Where to connect: the gateway IP, an address a gateway can have
// (transfer::connectTarget; otherwise "请输入完整的IP地址"), and the 配置端口
// (1..65535). Nothing, with the message in `refusal`, when a field is
// refused.
struct Endpoint {
    std::string host;
    int port = 0;
};
std::optional<Endpoint> checkEndpoint(const LoadFields& f, std::string* refusal);

// The MODBUS addresses of the ports the device type carries (0..127).
bool checkModbusAddresses(const LoadFields& f, std::string* refusal);

// The new network settings: the address rule of every program that sends
// network settings (services::networkAddressRefusal, with its texts), then
// MOD端口 1..65535, then the settings that would lock the gateway out
// (services::lockOutReason).
std::optional<services::CheckedSettings> checkNetworkFields(const LoadFields& f, std::string* refusal);
// The same checks on the four texts of a new-network-settings group (IP,
// mask, gateway, MODBUS TCP port), shared with VantorNet's network settings.
std::optional<services::CheckedSettings> checkNetworkTexts(std::string_view ip, std::string_view mask,
                                                           std::string_view gateway, std::string_view modPort,
                                                           std::string* refusal);

// --- requests ---------------------------------------------------------
transfer::Bytes identificationRequest(); // command 1, 8 bytes
transfer::Bytes restartRequest();        // command 2, 8 bytes
// Command 21 with its fixed content: length word 1, then the word 3.
inline constexpr uint32_t kFieldbusRequestLength = 1;
inline constexpr uint32_t kFieldbusRequestValue = 3;
transfer::Bytes fieldbusRequest();
// Command 20: per port the MODBUS address, stop-bit index, data bits 8,
// parity index and baud index; payload 40 bytes (COM1 and COM2) or 20
// (COM1 only). Call after checkModbusAddresses; list indexes out of range
// are programming errors (std::out_of_range).
transfer::Bytes rtuSettingsRequest(const LoadFields& f);
// Command 10 in the one-Ethernet form (32 bytes).
transfer::Bytes networkRequest(const services::CheckedSettings& s);

} // namespace vantor::load
