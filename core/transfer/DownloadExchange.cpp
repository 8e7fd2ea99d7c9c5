#include "transfer/DownloadExchange.h"

#include "model/GatewayCatalogue.h"
#include "text/Shown.h"
#include "transfer/CommandFrame.h"

namespace vantor::transfer {

DownloadExchange::DownloadExchange(std::string model, ConfigurationBlocks blocks, DownloadSettings settings)
    : Exchange(Framing::Command), model_(std::move(model)), blocks_(std::move(blocks)),
      settings_(std::move(settings)),
      port_(settings_.portOverride.value_or(servicePort(model_, settings_.accessPort))) {
    guardRepliesWith(kReplyTimer, settings_.replyTimeoutMs);
    pauseRepliesWith(kPaceTimer, settings_.paceMs);
}

void DownloadExchange::start() {
    chunkIndex_ = 0;
    phase_ = Phase::Connecting;
    beginConnect(settings_.host, port_);
}

void DownloadExchange::onConnected() {
    phase_ = Phase::DeviceState;
    status(VT_TEXT("正在获取设备状态...."));
    request(bareRequest(command::kDeviceState));
}

void DownloadExchange::onReply(ByteView frame) {
    auto code = byteAt(frame, 0);
    if (!code || *code != awaitedCommand()) {
        // Not the reply to the outstanding request: keep waiting for it
        // under the timer already running, so a gateway that sends frames
        // answering nothing still ends in the reply timeout.
        keepAwaitingReply();
        return;
    }
    actAfterPause(frame);
}

void DownloadExchange::onTimer(int id) {
    if (id == kReplyTimer)
        fail(result::kReplyTimeout);
}

uint32_t DownloadExchange::awaitedCommand() const {
    switch (phase_) {
    case Phase::DeviceState:
        return command::kDeviceState;
    case Phase::Rtu:
        return command::kRtuConfig;
    case Phase::Fieldbus:
        return command::kFieldbusConfig;
    case Phase::Eip:
        return command::kEipConfig;
    default:
        return 0;
    }
}

void DownloadExchange::actOnReply(const Bytes& frame) {
    // The reply to the outstanding request (onReply let no other through).
    if (phase_ == Phase::DeviceState)
        handleDeviceState(frame);
    else
        handleAck(frame);
}

void DownloadExchange::handleDeviceState(ByteView frame) {
    // Bytes missing from a short reply never match.
    const ByteView identity = identityOf(frame);
    if (!model::identityMatchesModel(model_, identity)) {
        showError(inOwnLanguage([&] { return model::modelMismatchText(model_, identity); }));
        finish(false, {});
        return;
    }
    auto v1 = byteAt(frame, kVersionMarksOffset);
    auto v2 = byteAt(frame, kVersionMarksOffset + 1);
    if (!v1 || !v2 || *v1 != 1 || *v2 != 1) {
        showError(VT_TEXT("设备版本错误"));
        finish(false, {});
        return;
    }
    phase_ = Phase::Rtu;
    status(VT_TEXT("正在下载RTU接口配置...."));
    request(rtuFrame(blocks_.rtu));
}

void DownloadExchange::handleAck(ByteView frame) {
    auto st = replyStatus(frame);
    if (!st) {
        fail(VT_TEXT(" 应答不完整"));
        return;
    }
    if (!statusIsSuccess(*st)) {
        failWithStatus(*st);
        return;
    }
    switch (phase_) {
    case Phase::Rtu:
        phase_ = Phase::Fieldbus;
        chunkIndex_ = 0;
        status(VT_TEXT("正在下载FIELDBUS操作配置...."));
        sendChunk();
        break;
    case Phase::Fieldbus:
        if (!lastChunk_)
            sendChunk();
        else if (blocks_.hasEip) {
            phase_ = Phase::Eip;
            chunkIndex_ = 0;
            sendChunk();
        } else
            sendFinish();
        break;
    case Phase::Eip:
        if (!lastChunk_)
            sendChunk();
        else
            sendFinish();
        break;
    default:
        break;
    }
}

void DownloadExchange::sendChunk() {
    const bool eip = phase_ == Phase::Eip;
    const Bytes& block = eip ? blocks_.eip : blocks_.fieldbus;
    const uint32_t code = eip ? command::kEipConfig : command::kFieldbusConfig;
    lastChunk_ = chunkIndex_ + 1 >= chunkCount(block.size());
    Bytes frame = chunkFrame(code, block, chunkIndex_);
    ++chunkIndex_;
    request(std::move(frame));
}

void DownloadExchange::sendFinish() {
    // A gateway that closed the connection during the last pause never gets
    // the restart: that is a failed download, not a finished one.
    if (!socketOpen()) {
        onSendFailed();
        return;
    }
    status("");
    phase_ = Phase::Restart;
    status(VT_TEXT("正在重启设备...."));
    request(bareRequest(command::kRestart));
    phase_ = Phase::Done;
    finish(true, kDone);
}

void DownloadExchange::fail(const char* reason) {
    phase_ = Phase::Done;
    finish(false, failedResult(reason));
}

void DownloadExchange::failWithStatus(uint8_t status) {
    phase_ = Phase::Done;
    finish(false, failedResult(status));
}

} // namespace vantor::transfer
