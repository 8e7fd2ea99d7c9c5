#pragma once
// Firmware update ("固件升级"): connect to the configuration port, ask for
// the identification and check the model, then send the image block by
// block, each acknowledged before the next, and finally the closing frame
// with the header. Every request arms timer 1 (60 s).
//
// The file's bytes are handed in by the caller (read from the firmware
// folder); they are judged when the transfer starts, after the
// identification, as the window does: a missing file and a file shorter
// than its 32-byte header are refused with their messages.
#include "services/FirmwareImage.h"
#include "text/Shown.h"
#include "transfer/Exchange.h"

#include <optional>
#include <string>

namespace vantor::services {

inline constexpr int kFirmwareReplyTimer = 1;
inline constexpr int kFirmwareReplyTimeoutMs = 60000;

struct FirmwareSettings {
    std::string host; // the access IP
    int accessPort = 5032;
    // Connect here instead of the service port (tools and tests reaching a
    // simulated gateway on a free port).
    std::optional<int> portOverride;
};

class FirmwareExchange : public transfer::Exchange {
public:
    static constexpr const char* kModelMismatch = VT_TEXT("设备型号不匹配");
    static constexpr const char* kNoFile = VT_TEXT("固件输入错误,请确认文件是否存在");
    static constexpr const char* kShortFile = VT_TEXT("固件文件不完整,长度不足32字节的文件头");
    static constexpr const char* kDone = VT_TEXT("固件升级完成\n将拨码开关BIT4置为OFF,并对设备重新上电");
    static constexpr const char* kNoReply = VT_TEXT("主站网关响应超时\n");
    static constexpr const char* kShortIdentification = VT_TEXT("设备状态应答数据不完整");
    static constexpr const char* kShortBlockReply = VT_TEXT("固件升级应答数据不完整");

    // `file`: the firmware file's bytes, nothing when it could not be read.
    FirmwareExchange(std::string model, std::optional<transfer::Bytes> file, FirmwareSettings settings);

    void start() override;

    enum class Phase { Connecting, Identifying, Blocks, Closing, Done };
    Phase phase() const { return phase_; }
    int port() const { return port_; }
    // The transfer has begun: the window disables "升级" and its Close item.
    bool transferring() const { return phase_ == Phase::Blocks || phase_ == Phase::Closing; }
    std::size_t blocksSent() const { return blockIndex_; }
    uint32_t sequence() const { return sequence_; }

protected:
    void onConnected() override;
    void onReply(transfer::ByteView frame) override;
    void onTimer(int id) override;

private:
    void handleIdentification(transfer::ByteView frame);
    void startTransfer();
    void sendBlock();
    void sendClosing();
    void handleBlockReply(transfer::ByteView frame);
    void advanceProgress();
    // "固件升级失败,错误码<r>\n请确认拨码开关BIT4为ON".
    std::string failureText(int resultCode) const;

    std::string model_;
    std::optional<transfer::Bytes> file_;
    FirmwareSettings settings_;
    int port_;
    Phase phase_ = Phase::Connecting;
    FirmwareImage firmware_;
    std::size_t blockIndex_ = 0;
    uint32_t sequence_ = 0;
    int position_ = 0;
    bool lastBlockSent_ = false;
    bool headerSent_ = false;
};

} // namespace vantor::services
