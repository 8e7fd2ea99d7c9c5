#include "editing/MenuEnabling.h"

#include "model/GatewayCatalogue.h"
#include "text/Shown.h"

namespace vantor::editing {

bool MenuEnabling::enabled(int commandId) const {
    switch (static_cast<VantorCommand>(commandId)) {
    case VantorCommand::Download:
        return download;
    case VantorCommand::NetworkParams:
        return networkParams;
    case VantorCommand::AddressMap:
        return addressMap;
    case VantorCommand::AccessParams:
        return accessParams;
    case VantorCommand::DefaultValues:
        return defaultValues;
    case VantorCommand::SlaveState:
        return slaveState;
    case VantorCommand::Upload:
        return upload;
    case VantorCommand::AddressingMode:
        return addressingMode;
    case VantorCommand::Firmware:
        return firmware;
    case VantorCommand::EipParams:
        return eipParams;
    case VantorCommand::EipAddressMap:
        return eipAddressMap;
    case VantorCommand::WorkMode:
        return workMode;
    default:
        return true;
    }
}

MenuEnabling menuEnabling(const model::CVantorDoc& doc) {
    MenuEnabling e;
    if (!doc.hasMaster())
        return e;
    const model::GatewayModel& m = model::gatewayModel(doc.modelName());
    e.download = e.accessParams = e.defaultValues = e.addressMap = true;
    e.networkParams = m.has(model::FeatureNetworkParams);
    e.slaveState = m.has(model::FeatureSlaveState);
    e.addressingMode = m.has(model::FeatureAddressingMode);
    e.firmware = m.has(model::FeatureFirmwareMenu);
    e.eipParams = e.eipAddressMap = m.has(model::FeatureEipParams);
    e.workMode = m.has(model::FeatureWorkMode);
    return e;
}

AddressMapKind addressMapKind(const model::CVantorDoc& doc) {
    return model::gatewayModel(doc.modelName()).has(model::FeatureCdt) ? AddressMapKind::CdtAddressTable
                                                                       : AddressMapKind::GatewayAddressMap;
}

bool checkToolbarDownload(model::CVantorDoc& doc, MessageSink& sink) {
    if (!doc.hasMaster()) {
        sink.error(VT_TEXT("错误"), model::kNoGateway);
        return false;
    }
    return model::checkAreas(doc, sink);
}

} // namespace vantor::editing
