#pragma once
// One run of a device exchange against the simulated gateway with one fault
// class applied, on a fake clock. The exchange's actions are carried out as
// a driver would: connects are answered by the fault's connect result, each
// request goes to the simulator's session code and its answer comes back
// shaped by the fault (held back, cut, split, lengthened, relabelled, its
// status replaced, the connection closed around it, unrelated frames sent
// beside it). Timers and peer events are taken in time order; nothing
// sleeps.
#include "SimPeer.h"

#include "transfer/CommandFrame.h"
#include "transfer/Exchange.h"
#include "transfer/TimerTable.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vantor::faults {

using transfer::Bytes;
using transfer::ByteView;
using transfer::Exchange;

enum class Fault {
    Plain,
    Refused,
    ConnectUnder,
    ConnectOver,
    Silence,
    NoReply,
    DelayUnder,
    DelayOver,
    Split,
    Truncated,
    OverLong,
    Length0,
    Length1,
    Length255,
    Length65535,
    WrongTransaction,
    WrongUnit,
    WrongFunction,
    Exception,
    Status,
    ResetBefore,
    ResetAfter,
    CloseInPause,
    SendFailed,
    // The gateway sends a frame answering nothing every second from the
    // connection on; the target request goes unanswered, the other answers
    // come `delayMs` late (so that the frames fall while replies are awaited).
    Chatter,
};

inline constexpr int kChatterMs = 1000;

// The exchange together with what it needs around it (a document, a working
// directory) and the presses of its dialog.
struct Rig {
    virtual ~Rig() = default;
    virtual Exchange& exchange() = 0;
    // Whatever opens the connection (the dialog opening, 连接).
    virtual void open() { exchange().start(); }
    // The presses once connected (下载, RTU设置, ...).
    virtual void begin() {}
    // Success reached while the exchange goes on (polling, an open dialog).
    virtual bool succeeded() { return false; }
    // The files the exchange may rewrite, for the "unchanged on failure" check.
    virtual std::string files() const { return {}; }
};

struct Report {
    int64_t at = 0;
    std::string text;
    bool success = false;
};

struct RunPlan {
    Fault fault = Fault::Plain;
    std::size_t target = std::numeric_limits<std::size_t>::max(); // request index the fault hits
    std::size_t param = 0;                                        // cut position, status value
    int64_t delayMs = 0;
    int64_t pauseMs = 0; // for CloseInPause: the exchange's pause before acting
};

struct RunResult {
    bool connectAsked = false;
    bool settled = false;
    std::vector<Report> reports;
    std::vector<Bytes> sent;
    std::vector<int64_t> sentAt;
    std::vector<Bytes> answers; // the gateway's unshaped answer to each request
    int64_t faultAt = -1;
    int64_t end = 0;
    std::string filesBefore;
    std::string filesAfter;
    std::string trace;

    bool failed() const {
        for (const auto& r : reports)
            if (!r.success)
                return true;
        return false;
    }
    bool succeeded() const { return !failed() && !reports.empty(); }
    std::optional<Report> firstFailure() const {
        for (const auto& r : reports)
            if (!r.success)
                return r;
        return std::nullopt;
    }
    // A success report after the first failure report.
    bool successAfterFailure() const {
        bool failedYet = false;
        for (const auto& r : reports) {
            if (!r.success)
                failedYet = true;
            else if (failedYet)
                return true;
        }
        return false;
    }
};

struct Peer {
    std::string model;
    bool modbus = false;
    int identityLayout = 0;
    std::vector<std::string> successTexts; // information texts that report success
};

// Fake time after which a run that has not settled counts as hung.
inline constexpr int64_t kHangMs = 10 * 60 * 1000;

inline RunResult runFault(Rig& rig, const Peer& gateway, const RunPlan& plan) {
    Exchange& ex = rig.exchange();
    SimPeer peer(gateway.model, gateway.modbus, gateway.identityLayout);
    if (plan.fault == Fault::Chatter)
        peer.chatterEvery(kChatterMs);
    // The next unprompted frame; not an event, so that it never keeps a run
    // from counting as settled.
    std::optional<int64_t> nextChatter;
    transfer::TimerTable timers;
    std::multimap<int64_t, std::function<void()>> events;
    RunResult out;
    out.filesBefore = rig.files();
    int64_t now = 0;
    bool open = false;   // the socket exists (connect asked, not closed since)
    bool linked = false; // connected and not closed by either side
    bool peerGone = false;

    std::function<void()> pump;
    auto at = [&](int64_t when, std::function<void()> fn) { events.emplace(when, std::move(fn)); };
    auto deliver = [&](int64_t when, Bytes bytes) {
        at(when, [&, bytes = std::move(bytes)] {
            if (!open || !linked)
                return;
            // A buffer of exactly the bytes received: reading past it is
            // caught by the address sanitizer.
            auto copy = std::make_unique<uint8_t[]>(bytes.size());
            std::copy(bytes.begin(), bytes.end(), copy.get());
            ex.received(ByteView(copy.get(), bytes.size()));
            pump();
        });
    };
    auto closeAt = [&](int64_t when) {
        at(when, [&] {
            if (!open || !linked)
                return;
            peerGone = true;
            linked = false;
            ex.closedByPeer();
            pump();
        });
    };
    auto onConnect = [&] {
        const bool refused = plan.fault == Fault::Refused;
        const int64_t delay = plan.fault == Fault::ConnectUnder  ? transfer::kConnectTimeoutMs - 1
                              : plan.fault == Fault::ConnectOver ? transfer::kConnectTimeoutMs + 1
                                                                 : 0;
        if (refused || delay > 0)
            out.faultAt = now;
        at(now + delay, [&, refused] {
            if (!open)
                return; // given up on (connect timeout): a driver drops the socket
            linked = !refused;
            if (linked && peer.wakePeriodMs() > 0)
                nextChatter = now + peer.wakePeriodMs();
            ex.connected(!refused);
            pump();
            if (linked) {
                rig.begin();
                pump();
            }
        });
    };
    auto shaped = [&](Bytes r) -> std::optional<Bytes> {
        // The answer with the fault's change; nothing when the change does
        // not apply to this answer.
        const bool mb = gateway.modbus;
        auto setLength = [&](uint32_t v) -> std::optional<Bytes> {
            if (mb) {
                if (r.size() < 6)
                    return std::nullopt;
                r[4] = static_cast<uint8_t>(v >> 8);
                r[5] = static_cast<uint8_t>(v);
            } else {
                if (r.size() < 8)
                    return std::nullopt;
                for (int i = 0; i < 4; ++i)
                    r[4 + static_cast<std::size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
            }
            return r;
        };
        switch (plan.fault) {
        case Fault::OverLong:
            r.resize(r.size() + 64, 0x5A);
            return r;
        case Fault::Length0:
            return setLength(0);
        case Fault::Length1:
            return setLength(1);
        case Fault::Length255:
            return setLength(255);
        case Fault::Length65535:
            return setLength(0xFFFF);
        case Fault::WrongTransaction:
            if (!mb || r.size() < 2)
                return std::nullopt;
            r[0] ^= 0xFF;
            r[1] ^= 0xFF;
            return r;
        case Fault::WrongUnit:
            if (!mb || r.size() < 7)
                return std::nullopt;
            r[6] = static_cast<uint8_t>(r[6] + 1);
            return r;
        case Fault::WrongFunction:
            if (mb) {
                if (r.size() < 8)
                    return std::nullopt;
                r[7] ^= 0x07; // 4 <-> 3, 6 -> 1: another function's reply
            } else {
                if (r.empty())
                    return std::nullopt;
                r[0] ^= 0x40; // a command nobody sent
            }
            return r;
        case Fault::Exception:
            if (!mb || r.size() < 8)
                return std::nullopt;
            return Bytes{r[0], r[1], 0, 0, 0, 3, r[6], static_cast<uint8_t>(r[7] | 0x80), 4};
        case Fault::Status:
            if (mb || r.size() <= transfer::kStatusOffset)
                return std::nullopt;
            r[transfer::kStatusOffset] = static_cast<uint8_t>(plan.param);
            return r;
        default:
            return r;
        }
    };
    bool inapplicable = false;
    auto onRequest = [&](std::size_t index, const Bytes& request) {
        if (!linked || peerGone)
            return; // nobody hears it
        const bool hit = index == plan.target;
        if (hit)
            out.faultAt = now;
        if (plan.fault == Fault::Silence) {
            if (out.faultAt < 0)
                out.faultAt = now;
            return;
        }
        if (hit && plan.fault == Fault::ResetBefore) {
            closeAt(now);
            return;
        }
        if (hit && plan.fault == Fault::SendFailed) {
            at(now, [&] {
                if (!open || !linked)
                    return;
                ex.sendFailed();
                pump();
            });
            return;
        }
        auto answer = peer.answer(request, now);
        out.answers.resize(std::max(out.answers.size(), index + 1));
        out.answers[index] = answer.bytes;
        if (hit && plan.fault == Fault::Chatter)
            return;
        if (!hit || answer.bytes.empty()) {
            const int64_t late = plan.fault == Fault::Chatter ? plan.delayMs : 0;
            if (!answer.bytes.empty())
                deliver(now + late, std::move(answer.bytes));
            if (answer.ends)
                closeAt(now);
            return;
        }
        Bytes r = std::move(answer.bytes);
        switch (plan.fault) {
        case Fault::NoReply:
            return;
        case Fault::DelayUnder:
        case Fault::DelayOver:
            deliver(now + plan.delayMs, std::move(r));
            return;
        case Fault::Split: {
            const std::size_t cut = std::min(plan.param, r.size());
            deliver(now, Bytes(r.begin(), r.begin() + static_cast<std::ptrdiff_t>(cut)));
            deliver(now + 1, Bytes(r.begin() + static_cast<std::ptrdiff_t>(cut), r.end()));
            return;
        }
        case Fault::Truncated:
            r.resize(std::min(plan.param, r.size()));
            deliver(now, std::move(r));
            return;
        case Fault::ResetAfter:
            deliver(now, std::move(r));
            closeAt(now);
            return;
        case Fault::CloseInPause:
            deliver(now, std::move(r));
            closeAt(now + std::max<int64_t>(1, plan.pauseMs / 2));
            return;
        default: {
            auto changed = shaped(std::move(r));
            if (!changed) {
                inapplicable = true;
                return;
            }
            deliver(now, std::move(*changed));
            return;
        }
        }
    };
    std::vector<std::pair<std::size_t, Bytes>> newRequests;
    pump = [&] {
        for (auto& a : ex.takeActions()) {
            out.trace += std::to_string(now) + " ms: " + transfer::describe(a) + "\n";
            if (std::holds_alternative<transfer::ConnectAction>(a)) {
                out.connectAsked = true;
                open = true;
                linked = false;
                peerGone = false;
                onConnect();
            } else if (auto* s = std::get_if<transfer::SendAction>(&a)) {
                out.sent.push_back(s->bytes);
                out.sentAt.push_back(now);
                newRequests.emplace_back(out.sent.size() - 1, s->bytes);
            } else if (auto* t = std::get_if<transfer::StartTimerAction>(&a)) {
                timers.arm(t->id, t->token, now + t->ms);
            } else if (auto* t = std::get_if<transfer::StopTimerAction>(&a)) {
                timers.disarm(t->id);
            } else if (std::holds_alternative<transfer::CloseAction>(a)) {
                open = false;
                linked = false;
            } else if (auto* m = std::get_if<transfer::MessageAction>(&a)) {
                if (m->message.kind == MessageKind::Error) {
                    out.reports.push_back({now, m->message.text, false});
                } else {
                    for (const auto& t : gateway.successTexts)
                        if (m->message.text == t)
                            out.reports.push_back({now, m->message.text, true});
                }
            } else if (auto* f = std::get_if<transfer::FinishedAction>(&a)) {
                // A failure must have been said: by a message box before, or
                // by the result text. An empty failure report fails the
                // known-text check.
                if (f->success)
                    out.reports.push_back({now, f->resultText, true});
                else if (!f->resultText.empty() || !out.failed())
                    out.reports.push_back({now, f->resultText, false});
            }
        }
        auto requests = std::move(newRequests);
        newRequests.clear();
        for (auto& [index, bytes] : requests)
            onRequest(index, bytes);
    };

    rig.open();
    pump();
    if (!out.connectAsked) {
        out.trace += "no connection was asked for\n";
        return out;
    }
    for (int step = 0; step < 1000000; ++step) {
        if (ex.finished() || rig.succeeded() || (!out.reports.empty() && timers.empty() && events.empty())) {
            if (rig.succeeded() && !ex.finished())
                out.reports.push_back({now, "(running)", true});
            out.settled = true;
            break;
        }
        const auto timerAt = timers.nextDeadline();
        const std::optional<int64_t> eventAt =
            events.empty() ? std::nullopt : std::optional<int64_t>(events.begin()->first);
        if (!open || !linked)
            nextChatter.reset();
        if (!timerAt && !eventAt && !nextChatter)
            break; // nothing will ever happen again, and nothing was said
        const int64_t next = std::min(
            {timerAt.value_or(INT64_MAX), eventAt.value_or(INT64_MAX), nextChatter.value_or(INT64_MAX)});
        if (next > kHangMs)
            break;
        now = std::max(now, next);
        if (nextChatter && *nextChatter == next) {
            nextChatter = next + peer.wakePeriodMs();
            deliver(now, peer.wake(now).bytes);
        } else if (eventAt && (!timerAt || *eventAt <= *timerAt)) {
            auto fn = std::move(events.begin()->second);
            events.erase(events.begin());
            fn();
        } else if (auto due = timers.popDue(now)) {
            ex.timerFired(due->id, due->token);
            pump();
        }
    }
    out.end = now;
    out.filesAfter = rig.files();
    if (inapplicable)
        out.trace += "fault does not apply to this answer\n";
    return out;
}

// The fault could not be applied to the answer (too short to carry the
// changed field, or not of this framing).
inline bool notApplied(const RunResult& r) {
    return r.trace.find("fault does not apply") != std::string::npos;
}

} // namespace vantor::faults
