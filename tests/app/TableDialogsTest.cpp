// The table's dialogs kept by the application: each made once and shown or
// hidden with its flag, a coin dialog replaced by the next request, the
// voluntary and compulsory exchange, the charge offer's figures, and the
// betting dialog's figures set from the table.

#include "app/TableDialogs.h"
#include "app/ChargeCoinDlg.h"
#include "app/ExchangeCoinDlg.h"
#include "app/HistoryDlg.h"
#include "app/MagnifierWnd.h"
#include "app/TakeChanceDlg.h"
#include "assets/resource.h"
#include "tests/app/DialogKit.h"

using namespace app_test;

namespace {

class TableDialogsTest : public AppDialogTest {
protected:
    void SetUp() override {
        AppDialogTest::SetUp();
        ASSERT_TRUE(table.Top(RECT{0, 0, 800, 600}));
    }
    void TearDown() override {
        dialogs.DestroyAll();
        table.DestroyWindow();
        AppDialogTest::TearDown();
    }
    SolidWnd table;
    CTableDialogs dialogs;
};

TEST_F(TableDialogsTest, TheHistoryIsMadeOnceAndToggledWithItsFlag) {
    EXPECT_FALSE(dialogs.HasHistoryDialog());
    dialogs.ShowHistoryDialog(TRUE); // nothing to show yet
    EXPECT_FALSE(dialogs.IsHistoryShown());
    ASSERT_TRUE(dialogs.CreateHistoryDialog(&table));
    EXPECT_TRUE(dialogs.HasHistoryDialog());
    dialogs.ShowHistoryDialog(TRUE);
    PumpPending();
    EXPECT_TRUE(dialogs.IsHistoryShown());
    EXPECT_TRUE(dialogs.GetHistory()->IsWindowVisible());
    ClickItem(*dialogs.GetHistory(), IDC_HISTORY_CLOSE);
    EXPECT_FALSE(dialogs.IsHistoryShown()) << "its own close clears the flag the table reads";
}

// Shown over a table whose play would lie under it, the history moves up
// clear of it, but never above the table's top; a history left higher stays.
TEST_F(TableDialogsTest, TheHistoryIsKeptAboveTheLineTheTableGives) {
    ASSERT_TRUE(dialogs.CreateHistoryDialog(&table));
    CRect made;
    dialogs.GetHistory()->GetWindowRect(&made);
    dialogs.KeepHistoryAbove(made.bottom - 60, 0);
    CRect place;
    dialogs.GetHistory()->GetWindowRect(&place);
    EXPECT_EQ(place, made) << "a hidden history is not moved";

    dialogs.ShowHistoryDialog(TRUE);
    dialogs.KeepHistoryAbove(made.bottom - 60, 0);
    dialogs.GetHistory()->GetWindowRect(&place);
    EXPECT_EQ(place.bottom, made.bottom - 60);
    EXPECT_EQ(place.left, made.left);
    EXPECT_EQ(place.Size(), made.Size());
    dialogs.KeepHistoryAbove(place.bottom + 100, 0);
    CRect again;
    dialogs.GetHistory()->GetWindowRect(&again);
    EXPECT_EQ(again, place) << "clear already, it stays";
    dialogs.KeepHistoryAbove(made.Height() / 2, 10);
    dialogs.GetHistory()->GetWindowRect(&place);
    EXPECT_EQ(place.top, 10) << "not above the table's top";
}

TEST_F(TableDialogsTest, TheBettingDialogTakesTheTablesFigures) {
    ASSERT_TRUE(dialogs.CreateTakeChanceDialog(&table));
    dialogs.ShowTakeChanceDialog(TRUE);
    EXPECT_TRUE(dialogs.IsTakeChanceShown());
    dialogs.SetTakeChanceBeans(2500);
    EXPECT_EQ(TextOf(*dialogs.GetTakeChance(), IDC_BET_MAXIMUM), "2500");
    dialogs.SetTakeChanceStatus("本盘剩余竞猜机会为3次!");
    EXPECT_STREQ(dialogs.GetTakeChance()->m_strStatus, "本盘剩余竞猜机会为3次!");
    dialogs.PostTakeChanceResult(0, 13);
    PumpPending();
    EXPECT_EQ(dialogs.GetTakeChance()->m_nShownCard, 13) << "the drawn card is shown";
    dialogs.ShowTakeChanceDialog(FALSE);
    EXPECT_FALSE(dialogs.IsTakeChanceShown());
    EXPECT_FALSE(dialogs.GetTakeChance()->IsWindowVisible());
}

TEST_F(TableDialogsTest, EachExchangeRequestReplacesTheOpenDialog) {
    ASSERT_TRUE(dialogs.OpenExchangeDialog(&table, 0));
    CExchangeCoinDlg* first = dialogs.GetExchange();
    EXPECT_FALSE(first->m_bCompulsory);
    EXPECT_EQ(TextOf(*first, IDC_EXCHANGE_AMOUNT), "10");
    const HWND firstWindow = first->GetSafeHwnd();
    ASSERT_TRUE(dialogs.OpenExchangeDialog(&table, 300));
    EXPECT_FALSE(::IsWindow(firstWindow)) << "at most one at a time";
    EXPECT_TRUE(dialogs.GetExchange()->m_bCompulsory);
    EXPECT_EQ(TextOf(*dialogs.GetExchange(), IDC_EXCHANGE_AMOUNT), "300");
    EXPECT_TRUE(dialogs.GetExchange()->IsWindowVisible());
}

TEST_F(TableDialogsTest, TheChargeOfferComesFromTheClientsFigures) {
    const DWORD values[4] = {2000, DWORD(-3), 5, 1000};
    ASSERT_TRUE(dialogs.OpenChargeDialog(&table, values));
    EXPECT_EQ(dialogs.GetCharge()->m_nChargeAmount, 2000);
    EXPECT_EQ(dialogs.GetCharge()->m_nChargesLeft, -3);
    EXPECT_FALSE(dialogs.OpenChargeDialog(&table, nullptr));
    EXPECT_EQ(dialogs.GetCharge(), nullptr);
}

TEST_F(TableDialogsTest, TheMagnifierIsMadeOnceForTheTable) {
    dialogs.ShowMagnifier(TRUE); // not made yet: logged
    EXPECT_NE(temp.Read("test.log").find("magnifier was not made"), std::string::npos);
    CWnd* magnifier = dialogs.CreateMagnifier(&table, "Dovrik");
    ASSERT_NE(magnifier, nullptr);
    EXPECT_EQ(dialogs.CreateMagnifier(&table, "Dovrik"), magnifier);
    dialogs.ShowMagnifier(TRUE);
    EXPECT_TRUE(magnifier->IsWindowVisible());
    dialogs.ShowMagnifier(FALSE);
    EXPECT_FALSE(magnifier->IsWindowVisible());
}

} // namespace
