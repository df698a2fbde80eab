// Menus: items, the system menu, and popup menus tracked with the keyboard
// and the mouse on the headless display.

#include "tests/support/DisplayFixture.h"

#include "platform/window/Input.h"
#include "platform/window/Menu.h"
#include "platform/window/SystemMetrics.h"

using namespace platform;
using namespace platform_test;

namespace {

class MenuTest : public DisplayTest {
protected:
    std::vector<Delivered> log;
    SolidWnd owner;
    HMENU menu = nullptr;

    void SetUp() override {
        DisplayTest::SetUp();
        owner.log = &log;
        ASSERT_TRUE(owner.Top({100, 100, 500, 400}));
        SetActiveWindow(owner);
        owner.SetFocus();
        menu = CreatePopupMenu();
        ASSERT_TRUE(AppendMenu(menu, MF_STRING, 101, "&First"));
        ASSERT_TRUE(AppendMenu(menu, MF_SEPARATOR, 0, nullptr));
        ASSERT_TRUE(AppendMenu(menu, MF_STRING | MF_GRAYED, 102, "&Second"));
        ASSERT_TRUE(AppendMenu(menu, MF_STRING, 103, "&Third\tCtrl+T"));
        PumpPending();
        log.clear();
    }
    void TearDown() override {
        DestroyMenu(menu);
        ReleaseCapture();
        PumpPending();
        DisplayTest::TearDown();
    }
    void Keys(std::initializer_list<UINT> keys) {
        for (UINT vk : keys) {
            InjectKey(vk, true);
            InjectKey(vk, false);
        }
    }
    // Runs `during` once the menu is on the screen (from inside its loop),
    // with the menu window's rectangle.
    void WhileOpen(std::function<void(RECT)> during) {
        owner.hooks[WM_USER + 7] = [during](WPARAM, LPARAM) {
            HWND window = FindWindow("#32768", nullptr);
            RECT r{};
            EXPECT_TRUE(GetWindowRect(window, &r));
            during(r);
            return LRESULT(0);
        };
        PostMessage(owner, WM_USER + 7, 0, 0);
    }
    // The middle of the i-th of n equally tall rows of a menu window.
    static POINT RowCentre(RECT r, int i, int n) {
        return POINT{(r.left + r.right) / 2, r.top + (r.bottom - r.top) * (2 * i + 1) / (2 * n)};
    }
};

TEST_F(MenuTest, ItemsAreFoundByCommandOrPositionAndChangeState) {
    EXPECT_EQ(GetMenuItemCount(menu), 4);
    EXPECT_EQ(GetMenuItemID(menu, 3), 103u);
    EXPECT_EQ(GetMenuItemID(menu, 9), UINT(-1));
    EXPECT_EQ(EnableMenuItem(menu, 102, MF_ENABLED), UINT(MF_GRAYED));
    EXPECT_EQ(GetMenuState(menu, 102, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_EQ(EnableMenuItem(menu, 0, MF_BYPOSITION | MF_GRAYED), UINT(MF_ENABLED));
    EXPECT_NE(GetMenuState(menu, 101, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_EQ(EnableMenuItem(menu, 999, MF_GRAYED), UINT(-1));
    EXPECT_EQ(CheckMenuItem(menu, 103, MF_CHECKED), 0u);
    EXPECT_NE(GetMenuState(menu, 103, MF_BYCOMMAND) & MF_CHECKED, 0u);
    char text[32];
    EXPECT_EQ(GetMenuString(menu, 103, text, sizeof text, MF_BYCOMMAND), 13);
    EXPECT_STREQ(text, "&Third\tCtrl+T");
    EXPECT_TRUE(DeleteMenu(menu, 1, MF_BYPOSITION));
    EXPECT_EQ(GetMenuItemID(menu, 1), 102u);
    EXPECT_FALSE(AppendMenu(reinterpret_cast<HMENU>(0x1234), MF_STRING, 1, "x"));
    EXPECT_EQ(GetMenuItemCount(nullptr), -1);
}

TEST_F(MenuTest, TheKeyboardPicksAnItemSkippingSeparatorsAndGreyedItems) {
    // Down: First; Down: over the separator to the greyed Second; Enter there
    // does nothing; Down: Third; Enter chooses it.
    Keys({VK_DOWN, VK_DOWN, VK_RETURN, VK_DOWN, VK_RETURN});
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 200, 200, 0, owner, nullptr), 103);
    EXPECT_EQ(FindWindow("#32768", nullptr), nullptr); // the menu window is gone
    EXPECT_EQ(GetCapture(), nullptr);

    PumpPending();
    log.clear();
    Keys({VK_DOWN, VK_ESCAPE});
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 200, 200, 0, owner, nullptr), 0);

    Keys({VK_UP, VK_RETURN}); // up from nothing wraps to the last item
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 200, 200, 0, owner, nullptr), 103);

    InjectText("f"); // the item's letter
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 200, 200, 0, owner, nullptr), 101);
    InjectText("s"); // a greyed item's letter does nothing
    Keys({VK_ESCAPE});
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 200, 200, 0, owner, nullptr), 0);
}

TEST_F(MenuTest, TheOwnerHearsOfTheMenuFirstAndGetsTheCommandWithoutReturnCmd) {
    owner.hooks[WM_INITMENUPOPUP] = [this](WPARAM wParam, LPARAM lParam) {
        EXPECT_EQ(reinterpret_cast<HMENU>(wParam), menu);
        EXPECT_EQ(HIWORD(lParam), 0);          // not the system menu
        EnableMenuItem(menu, 102, MF_ENABLED); // the owner's last word on the items
        return LRESULT(0);
    };
    Keys({VK_DOWN, VK_DOWN, VK_RETURN});
    EXPECT_TRUE(TrackPopupMenu(menu, TPM_LEFTALIGN, 200, 200, 0, owner, nullptr));
    PumpPending();
    std::vector<WPARAM> commands;
    for (const Delivered& d : log)
        if (d.message == WM_COMMAND)
            commands.push_back(d.wParam);
    EXPECT_EQ(commands, (std::vector<WPARAM>{102}));
}

TEST_F(MenuTest, TheMousePicksTheItemItIsReleasedOver) {
    HMENU plain = CreatePopupMenu();
    AppendMenu(plain, MF_STRING, 201, "One");
    AppendMenu(plain, MF_STRING, 202, "Two");
    AppendMenu(plain, MF_STRING, 203, "Three");
    WhileOpen([](RECT r) {
        InjectMouse(MouseAction::Move, RowCentre(r, 0, 3));
        InjectMouse(MouseAction::RightDown, RowCentre(r, 1, 3));
        InjectMouse(MouseAction::RightUp, RowCentre(r, 1, 3));
    });
    EXPECT_EQ(TrackPopupMenu(plain, TPM_RETURNCMD | TPM_RIGHTBUTTON, 150, 150, 0, owner, nullptr),
              202);
    DestroyMenu(plain);
}

TEST_F(MenuTest, APressOutsideTheMenuClosesItAndIsSpent) {
    WhileOpen([](RECT r) {
        InjectMouse(MouseAction::LeftDown, {r.right + 40, r.bottom + 40});
        InjectMouse(MouseAction::LeftUp, {r.right + 40, r.bottom + 40});
    });
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 120, 120, 0, owner, nullptr), 0);
    PumpPending();
    for (const Delivered& d : log)
        EXPECT_NE(d.message, UINT(WM_LBUTTONDOWN));
}

TEST_F(MenuTest, AMenuNearTheScreenEdgeStaysOnTheScreen) {
    WhileOpen([](RECT r) {
        EXPECT_LE(r.right, GetSystemMetrics(SM_CXSCREEN));
        EXPECT_LE(r.bottom, GetSystemMetrics(SM_CYSCREEN));
        EXPECT_LT(r.left, 1020);
        InjectKey(VK_ESCAPE, true);
    });
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 1020, 760, 0, owner, nullptr), 0);
}

TEST_F(MenuTest, TheSystemMenuSendsSystemCommands) {
    HMENU system = GetSystemMenu(owner, FALSE);
    ASSERT_NE(system, nullptr);
    EXPECT_EQ(GetSystemMenu(owner, FALSE), system); // made once
    EXPECT_NE(GetMenuState(system, SC_CLOSE, MF_BYCOMMAND), UINT(-1));
    EXPECT_NE(GetMenuState(system, SC_MOVE, MF_BYCOMMAND), UINT(-1));
    ASSERT_TRUE(AppendMenu(system, MF_STRING, 0x10, "About"));

    bool sawInit = false;
    owner.hooks[WM_INITMENUPOPUP] = [&](WPARAM, LPARAM lParam) {
        sawInit = HIWORD(lParam) == 1;
        return LRESULT(0);
    };
    Keys({VK_UP, VK_RETURN}); // the last item: the one appended
    EXPECT_TRUE(TrackPopupMenu(system, 0, 150, 150, 0, owner, nullptr));
    EXPECT_TRUE(sawInit);
    PumpPending();
    std::vector<WPARAM> commands;
    for (const Delivered& d : log)
        if (d.message == WM_SYSCOMMAND)
            commands.push_back(d.wParam);
    EXPECT_EQ(commands, (std::vector<WPARAM>{0x10}));

    EXPECT_EQ(GetSystemMenu(owner, TRUE), nullptr);
    EXPECT_FALSE(IsMenu(system)); // reverting destroyed the changed one
}

TEST_F(MenuTest, TrackingRefusesBadMenusAndOwners) {
    EXPECT_FALSE(TrackPopupMenu(nullptr, TPM_RETURNCMD, 0, 0, 0, owner, nullptr));
    EXPECT_FALSE(TrackPopupMenu(menu, TPM_RETURNCMD, 0, 0, 0, nullptr, nullptr));
    HMENU empty = CreatePopupMenu();
    EXPECT_FALSE(TrackPopupMenu(empty, TPM_RETURNCMD, 0, 0, 0, owner, nullptr));
    DestroyMenu(empty);
}

} // namespace
