#pragma once
// A runner of an exchange on a fake clock (`now`) that records what the
// exchange asks for: connects, requests with their times, statuses,
// progress, messages, the end, each timer arming seen after an event, and
// a trace of it all for failure output. It also checks the contract every
// exchange keeps, and tells a breach: nothing after the end, no request on
// a closed socket, no timer armed in the past, finished() as reported, no
// timer and no socket left at the end. The test drivers build on it (the
// exchange harness, the fault matrix's gateway, the exchange fuzzer).
#include "transfer/ExchangeRunner.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vantor::transfer::testing {

struct TimerStart {
    int id;
    int ms;
    uint64_t token;
};

class RecordingRunner : public ExchangeRunner {
public:
    explicit RecordingRunner(Exchange& exchange) : ExchangeRunner(exchange), timers(exchange.timers()) {}

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
    const TimerTable& timers;
    std::vector<std::string> trace;
    std::vector<ConnectAction> connects;
    std::vector<Bytes> sent;
    std::vector<int64_t> sentAt;
    std::vector<TimerStart> timerStarts;
    std::vector<std::string> statuses;
    std::vector<ProgressAction> progress;
    std::vector<Message> messages;
    std::optional<FinishedAction> finished;
    bool open = false; // connect asked and not closed since
    int closes = 0;

protected:
    virtual void breach(const char* what) = 0;

    int64_t nowMs() const override { return now; }
    void openConnection(const ConnectAction& c) override {
        connects.push_back(c);
        open = true;
    }
    bool write(ByteView bytes) override {
        if (!open)
            breach("a request on a closed socket");
        sent.emplace_back(bytes.begin(), bytes.end());
        sentAt.push_back(now);
        return true;
    }
    bool closeConnection() override {
        open = false;
        ++closes;
        return true;
    }
    void showStatus(const std::string& text) override { statuses.push_back(text); }
    void showProgress(const ProgressAction& p) override { progress.push_back(p); }
    void showMessage(const Message& m, bool) override { messages.push_back(m); }
    void ended(const FinishedAction& f) override { finished = f; }
    void observe(const ExchangeAction& a) override {
        trace.push_back(std::to_string(now) + " ms: " + describe(a));
    }
    void afterPump() override {
        std::map<int, uint64_t> armed;
        for (const auto& [id, t] : timers.armedTimers()) {
            armed[id] = t.token;
            if (seen_.count(id) == 0 || seen_[id] != t.token) {
                timerStarts.push_back({id, static_cast<int>(t.deadline - now), t.token});
                trace.push_back(std::to_string(now) + " ms: timer " + std::to_string(id) + " " +
                                std::to_string(t.deadline - now) + " ms");
            }
        }
        seen_ = std::move(armed);
    }

private:
    std::map<int, uint64_t> seen_;
};

} // namespace vantor::transfer::testing
