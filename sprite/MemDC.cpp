#include "sprite/MemDC.h"

#include "sprite/GdiRoutines.h"

#include <cstring>
#include <vector>

CMemDC::~CMemDC() {
    Free();
}

void CMemDC::Free() {
    ReleaseBitmap();
    DeleteDC();
}

BOOL CMemDC::EnsureDC(CDC* pRef) {
    if (m_hDC)
        return TRUE;
    return CreateCompatibleDC(pRef);
}

void CMemDC::ReleaseBitmap() {
    if (!m_pBitmap)
        return;
    if (m_hDC)
        ::SelectObject(m_hDC, m_hOldBitmap);
    if (m_bOwnsBitmap)
        delete m_pBitmap;
    m_pBitmap = nullptr;
    m_bOwnsBitmap = FALSE;
    m_hOldBitmap = nullptr;
}

BOOL CMemDC::Create(CDC* pRef, CBitmap* pBitmap) {
    ReleaseBitmap();
    if (!EnsureDC(pRef) || !pBitmap)
        return FALSE;
    m_hOldBitmap = ::SelectObject(m_hDC, pBitmap->m_hObject);
    if (!m_hOldBitmap)
        return FALSE;
    m_pBitmap = pBitmap;
    return TRUE;
}

BOOL CMemDC::Create(CDC* pRef, int cx, int cy) {
    ReleaseBitmap();
    if (!EnsureDC(pRef) || cx <= 0 || cy <= 0)
        return FALSE;
    CBitmap* bitmap = new CBitmap;
    if (!bitmap->CreateCompatibleBitmap(this, cx, cy)) {
        delete bitmap;
        return FALSE;
    }
    if (!Create(pRef, bitmap)) {
        delete bitmap;
        return FALSE;
    }
    m_bOwnsBitmap = TRUE;
    return TRUE;
}

HBITMAP CMemDC::DetachBitmap() {
    if (!m_pBitmap)
        return nullptr;
    ::SelectObject(m_hDC, m_hOldBitmap);
    HBITMAP handle = static_cast<HBITMAP>(m_pBitmap->Detach());
    if (m_bOwnsBitmap)
        delete m_pBitmap;
    m_pBitmap = nullptr;
    m_bOwnsBitmap = FALSE;
    m_hOldBitmap = nullptr;
    return handle;
}

CSize CMemDC::GetSize() const {
    return m_pBitmap ? GetHBitmapSize(*m_pBitmap) : CSize();
}

HRGN CMemDC::RegionFromBitmap(COLORREF key) {
    if (!m_pBitmap)
        return nullptr;
    const CSize size = GetSize();
    std::vector<uint32_t> pixels;
    if (!ReadBitmapPixels(*m_pBitmap, size, pixels))
        return nullptr;
    return RegionFromPixels(pixels.data(), size.cx, size.cy, size.cx, key);
}

HRGN RegionFromPixels(const uint32_t* pixels, int width, int height, int stride, COLORREF key) {
    if (width <= 0 || height <= 0)
        return nullptr;
    // Pixels are 0x00RRGGBB; the key 0 stands for the top-left pixel's colour.
    const uint32_t keyPixel = key == 0 ? (pixels[0] & 0xFFFFFF)
                                       : ((key & 0xFF) << 16 | (key & 0xFF00) | (key >> 16 & 0xFF));
    std::vector<RECT> runs;
    for (int y = 0; y < height; ++y) {
        const uint32_t* row = pixels + ptrdiff_t(y) * stride;
        for (int x = 0; x < width;) {
            while (x < width && (row[x] & 0xFFFFFF) == keyPixel)
                ++x;
            const int start = x;
            while (x < width && (row[x] & 0xFFFFFF) != keyPixel)
                ++x;
            if (x > start)
                runs.push_back(RECT{start, y, x, y + 1});
        }
    }
    std::vector<char> buffer(sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT));
    RGNDATA* data = reinterpret_cast<RGNDATA*>(buffer.data());
    data->rdh = RGNDATAHEADER{sizeof(RGNDATAHEADER), RDH_RECTANGLES, DWORD(runs.size()),
                              DWORD(runs.size() * sizeof(RECT)), RECT{0, 0, width, height}};
    if (!runs.empty())
        memcpy(data->Buffer, runs.data(), runs.size() * sizeof(RECT));
    return ExtCreateRegion(nullptr, DWORD(buffer.size()), data);
}

CKeyColorDC::CKeyColorDC(CDC* pRef, int cx, int cy) : m_rect(0, 0, cx, cy) {
    CreateCompatibleDC(pRef);
    m_bitmap.CreateCompatibleBitmap(this, cx, cy);
    m_hOldBitmap = ::SelectObject(m_hDC, m_bitmap.m_hObject);
    m_keyBrush.CreateSolidBrush(kKeyColor);
    FillRect(&m_rect, &m_keyBrush);
}

CKeyColorDC::~CKeyColorDC() {
    if (m_hDC && m_hOldBitmap)
        ::SelectObject(m_hDC, m_hOldBitmap);
}
