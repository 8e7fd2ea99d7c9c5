#pragma once
// Where a gateway keeps the state word and the control word of each slave:
// per serial port n (1..6) a block of 256 registers from 2001 + 256(n-1),
// slave address a at 2001 + 256(n-1) + (a-1). State words are input
// registers, control words holding registers at the same addresses; users
// see them as 32001... and 42001... in MODBUS reference notation. The
// slave-state services poll them, the EtherNet/IP parameters map them, and
// the simulator serves them.
#include <optional>

namespace vantor::model {

inline constexpr int kFirstSlaveRegister = 2001;
inline constexpr int kRegistersPerPort = 256; // from one port's block to the next
inline constexpr int kSlavePorts = 6;
inline constexpr int kSlavesPerPort = 250; // slave addresses 1..250
inline constexpr int kSlaveRegisterCount = kSlavePorts * kRegistersPerPort;

// Protocol address of slave `address` on port `port` (1..6).
constexpr int slaveRegister(int port, int address) {
    return kFirstSlaveRegister + kRegistersPerPort * (port - 1) + (address - 1);
}

// The port (1..6) and the address in its block (1..256) of a register;
// nothing outside the six blocks.
struct SlaveSlot {
    int port = 0;
    int address = 0;
};
constexpr std::optional<SlaveSlot> slaveSlotOf(int reg) {
    const int i = reg - kFirstSlaveRegister;
    if (i < 0 || i >= kSlaveRegisterCount)
        return std::nullopt;
    return SlaveSlot{i / kRegistersPerPort + 1, i % kRegistersPerPort + 1};
}

} // namespace vantor::model
