#pragma once
// What VantorNet knows about its gateway models, its limits, its function
// table and the serial-settings lists. Model rules ask this table instead of
// comparing names.
#include "model/CommandKind.h"
#include "text/Shown.h"

#include <array>
#include <span>
#include <string>
#include <string_view>

namespace vantor::net {

struct NetGatewayModel {
    std::string_view name;
    bool twoPorts; // COM2 is configured and downloaded
    bool profibus; // DP images instead of gateway data areas
    bool workMode; // the work mode can be chosen
};

// The six models in catalogue order.
std::span<const NetGatewayModel> netGatewayModels();
// The model with this name, or nullptr.
const NetGatewayModel* findNetGatewayModel(std::string_view name);
bool isTwoPortModel(std::string_view name);
bool isProfibusModel(std::string_view name);
bool hasWorkMode(std::string_view name);

// --- limits ---
inline constexpr int kMaxSlaves = 31;
inline constexpr int kMaxCommands = 1024;
inline constexpr int kBitAreaEnd = 8192;               // areas 0 and 1
inline constexpr int kWordAreaEnd = 2000;              // areas 3 and 4
inline constexpr int kDpImageLimit = 244;              // bytes per DP image
inline constexpr std::size_t kMaxNodeCommands = 255;   // counted in one byte of the node record
inline constexpr std::size_t kMaxServersInImage = 255; // counted in one byte of image B's header
// The end of gateway area `area` (8192 bits or 2000 words); 0 for no area.
int areaEnd(int area);

// --- function table: the eight labels of Vantor's command kinds ---
// The kind of a function label, or nullptr.
inline const model::CommandKind* findFunction(std::string_view label) {
    return model::findCommandKind(label);
}

// --- serial settings (data bits always 8) ---
inline constexpr std::array<std::string_view, 7> kBaudList{"2400",  "4800",  "9600",  "19200",
                                                           "38400", "57600", "115.2k"};
inline constexpr std::array<std::string_view, 3> kParityList{VT_TEXT("无校验"), VT_TEXT("奇校验"),
                                                             VT_TEXT("偶校验")};
inline constexpr std::array<std::string_view, 2> kStopList{VT_TEXT("1位"), VT_TEXT("2位")};
// The list entry at `index`, or "?(index)" for a stored index off the list.
template <std::size_t N> std::string listEntry(const std::array<std::string_view, N>& list, int index) {
    if (index >= 0 && static_cast<std::size_t>(index) < N)
        return std::string(list[static_cast<std::size_t>(index)]);
    return "?(" + std::to_string(index) + ")";
}

// --- work modes ---
inline constexpr std::array<std::string_view, 2> kWorkModes{"tcp-master+rtu-slave", "tcp-master+rtu-master"};

} // namespace vantor::net
