#include "knclientUI05/SkinMsgBox.h"

#include "knclientUI05/DlgSkinIni.h"
#include "knclientUI05/MsgBoxDlg.h"
#include "knclientUI05/MsgBoxLayout.h"
#include "knclientUI05/MsgBoxStyle.h"
#include "knclientUI05/SkinIcon.h"
#include "knclientbase05/SkinSettings.h"
#include "platform/controls/DataExchange.h"
#include "platform/controls/MessageBox.h"
#include "platform/images/Picture.h"
#include "platform/resources/Icon.h"
#include "platform/resources/Resource.h"
#include "platform/system/Profile.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

using namespace msgbox;

namespace {

constexpr int kIconSize = 32;

// By the style's button bits, the keys of the buttons' pictures.
const char* const kButtonKeys[6][3] = {
    {"IDOK"},
    {"IDOK", "IDCANCEL"},
    {"IDABORT", "IDRETRY", "IDIGNORE"},
    {"IDYES", "IDNO", "IDCANCEL"},
    {"IDYES", "IDNO"},
    {"IDRETRY", "IDCANCEL"},
};

LPCSTR IconKeyOf(UINT style) {
    switch (style & MB_ICONMASK) {
    case MB_ICONHAND:
        return "ICONHAND";
    case MB_ICONQUESTION:
        return "ICONQUESTION";
    case MB_ICONEXCLAMATION:
        return "ICONEXCLAMATION";
    case MB_ICONASTERISK:
        return "ICONASTERISK";
    default:
        return "IDI_EXCLAMATION";
    }
}

} // namespace

HICON LoadSkinIcon(const CString& value) {
    if (value.IsEmpty())
        return nullptr;
    const CDlgSkinIni ini("");
    if (ini.ThemeLibraryMode()) {
        const UINT id = UINT(atoi(value)) & 0xFFFF;
        return static_cast<HICON>(
            LoadImage(theSkin.hThemeRes, MAKEINTRESOURCE(id), IMAGE_ICON, 64, 64, 0));
    }
    // Folder and name are each up to 259 characters: a path that does not
    // fit gives no icon rather than a cut one.
    char path[MAX_PATH];
    const size_t folder = strlen(theSkin.szThemeFolder);
    if (folder + size_t(value.GetLength()) + 1 > sizeof path)
        return nullptr;
    memcpy(path, theSkin.szThemeFolder, folder);
    memcpy(path + folder, value.GetString(), size_t(value.GetLength()) + 1);
    return static_cast<HICON>(LoadImage(nullptr, path, IMAGE_ICON, 64, 64, LR_LOADFROMFILE));
}

namespace {

void SetUpIcon(CSkinMsgBox& box) {
    char value[260] = "";
    if (theSkin.szThemeFile[0] != '\0')
        GetPrivateProfileString(box.GetSkinSection(), IconKeyOf(box.m_nStyle), "", value,
                                sizeof value, theSkin.szThemeFile);
    HICON icon = nullptr;
    if (value[0] == '\0') {
        icon = LoadIcon(nullptr, MsgBoxSystemIcon(box.m_nStyle));
    } else {
        box.m_hSkinIcon = LoadSkinIcon(value);
        icon = box.m_hSkinIcon;
    }
    if (icon == nullptr)
        return;
    box.m_stcIcon.SetIcon(icon);
    box.m_stcIcon.ShowWindow(SW_SHOW);
    box.m_bIconShown = TRUE;
}

void SetUpButtons(CSkinMsgBox& box) {
    const tagMSGBOXBUTTONSET& buttons = MsgBoxButtonSet(box.m_nStyle);
    const UINT set = (box.m_nStyle & MB_TYPEMASK) < 6 ? (box.m_nStyle & MB_TYPEMASK) : MB_OK;
    CCoolButton* controls[3] = {&box.m_btn1, &box.m_btn2, &box.m_btn3};
    box.m_nButtons = buttons.count;
    for (int i = 0; i < buttons.count; ++i) {
        box.m_nBtnResult[i] = buttons.results[i];
        controls[i]->LoadSkin(&box, IDC_KN_BUTTON1 + UINT(i), box.GetSkinSection(),
                              kButtonKeys[set][i], 0, 0, TRUE);
        if (controls[i]->m_hWnd == nullptr)
            continue;
        controls[i]->SetWindowText(LoadedString(buttons.captions[i]));
        controls[i]->ShowWindow(SW_SHOW);
    }
}

void Layout(CSkinMsgBox& box, SIZE textSize) {
    RECT window;
    box.GetWindowRect(&window);
    RECT inner;
    box.GetInnerRect(&inner);
    const bool hasIcon = box.m_bIconShown;
    SIZE icon = SizeOf(box.m_stcIcon);
    icon.cx = std::min<int>(icon.cx, kIconSize);
    icon.cy = std::min<int>(icon.cy, kIconSize);
    const SIZE button = box.m_btn1.m_hWnd != nullptr ? SizeOf(box.m_btn1) : SIZE{0, 0};

    RECT iconRect{inner.left + kMargin, inner.top + kMargin, inner.left + kMargin + icon.cx,
                  inner.top + kMargin + icon.cy};
    // With an icon the inner left offset counts twice: the skin's layout.
    const int textLeft = hasIcon ? iconRect.right + inner.left + kMargin : inner.left + kMargin;
    const int textHeight = textSize.cy + 2;
    RECT textRect{textLeft, inner.top + kMargin, textLeft + textSize.cx,
                  inner.top + kMargin + textHeight};
    int rowOffset = textHeight + 16;
    if (hasIcon) {
        if (icon.cy > textHeight) {
            OffsetRect(&textRect, 0, (icon.cy - textHeight) / 2);
            rowOffset = icon.cy + 16;
        } else {
            OffsetRect(&iconRect, 0, (textHeight - icon.cy) / 2);
        }
    }
    const int rowWidth =
        box.m_nButtons * button.cx + (box.m_nButtons - 1) * kButtonGap + kButtonSlack;
    const int contentWidth = std::max<int>(textRect.right + kMargin, rowWidth);
    const int inputHeight = box.m_bInput ? button.cy + 8 : 0;
    const int frameWidth = (window.right - window.left) - (inner.right - inner.left);
    const int frameHeight = (window.bottom - window.top) - (inner.bottom - inner.top);
    box.MoveWindow(0, 0, contentWidth + frameWidth,
                   rowOffset + button.cy + kMargin + frameHeight + inputHeight);
    if (hasIcon)
        Place(&box.m_stcIcon, iconRect);
    Place(&box.m_txtMessage, textRect);
    box.m_sysBtns.ShowButton(SW_HIDE, 0);

    PlaceInputs(box, textRect, button.cy);

    PlaceButtonRow(box, (contentWidth - rowWidth) / 2 + 32, rowOffset + inputHeight + inner.top,
                   button, contentWidth);
}

} // namespace

CSkinMsgBox::CSkinMsgBox(LPCSTR text, UINT style, int seconds)
    : CKNGameDialog(IDD_KN_SKIN_MSGBOX), m_strText(text != nullptr ? text : ""),
      m_nStyle(style & 0x7FFFFFFF), m_nSeconds(seconds) {
    SetSkinName("MsgBox");
}

CSkinMsgBox::CSkinMsgBox(UINT stringId, UINT style, int seconds)
    : CSkinMsgBox(LoadedString(stringId).GetString(), style, seconds) {}

CSkinMsgBox::CSkinMsgBox(BOOL withInput, LPCSTR text, UINT style, int seconds)
    : CSkinMsgBox(text, style, seconds) {
    m_bInput = withInput;
}

CSkinMsgBox::~CSkinMsgBox() {
    if (m_hSkinIcon != nullptr)
        DestroyIcon(m_hSkinIcon);
}

void CSkinMsgBox::DoDataExchange(CDataExchange* dx) {
    CKNGameDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_KN_MSG_TEXT, m_txtMessage);
    DDX_Control(dx, IDC_KN_MSG_COUNTDOWN, m_stcCountdown);
    DDX_Control(dx, IDC_KN_MSG_ICON, m_stcIcon);
    DDX_Text(dx, IDC_KN_MSG_TEXT, m_strText);
    DDX_Text(dx, IDC_KN_INPUT1, m_strInput1);
    DDX_Text(dx, IDC_KN_INPUT2, m_strInput2);
}

void CSkinMsgBox::OnSetFont(CFont* font) {
    m_pFont = font;
    CKNGameDialog::OnSetFont(font);
}

BOOL CSkinMsgBox::OnInitDialog() {
    CKNGameDialog::OnInitDialog();
    m_txtMessage.m_crText = m_crCtrlText;
    SetUpIcon(*this);
    SetUpButtons(*this);
    SetUpDefaultButton(*this);
    Layout(*this, MeasureMsgBoxText(this, m_pFont, m_strText));
    if (m_nSeconds != 0) {
        SetTimer(kCountdownTimer, 1000);
        UpdateCountdown(*this);
    } else {
        m_stcCountdown.ShowWindow(SW_HIDE);
    }
    // The after-paint hook draws the skin's icon in the control's place.
    if (m_hSkinIcon != nullptr)
        m_stcIcon.ShowWindow(SW_HIDE);
    CenterWindow(AfxGetMainWnd());
    return FALSE;
}

void CSkinMsgBox::OnPaintAfter(CDC* dc) {
    HICON icon = m_hSkinIcon != nullptr ? m_hSkinIcon : m_stcIcon.GetIcon();
    if (icon == nullptr || m_stcIcon.m_hWnd == nullptr)
        return;
    RECT r;
    m_stcIcon.GetWindowRect(&r);
    ScreenToClient(&r);
    DrawIconEx(dc->m_hDC, r.left, r.top, icon, kIconSize, kIconSize, 0, nullptr, DI_NORMAL);
}

void CSkinMsgBox::OnTimer(UINT_PTR id) {
    CKNGameDialog::OnTimer(id);
    // Only the countdown's own ticks count: another timer of the box (a
    // skin's, a derived box's) would end it early.
    if (id != kCountdownTimer)
        return;
    --m_nSeconds;
    UpdateCountdown(*this);
    if (m_nSeconds != 0)
        return;
    KillTimer(kCountdownTimer);
    if (GetCapture() == this)
        ReleaseCapture();
    m_nResult = m_nDefResult;
    EndDialog(m_nResult);
}

BOOL CSkinMsgBox::OnCommand(WPARAM wParam, LPARAM lParam) {
    // The skinned buttons send their id with no notification code.
    switch (LOWORD(wParam)) {
    case IDC_KN_BUTTON1:
        if (EndWithButton(*this, 0))
            OnOK(); // the input texts move into their members first
        return TRUE;
    case IDC_KN_BUTTON2:
        OnButton2();
        return TRUE;
    case IDC_KN_BUTTON3:
        if (EndWithButton(*this, 2))
            OnOK(); // the input texts move into their members first
        return TRUE;
    default:
        return CKNGameDialog::OnCommand(wParam, lParam);
    }
}

void CSkinMsgBox::OnButton2() {
    if (EndWithButton(*this, 1))
        OnOK(); // the input texts move into their members first
}
