// Dialogs from templates: modal runs driven by typed and clicked input, the
// dialog keys, data exchange, modeless use, dialog units.

#include "tests/support/DialogFixture.h"

#include "platform/controls/DialogNavigation.h"
#include "platform/controls/MessageBox.h"
#include "platform/text/Text.h"

using namespace platform_test;

namespace {

// The form of template 100, with its members exchanged.
class FormDialog : public CDialog {
public:
    explicit FormDialog(CWnd* parent = nullptr) : CDialog(100u, parent) {}
    CString m_name;
    int m_age = 0;
    int m_sound = 0;
    std::function<void(FormDialog&)> onInit;

    void DoDataExchange(CDataExchange* dx) override {
        DDX_Text(dx, 1001, m_name);
        DDX_Text(dx, 1002, m_age);
        DDX_Check(dx, 1003, m_sound);
    }
    BOOL OnInitDialog() override {
        const BOOL result = CDialog::OnInitDialog();
        if (onInit)
            onInit(*this);
        return result;
    }
    HWND Item(int id) const { return ::GetDlgItem(m_hWnd, id); }
};

using ModalDialogTest = DialogTest;

TEST_F(ModalDialogTest, TypedTextAndOkClickComeBackInTheMembers) {
    FormDialog dlg;
    dlg.m_age = 30;
    dlg.onInit = [](FormDialog& d) {
        Script::Run({[] { Type("张三abc"); },
                     [&d] { Click(d.Item(1002)); }, // keys go where the focus is then
                     [] {
                         Key(VK_END);
                         Key(VK_BACK);
                         Key(VK_BACK);
                         Type("42");
                     },
                     [&d] { Click(d.Item(1003)); }, [&d] { Click(d.Item(IDOK)); }});
    };
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(Script::Done());
    EXPECT_STREQ(dlg.m_name, "张三abc");
    EXPECT_EQ(dlg.m_age, 42);
    EXPECT_EQ(dlg.m_sound, 1);
    EXPECT_EQ(dlg.m_hWnd, nullptr); // destroyed after the run
}

TEST_F(ModalDialogTest, EscapeCancelsAndLeavesTheMembersAlone) {
    FormDialog dlg;
    dlg.m_name = "old";
    dlg.onInit = [](FormDialog&) { Script::Run({[] { Type("new"); }, [] { Key(VK_ESCAPE); }}); };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_STREQ(dlg.m_name, "old");
}

TEST_F(ModalDialogTest, EnterPressesTheDefaultButtonOrTheFocusedOne) {
    FormDialog dlg;
    dlg.onInit = [](FormDialog&) { Script::Run({[] { Key(VK_RETURN); }}); };
    EXPECT_EQ(dlg.DoModal(), IDOK);

    FormDialog cancelled;
    cancelled.onInit = [](FormDialog& d) {
        Script::Run(
            {[&d] { d.GotoDlgCtrl(CWnd::FromHandle(d.Item(IDCANCEL))); }, [] { Key(VK_RETURN); }});
    };
    EXPECT_EQ(cancelled.DoModal(), IDCANCEL);
}

TEST_F(ModalDialogTest, OwnerIsDisabledWhileTheDialogRuns) {
    SolidWnd owner;
    ASSERT_TRUE(owner.Top({10, 10, 500, 400}));
    FormDialog dlg(&owner);
    BOOL enabledDuring = TRUE;
    dlg.onInit = [&](FormDialog&) {
        Script::Run({[&] {
            enabledDuring = owner.IsWindowEnabled();
            Key(VK_ESCAPE);
        }});
    };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_FALSE(enabledDuring);
    EXPECT_TRUE(owner.IsWindowEnabled());
    owner.DestroyWindow();
}

TEST_F(ModalDialogTest, EndDialogDuringSetUpEndsWithoutALoop) {
    FormDialog dlg;
    dlg.onInit = [](FormDialog& d) { d.EndDialog(77); };
    EXPECT_EQ(dlg.DoModal(), 77);
}

TEST_F(ModalDialogTest, MissingTemplateGivesMinusOne) {
    CDialog dlg(4242u);
    EXPECT_EQ(dlg.DoModal(), -1);
}

TEST_F(ModalDialogTest, NotANumberFailsTheExchangeAndKeepsTheDialogOpen) {
    FormDialog dlg;
    int boxes = 0;
    dlg.onInit = [&](FormDialog& d) {
        Script::Run({[&d] { SetWindowText(d.Item(1002), ""); }, [&d] { Click(d.Item(IDOK)); },
                     // the box that says a number is wanted: Enter closes it
                     [&] {
                         ++boxes;
                         Key(VK_RETURN);
                     },
                     [&d] {
                         EXPECT_EQ(GetFocus(), d.Item(1002)); // the failed field
                         Type("7");
                         Click(d.Item(IDOK));
                     }});
    };
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(dlg.m_age, 7);
}

using DialogKeysTest = DialogTest;

TEST_F(DialogKeysTest, TabFollowsTemplateOrderAndShiftTabGoesBack) {
    FormDialog dlg;
    ASSERT_TRUE(dlg.Create(100u));
    dlg.ShowWindow(SW_SHOW);
    EXPECT_EQ(GetFocus(), dlg.Item(1001)); // the first tab stop
    // Both radio buttons are tab stops until one of them is checked.
    const int order[] = {1002, 1003, 1004, 1005, IDOK, IDCANCEL, 1001};
    for (int id : order) {
        Key(VK_TAB);
        PumpInput();
        EXPECT_EQ(GetFocus(), dlg.Item(id)) << id;
    }
    ShiftKey(VK_TAB);
    PumpInput();
    EXPECT_EQ(GetFocus(), dlg.Item(IDCANCEL));
}

TEST_F(DialogKeysTest, ArrowsMoveWithinTheRadioGroupAndCheckAsTheyGo) {
    FormDialog dlg;
    ASSERT_TRUE(dlg.Create(100u));
    dlg.ShowWindow(SW_SHOW);
    dlg.CheckRadioButton(1004, 1005, 1004);
    dlg.GotoDlgCtrl(CWnd::FromHandle(dlg.Item(1004)));
    Key(VK_RIGHT);
    PumpInput();
    EXPECT_EQ(GetFocus(), dlg.Item(1005));
    EXPECT_EQ(dlg.GetCheckedRadioButton(1004, 1005), 1005);
    EXPECT_EQ(dlg.IsDlgButtonChecked(1004), 0u);
    Key(VK_RIGHT); // wraps within the group, never into the buttons
    PumpInput();
    EXPECT_EQ(GetFocus(), dlg.Item(1004));
}

TEST_F(DialogKeysTest, TabbingIntoAnEditSelectsItsText) {
    FormDialog dlg;
    ASSERT_TRUE(dlg.Create(100u));
    dlg.SetDlgItemText(1002, "123");
    dlg.GotoDlgCtrl(CWnd::FromHandle(dlg.Item(1001)));
    Key(VK_TAB);
    PumpInput();
    DWORD start = 9, end = 9;
    SendMessage(dlg.Item(1002), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 3u);
}

TEST_F(DialogKeysTest, WithoutADefaultButtonEnterMeansIdOk) {
    CDialog dlg(101u);
    ASSERT_TRUE(dlg.Create(101u));
    EXPECT_EQ(dlg.GetDefID(), 0u);
    Key(VK_RETURN);
    PumpInput();
    EXPECT_FALSE(dlg.IsWindowVisible()); // CDialog::OnOK ended (hid) it
    dlg.SetDefID(1010);
    EXPECT_EQ(dlg.GetDefID(), DWORD(MAKELONG(1010, DC_HASDEFID)));
    EXPECT_EQ(GetWindowLong(dlg.GetDlgItem(1010)->m_hWnd, GWL_STYLE) & BS_TYPEMASK,
              BS_DEFPUSHBUTTON);
}

using ModelessDialogTest = DialogTest;

TEST_F(ModelessDialogTest, HiddenAndShownAgainKeepsItsState) {
    FormDialog dlg;
    ASSERT_TRUE(dlg.Create(100u));
    dlg.ShowWindow(SW_SHOW);
    Type("保留");
    Click(dlg.Item(1003));
    PumpInput();
    Key(VK_ESCAPE); // CDialog::OnCancel: EndDialog hides a modeless dialog
    PumpInput();
    EXPECT_FALSE(dlg.IsWindowVisible());
    ASSERT_TRUE(IsWindow(dlg.m_hWnd));
    dlg.ShowWindow(SW_SHOW);
    EXPECT_EQ(TextOf(dlg.Item(1001)), "保留");
    EXPECT_EQ(dlg.IsDlgButtonChecked(1003), 1u);
    ASSERT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_STREQ(dlg.m_name, "保留");
}

TEST_F(ModelessDialogTest, ItemHelpersReadAndWriteControls) {
    FormDialog dlg;
    ASSERT_TRUE(dlg.Create(100u));
    dlg.SetDlgItemInt(1002, UINT(-25));
    BOOL ok = FALSE;
    EXPECT_EQ(int(dlg.GetDlgItemInt(1002, &ok)), -25);
    EXPECT_TRUE(ok);
    dlg.SetDlgItemText(1002, "12x");
    dlg.GetDlgItemInt(1002, &ok);
    EXPECT_FALSE(ok);
    dlg.CheckDlgButton(1003, BST_CHECKED);
    EXPECT_EQ(dlg.IsDlgButtonChecked(1003), 1u);
    CString text;
    dlg.SetDlgItemText(1001, "abc");
    EXPECT_EQ(dlg.GetDlgItemText(1001, text), 3);
    EXPECT_STREQ(text, "abc");
}

TEST_F(ModelessDialogTest, DialogUnitsFollowTheDialogFont) {
    FormDialog dlg;
    ASSERT_TRUE(dlg.Create(100u));
    // Base units from the font, as Windows takes them.
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, dlg.GetFont()->m_hObject);
    SIZE letters{};
    GetTextExtentPoint32(dc, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &letters);
    TEXTMETRIC tm{};
    GetTextMetrics(dc, &tm);
    SelectObject(dc, old);
    DeleteDC(dc);
    const int cx = (letters.cx / 26 + 1) / 2;
    ASSERT_GT(cx, 0);
    RECT r{0, 0, 200, 110};
    dlg.MapDialogRect(&r);
    EXPECT_EQ(r.right, (200 * cx + 2) / 4);
    EXPECT_EQ(r.bottom, (110 * tm.tmHeight + 4) / 8);
    // The template's size is the client area's; the caption comes on top.
    RECT client;
    dlg.GetClientRect(&client);
    EXPECT_EQ(client.right, r.right);
    EXPECT_EQ(client.bottom, r.bottom);
    RECT window;
    dlg.GetWindowRect(&window);
    // DS_CENTER: centred on the screen.
    EXPECT_NEAR((window.left + window.right) / 2, platform::kHeadlessScreenWidth / 2, 1);
}

// A dialog that colours its statics: transparent text on its own brush.
class SkinnedDialog : public FormDialog {
public:
    CBrush back{RGB(0, 128, 0)};
    HBRUSH OnCtlColor(CDC* dc, CWnd* control, UINT kind) override {
        if (kind == CTLCOLOR_DLG || kind == CTLCOLOR_STATIC) {
            dc->SetBkMode(TRANSPARENT);
            dc->SetTextColor(RGB(255, 255, 0));
            return back;
        }
        return CDialog::OnCtlColor(dc, control, kind);
    }
};

TEST_F(ModelessDialogTest, CtlColorPaintsTheBackgroundAndStatics) {
    SkinnedDialog dlg;
    ASSERT_TRUE(dlg.Create(100u));
    dlg.ShowWindow(SW_SHOW);
    dlg.UpdateWindow();
    PumpInput();
    // Surface pixels are the window's: the client area starts below the caption.
    RECT window;
    dlg.GetWindowRect(&window);
    POINT client{0, 0};
    dlg.ClientToScreen(&client);
    const int dx = client.x - window.left, dy = client.y - window.top;
    // A point of the dialog between controls.
    EXPECT_EQ(PixelOf(dlg.m_hWnd, dx + 5, dy + 5), 0x008000u);
    RECT edit;
    GetWindowRect(dlg.Item(1001), &edit);
    POINT inside{edit.left + 3, edit.top + 3};
    dlg.ScreenToClient(&inside);
    EXPECT_EQ(PixelOf(dlg.m_hWnd, dx + inside.x, dy + inside.y),
              0xFFFFFFu); // edits keep the window colour
}

} // namespace
