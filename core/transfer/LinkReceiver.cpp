#include "transfer/LinkReceiver.h"

#include <algorithm>

namespace vantor::transfer {

void LinkReceiver::reset() {
    frameStart_ = true;
    held_ = 0;
}

std::vector<Bytes> LinkReceiver::feed(ByteView data) {
    std::vector<Bytes> out;
    while (!data.empty()) {
        // A read at a frame start takes at most kFirstReadMax bytes; a
        // continuation read at most what the buffer still holds.
        std::size_t room = frameStart_ ? kFirstReadMax : kBufferSize - held_;
        std::size_t n = std::min(room, data.size());
        feedOneRead(data.first(n), out);
        data = data.subspan(n);
    }
    return out;
}

void LinkReceiver::feedOneRead(ByteView data, std::vector<Bytes>& out) {
    if (!awaiting_) {
        // Nobody asked: read and discard. A half-collected frame is
        // abandoned as well, so the next reply starts clean.
        reset();
        return;
    }
    if (framing_ == Framing::Command) {
        awaiting_ = false;
        out.emplace_back(data.begin(), data.end());
        return;
    }
    feedModbus(data, out);
}

void LinkReceiver::feedModbus(ByteView data, std::vector<Bytes>& out) {
    std::copy(data.begin(), data.end(), buffer_.begin() + static_cast<std::ptrdiff_t>(held_));
    held_ += data.size();
    frameStart_ = false;
    if (held_ < kMbapHeader)
        return; // the length field has not arrived yet: wait for it
    std::size_t expected = static_cast<std::size_t>(buffer_[4]) * 256 + buffer_[5] + kMbapHeader;
    if (expected > kBufferSize || held_ > expected) {
        // Announces more than the buffer holds, or runs past what it
        // announced: drop it and start over with the next data.
        awaiting_ = false;
        reset();
        return;
    }
    if (held_ == expected) {
        awaiting_ = false;
        out.emplace_back(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(held_));
        reset();
    }
}

} // namespace vantor::transfer
