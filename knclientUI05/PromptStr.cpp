#include "knclientUI05/PromptStr.h"

#include "platform/gdi/Dc.h"
#include "platform/text/Text.h"
#include "platform/window/WindowDcs.h"
#include "platform/window/Wnd.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kStepMs = 100;
constexpr int kPadding = 6;
constexpr int kCorner = 14;
constexpr int kStartAlpha = 128;

RECT Union(const RECT& a, const RECT& b) {
    RECT u;
    UnionRect(&u, &a, &b);
    return u;
}

// Puts the drawing DC's font and bitmap back and frees the DC and the bitmap.
void FreeDrawing(HDC& dc, HGDIOBJ& oldBmp, HGDIOBJ& oldFont, HBITMAP& bmp) {
    if (dc != nullptr) {
        if (oldBmp != nullptr)
            SelectObject(dc, oldBmp);
        if (oldFont != nullptr)
            SelectObject(dc, oldFont);
        DeleteDC(dc);
        dc = nullptr;
    }
    oldBmp = nullptr;
    oldFont = nullptr;
    if (bmp != nullptr) {
        DeleteObject(bmp);
        bmp = nullptr;
    }
}

void InvalidateDirty(CWnd* wnd, const RECT& dirty) {
    if (wnd != nullptr && ::IsWindow(wnd->m_hWnd))
        wnd->InvalidateRect(&dirty, TRUE);
}

} // namespace

CPromptStr::~CPromptStr() {
    FreeDrawing(m_dc, m_hOldBmp, m_hOldFont, m_bmp);
    if (m_pen != nullptr)
        DeleteObject(m_pen);
    if (m_brush != nullptr)
        DeleteObject(m_brush);
}

BOOL CPromptStr::Start(LPCSTR text, CWnd* wnd, int endPos, int startPos, int centerX, int showTime,
                       CFont* font, COLORREF crText, COLORREF crBack) {
    if (text == nullptr || *text == '\0' || wnd == nullptr || !::IsWindow(wnd->m_hWnd))
        return FALSE;
    m_bIdle = FALSE;
    m_strText = text;
    m_pWnd = wnd;
    RECT client;
    wnd->GetClientRect(&client);
    m_nEndPos = endPos != 0 ? endPos : 20;
    m_nStartPos = startPos != 0 ? startPos : 70;
    m_nCenterX = centerX != 0 ? centerX : client.right / 2;
    m_nShowTime = showTime != 0 ? showTime : 3000;
    m_crText = crText;
    m_crBack = crBack;

    FreeDrawing(m_dc, m_hOldBmp, m_hOldFont, m_bmp);
    m_font.DeleteObject();
    LOGFONT logFont{};
    if (font != nullptr && font->GetSafeHandle() != nullptr && font->GetLogFont(&logFont))
        m_font.CreateFontIndirect(&logFont);
    if (m_pen != nullptr)
        DeleteObject(m_pen);
    if (m_brush != nullptr)
        DeleteObject(m_brush);
    m_pen = CreatePen(PS_SOLID, 1, crBack);
    m_brush = CreateSolidBrush(crBack);

    // The label's size is the outline of its text.
    HDC windowDc = GetDC(wnd->m_hWnd);
    m_dc = CreateCompatibleDC(windowDc);
    if (m_font.GetSafeHandle() != nullptr)
        m_hOldFont = SelectObject(m_dc, m_font.GetSafeHandle());
    SetBkColor(m_dc, crBack);
    ::SetTextColor(m_dc, crText);
    SetBkMode(m_dc, OPAQUE);
    BeginPath(m_dc);
    TextOut(m_dc, 0, 0, m_strText, m_strText.GetLength());
    EndPath(m_dc);
    HRGN outline = PathToRegion(m_dc);
    RECT box{0, 0, 0, 0};
    const bool empty = outline == nullptr || GetRgnBox(outline, &box) == NULLREGION;
    if (outline != nullptr)
        DeleteObject(outline);
    if (empty) {
        ReleaseDC(wnd->m_hWnd, windowDc);
        // Freed at the next step.
        return FALSE;
    }
    m_rcText = RECT{box.left, box.top, box.right + kPadding, box.bottom + kPadding};
    const int w = m_rcText.right - m_rcText.left;
    const int h = m_rcText.bottom - m_rcText.top;
    m_bmp = CreateCompatibleBitmap(windowDc, w, h);
    m_hOldBmp = SelectObject(m_dc, m_bmp);
    ReleaseDC(wnd->m_hWnd, windowDc);
    OffsetRect(&m_rcText, m_nCenterX - w / 2, client.bottom * m_nStartPos / 100);
    m_rcStart = m_rcText;
    m_rcPrev = m_rcText;

    // A show time under one step (a negative one too) still runs one step,
    // never none: the rise and fade are divided by the steps.
    m_nSteps = std::max(1, (m_nShowTime + kStepMs) / kStepMs);
    m_dDy = client.bottom * (m_nStartPos - m_nEndPos) / 100.0 / m_nSteps;
    m_nStep = 0;
    m_dAlphaStep = double(kStartAlpha) / m_nSteps;
    m_rcDirty = Union(m_rcText, m_rcPrev);
    m_rcPrev = m_rcText;
    InvalidateDirty(m_pWnd, m_rcDirty);
    return TRUE;
}

BOOL CPromptStr::Step() {
    ++m_nStep;
    if (m_nStep > m_nSteps) {
        m_bIdle = TRUE;
        return FALSE;
    }
    m_rcText = m_rcStart;
    OffsetRect(&m_rcText, 0, -int(m_nStep * m_dDy));
    m_rcDirty = Union(m_rcText, m_rcPrev);
    InvalidateDirty(m_pWnd, m_rcDirty);
    m_rcPrev = m_rcText;
    return TRUE;
}

int CPromptStr::Alpha() const {
    return kStartAlpha - (int(m_nStep * m_dAlphaStep) & 0xFF);
}

void CPromptStr::Draw(HDC hdc) {
    if (m_bIdle || hdc == nullptr || m_dc == nullptr)
        return;
    const int w = m_rcText.right - m_rcText.left;
    const int h = m_rcText.bottom - m_rcText.top;
    BitBlt(m_dc, 0, 0, w, h, hdc, m_rcText.left, m_rcText.top, SRCCOPY);
    HGDIOBJ oldPen = SelectObject(m_dc, m_pen);
    HGDIOBJ oldBrush = SelectObject(m_dc, m_brush);
    RoundRect(m_dc, 0, 0, w, h, kCorner, kCorner);
    SetBkColor(m_dc, m_crBack);
    ::SetTextColor(m_dc, m_crText);
    TextOut(m_dc, 3, 3, m_strText, m_strText.GetLength());
    BLENDFUNCTION blend{AC_SRC_OVER, 0, BYTE(Alpha()), 0};
    AlphaBlend(hdc, m_rcText.left, m_rcText.top, w, h, m_dc, 0, 0, w, h, blend);
    SelectObject(m_dc, oldPen);
    SelectObject(m_dc, oldBrush);
}

void CPromptStr::Draw(CDC* dc) {
    if (dc != nullptr)
        Draw(dc->m_hDC);
}

BOOL CPromptStr::CanFollow() const {
    if (m_bIdle)
        return TRUE;
    const int height = m_rcText.bottom - m_rcText.top;
    return m_rcStart.top - m_rcText.top > height + (height + 5) / 5;
}
