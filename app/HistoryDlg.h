#pragma once
// The score history: for every seat, seen from mine, the score change and
// (at tables that play for beans) the bean change of each game since I sat
// down, three games a page, and the totals. Modeless over the table window,
// which calls GoToLast and Redraw each time it shows it.

#include "app/HistoryPages.h"
#include "app/SkinDialog.h"
#include "game/GameRecords.h"
#include "platform/text/CFont.h"

#include <functional>
#include <vector>

class CHistoryDlg : public CSkinDialog {
public:
    // The table's history list, oldest first; it may change while shown.
    using HistoryReader = std::function<const std::vector<tagHISTORYENTRY>&()>;

    static constexpr DWORD kNoBeansRule = 0x80000;

    // The board's list, my seat from the network client.
    explicit CHistoryDlg(CWnd* parent);
    CHistoryDlg(CWnd* parent, HistoryReader reader, int mySeat);

    BOOL Create();
    void GoToLast();
    void Redraw();

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    BOOL m_bShown = FALSE;
    int m_nCount = 0;
    int m_nLast = 0;

private:
    bool NoBeans() const;
    void DrawNames(CDC& dc);
    void DrawPage(CDC& dc, const std::vector<tagHISTORYENTRY>& list);
    void DrawTotals(CDC& dc, const std::vector<tagHISTORYENTRY>& list);

    HistoryReader m_readHistory;
    int m_nMySeat = 0;
    CWnd* m_pParent = nullptr;
    CSkinButton m_btnClose, m_btnUp, m_btnDown, m_btnMidClose;
    CFont m_fontTitle, m_fontText;
};
