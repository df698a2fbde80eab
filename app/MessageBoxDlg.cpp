#include "app/MessageBoxDlg.h"

#include "app/AppServices.h"
#include "app/GameSettings.h"
#include "app/MessageText.h"
#include "assets/resource.h"
#include "platform/controls/DataExchange.h"
#include "platform/controls/MessageBox.h"
#include "platform/text/Text.h"
#include "platform/window/Cursor.h"
#include "platform/window/NonClient.h"
#include "platform/window/WindowDcs.h"
#include "sprite/MemDC.h"
#include "sprite/Picture.h"
#include "sprite/Theme.h"

#include <algorithm>

namespace {

constexpr int kLongText = 150; // bytes; longer texts get the big box
constexpr COLORREF kLinkColour = RGB(0, 0, 255);
constexpr int kLinkHeight = 12;
// Without its background picture the box keeps this face.
constexpr COLORREF kPlainFace = RGB(250, 246, 232);

int ShowSkinnedMessageBox(const CString& text) {
    CMessageBoxDlg box;
    box.SetText(text);
    const int answer = box.DoModal();
    if (answer != -1)
        return answer;
    // Without its template (no resource library) the system's box asks in
    // its place: the player is told all the same.
    WriteLog("Message box: dialog %d could not be made; the system's box asks", IDD_MESSAGEBOX);
    CWnd* main = AfxGetMainWnd();
    return MessageBox(main != nullptr ? main->GetSafeHwnd() : nullptr, text, "提示",
                      MB_OKCANCEL | MB_ICONWARNING);
}

} // namespace

void InstallMessageBox() {
    SetMessageBoxPresenter(&ShowSkinnedMessageBox);
}

CMessageBoxDlg::CMessageBoxDlg() : CDialog(IDD_MESSAGEBOX) {}

CMessageBoxDlg::~CMessageBoxDlg() = default;

void CMessageBoxDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDOK, m_btnOK);
    DDX_Control(dx, IDCANCEL, m_btnCancel);
    DDX_Control(dx, IDC_CLOSE, m_btnClose);
}

BOOL CMessageBoxDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    // Borderless: the background picture is the whole face.
    ModifyStyle(WS_CAPTION | WS_THICKFRAME | DS_MODALFRAME | WS_BORDER | WS_DLGFRAME, 0,
                SWP_FRAMECHANGED);
    if (!m_fontSmall.GetSafeHandle()) {
        m_fontSmall.CreateFont(12, 0, 0, 0, 400, 0, 0, 0, 134, 3, 2, 1, 2, "宋体");
        LOGFONT logFont{};
        m_fontSmall.GetLogFont(&logFont);
        m_fontText.CreateFontIndirect(&logFont);
    }
    m_strText = message_text::FoldBlankLines(m_strText);
    m_bLink = message_text::IsLinkText(m_strText);
    m_bBig = m_strText.GetLength() > kLongText;
    const char* backName = m_bLink || m_bBig ? "MessageBackBig" : "MessageBack";
    m_rcTextArea = m_bLink || m_bBig ? CRect(0, 0, 390, 155) : CRect(0, 0, 265, 65);
    m_rcLink = CRect(90, 100, 330, 120);
    m_pBackImage = kn::theTheme.GetImage(backName, FALSE);
    if (!m_pBackImage)
        WriteLog("Message box: no picture \"%s\"; a plain face is drawn", backName);
    HRGN region = m_pBackImage ? kn::theTheme.GetRegion(backName, kKeyColor) : nullptr;
    if (m_bLink)
        m_strText = message_text::InsertHelpAddress(m_strText);

    Measure();
    m_pWarnImage = kn::theTheme.GetImage("MessageWarning", FALSE);
    if (m_pBackImage)
        MoveWindow(0, 0, m_pBackImage->GetWidth(), m_pBackImage->GetHeight(), FALSE);
    if (region)
        SetWindowRgn(region, TRUE);

    CRect client;
    GetClientRect(&client);
    CClientDC windowDC(this);
    m_pMemDC = std::make_unique<CKeyColorDC>(&windowDC, client.Width(), client.Height());
    LayoutButtons();
    DrawFace();
    CenterWindow();
    return TRUE;
}

void CMessageBoxDlg::Measure() {
    CClientDC dc(this);
    CFont* old = dc.SelectObject(&m_fontText);
    m_nCharWidth = dc.GetTextExtent("a", 1).cx;
    m_nLineHeight = dc.GetTextExtent(m_strText, m_strText.GetLength()).cy;
    if (m_nLineHeight <= 0)
        m_nLineHeight = dc.GetTextExtent("a", 1).cy;
    m_nLines = m_nCharWidth <= 0
                   ? 0
                   : message_text::CountLines(m_strText, m_rcTextArea.Width(), m_nCharWidth,
                                              [&dc](const char* text, int length) {
                                                  return int(dc.GetTextExtent(text, length).cx);
                                              });
    dc.SelectObject(old);
    if (m_nLines <= 0)
        return; // drawn as one line
    m_bMultiLine = m_nLines != 1;
    m_rcTextBlock =
        CRect(0, 0, m_rcTextArea.Width(), m_nLines * m_nLineHeight + (m_nLines - 1) * m_nLineGap);
}

void CMessageBoxDlg::LayoutButtons() {
    CRect client;
    GetClientRect(&client);
    const int w = client.Width(), h = client.Height();
    struct Place {
        CSkinButton& button;
        int x, y, cx, cy;
        const char* image;
    } places[] = {
        {m_btnOK, w / 2 - 69, h - 36, 58, 26, "BtnOnOK"},
        {m_btnCancel, w / 2 + 11, h - 36, 58, 26, "BtnCancel"},
        {m_btnClose, w - 29, client.top + 6, 16, 18, "BtnClose"},
    };
    for (Place& place : places) {
        if (!place.button.GetSafeHwnd())
            continue;
        place.button.MoveWindow(place.x, place.y, place.cx, place.cy, FALSE);
        if (!place.button.SetImage(place.image))
            WriteLog("Message box: no picture \"%s\"", place.image);
        place.button.ShowWindow(SW_SHOW);
    }
}

void CMessageBoxDlg::DrawFace() {
    CDC& dc = *m_pMemDC;
    CRect client;
    GetClientRect(&client);
    if (m_pBackImage && m_pWarnImage) {
        m_pBackImage->Draw(dc.GetSafeHdc(), 0, 0, m_pBackImage->GetWidth(),
                           m_pBackImage->GetHeight(), 0, 0, SRCCOPY);
        m_pWarnImage->Draw(dc.GetSafeHdc(), client.left + 35, client.Height() / 2 - 27,
                           m_pWarnImage->GetWidth(), m_pWarnImage->GetHeight(), 0, 0, SRCCOPY);
    } else if (m_pBackImage) {
        m_pBackImage->Draw(dc.GetSafeHdc(), 0, 0, m_pBackImage->GetWidth(),
                           m_pBackImage->GetHeight(), 0, 0, SRCCOPY);
    } else {
        dc.FillSolidRect(&client, kPlainFace);
    }
    CFont* oldFont = dc.SelectObject(&m_fontText);
    const int oldMode = dc.SetBkMode(TRANSPARENT);
    const bool tall = m_bLink || m_bBig;
    const int left = client.left + (m_bBig && !m_bLink ? 90 : 80);
    const int top = (tall ? 107 : 85) - m_rcTextBlock.Height() / 2;
    CRect block(left, top, left + m_rcTextArea.Width(), top + m_rcTextArea.Height());
    dc.SetTextColor(RGB(0, 0, 0));
    if (!m_bMultiLine) {
        CString text = m_strText;
        dc.DrawText(text, &block, DT_WORDBREAK | DT_NOPREFIX);
    } else {
        DrawLines(dc, block);
    }
    dc.SetBkMode(oldMode);
    dc.SelectObject(oldFont);
}

void CMessageBoxDlg::DrawLines(CDC& dc, const CRect& block) {
    const int n = std::max(1, m_rcTextArea.Width() / std::max(1, m_nCharWidth));
    const int pitch = m_nLineHeight + m_nLineGap;
    // Lines are drawn while at least one line's height is left below them.
    int maxLines = 1;
    while (block.bottom - (block.top + maxLines * pitch) >= m_nLineHeight)
        ++maxLines;
    int y = block.top;
    for (const CString& line : message_text::BreakLines(m_strText, n, maxLines)) {
        const bool link = line.Left(7) == "http://";
        dc.SetTextColor(link ? kLinkColour : RGB(0, 0, 0));
        CRect rect(block.left, y, block.right, block.bottom);
        CString text = line;
        dc.DrawText(text, &rect, DT_EDITCONTROL | DT_NOPREFIX);
        if (link)
            m_rcLink = CRect(block.left, y, block.right, y + kLinkHeight);
        dc.SetTextColor(RGB(0, 0, 0));
        y += pitch;
    }
}

void CMessageBoxDlg::OnPaint() {
    CPaintDC dc(this);
    if (!m_pMemDC)
        return;
    const CRect& rect = m_pMemDC->GetRect();
    dc.BitBlt(0, 0, rect.Width(), rect.Height(), m_pMemDC.get(), 0, 0, SRCCOPY);
}

BOOL CMessageBoxDlg::OnEraseBkgnd(CDC*) {
    return TRUE;
}

BOOL CMessageBoxDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) == IDC_CLOSE) {
        OnCancel();
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

void CMessageBoxDlg::OnLButtonDown(UINT flags, CPoint point) {
    // The box is dragged by any point of its face.
    PostMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
    if (m_bLink && m_rcLink.PtInRect(point))
        OpenWebLink(kLinkWealthHelp);
    CDialog::OnLButtonDown(flags, point);
}

void CMessageBoxDlg::OnMouseMove(UINT flags, CPoint point) {
    if (m_bLink && m_rcLink.PtInRect(point))
        SetCursor(LoadCursor(nullptr, IDC_HAND));
    CDialog::OnMouseMove(flags, point);
}
