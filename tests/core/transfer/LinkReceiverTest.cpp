#include "transfer/LinkReceiver.h"
#include "transfer/PendingSend.h"
#include "transfer/TimerTable.h"

#include <gtest/gtest.h>

namespace vantor::transfer {
namespace {

Bytes mbap(int announced, std::size_t total) {
    Bytes b(total, 0x11);
    if (total > 4)
        b[4] = static_cast<uint8_t>(announced >> 8);
    if (total > 5)
        b[5] = static_cast<uint8_t>(announced & 0xFF);
    return b;
}

TEST(LinkReceiver, CommandFrameSplitReplyIsDeliveredTruncatedAndRestDiscarded) {
    LinkReceiver link(Framing::Command);
    link.reset();
    link.expectReply();
    Bytes reply = {0x01, 0, 0, 0, 0x10, 0, 0, 0, 0, 0, 0, 0, 0x73, 0x34, 0x58, 0x06, 0, 0, 1, 1};
    auto first = link.feed(ByteView(reply).first(7));
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0], Bytes(reply.begin(), reply.begin() + 7));
    EXPECT_FALSE(link.awaitingReply());
    EXPECT_TRUE(link.feed(ByteView(reply).subspan(7)).empty());
}

TEST(LinkReceiver, NothingReachesTheOwnerWhileNoReplyIsAwaited) {
    for (Framing f : {Framing::Command, Framing::ModbusTcp}) {
        LinkReceiver link(f);
        link.reset();
        EXPECT_TRUE(link.feed(mbap(3, 9)).empty());
        // The next awaited reply starts clean.
        link.expectReply();
        auto got = link.feed(mbap(3, 9));
        ASSERT_EQ(got.size(), 1u);
        EXPECT_EQ(got[0].size(), 9u);
    }
}

struct ModbusCase {
    const char* name;
    std::vector<std::size_t> segments; // sizes of successive reads of one frame
    int announced;
    int deliveredSize; // -1: nothing delivered
    bool stillAwaiting;
};

class ModbusReassembly : public ::testing::TestWithParam<ModbusCase> {};

TEST_P(ModbusReassembly, DeliversOnceOrDrops) {
    const auto& c = GetParam();
    std::size_t total = 0;
    for (auto s : c.segments)
        total += s;
    Bytes frame = mbap(c.announced, total);
    LinkReceiver link(Framing::ModbusTcp);
    link.reset();
    link.expectReply();
    std::vector<Bytes> got;
    std::size_t at = 0;
    for (auto s : c.segments) {
        for (auto& f : link.feed(ByteView(frame).subspan(at, s)))
            got.push_back(f);
        at += s;
    }
    if (c.deliveredSize < 0) {
        EXPECT_TRUE(got.empty());
    } else {
        ASSERT_EQ(got.size(), 1u);
        EXPECT_EQ(got[0], Bytes(frame.begin(), frame.begin() + c.deliveredSize));
    }
    EXPECT_EQ(link.awaitingReply(), c.stillAwaiting);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ModbusReassembly,
    ::testing::Values(ModbusCase{"NineBytesAnnouncedThree", {9}, 3, 9, false},
                      ModbusCase{"NineBytesOfElevenWait", {9}, 5, -1, true},
                      ModbusCase{"ElevenInTwoReads", {9, 2}, 5, 11, false},
                      ModbusCase{"NineBytesAnnouncedOneDropped", {9}, 1, -1, false},
                      ModbusCase{"ContinuationPastAnnouncedDropped", {9, 4}, 5, -1, false},
                      ModbusCase{"HeaderSplitBeforeLengthField", {3, 2, 4}, 3, 9, false},
                      ModbusCase{"ByteByByte", {1, 1, 1, 1, 1, 1, 1, 1, 1}, 3, 9, false},
                      ModbusCase{"AnnouncesMoreThanTheBufferHolds", {6, 100}, 0xFFFF, -1, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LinkReceiver, FrameFillingTheWholeBufferIsDeliveredAndNothingRunsPastIt) {
    // 8336 bytes announced (8330 + 6): the largest frame the buffer holds.
    Bytes frame = mbap(static_cast<int>(LinkReceiver::kBufferSize - 6), LinkReceiver::kBufferSize);
    LinkReceiver link(Framing::ModbusTcp);
    link.reset();
    link.expectReply();
    auto got = link.feed(frame); // one feed longer than a single read
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].size(), LinkReceiver::kBufferSize);

    // One byte more announced: dropped without touching memory past the end.
    Bytes big = mbap(static_cast<int>(LinkReceiver::kBufferSize - 5), LinkReceiver::kBufferSize + 1);
    link.expectReply();
    EXPECT_TRUE(link.feed(big).empty());
    EXPECT_FALSE(link.awaitingReply());
    EXPECT_TRUE(link.atFrameStart());
}

TEST(LinkReceiver, ResetOnConnectionAbandonsHalfFrame) {
    LinkReceiver link(Framing::ModbusTcp);
    link.reset();
    link.expectReply();
    EXPECT_TRUE(link.feed(mbap(5, 9)).empty());
    EXPECT_EQ(link.receivedSoFar(), 9u);
    link.reset();
    EXPECT_EQ(link.receivedSoFar(), 0u);
    auto got = link.feed(mbap(3, 9));
    EXPECT_EQ(got.size(), 1u);
}

TEST(PendingSend, KeepsTheUnsentRestAndFreesItWhenFlushed) {
    Bytes req = {1, 2, 3, 4, 5, 6, 7, 8};
    PendingSend p;
    p.store(req, 8);
    EXPECT_TRUE(p.empty());
    p.store(req, 3);
    EXPECT_EQ(p.remaining(), 5u);
    EXPECT_EQ(Bytes(p.rest().begin(), p.rest().end()), (Bytes{4, 5, 6, 7, 8}));
    p.consumed(2);
    EXPECT_EQ(Bytes(p.rest().begin(), p.rest().end()), (Bytes{6, 7, 8}));
    // A new request replaces the old rest.
    p.store(Bytes{9, 9}, 1);
    EXPECT_EQ(Bytes(p.rest().begin(), p.rest().end()), (Bytes{9}));
    p.consumed(5);
    EXPECT_TRUE(p.empty());
    EXPECT_EQ(p.total(), 0u);
}

TEST(TimerTable, FiresInDeadlineOrderAndReplacesRearmedTimers) {
    TimerTable t;
    t.arm(4, 1, 500);
    t.arm(10, 2, 300);
    t.arm(1, 3, 300);
    t.arm(4, 4, 900); // re-armed: the 500 run is gone
    EXPECT_EQ(t.nextDeadline(), 300);
    EXPECT_FALSE(t.popDue(299));
    auto a = t.popDue(1000);
    auto b = t.popDue(1000);
    auto c = t.popDue(1000);
    ASSERT_TRUE(a && b && c);
    EXPECT_EQ(a->id, 10); // same deadline: arming order
    EXPECT_EQ(b->id, 1);
    EXPECT_EQ(c->id, 4);
    EXPECT_EQ(c->token, 4u);
    EXPECT_TRUE(t.empty());
}

} // namespace
} // namespace vantor::transfer
