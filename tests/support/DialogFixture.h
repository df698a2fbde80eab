#pragma once

// Dialog and control tests on the headless display: a resource module of test
// templates, input injected as a user would type and click, a pump that lets
// dialogs see their keys, and scripted steps that run inside modal loops.

#include "tests/support/DisplayFixture.h"

#include "platform/controls/Controls.h"
#include "platform/controls/DataExchange.h"
#include "platform/controls/Dialog.h"
#include "platform/resources/Resource.h"
#include "platform/system/Module.h"
#include "platform/window/Input.h"
#include "tests/support/ResourceScriptText.h"

#include <deque>
#include <functional>
#include <string>

namespace platform_test {

// Steps run one at a time from a thread timer, each after the input of the
// one before has been handled: the way to drive a modal loop. The timer is
// the script's one: a new script, or the end of a test, stops the one before,
// so no tick of it reaches a later test's loop.
class Script {
public:
    static void Run(std::deque<std::function<void()>> steps) {
        Stop();
        Steps() = std::move(steps);
        TimerId() = ::SetTimer(nullptr, 0, 10, &Script::Tick);
    }
    static bool Done() { return Steps().empty(); }
    static void Stop() {
        if (TimerId() != 0)
            ::KillTimer(nullptr, TimerId());
        TimerId() = 0;
        Steps().clear();
    }

private:
    static UINT_PTR& TimerId() {
        static UINT_PTR id = 0;
        return id;
    }
    static std::deque<std::function<void()>>& Steps() {
        static std::deque<std::function<void()>> steps;
        return steps;
    }
    static void Tick(HWND, UINT, UINT_PTR, DWORD) {
        if (Steps().empty()) {
            Stop();
            return;
        }
        auto step = std::move(Steps().front());
        Steps().pop_front();
        step();
    }
};

// The first icon static among the window's children, or null.
inline HWND IconStaticOf(HWND parent) {
    HWND found = nullptr;
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM param) -> BOOL {
            if ((GetWindowLong(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON)
                return TRUE;
            *reinterpret_cast<HWND*>(param) = child;
            return FALSE;
        },
        LPARAM(&found));
    return found;
}

class DialogTest : public DisplayTest {
protected:
    static constexpr const char* kModule = "DialogTest_res.dll";

    void SetUp() override {
        DisplayTest::SetUp();
        clock.SetAutoAdvance(true);
        std::string error;
        ASSERT_TRUE(RegisterResourceModuleText(kModule, Utf8(kScript), ".", &error)) << error;
        m_module = LoadLibrary(kModule);
        ASSERT_NE(m_module, nullptr);
        m_savedHandle = AfxGetResourceHandle();
        AfxSetResourceHandle(m_module);
    }
    void TearDown() override {
        Script::Stop();
        ReleaseCapture();
        platform::InjectMouse(platform::MouseAction::LeftUp, {1000, 760});
        platform::InjectMouse(platform::MouseAction::Move, {1000, 760});
        PumpInput();
        AfxSetResourceHandle(m_savedHandle);
        FreeLibrary(m_module);
        DisplayTest::TearDown();
    }

    // Dispatches what waits, letting dialogs see their keys first.
    static void PumpInput() {
        MSG msg;
        while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                break;
            if (!AfxPreTranslateMessage(&msg))
                DispatchMessage(&msg);
        }
    }
    static void Key(UINT vk) {
        platform::InjectKey(vk, true);
        platform::InjectKey(vk, false);
    }
    // Keys are routed when injected and the shift state is read when they
    // are handled: the pump runs while shift is held.
    static void ShiftKey(UINT vk) {
        platform::InjectKey(VK_SHIFT, true);
        Key(vk);
        PumpInput();
        platform::InjectKey(VK_SHIFT, false);
    }
    static void Type(const char* gbk) { platform::InjectText(gbk); }

    static POINT CenterOf(HWND hwnd) {
        RECT r;
        GetWindowRect(hwnd, &r);
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    static void Click(HWND hwnd) {
        const POINT p = CenterOf(hwnd);
        platform::InjectMouse(platform::MouseAction::Move, p);
        platform::InjectMouse(platform::MouseAction::LeftDown, p);
        platform::InjectMouse(platform::MouseAction::LeftUp, p);
    }
    static void ClickAt(POINT screen) {
        platform::InjectMouse(platform::MouseAction::Move, screen);
        platform::InjectMouse(platform::MouseAction::LeftDown, screen);
        platform::InjectMouse(platform::MouseAction::LeftUp, screen);
    }
    static std::string TextOf(HWND hwnd) {
        char buffer[512] = "";
        GetWindowText(hwnd, buffer, sizeof buffer);
        return buffer;
    }

    HINSTANCE m_module = nullptr;
    HINSTANCE m_savedHandle = nullptr;

    // 100: a form; 101: no default button; 102: a list and a combo box.
    static constexpr const char8_t* kScript = u8R"(
        100 DIALOGEX 0, 0, 200, 110
        STYLE DS_MODALFRAME | WS_POPUP | DS_SETFONT | DS_CENTER
        CAPTION "测试"
        FONT 9, "宋体"
        BEGIN
            LTEXT "名字:", IDC_STATIC, 7, 9, 40, 10
            EDITTEXT 1001, 50, 7, 100, 14, ES_AUTOHSCROLL
            EDITTEXT 1002, 50, 25, 100, 14, ES_AUTOHSCROLL | ES_NUMBER
            AUTOCHECKBOX "声音", 1003, 7, 45, 60, 10
            AUTORADIOBUTTON "左", 1004, 7, 60, 40, 10, WS_GROUP
            AUTORADIOBUTTON "右", 1005, 50, 60, 40, 10
            DEFPUSHBUTTON "确定", IDOK, 40, 88, 50, 14, WS_GROUP
            PUSHBUTTON "取消", IDCANCEL, 110, 88, 50, 14
        END
        101 DIALOGEX 0, 0, 120, 60
        STYLE WS_POPUP | DS_SETFONT
        FONT 9, "宋体"
        BEGIN
            EDITTEXT 1001, 7, 7, 100, 14, ES_AUTOHSCROLL
            PUSHBUTTON "应用", 1010, 7, 30, 50, 14
        END
        102 DIALOGEX 0, 0, 200, 120
        STYLE WS_POPUP | DS_SETFONT
        FONT 9, "宋体"
        BEGIN
            LISTBOX 1020, 7, 7, 90, 60, LBS_NOTIFY | WS_VSCROLL | WS_TABSTOP
            COMBOBOX 1021, 105, 7, 80, 80, CBS_DROPDOWNLIST | WS_TABSTOP
        END
    )";
};

} // namespace platform_test
