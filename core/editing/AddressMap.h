#pragma once
// The gateway address map: for each gateway data area (0, 1, 3, 4) which slave
// data every gateway address holds, in the MODBUS reference notation a network
// client uses, and its spreadsheet export.
#include "common/MessageSink.h"
#include "model/CVantorDoc.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace vantor::editing {

// --- the order every address table walks the project in -----------------

// Slave indexes of the slaves whose com_name is "COM<com>", by address
// ascending; equal addresses keep project order.
std::vector<int> slavesOnPort(const model::CVantorDoc& doc, int com);

// The commands of one list of one area and one direction (reads: read_wri 0;
// writes: anything else), by Start_Add ascending; ties keep list order.
template <typename Commands> auto commandsOfArea(const Commands& commands, int area, bool reads) {
    std::vector<const typename Commands::value_type*> out;
    for (const auto& m : commands)
        if (m.area_num == area && (m.read_wri == 0) == reads)
            out.push_back(&m);
    std::stable_sort(out.begin(), out.end(),
                     [](const auto* a, const auto* b) { return a->Start_Add < b->Start_Add; });
    return out;
}
inline std::vector<const model::CModule*> commandsOfArea(const model::CSlave& slave, int area, bool reads) {
    return commandsOfArea(slave.modules, area, reads);
}

// "%0*d": zero-filled to `width`, a minus sign counting as a character.
std::string zeroFilled(long long v, int width);

// --- reference notation -----------------------------------------------------

// MODBUS reference of `address` in `area`: the area digit followed by the
// address in at least four digits (00005, 40000); for addresses beyond 9999
// the area base is ten times larger and the text at least six digits
// (area 3, 12345 -> 312345).
std::string modbusReference(int area, int address);
// The number behind the reference: the area base (ten times larger beyond
// 9999) plus the address.
long long modbusReferenceValue(int area, int address);

// --- the map ----------------------------------------------------------------

// One row: number, MODBUS address, "读"/"写", length, port, slave address,
// slave start address.
using MapRow = std::array<std::string, 7>;

struct AddressMap {
    std::array<std::vector<MapRow>, 4> areas; // areas 0, 1, 3, 4
};

// Reads first, then writes; ports COM1..COM6; slaves by address; commands by
// start address. Row numbers run on within each area's list.
AddressMap buildAddressMap(const model::CVantorDoc& doc);

// What the "网关地址映射表" command shows.
enum class MapView { Refused, GatewayMap, CdtTable };

// The opening checks: a gateway must exist ("请添加一个主站!"); the
// EtherNet/IP gateway has its addresses packed first; the area check must
// pass; the CDT gateway shows its CDT address table instead of the map.
MapView openAddressMap(model::CVantorDoc& doc, MessageSink& sink);

// The list titles ("MODBUS   0XXXX" ...) and column titles of the map lists.
const std::string& mapListTitle(int areaIndex);
std::array<std::string, 7> mapColumnTitles(int areaIndex);
// The seven headers of every exported sheet.
const std::vector<std::string>& mapExportHeaders();
// "Area0", "Area1", "Area3", "Area4".
const std::string& mapSheetName(int areaIndex);

// Writes the four lists as the sheets Area0, Area1, Area3, Area4 of one file.
// An empty path (cancelled dialog) writes nothing and answers false with no
// error text. Writer errors are returned as text.
bool exportAddressMap(const AddressMap& map, const std::string& path, std::string& errors);

} // namespace vantor::editing
