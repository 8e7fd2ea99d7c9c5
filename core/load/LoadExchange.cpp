#include "load/LoadExchange.h"

#include "transfer/AddressFiles.h"
#include "transfer/CommandFrame.h"

namespace vantor::load {

using namespace vantor::transfer;

LoadExchange::LoadExchange(std::string directory)
    : Exchange(Framing::Command), directory_(std::move(directory)) {
    guardRepliesWith(kReplyTimer, kReplyTimeoutMs);
}

void LoadExchange::start() {
    const auto files = readAddressFiles(directory_);
    // The port file's text is not shown; a missing one is reported as a
    // missing address file all the same, once for both.
    if (!files.ip || !files.port)
        showError(kMissingFile);
    fields_.gatewayIp = proposedGatewayIp(files.ip.value_or(""));
    state_ = LinkState::Disconnected;
    actionsEnabled_ = false;
}

void LoadExchange::cancel() {
    Exchange::cancel();
    toDisconnected();
}

bool LoadExchange::pressConnect() {
    if (finished())
        return false;
    if (state_ == LinkState::Connected) {
        // 断开: the runs go on and end with their own result.
        closeSocket();
        toDisconnected();
        return true;
    }
    if (state_ == LinkState::Connecting)
        return false;
    std::string refusal;
    auto endpoint = checkEndpoint(fields_, &refusal);
    if (!endpoint) {
        showError(refusal);
        return false;
    }
    state_ = LinkState::Connecting;
    actionsEnabled_ = false;
    outcome_ = Outcome::None;
    connectedIp_ = endpoint->host;
    openConnection(endpoint->host, endpoint->port);
    // The system's own connect timeout can take minutes; give up after the
    // suite's connect timeout as a refused connection.
    startTimer(kConnectTimer, kConnectTimeoutMs);
    return true;
}

void LoadExchange::toDisconnected() {
    state_ = LinkState::Disconnected;
    actionsEnabled_ = false;
}

void LoadExchange::onConnected() {
    state_ = LinkState::Connected;
    actionsEnabled_ = true;
}

void LoadExchange::onConnectFailed() {
    closeSocket();
    stopTimer(kConnectTimer);
    toDisconnected();
    showError(kConnectFailed);
    outcome_ = Outcome::Failed;
}

void LoadExchange::onConnectTimeout() {
    onConnectFailed();
}

void LoadExchange::onClosedByPeer() {
    closeSocket();
    toDisconnected();
    // An operation that still waits for the gateway's word ends at once:
    // none can come on the closed connection. Once the gateway has given
    // it (the restart that follows makes it close), the run ends as usual.
    if (operation_ != Operation::None && !success_)
        expireReplyTimer();
}

void LoadExchange::onSendFailed() {
    closeSocket();
    toDisconnected();
    showError(kSendFailed);
    outcome_ = Outcome::Failed;
}

bool LoadExchange::pressRtu() {
    if (finished() || !actionsEnabled_)
        return false;
    std::string refusal;
    if (!checkModbusAddresses(fields_, &refusal)) {
        showError(refusal);
        return false;
    }
    success_ = false;
    operation_ = Operation::Rtu;
    outcome_ = Outcome::None;
    // The bar starts again from nothing, not from where the last run left it.
    position_ = 0;
    progress(0, 100, 0);
    sendRequest(identificationRequest(), true);
    return true;
}

bool LoadExchange::pressIp() {
    if (finished() || !actionsEnabled_)
        return false;
    std::string refusal;
    auto settings = checkNetworkFields(fields_, &refusal);
    if (!settings) {
        showError(refusal);
        return false;
    }
    success_ = false;
    operation_ = Operation::Network;
    outcome_ = Outcome::None;
    sentNetwork_ = settings;
    position_ = 0;
    progress(0, 100, 0);
    startTimer(kNetworkRunTimer, kTickMs);
    return true;
}

void LoadExchange::sendRequest(Bytes bytes, bool enablesActions) {
    // A request the socket cannot take is not reported here: the reply
    // timer tells.
    lastRequest_ = bytes.empty() ? 0 : bytes[0];
    send(std::move(bytes));
    startTimer(kReplyTimer, kReplyTimeoutMs);
    if (enablesActions && state_ == LinkState::Connected)
        actionsEnabled_ = true;
}

void LoadExchange::onReply(ByteView frame) {
    const auto code = byteAt(frame, 0);
    const auto status = replyStatus(frame);
    const bool statusOk = status && statusIsSuccess(*status);
    // A frame that no row takes and that does not echo the outstanding
    // request (garbage, another command's echo) answers nothing: the request
    // is still awaited, under the reply timer that runs since it went out,
    // so a gateway that never gives the reply still ends in "下载失败".
    const bool rowFrame = code == command::kDeviceState || code == command::kRtuConfig ||
                          (code == command::kFieldbusConfig && statusOk) || code == command::kNetworkParams ||
                          byteAt(frame, 7) == 98;
    if (!rowFrame && code != lastRequest_) {
        keepAwaitingReply();
        return;
    }
    stopTimer(kReplyTimer);
    // An operation whose failure has been shown is over: a late reply
    // neither continues it nor saves anything.
    if (operation_ == Operation::None)
        return;
    bool saved = false;
    auto saveOnce = [&](Operation op) {
        if (!saved)
            saveAddressFiles(op);
        saved = true;
    };
    if (code == command::kDeviceState) {
        std::string refusal;
        if (checkModbusAddresses(fields_, &refusal)) {
            sendRequest(rtuSettingsRequest(fields_), true);
        } else {
            // An address edited into a refused one since RTU设置: nothing more
            // is sent and no timer runs, so the operation ends here.
            showError(refusal);
            endOperation(Outcome::Failed);
            return;
        }
    }
    if (code == command::kRtuConfig) {
        position_ = 0;
        progress(0, 100, 0);
        startTimer(kRtuRunTimer, kTickMs);
    }
    if (code == command::kFieldbusConfig && statusOk) {
        success_ = true;
        sendRequest(restartRequest(), false);
    }
    if (code == command::kNetworkParams && statusOk) {
        success_ = true;
        saveOnce(Operation::Network);
        sendRequest(restartRequest(), false);
    }
    if (code == command::kNetworkParams) {
        // Any answer to the network settings counts: a gateway acknowledges
        // with statuses other than 0 and 4 as well.
        success_ = true;
        saveOnce(Operation::Network);
    }
    if (byteAt(frame, 7) == 98) {
        success_ = true;
        saveOnce(operation_);
    }
}

void LoadExchange::endOperation(Outcome outcome) {
    success_ = false;
    outcome_ = outcome;
    operation_ = Operation::None;
}

void LoadExchange::onTimer(int id) {
    if (id == kReplyTimer) {
        stopTimer(kRtuRunTimer);
        stopTimer(kNetworkRunTimer);
        // The gateway closed the connection: say so, rather than leave the
        // user to guess why the reply never came.
        showError(peerClosed() ? kConnectionLost : kFailed);
        endOperation(Outcome::Failed);
        return;
    }
    if (id == kRtuRunTimer || id == kNetworkRunTimer)
        runTick(id);
}

void LoadExchange::runTick(int timer) {
    if (position_ == kRequestPosition) {
        if (timer == kRtuRunTimer) {
            sendRequest(fieldbusRequest(), true);
        } else {
            std::string refusal;
            auto settings = checkNetworkFields(fields_, &refusal);
            if (settings) {
                sentNetwork_ = settings;
                sendRequest(networkRequest(*settings), true);
            } else {
                showError(refusal);
            }
        }
    }
    if (position_ > kLastPosition) {
        if (success_) {
            saveAddressFiles(timer == kRtuRunTimer ? Operation::Rtu : Operation::Network);
            showInformation(kDone);
            // The connection closes here, so no answer to the restart can
            // come any more: its reply timeout would report a failure of an
            // operation that succeeded.
            stopTimer(kReplyTimer);
            closeSocket();
            toDisconnected();
            outcome_ = Outcome::Done;
        } else {
            showError(kFailed);
            outcome_ = Outcome::Failed;
        }
        success_ = false;
        operation_ = Operation::None;
        return;
    }
    ++position_;
    progress(0, 100, position_);
    startTimer(timer, kTickMs);
}

void LoadExchange::saveAddressFiles(Operation op) {
    std::string error;
    bool ok = true;
    if (op == Operation::Network && sentNetwork_) {
        ok = writeAddressFiles(directory_, dottedText(sentNetwork_->ip), sentNetwork_->port, &error);
    } else if (op == Operation::Rtu) {
        // The RTU settings leave the gateway's address as it was: the
        // address to propose next time is the one connected to, and the
        // MODBUS TCP port in port.txt is not touched.
        ok = writeAddressFile(ipFilePath(directory_), connectedIp_, &error);
    }
    if (!ok)
        showError(error);
}

} // namespace vantor::load
