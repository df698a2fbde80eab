// The receive gate: the socket's reading follows it, a second hold is the
// same hold, and a hold kept past the longest presentation is told: traced
// in a program, the end of a test run.

#include "table/ReceiveGate.h"
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

TEST_F(ReceiveGateTest, TheSocketReadsOnlyWhileTheGateIsOpen) {
    EXPECT_FALSE(gate.IsHeld());
    gate.Hold();
    clock.Advance(CReceiveGate::kLongestHoldMs / 2);
    gate.Hold(); // a second hold is the same hold: its time runs from the first
    EXPECT_TRUE(gate.IsHeld());
    clock.Advance(CReceiveGate::kLongestHoldMs / 2);
    EXPECT_FALSE(gate.IsOverdue());
    gate.Release();
    EXPECT_FALSE(gate.IsHeld());
    EXPECT_EQ(reading, (std::vector<BOOL>{FALSE, FALSE, TRUE}));
}

TEST_F(ReceiveGateTest, AHoldPastTheLongestPresentationEndsATestRunAndIsTracedOtherwise) {
    gate.Hold();
    clock.Advance(CReceiveGate::kLongestHoldMs + 1);
    EXPECT_TRUE(gate.IsOverdue());
    SetAsserts("1");
    EXPECT_DEATH(gate.Release(), "a hold outlasted the longest presentation");

    SetAsserts("0");
    g_traced.clear();
    const platform::TraceListener previous = platform::SetTraceListener(KeepErrors);
    gate.Release();
    platform::SetTraceListener(previous);
    SetAsserts("1");
    ASSERT_EQ(g_traced.size(), 1u);
    EXPECT_EQ(g_traced[0], "the table held receiving for 6001 ms");
    EXPECT_FALSE(gate.IsHeld());
}

} // namespace
} // namespace table_test
