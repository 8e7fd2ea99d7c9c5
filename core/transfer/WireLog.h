#pragma once
// The wire log: every frame sent or received on a device link, as hex with
// the time it passed. Drivers report to it (they see the real segments);
// the GUI shows it on demand, the CLI prints it with --verbose, the
// simulator logs its side with the same lines.
#include "transfer/Bytes.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace vantor::transfer {

enum class WireDirection { Sent, Received };

class WireLog {
public:
    virtual ~WireLog() = default;
    // `timeMs`: milliseconds since the driver started.
    virtual void frame(WireDirection direction, int64_t timeMs, ByteView bytes) = 0;
    // Connection events in words ("connect 127.0.0.1:5032", "closed").
    virtual void note(int64_t timeMs, const std::string& text) { (void)timeMs, (void)text; }
};

// The wire log kept as lines of text, for a window to show on demand.
class WireLines : public WireLog {
public:
    void frame(WireDirection direction, int64_t timeMs, ByteView bytes) override;
    void note(int64_t timeMs, const std::string& text) override;
    const std::vector<std::string>& lines() const { return lines_; }

private:
    std::vector<std::string> lines_;
};

// The wire log on a stdio stream (stderr for the CLI's --verbose).
class StreamWireLog : public WireLog {
public:
    explicit StreamWireLog(std::FILE* out) : out_(out) {}
    void frame(WireDirection direction, int64_t timeMs, ByteView bytes) override;
    void note(int64_t timeMs, const std::string& text) override;

private:
    std::FILE* out_;
};

// "   12.345 > 01 00 00 00 00 00 00 00" (">" sent, "<" received).
std::string formatWireLine(WireDirection direction, int64_t timeMs, ByteView bytes);
// "   12.345 - text"
std::string formatWireNote(int64_t timeMs, const std::string& text);

} // namespace vantor::transfer
