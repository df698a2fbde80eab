// CGraphy: plain, stretched and colour-key blits, and the bitmap queries.

#include "knclientUI05/Graphy.h"

#include "platform/window/Wnd.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);

// A bitmap selected into a memory DC compatible with the target for the
// length of one operation.
class BitmapSource {
public:
    BitmapSource(CDC* target, CBitmap* bitmap) {
        if (!bitmap || !bitmap->GetSafeHandle())
            return;
        m_dc.CreateCompatibleDC(target);
        m_old = m_dc.SelectObject(bitmap);
        m_ok = m_old != nullptr;
    }
    ~BitmapSource() {
        if (m_ok)
            m_dc.SelectObject(m_old);
    }
    CDC* dc() { return m_ok ? &m_dc : nullptr; }

private:
    CDC m_dc;
    CBitmap* m_old = nullptr;
    bool m_ok = false;
};

const POINT kOrigin{0, 0};

// The colour-key blit: where the source holds the key the target keeps its
// pixel, everywhere else it takes the source pixel exactly.
void KeyBlt(CDC* dc, const RECT* rect, CDC* source, POINT from, COLORREF key) {
    if (!dc || !rect || !source)
        return;
    int width = rect->right - rect->left, height = rect->bottom - rect->top;
    if (width <= 0 || height <= 0)
        return;
    CDC work;
    work.CreateCompatibleDC(dc);
    CBitmap workBitmap;
    workBitmap.CreateCompatibleBitmap(dc, width, height);
    CBitmap* oldWork = work.SelectObject(&workBitmap);
    work.BitBlt(0, 0, width, height, dc, rect->left, rect->top, SRCCOPY);

    // The mask is 1 where the source holds the key.
    CDC mask;
    mask.CreateCompatibleDC(source);
    CBitmap maskBitmap;
    maskBitmap.CreateBitmap(width, height, 1, 1, nullptr);
    CBitmap* oldMask = mask.SelectObject(&maskBitmap);
    COLORREF oldSourceBk = source->SetBkColor(key);
    mask.BitBlt(0, 0, width, height, source, from.x, from.y, SRCCOPY);

    // (T ^ S) & mask ^ S: the target where the mask is 1 (white), the source
    // where it is 0 (black).
    COLORREF oldWorkBk = work.SetBkColor(kWhite);
    int oldStretch = work.SetStretchBltMode(COLORONCOLOR);
    work.BitBlt(0, 0, width, height, source, from.x, from.y, SRCINVERT);
    work.BitBlt(0, 0, width, height, &mask, 0, 0, SRCAND);
    work.BitBlt(0, 0, width, height, source, from.x, from.y, SRCINVERT);
    dc->BitBlt(rect->left, rect->top, width, height, &work, 0, 0, SRCCOPY);

    work.SetStretchBltMode(oldStretch);
    mask.SelectObject(oldMask);
    source->SetBkColor(oldSourceBk);
    work.SetBkColor(oldWorkBk);
    work.SelectObject(oldWork);
}

} // namespace

BOOL CGraphy::BitBlt(CDC* dc, const RECT* rect, CDC* source, const POINT* from, DWORD rop) {
    if (!dc || !rect || !from)
        return FALSE;
    return dc->BitBlt(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top,
                      source, from->x, from->y, rop);
}

BOOL CGraphy::BitBlt(CDC* dc, const RECT* rect, CDC* source, DWORD rop) {
    return BitBlt(dc, rect, source, &kOrigin, rop);
}

BOOL CGraphy::BitBlt(CDC* dc, const RECT* rect, CBitmap* bitmap, const POINT* from, DWORD rop) {
    BitmapSource source(dc, bitmap);
    return source.dc() && BitBlt(dc, rect, source.dc(), from, rop);
}

BOOL CGraphy::BitBlt(CDC* dc, const RECT* rect, CBitmap* bitmap, DWORD rop) {
    return BitBlt(dc, rect, bitmap, &kOrigin, rop);
}

BOOL CGraphy::StretchBlt(CDC* dc, const RECT* rect, CDC* source, const RECT* from, DWORD rop) {
    if (!dc || !rect || !from)
        return FALSE;
    return dc->StretchBlt(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top,
                          source, from->left, from->top, from->right - from->left,
                          from->bottom - from->top, rop);
}

BOOL CGraphy::StretchBlt(CDC* dc, const RECT* rect, CBitmap* bitmap, const RECT* from, DWORD rop) {
    BitmapSource source(dc, bitmap);
    return source.dc() && StretchBlt(dc, rect, source.dc(), from, rop);
}

BOOL CGraphy::StretchBlt(CDC* dc, const RECT* rect, CBitmap* bitmap, DWORD rop) {
    CSize size = GetBitmapSize(bitmap);
    RECT whole{0, 0, size.cx, size.cy};
    return StretchBlt(dc, rect, bitmap, &whole, rop);
}

void CGraphy::TransparentBlt(CDC* dc, const RECT* rect, CDC* source, const POINT* from,
                             const COLORREF* key) {
    if (from && key)
        KeyBlt(dc, rect, source, *from, *key);
}

void CGraphy::TransparentBlt(CDC* dc, const RECT* rect, CDC* source, const POINT* from,
                             const POINT* keyPoint) {
    if (source && keyPoint) {
        COLORREF key = source->GetPixel(*keyPoint);
        TransparentBlt(dc, rect, source, from, &key);
    }
}

void CGraphy::TransparentBlt(CDC* dc, const RECT* rect, CDC* source, const COLORREF* key) {
    TransparentBlt(dc, rect, source, &kOrigin, key);
}

void CGraphy::TransparentBlt(CDC* dc, const RECT* rect, CDC* source, const POINT* keyPoint) {
    TransparentBlt(dc, rect, source, &kOrigin, keyPoint);
}

void CGraphy::TransparentBlt(CDC* dc, const RECT* rect, CBitmap* bitmap, const POINT* from,
                             const COLORREF* key) {
    BitmapSource source(dc, bitmap);
    if (source.dc())
        TransparentBlt(dc, rect, source.dc(), from, key);
}

void CGraphy::TransparentBlt(CDC* dc, const RECT* rect, CBitmap* bitmap, const POINT* from,
                             const POINT* keyPoint) {
    BitmapSource source(dc, bitmap);
    if (source.dc())
        TransparentBlt(dc, rect, source.dc(), from, keyPoint);
}

void CGraphy::TransparentBlt(CDC* dc, const RECT* rect, CBitmap* bitmap, const COLORREF* key) {
    TransparentBlt(dc, rect, bitmap, &kOrigin, key);
}

void CGraphy::TransparentBlt(CDC* dc, const RECT* rect, CBitmap* bitmap, const POINT* keyPoint) {
    TransparentBlt(dc, rect, bitmap, &kOrigin, keyPoint);
}

void CGraphy::StretchTransparentBlt(CDC* dc, const RECT* rect, CDC* source, const RECT* from,
                                    const COLORREF* key) {
    if (!dc || !rect || !source || !from || !key)
        return;
    int width = rect->right - rect->left, height = rect->bottom - rect->top;
    if (width <= 0 || height <= 0)
        return;
    CDC work;
    work.CreateCompatibleDC(source);
    CBitmap workBitmap;
    workBitmap.CreateCompatibleBitmap(source, width, height);
    CBitmap* old = work.SelectObject(&workBitmap);
    int oldStretch = work.SetStretchBltMode(COLORONCOLOR);
    work.StretchBlt(0, 0, width, height, source, from->left, from->top, from->right - from->left,
                    from->bottom - from->top, SRCCOPY);
    KeyBlt(dc, rect, &work, kOrigin, *key);
    work.SetStretchBltMode(oldStretch);
    work.SelectObject(old);
}

void CGraphy::StretchTransparentBlt(CDC* dc, const RECT* rect, CDC* source, const RECT* from,
                                    const POINT* keyPoint) {
    if (source && keyPoint) {
        COLORREF key = source->GetPixel(*keyPoint);
        StretchTransparentBlt(dc, rect, source, from, &key);
    }
}

void CGraphy::StretchTransparentBlt(CDC* dc, const RECT* rect, CBitmap* bitmap, const RECT* from,
                                    const COLORREF* key) {
    BitmapSource source(dc, bitmap);
    if (source.dc())
        StretchTransparentBlt(dc, rect, source.dc(), from, key);
}

void CGraphy::StretchTransparentBlt(CDC* dc, const RECT* rect, CBitmap* bitmap, const RECT* from,
                                    const POINT* keyPoint) {
    BitmapSource source(dc, bitmap);
    if (source.dc())
        StretchTransparentBlt(dc, rect, source.dc(), from, keyPoint);
}

void CGraphy::StretchTransparentBlt(CDC* dc, const RECT* rect, CBitmap* bitmap,
                                    const COLORREF* key) {
    CSize size = GetBitmapSize(bitmap);
    RECT whole{0, 0, size.cx, size.cy};
    StretchTransparentBlt(dc, rect, bitmap, &whole, key);
}

void CGraphy::StretchTransparentBlt(CDC* dc, const RECT* rect, CBitmap* bitmap,
                                    const POINT* keyPoint) {
    CSize size = GetBitmapSize(bitmap);
    RECT whole{0, 0, size.cx, size.cy};
    StretchTransparentBlt(dc, rect, bitmap, &whole, keyPoint);
}

CSize CGraphy::GetBitmapSize(CBitmap* bitmap) {
    BITMAP bm;
    if (!bitmap || !bitmap->GetSafeHandle() || !bitmap->GetBitmap(&bm))
        return CSize(0, 0);
    return CSize(bm.bmWidth, bm.bmHeight);
}

CSize CGraphy::GetSize(const void* description) {
    if (!description)
        return CSize(0, 0);
    const auto* fields = static_cast<const LONG*>(description);
    return CSize(fields[1], fields[2]);
}

COLORREF CGraphy::GetBitmapPixel(CBitmap* bitmap, POINT point) {
    if (!bitmap || !bitmap->GetSafeHandle())
        return CLR_INVALID;
    // Made on the main window's DC; the screen's serves when there is none.
    CWnd* main = AfxGetMainWnd();
    HWND window = main ? main->GetSafeHwnd() : nullptr;
    HDC owner = GetDC(window);
    COLORREF color = CLR_INVALID;
    HDC memory = CreateCompatibleDC(owner);
    HGDIOBJ old = memory ? SelectObject(memory, *bitmap) : nullptr;
    if (old) {
        color = ::GetPixel(memory, point.x, point.y);
        SelectObject(memory, old);
    }
    if (memory)
        DeleteDC(memory);
    ReleaseDC(window, owner);
    return color;
}

HBITMAP CGraphy::CreateDIB32(HDC dc, int width, int height, BITMAPINFO* info, void** bits) {
    if (!info)
        return nullptr;
    BITMAPINFOHEADER& h = info->bmiHeader;
    h = BITMAPINFOHEADER{};
    h.biSize = sizeof(BITMAPINFOHEADER);
    h.biWidth = width;
    h.biHeight = height;
    h.biPlanes = 1;
    h.biBitCount = 32;
    h.biCompression = BI_RGB;
    return CreateDIBSection(dc, info, DIB_RGB_COLORS, bits, nullptr, 0);
}
