#pragma once
// The gateway's work mode ("工作模式设置", offered for LNK-P1-1.0 only): kept
// in the project and sent in the configuration image's header word, 1 for
// mode 0 and 5 for mode 1. No device exchange takes place.
#include "model/CVantorDoc.h"

#include <array>
#include <string_view>

namespace vantor::services {

inline constexpr int kWorkModeTcpSlave = 0;  // "rtu-master+tcp-slave", the default
inline constexpr int kWorkModeTcpMaster = 1; // "rtu-master+tcp-master"

// The radio buttons in order; index = mode.
inline constexpr std::array<std::string_view, 2> kWorkModeNames = {"rtu-master+tcp-slave",
                                                                   "rtu-master+tcp-master"};

// Whether the model offers "模式设置".
bool workModeOffered(std::string_view model);

// The radio button checked when the window opens: mode 1 checks the second,
// anything else the first.
int workModeSelection(const model::CVantorDoc& doc);

// OK: stores the mode of the checked button (0 or 1); a change marks the
// project modified.
void storeWorkMode(model::CVantorDoc& doc, int selection);

// The header word the configuration image carries for a mode.
inline uint32_t workModeHeaderCode(int mode) {
    return mode == kWorkModeTcpMaster ? 5 : 1;
}

} // namespace vantor::services
