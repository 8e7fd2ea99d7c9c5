#include "services/SlaveStateExchange.h"

#include "model/GatewayCatalogue.h"
#include "text/Numbers.h"
#include "text/Shown.h"
#include "transfer/CommandFrame.h"

#include <algorithm>

namespace vantor::services {

using namespace vantor::transfer;

SlaveStateExchange::SlaveStateExchange(std::string model, SlaveStateSettings settings)
    : Exchange(Framing::ModbusTcp), model_(std::move(model)), settings_(std::move(settings)),
      portCount_(polledPortCount(model_)), rows_(kRowCount) {
    guardRepliesWith(kStateReplyTimer, kStateReplyTimeoutMs);
}

std::string SlaveStateExchange::staleNote(const std::string& lastRead) {
    return text::shownFormat(VT_TEXT("通信已中断，以下为 %s 最后一次应答的数据"), lastRead.c_str());
}

void SlaveStateExchange::start() {
    polling_ = false;
    inFlight_ = false;
    beginConnect(settings_.host, settings_.port);
}

void SlaveStateExchange::onConnected() {
    polling_ = true;
    startTimer(kPollTimer, settings_.pollMs);
}

void SlaveStateExchange::onTimer(int id) {
    if (id == kStateReplyTimer) {
        showError(kNoReply);
        polling_ = false;
        finish(false, {});
        return;
    }
    if (id != kPollTimer || !polling_)
        return;
    startTimer(kPollTimer, settings_.pollMs);
    if (!inFlight_)
        beginCycle();
}

void SlaveStateExchange::beginCycle() {
    pass_ = Pass::State;
    port_ = 1;
    counter_ = 0;
    sendRequest();
}

void SlaveStateExchange::sendRequest() {
    const uint8_t function = pass_ == Pass::State ? kReadInput : kReadHolding;
    request(readRequest(static_cast<uint16_t>(counter_), function, pairStart(port_, counter_)));
    ++counter_;
    inFlight_ = true;
}

bool SlaveStateExchange::identificationMatches(std::string_view model, ByteView frame) {
    return model::identityMatchesModel(model, identityOf(frame));
}

void SlaveStateExchange::onReply(ByteView frame) {
    // Only the answer to the outstanding read (its data or its exception)
    // stops its reply timer; any other frame leaves it waiting, so a
    // gateway that sends frames answering nothing still ends in "无应答".
    auto keepWaiting = [this] {
        if (inFlight_)
            keepAwaitingReply();
    };
    if (byteAt(frame, 0) == uint8_t{1}) {
        // A device identification on this link (no read of ours has a
        // transaction id from 256 up): it restarts the poll timer and must
        // name the project's model.
        startTimer(kPollTimer, settings_.pollMs);
        if (byteAt(frame, 4) == uint8_t{0x34} && !identificationMatches(model_, frame)) {
            showError(kModelMismatch);
            polling_ = false;
            finish(false, {});
            return;
        }
        keepWaiting();
        return;
    }

    const uint8_t awaited = pass_ == Pass::State ? kReadInput : kReadHolding;
    auto function = byteAt(frame, kFunctionOffset);
    if (!function || counter_ == 0 || (*function != awaited && *function != (awaited | 0x80))) {
        keepWaiting();
        return;
    }
    stopTimer(kStateReplyTimer);
    inFlight_ = false;
    if (*function != awaited)
        return; // an exception: the chain stops, the next tick starts over

    if (frame.size() < kReadDataOffset + kReadDataBytes) {
        showError(kShortReply);
        polling_ = false;
        finish(false, {});
        return;
    }

    Port& p = ports_[static_cast<std::size_t>(port_ - 1)];
    auto& buffer = pass_ == Pass::State ? p.state : p.control;
    const std::size_t half = static_cast<std::size_t>(counter_ - 1) * kReadDataBytes;
    std::copy_n(frame.begin() + kReadDataOffset, kReadDataBytes,
                buffer.begin() + static_cast<std::ptrdiff_t>(half));

    if (counter_ == 1) {
        sendRequest();
        return;
    }

    if (pass_ == Pass::State)
        rebuildStates(port_);
    else
        rebuildControls(port_);
    counter_ = 0;
    if (port_ < portCount_) {
        ++port_;
        sendRequest();
    } else if (pass_ == Pass::State) {
        pass_ = Pass::Control;
        port_ = 1;
        sendRequest();
    } else {
        refreshRows();
        ++cycles_;
    }
}

void SlaveStateExchange::rebuildStates(int port) {
    Port& p = ports_[static_cast<std::size_t>(port - 1)];
    PortSlaves& s = p.slaves;
    s.addresses.clear();
    s.states.clear();
    s.controlAddresses.clear();
    s.stateAddresses.clear();
    for (int i = 0; i < kSlavesPerPort; ++i) {
        uint16_t word = *wordAt(p.state, static_cast<std::size_t>(2 * i));
        if (word == 0)
            continue;
        s.addresses.push_back(static_cast<uint8_t>(i + 1));
        s.states.push_back(word);
        s.controlAddresses.push_back(controlDisplayAddress(port, i + 1));
        s.stateAddresses.push_back(stateDisplayAddress(port, i + 1));
    }
}

void SlaveStateExchange::rebuildControls(int port) {
    Port& p = ports_[static_cast<std::size_t>(port - 1)];
    PortSlaves& s = p.slaves;
    s.controls.clear();
    for (uint8_t a : s.addresses)
        s.controls.push_back(*wordAt(p.control, static_cast<std::size_t>(2 * (a - 1))));
}

void SlaveStateExchange::refreshRows() {
    std::size_t row = 0;
    for (int port = 1; port <= portCount_; ++port) {
        const PortSlaves& s = ports_[static_cast<std::size_t>(port - 1)].slaves;
        for (std::size_t j = 0; j < s.addresses.size() && row < rows_.size(); ++j, ++row) {
            SlaveStateRow& r = rows_[row];
            const bool haveControl = j < s.controls.size();
            const uint16_t control = haveControl ? s.controls[j] : 0;
            r.cells = {"COM" + std::to_string(port),
                       std::to_string(s.addresses[j]),
                       std::to_string(s.controlAddresses[j]),
                       haveControl ? text::format("0x%04X", control) : std::string(),
                       std::to_string(s.stateAddresses[j]),
                       text::format("0x%04X", s.states[j])};
            r.controlAddress = s.controlAddresses[j];
            r.control = control;
        }
    }
}

} // namespace vantor::services
