#include "services/SlaveStateRegisters.h"

#include "text/Shown.h"

#include <initializer_list>

namespace vantor::services {

using namespace vantor::transfer;

namespace {

void putBe16(Bytes& b, unsigned v) {
    b.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
    b.push_back(static_cast<uint8_t>(v & 0xFF));
}

bool isOneOf(std::string_view model, std::initializer_list<std::string_view> names) {
    for (auto n : names)
        if (model == n)
            return true;
    return false;
}

std::string joinIndented(std::initializer_list<const char*> lines) {
    std::string out;
    bool first = true;
    for (const char* line : lines) {
        if (!first)
            out += "\n        ";
        out += text::shown(line);
        first = false;
    }
    return out;
}

} // namespace

Bytes readRequest(uint16_t transaction, uint8_t function, int start) {
    Bytes f;
    f.reserve(12);
    putBe16(f, transaction);
    putBe16(f, 0);
    putBe16(f, 6);
    f.push_back(kModbusUnit);
    f.push_back(function);
    putBe16(f, static_cast<unsigned>(start));
    putBe16(f, kRegistersPerRequest);
    return f;
}

std::optional<uint16_t> wordAt(ByteView data, std::size_t offset) {
    if (data.size() < 2 || offset > data.size() - 2)
        return std::nullopt;
    return static_cast<uint16_t>(data[offset] << 8 | data[offset + 1]);
}

int polledPortCount(std::string_view model) {
    if (isOneOf(model, {"KX-P1R0-1.0", "LNK-P1-1.0", "KX-P1-1.0"}))
        return 1;
    // The four-port model is polled like the six-port ones: its gateway
    // answers the unused ports with zero state words.
    if (isOneOf(model, {"KX-P6R0-1.0", "KX-P4R0-1.0", "TRX-H-QMB6"}))
        return 6;
    return 2;
}

bool usesStatusLayout(std::string_view model) {
    return isOneOf(model, {"KX-P6R0-1.0", "KX-P4R0-1.0", "KX-P2R0-1.0", "KX-P1R0-1.0", "LNK-P1-1.0",
                           "TRX-H-QMB6", "KX-P1-1.0"});
}

unsigned failureCounterMax(bool statusLayout) {
    return statusLayout ? 0x3F : 0x7F;
}

uint16_t stateWord(bool statusLayout, const SlaveCounters& c) {
    const unsigned max = failureCounterMax(statusLayout);
    unsigned w = static_cast<unsigned>(c.failures & max) << 8;
    if (statusLayout) {
        w |= 0x8000 | (c.answering ? 0x1 : 0x2) | static_cast<unsigned>(c.successes & 0x3F) << 2;
        w |= c.overflowed ? 0x4000 : 0;
    } else {
        w |= (c.answering ? 0x1 : 0) | static_cast<unsigned>(c.successes & 0x7F) << 1;
        w |= c.overflowed ? 0x8000 : 0;
    }
    return static_cast<uint16_t>(w);
}

StateWordFields readStateWord(bool statusLayout, uint16_t w) {
    StateWordFields f;
    f.failures = (w >> 8) & failureCounterMax(statusLayout);
    if (statusLayout) {
        const unsigned status = w & 0x3;
        f.answering = status == 0x1;
        f.answerError = status == 0x3;
        f.successes = (w >> 2) & 0x3F;
        f.overflowed = (w & 0x4000) != 0;
    } else {
        f.answering = (w & 0x1) != 0;
        f.successes = (w >> 1) & 0x7F;
        f.overflowed = (w & 0x8000) != 0;
    }
    return f;
}

unsigned successCounterSpan(bool statusLayout) {
    return statusLayout ? 64 : 128;
}

std::string controlWordDescription(std::string_view model) {
    if (usesStatusLayout(model))
        return joinIndented({VT_TEXT("控制字: BIT0 设备操作使能位。"),
                             VT_TEXT("置“1”，从站工作使能；置“0” 配置中从站不再收发数据。"),
                             VT_TEXT("BIT1 接收失败计数清除。置“1”，接收失败计数清零一次。")});
    return joinIndented({VT_TEXT("控制字: BIT0 设备操作使能位。"),
                         VT_TEXT("置“1”，从站工作使能；置“0” 配置中从站不再收发数据。"),
                         VT_TEXT("BIT1 接收超时计数清除。置“1”，接收超时计数清零一次。")});
}

std::string stateWordDescription(std::string_view model) {
    if (usesStatusLayout(model))
        return joinIndented(
            {VT_TEXT("状态字: BIT1-0  从站状态位。01：从站应答正确，10:从站应答超时，11：从站应答错误。"),
             VT_TEXT("BIT7-2  接收成功计数位。 接收成功一次该计数器加“1”。"),
             VT_TEXT("BIT13-8 接收失败计数位 接收失败(超时或错误)一次该计数器加“1”。"),
             VT_TEXT("BIT14   接收失败溢出位。溢出时为 “1”，没有溢出时为 “0”。"),
             VT_TEXT("BIT15   从站配置位。为1表示对应从站已被配置，否则表示未被配置。")});
    return joinIndented({VT_TEXT("状态字: BIT0    当前在线/离线状态位。在线为 “1”，离线为 “0”。"),
                         VT_TEXT("BIT7-1  接收成功计数位。 接收成功一次该计数器加“1”。"),
                         VT_TEXT("BIT14-8 接收超时计数位。 接收超时一次该计数器加“1”。"),
                         VT_TEXT("BIT15   接收超时溢出位。溢出时为 “1”，没有溢出时为 “0”。")});
}

} // namespace vantor::services
