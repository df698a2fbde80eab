#include "knclubpub/FramePaint.h"

#include <algorithm>

namespace {

bool SizeOf(HBITMAP bitmap, int* width, int* height) {
    BITMAP info{};
    if (!bitmap || !GetObjectA(bitmap, sizeof info, &info)) {
        return false;
    }
    *width = info.bmWidth;
    *height = std::abs((int)info.bmHeight);
    return *width > 0 && *height > 0;
}

} // namespace

void DrawKeyedPiece(CDC* dc, HBITMAP bitmap, int x, int y) {
    int w;
    int h;
    if (!dc || !SizeOf(bitmap, &w, &h)) {
        return;
    }
    HDC memory = CreateCompatibleDC(dc->GetSafeHdc());
    HGDIOBJ old = SelectObject(memory, bitmap);
    if (old) {
        TransparentBlt(dc->GetSafeHdc(), x, y, w, h, memory, 0, 0, w, h, RGB(255, 0, 255));
        SelectObject(memory, old);
    }
    DeleteDC(memory);
}

void TilePiece(CDC* dc, HBITMAP bitmap, const RECT& area) {
    int w;
    int h;
    if (!dc || !SizeOf(bitmap, &w, &h)) {
        return;
    }
    HDC memory = CreateCompatibleDC(dc->GetSafeHdc());
    HGDIOBJ old = SelectObject(memory, bitmap);
    if (old) {
        for (int y = area.top; y < area.bottom; y += h) {
            for (int x = area.left; x < area.right; x += w) {
                BitBlt(dc->GetSafeHdc(), x, y, std::min(w, (int)area.right - x),
                       std::min(h, (int)area.bottom - y), memory, 0, 0, SRCCOPY);
            }
        }
        SelectObject(memory, old);
    }
    DeleteDC(memory);
}
