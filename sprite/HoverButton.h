#pragma once
// An owner-drawn push button painted from one bitmap strip: normal, hover,
// pressed and disabled frames side by side, optionally followed by a mask
// frame (black where the button is opaque). It has a tooltip and two plain
// callbacks, one when the mouse enters it and one on every click. It is the
// shell's button; it lives here so that the table window's seat pop-up and
// the shell's main pane both use it.

#include "platform/controls/Controls.h"
#include "platform/controls/ToolTip.h"

class CHoverButton : public CButton {
public:
    using HoverCallback = void (*)();
    using ClickCallback = void (*)(CHoverButton* button);

    // Frame width = strip width / (frames, plus one with a mask); the button
    // is made one frame big where it stands (a missing strip leaves its
    // size). The strip is not owned.
    void SetBitmapStrip(CBitmap* strip, int frames, BOOL mask);
    // FALSE when the control cannot be subclassed.
    BOOL SubclassAndSetStrip(HWND control, CBitmap* strip, int frames, BOOL mask);
    // An empty text is ignored; the tooltip is made on first need.
    void SetToolTipText(LPCSTR text, BOOL activate = TRUE);
    void ActivateToolTip(BOOL activate);

    void PreSubclassWindow() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    void OnMouseLeave() override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    void DrawItem(LPDRAWITEMSTRUCT item) override;

    // The frame an item state shows: pressed, else disabled, else hovered, else normal.
    int FrameFor(UINT itemState) const;
    int GetFrameWidth() const { return m_nFrameWidth; }
    int GetFrameHeight() const { return m_nFrameHeight; }
    BOOL IsHovered() const { return m_bHover; }
    CToolTipCtrl& GetToolTip() { return m_toolTip; }

    HoverCallback m_pfnOnHover = nullptr;
    ClickCallback m_pfnOnClick = nullptr;

private:
    void EnsureToolTip();

    BOOL m_bHover = FALSE;
    int m_nFrameWidth = 0;
    int m_nFrameHeight = 0;
    BOOL m_bTracking = FALSE;
    CBitmap* m_pStrip = nullptr;
    BOOL m_bMask = FALSE;
    CToolTipCtrl m_toolTip;
    bool m_bHasTool = false;
};
