#pragma once

// The window on which the card table is drawn. It keeps sprites (an image of
// its image list moving along a motion line, played on one of 250 animation
// channels) and sprite items (buttons and panes that take input), composes
// them off-screen over a background, repaints only what changed, runs every
// animation from window timers in 10 ms ticks, plays groups of sprites whose
// entries wait on each other, and routes mouse and keys to the items and then
// to the hook operations a derived window overrides.

#include "platform/PtrList.h"
#include "platform/window/Wnd.h"
#include "sprite/MemDC.h"
#include "sprite/SpriteImage.h"
#include "sprite/SpriteInfo.h"
#include "sprite/SpriteLine.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

class CSpriteItem;

// Window timers: the engine owns every id from 0xFE000000 up; the derived
// window's own timers stay below and reach OnUserTimer.
constexpr UINT_PTR kItemTimerBase = 0xFE000000;
constexpr UINT_PTR kEngineTimerBase = 0xFF000000;
enum SpriteTimerKind : UINT { kFrameTimer = 1, kMotionTimer = 2, kGroupTimer = 3, kFlushTimer = 4 };
constexpr UINT_PTR kFlushTimerId = kEngineTimerBase + kFlushTimer;
constexpr UINT kTickMs = 10;
// The engine's steps are shown at most once a display refresh (about 60 a
// second): a person sees no step that the next refresh would replace.
constexpr UINT kFrameMs = 16;

constexpr UINT_PTR ChannelTimerId(int nChannel, UINT nKind) {
    return kEngineTimerBase + UINT_PTR(nChannel) * 256 + nKind;
}
constexpr UINT_PTR GroupTimerId(int nGroup, int nEntry) {
    return kEngineTimerBase + UINT_PTR(nGroup) * 65536 + UINT_PTR(nEntry) * 256 + kGroupTimer;
}

struct SPRITEWND_GROUP {
    std::vector<SPRITEGROUPITEM> items; // the group's copy of its entries
    std::vector<int> states;            // GroupEntryState per entry
    BYTE nCount = 0;
    int nGroupId = 0;
    BOOL bFree = TRUE;
    uint64_t serial = 0; // tells a slot's later group from this one
    SpriteDone onEnd;    // run after OnGroupEnd
};

class CSpriteWnd : public CWnd {
    DECLARE_DYNAMIC(CSpriteWnd)

public:
    static constexpr int kChannels = 250;
    static constexpr int kGroups = 50;

    CSpriteWnd();
    ~CSpriteWnd() override;

    // ---- sprites ----
    POSITION AddSprite(POSITION posImage, CSpriteLine* pLine, int nId, int z, int nPasses,
                       int nValue, LPCSTR pszName, BOOL bAutoRemove);
    // 0 when the sprite or its line is missing, or every channel is in use.
    // onEnd runs after OnSpriteEnd when the play ends (a play with one
    // notifies the window); a restart drops the earlier play's.
    BOOL StartSprite(POSITION pos, int nNotify, int nParam, int z, int nPasses, BOOL bAnimate,
                     SpriteDone onEnd = {});
    BOOL PlaySprite(POSITION pos, BOOL bNotify, int nParam, int z, int nPasses, BOOL bAnimate,
                    SpriteDone onEnd = {}) {
        return StartSprite(pos, bNotify ? kNotifyWindow : kNotifyNone, nParam, z, nPasses, bAnimate,
                           std::move(onEnd));
    }
    // Takes the playing sprite's end callback out, to hand it to its next play.
    SpriteDone TakeSpriteDone(POSITION pos);
    // 0 when it was not playing.
    BOOL StopSprite(POSITION pos, BOOL bInvalidate, BOOL bNoNotify);
    void RemoveSprite(POSITION pos);
    BOOL SetSpriteLine(POSITION pos, CSpriteLine* pLine, BOOL bNotify, int nParam, int z,
                       int nPasses, BOOL bAnimate, SpriteDone onEnd = {});
    // Only for a sprite on a fixed line; anchor -1 moves by (x, y).
    BOOL MoveSprite(POSITION pos, int x, int y, int anchor);
    void SetSpriteZ(POSITION pos, int z, BOOL bInvalidate);
    void FinishAnimation(POSITION pos);
    // Empty when the sprite does not play.
    CRect GetSpriteRect(POSITION pos);
    void InvalidateSprite(POSITION pos);
    void InvalidateRect(const RECT& rect);
    POSITION FindSpritePos(int nId);
    // The topmost playing sprite under the client point (the window's hit test).
    POSITION SpriteAt(int x, int y) { return HitTest(x, y); }
    SPRITEINFO* GetSpriteAt(POSITION pos);
    int GetSpriteId(POSITION pos);
    CSpriteImageList& GetImageList() { return m_images; }
    CDC* GetBackgroundDC() { return &m_dcBack; }
    int GetChannelsInUse() const { return m_nChannelsInUse; }
    const SPRITEWND_CHANNEL& GetChannel(int nChannel) const { return m_channels[nChannel]; }

    // ---- items ----
    POSITION AddItem(CSpriteItem* pItem);
    CSpriteItem* FindItem(int nId);
    CSpriteItem* RemoveItem(int nId);
    CSpriteItem* GetHoverItem() const { return m_pHoverItem; }
    CSpriteItem* GetCapturedItem() const { return m_pCapturedItem; }
    void SetHoverItem(CSpriteItem* pItem) { m_pHoverItem = pItem; }
    void SetCapturedItem(CSpriteItem* pItem) { m_pCapturedItem = pItem; }

    // ---- groups ----
    // 0 when 50 groups are playing (onEnd is then dropped); onEnd runs after
    // OnGroupEnd.
    BOOL PlayGroup(SPRITEGROUPITEM* psgi, BYTE nCards, int uGroupID, BOOL bAnimate,
                   SpriteDone onEnd = {});
    int GetGroupsInUse() const { return m_nGroupsInUse; }

    // Paints the dirty areas now (also every tick while changes come, on
    // MoveSprite and on WM_PAINT).
    void FlushDirty();
    // Whether changes wait to be painted.
    BOOL HasChangesToShow() const { return !m_dirty.empty(); }

protected:
    // ---- hooks, in slot order ----
    // The defaults of OnSpriteEnd and OnGroupEnd run the ending play's or
    // group's callback; an override that does not call them drops it.
    virtual void OnSpriteEnd(POSITION pos, int nParam);
    virtual void OnSpriteFrame(POSITION pos, int nParam, int nFrame, int nFrameCount);
    virtual void OnGroupEnd(int nGroupId);
    virtual void OnGroupItemEnd(int nGroupId, int nEndValue);
    virtual void DrawBackground(CDC* pDC, int cx, int cy);
    virtual POSITION HitTest(int x, int y);
    virtual void OnUserTimer(UINT_PTR nId);
    virtual void OnResize(UINT nType, int cx, int cy);
    virtual void OnMouseMoveEx(UINT nFlags, int x, int y);
    virtual void OnKeyDownEx(UINT nKey, UINT nRepeat, UINT nFlags);
    virtual void OnKeyUpEx(UINT nKey, UINT nRepeat, UINT nFlags);
    virtual void OnLButtonDownEx(UINT nFlags, int x, int y);
    virtual void OnLButtonUpEx(UINT nFlags, int x, int y);
    virtual void OnRButtonDownEx(UINT nFlags, int x, int y);
    virtual void OnRButtonUpEx(UINT nFlags, int x, int y);

    // ---- messages ----
    void OnDestroy() override;
    void OnTimer(UINT_PTR nId) override;
    // A message that changed the picture (a record, a click) is shown when
    // it has been handled, before the next message is taken.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnPaint() override;
    void OnSize(UINT nType, int cx, int cy) override;
    BOOL OnEraseBkgnd(CDC* pDC) override;
    void OnMouseMove(UINT nFlags, CPoint point) override;
    UINT OnGetDlgCode() override;
    void OnKeyDown(UINT nKey, UINT nRepeat, UINT nFlags) override;
    void OnKeyUp(UINT nKey, UINT nRepeat, UINT nFlags) override;
    void OnLButtonDown(UINT nFlags, CPoint point) override;
    void OnLButtonUp(UINT nFlags, CPoint point) override;
    void OnRButtonDown(UINT nFlags, CPoint point) override;
    void OnRButtonUp(UINT nFlags, CPoint point) override;
    // In a window class with CS_DBLCLKS the second of two quick presses
    // comes as a double click: it is a press like the first.
    void OnLButtonDblClk(UINT nFlags, CPoint point) override;
    void OnRButtonDblClk(UINT nFlags, CPoint point) override;
    void OnMouseLeave() override;

    // Composes the rectangle afresh in the window from the background, the
    // items and the playing sprites.
    void PaintRect(const RECT& rect);

    CPtrList m_sprites{10}; // SPRITEINFO*, ascending z
    CPtrList m_items{10};   // CSpriteItem*, ascending layer
    CMemDC m_dcBack;        // the painted background, client size

private:
    struct DirtyEntry {
        POSITION posSprite; // null: only the rectangle
        RECT rect;
    };

    // A sprite's POSITION is its record's handle for life, whatever its place
    // in the z-ordered list (re-ordering moves list nodes, never handles).
    static POSITION HandleOf(SPRITEINFO* s) { return reinterpret_cast<POSITION>(s); }
    // Null for a handle that names no listed sprite.
    SPRITEINFO* Info(POSITION pos) const;
    CSpriteImage* ImageOf(SPRITEINFO* s) const { return m_images.GetAt(s->posImage); }
    // Links the record into the sprite list by its z (unlinking it first when listed).
    void PlaceSprite(SPRITEINFO* s);
    static POSITION InsertByZ(CPtrList& list, void* value, int z, int (*zOf)(void*));
    // Whether the sprite record behind pos is still the one the serial names.
    bool IsLive(POSITION pos, uint64_t serial) const;
    uint64_t SerialOf(POSITION pos) const;
    void DeleteSprite(POSITION pos);

    void AddDirty(POSITION pos, const RECT& rect);
    void StartFlushTick();
    void AskPaint(const RECT& change);
    void ShowSteps();
    // A frame, motion or group-entry timer of the engine.
    void EngineStep(UINT_PTR nId);
    // Pending entries of the sprite keep their rectangles but lose the sprite.
    void ForgetDirtySprite(POSITION pos);
    void DrawSprite(HDC hdc, SPRITEINFO* s, const RECT& clip);
    struct VisiblePieces {
        static constexpr int kMaxPieces = 8;
        RECT pieces[kMaxPieces];
        int count = 0;
        void Cut(const RECT& cover);
    };
    // A shown item or a playing sprite in paint order, with where it draws
    // and, for a sprite, the part it covers whole.
    struct PaintEntry {
        CSpriteItem* item;
        SPRITEINFO* sprite;
        RECT area;
        RECT opaque;
    };
    std::vector<PaintEntry> PaintList();
    void ComposeInWindow(const std::vector<RECT>& boxes);
    void PaintBox(HDC target, const RECT& rect, const std::vector<PaintEntry>& list);
    void DrawItem(HDC target, CSpriteItem* item, const RECT& clip);
    void StorePoint(SPRITEINFO* s, const SPRITEPOINT& p);

    int FreeChannel() const;
    void ReleaseChannel(int nChannel);
    void KillChannelTimers(int nChannel);
    void SetChannelTimer(int nChannel, UINT nKind, int nTicks);
    void MotionStep(int nChannel);
    void FrameStep(int nChannel);
    // Ends a play: notifies, then auto-removes the sprite if it still exists.
    void EndPlay(POSITION pos, int nMode, int nParam, bool bAutoRemove, SpriteDone done);
    void Notify(int nMode, POSITION pos, int nParam, SpriteDone done);
    // Call the end hooks with the callback at hand for their defaults; an
    // outer ending's callback is kept across them.
    void CallSpriteEnd(POSITION pos, int nParam, SpriteDone done);
    void CallGroupEnd(int nGroupId, SpriteDone done);
    // Runs the callback at hand, taken out of the window first.
    void RunEndingDone();

    // Input routing.
    void RouteMouseMove(UINT nFlags, int x, int y);
    void HoverAtPress(CPoint point);
    // The item under the point that takes the mouse: none where a sprite
    // covers it.
    CSpriteItem* MouseItemAt(int x, int y) const;
    // Leaves the hovered item for this one (or none); true when it is then
    // hovered.
    bool MoveHoverTo(CSpriteItem* item);
    CSpriteItem* ItemAt(int x, int y) const;
    bool IsCovered(CSpriteItem* item, int x, int y) const;
    CSpriteItem* ButtonTarget() const;

    // Groups.
    void StartGroupEntry(int nSlot, int nEntry);
    void OnGroupEntryEnd(int nSlot, int nEntry);
    void ApplyGroupAtOnce(int nSlot);
    void EndGroup(int nSlot);
    void ForgetGroupSprite(POSITION pos);
    bool IsSameGroup(int nSlot, uint64_t serial) const;

    SPRITEWND_GROUP m_groups[kGroups];
    int m_nGroupsInUse = 0;
    uint64_t m_nextGroupSerial = 1;
    CSpriteImageList m_images;
    CSpriteItem* m_pHoverItem = nullptr;
    CSpriteItem* m_pCapturedItem = nullptr;
    std::vector<DirtyEntry> m_dirty;
    // The flush tick runs while changes keep coming; a quiet window has none.
    bool m_bFlushTicking = false;
    // A WM_PAINT is due to show a change that no tick brought.
    bool m_bPaintAsked = false;
    // Inside a frame, motion or group step of the engine's timers.
    bool m_bInEngineStep = false;
    DWORD m_nLastFlush = 0; // GetTickCount of the last flush
    SPRITEWND_CHANNEL m_channels[kChannels];
    SpriteDone m_channelDone[kChannels]; // the end callback of each channel's play
    SpriteDone m_endingDone;             // the callback of the ending being handed to a hook
    int m_nChannelsInUse = 0;
    BOOL m_bTrackingMouse = FALSE;
    // Live sprites by handle: the serial each got when added, and its list node.
    struct LiveSprite {
        uint64_t serial;
        POSITION node;
    };
    std::unordered_map<POSITION, LiveSprite> m_live;
    // Live sprites by their caller's id, so that finding one by id does not
    // walk the list (it does when several share the id: the first counts).
    std::unordered_multimap<int, SPRITEINFO*> m_byId;
    uint64_t m_nextSpriteSerial = 1;
};
