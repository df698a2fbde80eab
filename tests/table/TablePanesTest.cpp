// The table's panes: the start pane's button and chips, the result pane,
// the countdown, the per-seat panes and the reel's lines.

#include "TablePanesKit.h"
#include "table/panes/CellPaneImages.h"
#include "table/panes/ReelPaneImage.h"
#include "table/panes/ResultPaneImage.h"

namespace table_test {
namespace {

const int kChips[5] = {401, 402, 404, 408, 416};

class TablePanesTest : public TablePanesKitTest {
protected:
    void SetUp() override {
        TablePanesKitTest::SetUp();
        theBoard.SetRuleFlags(kRuleCardsInClear);
        theBoard.GetTableHead().nMaxMultiple = 16;
    }
    template <class T> T* ImageOf(int spriteId) { return SpriteImageOf<T>(wnd, spriteId); }
};

TEST_F(TablePanesTest, TheStartPaneShowsOneButtonAndOneSetOfChipsHoweverOftenShown) {
    theBoard.GetTableHead().nMaxMultiple = 4;
    panes.ShowStartPane(TRUE, 1);
    CSpriteButtonEx* const start = Button(200);
    CSpriteButtonEx* const chip = Button(404);
    panes.ShowStartPane(TRUE, 1);
    EXPECT_TRUE(Shown(500));
    ASSERT_NE(start, nullptr);
    EXPECT_EQ(Button(200), start) << "the listed button is used again";
    EXPECT_EQ(Button(404), chip);
    EXPECT_TRUE(Button(200)->IsVisible());
    EXPECT_TRUE(Button(200)->IsEnabled());
    for (int id : kChips) {
        ASSERT_NE(Button(id), nullptr) << id;
        EXPECT_EQ(Button(id)->IsEnabled(), id - 400 <= 4) << id;
        EXPECT_EQ(Button(id)->IsDown(), id == 401) << "the current multiple's chip";
    }
    panes.ShowStartPane(FALSE, 0);
    EXPECT_EQ(Sprite(500), nullptr);
    EXPECT_EQ(wnd.FindItem(200), nullptr);
    for (int id : kChips)
        EXPECT_EQ(wnd.FindItem(id), nullptr) << id;
}

TEST_F(TablePanesTest, AWatcherSeesTheStartPaneDisabledAndNothingChecked) {
    fields.viewpoint.bWatcher = TRUE;
    panes.ShowStartPane(TRUE, 1);
    ASSERT_NE(Button(200), nullptr);
    EXPECT_FALSE(Button(200)->IsEnabled());
    for (int id : kChips) {
        ASSERT_NE(Button(id), nullptr) << id;
        EXPECT_FALSE(Button(id)->IsEnabled()) << id;
        EXPECT_FALSE(Button(id)->IsDown()) << id;
    }
}

TEST_F(TablePanesTest, ACoinRoomHasNoChipsNoMultiplesAndItsOwnResultImage) {
    theBoard.SetRuleFlags(kRuleCardsInClear | kRuleRoomMode);
    panes.ShowStartPane(TRUE, 1);
    EXPECT_NE(Button(200), nullptr);
    for (int id : kChips)
        EXPECT_EQ(wnd.FindItem(id), nullptr) << id;
    panes.ShowMultiplePane(3, 4, TRUE);
    for (int view = 0; view < kSeatCount; ++view)
        EXPECT_EQ(Sprite(517 + view), nullptr) << view;

    // The coin result and the remnant pane of view 1 are different panes.
    panes.ShowRemnantPane(3, 7); // seat 3 is view 1 for seat 2
    tagGAMEOVERMSG over{};
    panes.ShowResultPane(over);
    ASSERT_NE(ImageOf<CResultCoinPaneImage>(501), nullptr);
    ASSERT_NE(ImageOf<CRemnantPaneImage>(503 + 1), nullptr);
    EXPECT_EQ(ImageOf<CRemnantPaneImage>(503 + 1)->m_nValue, 7);
}

TEST_F(TablePanesTest, TheCountdownHidesAtZeroAndComesBackInItsPlace) {
    panes.ShowStartPane(TRUE, 1);
    const SPRITEINFO* start = Sprite(500);
    ASSERT_NE(start, nullptr);
    panes.ShowCountdownPane(12, 4);
    ASSERT_TRUE(Shown(515));
    const POINT first{Sprite(515)->x, Sprite(515)->y};
    EXPECT_EQ(first.x, start->x + 122);
    EXPECT_EQ(first.y, start->y + 22);
    EXPECT_EQ(ImageOf<CCountdownPaneImage>(515)->m_nValue, 12);
    panes.ShowCountdownPane(0, 4);
    EXPECT_FALSE(Shown(515));
    panes.ShowCountdownPane(5, 4);
    ASSERT_TRUE(Shown(515));
    EXPECT_EQ(Sprite(515)->x, first.x);
    EXPECT_EQ(Sprite(515)->y, first.y);
}

TEST_F(TablePanesTest, TheResultPaneIsMadeOnceAndTheCountdownOnlyRunsWhenSet) {
    tagGAMEOVERMSG over{};
    over.nResult[kMe] = 2;
    theBoard.GetTableHead().nTimeLimit[0] = 0;
    panes.ShowResultPane(over);
    auto* first = ImageOf<CResultPaneImage>(501);
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(Shown(501));
    EXPECT_FALSE(Shown(515)) << "no countdown without a time";
    EXPECT_NE(Button(201), nullptr);

    theBoard.GetTableHead().nTimeLimit[0] = 15;
    over.nResult[kMe] = 1;
    CSpriteButtonEx* const again = Button(201);
    panes.ShowResultPane(over);
    EXPECT_EQ(ImageOf<CResultPaneImage>(501), first) << "the pane is reused";
    EXPECT_EQ(Button(201), again);
    ASSERT_TRUE(Shown(515));
    const SPRITEINFO* result = Sprite(501);
    EXPECT_EQ(Sprite(515)->x, result->x + 33);
    EXPECT_EQ(Sprite(515)->y, result->y + 288);

    panes.ResetPanes();
    EXPECT_FALSE(Shown(501));
    EXPECT_FALSE(Shown(515));
    panes.ClearAllPanes();
    EXPECT_EQ(Sprite(501), nullptr);
    EXPECT_EQ(wnd.FindItem(201), nullptr);
}

TEST_F(TablePanesTest, MultiplePanesShowLevelsAndIgnoreOtherValues) {
    panes.ShowMultiplePane(kMe, 16, TRUE);
    ASSERT_TRUE(Shown(517));
    EXPECT_EQ(ImageOf<CRemnantPaneImage>(517)->m_nValue, 5);
    panes.ShowMultiplePane(kMe, 3, TRUE);
    EXPECT_EQ(ImageOf<CRemnantPaneImage>(517)->m_nValue, 5) << "3 is no multiple";
    panes.ShowMultiplePane(kMe, 0, TRUE);
    EXPECT_FALSE(Shown(517));
    panes.ShowRemnantPane(kMe, 3);
    ASSERT_TRUE(Shown(503));
    panes.ShowRemnantPane(kMe, 0);
    EXPECT_FALSE(Shown(503));
    panes.ShowGousjPane(kMe + 1, 2);
    panes.ShowRemnantPane(9, 3); // no such seat
    panes.ShowGousjPane(-1, 2);
    int gousji = 0;
    for (int view = 0; view < kSeatCount; ++view)
        gousji += Shown(509 + view);
    EXPECT_EQ(gousji, 1);
}

TEST_F(TablePanesTest, StartButtonsFollowTheEnableFlagWithinTheLargestMultiple) {
    theBoard.GetTableHead().nMaxMultiple = 2;
    tagGAMEOVERMSG over{};
    panes.ShowResultPane(over);
    panes.ShowStartButtons(FALSE);
    EXPECT_FALSE(Button(201)->IsEnabled());
    for (int id : kChips)
        EXPECT_FALSE(Button(id)->IsEnabled()) << id;
    panes.ShowStartButtons(TRUE);
    EXPECT_TRUE(Button(201)->IsEnabled());
    for (int id : kChips)
        EXPECT_EQ(Button(id)->IsEnabled(), id - 400 <= 2) << id;
    EXPECT_TRUE(Button(401)->IsDown());
}

TEST_F(TablePanesTest, TheReelShowsItsLinesUntilItIsCleared) {
    // The reel the test expects, drawn from the lines given.
    const auto reelOf = [](std::initializer_list<const char*> lines) {
        auto reel = std::make_unique<CReelPaneImage>(1010);
        EXPECT_TRUE(reel->LoadReelPane(kLayoutFile.c_str(), "PANE_REEL"));
        for (const char* line : lines)
            reel->AddReelLine(line);
        return reel;
    };
    panes.AddReelLine("第一行", FALSE);
    panes.AddReelLine(nullptr, FALSE);
    panes.ShowReelPane(TRUE);
    ASSERT_NE(ImageOf<CReelPaneImage>(502), nullptr);
    EXPECT_EQ(PixelsApart(*ImageOf<CReelPaneImage>(502), *reelOf({"第一行", ""})), 0);
    panes.AddReelLine("ignored", TRUE);
    panes.ShowReelPane(TRUE);
    EXPECT_EQ(PixelsApart(*ImageOf<CReelPaneImage>(502), *reelOf({"暂无记录"})), 0)
        << "an empty reel says so";
}

} // namespace
} // namespace table_test
