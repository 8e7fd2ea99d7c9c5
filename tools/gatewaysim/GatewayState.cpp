#include "GatewayState.h"

#include "common/AtomicFile.h"
#include "model/GatewayCatalogue.h"

#include <cstdio>

namespace vantor::sim {

transfer::Bytes unrelatedCommandFrame() {
    return transfer::Bytes{0x55, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0};
}

transfer::Bytes unrelatedModbusFrame() {
    return transfer::Bytes{0x55, 0x55, 0, 0, 0, 6, 9, 8, 0, 0, 0x55, 0x55};
}

std::array<uint8_t, 4> GatewayState::identity() const {
    const auto& m = model::gatewayModel(model_);
    // A model whose identity nobody checks still reports some code.
    uint8_t code = faults.identityCode.value_or(m.modelCode.value_or(0x76));
    auto tail = faults.identityTail.value_or(
        std::array<uint8_t, 3>{model::kIdentityTail[0], model::kIdentityTail[1], model::kIdentityTail[2]});
    return {code, tail[0], tail[1], tail[2]};
}

void GatewayState::dump(const std::string& name, const std::string& content) const {
    if (dumpDir_.empty())
        return;
    std::string error;
    if (!writeFileAtomically(dumpDir_ + "/" + name, content, &error))
        std::fprintf(stderr, "vantor-gatewaysim: dump %s: %s\n", name.c_str(), error.c_str());
}

void GatewayState::keepBlock(uint32_t command, const transfer::Bytes& block) {
    blocks_[command] = block;
    dump("block" + std::to_string(command) + ".hex", transfer::toHex(block) + "\n");
}

void GatewayState::keepNetworkParams(const transfer::Bytes& body) {
    netParams_ = body;
    dump("netparams.hex", transfer::toHex(body) + "\n");
}

void GatewayState::restarted() {
    ++restarts_;
    dump("restarts", std::to_string(restarts_) + "\n");
}

} // namespace vantor::sim
