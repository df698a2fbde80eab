#pragma once

// CDC: a device context object in the MFC shape. It owns its HDC (deleted on
// destruction) unless the DC came from FromHandle or was detached. Window DCs
// (CClientDC, CPaintDC, CWindowDC) derive from it and release their DC in
// their own destructors, after setting m_hDC to null.
//
// The text members (TextOut, DrawText, GetTextExtent, the CFont selection) are
// defined with the text engine.

#include "platform/CString.h"
#include "platform/gdi/GdiWrappers.h"

class CFont;

class CDC {
public:
    CDC() = default;
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC m_hDC = nullptr;
    HDC m_hAttribDC = nullptr;

    operator HDC() const { return m_hDC; }
    HDC GetSafeHdc() const { return m_hDC; }
    static CDC* FromHandle(HDC hdc);
    BOOL Attach(HDC hdc);
    HDC Detach();

    BOOL CreateCompatibleDC(CDC* dc) {
        return Attach(::CreateCompatibleDC(dc ? dc->m_hDC : nullptr));
    }
    BOOL CreateDC(LPCSTR driver, LPCSTR device, LPCSTR output, const void* init) {
        return Attach(::CreateDC(driver, device, output, init));
    }
    BOOL CreateIC(LPCSTR driver, LPCSTR device, LPCSTR output, const void* init) {
        return Attach(::CreateIC(driver, device, output, init));
    }
    BOOL DeleteDC();

    // Selection returns the object selected before (a temporary wrapper when
    // no object owns it), null on failure.
    CGdiObject* SelectObject(CGdiObject* object);
    CBitmap* SelectObject(CBitmap* bitmap);
    CBrush* SelectObject(CBrush* brush);
    CPen* SelectObject(CPen* pen);
    CFont* SelectObject(CFont* font);
    HGDIOBJ SelectObject(HGDIOBJ object) { return ::SelectObject(m_hDC, object); }
    // Region selection copies the region into the clip; returns the clip's type.
    int SelectObject(CRgn* region) { return SelectClipRgn(region); }
    CGdiObject* SelectStockObject(int index);
    CBitmap* GetCurrentBitmap() const;
    CBrush* GetCurrentBrush() const;
    CPen* GetCurrentPen() const;
    CFont* GetCurrentFont() const;

    int SaveDC() { return ::SaveDC(m_hDC); }
    BOOL RestoreDC(int level) { return ::RestoreDC(m_hDC, level); }
    COLORREF SetBkColor(COLORREF c) { return ::SetBkColor(m_hDC, c); }
    COLORREF GetBkColor() const { return ::GetBkColor(m_hDC); }
    COLORREF SetTextColor(COLORREF c) { return ::SetTextColor(m_hDC, c); }
    COLORREF GetTextColor() const { return ::GetTextColor(m_hDC); }
    int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
    int GetBkMode() const { return ::GetBkMode(m_hDC); }
    int SetStretchBltMode(int mode) { return ::SetStretchBltMode(m_hDC, mode); }
    int GetStretchBltMode() const { return ::GetStretchBltMode(m_hDC); }
    int SetPolyFillMode(int mode) { return ::SetPolyFillMode(m_hDC, mode); }
    int GetDeviceCaps(int index) const { return ::GetDeviceCaps(m_hDC, index); }
    CPoint SetViewportOrg(int x, int y);
    CPoint SetViewportOrg(POINT p) { return SetViewportOrg(p.x, p.y); }
    CPoint GetViewportOrg() const;
    CPoint OffsetViewportOrg(int dx, int dy);
    UINT RealizePalette() { return ::RealizePalette(m_hDC); }

    BOOL BitBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, DWORD rop) {
        return ::BitBlt(m_hDC, x, y, width, height, src ? src->m_hDC : nullptr, xSrc, ySrc, rop);
    }
    BOOL StretchBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, int srcWidth,
                    int srcHeight, DWORD rop) {
        return ::StretchBlt(m_hDC, x, y, width, height, src ? src->m_hDC : nullptr, xSrc, ySrc,
                            srcWidth, srcHeight, rop);
    }
    BOOL TransparentBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc,
                        int srcWidth, int srcHeight, UINT key) {
        return ::TransparentBlt(m_hDC, x, y, width, height, src ? src->m_hDC : nullptr, xSrc, ySrc,
                                srcWidth, srcHeight, key);
    }
    BOOL AlphaBlend(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, int srcWidth,
                    int srcHeight, BLENDFUNCTION blend) {
        return ::AlphaBlend(m_hDC, x, y, width, height, src ? src->m_hDC : nullptr, xSrc, ySrc,
                            srcWidth, srcHeight, blend);
    }
    BOOL PatBlt(int x, int y, int width, int height, DWORD rop) {
        return ::PatBlt(m_hDC, x, y, width, height, rop);
    }
    COLORREF GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
    COLORREF GetPixel(POINT p) const { return GetPixel(p.x, p.y); }
    COLORREF SetPixel(int x, int y, COLORREF c) { return ::SetPixel(m_hDC, x, y, c); }
    COLORREF SetPixel(POINT p, COLORREF c) { return SetPixel(p.x, p.y, c); }
    BOOL SetPixelV(int x, int y, COLORREF c) { return ::SetPixelV(m_hDC, x, y, c); }

    void FillRect(LPCRECT rect, CBrush* brush) {
        ::FillRect(m_hDC, rect, brush ? HBRUSH(*brush) : nullptr);
    }
    void FrameRect(LPCRECT rect, CBrush* brush) {
        ::FrameRect(m_hDC, rect, brush ? HBRUSH(*brush) : nullptr);
    }
    void InvertRect(LPCRECT rect) { ::InvertRect(m_hDC, rect); }
    // Fills with a colour; like MFC's, it leaves that colour as the background colour.
    void FillSolidRect(LPCRECT rect, COLORREF color);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF color) {
        CRect r(x, y, x + cx, y + cy);
        FillSolidRect(&r, color);
    }
    // A one-pixel frame: top and left in one colour, bottom and right in the other.
    void Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight);
    void Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight) {
        CRect r(x, y, x + cx, y + cy);
        Draw3dRect(&r, topLeft, bottomRight);
    }

    CPoint MoveTo(int x, int y);
    CPoint MoveTo(POINT p) { return MoveTo(p.x, p.y); }
    BOOL LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
    BOOL LineTo(POINT p) { return LineTo(p.x, p.y); }
    BOOL Rectangle(int l, int t, int r, int b) { return ::Rectangle(m_hDC, l, t, r, b); }
    BOOL Rectangle(LPCRECT r) { return Rectangle(r->left, r->top, r->right, r->bottom); }
    BOOL RoundRect(int l, int t, int r, int b, int w, int h) {
        return ::RoundRect(m_hDC, l, t, r, b, w, h);
    }
    BOOL RoundRect(LPCRECT r, POINT corner) {
        return RoundRect(r->left, r->top, r->right, r->bottom, corner.x, corner.y);
    }
    BOOL Ellipse(int l, int t, int r, int b) { return ::Ellipse(m_hDC, l, t, r, b); }
    BOOL Ellipse(LPCRECT r) { return Ellipse(r->left, r->top, r->right, r->bottom); }
    BOOL Polygon(const POINT* points, int count) { return ::Polygon(m_hDC, points, count); }
    BOOL FillRgn(CRgn* region, CBrush* brush) {
        return region && brush && ::FillRgn(m_hDC, *region, *brush);
    }
    BOOL PaintRgn(CRgn* region) { return region && ::PaintRgn(m_hDC, *region); }
    BOOL FrameRgn(CRgn* region, CBrush* brush, int width, int height) {
        return region && brush && ::FrameRgn(m_hDC, *region, *brush, width, height);
    }
    BOOL InvertRgn(CRgn* region) { return region && ::InvertRgn(m_hDC, *region); }

    int SelectClipRgn(CRgn* region) {
        return ::SelectClipRgn(m_hDC, region ? HRGN(*region) : nullptr);
    }
    int SelectClipRgn(CRgn* region, int mode) {
        return ::ExtSelectClipRgn(m_hDC, region ? HRGN(*region) : nullptr, mode);
    }
    int IntersectClipRect(int l, int t, int r, int b) {
        return ::IntersectClipRect(m_hDC, l, t, r, b);
    }
    int IntersectClipRect(LPCRECT r) {
        return IntersectClipRect(r->left, r->top, r->right, r->bottom);
    }
    int ExcludeClipRect(int l, int t, int r, int b) { return ::ExcludeClipRect(m_hDC, l, t, r, b); }
    int ExcludeClipRect(LPCRECT r) { return ExcludeClipRect(r->left, r->top, r->right, r->bottom); }
    int OffsetClipRgn(int dx, int dy) { return ::OffsetClipRgn(m_hDC, dx, dy); }
    int GetClipBox(LPRECT rect) const { return ::GetClipBox(m_hDC, rect); }
    BOOL PtVisible(int x, int y) const { return ::PtVisible(m_hDC, x, y); }
    BOOL RectVisible(LPCRECT rect) const { return ::RectVisible(m_hDC, rect); }

    // Defined with the text engine.
    BOOL TextOut(int x, int y, LPCTSTR text, int count);
    BOOL TextOut(int x, int y, const CString& text);
    int DrawText(LPCTSTR text, int count, LPRECT rect, UINT format);
    int DrawText(const CString& text, LPRECT rect, UINT format);
    CSize GetTextExtent(LPCTSTR text, int count) const;
    CSize GetTextExtent(const CString& text) const;
};
