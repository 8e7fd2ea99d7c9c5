// The serial-line budget against cycles worked out by hand.
#include "editing/LineBudget.h"

#include "EditingFixtures.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vantor;
using vantor::testing::addTestSlave;
using vantor::testing::command;

namespace {

// One line with one slave and the given commands; no send delay, no gap.
model::CVantorDoc oneSlave(int baud, int parity, int stop, std::vector<model::CModule> modules) {
    auto doc = vantor::testing::project("KX-P2R0-1.0", {"COM1"});
    doc.coms[0].baud = baud;
    doc.coms[0].check = parity;
    doc.coms[0].stop = stop;
    doc.coms[0].space = 0;
    const int s = addTestSlave(doc, "COM1", 7);
    doc.slaves[static_cast<std::size_t>(s)].space = 0;
    doc.slaves[static_cast<std::size_t>(s)].timeout = 50;
    doc.slaves[static_cast<std::size_t>(s)].modules = std::move(modules);
    return doc;
}

model::CModule changeTriggered(model::CModule m) {
    m.editSend = 1;
    return m;
}

} // namespace

TEST(LineBudget, FrameSizesPerFunction) {
    const struct {
        int function, length, request, reply;
    } cases[] = {{3, 10, 8, 25}, {4, 125, 8, 255}, {1, 16, 8, 7},   {2, 17, 8, 8},
                 {5, 1, 8, 8},   {6, 1, 8, 8},     {15, 10, 11, 8}, {16, 3, 15, 8}};
    for (const auto& c : cases)
        EXPECT_EQ(editing::commandFrameBytes(c.function, c.length), std::make_pair(c.request, c.reply))
            << c.function << "/" << c.length;
}

TEST(LineBudget, CyclesWorkedOutByHand) {
    const struct {
        const char* name;
        model::CVantorDoc doc;
        double cycleMs;
        int commands;
    } cases[] = {
        // 9600 8E1: 11 bits a character. 8 + 25 bytes and 2 x 3.5 silent
        // characters: 40 characters of 11/9600 s.
        {"9600 8E1 ten registers", oneSlave(2, 2, 0, {command("读4区 03H", 0, 10, 0)}), 40 * 11000.0 / 9600,
         1},
        // 19200 8N1: 10 bits. 8 + 7 bytes + 7 silent characters.
        {"19200 8N1 sixteen coils", oneSlave(3, 0, 0, {command("读0区 01H", 0, 16, 0)}), 22 * 10000.0 / 19200,
         1},
        // 115200 8N2: 11 bits. Single write 8 + 8 bytes + 7.
        {"115200 8N2 single write", oneSlave(6, 0, 1, {command("写4区 06H 写单字", 0, 1, 0)}),
         23 * 11000.0 / 115200, 1},
        // A write sent only on change costs nothing in the cycle.
        {"change-triggered write", oneSlave(2, 2, 0, {changeTriggered(command("写4区 10H 写多字", 0, 3, 0))}),
         0, 0},
    };
    for (const auto& c : cases) {
        const auto budgets = editing::lineBudgets(c.doc);
        ASSERT_EQ(budgets.size(), 1u) << c.name;
        EXPECT_NEAR(budgets[0].cycleMs, c.cycleMs, 1e-9) << c.name;
        EXPECT_EQ(budgets[0].commands, c.commands) << c.name;
    }
}

TEST(LineBudget, DelaysGapsAndDeadSlaves) {
    auto doc = oneSlave(2, 2, 0, {command("读4区 03H", 0, 10, 0), command("读4区 03H", 10, 10, 10)});
    const double wire = 40 * 11000.0 / 9600;
    doc.slaves[0].space = 5; // 50 ms before each message
    doc.coms[0].space = 30;  // 300 ms between slaves
    EXPECT_NEAR(editing::lineBudgets(doc)[0].cycleMs, 2 * (wire + 50) + 300, 1e-9);
    // Not answering: the request and its silence, then the 500 ms timeout.
    const double unanswered = 11.5 * 11000.0 / 9600 + 500 + 50;
    EXPECT_NEAR(editing::lineBudgets(doc, 1000, {{"COM1", 7}})[0].cycleMs, 2 * unanswered + 300, 1e-9);
    // Another line's slave of the same address is not taken as dead.
    EXPECT_NEAR(editing::lineBudgets(doc, 1000, {{"COM2", 7}})[0].cycleMs, 2 * (wire + 50) + 300, 1e-9);
    // A slave with nothing to poll adds no gap.
    doc.slaves[0].modules.clear();
    EXPECT_EQ(editing::lineBudgets(doc)[0].cycleMs, 0);
}

TEST(LineBudget, ThresholdNamesTheCostliestSlave) {
    auto doc = oneSlave(0, 2, 0, {command("读4区 03H", 0, 10, 0)});
    const int slow = addTestSlave(doc, "COM1", 9);
    doc.slaves[static_cast<std::size_t>(slow)].modules = {command("读4区 03H", 0, 125, 0)};
    doc.slaves[static_cast<std::size_t>(slow)].space = 0;
    const auto under = editing::lineBudgets(doc, 5000)[0];
    EXPECT_FALSE(under.overThreshold);
    EXPECT_EQ(editing::budgetSummary(under),
              "COM1 轮询周期约 " + std::to_string(std::lround(under.cycleMs)) + " ms");
    const auto over = editing::lineBudgets(doc, 100)[0];
    ASSERT_TRUE(over.overThreshold);
    EXPECT_EQ(over.costliest.address, 9);
    EXPECT_EQ(over.slaves.size(), 2u);
    EXPECT_NE(editing::budgetSummary(over).find("耗时最多的是从站 9"), std::string::npos);
}

TEST(LineBudget, DeadSlaveListsAsTheToolsTakeThem) {
    using Dead = std::set<std::pair<std::string, int>>;
    const struct {
        const char* text;
        bool ok;
        Dead dead;
    } cases[] = {
        {"COM1:3", true, {{"COM1", 3}}},
        {"COM1:3,COM2:15,COM1:3", true, {{"COM1", 3}, {"COM2", 15}}},
        {"", true, {}},
        {"COM1", false, {}},
        {":3", false, {}},
        {"COM1:", false, {}},
        {"COM1:x", false, {}},
        {"COM1:3,COM2", false, {{"COM1", 3}}},
        {"COM1:2560", false, {}},
    };
    for (const auto& c : cases) {
        Dead dead;
        EXPECT_EQ(editing::parseDeadSlaves(c.text, dead), c.ok) << c.text;
        EXPECT_EQ(dead, c.dead) << c.text;
    }
}
