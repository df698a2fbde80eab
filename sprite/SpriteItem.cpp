#include "sprite/SpriteItem.h"

#include "sprite/SpriteWnd.h"

CSpriteItem::~CSpriteItem() {
    if (m_pOwner && m_pOwner->FindItem(m_nId) == this)
        m_pOwner->RemoveItem(m_nId);
}

void CSpriteItem::OnTimer(UINT) {}

void CSpriteItem::DropFocus() {
    if (!m_pOwner)
        return;
    if (m_pOwner->GetCapturedItem() == this)
        m_pOwner->SetCapturedItem(nullptr);
    if (m_pOwner->GetHoverItem() == this)
        m_pOwner->SetHoverItem(nullptr);
}

void CSpriteItem::Show(BOOL bShow) {
    // Hiding what is hidden changes nothing on the screen.
    const bool shows = m_bVisible || bShow;
    m_bVisible = bShow;
    if (shows)
        Invalidate();
    if (!bShow)
        DropFocus();
}

void CSpriteItem::Enable(BOOL bEnable) {
    m_bEnabled = bEnable;
    if (m_bVisible)
        Invalidate();
    if (!bEnable)
        DropFocus();
}

void CSpriteItem::SetPos(int x, int y, int anchor, BOOL bRedraw) {
    const CRect old = GetRect();
    if (anchor == kMoveByAnchor) {
        m_pos.x += x;
        m_pos.y += y;
    } else {
        m_pos.Set(x, y, anchor);
    }
    if (m_pOwner && m_bVisible && bRedraw) {
        m_pOwner->InvalidateRect(old);
        Invalidate();
        m_pOwner->FlushDirty();
    }
}

BOOL CSpriteItem::Attach(CSpriteWnd* pOwner, int x, int y, int anchor, int cx, int cy, int nId,
                         LPCSTR name, int nLayer) {
    m_pOwner = pOwner;
    m_pos.Set(x, y, anchor);
    m_cx = cx;
    m_cy = cy;
    m_nId = nId;
    if (name)
        m_strName = name;
    m_nLayer = nLayer;
    if (!pOwner || !pOwner->AddItem(this)) {
        m_pOwner = nullptr;
        return FALSE;
    }
    return TRUE;
}

BOOL CSpriteItem::OnKeyDown(UINT, UINT, UINT) {
    return TRUE;
}
BOOL CSpriteItem::OnKeyUp(UINT, UINT, UINT) {
    return TRUE;
}
void CSpriteItem::OnMouseMove(UINT, int, int) {}
void CSpriteItem::OnMouseEnter() {}
void CSpriteItem::OnMouseLeave() {}
void CSpriteItem::OnLButtonDown(UINT, int, int) {}
void CSpriteItem::OnLButtonUp(UINT, int, int) {}
void CSpriteItem::OnRButtonDown(UINT, int, int) {}
void CSpriteItem::OnRButtonUp(UINT, int, int) {}
CString CSpriteItem::GetName() {
    return m_strName;
}
void CSpriteItem::Draw(CDC*) {}

CRect CSpriteItem::GetRect() const {
    const POINT p = ResolvePos(m_pos);
    return CRect(p.x, p.y, p.x + m_cx, p.y + m_cy);
}

void CSpriteItem::Invalidate() {
    if (m_pOwner)
        m_pOwner->InvalidateRect(GetRect());
}

CSpriteItem* CSpriteItem::SetCapture() {
    if (!m_pOwner)
        return nullptr;
    CSpriteItem* previous = m_pOwner->GetCapturedItem();
    m_pOwner->SetCapturedItem(this);
    return previous;
}

void CSpriteItem::ReleaseCapture() {
    if (m_pOwner && m_pOwner->GetCapturedItem() == this)
        m_pOwner->SetCapturedItem(nullptr);
}

UINT_PTR CSpriteItem::TimerId(int nKind) const {
    return kItemTimerBase + (UINT_PTR(nKind & 0xFF) << 16) + UINT_PTR(m_nId & 0xFFFF);
}

BOOL CSpriteItem::SetTimer(int nKind, UINT nElapseMs) {
    return m_pOwner && m_pOwner->SetTimer(TimerId(nKind), nElapseMs) != 0;
}

BOOL CSpriteItem::KillTimer(int nKind) {
    return m_pOwner && m_pOwner->KillTimer(TimerId(nKind));
}
