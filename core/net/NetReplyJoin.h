#pragma once
// A gateway acknowledgement may arrive in more than one segment; the link
// hands each read over as the whole reply. An acknowledgement read before
// its status byte has arrived is held here and completed by the next read,
// instead of reading a status that is not there.
#include "transfer/Bytes.h"
#include "transfer/CommandFrame.h"

#include <optional>

namespace vantor::net {

class ReplyJoin {
public:
    // Adds one delivered reply. Returns the reply to act on: the joined
    // bytes once they hold the status byte, or the reply itself when it is
    // not one that carries a status (`needsStatus` false). Nothing while
    // the status is still missing: wait for the next read.
    std::optional<transfer::Bytes> add(transfer::ByteView reply, bool needsStatus) {
        held_.insert(held_.end(), reply.begin(), reply.end());
        if (needsStatus && held_.size() <= transfer::kStatusOffset)
            return std::nullopt;
        transfer::Bytes out = std::move(held_);
        held_.clear();
        return out;
    }
    bool holding() const { return !held_.empty(); }
    void clear() { held_.clear(); }

private:
    transfer::Bytes held_;
};

} // namespace vantor::net
