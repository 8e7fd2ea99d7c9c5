#pragma once
// Replies of a gateway on the configuration port, built byte by byte for the
// tests of the exchanges that read them (download, device information,
// fleet commissioning).
#include "transfer/CommandFrame.h"

#include <cstring>

namespace vantor::transfer::testing {

// The device state (command 1, short layout): identity code and tail,
// version marks.
inline Bytes stateReply(uint8_t code, uint8_t t1 = 0x34, uint8_t t2 = 0x58, uint8_t t3 = 0x06, uint8_t v1 = 1,
                        uint8_t v2 = 1) {
    Bytes r = commandFrame(1, 16);
    r.resize(24, 0);
    r[12] = code;
    r[13] = t1;
    r[14] = t2;
    r[15] = t3;
    r[18] = v1;
    r[19] = v2;
    return r;
}

// The acknowledgement of command `cmd` with `status`.
inline Bytes ack(uint8_t cmd, uint8_t status = 0) {
    Bytes r = commandFrame(cmd, 4);
    r.push_back(status);
    r.resize(12, 0);
    return r;
}

// An identification reply in the layout of `length` (52 or 44).
inline Bytes identification(uint32_t length, uint8_t code, uint8_t runState) {
    Bytes r = commandFrame(1, length);
    r.resize(length == 52 ? 61 : 53, 0);
    r[12] = code;
    r[13] = 0x34;
    r[14] = 0x58;
    r[15] = 0x06;
    r[16] = 0x04;
    r[17] = 0x03;
    r[18] = 0x02;
    r[19] = 0x01;
    const char* build = "2024-05-06 10:11:12";
    std::memcpy(&r[20], build, std::strlen(build));
    const uint8_t mac1[6] = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0xEF};
    std::memcpy(&r[44], mac1, 6);
    if (length == 52) {
        const uint8_t mac2[6] = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0xF0};
        std::memcpy(&r[52], mac2, 6);
        r[60] = runState;
    } else {
        r[52] = runState;
    }
    return r;
}

// The serial number (command 4): twelve bytes A0..AB.
inline Bytes serialReply(uint32_t length = 12) {
    Bytes r = commandFrame(4, length);
    r.resize(12, 0);
    for (uint8_t i = 0; i < 12; ++i)
        r.push_back(static_cast<uint8_t>(0xA0 + i));
    return r;
}

} // namespace vantor::transfer::testing
