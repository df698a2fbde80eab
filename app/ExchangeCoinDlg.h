#pragma once
// The bean exchange dialog: wealth for game beans, at the server's unit.
// Opened by the player (voluntary, 10 beans offered) or by the server's
// request (compulsory: the amount needed is offered, and refusing it leaves
// the game). Modeless over the table window; closing hides it.

#include "app/CoinDialogLinks.h"
#include "app/CoinRules.h"

class CExchangeCoinDlg : public CCoinDialogBase {
public:
    // Sends an exchange of that many beans.
    using ExchangeSender = std::function<int(DWORD amount)>;

    // My seat's wealth and beans from the board, the rate from the network
    // client, and the exchange sent through it.
    explicit CExchangeCoinDlg(CWnd* parent);
    CExchangeCoinDlg(CWnd* parent, DWORD rate, int wealth, int beans, ExchangeSender sender);

    BOOL Create();

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnOK() override {}
    // Escape is the refusal of the Cancel button.
    void OnCancel() override { OnRefuse(); }
    HBRUSH OnCtlColor(CDC* dc, CWnd* control, UINT ctlColor) override;

    int m_nAmount = 0;
    int m_nRequired = 0;
    BOOL m_bCompulsory = FALSE;

    static constexpr int kAmountChars = 7;
    static constexpr RECT kIntroWord{55, 137, 120, 150};
    static constexpr RECT kHelpWord{219, 137, 250, 150};

private:
    void OnExchange();
    void OnRefuse();
    void UpdateNeededWealth();
    void DrawFace();

    DWORD m_dwUnit = 0;
    int m_nWealth = 0;
    int m_nBeans = 0;
    ExchangeSender m_send;
    CWnd* m_pParent = nullptr;
    CSkinButton m_btnCancel, m_btnOK, m_btnClose;
    CBrush m_brEdit;
};
