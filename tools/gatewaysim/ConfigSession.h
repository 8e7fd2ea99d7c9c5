#pragma once
// One connection on the configuration port: requests are command frames
// (command and length field, then the body), reassembled from whatever
// segments they arrive in. Blocks 21 and 70 come in chunks of at most 240
// bytes whose length field carries the total; they are joined until the
// total is reached.
#include "GatewayState.h"
#include "Simulator.h"

#include <map>

namespace vantor::sim {

class ConfigSession : public Session {
public:
    explicit ConfigSession(GatewayState& state) : state_(state) {}
    void onData(ByteView data, SessionIo& io) override;
    int wakePeriodMs() const override { return state_.faults.chatterMs; }
    void onWake(SessionIo& io) override {
        if (!dead_)
            io.write(unrelatedCommandFrame());
    }

    // Body size of a request with this header (what the sender appends).
    static std::size_t bodySize(uint32_t command, uint32_t lengthField, std::size_t assembled);

private:
    void handle(uint32_t command, uint32_t lengthField, ByteView body, SessionIo& io);
    void reply(uint32_t command, Bytes frame, SessionIo& io);
    Bytes ack(uint32_t command) const;

    struct Assembly {
        std::size_t total = 0;
        Bytes data;
        bool complete = true;
    };

    GatewayState& state_;
    Bytes in_;
    std::map<uint32_t, Assembly> assembly_;
    bool dead_ = false;
    Bytes held_; // the rest of a split reply, sent when the next request arrives
};

} // namespace vantor::sim
