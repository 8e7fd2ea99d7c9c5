// The command-frame readers and the hex texts frames travel as (block files,
// the wire log, the command line): the status of any reply, and hex text of
// any bytes read back. A text that reads must give bytes that print back to
// the same digits.
#include "transfer/Bytes.h"
#include "transfer/CommandFrame.h"

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>

using namespace vantor::transfer;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Bytes reply(data, data + size);
    const auto status = replyStatus(reply);
    if (status.has_value() != (size > kStatusOffset) || (status && *status != reply[kStatusOffset]))
        __builtin_trap();
    if (status)
        (void)statusIsSuccess(*status);

    const std::string text(reinterpret_cast<const char*>(data), size);
    if (auto bytes = fromHex(text)) {
        std::string digits;
        for (char c : text)
            if (c != ' ' && c != '\n' && c != '\r' && c != '\t')
                digits += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (toHex(*bytes) != digits)
            __builtin_trap();
    }
    if (fromHex(toHex(reply)) != reply || fromHex(toSpacedHex(reply)) != reply)
        __builtin_trap();
    return 0;
}
