#pragma once
// Undo and redo of VantorNet projects: whole-project snapshots whose window
// state is the selection, the add-mode flag of the server dialog, the
// exchange flag and the modified flag. The proposals for the next gateway
// addresses travel with the steps but alone make no step (网关地址修正
// changes nothing the file keeps).
#include "editing/SnapshotHistory.h"
#include "net/CVantorNetDoc.h"

namespace vantor::net {

struct NetWindowState {
    static bool sameContent(const CVantorNetDoc& a, const CVantorNetDoc& b);
    static void restoreWindowState(CVantorNetDoc& doc, const CVantorNetDoc& before);
};

using NetUndoHistory = editing::SnapshotHistory<CVantorNetDoc, NetWindowState>;

} // namespace vantor::net
