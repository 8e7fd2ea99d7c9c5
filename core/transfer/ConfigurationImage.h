#pragma once
// The configuration image a download sends to the gateway: the RTU
// interface configuration (command 20), the fieldbus operation
// configuration (command 21) and, for the EtherNet/IP gateway, the
// EtherNet/IP table block (command 70), with the frames that carry them.
// All integers little-endian; every field 4 bytes wide.
#include "model/CVantorDoc.h"
#include "transfer/Bytes.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace vantor::transfer {

enum class PortLayout {
    SixSlot,    // a slot per port COM1..COM6, empty slots zero
    Listed,     // the existing lines in port order (one line gets a zero partner)
    SinglePort, // one slot
};

PortLayout portLayout(std::string_view model);

// Port number 0..5 of "COM1".."COM6"; -1 for any other name.
int portNumber(std::string_view comName);

// The line index for each slot of the model's layout (-1 = empty slot).
std::vector<int> portSlots(const model::CVantorDoc& doc);

// A line's slaves ordered by address (equal addresses keep project order).
std::vector<int> slavesByAddress(const model::CVantorDoc& doc, int line);

// A slave's commands grouped by area 0, 1, 3, 4, list order inside a group.
std::vector<const model::CModule*> commandsByArea(const model::CSlave& slave);

// The type byte of a command record.
uint8_t commandType(const model::CModule& m);

Bytes buildRtuBlock(const model::CVantorDoc& doc);
Bytes buildFieldbusBlock(const model::CVantorDoc& doc);

struct ConfigurationBlocks {
    Bytes rtu;
    Bytes fieldbus;
    bool hasEip = false; // the EtherNet/IP gateway: block 70 follows block 21
    Bytes eip;
};

// Bytes of one slave record of the fieldbus block: seven words (two zero
// words, the slave address, enabled, command count, send interval, reply
// timeout).
inline constexpr std::size_t kSlaveRecordBytes = 28;

// --- frames ------------------------------------------------------------
inline constexpr std::size_t kChunkSize = 240;

// Command 20: one frame; the length field's first byte is the block size
// modulo 256, the other three are 0.
Bytes rtuFrame(const Bytes& block);

// Number of chunk frames for a block (an empty block still takes one).
std::size_t chunkCount(std::size_t blockSize);

// Chunk `index` of a block sent with `command` (21 or 70): the length field
// carries the total block size in its low two bytes in every chunk.
Bytes chunkFrame(uint32_t command, const Bytes& block, std::size_t index);

} // namespace vantor::transfer
