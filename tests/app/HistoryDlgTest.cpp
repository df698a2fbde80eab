// The score history driven by its buttons: pages at the first, the last and
// past the ends, a list cleared while the dialog is shown, the bean-less
// face, and the rows drawn from my seat round.

#include "app/HistoryDlg.h"
#include "assets/resource.h"
#include "game/GameLogic.h"
#include "tests/app/DialogKit.h"

#include <cstring>

using namespace app_test;

namespace {

constexpr int kMySeat = 4;
constexpr uint32_t kOwnRow = 0xE0FD02, kOtherRow = 0x94FEFF;

class HistoryDlgTest : public AppDialogTest {
protected:
    void SetUp() override {
        AppDialogTest::SetUp();
        savedFlags = theBoard.GetRuleFlags();
        for (int seat = 0; seat < 6; ++seat) {
            saved[seat] = theBoard.GetUserInfo(seat);
            tagUSERINFO user = saved[seat];
            snprintf(user.szUserName, sizeof user.szUserName, "user%d", seat);
            snprintf(user.szNickName, sizeof user.szNickName, "玩家%d", seat);
            theBoard.SetUserInfo(seat, user);
        }
        theBoard.SetRuleFlags(0);
    }
    void TearDown() override {
        if (dlg && dlg->GetSafeHwnd())
            dlg->DestroyWindow();
        dlg.reset();
        for (int seat = 0; seat < 6; ++seat)
            theBoard.SetUserInfo(seat, saved[seat]);
        theBoard.SetRuleFlags(savedFlags);
        AppDialogTest::TearDown();
    }
    void AddGames(int count) {
        for (int i = 0; i < count; ++i) {
            tagHISTORYENTRY entry{};
            const int n = int(history.size()) + 1;
            for (int seat = 0; seat < 6; ++seat) {
                entry.nScoreChange[seat] = (seat % 2 ? -1 : 1) * n * 10;
                entry.nBeanChange[seat] = (seat % 2 ? -1 : 1) * n * 12345;
            }
            history.push_back(entry);
        }
    }
    void Open() {
        dlg = std::make_unique<CHistoryDlg>(
            nullptr, [this]() -> const std::vector<tagHISTORYENTRY>& { return history; }, kMySeat);
        ASSERT_TRUE(dlg->Create());
        dlg->ShowWindow(SW_SHOW);
        dlg->m_bShown = TRUE;
        PumpPending();
    }
    int Drawn(RECT area, uint32_t colour) {
        PumpPending();
        return CountColour(*dlg, area, colour);
    }
    // A game column's header cell.
    static RECT Header(int column) { return RECT{141 + 90 * column, 62, 215 + 90 * column, 85}; }

    std::vector<tagHISTORYENTRY> history;
    std::unique_ptr<CHistoryDlg> dlg;
    tagUSERINFO saved[6]{};
    uint32_t savedFlags = 0;
};

TEST_F(HistoryDlgTest, SevenGamesArePagedByThreesFromTheNewest) {
    AddGames(7);
    Open();
    EXPECT_EQ(dlg->m_nCount, 7);
    EXPECT_EQ(dlg->m_nLast, 7);
    EXPECT_GT(Drawn(Header(2), kOwnRow), 10) << "a full page has three columns";
    Save(*dlg, "history_last_page.png");

    const int expected[] = {4, 3, 3};
    for (int last : expected) {
        ClickItem(*dlg, IDC_HISTORY_UP);
        EXPECT_EQ(dlg->m_nLast, last);
    }
    Save(*dlg, "history_first_page.png");
    ClickItem(*dlg, IDC_HISTORY_DOWN);
    EXPECT_EQ(dlg->m_nLast, 6);
    ClickItem(*dlg, IDC_HISTORY_DOWN);
    EXPECT_EQ(dlg->m_nLast, 7);
    ClickItem(*dlg, IDC_HISTORY_DOWN);
    EXPECT_EQ(dlg->m_nLast, 7) << "no page after the newest";
}

TEST_F(HistoryDlgTest, GamesThatEndWhileShownAppearAtTheNextOpening) {
    AddGames(2);
    Open();
    EXPECT_EQ(Drawn(Header(2), kOwnRow), 0) << "two games, two columns";
    AddGames(2);
    ClickItem(*dlg, IDC_HISTORY_DOWN);
    EXPECT_EQ(dlg->m_nLast, 2);
    dlg->GoToLast();
    dlg->Redraw();
    dlg->Invalidate();
    EXPECT_EQ(dlg->m_nLast, 4);
    EXPECT_GT(Drawn(Header(2), kOwnRow), 10);
}

TEST_F(HistoryDlgTest, WithNoGamesOnlyNamesTotalsAndTheHotKeyShow) {
    Open();
    EXPECT_EQ(dlg->m_nLast, 0);
    for (int column = 0; column < 3; ++column)
        EXPECT_EQ(Drawn(Header(column), kOwnRow), 0) << column;
    EXPECT_GT(Drawn(RECT{43, 125, 130, 145}, kOwnRow), 10) << "my name in the first row";
    EXPECT_GT(Drawn(RECT{43, 157, 130, 177}, kOtherRow), 10) << "the next seat below";
    EXPECT_GT(Drawn(RECT{451, 119, 493, 145}, kOwnRow), 3) << "my score total +0";
    EXPECT_GT(Drawn(RECT{70, 320, 130, 350}, kOtherRow), 10) << "Ctrl+W";
    ClickItem(*dlg, IDC_HISTORY_UP);
    ClickItem(*dlg, IDC_HISTORY_DOWN);
    EXPECT_EQ(dlg->m_nLast, 0);
    Save(*dlg, "history_empty.png");
}

TEST_F(HistoryDlgTest, AListClearedWhileShownIsNeverReadPastItsEnd) {
    AddGames(7);
    Open();
    history.clear();
    ClickItem(*dlg, IDC_HISTORY_UP);
    EXPECT_EQ(dlg->m_nCount, 0);
    EXPECT_EQ(dlg->m_nLast, 0);
    AddGames(2);                      // refilled smaller
    dlg->m_nCount = dlg->m_nLast = 7; // as opened before the refill
    ClickItem(*dlg, IDC_HISTORY_UP);
    EXPECT_EQ(dlg->m_nCount, 2);
    EXPECT_EQ(dlg->m_nLast, 2);
}

TEST_F(HistoryDlgTest, ASpaceForANicknameShowsTheUserName) {
    tagUSERINFO user = theBoard.GetUserInfo(kMySeat);
    strcpy(user.szNickName, " ");
    memset(user.szUserName, 'w', sizeof user.szUserName); // unterminated
    theBoard.SetUserInfo(kMySeat, user);
    AddGames(1);
    Open();
    EXPECT_GT(Drawn(RECT{43, 125, 130, 145}, kOwnRow), 10);
    Save(*dlg, "history_user_name.png");
}

TEST_F(HistoryDlgTest, ATableWithoutBeansShowsScoresOnItsOwnFace) {
    theBoard.SetRuleFlags(CHistoryDlg::kNoBeansRule);
    AddGames(3);
    Open();
    // Score cells only, shifted: the bean column's place stays empty.
    EXPECT_GT(Drawn(RECT{164, 119, 199, 145}, kOwnRow), 3);
    EXPECT_EQ(Drawn(RECT{130, 119, 160, 145}, kOwnRow), 0);
    Save(*dlg, "history_no_beans.png");
}

TEST_F(HistoryDlgTest, BothCloseButtonsHideAndClearTheShownFlag) {
    Open();
    for (int id : {IDC_HISTORY_CLOSE, IDC_HISTORY_MID_CLOSE}) {
        dlg->ShowWindow(SW_SHOW);
        dlg->m_bShown = TRUE;
        PumpPending();
        ClickItem(*dlg, id);
        EXPECT_FALSE(dlg->IsWindowVisible()) << id;
        EXPECT_FALSE(dlg->m_bShown) << id;
    }
}

} // namespace
