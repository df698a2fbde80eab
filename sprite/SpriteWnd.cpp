// The sprite window's sprites: the sprite list, the animation channels and
// their motion and frame steps, starting, stopping and removing.

#include "sprite/SpriteWnd.h"

#include "platform/system/Trace.h"
#include "sprite/SpriteItem.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <utility>

namespace {

int SpriteZ(void* value) {
    return static_cast<SPRITEINFO*>(value)->z;
}

int Ticks(int nInterval) {
    return nInterval == -1 ? 1 : nInterval;
}

// An endless sprite on a fixed line never moves and never ends: its motion
// steps would change nothing, so it has no motion timer.
bool StandsStill(const SPRITEINFO* s) {
    return s->pLine->IsFixed() && s->nPasses <= 0;
}

} // namespace

IMPLEMENT_DYNAMIC(CSpriteWnd, CWnd)

CSpriteWnd::CSpriteWnd() {
    memset(m_channels, 0, sizeof(m_channels));
    for (SPRITEWND_CHANNEL& channel : m_channels)
        channel.nFrame = -1;
}

CSpriteWnd::~CSpriteWnd() {
    // Items outlive the window's list of them; they must not reach back.
    for (POSITION pos = m_items.GetHeadPosition(); pos;)
        static_cast<CSpriteItem*>(m_items.GetNext(pos))->m_pOwner = nullptr;
    if (m_hWnd)
        DestroyWindow();
    while (!m_sprites.IsEmpty())
        DeleteSprite(HandleOf(static_cast<SPRITEINFO*>(m_sprites.GetHead())));
    for (int slot = 0; slot < kGroups; ++slot)
        if (!m_groups[slot].bFree)
            for (SPRITEGROUPITEM& item : m_groups[slot].items)
                delete item.pLine;
}

SPRITEINFO* CSpriteWnd::Info(POSITION pos) const {
    return pos && m_live.count(pos) ? reinterpret_cast<SPRITEINFO*>(pos) : nullptr;
}

bool CSpriteWnd::IsLive(POSITION pos, uint64_t serial) const {
    auto found = m_live.find(pos);
    return found != m_live.end() && found->second.serial == serial;
}

uint64_t CSpriteWnd::SerialOf(POSITION pos) const {
    auto found = m_live.find(pos);
    return found == m_live.end() ? 0 : found->second.serial;
}

// After the last value of equal or lower z, so a newer sprite of equal z
// draws later (on top); the same rule places items by layer.
POSITION CSpriteWnd::InsertByZ(CPtrList& list, void* value, int z, int (*zOf)(void*)) {
    POSITION pos = list.GetTailPosition();
    while (pos) {
        POSITION here = pos;
        void* other = list.GetPrev(pos);
        if (zOf(other) <= z)
            return list.InsertAfter(here, value);
    }
    return list.AddHead(value);
}

void CSpriteWnd::PlaceSprite(SPRITEINFO* s) {
    auto found = m_live.find(HandleOf(s));
    if (found == m_live.end())
        found = m_live.emplace(HandleOf(s), LiveSprite{m_nextSpriteSerial++, nullptr}).first;
    else
        m_sprites.RemoveAt(found->second.node);
    found->second.node = InsertByZ(m_sprites, s, s->z, SpriteZ);
}

POSITION CSpriteWnd::AddSprite(POSITION posImage, CSpriteLine* pLine, int nId, int z, int nPasses,
                               int nValue, LPCSTR pszName, BOOL bAutoRemove) {
    auto* s = new SPRITEINFO{};
    s->nUser[0] = nValue;
    s->posImage = posImage;
    s->pLine = pLine;
    s->z = z;
    s->nPasses = nPasses;
    s->alpha = 255;
    s->nInterval = -1;
    s->nChannel = -1;
    if (pszName) {
        strncpy(s->szName, pszName, sizeof(s->szName) - 1);
        s->szName[sizeof(s->szName) - 1] = '\0';
    }
    s->bAutoRemove = bAutoRemove;
    s->nId = nId;
    s->bShown = TRUE;
    m_images.AddRef(posImage);
    PlaceSprite(s);
    m_byId.emplace(nId, s);
    return HandleOf(s);
}

SPRITEINFO* CSpriteWnd::GetSpriteAt(POSITION pos) {
    return Info(pos);
}

int CSpriteWnd::GetSpriteId(POSITION pos) {
    SPRITEINFO* s = Info(pos);
    return s ? s->nId : -1;
}

POSITION CSpriteWnd::FindSpritePos(int nId) {
    const auto [first, last] = m_byId.equal_range(nId);
    if (first == last)
        return nullptr;
    if (std::next(first) == last)
        return HandleOf(first->second);
    for (POSITION pos = m_sprites.GetHeadPosition(); pos;) {
        auto* s = static_cast<SPRITEINFO*>(m_sprites.GetNext(pos));
        if (s->nId == nId)
            return HandleOf(s);
    }
    return nullptr;
}

CRect CSpriteWnd::GetSpriteRect(POSITION pos) {
    SPRITEINFO* s = Info(pos);
    if (!s || s->nChannel < 0)
        return CRect();
    CSpriteImage* image = ImageOf(s);
    if (!image)
        return CRect();
    const int frame = m_channels[s->nChannel].nFrame;
    CRect rect = image->GetRect(s, frame < 0 ? 0 : frame);
    rect.OffsetRect(s->x, s->y);
    return rect;
}

void CSpriteWnd::StorePoint(SPRITEINFO* s, const SPRITEPOINT& p) {
    s->x = p.x;
    s->y = p.y;
    s->alpha = p.alpha;
    s->nInterval = p.nInterval;
}

int CSpriteWnd::FreeChannel() const {
    for (int channel = 0; channel < kChannels; ++channel)
        if (!m_channels[channel].posSprite)
            return channel;
    return -1;
}

void CSpriteWnd::KillChannelTimers(int nChannel) {
    if (m_hWnd) {
        KillTimer(ChannelTimerId(nChannel, kFrameTimer));
        KillTimer(ChannelTimerId(nChannel, kMotionTimer));
    }
}

void CSpriteWnd::SetChannelTimer(int nChannel, UINT nKind, int nTicks) {
    if (m_hWnd)
        SetTimer(
            ChannelTimerId(nChannel, nKind),
            UINT(std::min<int64_t>(int64_t(std::max(0, nTicks)) * kTickMs, USER_TIMER_MAXIMUM)));
}

// Frees the channel and its timers; the sprite stops playing. The notify
// mode is cleared so that nothing can notify through the freed channel.
void CSpriteWnd::ReleaseChannel(int nChannel) {
    SPRITEWND_CHANNEL& channel = m_channels[nChannel];
    KillChannelTimers(nChannel);
    m_channelDone[nChannel] = nullptr;
    if (SPRITEINFO* s = Info(channel.posSprite))
        s->nChannel = -1;
    channel = SPRITEWND_CHANNEL{nullptr, 0, 0, -1, 0, kNotifyNone};
    --m_nChannelsInUse;
}

BOOL CSpriteWnd::StartSprite(POSITION pos, int nNotify, int nParam, int z, int nPasses,
                             BOOL bAnimate, SpriteDone onEnd) {
    SPRITEINFO* s = Info(pos);
    if (!s || !s->pLine)
        return FALSE;
    if (s->nChannel < 0) {
        const int channel = FreeChannel();
        if (channel < 0)
            return FALSE;
        ++m_nChannelsInUse;
        s->nChannel = channel;
        m_channels[channel].posSprite = pos;
    } else {
        AddDirty(pos, GetSpriteRect(pos));
    }
    const int nChannel = s->nChannel;
    // A restart must not leave a timer of the earlier play running.
    KillChannelTimers(nChannel);
    SPRITEWND_CHANNEL& channel = m_channels[nChannel];
    channel.nFrame = -1;
    channel.nPassesDone = 0;
    channel.nNotifyParam = nParam;
    channel.nNotifyMode = onEnd && nNotify == kNotifyNone ? kNotifyWindow : nNotify;
    m_channelDone[nChannel] = std::move(onEnd);
    channel.step = 0;
    if (z != -1) {
        s->z = z;
        PlaceSprite(s);
    }
    if (nPasses != -1)
        s->nPasses = nPasses;
    if (!bAnimate && s->nPasses == 1)
        channel.step = 255;
    StorePoint(s, s->pLine->GetPoint(&channel.step, FALSE));
    FrameStep(nChannel);
    if (s->nChannel != nChannel)
        return TRUE; // the frame step ended the play
    CSpriteImage* image = ImageOf(s);
    if (s->pLine->IsFixed() && image && image->GetFrameCount(s) == 1 &&
        channel.nNotifyMode != kNotifyNone) {
        // The start is also the end.
        const int mode = channel.nNotifyMode;
        channel.nNotifyMode = kNotifyNone;
        Notify(mode, pos, nParam, std::exchange(m_channelDone[nChannel], nullptr));
        return TRUE;
    }
    if (!StandsStill(s))
        SetChannelTimer(nChannel, kMotionTimer, Ticks(s->nInterval));
    return TRUE;
}

SpriteDone CSpriteWnd::TakeSpriteDone(POSITION pos) {
    SPRITEINFO* s = Info(pos);
    if (!s || s->nChannel < 0)
        return {};
    return std::exchange(m_channelDone[s->nChannel], nullptr);
}

void CSpriteWnd::CallSpriteEnd(POSITION pos, int nParam, SpriteDone done) {
    SpriteDone outer = std::exchange(m_endingDone, std::move(done));
    OnSpriteEnd(pos, nParam);
    m_endingDone = std::move(outer);
}

void CSpriteWnd::CallGroupEnd(int nGroupId, SpriteDone done) {
    SpriteDone outer = std::exchange(m_endingDone, std::move(done));
    OnGroupEnd(nGroupId);
    m_endingDone = std::move(outer);
}

// Out of the window before it runs: it may start, stop or remove anything.
void CSpriteWnd::RunEndingDone() {
    if (SpriteDone done = std::exchange(m_endingDone, nullptr))
        done();
}

void CSpriteWnd::Notify(int nMode, POSITION pos, int nParam, SpriteDone done) {
    platform::Trace(platform::TraceChannel::kSprites, platform::kTraceDetail,
                    "sprite end event %d (notify mode %d)", nParam, nMode);
    if (nMode == kNotifyWindow) {
        CallSpriteEnd(pos, nParam, std::move(done));
    } else if (nMode == kNotifyGroup) {
        const int slot = (nParam >> 16) & 0xFFFF;
        const int entry = (nParam >> 8) & 0xFF;
        if (slot < kGroups && !m_groups[slot].bFree && entry < m_groups[slot].nCount)
            OnGroupEntryEnd(slot, entry);
    }
}

// The handler may remove the sprite itself, or remove it and add another in
// its place: auto-removal checks that the record is still the same one.
void CSpriteWnd::EndPlay(POSITION pos, int nMode, int nParam, bool bAutoRemove, SpriteDone done) {
    const uint64_t serial = SerialOf(pos);
    Notify(nMode, pos, nParam, std::move(done));
    if (!bAutoRemove || !IsLive(pos, serial))
        return;
    SPRITEINFO* s = Info(pos);
    if (s->bAutoRemove && s->nChannel < 0)
        RemoveSprite(pos);
}

void CSpriteWnd::MotionStep(int nChannel) {
    KillTimer(ChannelTimerId(nChannel, kMotionTimer));
    SPRITEWND_CHANNEL& channel = m_channels[nChannel];
    POSITION pos = channel.posSprite;
    SPRITEINFO* s = Info(pos);
    if (!s)
        return;
    const CRect old = GetSpriteRect(pos);
    if (channel.step == 255 && s->nPasses > 0) {
        if (channel.nPassesDone + 1 == s->nPasses) {
            const int mode = channel.nNotifyMode;
            const int param = channel.nNotifyParam;
            SpriteDone done = std::exchange(m_channelDone[nChannel], nullptr);
            channel.nNotifyMode = kNotifyNone;
            if (s->nInterval == -1) {
                // The sprite stays where the line ends, on a line of its own.
                CSpriteLine* fixed = new CFixedLine;
                const CSpritePos end = s->pLine->EndPos();
                fixed->SetFrom(end.x, end.y, end.anchor, s->pLine->EndAlpha());
                delete s->pLine;
                s->pLine = fixed;
                channel.nPassesDone = 0;
                channel.step = 0;
            } else {
                ReleaseChannel(nChannel);
                AddDirty(nullptr, old);
            }
            EndPlay(pos, mode, param, true, std::move(done));
            return;
        }
        ++channel.nPassesDone;
    }
    const int oldX = s->x, oldY = s->y, oldAlpha = s->alpha;
    StorePoint(s, s->pLine->GetPoint(&channel.step, TRUE));
    // A sprite that stands still at the same point needs no repaint.
    if (s->x != oldX || s->y != oldY || s->alpha != oldAlpha)
        AddDirty(pos, old);
    SetChannelTimer(nChannel, kMotionTimer, Ticks(s->nInterval));
}

void CSpriteWnd::FrameStep(int nChannel) {
    KillTimer(ChannelTimerId(nChannel, kFrameTimer));
    SPRITEWND_CHANNEL& channel = m_channels[nChannel];
    POSITION pos = channel.posSprite;
    SPRITEINFO* s = Info(pos);
    CSpriteImage* image = s ? ImageOf(s) : nullptr;
    if (!image)
        return;
    const CRect old = GetSpriteRect(pos);
    const int count = std::max(1, image->GetFrameCount(s));
    int frame = channel.nFrame + 1;
    const bool fixed = s->pLine && s->pLine->IsFixed();
    if (frame >= count) {
        if (fixed && channel.nPassesDone + 1 == s->nPasses) {
            const int mode = channel.nNotifyMode;
            const int param = channel.nNotifyParam;
            SpriteDone done = std::exchange(m_channelDone[nChannel], nullptr);
            ReleaseChannel(nChannel);
            AddDirty(nullptr, old);
            EndPlay(pos, mode, param, true, std::move(done));
            return;
        }
        if (fixed && s->nPasses > 0)
            ++channel.nPassesDone;
        frame = 0;
    }
    const bool changed = frame != channel.nFrame;
    channel.nFrame = frame;
    if (changed)
        AddDirty(pos, old);
    if (count < 2)
        return;
    const uint64_t serial = SerialOf(pos);
    OnSpriteFrame(pos, channel.nNotifyParam, frame, count);
    // The hook may have stopped, restarted or removed the sprite.
    if (!IsLive(pos, serial) || s->nChannel != nChannel || channel.nFrame != frame)
        return;
    int delay = image->GetFrameDelay(frame);
    if (frame != count - 1) {
        if (delay == kDefaultFrameDelay)
            delay = 5;
    } else if (delay == kDefaultFrameDelay) {
        if (s->nPasses == 1 && fixed) {
            const int mode = channel.nNotifyMode;
            channel.nNotifyMode = kNotifyNone;
            Notify(mode, pos, channel.nNotifyParam,
                   std::exchange(m_channelDone[nChannel], nullptr));
            return;
        }
        delay = 5;
    }
    SetChannelTimer(nChannel, kFrameTimer, delay);
}

BOOL CSpriteWnd::StopSprite(POSITION pos, BOOL bInvalidate, BOOL bNoNotify) {
    SPRITEINFO* s = Info(pos);
    if (!s || s->nChannel < 0)
        return FALSE;
    if (s->pLine && !s->pLine->IsFixed()) {
        const uint64_t serial = SerialOf(pos);
        FinishAnimation(pos);
        // Finishing may have ended the play (and notified, or removed it).
        if (!IsLive(pos, serial) || s->nChannel < 0)
            return TRUE;
    }
    const int nChannel = s->nChannel;
    const CRect old = GetSpriteRect(pos);
    const int mode = m_channels[nChannel].nNotifyMode;
    const int param = m_channels[nChannel].nNotifyParam;
    SpriteDone done = std::exchange(m_channelDone[nChannel], nullptr);
    // Bookkeeping first: the handler may restart or remove the sprite.
    ReleaseChannel(nChannel);
    ForgetDirtySprite(pos);
    AddDirty(nullptr, bInvalidate ? RECT(old) : RECT{0, 0, 0, 0});
    // A quiet stop drops the callback with the event.
    if (!bNoNotify || mode == kNotifyGroup)
        Notify(mode, pos, param, std::move(done));
    return TRUE;
}

void CSpriteWnd::FinishAnimation(POSITION pos) {
    SPRITEINFO* s = Info(pos);
    if (!s || s->nChannel < 0 || s->nPasses != 1 || !s->pLine || s->pLine->IsFixed())
        return;
    const int nChannel = s->nChannel;
    const CRect old = GetSpriteRect(pos);
    m_channels[nChannel].step = 255;
    StorePoint(s, s->pLine->GetPoint(&m_channels[nChannel].step, FALSE));
    if (s->nInterval == -1) {
        AddDirty(nullptr, old);
        AddDirty(nullptr, GetSpriteRect(pos));
    }
    MotionStep(nChannel);
}

void CSpriteWnd::DeleteSprite(POSITION pos) {
    SPRITEINFO* s = Info(pos);
    auto found = m_live.find(pos);
    m_sprites.RemoveAt(found->second.node);
    m_live.erase(found);
    const auto [first, last] = m_byId.equal_range(s->nId);
    for (auto it = first; it != last; ++it)
        if (it->second == s) {
            m_byId.erase(it);
            break;
        }
    delete s->pLine;
    delete s;
}

void CSpriteWnd::RemoveSprite(POSITION pos) {
    if (!Info(pos))
        return;
    const uint64_t serial = SerialOf(pos);
    StopSprite(pos, TRUE, FALSE);
    if (!IsLive(pos, serial))
        return; // the end handler removed it already
    SPRITEINFO* s = Info(pos);
    if (s->nChannel >= 0) // restarted by the handler: it plays no more
        ReleaseChannel(s->nChannel);
    // Nothing may point at the record once it is gone.
    ForgetDirtySprite(pos);
    ForgetGroupSprite(pos);
    const POSITION image = s->posImage;
    DeleteSprite(pos);
    m_images.Release(image);
}

BOOL CSpriteWnd::SetSpriteLine(POSITION pos, CSpriteLine* pLine, BOOL bNotify, int nParam, int z,
                               int nPasses, BOOL bAnimate, SpriteDone onEnd) {
    SPRITEINFO* s = Info(pos);
    if (!s) {
        delete pLine;
        return FALSE;
    }
    if (s->pLine != pLine)
        delete s->pLine;
    s->pLine = pLine;
    return PlaySprite(pos, bNotify, nParam, z, nPasses, bAnimate, std::move(onEnd));
}

BOOL CSpriteWnd::MoveSprite(POSITION pos, int x, int y, int anchor) {
    SPRITEINFO* s = Info(pos);
    if (!s || !s->pLine || !s->pLine->IsFixed())
        return FALSE;
    AddDirty(nullptr, GetSpriteRect(pos));
    CSpritePos& point = s->pLine->m_from;
    if (anchor == kMoveByAnchor)
        point.Set(point.x + x, point.y + y, point.anchor);
    else
        point.Set(x, y, anchor);
    if (s->nChannel >= 0) {
        StorePoint(s, s->pLine->GetPoint(&m_channels[s->nChannel].step, FALSE));
        AddDirty(pos, RECT{0, 0, 0, 0});
        FlushDirty();
    }
    return TRUE;
}

void CSpriteWnd::SetSpriteZ(POSITION pos, int z, BOOL bInvalidate) {
    SPRITEINFO* s = Info(pos);
    if (!s)
        return;
    s->z = z;
    PlaceSprite(s);
    if (bInvalidate)
        InvalidateSprite(pos);
}
