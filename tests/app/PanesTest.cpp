// The main pane's layout and chat button, and the chat side pane's control,
// against a recording chat control.

#include "app/GameApp.h"
#include "app/MainPane.h"
#include "app/SkinWindow.h"
#include "app/ToolWnd.h"
#include "outside/ChatControls.h"
#include "platform/controls/ControlHost.h"
#include "platform/display/Display.h"
#include "platform/display/WindowSurfaces.h"
#include "platform/system/Clock.h"
#include "platform/system/Registry.h"
#include "platform/window/Input.h"
#include "sprite/AppServices.h"
#include "tests/support/MessageLog.h"
#include "tests/support/TempFolder.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace {

using platform_test::Delivered;
using platform_test::RecordingWnd;

// Stands where the extended chat control goes: a plain window whose class
// procedure records each member call.
struct RecordingChat {
    static std::vector<std::pair<DISPID, LONGLONG>>& Calls() {
        static std::vector<std::pair<DISPID, LONGLONG>> calls;
        return calls;
    }
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_CONTROLINVOKE) {
            auto* call = reinterpret_cast<ControlInvocation*>(lParam);
            LONGLONG first = 0;
            if (call->args != nullptr && !call->args->empty())
                first = (*call->args)[0].number;
            Calls().push_back({call->id, first});
            call->hr = S_OK;
            return 0;
        }
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
    static HWND Make(const ControlCreateParams& params) {
        static bool registered = false;
        if (!registered) {
            WNDCLASS wc{};
            wc.lpfnWndProc = &RecordingChat::Proc;
            wc.lpszClassName = "RecordingChat";
            RegisterClass(&wc);
            registered = true;
        }
        return CreateWindowEx(0, "RecordingChat", params.windowName, params.style, params.rect.left,
                              params.rect.top, params.rect.right - params.rect.left,
                              params.rect.bottom - params.rect.top, params.parent,
                              HMENU(UINT_PTR(params.id)), nullptr, nullptr);
    }
};

// A view that goes with its window, as the pane's views do.
class PlainView : public CWnd {
    DECLARE_DYNCREATE(PlainView)

protected:
    void PostNcDestroy() override { delete this; }
};
IMPLEMENT_DYNCREATE(PlainView, CWnd)

class PanesTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("PELLOR_CONFIG_DIR", config.Path().c_str(), 1);
        SetLogFileOverride(config.File("test.log").c_str());
        platform::StartDisplay(platform::DisplayKind::Headless);
        ASSERT_TRUE(frame.CreateTop(&frameLog, 1000, 700));
        AfxSetMainWnd(&frame);
        RecordingChat::Calls().clear();
    }
    void TearDown() override {
        AfxSetMainWnd(nullptr);
        frame.DestroyWindow();
        platform_test::PumpPending();
        // The tests replace or remove the chat control: the stand-in comes back
        // for the tests after them.
        RegisterChatControls();
        platform::StopDisplay();
        SetLogFileOverride(nullptr);
    }
    // The chat control is found where the lobby keeps the shared components.
    void ShareFolderKnown() {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\Quillane\\Game\\Share", 0, nullptr,
                                 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        const char path[] = "C:\\Game\\Share";
        RegSetValueEx(key, "path", 0, REG_SZ, reinterpret_cast<const BYTE*>(path), sizeof path);
        RegCloseKey(key);
    }
    int Posted(UINT message, WPARAM wParam) const {
        int count = 0;
        for (const Delivered& d : frameLog)
            count += d.message == message && d.wParam == wParam;
        return count;
    }

    platform::ManualClock clock;
    platform::ScopedClock useClock{clock};
    TempFolder config;
    std::vector<Delivered> frameLog;
    RecordingWnd frame;
};

TEST_F(PanesTest, TheChildrenShareTheWidthSideBySide) {
    CMainPane pane;
    pane.SetBarWidths(240, 240, 240);
    const CMainPane::Places p = pane.Compute(CRect(0, 0, 1008, 691));
    EXPECT_EQ(p.left, CRect(0, 0, 763, 691));
    EXPECT_EQ(p.bar, CRect(763, 0, 768, 691));
    EXPECT_EQ(p.right, CRect(768, 0, 1008, 691));
    EXPECT_FALSE(pane.CanDrag()) << "equal widths: the bar cannot be dragged";
    pane.SetBarWidths(300, 100, 200);
    EXPECT_TRUE(pane.CanDrag());
    EXPECT_EQ(pane.Compute(CRect(0, 0, 1008, 691)).right.Width(), 200);
}

TEST_F(PanesTest, HidingAndShowingTheChatRestoresItsWidthAndSwitchesTheLook) {
    CMainPane pane;
    pane.SetBarWidths(240, 240, 240);
    ASSERT_TRUE(pane.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 1000, 700), &frame,
                            CMainPane::kPaneId));
    ASSERT_TRUE(pane.CreateViews(RUNTIME_CLASS(PlainView), RUNTIME_CLASS(CToolWnd)));
    CWnd* left = CWnd::FromHandle(::GetDlgItem(pane.m_hWnd, CMainPane::kTableId));
    ASSERT_NE(left, nullptr);
    pane.SendMessage(WM_COMMAND, CMainPane::kCloseId, 0);
    platform_test::PumpPending();
    EXPECT_EQ(pane.GetToolWidth(), 0);
    EXPECT_EQ(Posted(WM_SKIN_ALTLOOK, 1), 1);
    RECT rect{};
    left->GetWindowRect(&rect);
    EXPECT_EQ(rect.right - rect.left, 995) << "the table takes all but the bar";
    pane.SendMessage(WM_COMMAND, CMainPane::kOpenId, 0);
    platform_test::PumpPending();
    EXPECT_EQ(pane.GetToolWidth(), 240);
    EXPECT_EQ(Posted(WM_SKIN_ALTLOOK, 0), 1);
    left->GetWindowRect(&rect);
    EXPECT_EQ(rect.right - rect.left, 755);
    // Each layout hides the watch button that would not switch anything.
    theApp.m_settings.m_bAllowWatch = 0;
    frameLog.clear();
    pane.RecalcLayout();
    platform_test::PumpPending();
    EXPECT_EQ(Posted(WM_SKIN_SHOWBUTTON, 1), 1);

    // A minimised frame gives its pane no size: nothing is laid out.
    frameLog.clear();
    pane.SendMessage(WM_SIZE, SIZE_MINIMIZED, 0);
    pane.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(0, 0));
    platform_test::PumpPending();
    EXPECT_EQ(Posted(WM_SKIN_SHOWBUTTON, 1), 0);
    left->GetWindowRect(&rect);
    EXPECT_EQ(rect.right - rect.left, 755);
    pane.DestroyWindow();
}

TEST_F(PanesTest, DraggingTheBarInvertsATrackerOverTheChildrenAndDropsTheWidth) {
    CMainPane pane;
    pane.SetBarWidths(300, 100, 200);
    frame.ShowWindow(SW_SHOW);
    ASSERT_TRUE(pane.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 1000, 700), &frame,
                            CMainPane::kPaneId));
    ASSERT_TRUE(pane.CreateViews(RUNTIME_CLASS(PlainView), RUNTIME_CLASS(CToolWnd)));
    platform_test::PumpPending();
    platform::Surface* surface = platform::GetWindowSurfaces()->SurfaceOf(frame.m_hWnd);
    ASSERT_NE(surface, nullptr);
    CRect client;
    pane.GetClientRect(&client);
    const CRect bar = pane.Compute(client).bar; // the pane fills the frame from (0, 0)
    ASSERT_EQ(bar.left, 795);
    const auto at = [&](int x) { return surface->GetPixel(x, 300) & 0xFFFFFF; };
    const auto mouse = [&](platform::MouseAction action, int x) {
        CPoint p(x, 300);
        pane.ClientToScreen(&p);
        platform::InjectMouse(action, p);
        platform_test::PumpPending();
    };
    const uint32_t overTable = at(737), further = at(707);

    mouse(platform::MouseAction::Move, bar.left + 2);
    mouse(platform::MouseAction::LeftDown, bar.left + 2);
    mouse(platform::MouseAction::Move, 737); // the bar's left edge at 735
    EXPECT_EQ(at(737), overTable ^ 0x808080) << "inverted over the table window";
    mouse(platform::MouseAction::Move, 707);
    EXPECT_EQ(at(707), further ^ 0x808080);
    EXPECT_EQ(at(737), overTable) << "the old tracker is taken away";
    mouse(platform::MouseAction::Move, 500); // the chat would be wider than allowed
    EXPECT_EQ(at(707), further ^ 0x808080);
    // The right button cancels: the tracker goes and the width stays.
    mouse(platform::MouseAction::RightDown, 707);
    mouse(platform::MouseAction::RightUp, 707);
    EXPECT_EQ(at(707), further);
    EXPECT_EQ(pane.GetToolWidth(), 200);
    // Dropped, the chat takes the width the bar leaves it.
    mouse(platform::MouseAction::Move, bar.left + 2);
    mouse(platform::MouseAction::LeftDown, bar.left + 2);
    mouse(platform::MouseAction::Move, 707);
    mouse(platform::MouseAction::LeftUp, 707);
    EXPECT_EQ(pane.GetToolWidth(), 290);
    pane.DestroyWindow();
}

TEST_F(PanesTest, TheChatPaneSetsUpItsControlInOrder) {
    ShareFolderKnown();
    ASSERT_TRUE(RegisterControlClass({CKNChatEx::GetClsid(), "", &RecordingChat::Make}));
    CToolWnd* tool = new CToolWnd;
    ASSERT_TRUE(tool->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 240, 600), &frame,
                             CMainPane::kToolId));
    const std::vector<std::pair<DISPID, LONGLONG>> expected = {
        {53, 0}, {50, 500}, {70, 0}, {41, 0}, {87, 1}};
    EXPECT_EQ(RecordingChat::Calls(), expected);
    EXPECT_EQ(theApp.m_pChatCtrl, tool->GetChatCtrl());
    tool->DestroyWindow();
    EXPECT_EQ(theApp.m_pChatCtrl, nullptr) << "no one may reach a control that is gone";
}

TEST_F(PanesTest, WithoutAChatControlThePaneLivesOnAndNothingIsCalled) {
    UnregisterControlClass(CKNChatEx::GetClsid());
    CToolWnd* tool = new CToolWnd;
    ASSERT_TRUE(tool->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 240, 600), &frame,
                             CMainPane::kToolId));
    EXPECT_EQ(tool->GetChatCtrl(), nullptr);
    EXPECT_EQ(theApp.m_pChatCtrl, nullptr);
    EXPECT_TRUE(RecordingChat::Calls().empty());
    tool->SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(240, 600));
    tool->DestroyWindow();
}

} // namespace
