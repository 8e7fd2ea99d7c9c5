#include "transfer/ExchangeRunner.h"

#include <algorithm>

namespace vantor::transfer {

ExchangeRunner::ExchangeRunner(Exchange& exchange, WireLog* log)
    : ex_(exchange), clock_(std::make_shared<RunnerClock>(*this)), log_(log) {
    ex_.useClock(clock_);
}

// The exchange's hold on the clock lapses with it.
ExchangeRunner::~ExchangeRunner() = default;

void ExchangeRunner::start() {
    ex_.start();
    pump();
}

void ExchangeRunner::cancel() {
    ex_.cancel();
    pump();
}

void ExchangeRunner::advanceTo(int64_t nowMs) {
    ex_.advanceTo(nowMs);
    pump();
}

void ExchangeRunner::socketConnected(bool ok, const std::string& failure) {
    if (ok || !failure.empty())
        note(ok ? std::string("connected") : "connect failed: " + failure);
    ex_.connected(ok);
    if (ok)
        connectionMade();
    pump();
}

void ExchangeRunner::socketReceived(ByteView bytes) {
    if (log_)
        log_->frame(WireDirection::Received, nowMs(), bytes);
    ex_.received(bytes);
    pump();
}

void ExchangeRunner::socketSendFailed() {
    ex_.sendFailed();
    pump();
}

void ExchangeRunner::socketClosedByPeer(const std::string& how) {
    if (!how.empty())
        note(how);
    ex_.closedByPeer();
    pump();
}

std::optional<int64_t> ExchangeRunner::untilDeadline() const {
    auto next = ex_.nextDeadline();
    if (!next)
        return std::nullopt;
    return std::max<int64_t>(0, *next - nowMs());
}

void ExchangeRunner::note(const std::string& text) {
    if (log_)
        log_->note(nowMs(), text);
}

void ExchangeRunner::pump() {
    const auto actions = ex_.takeActions();
    const bool ending = std::any_of(actions.begin(), actions.end(),
                                    [](const auto& a) { return std::holds_alternative<FinishedAction>(a); });
    for (const auto& action : actions) {
        observe(action);
        if (auto* c = std::get_if<ConnectAction>(&action)) {
            note("connect " + c->host + ":" + std::to_string(c->port));
            openConnection(*c);
        } else if (auto* s = std::get_if<SendAction>(&action)) {
            if (!write(s->bytes))
                note("send without a connection");
            else if (log_)
                log_->frame(WireDirection::Sent, nowMs(), s->bytes);
        } else if (std::holds_alternative<CloseAction>(action)) {
            if (closeConnection())
                note("close");
        } else if (auto* st = std::get_if<StatusAction>(&action)) {
            showStatus(st->text);
        } else if (auto* p = std::get_if<ProgressAction>(&action)) {
            showProgress(*p);
        } else if (auto* m = std::get_if<MessageAction>(&action)) {
            showMessage(m->message, ending);
        } else if (auto* f = std::get_if<FinishedAction>(&action)) {
            result_ = *f;
            ended(*f);
        }
    }
    afterPump();
}

} // namespace vantor::transfer
