#include "knclientUI05/KNGameDialog.h"

#include "knclientUI05/DlgSkinIni.h"
#include "knclientUI05/KNGameDialogSkin.h"
#include "knclientUI05/KnClientPublic.h"
#include "knclientUI05/SkinRegionCache.h"
#include "platform/controls/ControlDefs.h"
#include "platform/controls/MessageBox.h"
#include "platform/gdi/Gdi.h"
#include "platform/window/WindowDcs.h"

#include <cstdio>

namespace {

// The bare dialog name of a "KNDLG_<name>" section.
LPCSTR DialogNameOf(LPCSTR section) {
    return section + 6;
}

// Reads the skin and takes its pictures, shape, colours, sizes and caption
// buttons; what OnCreate answers.
int SetUpSkin(CKNGameDialog& dialog, const CREATESTRUCT& cs) {
    const CDlgSkinIni ini(DialogNameOf(dialog.m_szSkinName));
    CString backName;
    if (ini.ThemeLibraryMode()) {
        for (const char* key : {"backgrdbmp", "backgrdbmpNA"}) {
            CKNBitmap& picture = key[10] == '\0' ? dialog.m_bmpBack : dialog.m_bmpBackNA;
            if (!ini.LoadPicture(&picture, key, nullptr)) {
                CString text;
                text.Format("LoadBitmapRes Failed! DialogName = %s,Entry = %s", dialog.m_szSkinName,
                            key);
                ::MessageBox(dialog.m_hWnd, text, "", MB_OK);
                return 0;
            }
        }
        backName = ini.ReadString("backgrdbmp");
    } else {
        backName = ini.ReadString("backgrdbmp");
        if (backName.IsEmpty())
            backName = "dialogBK.jpg";
        if (!dialog.m_bmpBack.LoadBmpFile(ini.PicturePath("backgrdbmp", "dialogBK.jpg")))
            return -1;
        const CString naPath = ini.PicturePath("backgrdbmpNA", "dialogBKNA.jpg");
        if (!dialog.m_bmpBackNA.LoadBmpFile(naPath))
            dialog.m_bmpBackNA.DeleteObject();
    }
    SIZE size{0, 0};
    dialog.m_bmpBack.GetSize(&size);
    dialog.m_sizeCell = SIZE{size.cx / 3, size.cy / 3};

    tagDLGSKINVALUES values;
    ReadDlgSkinValues(ini, &values);
    dialog.m_bAnomalyFrame = values.nAnomalyFrame != 0;
    dialog.m_bResize = values.nResize != 0;
    dialog.m_bUseTitleMax = values.nUseTitleMax != 0;
    if (dialog.m_bAnomalyFrame) {
        dialog.m_hSkinRgn = FindSkinRegion(backName);
        if (dialog.m_hSkinRgn == nullptr && dialog.m_bmpBack.GetSafeHandle() != nullptr) {
            dialog.m_hSkinRgn = CreateRegionFromBitmap(
                static_cast<HBITMAP>(dialog.m_bmpBack.GetSafeHandle()), 0, 0);
            dialog.m_bOwnsSkinRgn =
                dialog.m_hSkinRgn != nullptr && !CacheSkinRegion(backName, dialog.m_hSkinRgn);
        }
    }

    dialog.m_hCtrlBrush = CreateSolidBrush(values.crCtrl);
    dialog.m_crCtrlText = values.crCtrlText;
    dialog.m_nBorderWidth = values.nBorderWidth;
    dialog.m_nCaptionHeight = values.nCaptionHeight;
    if (!values.strTitle.IsEmpty())
        dialog.SetWindowText(values.strTitle);
    dialog.m_fontTitle.CreateFont(12, 6, 0, 0, 500, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, values.strTitleFont);
    dialog.m_crTitle = values.crTitle;

    dialog.m_nMaxBtnIndex = 0;
    dialog.m_sysBtns.SetOwner(&dialog);
    if (dialog.m_bUseTitleMax &&
        dialog.m_sysBtns.AddButton(IDC_KN_SYS_MAX, dialog.m_szSkinName, "titlemax", HTMAXBUTTON)) {
        CKNBitmap restore;
        if (ini.LoadRestorePicture(&restore)) {
            dialog.m_sysBtns.SetAltBitmap(static_cast<HBITMAP>(restore.Detach()),
                                          dialog.m_nMaxBtnIndex);
        } else if (ini.ThemeLibraryMode()) {
            ::MessageBox(dialog.m_hWnd,
                         "LoadBitmapRes Failed! Section = frame,Entry = framerestore", "", MB_OK);
            return 0;
        }
    }
    if (!dialog.m_sysBtns.AddButton(IDC_KN_SYS_CLOSE, dialog.m_szSkinName, "titleclose", HTCLOSE))
        return -1;
    PlaceCaptionButtons(dialog, cs.cx);
    SetWindowLong(dialog.m_hWnd, GWL_USERDATA, KN_DIALOG_MARK);
    return 0;
}

} // namespace

void PlaceCaptionButtons(CKNGameDialog& dialog, int windowWidth) {
    const CDlgSkinIni ini(DialogNameOf(dialog.m_szSkinName));
    tagDLGSKINVALUES values;
    ReadDlgSkinButtonPlace(ini, &values);
    RECT buttons;
    dialog.m_sysBtns.GetRect(&buttons);
    dialog.m_sysBtns.SetPos(windowWidth - values.nSysBtnRight - (buttons.right - buttons.left),
                            values.nSysBtnTop);
}

CKNGameDialog::CKNGameDialog(UINT templateId, CWnd* parent) : CDialog(templateId, parent) {}

CKNGameDialog::~CKNGameDialog() {
    if (m_bOwnsSkinRgn && m_hSkinRgn != nullptr)
        DeleteObject(m_hSkinRgn);
}

void CKNGameDialog::SetSkinName(LPCSTR name) {
    snprintf(m_szSkinName, sizeof m_szSkinName, "KNDLG_%s", name != nullptr ? name : "");
}

int CKNGameDialog::DoModal() {
    m_bModal = TRUE;
    const int result = CDialog::DoModal();
    m_bModal = FALSE;
    return result;
}

void CKNGameDialog::GetInnerRect(LPRECT rect) const {
    if (rect == nullptr)
        return;
    GetClientRect(rect);
    if (!IsSkinned())
        return;
    rect->left += m_nBorderWidth;
    rect->right -= m_nBorderWidth;
    rect->bottom -= m_nBorderWidth;
    rect->top += m_bShowTitle ? m_nCaptionHeight : m_nBorderWidth;
}

int CKNGameDialog::OnCreate(LPCREATESTRUCT cs) {
    const int created = CDialog::OnCreate(cs);
    if (created == -1)
        return -1;
    if (!IsSkinned())
        return created;
    return SetUpSkin(*this, *cs);
}

void CKNGameDialog::OnDestroy() {
    if (m_hCtrlBrush != nullptr) {
        DeleteObject(m_hCtrlBrush);
        m_hCtrlBrush = nullptr;
    }
    m_fontTitle.DeleteObject();
    CDialog::OnDestroy();
}

BOOL CKNGameDialog::OnEraseBkgnd(CDC* dc) {
    return IsSkinned() ? TRUE : CDialog::OnEraseBkgnd(dc);
}

void CKNGameDialog::OnPaint() {
    if (!IsSkinned()) {
        CDialog::OnPaint();
        return;
    }
    CPaintDC dc(this);
    OnPaintBefore(&dc);
    m_sysBtns.ExcludeFromClip(&dc);
    RECT client;
    GetClientRect(&client);
    const bool inactive = ::GetActiveWindow() != m_hWnd;
    CKNBitmap& back = inactive && m_bmpBackNA.GetSafeHandle() != nullptr ? m_bmpBackNA : m_bmpBack;
    back.DrawFrame(&dc, &client, 0, TRUE);
    m_sysBtns.Draw(&dc);
    if (m_bShowTitle) {
        CString title;
        GetWindowText(title);
        CFont* oldFont = m_fontTitle.GetSafeHandle() ? dc.SelectObject(&m_fontTitle) : nullptr;
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(m_crTitle);
        const CSize extent = dc.GetTextExtent(title, title.GetLength());
        RECT window;
        GetWindowRect(&window);
        dc.TextOut((window.right - window.left - extent.cx) / 2,
                   (m_nCaptionHeight - extent.cy) / 2 - 1, title, title.GetLength());
        if (oldFont != nullptr)
            dc.SelectObject(oldFont);
    }
    OnPaintAfter(&dc);
}

HBRUSH CKNGameDialog::OnCtlColor(CDC* dc, CWnd* control, UINT ctlColor) {
    if (!IsSkinned())
        return CDialog::OnCtlColor(dc, control, ctlColor);
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(m_crCtrlText);
    if (ctlColor == CTLCOLOR_STATIC)
        return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    return m_hCtrlBrush;
}

BOOL CKNGameDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
    case IDC_KN_SYS_CLOSE:
        PostMessage(WM_CLOSE);
        return TRUE;
    case IDC_KN_SYS_MAX:
        if (m_bUseTitleMax)
            ToggleMaximise(*this, TRUE);
        return TRUE;
    default:
        return CDialog::OnCommand(wParam, lParam);
    }
}
