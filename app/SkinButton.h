#pragma once
// The button of every skinned dialog: a push button, check box or radio
// button drawn from a theme picture of four frames side by side. Push
// button frames: normal, hover, pressed, disabled; check box and radio
// frames: unchecked, unchecked hovered, checked hovered, checked.

#include "platform/controls/Controls.h"

class CPicture;

class CSkinButton : public CButton {
public:
    // FALSE for a null or unknown name (the button then draws nothing and
    // keeps its size). A push button is made one frame big, its top-left
    // corner kept.
    BOOL SetImage(LPCSTR name);

    void PreSubclassWindow() override;
    void DrawItem(LPDRAWITEMSTRUCT item) override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnLButtonDblClk(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    void OnMouseLeave() override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    // The state dialogs read and write directly.
    BOOL m_bChecked = FALSE;
    BOOL m_bDown = FALSE;
    BOOL m_bHover = FALSE;
    CPicture* m_pImage = nullptr; // the theme's, not owned
    // Not 0: frames are drawn without this key colour.
    COLORREF m_crKey = 0;
    int m_nFrameWidth = 0;
    int m_nFrameHeight = 0;
    BOOL m_bCheckBox = FALSE;
    BOOL m_bRadio = FALSE;

    // The text colour of check boxes and radio buttons.
    static constexpr COLORREF kTextColour = RGB(107, 105, 106);

private:
    int FrameToDraw(UINT itemState) const;
};
