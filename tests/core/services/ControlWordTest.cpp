#include "../transfer/ExchangeHarness.h"
#include "services/ControlWordExchange.h"

#include <gtest/gtest.h>

namespace vantor::services {
namespace {

using transfer::Bytes;
using transfer::testing::ExchangeHarness;

TEST(ControlWordText, FourHexDigitsOnly) {
    struct Case {
        const char* text;
        std::optional<uint16_t> value;
    } cases[] = {{"00Ff", 0x00FF}, {"abcd", 0xABCD}, {"0000", 0},   {"FFFF", 0xFFFF},
                 {"FFF", {}},      {"0x12", {}},     {"12345", {}}, {"", {}},
                 {"00g0", {}},     {" 0ff", {}},     {"-001", {}}};
    for (const auto& c : cases) {
        RecordingSink sink;
        EXPECT_EQ(ControlWordExchange::parseValue(c.text, sink), c.value) << c.text;
        if (c.value)
            EXPECT_TRUE(sink.messages.empty()) << c.text;
        else
            EXPECT_EQ(sink.messages,
                      (std::vector<Message>{{MessageKind::Error, "错误", "控制字输入错误,应为4个16进制数"}}))
                << c.text;
    }
    EXPECT_EQ(ControlWordExchange::initialText(0x00ff), "00ff");
    EXPECT_EQ(ControlWordExchange::initialText(0xA001), "a001");
}

TEST(ControlWordText, WriteFrameCarriesRegisterAndValue) {
    // COM2 slave 5: control word 42261, register 2261 = 0x08D5.
    EXPECT_EQ(ControlWordExchange::writeRequest(42261, 0x00FF),
              (Bytes{0, 0, 0, 0, 0, 6, 9, 6, 0x08, 0xD5, 0, 0xFF}));
    EXPECT_EQ(ControlWordExchange::writeRequest(42001, 0x1234),
              (Bytes{0, 0, 0, 0, 0, 6, 9, 6, 0x07, 0xD1, 0x12, 0x34}));
    EXPECT_TRUE(ControlWordExchange::validDisplayAddress(42257));
    EXPECT_FALSE(ControlWordExchange::validDisplayAddress(39999));
    EXPECT_FALSE(ControlWordExchange::validDisplayAddress(40000 + 0x10000));
}

struct Write {
    Write() : ex(42261, 0x00FF, ControlWordSettings{"10.0.0.2", 502}), h(ex) {
        h.start();
        h.connect();
    }
    ControlWordExchange ex;
    ExchangeHarness h;
};

Bytes echo(uint16_t reg = 0x08D5, uint16_t value = 0x00FF) {
    return Bytes{0,
                 0,
                 0,
                 0,
                 0,
                 6,
                 9,
                 6,
                 static_cast<uint8_t>(reg >> 8),
                 static_cast<uint8_t>(reg),
                 static_cast<uint8_t>(value >> 8),
                 static_cast<uint8_t>(value)};
}

TEST(ControlWordExchange, EchoMeansSuccess) {
    Write w;
    ASSERT_EQ(w.h.sent.size(), 1u);
    EXPECT_EQ(w.h.sent[0], ControlWordExchange::writeRequest(42261, 0x00FF));
    EXPECT_TRUE(w.h.timers.armed(kControlReplyTimer));
    w.h.reply(echo());
    ASSERT_TRUE(w.h.finished);
    EXPECT_TRUE(w.h.finished->success);
    EXPECT_EQ(w.h.messages, (std::vector<Message>{{MessageKind::Information, "信息", "设置成功"}}));
    EXPECT_FALSE(w.h.open);
    EXPECT_TRUE(w.h.timers.empty());
}

TEST(ControlWordExchange, RepliesThatAreNotTheVerdictAreIgnored) {
    struct Case {
        const char* name;
        Bytes reply;
    } cases[] = {{"other function", Bytes{0, 0, 0, 0, 0, 3, 9, 3, 0}},
                 {"echo of another value", echo(0x08D5, 0x0001)},
                 {"echo of another register", echo(0x08D6, 0x00FF)},
                 {"no function byte", Bytes{0, 0, 0, 0, 0, 1, 9}}};
    for (const auto& c : cases) {
        Write w;
        w.h.reply(c.reply);
        EXPECT_FALSE(w.h.finished) << c.name;
        EXPECT_TRUE(w.h.messages.empty()) << c.name;
        // Still waiting: the real echo completes it.
        w.h.reply(echo());
        ASSERT_TRUE(w.h.finished) << c.name;
        EXPECT_TRUE(w.h.finished->success) << c.name;
    }
}

TEST(ControlWordExchange, ExceptionMeansFailure) {
    Write w;
    w.h.reply(Bytes{0, 0, 0, 0, 0, 3, 9, 0x86, 2});
    ASSERT_TRUE(w.h.finished);
    EXPECT_FALSE(w.h.finished->success);
    EXPECT_EQ(w.h.messages, (std::vector<Message>{{MessageKind::Error, "错误", "设置失败"}}));
    EXPECT_FALSE(w.h.open);
}

TEST(ControlWordExchange, ShortEchoFailsAndNoReplyTimesOut) {
    {
        Write w;
        w.h.reply(Bytes{0, 0, 0, 0, 0, 4, 9, 6, 0x08, 0xD5});
        ASSERT_TRUE(w.h.finished);
        EXPECT_EQ(w.h.messageTexts(), std::vector<std::string>{"控制字应答数据不完整"});
    }
    {
        Write w;
        w.h.advance(2999);
        EXPECT_FALSE(w.h.finished);
        w.h.advance(1);
        ASSERT_TRUE(w.h.finished);
        EXPECT_EQ(w.h.messageTexts(), std::vector<std::string>{"无应答"});
        EXPECT_FALSE(w.h.open);
    }
}

} // namespace
} // namespace vantor::services
