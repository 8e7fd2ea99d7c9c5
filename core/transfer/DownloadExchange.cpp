#include "transfer/DownloadExchange.h"

#include "model/GatewayCatalogue.h"
#include "transfer/CommandFrame.h"

namespace vantor::transfer {

namespace {
constexpr std::size_t kIdentityOffset = 12;
constexpr std::size_t kVersionOffset = 18;
} // namespace

std::optional<std::string> mismatchPrefix(std::string_view model) {
    const auto& m = model::gatewayModel(model);
    if (!m.modelCode)
        return std::nullopt;
    // The EtherNet/IP gateway reports the six-port identity and is named so.
    std::string configured = model == "TRX-H-QMB6" ? std::string("KX-P6R0-1.0") : std::string(model);
    return "设备型号不匹配 配置设备为" + configured + " 实际设备为";
}

DownloadExchange::DownloadExchange(std::string model, ConfigurationBlocks blocks, DownloadSettings settings)
    : Exchange(Framing::Command), model_(std::move(model)), blocks_(std::move(blocks)),
      settings_(std::move(settings)),
      port_(settings_.portOverride.value_or(servicePort(model_, settings_.accessPort))) {
    guardRepliesWith(kReplyTimer);
    pauseRepliesWith(kPaceTimer, settings_.paceMs);
}

void DownloadExchange::start() {
    chunkIndex_ = 0;
    phase_ = Phase::Connecting;
    beginConnect(settings_.host, port_);
}

void DownloadExchange::onConnected() {
    phase_ = Phase::DeviceState;
    status("正在获取设备状态....");
    request(bareRequest(command::kDeviceState));
}

void DownloadExchange::request(Bytes frame) {
    send(std::move(frame));
    startTimer(kReplyTimer, settings_.replyTimeoutMs);
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
        fail(" 应答超时");
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
    uint8_t identity[4] = {0, 0, 0, 0};
    bool complete = frame.size() >= kIdentityOffset + 4;
    if (complete)
        for (int i = 0; i < 4; ++i)
            identity[i] = frame[kIdentityOffset + static_cast<std::size_t>(i)];
    if (auto prefix = mismatchPrefix(model_)) {
        const auto expected = *model::gatewayModel(model_).modelCode;
        bool match = complete && identity[0] == expected && identity[1] == model::kIdentityTail[0] &&
                     identity[2] == model::kIdentityTail[1] && identity[3] == model::kIdentityTail[2];
        if (!match) {
            showError(*prefix + (complete ? model::identityName(identity) : std::string("未知设备")));
            finish(false, {});
            return;
        }
    }
    auto v1 = byteAt(frame, kVersionOffset);
    auto v2 = byteAt(frame, kVersionOffset + 1);
    if (!v1 || !v2 || *v1 != 1 || *v2 != 1) {
        showError("设备版本错误");
        finish(false, {});
        return;
    }
    phase_ = Phase::Rtu;
    status("正在下载RTU接口配置....");
    request(rtuFrame(blocks_.rtu));
}

void DownloadExchange::handleAck(ByteView frame) {
    auto st = replyStatus(frame);
    if (!st) {
        fail(" 应答不完整");
        return;
    }
    if (!statusIsSuccess(*st)) {
        fail(std::to_string(*st));
        return;
    }
    switch (phase_) {
    case Phase::Rtu:
        phase_ = Phase::Fieldbus;
        chunkIndex_ = 0;
        status("正在下载FIELDBUS操作配置....");
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
    status("正在重启设备....");
    request(bareRequest(command::kRestart));
    phase_ = Phase::Done;
    finish(true, kDone);
}

void DownloadExchange::fail(const std::string& detail) {
    phase_ = Phase::Done;
    finish(false, std::string(kFailed) + detail);
}

} // namespace vantor::transfer
