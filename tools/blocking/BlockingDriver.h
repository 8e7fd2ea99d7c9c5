#pragma once
// Runs one device exchange to its end over a real TCP socket, blocking in
// poll() until the socket is ready or the exchange's next deadline comes:
// the driver of the command-line tool (and of tests and benchmarks that
// reach a gateway over loopback). The shared runner carries out the
// exchange's actions; this class is the socket (non-blocking connect, send
// with the pending rest, close) and the steady clock. Status texts,
// progress and messages go to the callbacks; frames go to the wire log when
// one is given.
#include "common/MessageSink.h"
#include "transfer/ExchangeRunner.h"
#include "transfer/PendingSend.h"

#include <chrono>
#include <functional>
#include <optional>
#include <poll.h>
#include <span>
#include <string>

namespace vantor::blocking {

class BlockingDriver : public transfer::ExchangeRunner {
public:
    // (exchange, wire log or nullptr)
    using transfer::ExchangeRunner::ExchangeRunner;
    ~BlockingDriver() override;

    std::function<void(const std::string&)> onStatus;
    std::function<void(const transfer::ProgressAction&)> onProgress;
    std::function<void(const Message&)> onMessage;
    // Called after every event the exchange has handled; the place for the
    // user's actions (a button press once connected, say). Actions the
    // callback causes are carried out right after it.
    std::function<void()> afterEvent;

    // Starts the exchange and runs it until it reports finished.
    transfer::FinishedAction run();

    // One driver's share of a loop over many (pollOnce): serves what needs
    // no waiting (a failed connect to report, a due deadline, a run that
    // can go nowhere); true when it did something.
    bool serviceDue();
    // What to wait for: the socket and its events (fd -1 when none).
    pollfd pollRequest() const;
    // The socket is ready with `revents`.
    void serviceReady(short revents);

    int64_t elapsedMs() const { return nowMs(); }

protected:
    int64_t nowMs() const override {
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                     start_)
            .count();
    }
    void openConnection(const transfer::ConnectAction& target) override;
    bool write(transfer::ByteView bytes) override;
    bool closeConnection() override;
    void showStatus(const std::string& text) override {
        if (onStatus)
            onStatus(text);
    }
    void showProgress(const transfer::ProgressAction& progress) override {
        if (onProgress)
            onProgress(progress);
    }
    void showMessage(const Message& message, bool) override {
        if (onMessage)
            onMessage(message);
    }
    void afterPump() override;

private:
    void finishConnect();
    void readSocket();
    // Sends what is pending; a failure is told the exchange when `reportFailure`.
    void flush(bool reportFailure);

    int fd_ = -1;
    bool connecting_ = false;
    bool connectFailed_ = false; // reported to the exchange from the loop
    bool inAfterEvent_ = false;
    transfer::PendingSend pending_;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

// One turn of a loop over many drivers on one thread: each serves what is
// due; when none had anything to do, waits in one poll() for any of their
// sockets, until the earliest deadline of their exchanges (and at most
// `limitMs`), and serves the ready ones. Drivers that have finished are
// left alone.
void pollOnce(std::span<BlockingDriver* const> drivers, std::optional<int64_t> limitMs = std::nullopt);

} // namespace vantor::blocking
