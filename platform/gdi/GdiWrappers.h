#pragma once

// MFC-shaped owners of GDI objects: each holds one handle and deletes it when
// destroyed (unless detached). FromHandle gives the object attached to a
// handle, or a temporary wrapper that does not own it (kept until
// DeleteTempGdiWrappers, which the message loop may call when idle).

#include "platform/Geometry.h"
#include "platform/RuntimeClass.h"
#include "platform/gdi/Gdi.h"

class CGdiObject : public CObject {
    DECLARE_DYNAMIC(CGdiObject)

public:
    CGdiObject() = default;
    ~CGdiObject() override;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    HGDIOBJ m_hObject = nullptr;

    operator HGDIOBJ() const { return m_hObject; }
    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    static CGdiObject* FromHandle(HGDIOBJ handle);
    BOOL Attach(HGDIOBJ handle);
    HGDIOBJ Detach();
    BOOL DeleteObject();
    int GetObject(int size, LPVOID buffer) const { return ::GetObject(m_hObject, size, buffer); }
    UINT GetObjectType() const { return UINT(::GetObjectType(m_hObject)); }
    BOOL CreateStockObject(int index) { return Attach(::GetStockObject(index)); }
};

class CBitmap : public CGdiObject {
    DECLARE_DYNAMIC(CBitmap)

public:
    static CBitmap* FromHandle(HBITMAP handle);
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
    BOOL CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
        return Attach(::CreateBitmap(width, height, planes, bitsPerPixel, bits));
    }
    BOOL CreateBitmapIndirect(const BITMAP* bm) {
        return bm &&
               CreateBitmap(bm->bmWidth, bm->bmHeight, bm->bmPlanes, bm->bmBitsPixel, bm->bmBits);
    }
    BOOL CreateCompatibleBitmap(class CDC* dc, int width, int height);
    int GetBitmap(BITMAP* bm) const { return GetObject(sizeof(BITMAP), bm); }
};

class CBrush : public CGdiObject {
public:
    CBrush() = default;
    explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
    static CBrush* FromHandle(HBRUSH handle);
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
    BOOL CreateSolidBrush(COLORREF color) { return Attach(::CreateSolidBrush(color)); }
    BOOL CreateBrushIndirect(const LOGBRUSH* brush) { return Attach(::CreateBrushIndirect(brush)); }
    int GetLogBrush(LOGBRUSH* brush) const { return GetObject(sizeof(LOGBRUSH), brush); }
};

class CPen : public CGdiObject {
public:
    CPen() = default;
    CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }
    static CPen* FromHandle(HPEN handle);
    operator HPEN() const { return static_cast<HPEN>(m_hObject); }
    BOOL CreatePen(int style, int width, COLORREF color) {
        return Attach(::CreatePen(style, width, color));
    }
    int GetLogPen(LOGPEN* pen) const { return GetObject(sizeof(LOGPEN), pen); }
};

class CRgn : public CGdiObject {
public:
    static CRgn* FromHandle(HRGN handle);
    operator HRGN() const { return static_cast<HRGN>(m_hObject); }
    BOOL CreateRectRgn(int l, int t, int r, int b) { return Attach(::CreateRectRgn(l, t, r, b)); }
    BOOL CreateRectRgnIndirect(LPCRECT rect) { return Attach(::CreateRectRgnIndirect(rect)); }
    BOOL CreateRoundRectRgn(int l, int t, int r, int b, int w, int h) {
        return Attach(::CreateRoundRectRgn(l, t, r, b, w, h));
    }
    BOOL CreateEllipticRgn(int l, int t, int r, int b) {
        return Attach(::CreateEllipticRgn(l, t, r, b));
    }
    BOOL CreateEllipticRgnIndirect(LPCRECT rect) {
        return Attach(::CreateEllipticRgnIndirect(rect));
    }
    BOOL CreatePolygonRgn(const POINT* points, int count, int mode) {
        return Attach(::CreatePolygonRgn(points, count, mode));
    }
    BOOL CreateFromData(const XFORM* transform, int count, const RGNDATA* data) {
        return Attach(::ExtCreateRegion(transform, DWORD(count), data));
    }
    int CombineRgn(const CRgn* a, const CRgn* b, int mode) {
        return ::CombineRgn(*this, a ? HRGN(*a) : nullptr, b ? HRGN(*b) : nullptr, mode);
    }
    int CopyRgn(const CRgn* src) { return CombineRgn(src, nullptr, RGN_COPY); }
    int OffsetRgn(int dx, int dy) { return ::OffsetRgn(*this, dx, dy); }
    int OffsetRgn(POINT p) { return OffsetRgn(p.x, p.y); }
    void SetRectRgn(int l, int t, int r, int b) { ::SetRectRgn(*this, l, t, r, b); }
    void SetRectRgn(LPCRECT r) { SetRectRgn(r->left, r->top, r->right, r->bottom); }
    BOOL PtInRegion(int x, int y) const { return ::PtInRegion(*this, x, y); }
    BOOL PtInRegion(POINT p) const { return PtInRegion(p.x, p.y); }
    BOOL RectInRegion(LPCRECT rect) const { return ::RectInRegion(*this, rect); }
    int GetRgnBox(LPRECT rect) const { return ::GetRgnBox(*this, rect); }
    BOOL EqualRgn(const CRgn* other) const { return other && ::EqualRgn(*this, *other); }
    int GetRegionData(LPRGNDATA data, int size) const {
        return int(::GetRegionData(*this, DWORD(size), data));
    }
};

namespace platform {
// Frees the temporary wrappers FromHandle made (CGdiObject and CDC).
void DeleteTempGdiWrappers();
} // namespace platform
