#pragma once
// The free charge dialog: the server offers today's free beans when mine
// are below the room's minimum. Taking them sends the charge; refusing
// leaves the game. Modeless over the table window; closing hides it.

#include "app/CoinDialogLinks.h"
#include "app/CoinRules.h"

class CChargeCoinDlg : public CCoinDialogBase {
public:
    using ChargeSender = std::function<int(DWORD amount)>;

    // Sends the charge through the network client.
    explicit CChargeCoinDlg(CWnd* parent);
    CChargeCoinDlg(CWnd* parent, ChargeSender sender);

    BOOL Create();

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnOK() override {}
    void OnCancel() override {}

    int m_nChargeAmount = 0;
    int m_nChargesLeft = 0;

    static constexpr RECT kIntroWord{55, 137, 100, 155};
    static constexpr RECT kHelpWord{222, 137, 250, 155};

private:
    void OnCharge();
    void DrawFace();
    // The width of a number in the face's figure font.
    int NumberWidth(int value);

    ChargeSender m_send;
    CWnd* m_pParent = nullptr;
    CSkinButton m_btnOK, m_btnCancel, m_btnClose;
};
