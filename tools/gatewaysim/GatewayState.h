#pragma once
// What the simulated gateway is and keeps: its model and identity, the
// fault switches, and the last blocks and network parameters it received
// (written to the dump directory as soon as each is complete, before the
// acknowledgement goes out, so a finished download finds them on disk).
#include "SimDeviceServices.h"
#include "transfer/Bytes.h"

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>

namespace vantor::sim {

struct Faults {
    std::optional<uint8_t> identityCode;                // instead of the model's code
    std::optional<std::array<uint8_t, 3>> identityTail; // instead of 34 58 06
    std::array<uint8_t, 2> versionMarks{1, 1};
    std::map<uint32_t, uint8_t> status; // command -> status in its acknowledgement
    std::set<uint32_t> noReply;         // commands left unanswered
    std::set<uint32_t> shortReply;      // replies cut to their 8-byte header
    std::set<uint32_t> splitReply;      // replies sent in two segments
    int splitGapMs = 200;               // pause between the two segments
    bool splitHold = false;             // the second segment waits for the next request
    std::set<uint32_t> resetAt;         // connection reset when this command arrives
    std::set<uint32_t> longReply;       // replies with 64 bytes of garbage after them
    std::set<uint32_t> closeAfter;      // connection closed right after this reply
    int delayMs = 0;                    // every reply waits this long
    int chatterMs = 0;                  // a frame answering nothing this often (0: never)
};

// What a chattering gateway sends, answering no request: on the
// configuration port an acknowledgement-shaped frame of command 85, which
// nobody sends; on the MODBUS port a diagnostics echo (function 8) with
// transaction id 0x5555.
transfer::Bytes unrelatedCommandFrame();
transfer::Bytes unrelatedModbusFrame();

class GatewayState {
public:
    GatewayState(std::string model, std::string dumpDir)
        : model_(std::move(model)), dumpDir_(std::move(dumpDir)) {}

    const std::string& model() const { return model_; }
    Faults faults;
    // Identification, serial number and firmware blocks (commands 1, 4, 3).
    SimDeviceServices services;

    // The 4-byte identity word this gateway reports.
    std::array<uint8_t, 4> identity() const;

    void keepBlock(uint32_t command, const transfer::Bytes& block);
    void keepNetworkParams(const transfer::Bytes& body);
    void restarted();

    const std::map<uint32_t, transfer::Bytes>& blocks() const { return blocks_; }
    int restarts() const { return restarts_; }

private:
    void dump(const std::string& name, const std::string& content) const;

    std::string model_;
    std::string dumpDir_;
    std::map<uint32_t, transfer::Bytes> blocks_;
    transfer::Bytes netParams_;
    int restarts_ = 0;
};

} // namespace vantor::sim
