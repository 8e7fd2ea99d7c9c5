#pragma once
// The configuration download: connect, ask for the device state, check the
// device's identity and version against the project's model, send the RTU
// interface configuration, the fieldbus operation configuration chunk by
// chunk (each acknowledged before the next), the EtherNet/IP block for that
// gateway, and finally the restart.
//
// Before acting on a reply the exchange pauses (300 ms by default, a timer,
// never a sleep); the pause paces the chunks for the gateway.
#include "text/Shown.h"
#include "transfer/ConfigurationImage.h"
#include "transfer/Exchange.h"
#include "transfer/ResultTexts.h"

#include <optional>
#include <string>

namespace vantor::transfer {

inline constexpr int kReplyTimer = 4;
inline constexpr int kPaceTimer = 5;
inline constexpr int kDefaultReplyTimeoutMs = 50000;
inline constexpr int kDefaultPaceMs = 300;

struct DownloadSettings {
    std::string host;      // the access IP
    int accessPort = 5032; // the EtherNet/IP gateway uses 60000 whatever this is
    int paceMs = kDefaultPaceMs;
    int replyTimeoutMs = kDefaultReplyTimeoutMs;
    // Connect here instead of the service port (tools and tests reaching a
    // simulated gateway on a free port).
    std::optional<int> portOverride;
};

class DownloadExchange : public Exchange {
public:
    DownloadExchange(std::string model, ConfigurationBlocks blocks, DownloadSettings settings);

    void start() override;

    int port() const { return port_; }

    enum class Phase { Connecting, DeviceState, Rtu, Fieldbus, Eip, Restart, Done };
    Phase phase() const { return phase_; }

    // Result texts; a failure names its reason (a fixed text) or the
    // gateway's status number after kFailed.
    static constexpr const char* kDone = VT_TEXT("下 载 完 毕!");
    static constexpr const char* kFailed = result::kFailed;

protected:
    void onConnected() override;
    void onReply(ByteView frame) override;
    void onTimer(int id) override;
    void actOnReply(const Bytes& frame) override;

private:
    void handleDeviceState(ByteView frame);
    void handleAck(ByteView frame);
    void sendChunk();
    void sendFinish();
    void fail(const char* reason);
    void failWithStatus(uint8_t status);
    uint32_t awaitedCommand() const;

    std::string model_;
    ConfigurationBlocks blocks_;
    DownloadSettings settings_;
    int port_;
    Phase phase_ = Phase::Connecting;
    std::size_t chunkIndex_ = 0;
    bool lastChunk_ = false;
};

} // namespace vantor::transfer
