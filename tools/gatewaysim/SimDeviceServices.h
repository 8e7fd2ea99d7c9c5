#pragma once
// The simulated gateway's device services on the configuration port: the
// identification reply (command 1) in either layout, the serial number
// (command 4) and the firmware blocks (command 3).
//
// Firmware: blocks must arrive with sequence numbers 0, 1, 2, ...; a block
// numbered 0 starts a new image. The closing frame (bit 31 set, body length
// 36) must carry the next number and the 32-byte header; it completes the
// update. A result-code switch answers every block with that code instead
// of accepting it.
#include "transfer/Bytes.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace vantor::sim {

struct SimIdentity {
    // 52: the current layout with MAC2 (run state at 60); 44: without MAC2
    // (run state at 52); 0: not chosen, the simulator keeps its short
    // device-state reply (identity and version marks only).
    int layout = 0;
    // Bytes 16 and 17 of the version (18 and 19 are the version marks the
    // download checks, given with the reply).
    std::array<uint8_t, 2> versionLow{0x03, 0x02};
    std::string buildTime = "2026-11-30 09:15:00";
    std::array<uint8_t, 6> mac1{0x00, 0x1C, 0x56, 0x10, 0x20, 0x31};
    std::array<uint8_t, 6> mac2{0x00, 0x1C, 0x56, 0x10, 0x20, 0x32};
    uint8_t runState = 2;
    std::array<uint8_t, 12> serial{0x20, 0x26, 0x12, 0x07, 0x00, 0x01, 0x5A, 0xA5, 0x13, 0x57, 0x9B, 0xDF};
};

// Result codes the simulator gives for firmware frames it refuses.
inline constexpr uint8_t kFirmwareBadLength = 1;
inline constexpr uint8_t kFirmwareBadSequence = 2;
inline constexpr uint8_t kFirmwareBadClosing = 3;

class SimDeviceServices {
public:
    explicit SimDeviceServices(SimIdentity identity = {}) : identity_(identity) {}

    SimIdentity& identity() { return identity_; }

    // Command 1: `identity` is the 4-byte identity word, `versionMarks`
    // bytes 18 and 19.
    transfer::Bytes identificationReply(const std::array<uint8_t, 4>& identity,
                                        const std::array<uint8_t, 2>& versionMarks) const;
    // Command 4.
    transfer::Bytes serialNumberReply() const;
    // Command 3 with its length field and body: a data block or the closing
    // frame; answers the result.
    transfer::Bytes firmwareBlock(uint32_t lengthField, transfer::ByteView body);

    // Non-zero: every firmware frame is answered with this code.
    void setFirmwareResult(uint8_t code) { forcedResult_ = code; }

    const transfer::Bytes& firmwareImage() const { return image_; }
    const transfer::Bytes& firmwareHeader() const { return header_; }
    bool firmwareComplete() const { return complete_; }
    uint32_t blocksReceived() const { return nextSequence_; }

    // Where a completed update is written as firmware.bin (header then
    // image, as the file was); nothing is written when empty.
    void setDumpDir(std::string dir) { dumpDir_ = std::move(dir); }

private:
    transfer::Bytes blockReply(uint8_t result) const;
    void dumpFirmware() const;

    SimIdentity identity_;
    uint8_t forcedResult_ = 0;
    transfer::Bytes image_;
    transfer::Bytes header_;
    uint32_t nextSequence_ = 0;
    bool complete_ = false;
    std::string dumpDir_;
};

} // namespace vantor::sim
