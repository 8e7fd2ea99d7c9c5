#pragma once
// Commissioning one gateway of a fleet, as a sequence of the device
// exchanges without I/O: the download its project prescribes (Vantor's or
// VantorNet's, at its pace), a pause while the gateway restarts, then the
// verification: identity, version and serial number read back, and for
// Vantor models with slave states one cycle of the state words. The first
// step that fails ends the gateway with its reason; a fleet's gateways
// never wait for each other.
//
// A driver runs current() to its end (carrying out its actions on its own
// socket), calls afterEvent() after each event the exchange handled (the
// commissioning presses VantorNet's 下载 once connected and ends the state
// polling after one cycle), hands over the exchange's messages, and calls
// currentEnded() once it has finished. Between steps current() is null
// until wakeAt(): the driver calls advanceTo() then.
#include "fleet/PreparedGateway.h"
#include "services/CommissioningReport.h"
#include "text/Shown.h"
#include "transfer/Exchange.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vantor::fleet {

struct CommissionSettings {
    // The pause before acting on each reply, and the reply timeout of the
    // downloads; nothing: each exchange's own.
    std::optional<int> paceMs;
    std::optional<int> replyTimeoutMs;
    // VantorNet's fieldbus tick.
    std::optional<int> tickMs;
    // How long the restarted gateway is given before it is asked again.
    int settleMs = kDefaultSettleMs;
    static constexpr int kDefaultSettleMs = 2000;
};

// What the report and the JSON document tell of one gateway.
struct GatewayOutcome {
    PlanRow row;
    ProjectKind kind = ProjectKind::Vantor;
    std::string model;
    std::string checksum;
    std::vector<SentBlock> sent;
    std::vector<std::string> questions;
    bool downloaded = false;
    std::string downloadResult; // the download's result text
    bool verified = false;
    services::ReportDevice device; // identity and state words read back
    bool ok = false;
    std::string reason; // why it failed (empty when ok)
    int64_t startedMs = 0;
    int64_t endedMs = 0;
    int64_t elapsedMs() const { return endedMs - startedMs; }
};

// One line about the state words read back: "3个从站", the reason they
// were not read, or that the model has none.
std::string stateSummary(const GatewayOutcome& outcome);

class GatewayCommission {
public:
    enum class Stage { Waiting, Download, Settle, Identity, States, Done };

    GatewayCommission(PreparedGateway gateway, CommissionSettings settings);
    ~GatewayCommission();
    GatewayCommission(GatewayCommission&&) noexcept;
    GatewayCommission& operator=(GatewayCommission&&) noexcept;

    // Starts the download at `nowMs` (the driver's clock).
    void start(int64_t nowMs);
    // The exchange to run now; null while settling, before start and at
    // the end.
    transfer::Exchange* current() const { return exchange_.get(); }
    // After every event of current(): the user's part of the exchange.
    void afterEvent();
    void message(const Message& message) { messages_.push_back(message); }
    // current() has finished with `result` at `nowMs`: its outcome is kept
    // and the next step begins (or the gateway is done).
    void currentEnded(const transfer::FinishedAction& result, int64_t nowMs);
    // While settling: when the verification begins.
    std::optional<int64_t> wakeAt() const;
    void advanceTo(int64_t nowMs);
    // Stops the gateway where it is (the window's 停止); the outcome says so.
    void stop(int64_t nowMs);

    Stage stage() const { return stage_; }
    bool done() const { return stage_ == Stage::Done; }
    // The stage in words, for the progress lines and the window's rows, in
    // the user's language (the outcome keeps the reason as written).
    std::string stageText() const;
    // 0..100 over the whole sequence.
    int percent() const;
    const GatewayOutcome& outcome() const { return outcome_; }
    const std::string& name() const { return outcome_.row.name; }

    static constexpr const char* kStopped = VT_TEXT("已停止");
    static constexpr const char* kDownloading = VT_TEXT("正在下载");
    static constexpr const char* kSettling = VT_TEXT("等待网关重启");
    static constexpr const char* kReadingIdentity = VT_TEXT("正在读取设备信息");
    static constexpr const char* kReadingStates = VT_TEXT("正在读取从站状态");
    static constexpr const char* kWaiting = VT_TEXT("等待");
    static constexpr const char* kSucceeded = VT_TEXT("成功");
    static constexpr const char* kFailed = VT_TEXT("失败");

private:
    void beginIdentity();
    void beginStates();
    // `reason` as the report keeps it, `shownReason` in the user's language.
    void end(int64_t nowMs, bool ok, std::string reason, std::string shownReason);
    void endDownload(const transfer::FinishedAction& result, int64_t nowMs);

    PreparedGateway gateway_;
    CommissionSettings settings_;
    Stage stage_ = Stage::Waiting;
    std::unique_ptr<transfer::Exchange> exchange_;
    std::vector<Message> messages_;
    std::optional<int64_t> wakeAt_;
    GatewayOutcome outcome_;
    std::string shownReason_;
    bool pressed_ = false;
};

} // namespace vantor::fleet
