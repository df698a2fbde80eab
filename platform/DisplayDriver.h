#pragma once

// The display driver: everything the window manager, the drawing layer, the
// message loop, the clipboard, the cursor and the sound output ask of the
// screen, in one table. The process has one driver at a time. The base class
// is the null driver (no pixels, no events of its own, no desktop clipboard,
// no cursor to show, no audio), so the window tree works without a display
// (tests). The headless driver (display/WindowSurfaces.h) keeps windows' pixels in
// memory and is started by default; the SDL driver (display/SdlBackend.cpp) adds
// native windows, input, cursors, the desktop clipboard and audio on top of it.
// Drivers see windows only through the window manager's public calls
// (Window.h, WindowVisibility.h).
//
// Every member runs on the user-interface thread.

#include "platform/Types.h"

#include <optional>
#include <string>
#include <vector>

class CDC;

namespace platform {

class SoundMixer;

// What changed about a window, for WindowChanged.
enum WindowChange : unsigned {
    kWindowMoved = 1u << 0,
    kWindowSized = 1u << 1,
    kWindowShown = 1u << 2,
    kWindowHidden = 1u << 3,
    kWindowZOrder = 1u << 4,
    kWindowRegion = 1u << 5,
    kWindowLayered = 1u << 6,
    kWindowText = 1u << 7,
    kWindowIconic = 1u << 8, // minimised, or restored from it (IsIconic tells which)
};

class DisplayDriver {
public:
    virtual ~DisplayDriver() = default;

    // The window tree. The tree keeps the state (rectangles, visibility,
    // z-order, region, layered attributes, invalid areas); the driver is told
    // when it changes.
    virtual void WindowCreated(HWND) {}
    // Called before the handle dies; the window's state can still be read.
    virtual void WindowDestroyed(HWND) {}
    virtual void WindowChanged(HWND, unsigned /*WindowChange bits*/) {}

    // Painting. The device context of a paint is clipped to the invalid area
    // (rectangles in client coordinates); null when nothing can be drawn.
    virtual HDC BeginPaintDC(HWND, const std::vector<RECT>& /*invalid*/) { return nullptr; }
    virtual void EndPaintDC(HWND, HDC) {}
    // Default handling of WM_ERASEBKGND: non-zero when the background was erased.
    virtual LRESULT EraseBackground(HWND, HDC) { return 0; }
    // The CDC wrapper the CWnd handlers receive for a device-context handle.
    virtual CDC* DCFromHandle(HDC) { return nullptr; }
    // Releases a region the tree no longer needs (replaced or window destroyed).
    virtual void DeleteRegion(HRGN) {}

    // GetDC (wholeWindow false) and GetWindowDC of a window, and ReleaseDC of
    // what they gave (1 when it was one of them, else 0).
    virtual HDC GetWindowDC(HWND, bool /*wholeWindow*/) { return nullptr; }
    // GetDCEx without DCX_CLIPCHILDREN: the client area, children included.
    virtual HDC GetDCOverChildren(HWND) { return nullptr; }
    // GetDCEx with DCX_INTERSECTRGN: the client area inside the rectangles.
    virtual HDC GetDCInside(HWND, const std::vector<RECT>& /*area*/) { return nullptr; }
    virtual int ReleaseWindowDC(HWND, HDC) { return 0; }
    // The window a lent DC (paint or window DC) draws on; null for any other DC.
    virtual HWND WindowOfDC(HDC) { return nullptr; }

    // The message loop's blocking wait, for a driver with an event queue of its
    // own. Wait blocks until the driver has events, a watched or the wake-up
    // descriptor is ready (WaitForWatchedFds in EventLoop.h tells that from a
    // helper thread), or timeoutMs real milliseconds pass (-1: no limit), and
    // returns true; false (at once) leaves the wait to the loop's plain poll.
    // Pump turns at most one waiting driver event into messages without
    // blocking; true when it took one.
    virtual bool Wait(int /*timeoutMs*/) { return false; }
    virtual bool Pump() { return false; }

    // The desktop's text clipboard, as UTF-8. GetClipboardText gives nullopt
    // when there is no desktop clipboard or it cannot be read, "" when it
    // holds no text.
    virtual void SetClipboardText(const std::string& /*utf8*/) {}
    virtual std::optional<std::string> GetClipboardText() { return std::nullopt; }

    // A top-level window's icon changed (WM_SETICON): the big one, else the
    // small one; null for none. The icon stays the window's owner's.
    virtual void SetWindowIcon(HWND, HICON) {}
    // FlashWindow: a top-level window asks for the user's attention (on) or
    // stops asking.
    virtual void FlashWindow(HWND, bool /*on*/) {}

    // The cursor shape to show (null: none), and whether it shows.
    virtual void ShowCursorShape(HCURSOR, bool /*visible*/) {}

    // Sound: between OpenAudio and CloseAudio the driver's device pulls mixed
    // frames from the mixer on its own thread. False when there is no device.
    virtual bool OpenAudio(SoundMixer&) { return false; }
    virtual void CloseAudio() {}
};

// The installed driver: the null driver until one is installed. Installing
// is the window manager's (SetDisplayDriver, window/DisplayInstall.h), which
// tells the cursor and the clipboard; this is only the slot it fills.
DisplayDriver& GetDisplayDriver();
void FillDisplayDriverSlot(DisplayDriver* driver);

} // namespace platform
