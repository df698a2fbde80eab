// Which action buttons the table shows, and which may be pressed, for every
// game state and action mask, for a player, a watcher, a trusted seat and a
// seat that is out.

#include "RecordsForWindowAndView.h"
#include "TableDealKit.h"
#include "TableWindowKit.h"

namespace table_test {
namespace {

// One row: a state, a mask, the cards raised, and what must show.
struct ButtonCase {
    int state;
    int mask;
    int raised;
    std::vector<int> enabled;  // shown and enabled
    std::vector<int> disabled; // shown, not enabled
};

const ButtonCase kCases[] = {
    {0, 0xFF, 0, {}, {}},
    {1, 0x200, 0, {kBtnDeclPoint, kBtnDeclNoPoint}, {}},
    {2, 0x200, 0, {kBtnDeclPointOpen, kBtnDeclNoPoint}, {}},
    {3, 0xFF, 1, {}, {}},
    {4, 0x40, 0, {}, {kBtnReturnTribute}},
    {4, 0x40, 2, {kBtnReturnTribute}, {}},
    {4, 0x40, 1, {}, {kBtnReturnTribute}},
    {4, 0x20, 2, {}, {}},
    {5, 0xFF, 0, {}, {}},
    {6, 0x80, 0, {kBtnRevolution, kBtnNoRevolution}, {}},
    {7, 0x100, 0, {kBtnGousiji, kBtnNoGousiji}, {}},
    {8, 16, 0, {kBtnSearch}, {kBtnTakeOut, kBtnRangpai, kBtnPass}},
    {8, 16, 1, {kBtnSearch, kBtnTakeOut}, {kBtnRangpai, kBtnPass}},
    {8, 1 | 2, 0, {kBtnSearch, kBtnRangpai, kBtnPass}, {}},
    {8, 4 | 8, 0, {kBtnSearch, kBtnGaveUp}, {kBtnShaoPai, kBtnRangpai, kBtnPass}},
    {8, 4 | 8 | 16, 3, {kBtnSearch, kBtnGaveUp, kBtnShaoPai, kBtnTakeOut}, {kBtnRangpai, kBtnPass}},
    {9, 0xFF, 1, {}, {}},
};

class GameWndButtonsTest : public WithDeal<TableWindowTest> {
protected:
    void Raise(int n) {
        wnd->Hands().ClearSelection();
        wnd->Hands().ClearHand();
        for (int i = 0; i < 5; ++i)
            wnd->Hands().DisplayCard(i * 6);
        int k = 0;
        for (HANDENTRY& e : wnd->Hands().GetHand())
            if (k++ < n)
                wnd->Hands().SelectHandCard(e.pos, TRUE);
        ASSERT_EQ(wnd->Hands().CountSelected(), n);
    }
    // Every action button shown and enabled exactly as the row says.
    void Expect(const ButtonCase& c, bool nothing, const char* who) {
        for (int b : kActionButtons) {
            const bool on = !nothing && std::count(c.enabled.begin(), c.enabled.end(), b) != 0;
            const bool off = !nothing && std::count(c.disabled.begin(), c.disabled.end(), b) != 0;
            EXPECT_EQ(wnd->Button(b).IsVisible() != FALSE, on || off)
                << who << " state " << c.state << " mask " << c.mask << " raised " << c.raised
                << " button " << b;
            EXPECT_EQ(wnd->Button(b).IsEnabled() != FALSE, on)
                << who << " state " << c.state << " mask " << c.mask << " raised " << c.raised
                << " button " << b;
        }
    }
    void RunTable(const char* who, bool nothing) {
        for (const ButtonCase& c : kCases) {
            Raise(c.raised);
            wnd->UpdateActionButtons(c.state, c.mask, TRUE);
            Expect(c, nothing, who);
        }
    }
    // The referee's word that my seat owes a return of two cards.
    void PendingReturnOfTwoByMe() { Deliver(*ReturnDue(1, 3, 0, 2)); }
};

TEST_F(GameWndButtonsTest, APlayerSeesTheButtonsOfTheStateAndMask) {
    ASSERT_TRUE(CreateTable());
    PendingReturnOfTwoByMe();
    RunTable("player", false);
}

TEST_F(GameWndButtonsTest, AWatcherNeverSeesActionButtons) {
    client.m_bWatcher = TRUE;
    ASSERT_TRUE(CreateTable());
    PendingReturnOfTwoByMe();
    RunTable("watcher", true);
}

TEST_F(GameWndButtonsTest, ATrustedSeatSeesNone) {
    ASSERT_TRUE(CreateTable());
    PendingReturnOfTwoByMe();
    theBoard.SetTrustWord(0, kTrustOwn);
    RunTable("trusted", true);
}

TEST_F(GameWndButtonsTest, ASeatThatIsOutSeesNone) {
    ASSERT_TRUE(CreateTable());
    PendingReturnOfTwoByMe();
    theBoard.SetSeatStatus(0, kStatusOutOfPlay, 0);
    RunTable("out", true);
}

TEST_F(GameWndButtonsTest, NothingShowsWhileInputWaitsOrWhenOnlyHiding) {
    ASSERT_TRUE(CreateDealingTable());
    Raise(1);
    wnd->UpdateActionButtons(8, 0xFF, TRUE);
    ASSERT_TRUE(wnd->Button(kBtnTakeOut).IsVisible());
    wnd->UpdateActionButtons(8, 0xFF, FALSE);
    Expect(kCases[0], true, "hiding");
    ASSERT_TRUE(StartDealRecord());
    wnd->UpdateActionButtons(8, 0xFF, TRUE);
    Expect(kCases[0], true, "dealing");
    ASSERT_TRUE(RunDealOut());
    wnd->UpdateActionButtons(8, 0, TRUE);
    Expect(kCases[0], true, "no mask");
}

TEST_F(GameWndButtonsTest, AReturnOwedByAnotherSeatIsNotMine) {
    ASSERT_TRUE(CreateTable());
    Deliver(*ReturnDue(1, 0, 4, 2)); // seat 4 owes it
    Raise(2);
    wnd->UpdateActionButtons(4, 0x40, TRUE);
    EXPECT_TRUE(wnd->Button(kBtnReturnTribute).IsVisible());
    EXPECT_FALSE(wnd->Button(kBtnReturnTribute).IsEnabled());
}

} // namespace
} // namespace table_test
