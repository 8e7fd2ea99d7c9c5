#include "../transfer/ExchangeHarness.h"
#include "GatewayReplies.h"
#include "model/GatewayCatalogue.h"
#include "services/DeviceInfoExchange.h"
#include "transfer/CommandFrame.h"

#include <gtest/gtest.h>

#include <cstring>

namespace vantor::services {
namespace {

using transfer::Bytes;
using transfer::testing::ExchangeHarness;
using transfer::testing::identification;
using transfer::testing::serialReply;

TEST(DeviceInfo, ReadsBothLayouts) {
    auto full = readIdentification(identification(52, 0x72, 3));
    ASSERT_TRUE(full);
    EXPECT_EQ(full->deviceId, "06583472");
    EXPECT_EQ(full->version, "01-02-0304");
    EXPECT_EQ(full->buildTime, "2024-05-06 10:11:12");
    EXPECT_EQ(full->mac1, "00-1A-2B-3C-4D-EF");
    EXPECT_EQ(full->mac2, "00-1A-2B-3C-4D-F0");
    EXPECT_TRUE(full->hasMac2);
    EXPECT_EQ(full->runStateValue, 3);

    auto old = readIdentification(identification(44, 0x73, 5));
    ASSERT_TRUE(old);
    EXPECT_EQ(old->deviceId, "06583473");
    EXPECT_FALSE(old->hasMac2);
    EXPECT_EQ(old->mac2, "");
    EXPECT_EQ(old->runStateValue, 5);
}

TEST(DeviceInfo, BuildTimeStopsAtZeroOrAfter24Bytes) {
    Bytes r = identification(52, 0x72, 1);
    std::memset(&r[20], 'x', 24); // no terminating zero inside the field
    r[44] = 'y';
    EXPECT_EQ(readIdentification(r)->buildTime, std::string(24, 'x'));
    r[20] = 0;
    EXPECT_EQ(readIdentification(r)->buildTime, "");
}

TEST(DeviceInfo, ShortRepliesAreNotRead) {
    struct Case {
        uint32_t length;
        std::size_t size;
        bool readable;
    } cases[] = {{52, 61, true}, {52, 60, false}, {44, 53, true}, {44, 52, false},
                 {30, 53, true}, {30, 40, false}, {52, 7, false}, {52, 0, false}};
    for (const auto& c : cases) {
        Bytes r = identification(c.length == 52 ? 52 : 44, 0x72, 1);
        r[4] = static_cast<uint8_t>(c.length);
        r.resize(c.size);
        EXPECT_EQ(readIdentification(r).has_value(), c.readable) << c.length << "/" << c.size;
    }
    EXPECT_EQ(readSerialNumber(serialReply()), "A0A1A2A3A4A5A6A7A8A9AAAB");
    Bytes shortSerial = serialReply();
    shortSerial.resize(23);
    EXPECT_FALSE(readSerialNumber(shortSerial));
}

TEST(DeviceInfo, RunStateNamesAndColoursPerGroup) {
    struct Case {
        const char* model;
        int value;
        const char* text;
        std::optional<Rgb> colour;
    } cases[] = {
        {"KX-P1R0-1.0", 3, "参数配置模式", Rgb{0, 0, 255}},
        {"NXE-485-ZRTU4", 3, "配置模式", Rgb{0, 0, 255}},
        {"KX-P6R0-1.0", 1, "用户配置错误", Rgb{255, 0, 0}},
        {"TRX-H-QMB6", 2, "存储转发模式", Rgb{0, 176, 80}},
        {"LNK-P1-1.0", 4, "出厂测试模式", Rgb{255, 192, 0}},
        {"KX-P1-1.0", 5, "透明传输模式", Rgb{0, 176, 80}},
        {"NXE-485-ZRTU2", 1, "启动失败", Rgb{255, 0, 0}},
        {"NXE-485-ZRTU2E", 2, "工作模式", Rgb{0, 176, 80}},
        {"TRC-H-ZRTU", 4, "测试模式", Rgb{255, 192, 0}},
        {"NXE-485-ZRTU2", 5, "", std::nullopt},
        {"KX-P2R0-1.0", 0, "", std::nullopt},
        {"KX-P2R0-1.0", 6, "", std::nullopt},
    };
    for (const auto& c : cases) {
        RunState s = runStateFor(c.model, c.value);
        EXPECT_EQ(s.text, c.text) << c.model << " " << c.value;
        EXPECT_EQ(s.colour, c.colour) << c.model << " " << c.value;
    }
}

TEST(DeviceInfo, ModelCheckAndMismatchText) {
    const uint8_t p6[4] = {0x73, 0x34, 0x58, 0x06};
    const uint8_t p4[4] = {0x75, 0x34, 0x58, 0x06};
    const uint8_t odd[4] = {0x75, 0x34, 0x58, 0x07};
    EXPECT_TRUE(model::identityMatchesModel("KX-P6R0-1.0", p6));
    EXPECT_TRUE(model::identityMatchesModel("TRX-H-QMB6", p6));
    EXPECT_FALSE(model::identityMatchesModel("KX-P4R0-1.0", p6));
    EXPECT_FALSE(model::identityMatchesModel("KX-P4R0-1.0", odd));
    EXPECT_TRUE(model::identityMatchesModel("TRC-H-ZRTU", odd));
    EXPECT_EQ(model::modelMismatchText("KX-P4R0-1.0", p6),
              "设备型号不匹配 配置设备为KX-P4R0-1.0 实际设备为KX-P6R0-1.0");
    EXPECT_EQ(model::modelMismatchText("TRX-H-QMB6", p4),
              "设备型号不匹配 配置设备为KX-P6R0-1.0 实际设备为KX-P4R0-1.0");
    EXPECT_EQ(model::modelMismatchText("KX-P2R0-1.0", odd),
              "设备型号不匹配 配置设备为KX-P2R0-1.0 实际设备为未知设备");
}

struct Info {
    explicit Info(const std::string& model)
        : ex(model, DeviceInfoSettings{"192.168.1.15", 5032, std::nullopt}), h(ex) {
        h.start();
        h.connect();
    }
    DeviceInfoExchange ex;
    ExchangeHarness h;
};

TEST(DeviceInfoExchange, IdentificationThenSerialNumber) {
    Info i("KX-P1R0-1.0");
    EXPECT_EQ(i.h.connects[0].port, 5032);
    ASSERT_EQ(i.h.sent.size(), 1u);
    EXPECT_EQ(i.h.sent[0], (Bytes{1, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(i.h.timerStarts.back().id, kInfoReplyTimer);
    EXPECT_EQ(i.h.timerStarts.back().ms, 5000);
    i.h.reply(identification(52, 0x72, 3));
    ASSERT_EQ(i.h.sent.size(), 2u);
    EXPECT_EQ(i.h.sent[1], (Bytes{4, 0, 0, 0, 0, 0, 0, 0}));
    const auto& f = i.ex.fields();
    EXPECT_EQ(f.deviceId, "06583472");
    EXPECT_EQ(f.runState.text, "参数配置模式");
    i.h.reply(serialReply());
    ASSERT_TRUE(i.h.finished);
    EXPECT_TRUE(i.h.finished->success);
    EXPECT_EQ(f.serialNumber, "A0A1A2A3A4A5A6A7A8A9AAAB");
    EXPECT_TRUE(i.h.messages.empty());
    EXPECT_FALSE(i.h.open);
    EXPECT_TRUE(i.h.timers.empty());
}

TEST(DeviceInfoExchange, OldLayoutIsNotModelChecked) {
    Info i("KX-P4R0-1.0");
    i.h.reply(identification(44, 0x71, 3));
    EXPECT_EQ(i.h.sent.size(), 2u);
    EXPECT_EQ(i.ex.fields().mac2, "");
    EXPECT_EQ(i.ex.fields().runState.text, "参数配置模式");
    EXPECT_TRUE(i.h.messages.empty());
}

TEST(DeviceInfoExchange, WrongModelEndsWithItsMessage) {
    Info i("KX-P4R0-1.0");
    i.h.reply(identification(52, 0x73, 3));
    ASSERT_TRUE(i.h.finished);
    EXPECT_FALSE(i.h.finished->success);
    EXPECT_EQ(i.h.messageTexts(),
              std::vector<std::string>{"设备型号不匹配 配置设备为KX-P4R0-1.0 实际设备为KX-P6R0-1.0"});
    EXPECT_EQ(i.h.sent.size(), 1u);
    EXPECT_EQ(i.ex.fields().deviceId, "");
}

TEST(DeviceInfoExchange, EtherNetIpGatewayUsesPort60000) {
    Info i("TRX-H-QMB6");
    EXPECT_EQ(i.h.connects[0].port, 60000);
    EXPECT_EQ(i.h.statuses[0], "正在连接192.168.1.15:60000...");
}

TEST(DeviceInfoExchange, FailuresAndIgnoredReplies) {
    {
        Info i("KX-P2R0-1.0");
        i.h.advance(5000);
        ASSERT_TRUE(i.h.finished);
        EXPECT_EQ(i.h.messageTexts(), std::vector<std::string>{"主站没有响应"});
    }
    {
        // Silent after the identification: the serial request times out too.
        Info i("KX-P2R0-1.0");
        i.h.advance(4000);
        i.h.reply(identification(52, 0x74, 2));
        i.h.advance(4999);
        EXPECT_FALSE(i.h.finished);
        i.h.advance(1);
        EXPECT_EQ(i.h.messageTexts(), std::vector<std::string>{"主站没有响应"});
    }
    {
        Bytes cut = identification(52, 0x74, 2);
        cut.resize(40);
        Info i("KX-P2R0-1.0");
        i.h.reply(cut);
        EXPECT_EQ(i.h.messageTexts(), std::vector<std::string>{"设备状态应答数据不完整"});
    }
    {
        Info i("KX-P2R0-1.0");
        i.h.reply(identification(52, 0x74, 2));
        i.h.reply(Bytes{3, 0, 0, 0, 4, 0, 0, 0, 0}); // some other command: ignored
        i.h.reply(serialReply(16));                  // wrong length: ignored
        EXPECT_FALSE(i.h.finished);
        Bytes cut = serialReply();
        cut.resize(20);
        i.h.reply(cut);
        EXPECT_EQ(i.h.messageTexts(), std::vector<std::string>{"序列号应答数据不完整"});
    }
}

} // namespace
} // namespace vantor::services
