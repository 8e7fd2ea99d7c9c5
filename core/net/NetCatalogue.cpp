#include "net/NetCatalogue.h"

namespace vantor::net {
namespace {

constexpr std::array<NetGatewayModel, 6> kModels{{
    {"NXE-485-ZRTU2", true, false, false},
    {"KX-P1R0-1.0", false, false, false},
    {"NXE-485-ZRTU2E", true, false, false},
    {"KX-P1-1.0", false, false, false},
    {"QB-H-NET2.0", false, true, false},
    {"LNK-P1-1.0", false, false, true},
}};

} // namespace

std::span<const NetGatewayModel> netGatewayModels() {
    return kModels;
}

const NetGatewayModel* findNetGatewayModel(std::string_view name) {
    for (const auto& m : kModels)
        if (m.name == name)
            return &m;
    return nullptr;
}

bool isTwoPortModel(std::string_view name) {
    const auto* m = findNetGatewayModel(name);
    return m && m->twoPorts;
}

bool isProfibusModel(std::string_view name) {
    const auto* m = findNetGatewayModel(name);
    return m && m->profibus;
}

bool hasWorkMode(std::string_view name) {
    const auto* m = findNetGatewayModel(name);
    return m && m->workMode;
}

int areaEnd(int area) {
    switch (area) {
    case 0:
    case 1:
        return kBitAreaEnd;
    case 3:
    case 4:
        return kWordAreaEnd;
    default:
        return 0;
    }
}

} // namespace vantor::net
