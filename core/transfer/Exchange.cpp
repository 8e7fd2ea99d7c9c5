#include "transfer/Exchange.h"

#include "text/Numbers.h"
#include "text/Shown.h"
#include "transfer/GatewayAddress.h"
#include "transfer/ResultTexts.h"

#include <algorithm>
#include <cstdarg>

namespace vantor::transfer {

std::string describe(const ExchangeAction& action) {
    struct V {
        std::string operator()(const ConnectAction& a) const {
            return "connect " + a.host + ":" + std::to_string(a.port);
        }
        std::string operator()(const SendAction& a) const { return "send " + toSpacedHex(a.bytes); }
        std::string operator()(const CloseAction&) const { return "close"; }
        std::string operator()(const StatusAction& a) const { return "status " + a.text; }
        std::string operator()(const ProgressAction& a) const {
            return text::format("progress %d..%d at %d", a.minimum, a.maximum, a.position);
        }
        std::string operator()(const MessageAction& a) const {
            return "message " + a.message.caption + ": " + a.message.text;
        }
        std::string operator()(const FinishedAction& a) const {
            return std::string(a.success ? "finished ok " : "finished failed ") + a.resultText;
        }
    };
    return std::visit(V{}, action);
}

void Exchange::connected(bool ok) {
    if (finished_)
        return;
    if (!ok) {
        onConnectFailed();
        return;
    }
    link_.reset();
    stopTimer(kConnectTimer);
    onConnected();
}

void Exchange::received(ByteView bytes) {
    if (finished_ || !socketOpen_)
        return;
    for (auto& frame : link_.feed(bytes)) {
        if (finished_)
            break;
        onReply(frame);
    }
}

void Exchange::sendFailed() {
    if (!finished_)
        onSendFailed();
}

void Exchange::closedByPeer() {
    if (finished_)
        return;
    peerClosed_ = true;
    onClosedByPeer();
}

void Exchange::advanceTo(int64_t nowMs) {
    now_ = std::max(now_, nowMs);
    firing_ = true;
    while (!finished_) {
        auto due = timers_.popDue(now_);
        if (!due)
            break;
        runOut(due->id);
    }
    firing_ = false;
}

int64_t Exchange::armingTime() const {
    if (!firing_)
        if (auto clock = clock_.lock())
            return clock->nowMs();
    return now_;
}

void Exchange::runOut(int id) {
    if (id == kConnectTimer) {
        onConnectTimeout();
    } else if (pauseTimer_ && id == *pauseTimer_) {
        if (pausedReply_) {
            Bytes reply = std::move(*pausedReply_);
            pausedReply_.reset();
            actOnReply(reply);
        }
    } else {
        onTimer(id);
    }
}

void Exchange::cancel() {
    if (!finished_)
        finish(false, {});
}

std::vector<ExchangeAction> Exchange::takeActions() {
    std::vector<ExchangeAction> out(std::make_move_iterator(actions_.begin()),
                                    std::make_move_iterator(actions_.end()));
    actions_.clear();
    return out;
}

void Exchange::onSendFailed() {
    closeSocket();
    showError(kSendFailed);
    finish(false, {});
}

void Exchange::onClosedByPeer() {
    closeSocket();
    if (replyTimer_ && timerArmed(*replyTimer_))
        expireReplyTimer();
}

void Exchange::expireReplyTimer() {
    if (replyTimer_)
        startTimer(*replyTimer_, 0);
}

void Exchange::keepAwaitingReply() {
    if (socketOpen_)
        link_.expectReply();
}

void Exchange::pauseRepliesWith(int pauseTimer, int pauseMs) {
    pauseTimer_ = pauseTimer;
    pauseMs_ = pauseMs;
}

void Exchange::actAfterPause(ByteView reply) {
    if (replyTimer_)
        stopTimer(*replyTimer_);
    Bytes copy(reply.begin(), reply.end());
    if (!pauseTimer_ || pauseMs_ <= 0) {
        actOnReply(copy);
        return;
    }
    pausedReply_ = std::move(copy);
    startTimer(*pauseTimer_, pauseMs_);
}

void Exchange::cancelPause() {
    pausedReply_.reset();
    if (pauseTimer_)
        stopTimer(*pauseTimer_);
}

void Exchange::onConnectFailed() {
    // The message names the host and the port the exchange was opened with.
    closeSocket();
    stopTimer(kConnectTimer);
    showError(connectFailedText());
    finish(false, {});
}

void Exchange::onConnectTimeout() {
    closeSocket();
    showError(connectTimeoutText());
    finish(false, {});
}

void Exchange::beginConnect(const std::string& host, int port, int shownPort) {
    const auto target = connectTarget(host, std::to_string(port));
    if (!target.ok()) {
        showError(target.fault == TargetFault::Address ? kAccessIpWrong : kPortWrong);
        finish(false, {});
        return;
    }
    host_ = target.host;
    shownPort_ = shownPort;
    status(composed(VT_TEXT("正在连接%s:%d..."), host_.c_str(), shownPort));
    openConnection(host_, port);
    startTimer(kConnectTimer, kConnectTimeoutMs);
}

void Exchange::openConnection(const std::string& host, int port) {
    socketOpen_ = true;
    peerClosed_ = false;
    push(ConnectAction{host, port});
}

std::string Exchange::connectFailedText() const {
    return composed(VT_TEXT("连接%s:%d失败,请检查设备的网络参数和网络连接"), host_.c_str(), shownPort_);
}

std::string Exchange::connectTimeoutText() const {
    return composed(VT_TEXT("连接%s:%d超时,请检查设备的网络参数和网络连接"), host_.c_str(), shownPort_);
}

std::string Exchange::inLanguage(const char* text) const {
    return textsAsWritten_ ? std::string(text) : text::shown(text);
}

std::string Exchange::failedResult(const char* reason) const {
    // The template is result::kFailed with the reason after it.
    return composed(VT_TEXT("下 载 失 败！%s"), inLanguage(reason).c_str());
}

std::string Exchange::failedResult(int status) const {
    return composed(VT_TEXT("下 载 失 败！%d"), status);
}

std::string Exchange::composed(const char* fmt, ...) const {
    const std::string translated = inLanguage(fmt);
    va_list args;
    va_start(args, fmt);
    std::string out = text::formatList(translated.c_str(), args);
    va_end(args);
    return out;
}

void Exchange::send(Bytes bytes, bool expectReply) {
    if (!socketOpen_)
        return;
    push(SendAction{std::move(bytes)});
    if (expectReply)
        link_.expectReply();
}

void Exchange::request(Bytes bytes) {
    send(std::move(bytes));
    if (replyTimer_)
        startTimer(*replyTimer_, replyTimeoutMs_);
}

void Exchange::startTimer(int id, int ms) {
    // A request on a connection the gateway has closed never went out.
    if (peerClosed_ && replyTimer_ == id)
        ms = 0;
    timers_.arm(id, ++nextToken_, armingTime() + ms);
}

void Exchange::stopTimer(int id) {
    timers_.disarm(id);
}

void Exchange::closeSocket() {
    if (!socketOpen_)
        return;
    socketOpen_ = false;
    link_.cancelReply();
    push(CloseAction{});
}

void Exchange::status(const std::string& text) {
    push(StatusAction{text});
}

void Exchange::progress(int minimum, int maximum, int position) {
    push(ProgressAction{minimum, maximum, position});
}

void Exchange::showError(const std::string& text, const std::string& caption) {
    push(MessageAction{Message{MessageKind::Error, caption, text}});
}

void Exchange::showInformation(const std::string& text, const std::string& caption) {
    push(MessageAction{Message{MessageKind::Information, caption, text}});
}

void Exchange::finish(bool success, const std::string& resultText) {
    if (finished_)
        return;
    timers_.clear();
    pausedReply_.reset();
    closeSocket();
    finished_ = true;
    succeeded_ = success;
    push(FinishedAction{success, resultText});
}

} // namespace vantor::transfer
