// The exchange's own timers and the driver's clock: a timer armed by a
// button press counts from the moment of the press, however long the
// exchange has been idle; without a driver it counts from the last time
// the exchange was told; driver and exchange may go in either order.
#include "ExchangeHarness.h"

#include <memory>

namespace vantor::transfer {
namespace {

using testing::ExchangeHarness;

// A connected exchange with a button that arms timer 4 for one second.
class Pressable : public Exchange {
public:
    Pressable() : Exchange(Framing::Command) {}
    void start() override { beginConnect("10.0.0.1", 5032); }
    void press() { startTimer(4, 1000); }
    int ranOut = 0;

protected:
    void onConnected() override {}
    void onReply(ByteView) override {}
    void onTimer(int id) override { ranOut += id == 4; }
};

TEST(ExchangeTimers, APressLongAfterTheLastEventCountsFromThePress) {
    Pressable ex;
    ExchangeHarness h(ex);
    h.start();
    h.connect();
    h.advance(30000); // nothing due: the exchange hears nothing meanwhile
    ex.press();
    EXPECT_EQ(ex.nextDeadline(), 31000);
    h.advance(999);
    EXPECT_EQ(ex.ranOut, 0);
    h.advance(1);
    EXPECT_EQ(ex.ranOut, 1);
}

TEST(ExchangeTimers, DriverAndExchangeGoInEitherOrder) {
    auto ex = std::make_unique<Pressable>();
    {
        ExchangeHarness h(*ex);
        h.start();
        h.connect();
        h.advance(5000);
        h.advanceTo(5000);
    }
    // Without a driver a timer counts from the last time the exchange was
    // told.
    ex->press();
    EXPECT_EQ(ex->nextDeadline(), 6000);
    ex->advanceTo(5999);
    EXPECT_EQ(ex->ranOut, 0);
    ex->advanceTo(6000);
    EXPECT_EQ(ex->ranOut, 1);

    auto h = std::make_unique<ExchangeHarness>(*ex);
    ex.reset(); // the exchange first: its driver must not reach it any more
    h.reset();
}

} // namespace
} // namespace vantor::transfer
