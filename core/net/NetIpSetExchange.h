#pragma once
// The VantorNet network-settings dialog's exchange ("TCP/IP值修改").
//
// Opening reads the address files (a missing IP file: "你选择了下载空文件！",
// the dialog does not open) and shows the address they keep. 连接 connects
// to the gateway's configuration port; 下载配置 starts a run of timer 1
// (20 ms ticks, positions 0..99) that sends the set-network-parameters
// request (command 10, body 24) at position 8. An acknowledgement (byte 0 =
// 10, byte 8 = 0) saves the address files and asks for the restart; other
// replies are ignored, the acknowledgement still awaited. Above position 98
// the run ends with "下载完毕！" when acknowledged, "下 载 失 败！" otherwise
// (files unchanged). A request the socket fails to send leaves the dialog
// open and disconnected, the unacknowledged run stopped.
//
// 连接 refuses, before connecting, a target no gateway can have
// (transfer::connectTarget), with "IP地址格式错误" or "端口格式错误". The new
// settings pass the checks VantorLoad applies (load::checkNetworkTexts): the
// suite's one address rule with the configurator's texts (the IP one a
// gateway can have, a mask of ones then zeros, the default gateway in the
// IP's subnet), a port 1..65535, and nothing that would lock the gateway
// out (the subnet's network or broadcast address as IP, a default gateway
// equal to the IP).
#include "net/NetReplyJoin.h"
#include "services/NetworkParams.h"
#include "text/Shown.h"
#include "transfer/AddressFiles.h"
#include "transfer/Exchange.h"
#include "transfer/ResultTexts.h"

#include <optional>
#include <string>

namespace vantor::net {

inline constexpr int kIpSetTimer = 1;
inline constexpr int kIpSetTickMs = 20;
inline constexpr int kIpSetRequestPosition = 8;
inline constexpr int kIpSetBodyLength = 24;
inline constexpr const char* kIpSetMissingFile = transfer::kAddressFileMissing;
inline constexpr const char* kIpSetConnectFailed = VT_TEXT("连接失败");

struct IpSetFields {
    // 连接下位IP
    std::string connectIp = "192.168.1.10";
    int configPort = 5032;
    // 设置新IP
    std::string newIp = "192.168.1.10";
    std::string mask = "255.255.255.0";
    std::string gateway = "192.168.1.1";
    std::string port = "502";
};

// The status line of the opened dialog: "IP: <ip>         端口: <port>".
std::string addressFilesStatus(const std::string& ip, const std::string& port);

class NetIpSetExchange : public transfer::Exchange {
public:
    // `directory`: where the address files live (the working directory).
    // `revAllow`: the project's flag, set to 1 with each request and to 0
    // when a reply is handed on (may be null).
    explicit NetIpSetExchange(std::string directory, int tickMs = kIpSetTickMs, int* revAllow = nullptr);

    // The dialog opens; ends at once when the IP address file is missing.
    void start() override;

    const IpSetFields& fields() const { return fields_; }
    void setFields(const IpSetFields& f) { fields_ = f; }

    // 连接 (disconnected) or 断开 (connected). False when it does nothing or
    // the target is refused (its message is shown).
    bool pressConnect();
    // 下载配置: false, with nothing started, when disabled or a field is
    // refused (its message is shown).
    bool pressDownload();

    bool connected() const { return connected_; }
    // 连接 is refused while a connection is being made.
    bool connectEnabled() const { return !finished() && (connected_ || !socketOpen()); }
    bool downloadEnabled() const { return downloadEnabled_; }
    bool acknowledged() const { return acknowledged_; }
    int position() const { return position_; }

protected:
    void onConnected() override;
    void onConnectFailed() override;
    void onConnectTimeout() override;
    void onClosedByPeer() override;
    void onSendFailed() override;
    void onReply(transfer::ByteView frame) override;
    void onTimer(int id) override;

private:
    void disconnected();
    void saveAddressFiles();
    void request(transfer::Bytes frame, bool expectReply = true);

    std::string directory_;
    int tickMs_;
    int* revAllow_;
    IpSetFields fields_;
    bool connected_ = false;
    bool downloadEnabled_ = false;
    bool acknowledged_ = false;
    int position_ = 0;
    std::optional<services::CheckedSettings> settings_;
    ReplyJoin join_;
};

} // namespace vantor::net
