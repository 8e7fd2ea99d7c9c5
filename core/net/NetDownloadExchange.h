#pragma once
// The VantorNet download dialog's exchange with a gateway ("配置下载").
//
// 连接 connects to the device IP and port; 下载 asks for the device state
// (command 1), sends image A (command 20) unless the gateway is LNK-P1-1.0
// in work mode 1, then runs the fieldbus phase: timer 1 ticks every 2 s
// and, at position 2, sends the first part of image B (command 21); each
// acknowledged part is followed by the next, the last by the restart
// (command 2) and "下载完毕！". Before acting on a reply the exchange pauses
// (300 ms, a timer); every request arms the reply timer (timer 4, 10 s).
// Statuses 0 and 4 are success; any other ends the download with
// "下 载 失 败！" and the status number.
//
// Unlike the dialog this grew from: the first part goes out once (the
// position then moves on, instead of resending part 0 on every tick while
// it stays at 2); a reply that is not the one awaited is ignored and the
// reply timer keeps running untouched, so the download always ends; an
// acknowledgement split before its status byte is joined with the next
// read; a gateway that closes the connection during a download ends it at
// once with the reply timeout's result.
#include "net/NetCompiler.h"
#include "net/NetReplyJoin.h"
#include "text/Shown.h"
#include "transfer/Exchange.h"
#include "transfer/GatewayAddress.h"
#include "transfer/ResultTexts.h"

#include <string>

namespace vantor::net {

inline constexpr int kFieldbusTimer = 1;
inline constexpr int kNetReplyTimer = 4;
inline constexpr int kNetPaceTimer = 5;
inline constexpr int kFieldbusTickMs = 2000;
inline constexpr int kNetReplyTimeoutMs = 10000;
inline constexpr int kNetPaceMs = 300;
inline constexpr int kFirstPartPosition = 2;
inline constexpr int kLastTickPosition = 98;

inline constexpr const char* kNetConnecting = VT_TEXT("连接中，请稍候....");
inline constexpr const char* kNetReady = VT_TEXT("    请下载");
inline constexpr const char* kNetConnectFailed = transfer::result::kConnectFailed;
// A device IP or port no gateway can have (transfer::connectTarget), refused
// before connecting with the texts of the program's server dialog.
inline constexpr const char* kNetIpWrong = transfer::kIpFormatWrong;
inline constexpr const char* kNetPortWrong = transfer::kPortFormatWrong;
inline constexpr const char* kNetDone = transfer::result::kDone;
inline constexpr const char* kNetFailed = transfer::result::kFailed;
inline constexpr const char* kNetTimeout = transfer::result::kReplyTimeout;

struct NetDownloadSettings {
    std::string host = "192.168.1.15";
    int port = 5032;
    int paceMs = kNetPaceMs;
    int tickMs = kFieldbusTickMs;
    int replyTimeoutMs = kNetReplyTimeoutMs;
};

// True when the RTU interface configuration is not sent: LNK-P1-1.0 with
// the gateway working as RTU master (work mode 1).
bool skipsRtuConfiguration(const std::string& model, int workMode);

class NetDownloadExchange : public transfer::Exchange {
public:
    // `revAllow`: the project's flag, set to 1 with each request and to 0
    // when its reply arrives (may be null).
    NetDownloadExchange(std::string model, int workMode, NetImages images, NetDownloadSettings settings,
                        int* revAllow = nullptr);

    // 连接: status, connect, the connect timer; a refused target instead
    // shows kNetIpWrong or kNetPortWrong and ends the run, as a failed
    // connection does.
    void start() override;
    // 下载: false when the button is disabled (not connected, or pressed).
    bool pressDownload();
    // 断开 while connected, also during a download (which it ends without
    // a result; the gateway keeps what it has received): the socket closes,
    // the status clears; start() connects again. False when it does nothing.
    bool pressDisconnect();

    enum class Phase { Disconnected, Connecting, Connected, Identification, Rtu, Fieldbus, Done };
    Phase phase() const { return phase_; }
    bool downloadEnabled() const { return phase_ == Phase::Connected; }
    // 下载 was pressed and the download has not ended.
    bool downloading() const {
        return phase_ == Phase::Identification || phase_ == Phase::Rtu || phase_ == Phase::Fieldbus;
    }
    int position() const { return position_; }
    std::size_t partsSent() const { return nextPart_; }

protected:
    void onConnected() override;
    void onConnectFailed() override;
    void onConnectTimeout() override;
    void onClosedByPeer() override;
    void onReply(transfer::ByteView frame) override;
    void onTimer(int id) override;
    void actOnReply(const transfer::Bytes& frame) override;

private:
    void request(transfer::Bytes frame, bool expectReply = true);
    void startFieldbusPhase();
    void tick();
    void sendNextPart();
    void fail(const char* reason);
    void failWithStatus(uint8_t status);
    uint8_t awaitedCommand() const;

    std::string model_;
    int workMode_;
    NetImages images_;
    NetDownloadSettings settings_;
    int* revAllow_;
    Phase phase_ = Phase::Disconnected;
    int position_ = 0;
    std::size_t nextPart_ = 0;
    ReplyJoin join_;
};

} // namespace vantor::net
