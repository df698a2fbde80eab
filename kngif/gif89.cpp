#include "kngif/gif89.h"

namespace {
constexpr int kOpened = 0;
constexpr int kNotOpened = 3;

int Opened(HKNGIF& held, HKNGIF gif) {
    GifClose(held);
    held = gif;
    return gif ? kOpened : kNotOpened;
}
} // namespace

CKNGif89::~CKNGif89() {
    GifClose(m_hGif);
}

int CKNGif89::LoadFromMemory(const BYTE* data, DWORD size, BOOL withSignature) {
    return Opened(m_hGif, GifOpenMemory(data, size, withSignature));
}

int CKNGif89::LoadFromFile(LPCSTR path) {
    return Opened(m_hGif, GifOpenFile(path));
}

int CKNGif89::GetScreenInfo(int* width, int* height, COLORREF* background) {
    return GifGetScreenInfo(m_hGif, width, height, background);
}

int CKNGif89::GetGlobalPaletteInfo(int* backgroundIndex) {
    return GifGetGlobalPaletteInfo(m_hGif, backgroundIndex);
}

int CKNGif89::CopyGlobalPalette(BYTE* buffer, int bufferSize) {
    return GifCopyGlobalPalette(m_hGif, buffer, bufferSize);
}

int CKNGif89::GetNextFrame(int* left, int* top, int* width, int* height, HBITMAP* bitmap,
                           BOOL* transparent, COLORREF* transparentColor, HPALETTE* palette,
                           int* disposal, int* delay) {
    return GifGetNextFrame(m_hGif, left, top, width, height, bitmap, transparent, transparentColor,
                           palette, disposal, delay);
}

GifFrameRecord* CKNGif89::GetNextFrameRecord() {
    return GifGetNextFrameRecord(m_hGif);
}

HBITMAP CKNGif89::CreateFrameBitmap() {
    return GifCreateFrameBitmap(m_hGif);
}

void CKNGif89::Rewind() {
    GifRewind(m_hGif);
}
