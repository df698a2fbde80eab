// The start-up's and the frame's decisions: window placement, stored size,
// the launch record's seat, the title, the close questions.

#include "app/StartupRules.h"
#include "game/GameLogic.h"
#include "platform/window/Window.h"

#include <gtest/gtest.h>

namespace {

const SIZE kScreen{1280, 1024};
const SIZE kWork{1280, 994};

TEST(WindowPlacement, SmallSavedSizesStartAtTheDefaultSize) {
    const WindowPlacementChoice choice = ChooseWindowPlacement(800, 600, kWork, kScreen);
    EXPECT_EQ(choice.width, 1024);
    EXPECT_EQ(choice.height, 734);
    EXPECT_FALSE(choice.maximized);
    EXPECT_FALSE(choice.resolutionNotice);
    // One side below its floor is enough.
    EXPECT_EQ(ChooseWindowPlacement(1100, 650, kWork, kScreen).width, 1024);
}

TEST(WindowPlacement, ASavedSizeInsideTheWorkAreaIsKept) {
    const WindowPlacementChoice choice = ChooseWindowPlacement(1000, 700, kWork, kScreen);
    EXPECT_EQ(choice.width, 1000);
    EXPECT_EQ(choice.height, 700);
    EXPECT_FALSE(choice.maximized);
}

TEST(WindowPlacement, ASavedSizeAsLargeAsTheWorkAreaMaximises) {
    for (SIZE saved : {SIZE{1280, 900}, SIZE{1000, 994}, SIZE{3000, 3000}}) {
        const WindowPlacementChoice choice =
            ChooseWindowPlacement(saved.cx, saved.cy, kWork, kScreen);
        EXPECT_EQ(choice.width, kWork.cx) << saved.cx << "x" << saved.cy;
        EXPECT_EQ(choice.height, kWork.cy);
        EXPECT_TRUE(choice.maximized);
        EXPECT_FALSE(choice.resolutionNotice);
    }
}

TEST(WindowPlacement, ASmallScreenGetsTheNoticeAndAMaximisedWindow) {
    const WindowPlacementChoice small =
        ChooseWindowPlacement(1000, 700, SIZE{800, 570}, SIZE{800, 600});
    EXPECT_TRUE(small.resolutionNotice);
    EXPECT_TRUE(small.maximized);
    // 1024 x 768 with a task bar: the default size fits and shows normally.
    const WindowPlacementChoice exact =
        ChooseWindowPlacement(1000, 700, SIZE{1024, 738}, SIZE{1024, 768});
    EXPECT_FALSE(exact.resolutionNotice);
    EXPECT_FALSE(exact.maximized);
    EXPECT_EQ(exact.width, 1000);
}

TEST(FrameSize, AMinimisedFrameKeepsTheUsersSize) {
    int w = 1111, h = 777;
    EXPECT_FALSE(StoredFrameSize(SIZE_MINIMIZED, 0, 0, SIZE{8, 32}, &w, &h));
    EXPECT_EQ(w, 1111);
    EXPECT_EQ(h, 777);
}

TEST(LaunchSeat, AWatchersSeatIsReducedIntoTheTable) {
    CString reason;
    for (auto [given, expected] : {std::pair{7, 1}, {5, 5}, {-1, 5}, {-13, 5}, {12, 0}}) {
        int seat = given;
        EXPECT_TRUE(SettleSeat(TRUE, &seat, &reason));
        EXPECT_EQ(seat, expected) << given;
    }
}

TEST(LaunchSeat, APlayersSeatOutsideTheTableIsRefusedWithAReason) {
    CString reason;
    int seat = 3;
    EXPECT_TRUE(SettleSeat(FALSE, &seat, &reason));
    EXPECT_EQ(seat, 3);
    for (int bad : {6, 7, -1, 1000}) {
        seat = bad;
        reason.Empty();
        EXPECT_FALSE(SettleSeat(FALSE, &seat, &reason)) << bad;
        EXPECT_EQ(seat, bad) << "a refused seat is not changed";
        CString number;
        number.Format("%d", bad);
        EXPECT_GE(reason.Find(number), 0) << (LPCSTR)reason;
    }
}

TEST(GameTitle, PlayerAndWatcher) {
    EXPECT_STREQ(FormatGameTitle("1.2.3.4", "Alice", "alice", FALSE),
                 "Morvane积分版 (1.2.3.4) Alice [alice] ");
    EXPECT_STREQ(FormatGameTitle("1.2.3.4", "Bob", "bob", TRUE),
                 "Morvane积分版 (1.2.3.4) Bob [bob] 旁观");
}

// ---- the close decision table ----

CString TestStrings(UINT id) {
    switch (id) {
    case kCloseOutsideGameString:
        return "outside %d";
    case kCloseInGameString:
        return "in game";
    case kCloseRoundsInGameString:
        return "rounds %d";
    default:
        return "?";
    }
}

CloseDecision Decide(CloseFacts facts) {
    return DecideClose(facts, TestStrings);
}

TEST(CloseDecision, AWatcherIsAskedNothingAndSendsNothing) {
    CloseFacts facts;
    facts.watcher = TRUE;
    facts.gameState = 3;
    facts.ruleFlags = kRuleEscapeBeforeGames | kRuleEscapeAfterStart;
    const CloseDecision d = Decide(facts);
    EXPECT_TRUE(d.question.IsEmpty());
    EXPECT_EQ(d.send, CloseSend::kNothing);
}

TEST(CloseDecision, APlayerBetweenGamesUnderNoRuleLeavesWithoutAQuestion) {
    const CloseDecision d = Decide(CloseFacts{});
    EXPECT_TRUE(d.question.IsEmpty());
    EXPECT_EQ(d.send, CloseSend::kLeaveGame);
}

TEST(CloseDecision, APlayerInAGameIsAlwaysAskedAndHandsOverToTrusteeship) {
    CloseFacts facts;
    facts.gameState = 1;
    CloseDecision d = Decide(facts);
    EXPECT_STREQ(d.question, "in game");
    EXPECT_EQ(d.send, CloseSend::kTrustExitGame);

    // Too few rounds: the game under way counts, hence required - 1.
    facts.ruleFlags = kRuleEscapeBeforeGames;
    facts.gamesRequired = 5;
    facts.gamesPlayed = 3;
    EXPECT_STREQ(Decide(facts).question, "rounds 5");
    facts.gamesPlayed = 4;
    EXPECT_STREQ(Decide(facts).question, "in game");

    facts.ruleFlags = kRuleEscapeAfterStart;
    EXPECT_GT(Decide(facts).question.Find("没有两家同时革命"), 0);
    facts.doubleRevolution = TRUE;
    EXPECT_STREQ(Decide(facts).question, "in game");
}

TEST(CloseDecision, APlayerBetweenGamesIsAskedOnlyUnderTheRules) {
    CloseFacts facts;
    facts.ruleFlags = kRuleEscapeBeforeGames;
    facts.gamesRequired = 4;
    facts.gamesPlayed = 0; // nothing played yet: free to go
    EXPECT_TRUE(Decide(facts).question.IsEmpty());
    facts.gamesPlayed = 2;
    CloseDecision d = Decide(facts);
    EXPECT_STREQ(d.question, "outside 4");
    EXPECT_EQ(d.send, CloseSend::kLeaveGame);
    facts.gamesPlayed = 4;
    EXPECT_TRUE(Decide(facts).question.IsEmpty());

    facts.ruleFlags = kRuleEscapeAfterStart;
    EXPECT_GT(Decide(facts).question.Find("还没有两家同时革命"), 0);
    facts.doubleRevolution = TRUE;
    EXPECT_TRUE(Decide(facts).question.IsEmpty());
}

} // namespace
