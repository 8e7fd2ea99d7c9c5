#pragma once
// The eight command kinds. The Func text fixes the gateway data area and the
// direction of a command.
#include "text/Shown.h"

#include <array>
#include <string_view>

namespace vantor::model {

struct CommandKind {
    std::string_view func; // the Func text
    int modbusFunction;    // 1, 15, 5, 2, 4, 3, 6, 16
    int area;              // 0, 1, 3, 4
    int readWrite;         // 0 read, 1 write multiple, 2 write single
    int maxLength;         // longest command in bits or words; single writes exactly 1
    bool bits() const { return area == 0 || area == 1; }
};

// In catalogue order.
inline constexpr std::array<CommandKind, 8> kCommandKinds{{
    {VT_TEXT("读0区 01H"), 1, 0, 0, 2000},
    {VT_TEXT("写0区 0FH 写多线圈"), 15, 0, 1, 1968},
    {VT_TEXT("写0区 05H 写单线圈"), 5, 0, 2, 1},
    {VT_TEXT("读1区 02H"), 2, 1, 0, 2000},
    {VT_TEXT("读3区 04H"), 4, 3, 0, 125},
    {VT_TEXT("读4区 03H"), 3, 4, 0, 125},
    {VT_TEXT("写4区 06H 写单字"), 6, 4, 2, 1},
    {VT_TEXT("写4区 10H 写多字"), 16, 4, 1, 123},
}};

// The kind with this Func text, or nullptr.
inline const CommandKind* findCommandKind(std::string_view func) {
    for (const auto& k : kCommandKinds)
        if (k.func == func)
            return &k;
    return nullptr;
}

// Index 0..3 of a gateway data area (0, 1, 3, 4) in per-area tables; -1 otherwise.
inline int areaIndex(int area) {
    switch (area) {
    case 0:
        return 0;
    case 1:
        return 1;
    case 3:
        return 2;
    case 4:
        return 3;
    default:
        return -1;
    }
}

inline constexpr std::array<int, 4> kAreas{0, 1, 3, 4};

} // namespace vantor::model
