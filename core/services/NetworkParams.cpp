#include "services/NetworkParams.h"

#include "model/GatewayCatalogue.h"
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

std::optional<std::string> completeDottedIp(std::string_view text) {
    std::string out;
    std::size_t parts = 1, digits = 0;
    int value = 0;
    for (char c : text) {
        if (c == '.') {
            if (++parts > 4)
                return std::nullopt;
            out += std::to_string(value) + '.';
            value = 0;
            digits = 0;
        } else if (c >= '0' && c <= '9') {
            value = value * 10 + (c - '0');
            if (++digits > 3 || value > 255)
                return std::nullopt;
        } else {
            return std::nullopt;
        }
    }
    out += std::to_string(value);
    for (; parts < 4; ++parts)
        out += ".0";
    return out;
}

std::optional<Octets> parseDottedIp(std::string_view text) {
    Octets o{};
    std::size_t part = 0;
    int value = -1;
    for (char c : text) {
        if (c == '.') {
            if (value < 0 || part == 3)
                return std::nullopt;
            o[part++] = static_cast<uint8_t>(value);
            value = -1;
        } else if (c >= '0' && c <= '9') {
            value = (value < 0 ? 0 : value * 10) + (c - '0');
            if (value > 255)
                return std::nullopt;
        } else {
            return std::nullopt;
        }
    }
    if (value < 0 || part != 3)
        return std::nullopt;
    o[3] = static_cast<uint8_t>(value);
    return o;
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

std::optional<CheckedSettings> checkNetworkSettings(const NetworkSettings& s, MessageSink& sink) {
    auto port = parsePortText(s.portText);
    if (!port) {
        sink.error("错误", "端口取值范围:0-65535");
        return std::nullopt;
    }
    // The address fields only ever hold four octets; a text that is not one
    // counts as a wrong setting of that field.
    auto ip = parseDottedIp(s.ip);
    if (!ip || (*ip)[0] < 1 || (*ip)[0] > 223) {
        sink.error("错误", "网口1IP设置错误");
        return std::nullopt;
    }
    auto mask = parseDottedIp(s.mask);
    if (!mask || !maskAccepted(*mask)) {
        sink.error("错误", kMaskWrong);
        return std::nullopt;
    }
    auto gw = parseDottedIp(s.gateway);
    bool same = gw.has_value();
    for (int i = 0; same && i < 4; ++i)
        same = ((*ip)[i] & (*mask)[i]) == ((*gw)[i] & (*mask)[i]);
    if (!same) {
        sink.error("错误", "网口1IP和网关不在同一网段");
        return std::nullopt;
    }
    const CheckedSettings checked{*ip, *mask, *gw, static_cast<uint16_t>(*port)};
    if (const char* reason = lockOutReason(checked)) {
        sink.error("错误", reason);
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
