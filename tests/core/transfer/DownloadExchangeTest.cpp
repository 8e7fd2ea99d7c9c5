#include "transfer/DownloadExchange.h"
#include "ExchangeHarness.h"
#include "GatewayReplies.h"
#include "transfer/CommandFrame.h"

#include <gtest/gtest.h>

namespace vantor::transfer {
namespace {

using testing::ack;
using testing::ExchangeHarness;
using testing::stateReply;

Bytes truncated(Bytes b, std::size_t n) {
    b.resize(n);
    return b;
}

ConfigurationBlocks blocks(std::size_t fieldbus, bool eip = false, std::size_t eipSize = 0) {
    ConfigurationBlocks b;
    b.rtu = Bytes(40, 0x11);
    b.fieldbus = Bytes(fieldbus, 0x22);
    b.hasEip = eip;
    b.eip = Bytes(eipSize, 0x33);
    return b;
}

struct Session {
    explicit Session(const std::string& model, ConfigurationBlocks b, int pace = 300)
        : ex(model, std::move(b), DownloadSettings{"192.168.1.15", 5032, pace, 50000, std::nullopt}), h(ex) {}
    // Delivers a reply and lets the pause run out.
    void answer(const Bytes& reply) {
        h.reply(reply);
        h.advance(300);
    }
    DownloadExchange ex;
    ExchangeHarness h;
};

TEST(DownloadExchange, FullRunSendsEveryBlockAndRestarts) {
    Session s("KX-P2R0-1.0", blocks(241));
    s.h.start();
    ASSERT_EQ(s.h.connects.size(), 1u);
    EXPECT_EQ(s.h.connects[0].port, 5032);
    s.h.connect();
    EXPECT_EQ(s.h.sent.back(), (Bytes{1, 0, 0, 0, 0, 0, 0, 0}));
    s.answer(stateReply(0x74));
    EXPECT_EQ(s.h.sent.back(), rtuFrame(Bytes(40, 0x11)));
    s.answer(ack(20));
    EXPECT_EQ(s.h.sent.back().size(), 8u + 240);
    s.answer(ack(21));
    EXPECT_EQ(s.h.sent.back().size(), 8u + 1);
    EXPECT_EQ(s.h.sent.back()[4], 241);
    s.answer(ack(21));
    EXPECT_EQ(s.h.sent.back(), (Bytes{2, 0, 0, 0, 0, 0, 0, 0}));
    ASSERT_TRUE(s.h.finished);
    EXPECT_TRUE(s.h.finished->success);
    EXPECT_EQ(s.h.finished->resultText, "下 载 完 毕!");
    EXPECT_EQ(s.h.sent.size(), 5u);
    EXPECT_EQ(s.h.statuses,
              (std::vector<std::string>{"正在连接192.168.1.15:5032...", "正在获取设备状态....",
                                        "正在下载RTU接口配置....", "正在下载FIELDBUS操作配置....", "",
                                        "正在重启设备...."}));
    EXPECT_FALSE(s.h.open);
    EXPECT_TRUE(s.h.timers.empty());
    EXPECT_TRUE(s.h.messages.empty());
}

TEST(DownloadExchange, RepliesAreActedOnOnlyAfterThePause) {
    Session s("KX-P2R0-1.0", blocks(10));
    s.h.start();
    s.h.connect();
    s.h.reply(stateReply(0x74));
    s.h.advance(299);
    EXPECT_EQ(s.h.sent.size(), 1u);
    s.h.advance(1);
    EXPECT_EQ(s.h.sent.size(), 2u);
    EXPECT_EQ(s.h.sentAt.back(), 300);
}

TEST(DownloadExchange, PaceZeroActsAtOnce) {
    Session s("KX-P2R0-1.0", blocks(10), 0);
    s.h.start();
    s.h.connect();
    s.h.reply(stateReply(0x74));
    s.h.reply(ack(20));
    s.h.reply(ack(21));
    ASSERT_TRUE(s.h.finished);
    EXPECT_TRUE(s.h.finished->success);
    EXPECT_EQ(s.h.now, 0);
}

TEST(DownloadExchange, EtherNetIpGatewayUsesPort60000AndSendsBlock70WithIndexRestarted) {
    Session s("TRX-H-QMB6", blocks(480, true, 241));
    s.h.start();
    EXPECT_EQ(s.h.connects[0].port, 60000);
    EXPECT_EQ(s.h.statuses[0], "正在连接192.168.1.15:60000...");
    s.h.connect();
    s.answer(stateReply(0x73));
    s.answer(ack(20));
    s.answer(ack(21));
    s.answer(ack(21));
    ASSERT_EQ(s.h.sent.back()[0], 70);
    EXPECT_EQ(s.h.sent.back(), chunkFrame(70, Bytes(241, 0x33), 0));
    s.answer(ack(70));
    EXPECT_EQ(s.h.sent.back(), chunkFrame(70, Bytes(241, 0x33), 1));
    s.answer(ack(70));
    EXPECT_EQ(s.h.sent.back()[0], 2);
    ASSERT_TRUE(s.h.finished);
    EXPECT_EQ(s.h.finished->resultText, "下 载 完 毕!");
}

TEST(DownloadExchange, EmptyEipBlockStillGoesAsOneEmptyFrame) {
    Session s("TRX-H-QMB6", blocks(240, true, 0));
    s.h.start();
    s.h.connect();
    s.answer(stateReply(0x73));
    s.answer(ack(20));
    s.answer(ack(21)); // 240 bytes: one chunk, the last
    EXPECT_EQ(s.h.sent.back(), (Bytes{70, 0, 0, 0, 0, 0, 0, 0}));
    s.answer(ack(70));
    EXPECT_TRUE(s.h.finished && s.h.finished->success);
}

struct IdentityCase {
    const char* name;
    const char* model;
    Bytes reply;
    std::string message;
};

class Identity : public ::testing::TestWithParam<IdentityCase> {};

TEST_P(Identity, MismatchStopsWithMessage) {
    const auto& c = GetParam();
    Session s(c.model, blocks(10));
    s.h.start();
    s.h.connect();
    s.answer(c.reply);
    ASSERT_TRUE(s.h.finished);
    EXPECT_FALSE(s.h.finished->success);
    EXPECT_EQ(s.h.finished->resultText, "");
    ASSERT_EQ(s.h.messages.size(), 1u);
    EXPECT_EQ(s.h.messages[0].caption, "错误");
    EXPECT_EQ(s.h.messages[0].text, c.message);
    EXPECT_EQ(s.h.sent.size(), 1u); // nothing written to the gateway
    EXPECT_FALSE(s.h.open);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Identity,
    ::testing::Values(IdentityCase{"P6AgainstP4", "KX-P6R0-1.0", stateReply(0x75),
                                   "设备型号不匹配 配置设备为KX-P6R0-1.0 实际设备为KX-P4R0-1.0"},
                      IdentityCase{"BadTailIsUnknown", "KX-P6R0-1.0", stateReply(0x73, 0x34, 0x58, 0x07),
                                   "设备型号不匹配 配置设备为KX-P6R0-1.0 实际设备为未知设备"},
                      IdentityCase{"EipNamedAsSixPort", "TRX-H-QMB6", stateReply(0x71),
                                   "设备型号不匹配 配置设备为KX-P6R0-1.0 实际设备为NXE-485-ZRTU2"},
                      IdentityCase{"SinglePortUsesProjectModel", "KX-P1-1.0", stateReply(0x77),
                                   "设备型号不匹配 配置设备为KX-P1-1.0 实际设备为NXE-485-ZRTU2E"},
                      IdentityCase{"Zrtu2", "NXE-485-ZRTU2", stateReply(0x74),
                                   "设备型号不匹配 配置设备为NXE-485-ZRTU2 实际设备为KX-P2R0-1.0"},
                      IdentityCase{"Zrtu2e", "NXE-485-ZRTU2E", stateReply(0x99),
                                   "设备型号不匹配 配置设备为NXE-485-ZRTU2E 实际设备为未知设备"},
                      IdentityCase{"P2", "KX-P2R0-1.0", stateReply(0x72),
                                   "设备型号不匹配 配置设备为KX-P2R0-1.0 实际设备为LNK-P1-1.0"},
                      IdentityCase{"P4", "KX-P4R0-1.0", stateReply(0x73),
                                   "设备型号不匹配 配置设备为KX-P4R0-1.0 实际设备为KX-P6R0-1.0"},
                      IdentityCase{"ShortReplyIsUnknownDevice", "KX-P2R0-1.0",
                                   Bytes{1, 0, 0, 0, 16, 0, 0, 0, 0, 0, 0, 0, 0x74},
                                   "设备型号不匹配 配置设备为KX-P2R0-1.0 实际设备为未知设备"},
                      IdentityCase{"WrongVersion", "KX-P2R0-1.0", stateReply(0x74, 0x34, 0x58, 0x06, 1, 2),
                                   "设备版本错误"},
                      IdentityCase{"VersionMissingFromShortReply", "KX-P2R0-1.0",
                                   truncated(stateReply(0x74), 19), "设备版本错误"},
                      IdentityCase{"CdtIdentityNotComparedButVersionIs", "TRC-H-ZRTU",
                                   stateReply(0x00, 0, 0, 0, 0, 1), "设备版本错误"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DownloadExchange, CdtGatewayAcceptsAnyIdentity) {
    Session s("TRC-H-ZRTU", blocks(10));
    s.h.start();
    s.h.connect();
    s.answer(stateReply(0x42, 1, 2, 3));
    EXPECT_EQ(s.h.sent.back()[0], 20);
}

struct AckCase {
    const char* name;
    int failAt; // 0: RTU ack, 1: first fieldbus ack, 2: EIP ack
    Bytes (*reply)(uint8_t cmd);
    std::string result;
    bool success;
};

class Acknowledgement : public ::testing::TestWithParam<AckCase> {};

TEST_P(Acknowledgement, StatusDecides) {
    const auto& c = GetParam();
    Session s("TRX-H-QMB6", blocks(10, true, 10));
    s.h.start();
    s.h.connect();
    s.answer(stateReply(0x73));
    const uint8_t cmds[] = {20, 21, 70};
    for (int i = 0; i < 3; ++i)
        s.answer(i == c.failAt ? c.reply(cmds[i]) : ack(cmds[i]));
    ASSERT_TRUE(s.h.finished);
    EXPECT_EQ(s.h.finished->success, c.success);
    EXPECT_EQ(s.h.finished->resultText, c.result);
    EXPECT_TRUE(s.h.messages.empty());
    EXPECT_FALSE(s.h.open);
    EXPECT_EQ(s.h.sent.back()[0], c.success ? 2 : cmds[c.failAt]);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Acknowledgement,
    ::testing::Values(
        AckCase{"Status4IsSuccess", 1, [](uint8_t c) { return ack(c, 4); }, "下 载 完 毕!", true},
        AckCase{"RtuStatus1", 0, [](uint8_t c) { return ack(c, 1); }, "下 载 失 败！1", false},
        AckCase{"FieldbusStatus255", 1, [](uint8_t c) { return ack(c, 255); }, "下 载 失 败！255", false},
        AckCase{"EipStatus3", 2, [](uint8_t c) { return ack(c, 3); }, "下 载 失 败！3", false},
        AckCase{"ShortAckWithoutStatus", 1, [](uint8_t c) { return Bytes{c, 0, 0, 0, 4, 0, 0, 0}; },
                "下 载 失 败！ 应答不完整", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DownloadExchange, ReplyTimeoutAfter50Seconds) {
    Session s("KX-P2R0-1.0", blocks(500));
    s.h.start();
    s.h.connect();
    s.answer(stateReply(0x74));
    s.answer(ack(20));
    s.h.advance(49999);
    EXPECT_FALSE(s.h.finished);
    s.h.advance(1);
    ASSERT_TRUE(s.h.finished);
    EXPECT_EQ(s.h.finished->resultText, "下 载 失 败！ 应答超时");
    EXPECT_FALSE(s.h.open);
}

TEST(DownloadExchange, ConnectTimeoutAndFailureMessages) {
    {
        Session s("KX-P2R0-1.0", blocks(10));
        s.h.start();
        s.h.advance(2999);
        EXPECT_FALSE(s.h.finished);
        s.h.advance(1);
        ASSERT_TRUE(s.h.finished);
        EXPECT_EQ(s.h.messageTexts(),
                  std::vector<std::string>{"连接192.168.1.15:5032超时,请检查设备的网络参数和网络连接"});
        EXPECT_TRUE(s.h.sent.empty());
        // A connection completing after the timeout changes nothing.
        s.h.connect();
        EXPECT_TRUE(s.h.sent.empty());
    }
    {
        Session s("TRX-H-QMB6", blocks(10, true));
        s.h.start();
        s.h.connect(false);
        ASSERT_TRUE(s.h.finished);
        EXPECT_EQ(s.h.messageTexts(),
                  std::vector<std::string>{"连接192.168.1.15:60000失败,请检查设备的网络参数和网络连接"});
        EXPECT_TRUE(s.h.timers.empty());
        EXPECT_FALSE(s.h.open);
    }
}

TEST(DownloadExchange, SendFailureWhileFlushing) {
    Session s("KX-P2R0-1.0", blocks(10));
    s.h.start();
    s.h.connect();
    s.h.sendFailed();
    ASSERT_TRUE(s.h.finished);
    EXPECT_EQ(s.h.messageTexts(), std::vector<std::string>{"发送失败"});
    EXPECT_FALSE(s.h.open);
}

TEST(DownloadExchange, PeerCloseIsNoticedByTheReplyTimer) {
    Session s("KX-P2R0-1.0", blocks(10));
    s.h.start();
    s.h.connect();
    s.h.peerClosed();
    EXPECT_FALSE(s.h.open);
    EXPECT_FALSE(s.h.finished);
    s.h.advance(50000);
    ASSERT_TRUE(s.h.finished);
    EXPECT_EQ(s.h.finished->resultText, "下 载 失 败！ 应答超时");
}

TEST(DownloadExchange, PeerCloseBeforeTheRestartIsAFailure) {
    Session s("KX-P2R0-1.0", blocks(10));
    s.h.start();
    s.h.connect();
    s.answer(stateReply(0x74));
    s.answer(ack(20));
    s.h.reply(ack(21)); // the last chunk is acknowledged, the pause runs ...
    s.h.peerClosed();   // ... and the gateway goes away before the restart
    s.h.advance(300);
    ASSERT_TRUE(s.h.finished);
    EXPECT_FALSE(s.h.finished->success);
    EXPECT_EQ(s.h.messageTexts(), std::vector<std::string>{"发送失败"});
    EXPECT_EQ(s.h.sent.size(), 3u); // no restart request went out
}

TEST(DownloadExchange, SplitStateReplyIsShortAndItsRestIgnored) {
    Session s("KX-P2R0-1.0", blocks(10));
    s.h.start();
    s.h.connect();
    Bytes r = stateReply(0x74);
    s.h.reply(Bytes(r.begin(), r.begin() + 12));
    s.h.reply(Bytes(r.begin() + 12, r.end())); // no reply awaited any more
    s.h.advance(300);
    EXPECT_EQ(s.h.messageTexts(),
              std::vector<std::string>{"设备型号不匹配 配置设备为KX-P2R0-1.0 实际设备为未知设备"});
}

TEST(DownloadExchange, UnexpectedReplyKeepsWaitingForTheRealOne) {
    Session s("KX-P2R0-1.0", blocks(10));
    s.h.start();
    s.h.connect();
    s.answer(ack(21)); // not the device state
    EXPECT_FALSE(s.h.finished);
    EXPECT_TRUE(s.h.timers.armed(kReplyTimer));
    s.answer(stateReply(0x74));
    EXPECT_EQ(s.h.sent.back()[0], 20);
}

TEST(DownloadExchange, DataBeforeAnyRequestNeverReachesTheExchange) {
    Session s("KX-P2R0-1.0", blocks(10));
    s.h.start();
    s.h.connect(); // device state request sent, reply awaited
    s.h.reply(stateReply(0x74));
    s.h.reply(ack(20)); // arrives during the pause: nobody awaits it
    s.h.advance(300);
    EXPECT_EQ(s.h.sent.back()[0], 20);
    s.h.advance(300);
    EXPECT_EQ(s.h.sent.size(), 2u); // the stray ack was discarded
}

TEST(DownloadExchange, CancelClosesAndIgnoresLateTimers) {
    Session s("KX-P2R0-1.0", blocks(10));
    s.h.start();
    s.h.connect();
    auto starts = s.h.timerStarts;
    s.h.cancel();
    ASSERT_TRUE(s.h.finished);
    EXPECT_FALSE(s.h.finished->success);
    EXPECT_FALSE(s.h.open);
    // A wake-up at the deadline of the stopped reply timer, arriving late,
    // is ignored.
    for (const auto& t : starts)
        s.ex.advanceTo(t.ms);
    EXPECT_FALSE(s.ex.hasActions());
}

TEST(DownloadExchange, StaleTokenOfRearmedTimerIsIgnored) {
    Session s("KX-P2R0-1.0", blocks(500));
    s.h.start();
    s.h.connect();
    auto firstReplyTimer = s.h.timerStarts.back();
    ASSERT_EQ(firstReplyTimer.id, kReplyTimer);
    const int64_t firstDeadline = s.h.now + firstReplyTimer.ms;
    s.answer(stateReply(0x74)); // timer 4 stopped and re-armed with a new token
    ASSERT_NE(s.h.timerStarts.back().token, firstReplyTimer.token);
    s.h.advance(firstDeadline - s.h.now); // the wake-up the first arming asked for
    EXPECT_FALSE(s.h.finished);
}

} // namespace
} // namespace vantor::transfer
