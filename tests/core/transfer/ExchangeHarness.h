#pragma once
// Drives an exchange the way a driver would, with a fake clock: what the
// exchange asks for is recorded (RecordingRunner), and stepping the clock
// runs out its timers in deadline order. No test sleeps. Reusable by the
// tests of every exchange (include it by relative path).
#include "RecordingRunner.h"

#include <gtest/gtest.h>

namespace vantor::transfer::testing {

class ExchangeHarness : public RecordingRunner {
public:
    using RecordingRunner::RecordingRunner;

    void connect(bool ok = true) { socketConnected(ok); }
    void reply(const Bytes& bytes) { socketReceived(bytes); }
    void sendFailed() { socketSendFailed(); }
    void peerClosed() { socketClosedByPeer(); }
    // Steps the clock by `ms`, running out every timer due on the way.
    void advance(int64_t ms) {
        pump(); // actions of user calls made directly on the exchange
        const int64_t target = now + ms;
        for (auto next = exchange().nextDeadline(); next && *next <= target; next = exchange().nextDeadline())
            advanceTo(now = *next);
        now = target;
    }
    // Moves the clock to the next deadline and runs it out; false when no
    // timer is armed.
    bool fireNext() {
        pump();
        const auto next = exchange().nextDeadline();
        if (next)
            advance(*next - now);
        return next.has_value();
    }

protected:
    void breach(const char* what) override { ADD_FAILURE() << what << "\n" << traceText(); }
};

} // namespace vantor::transfer::testing
