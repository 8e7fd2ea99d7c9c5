#pragma once
// The gateway a project describes, running (vantor-gatewaysim --project):
// every serial line polls its slaves in cycles as long as the line's
// estimated poll cycle (the serial-line budget, counting the reply timeouts
// of dead slaves; at least kShortestCycleMs), and the four gateway data
// areas hold what the simulated slaves answered. Everything is a function of
// the project, the dead slaves, the time passed in and the client writes
// passed in; nothing here reads a clock.
//
// Cycles: line L has completed floor(t / cycle(L)) cycles at time t (ms
// since start), so before its first cycle its read ranges hold zero.
//
// Simulated slaves: each slave (line and address) has its own coils,
// discrete inputs, input registers and holding registers. A datum that no
// write command has reached holds a pattern of its data address r and the
// number n of cycles its line has completed (the slave's own clock):
//   words (input and holding registers), by r mod 3:
//     0  counter  (n + r) mod 65536
//     1  ramp     100 * ((n + r) mod 100): 0, 100, ... 9900, then 0 again
//     2  sine     round(1000 + 1000 * sin(2 pi (n + r) / 60)), 0..2000
//   bits (coils and discrete inputs): bit (r mod 8) of n, so every eight
//     bits count the cycles in binary.
// A coil or holding register that a write command carried to the slave
// keeps the value written from then on.
//
// One cycle of a line, for each slave in address order whose polling is
// enabled and which answers: first its write commands carry their gateway
// range to the slave (a write sent only on change, 数变即发, goes when its
// range differs from what it last sent; it starts out having sent zeros),
// then its read commands copy the slave's data into their gateway ranges.
// A dead slave answers nothing: its read ranges keep what they held (zero)
// and every command of the cycle counts as a failed receive.
//
// State word of each slave (input register 2001 + 256(port-1) + address-1),
// counters counting the commands sent every cycle:
//   status layout: bit 15 configured, bits 1-0 01 answering / 10 time-out,
//     bits 7-2 receive successes, bits 13-8 failures, bit 14 failures
//     overflowed;
//   other models: bit 0 online, bits 7-1 successes, bits 14-8 time-outs,
//     bit 15 time-outs overflowed.
// Control words (holding registers at the same addresses) start at 0x0001:
// bit 0 clear stops polling the slave (its reads freeze, its counters stand
// still); bit 1 clears its failure counter and overflow once.
#include "GatewayState.h"
#include "model/CVantorDoc.h"
#include "transfer/Bytes.h"
#include "transfer/ConfigurationImage.h"

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace vantor::sim {

enum class DataTable { Coils, DiscreteInputs, InputRegisters, HoldingRegisters };

inline constexpr int kBitAreaSize = 8192;
inline constexpr int kWordAreaSize = 2000;
inline constexpr double kShortestCycleMs = 10;

// A slave's datum at data address r after n cycles, when never written.
uint16_t patternWord(int r, int64_t n);
bool patternBit(int r, int64_t n);

// What a MODBUS TCP client wrote: coils (function 5 or 15; values 0 or 1)
// or holding registers (6 or 16), from `address` on.
struct ClientWrite {
    DataTable table = DataTable::HoldingRegisters;
    int address = 0;
    std::vector<uint16_t> values;
    bool operator==(const ClientWrite&) const = default;
};

// The write in a MODBUS TCP request (MBAP header included); nothing for any
// other function or a request too short for what its header announces.
std::optional<ClientWrite> clientWriteOf(transfer::ByteView adu);

// The dead slaves named (line name, address) that the project has no slave
// for, as "COM1:3" texts.
std::vector<std::string> unknownDeadSlaves(const model::CVantorDoc& doc,
                                           const std::set<std::pair<std::string, int>>& dead);

// A project as a download would leave the gateway: the checks and blocks of
// the download command (the empty-slave question answered Yes). Nothing,
// with the reason, when the file cannot be opened or a check refuses.
struct LiveStart {
    model::CVantorDoc doc; // as checked (addresses packed where the model packs them)
    transfer::ConfigurationBlocks blocks;
};
std::optional<LiveStart> prepareLiveProject(const std::string& path, std::string* error);

// Leaves `state` as the download of `start` would: its blocks kept (and
// dumped) as received.
void keepAsDownloaded(GatewayState& state, const LiveStart& start);

class LiveProject {
public:
    // `statusLayout`: the state word layout of most models (see above).
    LiveProject(const model::CVantorDoc& doc, std::set<std::pair<std::string, int>> dead, bool statusLayout);

    // Runs every line's cycles due by `nowMs`; an earlier time changes nothing.
    void advanceTo(int64_t nowMs);
    // A client write at `atMs` (cycles due before it run first). Coils and
    // holding registers of the data areas go into the gateway's memory; a
    // holding register at a slave's control-word address sets that word.
    void apply(int64_t atMs, const ClientWrite& write);

    // The gateway's data areas.
    const std::vector<uint16_t>& table(DataTable t) const;
    // Configured slaves as (port 1..6, address 1..250) with their state and
    // control words; slaves outside those ranges have none.
    struct SlaveWords {
        int port = 0;
        int address = 0;
        uint16_t state = 0;
        uint16_t control = 0;
    };
    std::vector<SlaveWords> slaveWords() const;
    // Cycles completed by each line, in the project's line order.
    std::vector<int64_t> cycles() const;
    // Cycle length of each line, in the project's line order.
    std::vector<double> cycleMs() const;
    int64_t nowMs() const { return now_; }

private:
    struct Slave {
        int index = -1; // into the project's slaves
        int port = 0;
        int address = 0;
        bool dead = false;
        int polledCommands = 0;
        uint16_t control = 0x0001;
        uint64_t successes = 0;
        uint64_t failures = 0;
        std::map<int, uint16_t> coils;                 // written by the gateway
        std::map<int, uint16_t> holding;               // written by the gateway
        std::map<int, std::vector<uint16_t>> lastSent; // command index -> range, on-change writes
    };
    struct Line {
        double cycleMs = kShortestCycleMs;
        int64_t cycles = 0;
        std::vector<std::size_t> slaves; // into slaves_, address order
    };
    void runCycles(Line& line, int64_t target);
    void writePhase(Slave& s);
    void readPhase(const Slave& s, int64_t n);
    uint16_t slaveDatum(const Slave& s, DataTable t, int r, int64_t n) const;
    uint16_t stateWord(const Slave& s) const;
    std::vector<uint16_t>& area(DataTable t) { return areas_[static_cast<std::size_t>(t)]; }

    model::CVantorDoc doc_;
    bool statusLayout_;
    std::vector<Slave> slaves_;
    std::vector<Line> lines_;
    std::vector<uint16_t> areas_[4];
    int64_t now_ = 0;
};

} // namespace vantor::sim
