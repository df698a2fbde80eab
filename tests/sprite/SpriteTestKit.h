#pragma once

// Test helpers: a sprite window that records its hooks and shows the pixels
// its window hands the (headless) display, plain images that count their
// drawing, bitmaps of given colours, and a stepped clock with a pump.

#include "platform/display/Display.h"
#include "platform/display/WindowSurfaces.h"
#include "platform/gdi/Surface.h"
#include "platform/gdi/WindowDc.h"
#include "platform/system/Clock.h"
#include "sprite/SpriteWnd.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace sprite_test {

inline int PumpPending() {
    MSG msg;
    int count = 0;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT)
            break;
        DispatchMessage(&msg);
        ++count;
    }
    return count;
}

// Pixels are compared as 0x00RRGGBB.
constexpr uint32_t Rgb(COLORREF c) {
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

// One colour per frame, drawn as a filled rectangle; counts its drawing.
class SolidImage : public CSpriteImage {
public:
    SolidImage(int cx, int cy, std::vector<COLORREF> colors, int delay = 0)
        : m_cx(cx), m_cy(cy), m_colors(std::move(colors)), m_delay(delay) {}
    SIZE GetSize(SPRITEINFO*) override { return SIZE{m_cx, m_cy}; }
    int GetFrameCount(SPRITEINFO*) override { return int(m_colors.size()); }
    int GetFrameDelay(int) override { return m_delay; }
    void Draw(HDC hdc, int nFrame, SPRITEINFO*, int dx, int dy, int w, int h, int, int,
              int) override {
        ++draws;
        HBRUSH brush = CreateSolidBrush(m_colors[size_t(nFrame)]);
        RECT r{dx, dy, dx + w, dy + h};
        FillRect(hdc, &r, brush);
        DeleteObject(brush);
    }
    int draws = 0;

private:
    int m_cx, m_cy;
    std::vector<COLORREF> m_colors;
    int m_delay;
};

struct HookEvent {
    std::string what;
    POSITION pos;
    int a;
    int b;
};

class TestSpriteWnd : public CSpriteWnd {
public:
    std::vector<HookEvent> events;
    std::function<void(POSITION, int)> onEnd;
    std::function<void(int, int)> onItemEnd;

    BOOL CreateTable(int cx = 400, int cy = 300) {
        return CreateEx(0, nullptr, "table", WS_POPUP | WS_VISIBLE, 0, 0, cx, cy, nullptr, nullptr);
    }
    uint32_t Pixel(int x, int y) const { return Frame().GetPixel(x, y) & 0xFFFFFF; }
    // What the window shows: its surface on the display (a top-level window).
    platform::Surface& Frame() const { return *platform::GetWindowSurfaces()->SurfaceOf(m_hWnd); }
    // Overwrites what the window shows, to see what a flush paints again.
    void FillFrame(uint32_t pixel) {
        platform::Surface& frame = Frame();
        for (int y = 0; y < frame.Height(); ++y)
            for (int x = 0; x < frame.Width(); ++x)
                frame.SetPixel(x, y, pixel);
    }
    POSITION AddImage(CSpriteImage* image) { return GetImageList().Add(image); }
    int Count(const std::string& what) const {
        int n = 0;
        for (const HookEvent& e : events)
            n += e.what == what;
        return n;
    }
    using CSpriteWnd::HitTest;
    using CSpriteWnd::PaintRect;

protected:
    void OnSpriteEnd(POSITION pos, int nParam) override {
        events.push_back({"end", pos, nParam, 0});
        if (onEnd)
            onEnd(pos, nParam);
        CSpriteWnd::OnSpriteEnd(pos, nParam); // the play's callback
    }
    void OnGroupEnd(int id) override {
        events.push_back({"groupEnd", nullptr, id, 0});
        CSpriteWnd::OnGroupEnd(id);
    }
    void OnGroupItemEnd(int id, int value) override {
        events.push_back({"itemEnd", nullptr, id, value});
        if (onItemEnd)
            onItemEnd(id, value);
    }
    void OnUserTimer(UINT_PTR id) override { events.push_back({"user", nullptr, int(id), 0}); }
    void OnMouseMoveEx(UINT, int x, int y) override { events.push_back({"move", nullptr, x, y}); }
    void OnLButtonDownEx(UINT, int x, int y) override {
        events.push_back({"ldown", nullptr, x, y});
    }
    void OnKeyDownEx(UINT key, UINT, UINT) override {
        events.push_back({"key", nullptr, int(key), 0});
    }
    void DrawBackground(CDC* pDC, int cx, int cy) override {
        pDC->FillSolidRect(0, 0, cx, cy, kBackground);
    }

public:
    static constexpr COLORREF kBackground = RGB(0, 96, 0);
};

// A sprite window on a stepped clock.
class SpriteWndTestBase : public ::testing::Test {
protected:
    void SetUp() override {
        platform::StartDisplay(platform::DisplayKind::Headless);
        PumpPending();
        ASSERT_TRUE(wnd.CreateTable());
        PumpPending();
    }
    void TearDown() override {
        if (wnd.m_hWnd)
            wnd.DestroyWindow();
        PumpPending();
        platform::StopDisplay();
    }
    // Steps the clock a millisecond at a time, pumping after each.
    void Run(int ms) {
        for (int t = 0; t < ms; ++t) {
            clock.Advance(1);
            PumpPending();
        }
    }
    POSITION AddStraight(POSITION image, int fromX, int fromY, int toX, int toY, int duration,
                         int after, int z = 0, int passes = 1, BOOL autoRemove = FALSE) {
        CSpriteLine* line = CreateSpriteLine(kLineStraight);
        line->Init(fromX, fromY, 0, toX, toY, 0, duration, after, 255, 255);
        return wnd.AddSprite(image, line, 0, z, passes, 0, "s", autoRemove);
    }
    POSITION AddFixed(POSITION image, int x, int y, int z = 0, int passes = 1) {
        CSpriteLine* line = CreateSpriteLine(kLineFixed);
        line->SetFrom(x, y, 0, 255);
        return wnd.AddSprite(image, line, 0, z, passes, 0, nullptr, FALSE);
    }

    platform::ManualClock clock;
    platform::ScopedClock scoped{clock};
    TestSpriteWnd wnd;
};

// A 32-bit bitmap whose pixels come from a function of (x, y) -> COLORREF.
template <typename Color> HBITMAP MakeBitmap(int cx, int cy, Color color) {
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, cx, cy);
    ReleaseDC(nullptr, screen);
    platform::Surface* surface = platform::SurfaceOfBitmap(bitmap);
    for (int y = 0; y < cy; ++y)
        for (int x = 0; x < cx; ++x)
            surface->SetPixel(x, y, Rgb(color(x, y)));
    return bitmap;
}

} // namespace sprite_test
