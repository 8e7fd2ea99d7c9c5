#include "services/FirmwareExchange.h"

#include "model/GatewayCatalogue.h"
#include "services/DeviceInfo.h"
#include "text/Numbers.h"
#include "text/Shown.h"
#include "transfer/CommandFrame.h"

#include <algorithm>

namespace vantor::services {

using namespace vantor::transfer;

FirmwareExchange::FirmwareExchange(std::string model, std::optional<Bytes> file, FirmwareSettings settings)
    : Exchange(Framing::Command), model_(std::move(model)), file_(std::move(file)),
      settings_(std::move(settings)),
      port_(settings_.portOverride.value_or(servicePort(model_, settings_.accessPort))) {
    guardRepliesWith(kFirmwareReplyTimer, kFirmwareReplyTimeoutMs);
}

std::string FirmwareExchange::failureText(int resultCode) const {
    return composed(VT_TEXT("固件升级失败,错误码%d\n请确认拨码开关BIT4为ON"), resultCode);
}

void FirmwareExchange::start() {
    phase_ = Phase::Connecting;
    beginConnect(settings_.host, port_);
}

void FirmwareExchange::onConnected() {
    phase_ = Phase::Identifying;
    request(bareRequest(command::kDeviceState));
}

void FirmwareExchange::onReply(ByteView frame) {
    auto code = byteAt(frame, 0);
    if (phase_ == Phase::Identifying && code == uint8_t{command::kDeviceState}) {
        stopTimer(kFirmwareReplyTimer);
        handleIdentification(frame);
    } else if ((phase_ == Phase::Blocks || phase_ == Phase::Closing) &&
               code == uint8_t{command::kFirmwareBlock}) {
        stopTimer(kFirmwareReplyTimer);
        handleBlockReply(frame);
    } else {
        keepAwaitingReply();
    }
}

void FirmwareExchange::handleIdentification(ByteView frame) {
    if (frame.size() < 16) {
        showError(kShortIdentification);
        finish(false, {});
        return;
    }
    if (!model::identityMatchesModel(model_, identityOf(frame))) {
        showError(kModelMismatch);
        finish(false, {});
        return;
    }
    startTransfer();
}

void FirmwareExchange::startTransfer() {
    if (!file_) {
        showError(kNoFile);
        finish(false, {});
        return;
    }
    auto fw = splitFirmware(*file_);
    if (!fw) {
        showError(kShortFile);
        finish(false, {});
        return;
    }
    firmware_ = std::move(*fw);
    blockIndex_ = 0;
    sequence_ = 0;
    position_ = 0;
    lastBlockSent_ = false;
    headerSent_ = false;
    phase_ = Phase::Blocks;
    progress(0, firmware_.fullBlocks(), 0);
    sendBlock();
}

void FirmwareExchange::advanceProgress() {
    ++position_;
    // The closing frame (and a short last block) step past the range; the
    // bar stays full.
    progress(0, firmware_.fullBlocks(), std::min(position_, firmware_.fullBlocks()));
}

void FirmwareExchange::sendBlock() {
    if (isLastFirmwareBlock(firmware_, blockIndex_))
        lastBlockSent_ = true;
    request(firmwareBlockFrame(sequence_, firmwareBlockData(firmware_, blockIndex_)));
    ++sequence_;
    ++blockIndex_;
    advanceProgress();
}

void FirmwareExchange::sendClosing() {
    phase_ = Phase::Closing;
    headerSent_ = true;
    request(firmwareClosingFrame(sequence_, firmware_.header));
    ++sequence_;
    advanceProgress();
}

void FirmwareExchange::handleBlockReply(ByteView frame) {
    auto result = byteAt(frame, kStatusOffset);
    if (!result) {
        showError(kShortBlockReply);
        finish(false, {});
        return;
    }
    if (*result != 0) {
        showError(failureText(*result));
        finish(false, {});
        return;
    }
    if (headerSent_) {
        headerSent_ = false;
        phase_ = Phase::Done;
        progress(0, firmware_.fullBlocks(), firmware_.fullBlocks());
        showInformation(kDone);
        finish(true, {});
    } else if (lastBlockSent_) {
        lastBlockSent_ = false;
        sendClosing();
    } else {
        sendBlock();
    }
}

void FirmwareExchange::onTimer(int id) {
    if (id != kFirmwareReplyTimer)
        return;
    showError(kNoReply);
    finish(false, {});
}

} // namespace vantor::services
