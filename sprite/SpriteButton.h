#pragma once

// Buttons on the sprite window. CSpriteButton draws the frame of its image
// that matches its state and posts WM_COMMAND on a click; CSpriteButtonEx is
// the table's push button, cut from one bitmap strip, with an optional check
// mode and hover (and, when asked, press and release) notices to the owner.

#include "sprite/SpriteImage.h"
#include "sprite/SpriteItem.h"

#include "sprite/WindowMessages.h"

enum SpriteButtonState {
    kButtonNormal = 0,
    kButtonHover = 1,
    kButtonDown = 2,
    kButtonDisabled = 3
};

class CSpriteButton : public CSpriteItem {
public:
    void Show(BOOL bShow) override;
    void Enable(BOOL bEnable) override;
    void OnMouseEnter() override;
    void OnMouseLeave() override;
    void OnLButtonDown(UINT nFlags, int x, int y) override;
    void OnLButtonUp(UINT nFlags, int x, int y) override;
    void Draw(CDC* pDC) override;

    int GetState() const { return m_nState; }
    CSpriteImage* GetImage() const { return m_pImage; }

protected:
    // Whether the system cursor lies over the button now.
    BOOL IsCursorOver() const;
    BOOL IsInside(int x, int y) const;
    void PostToOwner(UINT message, WPARAM wParam, LPARAM lParam) const;

    CSpriteImage* m_pImage = nullptr;
    int m_nState = kButtonNormal;
    BOOL m_bPressed = FALSE; // the left button went down on it and is still held
};

class CSpriteButtonEx : public CSpriteButton {
public:
    explicit CSpriteButtonEx(BOOL bCheckMode = FALSE) : m_bCheckMode(bCheckMode) {}
    ~CSpriteButtonEx() override;

    // Cuts frames cells of a horizontal strip (plus a mask cell after them
    // when bMask is set) and attaches the button. The bitmap stays the caller's.
    BOOL Create(HBITMAP hStrip, int nFrames, BOOL bMask, CSpriteWnd* pOwner, int x, int y,
                int anchor, int nLayer, int nId);
    // A four-state strip blended by an alpha: the alpha bitmap's first cell,
    // cell 4 of the strip (bOneAlphaCell) or cells 4 to 7.
    BOOL CreateEx(HBITMAP hStates, HBITMAP hAlpha, BOOL bOneAlphaCell, CSpriteWnd* pOwner, int x,
                  int y, int anchor, int nLayer, int nId);

    void OnTimer(UINT nIdHigh) override;
    void OnMouseEnter() override;
    void OnMouseLeave() override;
    void OnLButtonDown(UINT nFlags, int x, int y) override;
    void OnLButtonUp(UINT nFlags, int x, int y) override;

    void SetCheckMode(BOOL bCheckMode) { m_bCheckMode = bCheckMode; }
    void SetCheck(BOOL bCheck, BOOL bRedraw);
    BOOL IsDown() const { return m_nState == kButtonDown; }
    // nAutoReleaseMs -1: no auto release.
    void SetNotify(BOOL bNotify, int nAutoReleaseMs);

private:
    static constexpr int kAutoReleaseTimer = 1;
    BOOL AttachImage(CSpriteImage* pImage, CSpriteWnd* pOwner, int x, int y, int anchor, int nLayer,
                     int nId);
    // In check mode a button that is down takes no input but SetCheck.
    BOOL IsHeldDown() const { return m_bCheckMode && m_nState == kButtonDown; }

    BOOL m_bCheckMode;
    BOOL m_bNotify = FALSE;
    int m_nAutoReleaseMs = -1;
};
