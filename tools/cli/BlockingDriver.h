#pragma once
// Runs one device exchange to its end over a real TCP socket, blocking in
// poll(): the CLI's driver for every sans-I/O exchange. It carries out the
// exchange's actions (connect, send with the pending rest, single-shot
// timers on a steady clock, close) and feeds back the events (connected,
// received, send failure, peer close, timer expiry). Status texts, progress
// and messages go to the callbacks; frames go to the wire log when one is
// given.
#include "common/MessageSink.h"
#include "transfer/Exchange.h"
#include "transfer/WireLog.h"

#include <cstdio>
#include <functional>
#include <memory>
#include <string>

namespace vantor::cli {

class BlockingDriver {
public:
    explicit BlockingDriver(transfer::Exchange& exchange, transfer::WireLog* log = nullptr);
    ~BlockingDriver();
    BlockingDriver(const BlockingDriver&) = delete;
    BlockingDriver& operator=(const BlockingDriver&) = delete;

    std::function<void(const std::string&)> onStatus;
    std::function<void(const transfer::ProgressAction&)> onProgress;
    std::function<void(const Message&)> onMessage;
    // Called after every event the exchange has handled; the place for the
    // user's actions (a button press once connected, say). Actions the
    // callback causes are carried out right after it.
    std::function<void()> afterEvent;

    // Starts the exchange and runs it until it reports finished.
    transfer::FinishedAction run();

    int64_t elapsedMs() const;

private:
    struct State;
    void carryOut();
    void doConnect(const transfer::ConnectAction& a);
    void doSend(const transfer::SendAction& a);
    void doClose();
    void flushPending();
    void readSocket();
    void finishConnect();
    void afterEach();

    transfer::Exchange& ex_;
    transfer::WireLog* log_;
    std::unique_ptr<State> st_;
};

// Prints each non-empty status text on stdout when it differs from the
// last one printed.
void printStatusChanges(BlockingDriver& driver);

// A wire log on a stdio stream (stderr for --verbose).
class StreamWireLog : public transfer::WireLog {
public:
    explicit StreamWireLog(std::FILE* out) : out_(out) {}
    void frame(transfer::WireDirection d, int64_t timeMs, transfer::ByteView bytes) override;
    void note(int64_t timeMs, const std::string& text) override;

private:
    std::FILE* out_;
};

} // namespace vantor::cli
