#pragma once
// Undo and redo of Vantor projects: whole-project snapshots (SnapshotHistory)
// whose window state is the selection, the copied slave, the last proposed
// slave address and the modified flag.
#include "editing/SnapshotHistory.h"
#include "model/CVantorDoc.h"

namespace vantor::editing {

// Whether two projects hold the same content: everything the file keeps and
// the editing state derived from it, but not the selection, the copied
// slave, the last proposed slave address or the modified flag.
bool sameContent(const model::CVantorDoc& a, const model::CVantorDoc& b);

struct VantorWindowState {
    static bool sameContent(const model::CVantorDoc& a, const model::CVantorDoc& b) {
        return editing::sameContent(a, b);
    }
    // The copied slave stays while it still exists; nothing is selected.
    static void restoreWindowState(model::CVantorDoc& doc, const model::CVantorDoc& before);
};

using UndoHistory = SnapshotHistory<model::CVantorDoc, VantorWindowState>;

} // namespace vantor::editing
