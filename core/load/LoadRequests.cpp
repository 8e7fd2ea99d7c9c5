#include "load/LoadRequests.h"

#include "editing/ComPropertiesForm.h"
#include "editing/FieldText.h"
#include "text/Numbers.h"
#include "transfer/CommandFrame.h"

#include <stdexcept>

namespace vantor::load {

using transfer::Bytes;

std::optional<int> deviceTypeIndex(std::string_view name) {
    for (std::size_t i = 0; i < kDeviceTypes.size(); ++i)
        if (name == kDeviceTypes[i])
            return static_cast<int>(i);
    return std::nullopt;
}

bool singlePort(int deviceType) {
    return deviceType == 1 || deviceType == 3 || deviceType == 4;
}

std::string proposedGatewayIp(std::string_view fileText) {
    services::Octets o{};
    std::string_view rest = fileText;
    for (std::size_t i = 0; i < o.size(); ++i) {
        const auto dot = i < 3 ? rest.find('.') : std::string_view::npos;
        o[i] = static_cast<uint8_t>(text::readDecimal(rest.substr(0, dot)));
        rest = dot == std::string_view::npos ? std::string_view{} : rest.substr(dot + 1);
    }
    return dottedText(o);
}

namespace {
// A number field: digits only, not empty, within min..max.
std::optional<int> numberField(std::string_view textValue, int min, int max) {
    auto v = editing::filledDigitsValue(textValue);
    if (!v || *v < min || *v > max)
        return std::nullopt;
    return v;
}

template <typename T> std::optional<T> refuse(std::string* refusal, const char* text) {
    if (refusal)
        *refusal = text;
    return std::nullopt;
}
} // namespace

std::optional<Endpoint> checkEndpoint(const LoadFields& f, std::string* refusal) {
    const auto target = transfer::connectTarget(f.gatewayIp, f.configPort);
    if (target.fault == transfer::TargetFault::Address)
        return refuse<Endpoint>(refusal, kIncompleteIp);
    if (target.fault == transfer::TargetFault::Port)
        return refuse<Endpoint>(refusal, kConfigPortRange);
    return Endpoint{target.host, target.port};
}

bool checkModbusAddresses(const LoadFields& f, std::string* refusal) {
    const bool ok = numberField(f.com1.address, 0, kMaxModbusAddress) &&
                    (singlePort(f.deviceType) || numberField(f.com2.address, 0, kMaxModbusAddress));
    if (!ok && refusal)
        *refusal = kModAddressRange;
    return ok;
}

std::optional<services::CheckedSettings> checkNetworkFields(const LoadFields& f, std::string* refusal) {
    return checkNetworkTexts(f.newIp, f.mask, f.gateway, f.modPort, refusal);
}

std::optional<services::CheckedSettings> checkNetworkTexts(std::string_view ipText, std::string_view maskText,
                                                           std::string_view gatewayText,
                                                           std::string_view modPort, std::string* refusal) {
    services::CheckedSettings checked{};
    if (const char* reason = services::networkAddressRefusal(ipText, maskText, gatewayText, checked))
        return refuse<services::CheckedSettings>(refusal, reason);
    auto port = numberField(modPort, 1, 65535);
    if (!port)
        return refuse<services::CheckedSettings>(refusal, kModPortRange);
    checked.port = static_cast<uint16_t>(*port);
    // Settings that would leave the gateway unreachable are not sent.
    if (const char* reason = services::lockOutReason(checked))
        return refuse<services::CheckedSettings>(refusal, reason);
    return checked;
}

Bytes identificationRequest() {
    return transfer::bareRequest(transfer::command::kDeviceState);
}

Bytes restartRequest() {
    return transfer::bareRequest(transfer::command::kRestart);
}

Bytes fieldbusRequest() {
    Bytes body;
    transfer::putU32(body, kFieldbusRequestValue);
    return transfer::commandFrame(transfer::command::kFieldbusConfig, kFieldbusRequestLength, body);
}

namespace {
void putPort(Bytes& body, const PortFields& p) {
    // Indexes past the lists are a caller's fault, not a user's.
    if (p.baud < 0 || p.baud >= static_cast<int>(editing::baudTexts().size()) || p.parity < 0 ||
        p.parity >= static_cast<int>(editing::parityTexts().size()) || p.stop < 0 ||
        p.stop >= static_cast<int>(editing::stopTexts().size()))
        throw std::out_of_range("serial list index");
    transfer::putU32(body, static_cast<uint32_t>(editing::fieldValue(p.address)) & 0xFF);
    transfer::putU32(body, static_cast<uint32_t>(p.stop));
    transfer::putU32(body, 8);
    transfer::putU32(body, static_cast<uint32_t>(p.parity));
    transfer::putU32(body, static_cast<uint32_t>(p.baud));
}
} // namespace

Bytes rtuSettingsRequest(const LoadFields& f) {
    if (f.deviceType < 0 || f.deviceType >= static_cast<int>(kDeviceTypes.size()))
        throw std::out_of_range("device type index");
    Bytes body;
    putPort(body, f.com1);
    if (!singlePort(f.deviceType))
        putPort(body, f.com2);
    return transfer::commandFrame(transfer::command::kRtuConfig, static_cast<uint32_t>(body.size()), body);
}

Bytes networkRequest(const services::CheckedSettings& s) {
    return services::networkParamsRequest(s, 24);
}

} // namespace vantor::load
