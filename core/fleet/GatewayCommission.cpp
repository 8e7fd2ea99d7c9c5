#include "fleet/GatewayCommission.h"

#include "model/GatewayCatalogue.h"
#include "net/NetDownloadExchange.h"
#include "services/DeviceInfoExchange.h"
#include "services/SlaveStateExchange.h"
#include "text/Numbers.h"
#include "transfer/DownloadExchange.h"

namespace vantor::fleet {

namespace {

constexpr const char* kStatesFailed = VT_TEXT("从站状态: %s");

using Words = std::string (*)(const std::string&);

std::string asWritten(const std::string& text) {
    return text;
}

// The exchanges keep their texts as written (the report's reasons); the
// window's reason is told from the templates they compose them from.
std::string inLanguage(const std::string& text) {
    static const char* const composedBy[] = {
        VT_TEXT("连接%s:%d失败,请检查设备的网络参数和网络连接"),
        VT_TEXT("连接%s:%d超时,请检查设备的网络参数和网络连接"),
        VT_TEXT("下 载 失 败！%d"),
        VT_TEXT("下 载 失 败！%s"),
        VT_TEXT("设备型号不匹配 配置设备为%s 实际设备为%s"),
    };
    return text::shownComposed(text, composedBy);
}

// Why a step failed, its texts in `words`: the exchange's messages one a
// line, then its result text; that the gateway did not answer when there is
// neither (as the commissioning report words an unanswered exchange).
std::string failureText(const std::vector<Message>& messages, const std::string& result, Words words) {
    std::string out;
    for (const auto& m : messages)
        out += (out.empty() ? "" : "\n") + words(m.text);
    if (!result.empty())
        out += (out.empty() ? "" : "\n") + words(result);
    return out.empty() ? words(services::kReportNoAnswer) : out;
}

} // namespace

std::string stateSummary(const GatewayOutcome& outcome) {
    const auto& d = outcome.device;
    if (d.statesRead)
        return text::format(VT_DATA("%zu个从站"), d.states.size());
    return d.stateFailure;
}

GatewayCommission::GatewayCommission(PreparedGateway gateway, CommissionSettings settings)
    : gateway_(std::move(gateway)), settings_(settings) {
    outcome_.row = gateway_.row;
    outcome_.kind = gateway_.kind;
    outcome_.model = gateway_.model;
    outcome_.checksum = gateway_.checksum;
    outcome_.sent = gateway_.sent;
    outcome_.questions = gateway_.questions;
    outcome_.device.host = gateway_.row.host;
}

GatewayCommission::~GatewayCommission() = default;
GatewayCommission::GatewayCommission(GatewayCommission&&) noexcept = default;
GatewayCommission& GatewayCommission::operator=(GatewayCommission&&) noexcept = default;

void GatewayCommission::start(int64_t nowMs) {
    if (stage_ != Stage::Waiting)
        return;
    outcome_.startedMs = nowMs;
    stage_ = Stage::Download;
    const auto& row = gateway_.row;
    if (gateway_.kind == ProjectKind::Vantor) {
        transfer::DownloadSettings s;
        s.host = row.host;
        s.accessPort = gateway_.accessPort;
        s.portOverride = row.port;
        s.paceMs = settings_.paceMs.value_or(s.paceMs);
        s.replyTimeoutMs = settings_.replyTimeoutMs.value_or(s.replyTimeoutMs);
        exchange_ = std::make_unique<transfer::DownloadExchange>(gateway_.model, gateway_.blocks, s);
    } else {
        net::NetDownloadSettings s;
        s.host = row.host;
        s.port = row.port.value_or(s.port);
        s.paceMs = settings_.paceMs.value_or(s.paceMs);
        s.replyTimeoutMs = settings_.replyTimeoutMs.value_or(s.replyTimeoutMs);
        s.tickMs = settings_.tickMs.value_or(s.tickMs);
        exchange_ =
            std::make_unique<net::NetDownloadExchange>(gateway_.model, gateway_.workMode, gateway_.images, s);
    }
    exchange_->keepTextsAsWritten(); // its messages are the report's reasons
    messages_.clear();
    pressed_ = false;
}

void GatewayCommission::afterEvent() {
    if (!exchange_ || exchange_->finished())
        return;
    if (stage_ == Stage::Download && gateway_.kind == ProjectKind::VantorNet && !pressed_) {
        // 下载 as soon as the connection is up.
        auto& download = static_cast<net::NetDownloadExchange&>(*exchange_);
        if (download.downloadEnabled())
            pressed_ = download.pressDownload();
    } else if (stage_ == Stage::States &&
               static_cast<services::SlaveStateExchange&>(*exchange_).cycles() >= 1) {
        exchange_->cancel();
    }
}

void GatewayCommission::endDownload(const transfer::FinishedAction& result, int64_t nowMs) {
    end(nowMs, false, failureText(messages_, result.resultText, asWritten),
        failureText(messages_, result.resultText, inLanguage));
}

void GatewayCommission::currentEnded(const transfer::FinishedAction& result, int64_t nowMs) {
    if (!exchange_ || !exchange_->finished())
        return;
    switch (stage_) {
    case Stage::Download: {
        const char* done =
            gateway_.kind == ProjectKind::Vantor ? transfer::DownloadExchange::kDone : net::kNetDone;
        outcome_.downloadResult = result.resultText;
        outcome_.downloaded = result.success && result.resultText == done;
        if (!outcome_.downloaded) {
            endDownload(result, nowMs);
            return;
        }
        exchange_.reset();
        stage_ = Stage::Settle;
        wakeAt_ = nowMs + settings_.settleMs;
        if (settings_.settleMs <= 0)
            advanceTo(nowMs);
        return;
    }
    case Stage::Identity: {
        services::recordIdentity(outcome_.device, static_cast<services::DeviceInfoExchange&>(*exchange_),
                                 messages_);
        if (!outcome_.device.identified) {
            end(nowMs, false, outcome_.device.failure, failureText(messages_, {}, inLanguage));
            return;
        }
        const auto* model = model::findGatewayModel(gateway_.model);
        if (gateway_.kind == ProjectKind::Vantor && model && model->has(model::FeatureSlaveState)) {
            beginStates();
            return;
        }
        outcome_.device.stateFailure = services::kReportNoStates;
        outcome_.verified = true;
        end(nowMs, true, {}, {});
        return;
    }
    case Stage::States:
        services::recordStates(outcome_.device, static_cast<services::SlaveStateExchange&>(*exchange_),
                               messages_);
        outcome_.verified = outcome_.device.statesRead;
        if (outcome_.verified)
            end(nowMs, true, {}, {});
        else
            end(nowMs, false, text::format(kStatesFailed, outcome_.device.stateFailure.c_str()),
                text::shownFormat(kStatesFailed, failureText(messages_, {}, inLanguage).c_str()));
        return;
    default:
        return;
    }
}

std::optional<int64_t> GatewayCommission::wakeAt() const {
    return stage_ == Stage::Settle ? wakeAt_ : std::nullopt;
}

void GatewayCommission::advanceTo(int64_t nowMs) {
    if (stage_ == Stage::Settle && wakeAt_ && nowMs >= *wakeAt_)
        beginIdentity();
}

void GatewayCommission::beginIdentity() {
    stage_ = Stage::Identity;
    wakeAt_.reset();
    messages_.clear();
    exchange_ = std::make_unique<services::DeviceInfoExchange>(
        gateway_.model,
        services::DeviceInfoSettings{gateway_.row.host, gateway_.accessPort, gateway_.row.port});
    exchange_->keepTextsAsWritten();
}

void GatewayCommission::beginStates() {
    stage_ = Stage::States;
    messages_.clear();
    exchange_ = std::make_unique<services::SlaveStateExchange>(
        gateway_.model, services::SlaveStateSettings{
                            gateway_.row.host, gateway_.row.modbusPort.value_or(services::kModbusPort)});
    exchange_->keepTextsAsWritten();
}

void GatewayCommission::stop(int64_t nowMs) {
    if (done())
        return;
    if (exchange_)
        exchange_->cancel();
    if (stage_ == Stage::Waiting)
        outcome_.startedMs = nowMs;
    end(nowMs, false, kStopped, text::shown(kStopped));
}

void GatewayCommission::end(int64_t nowMs, bool ok, std::string reason, std::string shownReason) {
    outcome_.ok = ok;
    outcome_.reason = std::move(reason);
    shownReason_ = std::move(shownReason);
    outcome_.endedMs = nowMs;
    stage_ = Stage::Done;
    wakeAt_.reset();
}

std::string GatewayCommission::stageText() const {
    switch (stage_) {
    case Stage::Waiting:
        return text::shown(kWaiting);
    case Stage::Download:
        return text::shown(kDownloading);
    case Stage::Settle:
        return text::shown(kSettling);
    case Stage::Identity:
        return text::shown(kReadingIdentity);
    case Stage::States:
        return text::shown(kReadingStates);
    case Stage::Done:
        break;
    }
    return outcome_.ok ? text::shown(kSucceeded)
                       : text::format("%s: %s", text::shown(kFailed).c_str(), shownReason_.c_str());
}

int GatewayCommission::percent() const {
    switch (stage_) {
    case Stage::Waiting:
        return 0;
    case Stage::Download:
        return 10;
    case Stage::Settle:
        return 70;
    case Stage::Identity:
        return 80;
    case Stage::States:
        return 90;
    case Stage::Done:
        break;
    }
    return 100;
}

} // namespace vantor::fleet
