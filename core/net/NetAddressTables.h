#pragma once
// Where each command's data lies in the gateway: the DP input and output
// images of the PROFIBUS model, the gateway address map of the other models,
// and the gateway address correction (网关地址修正).
#include "editing/AddressMap.h"
#include "net/CVantorNetDoc.h"
#include "text/Shown.h"

#include <array>
#include <string>
#include <vector>

namespace vantor::net {

// A row of both tables: number (from 0), DP address or gateway address,
// function label or "读"/"写", length (4 digits), IP text, unit address
// (3 digits), slave start address in reference notation.
using NetMapRow = editing::MapRow;

// Reference notation of both tables: plus 0/10000/30000/40000 below 10000,
// plus 0/100000/300000/400000 from 10000 on, zero-padded to 5 digits.
std::string netReference(int area, int address);

// --- DP address table (QB-H-NET2.0) ---
struct DpTable {
    std::vector<NetMapRow> input;  // read commands
    std::vector<NetMapRow> output; // write commands
};
// Servers, nodes and commands in order; each command takes the current
// offset of its image as DP address, then the offset grows by its bytes.
DpTable buildDpTable(const CVantorNetDoc& doc);
// "DP输入", "DP输出"; the seven column titles.
inline constexpr const char* kDpInputTitle = VT_TEXT("DP输入");
inline constexpr const char* kDpOutputTitle = VT_TEXT("DP输出");
const std::array<std::string, 7>& dpColumnTitles();

// --- gateway address map (other models) ---
// Areas 0, 1, 3, 4. Reads first, then writes; servers in order, nodes by
// unit address ascending, commands by slave start address ascending.
std::array<std::vector<NetMapRow>, 4> buildNetAddressMap(const CVantorNetDoc& doc);
// "MODBUS   0XXXX" ... as in the Vantor map; the column titles of an area.
std::array<std::string, 7> netMapColumnTitles(int areaIndex);

// What "网关地址映射表" opens: the DP table for QB-H-NET2.0, the map
// otherwise.
bool showsDpTable(const CVantorNetDoc& doc);

// 网关地址修正: each area's next gateway address becomes the largest gateway
// address + length of its commands, or 0 without commands.
void correctGatewayAddresses(CVantorNetDoc& doc);

} // namespace vantor::net
