#include "sprite/GdiRoutines.h"

#include "platform/images/Picture.h"
#include "platform/system/Profile.h"

#include <cstdio>

namespace {

struct PooledDC {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr; // scratch canvases only
    HGDIOBJ original = nullptr;
    uint32_t* bits = nullptr;
    int width = 0;
    int height = 0;
};

// Never destroyed: the handles outlive every caller, up to the process's end.
std::vector<PooledDC>& SourcePool() {
    static auto* pool = new std::vector<PooledDC>;
    return *pool;
}
std::vector<PooledDC>& ScratchPool() {
    static auto* pool = new std::vector<PooledDC>;
    return *pool;
}
int g_sourceDepth = 0;
int g_scratchDepth = 0;

HDC PooledSource(int depth) {
    auto& pool = SourcePool();
    while (int(pool.size()) <= depth)
        pool.push_back(PooledDC{CreateCompatibleDC(nullptr)});
    return pool[size_t(depth)].dc;
}

PooledDC& PooledScratch(int depth, int cx, int cy) {
    auto& pool = ScratchPool();
    while (int(pool.size()) <= depth)
        pool.push_back(PooledDC{CreateCompatibleDC(nullptr)});
    PooledDC& slot = pool[size_t(depth)];
    if (slot.width < cx || slot.height < cy) {
        const int width = std::max(cx, slot.width);
        const int height = std::max(cy, slot.height);
        BITMAPINFO info{};
        info.bmiHeader = BITMAPINFOHEADER{
            sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(slot.dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (bitmap) {
            HGDIOBJ previous = SelectObject(slot.dc, bitmap);
            if (slot.bitmap)
                DeleteObject(slot.bitmap);
            else
                slot.original = previous;
            slot.bitmap = bitmap;
            slot.bits = static_cast<uint32_t*>(bits);
            slot.width = width;
            slot.height = height;
        }
    }
    return slot;
}

} // namespace

HBITMAP LoadThemeBitmap(LPCSTR iniFile, LPCSTR section, LPCSTR key, LPCSTR folder) {
    char value[260] = "";
    GetPrivateProfileString(section, key, "", value, sizeof(value), iniFile);
    if (!value[0])
        return nullptr;
    char path[600];
    if (folder)
        snprintf(path, sizeof(path), "%s\\%s", folder, value);
    else
        snprintf(path, sizeof(path), "%s", value);
    return static_cast<HBITMAP>(LoadImage(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
}

CSize GetHBitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || !GetObject(bitmap, sizeof(info), &info))
        return CSize();
    return CSize(info.bmWidth, info.bmHeight);
}

CSize GetBitmapSize(const CBitmap& bitmap) {
    return GetHBitmapSize(static_cast<HBITMAP>(bitmap.m_hObject));
}

void TransparentBlit(HDC dest, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh,
                     COLORREF key) {
    if (key == 0)
        key = GetPixel(src, sx, sy);
    TransparentBlt(dest, x, y, w, h, src, sx, sy, sw, sh, key);
}

void BlitBitmap(HDC dest, int x, int y, int cx, int cy, HBITMAP bitmap, int sx, int sy, DWORD rop) {
    SourceDC source(bitmap);
    BitBlt(dest, x, y, cx, cy, source.dc(), sx, sy, rop);
}

void AlphaBlit(HDC dest, int x, int y, int cx, int cy, HBITMAP image, int ix, int iy, HBITMAP alpha,
               int ax, int ay) {
    // Only what the destination lets through is blended: a pane or button a
    // small box of the table cuts costs the box, not the whole picture.
    RECT part{x, y, x + cx, y + cy};
    if (!ClipToDC(dest, part))
        return;
    ix += part.left - x;
    ax += part.left - x;
    iy += part.top - y;
    ay += part.top - y;
    x = part.left;
    y = part.top;
    cx = part.right - part.left;
    cy = part.bottom - part.top;
    ScratchDC picture(cx, cy), mask(cx, cy), target(cx, cy);
    {
        SourceDC source(image);
        BitBlt(picture.dc(), 0, 0, cx, cy, source.dc(), ix, iy, SRCCOPY);
        source.Select(alpha);
        BitBlt(mask.dc(), 0, 0, cx, cy, source.dc(), ax, ay, SRCCOPY);
    }
    BitBlt(target.dc(), 0, 0, cx, cy, dest, x, y, SRCCOPY);
    for (int row = 0; row < cy; ++row) {
        const uint32_t* p = picture.Row(row);
        const uint32_t* m = mask.Row(row);
        uint32_t* d = target.Row(row);
        for (int col = 0; col < cx; ++col) {
            const uint32_t a = m[col] & 0xFF; // the blue byte
            // Red and blue side by side, then green: each channel's sum stays
            // below 2^16, so none reaches into the next, and all fit 32 bits.
            const uint32_t rb = ((d[col] & 0xFF00FFu) * (255 - a) + (p[col] & 0xFF00FFu) * a) >> 8;
            const uint32_t g = ((d[col] & 0xFF00u) * (255 - a) + (p[col] & 0xFF00u) * a) >> 8;
            // A clear pixel leaves the destination as it is.
            d[col] = a == 0 ? d[col] : (rb & 0xFF00FFu) | (g & 0xFF00u);
        }
    }
    BitBlt(dest, x, y, cx, cy, target.dc(), 0, 0, SRCCOPY);
}

bool ClipToDC(HDC dc, RECT& rect) {
    RECT clip = rect; // a DC that cannot tell its clip cuts nothing
    return GetClipBox(dc, &clip) != NULLREGION && IntersectRect(&rect, &rect, &clip);
}

bool ReadBitmapPixels(HBITMAP bitmap, SIZE size, std::vector<uint32_t>& pixels) {
    if (!bitmap || size.cx <= 0 || size.cy <= 0)
        return false;
    BITMAPINFO info{};
    info.bmiHeader =
        BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), size.cx, -size.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    pixels.assign(size_t(size.cx) * size_t(size.cy), 0);
    HDC screen = GetDC(nullptr);
    const int rows =
        GetDIBits(screen, bitmap, 0, UINT(size.cy), pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return rows == size.cy;
}

SourceDC::SourceDC(HBITMAP bitmap) : m_dc(PooledSource(g_sourceDepth++)) {
    m_old = SelectObject(m_dc, bitmap);
}

void SourceDC::Select(HBITMAP bitmap) {
    HGDIOBJ previous = SelectObject(m_dc, bitmap);
    if (!m_old)
        m_old = previous;
}

SourceDC::~SourceDC() {
    if (m_old)
        SelectObject(m_dc, m_old);
    --g_sourceDepth;
}

ScratchDC::ScratchDC(int cx, int cy) : m_slot(g_scratchDepth++) {
    PooledScratch(m_slot, cx, cy);
}

ScratchDC::~ScratchDC() {
    --g_scratchDepth;
}

HDC ScratchDC::dc() const {
    return ScratchPool()[size_t(m_slot)].dc;
}

uint32_t* ScratchDC::Row(int y) const {
    const PooledDC& slot = ScratchPool()[size_t(m_slot)];
    return slot.bits + ptrdiff_t(y) * slot.width;
}
