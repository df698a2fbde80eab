// The skinned dialog's frame: hit-testing, the caption buttons' mouse, the
// window's shape, maximising and the hide/show command.

#include "knclientUI05/DlgSkinIni.h"
#include "knclientUI05/KNGameDialog.h"
#include "knclientUI05/KNGameDialogSkin.h"
#include "platform/gdi/Gdi.h"
#include "platform/window/NonClient.h"
#include "platform/window/SystemMetrics.h"

namespace {

// The corner pieces are this long whatever the border width, and the top
// border is always this high.
constexpr int kCornerLength = 20;
constexpr int kTopBorder = 4;
constexpr int kIconBox = 16;

constexpr int kFrameCodes[CKNGameDialog::kFrameRects] = {
    HTTOPLEFT,     HTTOPLEFT, HTBOTTOMLEFT, HTBOTTOMLEFT, HTTOPRIGHT, HTTOPRIGHT, HTBOTTOMRIGHT,
    HTBOTTOMRIGHT, HTLEFT,    HTRIGHT,      HTTOP,        HTBOTTOM,   HTCAPTION,  HTSYSMENU,
};
constexpr int kCaptionRect = 12;
constexpr int kIconRect = 13;

HRGN CornerCell(HRGN back, int left, int top, int cx, int cy, int dx, int dy) {
    HRGN cell = CreateRectRgn(left, top, left + cx, top + cy);
    CombineRgn(cell, cell, back, RGN_AND);
    OffsetRgn(cell, dx, dy);
    return cell;
}

// The frame's hit-test rectangles in screen coordinates.
void ComputeFrameRects(CKNGameDialog& dialog) {
    RECT window;
    dialog.GetWindowRect(&window);
    const int W = window.right - window.left;
    const int H = window.bottom - window.top;
    const int B = dialog.m_nBorderWidth;
    const int C = dialog.m_nCaptionHeight;
    const int L = kCornerLength;
    const RECT local[CKNGameDialog::kFrameRects] = {
        {0, 0, B, L},          {0, 0, L, B},
        {0, H - L, B, H},      {0, H - B, L, H},
        {W - B, 0, W, L},      {W - L, 0, W, B},
        {W - B, H - L, W, H},  {W - L, H - B, W, H},
        {0, 0, B, H},          {W - B, 0, W, H},
        {0, 0, W, kTopBorder}, {0, H - B, W, H},
        {0, 0, W, C},          {B, B, B + kIconBox, B + kIconBox},
    };
    // The client area is the whole window.
    for (int i = 0; i < CKNGameDialog::kFrameRects; ++i) {
        dialog.m_rcFrame[i] = local[i];
        OffsetRect(&dialog.m_rcFrame[i], window.left, window.top);
    }
}

POINT ToClient(const CKNGameDialog& dialog, CPoint screen) {
    POINT p{screen.x, screen.y};
    dialog.ScreenToClient(&p);
    return p;
}

} // namespace

LRESULT CKNGameDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_WINDOWPOSCHANGED && IsSkinned())
        ComputeFrameRects(*this);
    return CDialog::WindowProc(message, wParam, lParam);
}

LRESULT CKNGameDialog::OnNcHitTest(CPoint point) {
    if (!IsSkinned())
        return CDialog::OnNcHitTest(point);
    ComputeFrameRects(*this);
    const POINT screen{point.x, point.y};
    if (m_bResize && !IsZoomed()) {
        for (int i = 0; i < kFrameRects; ++i) {
            if (i == kCaptionRect)
                continue;
            if (PtInRect(&m_rcFrame[i], screen))
                return kFrameCodes[i];
        }
    }
    const POINT client = ToClient(*this, point);
    const int button = m_sysBtns.HitTest(client.x, client.y);
    if (button != -2)
        return button;
    if (PtInRect(&m_rcFrame[kCaptionRect], screen))
        return HTCAPTION;
    return CDialog::OnNcHitTest(point);
}

void CKNGameDialog::OnNcPaint() {
    if (!IsSkinned())
        CDialog::OnNcPaint();
}

void CKNGameDialog::OnNcCalcSize(BOOL calcValidRects, NCCALCSIZE_PARAMS* params) {
    if (!IsSkinned())
        CDialog::OnNcCalcSize(calcValidRects, params);
}

void CKNGameDialog::OnActivate(UINT state, CWnd* other, BOOL minimized) {
    ComputeFrameRects(*this);
    // The borders and the caption show the active or inactive background.
    for (int index : {8, 9, kCaptionRect}) {
        RECT r = m_rcFrame[index];
        ScreenToClient(&r);
        InvalidateRect(&r, TRUE);
    }
    CDialog::OnActivate(state, other, minimized);
}

void CKNGameDialog::OnNcMouseMove(UINT hitTest, CPoint point) {
    if (!m_sysBtns.OnMouseMove(hitTest, ToClient(*this, point)))
        CDialog::OnNcMouseMove(hitTest, point);
}

void CKNGameDialog::OnNcLButtonUp(UINT hitTest, CPoint point) {
    if (!m_sysBtns.OnLButtonUp(hitTest, ToClient(*this, point)))
        CDialog::OnNcLButtonUp(hitTest, point);
}

void CKNGameDialog::OnNcLButtonDown(UINT hitTest, CPoint point) {
    if (m_sysBtns.OnLButtonDown(hitTest, ToClient(*this, point)))
        return;
    ComputeFrameRects(*this);
    const POINT screen{point.x, point.y};
    // A maximised dialog is not dragged by its caption.
    if (PtInRect(&m_rcFrame[kCaptionRect], screen) && IsZoomed()) {
        ::SetActiveWindow(m_hWnd);
        return;
    }
    CDialog::OnNcLButtonDown(hitTest, point);
}

void CKNGameDialog::OnNcLButtonDblClk(UINT hitTest, CPoint) {
    // Never the system's maximising: only the skin's own, when it has one.
    if (hitTest == HTCAPTION && m_bUseTitleMax)
        ToggleMaximise(*this, FALSE);
}

void CKNGameDialog::OnMove(int x, int y) {
    CDialog::OnMove(x, y);
    if (IsSkinned())
        ComputeFrameRects(*this);
}

void CKNGameDialog::OnSize(UINT type, int cx, int cy) {
    CDialog::OnSize(type, cx, cy);
    if (!IsSkinned())
        return;
    ComputeFrameRects(*this);
    RECT window;
    GetWindowRect(&window);
    PlaceCaptionButtons(*this, window.right - window.left);
    if (HRGN region = BuildFrameRegion())
        SetWindowRgn(region, TRUE);
    if (m_bUseTitleMax)
        m_sysBtns.UseAlt(IsZoomed(), m_nMaxBtnIndex);
    Invalidate(TRUE);
}

HRGN CKNGameDialog::BuildFrameRegion() {
    RECT client;
    GetClientRect(&client);
    const int W = client.right;
    const int H = client.bottom;
    if (!m_bAnomalyFrame)
        return CreateRectRgn(0, 0, W, H);
    if (m_hSkinRgn == nullptr)
        return nullptr;
    const int cx = m_sizeCell.cx;
    const int cy = m_sizeCell.cy;
    // The right corners sit one pixel past the edge, and the bands leave
    // only 8 pixels of the left and top corners to the picture's shape:
    // skins keep their corner cells at least 17 pixels.
    HRGN corners[4] = {
        CornerCell(m_hSkinRgn, 0, 0, cx, cy, 0, 0),
        CornerCell(m_hSkinRgn, 2 * cx, 0, cx, cy, W - cx + 1 - 2 * cx, 0),
        CornerCell(m_hSkinRgn, 0, 2 * cy, cx, cy, 0, H - cy - 2 * cy),
        CornerCell(m_hSkinRgn, 2 * cx, 2 * cy, cx, cy, W - cx + 1 - 2 * cx, H - cy - 2 * cy),
    };
    HRGN region = CreateRectRgn(8, 0, W - 16, H);
    HRGN band = CreateRectRgn(0, 8, W, H - 16);
    CombineRgn(region, region, band, RGN_OR);
    DeleteObject(band);
    for (HRGN corner : corners) {
        CombineRgn(region, region, corner, RGN_OR);
        DeleteObject(corner);
    }
    return region;
}

void CKNGameDialog::OnGetMinMaxInfo(MINMAXINFO* info) {
    RECT work{0, 0, 0, 0};
    SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
    info->ptMaxPosition = POINT{work.left, work.top};
    info->ptMaxSize.x = work.right - work.left;
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    info->ptMaxSize.y = std::min<int>(work.bottom - work.top, screenHeight - 1);
    info->ptMinTrackSize = POINT{0, 0};
}

BOOL CKNGameDialog::OnCopyData(CWnd*, COPYDATASTRUCT* data) {
    if (data == nullptr || (data->dwData & ~ULONG_PTR(0xFF)) != KN_COPYDATA_FAMILY)
        return FALSE;
    if (data->dwData == KN_COPYDATA_HIDE) {
        m_bWasVisible = (GetStyle() & WS_VISIBLE) != 0;
        ShowWindow(SW_HIDE);
    } else if (data->dwData == KN_COPYDATA_SHOW) {
        if (m_bWasVisible || m_bModal)
            ShowWindow(SW_SHOW);
    }
    return TRUE;
}

void ToggleMaximise(CKNGameDialog& dialog, BOOL setPicture) {
    if (dialog.IsZoomed()) {
        dialog.ShowWindow(SW_RESTORE);
        if (setPicture)
            dialog.m_sysBtns.UseAlt(FALSE, dialog.m_nMaxBtnIndex);
    } else {
        dialog.ShowWindow(SW_MAXIMIZE);
        if (setPicture)
            dialog.m_sysBtns.UseAlt(TRUE, dialog.m_nMaxBtnIndex);
    }
}
