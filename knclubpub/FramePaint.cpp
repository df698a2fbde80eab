#include "knclubpub/FramePaint.h"

#include <algorithm>
#include <cstdlib>

bool BitmapSize(HBITMAP bitmap, int* width, int* height) {
    BITMAP info{};
    if (!bitmap || !GetObjectA(bitmap, sizeof info, &info)) {
        return false;
    }
    *width = info.bmWidth;
    *height = std::abs((int)info.bmHeight);
    return true;
}

BitmapDc::BitmapDc(HDC like, HBITMAP bitmap) : m_dc(CreateCompatibleDC(like)) {
    if (m_dc && bitmap) {
        m_old = SelectObject(m_dc, bitmap);
    }
}

BitmapDc::~BitmapDc() {
    if (m_old) {
        SelectObject(m_dc, m_old);
    }
    if (m_dc) {
        DeleteDC(m_dc);
    }
}

void DrawKeyedPiece(CDC* dc, HBITMAP bitmap, int x, int y) {
    int w;
    int h;
    if (!dc || !BitmapSize(bitmap, &w, &h)) {
        return;
    }
    BitmapDc piece(dc->GetSafeHdc(), bitmap);
    if (piece.Ok()) {
        TransparentBlt(dc->GetSafeHdc(), x, y, w, h, piece.Get(), 0, 0, w, h, RGB(255, 0, 255));
    }
}

void TilePiece(CDC* dc, HBITMAP bitmap, const RECT& area) {
    int w;
    int h;
    if (!dc || !BitmapSize(bitmap, &w, &h) || w <= 0 || h <= 0) {
        return;
    }
    BitmapDc piece(dc->GetSafeHdc(), bitmap);
    for (int y = area.top; piece.Ok() && y < area.bottom; y += h) {
        for (int x = area.left; x < area.right; x += w) {
            BitBlt(dc->GetSafeHdc(), x, y, std::min(w, (int)area.right - x),
                   std::min(h, (int)area.bottom - y), piece.Get(), 0, 0, SRCCOPY);
        }
    }
}
