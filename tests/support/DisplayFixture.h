#pragma once

// A headless display on a manual clock, and a window that paints itself in
// one colour, for the display tests.

#include "tests/support/MessageLog.h"

#include "platform/display/Display.h"
#include "platform/display/WindowSurfaces.h"
#include "platform/window/WindowDcs.h"

#include <gtest/gtest.h>

namespace platform_test {

class DisplayTest : public ::testing::Test {
protected:
    platform::ManualClock clock;
    platform::ScopedClock useClock{clock};

    void SetUp() override { platform::StartDisplay(platform::DisplayKind::Headless); }
    void TearDown() override {
        PumpPending();
        platform::StopDisplay();
    }

    // The pixel (0x00RRGGBB) at a point of a top-level window's surface.
    static uint32_t PixelOf(HWND topLevel, int x, int y) {
        platform::Surface* s = platform::GetWindowSurfaces()->SurfaceOf(topLevel);
        return s ? s->GetPixel(x, y) & platform::kRgbMask : 0xDEADBEEF;
    }
    static void FillThroughGetDC(HWND hwnd, COLORREF color) {
        CClientDC dc(CWnd::FromHandle(hwnd));
        RECT client;
        GetClientRect(hwnd, &client);
        dc.FillSolidRect(&client, color);
    }
};

// Paints its whole client area in one colour through CPaintDC, and keeps the
// paint rectangle it was given.
class SolidWnd : public RecordingWnd {
public:
    COLORREF color = RGB(255, 0, 0);
    bool eraseItself = false; // WM_ERASEBKGND returns 1 without erasing
    RECT lastPaint{};
    int paints = 0;

    void OnPaint() override {
        CPaintDC dc(this);
        lastPaint = dc.m_ps.rcPaint;
        ++paints;
        RECT client;
        GetClientRect(&client);
        dc.FillSolidRect(&client, color);
    }
    BOOL OnEraseBkgnd(CDC* dc) override { return eraseItself ? TRUE : CWnd::OnEraseBkgnd(dc); }

    BOOL Top(RECT r, DWORD exStyle = 0, LPCTSTR className = nullptr) {
        return CreateEx(exStyle, className, "solid", WS_POPUP | WS_VISIBLE, r.left, r.top,
                        r.right - r.left, r.bottom - r.top, nullptr, nullptr);
    }
    BOOL Child(CWnd* parent, RECT r, UINT id = 1) {
        return Create(nullptr, "child", WS_CHILD | WS_VISIBLE, r, parent, id);
    }
};

} // namespace platform_test
