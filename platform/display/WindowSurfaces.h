#pragma once

// The headless display driver, and the drawing side of the SDL one: every
// top-level window owns a 32-bit surface of its size, made on first use, and
// its children draw into it at their offsets, clipped to what of them shows
// (platform/window/WindowVisibility.h). Paint DCs (BeginPaint), window DCs
// (GetDC, GetWindowDC) and the default background erase come from here. What
// was drawn is remembered as dirty rectangles per top-level window, for a
// driver that shows windows on a screen (SDL) to present; the headless driver
// only keeps the pixels.

#include "platform/DisplayDriver.h"
#include "platform/gdi/Surface.h"

#include <map>
#include <vector>

namespace platform {

class WindowSurfaces : public DisplayDriver {
public:
    WindowSurfaces() = default;
    ~WindowSurfaces() override;

    void WindowCreated(HWND hwnd) override;
    void WindowDestroyed(HWND hwnd) override;
    void WindowChanged(HWND hwnd, unsigned changes) override;
    HDC BeginPaintDC(HWND hwnd, const std::vector<RECT>& invalid) override;
    void EndPaintDC(HWND hwnd, HDC hdc) override;
    // Fills with the class background brush (white when the class has none).
    LRESULT EraseBackground(HWND hwnd, HDC hdc) override;
    CDC* DCFromHandle(HDC hdc) override;
    void DeleteRegion(HRGN region) override;

    // GetDC (the client area) or GetWindowDC (the whole window, frame
    // included), and ReleaseDC of windows.
    HDC GetWindowDC(HWND hwnd, bool wholeWindow) override;
    HDC GetDCOverChildren(HWND hwnd) override;
    HDC GetDCInside(HWND hwnd, const std::vector<RECT>& area) override;
    int ReleaseWindowDC(HWND hwnd, HDC hdc) override;
    HWND WindowOfDC(HDC hdc) override;

    // Without a taskbar a request for attention is only counted, so that it
    // can be seen; FlashCount gives the requests since the window was made.
    void FlashWindow(HWND hwnd, bool on) override;
    int FlashCount(HWND topLevel) const;

    // The surface of a top-level window, made on first use; null for a child
    // window, an empty window or a bad handle.
    Surface* SurfaceOf(HWND topLevel);
    // Takes the rectangles drawn on since the last call (surface coordinates).
    std::vector<RECT> TakeDirty(HWND topLevel);

protected:
    // A top-level window's surface changed in the given rectangle.
    virtual void SurfaceChanged(HWND /*topLevel*/) {}

private:
    struct TopSurface {
        HBITMAP bitmap = nullptr;
        std::vector<RECT> dirty;
    };
    // A window DC handed out: the top-level it draws on and the area it may touch.
    struct LentDC {
        HWND window;
        HWND topLevel;
        // Surface coordinates: what it may touch, as a few rectangles or their bounds.
        std::vector<RECT> area;
    };

    TopSurface* Ensure(HWND topLevel);
    void Resize(HWND topLevel, TopSurface& top);
    HDC MakeDC(HWND hwnd, const std::vector<RECT>* invalid, bool wholeWindow,
               bool clipChildren = true);
    void ReturnDC(HDC hdc);
    void MarkDirty(HWND topLevel, const RECT& rect);

    void InvalidateExposed(HWND hwnd, unsigned changes);

    std::map<HWND, TopSurface> m_tops;
    std::map<HWND, RECT> m_lastRect; // children: where they were at the last change
    std::map<HDC, LentDC> m_lent;
    std::map<HWND, int> m_flashes;
};

// The surfaces of the display started (Display.h); null without one.
WindowSurfaces* GetWindowSurfaces();

} // namespace platform
