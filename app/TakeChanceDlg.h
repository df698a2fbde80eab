#pragma once
// The betting dialog: a seated player bets beans on the kind of card the
// server draws. Five options, an amount, a confirm button and a card box
// that shuffles faces while a bet is pending and shows the drawn card when
// the table window passes on the result (WM_GUESS_RESULT). Modeless over
// the table window, which shows and hides it; OK and Cancel only hide it,
// Enter and Escape do nothing.

#include "app/BetRules.h"
#include "app/SkinDialog.h"
#include "platform/text/CFont.h"
#include "table/cards/CardPainter.h"

#include <functional>

class CTakeChanceDlg : public CSkinDialog {
public:
    // The table's figures and my seat's standing; read again on every use.
    using TableReader = std::function<BetTable()>;
    // Sends a bet (seat, option 0..4, amount): 0 when sent, else the
    // sender's refusal code 1..6.
    using BetSender = std::function<int(int seat, int option, int amount)>;

    static constexpr UINT kShuffleTimer = 200;
    static constexpr UINT kShuffleMs = 100;
    static constexpr int kAmountChars = 7;

    // Reads the table from the board and sends through the network client.
    explicit CTakeChanceDlg(CWnd* parent);
    CTakeChanceDlg(CWnd* parent, TableReader reader, BetSender sender, int seat, BOOL watcher);

    BOOL Create();
    void DrawInfo();

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnOK() override {}
    void OnCancel() override {}
    void OnTimer(UINT_PTR id) override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    HBRUSH OnCtlColor(CDC* dc, CWnd* control, UINT ctlColor) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    BOOL m_bShown = FALSE;
    int m_nAmount = 0;
    int m_nMaxBet = 0;
    int m_nOption = -1;
    int m_nShownCard = 0;
    CString m_strStatus;

    // Where things are drawn, in client coordinates.
    static CRect StatusRect(int clientWidth) { return CRect(340, 45, clientWidth - 28, 88); }
    static constexpr RECT kCardBox{472, 99, 543, 195};
    static constexpr RECT kShopRect{286, 162, 320, 178};

private:
    void OnOption(int id);
    void OnConfirm();
    LRESULT OnGuessResult(WPARAM won, LPARAM card);
    void ShowRefusal(int code);
    void LayoutButtons();
    void DrawCard(CDC& dc);
    void InvalidateStatus();
    void EnableOptions(int except);

    TableReader m_readTable;
    BetSender m_send;
    int m_nSeat = 0;
    BOOL m_bWatcher = FALSE;
    CWnd* m_pParent = nullptr;
    CSkinButton m_btnOK, m_btnCancel, m_btnConfirm;
    CSkinButton m_btnOption[5];
    CCardPainter m_painter;
    CFont m_fontSmall, m_fontLarge;
};
