#include <gtest/gtest.h>

#include "game/GameLogic.h"
#include "game/TimeLimits.h"
#include "platform/system/Clock.h"

TEST(TimeLimits, TributeGetsTwiceItsLimitPlusGrace) {
    CTimeLimits limits;
    const int32_t values[kTimeLimitCount] = {5, 3, 3, 10, 5, 5, 5, 5, 3, 10, 1};
    limits.SetLimits(values);
    limits.StartAt(1000);
    EXPECT_FALSE(limits.IsTimeOutAt(kStateTribute, 1000 + 20999));
    EXPECT_TRUE(limits.IsTimeOutAt(kStateTribute, 1000 + 21000));
}

TEST(TimeLimits, EachStateUsesItsOwnLimit) {
    CTimeLimits limits;
    const int32_t values[kTimeLimitCount] = {100, 11, 12, 13, 14, 15, 16, 100, 100, 19, 2};
    limits.SetLimits(values);
    limits.StartAt(0);
    struct Case {
        int state, seconds;
    } cases[] = {{kStateWaitStart, 21}, {kStatePointRound1, 13}, {kStatePointRound2, 14},
                 {kStateTribute, 28},   {kStateRevolution, 16},  {kStateGousiji, 17},
                 {kStatePlay, 18}};
    for (const Case& c : cases) {
        EXPECT_FALSE(limits.IsTimeOutAt(c.state, uint32_t(c.seconds) * 1000 - 1)) << c.state;
        EXPECT_TRUE(limits.IsTimeOutAt(c.state, uint32_t(c.seconds) * 1000)) << c.state;
    }
    for (int state : {int(kStatePayingTribute), int(kStateBuyThree), int(kStateAllStarted), -1, 42})
        EXPECT_FALSE(limits.IsTimeOutAt(state, 0xFFFFFFF0u)) << state;
}

TEST(TimeLimits, TheTickCounterMayWrap) {
    CTimeLimits limits; // trick play: 5 + 1 seconds by default
    limits.StartAt(0xFFFFF000u);
    EXPECT_FALSE(limits.IsTimeOutAt(kStatePlay, 0xFFFFF000u + 5999u));
    EXPECT_TRUE(limits.IsTimeOutAt(kStatePlay, 0xFFFFF000u + 6000u)); // past zero
    EXPECT_EQ(limits.GetLimit(11), 0);
}

TEST(TimeLimits, WithoutASourceOfItsOwnTheWaitRunsOnThePlatformClock) {
    platform::ManualClock clock;
    platform::ScopedClock useClock(clock);
    clock.Advance(123456);
    CTimeLimits limits; // trick play: 5 + 1 seconds by default
    limits.Start();
    EXPECT_EQ(limits.Now(), uint32_t(GetTickCount()));
    clock.Advance(5999);
    EXPECT_FALSE(limits.IsTimeOut(kStatePlay));
    clock.Advance(1);
    EXPECT_TRUE(limits.IsTimeOut(kStatePlay));

    // A source of its own wins over the platform clock.
    uint32_t own = 0;
    limits.SetTickSource([&own] { return own; });
    limits.Start();
    clock.Advance(60000);
    EXPECT_FALSE(limits.IsTimeOut(kStatePlay));
    own = 6000;
    EXPECT_TRUE(limits.IsTimeOut(kStatePlay));
}
