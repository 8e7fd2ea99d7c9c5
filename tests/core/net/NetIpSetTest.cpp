#include "../load/LoadFixtures.h"
#include "../transfer/ExchangeHarness.h"
#include "net/NetIpSetExchange.h"
#include "transfer/CommandFrame.h"

#include <gtest/gtest.h>

namespace vantor::net {
namespace {

using transfer::Bytes;
using transfer::testing::ExchangeHarness;

Bytes ack(uint8_t cmd, uint8_t status) {
    Bytes r = transfer::commandFrame(cmd, 4);
    transfer::putU32(r, status);
    return r;
}

class IpSet : public load::testing::ScratchDir {
protected:
    void SetUp() override {
        ScratchDir::SetUp();
        ex = std::make_unique<NetIpSetExchange>(dir.string());
        h = std::make_unique<ExchangeHarness>(*ex);
    }
    // Opened over existing address files, connected, 下载配置 pressed with
    // `fields`.
    bool openAndPress(const IpSetFields& fields) {
        put("IP/ip.txt", "192.168.1.10");
        put("IP/port.txt", "502");
        h->start();
        ex->setFields(fields);
        EXPECT_TRUE(ex->pressConnect());
        h->pump();
        h->connect(true);
        const bool pressed = ex->pressDownload();
        h->pump();
        return pressed;
    }
    static IpSetFields newSettings() {
        IpSetFields f;
        f.connectIp = "127.0.0.1";
        f.newIp = "10.0.0.5";
        f.mask = "255.0.0.0";
        f.gateway = "10.0.0.1";
        f.port = "503";
        return f;
    }

    std::unique_ptr<NetIpSetExchange> ex;
    std::unique_ptr<ExchangeHarness> h;
};

TEST_F(IpSet, OpeningNeedsTheIpFileAndShowsWhatTheFilesKeep) {
    h->start();
    EXPECT_EQ(h->messageTexts(), (std::vector<std::string>{"你选择了下载空文件！"}));
    ASSERT_TRUE(h->finished);

    SetUp();
    put("IP/ip.txt", std::string("10.1.2.3\xFFjunk"));
    put("IP/port.txt", "502");
    h->start();
    EXPECT_TRUE(h->messages.empty());
    EXPECT_EQ(h->statuses, (std::vector<std::string>{"IP: 10.1.2.3         端口: 502"}));
    EXPECT_FALSE(h->finished);
}

TEST_F(IpSet, AcknowledgedRunSavesTheFilesAndRestarts) {
    ASSERT_TRUE(openAndPress(newSettings()));
    EXPECT_EQ(h->connects[0].host, "127.0.0.1");
    EXPECT_EQ(h->connects[0].port, 5032);
    EXPECT_FALSE(ex->downloadEnabled());
    // The ninth tick finds position 8.
    h->advance(9 * 20 - 1);
    EXPECT_TRUE(h->sent.empty());
    h->advance(1);
    ASSERT_EQ(h->sent.size(), 1u);
    Bytes expected{10, 0, 0, 0, 24, 0, 0, 0, 10, 0, 0, 5, 255, 0, 0, 0, 10, 0, 0, 1, 0xF7, 0x01};
    expected.resize(32, 0);
    EXPECT_EQ(h->sent[0], expected);
    EXPECT_TRUE(ex->downloadEnabled());

    h->reply(ack(10, 0));
    EXPECT_EQ(get("IP/ip.txt"), "10.0.0.5");
    EXPECT_EQ(get("IP/port.txt"), "503");
    EXPECT_EQ(h->sent.back(), (Bytes{2, 0, 0, 0, 0, 0, 0, 0}));
    h->advance(2000);
    ASSERT_TRUE(h->finished);
    EXPECT_TRUE(h->finished->success);
    EXPECT_EQ(h->finished->resultText, "下载完毕！");
    EXPECT_EQ(h->progress.back().position, 99);
}

TEST_F(IpSet, WithoutAcknowledgementTheFilesStayAsTheyWere) {
    // No reply, a refusing status (only 0 acknowledges), another command,
    // a reply too short to hold a status, and a peer that closes.
    const std::vector<std::optional<Bytes>> replies = {std::nullopt, ack(10, 4), ack(10, 1), ack(1, 0),
                                                       Bytes{10, 0, 0, 0}};
    for (std::size_t i = 0; i <= replies.size(); ++i) {
        SetUp();
        ASSERT_TRUE(openAndPress(newSettings()));
        h->advance(9 * 20);
        if (i == replies.size())
            h->peerClosed();
        else if (replies[i])
            h->reply(*replies[i]);
        h->advance(2000);
        ASSERT_TRUE(h->finished) << i;
        EXPECT_FALSE(h->finished->success) << i;
        EXPECT_EQ(h->finished->resultText, "下 载 失 败！") << i;
        EXPECT_EQ(get("IP/ip.txt"), "192.168.1.10") << i;
        EXPECT_EQ(h->sent.size(), 1u) << "no restart " << i;
    }
}

TEST_F(IpSet, AcknowledgementSplitAcrossReadsCounts) {
    ASSERT_TRUE(openAndPress(newSettings()));
    h->advance(9 * 20);
    const Bytes whole = ack(10, 0);
    h->reply(Bytes(whole.begin(), whole.begin() + 5));
    h->reply(Bytes(whole.begin() + 5, whole.end()));
    EXPECT_TRUE(ex->acknowledged());
    EXPECT_EQ(get("IP/port.txt"), "503");
}

TEST_F(IpSet, SettingsThatWouldLockTheGatewayOutAreRefused) {
    struct Case {
        const char* ip;
        const char* mask;
        const char* gateway;
        const char* port;
        const char* message;
    } cases[] = {
        {"192.168.1.255", "255.255.255.0", "192.168.1.1", "502", services::kIpIsBroadcastAddress},
        {"192.168.1.0", "255.255.255.0", "192.168.1.1", "502", services::kIpIsNetworkAddress},
        {"192.168.1.10", "255.255.255.0", "192.168.1.10", "502", services::kGatewayIsIp},
        {"192.168.1.10", "255.255.255.0", "192.168.1.1", "0", "MOD端口取值范围:1-65535"},
        {"192.168.1.10", "255.255.255.0", "192.168.1.1", "70000", "MOD端口取值范围:1-65535"},
        {"1.2.3", "255.255.255.0", "192.168.1.1", "502", services::kIpWrong},
        {"192.168.1.10", "255.255.255.0", "192.168.2.1", "502", services::kGatewayOutsideSubnet},
        // A text that is no address (from the command line) names the field.
        {"192.168.1.10", "255.255.255.0", "192.168.1.x", "502", services::kGatewayWrong},
        // An emptied mask field reads as 0.0.0.0; a mask must be ones then zeros.
        {"192.168.1.10", "0.0.0.0", "192.168.1.1", "502", services::kMaskWrong},
        {"192.168.1.10", "255.0.255.0", "192.168.1.1", "502", services::kMaskWrong},
        {"192.168.1.10", "128.0.0.0", "192.168.1.1", "502", services::kMaskWrong},
    };
    for (const auto& c : cases) {
        SetUp();
        IpSetFields f = newSettings();
        f.newIp = c.ip;
        f.mask = c.mask;
        f.gateway = c.gateway;
        f.port = c.port;
        EXPECT_FALSE(openAndPress(f)) << c.ip;
        EXPECT_EQ(h->messageTexts(), (std::vector<std::string>{c.message})) << c.ip;
        h->advance(3000);
        EXPECT_TRUE(h->sent.empty()) << c.ip;
        EXPECT_TRUE(ex->downloadEnabled()) << "the dialog stays ready " << c.ip;
    }
}

TEST_F(IpSet, ConnectFailureLeavesTheDialogOpen) {
    put("IP/ip.txt", "192.168.1.10");
    h->start();
    ASSERT_TRUE(ex->pressConnect());
    h->pump();
    h->connect(false);
    EXPECT_EQ(h->messageTexts(), (std::vector<std::string>{"连接失败"}));
    EXPECT_FALSE(h->finished);
    EXPECT_FALSE(ex->connected());
    EXPECT_FALSE(ex->pressDownload());
    EXPECT_TRUE(ex->pressConnect()) << "连接 can be pressed again";
}

// A request the socket fails to send leaves the dialog open and
// disconnected; the unacknowledged run stops there, with nothing saved.
TEST_F(IpSet, SendFailureDisconnectsAndStopsTheRun) {
    ASSERT_TRUE(openAndPress(newSettings()));
    h->advance((kIpSetRequestPosition + 1) * kIpSetTickMs);
    ASSERT_EQ(h->sent.size(), 1u);
    h->sendFailed();
    EXPECT_EQ(h->messageTexts(), (std::vector<std::string>{"发送失败"}));
    EXPECT_FALSE(h->finished);
    EXPECT_FALSE(ex->connected());
    EXPECT_TRUE(h->timers.empty());
    EXPECT_EQ(get("IP/ip.txt"), "192.168.1.10");
}

} // namespace
} // namespace vantor::net
