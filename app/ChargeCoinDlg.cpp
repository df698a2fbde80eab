#include "app/ChargeCoinDlg.h"

#include "assets/resource.h"
#include "platform/controls/DataExchange.h"
#include "platform/gdi/Dc.h"
#include "platform/text/CFont.h"
#include "sprite/AppServices.h"
#include "sprite/MemDC.h"
#include "table/client/GameNetClient.h"

namespace {

constexpr COLORREF kOrange = RGB(247, 90, 0);
constexpr COLORREF kBlack = RGB(0, 0, 0);

} // namespace

CChargeCoinDlg::CChargeCoinDlg(CWnd* parent)
    : CChargeCoinDlg(parent, [](DWORD amount) { return theClient.ChargeGameCoin(amount); }) {}

CChargeCoinDlg::CChargeCoinDlg(CWnd* parent, ChargeSender sender)
    : CCoinDialogBase(
          IDD_CHARGE_COIN, parent,
          {IDC_CHARGE_INTRO_LINK, IDC_CHARGE_HELP_LINK, IDC_COIN_HAND_INTRO, IDC_CHARGE_HAND_HELP}),
      m_send(std::move(sender)), m_pParent(parent) {
    m_bIgnoreEnter = m_bIgnoreEscape = TRUE;
}

BOOL CChargeCoinDlg::Create() {
    return CDialog::Create(IDD_CHARGE_COIN, m_pParent);
}

void CChargeCoinDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_COIN_OK, m_btnOK);
    DDX_Control(dx, IDC_CHARGE_CANCEL, m_btnCancel);
    DDX_Control(dx, IDC_CLOSE, m_btnClose);
}

BOOL CChargeCoinDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    LoadFace("ExchageCoinBack", nullptr, RGB(250, 246, 232));
    PlaceStandardButtons(m_btnOK, m_btnCancel, m_btnClose);
    coin_links::PlacePair(*this, IDC_CHARGE_INTRO_LINK, IDC_COIN_HAND_INTRO, CRect(kIntroWord));
    coin_links::PlacePair(*this, IDC_CHARGE_HELP_LINK, IDC_CHARGE_HAND_HELP, CRect(kHelpWord));
    DrawFace();
    Invalidate();
    CenterWindow();
    return TRUE;
}

int CChargeCoinDlg::NumberWidth(int value) {
    if (!m_pMemDC)
        return 0;
    CFont font;
    font.CreateFont(12, 0, 0, 0, 14, 0, 0, 0, 134, 3, 2, 1, 2, "宋体");
    CDC& dc = *GetFaceDC();
    CFont* old = dc.SelectObject(&font);
    CString text;
    text.Format("%d", value);
    const int width = dc.GetTextExtent(text, text.GetLength()).cx;
    dc.SelectObject(old);
    return width;
}

void CChargeCoinDlg::DrawFace() {
    DrawBackground();
    CString face;
    face.LoadString(IDS_CHARGE_FACE);
    DrawText(face, CRect(70, 56, 350, 100), kOrange, 14, 700, DT_WORDBREAK);
    DrawLinkWords(CRect(kIntroWord), CRect(kHelpWord));
    DrawText("免费获得", CRect(131, 77, 179, 100), kBlack, 12, 14);
    DrawText("您今天还剩", CRect(108, 93, 169, 120), kBlack, 12, 14);
    const int amountWidth = NumberWidth(m_nChargeAmount);
    const int leftWidth = NumberWidth(m_nChargesLeft);
    CString number;
    number.Format("%d", m_nChargeAmount);
    DrawText(number, CRect(181, 77, 181 + amountWidth, 100), kOrange, 12, 14);
    number.Format("%d", m_nChargesLeft);
    DrawText(number, CRect(171, 93, 171 + leftWidth, 120), kOrange, 12, 14);
    // Right after the measured figure: a fixed step back would cover its
    // last digit with our font.
    const int x1 = 181 + amountWidth + 1;
    const int x2 = 170 + leftWidth;
    DrawText("游戏豆！", CRect(x1, 77, x1 + 80, 100), kBlack, 12, 14);
    // Each line runs from its own start.
    DrawText("次免费充值机会！", CRect(x2, 93, x2 + 100, 120), kBlack, 12, 14);
}

BOOL CChargeCoinDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
    case IDC_COIN_OK:
        OnCharge();
        return TRUE;
    case IDC_CHARGE_CANCEL:
    case IDC_CLOSE:
        ConfirmRefusal("您的游戏豆不够房间最小游戏豆要求,如果您确定不免费获得游戏豆,您将退出游戏!");
        return TRUE;
    default:
        return CDialog::OnCommand(wParam, lParam);
    }
}

void CChargeCoinDlg::OnCharge() {
    coin_links::PostTo(MainWnd(), WM_SHELL_RESORT);
    m_send(DWORD(m_nChargeAmount));
    CDialog::OnCancel();
}
