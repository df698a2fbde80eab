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
