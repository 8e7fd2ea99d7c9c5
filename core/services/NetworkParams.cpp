#include "services/NetworkParams.h"

#include "model/GatewayCatalogue.h"
#include "text/Shown.h"
#include "transfer/CommandFrame.h"

namespace vantor::services {

std::optional<int> parsePortText(std::string_view text) {
    long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > 65535)
            return std::nullopt;
    }
    return static_cast<int>(value);
}

namespace {
bool partialRun(uint8_t v, bool allowZero) {
    switch (v) {
    case 0x00:
        return allowZero;
    case 0x80:
        return allowZero; // a single leading one is only accepted after full octets
    case 0xC0:
    case 0xE0:
    case 0xF0:
    case 0xF8:
    case 0xFC:
    case 0xFE:
        return true;
    default:
        return false;
    }
}
} // namespace

bool maskAccepted(const Octets& m) {
    if (m[1] == 0 && m[2] == 0 && m[3] == 0 && partialRun(m[0], false))
        return true;
    if (m[0] == 255 && m[2] == 0 && m[3] == 0 && partialRun(m[1], true))
        return true;
    if (m[0] == 255 && m[1] == 255 && m[3] == 0 && partialRun(m[2], true))
        return true;
    if (m[0] == 255 && m[1] == 255 && m[2] == 255 && partialRun(m[3], true))
        return true;
    return false;
}

const char* lockOutReason(const CheckedSettings& s) {
    bool hostZeros = true, hostOnes = true;
    for (int i = 0; i < 4; ++i) {
        const auto host = static_cast<uint8_t>(s.ip[i] & ~s.mask[i]);
        hostZeros = hostZeros && host == 0;
        hostOnes = hostOnes && host == static_cast<uint8_t>(~s.mask[i]);
    }
    return s.port == 0         ? kPortZero
           : hostZeros         ? kIpIsNetworkAddress
           : hostOnes          ? kIpIsBroadcastAddress
           : s.gateway == s.ip ? kGatewayIsIp
                               : nullptr;
}

const char* networkAddressRefusal(std::string_view ipText, std::string_view maskText,
                                  std::string_view gatewayText, CheckedSettings& out) {
    // The address fields only ever hold four octets; a text that is not one
    // counts as a wrong setting of that field.
    const auto ip = transfer::gatewayHostAddress(ipText);
    if (!ip)
        return kIpWrong;
    const auto mask = parseDottedIp(maskText);
    if (!mask || !maskAccepted(*mask))
        return kMaskWrong;
    const auto gateway = parseDottedIp(gatewayText);
    if (!gateway)
        return kGatewayWrong;
    bool same = true;
    for (int i = 0; same && i < 4; ++i)
        same = ((*ip)[i] & (*mask)[i]) == ((*gateway)[i] & (*mask)[i]);
    if (!same)
        return kGatewayOutsideSubnet;
    out.ip = *ip;
    out.mask = *mask;
    out.gateway = *gateway;
    return nullptr;
}

std::optional<CheckedSettings> checkNetworkSettings(const NetworkSettings& s, MessageSink& sink) {
    auto port = parsePortText(s.portText);
    if (!port) {
        sink.error(VT_TEXT("错误"), VT_TEXT("端口取值范围:0-65535"));
        return std::nullopt;
    }
    CheckedSettings checked{};
    const char* reason = networkAddressRefusal(s.ip, s.mask, s.gateway, checked);
    checked.port = static_cast<uint16_t>(*port);
    if (!reason)
        reason = lockOutReason(checked);
    if (reason) {
        sink.error(VT_TEXT("错误"), reason);
        return std::nullopt;
    }
    return checked;
}

int networkBodyLength(std::string_view model) {
    return model::gatewayModel(model).has(model::FeatureTwoPortBlocks) ? 48 : 24;
}

transfer::Bytes networkParamsRequest(std::string_view model, const CheckedSettings& s) {
    return networkParamsRequest(s, networkBodyLength(model));
}

transfer::Bytes networkParamsRequest(const CheckedSettings& s, int length) {
    transfer::Bytes port;
    port.insert(port.end(), s.ip.begin(), s.ip.end());
    port.insert(port.end(), s.mask.begin(), s.mask.end());
    port.insert(port.end(), s.gateway.begin(), s.gateway.end());
    transfer::putU16(port, s.port);
    port.resize(24, 0);
    transfer::Bytes body = port;
    if (length == 48)
        body.insert(body.end(), port.begin(), port.end()); // the second port gets the same settings
    return transfer::commandFrame(transfer::command::kNetworkParams, static_cast<uint32_t>(length), body);
}

} // namespace vantor::services
