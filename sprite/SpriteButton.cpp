#include "sprite/SpriteButton.h"

#include "platform/window/Input.h"
#include "platform/window/Messages.h"
#include "platform/window/Window.h"
#include "sprite/FrameImage.h"
#include "sprite/GdiRoutines.h"
#include "sprite/SpriteWnd.h"
#include "sprite/StateImage.h"

#include <algorithm>

// ---- CSpriteButton ----

BOOL CSpriteButton::IsInside(int x, int y) const {
    return GetRect().PtInRect(POINT{x, y});
}

BOOL CSpriteButton::IsCursorOver() const {
    CSpriteWnd* owner = GetOwner();
    POINT cursor;
    if (!owner || !owner->m_hWnd || !::GetCursorPos(&cursor))
        return FALSE;
    ::ScreenToClient(owner->m_hWnd, &cursor);
    return IsInside(cursor.x, cursor.y);
}

void CSpriteButton::PostToOwner(UINT message, WPARAM wParam, LPARAM lParam) const {
    if (CSpriteWnd* owner = GetOwner(); owner && owner->m_hWnd)
        ::PostMessage(owner->m_hWnd, message, wParam, lParam);
}

void CSpriteButton::Show(BOOL bShow) {
    CSpriteItem::Show(bShow);
    if (!bShow) {
        if (m_nState != kButtonDisabled)
            m_nState = kButtonNormal;
        m_bPressed = FALSE; // hidden, it lost the capture
    } else if (IsEnabled()) {
        m_nState = IsCursorOver() ? kButtonHover : kButtonNormal;
    }
}

void CSpriteButton::Enable(BOOL bEnable) {
    if (bEnable) {
        m_nState = IsCursorOver() ? kButtonHover : kButtonNormal;
    } else {
        m_nState = kButtonDisabled;
        m_bPressed = FALSE; // disabled, it loses the capture
    }
    CSpriteItem::Enable(bEnable);
}

void CSpriteButton::OnMouseEnter() {
    if (m_nState == kButtonDisabled)
        return;
    m_nState = m_bPressed ? kButtonDown : kButtonHover;
    Invalidate();
}

void CSpriteButton::OnMouseLeave() {
    if (m_nState == kButtonDisabled)
        return;
    m_nState = kButtonNormal;
    Invalidate();
}

void CSpriteButton::OnLButtonDown(UINT, int, int) {
    if (m_nState == kButtonDisabled)
        return;
    m_nState = kButtonDown;
    Invalidate();
    SetCapture();
    m_bPressed = TRUE;
}

void CSpriteButton::OnLButtonUp(UINT, int x, int y) {
    if (m_nState == kButtonDisabled)
        return;
    const BOOL inside = IsInside(x, y);
    const BOOL wasPressed = m_bPressed;
    m_nState = inside ? kButtonHover : kButtonNormal;
    Invalidate();
    ReleaseCapture();
    m_bPressed = FALSE;
    // A release that did not start with a press on the button is no click.
    if (inside && wasPressed)
        PostToOwner(WM_COMMAND, WPARAM(GetId()), 0);
}

void CSpriteButton::Draw(CDC* pDC) {
    if (!m_pImage || !pDC)
        return;
    const int frames = m_pImage->GetFrameCount(nullptr);
    if (frames <= 0)
        return;
    const SIZE size = m_pImage->GetSize(nullptr);
    // A strip with fewer cells than states shows its last cell.
    const int frame = std::min(m_nState, frames - 1);
    // Only the part the DC lets through is drawn.
    RECT part{0, 0, size.cx, size.cy};
    if (!ClipToDC(pDC->m_hDC, part))
        return;
    m_pImage->Draw(pDC->m_hDC, frame, nullptr, part.left, part.top, part.right - part.left,
                   part.bottom - part.top, part.left, part.top, 255);
}

// ---- CSpriteButtonEx ----

CSpriteButtonEx::~CSpriteButtonEx() {
    delete m_pImage;
}

BOOL CSpriteButtonEx::AttachImage(CSpriteImage* pImage, CSpriteWnd* pOwner, int x, int y,
                                  int anchor, int nLayer, int nId) {
    delete m_pImage;
    m_pImage = pImage;
    const SIZE size = pImage->GetSize(nullptr);
    return Attach(pOwner, x, y, anchor, size.cx, size.cy, nId, nullptr, nLayer);
}

BOOL CSpriteButtonEx::Create(HBITMAP hStrip, int nFrames, BOOL bMask, CSpriteWnd* pOwner, int x,
                             int y, int anchor, int nLayer, int nId) {
    const CSize strip = GetHBitmapSize(hStrip);
    const int cells = nFrames + (bMask ? 1 : 0);
    if (nFrames <= 0 || nFrames > CFrameImage::kMaxFrames || strip.cx < cells || strip.cy <= 0)
        return FALSE;
    const int cell = strip.cx / cells;
    auto* image = new CFrameImage;
    for (int i = 0; i < nFrames; ++i) {
        const RECT rect{i * cell, 0, (i + 1) * cell, strip.cy};
        image->AddFrame(hStrip, &rect, 10);
    }
    if (bMask) {
        const RECT rect{nFrames * cell, 0, (nFrames + 1) * cell, strip.cy};
        image->SetMask(hStrip, &rect);
    }
    return AttachImage(image, pOwner, x, y, anchor, nLayer, nId);
}

BOOL CSpriteButtonEx::CreateEx(HBITMAP hStates, HBITMAP hAlpha, BOOL bOneAlphaCell,
                               CSpriteWnd* pOwner, int x, int y, int anchor, int nLayer, int nId) {
    auto* image = new CStateImage;
    if (!image->SetBitmaps(hStates, hAlpha, bOneAlphaCell)) {
        delete image;
        return FALSE;
    }
    return AttachImage(image, pOwner, x, y, anchor, nLayer, nId);
}

// Only the auto-release timer runs on a button: it lets the button go.
void CSpriteButtonEx::OnTimer(UINT nIdHigh) {
    KillTimer(int(nIdHigh & 0xFF));
    OnLButtonUp(0, 0, 0);
}

void CSpriteButtonEx::OnMouseEnter() {
    if (m_nState == kButtonDisabled || IsHeldDown())
        return;
    m_nState = m_bPressed ? kButtonDown : kButtonHover;
    Invalidate();
    PostToOwner(WM_SPRITEBUTTON_HOVER, WPARAM(GetId()), 0);
}

void CSpriteButtonEx::OnMouseLeave() {
    if (m_nState == kButtonDisabled || (m_nState == kButtonDown && (m_bCheckMode || m_bNotify)))
        return;
    m_nState = kButtonNormal;
    Invalidate();
    PostToOwner(WM_SPRITEBUTTON_HOVER, WPARAM(GetId()), 1);
}

void CSpriteButtonEx::OnLButtonDown(UINT, int, int) {
    if (m_nState == kButtonDisabled || IsHeldDown())
        return;
    m_nState = kButtonDown;
    Invalidate();
    SetCapture();
    m_bPressed = TRUE;
    if (m_bNotify) {
        PostToOwner(WM_SPRITEBUTTON_PRESS, WPARAM(GetId()), 1);
        if (m_nAutoReleaseMs >= 0)
            SetTimer(kAutoReleaseTimer, UINT(m_nAutoReleaseMs));
    }
}

void CSpriteButtonEx::OnLButtonUp(UINT, int x, int y) {
    if (m_nState == kButtonDisabled || (m_bCheckMode && !m_bPressed))
        return;
    const BOOL wasDown = m_nState == kButtonDown;
    if (m_bNotify && wasDown) {
        if (m_nAutoReleaseMs >= 0)
            KillTimer(kAutoReleaseTimer);
        PostToOwner(WM_SPRITEBUTTON_PRESS, WPARAM(GetId()), 0);
    }
    if (IsInside(x, y)) {
        if (wasDown)
            PostToOwner(WM_COMMAND, WPARAM(GetId()), 0);
        m_nState = m_bCheckMode ? kButtonDown : kButtonHover;
    } else {
        m_nState = kButtonNormal;
    }
    Invalidate();
    ReleaseCapture();
    m_bPressed = FALSE;
}

void CSpriteButtonEx::SetCheck(BOOL bCheck, BOOL bRedraw) {
    m_nState = bCheck ? kButtonDown : kButtonNormal;
    if (bRedraw && GetOwner())
        Invalidate();
}

void CSpriteButtonEx::SetNotify(BOOL bNotify, int nAutoReleaseMs) {
    m_bNotify = bNotify;
    m_nAutoReleaseMs = nAutoReleaseMs;
}
