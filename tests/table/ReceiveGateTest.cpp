// The receive gate: the socket's reading follows its reasons, a second hold
// of one reason and a hold kept past the longest presentation are told:
// traced in a program, the end of a test run.

#include "table/client/ReceiveGate.h"
#include "TableTestKit.h"
#include "platform/system/Clock.h"
#include "platform/system/Trace.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace table_test {
namespace {

std::vector<std::string> g_traced;

void KeepErrors(platform::TraceChannel, int level, LPCSTR line) {
    if (level == platform::kTraceError)
        g_traced.push_back(line);
}

// Asserts live (as in the test run) or not, for the test's life.
void SetAsserts(const char* value) {
    setenv("PELLOR_ASSERTS", value, 1);
    platform::ReadTraceSettings();
}

class ReceiveGateTest : public ::testing::Test {
protected:
    platform::ManualClock clock;
    platform::ScopedClock useClock{clock};
    std::vector<BOOL> reading;
    CReceiveGate gate{[this](BOOL on) { reading.push_back(on); }};
};

TEST_F(ReceiveGateTest, TheSocketReadsOnlyWhileNoReasonHoldsTheGate) {
    EXPECT_FALSE(gate.IsHeld());
    gate.Hold(CReceiveGate::kRecord);
    gate.Hold(CReceiveGate::kLayout);
    gate.Release(CReceiveGate::kLayout);
    EXPECT_TRUE(gate.IsHeld()) << "the record still holds it";
    EXPECT_TRUE(gate.IsHeld(CReceiveGate::kRecord));
    EXPECT_FALSE(gate.IsHeld(CReceiveGate::kLayout));
    gate.Release(CReceiveGate::kLayout); // a release without its hold changes nothing
    EXPECT_TRUE(gate.IsHeld());
    gate.Release(CReceiveGate::kRecord);
    EXPECT_FALSE(gate.IsHeld());
    EXPECT_EQ(reading, (std::vector<BOOL>{FALSE, FALSE, TRUE}));

    // A table gone mid-presentation lets every reason go at once.
    gate.Hold(CReceiveGate::kStartUp);
    gate.Hold(CReceiveGate::kRecord);
    gate.ReleaseAbandoned();
    EXPECT_FALSE(gate.IsHeld());
    EXPECT_FALSE(gate.IsHeld(CReceiveGate::kStartUp));
    EXPECT_EQ(reading.back(), TRUE);
}

TEST_F(ReceiveGateTest, ASecondHoldOfOneReasonEndsATestRunAndKeepsOneHoldOtherwise) {
    gate.Hold(CReceiveGate::kRecord);
    SetAsserts("1");
    EXPECT_DEATH(gate.Hold(CReceiveGate::kRecord), "a second hold of one reason");
    SetAsserts("0");
    gate.Hold(CReceiveGate::kRecord);
    SetAsserts("1");
    gate.Release(CReceiveGate::kRecord);
    EXPECT_FALSE(gate.IsHeld()) << "one release opens what one reason held";
}

TEST_F(ReceiveGateTest, AHoldPastTheLongestPresentationEndsATestRunAndIsTracedOtherwise) {
    gate.Hold(CReceiveGate::kRecord);
    clock.Advance(CReceiveGate::kLongestHoldMs + 1);
    EXPECT_TRUE(gate.IsOverdue());
    SetAsserts("1");
    EXPECT_DEATH(gate.Release(CReceiveGate::kRecord), "a hold outlasted the longest presentation");

    SetAsserts("0");
    g_traced.clear();
    const platform::TraceListener previous = platform::SetTraceListener(KeepErrors);
    gate.Release(CReceiveGate::kRecord);
    platform::SetTraceListener(previous);
    SetAsserts("1");
    ASSERT_EQ(g_traced.size(), 1u);
    EXPECT_EQ(g_traced[0], "the table held receiving for 6001 ms");
    EXPECT_FALSE(gate.IsHeld());
}

TEST_F(ReceiveGateTest, TheWatchTellsAForgottenReleaseOnceWhileTheTableStillWaits) {
    const auto watch = [&](int ticks) {
        for (int i = 0; i < ticks; ++i) {
            clock.Advance(CReceiveGate::kWatchPeriodMs);
            gate.CheckOverdue();
        }
    };
    const int inTime = int(CReceiveGate::kLongestHoldMs / CReceiveGate::kWatchPeriodMs);
    gate.Hold(CReceiveGate::kRecord);
    SetAsserts("1");
    watch(inTime); // as long as a presentation may take: nothing is told
    clock.Advance(1);
    EXPECT_DEATH(gate.CheckOverdue(), "forgot its release");

    SetAsserts("0");
    g_traced.clear();
    const platform::TraceListener previous = platform::SetTraceListener(KeepErrors);
    gate.CheckOverdue();
    watch(2);
    platform::SetTraceListener(previous);
    ASSERT_EQ(g_traced.size(), 1u) << "told once per hold";
    EXPECT_EQ(g_traced[0],
              "the table has held receiving for 6001 ms: some path forgot its release");
    gate.ReleaseAbandoned();
    SetAsserts("1");

    // One jump of the clock left the animation no time to run: not told.
    gate.Hold(CReceiveGate::kRecord);
    clock.Advance(CReceiveGate::kLongestHoldMs * 3);
    gate.CheckOverdue();
    EXPECT_TRUE(gate.IsOverdue());
    gate.ReleaseAbandoned();

    // The layout and the start-up are no presentation: they are never overdue.
    gate.Hold(CReceiveGate::kStartUp);
    watch(inTime * 2);
    EXPECT_FALSE(gate.IsOverdue());
    gate.Release(CReceiveGate::kStartUp);
}

} // namespace
} // namespace table_test
