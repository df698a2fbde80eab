// The message box: a dialog made in code, laid out around its text.

#include "platform/controls/MessageBox.h"

#include "platform/controls/ControlSupport.h"
#include "platform/controls/Dialog.h"
#include "platform/resources/Resource.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int kIconId = 20;
constexpr int kTextId = 0xFFFF;
constexpr int kMargin = 12;
constexpr int kIconSize = 32;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kButtonGap = 8;
constexpr int kMaxTextWidth = 420;

// Button captions, GBK: 确定 取消 中止(&A) 重试(&R) 忽略(&I) 是(&Y) 否(&N).
const char kOk[] = "\xc8\xb7\xb6\xa8";
const char kCancel[] = "\xc8\xa1\xcf\xfb";
const char kAbort[] = "\xd6\xd0\xd6\xb9(&A)";
const char kRetry[] = "\xd6\xd8\xca\xd4(&R)";
const char kIgnore[] = "\xba\xf6\xc2\xd4(&I)";
const char kYes[] = "\xca\xc7(&Y)";
const char kNo[] = "\xb7\xf1(&N)";
// 宋体, the dialog face.
const char kFace[] = "\xcb\xce\xcc\xe5";

struct Button {
    int id;
    const char* caption;
};

std::vector<Button> ButtonsOf(UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return {{IDOK, kOk}, {IDCANCEL, kCancel}};
    case MB_ABORTRETRYIGNORE:
        return {{IDABORT, kAbort}, {IDRETRY, kRetry}, {IDIGNORE, kIgnore}};
    case MB_YESNOCANCEL:
        return {{IDYES, kYes}, {IDNO, kNo}, {IDCANCEL, kCancel}};
    case MB_YESNO:
        return {{IDYES, kYes}, {IDNO, kNo}};
    case MB_RETRYCANCEL:
        return {{IDRETRY, kRetry}, {IDCANCEL, kCancel}};
    default:
        return {{IDOK, kOk}};
    }
}

HICON IconOf(const MSGBOXPARAMS& params) {
    if (params.dwStyle & MB_USERICON)
        return params.lpszIcon ? LoadIcon(params.hInstance, params.lpszIcon) : nullptr;
    switch (params.dwStyle & MB_ICONMASK) {
    case MB_ICONHAND:
        return LoadIcon(nullptr, IDI_HAND);
    case MB_ICONQUESTION:
        return LoadIcon(nullptr, IDI_QUESTION);
    case MB_ICONEXCLAMATION:
        return LoadIcon(nullptr, IDI_EXCLAMATION);
    case MB_ICONASTERISK:
        return LoadIcon(nullptr, IDI_ASTERISK);
    default:
        return nullptr;
    }
}

class MessageBoxDialog : public CDialog {
public:
    MessageBoxDialog(const MSGBOXPARAMS& params, CWnd* owner)
        : m_params(params), m_buttons(ButtonsOf(params.dwStyle)), m_icon(IconOf(params)) {
        DialogTemplate t;
        t.caption = params.lpszCaption ? params.lpszCaption : "";
        t.style = WS_POPUP | WS_BORDER | DS_MODALFRAME | DS_SETFONT;
        t.rect = {0, 0, 200, 80}; // laid out around the text on opening
        t.fontPointSize = 9;
        t.fontFace = kFace;
        t.fontCharSet = 134; // GB2312
        if (m_icon)
            t.controls.push_back(Control(WC_STATIC, "", kIconId, SS_ICON));
        t.controls.push_back(Control(WC_STATIC, params.lpszText ? params.lpszText : "", kTextId,
                                     SS_LEFT | SS_NOPREFIX));
        const size_t defaultIndex = DefaultIndex();
        for (size_t i = 0; i < m_buttons.size(); ++i)
            t.controls.push_back(Control(WC_BUTTON, m_buttons[i].caption, m_buttons[i].id,
                                         (i == defaultIndex ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) |
                                             WS_TABSTOP | (i == 0 ? WS_GROUP : 0)));
        InitModalIndirect(t, owner);
    }

    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        if (m_icon)
            ::SendMessage(::GetDlgItem(m_hWnd, kIconId), STM_SETICON,
                          reinterpret_cast<WPARAM>(m_icon), 0);
        Layout();
        CenterWindow();
        HWND focus = ::GetDlgItem(m_hWnd, m_buttons[DefaultIndex()].id);
        GotoDlgCtrl(CWnd::FromHandle(focus));
        return FALSE; // the focus is set
    }

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        const int id = LOWORD(wParam);
        if (HIWORD(wParam) != BN_CLICKED)
            return CDialog::OnCommand(wParam, lParam);
        if (id == IDCANCEL && !Has(IDCANCEL)) {
            // Escape and closing answer OK only when OK is the one button.
            if (m_buttons.size() == 1 && m_buttons[0].id == IDOK)
                EndDialog(IDOK);
            return TRUE;
        }
        if (Has(id))
            EndDialog(id);
        return TRUE;
    }

private:
    static DialogControlTemplate Control(const char* className, const char* text, int id,
                                         DWORD style) {
        DialogControlTemplate c;
        c.className = className;
        c.text = text;
        c.id = id;
        c.rect = {0, 0, 10, 10};
        c.style = style | WS_CHILD | WS_VISIBLE;
        return c;
    }

    bool Has(int id) const {
        return std::any_of(m_buttons.begin(), m_buttons.end(),
                           [id](const Button& b) { return b.id == id; });
    }

    size_t DefaultIndex() const {
        const size_t wanted = (m_params.dwStyle & MB_DEFMASK) >> 8;
        return wanted < m_buttons.size() ? wanted : 0;
    }

    // Text beside the icon, wrapped at a readable width; the buttons centred
    // below.
    void Layout() {
        HWND text = ::GetDlgItem(m_hWnd, kTextId);
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT)));
        const std::string body = platform::WindowTextOf(text);
        RECT extent{0, 0, kMaxTextWidth, 0};
        DrawText(dc, body.c_str(), int(body.size()), &extent,
                 DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX | DT_EXPANDTABS);
        SelectObject(dc, old);
        DeleteDC(dc);
        const int textLeft = kMargin + (m_icon ? kIconSize + kMargin : 0);
        const int textWidth = std::clamp<int>(extent.right, 1, kMaxTextWidth);
        const int textHeight = std::max<int>(extent.bottom, 12);
        const int top = kMargin + std::max(0, (m_icon ? kIconSize - textHeight : 0) / 2);
        const int n = int(m_buttons.size());
        const int rowWidth = n * kButtonWidth + (n - 1) * kButtonGap;
        const int width = std::max(textLeft + textWidth + kMargin, rowWidth + 2 * kMargin);
        const int rowTop = std::max(top + textHeight, m_icon ? kMargin + kIconSize : 0) + kMargin;
        MoveWindow(0, 0, width, rowTop + kButtonHeight + kMargin);
        ::MoveWindow(text, textLeft, top, textWidth, textHeight, FALSE);
        if (m_icon)
            ::MoveWindow(::GetDlgItem(m_hWnd, kIconId), kMargin, kMargin, kIconSize, kIconSize,
                         FALSE);
        int x = (width - rowWidth) / 2;
        for (const Button& b : m_buttons) {
            ::MoveWindow(::GetDlgItem(m_hWnd, b.id), x, rowTop, kButtonWidth, kButtonHeight, FALSE);
            x += kButtonWidth + kButtonGap;
        }
    }

    MSGBOXPARAMS m_params;
    std::vector<Button> m_buttons;
    HICON m_icon;
};

} // namespace

int MessageBoxIndirect(const MSGBOXPARAMS* params) {
    if (!params)
        return 0;
    MessageBoxDialog box(*params, CWnd::FromHandle(params->hwndOwner));
    const int result = box.DoModal();
    return result < 0 ? 0 : result;
}

int MessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    MSGBOXPARAMS params{};
    params.cbSize = sizeof params;
    params.hwndOwner = owner;
    params.lpszText = text;
    params.lpszCaption = caption;
    params.dwStyle = type;
    return MessageBoxIndirect(&params);
}

int AfxMessageBox(LPCSTR text, UINT type, UINT) {
    CWnd* main = AfxGetMainWnd();
    return MessageBox(main ? main->GetSafeHwnd() : nullptr, text, nullptr, type);
}

int AfxMessageBox(UINT promptId, UINT type, UINT helpId) {
    char text[1024] = "";
    AfxLoadString(promptId, text, int(sizeof text));
    return AfxMessageBox(text, type, helpId);
}
