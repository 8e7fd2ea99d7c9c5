#pragma once
// Drives an exchange the way a driver would, with a fake clock: actions are
// recorded, timers are kept in a TimerTable and fired in deadline order as
// the clock is stepped. No test sleeps. Reusable by the tests of every
// exchange (include it by relative path).
#include "transfer/Exchange.h"
#include "transfer/TimerTable.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace vantor::transfer::testing {

class ExchangeHarness {
public:
    explicit ExchangeHarness(Exchange& exchange) : ex_(exchange) {}

    void start() {
        ex_.start();
        pump();
    }
    void connect(bool ok = true) {
        ex_.connected(ok);
        pump();
    }
    void reply(const Bytes& bytes) {
        ex_.received(bytes);
        pump();
    }
    void sendFailed() {
        ex_.sendFailed();
        pump();
    }
    void peerClosed() {
        ex_.closedByPeer();
        pump();
    }
    void cancel() {
        ex_.cancel();
        pump();
    }
    // Steps the clock by `ms`, firing every timer that runs out on the way.
    void advance(int64_t ms) {
        pump(); // actions of user calls made directly on the exchange
        int64_t target = now + ms;
        while (auto due = timers.popDue(target)) {
            now = due->deadline;
            ex_.timerFired(due->id, due->token);
            pump();
        }
        now = target;
    }
    // Moves the clock to the next armed deadline and fires it; false when no
    // timer is armed.
    bool fireNext() {
        pump();
        auto next = timers.nextDeadline();
        if (!next)
            return false;
        advance(*next - now);
        return true;
    }
    // Collects the actions the exchange asked for since the last call.
    void pump() {
        for (auto& a : ex_.takeActions()) {
            trace.push_back(describe(a));
            if (auto* c = std::get_if<ConnectAction>(&a)) {
                connects.push_back(*c);
                open = true;
            } else if (auto* s = std::get_if<SendAction>(&a)) {
                sent.push_back(s->bytes);
                sentAt.push_back(now);
            } else if (auto* t = std::get_if<StartTimerAction>(&a)) {
                timers.arm(t->id, t->token, now + t->ms);
                timerStarts.push_back(*t);
            } else if (auto* t = std::get_if<StopTimerAction>(&a)) {
                timers.disarm(t->id);
            } else if (std::holds_alternative<CloseAction>(a)) {
                open = false;
                ++closes;
            } else if (auto* st = std::get_if<StatusAction>(&a)) {
                statuses.push_back(st->text);
            } else if (auto* p = std::get_if<ProgressAction>(&a)) {
                progress.push_back(*p);
            } else if (auto* m = std::get_if<MessageAction>(&a)) {
                messages.push_back(m->message);
            } else if (auto* f = std::get_if<FinishedAction>(&a)) {
                EXPECT_FALSE(finished.has_value()) << "finished twice";
                finished = *f;
            }
        }
    }

    std::vector<std::string> messageTexts() const {
        std::vector<std::string> t;
        for (const auto& m : messages)
            t.push_back(m.text);
        return t;
    }
    std::string traceText() const {
        std::string s;
        for (const auto& t : trace)
            s += t + "\n";
        return s;
    }

    int64_t now = 0;
    TimerTable timers;
    std::vector<std::string> trace;
    std::vector<ConnectAction> connects;
    std::vector<Bytes> sent;
    std::vector<int64_t> sentAt;
    std::vector<StartTimerAction> timerStarts;
    std::vector<std::string> statuses;
    std::vector<ProgressAction> progress;
    std::vector<Message> messages;
    std::optional<FinishedAction> finished;
    bool open = false;
    int closes = 0;

private:
    Exchange& ex_;
};

} // namespace vantor::transfer::testing
