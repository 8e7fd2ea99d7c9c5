#pragma once
// Writing one slave's control word ("控制字设置") over MODBUS TCP: check the
// four hex digits the user typed, connect, send a single-register write
// (function 6, unit 9) and wait for the echo. The echo of the same address
// and value means "设置成功"; the exception reply 0x86 means "设置失败" (the
// window stays open for another try, with a new exchange).
#include "common/MessageSink.h"
#include "services/SlaveStateRegisters.h"
#include "text/Shown.h"
#include "transfer/Exchange.h"
#include "transfer/ResultTexts.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantor::services {

inline constexpr int kControlReplyTimer = 1;
inline constexpr int kControlReplyTimeoutMs = 3000;

struct ControlWordSettings {
    std::string host; // the access IP
    int port = kModbusPort;
};

class ControlWordExchange : public transfer::Exchange {
public:
    static constexpr const char* kBadText = VT_TEXT("控制字输入错误,应为4个16进制数");
    static constexpr const char* kDone = VT_TEXT("设置成功");
    static constexpr const char* kRefused = VT_TEXT("设置失败");
    static constexpr const char* kNoReply = transfer::result::kNoReply;
    static constexpr const char* kShortReply = VT_TEXT("控制字应答数据不完整");

    // `displayAddress`: the control word as users see it (42001...).
    ControlWordExchange(int displayAddress, uint16_t value, ControlWordSettings settings);

    void start() override;

    int displayAddress() const { return displayAddress_; }
    uint16_t value() const { return value_; }

    // The edit's text when the window opens ("%04x").
    static std::string initialText(uint16_t value);
    // Exactly four characters 0-9, a-f, A-F; otherwise the message and
    // nothing.
    static std::optional<uint16_t> parseValue(std::string_view text, MessageSink& sink);
    // Display addresses a write can reach: 40000 + 0..65535.
    static bool validDisplayAddress(int displayAddress) {
        return displayAddress >= 40000 && displayAddress <= 40000 + 0xFFFF;
    }
    // 00 00 00 00 00 06 09 06, register (display address - 40000), value.
    static transfer::Bytes writeRequest(int displayAddress, uint16_t value);

protected:
    void onConnected() override;
    void onReply(transfer::ByteView frame) override;
    void onTimer(int id) override;

private:
    int displayAddress_;
    uint16_t value_;
    ControlWordSettings settings_;
};

} // namespace vantor::services
