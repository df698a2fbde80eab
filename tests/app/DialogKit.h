#pragma once

// The program's dialogs on the headless display with the default theme and
// the program's resource library, a stepped clock, input injected as a
// player types and clicks, and a message box that records its texts and
// answers as told.

#include "app/AppServices.h"
#include "tests/app/SkinFixture.h"
#include "tests/support/DialogFixture.h"

#include "platform/display/Display.h"
#include "platform/system/Shell.h"
#include "platform/window/Input.h"
#include "sprite/Theme.h"

#include <string>
#include <vector>

namespace app_test {

using namespace platform;
using namespace platform_test;

// What the recording message box saw, and what it answers.
struct BoxLog {
    static std::vector<std::string>& Texts() {
        static std::vector<std::string> texts;
        return texts;
    }
    static int& Answer() {
        static int answer = IDOK;
        return answer;
    }
    static int Present(const CString& text) {
        Texts().push_back((LPCSTR)text);
        return Answer();
    }
};

class AppDialogTest : public platform_test::DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        std::string error;
        const std::string program = std::string(PELLOR_ASSET_DIR) + "/";
        ASSERT_TRUE(RegisterResourceModule("Pellor2_res.dll", program + "Pellor2_res.rc", &error))
            << error;
        module = LoadLibrary("Pellor2_res.dll");
        ASSERT_NE(module, nullptr);
        savedHandle = AfxGetResourceHandle();
        AfxSetResourceHandle(module);
        SetExeFolderOverride(program.c_str());
        SetLogFileOverride(temp.File("test.log").c_str());
        ASSERT_TRUE(kn::theTheme.Open("Pellor2"));
        BoxLog::Texts().clear();
        BoxLog::Answer() = IDOK;
        SetMessageBoxPresenter(&BoxLog::Present);
        SetShellExecuteHook([this](LPCSTR, LPCSTR file, int) {
            opened.push_back(file);
            return INT_PTR(33);
        });
    }
    void TearDown() override {
        platform_test::Script::Stop();
        ReleaseCapture();
        InjectMouse(MouseAction::Move, {1200, 900});
        PumpPending();
        SetMessageBoxPresenter(nullptr);
        SetShellExecuteHook(nullptr);
        kn::theTheme.Close();
        SetExeFolderOverride(nullptr);
        SetLogFileOverride(nullptr);
        AfxSetResourceHandle(savedHandle);
        FreeLibrary(module);
        DisplayTest::TearDown();
    }

    // A client point of a window in screen coordinates.
    static POINT ScreenPoint(CWnd& wnd, int x, int y) {
        POINT p{x, y};
        wnd.ClientToScreen(&p);
        return p;
    }
    static POINT CentreOf(CWnd& dialog, int id) {
        RECT r;
        ::GetWindowRect(::GetDlgItem(dialog.GetSafeHwnd(), id), &r);
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    // All three before any is handled: a press on a dialog's face starts a
    // drag that runs until the release.
    static void Click(POINT p) {
        InjectMouse(MouseAction::Move, p);
        InjectMouse(MouseAction::LeftDown, p);
        InjectMouse(MouseAction::LeftUp, p);
        PumpPending();
        PumpPending();
    }
    static void ClickItem(CWnd& dialog, int id) { Click(CentreOf(dialog, id)); }
    // Replaces an edit's text by typing, as a player would.
    static void Type(CWnd& dialog, int id, const std::string& gbk) {
        HWND edit = ::GetDlgItem(dialog.GetSafeHwnd(), id);
        ::SetFocus(edit);
        ::SendMessage(edit, EM_SETSEL, 0, -1);
        InjectKey(VK_DELETE, true);
        InjectKey(VK_DELETE, false);
        PumpPending();
        InjectText(gbk);
        PumpPending();
    }
    // The program's own loop: the dialog sees its keys before the control.
    static void PumpAsApp() {
        MSG msg;
        while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (AfxPreTranslateMessage(&msg))
                continue;
            TranslateMessage(&msg);
            DispatchMessage(&msg);
        }
    }
    // Keys go to the focus: a control of the dialog, or the dialog itself.
    static void PressKey(CWnd& dialog, UINT vk, int focusId = 0) {
        HWND focus = focusId ? ::GetDlgItem(dialog.GetSafeHwnd(), focusId) : dialog.GetSafeHwnd();
        ::SetFocus(focus);
        PumpPending();
        const HWND now = ::GetFocus();
        ASSERT_TRUE(now == dialog.GetSafeHwnd() || ::IsChild(dialog.GetSafeHwnd(), now));
        InjectKey(vk, true);
        InjectKey(vk, false);
        PumpAsApp();
        PumpAsApp();
    }
    static std::string TextOf(CWnd& dialog, int id) {
        char buffer[256] = {};
        ::GetWindowText(::GetDlgItem(dialog.GetSafeHwnd(), id), buffer, sizeof buffer);
        return buffer;
    }
    static bool Enabled(CWnd& dialog, int id) {
        return ::IsWindowEnabled(::GetDlgItem(dialog.GetSafeHwnd(), id)) != 0;
    }
    void Step(int ms) {
        clock.Advance(uint64_t(ms));
        PumpPending();
    }
    // Counts pixels of one colour (0x00RRGGBB) in a client rectangle.
    static int CountColour(CWnd& wnd, RECT area, uint32_t colour) {
        int count = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                count += PixelOf(wnd.GetSafeHwnd(), x, y) == colour;
        return count;
    }
    // Saves the window's picture for a person to look at. A skinned window
    // cuts its key colour out with its shape and its buttons copy their
    // frames, so a key-coloured pixel left in it is a hole a person sees.
    static void Save(CWnd& wnd, const std::string& name) {
        PumpPending();
        ASSERT_TRUE(SaveWindowPng(wnd.GetSafeHwnd(), OutputPath(name)));
        RECT client;
        wnd.GetClientRect(&client);
        EXPECT_EQ(CountColour(wnd, client, 0xFF00FF), 0) << name << " shows the key colour";
    }

    TempFolder temp;
    HINSTANCE module = nullptr;
    HINSTANCE savedHandle = nullptr;
    std::vector<std::string> opened;
};

} // namespace app_test
