#include "app/TakeChanceDlg.h"

#include "app/GameSettings.h"
#include "assets/resource.h"
#include "game/GameLogic.h"
#include "game/Random.h"
#include "platform/controls/DataExchange.h"
#include "platform/resources/Resource.h"
#include "platform/text/Text.h"
#include "platform/window/Cursor.h"
#include "platform/window/Input.h"
#include "sprite/AppServices.h"
#include "sprite/MemDC.h"
#include "table/client/GameNetClient.h"

namespace {

constexpr COLORREF kNumberColour = RGB(86, 33, 3);
constexpr COLORREF kStatusColour = RGB(155, 253, 1);
constexpr COLORREF kEditColour = RGB(247, 90, 0);
// The per-option numbers' boxes, left to right.
constexpr RECT kOddsBoxes[5] = {{88, 127, 108, 138},
                                {167, 127, 187, 138},
                                {246, 127, 266, 138},
                                {325, 127, 345, 138},
                                {426, 127, 446, 138}};

} // namespace

CTakeChanceDlg::CTakeChanceDlg(CWnd* parent)
    : CTakeChanceDlg(
          parent, [] { return bet_rules::BetTableOf(theBoard, theClient.m_nMySeat); },
          [](int seat, int option, int amount) {
              return theClient.SendTakeChance(seat, option, amount);
          },
          theClient.m_nMySeat, theClient.m_bWatcher) {}

CTakeChanceDlg::CTakeChanceDlg(CWnd* parent, TableReader reader, BetSender sender, int seat,
                               BOOL watcher)
    : CSkinDialog(IDD_TAKE_CHANCE, parent), m_readTable(std::move(reader)),
      m_send(std::move(sender)), m_nSeat(seat), m_bWatcher(watcher), m_pParent(parent) {
    // OK and Cancel hide the dialog; their keys do not.
    m_bIgnoreEnter = m_bIgnoreEscape = TRUE;
    const BetTable table = m_readTable();
    m_nAmount = table.minBet;
    m_nMaxBet = bet_rules::MaxBet(table);
    m_painter.Initialization(1);
    if (!m_painter.AddCustomSheet(kCardSize54x72, IDB_CARD_SHEET, 7))
        WriteLog("Betting: no custom card sheet %d", IDB_CARD_SHEET);
}

BOOL CTakeChanceDlg::Create() {
    return CDialog::Create(IDD_TAKE_CHANCE, m_pParent);
}

void CTakeChanceDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDOK, m_btnOK);
    DDX_Control(dx, IDCANCEL, m_btnCancel);
    DDX_Control(dx, IDC_BET_CONFIRM, m_btnConfirm);
    for (int i = 0; i < 5; ++i)
        DDX_Control(dx, IDC_BET_OPTION_BIG_JOKER + i, m_btnOption[i]);
    DDX_Text(dx, IDC_BET_AMOUNT, m_nAmount);
}

BOOL CTakeChanceDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    LoadTableCursor();
    m_fontSmall.CreateFont(12, 0, 0, 0, 400, 0, 0, 0, 134, 3, 2, 1, 2, "宋体");
    m_fontLarge.CreateFont(14, 0, 0, 0, 600, 0, 0, 0, 134, 3, 2, 1, 2, "宋体");
    SetDlgItemInt(IDC_BET_AMOUNT, UINT(m_nAmount), TRUE);
    ::SendMessage(::GetDlgItem(m_hWnd, IDC_BET_AMOUNT), EM_LIMITTEXT, kAmountChars, 0);
    if (!LoadFace("TakeChanceBack", nullptr, RGB(204, 204, 204)))
        return TRUE; // undrawn and unsized, as the theme left it
    m_strStatus = bet_rules::GuessesLeftText(m_readTable());
    DrawInfo();
    LayoutButtons();
    CenterWindow(m_pParent && m_pParent->GetSafeHwnd() ? m_pParent : nullptr);
    SetDlgItemInt(IDC_BET_MAXIMUM, UINT(m_nMaxBet), TRUE);
    return TRUE;
}

void CTakeChanceDlg::LayoutButtons() {
    CRect client;
    GetClientRect(&client);
    const int w = client.Width(), h = client.Height();
    PlaceButton(m_btnOK, w / 2 - 105, h - 57, 75, 31, "TCOK");
    PlaceButton(m_btnCancel, w - 29, 13, 16, 18, "TCCancel");
    PlaceButton(m_btnConfirm, w / 2 + 30, h - 57, 75, 31, "CONFIRM");
    m_btnConfirm.EnableWindow(FALSE);
    static const struct {
        int x, cx;
        const char* image;
    } options[5] = {{40, 49, "BtnBJ"},
                    {119, 49, "BtnSJ"},
                    {198, 49, "Btn2"},
                    {277, 49, "BtnFLW"},
                    {357, 70, "BtnNUM"}};
    for (int i = 0; i < 5; ++i)
        PlaceButton(m_btnOption[i], options[i].x, 125, options[i].cx, 30, options[i].image);
}

void CTakeChanceDlg::DrawInfo() {
    if (!m_pBackImage || !m_pMemDC)
        return;
    DrawBackground();
    CDC& dc = *m_pMemDC;
    CRect client;
    GetClientRect(&client);
    CFont* oldFont = dc.SelectObject(&m_fontSmall);
    const int oldMode = dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(kNumberColour);
    const tagTABLEHEAD& head = theBoard.GetTableHead();
    for (int i = 0; i < 5; ++i) {
        CString number;
        number.Format("%d", head.nGuessOdds[i]);
        CRect box(kOddsBoxes[i]);
        dc.DrawText(number, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    dc.SelectObject(&m_fontLarge);
    dc.SetTextColor(kStatusColour);
    CString status = "  " + m_strStatus;
    CRect statusRect = StatusRect(client.Width());
    dc.DrawText(status, &statusRect, DT_WORDBREAK);
    dc.SetBkMode(oldMode);
    dc.SelectObject(oldFont);
    DrawCard(dc);
}

void CTakeChanceDlg::DrawCard(CDC& dc) {
    CRect box(kCardBox);
    if (!dc.RectVisible(&box))
        return;
    m_painter.ShowCard(&dc, WORD(bet_rules::PainterCode(m_nShownCard)), WORD(box.left),
                       WORD(box.top), 0, 0, kCardSize54x72, 0, 0);
    SetDlgItemInt(IDC_BET_MAXIMUM, UINT(m_nMaxBet), TRUE);
}

void CTakeChanceDlg::InvalidateStatus() {
    CRect client;
    GetClientRect(&client);
    CRect status = StatusRect(client.Width());
    InvalidateRect(&status, FALSE);
}

void CTakeChanceDlg::EnableOptions(int except) {
    for (int i = 0; i < 5; ++i)
        m_btnOption[i].EnableWindow(i != except);
}

BOOL CTakeChanceDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    const int id = LOWORD(wParam);
    if (id == IDC_BET_AMOUNT) {
        if (HIWORD(wParam) == EN_CHANGE) {
            CRect edit = ControlRect(IDC_BET_AMOUNT);
            InvalidateRect(&edit, FALSE);
        }
        return TRUE;
    }
    if (id >= IDC_BET_OPTION_BIG_JOKER && id <= IDC_BET_OPTION_NUMBER) {
        OnOption(id);
        return TRUE;
    }
    if (id == IDC_BET_CONFIRM) {
        OnConfirm();
        return TRUE;
    }
    if (id == IDOK || id == IDCANCEL) {
        m_bShown = FALSE;
        ShowWindow(SW_HIDE);
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

void CTakeChanceDlg::OnOption(int id) {
    KillTimer(kShuffleTimer);
    if (m_bWatcher)
        return;
    if (!UpdateData(TRUE))
        return;
    const BetTable table = m_readTable();
    const bet_rules::Refusal refusal = bet_rules::Check(table, m_nAmount);
    if (refusal != bet_rules::kNone) {
        ShowRefusal(refusal);
        return;
    }
    SetTimer(kShuffleTimer, kShuffleMs, nullptr);
    m_nOption = id - IDC_BET_OPTION_BIG_JOKER;
    EnableOptions(m_nOption);
    m_btnConfirm.EnableWindow(TRUE);
}

void CTakeChanceDlg::OnConfirm() {
    if (!UpdateData(TRUE))
        return;
    // The amount may have changed since the option was chosen; a bet below
    // one bean is never sent.
    const int code =
        m_nAmount < 1 ? int(bet_rules::kBelowMinimum) : m_send(m_nSeat, m_nOption, m_nAmount);
    if (code == 0)
        m_btnConfirm.EnableWindow(FALSE);
    else
        ShowRefusal(code);
    DrawInfo();
    InvalidateStatus();
}

void CTakeChanceDlg::ShowRefusal(int code) {
    const CString text = bet_rules::RefusalText(m_readTable(), code);
    if (!text.IsEmpty())
        m_strStatus = text;
    DrawInfo();
    InvalidateStatus();
}

void CTakeChanceDlg::OnTimer(UINT_PTR id) {
    if (id != kShuffleTimer) {
        CDialog::OnTimer(id);
        return;
    }
    CRandom random;
    m_nShownCard = random.Random(54);
    if (m_pMemDC)
        DrawCard(*m_pMemDC);
    CRect box(kCardBox);
    InvalidateRect(&box, FALSE);
}

LRESULT CTakeChanceDlg::OnGuessResult(WPARAM won, LPARAM card) {
    KillTimer(kShuffleTimer);
    m_nShownCard = int(card);
    const BetTable table = m_readTable();
    m_strStatus = bet_rules::ResultText(table, int(won));
    DrawInfo();
    const int maxBet = bet_rules::MaxBet(table);
    if (maxBet != m_nMaxBet) {
        m_nMaxBet = maxBet;
        SetDlgItemInt(IDC_BET_MAXIMUM, UINT(m_nMaxBet), TRUE);
        CRect rect = ControlRect(IDC_BET_MAXIMUM);
        InvalidateRect(&rect, FALSE);
    }
    InvalidateStatus();
    CRect box(kCardBox);
    InvalidateRect(&box, FALSE);
    EnableOptions(-1);
    return 0;
}

LRESULT CTakeChanceDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GUESS_RESULT)
        return OnGuessResult(wParam, lParam);
    return CSkinDialog::WindowProc(message, wParam, lParam);
}

void CTakeChanceDlg::OnLButtonDown(UINT flags, CPoint point) {
    BeginDrag(point);
    if (CRect(kShopRect).PtInRect(point)) {
        OpenWebLink(kLinkBeanShop);
    } else {
        CRect edit = ControlRect(IDC_BET_AMOUNT);
        InvalidateRect(&edit, FALSE);
    }
    CDialog::OnLButtonDown(flags, point);
}

void CTakeChanceDlg::OnMouseMove(UINT flags, CPoint point) {
    if (CRect(kShopRect).PtInRect(point))
        SetCursor(LoadCursor(nullptr, IDC_HAND));
    CDialog::OnMouseMove(flags, point);
}

HBRUSH CTakeChanceDlg::OnCtlColor(CDC* dc, CWnd* control, UINT ctlColor) {
    if (ctlColor == CTLCOLOR_EDIT || ctlColor == CTLCOLOR_STATIC || ctlColor == CTLCOLOR_BTN) {
        dc->SelectObject(&m_fontLarge);
        dc->SetTextColor(kEditColour);
        if (ctlColor != CTLCOLOR_EDIT)
            dc->SetBkMode(TRANSPARENT);
        return HBRUSH(GetStockObject(NULL_BRUSH));
    }
    return CDialog::OnCtlColor(dc, control, ctlColor);
}
