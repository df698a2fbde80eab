#include "app/HistoryDlg.h"

#include "assets/resource.h"
#include "game/GameLogic.h"
#include "platform/controls/DataExchange.h"
#include "platform/gdi/Dc.h"
#include "platform/resources/Resource.h"
#include "platform/text/Text.h"
#include "platform/window/Cursor.h"
#include "sprite/AppServices.h"
#include "sprite/MemDC.h"
#include "table/client/GameNetClient.h"
#include "table/common/GameWndInfoText.h"

#include <algorithm>

namespace {

constexpr COLORREF kOwnRow = RGB(224, 253, 2);
constexpr COLORREF kOtherRow = RGB(148, 254, 255);
constexpr UINT kValueFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;

void DrawValue(CDC& dc, const CString& text, CRect rect) {
    CString copy = text;
    dc.DrawText(copy, &rect, kValueFormat);
}

} // namespace

CHistoryDlg::CHistoryDlg(CWnd* parent)
    : CHistoryDlg(
          parent, []() -> const std::vector<tagHISTORYENTRY>& { return theBoard.GetHistory(); },
          theClient.m_nMySeat) {}

CHistoryDlg::CHistoryDlg(CWnd* parent, HistoryReader reader, int mySeat)
    : CSkinDialog(IDD_HISTORY, parent), m_readHistory(std::move(reader)), m_nMySeat(mySeat),
      m_pParent(parent) {}

BOOL CHistoryDlg::Create() {
    return CDialog::Create(IDD_HISTORY, m_pParent);
}

bool CHistoryDlg::NoBeans() const {
    return (theBoard.GetRuleFlags() & kNoBeansRule) != 0;
}

void CHistoryDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_HISTORY_CLOSE, m_btnClose);
    DDX_Control(dx, IDC_HISTORY_UP, m_btnUp);
    DDX_Control(dx, IDC_HISTORY_DOWN, m_btnDown);
    DDX_Control(dx, IDC_HISTORY_MID_CLOSE, m_btnMidClose);
}

BOOL CHistoryDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    LoadTableCursor();
    // The shape is always the score table's, whatever the face.
    LoadFace(NoBeans() ? "History_NoCoin" : "History_Score", "History_Score", RGB(40, 60, 70));
    PlaceButton(m_btnClose, 475, 29, 22, 22, "HistoryDlg_Close");
    PlaceButton(m_btnUp, 226, 315, 26, 28, "History_Up");
    PlaceButton(m_btnDown, 273, 315, 26, 28, "History_Down");
    PlaceButton(m_btnMidClose, 411, 310, 59, 29, "History_MidClose");
    m_fontTitle.CreateFont(14, 0, 0, 0, 700, 0, 0, 0, 134, 3, 2, 1, 2, "宋体");
    m_fontText.CreateFont(12, 0, 0, 0, 400, 0, 0, 0, 134, 3, 2, 1, 2, "宋体");
    GoToLast();
    Redraw();
    Invalidate();
    CenterWindow(m_pParent && m_pParent->GetSafeHwnd() ? m_pParent : nullptr);
    return TRUE;
}

void CHistoryDlg::GoToLast() {
    m_nCount = m_nLast = int(m_readHistory().size());
}

void CHistoryDlg::Redraw() {
    const std::vector<tagHISTORYENTRY>& list = m_readHistory();
    // The list may have been cleared or refilled since the last opening.
    const int size = int(list.size());
    m_nCount = std::clamp(m_nCount, 0, size);
    m_nLast = std::clamp(m_nLast, 0, m_nCount);
    if (!m_pMemDC)
        return;
    DrawBackground();
    CDC& dc = *m_pMemDC;
    const int oldMode = dc.SetBkMode(TRANSPARENT);
    CFont* oldFont = dc.SelectObject(&m_fontTitle);
    DrawNames(dc);
    DrawPage(dc, list);
    DrawTotals(dc, list);
    dc.SelectObject(&m_fontText);
    dc.SetTextColor(kOtherRow);
    DrawValue(dc, "Ctrl+W", CRect(70, 320, 130, 350));
    dc.SelectObject(oldFont);
    dc.SetBkMode(oldMode);
}

void CHistoryDlg::DrawNames(CDC& dc) {
    dc.SelectObject(&m_fontTitle);
    for (int row = 0; row < 6; ++row) {
        const tagUSERINFO& user = theBoard.GetUserInfo((m_nMySeat + row) % 6);
        dc.SetTextColor(row == 0 ? kOwnRow : kOtherRow);
        CString name = DisplayNameOf(user);
        CRect rect(43, 125 + 32 * row, 130, 145 + 32 * row);
        dc.DrawText(name, &rect, DT_SINGLELINE | DT_END_ELLIPSIS);
    }
}

void CHistoryDlg::DrawPage(CDC& dc, const std::vector<tagHISTORYENTRY>& list) {
    const history_pages::Page page = history_pages::PageEndingAt(m_nLast);
    const bool noBeans = NoBeans();
    for (int n = page.first, k = 0; page.last > 0 && n <= page.last; ++n, ++k) {
        dc.SelectObject(&m_fontTitle);
        dc.SetTextColor(kOwnRow);
        CString header;
        header.Format("第%d局", n);
        const int shift = noBeans ? 6 : 0;
        DrawValue(dc, header, CRect(141 + 90 * k + shift, 62, 215 + 90 * k + shift, 85));
        dc.SelectObject(&m_fontText);
        const tagHISTORYENTRY& entry = list[size_t(n - 1)];
        for (int row = 0; row < 6; ++row) {
            const int seat = (m_nMySeat + row) % 6;
            const int y = 119 + 32 * row;
            dc.SetTextColor(row == 0 ? kOwnRow : kOtherRow);
            const CString score = history_pages::FormatValue(entry.nScoreChange[seat]);
            if (noBeans) {
                DrawValue(dc, score, CRect(164 + 89 * k, y, 199 + 89 * k, y + 26));
                continue;
            }
            DrawValue(dc, score, CRect(187 + 89 * k, y, 224 + 89 * k, y + 26));
            DrawValue(dc, history_pages::FormatValue(entry.nBeanChange[seat]),
                      CRect(130 + 87 * k, y, 192 + 87 * k, y + 26));
        }
    }
}

void CHistoryDlg::DrawTotals(CDC& dc, const std::vector<tagHISTORYENTRY>& list) {
    dc.SelectObject(&m_fontText);
    const bool noBeans = NoBeans();
    for (int row = 0; row < 6; ++row) {
        const int seat = (m_nMySeat + row) % 6;
        int64_t scores = 0, beans = 0;
        for (int i = 0; i < m_nCount; ++i) {
            scores += list[size_t(i)].nScoreChange[seat];
            beans += list[size_t(i)].nBeanChange[seat];
        }
        const int y = 119 + 32 * row;
        dc.SetTextColor(row == 0 ? kOwnRow : kOtherRow);
        if (noBeans) {
            DrawValue(dc, history_pages::FormatValue(scores), CRect(410, y, 480, y + 26));
            continue;
        }
        DrawValue(dc, history_pages::FormatValue(scores), CRect(451, y, 493, y + 26));
        DrawValue(dc, history_pages::FormatValue(beans, true), CRect(402, y, 452, y + 26));
    }
}

BOOL CHistoryDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
    case IDC_HISTORY_CLOSE:
    case IDC_HISTORY_MID_CLOSE:
        m_bShown = FALSE;
        ShowWindow(SW_HIDE);
        return TRUE;
    case IDC_HISTORY_UP:
        m_nLast = history_pages::Earlier(m_nLast, m_nCount);
        Redraw();
        Invalidate();
        return TRUE;
    case IDC_HISTORY_DOWN:
        if (m_nLast >= m_nCount)
            return TRUE;
        m_nLast = history_pages::Later(m_nLast, m_nCount);
        Redraw();
        Invalidate();
        return TRUE;
    default:
        return CDialog::OnCommand(wParam, lParam);
    }
}
