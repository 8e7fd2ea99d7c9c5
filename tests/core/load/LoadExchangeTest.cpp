#include "load/LoadExchange.h"
#include "../transfer/ExchangeHarness.h"
#include "LoadFixtures.h"
#include "transfer/CommandFrame.h"

#include <gtest/gtest.h>

namespace vantor::load {
namespace {

using transfer::Bytes;
using transfer::commandFrame;
using transfer::testing::ExchangeHarness;

// An acknowledgement: header of `command`, then the status word.
Bytes ack(uint32_t command, uint8_t status) {
    Bytes b = commandFrame(command, 4);
    transfer::putU32(b, status);
    return b;
}

class LoadRun : public testing::ScratchDir {
protected:
    void SetUp() override {
        ScratchDir::SetUp();
        ex = std::make_unique<LoadExchange>(dir.string());
        h = std::make_unique<ExchangeHarness>(*ex);
    }

    // Opened with address files naming 127.0.0.1 and connected.
    void openConnected() {
        put("IP/ip.txt", "127.0.0.1");
        put("IP/port.txt", "502");
        h->start();
        ASSERT_TRUE(ex->pressConnect());
        h->pump();
        h->connect(true);
        ASSERT_EQ(ex->linkState(), LinkState::Connected);
    }
    void press(bool (LoadExchange::*button)()) {
        (ex.get()->*button)();
        h->pump();
    }
    // Command codes of the frames sent since `from`.
    std::vector<int> codesSince(std::size_t from) const {
        std::vector<int> codes;
        for (std::size_t i = from; i < h->sent.size(); ++i)
            codes.push_back(h->sent[i].empty() ? -1 : h->sent[i][0]);
        return codes;
    }
    std::vector<std::string> texts() const { return h->messageTexts(); }

    std::unique_ptr<LoadExchange> ex;
    std::unique_ptr<ExchangeHarness> h;
};

TEST_F(LoadRun, StartProposesTheAddressFromTheFile) {
    put("IP/ip.txt", "192.168.1.15\r\n");
    put("IP/port.txt", "502");
    h->start();
    EXPECT_TRUE(h->messages.empty());
    EXPECT_EQ(ex->fields().gatewayIp, "192.168.1.15");
    EXPECT_EQ(ex->linkState(), LinkState::Disconnected);
    EXPECT_STREQ(ex->connectText(), "连接");
    EXPECT_TRUE(ex->connectEnabled());
    EXPECT_FALSE(ex->actionsEnabled());
}

TEST_F(LoadRun, StartWithoutAddressFilesSaysSoOnce) {
    h->start();
    ASSERT_EQ(h->messages.size(), 1u);
    EXPECT_EQ(h->messages[0], (Message{MessageKind::Error, "错误", kMissingFile}));
    EXPECT_EQ(ex->fields().gatewayIp, "0.0.0.0");
}

TEST_F(LoadRun, ConnectAndDisconnect) {
    put("IP/ip.txt", "10.1.2.3");
    put("IP/port.txt", "502");
    h->start();
    auto f = ex->fields();
    f.configPort = "6000";
    ex->setFields(f);
    ASSERT_TRUE(ex->pressConnect());
    h->pump();
    ASSERT_EQ(h->connects.size(), 1u);
    EXPECT_EQ(h->connects[0], (transfer::ConnectAction{"10.1.2.3", 6000}));
    EXPECT_EQ(ex->linkState(), LinkState::Connecting);
    EXPECT_FALSE(ex->connectEnabled());
    EXPECT_FALSE(ex->pressConnect()) << "the button is disabled while connecting";
    h->connect(true);
    EXPECT_STREQ(ex->connectText(), "断开");
    EXPECT_TRUE(ex->connectEnabled());
    EXPECT_TRUE(ex->actionsEnabled());
    ASSERT_TRUE(ex->pressConnect()); // 断开
    h->pump();
    EXPECT_FALSE(h->open);
    EXPECT_EQ(ex->linkState(), LinkState::Disconnected);
    EXPECT_STREQ(ex->connectText(), "连接");
    EXPECT_FALSE(ex->actionsEnabled());
    // A new connection can be made on the same exchange.
    ASSERT_TRUE(ex->pressConnect());
    h->pump();
    EXPECT_EQ(h->connects.size(), 2u);
}

class ConnectFailure : public LoadRun, public ::testing::WithParamInterface<bool> {};

TEST_P(ConnectFailure, KeepsTheDialogUsable) {
    const bool timeout = GetParam();
    put("IP/ip.txt", "10.0.0.7");
    put("IP/port.txt", "502");
    h->start();
    ex->pressConnect();
    h->pump();
    if (timeout)
        h->advance(transfer::kConnectTimeoutMs);
    else
        h->connect(false);
    EXPECT_EQ(h->messages, (std::vector<Message>{{MessageKind::Error, "错误", kConnectFailed}}));
    EXPECT_EQ(ex->linkState(), LinkState::Disconnected);
    EXPECT_TRUE(ex->connectEnabled());
    EXPECT_FALSE(ex->actionsEnabled());
    EXPECT_FALSE(h->open);
    EXPECT_FALSE(ex->finished());
    EXPECT_EQ(ex->outcome(), Outcome::Failed);
    EXPECT_TRUE(h->timers.empty());
}

INSTANTIATE_TEST_SUITE_P(Ways, ConnectFailure, ::testing::Bool(),
                         [](const auto& info) { return std::string(info.param ? "Timeout" : "Refused"); });

TEST_F(LoadRun, RtuOperationEndToEnd) {
    openConnected();
    const int64_t t0 = h->now;
    press(&LoadExchange::pressRtu);
    ASSERT_EQ(codesSince(0), (std::vector<int>{1}));
    EXPECT_TRUE(h->timers.armed(kReplyTimer));
    h->reply(commandFrame(1, 16, Bytes(16, 0)));
    ASSERT_EQ(codesSince(1), (std::vector<int>{20}));
    EXPECT_EQ(h->sent[1], rtuSettingsRequest(ex->fields()));
    h->reply(ack(20, 0));
    EXPECT_TRUE(h->timers.armed(kRtuRunTimer));
    const int64_t runStart = h->now;
    h->advance(9 * kTickMs);
    ASSERT_EQ(codesSince(2), (std::vector<int>{21}));
    EXPECT_EQ(h->sentAt[2] - runStart, 9 * kTickMs) << "command 21 goes out at position 8";
    h->reply(ack(21, 4));
    EXPECT_TRUE(ex->successFlag());
    ASSERT_EQ(codesSince(3), (std::vector<int>{2}));
    h->reply(ack(2, 0));
    h->advance(100 * kTickMs - 9 * kTickMs);
    EXPECT_EQ(h->messages, (std::vector<Message>{{MessageKind::Information, "信息", kDone}}));
    EXPECT_FALSE(h->open);
    EXPECT_EQ(ex->linkState(), LinkState::Disconnected);
    EXPECT_FALSE(ex->actionsEnabled());
    EXPECT_FALSE(ex->successFlag());
    EXPECT_EQ(ex->outcome(), Outcome::Done);
    EXPECT_EQ(h->now - t0, 100 * kTickMs);
    // The gateway's address did not change: the address connected to is
    // kept, the MODBUS TCP port file is left alone.
    EXPECT_EQ(get("IP/ip.txt"), "127.0.0.1");
    EXPECT_EQ(get("IP/port.txt"), "502");
}

TEST_F(LoadRun, NetworkOperationEndToEnd) {
    openConnected();
    auto f = ex->fields();
    f.newIp = "10.20.30.40";
    f.gateway = "10.20.30.1";
    f.modPort = "5032";
    ex->setFields(f);
    press(&LoadExchange::pressIp);
    ASSERT_FALSE(h->progress.empty());
    EXPECT_EQ(h->progress.front(), (transfer::ProgressAction{0, 100, 0}));
    EXPECT_TRUE(h->sent.empty());
    h->advance(9 * kTickMs);
    ASSERT_EQ(codesSince(0), (std::vector<int>{10}));
    EXPECT_EQ(transfer::toSpacedHex(h->sent[0]),
              "0a 00 00 00 18 00 00 00 0a 14 1e 28 ff ff ff 00 0a 14 1e 01 "
              "a8 13 00 00 00 00 00 00 00 00 00 00");
    h->reply(ack(10, 0));
    EXPECT_EQ(get("IP/ip.txt"), "10.20.30.40");
    EXPECT_EQ(get("IP/port.txt"), "5032");
    ASSERT_EQ(codesSince(1), (std::vector<int>{2}));
    h->reply(ack(2, 0));
    h->advance(2000);
    EXPECT_EQ(texts(), std::vector<std::string>{kDone});
    EXPECT_FALSE(h->open);
    EXPECT_EQ(ex->outcome(), Outcome::Done);
}

// Each reply row, fed while the network operation waits for its answer
// (command 10 sent at position 8).
struct RowCase {
    const char* name;
    Bytes reply;
    std::vector<int> sends; // commands sent in answer
    bool success;
    bool saved;
    bool rtuRun = false;       // the RTU run (timer 1) starts
    bool keepsWaiting = false; // not an answer to the request: the reply timeout runs on
};

class ReplyRows : public LoadRun, public ::testing::WithParamInterface<RowCase> {};

TEST_P(ReplyRows, Apply) {
    const auto& c = GetParam();
    openConnected();
    std::filesystem::remove(dir / "IP" / "ip.txt");
    std::filesystem::remove(dir / "IP" / "port.txt");
    press(&LoadExchange::pressIp);
    h->advance(9 * kTickMs);
    ASSERT_EQ(h->sent.size(), 1u);
    h->reply(c.reply);
    EXPECT_EQ(codesSince(1), c.sends);
    EXPECT_EQ(ex->successFlag(), c.success);
    EXPECT_EQ(get("IP/ip.txt").has_value(), c.saved);
    if (c.saved) {
        EXPECT_EQ(get("IP/ip.txt"), "192.168.1.10");
        EXPECT_EQ(get("IP/port.txt"), "502");
    }
    EXPECT_EQ(h->timers.armed(kRtuRunTimer), c.rtuRun);
    EXPECT_EQ(h->timers.armed(kReplyTimer), !c.sends.empty() || c.keepsWaiting)
        << "each request arms the reply timeout, and only an answer to it stops the timeout";
    EXPECT_TRUE(h->messages.empty());
}

Bytes withByte7(Bytes b, uint8_t v) {
    b.resize(std::max<std::size_t>(b.size(), 8), 0);
    b[7] = v;
    return b;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ReplyRows,
    ::testing::Values(RowCase{"Identification", commandFrame(1, 16, Bytes(16, 0)), {20}, false, false},
                      RowCase{"RtuAck", ack(20, 0), {}, false, false, true},
                      RowCase{"FieldbusStatus0", ack(21, 0), {2}, true, false},
                      RowCase{"FieldbusStatus4", ack(21, 4), {2}, true, false},
                      RowCase{"FieldbusStatus1", ack(21, 1), {}, false, false, false, true},
                      RowCase{"FieldbusWithoutStatus", commandFrame(21, 0), {}, false, false, false, true},
                      RowCase{"NetworkStatus0", ack(10, 0), {2}, true, true},
                      RowCase{"NetworkStatus4", ack(10, 4), {2}, true, true},
                      // Any other status still counts, without the restart.
                      RowCase{"NetworkStatus1", ack(10, 1), {}, true, true},
                      RowCase{"NetworkOneByte", Bytes{10}, {}, true, true},
                      RowCase{"Byte7Is98", withByte7(ack(5, 0), 98), {}, true, true},
                      // Several rows apply to one reply.
                      RowCase{"IdentificationWithByte7Is98",
                              withByte7(commandFrame(1, 16, Bytes(16, 0)), 98),
                              {20},
                              true,
                              true},
                      RowCase{"SevenBytes", Bytes{0, 0, 0, 0, 0, 0, 0}, {}, false, false, false, true},
                      RowCase{"Restart", ack(2, 0), {}, false, false, false, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LoadRun, NoReplyWithinTenSeconds) {
    openConnected();
    press(&LoadExchange::pressRtu);
    h->advance(kReplyTimeoutMs - 1);
    EXPECT_TRUE(h->messages.empty());
    h->advance(1);
    EXPECT_EQ(h->messages, (std::vector<Message>{{MessageKind::Error, "错误", kFailed}}));
    EXPECT_TRUE(h->open) << "the connection stays";
    EXPECT_EQ(ex->linkState(), LinkState::Connected);
    EXPECT_TRUE(ex->actionsEnabled());
    EXPECT_EQ(ex->outcome(), Outcome::Failed);
}

// Once "下载失败" is shown the operation is over: a reply that comes late
// neither continues it (no command 20, no "下载完成" later) nor saves files.
TEST_F(LoadRun, LateReplyAfterTheTimeoutChangesNothing) {
    openConnected();
    press(&LoadExchange::pressRtu);
    h->advance(kReplyTimeoutMs);
    ASSERT_EQ(texts(), (std::vector<std::string>{kFailed}));
    h->reply(commandFrame(1, 16, Bytes(16, 0)));
    h->advance(5 * kReplyTimeoutMs);
    EXPECT_EQ(codesSince(0), (std::vector<int>{1}));
    EXPECT_EQ(texts(), (std::vector<std::string>{kFailed}));
}

// A reply no row takes is not the answer: the request is still awaited and
// its timeout, counted from the request, still reports a gateway that only
// answers garbage.
TEST_F(LoadRun, GarbageInsteadOfTheIdentificationEndsInTheTimeout) {
    for (const Bytes& garbage : {Bytes{0x63}, Bytes(7, 0), ack(2, 0)}) {
        ex = std::make_unique<LoadExchange>(dir.string());
        h = std::make_unique<ExchangeHarness>(*ex);
        openConnected();
        press(&LoadExchange::pressRtu);
        h->advance(1000);
        h->reply(garbage);
        h->advance(kReplyTimeoutMs - 1000 - 1);
        EXPECT_TRUE(h->messages.empty());
        h->advance(1);
        EXPECT_EQ(texts(), (std::vector<std::string>{kFailed}));
    }
}

TEST_F(LoadRun, ReplyTimeoutStopsARunningProgress) {
    openConnected();
    press(&LoadExchange::pressRtu); // command 1, never answered
    h->advance(kReplyTimeoutMs - 5 * kTickMs);
    press(&LoadExchange::pressIp);
    h->advance(5 * kTickMs);
    EXPECT_EQ(texts(), std::vector<std::string>{kFailed});
    EXPECT_TRUE(h->timers.empty()) << "timers 1, 2 and 4 stopped";
    h->advance(30000);
    EXPECT_EQ(texts().size(), 1u);
    EXPECT_EQ(codesSince(0), (std::vector<int>{1})) << "the stopped run sends no command 10";
}

TEST_F(LoadRun, SilentGatewayAfterIpSettingFailsTwice) {
    openConnected();
    press(&LoadExchange::pressIp);
    h->advance(2000);
    // The run ends first (100 ticks of 20 ms)...
    ASSERT_EQ(texts(), std::vector<std::string>{kFailed});
    EXPECT_EQ(ex->outcome(), Outcome::Failed);
    // ...and the reply timeout of command 10 (sent at 180 ms) follows.
    h->advance(9 * kTickMs + kReplyTimeoutMs - 2000 - 1);
    EXPECT_EQ(texts().size(), 1u);
    h->advance(1);
    EXPECT_EQ(texts(), (std::vector<std::string>{kFailed, kFailed}));
    EXPECT_EQ(h->messages[1].caption, "错误");
    EXPECT_TRUE(h->open);
    EXPECT_EQ(get("IP/ip.txt"), "127.0.0.1") << "nothing saved";
}

TEST_F(LoadRun, RestartWithoutAnswerDoesNotTurnSuccessIntoFailure) {
    openConnected();
    press(&LoadExchange::pressIp);
    h->advance(9 * kTickMs);
    h->reply(ack(10, 0)); // the restart request that follows is never answered
    h->advance(30000);
    EXPECT_EQ(texts(), std::vector<std::string>{kDone});
}

TEST_F(LoadRun, PeerCloseDisconnectsAndEndsTheOperationAtOnce) {
    openConnected();
    press(&LoadExchange::pressRtu);
    h->reply(commandFrame(1, 16, Bytes(16, 0)));
    h->reply(ack(20, 0));
    h->advance(3 * kTickMs);
    h->peerClosed();
    EXPECT_FALSE(h->open);
    EXPECT_EQ(ex->linkState(), LinkState::Disconnected);
    EXPECT_STREQ(ex->connectText(), "连接");
    EXPECT_TRUE(ex->connectEnabled());
    EXPECT_FALSE(ex->actionsEnabled());
    const auto sentBefore = h->sent.size();
    h->advance(0);
    EXPECT_EQ(texts(), std::vector<std::string>{kConnectionLost}) << "said at once, with the reason";
    EXPECT_EQ(ex->outcome(), Outcome::Failed);
    EXPECT_TRUE(h->timers.empty()) << "the run stopped with it";
    h->advance(2 * kReplyTimeoutMs);
    EXPECT_EQ(h->sent.size(), sentBefore) << "nothing goes out on a closed connection";
    EXPECT_EQ(texts().size(), 1u);
}

TEST_F(LoadRun, SendFailureDisconnects) {
    openConnected();
    press(&LoadExchange::pressRtu);
    h->sendFailed();
    EXPECT_EQ(h->messages, (std::vector<Message>{{MessageKind::Error, "错误", "发送失败"}}));
    EXPECT_FALSE(h->open);
    EXPECT_EQ(ex->linkState(), LinkState::Disconnected);
    EXPECT_FALSE(ex->actionsEnabled());
    EXPECT_EQ(ex->outcome(), Outcome::Failed);
}

TEST_F(LoadRun, RefusedModbusAddressSendsNothing) {
    openConnected();
    auto f = ex->fields();
    f.com2.address = "128";
    ex->setFields(f);
    EXPECT_FALSE(ex->pressRtu());
    h->pump();
    EXPECT_TRUE(h->sent.empty());
    EXPECT_EQ(texts(), std::vector<std::string>{kModAddressRange});
    // COM2 is not part of a single-port type's settings.
    f.deviceType = *deviceTypeIndex("LNK-P1-1.0");
    ex->setFields(f);
    EXPECT_FALSE(ex->com2Enabled());
    EXPECT_TRUE(ex->pressRtu());
}

// An address edited into a refused one after RTU设置 stops the operation at
// the identification's reply: nothing more is sent, and it is over (no
// timer is left that could end it later).
TEST_F(LoadRun, AddressRefusedAtTheFirstReplyEndsTheOperation) {
    openConnected();
    press(&LoadExchange::pressRtu);
    auto f = ex->fields();
    f.com1.address = "200";
    ex->setFields(f);
    h->reply(commandFrame(1, 16, Bytes(16, 0)));
    EXPECT_EQ(texts(), std::vector<std::string>{kModAddressRange});
    EXPECT_EQ(ex->outcome(), Outcome::Failed);
    EXPECT_TRUE(h->timers.empty());
    EXPECT_EQ(codesSince(0), (std::vector<int>{1}));
}

TEST_F(LoadRun, ButtonsDoNothingWhileDisconnected) {
    put("IP/ip.txt", "127.0.0.1");
    put("IP/port.txt", "502");
    h->start();
    EXPECT_FALSE(ex->pressRtu());
    EXPECT_FALSE(ex->pressIp());
    h->pump();
    EXPECT_TRUE(h->sent.empty());
    EXPECT_TRUE(h->timers.empty());
}

TEST_F(LoadRun, AddressFileThatCannotBeWrittenIsReported) {
    openConnected();
    std::filesystem::remove(dir / "IP" / "ip.txt");
    std::filesystem::create_directories(dir / "IP" / "ip.txt");
    press(&LoadExchange::pressIp);
    h->advance(9 * kTickMs);
    h->reply(ack(10, 1));
    ASSERT_EQ(h->messages.size(), 1u);
    EXPECT_EQ(h->messages[0].kind, MessageKind::Error);
    EXPECT_NE(h->messages[0].text.find("ip.txt"), std::string::npos);
    EXPECT_EQ(get("IP/port.txt"), "502");
}

} // namespace
} // namespace vantor::load
