#include "editing/EipSizeCheck.h"

#include "editing/EipAddressTable.h"
#include "model/GatewayCatalogue.h"

namespace vantor::editing {

const EipSizeCheck& standardEipSizeCheck() {
    static const EipSizeCheck check = [](const model::CVantorDoc& doc, MessageSink& sink) {
        return editing::checkEipSize(doc, sink);
    };
    return check;
}

bool runEipSizeCheck(const EipSizeCheck& check, const model::CVantorDoc& doc, MessageSink& sink) {
    if (!check || !model::gatewayModel(doc.modelName()).has(model::FeatureEipParams))
        return true;
    return check(doc, sink);
}

} // namespace vantor::editing
