// Buttons: clicks and their auto behaviour, press-and-leave, the space key,
// owner drawing through WM_DRAWITEM and its reflection, transparent statics.

#include "tests/support/DialogFixture.h"

using namespace platform_test;

namespace {

class ButtonTest : public DialogTest {
protected:
    std::vector<Delivered> log;
    SolidWnd parent;

    void SetUp() override {
        DialogTest::SetUp();
        parent.log = &log;
        ASSERT_TRUE(parent.Top({50, 50, 450, 350}));
    }
    HWND Make(LPCTSTR text, DWORD style, RECT r, UINT id, CButton* object = nullptr) {
        CButton local;
        CButton& button = object ? *object : local;
        EXPECT_TRUE(button.Create(text, style | WS_VISIBLE, r, &parent, id));
        return object ? button.m_hWnd : button.Detach();
    }
    int Clicks(UINT id) const {
        int n = 0;
        for (const Delivered& d : log)
            if (d.message == WM_COMMAND && LOWORD(d.wParam) == id && HIWORD(d.wParam) == BN_CLICKED)
                ++n;
        return n;
    }
};

TEST_F(ButtonTest, AClickIsAPressAndAReleaseOverTheButton) {
    HWND button = Make("OK", BS_PUSHBUTTON, {10, 10, 90, 35}, 11);
    Click(button);
    PumpInput();
    EXPECT_EQ(Clicks(11), 1);
    // Pressed, dragged off and released: no click. (The capture routes the
    // mouse once the press has been handled.)
    const POINT p = CenterOf(button);
    platform::InjectMouse(platform::MouseAction::LeftDown, p);
    PumpInput();
    platform::InjectMouse(platform::MouseAction::Move, {p.x + 200, p.y});
    PumpInput();
    EXPECT_EQ(SendMessage(button, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
    platform::InjectMouse(platform::MouseAction::LeftUp, {p.x + 200, p.y});
    PumpInput();
    EXPECT_EQ(Clicks(11), 1);
    // The space key clicks the focused button; a disabled one does nothing.
    SetFocus(button);
    Key(VK_SPACE);
    PumpInput();
    EXPECT_EQ(Clicks(11), 2);
    EnableWindow(button, FALSE);
    Click(button);
    SendMessage(button, BM_CLICK, 0, 0);
    PumpInput();
    EXPECT_EQ(Clicks(11), 2);
}

TEST_F(ButtonTest, AutoCheckBoxesToggleAndAutoRadiosKeepOneOfTheGroup) {
    HWND check = Make("c", BS_AUTOCHECKBOX, {10, 10, 90, 30}, 21);
    HWND a = Make("a", BS_AUTORADIOBUTTON | WS_GROUP, {10, 40, 90, 60}, 22);
    HWND b = Make("b", BS_AUTORADIOBUTTON, {10, 70, 90, 90}, 23);
    HWND other = Make("o", BS_AUTORADIOBUTTON | WS_GROUP, {10, 100, 90, 120}, 24);
    // Controls made in code stack newest first: put them in creation order.
    for (HWND h : {check, a, b, other})
        SetWindowPos(h, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    Click(check);
    PumpInput();
    EXPECT_EQ(SendMessage(check, BM_GETCHECK, 0, 0), BST_CHECKED);
    Click(check);
    PumpInput();
    EXPECT_EQ(SendMessage(check, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    SendMessage(other, BM_SETCHECK, BST_CHECKED, 0);
    Click(a);
    Click(b);
    PumpInput();
    EXPECT_EQ(SendMessage(a, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessage(b, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessage(other, BM_GETCHECK, 0, 0), BST_CHECKED); // another group
    EXPECT_EQ(Clicks(22) + Clicks(23), 2);
}

// An owner-drawn button drawing itself through reflection.
class SelfDrawnButton : public CButton {
public:
    std::vector<UINT> states;
    void DrawItem(LPDRAWITEMSTRUCT item) override {
        states.push_back(item->itemState);
        CDC* dc = CDC::FromHandle(item->hDC);
        dc->FillSolidRect(&item->rcItem,
                          (item->itemState & ODS_SELECTED) ? RGB(0, 0, 255) : RGB(0, 255, 0));
    }
};

TEST_F(ButtonTest, OwnerDrawnButtonsAreDrawnByTheirOwnObjectWhenTheParentDoesNot) {
    SelfDrawnButton button;
    // The parent sees WM_DRAWITEM first, with the control's record, and
    // leaves it unhandled.
    bool parentAsked = false;
    parent.hooks[WM_DRAWITEM] = [&](WPARAM wParam, LPARAM lParam) {
        auto* item = reinterpret_cast<LPDRAWITEMSTRUCT>(lParam);
        parentAsked = wParam == 31 && item->CtlType == ODT_BUTTON && item->CtlID == 31;
        return LRESULT(0);
    };
    Make("", BS_OWNERDRAW, {100, 100, 160, 130}, 31, &button);
    button.UpdateWindow();
    ASSERT_FALSE(button.states.empty());
    EXPECT_TRUE(parentAsked);
    EXPECT_EQ(PixelOf(parent.m_hWnd, 130, 115), 0x00FF00u);
    const POINT p = CenterOf(button.m_hWnd);
    platform::InjectMouse(platform::MouseAction::Move, p);
    platform::InjectMouse(platform::MouseAction::LeftDown, p);
    PumpInput();
    button.UpdateWindow();
    EXPECT_TRUE(button.states.back() & ODS_SELECTED);
    EXPECT_EQ(PixelOf(parent.m_hWnd, 130, 115), 0x0000FFu);
    platform::InjectMouse(platform::MouseAction::LeftUp, p);
    PumpInput();
    EXPECT_EQ(Clicks(31), 1);
}

TEST_F(ButtonTest, AParentThatDrawsTheItemKeepsItFromTheButton) {
    SelfDrawnButton button;
    int parentDraws = 0;
    parent.hooks[WM_DRAWITEM] = [&](WPARAM, LPARAM) {
        ++parentDraws;
        return LRESULT(TRUE);
    };
    Make("", BS_OWNERDRAW, {100, 100, 160, 130}, 31, &button);
    button.UpdateWindow();
    EXPECT_EQ(parentDraws, 1);
    EXPECT_TRUE(button.states.empty());
}

TEST_F(ButtonTest, AStaticWithoutNotifyLetsTheParentHaveTheClick) {
    CStatic label, link;
    ASSERT_TRUE(label.Create("label", WS_VISIBLE, {10, 200, 110, 220}, &parent, 41));
    ASSERT_TRUE(link.Create("link", WS_VISIBLE | SS_NOTIFY, {10, 230, 110, 250}, &parent, 42));
    log.clear();
    Click(label.m_hWnd);
    Click(link.m_hWnd);
    PumpInput();
    std::vector<POINT> parentPresses;
    bool linkClicked = false;
    for (const Delivered& d : log) {
        if (d.message == WM_LBUTTONDOWN && d.hwnd == parent.m_hWnd)
            parentPresses.push_back({GET_X_LPARAM(d.lParam), GET_Y_LPARAM(d.lParam)});
        if (d.message == WM_COMMAND && LOWORD(d.wParam) == 42 && HIWORD(d.wParam) == STN_CLICKED)
            linkClicked = true;
    }
    ASSERT_EQ(parentPresses.size(), 1u); // the label's, in the parent's coordinates
    EXPECT_EQ(parentPresses[0].x, 60);
    EXPECT_EQ(parentPresses[0].y, 210);
    EXPECT_TRUE(linkClicked);
}

} // namespace
