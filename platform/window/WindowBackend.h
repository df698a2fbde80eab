#pragma once

// What a display backend (headless surfaces, SDL) and the drawing layer plug into
// the window tree. The tree keeps the state (rectangles, visibility, z-order,
// region, layered attributes, invalid areas); a backend is told when it changes
// and supplies device contexts. Every member has a do-nothing default, so the tree
// works without a backend (tests).

#include "platform/Types.h"

#include <vector>

class CDC;

namespace platform {

enum WindowChange : unsigned {
    kWindowMoved = 1u << 0,
    kWindowSized = 1u << 1,
    kWindowShown = 1u << 2,
    kWindowHidden = 1u << 3,
    kWindowZOrder = 1u << 4,
    kWindowRegion = 1u << 5,
    kWindowLayered = 1u << 6,
    kWindowText = 1u << 7,
};

class WindowBackend {
public:
    virtual ~WindowBackend() = default;
    virtual void WindowCreated(HWND) {}
    // Called before the handle dies; the window's state can still be read.
    virtual void WindowDestroyed(HWND) {}
    virtual void WindowChanged(HWND, unsigned /*WindowChange bits*/) {}

    // The device context of a paint: clipped to the invalid area (the rectangles
    // are in client coordinates). Null when nothing can be drawn.
    virtual HDC BeginPaintDC(HWND, const std::vector<RECT>& /*invalid*/) { return nullptr; }
    virtual void EndPaintDC(HWND, HDC) {}
    // Default handling of WM_ERASEBKGND: non-zero when the background was erased.
    virtual LRESULT EraseBackground(HWND, HDC) { return 0; }
    // The CDC wrapper the CWnd handlers receive for a device-context handle.
    virtual CDC* DCFromHandle(HDC) { return nullptr; }
    // Releases a region the tree no longer needs (replaced or window destroyed).
    virtual void DeleteRegion(HRGN) {}
};

// The backend in use (a do-nothing one by default); null restores the default.
void SetWindowBackend(WindowBackend* backend);
WindowBackend& GetWindowBackend();

// The region set with SetWindowRgn, still owned by the window.
HRGN GetWindowRegion(HWND hwnd);

} // namespace platform
