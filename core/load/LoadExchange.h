#pragma once
// The VantorLoad dialog's exchange with a gateway. Unlike the configurator's
// device dialogs it lives as long as the dialog: the user connects and
// disconnects with one button and runs two operations on an open
// connection.
//
// RTU设置: command 1; its reply asks for command 20 (the serial settings);
// the reply to 20 starts a run of timer 1 (20 ms ticks) that sends the
// fixed command 21 at position 8; an acknowledgement of 21 (status 0 or 4)
// marks success and asks for the restart (command 2); above position 98 the
// run ends with "下载完成" (and the connection closed) or "下载失败".
// IP设置: a run of timer 2 starts at once and sends command 10 at position
// 8; its reply marks success and saves the address files.
// Every request arms timer 4 (10 s); when it runs out the runs stop with
// "下载失败" and the connection stays open. A gateway that closes the
// connection while an operation still waits for its word ends the operation
// at once with "下载失败，与网关的连接已断开". Once an operation has ended with
// "下载失败", a late reply to it is ignored: it neither continues the
// operation nor saves the address files.
//
// The reply rows are tested in order and several may apply to one reply:
// byte 0 = 1; byte 0 = 20; byte 0 = 21 with status 0/4; byte 0 = 10 with
// status 0/4; byte 0 = 10; byte 7 = 98. A reply too short to hold byte 7 or
// byte 8 matches no row that reads it. A reply that matches no row and
// does not echo the outstanding request leaves that request unanswered
// under its running timer 4, so a gateway that answers only garbage still
// ends in "下载失败".
#include "load/LoadRequests.h"
#include "text/Shown.h"
#include "transfer/AddressFiles.h"
#include "transfer/Exchange.h"
#include "transfer/ResultTexts.h"

#include <optional>
#include <string>

namespace vantor::load {

enum class LinkState { Disconnected = 0, Connected = 1, Connecting = 2 };

// How the last operation (or connection attempt) ended, for callers that
// wait for it (the command-line tool).
enum class Outcome { None, Done, Failed };

inline constexpr int kRtuRunTimer = 1;
inline constexpr int kNetworkRunTimer = 2;
inline constexpr int kReplyTimer = 4;
inline constexpr int kTickMs = 20;
inline constexpr int kReplyTimeoutMs = 10000;
inline constexpr int kRequestPosition = 8;
inline constexpr int kLastPosition = 98;

inline constexpr const char* kMissingFile = transfer::kAddressFileMissing;
inline constexpr const char* kConnectFailed = transfer::result::kConnectFailed;
inline constexpr const char* kDone = VT_TEXT("下载完成");
inline constexpr const char* kFailed = VT_TEXT("下载失败");
// An operation the gateway's closing of the connection cut short.
inline constexpr const char* kConnectionLost = VT_TEXT("下载失败，与网关的连接已断开");
inline constexpr const char* kAbout = VT_TEXT("VantorLoad 2.0.1 版");

class LoadExchange : public transfer::Exchange {
public:
    // `directory`: where the address files live (the working directory).
    explicit LoadExchange(std::string directory);

    // The dialog opens: the address files are read ("你选择了下载空文件！"
    // when one of them cannot be opened) and the gateway IP is proposed
    // from ip.txt.
    void start() override;
    // The dialog closes: the socket goes with it.
    void cancel() override;

    const LoadFields& fields() const { return fields_; }
    // The dialog's fields as they are now; requests are built from them.
    void setFields(const LoadFields& fields) { fields_ = fields; }

    // 连接 (while disconnected) or 断开 (while connected). False when the
    // press does nothing or a field is refused (its message is shown).
    bool pressConnect();
    // RTU设置 and IP设置. False, with nothing sent, when the button is
    // disabled or a field is refused (its message is shown).
    bool pressRtu();
    bool pressIp();

    LinkState linkState() const { return state_; }
    // The text and state of the 连接 button, and of RTU设置 and IP设置.
    const char* connectText() const {
        return state_ == LinkState::Connected ? VT_TEXT("断开") : VT_TEXT("连接");
    }
    bool connectEnabled() const { return state_ != LinkState::Connecting; }
    bool actionsEnabled() const { return actionsEnabled_; }
    // The COM2 controls (baud, parity, stop bits, address) are enabled for
    // two-port device types only.
    bool com2Enabled() const { return !singlePort(fields_.deviceType); }

    bool successFlag() const { return success_; }
    int position() const { return position_; }
    Outcome outcome() const { return outcome_; }

protected:
    void onConnected() override;
    void onReply(transfer::ByteView frame) override;
    void onTimer(int id) override;
    void onSendFailed() override;
    void onClosedByPeer() override;
    void onConnectFailed() override;
    void onConnectTimeout() override;

private:
    enum class Operation { None, Rtu, Network };

    void sendRequest(transfer::Bytes bytes, bool enablesActions);
    void runTick(int timer);
    void toDisconnected();
    // The operation is over (its failure said); a late reply is ignored.
    void endOperation(Outcome outcome);
    void saveAddressFiles(Operation op);

    std::string directory_;
    LoadFields fields_;
    LinkState state_ = LinkState::Disconnected;
    bool actionsEnabled_ = false;
    bool success_ = false;
    int position_ = 0;
    Operation operation_ = Operation::None;
    uint8_t lastRequest_ = 0; // command of the last request sent
    Outcome outcome_ = Outcome::None;
    // The gateway connected to, and the settings last sent to it.
    std::string connectedIp_;
    std::optional<services::CheckedSettings> sentNetwork_;
};

} // namespace vantor::load
