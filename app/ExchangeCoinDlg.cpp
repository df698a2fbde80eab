#include "app/ExchangeCoinDlg.h"

#include "assets/resource.h"
#include "game/GameLogic.h"
#include "platform/controls/DataExchange.h"
#include "platform/gdi/Dc.h"
#include "platform/text/Text.h"
#include "sprite/AppServices.h"
#include "sprite/MemDC.h"
#include "table/client/GameNetClient.h"

namespace {

constexpr COLORREF kOrange = RGB(247, 90, 0);

} // namespace

CExchangeCoinDlg::CExchangeCoinDlg(CWnd* parent)
    : CExchangeCoinDlg(parent, DWORD(theClient.m_nServerValue),
                       theBoard.GetUserInfo(theClient.m_nMySeat).nWealth,
                       theBoard.GetUserInfo(theClient.m_nMySeat).nBeans,
                       [](DWORD amount) { return theClient.ExchangeGameCoin(amount); }) {}

CExchangeCoinDlg::CExchangeCoinDlg(CWnd* parent, DWORD rate, int wealth, int beans,
                                   ExchangeSender sender)
    : CCoinDialogBase(IDD_EXCHANGE_COIN, parent,
                      {IDC_EXCHANGE_INTRO_LINK, IDC_EXCHANGE_HELP_LINK, IDC_COIN_HAND_INTRO,
                       IDC_EXCHANGE_HAND_HELP}),
      m_dwUnit(coin_rules::Unit(rate)), m_nWealth(wealth), m_nBeans(beans),
      m_send(std::move(sender)), m_pParent(parent) {
    m_bIgnoreEnter = TRUE; // Escape is the refusal
    if (m_dwUnit == 0)
        WriteLog("Exchange: the server's rate %u gives no unit; every amount is refused",
                 unsigned(rate));
}

BOOL CExchangeCoinDlg::Create() {
    return CDialog::Create(IDD_EXCHANGE_COIN, m_pParent);
}

void CExchangeCoinDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_EXCHANGE_CANCEL, m_btnCancel);
    DDX_Control(dx, IDC_COIN_OK, m_btnOK);
    DDX_Control(dx, IDC_EXCHANGE_CLOSE, m_btnClose);
    DDX_Text(dx, IDC_EXCHANGE_AMOUNT, m_nAmount);
}

BOOL CExchangeCoinDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    LoadFace("ExchageCoinBack", nullptr, RGB(250, 246, 232));
    m_nAmount = m_bCompulsory ? m_nRequired : 10;
    SetDlgItemInt(IDC_EXCHANGE_AMOUNT, UINT(m_nAmount), TRUE);
    ::SendMessage(::GetDlgItem(m_hWnd, IDC_EXCHANGE_AMOUNT), EM_LIMITTEXT, kAmountChars, 0);
    PlaceStandardButtons(m_btnOK, m_btnCancel, m_btnClose);
    coin_links::PlacePair(*this, IDC_EXCHANGE_INTRO_LINK, IDC_COIN_HAND_INTRO, CRect(kIntroWord));
    coin_links::PlacePair(*this, IDC_EXCHANGE_HELP_LINK, IDC_EXCHANGE_HAND_HELP, CRect(kHelpWord));
    UpdateNeededWealth();
    DrawFace();
    Invalidate();
    CenterWindow();
    return TRUE;
}

void CExchangeCoinDlg::DrawFace() {
    DrawBackground();
    CString face;
    face.LoadString(IDS_EXCHANGE_FACE);
    DrawText(face, CRect(27, 43, 200, 63), kOrange, 12, 700);
    DrawLinkWords(CRect(kIntroWord), CRect(kHelpWord));
    CString number;
    number.Format("%d", m_nWealth);
    DrawText(number, CRect(137, 65, 200, 80), RGB(0, 0, 0), 12, 14);
    number.Format("%d", m_nBeans);
    DrawText(number, CRect(317, 65, 400, 80), RGB(0, 0, 0), 12, 14);
}

void CExchangeCoinDlg::UpdateNeededWealth() {
    CWnd* edit = GetDlgItem(IDC_EXCHANGE_AMOUNT);
    const BOOL hasText = edit && edit->GetWindowTextLength() > 0;
    m_btnOK.EnableWindow(hasText);
    if (!hasText)
        return;
    BOOL translated = FALSE;
    m_nAmount = int(GetDlgItemInt(IDC_EXCHANGE_AMOUNT, &translated, TRUE));
    if (!translated)
        m_nAmount = 0;
    SetDlgItemText(IDC_EXCHANGE_NEEDED, coin_rules::NeededWealthText(m_nAmount, m_dwUnit));
    CRect rect = ControlRect(IDC_EXCHANGE_NEEDED);
    InvalidateRect(&rect, TRUE);
}

BOOL CExchangeCoinDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
    case IDC_EXCHANGE_AMOUNT:
        if (HIWORD(wParam) == EN_CHANGE)
            UpdateNeededWealth();
        return TRUE;
    case IDC_COIN_OK:
        OnExchange();
        return TRUE;
    case IDC_EXCHANGE_CANCEL:
    case IDC_EXCHANGE_CLOSE:
        OnRefuse();
        return TRUE;
    default:
        return CDialog::OnCommand(wParam, lParam);
    }
}

void CExchangeCoinDlg::OnExchange() {
    m_btnOK.EnableWindow(FALSE);
    if (!UpdateData(TRUE))
        return;
    coin_rules::ExchangeRequest request;
    request.amount = m_nAmount;
    request.unit = m_dwUnit;
    request.wealth = m_nWealth;
    request.compulsory = m_bCompulsory;
    request.required = m_nRequired;
    const coin_rules::ExchangeDecision decision = coin_rules::Decide(request);
    if (decision.kind != coin_rules::ExchangeDecision::kSend) {
        ShowMessageBox(coin_rules::RefusalText(decision));
        return;
    }
    if (m_bCompulsory) {
        m_bCompulsory = FALSE;
        if (decision.raised)
            ShowMessageBox(coin_rules::RaisedText(decision));
        coin_links::PostTo(MainWnd(), WM_SHELL_RESORT);
    }
    m_nAmount = int(decision.figure);
    CString rounded;
    rounded.LoadString(IDS_EXCHANGE_ROUNDED);
    CString text;
    text.Format(rounded, m_nAmount);
    ShowMessageBox(text);
    m_send(DWORD(m_nAmount));
    CDialog::OnCancel();
}

void CExchangeCoinDlg::OnRefuse() {
    if (!m_bCompulsory) {
        CDialog::OnCancel();
        return;
    }
    ConfirmRefusal("您的游戏豆已不够房间最小游戏豆要求,如果您确定不兑换所需游戏豆,您将退出游戏.");
}

HBRUSH CExchangeCoinDlg::OnCtlColor(CDC* dc, CWnd* control, UINT ctlColor) {
    if (ctlColor == CTLCOLOR_EDIT) {
        if (!m_brEdit.GetSafeHandle())
            m_brEdit.CreateSolidBrush(RGB(255, 255, 255));
        dc->SetTextColor(kOrange);
        dc->SetBkColor(RGB(255, 255, 255));
        return HBRUSH(m_brEdit.GetSafeHandle());
    }
    return CSkinDialog::OnCtlColor(dc, control, ctlColor);
}
