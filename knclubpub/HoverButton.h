#pragma once

// CHoverBitmapButton: a push button painted from a strip of four equal
// frames (normal, hover, pressed, disabled) stretched by repeating its
// middle third, with a one-line text in per-state colours and an optional
// colour-keyed icon. It follows the mouse with capture.

#include "knclubpub/KNOwnerDialog.h"
#include "platform/controls/Controls.h"
#include "platform/text/Text.h"

class CKNMemBitmap;

class TABLEHUB_API CHoverBitmapButton : public CButton {
public:
    CHoverBitmapButton() = default;
    ~CHoverBitmapButton() override = default;

    // The strip is not owned. FALSE when its size cannot be read; otherwise
    // the button takes the strip's height where it stands.
    BOOL SetBitmap(HBITMAP hBmp);
    // Not owned.
    void SetIcon(CKNMemBitmap* icon) { m_pIcon = icon; }
    // The source block drawn over the destination block: corners and edges
    // kept, the middle third repeated where the destination is larger.
    static void TileBitmapPart(CDC* pDC, HBITMAP hBmp, int dx, int dy, int dw, int dh, int sx,
                               int sy, int sw, int sh);
    // The strip frame and the text colour the button's state shows.
    int CurrentFrame() const;
    COLORREF CurrentTextColor() const;
    BOOL IsHover() const { return m_bHover; }
    BOOL IsDown() const { return m_bDown; }
    BOOL IsCaptured() const { return m_bCaptured; }

    void PreSubclassWindow() override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void DrawItem(LPDRAWITEMSTRUCT) override {}
    void OnPaint() override;
    void OnMouseMove(UINT flags, CPoint point) override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    void OnCaptureChanged(CWnd* wnd) override;
    void OnSetFocus(CWnd* oldWnd) override;
    void OnKillFocus(CWnd* newWnd) override;

    COLORREF m_crNormal = 0;
    COLORREF m_crHover = 0;
    COLORREF m_crPressed = 0;
    COLORREF m_crDisabled = 0;
    COLORREF m_crFocus = RGB(255, 0, 0);
    COLORREF m_crBack = RGB(255, 255, 255);
    UINT m_nTextFormat = DT_CENTER;
    int m_nTextOffset = 0;
    int m_nIconOffset = 0;

private:
    BOOL m_bHover = FALSE;
    BOOL m_bDown = FALSE;
    BOOL m_bCaptured = FALSE;
    HBITMAP m_hBitmap = nullptr;
    CKNMemBitmap* m_pIcon = nullptr;
};
