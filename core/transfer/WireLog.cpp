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

void WireLines::frame(WireDirection direction, int64_t timeMs, ByteView bytes) {
    lines_.push_back(formatWireLine(direction, timeMs, bytes));
}

void WireLines::note(int64_t timeMs, const std::string& text) {
    lines_.push_back(formatWireNote(timeMs, text));
}

void StreamWireLog::frame(WireDirection direction, int64_t timeMs, ByteView bytes) {
    std::fprintf(out_, "%s\n", formatWireLine(direction, timeMs, bytes).c_str());
    std::fflush(out_);
}

void StreamWireLog::note(int64_t timeMs, const std::string& text) {
    std::fprintf(out_, "%s\n", formatWireNote(timeMs, text).c_str());
    std::fflush(out_);
}

} // namespace vantor::transfer
