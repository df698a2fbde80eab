#pragma once
// The dialogs and pop-ups the table window opens, kept for it: the
// magnifier, the score history, the betting dialog and the two coin
// dialogs. It answers the dialog half of what the table asks of the
// application; the application's own link derives from it and adds the
// settings, the main window and the chat.

#include "table/common/TableAppLink.h"

#include <memory>

class CChargeCoinDlg;
class CExchangeCoinDlg;
class CHistoryDlg;
class CMagnifierWnd;
class CTakeChanceDlg;

class CTableDialogs : public CTableAppLink {
public:
    CTableDialogs();
    ~CTableDialogs() override;

    CWnd* CreateMagnifier(CWnd* owner, LPCSTR windowName) override;
    void ShowMagnifier(BOOL show) override;

    BOOL HasHistoryDialog() const override;
    BOOL CreateHistoryDialog(CWnd* parent) override;
    BOOL IsHistoryShown() const override;
    void ShowHistoryDialog(BOOL show) override;
    void RefreshHistoryDialog() override;
    void KeepHistoryAbove(int line, int tableTop) override;

    BOOL HasTakeChanceDialog() const override;
    BOOL CreateTakeChanceDialog(CWnd* parent) override;
    BOOL IsTakeChanceShown() const override;
    void ShowTakeChanceDialog(BOOL show) override;
    void SetTakeChanceBeans(int beans) override;
    void SetTakeChanceStatus(LPCSTR text) override;
    // The second figure is the drawn card the record carries, which the
    // dialog shows.
    void PostTakeChanceResult(int amountWon, int drawnCard) override;

    // amount 0: the player's own exchange (10 beans offered); else the
    // server's request for that many beans, which must be met or the game
    // left.
    BOOL OpenExchangeDialog(CWnd* parent, DWORD amount) override;
    // values: the beans offered, the charges left today, then two figures
    // the dialog does not show.
    BOOL OpenChargeDialog(CWnd* parent, const DWORD values[4]) override;

    // Closes and frees them all (the table window is going).
    void DestroyAll();

    CMagnifierWnd* GetMagnifier() const { return m_pMagnifier.get(); }
    CHistoryDlg* GetHistory() const { return m_pHistory.get(); }
    CTakeChanceDlg* GetTakeChance() const { return m_pTakeChance.get(); }
    CExchangeCoinDlg* GetExchange() const { return m_pExchange.get(); }
    CChargeCoinDlg* GetCharge() const { return m_pCharge.get(); }

private:
    std::unique_ptr<CMagnifierWnd> m_pMagnifier;
    std::unique_ptr<CHistoryDlg> m_pHistory;
    std::unique_ptr<CTakeChanceDlg> m_pTakeChance;
    std::unique_ptr<CExchangeCoinDlg> m_pExchange;
    std::unique_ptr<CChargeCoinDlg> m_pCharge;
};
