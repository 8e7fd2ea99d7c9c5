// Line health: per-cycle counts from the state-word counters (wraps and
// clears), classes for both layouts, since-when and last success on a fake
// clock, the window, line sums, budget shares and the worst-first order.
#include "services/LineHealth.h"
#include "../editing/EditingFixtures.h"
#include "services/SlaveStateRegisters.h"

#include <gtest/gtest.h>

namespace vantor::services {
namespace {

constexpr bool kStatus = true;
constexpr bool kOnline = false; // the online/time-out layout

uint16_t word(bool layout, bool answering, uint64_t successes, uint64_t failures, bool overflowed = false) {
    return stateWord(layout, {answering, successes, failures, overflowed});
}

// Feeds one slave (COM1 slave 1) a word per one-second cycle.
struct OneSlave {
    explicit OneSlave(bool layout, std::size_t window = LineHealth::kDefaultWindowCycles)
        : health(layout, window) {}
    const SlaveHealth& feed(uint16_t state, uint16_t control = 0x0001) {
        clock += 1000;
        health.addCycle(clock, {{1, 1, state, control}});
        return *health.find(1, 1);
    }
    LineHealth health;
    int64_t clock = 0;
};

TEST(LineHealth, StateWordsReadBackInBothLayouts) {
    const struct {
        bool layout;
        uint16_t word;
        StateWordFields fields;
    } cases[] = {
        {kStatus, 0x8000 | 0x1 | 5 << 2 | 7 << 8, {true, false, 5, 7, false}},
        {kStatus, 0x8000 | 0x2 | 0x3F << 2 | 0x3F << 8 | 0x4000, {false, false, 63, 63, true}},
        {kStatus, 0x8000 | 0x3, {false, true, 0, 0, false}},
        {kStatus, 0x8000, {false, false, 0, 0, false}}, // configured, not polled yet
        {kOnline, 0x1 | 100 << 1 | 9 << 8, {true, false, 100, 9, false}},
        {kOnline, 0x7F << 8 | 0x8000, {false, false, 0, 127, true}},
    };
    for (const auto& c : cases) {
        const auto f = readStateWord(c.layout, c.word);
        EXPECT_EQ(std::tie(f.answering, f.answerError, f.successes, f.failures, f.overflowed),
                  std::tie(c.fields.answering, c.fields.answerError, c.fields.successes, c.fields.failures,
                           c.fields.overflowed))
            << std::hex << c.word;
    }
}

TEST(LineHealth, CountsPerCycleAcrossWrapsAndClears) {
    const struct {
        const char* name;
        bool layout;
        uint16_t before, after;
        CycleCounts counted;
    } cases[] = {
        {"successes", kStatus, word(kStatus, true, 10, 0), word(kStatus, true, 14, 0), {4, 0}},
        {"success wrap at 64", kStatus, word(kStatus, true, 60, 0), word(kStatus, true, 2, 0), {6, 0}},
        {"success wrap at 128", kOnline, word(kOnline, true, 120, 0), word(kOnline, true, 3, 0), {11, 0}},
        {"failure wrap sets overflow",
         kStatus,
         word(kStatus, false, 0, 62),
         word(kStatus, false, 0, 1, true),
         {0, 3}},
        {"wrap while overflowed",
         kOnline,
         word(kOnline, false, 0, 120, true),
         word(kOnline, false, 0, 5, true),
         {0, 13}},
        {"cleared without overflow", kStatus, word(kStatus, true, 5, 40), word(kStatus, true, 6, 2), {1, 2}},
        {"cleared overflow", kOnline, word(kOnline, false, 0, 10, true), word(kOnline, false, 0, 3), {0, 3}},
        {"nothing new", kStatus, word(kStatus, true, 7, 7), word(kStatus, true, 7, 7), {0, 0}},
    };
    for (const auto& c : cases) {
        OneSlave one(c.layout);
        EXPECT_EQ(one.feed(c.before).history.back(), CycleCounts{})
            << c.name << ": the first word counts nothing";
        EXPECT_EQ(one.feed(c.after).history.back(), c.counted) << c.name;
    }
}

TEST(LineHealth, ClassesForBothLayouts) {
    const struct {
        const char* name;
        bool layout;
        std::vector<std::pair<uint16_t, uint16_t>> words; // state, control per cycle
        HealthClass expected;
    } cases[] = {
        {"answering", kStatus, {{word(kStatus, true, 1, 0), 1}}, HealthClass::Online},
        {"online bit", kOnline, {{word(kOnline, true, 1, 0), 1}}, HealthClass::Online},
        {"dead from the start",
         kStatus,
         {{word(kStatus, false, 0, 3), 1}, {word(kStatus, false, 0, 9), 1}},
         HealthClass::Silent},
        {"offline from the start", kOnline, {{word(kOnline, false, 0, 3), 1}}, HealthClass::Silent},
        {"answered once, then time-outs",
         kStatus,
         {{word(kStatus, true, 4, 0), 1}, {word(kStatus, false, 4, 2), 1}},
         HealthClass::Timeout},
        {"success counter shows an answer", kOnline, {{word(kOnline, false, 9, 2), 1}}, HealthClass::Timeout},
        {"answer error", kStatus, {{0x8000 | 0x3 | 5 << 2 | 1 << 8, 1}}, HealthClass::Timeout},
        {"control bit 0 clear",
         kStatus,
         {{word(kStatus, true, 4, 0), 1}, {word(kStatus, true, 4, 0), 0x80}},
         HealthClass::Stopped},
        {"stopped while dead", kOnline, {{word(kOnline, false, 0, 5), 0}}, HealthClass::Stopped},
        {"enabled again",
         kStatus,
         {{word(kStatus, true, 4, 0), 0}, {word(kStatus, true, 6, 0), 1}},
         HealthClass::Online},
    };
    for (const auto& c : cases) {
        OneSlave one(c.layout);
        const SlaveHealth* s = nullptr;
        for (auto [state, control] : c.words)
            s = &one.feed(state, control);
        EXPECT_EQ(s->health, c.expected) << c.name;
    }
}

TEST(LineHealth, SinceWhenAndLastSuccessFollowTheClock) {
    OneSlave one(kStatus);
    one.feed(word(kStatus, true, 1, 0));                         // t = 1000: answering
    one.feed(word(kStatus, true, 3, 0));                         // 2000: two more successes
    one.feed(word(kStatus, false, 3, 1));                        // 3000: a time-out
    const SlaveHealth& s = one.feed(word(kStatus, false, 3, 2)); // 4000
    EXPECT_EQ(s.health, HealthClass::Timeout);
    EXPECT_EQ(s.sinceMs, 3000);
    EXPECT_EQ(s.lastSuccessMs, 2000);
    EXPECT_EQ(agoText(s.lastSuccessMs, one.clock), "2 秒前");
    EXPECT_EQ(healthTooltip(s, one.clock), "COM1 从站 1\n超时（已持续 1 秒）\n状态字 0x820E");

    // A dead slave has never succeeded.
    OneSlave dead(kOnline);
    dead.feed(word(kOnline, false, 0, 1));
    EXPECT_EQ(dead.feed(word(kOnline, false, 0, 2)).lastSuccessMs, std::nullopt);
}

TEST(LineHealth, FailureRateOverTheWindow) {
    OneSlave one(kStatus, 3);
    one.feed(word(kStatus, true, 0, 0));
    one.feed(word(kStatus, false, 0, 4)); // 4 failures
    one.feed(word(kStatus, true, 4, 4));  // 4 successes
    EXPECT_DOUBLE_EQ(*one.health.find(1, 1)->failureRate(), 0.5);
    one.feed(word(kStatus, true, 12, 4));
    one.feed(word(kStatus, true, 16, 4)); // the 4 failures have left the window
    const SlaveHealth& s = *one.health.find(1, 1);
    EXPECT_EQ(s.history.size(), 3u);
    EXPECT_DOUBLE_EQ(*s.failureRate(), 0.0);
    EXPECT_EQ(failureRateText(s.failureRate()), "0.0%");
    // A stopped slave exchanges nothing: its rate is unknown once the
    // window holds only its stop.
    for (int i = 0; i < 3; ++i)
        one.feed(word(kStatus, true, 16, 4), 0);
    EXPECT_EQ(failureRateText(one.health.find(1, 1)->failureRate()), "-");
}

TEST(LineHealth, LineSumsAlignAtTheNewestCycle) {
    LineHealth health(kStatus);
    health.addCycle(1000, {{1, 1, word(kStatus, true, 0, 0), 1}});
    health.addCycle(2000, {{1, 1, word(kStatus, true, 5, 0), 1},
                           {1, 2, word(kStatus, false, 0, 0), 1},
                           {2, 1, word(kStatus, true, 0, 0), 1}});
    health.addCycle(3000, {{1, 1, word(kStatus, true, 6, 0), 1},
                           {1, 2, word(kStatus, false, 0, 3), 1},
                           {2, 1, word(kStatus, true, 9, 0), 1}});
    const LineSummary com1 = health.line(1);
    EXPECT_EQ(com1.history, (std::vector<CycleCounts>{{0, 0}, {5, 0}, {1, 3}}));
    EXPECT_DOUBLE_EQ(*com1.failureRate, 3.0 / 9);
    EXPECT_EQ(health.line(2).history, (std::vector<CycleCounts>{{0, 0}, {9, 0}}));
    EXPECT_EQ(health.ports(), (std::vector<int>{1, 2}));
}

// COM1 slaves 1, 2, 3 and COM2 slave 1 at 9600 8E1 without gaps, one read
// of ten registers each: 40 characters of 11 bits (45.8 ms) when the slave
// answers, 11.5 characters and its 1000 ms reply timeout when it does not.
// Slave 2 is named.
model::CVantorDoc budgetProject() {
    auto doc = testing::project("KX-P2R0-1.0", {"COM1", "COM2"});
    for (auto& com : doc.coms)
        com.space = 0;
    for (auto [line, address] : {std::pair{"COM1", 1}, {"COM1", 2}, {"COM1", 3}, {"COM2", 1}}) {
        auto& s = doc.slaves[static_cast<std::size_t>(testing::addTestSlave(doc, line, address))];
        s.modules = {testing::command("读4区 03H", 0, 10, 0)};
        s.timeout = 100;
        s.space = 0;
    }
    doc.slaves[1].name = "泵站";
    return doc;
}

TEST(LineHealth, BudgetSharesAndWorstFirst) {
    LineHealth health(kStatus);
    health.setProject(budgetProject());
    ASSERT_NE(health.find(1, 2), nullptr);
    EXPECT_EQ(health.find(1, 2)->name, "泵站");
    EXPECT_FALSE(health.find(1, 2)->reported);
    // Equal slaves share their line equally before any cycle.
    EXPECT_DOUBLE_EQ(health.find(1, 1)->budgetShare, 1.0 / 3);

    // Slave 3 times out (its reply timeout stretches the line), slave 2
    // fails one in four, COM2 slave 1 is not listed by the gateway.
    const uint16_t on = 1;
    health.addCycle(1000, {{1, 1, word(kStatus, true, 0, 0), on},
                           {1, 2, word(kStatus, true, 0, 0), on},
                           {1, 3, word(kStatus, true, 0, 0), on}});
    health.addCycle(2000, {{1, 1, word(kStatus, true, 4, 0), on},
                           {1, 2, word(kStatus, true, 3, 1), on},
                           {1, 3, word(kStatus, false, 0, 4), on}});
    const SlaveHealth& slow = *health.find(1, 3);
    EXPECT_EQ(slow.health, HealthClass::Timeout);
    EXPECT_NEAR(slow.budgetShare, 1013.2 / 1104.8, 1e-3);
    EXPECT_DOUBLE_EQ(health.find(1, 1)->budgetShare + health.find(1, 2)->budgetShare + slow.budgetShare, 1.0);
    EXPECT_EQ(health.find(2, 1)->health, HealthClass::Silent);

    std::vector<std::pair<int, int>> order;
    for (const SlaveHealth* s : health.worstFirst())
        order.emplace_back(s->port, s->address);
    EXPECT_EQ(order, (std::vector<std::pair<int, int>>{{1, 3}, {1, 2}, {1, 1}, {2, 1}}));
    EXPECT_EQ(healthListRow(*health.find(1, 2), 2000),
              (std::array<std::string, 7>{"COM1", "2", "泵站", "在线", "25.0%", "刚刚", "4%"}));

    // Stopping slave 3 takes its cost off the line.
    health.addCycle(3000, {{1, 1, word(kStatus, true, 8, 0), on},
                           {1, 2, word(kStatus, true, 7, 1), on},
                           {1, 3, word(kStatus, false, 0, 4), 0}});
    EXPECT_EQ(health.find(1, 3)->budgetShare, 0.0);
    EXPECT_DOUBLE_EQ(health.find(1, 1)->budgetShare, 0.5);
}

TEST(LineHealth, AgoTexts) {
    const struct {
        std::optional<int64_t> at;
        int64_t now;
        const char* text;
    } cases[] = {{std::nullopt, 5000, "从未"},
                 {4200, 5000, "刚刚"},
                 {1000, 13999, "12 秒前"},
                 {0, 185000, "3 分 5 秒前"}};
    for (const auto& c : cases)
        EXPECT_EQ(agoText(c.at, c.now), c.text) << c.now;
}

} // namespace
} // namespace vantor::services
