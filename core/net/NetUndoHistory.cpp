#include "net/NetUndoHistory.h"

namespace vantor::net {

bool NetWindowState::sameContent(const CVantorNetDoc& a, const CVantorNetDoc& b) {
    // Everything but the window state, so that a field the project gains
    // later is compared without being listed here.
    CVantorNetDoc bWithWindowStateOfA = b;
    bWithWindowStateOfA.currentSelect = a.currentSelect;
    bWithWindowStateOfA.insert_slave_flag = a.insert_slave_flag;
    bWithWindowStateOfA.nextGateAddress = a.nextGateAddress;
    bWithWindowStateOfA.rev_allow = a.rev_allow;
    bWithWindowStateOfA.modified = a.modified;
    return bWithWindowStateOfA == a;
}

void NetWindowState::restoreWindowState(CVantorNetDoc& doc, const CVantorNetDoc& before) {
    doc.currentSelect = CVantorNetDoc::kSelectNothing;
    doc.insert_slave_flag = before.insert_slave_flag;
    doc.rev_allow = before.rev_allow;
}

} // namespace vantor::net
