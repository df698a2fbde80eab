#include "knclubpub/KNOwnerDialog.h"

#include "knclubpub/FramePaint.h"
#include "platform/window/Input.h"
#include "platform/window/NonClient.h"
#include "platform/window/WindowDcs.h"

CKNOwnerDialog::CKNOwnerDialog(UINT nIDTemplate, CWnd* pParent) : CDialog(nIDTemplate, pParent) {}

CKNOwnerDialog::~CKNOwnerDialog() {
    FreeFrameBitmaps();
}

void CKNOwnerDialog::FreeFrameBitmaps() {
    for (int i = 0; i < kPieceCount; ++i) {
        if (m_hFrameBmp[i]) {
            DeleteObject(m_hFrameBmp[i]);
            m_hFrameBmp[i] = nullptr;
        }
        m_szFrameBmp[i] = CSize(0, 0);
    }
}

void CKNOwnerDialog::SetFrameBitmap(int piece, HBITMAP bitmap) {
    if (piece < 0 || piece >= kPieceCount) {
        if (bitmap) {
            DeleteObject(bitmap);
        }
        return;
    }
    if (m_hFrameBmp[piece] && m_hFrameBmp[piece] != bitmap) {
        DeleteObject(m_hFrameBmp[piece]);
    }
    m_hFrameBmp[piece] = bitmap;
    int width = 0;
    int height = 0;
    BitmapSize(bitmap, &width, &height);
    m_szFrameBmp[piece] = CSize(width, height);
}

CRect CKNOwnerDialog::InsetRect(const CRect& window) const {
    return CRect(window.left + PieceWidth(kLeft), window.top + PieceHeight(kCaption),
                 window.right - PieceWidth(kRight), window.bottom - PieceHeight(kBottom));
}

CRect CKNOwnerDialog::CloseRectIn(const CRect& window) const {
    const int right = window.right - PieceWidth(kRight) - 4;
    const int top = window.top + PieceHeight(kTopLeft) / 2 - PieceHeight(kClose) / 2;
    return CRect(right - PieceWidth(kClose) / 4, top, right, top + PieceHeight(kClose));
}

CRect CKNOwnerDialog::GetCloseRect() const {
    CRect window;
    GetWindowRect(&window);
    return CloseRectIn(window);
}

void CKNOwnerDialog::RedrawFrame(int) {
    DrawCaption();
}

void CKNOwnerDialog::SetCloseHover(BOOL hover) {
    if (m_bCloseHover != hover) {
        m_bCloseHover = hover;
        RedrawFrame(0);
    }
}

void CKNOwnerDialog::SetClosePressed(BOOL pressed) {
    if (m_bClosePressed != pressed) {
        m_bClosePressed = pressed;
        RedrawFrame(0);
    }
}

BOOL CKNOwnerDialog::SetRoundCorner(int cx, int cy) {
    m_szRoundCorner = CSize(cx, cy);
    m_bRoundCorner = cx > 0 && cy > 0;
    CRect window;
    GetWindowRect(&window);
    if (GetSafeHwnd() && window.Width() > 0) {
        if (m_bRoundCorner) {
            SetWindowRgn(CreateRoundRectRgn(0, 0, window.Width() + 1, window.Height() + 1, cx, cy),
                         TRUE);
        } else {
            SetWindowRgn(nullptr, TRUE);
        }
    }
    return TRUE;
}

BOOL CKNOwnerDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    ModifyStyle(WS_SYSMENU, 0);
    ModifyStyle(WS_BORDER, 0);
    return TRUE;
}

void CKNOwnerDialog::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
}

void CKNOwnerDialog::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* params) {
    // The frame pieces are the non-client area; no default frame.
    RECT& r = params->rgrc[0];
    r = InsetRect(CRect(r));
}

void CKNOwnerDialog::OnPaint() {
    CPaintDC dc(this); // the client shows only its erased background
}

void CKNOwnerDialog::OnNcPaint() {
    DrawCaption();
}

void CKNOwnerDialog::OnDestroy() {
    CDialog::OnDestroy();
    FreeFrameBitmaps();
}

LRESULT CKNOwnerDialog::OnNcHitTest(CPoint point) {
    // A release that happened outside every window of ours is noticed here.
    if (m_bClosePressed && !(GetAsyncKeyState(VK_LBUTTON) & 0x8000)) {
        SetClosePressed(FALSE);
    }
    CRect window;
    GetWindowRect(&window);
    if (InsetRect(window).PtInRect(point)) {
        SetCloseHover(FALSE);
        return HTCLIENT;
    }
    if (CloseRectIn(window).PtInRect(point)) {
        SetCloseHover(TRUE);
        return HTSYSMENU;
    }
    SetCloseHover(FALSE);
    const CRect caption(window.left + PieceWidth(kLeft), window.top + 4,
                        window.right - PieceWidth(kRight), window.top + 4 + PieceHeight(kCaption));
    return caption.PtInRect(point) ? HTCAPTION : HTNOWHERE;
}

void CKNOwnerDialog::OnNcLButtonDown(UINT hitTest, CPoint point) {
    const BOOL onClose = GetCloseRect().PtInRect(point);
    SetClosePressed(onClose);
    // The default handling drags by the caption; on the close button it
    // would open a system menu this dialog does not have.
    if (!onClose && hitTest != HTSYSMENU) {
        CDialog::OnNcLButtonDown(hitTest, point);
    }
}

void CKNOwnerDialog::OnNcLButtonUp(UINT hitTest, CPoint point) {
    SetClosePressed(FALSE);
    DrawCaption();
    // A release over the button closes, wherever the press began.
    if (GetCloseRect().PtInRect(point)) {
        OnCancel();
    } else {
        CDialog::OnNcLButtonUp(hitTest, point);
    }
}

void CKNOwnerDialog::OnNcRButtonUp(UINT hitTest, CPoint point) {
    DrawCaption();
    CDialog::OnNcRButtonUp(hitTest, point);
}

void CKNOwnerDialog::OnSize(UINT type, int cx, int cy) {
    DrawCaption();
    CDialog::OnSize(type, cx, cy);
}
