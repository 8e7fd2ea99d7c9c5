#pragma once
// Drives an exchange through its event interface the way a driver would,
// with every decision taken from the fuzzer's bytes: replies chopped into
// reads at arbitrary points, timers fired (with the tokens the exchange
// gave, and now and then with a stale one), send failures, the peer
// closing, the user cancelling. Events a driver could not produce (bytes
// on a closed socket, a connection result nobody asked for) are not sent.
//
// What must hold for any input: the exchange reports its end once, asks
// for nothing after it, and its finished() agrees with what it reported.
#include "transfer/Exchange.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace vantor::fuzzing {

using transfer::Bytes;
using transfer::Exchange;

class ExchangeFuzz {
public:
    ExchangeFuzz(Exchange& ex, FuzzedDataProvider& fdp) : ex_(ex), fdp_(fdp) {}

    // A reply the gateway would give to what the exchange awaits now, so the
    // walk reaches the later steps; empty when there is none to give.
    std::function<Bytes()> wellFormed;
    // Called after every event, for checks of the exchange's own state.
    std::function<void()> check;

    void start() {
        ex_.start();
        pump();
    }

    void connect(bool ok) {
        if (!connectPending_)
            return;
        connectPending_ = false;
        linked_ = ok;
        ex_.connected(ok);
        pump();
    }

    // One event per step until the input or the exchange ends.
    void run(int maxSteps = 400) {
        for (int step = 0; step < maxSteps && fdp_.remaining_bytes() > 0 && !finished_; ++step) {
            switch (fdp_.ConsumeIntegralInRange<int>(0, 15)) {
            case 0:
            case 1:
            case 2:
            case 3:
            case 4:
                feed(fdp_.ConsumeBytes<uint8_t>(fdp_.ConsumeIntegralInRange<std::size_t>(0, 300)));
                break;
            case 5:
            case 6:
            case 7:
                if (wellFormed)
                    feed(wellFormed());
                break;
            case 8:
            case 9:
                fireArmed(false);
                break;
            case 10:
                // The clock runs on: one timer fires again each time it is
                // re-armed (a run of ticks), up to the count the input says.
                fireRun(fdp_.ConsumeIntegralInRange<int>(1, 128));
                break;
            case 11:
                fireArmed(true);
                break;
            case 12:
                connect(fdp_.ConsumeBool());
                break;
            case 13:
                if (linked()) {
                    ex_.sendFailed();
                    pump();
                }
                break;
            case 14:
                if (linked()) {
                    ex_.closedByPeer();
                    pump();
                }
                break;
            case 15:
                if (fdp_.ConsumeIntegralInRange<int>(0, 7) == 0) {
                    ex_.cancel();
                    pump();
                }
                break;
            }
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
            ex_.received(transfer::ByteView(reply).subspan(at, n));
            pump();
            at += n;
        } while (at < reply.size());
    }

    void pump() {
        for (auto& a : ex_.takeActions()) {
            if (finished_)
                std::abort(); // nothing may follow the end
            if (auto* c = std::get_if<transfer::ConnectAction>(&a)) {
                (void)c;
                open_ = true;
                connectPending_ = true;
            } else if (auto* s = std::get_if<transfer::SendAction>(&a)) {
                if (!open_)
                    std::abort(); // a request on a closed socket
                sent.push_back(s->bytes);
            } else if (auto* t = std::get_if<transfer::StartTimerAction>(&a)) {
                if (t->ms < 0)
                    std::abort();
                armed_[t->id] = t->token;
            } else if (auto* t = std::get_if<transfer::StopTimerAction>(&a)) {
                armed_.erase(t->id);
            } else if (std::holds_alternative<transfer::CloseAction>(a)) {
                open_ = false;
                linked_ = false;
                connectPending_ = false;
            } else if (auto* m = std::get_if<transfer::MessageAction>(&a)) {
                messages.push_back(m->message);
            } else if (auto* f = std::get_if<transfer::FinishedAction>(&a)) {
                finished_ = true;
                result = *f;
                if (!armed_.empty() || open_)
                    std::abort(); // the end stops every timer and closes the socket
            }
        }
        if (ex_.finished() != finished_ || (finished_ && ex_.succeeded() != result->success))
            std::abort();
        if (check)
            check();
    }

    bool finished() const { return finished_; }
    bool open() const { return open_; }
    // Connected and not closed since: the socket can deliver and fail.
    bool linked() const { return open_ && linked_; }

    std::vector<Bytes> sent;
    std::vector<Message> messages;
    std::optional<transfer::FinishedAction> result;

private:
    void fireArmed(bool stale) {
        if (armed_.empty())
            return;
        auto it = armed_.begin();
        std::advance(it, fdp_.ConsumeIntegralInRange<std::size_t>(0, armed_.size() - 1));
        const int id = it->first;
        const uint64_t token = stale ? it->second - 1 : it->second;
        if (!stale)
            armed_.erase(it);
        ex_.timerFired(id, token);
        pump();
    }

    void fireRun(int count) {
        if (armed_.empty())
            return;
        auto it = armed_.begin();
        std::advance(it, fdp_.ConsumeIntegralInRange<std::size_t>(0, armed_.size() - 1));
        const int id = it->first;
        for (int i = 0; i < count && !finished_; ++i) {
            auto again = armed_.find(id);
            if (again == armed_.end())
                return;
            const uint64_t token = again->second;
            armed_.erase(again);
            ex_.timerFired(id, token);
            pump();
        }
    }

    Exchange& ex_;
    FuzzedDataProvider& fdp_;
    std::map<int, uint64_t> armed_;
    bool open_ = false;
    bool connectPending_ = false;
    bool linked_ = false;
    bool finished_ = false;
};

} // namespace vantor::fuzzing
