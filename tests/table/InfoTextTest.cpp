// The table's information texts and places: the player information tip, the
// seat display name, the speech tips and the seat pop-up per view, and the
// betting dialog's bean figure.

#include "table/common/GameWndInfoText.h"

#include "game/LevelTitles.h"

#include <climits>
#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace {

tagUSERINFO Player(const char* user, const char* nick) {
    tagUSERINFO info{};
    strncpy(info.szUserName, user, sizeof info.szUserName);
    strncpy(info.szNickName, nick, sizeof info.szNickName);
    return info;
}

TEST(InfoText, ThePlayerInformationListsTheRecordInOrder) {
    tagUSERINFO user = Player("alice", "小艾");
    user.nLevel = 3;
    user.nScore = 120;
    user.nBeans = -5;
    user.nWins = 7;
    user.nLosses = 8;
    user.nDraws = 9;
    user.nWealth = 1000;
    const std::string expected = std::string("用户名:alice\n昵称:小艾\n级别:") + GetLevelTitle(3) +
                                 "\n积分:120\n游戏豆:-5\n赢 7 局\n输 8 局\n和 9 局\n拥有财富:1000";
    EXPECT_EQ(std::string(PlayerInfoText(user)), expected);
}

TEST(InfoText, LevelIndexesOutsideTheTitlesTakeTheNearestTitle) {
    tagUSERINFO user = Player("alice", "");
    user.nLevel = 25;
    EXPECT_NE(std::string(PlayerInfoText(user)).find(std::string("级别:") + GetLevelTitle(19)),
              std::string::npos);
    user.nLevel = -4;
    EXPECT_NE(std::string(PlayerInfoText(user)).find(std::string("级别:") + GetLevelTitle(0)),
              std::string::npos);
    EXPECT_EQ(StoredLevel(25), 20);
    EXPECT_EQ(StoredLevel(-1), 0);
    EXPECT_EQ(StoredLevel(20), 20);
}

TEST(InfoText, NamesThatFillTheirFieldAreReadWithoutRunningOver) {
    tagUSERINFO user{};
    memset(user.szUserName, 'u', sizeof user.szUserName);
    memset(user.szNickName, 'n', sizeof user.szNickName);
    user.nSeat = 0x41414141; // what follows the nickname must not join it
    EXPECT_EQ(std::string(UserNameOf(user)), std::string(20, 'u'));
    EXPECT_EQ(std::string(NickNameOf(user)), std::string(20, 'n'));
    EXPECT_EQ(std::string(DisplayNameOf(user)), std::string(20, 'n'));
    EXPECT_NE(std::string(PlayerInfoText(user)).find("昵称:" + std::string(20, 'n') + "\n"),
              std::string::npos);
}

TEST(InfoText, TheDisplayNameIsTheNicknameUnlessItIsBlank) {
    EXPECT_EQ(std::string(DisplayNameOf(Player("alice", "小艾"))), "小艾");
    EXPECT_EQ(std::string(DisplayNameOf(Player("alice", ""))), "alice");
    EXPECT_EQ(std::string(DisplayNameOf(Player("alice", " "))), "alice");
    EXPECT_EQ(std::string(DisplayNameOf(Player("alice", "  "))), "  ");
    EXPECT_TRUE(IsSeatUserTaken(Player("alice", "")));
    EXPECT_FALSE(IsSeatUserTaken(Player("", "nick")));
}

TEST(InfoText, SpeechTipsPointFromTheSeatTowardsTheTable) {
    const POINT place{300, 200};
    for (int view = 0; view < 4; ++view) {
        const TipPoints points = SpeechTipPoints(view, place);
        EXPECT_EQ(points.body.x, 390) << view;
        EXPECT_EQ(points.body.y, 170) << view;
        EXPECT_EQ(points.tail.x, 380) << view;
        EXPECT_EQ(points.tail.y, 225) << view;
    }
    for (int view : {4, 5}) {
        const TipPoints points = SpeechTipPoints(view, place);
        EXPECT_EQ(points.body.x, 220) << view;
        EXPECT_EQ(points.body.y, 170) << view;
        EXPECT_EQ(points.tail.x, 320) << view;
        EXPECT_EQ(points.tail.y, 225) << view;
    }
}

TEST(InfoText, TheInformationTipTurnsItsTailByView) {
    const int expected[6] = {2, 2, 2, 1, 3, 3};
    for (int view = 0; view < 6; ++view)
        EXPECT_EQ(InfoTipMode(view), expected[view]) << view;
}

TEST(InfoText, ThePopUpStandsLeftOfTheCursorOnlyForTheRightSeats) {
    const POINT cursor{500, 300};
    for (int view = 0; view < 6; ++view) {
        const RECT r = SeatPopupRect(view, cursor);
        EXPECT_EQ(r.left, view >= 4 ? 398 : 500) << view;
        EXPECT_EQ(r.top, 300);
        EXPECT_EQ(r.right - r.left, 102);
        EXPECT_EQ(r.bottom - r.top, 32);
    }
}

TEST(InfoText, TheBeanFigureKeepsTheReserveAndTheLargestBet) {
    EXPECT_EQ(BeanFigure(1000, 200, 5000), 800);
    EXPECT_EQ(BeanFigure(1000, 200, 500), 500);
    EXPECT_EQ(BeanFigure(100, 200, 500), 0);
    EXPECT_EQ(BeanFigure(1000, 0, 0), 0);
    // A largest bet below zero still gives no negative figure.
    EXPECT_EQ(BeanFigure(1000, 0, -10), 0);
    // Extreme values do not wrap round.
    EXPECT_EQ(BeanFigure(INT_MAX, -1000, INT_MAX), INT_MAX);
    EXPECT_EQ(BeanFigure(INT_MIN, 1000, 500), 0);
}

} // namespace
