#include "../transfer/ExchangeHarness.h"
#include "net/NetDownloadExchange.h"
#include "transfer/CommandFrame.h"

#include <gtest/gtest.h>

namespace vantor::net {
namespace {

using transfer::Bytes;
using transfer::commandFrame;
using transfer::testing::ExchangeHarness;

Bytes identification() {
    Bytes r = commandFrame(1, 16);
    r.resize(24, 0);
    return r;
}

Bytes ack(uint8_t cmd, uint8_t status = 0) {
    Bytes r = commandFrame(cmd, 4);
    transfer::putU32(r, status);
    return r;
}

NetImages images(std::size_t sizeB) {
    Bytes b(sizeB);
    for (std::size_t i = 0; i < sizeB; ++i)
        b[i] = static_cast<uint8_t>(i * 7 + 1);
    return {Bytes(20, 0x11), b};
}

struct Download {
    explicit Download(std::size_t sizeB = 76, const std::string& model = "KX-P1-1.0", int workMode = 0)
        : ex(model, workMode, images(sizeB), NetDownloadSettings{"192.168.1.15", 5032, 300, 2000, 10000},
             &revAllow),
          h(ex) {}

    void connectAndPress() {
        h.start();
        h.connect(true);
        ASSERT_TRUE(ex.pressDownload());
        h.pump();
    }
    // A reply, then the 300 ms pause.
    void answer(const Bytes& reply) {
        h.reply(reply);
        h.advance(300);
    }
    // Identification and RTU answered, then the ticks up to the first part.
    void toFirstPart() {
        connectAndPress();
        answer(identification());
        answer(ack(20));
        h.advance(3 * 2000);
    }
    std::size_t partsSent() const {
        std::size_t n = 0;
        for (const auto& f : h.sent)
            n += !f.empty() && f[0] == 21;
        return n;
    }

    int revAllow = 0;
    NetDownloadExchange ex;
    ExchangeHarness h;
};

TEST(NetDownload, FullRunSendsImagesInPartsAndRestarts) {
    Download r(500);
    r.connectAndPress();
    EXPECT_EQ(r.h.connects[0].host, "192.168.1.15");
    EXPECT_EQ(r.h.connects[0].port, 5032);
    ASSERT_EQ(r.h.sent.size(), 1u);
    EXPECT_EQ(r.h.sent[0], (Bytes{1, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(r.revAllow, 1);

    r.h.reply(identification());
    EXPECT_EQ(r.revAllow, 0);
    EXPECT_EQ(r.h.sent.size(), 1u) << "acts only after the pause";
    r.h.advance(300);
    ASSERT_EQ(r.h.sent.size(), 2u);
    EXPECT_EQ(r.h.sent[1], imageAFrame(images(500).a));

    r.answer(ack(20));
    // Ticks at 2, 4 and 6 s: the first part goes out when the position is 2.
    r.h.advance(5999);
    EXPECT_EQ(r.h.sent.size(), 2u);
    r.h.advance(1);
    ASSERT_EQ(r.h.sent.size(), 3u);
    const Bytes b = images(500).b;
    const std::size_t sizes[] = {240, 240, 20};
    for (std::size_t i = 0; i < 3; ++i) {
        ASSERT_EQ(r.h.sent.size(), 3 + i);
        const Bytes& part = r.h.sent.back();
        ASSERT_EQ(part.size(), 8 + sizes[i]);
        EXPECT_EQ(Bytes(part.begin(), part.begin() + 8), (Bytes{21, 0, 0, 0, 0xF4, 0x01, 0, 0}));
        EXPECT_EQ(Bytes(part.begin() + 8, part.end()),
                  Bytes(b.begin() + 240 * i, b.begin() + 240 * i + sizes[i]));
        r.answer(ack(21, i == 1 ? 4 : 0));
    }
    EXPECT_EQ(r.h.sent.back(), (Bytes{2, 0, 0, 0, 0, 0, 0, 0}));
    ASSERT_TRUE(r.h.finished);
    EXPECT_TRUE(r.h.finished->success);
    EXPECT_EQ(r.h.finished->resultText, "下载完毕！");
    EXPECT_FALSE(r.h.open);
    EXPECT_EQ(r.h.statuses,
              (std::vector<std::string>{"连接中，请稍候....", "    请下载", "正在获取设备状态....",
                                        "正在下载RTU接口配置....", "正在下载FIELDBUS操作配置....", "",
                                        "正在重启设备...."}));
}

TEST(NetDownload, RtuConfigurationSkippedOnlyForLnkInWorkMode1) {
    struct Case {
        const char* model;
        int mode;
        bool sendsRtu;
    } cases[] = {{"LNK-P1-1.0", 1, false}, {"LNK-P1-1.0", 0, true}, {"KX-P1-1.0", 1, true}};
    for (const auto& c : cases) {
        Download r(76, c.model, c.mode);
        r.connectAndPress();
        r.answer(identification());
        if (c.sendsRtu)
            r.answer(ack(20));
        r.h.advance(6000);
        std::vector<int> codes;
        for (const auto& f : r.h.sent)
            codes.push_back(f[0]);
        EXPECT_EQ(codes, c.sendsRtu ? (std::vector<int>{1, 20, 21}) : (std::vector<int>{1, 21}))
            << c.model << " mode " << c.mode;
    }
}

TEST(NetDownload, RefusingStatusEndsWithItsNumber) {
    struct Case {
        uint8_t command;
        uint8_t status;
    } cases[] = {{20, 3}, {20, 255}, {21, 1}, {21, 5}};
    for (const auto& c : cases) {
        Download r(500);
        r.connectAndPress();
        r.answer(identification());
        if (c.command == 21) {
            r.answer(ack(20));
            r.h.advance(6000);
        }
        r.answer(ack(c.command, c.status));
        ASSERT_TRUE(r.h.finished);
        EXPECT_FALSE(r.h.finished->success);
        EXPECT_EQ(r.h.finished->resultText, "下 载 失 败！" + std::to_string(c.status));
        EXPECT_FALSE(r.h.open);
        EXPECT_TRUE(r.h.timers.empty());
    }
}

TEST(NetDownload, FirstPartGoesOutOnceHoweverSlowTheReplies) {
    // Eight parts, each answered after 2.5 s: ticks keep coming meanwhile.
    Download r(8 * 240);
    r.toFirstPart();
    for (int i = 0; i < 8; ++i) {
        r.h.advance(2500);
        r.answer(ack(21));
    }
    ASSERT_TRUE(r.h.finished);
    EXPECT_TRUE(r.h.finished->success) << r.h.traceText();
    EXPECT_EQ(r.partsSent(), 8u);
    std::size_t firstParts = 0;
    for (const auto& f : r.h.sent)
        firstParts += f == imageBPart(images(8 * 240).b, 0);
    EXPECT_EQ(firstParts, 1u);
    EXPECT_GT(r.ex.position(), 2);
}

TEST(NetDownload, NoReplyEndsWithTimeoutInEveryPhase) {
    for (int answered = 0; answered < 3; ++answered) {
        Download r(500);
        r.connectAndPress();
        if (answered >= 1)
            r.answer(identification());
        if (answered >= 2) {
            r.answer(ack(20));
            r.h.advance(6000);
        }
        r.h.advance(9999);
        EXPECT_FALSE(r.h.finished) << answered;
        r.h.advance(1);
        ASSERT_TRUE(r.h.finished) << answered;
        EXPECT_EQ(r.h.finished->resultText, "下 载 失 败！ 应答超时");
        EXPECT_FALSE(r.h.open);
    }
}

TEST(NetDownload, PeerCloseOrUnexpectedRepliesStillEnd) {
    {
        Download r(500);
        r.toFirstPart();
        r.h.peerClosed();
        while (r.h.fireNext() && !r.h.finished) {
        }
        ASSERT_TRUE(r.h.finished);
        EXPECT_EQ(r.h.finished->resultText, "下 载 失 败！ 应答超时");
    }
    {
        // A reply that answers nothing outstanding is ignored; the awaited
        // one still carries the download on.
        Download r(76);
        r.connectAndPress();
        r.answer(ack(21));
        EXPECT_EQ(r.h.sent.size(), 1u);
        r.answer(identification());
        EXPECT_EQ(r.h.sent.back()[0], 20);
    }
}

TEST(NetDownload, SendFailureEnds) {
    Download r;
    r.connectAndPress();
    r.h.sendFailed();
    ASSERT_TRUE(r.h.finished);
    EXPECT_FALSE(r.h.finished->success);
    EXPECT_EQ(r.h.messageTexts(), (std::vector<std::string>{"发送失败"}));
}

TEST(NetDownload, AcknowledgementSplitBeforeItsStatusIsJoined) {
    Download r(76);
    r.toFirstPart();
    const Bytes whole = ack(21, 7);
    r.h.reply(Bytes(whole.begin(), whole.begin() + 4));
    r.h.reply(Bytes(whole.begin() + 4, whole.end()));
    r.h.advance(300);
    ASSERT_TRUE(r.h.finished);
    EXPECT_EQ(r.h.finished->resultText, "下 载 失 败！7") << "the status of the joined reply";
}

TEST(NetDownload, ShortReplyNeverReadsAMissingStatus) {
    Download r(76);
    r.connectAndPress();
    r.answer(identification());
    r.answer(Bytes{20, 0, 0});
    EXPECT_FALSE(r.h.finished);
    r.h.advance(10000);
    ASSERT_TRUE(r.h.finished);
    EXPECT_EQ(r.h.finished->resultText, "下 载 失 败！ 应答超时");
}

TEST(NetDownload, ConnectFailureAndDisabledDownload) {
    Download r;
    EXPECT_FALSE(r.ex.pressDownload());
    r.h.start();
    EXPECT_FALSE(r.ex.pressDownload()) << "not yet connected";
    r.h.connect(false);
    EXPECT_EQ(r.h.messageTexts(), (std::vector<std::string>{"连接失败，请查看IP设置或硬件灯显示"}));
    ASSERT_TRUE(r.h.finished);
    EXPECT_TRUE(r.h.sent.empty());

    Download t;
    t.h.start();
    t.h.advance(transfer::kConnectTimeoutMs);
    EXPECT_EQ(t.h.messageTexts(), (std::vector<std::string>{"连接失败，请查看IP设置或硬件灯显示"}));
}

TEST(NetDownload, DisconnectAndPeerCloseBeforeDownloadAllowAReconnect) {
    for (bool byPeer : {false, true}) {
        Download r;
        r.h.start();
        r.h.connect(true);
        if (byPeer) {
            r.h.peerClosed();
        } else {
            ASSERT_TRUE(r.ex.pressDisconnect());
            r.h.pump();
        }
        EXPECT_FALSE(r.h.open);
        EXPECT_EQ(r.h.statuses.back(), "");
        EXPECT_FALSE(r.ex.downloadEnabled());
        EXPECT_FALSE(r.ex.pressDownload());
        r.h.start();
        EXPECT_EQ(r.h.connects.size(), 2u) << byPeer;
        r.h.connect(true);
        EXPECT_TRUE(r.ex.pressDownload()) << byPeer;
        r.h.pump();
        EXPECT_EQ(r.h.sent.size(), 1u);
        EXPECT_FALSE(r.h.finished);
    }
}

// 断开 during a download ends it without a result: no timer is left to
// report anything later, and 连接 starts again.
TEST(NetDownload, DisconnectDuringTheDownloadEndsItQuietly) {
    Download r(500);
    r.toFirstPart();
    ASSERT_TRUE(r.ex.downloading());
    ASSERT_TRUE(r.ex.pressDisconnect());
    r.h.pump();
    EXPECT_FALSE(r.h.open);
    EXPECT_TRUE(r.h.timers.empty());
    EXPECT_EQ(r.ex.phase(), NetDownloadExchange::Phase::Disconnected);
    r.h.advance(60000);
    EXPECT_FALSE(r.h.finished);
    EXPECT_TRUE(r.h.messages.empty());
    r.h.start();
    EXPECT_EQ(r.h.connects.size(), 2u);
}

} // namespace
} // namespace vantor::net
