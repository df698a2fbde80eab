// The decisions behind the table's input: right clicks, clocks that run
// out, refusal notices, return counts, seat changes and the chips offered.

#include "assets/resource.h"
#include "game/GameLogic.h"
#include "table/common/GameRecordWords.h"
#include "table/common/GameWndActionRules.h"
#include "table/common/GameWndIds.h"

#include <gtest/gtest.h>

namespace {

TEST(ActionRules, RightClickPlaysWhatTheMaskAllows) {
    EXPECT_EQ(RightClickPlayFor(kStatePlay, kActionTakeOut | kActionPass, true),
              RightClickPlay::kTakeOut);
    EXPECT_EQ(RightClickPlayFor(kStatePlay, kActionTakeOut | kActionPass, false),
              RightClickPlay::kPass);
    EXPECT_EQ(RightClickPlayFor(kStatePlay, kActionShao | kActionGiveUp, true),
              RightClickPlay::kShao);
    EXPECT_EQ(RightClickPlayFor(kStatePlay, kActionShao | kActionGiveUp, false),
              RightClickPlay::kGiveUp);
    // Take out wins over shao when both are allowed.
    EXPECT_EQ(RightClickPlayFor(kStatePlay, kActionTakeOut | kActionShao, false),
              RightClickPlay::kPass);
    EXPECT_EQ(RightClickPlayFor(kStatePlay, kActionPass, true), RightClickPlay::kNothing);
    EXPECT_EQ(RightClickPlayFor(kStateTribute, kActionReturnTribute, false),
              RightClickPlay::kReturnTribute);
    EXPECT_EQ(RightClickPlayFor(kStateTribute, kActionTakeOut, true), RightClickPlay::kNothing);
    for (int state : {kStateWaitStart, kStatePointRound1, kStateRevolution, kStateGousiji})
        EXPECT_EQ(RightClickPlayFor(state, 0xFFFF, true), RightClickPlay::kNothing) << state;
}

TEST(ActionRules, CardsArePickedInTrickPlayAndWhileReturningTribute) {
    EXPECT_TRUE(IsPickingState(kStatePlay, 0));
    EXPECT_TRUE(IsPickingState(kStateTribute, kActionReturnTribute));
    EXPECT_FALSE(IsPickingState(kStateTribute, kActionTakeOut));
    EXPECT_FALSE(IsPickingState(kStateGousiji, kActionReturnTribute));
}

TEST(ActionRules, AClockThatRunsOutAnswersForThePlayer) {
    EXPECT_EQ(ClockAnswerFor(kClockEventMyTurn, kActionTakeOut, false, false),
              ClockAnswer::kTrustOn);
    EXPECT_EQ(ClockAnswerFor(kClockEventMyTurn, kActionShao | kActionGiveUp, false, false),
              ClockAnswer::kGiveUp);
    EXPECT_EQ(ClockAnswerFor(kClockEventMyTurn, kActionTakeOut, true, false),
              ClockAnswer::kNothing);
    EXPECT_EQ(ClockAnswerFor(kClockEventMyTurn, kActionTakeOut, false, true),
              ClockAnswer::kNothing);
    EXPECT_EQ(ClockAnswerFor(kClockEventCannotBeat, kActionPass, false, false), ClockAnswer::kPass);
    EXPECT_EQ(ClockAnswerFor(kClockEventCannotBeat, kActionPass, true, false),
              ClockAnswer::kNothing);
    EXPECT_EQ(ClockAnswerFor(kClockEventCannotBeat, kActionShao | kActionGiveUp, false, false),
              ClockAnswer::kGiveUp);
    EXPECT_EQ(ClockAnswerFor(kClockEventCannotBeat, kActionShao, false, true),
              ClockAnswer::kNothing);
    EXPECT_EQ(ClockAnswerFor(kClockEventPoint, 0, false, false), ClockAnswer::kNoPoint);
    EXPECT_EQ(ClockAnswerFor(kClockEventRevolution, 0, false, false), ClockAnswer::kNoRevolution);
    EXPECT_EQ(ClockAnswerFor(kClockEventGousiji, 0, false, false), ClockAnswer::kNoGousiji);
    EXPECT_EQ(ClockAnswerFor(kClockEventReturnTribute, 0, false, false), ClockAnswer::kTrustOn);
    EXPECT_EQ(ClockAnswerFor(3006, 0xFF, false, false), ClockAnswer::kNothing);
}

TEST(ActionRules, EachRefusalHasItsNotice) {
    EXPECT_EQ(PlayRefusalString(0), UINT(IDS_PLAY_REFUSED_0));
    EXPECT_EQ(PlayRefusalString(2), UINT(IDS_PLAY_REFUSED_2));
    EXPECT_EQ(PlayRefusalString(3), UINT(IDS_PLAY_REFUSED_3));
    EXPECT_EQ(PlayRefusalString(4), UINT(IDS_PLAY_REFUSED_4));
    for (int other : {-1, 1, 5, 99})
        EXPECT_EQ(PlayRefusalString(other), UINT(IDS_PLAY_REFUSED)) << other;
}

TEST(ActionRules, AReturnFitsTheEntryAndTheRecord) {
    EXPECT_TRUE(ReturnCountFits(2, 2));
    EXPECT_FALSE(ReturnCountFits(2, 1));
    EXPECT_FALSE(ReturnCountFits(2, 3));
    // An entry without a count takes 1..12 cards, never more than the record holds.
    EXPECT_TRUE(ReturnCountFits(0, 1));
    EXPECT_TRUE(ReturnCountFits(0, 12));
    EXPECT_FALSE(ReturnCountFits(0, 13));
    EXPECT_FALSE(ReturnCountFits(-1, 0));
    EXPECT_FALSE(ReturnCountFits(13, 13));
    EXPECT_STREQ(TributeKindWord(1), "憋");
    EXPECT_STREQ(TributeKindWord(3), "落");
    EXPECT_EQ(TributeKindWord(4), nullptr);
}

TEST(ActionRules, SeatChangesAreThrottledAndChosenBySeat) {
    const DWORD late = kSeatChangeGapMs;
    // Before the game a taken seat is no target at all, not even for the throttle.
    EXPECT_EQ(SeatClickFor(3, 1, false, true, false, 0), SeatClick::kNothing);
    EXPECT_EQ(SeatClickFor(3, 1, false, false, false, late - 1), SeatClick::kTooSoon);
    EXPECT_EQ(SeatClickFor(3, 1, false, false, false, late), SeatClick::kSit);
    EXPECT_EQ(SeatClickFor(1, 1, false, false, false, late), SeatClick::kNoRequest);
    EXPECT_EQ(SeatClickFor(1, 1, true, false, false, late), SeatClick::kSit);
    // A watcher during a game watches a taken seat, and asks nothing of his own.
    EXPECT_EQ(SeatClickFor(3, 1, true, true, true, late), SeatClick::kWatch);
    EXPECT_EQ(SeatClickFor(1, 1, true, true, true, late), SeatClick::kNoRequest);
    // The time passed is an unsigned difference: a wrapped tick count still counts.
    const DWORD last = 0xFFFFFF00u;
    EXPECT_EQ(SeatClickFor(3, 1, true, true, true, DWORD(0x100u - last)), SeatClick::kTooSoon);
    EXPECT_EQ(SeatClickFor(3, 1, true, true, true, DWORD(0xC00u - last)), SeatClick::kWatch);
}

TEST(ActionRules, ChipsStandForTheMultiplesATableAllows) {
    EXPECT_EQ(MultipleLevel(1), 1);
    EXPECT_EQ(MultipleLevel(16), 5);
    EXPECT_EQ(MultipleLevel(3), 0);
    EXPECT_EQ(MultipleLevel(0), 0);
    EXPECT_TRUE(ChipEnabled(4, 4, false));
    EXPECT_FALSE(ChipEnabled(8, 4, false));
    EXPECT_FALSE(ChipEnabled(1, 16, true));
}

} // namespace
