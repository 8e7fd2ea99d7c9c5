#include "services/DeviceInfo.h"

#include "model/GatewayCatalogue.h"
#include "services/SlaveStateRegisters.h"
#include "text/Gbk.h"
#include "text/Numbers.h"
#include "text/Shown.h"
#include "transfer/CommandFrame.h"

#include <array>

namespace vantor::services {

using namespace vantor::transfer;

namespace {

constexpr std::size_t kBuildTimeOffset = 20;
constexpr std::size_t kBuildTimeSize = 24;
constexpr std::size_t kMac1Offset = 44;
constexpr std::size_t kMac2Offset = 52;
constexpr std::size_t kMacSize = 6;

uint32_t le32(ByteView b, std::size_t offset) {
    return static_cast<uint32_t>(b[offset]) | static_cast<uint32_t>(b[offset + 1]) << 8 |
           static_cast<uint32_t>(b[offset + 2]) << 16 | static_cast<uint32_t>(b[offset + 3]) << 24;
}

std::string macText(ByteView b, std::size_t offset) {
    std::string s;
    for (std::size_t i = 0; i < kMacSize; ++i) {
        if (i)
            s += "-";
        s += text::format("%02X", static_cast<unsigned>(b[offset + i]));
    }
    return s;
}

struct NamedState {
    const char* text;
    Rgb colour;
};

constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kGreen{0, 176, 80};
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kAmber{255, 192, 0};

const std::array<NamedState, 5> kStatusGroup = {{{VT_TEXT("用户配置错误"), kRed},
                                                 {VT_TEXT("存储转发模式"), kGreen},
                                                 {VT_TEXT("参数配置模式"), kBlue},
                                                 {VT_TEXT("出厂测试模式"), kAmber},
                                                 {VT_TEXT("透明传输模式"), kGreen}}};
const std::array<NamedState, 4> kOtherGroup = {{{VT_TEXT("启动失败"), kRed},
                                                {VT_TEXT("工作模式"), kGreen},
                                                {VT_TEXT("配置模式"), kBlue},
                                                {VT_TEXT("测试模式"), kAmber}}};

} // namespace

RunState runStateFor(std::string_view model, int value) {
    auto pick = [value](const auto& table) -> RunState {
        if (value < 1 || static_cast<std::size_t>(value) > table.size())
            return {};
        const auto& n = table[static_cast<std::size_t>(value - 1)];
        return {n.text, n.colour};
    };
    return usesStatusLayout(model) ? pick(kStatusGroup) : pick(kOtherGroup);
}

std::size_t identificationSize(uint32_t lengthField) {
    // The run state is the last byte read: at 60 with MAC2, at 52 without.
    return lengthField == 52 ? 61 : 53;
}

std::optional<Identification> readIdentification(ByteView reply) {
    if (reply.size() < 8)
        return std::nullopt;
    Identification id;
    id.length = le32(reply, 4);
    if (reply.size() < identificationSize(id.length))
        return std::nullopt;
    id.hasMac2 = id.length == 52;
    for (std::size_t i = 0; i < 4; ++i)
        id.identity[i] = reply[kIdentityOffset + i];
    id.deviceId = text::format("%.8X", le32(reply, kIdentityOffset));
    id.version = text::format("%02X-%02X-%02X%02X", static_cast<unsigned>(reply[kVersionOffset + 3]),
                              static_cast<unsigned>(reply[kVersionOffset + 2]),
                              static_cast<unsigned>(reply[kVersionOffset + 1]),
                              static_cast<unsigned>(reply[kVersionOffset]));
    std::string build;
    for (std::size_t i = 0; i < kBuildTimeSize && reply[kBuildTimeOffset + i] != 0; ++i)
        build.push_back(static_cast<char>(reply[kBuildTimeOffset + i]));
    id.buildTime = text::fromGbk(build);
    id.mac1 = macText(reply, kMac1Offset);
    if (id.hasMac2)
        id.mac2 = macText(reply, kMac2Offset);
    id.runStateValue = reply[id.hasMac2 ? 60 : 52];
    return id;
}

std::optional<std::string> readSerialNumber(ByteView reply) {
    if (reply.size() < 24)
        return std::nullopt;
    std::string s;
    for (std::size_t i = 12; i < 24; ++i)
        s += text::format("%02X", static_cast<unsigned>(reply[i]));
    return s;
}

} // namespace vantor::services
