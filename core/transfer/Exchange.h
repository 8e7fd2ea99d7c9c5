#pragma once
// A device exchange as a state machine without I/O: the driver feeds it
// events (connection result, received bytes, send failure, peer close, the
// user's buttons) and carries out the actions it returns (connect, send,
// close, status text, progress, message boxes, finished), in order.
//
// Time is passed in, never read here. The exchange keeps its own timers and
// hands back one deadline: nextDeadline() is the earliest moment one of
// them runs out, and advanceTo(now) runs out every timer due by then. A
// driver therefore needs one wake-up (a QTimer, a poll timeout, a fake
// clock's step) and no timer table of its own. Each arming has its own
// deadline and token, so a wake-up that comes late, early or for a timer
// stopped or re-armed since runs out nothing that is not due: a late expiry
// of a stopped timer is ignored by construction.
//
// The base class holds what every exchange shares: the link receiver with
// the reply-awaited flag, the timers, the connect pattern with timer 10 and
// its messages, the pause before acting on a reply, and the end of the
// exchange. transfer::ExchangeRunner carries out the actions for a driver.
#include "transfer/ExchangeAction.h"
#include "transfer/GatewayAddress.h"
#include "transfer/LinkReceiver.h"
#include "transfer/TimerTable.h"

#include "text/Shown.h"

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vantor::transfer {

// Timer ids shared by the device dialogs.
inline constexpr int kConnectTimer = 10;
inline constexpr int kConnectTimeoutMs = 3000;

// The driver's clock: milliseconds from any fixed start.
class Clock {
public:
    virtual int64_t nowMs() const = 0;

protected:
    ~Clock() = default;
};

class Exchange {
public:
    explicit Exchange(Framing framing) : link_(framing) {}
    virtual ~Exchange() = default;
    Exchange(const Exchange&) = delete;
    Exchange& operator=(const Exchange&) = delete;

    // The message of a request the socket could not send.
    static constexpr const char* kSendFailed = VT_TEXT("发送失败");
    // The messages of a connect target refused by beginConnect: the access
    // IP the configurator's device windows connect to, and the port.
    static constexpr const char* kAccessIpWrong = VT_TEXT("访问IP地址设置错误");
    static constexpr const char* kPortWrong = kPortFormatWrong;

    // --- events ---
    // Opens the exchange (usually: status text, connect, timer 10).
    virtual void start() = 0;
    void connected(bool ok);
    // One read's worth of bytes from the socket.
    void received(ByteView bytes);
    // Flushing the unsent rest of a request failed.
    void sendFailed();
    void closedByPeer();
    // The user closes the dialog ("取消"): the socket goes with it.
    virtual void cancel();

    // --- time ---
    // The driver's clock: a timer armed by an event or a button press counts
    // from the time it answers. Without one (or once it is gone) timers
    // count from the time of the last advanceTo.
    void useClock(std::weak_ptr<const Clock> clock) { clock_ = std::move(clock); }
    // The earliest deadline of the armed timers; nothing when none is armed
    // (always after the end).
    std::optional<int64_t> nextDeadline() const { return timers_.nextDeadline(); }
    // The time is now `nowMs`: every timer due by then runs out, earliest
    // first (ties in arming order), including those its handlers arm due by
    // then; timers they arm count from `nowMs`. The clock never goes back:
    // an earlier time runs out only what is due by the latest one.
    void advanceTo(int64_t nowMs);
    // The armed timers with their deadlines and tokens (for tests and traces).
    const TimerTable& timers() const { return timers_; }

    // --- actions ---
    // Everything asked for since the last call, in order.
    std::vector<ExchangeAction> takeActions();
    bool hasActions() const { return !actions_.empty(); }
    bool finished() const { return finished_; }
    bool succeeded() const { return succeeded_; }

    const LinkReceiver& link() const { return link_; }

    // The texts this exchange composes (statuses, messages and results with
    // a host, a number or a reason in them) come in the user's language, as
    // the windows show them. An exchange whose messages are written into a
    // file (the commissioning report) keeps them as written instead, like
    // its fixed texts, whatever the language of the window that runs it.
    void keepTextsAsWritten() { textsAsWritten_ = true; }

protected:
    // Hooks for the concrete exchange.
    virtual void onConnected() = 0;
    virtual void onReply(ByteView frame) = 0;
    virtual void onTimer(int id) = 0;
    // Default: close the socket, show "发送失败", end.
    virtual void onSendFailed();
    // Default: close the socket; a reply awaited under the guarding timer
    // is given up at once (expireReplyTimer).
    virtual void onClosedByPeer();
    // The connection could not be made, or timer 10 ran out first. Default:
    // close the socket (and stop timer 10), show the failure or timeout
    // text, end.
    virtual void onConnectFailed();
    virtual void onConnectTimeout();

    // The connect pattern: status "正在连接<host>:<port>...", connect, timer
    // 10. `shownPort` is the port named in the messages. A target no gateway
    // can have (transfer::connectTarget) is refused before anything else:
    // kAccessIpWrong or kPortWrong, and the exchange ends.
    void beginConnect(const std::string& host, int port, int shownPort);
    void beginConnect(const std::string& host, int port) { beginConnect(host, port, port); }
    // Only the connect itself, for exchanges with their own connect texts.
    void openConnection(const std::string& host, int port);
    std::string connectFailedText() const;
    std::string connectTimeoutText() const;
    // A marked text, or a template formatted printf-style, in the user's
    // language unless the exchange keeps its texts as written.
    std::string inLanguage(const char* text) const;
    std::string composed(const char* fmt, ...) const __attribute__((format(printf, 2, 3)));
    // The result of a failed download: result::kFailed followed by the
    // reason (a marked text) or by the status number the gateway answered.
    std::string failedResult(const char* reason) const;
    // A text another layer composes (`make()`), in the exchange's language.
    template <typename Make> std::string inOwnLanguage(Make&& make) const {
        if (!textsAsWritten_)
            return make();
        const text::AsWritten asWritten;
        return make();
    }
    std::string failedResult(int status) const;

    // Sends a request; `expectReply` sets the reply-awaited flag.
    void send(Bytes bytes, bool expectReply = true);
    void startTimer(int id, int ms);
    void stopTimer(int id);
    // The timer that guards the reply to the outstanding request, and how
    // long it waits. No reply can come on a connection the gateway has
    // closed: once it has, this timer runs out at once wherever it is armed,
    // so the exchange ends as its own reply timeout would end it, without
    // the wait.
    void guardRepliesWith(int timerId, int timeoutMs) {
        replyTimer_ = timerId;
        replyTimeoutMs_ = timeoutMs;
    }
    // Sends a request and arms the guarding timer for its reply.
    void request(Bytes bytes);
    // Lets the guarding timer run out now (on the driver's next turn).
    void expireReplyTimer();
    // A frame that answers nothing: the outstanding request is still
    // awaited, under the reply timer that runs since it went out, so frames
    // answering nothing never prolong the wait.
    void keepAwaitingReply();
    // The pause before acting on a reply, for exchanges that pace the
    // gateway: actAfterPause(reply) stops the guarding reply timer and keeps
    // the reply while timer `pauseTimer` runs `pauseMs`; then actOnReply
    // gets it (at once when pauseMs <= 0). The pause is a timer, never a
    // sleep. cancelPause drops a kept reply with its timer.
    void pauseRepliesWith(int pauseTimer, int pauseMs);
    void actAfterPause(ByteView reply);
    void cancelPause();
    virtual void actOnReply(const Bytes& reply) { (void)reply; }
    bool peerClosed() const { return peerClosed_; }
    bool timerArmed(int id) const { return timers_.armed(id); }
    void closeSocket();
    void status(const std::string& text);
    void progress(int minimum, int maximum, int position);
    void showError(const std::string& text, const std::string& caption = VT_TEXT("错误"));
    void showInformation(const std::string& text, const std::string& caption = VT_TEXT("信息"));
    // Ends the exchange: stops every armed timer, closes the socket if it is
    // open, reports the result. Later events and deadlines are ignored.
    void finish(bool success, const std::string& resultText);

    LinkReceiver& linkReceiver() { return link_; }
    bool socketOpen() const { return socketOpen_; }

private:
    void push(ExchangeAction a) { actions_.push_back(std::move(a)); }
    // Timer `id` has run out.
    void runOut(int id);
    // The time a timer armed now counts from.
    int64_t armingTime() const;

    LinkReceiver link_;
    std::deque<ExchangeAction> actions_;
    TimerTable timers_;
    uint64_t nextToken_ = 0;
    std::weak_ptr<const Clock> clock_;
    int64_t now_ = 0;
    bool firing_ = false;
    std::string host_;
    int shownPort_ = 0;
    bool socketOpen_ = false;
    bool peerClosed_ = false;
    std::optional<int> replyTimer_;
    int replyTimeoutMs_ = 0;
    std::optional<int> pauseTimer_;
    int pauseMs_ = 0;
    std::optional<Bytes> pausedReply_;
    bool finished_ = false;
    bool succeeded_ = false;
    bool textsAsWritten_ = false;
};

} // namespace vantor::transfer
