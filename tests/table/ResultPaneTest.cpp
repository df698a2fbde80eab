// The result panes: score texts, the order of the rows, names and place
// words from the game-over record, and every text inside its cell.

#include "game/GameLogic.h"
#include "table/panes/ResultPaneImage.h"
#include "tests/table/TableTestKit.h"

#include <climits>
#include <cstring>
#include <set>

namespace {

using namespace table_test;

const uint32_t kFelt = 0x00206040;
const uint32_t kTextInk = Rgb(RGB(224, 253, 2));

TEST(ScoreTextTest, SignsTensOfThousandsAndTheExtremes) {
    EXPECT_EQ(ScoreText(0), "0");
    EXPECT_EQ(ScoreText(1), "+1");
    EXPECT_EQ(ScoreText(9999), "+9999");
    EXPECT_EQ(ScoreText(10000), "+1万");
    EXPECT_EQ(ScoreText(19999), "+1万");
    EXPECT_EQ(ScoreText(-5), "-5");
    EXPECT_EQ(ScoreText(-9999), "-9999");
    EXPECT_EQ(ScoreText(-10000), "-1万");
    EXPECT_EQ(ScoreText(INT_MAX), "+214748万");
    EXPECT_EQ(ScoreText(INT_MIN), "-214748万"); // no overflow on negation
}

TEST(ResultRowsTest, OwnSeatThenTeammatesThenOpponents) {
    for (int me = 0; me < kSeatCount; ++me) {
        int seats[kSeatCount];
        ASSERT_TRUE(ResultRowSeats(me, seats));
        EXPECT_EQ(seats[0], me);
        EXPECT_EQ(std::set<int>(seats, seats + kSeatCount).size(), size_t(kSeatCount));
        EXPECT_TRUE(CGameLogic::IsTeammate(me, seats[1]));
        EXPECT_TRUE(CGameLogic::IsTeammate(me, seats[2]));
        for (int row = 3; row < kSeatCount; ++row)
            EXPECT_FALSE(CGameLogic::IsTeammate(me, seats[row])) << me << " row " << row;
        EXPECT_EQ(seats[3], (me + 1) % kSeatCount);
        EXPECT_EQ(seats[4], (me + 3) % kSeatCount);
        EXPECT_EQ(seats[5], (me + 5) % kSeatCount);
    }
    int seats[kSeatCount];
    EXPECT_FALSE(ResultRowSeats(-1, seats));
    EXPECT_FALSE(ResultRowSeats(6, seats));
}

tagGAMEOVERMSG SampleRecord() {
    tagGAMEOVERMSG record{};
    for (int seat = 0; seat < kSeatCount; ++seat) {
        snprintf(record.users[seat].szUserName, sizeof record.users[seat].szUserName, "user%d",
                 seat);
        snprintf(record.users[seat].szNickName, sizeof record.users[seat].szNickName, "玩家%d",
                 seat);
        record.change.nScoreChange[seat] = (seat - 2) * 4000;
        record.change.nBeanChange[seat] = (2 - seat) * 12345;
    }
    return record;
}

TEST(ResultPaneTest, NamesFallBackToTheUserNameAndAreReadBounded) {
    tagGAMEOVERMSG record = SampleRecord();
    strcpy(record.users[1].szNickName, " ");
    record.users[2].szNickName[0] = '\0';
    // Twenty bytes without a terminator, followed by more text.
    memset(record.users[3].szNickName, 'n', sizeof record.users[3].szNickName);
    CResultPaneImage pane(1009);
    const int places[kSeatCount] = {0, 1, 2, 3, 4, 5};
    pane.SetResult(&record, places);
    EXPECT_EQ(pane.RowName(0), "玩家0");
    EXPECT_EQ(pane.RowName(1), "user1");
    EXPECT_EQ(pane.RowName(2), "user2");
    EXPECT_EQ(pane.RowName(3), std::string(20, 'n'));
    EXPECT_EQ(pane.RowName(6), "");
    // The pane keeps its own copy.
    strcpy(record.users[0].szNickName, "changed");
    EXPECT_EQ(pane.RowName(0), "玩家0");
}

TEST(ResultPaneTest, PlaceWordsComeOnlyFromValidPlaceSeats) {
    const tagGAMEOVERMSG record = SampleRecord();
    CResultPaneImage pane(1009);
    const int places[kSeatCount] = {4, 2, 0, 5, 1, 3};
    pane.SetResult(&record, places);
    for (int place = 0; place < kSeatCount; ++place)
        EXPECT_STREQ(pane.GetPlaceWord(places[place]), kPlaceWords[place]);
    EXPECT_STREQ(kPlaceWords[0], "头科");
    EXPECT_STREQ(kPlaceWords[5], "大落");
    // A game that ended without all places shows none of the last game's.
    const int partial[kSeatCount] = {1, 0, -1, -1, 7, -1};
    pane.SetResult(&record, partial);
    EXPECT_STREQ(pane.GetPlaceWord(1), "头科");
    EXPECT_STREQ(pane.GetPlaceWord(0), "二科");
    for (int seat : {2, 3, 4, 5})
        EXPECT_STREQ(pane.GetPlaceWord(seat), "") << seat;
}

// Every pixel of the text's colour lies inside one of the row cells.
void ExpectTextInCells(const GdiCanvas& canvas, int x0, int y0,
                       const std::vector<std::pair<int, int>>& columns, int& inked) {
    inked = 0;
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x) {
            if (!Near(canvas.At(x, y), kTextInk, 40))
                continue;
            bool inside = false;
            for (int row = 0; row < kSeatCount; ++row)
                for (const auto& column : columns) {
                    const RECT box = CResultPaneImage::RowBox(row, column.first, column.second);
                    inside |= x >= x0 + box.left && x < x0 + box.right && y >= y0 + box.top &&
                              y < y0 + box.bottom;
                }
            ASSERT_TRUE(inside) << "text ink at " << x - x0 << "," << y - y0;
            ++inked;
        }
}

TEST(ResultPaneTest, DefaultThemePaneWritesEveryRowInsideItsCells) {
    platform::PixelImage background;
    ASSERT_TRUE(platform::LoadBmpFile(kAssets + "theme_bmp/Default/pane_result.bmp", background));
    CResultPaneImage pane(1009);
    ASSERT_TRUE(pane.LoadResultPane(kLayoutFile.c_str(), "PANE_RESULT"));
    EXPECT_EQ(pane.m_cx, background.width / 2);
    EXPECT_EQ(pane.m_cy, background.height);
    tagGAMEOVERMSG record = SampleRecord();
    strcpy(record.users[4].szNickName, "一个名字很长很长很长的玩家");
    const int places[kSeatCount] = {3, 0, 5, 1, 2, 4};
    pane.SetResult(&record, places);
    pane.SetMySeat(2);
    GdiCanvas canvas(pane.m_cx + 20, pane.m_cy + 20);
    canvas.Fill(kFelt);
    DrawWhole(pane, canvas, 10, 10);
    int inked = 0;
    ExpectTextInCells(canvas, 10, 10, {{43, 147}, {160, 233}, {247, 320}, {330, 434}}, inked);
    EXPECT_GT(inked, 500);
    // Each row has its name, place word and two scores: ink in each cell.
    for (int row = 0; row < kSeatCount; ++row)
        for (const auto& column : {std::pair{43, 147}, {160, 233}, {247, 320}, {330, 434}}) {
            const RECT box = CResultPaneImage::RowBox(row, column.first, column.second);
            int cellInk = 0;
            for (int y = box.top; y < box.bottom; ++y)
                for (int x = box.left; x < box.right; ++x)
                    cellInk += Near(canvas.At(10 + x, 10 + y), kTextInk, 40);
            EXPECT_GT(cellInk, 5) << "row " << row << " x " << column.first;
        }
    SaveSheet("pane_result.png", CanvasImage(canvas));

    // Without the player's seat known the pane shows its background only.
    CResultPaneImage unseated(1009);
    ASSERT_TRUE(unseated.LoadResultPane(kLayoutFile.c_str(), "PANE_RESULT"));
    unseated.SetResult(&record, places);
    canvas.Fill(kFelt);
    DrawWhole(unseated, canvas, 10, 10);
    ExpectTextInCells(canvas, 10, 10, {}, inked);
    EXPECT_EQ(inked, 0);
}

TEST(ResultPaneTest, CoinPaneHasNoBeanColumn) {
    CResultCoinPaneImage pane(1015);
    ASSERT_TRUE(pane.LoadResultCoinPane(kLayoutFile.c_str(), "PANE_RESULT"));
    const tagGAMEOVERMSG record = SampleRecord();
    const int places[kSeatCount] = {0, 1, 2, 3, 4, 5};
    pane.SetResult(&record, places);
    pane.SetMySeat(0);
    GdiCanvas canvas(pane.m_cx, pane.m_cy);
    canvas.Fill(kFelt);
    DrawWhole(pane, canvas, 0, 0);
    int inked = 0;
    ExpectTextInCells(canvas, 0, 0, {{43, 147}, {200, 273}, {330, 434}}, inked);
    EXPECT_GT(inked, 300);
    SaveSheet("pane_result_coin.png", CanvasImage(canvas));
}

} // namespace
