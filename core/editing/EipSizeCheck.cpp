#include "editing/EipSizeCheck.h"

#include "model/GatewayCatalogue.h"
#include "editing/EipAddressTable.h"

namespace vantor::editing {

const EipSizeCheck& standardEipSizeCheck() {
    static const EipSizeCheck check = [](const model::CVantorDoc& doc, MessageSink& sink) {
        return services::checkEipSize(doc, sink);
    };
    return check;
}

bool runEipSizeCheck(const EipSizeCheck& check, const model::CVantorDoc& doc, MessageSink& sink) {
    if (!check || !model::gatewayModel(doc.modelName()).has(model::FeatureEipParams))
        return true;
    return check(doc, sink);
}

} // namespace vantor::editing
