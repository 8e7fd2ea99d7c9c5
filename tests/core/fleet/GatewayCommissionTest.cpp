// One gateway's commissioning on a fake clock: the download, the pause while
// the gateway restarts, the identity read back on the row's port, the state
// words on the row's MODBUS port; the first step that fails ends the
// gateway with its reason, and 停止 ends it where it is.
#include "fleet/GatewayCommission.h"
#include "../transfer/ExchangeHarness.h"
#include "GatewayReplies.h"
#include "model/GatewayCatalogue.h"
#include "text/Shown.h"
#include "transfer/DownloadExchange.h"
#include "transfer/GatewayAddress.h"

#include "FakeTranslator.h"

#include <gtest/gtest.h>

namespace vantor::fleet {
namespace {

using transfer::Bytes;
using transfer::testing::ack;
using transfer::testing::ExchangeHarness;
using transfer::testing::identification;
using transfer::testing::serialReply;
using transfer::testing::stateReply;

constexpr uint8_t kCode = 0x74; // KX-P2R0-1.0
constexpr int kSettleMs = 500;

PreparedGateway gateway() {
    PreparedGateway g;
    g.row.line = 2;
    g.row.name = "gw1";
    g.row.host = "127.0.0.1";
    g.row.port = 6000;
    g.row.modbusPort = 6502;
    g.model = "KX-P2R0-1.0";
    g.blocks.rtu = Bytes(40, 0x11);
    g.blocks.fieldbus = Bytes(100, 0x22); // one chunk
    return g;
}

// Runs the commission's current exchange in a harness: `script` plays the
// gateway; the exchange's end goes back to the commission at `endAt`.
struct Step {
    GatewayCommission& c;
    ExchangeHarness h;
    explicit Step(GatewayCommission& commission) : c(commission), h(*commission.current()) { h.start(); }
    void reply(const Bytes& b) {
        h.reply(b);
        c.afterEvent();
        h.pump();
    }
    void end(int64_t at) {
        ASSERT_TRUE(h.finished) << h.traceText();
        for (const auto& m : h.messages)
            c.message(m);
        c.currentEnded(*h.finished, at);
    }
};

GatewayCommission commission() {
    CommissionSettings s;
    s.paceMs = 0;
    s.settleMs = kSettleMs;
    GatewayCommission c(gateway(), s);
    c.start(0);
    return c;
}

void download(GatewayCommission& c) {
    Step s(c);
    s.h.connect();
    s.reply(stateReply(kCode));
    s.reply(ack(20));
    s.reply(ack(21));
    s.end(1000);
}

TEST(GatewayCommission, DownloadsPausesAndVerifiesOnTheRowsPorts) {
    auto c = commission();
    EXPECT_EQ(c.stageText(), GatewayCommission::kDownloading);
    download(c);
    ASSERT_EQ(c.stage(), GatewayCommission::Stage::Settle);
    EXPECT_TRUE(c.outcome().downloaded);
    EXPECT_EQ(c.current(), nullptr);
    EXPECT_EQ(c.wakeAt(), 1000 + kSettleMs);
    c.advanceTo(1000 + kSettleMs - 1);
    EXPECT_EQ(c.stage(), GatewayCommission::Stage::Settle);
    c.advanceTo(1000 + kSettleMs);
    ASSERT_EQ(c.stage(), GatewayCommission::Stage::Identity);
    {
        Step s(c);
        ASSERT_EQ(s.h.connects.size(), 1u);
        EXPECT_EQ(s.h.connects[0], (transfer::ConnectAction{"127.0.0.1", 6000}));
        s.h.connect();
        s.reply(identification(52, kCode, 2));
        s.reply(serialReply());
        s.end(2000);
    }
    ASSERT_EQ(c.stage(), GatewayCommission::Stage::States);
    EXPECT_TRUE(c.outcome().device.identified);
    EXPECT_FALSE(c.outcome().device.info.serialNumber.empty());
    {
        Step s(c);
        ASSERT_EQ(s.h.connects.size(), 1u);
        EXPECT_EQ(s.h.connects[0].port, 6502);
        // No cycle comes: the polling ends without one.
        s.h.cancel();
        s.end(3500);
    }
    ASSERT_TRUE(c.done());
    EXPECT_FALSE(c.outcome().ok);
    EXPECT_EQ(c.outcome().reason, std::string("从站状态: ") + services::kReportNoAnswer);
    EXPECT_EQ(c.outcome().elapsedMs(), 3500);
}

const vantor::testing::English kEnglish = {
    {"连接%s:%d失败,请检查设备的网络参数和网络连接", "cannot reach %s:%d"},
    {"设备型号不匹配 配置设备为%s 实际设备为%s", "model %s configured, %s found"},
    {"下 载 失 败！%d", "refused with %d"},
    {"下 载 失 败！%s", "failed:%s"},
    {" 应答超时", " silent"},
    {"失败", "Failed"},
};

// The reason as the report keeps it, in any language; the window's in the
// user's.
TEST(GatewayCommission, AFailedDownloadEndsTheGatewayWithItsReason) {
    struct Case {
        const char* what;
        std::function<void(Step&)> gateway;
        std::string reason;
        const char* inEnglish;
    } cases[] = {
        {"connection refused", [](Step& s) { s.h.connect(false); },
         "连接127.0.0.1:6000失败,请检查设备的网络参数和网络连接", "cannot reach 127.0.0.1:6000"},
        {"other model", [](Step& s) { s.h.connect(), s.reply(stateReply(0x71)); },
         model::modelMismatchText("KX-P2R0-1.0", std::array<uint8_t, 4>{0x71, 0x34, 0x58, 0x06}),
         "model KX-P2R0-1.0 configured, NXE-485-ZRTU2 found"},
        {"refused block",
         [](Step& s) {
             s.h.connect();
             s.reply(stateReply(kCode));
             s.reply(ack(20));
             s.reply(ack(21, 3));
         },
         "下 载 失 败！3", "refused with 3"},
        {"silent", [](Step& s) { s.h.connect(), s.h.advance(transfer::kDefaultReplyTimeoutMs); },
         "下 载 失 败！ 应答超时", "failed: silent"},
    };
    const vantor::testing::FakeTranslator english(kEnglish);
    for (const bool translated : {false, true}) {
        english.install(translated);
        for (const auto& k : cases) {
            auto c = commission();
            Step s(c);
            k.gateway(s);
            s.end(700);
            EXPECT_TRUE(c.done()) << k.what;
            EXPECT_FALSE(c.outcome().downloaded) << k.what;
            EXPECT_EQ(c.outcome().reason, k.reason) << k.what;
            EXPECT_EQ(c.stageText(), translated ? std::string("Failed: ") + k.inEnglish
                                                : std::string(GatewayCommission::kFailed) + ": " + k.reason)
                << k.what;
        }
    }
}

TEST(GatewayCommission, StopEndsTheGatewayWhereItIs) {
    auto waiting = GatewayCommission(gateway(), {});
    waiting.stop(10);
    auto settling = commission();
    download(settling);
    settling.stop(1200);
    for (auto* c : {&waiting, &settling}) {
        EXPECT_TRUE(c->done());
        EXPECT_EQ(c->outcome().reason, GatewayCommission::kStopped);
        EXPECT_EQ(c->wakeAt(), std::nullopt);
    }
    EXPECT_TRUE(settling.outcome().downloaded);
}

} // namespace
} // namespace vantor::fleet
