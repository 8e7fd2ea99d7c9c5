#pragma once
// The gateway's MODBUS TCP register map for slave state and control words,
// the read frames that poll them, the ports polled per model and the two
// texts that explain the bits of each model group.
//
// Per serial port n (1..6) and slave address a (1..250) the gateway keeps a
// state word (input register) and a control word (holding register), both
// at protocol address 2001 + 256(n-1) + (a-1); users see them as 32001...
// and 42001... in MODBUS reference notation.
#include "transfer/Bytes.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantor::services {

inline constexpr int kModbusPort = 502;
inline constexpr uint8_t kModbusUnit = 9;
inline constexpr uint8_t kReadHolding = 3;
inline constexpr uint8_t kReadInput = 4;
inline constexpr uint8_t kWriteSingle = 6;
inline constexpr uint8_t kWriteSingleException = 0x86;
inline constexpr int kSlotsPerPort = 250;
inline constexpr int kRegistersPerRequest = 125;
// Bytes of register data in a read reply of 125 registers, from offset 9.
inline constexpr std::size_t kReadDataOffset = 9;
inline constexpr std::size_t kReadDataBytes = 2 * kRegistersPerRequest;

// Protocol address of slave `address` (1..250) on port `port` (1..6).
inline int slaveRegister(int port, int address) {
    return 2001 + 256 * (port - 1) + (address - 1);
}
inline int stateDisplayAddress(int port, int address) {
    return 30000 + slaveRegister(port, address);
}
inline int controlDisplayAddress(int port, int address) {
    return 40000 + slaveRegister(port, address);
}

// First register of the first (half = 0) or second (half = 1) read of a
// port's pair.
inline int pairStart(int port, int half) {
    return (half == 0 ? 2001 : 2126) + 256 * (port - 1);
}

// The read frame: transaction id, protocol 0, length 6, unit 9, function,
// start, quantity 125 (all big-endian).
transfer::Bytes readRequest(uint16_t transaction, uint8_t function, int start);

// The big-endian word at `offset`, or nothing when the data are shorter.
std::optional<uint16_t> wordAt(transfer::ByteView data, std::size_t offset);

// How many ports the state dialog polls for a model (1, 2 or 6).
int polledPortCount(std::string_view model);

// True for the models whose state word holds a 2-bit status and a failure
// counter (the first group); false for the online/time-out layout.
bool usesStatusLayout(std::string_view model);

// The two texts shown above the list, lines joined by '\n' with every line
// after the first indented by eight blanks.
std::string controlWordDescription(std::string_view model);
std::string stateWordDescription(std::string_view model);

} // namespace vantor::services
