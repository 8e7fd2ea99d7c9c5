#include "editing/UndoHistory.h"

namespace vantor::editing {

bool sameContent(const model::CVantorDoc& a, const model::CVantorDoc& b) {
    // Everything but the window state: a field the project gains later is
    // compared without being listed here.
    model::CVantorDoc bWithWindowStateOfA = b;
    bWithWindowStateOfA.selectedItem = a.selectedItem;
    bWithWindowStateOfA.copiedSlave = a.copiedSlave;
    bWithWindowStateOfA.lastProposedSlaveAddress = a.lastProposedSlaveAddress;
    bWithWindowStateOfA.modified = a.modified;
    return bWithWindowStateOfA == a;
}

void VantorWindowState::restoreWindowState(model::CVantorDoc& doc, const model::CVantorDoc& before) {
    const int copied = before.copiedSlave;
    doc.selectedItem = -1;
    doc.copiedSlave = copied >= 0 && copied < static_cast<int>(doc.slaves.size()) ? copied : -1;
}

} // namespace vantor::editing
