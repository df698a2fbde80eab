#pragma once

// CKNGameDialog: the base of the library's skinned dialogs. Once SetSkinName
// has named its skin it drops the system frame, paints a nine-cell picture
// over the whole window, draws its own caption text and caption buttons
// (close, and maximise/restore when the skin asks), takes the shape of the
// picture's corners, lets its border strips size it, colours its controls
// and answers the hide/show command other windows send with WM_COPYDATA.
// Without a skin name it is a plain dialog.

#include "knbase05/TablehubApi.h"
#include "knclientUI05/KNBitmap.h"
#include "knclientUI05/SysBmpBtn.h"
#include "platform/controls/Dialog.h"
#include "platform/text/CFont.h"

#define IDC_KN_SYS_CLOSE 29735
#define IDC_KN_SYS_MAX 29754
#define IDS_KN_DEFAULT_FONT 29931
// The user-data mark of a skinned dialog window.
#define KN_DIALOG_MARK 10011
// WM_COPYDATA commands: the family in the upper 24 bits, the command below.
#define KN_COPYDATA_FAMILY 0xEBEBEB00u
#define KN_COPYDATA_HIDE 0xEBEBEB00u
#define KN_COPYDATA_SHOW 0xEBEBEB01u

class TABLEHUB_API CKNGameDialog : public CDialog {
public:
    static constexpr int kFrameRects = 14;

    CKNGameDialog(UINT templateId, CWnd* parent = nullptr);
    ~CKNGameDialog() override;

    // "KNDLG_" + name becomes the skin section; before the window exists.
    void SetSkinName(LPCSTR name);
    BOOL IsSkinned() const { return m_szSkinName[0] != '\0'; }
    LPCSTR GetSkinSection() const { return m_szSkinName; }

    int DoModal() override;
    // The client area less the border strips and the caption.
    void GetInnerRect(LPRECT rect) const;
    void ShowTitle(BOOL show) { m_bShowTitle = show; }
    // An etched frame round control id in two line colours, the control's
    // text set into its top line.
    void DrawGroupFrame(CDC* dc, UINT id, COLORREF crText, COLORREF crLine1, COLORREF crLine2);

    // The region the window takes from the background's corners, or null.
    virtual HRGN BuildFrameRegion();
    virtual void OnPaintBefore(CDC*) {}
    virtual void OnPaintAfter(CDC*) {}

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    int OnCreate(LPCREATESTRUCT cs) override;
    void OnDestroy() override;
    void OnPaint() override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    void OnNcPaint() override;
    void OnNcCalcSize(BOOL calcValidRects, NCCALCSIZE_PARAMS* params) override;
    LRESULT OnNcHitTest(CPoint point) override;
    void OnActivate(UINT state, CWnd* other, BOOL minimized) override;
    void OnNcMouseMove(UINT hitTest, CPoint point) override;
    void OnNcLButtonDown(UINT hitTest, CPoint point) override;
    void OnNcLButtonUp(UINT hitTest, CPoint point) override;
    void OnNcLButtonDblClk(UINT hitTest, CPoint point) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnMove(int x, int y) override;
    HBRUSH OnCtlColor(CDC* dc, CWnd* control, UINT ctlColor) override;
    void OnGetMinMaxInfo(MINMAXINFO* info) override;
    BOOL OnCopyData(CWnd* from, COPYDATASTRUCT* data) override;

public:
    RECT m_rcFrame[kFrameRects]{};
    BOOL m_bWasVisible = TRUE;
    CKNBitmap m_bmpBack;
    CKNBitmap m_bmpBackNA;
    SIZE m_sizeCell{0, 0};
    HBRUSH m_hCtrlBrush = nullptr;
    BOOL m_bShowTitle = TRUE;
    CFont m_fontTitle;
    COLORREF m_crTitle = RGB(255, 255, 255);
    BOOL m_bAnomalyFrame = TRUE;
    BOOL m_bResize = FALSE;
    COLORREF m_crCtrlText = RGB(255, 255, 255);
    char m_szSkinName[256] = "";
    CSysBmpBtn m_sysBtns;
    int m_nBorderWidth = 4;
    int m_nCaptionHeight = 20;
    BOOL m_bModal = FALSE;
    int m_nMaxBtnIndex = 0;
    BOOL m_bUseTitleMax = FALSE;
    HRGN m_hSkinRgn = nullptr;
    // A region the cache could not keep is the dialog's own.
    BOOL m_bOwnsSkinRgn = FALSE;
};
