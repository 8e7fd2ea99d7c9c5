// The gateway closes the connection in the middle of an exchange. No reply
// can come on a closed connection, so an exchange that waits for one (or
// would send its next request into the closed connection and wait) ends at
// once with the words its own reply timeout would have used, instead of
// sitting out that timeout; where nothing depends on the gateway any more
// (before 下载, after the gateway has acknowledged), the close changes
// nothing else.
#include "ExchangeHarness.h"
#include "load/LoadExchange.h"
#include "net/NetDownloadExchange.h"
#include "services/ControlWordExchange.h"
#include "services/DeviceInfoExchange.h"
#include "services/FirmwareExchange.h"
#include "services/SlaveStateExchange.h"
#include "transfer/CommandFrame.h"
#include "transfer/DownloadExchange.h"

#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <memory>

namespace vantor::transfer {
namespace {

using testing::ExchangeHarness;

Bytes ack(uint8_t cmd, uint8_t status = 0) {
    Bytes r = commandFrame(cmd, 4);
    putU32(r, status);
    return r;
}

// Device state of a KX-P2R0-1.0 (identity 0x74, version marks 1, 1).
Bytes deviceState() {
    Bytes r = commandFrame(1, 16);
    r.resize(24, 0);
    r[12] = 0x74;
    r[13] = 0x34;
    r[14] = 0x58;
    r[15] = 0x06;
    r[18] = r[19] = 1;
    return r;
}

struct Case {
    const char* name;
    std::function<std::unique_ptr<Exchange>()> make;
    // Drives the exchange to the moment of the close (started, connected).
    std::function<void(Exchange&, ExchangeHarness&)> before;
    // What the exchange says after the close (its result text, or else its
    // last message); empty: nothing.
    std::string text;
    // By when, after the close; 0: at once.
    int64_t within = 0;
};

template <typename E> E& as(Exchange& e) {
    return dynamic_cast<E&>(e);
}

std::unique_ptr<Exchange> vantorDownload() {
    ConfigurationBlocks b;
    b.rtu = Bytes(40, 0x11);
    b.fieldbus = Bytes(300, 0x22);
    return std::make_unique<DownloadExchange>(
        "KX-P2R0-1.0", b,
        DownloadSettings{"10.0.0.1", 5032, kDefaultPaceMs, kDefaultReplyTimeoutMs, std::nullopt});
}
std::unique_ptr<Exchange> netDownload() {
    return std::make_unique<net::NetDownloadExchange>("KX-P1-1.0", 0,
                                                      net::NetImages{Bytes(20, 1), Bytes(76, 2)},
                                                      net::NetDownloadSettings{"10.0.0.1", 5032, 0});
}
std::unique_ptr<Exchange> load() {
    return std::make_unique<load::LoadExchange>("/nonexistent");
}
void pressDownload(Exchange& e, ExchangeHarness& h) {
    as<net::NetDownloadExchange>(e).pressDownload();
    h.pump();
}
void pressRtu(Exchange& e, ExchangeHarness& h) {
    as<load::LoadExchange>(e).pressRtu();
    h.pump();
}

const char* const kDownloadTimeout = "下 载 失 败！ 应答超时";

const std::vector<Case>& cases() {
    using namespace services;
    static const std::vector<Case> all = {
        {"download awaiting the device state", vantorDownload, nullptr, kDownloadTimeout},
        {"download in the pause after a reply", vantorDownload,
         [](Exchange&, ExchangeHarness& h) { h.reply(deviceState()); }, kDownloadTimeout, kDefaultPaceMs},
        {"net download awaiting the identification", netDownload, pressDownload, kDownloadTimeout},
        {"net download in the ticks before the first part", netDownload,
         [](Exchange& e, ExchangeHarness& h) {
             pressDownload(e, h);
             h.reply(commandFrame(1, 0));
             h.reply(ack(20));
         },
         kDownloadTimeout},
        {"net download before 下载", netDownload, nullptr, ""},
        {"slave state awaiting a read",
         [] { return std::make_unique<SlaveStateExchange>("KX-P1R0-1.0", SlaveStateSettings{"10.0.0.1"}); },
         [](Exchange&, ExchangeHarness& h) { h.advance(kPollPeriodMs); }, SlaveStateExchange::kNoReply},
        {"slave state between polls",
         [] { return std::make_unique<SlaveStateExchange>("KX-P1R0-1.0", SlaveStateSettings{"10.0.0.1"}); },
         nullptr, SlaveStateExchange::kNoReply, kPollPeriodMs},
        {"control word awaiting the echo",
         [] { return std::make_unique<ControlWordExchange>(42001, 1, ControlWordSettings{"10.0.0.1"}); },
         nullptr, ControlWordExchange::kNoReply},
        {"firmware awaiting the identification",
         [] {
             return std::make_unique<FirmwareExchange>("KX-P2R0-1.0", Bytes(100, 1),
                                                       FirmwareSettings{"10.0.0.1", 5032, std::nullopt});
         },
         nullptr, FirmwareExchange::kNoReply},
        {"device information awaiting the identification",
         [] {
             return std::make_unique<DeviceInfoExchange>("KX-P2R0-1.0",
                                                         DeviceInfoSettings{"10.0.0.1", 5032, std::nullopt});
         },
         nullptr, DeviceInfoExchange::kNoReply},
        {"VantorLoad awaiting the identification", load, pressRtu, load::kConnectionLost},
        {"VantorLoad in the run before command 21", load,
         [](Exchange& e, ExchangeHarness& h) {
             pressRtu(e, h);
             h.reply(commandFrame(1, 0));
             h.reply(ack(20));
         },
         load::kConnectionLost},
        {"VantorLoad after the acknowledgement (the gateway restarts)", load,
         [](Exchange& e, ExchangeHarness& h) {
             pressRtu(e, h);
             h.reply(commandFrame(1, 0));
             h.reply(ack(20));
             h.advance((load::kRequestPosition + 1) * load::kTickMs);
             h.reply(ack(21));
         },
         load::kDone, (load::kLastPosition + 2) * load::kTickMs},
    };
    return all;
}

class PeerClose : public ::testing::TestWithParam<std::size_t> {};

TEST_P(PeerClose, EndsAsTheReplyTimeoutWouldWithoutItsWait) {
    const Case& c = cases()[GetParam()];
    auto ex = c.make();
    ExchangeHarness h(*ex);
    h.start();
    if (auto* l = dynamic_cast<load::LoadExchange*>(ex.get())) {
        auto f = l->fields();
        f.gatewayIp = "127.0.0.1";
        l->setFields(f);
        l->pressConnect();
    }
    h.connect(true);
    if (c.before)
        c.before(*ex, h);
    ASSERT_FALSE(h.finished) << h.traceText();
    const std::size_t said = h.messages.size();
    auto saysNow = [&]() -> std::string {
        if (h.finished && !h.finished->resultText.empty())
            return h.finished->resultText;
        return h.messages.size() > said ? h.messages.back().text : std::string();
    };
    const int64_t closedAt = h.now;
    h.peerClosed();
    h.advance(0);
    if (c.within > 0) {
        EXPECT_EQ(saysNow(), "") << "the close alone decides nothing here\n" << h.traceText();
        h.advance(c.within);
    }
    EXPECT_EQ(saysNow(), c.text) << h.traceText();
    EXPECT_LE(h.now, closedAt + c.within);
    EXPECT_FALSE(h.open);
    // Nothing more comes later: no second report, no timer left running
    // towards one.
    const auto messages = h.messages.size();
    h.advance(120000);
    EXPECT_EQ(h.messages.size(), messages) << h.traceText();
}

INSTANTIATE_TEST_SUITE_P(Exchanges, PeerClose, ::testing::Range<std::size_t>(0, cases().size()),
                         [](const auto& info) {
                             std::string n;
                             for (char ch : std::string(cases()[info.param].name))
                                 n += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
                             return n;
                         });

} // namespace
} // namespace vantor::transfer
