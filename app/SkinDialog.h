#pragma once
// The common face of the program's skinned dialogs: a borderless dialog
// whose background picture from the theme is its whole face, shaped by that
// picture's pixels other than the key colour, drawn into a memory canvas
// that each paint copies, and dragged by any point.

#include "app/SkinButton.h"
#include "platform/controls/Dialog.h"

#include <memory>

class CKeyColorDC;
class CPicture;

class CSkinDialog : public CDialog {
public:
    using CDialog::CDialog;
    ~CSkinDialog() override;

    void OnPaint() override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    // A press anywhere on the face drags the dialog.
    void OnLButtonDown(UINT flags, CPoint point) override;
    // The table's cursor over the dialog once LoadTableCursor has it.
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) override;
    // Static controls are drawn over the face.
    HBRUSH OnCtlColor(CDC* dc, CWnd* control, UINT ctlColor) override;

    // The canvas the face is drawn into; null before the dialog exists.
    CDC* GetFaceDC() const;
    CPicture* GetBackImage() const { return m_pBackImage; }

protected:
    // Takes the background (the region from regionName, or from the
    // background itself when null), sizes the window to it and makes the
    // canvas. Without the picture the window keeps its template size and the
    // canvas is filled with the plain colour. FALSE when the picture is missing.
    BOOL LoadFace(LPCSTR backName, LPCSTR regionName, COLORREF plain);
    // Copies the background (or the plain colour) into the canvas.
    void DrawBackground();
    // Moves a button to a place and gives it its picture (logged when missing).
    void PlaceButton(CSkinButton& button, int x, int y, int cx, int cy, LPCSTR image);
    // OK, Cancel and close where every skinned dialog has them.
    void PlaceStandardButtons(CSkinButton& ok, CSkinButton& cancel, CSkinButton& close);
    void LoadTableCursor();
    // Starts a drag of the dialog as if its caption had been pressed.
    void BeginDrag(CPoint point);
    // A control's rectangle in the dialog's client coordinates (empty when
    // there is no such control).
    CRect ControlRect(int id) const;

    // Enter or Escape does nothing here (a focused button would otherwise
    // take Enter as its click).
    BOOL m_bIgnoreEnter = FALSE;
    BOOL m_bIgnoreEscape = FALSE;
    CPicture* m_pBackImage = nullptr; // the theme's
    std::unique_ptr<CKeyColorDC> m_pMemDC;
    COLORREF m_crPlain = RGB(204, 204, 204);
    HCURSOR m_hCursor = nullptr;
};
