// Keyboard navigation of dialogs: Tab order, groups, Enter and Escape.

#include "platform/controls/DialogNavigation.h"

#include "platform/window/Input.h"

namespace platform {
namespace {

DWORD StyleOfWindow(HWND hwnd) {
    return DWORD(GetWindowLong(hwnd, GWL_STYLE));
}

// Visible and enabled itself; the dialog may still be hidden (while it is made).
bool Reachable(HWND hwnd) {
    const DWORD style = StyleOfWindow(hwnd);
    return (style & WS_VISIBLE) && !(style & WS_DISABLED);
}

UINT DialogCodeOf(HWND hwnd, WPARAM key = 0, LPMSG msg = nullptr) {
    return UINT(SendMessage(hwnd, WM_GETDLGCODE, key, reinterpret_cast<LPARAM>(msg)));
}

// The dialog's direct child that holds (or is) the window, or null.
HWND ChildOfDialog(HWND dialog, HWND hwnd) {
    while (hwnd && GetParent(hwnd) != dialog) {
        if (!(StyleOfWindow(hwnd) & WS_CHILD))
            return nullptr;
        hwnd = GetParent(hwnd);
    }
    return hwnd;
}

// Steps through list from the item after (or before) start, wrapping, and
// returns the first that passes; start itself is tried last.
template <class Test>
HWND Step(const std::vector<HWND>& list, HWND start, bool previous, Test test) {
    const int n = int(list.size());
    if (n == 0)
        return nullptr;
    int at = -1;
    for (int i = 0; i < n; ++i)
        if (list[size_t(i)] == start)
            at = i;
    if (at < 0)
        at = previous ? 0 : n - 1; // so that the first step lands on an end
    for (int k = 1; k <= n; ++k) {
        const int i = ((previous ? at - k : at + k) % n + n) % n;
        if (test(list[size_t(i)]))
            return list[size_t(i)];
    }
    return nullptr;
}

bool IsPlainPushButton(HWND hwnd) {
    const DWORD kind = StyleOfWindow(hwnd) & BS_TYPEMASK;
    return (kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON) &&
           (DialogCodeOf(hwnd) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON));
}

// The push button with the focus shows as the default one; otherwise the
// dialog's default button does.
void UpdateDefaultLook(HWND dialog, HWND focus) {
    const LRESULT def = SendMessage(dialog, DM_GETDEFID, 0, 0);
    HWND defButton = HIWORD(def) == DC_HASDEFID ? GetDlgItem(dialog, LOWORD(def)) : nullptr;
    const bool focusIsButton = focus && IsPlainPushButton(focus);
    for (HWND child : ChildrenInOrder(dialog)) {
        if (!IsPlainPushButton(child))
            continue;
        const bool wantDefault = focusIsButton ? child == focus : child == defButton;
        const bool isDefault = (StyleOfWindow(child) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
        if (wantDefault != isDefault)
            SendMessage(child, BM_SETSTYLE, wantDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
    }
}

void SendCommand(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    if (control && !IsWindowEnabled(control))
        return; // a disabled button does not answer its key
    SendMessage(dialog, WM_COMMAND, MAKEWPARAM(WORD(id), BN_CLICKED),
                reinterpret_cast<LPARAM>(control));
}

// Enter: the push button that has the focus, else the default button, else IDOK.
void PressEnter(HWND dialog) {
    HWND focus = ChildOfDialog(dialog, GetFocus());
    if (focus && IsWindowEnabled(focus) &&
        (DialogCodeOf(focus) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) {
        SendCommand(dialog, GetDlgCtrlID(focus));
        return;
    }
    const LRESULT def = SendMessage(dialog, DM_GETDEFID, 0, 0);
    SendCommand(dialog, HIWORD(def) == DC_HASDEFID ? LOWORD(def) : IDOK);
}

void MoveInGroup(HWND dialog, bool previous) {
    HWND focus = ChildOfDialog(dialog, GetFocus());
    if (!focus)
        return;
    HWND next = GetNextDlgGroupItem(dialog, focus, previous);
    if (!next || next == focus)
        return;
    FocusDialogControl(dialog, next);
    if ((StyleOfWindow(next) & BS_TYPEMASK) == BS_AUTORADIOBUTTON &&
        (DialogCodeOf(next) & DLGC_RADIOBUTTON))
        SendMessage(next, BM_CLICK, 0, 0);
}

// TRUE when the key was a dialog key and has been handled.
bool HandleDialogKey(HWND dialog, LPMSG msg) {
    const UINT code = DialogCodeOf(msg->hwnd, msg->wParam, msg);
    if (code & DLGC_WANTALLKEYS)
        return false;
    switch (msg->wParam) {
    case VK_TAB: {
        if (code & DLGC_WANTTAB)
            return false;
        const bool back = GetKeyState(VK_SHIFT) < 0;
        HWND next = GetNextDlgTabItem(dialog, ChildOfDialog(dialog, GetFocus()), back);
        if (next)
            FocusDialogControl(dialog, next);
        return true;
    }
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
        if (code & DLGC_WANTARROWS)
            return false;
        MoveInGroup(dialog, msg->wParam == VK_LEFT || msg->wParam == VK_UP);
        return true;
    case VK_RETURN:
        PressEnter(dialog);
        return true;
    case VK_ESCAPE:
        SendCommand(dialog, IDCANCEL);
        return true;
    default:
        return false;
    }
}

} // namespace

std::vector<HWND> ChildrenInOrder(HWND parent) {
    struct Collect {
        HWND parent;
        std::vector<HWND> children;
    } collect{parent, {}};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM param) -> BOOL {
            auto* c = reinterpret_cast<Collect*>(param);
            if (GetParent(child) == c->parent)
                c->children.push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&collect));
    return collect.children;
}

std::vector<HWND> GroupOf(HWND control) {
    const std::vector<HWND> siblings = ChildrenInOrder(GetParent(control));
    size_t at = 0;
    while (at < siblings.size() && siblings[at] != control)
        ++at;
    if (at == siblings.size())
        return {control};
    size_t first = at;
    while (first > 0 && !(StyleOfWindow(siblings[first]) & WS_GROUP))
        --first;
    size_t end = at + 1;
    while (end < siblings.size() && !(StyleOfWindow(siblings[end]) & WS_GROUP))
        ++end;
    return std::vector<HWND>(siblings.begin() + long(first), siblings.begin() + long(end));
}

void FocusDialogControl(HWND dialog, HWND control) {
    SetFocus(control);
    if (DialogCodeOf(control) & DLGC_HASSETSEL)
        SendMessage(control, EM_SETSEL, 0, -1);
    UpdateDefaultLook(dialog, control);
}

} // namespace platform

using namespace platform;

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
    return Step(ChildrenInOrder(dialog), control, previous,
                [](HWND h) { return (StyleOfWindow(h) & WS_TABSTOP) && Reachable(h); });
}

HWND GetNextDlgGroupItem(HWND, HWND control, BOOL previous) {
    if (!control)
        return nullptr;
    HWND next = Step(GroupOf(control), control, previous, Reachable);
    return next ? next : control;
}

BOOL IsDialogMessage(HWND dialog, LPMSG msg) {
    if (!msg || !msg->hwnd || (msg->hwnd != dialog && !IsChild(dialog, msg->hwnd)))
        return FALSE;
    if (msg->message == WM_KEYDOWN && HandleDialogKey(dialog, msg))
        return TRUE;
    if (msg->message == WM_CHAR) {
        const UINT code = DialogCodeOf(msg->hwnd, msg->wParam, msg);
        const bool wanted = code & (DLGC_WANTALLKEYS | DLGC_WANTCHARS);
        // The characters of the dialog keys already handled go no further.
        if (!wanted && (msg->wParam == '\t' || msg->wParam == '\r' || msg->wParam == 0x1B))
            return TRUE;
        if (msg->wParam == '\t' && !(code & (DLGC_WANTTAB | DLGC_WANTALLKEYS)))
            return TRUE;
    }
    TranslateMessage(msg);
    DispatchMessage(msg);
    return TRUE;
}
