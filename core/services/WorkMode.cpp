#include "services/WorkMode.h"

#include "model/GatewayCatalogue.h"

namespace vantor::services {

bool workModeOffered(std::string_view model) {
    return model::gatewayModel(model).has(model::FeatureWorkMode);
}

int workModeSelection(const model::CVantorDoc& doc) {
    return doc.GW_work_mode == kWorkModeTcpMaster ? kWorkModeTcpMaster : kWorkModeTcpSlave;
}

void storeWorkMode(model::CVantorDoc& doc, int selection) {
    const int mode = selection == kWorkModeTcpMaster ? kWorkModeTcpMaster : kWorkModeTcpSlave;
    if (doc.GW_work_mode != mode)
        doc.modified = true;
    doc.GW_work_mode = mode;
}

} // namespace vantor::services
