#pragma once
// Which model-dependent menu functions the main window offers, recomputed
// after opening a project and after adding or deleting the gateway. The
// window maps each flag onto its menu item (and toolbar button).
#include "common/MessageSink.h"
#include "editing/VantorCommand.h"
#include "model/CVantorDoc.h"

namespace vantor::editing {

struct MenuEnabling {
    bool download = false;
    bool networkParams = false;
    bool accessParams = false;
    bool defaultValues = false;
    bool slaveState = false;
    bool addressMap = false;
    bool upload = false; // never: no action is bound to it
    bool addressingMode = false;
    bool firmware = false;
    bool eipParams = false;
    bool eipAddressMap = false;
    bool workMode = false;

    // The flag of a menu command by its number (a VantorCommand); commands
    // this step does not govern (file, view, help, the toolbar download)
    // answer true.
    bool enabled(int commandId) const;
    bool operator==(const MenuEnabling&) const = default;
};

// The enabling step: everything off without a gateway; with one, per the
// gateway model's feature set.
MenuEnabling menuEnabling(const model::CVantorDoc& doc);

// What the address-map command opens for the project's model.
enum class AddressMapKind { GatewayAddressMap, CdtAddressTable };
AddressMapKind addressMapKind(const model::CVantorDoc& doc);

// The toolbar's download button: without a gateway "请添加一个主站!";
// otherwise the area check. True when the download may start.
bool checkToolbarDownload(model::CVantorDoc& doc, MessageSink& sink);

} // namespace vantor::editing
