#pragma once

// CCoolButton: the skinned push button. It takes over a dialog control (or
// a button made elsewhere), paints itself from a strip of equal frames
// (normal, hover, pressed, disabled, and optionally a shape mask), follows
// the mouse itself, plays a sound when it turns hot or pressed, reports a
// click to its owner as a command, and can flash.

#include "knbase05/TablehubApi.h"
#include "knclientUI05/KNBitmap.h"
#include "platform/controls/Controls.h"

class TABLEHUB_API CCoolButton : public CButton {
    DECLARE_DYNAMIC(CCoolButton)

public:
    CCoolButton() = default;
    ~CCoolButton() override;

    // The strip named by [section] key, then [KNDLG] key, else
    // "dlgbutton.bmp"; a comma in a file-mode value selects the five-frame
    // strip (the file name follows the comma).
    BOOL LoadSkin(CWnd* parent, UINT id, LPCSTR section, LPCSTR key, UINT hoverSound,
                  UINT clickSound, BOOL subclass);
    BOOL LoadFromResource(CWnd* parent, UINT id, UINT bitmapId, UINT hoverSound, UINT clickSound,
                          BOOL subclass);
    BOOL LoadFromResource(CWnd* parent, UINT id, UINT bitmapId, BOOL fiveFrames, UINT hoverSound,
                          UINT clickSound, BOOL subclass);
    BOOL LoadFromModule(CWnd* parent, UINT id, HINSTANCE module, UINT bitmapId, UINT hoverSound,
                        UINT clickSound, BOOL subclass);
    BOOL LoadFromFile(CWnd* parent, UINT id, LPCSTR path, BOOL subclass);
    // The key colour is the strip's top-left pixel.
    BOOL LoadTransparent(CWnd* parent, UINT id, LPCSTR path, BOOL transparent);

    // The alternate strip (same layout) drops its picture and takes the
    // bitmap, the bitmap resource (with its palette) or the file; TRUE when it
    // holds the new one.
    BOOL SetAltBitmap(HBITMAP bitmap);
    BOOL SetAltBitmap(UINT bitmapId);
    BOOL SetAltBitmap(LPCSTR path);
    // Paints from the alternate strip (or the main one again), at once.
    void UseAltBitmap(BOOL use);

    // Flashes frames 0 and 1 every 300 ms while the mouse is over the button,
    // on the timer of that id (a running flash's timer stops first); only
    // another StartFlash or the window's end stops it.
    void StartFlash(UINT timerId);

    BOOL PreTranslateMessage(MSG* msg) override;
    void DrawItem(LPDRAWITEMSTRUCT item) override;
    void PreSubclassWindow() override;

    int GetDrawnState() const { return m_nState; }

protected:
    void OnMouseMove(UINT flags, CPoint point) override;
    void OnCaptureChanged(CWnd* wnd) override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    void OnLButtonDblClk(UINT flags, CPoint point) override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    void OnTimer(UINT_PTR id) override;

public:
    UINT m_nID = 0;
    CKNBitmap m_bmpButton;
    CKNBitmap m_bmpAlt;
    BOOL m_bUseAlt = FALSE;
    int m_nState = -1;
    UINT m_nHoverSound = 0;
    UINT m_nClickSound = 0;
    BOOL m_bLit = FALSE;
    BOOL m_bTransparent = FALSE;
    COLORREF m_clrTransparent = 0;
    BOOL m_bShapeMask = FALSE;
    UINT_PTR m_nFlashTimer = UINT_PTR(-1);
    int m_nFlashPhase = 1;
};
