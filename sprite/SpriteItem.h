#pragma once

// A sprite item: a rectangle on the sprite window that draws itself and takes
// input (the table's buttons and panes). The window lists items by layer and
// routes input and item timers to them.

#include "platform/CString.h"
#include "platform/gdi/Dc.h"
#include "sprite/SpritePos.h"

class CSpriteWnd;

class CSpriteItem {
public:
    CSpriteItem() = default;
    // An item still listed leaves its window.
    virtual ~CSpriteItem();
    CSpriteItem(const CSpriteItem&) = delete;
    CSpriteItem& operator=(const CSpriteItem&) = delete;

    // The item timer's identifier, upper 16 bits (the low byte is the kind).
    virtual void OnTimer(UINT nIdHigh);
    virtual void Show(BOOL bShow);
    virtual void Enable(BOOL bEnable);
    // Anchor -1 moves by (x, y).
    virtual void SetPos(int x, int y, int anchor, BOOL bRedraw);
    // FALSE when the window already lists an item with the id.
    virtual BOOL Attach(CSpriteWnd* pOwner, int x, int y, int anchor, int cx, int cy, int nId,
                        LPCSTR name, int nLayer);
    // Key handlers return 1 when they leave the key to others.
    virtual BOOL OnKeyDown(UINT nKey, UINT nRepeat, UINT nFlags);
    virtual BOOL OnKeyUp(UINT nKey, UINT nRepeat, UINT nFlags);
    virtual void OnMouseMove(UINT nFlags, int x, int y);
    virtual void OnMouseEnter();
    virtual void OnMouseLeave();
    virtual void OnLButtonDown(UINT nFlags, int x, int y);
    virtual void OnLButtonUp(UINT nFlags, int x, int y);
    virtual void OnRButtonDown(UINT nFlags, int x, int y);
    virtual void OnRButtonUp(UINT nFlags, int x, int y);
    virtual CString GetName();
    // Draws into a DC whose (0, 0) is the item's top left, clipped to the
    // part of the item to be drawn now (its clip box).
    virtual void Draw(CDC* pDC);

    CRect GetRect() const;
    void Invalidate();
    // Makes this the window's captured item; returns the one before.
    CSpriteItem* SetCapture();
    void ReleaseCapture();
    BOOL SetTimer(int nKind, UINT nElapseMs);
    BOOL KillTimer(int nKind);

    CSpriteWnd* GetOwner() const { return m_pOwner; }
    int GetId() const { return m_nId; }
    int GetLayer() const { return m_nLayer; }
    BOOL IsVisible() const { return m_bVisible; }
    BOOL IsEnabled() const { return m_bEnabled; }

protected:
    // Stops being the owner's captured or hover item.
    void DropFocus();

private:
    friend class CSpriteWnd;
    UINT_PTR TimerId(int nKind) const;

    CSpriteWnd* m_pOwner = nullptr;
    int m_nId = 0;
    CSpritePos m_pos;
    int m_cx = 0;
    int m_cy = 0;
    CString m_strName;
    BOOL m_bVisible = TRUE;
    BOOL m_bEnabled = TRUE;
    int m_nLayer = 0;
};
