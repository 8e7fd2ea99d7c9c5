#include "services/NetworkParamsExchange.h"

#include "text/Numbers.h"
#include "transfer/CommandFrame.h"

namespace vantor::services {

using namespace vantor::transfer;

NetworkParamsExchange::NetworkParamsExchange(model::CVantorDoc& doc)
    : Exchange(Framing::Command), doc_(doc) {}

NetworkSettings NetworkParamsExchange::initialFields() const {
    return {doc_.SETIP, doc_.SETMASK, doc_.SETGW, std::to_string(doc_.SETPORT)};
}

void NetworkParamsExchange::start() {
    acknowledged_ = false;
    model_ = doc_.modelName();
    const int port = portOverride_.value_or(servicePort(model_, doc_.accessPort));
    beginConnect(doc_.IP, port);
}

void NetworkParamsExchange::onConnected() {
    connected_ = true;
}

bool NetworkParamsExchange::download(const NetworkSettings& fields, MessageSink& sink) {
    if (finished() || running_)
        return false;
    auto checked = checkNetworkSettings(fields, sink);
    if (!checked)
        return false;
    entered_ = fields;
    checked_ = checked;
    running_ = true;
    position_ = 0;
    progress(0, 100, 0);
    startTimer(kRunTimer, kRunTickMs);
    return true;
}

void NetworkParamsExchange::onTimer(int id) {
    if (id != kRunTimer || !running_)
        return;
    if (position_ == kRequestPosition)
        send(networkParamsRequest(model_, *checked_));
    if (position_ > kLastPosition) {
        running_ = false;
        if (acknowledged_) {
            doc_.SETIP = entered_.ip;
            doc_.SETMASK = entered_.mask;
            doc_.SETGW = entered_.gateway;
            doc_.SETPORT = checked_->port;
        }
        const bool ok = acknowledged_;
        acknowledged_ = false;
        finish(ok, ok ? kDone : kFailed);
        return;
    }
    ++position_;
    progress(0, 100, position_);
    startTimer(kRunTimer, kRunTickMs);
}

void NetworkParamsExchange::onReply(ByteView frame) {
    auto code = byteAt(frame, 0);
    auto st = replyStatus(frame);
    if (acknowledged_)
        return;
    if (!code || *code != command::kNetworkParams || !st || *st != 0) {
        // Not the acknowledgement: it may still come before the run ends.
        keepAwaitingReply();
        return;
    }
    acknowledged_ = true;
    send(bareRequest(command::kRestart));
}

void NetworkParamsExchange::onSendFailed() {
    // Only the socket goes; the run ends on its own with its result.
    closeSocket();
    showError(kSendFailed);
}

} // namespace vantor::services
