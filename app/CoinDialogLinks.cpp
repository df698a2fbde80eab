#include "app/CoinDialogLinks.h"

#include "app/GameSettings.h"
#include "platform/gdi/Dc.h"
#include "platform/text/CFont.h"
#include "platform/text/Text.h"
#include "platform/window/Cursor.h"
#include "sprite/AppServices.h"
#include "sprite/MemDC.h"

namespace coin_links {

namespace {

CRect RectOf(CWnd& dialog, int id) {
    CRect rect;
    CWnd* control = dialog.GetDlgItem(id);
    if (!control)
        return rect;
    control->GetWindowRect(&rect);
    dialog.ScreenToClient(&rect);
    return rect;
}

} // namespace

void PlacePair(CWnd& dialog, int linkId, int handId, const CRect& rect) {
    for (int id : {linkId, handId})
        if (CWnd* control = dialog.GetDlgItem(id))
            control->MoveWindow(&rect, FALSE);
}

BOOL OpenLinkAt(CWnd& dialog, CPoint point, int introId, int helpId) {
    if (RectOf(dialog, introId).PtInRect(point)) {
        OpenWebLink(kLinkGameIntro);
        return TRUE;
    }
    if (RectOf(dialog, helpId).PtInRect(point)) {
        OpenWebLink(kLinkWealthHelp);
        return TRUE;
    }
    return FALSE;
}

void HandOver(CWnd& dialog, CPoint point, int introHandId, int helpHandId) {
    if (RectOf(dialog, introHandId).PtInRect(point) || RectOf(dialog, helpHandId).PtInRect(point))
        SetCursor(LoadCursor(nullptr, IDC_HAND));
}

void PostTo(CWnd* wnd, UINT message) {
    if (wnd && wnd->GetSafeHwnd())
        wnd->PostMessage(message, 0, 0);
}

} // namespace coin_links

CCoinDialogBase::CCoinDialogBase(UINT templateId, CWnd* parent, LinkIds links)
    : CSkinDialog(templateId, parent), m_links(links) {}

CCoinDialogBase::~CCoinDialogBase() = default;

void CCoinDialogBase::OnLButtonDown(UINT flags, CPoint point) {
    if (!coin_links::OpenLinkAt(*this, point, m_links.intro, m_links.help))
        BeginDrag(point);
    CDialog::OnLButtonDown(flags, point);
}

void CCoinDialogBase::OnMouseMove(UINT flags, CPoint point) {
    coin_links::HandOver(*this, point, m_links.introHand, m_links.helpHand);
    CDialog::OnMouseMove(flags, point);
}

CWnd* CCoinDialogBase::MainWnd() const {
    return m_pMainWnd ? m_pMainWnd : AfxGetMainWnd();
}

void CCoinDialogBase::ConfirmRefusal(LPCSTR question) {
    if (ShowMessageBox(question) != IDOK)
        return;
    coin_links::PostTo(MainWnd(), WM_LEAVE_TABLE);
    CDialog::OnCancel();
}

void CCoinDialogBase::DrawText(LPCSTR text, CRect rect, COLORREF colour, int height, int weight,
                               UINT format) {
    if (!m_pMemDC)
        return;
    CFont font;
    font.CreateFont(height, 0, 0, 0, weight, 0, 0, 0, 134, 3, 2, 1, 2, "宋体");
    CDC& dc = *GetFaceDC();
    CFont* old = dc.SelectObject(&font);
    const int oldMode = dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(colour);
    CString copy = text;
    dc.DrawText(copy, &rect, format);
    dc.SetBkMode(oldMode);
    dc.SelectObject(old);
}

void CCoinDialogBase::DrawLinkWords(const CRect& first, const CRect& second) {
    DrawText("这里", first, RGB(0, 0, 255), 12, 14);
    DrawText("这里", second, RGB(0, 0, 255), 12, 14);
}
