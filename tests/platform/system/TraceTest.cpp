// The program's trace: channels and levels from PELLOR_TRACE, what a test
// sees through its listener, and asserts and caught failures that end a run
// only while asserts are live.

#include "platform/system/Trace.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using platform::TraceChannel;

std::vector<std::string> g_lines;

void Keep(TraceChannel, int, LPCSTR line) {
    g_lines.push_back(line);
}

class TraceTest : public ::testing::Test {
protected:
    void TearDown() override {
        unsetenv("PELLOR_TRACE");
        setenv("PELLOR_ASSERTS", "1", 1);
        platform::ReadTraceSettings();
    }
    static void Settings(const char* trace, const char* asserts) {
        if (trace != nullptr)
            setenv("PELLOR_TRACE", trace, 1);
        else
            unsetenv("PELLOR_TRACE");
        setenv("PELLOR_ASSERTS", asserts, 1);
        platform::ReadTraceSettings();
    }
};

TEST_F(TraceTest, TheSwitchSetsEachChannelsLevelAndOnlyTheNetworksErrorsGoOutUnset) {
    Settings(nullptr, "0");
    EXPECT_TRUE(platform::IsTraced(TraceChannel::kNetwork, platform::kTraceError));
    EXPECT_FALSE(platform::IsTraced(TraceChannel::kNetwork, platform::kTraceInfo));
    EXPECT_FALSE(platform::IsTraced(TraceChannel::kReferee, platform::kTraceError));

    Settings("records=3,sound,network=0", "0");
    EXPECT_TRUE(platform::IsTraced(TraceChannel::kRecords, platform::kTraceDetail));
    EXPECT_TRUE(platform::IsTraced(TraceChannel::kSound, platform::kTraceInfo));
    EXPECT_FALSE(platform::IsTraced(TraceChannel::kSound, platform::kTraceDetail));
    EXPECT_FALSE(platform::IsTraced(TraceChannel::kNetwork, platform::kTraceError));
    EXPECT_FALSE(platform::IsTraced(TraceChannel::kSprites, platform::kTraceError));

    Settings("all=1", "0");
    for (TraceChannel channel :
         {TraceChannel::kNetwork, TraceChannel::kRecords, TraceChannel::kReferee,
          TraceChannel::kSprites, TraceChannel::kSound})
        EXPECT_TRUE(platform::IsTraced(channel, platform::kTraceError));
}

TEST_F(TraceTest, AListenerSeesEveryLineFormattedWhateverTheLevels) {
    Settings(nullptr, "0");
    g_lines.clear();
    const platform::TraceListener previous = platform::SetTraceListener(Keep);
    platform::Trace(TraceChannel::kSprites, platform::kTraceDetail, "end event %d", 1008);
    platform::SetTraceListener(previous);
    EXPECT_EQ(g_lines, std::vector<std::string>{"end event 1008"});
}

TEST_F(TraceTest, AssertsAndCaughtFailuresEndOnlyARunWithAssertsLive) {
    Settings(nullptr, "0");
    bool evaluated = false;
    PELLOR_ASSERT((evaluated = true, false), TraceChannel::kRecords, "never seen");
    EXPECT_FALSE(evaluated) << "a program does not even evaluate the condition";
    platform::ReportCaughtFailure(TraceChannel::kReferee, "caught, and the program goes on");

    Settings(nullptr, "1");
    EXPECT_DEATH(PELLOR_ASSERT(1 + 1 == 3, TraceChannel::kRecords, "arithmetic broke"),
                 "assert failed at .*TraceTest.cpp:[0-9]+: arithmetic broke");
    EXPECT_DEATH(platform::ReportCaughtFailure(TraceChannel::kReferee, "Exception: handler"),
                 "a caught failure ends the test run: Exception: handler");
}

} // namespace
