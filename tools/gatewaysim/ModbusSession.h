#pragma once
// The simulated gateway's MODBUS TCP side (unit 9): one state word (input
// register) and one control word (holding register) per serial port and
// slave address, at 2001 + 256(port-1) + (address-1).
//
// The configured slaves are those of the last downloaded fieldbus
// configuration (command 21). Their state words have bit 15 set and carry a
// status and counters that advance once a second of simulator time; their
// control words start at 0x0001. Writing a control word with bit 0 clear
// stops that slave's counters; writing bit 1 clears its failure counter
// once. A fault switch answers every write with the exception reply
// (function 0x86). Replies are produced by libmodbus on the session's
// socket.
//
// With a live project (vantor-gatewaysim --project) the tables also hold the
// four gateway data areas from address 0 (coils and discrete inputs 0..8191,
// input and holding registers 0..1999), and while the gateway keeps that
// project's fieldbus configuration the data areas, state words and control
// words are the live project's (LiveProject.h); a download of another
// configuration empties the data areas and brings back the counters above.
#include "GatewayState.h"
#include "Simulator.h"

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

// libmodbus types, kept out of this header.
struct _modbus;
struct _modbus_mapping_t;

namespace vantor::sim {

class LiveProject;

struct SimSlave {
    int port = 1; // 1..6
    int address = 1;
    auto operator<=>(const SimSlave&) const = default;
};

// The configured slaves of a fieldbus configuration block as the model lays
// it out (slot per port); a block cut short yields the slaves read before
// the cut.
std::vector<SimSlave> slavesOfFieldbusBlock(std::string_view model, ByteView block);

// The register tables, shared by every MODBUS connection of the simulator.
class ModbusRegisters {
public:
    // `statusLayout`: the state word holds a 2-bit status and a failure
    // counter (most models) rather than an online bit and a time-out counter.
    // `dataAreas`: the tables reach down to address 0 for the data areas.
    explicit ModbusRegisters(bool statusLayout, bool dataAreas = false);
    ~ModbusRegisters();
    ModbusRegisters(const ModbusRegisters&) = delete;
    ModbusRegisters& operator=(const ModbusRegisters&) = delete;

    // Replaces the configured slaves; slaves that stay keep their counters.
    void setSlaves(const std::vector<SimSlave>& slaves);
    // Takes the slaves from the gateway's last fieldbus block when it changed.
    void follow(const GatewayState& state);
    // Ticks once for every whole second up to `nowMs`.
    void advanceTo(int64_t nowMs);
    void tick();
    // A write to a control word came in: apply its bits.
    void controlWritten(int reg);
    // Serves `live` while the gateway's fieldbus configuration is
    // `fieldbusBlock` (the project's own).
    void attachLive(LiveProject* live, Bytes fieldbusBlock);
    // A request that libmodbus has just answered: writes go to the live
    // project and to the control words.
    void written(ByteView adu, int64_t nowMs);

    uint16_t stateWord(int port, int address) const;
    uint16_t controlWord(int port, int address) const;
    ::_modbus_mapping_t* mapping() { return mapping_; }

    bool writeFault = false;

private:
    struct Counters {
        unsigned success = 0;
        unsigned failure = 0;
        bool overflow = false;
        unsigned seconds = 0;
    };
    void refresh(const SimSlave& s);
    std::size_t slotOf(int port, int address) const;
    void publishLive();

    const bool statusLayout_;
    std::map<SimSlave, Counters> slaves_;
    ::_modbus_mapping_t* mapping_;
    Bytes followedBlock_;
    bool following_ = false;
    int64_t lastTickMs_ = -1;
    LiveProject* live_ = nullptr;
    Bytes liveBlock_;
    bool liveActive_ = false;
};

class ModbusSession : public Session {
public:
    ModbusSession(ModbusRegisters& registers, const GatewayState& state);
    ~ModbusSession() override;
    void onData(ByteView data, SessionIo& io) override;
    int wakePeriodMs() const override { return state_.faults.chatterMs; }
    void onWake(SessionIo& io) override { io.write(unrelatedModbusFrame()); }

private:
    void handle(const Bytes& adu, SessionIo& io);

    ModbusRegisters& registers_;
    const GatewayState& state_;
    ::_modbus* ctx_;
    Bytes in_;
};

} // namespace vantor::sim
