// Laying out a fan of cards: inserting one card at its place and moving the
// others to their slots.

#include "game/Cards.h"
#include "sprite/AppServices.h"
#include "sprite/SpriteWnd.h"
#include "table/cards/CardLayout.h"

#include <algorithm>
#include <new>
#include <utility>

BOOL CCardLayout::InsertIntoFan(CHandList& list, const HANDENTRY& entry, const FanPlace& fan,
                                const std::function<bool(const HANDENTRY&)>& sortsBefore,
                                int moveTicks, const MakeSprite& make) {
    bool inserted = false;
    int i = 0;
    for (auto it = list.begin(); it != list.end() || !inserted; ++i) {
        CSpritePos slot(fan.x0 + i * fan.step, fan.y);
        slot.anchor = fan.anchor;
        const int z = fan.z0 + i;
        if (it != list.end() && (inserted || sortsBefore(*it))) {
            if (IsSelected(it->pos))
                slot.y -= fan.raise;
            if (!MoveToSlot(it->pos, slot, z, moveTicks))
                return FALSE;
            ++it;
            continue;
        }
        POSITION pos = make(slot, z);
        if (!pos) {
            WriteLog("Insert card fail! nOldWhat = %d", entry.nCard);
            return FALSE;
        }
        HANDENTRY added = entry;
        added.pos = pos;
        list.insert(it, added);
        inserted = true;
    }
    return TRUE;
}

BOOL CCardLayout::InsertByCardOrder(CHandList& list, int card, const FanPlace& fan, int moveTicks,
                                    const MakeSprite& make) {
    return InsertIntoFan(
        list, HANDENTRY{card, -1, nullptr}, fan,
        [card](const HANDENTRY& e) {
            return IsCardCode(e.nCard) && CompareCard(e.nCard, card) < 0;
        },
        moveTicks, make);
}

BOOL CCardLayout::AppendBack(CHandList& list, const FanPlace& fan, bool keepRaised, POSITION image,
                             const CSpritePos* from, BYTE alphaFrom, int card, LPCSTR name,
                             int notifyEvent) {
    if (!LayFan(list, fan, kMoveTicks, keepRaised))
        return FALSE;
    const int count = int(list.size());
    CSpritePos slot(fan.x0 + count * fan.step, fan.y);
    slot.anchor = fan.anchor;
    POSITION pos = AddMovingSprite(image, from ? *from : slot, slot, kFadeTicks, alphaFrom,
                                   fan.z0 + count, card, name, FALSE, notifyEvent);
    if (!pos)
        return FALSE;
    list.push_back(HANDENTRY{card, -1, pos});
    return TRUE;
}

BOOL CCardLayout::LayFan(CHandList& list, const FanPlace& fan, int ticks, bool keepRaised) {
    int i = 0;
    for (const HANDENTRY& entry : list) {
        CSpritePos slot(fan.x0 + i * fan.step, fan.y);
        slot.anchor = fan.anchor;
        if (keepRaised && IsSelected(entry.pos))
            slot.y -= fan.raise;
        if (!MoveToSlot(entry.pos, slot, fan.z0 + i, ticks))
            return FALSE;
        ++i;
    }
    return TRUE;
}

BOOL CCardLayout::MoveToSlot(POSITION sprite, const CSpritePos& target, int z, int ticks) {
    SPRITEINFO* s = m_wnd.GetSpriteAt(sprite);
    if (!s || !s->pLine)
        return TRUE;
    if (s->pLine->EndPos().IsEqual(target.x, target.y, target.anchor)) {
        if (s->z != z)
            m_wnd.SetSpriteZ(sprite, z, TRUE);
        return TRUE;
    }
    // A card still flying in keeps its flight time and the notice of its
    // arrival, with what its landing does.
    int notifyEvent = kNoNotify;
    SpriteDone onLanded;
    if (s->nChannel >= 0 && !s->pLine->IsFixed()) {
        const SPRITEWND_CHANNEL& channel = m_wnd.GetChannel(s->nChannel);
        if (channel.nNotifyMode == kNotifyWindow) {
            notifyEvent = channel.nNotifyParam;
            onLanded = m_wnd.TakeSpriteDone(sprite);
            ticks = std::max(ticks, s->pLine->m_nDuration * (255 - channel.step) / 255);
        }
    }
    const CSpritePos from = SpritePlace(sprite);
    CSpriteLine* line = new (std::nothrow) CStraightLine;
    if (!line)
        return FALSE;
    line->Init(from.x, from.y, from.anchor, target.x, target.y, target.anchor, ticks, -1, s->alpha,
               255);
    m_wnd.SetSpriteLine(sprite, line, notifyEvent != kNoNotify, notifyEvent, z, 1, TRUE,
                        std::move(onLanded));
    return TRUE;
}

void CCardLayout::ClearList(CHandList& list) {
    for (const HANDENTRY& entry : list)
        m_wnd.RemoveSprite(entry.pos);
    list.clear();
}

int CCardLayout::Flags(POSITION sprite) const {
    SPRITEINFO* s = m_wnd.GetSpriteAt(sprite);
    return s ? s->nUser[2] : 0;
}

void CCardLayout::SetFlags(POSITION sprite, int flags) {
    if (SPRITEINFO* s = m_wnd.GetSpriteAt(sprite))
        s->nUser[2] = flags;
}

bool CCardLayout::IsSelected(POSITION sprite) const {
    return (Flags(sprite) & kCardSelectedFlag) != 0;
}

CHandList::iterator CCardLayout::FindEntry(CHandList& list, POSITION sprite) {
    return std::find_if(list.begin(), list.end(),
                        [sprite](const HANDENTRY& e) { return e.pos == sprite; });
}
