// The sprite window's items and input: items listed by layer, hover and
// capture, mouse and keys routed to the items first and then to the hooks.

#include "sprite/SpriteItem.h"
#include "sprite/SpriteWnd.h"
#include "sprite/SystemProcs.h"

namespace {

int ItemLayer(void* value) {
    return static_cast<CSpriteItem*>(value)->GetLayer();
}

bool Accepts(const CSpriteItem* item) {
    return item->IsVisible() && item->IsEnabled();
}

} // namespace

POSITION CSpriteWnd::AddItem(CSpriteItem* pItem) {
    if (!pItem || FindItem(pItem->GetId()))
        return nullptr;
    POSITION pos = InsertByZ(m_items, pItem, pItem->GetLayer(), ItemLayer);
    // A new item shows at the next flush, as a removed one disappears.
    if (pItem->IsVisible())
        InvalidateRect(pItem->GetRect());
    return pos;
}

CSpriteItem* CSpriteWnd::FindItem(int nId) {
    for (POSITION pos = m_items.GetHeadPosition(); pos;) {
        auto* item = static_cast<CSpriteItem*>(m_items.GetNext(pos));
        if (item->GetId() == nId)
            return item;
    }
    return nullptr;
}

CSpriteItem* CSpriteWnd::RemoveItem(int nId) {
    for (POSITION pos = m_items.GetHeadPosition(); pos;) {
        POSITION here = pos;
        auto* item = static_cast<CSpriteItem*>(m_items.GetNext(pos));
        if (item->GetId() != nId)
            continue;
        m_items.RemoveAt(here);
        if (item->IsVisible())
            InvalidateRect(item->GetRect());
        if (m_pHoverItem == item)
            m_pHoverItem = nullptr;
        if (m_pCapturedItem == item)
            m_pCapturedItem = nullptr;
        item->m_pOwner = nullptr;
        return item;
    }
    return nullptr;
}

POSITION CSpriteWnd::HitTest(int x, int y) {
    const POINT point{x, y};
    for (POSITION pos = m_sprites.GetTailPosition(); pos;) {
        auto* s = static_cast<SPRITEINFO*>(m_sprites.GetPrev(pos));
        if (s->nChannel < 0)
            continue;
        const CRect rect = GetSpriteRect(HandleOf(s));
        if (rect.PtInRect(point))
            return HandleOf(s);
    }
    return nullptr;
}

CSpriteItem* CSpriteWnd::ItemAt(int x, int y) const {
    const POINT point{x, y};
    for (POSITION pos = m_items.GetTailPosition(); pos;) {
        auto* item = static_cast<CSpriteItem*>(m_items.GetPrev(pos));
        if (Accepts(item) && item->GetRect().PtInRect(point))
            return item;
    }
    return nullptr;
}

// A playing, shown sprite of a higher z than the item's layer over the point
// covers it.
bool CSpriteWnd::IsCovered(CSpriteItem* item, int x, int y) const {
    const POINT point{x, y};
    for (POSITION pos = m_sprites.GetTailPosition(); pos;) {
        auto* s = static_cast<SPRITEINFO*>(m_sprites.GetPrev(pos));
        if (s->z <= item->GetLayer())
            break;
        if (s->nChannel < 0 || !s->bShown)
            continue;
        if (const_cast<CSpriteWnd*>(this)->GetSpriteRect(HandleOf(s)).PtInRect(point))
            return true;
    }
    return false;
}

void CSpriteWnd::RouteMouseMove(UINT nFlags, int x, int y) {
    const POINT point{x, y};
    if (m_pCapturedItem) {
        CSpriteItem* captured = m_pCapturedItem;
        if (captured->GetRect().PtInRect(point)) {
            if (m_pHoverItem != captured) {
                m_pHoverItem = captured;
                captured->OnMouseEnter();
            }
            if (m_pCapturedItem == captured)
                captured->OnMouseMove(nFlags, x, y);
        } else if (m_pHoverItem == captured) {
            m_pHoverItem = nullptr;
            captured->OnMouseLeave();
        }
        return;
    }
    CSpriteItem* item = MouseItemAt(x, y);
    if (MoveHoverTo(item))
        item->OnMouseMove(nFlags, x, y);
    OnMouseMoveEx(nFlags, x, y);
}

CSpriteItem* CSpriteWnd::MouseItemAt(int x, int y) const {
    CSpriteItem* found = ItemAt(x, y);
    return found && !IsCovered(found, x, y) ? found : nullptr;
}

bool CSpriteWnd::MoveHoverTo(CSpriteItem* item) {
    if (item == m_pHoverItem)
        return item != nullptr;
    CSpriteItem* old = m_pHoverItem;
    m_pHoverItem = nullptr;
    if (old)
        old->OnMouseLeave();
    if (!item)
        return false;
    m_pHoverItem = item;
    item->OnMouseEnter();
    // The enter notice may have moved the hover on.
    return m_pHoverItem == item;
}

void CSpriteWnd::OnMouseMove(UINT nFlags, CPoint point) {
    if (!m_bTrackingMouse) {
        // Without COMCTL32 there is no mouse-leave notice; hover then ends
        // only when the mouse moves over something else.
        if (TrackMouseEventProc track = FindTrackMouseEvent()) {
            TRACKMOUSEEVENT request{sizeof(TRACKMOUSEEVENT), TME_LEAVE, m_hWnd, 0};
            m_bTrackingMouse = track(&request);
        }
    }
    RouteMouseMove(nFlags, point.x, point.y);
}

void CSpriteWnd::OnMouseLeave() {
    RouteMouseMove(0, -1, -1);
    m_bTrackingMouse = FALSE;
}

UINT CSpriteWnd::OnGetDlgCode() {
    return DLGC_WANTALLKEYS;
}

void CSpriteWnd::OnKeyDown(UINT nKey, UINT nRepeat, UINT nFlags) {
    for (POSITION pos = m_items.GetHeadPosition(); pos;) {
        auto* item = static_cast<CSpriteItem*>(m_items.GetNext(pos));
        if (Accepts(item) && !item->OnKeyDown(nKey, nRepeat, nFlags))
            return;
    }
    OnKeyDownEx(nKey, nRepeat, nFlags);
}

void CSpriteWnd::OnKeyUp(UINT nKey, UINT nRepeat, UINT nFlags) {
    for (POSITION pos = m_items.GetHeadPosition(); pos;) {
        auto* item = static_cast<CSpriteItem*>(m_items.GetNext(pos));
        if (Accepts(item) && !item->OnKeyUp(nKey, nRepeat, nFlags))
            return;
    }
    OnKeyUpEx(nKey, nRepeat, nFlags);
}

CSpriteItem* CSpriteWnd::ButtonTarget() const {
    return m_pCapturedItem ? m_pCapturedItem : m_pHoverItem;
}

// An item shown or hidden under a mouse that stands still gets no move, so
// a press first finds what lies under it now: a button that took the place
// of another (trusteeship and its exit) takes the click.
void CSpriteWnd::HoverAtPress(CPoint point) {
    if (!m_pCapturedItem)
        MoveHoverTo(MouseItemAt(point.x, point.y));
}

void CSpriteWnd::OnLButtonDown(UINT nFlags, CPoint point) {
    SetFocus();
    HoverAtPress(point);
    SetCapture();
    if (CSpriteItem* item = ButtonTarget())
        item->OnLButtonDown(nFlags, point.x, point.y);
    else
        OnLButtonDownEx(nFlags, point.x, point.y);
}

void CSpriteWnd::OnLButtonUp(UINT nFlags, CPoint point) {
    const bool held = ::GetCapture() == m_hWnd;
    ::ReleaseCapture();
    if (!held)
        return;
    if (CSpriteItem* item = ButtonTarget())
        item->OnLButtonUp(nFlags, point.x, point.y);
    else
        OnLButtonUpEx(nFlags, point.x, point.y);
}

void CSpriteWnd::OnRButtonDown(UINT nFlags, CPoint point) {
    HoverAtPress(point);
    if (CSpriteItem* item = ButtonTarget())
        item->OnRButtonDown(nFlags, point.x, point.y);
    else
        OnRButtonDownEx(nFlags, point.x, point.y);
}

void CSpriteWnd::OnRButtonUp(UINT nFlags, CPoint point) {
    if (CSpriteItem* item = ButtonTarget())
        item->OnRButtonUp(nFlags, point.x, point.y);
    else
        OnRButtonUpEx(nFlags, point.x, point.y);
}

void CSpriteWnd::OnLButtonDblClk(UINT nFlags, CPoint point) {
    OnLButtonDown(nFlags, point);
}

void CSpriteWnd::OnRButtonDblClk(UINT nFlags, CPoint point) {
    OnRButtonDown(nFlags, point);
}

void CSpriteWnd::OnMouseMoveEx(UINT, int, int) {}
void CSpriteWnd::OnKeyDownEx(UINT, UINT, UINT) {}
void CSpriteWnd::OnKeyUpEx(UINT, UINT, UINT) {}
void CSpriteWnd::OnLButtonDownEx(UINT, int, int) {}
void CSpriteWnd::OnLButtonUpEx(UINT, int, int) {}
void CSpriteWnd::OnRButtonDownEx(UINT, int, int) {}
void CSpriteWnd::OnRButtonUpEx(UINT, int, int) {}
