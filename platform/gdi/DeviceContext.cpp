// Device contexts: creation, selection, saved states, colours and modes.

#include "platform/gdi/DeviceContext.h"

#include "platform/DisplayDriver.h"
#include "platform/gdi/DcEx.h"
#include "platform/gdi/GdiObject.h"
#include "platform/gdi/HandleTable.h"
#include "platform/gdi/WindowDc.h"

#include <cstring>
#include <strings.h>

namespace platform {
namespace {

HandleTable<DeviceContext>& Dcs() {
    static auto* table = new HandleTable<DeviceContext>;
    return *table;
}

SIZE g_screenSize{1024, 768};

std::unique_ptr<DeviceContext> NewMemoryDC(DeviceContext::Kind kind) {
    auto dc = std::make_unique<DeviceContext>(kind);
    dc->Select(dc->state.bitmap, StockBitmap());
    dc->Select(dc->state.brush, LookupGdiObject(GetStockObject(WHITE_BRUSH)));
    dc->Select(dc->state.pen, LookupGdiObject(GetStockObject(BLACK_PEN)));
    dc->Select(dc->state.font, LookupGdiObject(GetStockObject(SYSTEM_FONT)));
    return dc;
}

} // namespace

DeviceContext::DeviceContext(Kind kind) : kind(kind) {}

DeviceContext::~DeviceContext() {
    for (const DcState& s : saved)
        ReleaseObjects(s);
    ReleaseObjects(state);
    ReleaseSelection(windowTarget);
}

Surface* DeviceContext::Target() const {
    GdiObject* object = windowTarget ? windowTarget : state.bitmap;
    return object ? static_cast<BitmapObject*>(object)->surface.get() : nullptr;
}

Surface& DeviceContext::TargetOrDummy() const {
    static Surface empty(0, 0, PixelFormat::Xrgb32());
    Surface* s = Target();
    return s ? *s : empty;
}

std::optional<Region> DeviceContext::DeviceClip() const {
    if (visible && state.clip)
        return Region::Combine(*visible, *state.clip, RGN_AND);
    if (visible)
        return visible;
    return state.clip;
}

const std::vector<RECT>& DeviceContext::ClipRects() {
    if (m_clipValid)
        return m_clipRects;
    const Surface& s = TargetOrDummy();
    RECT bounds{0, 0, s.Width(), s.Height()};
    std::optional<Region> clip = DeviceClip();
    if (!clip) {
        m_clipRects.clear();
        if (s.Width() > 0 && s.Height() > 0)
            m_clipRects.push_back(bounds);
    } else {
        Region r = *clip;
        r.Offset(origin.x, origin.y);
        m_clipRects = r.Intersected(bounds).Rects();
    }
    m_clipValid = true;
    return m_clipRects;
}

bool DeviceContext::PointVisible(int x, int y, POINT* at) {
    POINT p{SurfaceX(x), SurfaceY(y)};
    if (at)
        *at = p;
    for (const RECT& r : ClipRects())
        if (p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom)
            return true;
    return false;
}

void DeviceContext::Select(GdiObject*& slot, GdiObject* object) {
    AddSelection(object);
    GdiObject* old = slot;
    slot = object;
    ReleaseSelection(old);
}

void DeviceContext::RestoreState(DcState&& next) {
    DcState old = std::move(state);
    state = std::move(next);
    ReleaseObjects(old);
    ClipChanged();
}

bool DeviceContext::HasBrush() const {
    return state.brush && !static_cast<BrushObject*>(state.brush)->IsNull();
}

uint32_t DeviceContext::BrushPixel() const {
    return state.brush ? PixelFromColor(static_cast<BrushObject*>(state.brush)->brush.lbColor) : 0;
}

DeviceContext* LookupDC(HDC hdc) {
    return Dcs().Find(hdc);
}

HDC RegisterDC(std::unique_ptr<DeviceContext> dc) {
    return reinterpret_cast<HDC>(Dcs().Add(std::move(dc)));
}

void RetainObjects(const DcState& s) {
    for (GdiObject* o : {s.bitmap, s.brush, s.pen, s.font, s.palette})
        AddSelection(o);
}

void ReleaseObjects(const DcState& s) {
    for (GdiObject* o : {s.bitmap, s.brush, s.pen, s.font, s.palette})
        ReleaseSelection(o);
}

GdiObject* StockBitmap() {
    static GdiObject* stock = [] {
        auto object = std::make_unique<BitmapObject>(
            std::make_unique<Surface>(1, 1, PixelFormat::Monochrome()), false);
        object->stock = true;
        return LookupGdiObject(RegisterGdiObject(std::move(object)));
    }();
    return stock;
}

HDC CreateSurfaceDC(HBITMAP target, POINT origin, HRGN visible) {
    auto dc = NewMemoryDC(DeviceContext::Kind::Window);
    HDC hdc = RegisterDC(std::move(dc));
    if (!SetSurfaceDCTarget(hdc, target, origin, visible)) {
        DeleteDC(hdc);
        return nullptr;
    }
    return hdc;
}

BOOL SetSurfaceDCTarget(HDC hdc, HBITMAP target, POINT origin, HRGN visible) {
    DeviceContext* dc = LookupDC(hdc);
    BitmapObject* bitmap = LookupBitmap(target);
    if (!dc || dc->kind != DeviceContext::Kind::Window || !bitmap)
        return FALSE;
    RegionObject* region = visible ? LookupRegion(visible) : nullptr;
    if (visible && !region)
        return FALSE;
    GdiObject* old = dc->windowTarget;
    AddSelection(bitmap);
    dc->windowTarget = bitmap;
    ReleaseSelection(old);
    dc->origin = origin;
    dc->visible.reset();
    if (region)
        dc->visible = region->region;
    dc->ClipChanged();
    return TRUE;
}

Surface* SurfaceOfBitmap(HBITMAP bitmap) {
    BitmapObject* object = LookupBitmap(bitmap);
    return object ? object->surface.get() : nullptr;
}

void SetScreenSize(int width, int height) {
    g_screenSize = SIZE{width, height};
}

SIZE GetScreenSize() {
    return g_screenSize;
}

} // namespace platform

using namespace platform;

HDC CreateCompatibleDC(HDC) {
    return RegisterDC(NewMemoryDC(DeviceContext::Kind::Memory));
}

HDC CreateDC(LPCSTR driver, LPCSTR, LPCSTR, const void*) {
    if (!driver || strcasecmp(driver, "DISPLAY") != 0)
        return nullptr;
    return RegisterDC(NewMemoryDC(DeviceContext::Kind::Screen));
}

HDC CreateIC(LPCSTR driver, LPCSTR device, LPCSTR output, const void* initData) {
    return CreateDC(driver, device, output, initData);
}

// The destructor lets go of the selected objects.
BOOL DeleteDC(HDC hdc) {
    return Dcs().Take(hdc) != nullptr;
}

HDC GetDC(HWND hwnd) {
    if (!hwnd)
        return RegisterDC(NewMemoryDC(DeviceContext::Kind::Screen));
    return GetDisplayDriver().GetWindowDC(hwnd, false);
}

HDC GetDCEx(HWND hwnd, HRGN clip, DWORD flags) {
    if (!hwnd)
        return nullptr;
    if (clip) {
        const RegionObject* region = LookupRegion(clip);
        if (!(flags & DCX_INTERSECTRGN) || (flags & DCX_WINDOW) || !region)
            return nullptr;
        return GetDisplayDriver().GetDCInside(hwnd, region->region.Rects());
    }
    if (flags & DCX_WINDOW)
        return GetWindowDC(hwnd);
    if (flags & DCX_CLIPCHILDREN)
        return GetDC(hwnd);
    return GetDisplayDriver().GetDCOverChildren(hwnd);
}

HDC GetWindowDC(HWND hwnd) {
    if (!hwnd)
        return GetDC(nullptr);
    return GetDisplayDriver().GetWindowDC(hwnd, true);
}

HWND WindowFromDC(HDC hdc) {
    return hdc ? GetDisplayDriver().WindowOfDC(hdc) : nullptr;
}

int ReleaseDC(HWND hwnd, HDC hdc) {
    DeviceContext* dc = LookupDC(hdc);
    if (!dc)
        return 0;
    if (dc->kind == DeviceContext::Kind::Screen)
        return DeleteDC(hdc);
    return hwnd ? GetDisplayDriver().ReleaseWindowDC(hwnd, hdc) : 0;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ handle) {
    DeviceContext* dc = LookupDC(hdc);
    GdiObject* object = LookupGdiObject(handle);
    if (!dc || !object)
        return nullptr;
    DcState& s = dc->state;
    GdiObject* old = nullptr;
    switch (object->Kind()) {
    case GdiKind::Bitmap:
        // A bitmap lives in one memory DC at a time; window DCs hold none.
        if (dc->kind == DeviceContext::Kind::Window)
            return nullptr;
        if (object->selectedBy && object->selectedBy != dc && !object->stock)
            return nullptr;
        old = s.bitmap;
        dc->Select(s.bitmap, object);
        object->selectedBy = dc;
        dc->ClipChanged();
        break;
    case GdiKind::Brush:
        old = s.brush;
        dc->Select(s.brush, object);
        break;
    case GdiKind::Pen:
        old = s.pen;
        dc->Select(s.pen, object);
        break;
    case GdiKind::Font:
        old = s.font;
        dc->Select(s.font, object);
        break;
    case GdiKind::Region:
        return reinterpret_cast<HGDIOBJ>(intptr_t(SelectClipRgn(hdc, static_cast<HRGN>(handle))));
    case GdiKind::Palette:
        return nullptr; // SelectPalette
    }
    return old;
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type) {
    DeviceContext* dc = LookupDC(hdc);
    if (!dc)
        return nullptr;
    switch (type) {
    case OBJ_BITMAP:
        return dc->state.bitmap;
    case OBJ_BRUSH:
        return dc->state.brush;
    case OBJ_PEN:
        return dc->state.pen;
    case OBJ_FONT:
        return dc->state.font;
    case OBJ_PAL:
        return dc->state.palette ? dc->state.palette : GetStockObject(DEFAULT_PALETTE);
    }
    return nullptr;
}

HPALETTE SelectPalette(HDC hdc, HPALETTE palette, BOOL) {
    DeviceContext* dc = LookupDC(hdc);
    GdiObject* object = Lookup<PaletteObject>(palette, GdiKind::Palette);
    if (!dc || !object)
        return nullptr;
    HGDIOBJ old = GetCurrentObject(hdc, OBJ_PAL);
    dc->Select(dc->state.palette, object);
    return static_cast<HPALETTE>(old);
}

// The display is never palette-based: there is nothing to realise.
UINT RealizePalette(HDC hdc) {
    return LookupDC(hdc) ? 0 : UINT(-1);
}

int SaveDC(HDC hdc) {
    DeviceContext* dc = LookupDC(hdc);
    if (!dc)
        return 0;
    RetainObjects(dc->state);
    dc->saved.push_back(dc->state);
    return int(dc->saved.size());
}

BOOL RestoreDC(HDC hdc, int level) {
    DeviceContext* dc = LookupDC(hdc);
    if (!dc || level == 0)
        return FALSE;
    int depth = int(dc->saved.size());
    int target = level > 0 ? level : depth + 1 + level;
    if (target < 1 || target > depth)
        return FALSE;
    while (int(dc->saved.size()) > target) {
        ReleaseObjects(dc->saved.back());
        dc->saved.pop_back();
    }
    DcState restored = std::move(dc->saved.back());
    dc->saved.pop_back();
    dc->RestoreState(std::move(restored));
    return TRUE;
}

namespace {
template <class T, class F> T Swap(HDC hdc, T fail, F member, T value) {
    DeviceContext* dc = LookupDC(hdc);
    if (!dc)
        return fail;
    T old = dc->state.*member;
    dc->state.*member = value;
    return old;
}
template <class T, class F> T Read(HDC hdc, T fail, F member) {
    DeviceContext* dc = LookupDC(hdc);
    return dc ? dc->state.*member : fail;
}
} // namespace

COLORREF SetBkColor(HDC hdc, COLORREF c) {
    return Swap(hdc, COLORREF(CLR_INVALID), &DcState::bkColor, c & 0xFFFFFF);
}
COLORREF GetBkColor(HDC hdc) {
    return Read(hdc, COLORREF(CLR_INVALID), &DcState::bkColor);
}
COLORREF SetTextColor(HDC hdc, COLORREF c) {
    return Swap(hdc, COLORREF(CLR_INVALID), &DcState::textColor, c & 0xFFFFFF);
}
COLORREF GetTextColor(HDC hdc) {
    return Read(hdc, COLORREF(CLR_INVALID), &DcState::textColor);
}
int SetBkMode(HDC hdc, int mode) {
    return mode == TRANSPARENT || mode == OPAQUE ? Swap(hdc, 0, &DcState::bkMode, mode) : 0;
}
int GetBkMode(HDC hdc) {
    return Read(hdc, 0, &DcState::bkMode);
}
int SetStretchBltMode(HDC hdc, int mode) {
    return mode >= BLACKONWHITE && mode <= HALFTONE ? Swap(hdc, 0, &DcState::stretchMode, mode) : 0;
}
int GetStretchBltMode(HDC hdc) {
    return Read(hdc, 0, &DcState::stretchMode);
}
int SetPolyFillMode(HDC hdc, int mode) {
    return mode == ALTERNATE || mode == WINDING ? Swap(hdc, 0, &DcState::polyFillMode, mode) : 0;
}
int GetPolyFillMode(HDC hdc) {
    return Read(hdc, 0, &DcState::polyFillMode);
}

namespace {
BOOL SetPoint(HDC hdc, POINT DcState::*member, POINT value, LPPOINT previous) {
    DeviceContext* dc = LookupDC(hdc);
    if (!dc)
        return FALSE;
    if (previous)
        *previous = dc->state.*member;
    dc->state.*member = value;
    return TRUE;
}
} // namespace

BOOL SetBrushOrgEx(HDC hdc, int x, int y, LPPOINT previous) {
    return SetPoint(hdc, &DcState::brushOrg, POINT{x, y}, previous);
}
BOOL SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT previous) {
    return SetPoint(hdc, &DcState::viewportOrg, POINT{x, y}, previous);
}
BOOL GetViewportOrgEx(HDC hdc, LPPOINT origin) {
    DeviceContext* dc = LookupDC(hdc);
    if (!dc || !origin)
        return FALSE;
    *origin = dc->state.viewportOrg;
    return TRUE;
}
BOOL OffsetViewportOrgEx(HDC hdc, int dx, int dy, LPPOINT previous) {
    DeviceContext* dc = LookupDC(hdc);
    if (!dc)
        return FALSE;
    POINT o = dc->state.viewportOrg;
    return SetViewportOrgEx(hdc, o.x + dx, o.y + dy, previous);
}

int GetDeviceCaps(HDC hdc, int index) {
    DeviceContext* dc = LookupDC(hdc);
    if (!dc)
        return 0;
    switch (index) {
    case HORZRES:
        return g_screenSize.cx;
    case VERTRES:
        return g_screenSize.cy;
    case BITSPIXEL:
        return 32;
    case PLANES:
        return 1;
    case NUMCOLORS:
        return -1;
    case SIZEPALETTE:
        return 0;
    case LOGPIXELSX:
    case LOGPIXELSY:
        return 96;
    case RASTERCAPS:
        return RC_BITBLT | RC_STRETCHBLT | RC_DI_BITMAP | RC_DIBTODEV | RC_STRETCHDIB;
    }
    return 0;
}
