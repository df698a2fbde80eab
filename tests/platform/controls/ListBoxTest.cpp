// List boxes and drop-down combo boxes: items, selection, notifications,
// keys, the wheel, the drop-down list.

#include "tests/support/DialogFixture.h"

#include "platform/controls/ListItems.h"

using namespace platform_test;

namespace {

TEST(ListItemsTest, SortsAndFindsWithoutRegardToCase) {
    platform::ListItems items;
    items.Add("pear", true);
    items.Add("Apple", true);
    items.Add("banana", true);
    EXPECT_EQ(items.At(0).text, "Apple");
    EXPECT_EQ(items.At(2).text, "pear");
    EXPECT_EQ(items.Find(-1, "BAN", false), 1);
    EXPECT_EQ(items.Find(-1, "ban", true), -1);
    EXPECT_EQ(items.Find(1, "apple", true), 0); // wraps around
    EXPECT_EQ(items.Insert(5, "x"), -1);
    EXPECT_EQ(items.Remove(3), -1);
}

class ListDialogTest : public DialogTest {
protected:
    struct ListDialog : public CDialog {
        ListDialog() : CDialog(102u) {}
        CListBox list;
        CComboBox combo;
        CString chosen;
        std::vector<std::pair<int, int>> commands; // (id, code)
        void DoDataExchange(CDataExchange* dx) override {
            DDX_Control(dx, 1020, list);
            DDX_Control(dx, 1021, combo);
            DDX_CBString(dx, 1021, chosen);
        }
        BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
            commands.push_back({LOWORD(wParam), HIWORD(wParam)});
            return CDialog::OnCommand(wParam, lParam);
        }
        int Count(int id, int code) const {
            return int(std::count(commands.begin(), commands.end(), std::make_pair(id, code)));
        }
    } dlg;

    void SetUp() override {
        DialogTest::SetUp();
        ASSERT_TRUE(dlg.Create(102u));
        dlg.ShowWindow(SW_SHOW);
        for (int i = 0; i < 20; ++i) {
            CString item;
            item.Format("item %02d", i);
            dlg.list.AddString(item);
        }
        dlg.combo.AddString("红");
        dlg.combo.AddString("绿");
        dlg.combo.AddString("蓝");
        PumpInput();
        dlg.commands.clear();
    }
    POINT ListItemPoint(int visibleRow) {
        RECT r;
        dlg.list.GetWindowRect(&r);
        const int height = dlg.list.GetItemHeight(0);
        return POINT{r.left + 20, r.top + 2 + visibleRow * height + height / 2};
    }
};

TEST_F(ListDialogTest, ClickingSelectsAndNotifies) {
    ClickAt(ListItemPoint(2));
    PumpInput();
    EXPECT_EQ(dlg.list.GetCurSel(), 2);
    EXPECT_EQ(dlg.Count(1020, LBN_SELCHANGE), 1);
    ClickAt(ListItemPoint(2)); // the same item: no change
    PumpInput();
    EXPECT_EQ(dlg.Count(1020, LBN_SELCHANGE), 1);
    EXPECT_EQ(dlg.list.SetCurSel(5), 5); // by the program: no notification
    PumpInput();
    EXPECT_EQ(dlg.Count(1020, LBN_SELCHANGE), 1);
}

TEST_F(ListDialogTest, KeysMoveTheSelectionAndScrollItIntoView) {
    dlg.list.SetFocus();
    dlg.list.SetCurSel(0);
    Key(VK_END);
    PumpInput();
    EXPECT_EQ(dlg.list.GetCurSel(), 19);
    EXPECT_GT(dlg.list.GetTopIndex(), 0);
    const int top = dlg.list.GetTopIndex();
    EXPECT_GE(19, top);
    Key(VK_HOME);
    Key(VK_DOWN);
    PumpInput();
    EXPECT_EQ(dlg.list.GetCurSel(), 1);
    EXPECT_EQ(dlg.list.GetTopIndex(), 0);
    EXPECT_EQ(dlg.Count(1020, LBN_SELCHANGE), 3);
}

TEST_F(ListDialogTest, TheWheelScrollsWithoutSelecting) {
    dlg.list.SetFocus();
    platform::InjectMouse(platform::MouseAction::Wheel, ListItemPoint(1), -WHEEL_DELTA);
    PumpInput();
    EXPECT_EQ(dlg.list.GetTopIndex(), 3);
    EXPECT_EQ(dlg.list.GetCurSel(), -1);
    platform::InjectMouse(platform::MouseAction::Wheel, ListItemPoint(1), 10 * WHEEL_DELTA);
    PumpInput();
    EXPECT_EQ(dlg.list.GetTopIndex(), 0);
}

TEST_F(ListDialogTest, DeletingAndInsertingKeepTheSelectedItem) {
    dlg.list.SetCurSel(4);
    dlg.list.DeleteString(1);
    EXPECT_EQ(dlg.list.GetCurSel(), 3);
    dlg.list.InsertString(0, "first");
    EXPECT_EQ(dlg.list.GetCurSel(), 4);
    CString text;
    dlg.list.GetText(4, text);
    EXPECT_STREQ(text, "item 04");
    dlg.list.DeleteString(4);
    EXPECT_EQ(dlg.list.GetCurSel(), -1);
    EXPECT_EQ(dlg.list.GetText(99, text.GetBuffer(16)), LB_ERR);
    text.ReleaseBuffer();
    dlg.list.ResetContent();
    EXPECT_EQ(dlg.list.GetCount(), 0);
}

TEST_F(ListDialogTest, TheComboDropsDownAndTakesTheClickedItem) {
    Click(dlg.combo.m_hWnd);
    PumpInput();
    ASSERT_TRUE(dlg.combo.GetDroppedState());
    EXPECT_EQ(dlg.Count(1021, CBN_DROPDOWN), 1);
    RECT box;
    dlg.combo.GetWindowRect(&box);
    const int itemHeight = dlg.list.GetItemHeight(0);
    // The list opens under the box: its second item.
    ClickAt(POINT{box.left + 10, box.bottom + 1 + itemHeight + itemHeight / 2});
    PumpInput();
    EXPECT_FALSE(dlg.combo.GetDroppedState());
    EXPECT_EQ(dlg.combo.GetCurSel(), 1);
    EXPECT_EQ(dlg.Count(1021, CBN_SELCHANGE), 1);
    EXPECT_EQ(dlg.Count(1021, CBN_CLOSEUP), 1);
    EXPECT_EQ(TextOf(dlg.combo.m_hWnd), "绿");
    ASSERT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_STREQ(dlg.chosen, "绿");
}

TEST_F(ListDialogTest, ClickingOutsideTheDroppedListCancels) {
    dlg.combo.SetCurSel(0);
    Click(dlg.combo.m_hWnd);
    PumpInput();
    ASSERT_TRUE(dlg.combo.GetDroppedState());
    ClickAt(POINT{900, 700});
    PumpInput();
    EXPECT_FALSE(dlg.combo.GetDroppedState());
    EXPECT_EQ(dlg.combo.GetCurSel(), 0);
    EXPECT_EQ(dlg.Count(1021, CBN_SELENDCANCEL), 1);
    EXPECT_EQ(dlg.Count(1021, CBN_SELCHANGE), 0);
}

TEST_F(ListDialogTest, ComboKeysAndTextSelectItems) {
    dlg.combo.SetFocus();
    Key(VK_DOWN);
    Key(VK_DOWN);
    PumpInput();
    EXPECT_EQ(dlg.combo.GetCurSel(), 1);
    EXPECT_EQ(dlg.Count(1021, CBN_SELCHANGE), 2);
    dlg.chosen = "蓝";
    ASSERT_TRUE(dlg.UpdateData(FALSE));
    EXPECT_EQ(dlg.combo.GetCurSel(), 2);
    dlg.chosen = "紫"; // not an item: nothing chosen
    ASSERT_TRUE(dlg.UpdateData(FALSE));
    EXPECT_EQ(dlg.combo.GetCurSel(), -1);
    EXPECT_EQ(TextOf(dlg.combo.m_hWnd), "");
}

} // namespace
