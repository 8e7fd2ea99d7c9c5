#pragma once
// Slave state and control words over MODBUS TCP: their addresses as users
// see them (the register map is model/SlaveRegisters), the read frames that
// poll them, the ports polled per model, the state word of each layout and
// the two texts that explain the bits of each model group.
#include "model/SlaveRegisters.h"
#include "transfer/Bytes.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantor::services {

inline constexpr int kModbusPort = 502;
inline constexpr uint8_t kModbusUnit = 9;
// The function code in a MODBUS TCP frame: after the MBAP header and the unit.
inline constexpr std::size_t kFunctionOffset = 7;
inline constexpr uint8_t kReadHolding = 3;
inline constexpr uint8_t kReadInput = 4;
inline constexpr uint8_t kWriteSingle = 6;
inline constexpr uint8_t kWriteSingleException = 0x86;
inline constexpr int kRegistersPerRequest = 125;
// Bytes of register data in a read reply of 125 registers, from offset 9.
inline constexpr std::size_t kReadDataOffset = 9;
inline constexpr std::size_t kReadDataBytes = 2 * kRegistersPerRequest;

using model::kSlavesPerPort;
using model::slaveRegister;

inline int stateDisplayAddress(int port, int address) {
    return 30000 + slaveRegister(port, address);
}
inline int controlDisplayAddress(int port, int address) {
    return 40000 + slaveRegister(port, address);
}

// First register of the first (half = 0) or second (half = 1) read of a
// port's pair: slaves 1..125, then 126..250.
inline int pairStart(int port, int half) {
    return slaveRegister(port, 1 + half * kRegistersPerRequest);
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

// What the state word of a configured slave says: answering (status 01,
// online) or timing out (status 10, offline), the receive-success and
// receive-failure (time-out) counters, kept in their bits, and whether the
// failure counter overflowed.
struct SlaveCounters {
    bool answering = true;
    uint64_t successes = 0;
    uint64_t failures = 0;
    bool overflowed = false;
};
// The largest failure count the layout's field holds (0x3F, or 0x7F for the
// online/time-out layout).
unsigned failureCounterMax(bool statusLayout);
// The state word in the layout the texts below describe. Status layout:
// bit 15 configured, bits 1-0 01 answering / 10 time-out, bits 7-2
// successes, bits 13-8 failures, bit 14 overflow. The other: bit 0 online,
// bits 7-1 successes, bits 14-8 time-outs, bit 15 overflow.
uint16_t stateWord(bool statusLayout, const SlaveCounters& counters);

// A state word read back in its layout: whether the last exchange was
// answered (status 01, or online), answered with an error (status 11;
// status layout only), and the counter fields as they stand (successes mod
// 64 or 128, failures mod the failure field's span).
struct StateWordFields {
    bool answering = false;
    bool answerError = false;
    unsigned successes = 0;
    unsigned failures = 0;
    bool overflowed = false;
};
StateWordFields readStateWord(bool statusLayout, uint16_t word);
// The span of the success field: 64 (bits 7-2) or 128 (bits 7-1).
unsigned successCounterSpan(bool statusLayout);

// The two texts shown above the list, in the user's language: lines joined
// by '\n' with every line after the first indented by eight blanks.
std::string controlWordDescription(std::string_view model);
std::string stateWordDescription(std::string_view model);

} // namespace vantor::services
