#include "app/SkinDialog.h"

#include "assets/resource.h"
#include "platform/resources/Resource.h"
#include "platform/window/Cursor.h"
#include "platform/window/Input.h"
#include "platform/window/NonClient.h"
#include "platform/window/WindowDcs.h"
#include "sprite/AppServices.h"
#include "sprite/MemDC.h"
#include "sprite/Picture.h"
#include "sprite/Theme.h"

CSkinDialog::~CSkinDialog() {
    if (m_hCursor)
        DestroyCursor(m_hCursor);
}

void CSkinDialog::LoadTableCursor() {
    if (!m_hCursor)
        m_hCursor = LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(IDC_TABLE_CURSOR));
}

BOOL CSkinDialog::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) {
    if (!m_hCursor)
        return CDialog::OnSetCursor(wnd, hitTest, message);
    SetCursor(m_hCursor);
    return TRUE;
}

void CSkinDialog::OnLButtonDown(UINT flags, CPoint point) {
    BeginDrag(point);
    CDialog::OnLButtonDown(flags, point);
}

HBRUSH CSkinDialog::OnCtlColor(CDC* dc, CWnd* control, UINT ctlColor) {
    if (ctlColor != CTLCOLOR_STATIC)
        return CDialog::OnCtlColor(dc, control, ctlColor);
    dc->SetBkMode(TRANSPARENT);
    return HBRUSH(GetStockObject(NULL_BRUSH));
}

void CSkinDialog::PlaceStandardButtons(CSkinButton& ok, CSkinButton& cancel, CSkinButton& close) {
    CRect client;
    GetClientRect(&client);
    const int w = client.Width(), h = client.Height();
    PlaceButton(ok, w / 2 - 69, h - 36, 58, 26, "BtnOnOK");
    PlaceButton(cancel, w / 2 + 11, h - 36, 58, 26, "BtnCancel");
    PlaceButton(close, w - 29, client.top + 6, 16, 26, "BtnClose");
}

CDC* CSkinDialog::GetFaceDC() const {
    return m_pMemDC.get();
}

BOOL CSkinDialog::LoadFace(LPCSTR backName, LPCSTR regionName, COLORREF plain) {
    // Borderless: the picture is the whole face.
    ModifyStyle(WS_CAPTION | WS_THICKFRAME | DS_MODALFRAME | WS_BORDER | WS_DLGFRAME, 0,
                SWP_FRAMECHANGED);
    m_crPlain = plain;
    m_pBackImage = kn::theTheme.GetImage(backName, FALSE);
    if (m_pBackImage) {
        SetWindowPos(nullptr, 0, 0, m_pBackImage->GetWidth(), m_pBackImage->GetHeight(),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW);
        if (HRGN region = kn::theTheme.GetRegion(regionName ? regionName : backName, kKeyColor))
            SetWindowRgn(region, FALSE);
    } else {
        WriteLog("Dialog: no picture \"%s\"; a plain face is drawn", backName);
    }
    CRect client;
    GetClientRect(&client);
    CClientDC windowDC(this);
    m_pMemDC = std::make_unique<CKeyColorDC>(&windowDC, client.Width(), client.Height());
    DrawBackground();
    return m_pBackImage != nullptr;
}

void CSkinDialog::DrawBackground() {
    if (!m_pMemDC)
        return;
    const CRect& rect = m_pMemDC->GetRect();
    m_pMemDC->FillSolidRect(&rect, kKeyColor);
    if (m_pBackImage)
        m_pBackImage->Draw(m_pMemDC->GetSafeHdc(), 0, 0, m_pBackImage->GetWidth(),
                           m_pBackImage->GetHeight(), 0, 0, SRCCOPY);
    else
        m_pMemDC->FillSolidRect(&rect, m_crPlain);
}

void CSkinDialog::PlaceButton(CSkinButton& button, int x, int y, int cx, int cy, LPCSTR image) {
    if (!button.GetSafeHwnd())
        return;
    button.MoveWindow(x, y, cx, cy, FALSE);
    if (!button.SetImage(image))
        WriteLog("Dialog: no picture \"%s\"", image);
}

void CSkinDialog::BeginDrag(CPoint point) {
    PostMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
}

CRect CSkinDialog::ControlRect(int id) const {
    CRect rect;
    CWnd* control = GetDlgItem(id);
    if (!control)
        return rect;
    control->GetWindowRect(&rect);
    ScreenToClient(&rect);
    return rect;
}

void CSkinDialog::OnPaint() {
    CPaintDC dc(this);
    if (!m_pMemDC)
        return;
    const CRect& rect = m_pMemDC->GetRect();
    dc.BitBlt(0, 0, rect.Width(), rect.Height(), m_pMemDC.get(), 0, 0, SRCCOPY);
}

BOOL CSkinDialog::PreTranslateMessage(MSG* msg) {
    if (msg->message == WM_KEYDOWN && ((msg->wParam == VK_RETURN && m_bIgnoreEnter) ||
                                       (msg->wParam == VK_ESCAPE && m_bIgnoreEscape)))
        return TRUE;
    return CDialog::PreTranslateMessage(msg);
}

BOOL CSkinDialog::OnEraseBkgnd(CDC*) {
    return TRUE;
}
