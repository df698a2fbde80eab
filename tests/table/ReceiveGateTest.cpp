// The receive gate: the socket's reading follows it, a second hold is the
// same hold, and a hold kept past the longest presentation is told.

#include "table/ReceiveGate.h"
#include "TableTestKit.h"
#include "platform/system/Clock.h"

#include <vector>

namespace table_test {
namespace {

TEST(ReceiveGate, TheSocketReadsOnlyWhileTheGateIsOpenAndALateReleaseIsLogged) {
    platform::ManualClock clock;
    platform::ScopedClock useClock{clock};
    LogCapture log;
    std::vector<BOOL> reading;
    CReceiveGate gate([&](BOOL on) { reading.push_back(on); });
    EXPECT_FALSE(gate.IsHeld());

    gate.Hold();
    clock.Advance(CReceiveGate::kLongestHoldMs / 2);
    gate.Hold(); // a second hold is the same hold: its time runs from the first
    EXPECT_TRUE(gate.IsHeld());
    EXPECT_FALSE(gate.IsOverdue());
    clock.Advance(CReceiveGate::kLongestHoldMs / 2 + 1);
    EXPECT_TRUE(gate.IsOverdue());
    gate.Release();
    EXPECT_FALSE(gate.IsHeld());
    EXPECT_FALSE(gate.IsOverdue());
    EXPECT_EQ(reading, (std::vector<BOOL>{FALSE, FALSE, TRUE}));
    EXPECT_NE(log.Text().find("The table held receiving for 6001 ms"), std::string::npos);

    // A hold released in time leaves no line.
    gate.Hold();
    clock.Advance(CReceiveGate::kLongestHoldMs);
    gate.Release();
    EXPECT_EQ(log.Text().find("for 6000 ms"), std::string::npos);
}

} // namespace
} // namespace table_test
