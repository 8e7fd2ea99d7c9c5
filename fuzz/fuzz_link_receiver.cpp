// The link receiver in either framing, fed reads of any bytes cut anywhere,
// with the reply-awaited flag raised, dropped and the connection reset as
// the input says. A command frame is one read's bytes exactly; a MODBUS TCP
// frame is delivered whole at the size its header announced.
#include "transfer/LinkReceiver.h"

#include <fuzzer/FuzzedDataProvider.h>

using namespace vantor::transfer;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider fdp(data, size);
    const Framing framing = fdp.ConsumeBool() ? Framing::ModbusTcp : Framing::Command;
    LinkReceiver link(framing);
    while (fdp.remaining_bytes() > 0) {
        switch (fdp.ConsumeIntegralInRange<int>(0, 7)) {
        case 0:
            link.reset();
            break;
        case 1:
            link.cancelReply();
            break;
        case 2:
        case 3:
            link.expectReply();
            break;
        default: {
            const bool awaiting = link.awaitingReply();
            // Now and then a read longer than the receive buffer.
            const std::size_t n = fdp.ConsumeIntegralInRange<int>(0, 15) == 0
                                      ? fdp.ConsumeIntegralInRange<std::size_t>(0, 20000)
                                      : fdp.ConsumeIntegralInRange<std::size_t>(0, 300);
            const Bytes read = fdp.ConsumeBytes<uint8_t>(n);
            const auto frames = link.feed(read);
            if (!awaiting && !frames.empty())
                __builtin_trap(); // nobody asked
            if (frames.size() > 1 && framing == Framing::Command)
                __builtin_trap();
            for (const auto& f : frames) {
                if (f.size() > LinkReceiver::kBufferSize || link.awaitingReply())
                    __builtin_trap();
                if (framing == Framing::Command) {
                    const std::size_t head = std::min(read.size(), LinkReceiver::kFirstReadMax);
                    if (f != Bytes(read.begin(), read.begin() + static_cast<std::ptrdiff_t>(head)))
                        __builtin_trap();
                } else if (f.size() < LinkReceiver::kMbapHeader ||
                           f.size() !=
                               static_cast<std::size_t>(f[4]) * 256 + f[5] + LinkReceiver::kMbapHeader) {
                    __builtin_trap();
                }
            }
            if (link.receivedSoFar() > LinkReceiver::kBufferSize)
                __builtin_trap();
        }
        }
    }
    return 0;
}
