#include "../transfer/ExchangeHarness.h"
#include "services/SlaveStateExchange.h"

#include <gtest/gtest.h>

#include <map>

namespace vantor::services {
namespace {

using transfer::Bytes;
using transfer::testing::ExchangeHarness;

// A gateway's registers: state and control words per (port, address).
struct Registers {
    std::map<std::pair<int, int>, uint16_t> state, control;

    // The reply to one read request as the gateway sends it: 125 registers.
    Bytes answer(const Bytes& req) const {
        const int function = req[7];
        const int start = req[8] << 8 | req[9];
        Bytes r{req[0], req[1], 0, 0, 0, 3 + 250, 9, static_cast<uint8_t>(function), 250};
        const auto& table = function == 4 ? state : control;
        for (int reg = start; reg < start + 125; ++reg) {
            const int port = (reg - 2001) / 256 + 1;
            const int address = (reg - 2001) % 256 + 1;
            auto it = table.find({port, address});
            uint16_t v = it == table.end() ? 0 : it->second;
            r.push_back(static_cast<uint8_t>(v >> 8));
            r.push_back(static_cast<uint8_t>(v & 0xFF));
        }
        return r;
    }
};

struct Poll {
    explicit Poll(const std::string& model) : ex(model, SlaveStateSettings{"192.168.1.15", 502}), h(ex) {}
    void open() {
        h.start();
        h.connect();
    }
    // Lets timer 2 tick and answers every request of the cycle.
    void cycle(const Registers& regs) {
        const std::size_t before = h.sent.size();
        h.advance(1000);
        ASSERT_GT(h.sent.size(), before) << h.traceText();
        while (h.sent.size() > answered) {
            const Bytes req = h.sent[answered++];
            h.reply(regs.answer(req));
        }
    }
    SlaveStateExchange ex;
    ExchangeHarness h;
    std::size_t answered = 0;
};

TEST(SlaveStateRegisters, ReadFrameLayoutForEachHalfAndFunction) {
    struct Case {
        uint16_t tid;
        uint8_t function;
        int port, half;
        Bytes frame;
    } cases[] = {
        {0, 4, 1, 0, {0, 0, 0, 0, 0, 6, 9, 4, 0x07, 0xD1, 0, 125}},
        {1, 4, 1, 1, {0, 1, 0, 0, 0, 6, 9, 4, 0x08, 0x4E, 0, 125}},
        {0, 3, 2, 0, {0, 0, 0, 0, 0, 6, 9, 3, 0x08, 0xD1, 0, 125}},
        {1, 3, 6, 1, {0, 1, 0, 0, 0, 6, 9, 3, 0x0D, 0x4E, 0, 125}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(readRequest(c.tid, c.function, pairStart(c.port, c.half)), c.frame)
            << c.port << "/" << c.half;
}

TEST(SlaveStateRegisters, DisplayAddressesPerPort) {
    struct Case {
        int port, address, state, control;
    } cases[] = {{1, 1, 32001, 42001}, {2, 1, 32257, 42257}, {3, 1, 32513, 42513}, {4, 1, 32769, 42769},
                 {5, 1, 33025, 43025}, {6, 1, 33281, 43281}, {2, 5, 32261, 42261}, {1, 250, 32250, 42250}};
    for (const auto& c : cases) {
        EXPECT_EQ(stateDisplayAddress(c.port, c.address), c.state);
        EXPECT_EQ(controlDisplayAddress(c.port, c.address), c.control);
    }
}

TEST(SlaveStateRegisters, PortsPolledAndTextGroupPerModel) {
    struct Case {
        const char* model;
        int ports;
        bool statusLayout;
    } cases[] = {{"KX-P1R0-1.0", 1, true}, {"LNK-P1-1.0", 1, true},     {"KX-P1-1.0", 1, true},
                 {"KX-P6R0-1.0", 6, true}, {"KX-P4R0-1.0", 6, true},    {"TRX-H-QMB6", 6, true},
                 {"KX-P2R0-1.0", 2, true}, {"NXE-485-ZRTU2", 2, false}, {"NXE-485-ZRTU2E", 2, false},
                 {"TRC-H-ZRTU", 2, false}};
    for (const auto& c : cases) {
        EXPECT_EQ(polledPortCount(c.model), c.ports) << c.model;
        EXPECT_EQ(usesStatusLayout(c.model), c.statusLayout) << c.model;
    }
    EXPECT_EQ(controlWordDescription("KX-P2R0-1.0"),
              "控制字: BIT0 设备操作使能位。\n        置“1”，从站工作使能；置“0” 配置中从站不再收发数据。\n"
              "        BIT1 接收失败计数清除。置“1”，接收失败计数清零一次。");
    EXPECT_EQ(
        stateWordDescription("NXE-485-ZRTU2").substr(0, stateWordDescription("NXE-485-ZRTU2").find('\n')),
        "状态字: BIT0    当前在线/离线状态位。在线为 “1”，离线为 “0”。");
    EXPECT_NE(stateWordDescription("KX-P1R0-1.0").find("BIT15   从站配置位。"), std::string::npos);
    EXPECT_NE(controlWordDescription("NXE-485-ZRTU2").find("BIT1 接收超时计数清除。"), std::string::npos);
}

// The state word in each layout, counters at and past their fields' ends.
TEST(SlaveStateRegisters, StateWordOfEachLayout) {
    struct Case {
        bool statusLayout;
        SlaveCounters counters;
        uint16_t word;
    } cases[] = {
        {true, {true, 5, 2, false}, 0x8215},
        {true, {false, 0x40, 0x3F, true}, 0xFF02}, // successes wrap in 6 bits
        {false, {true, 0x7F, 0, false}, 0x00FF},
        {false, {false, 3, 0x80, true}, 0x8006}, // failures wrap in 7 bits
    };
    for (const auto& c : cases)
        EXPECT_EQ(stateWord(c.statusLayout, c.counters), c.word) << c.statusLayout << " " << c.word;
}

TEST(SlaveStateExchange, SixPortCycleSendsTwentyFourRequestsInOrderAndFillsRows) {
    Poll p("KX-P6R0-1.0");
    p.open();
    EXPECT_EQ(p.h.connects[0].port, 502);
    EXPECT_EQ(p.h.statuses[0], "正在连接192.168.1.15:502...");
    EXPECT_TRUE(p.h.sent.empty()) << "nothing is sent before the first tick";
    Registers regs;
    regs.state[{1, 3}] = 0x8001;
    regs.control[{1, 3}] = 0x00ff;
    regs.state[{6, 250}] = 0x8106;
    regs.control[{6, 250}] = 0x0001;
    p.cycle(regs);
    ASSERT_EQ(p.h.sent.size(), 24u);
    // State words (function 4) of ports 1..6, then control words (3); per
    // port two halves of 125 registers from 2001 + 256 x (port - 1), the
    // transaction id naming the half.
    for (std::size_t i = 0; i < 24; ++i) {
        const uint8_t function = i < 12 ? 4 : 3;
        const unsigned port = static_cast<unsigned>(i % 12) / 2 + 1, half = i % 2;
        const unsigned start = 2001 + 256 * (port - 1) + 125 * half;
        const Bytes expected{0,
                             static_cast<uint8_t>(half),
                             0,
                             0,
                             0,
                             6,
                             9,
                             function,
                             static_cast<uint8_t>(start >> 8),
                             static_cast<uint8_t>(start & 0xFF),
                             0,
                             125};
        EXPECT_EQ(p.h.sent[i], expected) << i;
    }
    EXPECT_EQ(p.ex.cycles(), 1);
    const auto& rows = p.ex.rows();
    ASSERT_EQ(rows.size(), 186u);
    EXPECT_EQ(rows[0].cells, (std::array<std::string, 6>{"COM1", "3", "42003", "0x00FF", "32003", "0x8001"}));
    EXPECT_EQ(rows[1].cells,
              (std::array<std::string, 6>{"COM6", "250", "43530", "0x0001", "33530", "0x8106"}));
    EXPECT_EQ(rows[0].controlAddress, 42003);
    EXPECT_EQ(rows[0].control, 0x00ff);
    EXPECT_TRUE(rows[2].empty());
    EXPECT_TRUE(p.h.messages.empty());
    EXPECT_FALSE(p.h.finished);
}

TEST(SlaveStateExchange, RequestsPerCycleFollowThePortCount) {
    for (auto [model, requests] :
         {std::pair{"KX-P1-1.0", 4u}, {"NXE-485-ZRTU2E", 8u}, {"KX-P4R0-1.0", 24u}}) {
        Poll p(model);
        p.open();
        p.cycle(Registers{});
        EXPECT_EQ(p.h.sent.size(), requests) << model;
        EXPECT_EQ(p.ex.cycles(), 1) << model;
    }
}

TEST(SlaveStateExchange, NoConfiguredSlaveGivesNoRow) {
    Poll p("KX-P2R0-1.0");
    p.open();
    Registers regs;
    regs.control[{1, 1}] = 0x0001; // a control word alone does not make a slave
    p.cycle(regs);
    ASSERT_EQ(p.ex.rows().size(), 186u);
    for (const auto& r : p.ex.rows())
        EXPECT_TRUE(r.empty());
    EXPECT_TRUE(p.ex.slaves(1).addresses.empty());
    EXPECT_TRUE(p.ex.slaves(2).addresses.empty());
}

TEST(SlaveStateExchange, TwoHundredSlavesShowTheFirst186) {
    Poll p("KX-P2R0-1.0");
    p.open();
    Registers regs;
    for (int a = 1; a <= 150; ++a)
        regs.state[{1, a}] = 0x8000 | static_cast<uint16_t>(a);
    for (int a = 1; a <= 50; ++a)
        regs.state[{2, a}] = 0xC000 | static_cast<uint16_t>(a);
    p.cycle(regs);
    EXPECT_EQ(p.ex.slaves(1).addresses.size(), 150u);
    EXPECT_EQ(p.ex.slaves(2).addresses.size(), 50u);
    const auto& rows = p.ex.rows();
    ASSERT_EQ(rows.size(), 186u);
    // Slaves 126..150 of COM1 come from the second read of the pair.
    EXPECT_EQ(rows[149].cells[1], "150");
    EXPECT_EQ(rows[149].cells[5], "0x8096");
    EXPECT_EQ(rows[185].cells,
              (std::array<std::string, 6>{"COM2", "36", "42292", "0x0000", "32292", "0xC024"}));
}

TEST(SlaveStateExchange, VanishedSlaveLeavesItsStaleLastRow) {
    Poll p("KX-P1R0-1.0");
    p.open();
    Registers regs;
    regs.state[{1, 1}] = 0x8001;
    regs.state[{1, 2}] = 0x8002;
    regs.state[{1, 3}] = 0x8003;
    p.cycle(regs);
    ASSERT_EQ(p.ex.rows()[2].cells[1], "3");
    regs.state.erase({1, 2});
    regs.state[{1, 1}] = 0x8041;
    p.cycle(regs);
    EXPECT_EQ(p.ex.cycles(), 2);
    EXPECT_EQ(p.ex.rows()[0].cells[5], "0x8041");
    EXPECT_EQ(p.ex.rows()[1].cells[1], "3");
    EXPECT_EQ(p.ex.rows()[2].cells[1], "3") << "rows are overwritten, never cleared";
    EXPECT_EQ(p.ex.slaves(1).addresses, (std::vector<uint8_t>{1, 3}));
}

TEST(SlaveStateExchange, TickWhileARequestIsUnansweredEndsInNoReply) {
    Poll p("KX-P1R0-1.0");
    p.open();
    p.h.advance(1000);
    ASSERT_EQ(p.h.sent.size(), 1u);
    p.h.advance(1000);
    p.h.advance(1000);
    EXPECT_EQ(p.h.sent.size(), 1u) << "the outstanding request is not replaced";
    p.h.advance(999);
    EXPECT_FALSE(p.h.finished);
    p.h.advance(1);
    ASSERT_TRUE(p.h.finished);
    EXPECT_EQ(p.h.now, 4000);
    EXPECT_EQ(p.h.messageTexts(), std::vector<std::string>{"无应答"});
    EXPECT_FALSE(p.h.open);
    EXPECT_TRUE(p.h.timers.empty());
}

TEST(SlaveStateExchange, ExceptionReplyStopsTheChainUntilTheNextTick) {
    Poll p("KX-P1R0-1.0");
    p.open();
    p.h.advance(1000);
    p.h.reply(Bytes{0, 0, 0, 0, 0, 3, 9, 0x84, 2});
    EXPECT_EQ(p.h.sent.size(), 1u);
    EXPECT_FALSE(p.h.timers.armed(kStateReplyTimer));
    p.h.advance(1000);
    ASSERT_EQ(p.h.sent.size(), 2u);
    EXPECT_EQ(p.h.sent[1], p.h.sent[0]) << "the next tick starts the cycle again";
    EXPECT_TRUE(p.h.messages.empty());
}

TEST(SlaveStateExchange, ReplySplitAcrossReadsIsCollected) {
    Poll p("KX-P1R0-1.0");
    p.open();
    Registers regs;
    regs.state[{1, 7}] = 0x8005;
    p.h.advance(1000);
    Bytes r = regs.answer(p.h.sent[0]);
    p.h.reply(Bytes(r.begin(), r.begin() + 5));
    p.h.reply(Bytes(r.begin() + 5, r.begin() + 100));
    EXPECT_EQ(p.h.sent.size(), 1u);
    p.h.reply(Bytes(r.begin() + 100, r.end()));
    EXPECT_EQ(p.h.sent.size(), 2u);
}

TEST(SlaveStateExchange, ShortReadReplyFailsWithoutReadingPastIt) {
    Poll p("KX-P1R0-1.0");
    p.open();
    p.h.advance(1000);
    Bytes r{0, 0, 0, 0, 0, 3 + 20, 9, 4, 20};
    r.resize(r.size() + 20, 0x80);
    p.h.reply(r);
    ASSERT_TRUE(p.h.finished);
    EXPECT_EQ(p.h.messageTexts(), std::vector<std::string>{"从站状态应答数据不完整"});
    EXPECT_FALSE(p.h.open);
}

TEST(SlaveStateExchange, IdentificationCheck) {
    auto frame = [](uint8_t code, std::size_t size = 16) {
        Bytes f(size, 0);
        f[0] = 1;
        f[4] = 0x34;
        if (size >= 16) {
            f[12] = code;
            f[13] = 0x34;
            f[14] = 0x58;
            f[15] = 0x06;
        }
        return f;
    };
    struct Case {
        const char* model;
        Bytes frame;
        bool ok;
    } cases[] = {{"KX-P6R0-1.0", frame(0x73), true},     {"TRX-H-QMB6", frame(0x73), true},
                 {"KX-P4R0-1.0", frame(0x73), false},    {"NXE-485-ZRTU2E", frame(0x77), true},
                 {"LNK-P1-1.0", frame(0x72), true},      {"TRC-H-ZRTU", frame(0x10), true},
                 {"KX-P2R0-1.0", frame(0x74, 14), false}};
    for (const auto& c : cases)
        EXPECT_EQ(SlaveStateExchange::identificationMatches(c.model, c.frame), c.ok) << c.model;
}

TEST(SlaveStateExchange, ConnectFailureAndTimeoutNameTheModbusPort) {
    {
        Poll p("KX-P2R0-1.0");
        p.h.start();
        p.h.connect(false);
        EXPECT_EQ(p.h.messageTexts(),
                  std::vector<std::string>{"连接192.168.1.15:502失败,请检查设备的网络参数和网络连接"});
        EXPECT_TRUE(p.h.timers.empty());
    }
    {
        Poll p("KX-P2R0-1.0");
        p.h.start();
        p.h.advance(3000);
        EXPECT_EQ(p.h.messageTexts(),
                  std::vector<std::string>{"连接192.168.1.15:502超时,请检查设备的网络参数和网络连接"});
        EXPECT_TRUE(p.h.sent.empty());
    }
}

TEST(SlaveStateExchange, PeerCloseIsNoticedAsNoReply) {
    Poll p("KX-P2R0-1.0");
    p.open();
    p.h.peerClosed();
    p.h.advance(1000 + 3000);
    ASSERT_TRUE(p.h.finished);
    EXPECT_EQ(p.h.messageTexts(), std::vector<std::string>{"无应答"});
}

} // namespace
} // namespace vantor::services
