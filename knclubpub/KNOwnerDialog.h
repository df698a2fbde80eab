#pragma once

// CKNOwnerDialog: a dialog whose whole frame is painted from ten bitmaps:
// four corners keyed on magenta, the caption bar and the borders tiled, the
// client background tiled on erase, and a four-frame close button. The frame
// is a true non-client area; the dialog moves by its caption bar and closes
// by its painted button.

#include "knbase05/TablehubApi.h"
#include "platform/controls/Dialog.h"
#include "platform/text/CFont.h"

class TABLEHUB_API CKNOwnerDialog : public CDialog {
public:
    // The pieces in load order (offsets from the first resource id).
    enum Piece {
        kTopLeft,
        kCaption,
        kTopRight,
        kLeft,
        kRight,
        kBottomLeft,
        kBottom,
        kBottomRight,
        kBackground,
        kClose,
        kPieceCount
    };

    CKNOwnerDialog(UINT nIDTemplate, CWnd* pParent);
    ~CKNOwnerDialog() override;

    // Frees the pieces, then loads resources nFirstId..nFirstId + 9 of the
    // type from the module (GIF or BMP bytes; see the UI kit). A piece that
    // does not load stays null with a 0 x 0 size; TRUE all the same. Without
    // a module nothing can load: the numbers are no file names.
    BOOL LoadFrameBitmaps(UINT nFirstId, LPCTSTR lpType, HMODULE hModule);
    void FreeFrameBitmaps();
    // Paints the whole frame through the window DC.
    virtual void DrawCaption();
    void RedrawFrame(int);
    // Rounded corners (both sizes above 0) or none; TRUE.
    BOOL SetRoundCorner(int cx, int cy);
    void SetShowCaptionText(BOOL bShow) { m_bShowCaptionText = bShow; }

    // Takes over a piece (the dialog frees it) and records its size.
    void SetFrameBitmap(int piece, HBITMAP bitmap);
    HBITMAP GetFrameBitmap(int piece) const { return m_hFrameBmp[piece]; }
    CSize GetFrameSize(int piece) const { return m_szFrameBmp[piece]; }
    // The close button in screen coordinates (empty without its strip).
    CRect GetCloseRect() const;
    BOOL IsCloseHover() const { return m_bCloseHover; }
    BOOL IsClosePressed() const { return m_bClosePressed; }

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    void OnNcCalcSize(BOOL calcValidRects, NCCALCSIZE_PARAMS* params) override;
    void OnPaint() override;
    void OnNcPaint() override;
    void OnDestroy() override;
    LRESULT OnNcHitTest(CPoint point) override;
    void OnNcLButtonDown(UINT hitTest, CPoint point) override;
    void OnNcLButtonUp(UINT hitTest, CPoint point) override;
    void OnNcRButtonUp(UINT hitTest, CPoint point) override;
    void OnSize(UINT type, int cx, int cy) override;

protected:
    int PieceWidth(int piece) const { return m_szFrameBmp[piece].cx; }
    int PieceHeight(int piece) const { return m_szFrameBmp[piece].cy; }
    // The window rectangle inset by the borders and the caption bar.
    CRect InsetRect(const CRect& window) const;
    // The close button within a window rectangle of that place.
    CRect CloseRectIn(const CRect& window) const;
    void SetCloseHover(BOOL hover);
    void SetClosePressed(BOOL pressed);

    HBITMAP m_hFrameBmp[kPieceCount] = {};
    CSize m_szFrameBmp[kPieceCount];
    BOOL m_bCloseHover = FALSE;
    BOOL m_bClosePressed = FALSE;
    BOOL m_bRoundCorner = FALSE;
    CSize m_szRoundCorner;
    BOOL m_bShowCaptionText = TRUE;
    CFont* m_pCaptionFont = nullptr;
    COLORREF m_crCaptionText = 0;
};

// Copies the cx x cy block at (xSrc, ySrc) of the bitmap to (x, y) of the DC.
TABLEHUB_API BOOL BlitBitmapPart(CDC* pDC, HBITMAP hBmp, int x, int y, int xSrc, int ySrc, int cx,
                                 int cy);
