// The table's panes on a live window: the start pane's button and chips,
// the result pane, the countdown and the per-seat panes.

#include "TableWindowKit.h"
#include "table/panes/CellPaneImages.h"
#include "table/panes/ResultPaneImage.h"

namespace table_test {
namespace {

const int kChips[5] = {401, 402, 404, 408, 416};

class TablePanesTest : public TableInputTest {
protected:
    CSpriteButtonEx* Button(int id) { return dynamic_cast<CSpriteButtonEx*>(wnd->FindItem(id)); }
    SPRITEINFO* Sprite(int id) {
        POSITION pos = wnd->FindSpritePos(id);
        return pos ? wnd->GetSpriteAt(pos) : nullptr;
    }
    bool Shown(int id) {
        const SPRITEINFO* s = Sprite(id);
        return s != nullptr && s->nChannel >= 0;
    }
    template <class T> T* ImageOf(int spriteId) {
        const SPRITEINFO* s = Sprite(spriteId);
        return s ? dynamic_cast<T*>(wnd->GetImageList().GetAt(s->posImage)) : nullptr;
    }
};

TEST_F(TablePanesTest, TheStartPaneShowsOneButtonAndOneSetOfChipsHoweverOftenShown) {
    theBoard.GetTableHead().nMaxMultiple = 4;
    wnd->ShowStartPane(TRUE, 1);
    CSpriteButtonEx* const start = Button(200);
    CSpriteButtonEx* const chip = Button(404);
    wnd->ShowStartPane(TRUE, 1);
    EXPECT_TRUE(Shown(500));
    EXPECT_TRUE(wnd->Panes().IsStartButtonUp());
    ASSERT_NE(start, nullptr);
    EXPECT_EQ(Button(200), start) << "the listed button is used again";
    EXPECT_EQ(Button(404), chip);
    EXPECT_TRUE(Button(200)->IsEnabled());
    for (int id : kChips) {
        ASSERT_NE(Button(id), nullptr) << id;
        EXPECT_EQ(Button(id)->IsEnabled(), id - 400 <= 4) << id;
        EXPECT_EQ(Button(id)->IsDown(), id == 401) << "the current multiple's chip";
    }
    wnd->ShowStartPane(FALSE, 0);
    EXPECT_FALSE(wnd->Panes().IsStartButtonUp());
    EXPECT_EQ(Sprite(500), nullptr);
    EXPECT_EQ(wnd->FindItem(200), nullptr);
    for (int id : kChips)
        EXPECT_EQ(wnd->FindItem(id), nullptr) << id;
}

TEST_F(TablePanesTest, AWatcherSeesTheStartPaneDisabledAndNothingChecked) {
    client.m_bWatcher = TRUE;
    wnd->UpdateViewpoint();
    wnd->ShowStartPane(TRUE, 1);
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
    wnd->ShowStartPane(TRUE, 1);
    EXPECT_NE(Button(200), nullptr);
    for (int id : kChips)
        EXPECT_EQ(wnd->FindItem(id), nullptr) << id;
    wnd->Panes().ShowMultiplePane(3, 4, TRUE);
    for (int view = 0; view < kSeatCount; ++view)
        EXPECT_EQ(Sprite(517 + view), nullptr) << view;

    // The coin result and the remnant pane of view 1 are different panes.
    wnd->Panes().ShowRemnantPane(3, 7); // seat 3 is view 1 for seat 2
    tagGAMEOVERMSG over{};
    wnd->Panes().ShowResultPane(over);
    ASSERT_NE(ImageOf<CResultCoinPaneImage>(501), nullptr);
    ASSERT_NE(ImageOf<CRemnantPaneImage>(503 + 1), nullptr);
    EXPECT_EQ(ImageOf<CRemnantPaneImage>(503 + 1)->m_nValue, 7);
}

TEST_F(TablePanesTest, TheCountdownHidesAtZeroAndComesBackInItsPlace) {
    wnd->ShowStartPane(TRUE, 1);
    const SPRITEINFO* start = Sprite(500);
    ASSERT_NE(start, nullptr);
    wnd->Panes().ShowCountdownPane(12, 4);
    ASSERT_TRUE(Shown(515));
    const POINT first{Sprite(515)->x, Sprite(515)->y};
    EXPECT_EQ(first.x, start->x + 122);
    EXPECT_EQ(first.y, start->y + 22);
    EXPECT_EQ(ImageOf<CCountdownPaneImage>(515)->m_nValue, 12);
    wnd->Panes().ShowCountdownPane(0, 4);
    EXPECT_FALSE(Shown(515));
    wnd->Panes().ShowCountdownPane(5, 4);
    ASSERT_TRUE(Shown(515));
    EXPECT_EQ(Sprite(515)->x, first.x);
    EXPECT_EQ(Sprite(515)->y, first.y);
}

TEST_F(TablePanesTest, TheResultPaneIsMadeOnceAndTheCountdownOnlyRunsWhenSet) {
    tagGAMEOVERMSG over{};
    over.nResult[kMe] = 2;
    theBoard.GetTableHead().nTimeLimit[0] = 0;
    wnd->Panes().ShowResultPane(over);
    auto* first = ImageOf<CResultPaneImage>(501);
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(Shown(501));
    EXPECT_FALSE(Shown(515)) << "no countdown without a time";
    EXPECT_NE(Button(201), nullptr);

    theBoard.GetTableHead().nTimeLimit[0] = 15;
    over.nResult[kMe] = 1;
    CSpriteButtonEx* const again = Button(201);
    wnd->Panes().ShowResultPane(over);
    EXPECT_EQ(ImageOf<CResultPaneImage>(501), first) << "the pane is reused";
    EXPECT_EQ(Button(201), again);
    ASSERT_TRUE(Shown(515));
    const SPRITEINFO* result = Sprite(501);
    EXPECT_EQ(Sprite(515)->x, result->x + 33);
    EXPECT_EQ(Sprite(515)->y, result->y + 288);

    wnd->Panes().ResetPanes();
    EXPECT_FALSE(Shown(501));
    EXPECT_FALSE(Shown(515));
    wnd->Panes().ClearAllPanes();
    EXPECT_EQ(Sprite(501), nullptr);
    EXPECT_EQ(wnd->FindItem(201), nullptr);
}

TEST_F(TablePanesTest, MultiplePanesShowLevelsAndIgnoreOtherValues) {
    wnd->Panes().ShowMultiplePane(kMe, 16, TRUE);
    ASSERT_TRUE(Shown(517));
    EXPECT_EQ(ImageOf<CRemnantPaneImage>(517)->m_nValue, 5);
    wnd->Panes().ShowMultiplePane(kMe, 3, TRUE);
    EXPECT_EQ(ImageOf<CRemnantPaneImage>(517)->m_nValue, 5) << "3 is no multiple";
    wnd->Panes().ShowMultiplePane(kMe, 0, TRUE);
    EXPECT_FALSE(Shown(517));
    wnd->Panes().ShowRemnantPane(kMe, 3);
    ASSERT_TRUE(Shown(503));
    wnd->Panes().ShowRemnantPane(kMe, 0);
    EXPECT_FALSE(Shown(503));
    wnd->Panes().ShowGousjPane(kMe + 1, 2);
    wnd->Panes().ShowRemnantPane(9, 3); // no such seat
    wnd->Panes().ShowGousjPane(-1, 2);
    int gousji = 0;
    for (int view = 0; view < kSeatCount; ++view)
        gousji += Shown(509 + view);
    EXPECT_EQ(gousji, 1);
}

TEST_F(TablePanesTest, StartButtonsFollowTheEnableFlagWithinTheLargestMultiple) {
    theBoard.GetTableHead().nMaxMultiple = 2;
    tagGAMEOVERMSG over{};
    wnd->Panes().ShowResultPane(over);
    wnd->ShowStartButtons(FALSE);
    EXPECT_FALSE(Button(201)->IsEnabled());
    for (int id : kChips)
        EXPECT_FALSE(Button(id)->IsEnabled()) << id;
    wnd->ShowStartButtons(TRUE);
    EXPECT_TRUE(Button(201)->IsEnabled());
    for (int id : kChips)
        EXPECT_EQ(Button(id)->IsEnabled(), id - 400 <= 2) << id;
    EXPECT_TRUE(Button(401)->IsDown());
}

} // namespace
} // namespace table_test
