#pragma once
// One run of a device exchange against the simulated gateway with one fault
// class applied, on a fake clock: this driver is the gateway's side of the
// link. Connects are answered by the fault's connect result, each request
// goes to the simulator's session code and its answer comes back shaped by
// the fault (held back, cut, split, lengthened, relabelled, its status
// replaced, the connection closed around it, unrelated frames beside it).
// The exchange's deadline and the peer's events are taken in time order
// (events first on a tie); nothing sleeps.
#include "FaultPlan.h"
#include "RecordingRunner.h"
#include "SimPeer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>

namespace vantor::faults {

class FaultGateway : public transfer::testing::RecordingRunner {
public:
    FaultGateway(Rig& rig, const Peer& gateway, const RunPlan& plan)
        : RecordingRunner(rig.exchange()), rig_(rig), gateway_(gateway), plan_(plan),
          peer_(gateway.model, gateway.modbus, gateway.identityLayout) {
        peer_.chatterEvery(plan.fault == Fault::Chatter ? kChatterMs : 0);
    }

    RunResult run() {
        out_.filesBefore = rig_.files();
        rig_.open();
        pump();
        if (!out_.connectAsked)
            return finish("no connection was asked for\n");
        for (int step = 0; step < 1000000; ++step) {
            const auto timerAt = exchange().nextDeadline();
            if (exchange().finished() || rig_.succeeded() ||
                (!out_.reports.empty() && !timerAt && events_.empty())) {
                if (rig_.succeeded() && !exchange().finished())
                    out_.reports.push_back({now, "(running)", true});
                out_.settled = true;
                break;
            }
            const auto eventAt =
                events_.empty() ? std::nullopt : std::optional<int64_t>(events_.begin()->first);
            if (!linked())
                nextChatter_.reset();
            const int64_t next = std::min(
                {timerAt.value_or(INT64_MAX), eventAt.value_or(INT64_MAX), nextChatter_.value_or(INT64_MAX)});
            if (next > kHangMs)
                break; // hung, or nothing will ever happen again and nothing was said
            now = std::max(now, next);
            if (nextChatter_ == next) {
                nextChatter_ = next + peer_.wakePeriodMs();
                deliver(now, peer_.wake(now).bytes);
            } else if (eventAt && (!timerAt || *eventAt <= *timerAt)) {
                auto fn = std::move(events_.begin()->second);
                events_.erase(events_.begin());
                fn();
            } else {
                advanceTo(now);
            }
        }
        out_.end = now;
        out_.filesAfter = rig_.files();
        return finish(inapplicable_ ? "fault does not apply to this answer\n" : "");
    }

protected:
    void breach(const char* what) override { ADD_FAILURE() << what << "\n" << traceText(); }
    void openConnection(const transfer::ConnectAction& c) override {
        RecordingRunner::openConnection(c);
        out_.connectAsked = true;
        linked_ = peerGone_ = false;
        const bool refused = plan_.fault == Fault::Refused;
        const int64_t delay = plan_.fault == Fault::ConnectUnder  ? transfer::kConnectTimeoutMs - 1
                              : plan_.fault == Fault::ConnectOver ? transfer::kConnectTimeoutMs + 1
                                                                  : 0;
        if (refused || delay > 0)
            out_.faultAt = now;
        at(now + delay, [this, refused] {
            if (!open)
                return; // given up on (connect timeout): a driver drops the socket
            linked_ = !refused;
            if (linked_ && peer_.wakePeriodMs() > 0)
                nextChatter_ = now + peer_.wakePeriodMs();
            socketConnected(!refused);
            if (linked_) {
                rig_.begin();
                pump();
            }
        });
    }
    void showMessage(const Message& m, bool ending) override {
        RecordingRunner::showMessage(m, ending);
        const auto& known = gateway_.successTexts;
        if (m.kind == MessageKind::Error)
            out_.reports.push_back({now, m.text, false});
        else if (std::find(known.begin(), known.end(), m.text) != known.end())
            out_.reports.push_back({now, m.text, true});
    }
    void ended(const transfer::FinishedAction& f) override {
        RecordingRunner::ended(f);
        // A failure must have been said: by a message box before, or by the
        // result text. An empty failure report fails the known-text check.
        if (f.success || !f.resultText.empty() || !out_.failed())
            out_.reports.push_back({now, f.resultText, f.success});
    }
    void afterPump() override {
        RecordingRunner::afterPump();
        for (; answered_ < sent.size(); ++answered_)
            onRequest(answered_, sent[answered_]);
    }

private:
    bool linked() const { return open && linked_; }
    void at(int64_t when, std::function<void()> fn) { events_.emplace(when, std::move(fn)); }
    void deliver(int64_t when, Bytes bytes) {
        at(when, [this, bytes = std::move(bytes)] {
            if (!linked())
                return;
            // A buffer of exactly the bytes received: reading past it is
            // caught by the address sanitizer.
            auto copy = std::make_unique<uint8_t[]>(bytes.size());
            std::copy(bytes.begin(), bytes.end(), copy.get());
            socketReceived(ByteView(copy.get(), bytes.size()));
        });
    }
    void closeAt(int64_t when) {
        at(when, [this] {
            if (!linked())
                return;
            peerGone_ = true;
            linked_ = false;
            socketClosedByPeer();
        });
    }
    void onRequest(std::size_t index, const Bytes& request) {
        if (!linked() || peerGone_)
            return; // nobody hears it
        const bool hit = index == plan_.target;
        if (hit || (plan_.fault == Fault::Silence && out_.faultAt < 0))
            out_.faultAt = now;
        if (plan_.fault == Fault::Silence)
            return;
        if (hit && plan_.fault == Fault::ResetBefore)
            return closeAt(now);
        if (hit && plan_.fault == Fault::SendFailed)
            return at(now, [this] {
                if (linked())
                    socketSendFailed();
            });
        auto answer = peer_.answer(request, now);
        out_.answers.resize(std::max(out_.answers.size(), index + 1));
        out_.answers[index] = answer.bytes;
        if (hit && plan_.fault == Fault::Chatter)
            return;
        if (!hit || answer.bytes.empty()) {
            const int64_t late = plan_.fault == Fault::Chatter ? plan_.delayMs : 0;
            if (!answer.bytes.empty())
                deliver(now + late, std::move(answer.bytes));
            if (answer.ends)
                closeAt(now);
            return;
        }
        Bytes r = std::move(answer.bytes);
        const auto cut = static_cast<std::ptrdiff_t>(std::min(plan_.param, r.size()));
        switch (plan_.fault) {
        case Fault::NoReply:
            return;
        case Fault::DelayUnder:
        case Fault::DelayOver:
            return deliver(now + plan_.delayMs, std::move(r));
        case Fault::Split:
            deliver(now, Bytes(r.begin(), r.begin() + cut));
            return deliver(now + 1, Bytes(r.begin() + cut, r.end()));
        case Fault::Truncated:
            return deliver(now, Bytes(r.begin(), r.begin() + cut));
        case Fault::ResetAfter:
            deliver(now, std::move(r));
            return closeAt(now);
        case Fault::CloseInPause:
            deliver(now, std::move(r));
            return closeAt(now + std::max<int64_t>(1, plan_.pauseMs / 2));
        default:
            if (auto changed = shapedAnswer(plan_.fault, plan_.param, gateway_.modbus, std::move(r)))
                return deliver(now, std::move(*changed));
            inapplicable_ = true;
        }
    }
    RunResult finish(const std::string& note) {
        out_.sent = sent;
        out_.sentAt = sentAt;
        out_.trace = traceText() + note;
        return std::move(out_);
    }

    Rig& rig_;
    const Peer& gateway_;
    const RunPlan& plan_;
    SimPeer peer_;
    RunResult out_;
    std::multimap<int64_t, std::function<void()>> events_;
    std::size_t answered_ = 0; // requests are answered after the batch that sent them
    // The next unprompted frame; not an event, so that it never keeps a run
    // from counting as settled.
    std::optional<int64_t> nextChatter_;
    bool linked_ = false; // connected and not closed by the peer (our close clears `open`)
    bool peerGone_ = false;
    bool inapplicable_ = false;
};

inline RunResult runFault(Rig& rig, const Peer& gateway, const RunPlan& plan) {
    return FaultGateway(rig, gateway, plan).run();
}

} // namespace vantor::faults
