// The sprite window's group player: entries that move one sprite each and
// start after a delay, at once, or when other entries have started or ended.

#include "sprite/SpriteWnd.h"

#include <algorithm>
#include <utility>

namespace {

bool Lists(const SPRITEGROUPITEM& item, int entry) {
    const int count = std::min<int>(item.waitCount, 30);
    return std::find(item.waitFor, item.waitFor + count, BYTE(entry)) != item.waitFor + count;
}

// Every listed entry has reached at least the state.
bool AllListedReached(const SPRITEGROUPITEM& item, const std::vector<int>& states, int state) {
    const int count = std::min<int>(item.waitCount, 30);
    for (int i = 0; i < count; ++i) {
        const size_t listed = item.waitFor[i];
        if (listed < states.size() && states[listed] < state)
            return false;
    }
    return true;
}

} // namespace

bool CSpriteWnd::IsSameGroup(int nSlot, uint64_t serial) const {
    return !m_groups[nSlot].bFree && m_groups[nSlot].serial == serial;
}

BOOL CSpriteWnd::PlayGroup(SPRITEGROUPITEM* psgi, BYTE nCards, int uGroupID, BOOL bAnimate,
                           SpriteDone onEnd) {
    if (nCards == 0) {
        CallGroupEnd(uGroupID, std::move(onEnd));
        return TRUE;
    }
    if (!psgi || m_nGroupsInUse >= kGroups)
        return FALSE; // the entries' lines stay the caller's
    int slot = 0;
    while (!m_groups[slot].bFree)
        ++slot;
    SPRITEWND_GROUP& group = m_groups[slot];
    group.items.assign(psgi, psgi + nCards);
    group.states.assign(nCards, kEntryIdle);
    group.nCount = nCards;
    group.nGroupId = uGroupID;
    group.bFree = FALSE;
    group.serial = m_nextGroupSerial++;
    group.onEnd = std::move(onEnd);
    ++m_nGroupsInUse;
    const uint64_t serial = group.serial;
    if (!bAnimate) {
        ApplyGroupAtOnce(slot);
        return TRUE;
    }
    for (int entry = 0; entry < nCards && IsSameGroup(slot, serial); ++entry)
        if (group.items[size_t(entry)].waitCount == 0 && group.states[size_t(entry)] == kEntryIdle)
            StartGroupEntry(slot, entry);
    return TRUE;
}

void CSpriteWnd::StartGroupEntry(int nSlot, int nEntry) {
    SPRITEWND_GROUP& group = m_groups[nSlot];
    const uint64_t serial = group.serial;
    SPRITEGROUPITEM& item = group.items[size_t(nEntry)];
    if (item.nDelay != 0) {
        group.states[size_t(nEntry)] = kEntryDelayed;
        SetTimer(GroupTimerId(nSlot, nEntry), UINT(std::max(0, item.nDelay)) * kTickMs);
        return;
    }
    POSITION pos = item.posSprite;
    SPRITEINFO* s = Info(pos);
    if (!s) {
        delete item.pLine; // the sprite was removed: its line has no taker
    } else if (item.pLine && item.pLine != s->pLine) {
        const uint64_t spriteSerial = SerialOf(pos);
        StopSprite(pos, FALSE, FALSE);
        if (!IsSameGroup(nSlot, serial))
            return;
        if (IsLive(pos, spriteSerial)) {
            delete s->pLine;
            s->pLine = item.pLine;
        } else {
            delete item.pLine;
        }
    }
    // From here the line is the sprite's.
    item.pLine = nullptr;
    group.states[size_t(nEntry)] = kEntryPlaying;
    const BOOL started =
        Info(pos) && StartSprite(pos, kNotifyGroup, nSlot * 65536 + nEntry * 256, item.z, -1, TRUE);
    if (!IsSameGroup(nSlot, serial))
        return;
    if (!started) {
        // A sprite that is gone or finds no channel ends its entry at once,
        // so the group can still end.
        OnGroupEntryEnd(nSlot, nEntry);
        if (!IsSameGroup(nSlot, serial))
            return;
    }
    for (int other = 0; other < group.nCount && IsSameGroup(nSlot, serial); ++other) {
        const SPRITEGROUPITEM& waiting = group.items[size_t(other)];
        if (other == nEntry || group.states[size_t(other)] != kEntryIdle || !Lists(waiting, nEntry))
            continue;
        if (waiting.nWaitMode == 3 ||
            (waiting.nWaitMode == 2 && AllListedReached(waiting, group.states, kEntryPlaying)))
            StartGroupEntry(nSlot, other);
    }
}

void CSpriteWnd::OnGroupEntryEnd(int nSlot, int nEntry) {
    SPRITEWND_GROUP& group = m_groups[nSlot];
    if (group.states[size_t(nEntry)] == kEntryEnded)
        return;
    const uint64_t serial = group.serial;
    // Marked before the hook, so that whatever the hook ends can end the group.
    group.states[size_t(nEntry)] = kEntryEnded;
    OnGroupItemEnd(group.nGroupId, group.items[size_t(nEntry)].nEndValue);
    for (int other = 0; other < group.nCount && IsSameGroup(nSlot, serial); ++other) {
        const SPRITEGROUPITEM& waiting = group.items[size_t(other)];
        if (group.states[size_t(other)] != kEntryIdle || !Lists(waiting, nEntry))
            continue;
        if (waiting.nWaitMode == 1 ||
            (waiting.nWaitMode == 0 && AllListedReached(waiting, group.states, kEntryEnded)))
            StartGroupEntry(nSlot, other);
    }
    if (!IsSameGroup(nSlot, serial))
        return;
    if (std::all_of(group.states.begin(), group.states.end(),
                    [](int state) { return state == kEntryEnded; }))
        EndGroup(nSlot);
}

void CSpriteWnd::EndGroup(int nSlot) {
    SPRITEWND_GROUP& group = m_groups[nSlot];
    const int id = group.nGroupId;
    SpriteDone done = std::move(group.onEnd);
    for (SPRITEGROUPITEM& item : group.items)
        delete item.pLine;
    group = SPRITEWND_GROUP{};
    --m_nGroupsInUse;
    CallGroupEnd(id, std::move(done));
}

// Without animation every sprite lands at once where its entries' lines end.
void CSpriteWnd::ApplyGroupAtOnce(int nSlot) {
    struct Landing {
        POSITION pos;
        uint64_t serial;
        CSpritePos at;
        BYTE alpha;
        int z;
    };
    std::vector<Landing> landings;
    SPRITEWND_GROUP& group = m_groups[nSlot];
    const uint64_t serial = group.serial;
    for (int entry = 0; entry < group.nCount && IsSameGroup(nSlot, serial); ++entry) {
        SPRITEGROUPITEM& item = group.items[size_t(entry)];
        SPRITEINFO* s = Info(item.posSprite);
        CSpriteLine* line = item.pLine ? item.pLine : s ? s->pLine : nullptr;
        if (s && line && (line->IsFixed() || line->m_nInterval == -1)) {
            auto landing = std::find_if(landings.begin(), landings.end(),
                                        [&](const Landing& l) { return l.pos == item.posSprite; });
            if (landing == landings.end())
                landing = landings.insert(
                    landings.end(), Landing{item.posSprite, SerialOf(item.posSprite), {}, 255, -1});
            landing->at = line->EndPos();
            landing->alpha = line->EndAlpha();
            if (item.z != -1)
                landing->z = item.z;
        }
        group.states[size_t(entry)] = kEntryEnded;
        if (s && item.pLine == s->pLine)
            item.pLine = nullptr;
        delete item.pLine;
        item.pLine = nullptr;
        OnGroupItemEnd(group.nGroupId, item.nEndValue);
    }
    for (const Landing& landing : landings) {
        SPRITEINFO* s = Info(landing.pos);
        if (!IsLive(landing.pos, landing.serial))
            continue;
        AddDirty(nullptr, GetSpriteRect(landing.pos));
        CSpriteLine* fixed = new CFixedLine;
        fixed->SetFrom(landing.at.x, landing.at.y, landing.at.anchor, landing.alpha);
        if (s->nChannel >= 0)
            KillChannelTimers(s->nChannel);
        delete s->pLine;
        s->pLine = fixed;
        StartSprite(landing.pos, kNotifyNone, 0, landing.z, -1, TRUE);
    }
    if (IsSameGroup(nSlot, serial))
        EndGroup(nSlot);
}

void CSpriteWnd::ForgetGroupSprite(POSITION pos) {
    for (SPRITEWND_GROUP& group : m_groups)
        if (!group.bFree)
            for (SPRITEGROUPITEM& item : group.items)
                if (item.posSprite == pos)
                    item.posSprite = nullptr;
}
