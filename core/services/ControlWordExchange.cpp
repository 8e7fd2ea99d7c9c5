#include "services/ControlWordExchange.h"

#include "text/Numbers.h"

#include <algorithm>

namespace vantor::services {

using namespace vantor::transfer;

ControlWordExchange::ControlWordExchange(int displayAddress, uint16_t value, ControlWordSettings settings)
    : Exchange(Framing::ModbusTcp), displayAddress_(displayAddress), value_(value),
      settings_(std::move(settings)) {
    guardRepliesWith(kControlReplyTimer, kControlReplyTimeoutMs);
}

std::string ControlWordExchange::initialText(uint16_t value) {
    return text::format("%04x", static_cast<unsigned>(value));
}

std::optional<uint16_t> ControlWordExchange::parseValue(std::string_view text, MessageSink& sink) {
    bool ok = text.size() == 4;
    unsigned v = 0;
    for (char c : text) {
        if (!ok)
            break;
        const int d = text::hexDigitValue(c);
        if (d < 0) {
            ok = false;
            break;
        }
        v = v << 4 | static_cast<unsigned>(d);
    }
    if (!ok) {
        sink.error(kBadText);
        return std::nullopt;
    }
    return static_cast<uint16_t>(v);
}

Bytes ControlWordExchange::writeRequest(int displayAddress, uint16_t value) {
    const unsigned reg = static_cast<unsigned>(displayAddress - 40000) & 0xFFFF;
    return Bytes{0,
                 0,
                 0,
                 0,
                 0,
                 6,
                 kModbusUnit,
                 kWriteSingle,
                 static_cast<uint8_t>(reg >> 8),
                 static_cast<uint8_t>(reg & 0xFF),
                 static_cast<uint8_t>(value >> 8),
                 static_cast<uint8_t>(value & 0xFF)};
}

void ControlWordExchange::start() {
    beginConnect(settings_.host, settings_.port);
}

void ControlWordExchange::onConnected() {
    request(writeRequest(displayAddress_, value_));
}

void ControlWordExchange::onReply(ByteView frame) {
    auto function = byteAt(frame, kFunctionOffset);
    if (function == kWriteSingleException) {
        stopTimer(kControlReplyTimer);
        showError(kRefused);
        finish(false, {});
        return;
    }
    if (function != kWriteSingle) {
        keepAwaitingReply();
        return;
    }
    if (frame.size() < 12) {
        stopTimer(kControlReplyTimer);
        showError(kShortReply);
        finish(false, {});
        return;
    }
    const Bytes expected = writeRequest(displayAddress_, value_);
    if (!std::equal(expected.begin() + 8, expected.end(), frame.begin() + 8)) {
        keepAwaitingReply();
        return;
    }
    stopTimer(kControlReplyTimer);
    closeSocket();
    showInformation(kDone);
    finish(true, {});
}

void ControlWordExchange::onTimer(int id) {
    if (id != kControlReplyTimer)
        return;
    showError(kNoReply);
    finish(false, {});
}

} // namespace vantor::services
