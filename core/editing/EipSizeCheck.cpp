#include "editing/EipSizeCheck.h"

#include "model/GatewayCatalogue.h"

namespace vantor::editing {

bool runEipSizeCheck(const EipSizeCheck& check, const model::CVantorDoc& doc, MessageSink& sink) {
    if (!check || !model::gatewayModel(doc.modelName()).has(model::FeatureEipParams))
        return true;
    return check(doc, sink);
}

} // namespace vantor::editing
