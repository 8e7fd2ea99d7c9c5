#pragma once
// Dense renumbering of every gateway address, used for the EtherNet/IP
// gateway before a download and before its address maps are shown: reads
// first, then writes; ports COM1..COM6; slaves by address; areas 0, 1, 3, 4;
// commands by slave start address. The user's own addresses are replaced.
#include "model/CVantorDoc.h"

namespace vantor::editing {

// True when the project's gateway model has its addresses packed (the
// EtherNet/IP gateway "TRX-H-QMB6").
bool needsGatewayPacking(const model::CVantorDoc& doc);

// Renumbers all gateway addresses, sets each area's next gateway address to
// the area's final counter and marks the document modified. Slaves whose
// com_name is none of COM1..COM6 keep their addresses.
void packGatewayAddresses(model::CVantorDoc& doc);

// Packs only when needsGatewayPacking(doc); answers whether it packed.
bool packGatewayAddressesIfNeeded(model::CVantorDoc& doc);

} // namespace vantor::editing
