// The sprite window's drawing: the dirty list, composing rectangles straight
// into the window, the window's life and its timers.

#include "platform/gdi/DcEx.h"
#include "platform/system/Clock.h"
#include "platform/window/Window.h"
#include "sprite/GdiRoutines.h"
#include "sprite/SpriteItem.h"
#include "sprite/SpriteWnd.h"

#include <numeric>

namespace {

bool Intersects(const RECT& a, const RECT& b) {
    RECT out;
    return IntersectRect(&out, &a, &b);
}

// Sets of rectangles that overlap, directly or through others, as one
// bounding box each: what merging intersecting regions until none intersect
// leaves.
std::vector<RECT> MergeOverlapping(const std::vector<RECT>& rects) {
    std::vector<size_t> parent(rects.size());
    std::iota(parent.begin(), parent.end(), 0);
    auto root = [&](size_t i) {
        while (parent[i] != i)
            i = parent[i] = parent[parent[i]];
        return i;
    };
    for (size_t i = 0; i < rects.size(); ++i)
        for (size_t j = i + 1; j < rects.size(); ++j)
            if (Intersects(rects[i], rects[j]))
                parent[root(j)] = root(i);
    std::vector<RECT> boxes(rects.size(), RECT{0, 0, 0, 0});
    for (size_t i = 0; i < rects.size(); ++i)
        UnionRect(&boxes[root(i)], &boxes[root(i)], &rects[i]);
    std::erase_if(boxes, [](const RECT& r) { return IsRectEmpty(&r); });
    return boxes;
}

} // namespace

void CSpriteWnd::AddDirty(POSITION pos, const RECT& rect) {
    if (pos)
        for (const DirtyEntry& entry : m_dirty)
            if (entry.posSprite == pos)
                return;
    if (!pos && IsRectEmpty(&rect))
        return;
    m_dirty.push_back(DirtyEntry{pos, rect});
    // The engine's own steps are shown together once the steps due now are
    // done (OnTimer); any other change (a record, a click) as soon as no
    // other message waits.
    if (!m_hWnd || m_bInEngineStep)
        return;
    StartFlushTick();
    if (!m_bPaintAsked)
        AskPaint(pos ? RECT(GetSpriteRect(pos)) : rect);
}

void CSpriteWnd::StartFlushTick() {
    if (!m_bFlushTicking) {
        m_bFlushTicking = true;
        SetTimer(kFlushTimerId, kFrameMs);
    }
}

// A paint of one pixel of the change: WM_PAINT flushes the whole list.
void CSpriteWnd::AskPaint(const RECT& change) {
    CRect client;
    GetClientRect(&client);
    RECT pixel{0, 0, 1, 1};
    if (!IsRectEmpty(&change) && client.PtInRect(CPoint(change.left, change.top)))
        pixel = RECT{change.left, change.top, change.left + 1, change.top + 1};
    m_bPaintAsked = true;
    ::InvalidateRect(m_hWnd, &pixel, FALSE);
}

// After the engine's steps: what they changed is shown now when no other
// timer is due at this moment and the last flush lies a display refresh
// back, else by the flush tick.
void CSpriteWnd::ShowSteps() {
    if (m_dirty.empty() || !m_hWnd)
        return;
    const bool timerDue = (HIWORD(GetQueueStatus(QS_TIMER)) & QS_TIMER) != 0;
    if (!timerDue && GetTickCount() - m_nLastFlush >= kFrameMs)
        FlushDirty();
    else
        StartFlushTick();
}

void CSpriteWnd::ForgetDirtySprite(POSITION pos) {
    for (DirtyEntry& entry : m_dirty)
        if (entry.posSprite == pos)
            entry.posSprite = nullptr;
}

void CSpriteWnd::InvalidateSprite(POSITION pos) {
    if (Info(pos))
        AddDirty(pos, GetSpriteRect(pos));
}

void CSpriteWnd::InvalidateRect(const RECT& rect) {
    AddDirty(nullptr, rect);
}

void CSpriteWnd::FlushDirty() {
    if (m_dirty.empty())
        return;
    m_nLastFlush = GetTickCount();
    std::vector<RECT> rects;
    rects.reserve(m_dirty.size() * 2);
    for (const DirtyEntry& entry : m_dirty) {
        if (!IsRectEmpty(&entry.rect))
            rects.push_back(entry.rect);
        SPRITEINFO* s = Info(entry.posSprite);
        if (s && s->nChannel >= 0) {
            const CRect now = GetSpriteRect(entry.posSprite);
            if (!now.IsRectEmpty())
                rects.push_back(now);
        }
    }
    m_dirty.clear();
    if (!m_hWnd || !m_dcBack.GetBitmap())
        return;
    const CSize size = m_dcBack.GetSize();
    const RECT client{0, 0, size.cx, size.cy};
    std::vector<RECT> boxes;
    for (RECT box : MergeOverlapping(rects))
        if (IntersectRect(&box, &box, &client))
            boxes.push_back(box);
    ComposeInWindow(boxes);
}

void CSpriteWnd::PaintRect(const RECT& rect) {
    ComposeInWindow({rect});
}

// The boxes are composed straight into the window, through a DC limited to
// them: only they are shown again, and what the window does not show of
// them (under its children, off its parent) costs nothing.
void CSpriteWnd::ComposeInWindow(const std::vector<RECT>& boxes) {
    if (boxes.empty())
        return;
    HRGN area = CreateRectRgnIndirect(&boxes[0]);
    for (size_t i = 1; i < boxes.size(); ++i) {
        HRGN more = CreateRectRgnIndirect(&boxes[i]);
        CombineRgn(area, area, more, RGN_OR);
        DeleteObject(more);
    }
    HDC window = GetDCEx(m_hWnd, area, DCX_CLIPCHILDREN | DCX_INTERSECTRGN);
    DeleteObject(area);
    if (!window)
        return;
    const std::vector<PaintEntry> list = PaintList();
    for (const RECT& box : boxes)
        PaintBox(window, box, list);
    ::ReleaseDC(m_hWnd, window);
}

// Removes the cover from the pieces; a piece it cuts leaves up to four (the
// bands above and below it, then left and right of it). Past the limit the
// pieces stay whole: drawing more than needed is only slower.
void CSpriteWnd::VisiblePieces::Cut(const RECT& c) {
    for (int i = 0; i < count;) {
        const RECT p = pieces[i];
        if (c.left >= p.right || c.right <= p.left || c.top >= p.bottom || c.bottom <= p.top) {
            ++i;
            continue;
        }
        RECT rest[4];
        int n = 0;
        const LONG top = std::max(p.top, c.top), bottom = std::min(p.bottom, c.bottom);
        if (p.top < c.top)
            rest[n++] = RECT{p.left, p.top, p.right, c.top};
        if (c.bottom < p.bottom)
            rest[n++] = RECT{p.left, c.bottom, p.right, p.bottom};
        if (p.left < c.left)
            rest[n++] = RECT{p.left, top, c.left, bottom};
        if (c.right < p.right)
            rest[n++] = RECT{c.right, top, p.right, bottom};
        if (count - 1 + n > kMaxPieces)
            return;
        pieces[i] = pieces[--count];
        for (int k = 0; k < n; ++k)
            pieces[count++] = rest[k];
    }
}

// Layer by layer from the lowest: at each number first the shown items of
// that layer, then the playing sprites of that z, so a sprite covers an item
// of its number. A sprite's place and its opaque part are taken once here
// for every rectangle a flush paints.
std::vector<CSpriteWnd::PaintEntry> CSpriteWnd::PaintList() {
    std::vector<PaintEntry> list;
    POSITION item = m_items.GetHeadPosition();
    POSITION sprite = m_sprites.GetHeadPosition();
    while (item || sprite) {
        auto* nextItem = item ? static_cast<CSpriteItem*>(m_items.GetAt(item)) : nullptr;
        auto* nextSprite = sprite ? static_cast<SPRITEINFO*>(m_sprites.GetAt(sprite)) : nullptr;
        if (nextItem && (!nextSprite || nextItem->GetLayer() <= nextSprite->z)) {
            m_items.GetNext(item);
            if (nextItem->IsVisible())
                list.push_back(PaintEntry{nextItem, nullptr, nextItem->GetRect(), {0, 0, 0, 0}});
            continue;
        }
        m_sprites.GetNext(sprite);
        CSpriteImage* image = nextSprite->nChannel >= 0 ? ImageOf(nextSprite) : nullptr;
        if (!image)
            continue;
        const int frame = std::max(0, m_channels[nextSprite->nChannel].nFrame);
        PaintEntry entry{nullptr, nextSprite, image->GetRect(nextSprite, frame), {0, 0, 0, 0}};
        OffsetRect(&entry.area, nextSprite->x, nextSprite->y);
        if (nextSprite->alpha == 255) {
            entry.opaque = image->GetOpaqueRect(nextSprite, frame);
            OffsetRect(&entry.opaque, nextSprite->x, nextSprite->y);
            IntersectRect(&entry.opaque, &entry.opaque, &entry.area);
        }
        list.push_back(entry);
    }
    return list;
}

// What of the rectangle an opaque sprite drawn later covers is neither
// copied from the background nor drawn by what lies below: it would be
// painted over.
void CSpriteWnd::PaintBox(HDC target, const RECT& rect, const std::vector<PaintEntry>& list) {
    const int cx = rect.right - rect.left, cy = rect.bottom - rect.top;
    if (cx <= 0 || cy <= 0)
        return;
    struct Inside {
        const PaintEntry* entry;
        VisiblePieces pieces;
        RECT cover;
    };
    std::vector<Inside> inside;
    for (const PaintEntry& entry : list) {
        RECT part;
        if (!IntersectRect(&part, &entry.area, &rect))
            continue;
        Inside in{&entry, {}, {0, 0, 0, 0}};
        in.pieces.pieces[0] = part;
        in.pieces.count = 1;
        IntersectRect(&in.cover, &entry.opaque, &part);
        inside.push_back(in);
    }
    VisiblePieces background;
    background.pieces[0] = rect;
    background.count = 1;
    for (size_t i = 0; i < inside.size(); ++i) {
        const RECT& cover = inside[i].cover;
        if (IsRectEmpty(&cover))
            continue;
        background.Cut(cover);
        for (size_t below = 0; below < i; ++below)
            if (inside[below].entry->sprite && inside[below].pieces.count > 0)
                inside[below].pieces.Cut(cover);
    }
    for (int i = 0; i < background.count; ++i) {
        const RECT& r = background.pieces[i];
        BitBlt(target, r.left, r.top, r.right - r.left, r.bottom - r.top, m_dcBack, r.left, r.top,
               SRCCOPY);
    }
    for (const Inside& in : inside) {
        if (in.entry->item) {
            DrawItem(target, in.entry->item, rect);
            continue;
        }
        for (int i = 0; i < in.pieces.count; ++i)
            DrawSprite(target, in.entry->sprite, in.pieces.pieces[i]);
    }
}

void CSpriteWnd::DrawItem(HDC target, CSpriteItem* item, const RECT& clip) {
    const CRect area = item->GetRect();
    RECT part;
    if (!IntersectRect(&part, &area, &clip))
        return;
    // The item draws at its own (0, 0), kept to the part of it inside the box.
    OffsetRect(&part, -area.left, -area.top);
    DrawMoved(target, area.TopLeft(), part, [&](HDC dc) { item->Draw(CDC::FromHandle(dc)); });
}

void CSpriteWnd::DrawSprite(HDC hdc, SPRITEINFO* s, const RECT& clip) {
    CSpriteImage* image = ImageOf(s);
    if (!image)
        return;
    const int frame = std::max(0, m_channels[s->nChannel].nFrame);
    CRect area = image->GetRect(s, frame);
    area.OffsetRect(s->x, s->y);
    RECT part;
    if (!IntersectRect(&part, &area, &clip))
        return;
    const POINT origin = image->GetOrigin(s, frame);
    image->Draw(hdc, frame, s, part.left, part.top, part.right - part.left, part.bottom - part.top,
                part.left - area.left + origin.x, part.top - area.top + origin.y, s->alpha);
}

void CSpriteWnd::DrawBackground(CDC* pDC, int cx, int cy) {
    pDC->FillSolidRect(0, 0, cx, cy, 0xFFFFFF);
}

void CSpriteWnd::OnDestroy() {
    m_dcBack.Free();
    // Sprites go without notice; their channels and groups with them.
    while (!m_sprites.IsEmpty())
        DeleteSprite(HandleOf(static_cast<SPRITEINFO*>(m_sprites.GetHead())));
    for (int channel = 0; channel < kChannels; ++channel) {
        m_channels[channel] = SPRITEWND_CHANNEL{nullptr, 0, 0, -1, 0, kNotifyNone};
        m_channelDone[channel] = nullptr; // the plays end unannounced
    }
    m_nChannelsInUse = 0;
    for (int slot = 0; slot < kGroups; ++slot)
        if (!m_groups[slot].bFree) {
            for (SPRITEGROUPITEM& item : m_groups[slot].items)
                delete item.pLine;
            m_groups[slot] = SPRITEWND_GROUP{};
        }
    m_nGroupsInUse = 0;
    m_dirty.clear();
    m_bFlushTicking = false;
    m_bPaintAsked = false;
    m_pHoverItem = m_pCapturedItem = nullptr;
    CWnd::OnDestroy();
}

void CSpriteWnd::EngineStep(UINT_PTR nId) {
    const UINT kind = UINT(nId & 0xFF);
    if (kind == kFrameTimer || kind == kMotionTimer) {
        const int channel = int((nId >> 8) & 0xFFFF);
        if (channel >= kChannels || !m_channels[channel].posSprite) {
            KillTimer(nId); // a timer of a free channel
            return;
        }
        if (kind == kFrameTimer)
            FrameStep(channel);
        else
            MotionStep(channel);
    } else if (kind == kGroupTimer) {
        KillTimer(nId);
        const int slot = int((nId >> 16) & 0xFF);
        const int entry = int((nId >> 8) & 0xFF);
        if (slot < kGroups && !m_groups[slot].bFree && entry < m_groups[slot].nCount &&
            m_groups[slot].states[size_t(entry)] == kEntryDelayed) {
            m_groups[slot].items[size_t(entry)].nDelay = 0;
            StartGroupEntry(slot, entry);
        }
    }
}

LRESULT CSpriteWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CWnd::WindowProc(message, wParam, lParam);
    // The paint asked for stays due; it then finds the list empty.
    if (m_bPaintAsked && !m_bInEngineStep && message != WM_PAINT && m_hWnd && ::IsWindow(m_hWnd))
        FlushDirty();
    return result;
}

void CSpriteWnd::OnTimer(UINT_PTR nId) {
    if (!IsWindow(m_hWnd))
        return;
    if (nId >= kEngineTimerBase) {
        const UINT kind = UINT(nId & 0xFF);
        if (kind == kFlushTimer) {
            // A tick with nothing to show ends the ticking until the next change.
            if (m_dirty.empty()) {
                KillTimer(nId);
                m_bFlushTicking = false;
            } else if (GetTickCount() - m_nLastFlush >= kFrameMs) {
                FlushDirty();
            }
            return;
        }
        const bool outer = m_bInEngineStep;
        m_bInEngineStep = true;
        EngineStep(nId);
        m_bInEngineStep = outer;
        if (!outer)
            ShowSteps();
    } else if (nId >= kItemTimerBase) {
        CSpriteItem* item = FindItem(int(nId & 0xFFFF));
        if (!item) {
            KillTimer(nId);
            return;
        }
        item->OnTimer(UINT(nId >> 16));
    } else {
        OnUserTimer(nId);
    }
}

void CSpriteWnd::OnPaint() {
    PAINTSTRUCT paint;
    HDC hdc = BeginPaint(m_hWnd, &paint);
    m_bPaintAsked = false;
    FlushDirty();
    const RECT& box = paint.rcPaint;
    if (hdc && m_dcBack.GetBitmap() && !IsRectEmpty(&box))
        PaintBox(hdc, box, PaintList());
    EndPaint(m_hWnd, &paint);
}

BOOL CSpriteWnd::OnEraseBkgnd(CDC*) {
    return TRUE; // every paint composes the whole of what it covers
}

void CSpriteWnd::OnSize(UINT nType, int cx, int cy) {
    CWnd::OnSize(nType, cx, cy);
    if (cx > 0 && cy > 0) {
        m_dcBack.Create(nullptr, cx, cy);
        DrawBackground(&m_dcBack, cx, cy);
        AddDirty(nullptr, RECT{0, 0, cx, cy}); // the window shows the new size afresh
    }
    // Anchored points follow the new size.
    for (POSITION pos = m_sprites.GetHeadPosition(); pos;) {
        auto* s = static_cast<SPRITEINFO*>(m_sprites.GetNext(pos));
        if (s->nChannel >= 0 && s->pLine)
            StorePoint(s, s->pLine->GetPoint(&m_channels[s->nChannel].step, FALSE));
    }
    OnResize(nType, cx, cy);
}

void CSpriteWnd::OnSpriteEnd(POSITION, int) {
    RunEndingDone();
}
void CSpriteWnd::OnSpriteFrame(POSITION, int, int, int) {}
void CSpriteWnd::OnGroupEnd(int) {
    RunEndingDone();
}
void CSpriteWnd::OnGroupItemEnd(int, int) {}
void CSpriteWnd::OnUserTimer(UINT_PTR) {}
void CSpriteWnd::OnResize(UINT, int, int) {}
