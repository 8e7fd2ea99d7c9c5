#pragma once
// What every driver of an exchange shares: it hands the transport's events
// to the exchange and dispatches the actions the exchange returns, in
// order, onto the driver's transport (connect, send, close) and onto what
// the user sees (status, progress, messages, the end). The wire log gets
// every connection event and frame with the driver's time. A driver is then
// transport glue: its socket, its one wake-up at exchange().nextDeadline()
// (advanceTo when it comes) and its clock.
#include "transfer/Exchange.h"
#include "transfer/WireLog.h"

#include <memory>
#include <optional>
#include <string>

namespace vantor::transfer {

class ExchangeRunner {
public:
    // The exchange counts its timers on this runner's clock (nowMs) while
    // the runner lives; either may go first.
    explicit ExchangeRunner(Exchange& exchange, WireLog* log = nullptr);
    virtual ~ExchangeRunner();
    ExchangeRunner(const ExchangeRunner&) = delete;
    ExchangeRunner& operator=(const ExchangeRunner&) = delete;

    Exchange& exchange() const { return ex_; }
    bool isFinished() const { return result_.has_value(); }
    const std::optional<FinishedAction>& result() const { return result_; }

    // Each hands one event to the exchange and carries out what it asked.
    void start();
    void cancel();
    void advanceTo(int64_t nowMs);
    // The connection is made, or failed (`failure`: why, for the wire log).
    void socketConnected(bool ok, const std::string& failure = {});
    void socketReceived(ByteView bytes);
    void socketSendFailed();
    // `how`: the close or reset in words, for the wire log (none: empty).
    void socketClosedByPeer(const std::string& how = "closed by peer");
    // Carries out what the exchange asked for since the last call: after a
    // button press made on the exchange directly.
    void pump();
    // Milliseconds from now to the exchange's next deadline (0 when it is
    // due), for the driver's one wake-up; nothing when no timer is armed.
    std::optional<int64_t> untilDeadline() const;
    // A connection event in words, in the wire log.
    void note(const std::string& text);

protected:
    // The driver's clock: milliseconds from any fixed start.
    virtual int64_t nowMs() const = 0;
    // Opens the connection; its outcome comes back through socketConnected.
    virtual void openConnection(const ConnectAction& target) = 0;
    // Sends the whole request (keeping an unsent rest to flush); false when
    // there is no connection to send on (the reply timer then tells).
    virtual bool write(ByteView bytes) = 0;
    // Closes the connection after handing over what was sent; false when
    // none was open.
    virtual bool closeConnection() = 0;
    virtual void showStatus(const std::string& text) { (void)text; }
    virtual void showProgress(const ProgressAction& progress) { (void)progress; }
    // `ending`: the exchange ends in the same batch of actions.
    virtual void showMessage(const Message& message, bool ending) { (void)message, (void)ending; }
    virtual void ended(const FinishedAction& result) { (void)result; }
    // The exchange has just been told the connection is made; its actions
    // follow.
    virtual void connectionMade() {}
    // Every action before it is carried out (traces).
    virtual void observe(const ExchangeAction& action) { (void)action; }
    // After each batch: the moment to re-arm the wake-up and read state.
    virtual void afterPump() {}

private:
    struct RunnerClock final : Clock {
        explicit RunnerClock(const ExchangeRunner& r) : runner(r) {}
        int64_t nowMs() const override { return runner.nowMs(); }
        const ExchangeRunner& runner;
    };

    Exchange& ex_;
    std::shared_ptr<RunnerClock> clock_;
    WireLog* log_;
    std::optional<FinishedAction> result_;
};

} // namespace vantor::transfer
