#include "app/TableDialogs.h"

#include "app/ChargeCoinDlg.h"
#include "app/ExchangeCoinDlg.h"
#include "app/HistoryDlg.h"
#include "app/MagnifierWnd.h"
#include "app/TakeChanceDlg.h"
#include "assets/resource.h"
#include "sprite/AppServices.h"
#include "sprite/MemDC.h"

#include <algorithm>

namespace {

template <class Dialog> void Destroy(std::unique_ptr<Dialog>& dialog) {
    if (dialog && dialog->GetSafeHwnd())
        dialog->DestroyWindow();
    dialog.reset();
}

} // namespace

CTableDialogs::CTableDialogs() = default;

CTableDialogs::~CTableDialogs() {
    DestroyAll();
}

void CTableDialogs::DestroyAll() {
    Destroy(m_pCharge);
    Destroy(m_pExchange);
    Destroy(m_pTakeChance);
    Destroy(m_pHistory);
    if (m_pMagnifier) {
        m_pMagnifier->Hide();
        Destroy(m_pMagnifier);
    }
}

CWnd* CTableDialogs::CreateMagnifier(CWnd* owner, LPCSTR windowName) {
    if (!m_pMagnifier)
        m_pMagnifier = std::make_unique<CMagnifierWnd>();
    if (!m_pMagnifier->GetSafeHwnd() && !m_pMagnifier->Create(owner, windowName))
        return nullptr;
    return m_pMagnifier.get();
}

void CTableDialogs::ShowMagnifier(BOOL show) {
    if (!m_pMagnifier || !m_pMagnifier->GetSafeHwnd()) {
        WriteLog("The magnifier was not made; it cannot be %s", show ? "shown" : "hidden");
        return;
    }
    if (show)
        m_pMagnifier->Show();
    else
        m_pMagnifier->Hide();
}

BOOL CTableDialogs::HasHistoryDialog() const {
    return m_pHistory && m_pHistory->GetSafeHwnd();
}

BOOL CTableDialogs::CreateHistoryDialog(CWnd* parent) {
    Destroy(m_pHistory);
    m_pHistory = std::make_unique<CHistoryDlg>(parent);
    if (m_pHistory->Create())
        return TRUE;
    WriteLog("The score history could not be made from template %d", IDD_HISTORY);
    m_pHistory.reset();
    return FALSE;
}

BOOL CTableDialogs::IsHistoryShown() const {
    return HasHistoryDialog() && m_pHistory->m_bShown;
}

void CTableDialogs::ShowHistoryDialog(BOOL show) {
    if (!HasHistoryDialog())
        return;
    m_pHistory->m_bShown = show;
    if (show) {
        RefreshHistoryDialog();
        m_pHistory->ShowWindow(SW_SHOW);
    } else {
        m_pHistory->ShowWindow(SW_HIDE);
    }
}

void CTableDialogs::RefreshHistoryDialog() {
    if (!HasHistoryDialog())
        return;
    m_pHistory->GoToLast();
    m_pHistory->Redraw();
    m_pHistory->Invalidate();
}

void CTableDialogs::KeepHistoryAbove(int line, int tableTop) {
    if (!IsHistoryShown())
        return;
    CRect place;
    m_pHistory->GetWindowRect(&place);
    const int top = std::max(std::min<int>(place.top, line - place.Height()), tableTop);
    if (top != place.top)
        m_pHistory->SetWindowPos(nullptr, place.left, top, 0, 0,
                                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CTableDialogs::HasTakeChanceDialog() const {
    return m_pTakeChance && m_pTakeChance->GetSafeHwnd();
}

BOOL CTableDialogs::CreateTakeChanceDialog(CWnd* parent) {
    Destroy(m_pTakeChance);
    m_pTakeChance = std::make_unique<CTakeChanceDlg>(parent);
    if (m_pTakeChance->Create())
        return TRUE;
    WriteLog("The betting dialog could not be made from template %d", IDD_TAKE_CHANCE);
    m_pTakeChance.reset();
    return FALSE;
}

BOOL CTableDialogs::IsTakeChanceShown() const {
    return HasTakeChanceDialog() && m_pTakeChance->m_bShown;
}

void CTableDialogs::ShowTakeChanceDialog(BOOL show) {
    if (!HasTakeChanceDialog())
        return;
    m_pTakeChance->m_bShown = show;
    m_pTakeChance->ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void CTableDialogs::SetTakeChanceBeans(int beans) {
    if (HasTakeChanceDialog())
        m_pTakeChance->SetDlgItemInt(IDC_BET_MAXIMUM, UINT(beans), TRUE);
}

void CTableDialogs::SetTakeChanceStatus(LPCSTR text) {
    if (!HasTakeChanceDialog())
        return;
    m_pTakeChance->m_strStatus = text ? text : "";
    m_pTakeChance->DrawInfo();
    m_pTakeChance->Invalidate();
}

void CTableDialogs::PostTakeChanceResult(int amountWon, int drawnCard) {
    if (HasTakeChanceDialog())
        m_pTakeChance->PostMessage(WM_GUESS_RESULT, WPARAM(amountWon), LPARAM(drawnCard));
}

BOOL CTableDialogs::OpenExchangeDialog(CWnd* parent, DWORD amount) {
    Destroy(m_pExchange);
    m_pExchange = std::make_unique<CExchangeCoinDlg>(parent);
    m_pExchange->m_nRequired = int(amount);
    m_pExchange->m_bCompulsory = amount != 0;
    if (!m_pExchange->Create()) {
        WriteLog("The exchange dialog could not be made from template %d", IDD_EXCHANGE_COIN);
        m_pExchange.reset();
        return FALSE;
    }
    m_pExchange->ShowWindow(SW_SHOW);
    return TRUE;
}

BOOL CTableDialogs::OpenChargeDialog(CWnd* parent, const DWORD values[4]) {
    Destroy(m_pCharge);
    if (!values)
        return FALSE;
    m_pCharge = std::make_unique<CChargeCoinDlg>(parent);
    m_pCharge->m_nChargeAmount = int(values[0]);
    m_pCharge->m_nChargesLeft = int(values[1]);
    if (!m_pCharge->Create()) {
        WriteLog("The charge dialog could not be made from template %d", IDD_CHARGE_COIN);
        m_pCharge.reset();
        return FALSE;
    }
    m_pCharge->ShowWindow(SW_SHOW);
    return TRUE;
}
