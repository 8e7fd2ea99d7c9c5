#include "net/NetDownloadExchange.h"

#include "text/Shown.h"
#include "transfer/CommandFrame.h"
#include "transfer/GatewayAddress.h"

namespace vantor::net {

using namespace vantor::transfer;

bool skipsRtuConfiguration(const std::string& model, int workMode) {
    return model == "LNK-P1-1.0" && workMode == 1;
}

NetDownloadExchange::NetDownloadExchange(std::string model, int workMode, NetImages images,
                                         NetDownloadSettings settings, int* revAllow)
    : Exchange(Framing::Command), model_(std::move(model)), workMode_(workMode), images_(std::move(images)),
      settings_(std::move(settings)), revAllow_(revAllow) {
    guardRepliesWith(kNetReplyTimer, settings_.replyTimeoutMs);
    pauseRepliesWith(kNetPaceTimer, settings_.paceMs);
}

void NetDownloadExchange::start() {
    if (finished() || (phase_ != Phase::Disconnected))
        return;
    const auto target = connectTarget(settings_.host, std::to_string(settings_.port));
    if (!target.ok()) {
        showError(target.fault == TargetFault::Address ? kNetIpWrong : kNetPortWrong);
        finish(false, {});
        return;
    }
    phase_ = Phase::Connecting;
    status(kNetConnecting);
    openConnection(target.host, target.port);
    // The system's own connect timeout can take minutes; give up after the
    // suite's connect timeout as a refused connection.
    startTimer(kConnectTimer, kConnectTimeoutMs);
}

void NetDownloadExchange::onConnected() {
    phase_ = Phase::Connected;
    status(kNetReady);
}

void NetDownloadExchange::onConnectFailed() {
    closeSocket();
    stopTimer(kConnectTimer);
    phase_ = Phase::Disconnected;
    status("");
    showError(kNetConnectFailed);
    finish(false, {});
}

void NetDownloadExchange::onConnectTimeout() {
    onConnectFailed();
}

bool NetDownloadExchange::pressDisconnect() {
    if (finished() || (phase_ != Phase::Connected && !downloading()))
        return false;
    for (int timer : {kNetReplyTimer, kFieldbusTimer})
        stopTimer(timer);
    cancelPause();
    join_.clear();
    closeSocket();
    phase_ = Phase::Disconnected;
    status("");
    return true;
}

void NetDownloadExchange::onClosedByPeer() {
    closeSocket();
    // Before 下载 the dialog simply shows the link gone. During a download
    // no reply can come any more, whether one is awaited now or the next
    // request is still to go (the pause, the ticks before the first part):
    // the reply timeout ends it at once.
    if (phase_ == Phase::Connected) {
        phase_ = Phase::Disconnected;
        status("");
    } else if (downloading()) {
        expireReplyTimer();
    }
}

bool NetDownloadExchange::pressDownload() {
    if (finished() || phase_ != Phase::Connected)
        return false;
    phase_ = Phase::Identification;
    status(VT_TEXT("正在获取设备状态...."));
    request(bareRequest(command::kDeviceState));
    return true;
}

void NetDownloadExchange::request(Bytes frame, bool expectReply) {
    // A request the socket refuses is not reported here: the reply timer
    // tells (at once on a connection the gateway has closed).
    send(std::move(frame), expectReply);
    if (revAllow_)
        *revAllow_ = 1;
    startTimer(kNetReplyTimer, settings_.replyTimeoutMs);
}

uint8_t NetDownloadExchange::awaitedCommand() const {
    switch (phase_) {
    case Phase::Identification:
        return command::kDeviceState;
    case Phase::Rtu:
        return command::kRtuConfig;
    case Phase::Fieldbus:
        return command::kFieldbusConfig;
    default:
        return 0;
    }
}

void NetDownloadExchange::onReply(ByteView frame) {
    const uint8_t code = frame.empty() ? 0 : frame[0];
    if (!join_.holding() && code != awaitedCommand()) {
        keepAwaitingReply();
        return;
    }
    const bool acknowledgement = code == command::kRtuConfig || code == command::kFieldbusConfig;
    auto whole = join_.add(frame, join_.holding() || acknowledgement);
    if (!whole) {
        keepAwaitingReply(); // the rest of the acknowledgement
        return;
    }
    if (revAllow_)
        *revAllow_ = 0;
    actAfterPause(*whole);
}

void NetDownloadExchange::onTimer(int id) {
    if (id == kNetReplyTimer) {
        fail(kNetTimeout);
    } else if (id == kFieldbusTimer) {
        tick();
    }
}

void NetDownloadExchange::actOnReply(const Bytes& frame) {
    // The answer to the outstanding request (onReply let no other through).
    const auto code = byteAt(frame, 0);
    if (*code == command::kDeviceState) {
        if (skipsRtuConfiguration(model_, workMode_)) {
            startFieldbusPhase();
            return;
        }
        phase_ = Phase::Rtu;
        status(VT_TEXT("正在下载RTU接口配置...."));
        request(imageAFrame(images_.a));
        return;
    }
    const auto st = replyStatus(frame); // present: joined above
    if (!st || !statusIsSuccess(*st)) {
        if (st)
            failWithStatus(*st);
        else
            fail(VT_TEXT(" 应答不完整"));
        return;
    }
    if (*code == command::kRtuConfig) {
        startFieldbusPhase();
        return;
    }
    if (nextPart_ < imageBPartCount(images_.b)) {
        sendNextPart();
        return;
    }
    // The last part is acknowledged. A gateway that closed the connection
    // meanwhile never gets the restart: a failed download, not a finished one.
    if (!socketOpen()) {
        onSendFailed();
        return;
    }
    status("");
    status(VT_TEXT("正在重启设备...."));
    request(bareRequest(command::kRestart), false);
    phase_ = Phase::Done;
    finish(true, kNetDone);
}

void NetDownloadExchange::startFieldbusPhase() {
    phase_ = Phase::Fieldbus;
    position_ = 0;
    nextPart_ = 0;
    progress(0, 100, 0);
    startTimer(kFieldbusTimer, settings_.tickMs);
    status(VT_TEXT("正在下载FIELDBUS操作配置...."));
}

void NetDownloadExchange::tick() {
    if (position_ == kFirstPartPosition && nextPart_ == 0)
        sendNextPart();
    if (position_ > kLastTickPosition)
        return; // the run is over; the reply timer still guards the parts
    ++position_;
    progress(0, 100, position_);
    startTimer(kFieldbusTimer, settings_.tickMs);
}

void NetDownloadExchange::sendNextPart() {
    request(imageBPart(images_.b, nextPart_));
    ++nextPart_;
}

void NetDownloadExchange::fail(const char* reason) {
    phase_ = Phase::Done;
    finish(false, failedResult(reason));
}

void NetDownloadExchange::failWithStatus(uint8_t status) {
    phase_ = Phase::Done;
    finish(false, failedResult(status));
}

} // namespace vantor::net
