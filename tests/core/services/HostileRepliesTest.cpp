// Every exchange of this folder fed with random replies of random lengths
// at every step: each must either go on waiting or end with a message,
// never act on bytes it does not have (run under the sanitizer build), and
// never report success on garbage.
#include "../transfer/ExchangeHarness.h"
#include "services/ControlWordExchange.h"
#include "services/DeviceInfoExchange.h"
#include "services/FirmwareExchange.h"
#include "services/SlaveStateExchange.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <random>

namespace vantor::services {
namespace {

using transfer::Bytes;
using transfer::testing::ExchangeHarness;

// A reply that keeps the first byte and the MBAP length plausible often
// enough to reach the deeper branches.
Bytes randomReply(std::mt19937& rng, bool modbus, uint8_t firstByte) {
    std::uniform_int_distribution<int> len(0, 300), byte(0, 255), coin(0, 3);
    Bytes r(static_cast<std::size_t>(len(rng)));
    for (auto& b : r)
        b = static_cast<uint8_t>(byte(rng));
    if (!r.empty() && coin(rng) != 0)
        r[0] = firstByte;
    if (modbus && r.size() >= 6) {
        const std::size_t body = r.size() - 6;
        r[4] = static_cast<uint8_t>(body >> 8);
        r[5] = static_cast<uint8_t>(body & 0xFF);
        if (r.size() >= 8 && coin(rng) != 0)
            r[7] = static_cast<uint8_t>(coin(rng) == 0 ? 3 : coin(rng) == 1 ? 6 : 4);
    }
    return r;
}

struct Subject {
    const char* name;
    bool modbus;
    uint8_t firstByte;
    std::function<std::unique_ptr<transfer::Exchange>()> make;
    std::optional<Bytes> prelude;
};

Bytes identification() {
    Bytes r{1, 0, 0, 0, 52, 0, 0, 0, 0, 0, 0, 0, 0x74, 0x34, 0x58, 0x06};
    r.resize(64, 0x31);
    return r;
}

TEST(HostileReplies, ExchangesEndWithAMessageOrKeepWaiting) {
    const std::vector<Subject> subjects = {
        {"state", true, 0,
         [] { return std::make_unique<SlaveStateExchange>("KX-P6R0-1.0", SlaveStateSettings{"h"}); },
         std::nullopt},
        {"control", true, 0,
         [] { return std::make_unique<ControlWordExchange>(42261, 0x00FF, ControlWordSettings{"h"}); },
         std::nullopt},
        {"info", false, 1,
         [] {
             return std::make_unique<DeviceInfoExchange>("KX-P2R0-1.0",
                                                         DeviceInfoSettings{"h", 5032, std::nullopt});
         },
         identification()},
        {"firmware", false, 3,
         [] {
             return std::make_unique<FirmwareExchange>("KX-P2R0-1.0", Bytes(600, 0x5A),
                                                       FirmwareSettings{"h", 5032, std::nullopt});
         },
         identification()},
    };
    std::mt19937 rng(20261207);
    for (const auto& s : subjects) {
        for (int run = 0; run < 300; ++run) {
            auto ex = s.make();
            ExchangeHarness h(*ex);
            h.start();
            h.connect();
            if (s.prelude && run % 2 == 0)
                h.reply(*s.prelude); // past the identification, into the deeper steps
            for (int step = 0; step < 40 && !h.finished; ++step) {
                h.advance(1000); // lets the poll tick
                h.reply(randomReply(rng, s.modbus, s.firstByte));
            }
            if (!h.finished)
                continue;
            EXPECT_FALSE(h.open) << s.name;
            if (h.finished->success && std::string(s.name) == "info") {
                // The fields are shown; no message box.
                EXPECT_TRUE(h.messages.empty());
                EXPECT_EQ(dynamic_cast<DeviceInfoExchange&>(*ex).fields().serialNumber.size(), 24u);
                continue;
            }
            ASSERT_FALSE(h.messages.empty()) << s.name << " run " << run << "\n" << h.traceText();
            // Success comes with its information only; failure with an error.
            EXPECT_EQ(h.messages.back().kind,
                      h.finished->success ? MessageKind::Information : MessageKind::Error)
                << s.name << " run " << run;
        }
    }
}

} // namespace
} // namespace vantor::services
