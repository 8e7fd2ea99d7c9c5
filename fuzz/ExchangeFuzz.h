#pragma once
// Drives an exchange the way a driver would, every decision taken from the
// fuzzer's bytes: replies cut into reads anywhere, the clock moved to the
// next deadline, through a run of them, or to any moment (a late or early
// wake-up), send failures, the peer closing, the user cancelling; never an
// event no driver could produce (bytes on a closed socket, say). What the
// exchange asks for is recorded, and a breach of the exchange contract
// (RecordingRunner) aborts.
#include "RecordingRunner.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <functional>
#include <utility>

namespace vantor::fuzzing {

using transfer::Bytes;
using transfer::Exchange;

class ExchangeFuzz : public transfer::testing::RecordingRunner {
public:
    ExchangeFuzz(Exchange& ex, FuzzedDataProvider& fdp) : RecordingRunner(ex), fdp_(fdp) {}

    // A reply the gateway would give to what the exchange awaits now, so the
    // walk reaches the later steps; empty when there is none to give.
    std::function<Bytes()> wellFormed;
    // Called after every event, for checks of the exchange's own state.
    std::function<void()> check;

    void connect(bool ok) {
        if (std::exchange(connectPending_, false))
            socketConnected(linked_ = ok);
    }

    // One event per step until the input or the exchange ends.
    void run(int maxSteps = 400) {
        for (int step = 0; step < maxSteps && fdp_.remaining_bytes() > 0 && !isFinished(); ++step) {
            const int choice = fdp_.ConsumeIntegralInRange<int>(0, 15);
            if (choice <= 4)
                feed(fdp_.ConsumeBytes<uint8_t>(fdp_.ConsumeIntegralInRange<std::size_t>(0, 300)));
            else if (choice <= 7 && wellFormed)
                feed(wellFormed());
            else if (choice >= 8 && choice <= 10) {
                for (int i = choice == 10 ? fdp_.ConsumeIntegralInRange<int>(1, 128) : 1; i > 0; --i)
                    if (auto next = exchange().nextDeadline(); next && !isFinished())
                        advanceTo(now = *next);
            } else if (choice == 11)
                advanceTo(now += fdp_.ConsumeIntegralInRange<int64_t>(0, 120000));
            else if (choice == 12)
                connect(fdp_.ConsumeBool());
            else if (choice == 13 && linked())
                socketSendFailed();
            else if (choice == 14 && linked())
                socketClosedByPeer();
            else if (choice == 15 && fdp_.ConsumeIntegralInRange<int>(0, 7) == 0)
                cancel();
        }
    }

    // A reply as several reads, cut where the input says.
    void feed(const Bytes& reply) {
        std::size_t at = 0;
        do {
            if (!linked())
                return;
            std::size_t n = reply.size() - at;
            if (n > 1 && fdp_.ConsumeBool())
                n = fdp_.ConsumeIntegralInRange<std::size_t>(1, n);
            socketReceived(transfer::ByteView(reply).subspan(at, n));
            at += n;
        } while (at < reply.size());
    }

    // Connected and not closed since: the socket can deliver and fail.
    bool linked() const { return open && linked_; }

protected:
    void breach(const char*) override { std::abort(); }
    void openConnection(const transfer::ConnectAction& c) override {
        RecordingRunner::openConnection(c);
        connectPending_ = true;
    }
    bool closeConnection() override {
        linked_ = connectPending_ = false;
        return RecordingRunner::closeConnection();
    }
    void afterPump() override {
        RecordingRunner::afterPump();
        if (check)
            check();
    }

private:
    FuzzedDataProvider& fdp_;
    bool connectPending_ = false;
    bool linked_ = false;
};

} // namespace vantor::fuzzing
