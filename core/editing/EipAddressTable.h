#pragma once
// The EtherNet/IP address table of the EtherNet/IP gateway: which gateway data
// lies at which byte of which of the four connections, per direction (input:
// what the gateway reads from its slaves and the slave state words; output:
// what it writes and the control words). The same table goes down to the
// gateway as the block of command 70.
#include "common/MessageSink.h"
#include "model/CModuleCom.h"
#include "model/CVantorDoc.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vantor::editing {

inline constexpr int kEipConnections = 4;
inline constexpr int kEipConnectionBytes = 494;

// One entry: byte offset within its connection; tag = COM << 24 | area << 16 |
// gateway address (COM 0 for state and control words); length in bits for
// areas 0 and 1, in words for areas 3 and 4.
struct CEipModStruct {
    int offset = 0;
    uint32_t tag = 0;
    int length = 0;
    bool operator==(const CEipModStruct&) const = default;
};

struct EipConnection {
    int used = 0; // bytes, at most 494
    std::vector<CEipModStruct> entries;
};

struct EipTable {
    std::array<EipConnection, kEipConnections> input;
    std::array<EipConnection, kEipConnections> output;
    int inputTotal = 0;
    int outputTotal = 0;
    int connectionCount = 0; // highest connection holding bytes, 0 when none
    bool overflow = false;   // an item did not fit; what fitted before is kept
};

// The project's commands as the allocation takes them: reads first, then
// writes; ports COM1..COM6; slaves by address; commands grouped by area and
// sorted by start address; one list per area 0, 1, 3, 4. The port of each
// record is its COM number.
std::array<std::vector<model::CModuleCom>, 4> collectEipCommands(const model::CVantorDoc& doc);

// Collects and allocates the whole project. An item that does not fit into
// the fourth connection is reported ("输入超限" or "输出超限") and ends the
// allocation; the table then holds what was allocated before it.
EipTable buildEipTable(const model::CVantorDoc& doc, MessageSink& sink);

// Opening of the EtherNet/IP address table window: nothing (empty optional)
// unless the gateway is the EtherNet/IP gateway; otherwise the gateway
// addresses are packed and the table built. An overflow is reported and the
// table still holds what was allocated before it.
std::optional<EipTable> openEipAddressTable(model::CVantorDoc& doc, MessageSink& sink);

// The block of command 70 for a table (little-endian, every field padded to
// four bytes): totals, connection count, used bytes and entry counts per
// connection, then the entries of input connections 1..count and of output
// connections 1..count, 12 bytes each.
std::vector<uint8_t> encodeEipBlock(const EipTable& table);

// Builds the block of command 70 for the download. False (after the overflow
// message) when the project does not fit the connections: such a table must
// not go to the gateway.
bool buildEipBlock(const model::CVantorDoc& doc, MessageSink& sink, std::vector<uint8_t>& block);

// The size check run after a command is added or a slave pasted into an
// EtherNet/IP gateway project: false (after the overflow message) when the
// project no longer fits; the caller removes what it has just added. Always
// true for other gateway models.
bool checkEipSize(const model::CVantorDoc& doc, MessageSink& sink);

// --- what the table window and the export show ------------------------------

// Connection rows: number, input bytes, output bytes (1..count).
std::vector<std::array<std::string, 3>> eipConnectionRows(const EipTable& table);
// Entry rows of one direction, connection by connection: connection number
// (first row of each connection only), offset, tag as "0x%08x", length.
std::vector<std::array<std::string, 4>> eipEntryRows(const EipTable& table, bool input);

// Writes the sheets "EIPConn" (with a final row: connection count, input
// total, output total), "EIPInput" and "EIPOutput". An empty path writes
// nothing and answers false with no error text.
bool exportEipTable(const EipTable& table, const std::string& path, std::string& errors);

} // namespace vantor::editing
