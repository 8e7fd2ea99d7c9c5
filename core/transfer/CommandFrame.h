#pragma once
// Command frames of the configuration protocol: command code and length
// field as 32-bit little-endian words, then the body. Replies echo the
// command in byte 0; acknowledgements carry a status in byte 8, where 0
// and 4 mean success.
#include "transfer/Bytes.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace vantor::transfer {

namespace command {
inline constexpr uint32_t kDeviceState = 1;
inline constexpr uint32_t kRestart = 2;
inline constexpr uint32_t kFirmwareBlock = 3;
inline constexpr uint32_t kSerialNumber = 4;
inline constexpr uint32_t kNetworkParams = 10;
inline constexpr uint32_t kRtuConfig = 20;
inline constexpr uint32_t kFieldbusConfig = 21;
inline constexpr uint32_t kEipConfig = 70;
} // namespace command

inline constexpr std::size_t kFrameHeader = 8;
inline constexpr std::size_t kStatusOffset = 8;

// The device-state reply (answer to command 1; also the identification of
// the device services): the identity word at 12 (model::identityName), the
// version word at 16, one byte per part; its bytes 18 and 19 are the two
// version marks a download requires to be 1.
inline constexpr std::size_t kIdentityOffset = 12;
inline constexpr std::size_t kVersionOffset = 16;
inline constexpr std::size_t kVersionMarksOffset = 18;

// The identity word of a device-state reply; empty when the reply is too
// short to hold it.
inline ByteView identityOf(ByteView reply) {
    return reply.size() >= kIdentityOffset + 4 ? reply.subspan(kIdentityOffset, 4) : ByteView{};
}

Bytes commandFrame(uint32_t code, uint32_t lengthField, ByteView body = {});

// A request with no body and length 0 (device state, restart).
inline Bytes bareRequest(uint32_t code) {
    return commandFrame(code, 0);
}

// Status byte of an acknowledgement; nothing when the reply is too short to
// carry one.
inline std::optional<uint8_t> replyStatus(ByteView reply) {
    return byteAt(reply, kStatusOffset);
}

inline bool statusIsSuccess(uint8_t status) {
    return status == 0 || status == 4;
}

// The TCP port of the configuration services for a gateway model: 60000 for
// the EtherNet/IP gateway, whatever the access port; otherwise the access
// port.
int servicePort(std::string_view model, int accessPort);

} // namespace vantor::transfer
