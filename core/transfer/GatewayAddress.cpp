#include "transfer/GatewayAddress.h"

#include "editing/FieldText.h"
#include "text/Numbers.h"

namespace vantor::transfer {

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

std::string dottedText(const Octets& o) {
    return text::format("%d.%d.%d.%d", o[0], o[1], o[2], o[3]);
}

std::optional<Octets> gatewayHostAddress(std::string_view text) {
    auto o = parseDottedIp(text);
    if (!o || (*o)[0] < 1 || (*o)[0] > 223)
        return std::nullopt;
    return o;
}

ConnectTarget connectTarget(std::string_view host, std::string_view port) {
    const auto address = gatewayHostAddress(host);
    if (!address)
        return {TargetFault::Address, {}, 0};
    const auto value = editing::filledDigitsValue(port);
    if (!value || *value < 1 || *value > 65535)
        return {TargetFault::Port, {}, 0};
    return {TargetFault::None, dottedText(*address), *value};
}

} // namespace vantor::transfer
