#pragma once
// Reading the gateway's identity and state ("主站信息"): connect to the
// configuration port, ask for the identification (command 1), check the
// model (52-byte layout only), fill the fields, ask for the serial number
// (command 4), show it and close. Each request arms timer 2 (5000 ms);
// running out of it means "主站没有响应".
#include "services/DeviceInfo.h"
#include "text/Shown.h"
#include "transfer/Exchange.h"

#include <optional>
#include <string>

namespace vantor::services {

inline constexpr int kInfoReplyTimer = 2;
inline constexpr int kInfoReplyTimeoutMs = 5000;

struct DeviceInfoSettings {
    std::string host;      // the access IP
    int accessPort = 5032; // the EtherNet/IP gateway uses 60000 whatever this is
    // Connect here instead of the service port (tools and tests reaching a
    // simulated gateway on a free port).
    std::optional<int> portOverride;
};

// What the window shows.
struct DeviceInfoFields {
    std::string deviceId;
    std::string version;
    std::string buildTime;
    std::string mac1;
    std::string mac2;
    RunState runState;
    std::string serialNumber;
};

class DeviceInfoExchange : public transfer::Exchange {
public:
    static constexpr const char* kNoReply = VT_TEXT("主站没有响应");
    static constexpr const char* kShortIdentification = VT_TEXT("设备状态应答数据不完整");
    static constexpr const char* kShortSerial = VT_TEXT("序列号应答数据不完整");
    // The window's note for fields that stay empty.
    static constexpr const char* kEmptyNote =
        VT_TEXT("若状态信息显示为空，请检查“设备->访问参数设置”及网关的网络连接");

    DeviceInfoExchange(std::string model, DeviceInfoSettings settings);

    void start() override;

    int port() const { return port_; }
    const DeviceInfoFields& fields() const { return fields_; }
    bool identified() const { return identified_; }

protected:
    void onConnected() override;
    void onReply(transfer::ByteView frame) override;
    void onTimer(int id) override;

private:
    void handleIdentification(transfer::ByteView frame);
    void handleSerial(transfer::ByteView frame);

    std::string model_;
    DeviceInfoSettings settings_;
    int port_;
    bool identified_ = false;
    DeviceInfoFields fields_;
};

} // namespace vantor::services
