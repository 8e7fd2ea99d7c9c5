#include "SimDeviceServices.h"

#include "common/AtomicFile.h"
#include "transfer/CommandFrame.h"

#include <algorithm>
#include <cstdio>

namespace vantor::sim {

using namespace vantor::transfer;

namespace {
uint32_t le32At(ByteView b, std::size_t at) {
    return static_cast<uint32_t>(b[at]) | static_cast<uint32_t>(b[at + 1]) << 8 |
           static_cast<uint32_t>(b[at + 2]) << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}
} // namespace

Bytes SimDeviceServices::identificationReply(const std::array<uint8_t, 4>& identity,
                                             const std::array<uint8_t, 2>& versionMarks) const {
    const bool withMac2 = identity_.layout == 52;
    Bytes r = commandFrame(command::kDeviceState, withMac2 ? 52 : 44);
    // The run state lies past the announced body, so the reply is padded to
    // a multiple of four that holds it.
    r.resize(withMac2 ? 64 : 56, 0);
    r[8] = 0; // status
    std::copy(identity.begin(), identity.end(), r.begin() + 12);
    r[16] = identity_.versionLow[0];
    r[17] = identity_.versionLow[1];
    r[18] = versionMarks[0];
    r[19] = versionMarks[1];
    const std::size_t n = std::min<std::size_t>(identity_.buildTime.size(), 24);
    std::copy_n(identity_.buildTime.begin(), n, r.begin() + 20);
    std::copy(identity_.mac1.begin(), identity_.mac1.end(), r.begin() + 44);
    if (withMac2) {
        std::copy(identity_.mac2.begin(), identity_.mac2.end(), r.begin() + 52);
        r[60] = identity_.runState;
    } else {
        r[52] = identity_.runState;
    }
    return r;
}

Bytes SimDeviceServices::serialNumberReply() const {
    Bytes r = commandFrame(command::kSerialNumber, 12);
    putU32(r, 0); // status
    r.insert(r.end(), identity_.serial.begin(), identity_.serial.end());
    return r;
}

Bytes SimDeviceServices::blockReply(uint8_t result) const {
    Bytes r = commandFrame(command::kFirmwareBlock, 4);
    putU32(r, result);
    return r;
}

Bytes SimDeviceServices::firmwareBlock(uint32_t lengthField, ByteView body) {
    if (forcedResult_ != 0)
        return blockReply(forcedResult_);
    if (body.size() < 4 || lengthField != body.size())
        return blockReply(kFirmwareBadLength);
    const uint32_t word = le32At(body, 0);
    const ByteView data = body.subspan(4);
    if (word & 0x80000000u) {
        if ((word & 0x7FFFFFFFu) != nextSequence_ || data.size() != 32)
            return blockReply(kFirmwareBadClosing);
        header_.assign(data.begin(), data.end());
        complete_ = true;
        nextSequence_ = 0;
        dumpFirmware();
        return blockReply(0);
    }
    if (word == 0) {
        // A new attempt starts from the beginning.
        image_.clear();
        header_.clear();
        complete_ = false;
        nextSequence_ = 0;
    }
    if (word != nextSequence_ || data.size() > 240)
        return blockReply(kFirmwareBadSequence);
    image_.insert(image_.end(), data.begin(), data.end());
    ++nextSequence_;
    return blockReply(0);
}

void SimDeviceServices::dumpFirmware() const {
    if (dumpDir_.empty())
        return;
    std::string content(header_.begin(), header_.end());
    content.append(image_.begin(), image_.end());
    std::string error;
    if (!writeFileAtomically(dumpDir_ + "/firmware.bin", content, &error))
        std::fprintf(stderr, "vantor-gatewaysim: dump firmware.bin: %s\n", error.c_str());
}

} // namespace vantor::sim
