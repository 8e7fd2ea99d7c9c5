#pragma once
// The unsent rest of the last request. A driver sends a request in one call;
// what the socket did not accept is kept here and flushed when the socket
// becomes writable again. A new request replaces whatever was left.
#include "transfer/Bytes.h"

#include <cstddef>

namespace vantor::transfer {

class PendingSend {
public:
    // Keeps bytes[accepted..] as the pending rest (nothing when all went out).
    void store(ByteView request, std::size_t accepted);
    bool empty() const { return remaining_ == 0; }
    std::size_t total() const { return data_.size(); }
    std::size_t remaining() const { return remaining_; }
    // The bytes still to send, starting at offset total - remaining.
    ByteView rest() const;
    // The socket accepted `n` more bytes of the rest; frees the data when
    // nothing remains.
    void consumed(std::size_t n);
    void clear();

private:
    Bytes data_;
    std::size_t remaining_ = 0;
};

} // namespace vantor::transfer
