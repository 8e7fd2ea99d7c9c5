#include "net/NetIpSetExchange.h"

#include "load/LoadRequests.h"
#include "net/NetDownloadExchange.h"
#include "text/Shown.h"
#include "transfer/AddressFiles.h"
#include "transfer/CommandFrame.h"
#include "transfer/GatewayAddress.h"

namespace vantor::net {

using namespace vantor::transfer;

std::string addressFilesStatus(const std::string& ip, const std::string& port) {
    return text::shownFormat(VT_TEXT("IP: %s         端口: %s"), ip.c_str(), port.c_str());
}

NetIpSetExchange::NetIpSetExchange(std::string directory, int tickMs, int* revAllow)
    : Exchange(Framing::Command), directory_(std::move(directory)), tickMs_(tickMs), revAllow_(revAllow) {}

void NetIpSetExchange::request(Bytes frame, bool expectReply) {
    send(std::move(frame), expectReply);
    if (revAllow_)
        *revAllow_ = 1;
}

void NetIpSetExchange::start() {
    const auto files = readAddressFiles(directory_);
    if (!files.ip) {
        showError(kIpSetMissingFile);
        finish(false, {});
        return;
    }
    status(addressFilesStatus(*files.ip, files.port.value_or("")));
}

bool NetIpSetExchange::pressConnect() {
    if (finished())
        return false;
    if (connected_) {
        closeSocket();
        disconnected();
        return true;
    }
    if (socketOpen())
        return false; // connecting
    const auto target = connectTarget(fields_.connectIp, std::to_string(fields_.configPort));
    if (!target.ok()) {
        showError(target.fault == TargetFault::Address ? kNetIpWrong : kNetPortWrong);
        return false;
    }
    downloadEnabled_ = false;
    openConnection(target.host, target.port);
    startTimer(kConnectTimer, kConnectTimeoutMs);
    return true;
}

void NetIpSetExchange::disconnected() {
    connected_ = false;
    downloadEnabled_ = false;
}

void NetIpSetExchange::onConnected() {
    connected_ = true;
    downloadEnabled_ = true;
}

void NetIpSetExchange::onConnectFailed() {
    closeSocket();
    stopTimer(kConnectTimer);
    disconnected();
    showError(kIpSetConnectFailed);
}

void NetIpSetExchange::onConnectTimeout() {
    onConnectFailed();
}

void NetIpSetExchange::onClosedByPeer() {
    closeSocket();
    disconnected();
}

void NetIpSetExchange::onSendFailed() {
    // The window stays, disconnected, for another try. A run that has not
    // been acknowledged can no longer be: it stops, its failure said.
    closeSocket();
    disconnected();
    if (!acknowledged_)
        stopTimer(kIpSetTimer);
    showError(kSendFailed);
}

bool NetIpSetExchange::pressDownload() {
    if (finished() || !downloadEnabled_)
        return false;
    std::string refusal;
    settings_ = load::checkNetworkTexts(fields_.newIp, fields_.mask, fields_.gateway, fields_.port, &refusal);
    if (!settings_) {
        showError(refusal);
        return false;
    }
    downloadEnabled_ = false;
    acknowledged_ = false;
    join_.clear();
    position_ = 0;
    progress(0, 100, 0);
    startTimer(kIpSetTimer, tickMs_);
    return true;
}

void NetIpSetExchange::onTimer(int id) {
    if (id != kIpSetTimer)
        return;
    if (position_ == kIpSetRequestPosition) {
        request(services::networkParamsRequest(*settings_, kIpSetBodyLength));
        downloadEnabled_ = connected_;
    }
    if (position_ > kLastTickPosition) {
        if (acknowledged_)
            finish(true, kNetDone);
        else
            finish(false, kNetFailed);
        return;
    }
    ++position_;
    progress(0, 100, position_);
    startTimer(kIpSetTimer, tickMs_);
}

void NetIpSetExchange::onReply(ByteView frame) {
    if (revAllow_)
        *revAllow_ = 0;
    const bool networkReply = join_.holding() || (!frame.empty() && frame[0] == command::kNetworkParams);
    auto whole = join_.add(frame, networkReply);
    if (!whole) {
        keepAwaitingReply(); // the rest of a split acknowledgement
        return;
    }
    if (acknowledged_)
        return;
    if (byteAt(*whole, 0) != command::kNetworkParams || replyStatus(*whole) != 0) {
        // Not the acknowledgement: it may still come before the run ends.
        keepAwaitingReply();
        return;
    }
    acknowledged_ = true;
    saveAddressFiles();
    request(bareRequest(command::kRestart), false);
}

void NetIpSetExchange::saveAddressFiles() {
    std::string error;
    if (!writeAddressFiles(directory_, load::dottedText(settings_->ip), settings_->port, &error))
        showError(error);
}

} // namespace vantor::net
