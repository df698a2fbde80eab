// Top-level window surfaces, paint and window device contexts.

#include "platform/display/WindowSurfaces.h"

#include "platform/Geometry.h"
#include "platform/gdi/Dc.h"
#include "platform/gdi/GdiObject.h"
#include "platform/gdi/WindowDc.h"
#include "platform/window/SystemMetrics.h"
#include "platform/window/Window.h"
#include "platform/window/WindowVisibility.h"

#include <algorithm>
#include <utility>

namespace platform {

namespace {

RECT Union(const RECT& a, const RECT& b) {
    if (a.left >= a.right || a.top >= a.bottom)
        return b;
    return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

// Past this many dirty rectangles they become their bounding box.
constexpr size_t kMaxDirtyRects = 16;

RECT RectInParent(HWND hwnd) {
    RECT rect{};
    WindowRectInParent(hwnd, &rect);
    return rect;
}

void InvalidateChildren(HWND hwnd) {
    for (HWND child : ChildWindowList(hwnd)) {
        if (!HasVisibleStyle(child))
            continue;
        InvalidateRect(child, nullptr, TRUE);
        InvalidateChildren(child);
    }
}

// Invalidates what of a visible window and its descendants lies in area (its
// parent's coordinates).
void InvalidateArea(HWND hwnd, RECT area) {
    if (!HasVisibleStyle(hwnd))
        return;
    const RECT rect = RectInParent(hwnd);
    RECT inner{0, 0, rect.right - rect.left, rect.bottom - rect.top};
    ClientAreaInWindow(hwnd, &inner);
    OffsetRect(&area, -rect.left - inner.left, -rect.top - inner.top);
    RECT client{0, 0, inner.right - inner.left, inner.bottom - inner.top};
    RECT overlap;
    if (!IntersectRect(&overlap, &client, &area))
        return;
    InvalidateRect(hwnd, &overlap, TRUE);
    for (HWND child : ChildWindowList(hwnd))
        InvalidateArea(child, overlap);
}

} // namespace

WindowSurfaces::~WindowSurfaces() {
    for (auto& [hdc, lent] : m_lent)
        DeleteDC(hdc);
    for (auto& [hwnd, top] : m_tops)
        DeleteObject(top.bitmap);
}

WindowSurfaces::TopSurface* WindowSurfaces::Ensure(HWND topLevel) {
    RECT rect;
    if (!WindowRectInParent(topLevel, &rect) || ParentWindowOf(topLevel) ||
        rect.right <= rect.left || rect.bottom <= rect.top)
        return nullptr;
    TopSurface& top = m_tops[topLevel];
    if (!top.bitmap)
        Resize(topLevel, top);
    return top.bitmap ? &top : nullptr;
}

// A new surface of the window's size keeps the pixels the old one shares with it.
void WindowSurfaces::Resize(HWND topLevel, TopSurface& top) {
    const RECT rect = RectInParent(topLevel);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    Surface* old = top.bitmap ? SurfaceOfBitmap(top.bitmap) : nullptr;
    if (old && old->Width() == width && old->Height() == height)
        return;
    HBITMAP bitmap = nullptr;
    if (width > 0 && height > 0) {
        HDC screen = ::GetDC(nullptr);
        bitmap = CreateCompatibleBitmap(screen, width, height);
        ::ReleaseDC(nullptr, screen);
    }
    Surface* now = bitmap ? SurfaceOfBitmap(bitmap) : nullptr;
    if (now) {
        for (int y = 0; y < height; ++y)
            std::fill_n(now->Row32(y), width, kWhitePixel);
        if (old) {
            const int w = std::min(width, old->Width()), h = std::min(height, old->Height());
            for (int y = 0; y < h; ++y)
                std::copy_n(old->Row32(y), w, now->Row32(y));
        }
    }
    DeleteObject(top.bitmap);
    top.bitmap = bitmap;
    top.dirty.clear();
    if (now)
        MarkDirty(topLevel, RECT{0, 0, width, height});
}

Surface* WindowSurfaces::SurfaceOf(HWND topLevel) {
    TopSurface* top = Ensure(topLevel);
    return top ? SurfaceOfBitmap(top->bitmap) : nullptr;
}

std::vector<RECT> WindowSurfaces::TakeDirty(HWND topLevel) {
    auto it = m_tops.find(topLevel);
    if (it == m_tops.end())
        return {};
    return std::exchange(it->second.dirty, {});
}

void WindowSurfaces::MarkDirty(HWND topLevel, const RECT& rect) {
    if (rect.left >= rect.right || rect.top >= rect.bottom)
        return;
    auto& dirty = m_tops[topLevel].dirty;
    dirty.push_back(rect);
    if (dirty.size() > kMaxDirtyRects) {
        RECT bounds{};
        for (const RECT& r : dirty)
            bounds = Union(bounds, r);
        dirty = {bounds};
    }
    SurfaceChanged(topLevel);
}

void WindowSurfaces::WindowCreated(HWND hwnd) {
    if (ParentWindowOf(hwnd))
        m_lastRect[hwnd] = RectInParent(hwnd);
}

void WindowSurfaces::FlashWindow(HWND hwnd, bool on) {
    if (on)
        ++m_flashes[hwnd];
}

int WindowSurfaces::FlashCount(HWND topLevel) const {
    auto it = m_flashes.find(topLevel);
    return it == m_flashes.end() ? 0 : it->second;
}

void WindowSurfaces::WindowDestroyed(HWND hwnd) {
    m_lastRect.erase(hwnd);
    m_flashes.erase(hwnd);
    auto it = m_tops.find(hwnd);
    if (it == m_tops.end())
        return;
    DeleteObject(it->second.bitmap); // DCs still out keep the pixels alive
    m_tops.erase(it);
}

void WindowSurfaces::WindowChanged(HWND hwnd, unsigned changes) {
    auto it = m_tops.find(hwnd);
    if (it != m_tops.end() && (changes & kWindowSized))
        Resize(hwnd, it->second);
    if (IsWindow(hwnd))
        InvalidateExposed(hwnd, changes);
}

// The tree invalidates a window and its parent's area when it moves or shows;
// drawing keeps off children and siblings above, so their pixels must be
// redrawn too: the window's own children, and the siblings it uncovered.
void WindowSurfaces::InvalidateExposed(HWND hwnd, unsigned changes) {
    constexpr unsigned kGeometry =
        kWindowMoved | kWindowSized | kWindowShown | kWindowHidden | kWindowRegion;
    if (changes & (kGeometry | kWindowZOrder))
        InvalidateChildren(hwnd);
    HWND parent = ParentWindowOf(hwnd);
    if (!parent)
        return;
    const RECT rect = RectInParent(hwnd);
    RECT area = rect;
    if (auto last = m_lastRect.find(hwnd); last != m_lastRect.end()) {
        area = Union(area, last->second);
        last->second = rect;
    }
    if (changes & kWindowZOrder)
        InvalidateRect(hwnd, nullptr, TRUE);
    if (changes & kGeometry) {
        InvalidateRect(parent, &area, TRUE);
        for (HWND sibling : ChildWindowList(parent))
            if (sibling != hwnd)
                InvalidateArea(sibling, area);
    }
}

HDC WindowSurfaces::MakeDC(HWND hwnd, const std::vector<RECT>* invalid, bool wholeWindow,
                           bool clipChildren) {
    RECT client{};
    if (!ClientAreaInWindow(hwnd, &client))
        return nullptr;
    POINT offset;
    HWND topLevel = TopLevelWindowOf(hwnd, &offset);
    if (!topLevel)
        return nullptr;
    TopSurface* top = Ensure(topLevel);
    if (!top)
        return nullptr;
    Region visible =
        wholeWindow ? VisibleRegion(hwnd, clipChildren) : VisibleClientRegion(hwnd, clipChildren);
    if (!wholeWindow) {
        offset.x += client.left;
        offset.y += client.top;
    }
    if (invalid)
        visible =
            Region::Combine(visible, Region::FromRects(invalid->data(), invalid->size()), RGN_AND);
    HRGN visibleHandle = NewRegionHandle(visible);
    HDC hdc = CreateSurfaceDC(top->bitmap, offset, visibleHandle);
    DeleteObject(visibleHandle);
    if (!hdc)
        return nullptr;
    // A DC that may touch a few parts only marks those dirty, so that a
    // presenting driver shows them again and not what lies between.
    std::vector<RECT> area;
    if (visible.Rects().size() <= kMaxDirtyRects)
        area = visible.Rects();
    else
        area = {visible.Bounds()};
    for (RECT& r : area)
        OffsetRect(&r, offset.x, offset.y);
    m_lent[hdc] = LentDC{hwnd, topLevel, std::move(area)};
    return hdc;
}

void WindowSurfaces::ReturnDC(HDC hdc) {
    auto it = m_lent.find(hdc);
    if (it == m_lent.end())
        return;
    const LentDC lent = std::move(it->second);
    m_lent.erase(it);
    ForgetTempDCWrapper(hdc);
    DeleteDC(hdc);
    if (m_tops.count(lent.topLevel))
        for (const RECT& r : lent.area)
            MarkDirty(lent.topLevel, r);
}

HDC WindowSurfaces::BeginPaintDC(HWND hwnd, const std::vector<RECT>& invalid) {
    return MakeDC(hwnd, &invalid, false);
}

void WindowSurfaces::EndPaintDC(HWND, HDC hdc) {
    ReturnDC(hdc);
}

HDC WindowSurfaces::GetWindowDC(HWND hwnd, bool wholeWindow) {
    return MakeDC(hwnd, nullptr, wholeWindow);
}

HDC WindowSurfaces::GetDCOverChildren(HWND hwnd) {
    return MakeDC(hwnd, nullptr, false, false);
}

HDC WindowSurfaces::GetDCInside(HWND hwnd, const std::vector<RECT>& area) {
    return MakeDC(hwnd, &area, false);
}

int WindowSurfaces::ReleaseWindowDC(HWND, HDC hdc) {
    if (!m_lent.count(hdc))
        return 0;
    ReturnDC(hdc);
    return 1;
}

HWND WindowSurfaces::WindowOfDC(HDC hdc) {
    auto it = m_lent.find(hdc);
    return it == m_lent.end() ? nullptr : it->second.window;
}

LRESULT WindowSurfaces::EraseBackground(HWND hwnd, HDC hdc) {
    char className[256];
    WNDCLASS wc{};
    HBRUSH brush = nullptr;
    if (GetClassName(hwnd, className, sizeof className) > 0 &&
        GetClassInfo(nullptr, className, &wc))
        brush = wc.hbrBackground;
    COLORREF color = RGB(255, 255, 255);
    const bool plain = !brush || SystemColorOfBrushValue(brush, &color);
    RECT client;
    if (!GetClientRect(hwnd, &client))
        return 0;
    if (plain) {
        HBRUSH solid = CreateSolidBrush(color);
        FillRect(hdc, &client, solid);
        DeleteObject(solid);
        return 1;
    }
    return FillRect(hdc, &client, brush) ? 1 : 0;
}

CDC* WindowSurfaces::DCFromHandle(HDC hdc) {
    return CDC::FromHandle(hdc);
}

void WindowSurfaces::DeleteRegion(HRGN region) {
    DeleteObject(region);
}

} // namespace platform
