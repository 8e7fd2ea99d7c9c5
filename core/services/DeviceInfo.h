#pragma once
// The gateway's identification reply (answer to command 1) and serial
// number reply (command 4), read into the texts the device-state window
// shows (the model check of the identity is model::identityMatchesModel).
//
// Identification reply, little-endian: command 1 at 0, length at 4 (52, or
// 44 for the layout without MAC2), status at 8, identity word at 12 (model
// code, 0x34, 0x58, 0x06), version at 16, build-time text at 20 (24 bytes),
// MAC1 at 44, MAC2 at 52 (length 52 only), run state at 60 (length 52) or
// at 52 (length 44).
#include "transfer/Bytes.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantor::services {

struct Rgb {
    int r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

struct RunState {
    std::string text; // empty for a value without a name
    std::optional<Rgb> colour;
};

// The run-state name and text colour for a model's group.
RunState runStateFor(std::string_view model, int value);

// Background of the run-state field.
inline constexpr Rgb kRunStateBackground{251, 247, 200};

struct Identification {
    uint32_t length = 0;   // the length field
    bool hasMac2 = false;  // length 52
    uint8_t identity[4]{}; // bytes 12..15
    std::string deviceId;  // identity word as "%.8X"
    std::string version;   // "b19-b18-b17b16"
    std::string buildTime; // text at 20, up to the first zero byte
    std::string mac1;      // "AA-BB-CC-DD-EE-FF"
    std::string mac2;      // empty without MAC2
    int runStateValue = 0;
};

// Bytes a reply must hold to be read in the layout its length field names.
std::size_t identificationSize(uint32_t lengthField);

// Reads an identification reply (byte 0 = 1). Nothing when the reply is
// shorter than its layout: no field is read past the data.
std::optional<Identification> readIdentification(transfer::ByteView reply);

// Serial number reply (byte 0 = 4, length 12): bytes 12..23 as 24 uppercase
// hex digits. Nothing when the reply is shorter than 24 bytes.
std::optional<std::string> readSerialNumber(transfer::ByteView reply);

} // namespace vantor::services
