#include "transfer/WireLog.h"

#include "text/Numbers.h"

namespace vantor::transfer {

namespace {
std::string stamp(int64_t timeMs) {
    return text::format("%6lld.%03lld", static_cast<long long>(timeMs / 1000),
                        static_cast<long long>(timeMs % 1000));
}
} // namespace

std::string formatWireLine(WireDirection direction, int64_t timeMs, ByteView bytes) {
    return stamp(timeMs) + (direction == WireDirection::Sent ? " > " : " < ") +
           text::format("[%zu] ", bytes.size()) + toSpacedHex(bytes);
}

std::string formatWireNote(int64_t timeMs, const std::string& text) {
    return stamp(timeMs) + " - " + text;
}

} // namespace vantor::transfer
