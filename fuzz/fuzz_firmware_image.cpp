// A firmware file of any bytes: the header split off, the image cut into
// blocks and framed. The blocks put back together must give the image, and
// no block may reach past it.
#include "services/FirmwareImage.h"

#include <cstddef>
#include <cstdint>

using namespace vantor::services;
using vantor::transfer::Bytes;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Bytes file(data, data + size);
    auto fw = splitFirmware(file);
    if (!fw) {
        if (size >= kFirmwareHeaderSize)
            __builtin_trap();
        return 0;
    }
    if (fw->header.size() != kFirmwareHeaderSize || fw->header.size() + fw->image.size() != size)
        __builtin_trap();
    Bytes joined;
    std::size_t index = 0;
    for (;; ++index) {
        auto block = firmwareBlockData(*fw, index);
        if (block.size() > kFirmwareBlockSize)
            __builtin_trap();
        const Bytes frame = firmwareBlockFrame(static_cast<uint32_t>(index), block);
        if (frame.size() != 12 + block.size())
            __builtin_trap();
        joined.insert(joined.end(), block.begin(), block.end());
        if (isLastFirmwareBlock(*fw, index))
            break;
        if (index > size)
            __builtin_trap(); // the walk must end
    }
    if (joined != fw->image || !std::equal(fw->header.begin(), fw->header.end(), data))
        __builtin_trap();
    if (firmwareClosingFrame(static_cast<uint32_t>(index + 1), fw->header).size() !=
        8 + 4 + kFirmwareHeaderSize)
        __builtin_trap();
    return 0;
}
