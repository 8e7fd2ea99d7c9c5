#include "transfer/CommandFrame.h"

#include "model/GatewayCatalogue.h"

namespace vantor::transfer {

Bytes commandFrame(uint32_t code, uint32_t lengthField, ByteView body) {
    Bytes f;
    f.reserve(kFrameHeader + body.size());
    putU32(f, code);
    putU32(f, lengthField);
    f.insert(f.end(), body.begin(), body.end());
    return f;
}

int servicePort(std::string_view model, int accessPort) {
    return model::gatewayModel(model).has(model::FeatureServicePort60000) ? 60000 : accessPort;
}

} // namespace vantor::transfer
