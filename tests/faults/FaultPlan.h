#pragma once
// The fault classes of the fault matrix and what a run against a faulty
// gateway reports: the plan of one run (which fault, on which request),
// the exchange under test with its dialog's presses (Rig), the gateway's
// model, and the outcome (reports, requests, times, trace). FaultRun.h
// drives the runs.
#include "common/MessageSink.h"
#include "transfer/CommandFrame.h"
#include "transfer/Exchange.h"

#include <cstdint>
#include <limits>
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

// The answer `r` with the change of a fault that rewrites answers (lengths,
// identifiers, functions, exceptions, statuses); nothing when the change
// does not apply to this answer.
inline std::optional<Bytes> shapedAnswer(Fault fault, std::size_t param, bool modbus, Bytes r) {
    // The answer with the fault's change; nothing when the change does
    // not apply to this answer.
    const bool mb = modbus;
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
    switch (fault) {
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
        r[transfer::kStatusOffset] = static_cast<uint8_t>(param);
        return r;
    default:
        return r;
    }
}

// The fault could not be applied to the answer (too short to carry the
// changed field, or not of this framing).
inline bool notApplied(const RunResult& r) {
    return r.trace.find("fault does not apply") != std::string::npos;
}

} // namespace vantor::faults
