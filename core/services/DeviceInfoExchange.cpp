#include "services/DeviceInfoExchange.h"

#include "model/GatewayCatalogue.h"
#include "transfer/CommandFrame.h"

namespace vantor::services {

using namespace vantor::transfer;

DeviceInfoExchange::DeviceInfoExchange(std::string model, DeviceInfoSettings settings)
    : Exchange(Framing::Command), model_(std::move(model)), settings_(std::move(settings)),
      port_(settings_.portOverride.value_or(servicePort(model_, settings_.accessPort))) {
    guardRepliesWith(kInfoReplyTimer, kInfoReplyTimeoutMs);
}

void DeviceInfoExchange::start() {
    identified_ = false;
    fields_ = {};
    beginConnect(settings_.host, port_);
}

void DeviceInfoExchange::onConnected() {
    request(bareRequest(command::kDeviceState));
}

void DeviceInfoExchange::onReply(ByteView frame) {
    auto code = byteAt(frame, 0);
    if (code == uint8_t{command::kDeviceState} && !identified_)
        handleIdentification(frame);
    else if (code == uint8_t{command::kSerialNumber} && identified_)
        handleSerial(frame);
    else
        keepAwaitingReply();
}

void DeviceInfoExchange::handleIdentification(ByteView frame) {
    stopTimer(kInfoReplyTimer);
    auto id = readIdentification(frame);
    if (!id) {
        showError(kShortIdentification);
        finish(false, {});
        return;
    }
    if (id->hasMac2 && !model::identityMatchesModel(model_, id->identity)) {
        showError(inOwnLanguage([&] { return model::modelMismatchText(model_, id->identity); }));
        finish(false, {});
        return;
    }
    identified_ = true;
    fields_.deviceId = id->deviceId;
    fields_.version = id->version;
    fields_.buildTime = id->buildTime;
    fields_.mac1 = id->mac1;
    fields_.mac2 = id->mac2;
    fields_.runState = runStateFor(model_, id->runStateValue);
    request(bareRequest(command::kSerialNumber));
}

void DeviceInfoExchange::handleSerial(ByteView frame) {
    if (frame.size() < kFrameHeader) {
        stopTimer(kInfoReplyTimer);
        showError(kShortSerial);
        finish(false, {});
        return;
    }
    const uint32_t length = static_cast<uint32_t>(frame[4]) | static_cast<uint32_t>(frame[5]) << 8 |
                            static_cast<uint32_t>(frame[6]) << 16 | static_cast<uint32_t>(frame[7]) << 24;
    if (length != 12) {
        keepAwaitingReply();
        return;
    }
    stopTimer(kInfoReplyTimer);
    auto serial = readSerialNumber(frame);
    if (!serial) {
        showError(kShortSerial);
        finish(false, {});
        return;
    }
    fields_.serialNumber = *serial;
    finish(true, {});
}

void DeviceInfoExchange::onTimer(int id) {
    if (id != kInfoReplyTimer)
        return;
    showError(kNoReply);
    finish(false, {});
}

} // namespace vantor::services
