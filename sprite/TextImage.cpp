#include "sprite/TextImage.h"

#include "platform/text/Text.h"

#include <cstring>

CTextImage::CTextImage() {
    m_bAutoFree = TRUE;
    m_logFont.lfCharSet = DEFAULT_CHARSET;
}

CTextImage::~CTextImage() {
    if (m_hFont)
        DeleteObject(m_hFont);
}

BOOL CTextImage::SetText(LPCSTR text, LPCSTR faceName, int nHeight, COLORREF color) {
    if (!text || strlen(text) >= size_t(kMaxText))
        return FALSE;
    strcpy(m_szText, text);
    m_nLength = int(strlen(text));
    m_logFont = LOGFONT{};
    m_logFont.lfHeight = nHeight;
    m_logFont.lfCharSet = DEFAULT_CHARSET;
    if (faceName)
        strncpy(m_logFont.lfFaceName, faceName, LF_FACESIZE - 1);
    m_color = color;
    if (m_hFont)
        DeleteObject(m_hFont);
    m_hFont = CreateFontIndirect(&m_logFont);
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, m_hFont);
    SIZE extent{0, 0};
    GetTextExtentPoint32(screen, m_szText, m_nLength, &extent);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    m_extent = extent;
    return TRUE;
}

void CTextImage::Draw(HDC hdc, int, SPRITEINFO*, int dx, int dy, int w, int h, int sx, int sy,
                      int nAlpha) {
    if (!m_hFont || m_extent.cx <= 0)
        return;
    DrawWholeFrame(hdc, dx, dy, w, h, sx, sy, m_extent, nAlpha, [&](HDC canvas) {
        HGDIOBJ old = SelectObject(canvas, m_hFont);
        SetBkMode(canvas, TRANSPARENT);
        SetTextColor(canvas, m_color);
        TextOut(canvas, 0, 0, m_szText, m_nLength);
        SelectObject(canvas, old);
    });
}
