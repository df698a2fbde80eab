#include "knclientUI05/KnQuickbuyDlg.h"

#include "assets/resource.h"
#include "knclientUI05/KitStartup.h"
#include "knclientUI05/KnClientPublic.h"
#include "knclientbase05/WebPopupTarget.h"
#include "outside/WebBrowser.h"
#include "platform/resources/Resource.h"
#include "platform/text/Text.h"
#include "platform/window/SystemMetrics.h"
#include "platform/window/WindowDcs.h"

#include <algorithm>

namespace {

const char kFixedCaption[] = "温馨提示";
const char kBlankPage[] = "about:blank";
constexpr UINT kBrowserId = 101;

} // namespace

CKnQuickbuyDlg::CKnQuickbuyDlg(CWnd* pParent)
    : CKNOwnerDialog(IDD_KN_QUICKBUY, pParent), m_pBrowser(std::make_unique<CWebBrowser2>()),
      m_strCaption(kFixedCaption), m_pMainWnd(pParent) {
    m_font.CreateFont(12, 0, 0, 0, 700, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "宋体");
    SetShowCaptionText(FALSE); // this pop-up writes its own caption
}

CKnQuickbuyDlg::~CKnQuickbuyDlg() {
    FreeFrameBitmaps();
    if (m_pBrowser->GetSafeHwnd()) {
        m_pBrowser->DestroyWindow();
    }
    if (GetSafeHwnd()) {
        CWnd::DestroyWindow();
    }
}

BOOL CKnQuickbuyDlg::DestroyWindow() {
    return CWnd::DestroyWindow();
}

void CKnQuickbuyDlg::DoDataExchange(CDataExchange* dx) {
    CKNOwnerDialog::DoDataExchange(dx);
}

BOOL CKnQuickbuyDlg::OnInitDialog() {
    CKNOwnerDialog::OnInitDialog();
    return TRUE;
}

BOOL CKnQuickbuyDlg::CreatePopup(int cx, int cy) {
    if (GetSafeHwnd()) {
        CWnd::DestroyWindow();
    }
    if (m_pBrowser->GetSafeHwnd()) {
        m_pBrowser->DestroyWindow();
    }
    if (!Create(IDD_KN_QUICKBUY, nullptr)) {
        return FALSE;
    }
    if (!LoadPopupBitmaps()) {
        return FALSE;
    }
    UpdateWindowRegion();
    if (!m_pBrowser->Create(nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, kBrowserId)) {
        return FALSE;
    }
    m_pBrowser->SetWindowClosingHandler(
        [this](BOOL isChild, BOOL* cancel) { OnWindowClosing(isChild, cancel); });
    // The size comes from the server: at least the frame itself, at most
    // the screen.
    const int minWidth = PieceWidth(kTopLeft) + PieceWidth(kTopRight) + PieceWidth(kClose) / 4 + 8;
    const int minHeight = PieceHeight(kTopLeft) + PieceHeight(kBottom) + 1;
    const int maxWidth = std::max(minWidth, GetSystemMetrics(SM_CXSCREEN));
    const int maxHeight = std::max(minHeight, GetSystemMetrics(SM_CYSCREEN));
    LayoutPopup(std::clamp(cx, minWidth, maxWidth), std::clamp(cy, minHeight, maxHeight));
    return TRUE;
}

BOOL CKnQuickbuyDlg::LoadPopupBitmaps() {
    FreeFrameBitmaps();
    for (int k = 0; k < kPieceCount; ++k) {
        HBITMAP piece =
            LoadBitmap(AfxGetResourceHandle(), MAKEINTRESOURCE(IDB_KN_FRAME_TOP_LEFT + k));
        if (!piece) {
            return FALSE;
        }
        SetFrameBitmap(k, piece);
    }
    return TRUE;
}

void CKnQuickbuyDlg::UpdateWindowRegion() {
    if (!GetSafeHwnd() || !m_hFrameBmp[kTopLeft] || !m_hFrameBmp[kTopRight] ||
        !m_hFrameBmp[kBottomLeft] || !m_hFrameBmp[kBottomRight]) {
        return;
    }
    CRect window;
    GetWindowRect(&window);
    const int W = window.Width();
    const int H = window.Height();
    HRGN shape = CreateRectRgn(0, 0, W, H);
    // Each corner: where it lies, and its outermost pixel (the key).
    struct Corner {
        int piece;
        int x, y;
        int keyX, keyY;
    };
    const Corner corners[4] = {
        {kTopLeft, 0, 0, 0, 0},
        {kTopRight, W - PieceWidth(kTopRight), 0, -1, 0},
        {kBottomRight, W - PieceWidth(kBottomRight), H - PieceHeight(kBottomRight), -1, -1},
        {kBottomLeft, 0, H - PieceHeight(kBottomLeft), 0, -1},
    };
    for (const Corner& c : corners) {
        HRGN cut = CreateRectRgn(c.x, c.y, c.x + PieceWidth(c.piece), c.y + PieceHeight(c.piece));
        CombineRgn(shape, shape, cut, RGN_DIFF);
        DeleteObject(cut);
    }
    for (const Corner& c : corners) {
        HRGN opaque = BitmapToRegion(m_hFrameBmp[c.piece], c.keyX, c.keyY);
        if (!opaque) {
            continue; // the whole piece is key: nothing of it shows
        }
        // Placed by the piece's own size, so a corner whose opaque part does
        // not reach its inner edge stays where it is drawn.
        OffsetRgn(opaque, c.x, c.y);
        CombineRgn(shape, shape, opaque, RGN_OR);
        DeleteObject(opaque);
    }
    SetWindowRgn(shape, TRUE);
}

void CKnQuickbuyDlg::LayoutPopup(int cx, int cy) {
    if (!GetSafeHwnd() || !m_pBrowser->GetSafeHwnd()) {
        return;
    }
    m_nWidth = cx;
    m_nHeight = cy;
    ::SetWindowPos(GetSafeHwnd(), HWND_NOTOPMOST, 0, 0, cx, cy, SWP_NOMOVE);
    CenterWindow(m_pMainWnd);
    m_rcBrowser = CRect(PieceWidth(kLeft), PieceHeight(kCaption), cx - PieceWidth(kRight),
                        cy - PieceHeight(kBottom));
    m_pBrowser->SetWindowPos(nullptr, 0, 0, m_rcBrowser.Width(), m_rcBrowser.Height(),
                             SWP_NOMOVE | SWP_NOZORDER);
}

void CKnQuickbuyDlg::SetPageTitle(CString strTitle) {
    if (strTitle.IsEmpty()) {
        return;
    }
    m_strCaption = CString(kFixedCaption) + " - " + strTitle;
    DrawCaption();
}

BOOL CKnQuickbuyDlg::Navigate(CString strUrl) {
    if (!GetSafeHwnd() || !m_pBrowser->GetSafeHwnd()) {
        return FALSE;
    }
    if (!m_pBrowser->Navigate(strUrl)) {
        return FALSE; // only web pages are shown
    }
    m_strUrl = strUrl;
    if (!IsWindowVisible()) {
        ShowWindow(SW_SHOW);
    }
    if (!m_pBrowser->IsWindowVisible()) {
        m_pBrowser->ShowWindow(SW_SHOW);
    }
    return TRUE;
}

void CKnQuickbuyDlg::DrawCaption() {
    CKNOwnerDialog::DrawCaption();
    if (!GetSafeHwnd()) {
        return;
    }
    CWindowDC dc(this);
    CFont* oldFont = dc.SelectObject(&m_font);
    const int oldMode = dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(RGB(0, 0, 0));
    CRect line(0, 8, m_nWidth, m_nHeight);
    dc.DrawText(m_strCaption, &line, DT_CENTER);
    dc.SetBkMode(oldMode);
    if (oldFont) {
        dc.SelectObject(oldFont);
    }
}

void CKnQuickbuyDlg::OnSize(UINT type, int cx, int cy) {
    CKNOwnerDialog::OnSize(type, cx, cy);
    UpdateWindowRegion();
}

void CKnQuickbuyDlg::OnNcPaint() {
    DrawCaption();
}

void CKnQuickbuyDlg::OnWindowClosing(BOOL, BOOL*) {
    OnCancel();
}

void CKnQuickbuyDlg::OnCancel() {
    m_pBrowser->Navigate(kBlankPage);
    m_strUrl = kBlankPage;
    CKNOwnerDialog::OnCancel(); // ends the dialog: the modeless window hides
}

namespace {

// The network layer's view of the pop-up.
class QuickbuyPopupLink : public CWebPopupTarget {
public:
    explicit QuickbuyPopupLink(CWnd* parent) : m_dialog(parent) {}
    BOOL CreatePopup(int cx, int cy) override { return m_dialog.CreatePopup(cx, cy); }
    void SetPageTitle(LPCSTR title) override { m_dialog.SetPageTitle(CString(title)); }
    BOOL Navigate(LPCSTR address) override { return m_dialog.Navigate(CString(address)); }

private:
    CKnQuickbuyDlg m_dialog;
};

CWebPopupTarget* MakeQuickbuyPopup(CWnd* parent) {
    return new QuickbuyPopupLink(parent);
}

} // namespace

void InstallQuickbuyPopup() {
    SetWebPopupMaker(&MakeQuickbuyPopup);
}
