#pragma once

// End-to-end helpers for the SDL display under a real X server of the test's
// own: the native window of a top-level window, SDL mouse events as the
// server would send them, the real message loop run until a message comes,
// and the X screen's pixels read back with a bounded wait for a loaded
// server to show them.
//
// Include it last: Xlib's macros (None, Bool, Status) break headers after it.

#include "tests/support/MessageLog.h"
#include "tests/support/OwnXServer.h"

#include "platform/display/Display.h"
#include "platform/window/Window.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace platform_test {

// Runs on the SDL display of an X server of the test's own, so that the
// pointer it moves and the pixels it reads meet no other test's or program's
// of the run; skipped without Xvfb.
class SdlScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!HaveXvfb())
            GTEST_SKIP() << "no Xvfb (the install step adds it)";
        m_server = std::make_unique<OwnXServer>();
        ASSERT_FALSE(m_server->Number().empty()) << "the X server did not start";
        const char* shared = std::getenv("DISPLAY");
        m_sharedDisplay = shared ? shared : "";
        setenv("DISPLAY", m_server->Name().c_str(), 1);
        ASSERT_EQ(platform::StartDisplay(platform::DisplayKind::Sdl), platform::DisplayKind::Sdl);
    }
    void TearDown() override {
        platform::StopDisplay();
        if (!m_server)
            return;
        m_server.reset();
        if (m_sharedDisplay.empty())
            unsetenv("DISPLAY");
        else
            setenv("DISPLAY", m_sharedDisplay.c_str(), 1);
    }

private:
    std::unique_ptr<OwnXServer> m_server;
    std::string m_sharedDisplay;
};

constexpr UINT_PTR kGiveUpTimer = 1, kSettleTimer = 2;

inline SDL_Window* NativeWindowTitled(const char* title) {
    for (Uint32 id = 1; id < 64; ++id)
        if (SDL_Window* window = SDL_GetWindowFromID(id))
            if (strcmp(SDL_GetWindowTitle(window), title) == 0)
                return window;
    return nullptr;
}

// Runs the real message loop (waiting in SDL) until the message comes or the
// give-up timer fires; true when it came.
inline bool RunUntil(HWND hwnd, UINT message, WPARAM wParam, std::vector<Delivered>& log) {
    SetTimer(hwnd, kGiveUpTimer, 5000, nullptr);
    MSG msg;
    while (GetMessage(&msg, nullptr, 0, 0)) {
        DispatchMessage(&msg);
        for (const Delivered& d : log)
            if (d.message == message && (message != WM_TIMER || d.wParam == wParam)) {
                KillTimer(hwnd, kGiveUpTimer);
                return true;
            }
        if (msg.message == WM_TIMER && msg.wParam == kGiveUpTimer)
            break;
    }
    KillTimer(hwnd, kGiveUpTimer);
    return false;
}

inline unsigned long RootPixel(Display* x, int px, int py) {
    XImage* image = XGetImage(x, DefaultRootWindow(x), px, py, 1, 1, AllPlanes, ZPixmap);
    if (!image)
        return ~0ul;
    const unsigned long pixel = XGetPixel(image, 0, 0) & 0xFFFFFF;
    XDestroyImage(image);
    return pixel;
}

// Lets the loop go idle until the X screen shows colour at (px, py): a loaded
// X server may show what was presented a few turns later. Bounded to about
// ten seconds, which a loaded machine may need; the caller's checks say what
// was seen.
inline void SettleUntilShown(HWND hwnd, std::vector<Delivered>& log, Display* x, int px, int py,
                             unsigned long colour) {
    for (int turn = 0; turn < 200 && RootPixel(x, px, py) != colour; ++turn) {
        std::erase_if(log, [](const Delivered& d) {
            return d.message == WM_TIMER && d.wParam == kSettleTimer;
        });
        SetTimer(hwnd, kSettleTimer, 50, nullptr);
        const bool ticked = RunUntil(hwnd, WM_TIMER, kSettleTimer, log);
        KillTimer(hwnd, kSettleTimer);
        if (!ticked)
            return;
    }
}

// A left-button event (or a motion with the button held) at a point of the
// native window.
inline SDL_Event MouseEvent(SDL_Window* native, Uint32 type, int x, int y) {
    SDL_Event e{};
    if (type == SDL_MOUSEMOTION) {
        e.motion.type = type;
        e.motion.windowID = SDL_GetWindowID(native);
        e.motion.state = SDL_BUTTON_LMASK;
        e.motion.x = x;
        e.motion.y = y;
    } else {
        e.button.type = type;
        e.button.windowID = SDL_GetWindowID(native);
        e.button.button = SDL_BUTTON_LEFT;
        e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        e.button.clicks = 1;
        e.button.x = x;
        e.button.y = y;
    }
    return e;
}

// Drags a window from the screen point `from` along `path` and releases at
// its last point. Each event is pushed once the one before has been handled
// (the move loop's start, then each move), in the coordinates of the window
// where it then is, as the X server reports them; the X pointer is put at the
// same place, since SDL also reports the real pointer while captured. Runs
// until the move loop ends; the number of steps taken (path and release).
// When a step brings no answer before the give-up timer (a loaded X server
// may lose one), the button is released there, so the loop ends and the
// steps not taken are told instead of the test hanging in the loop.
inline size_t DragWindow(RecordingWnd& wnd, SDL_Window* native, POINT from,
                         const std::vector<POINT>& path, std::vector<Delivered>& log) {
    size_t next = 0;
    bool gaveUp = false;
    auto pushNext = [&] {
        RECT r;
        wnd.GetWindowRect(&r);
        if (next < path.size()) {
            SDL_WarpMouseGlobal(path[next].x, path[next].y);
            SDL_Event e =
                MouseEvent(native, SDL_MOUSEMOTION, path[next].x - r.left, path[next].y - r.top);
            ++next;
            SDL_PushEvent(&e);
        } else if (next == path.size()) {
            SDL_Event e = MouseEvent(native, SDL_MOUSEBUTTONUP, path.back().x - r.left,
                                     path.back().y - r.top);
            ++next;
            SDL_PushEvent(&e);
        }
        return LRESULT(0);
    };
    wnd.hooks[WM_ENTERSIZEMOVE] = [&](WPARAM, LPARAM) { return pushNext(); };
    wnd.hooks[WM_MOVE] = [&](WPARAM, LPARAM) { return pushNext(); };
    wnd.hooks[WM_TIMER] = [&](WPARAM id, LPARAM) {
        if (id == kGiveUpTimer && !gaveUp && next <= path.size()) {
            gaveUp = true;
            const size_t taken = next;
            next = path.size();
            pushNext();
            next = taken; // the release is no step taken
        }
        return LRESULT(0);
    };
    RECT r;
    wnd.GetWindowRect(&r);
    SDL_WarpMouseGlobal(from.x, from.y);
    SDL_Event press = MouseEvent(native, SDL_MOUSEBUTTONDOWN, from.x - r.left, from.y - r.top);
    if (SDL_PushEvent(&press) == 1)
        RunUntil(wnd, WM_EXITSIZEMOVE, 0, log);
    wnd.hooks.erase(WM_ENTERSIZEMOVE);
    wnd.hooks.erase(WM_MOVE);
    wnd.hooks.erase(WM_TIMER);
    return next;
}

} // namespace platform_test
