// The edit class: a single-line edit with caret, selection by mouse and
// keyboard, limit, password, number-only and read-only styles, GBK-aware.

#include "platform/CodePage.h"
#include "platform/controls/ControlSupport.h"
#include "platform/controls/EditText.h"
#include "platform/window/Clipboard.h"
#include "platform/window/Cursor.h"
#include "platform/window/Input.h"
#include "platform/window/SystemMetrics.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace platform {
namespace {

constexpr UINT_PTR kCaretTimer = 0xCA7E;
constexpr UINT kCaretBlinkMs = 530;
constexpr int kMargin = 2;

struct EditState {
    EditText text;
    HFONT font = nullptr;
    char passwordChar = 0;
    bool focused = false;
    bool caretOn = false;
    bool selecting = false; // the left button is held down over the text
    bool modified = false;
    int scroll = 0;         // pixels of text scrolled out on the left
    unsigned char lead = 0; // first byte of a double-byte character typed
};

ControlStates<EditState>& States() {
    static auto* states = new ControlStates<EditState>;
    return *states;
}

bool HasFrame(HWND hwnd) {
    return (StyleOf(hwnd) & WS_BORDER) || (GetWindowLong(hwnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
}

// The area the text is drawn in.
RECT TextArea(HWND hwnd) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    const int inset = (HasFrame(hwnd) ? 2 : 0) + kMargin;
    return RECT{rc.left + inset, rc.top + (HasFrame(hwnd) ? 2 : 0), rc.right - inset,
                rc.bottom - (HasFrame(hwnd) ? 2 : 0)};
}

// What is shown: the text, or one password character per character.
struct Layout {
    std::string shown;
    std::vector<int> offsets; // byte offsets of the character boundaries
    std::vector<int> xs;      // their x positions from the text's start
};

Layout LayOut(const EditState& state) {
    Layout layout;
    const std::string& text = state.text.text();
    MeasureDC measure(state.font);
    for (int at = 0;; at = state.text.Next(at)) {
        layout.offsets.push_back(at);
        if (at >= int(text.size()))
            break;
    }
    if (state.passwordChar)
        layout.shown.assign(layout.offsets.size() - 1, state.passwordChar);
    else
        layout.shown = text;
    // x of each boundary: the shown string's extent up to it.
    layout.xs.push_back(0);
    int shownAt = 0;
    for (size_t i = 1; i < layout.offsets.size(); ++i) {
        shownAt = state.passwordChar ? int(i) : layout.offsets[i];
        layout.xs.push_back(measure.Width(layout.shown.substr(0, size_t(shownAt))));
    }
    return layout;
}

int XOf(const Layout& layout, int offset) {
    for (size_t i = 0; i < layout.offsets.size(); ++i)
        if (layout.offsets[i] >= offset)
            return layout.xs[i];
    return layout.xs.back();
}

// The boundary nearest to an x position (relative to the text's start).
int OffsetAt(const Layout& layout, int x) {
    size_t best = 0;
    for (size_t i = 1; i < layout.offsets.size(); ++i)
        if (std::abs(layout.xs[i] - x) < std::abs(layout.xs[best] - x))
            best = i;
    return layout.offsets[best];
}

int TextStartX(HWND hwnd, const EditState& state, const Layout& layout) {
    const RECT area = TextArea(hwnd);
    const int width = area.right - area.left;
    const int textWidth = layout.xs.back();
    const DWORD style = StyleOf(hwnd);
    if (textWidth < width && (style & ES_CENTER))
        return area.left + (width - textWidth) / 2;
    if (textWidth < width && (style & ES_RIGHT))
        return area.left + width - textWidth;
    return area.left - state.scroll;
}

// Scrolls so that the caret shows.
void KeepCaretVisible(HWND hwnd, EditState& state) {
    const Layout layout = LayOut(state);
    const RECT area = TextArea(hwnd);
    const int width = std::max(1, int(area.right - area.left));
    const int x = XOf(layout, state.text.caret());
    if (x - state.scroll > width - 1)
        state.scroll = x - width + 1 + width / 4;
    if (x < state.scroll)
        state.scroll = std::max(0, x - width / 4);
    state.scroll = std::min(state.scroll, std::max(0, layout.xs.back() - width + 1));
}

void Refresh(HWND hwnd, EditState& state) {
    KeepCaretVisible(hwnd, state);
    if (state.focused) {
        state.caretOn = true;
        SetTimer(hwnd, kCaretTimer, kCaretBlinkMs, nullptr); // restart the blink
    }
    InvalidateRect(hwnd, nullptr, FALSE);
}

void Changed(HWND hwnd, EditState& state) {
    state.modified = true;
    Refresh(hwnd, state);
    NotifyParent(hwnd, EN_UPDATE);
    NotifyParent(hwnd, EN_CHANGE);
}

// Without ES_AUTOHSCROLL the text may not grow past the control's width.
bool FitsWidth(HWND hwnd, const EditState& state, const std::string& candidate) {
    if (StyleOf(hwnd) & ES_AUTOHSCROLL)
        return true;
    EditState trial;
    trial.text.SetText(candidate);
    trial.font = state.font;
    trial.passwordChar = state.passwordChar;
    const RECT area = TextArea(hwnd);
    return LayOut(trial).xs.back() <= area.right - area.left;
}

// Typed or pasted text in place of the selection.
void Insert(HWND hwnd, EditState& state, std::string text) {
    const DWORD style = StyleOf(hwnd);
    if (style & ES_READONLY)
        return;
    for (char& c : text) {
        if ((style & ES_UPPERCASE) && c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
        if ((style & ES_LOWERCASE) && c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    }
    EditText trial = state.text;
    const bool whole = trial.ReplaceSelection(text);
    if (!FitsWidth(hwnd, state, trial.text()) || (!whole && trial.text() == state.text.text())) {
        NotifyParent(hwnd, EN_MAXTEXT);
        return;
    }
    state.text = trial;
    Changed(hwnd, state);
    if (!whole)
        NotifyParent(hwnd, EN_MAXTEXT);
}

void CopySelection(HWND hwnd, const EditState& state) {
    if (state.passwordChar || !state.text.HasSelection() || !OpenClipboard(hwnd))
        return;
    const std::string part =
        state.text.text().substr(size_t(state.text.SelectionStart()),
                                 size_t(state.text.SelectionEnd() - state.text.SelectionStart()));
    EmptyClipboard();
    if (HGLOBAL block = GlobalAlloc(GHND, part.size() + 1)) {
        memcpy(GlobalLock(block), part.c_str(), part.size() + 1);
        GlobalUnlock(block);
        SetClipboardData(CF_TEXT, block);
    }
    CloseClipboard();
}

void Paste(HWND hwnd, EditState& state) {
    if (!OpenClipboard(hwnd))
        return;
    std::string text;
    if (HGLOBAL block = GetClipboardData(CF_TEXT)) {
        const char* data = static_cast<const char*>(GlobalLock(block));
        if (data)
            text.assign(data, strnlen(data, GlobalSize(block)));
        GlobalUnlock(block);
    }
    CloseClipboard();
    // One line only: the paste stops at a line break.
    text = text.substr(0, text.find_first_of("\r\n"));
    if (StyleOf(hwnd) & ES_NUMBER)
        text.erase(
            std::remove_if(text.begin(), text.end(), [](char c) { return c < '0' || c > '9'; }),
            text.end());
    if (!text.empty())
        Insert(hwnd, state, text);
}

void OnChar(HWND hwnd, EditState& state, unsigned char ch) {
    const DWORD style = StyleOf(hwnd);
    if (state.lead) {
        const char pair[2] = {char(state.lead), char(ch)};
        state.lead = 0;
        if (GbkCharLength(std::string_view(pair, 2), 0) == 2) {
            if (!(style & ES_NUMBER))
                Insert(hwnd, state, std::string(pair, 2));
            return;
        }
        // A broken pair: the lead byte is dropped, the byte stands alone.
    }
    if (IsDBCSLeadByte(ch)) {
        state.lead = ch;
        return;
    }
    switch (ch) {
    case 0x08: // Backspace
        if (!(style & ES_READONLY) && state.text.DeleteBackward())
            Changed(hwnd, state);
        return;
    case 0x03: // Ctrl+C
        CopySelection(hwnd, state);
        return;
    case 0x18: // Ctrl+X
        if (!(style & ES_READONLY) && !state.passwordChar && state.text.HasSelection()) {
            CopySelection(hwnd, state);
            state.text.DeleteBackward();
            Changed(hwnd, state);
        }
        return;
    case 0x16: // Ctrl+V
        Paste(hwnd, state);
        return;
    default:
        break;
    }
    if (ch < 0x20 || ch == 0x7F)
        return;
    if ((style & ES_NUMBER) && (ch < '0' || ch > '9'))
        return; // refused, as Windows does
    Insert(hwnd, state, std::string(1, char(ch)));
}

void OnKeyDown(HWND hwnd, EditState& state, UINT key) {
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    EditText& text = state.text;
    switch (key) {
    case VK_LEFT:
        if (text.HasSelection() && !shift)
            text.MoveCaret(text.SelectionStart(), false);
        else
            text.MoveCaret(text.Previous(text.caret()), shift);
        break;
    case VK_RIGHT:
        if (text.HasSelection() && !shift)
            text.MoveCaret(text.SelectionEnd(), false);
        else
            text.MoveCaret(text.Next(text.caret()), shift);
        break;
    case VK_HOME:
        text.MoveCaret(0, shift);
        break;
    case VK_END:
        text.MoveCaret(int(text.text().size()), shift);
        break;
    case VK_DELETE:
        if (!(StyleOf(hwnd) & ES_READONLY) && text.DeleteForward())
            Changed(hwnd, state);
        return;
    case VK_INSERT:
        if (shift)
            Paste(hwnd, state);
        else if (GetKeyState(VK_CONTROL) < 0)
            CopySelection(hwnd, state);
        return;
    default:
        return;
    }
    Refresh(hwnd, state);
}

// The selection over the text, in the highlight colours.
void PaintSelection(HDC hdc, const EditState& state, const Layout& layout, POINT origin,
                    int lineHeight) {
    const int from = XOf(layout, state.text.SelectionStart());
    const int to = XOf(layout, state.text.SelectionEnd());
    const RECT band{origin.x + from, origin.y, origin.x + to, origin.y + lineHeight};
    FillSolid(hdc, band, GetSysColor(COLOR_HIGHLIGHT));
    const int saved = SaveDC(hdc);
    IntersectClipRect(hdc, band.left, band.top, band.right, band.bottom);
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    TextOut(hdc, origin.x, origin.y, layout.shown.c_str(), int(layout.shown.size()));
    RestoreDC(hdc, saved);
}

void Paint(HWND hwnd, EditState& state) {
    ControlPaint paint(hwnd, state.font);
    HDC hdc = paint.dc();
    if (!hdc)
        return;
    const RECT& rc = paint.client();
    const DWORD style = StyleOf(hwnd);
    const bool enabled = IsWindowEnabled(hwnd);
    const UINT kind = (style & ES_READONLY) || !enabled ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT;
    FillRect(hdc, &rc, QueryControlColors(hwnd, hdc, kind));
    if (HasFrame(hwnd))
        DrawSunkenFrame(hdc, rc);
    const RECT area = TextArea(hwnd);
    const int saved = SaveDC(hdc);
    IntersectClipRect(hdc, area.left, area.top, area.right, area.bottom);
    const Layout layout = LayOut(state);
    const int lineHeight = MeasureDC(state.font).LineHeight();
    const POINT origin{TextStartX(hwnd, state, layout),
                       area.top + std::max(0, int(area.bottom - area.top - lineHeight) / 2)};
    if (!enabled)
        SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
    TextOut(hdc, origin.x, origin.y, layout.shown.c_str(), int(layout.shown.size()));
    if ((state.focused || (style & ES_NOHIDESEL)) && state.text.HasSelection())
        PaintSelection(hdc, state, layout, origin, lineHeight);
    if (state.focused && state.caretOn) {
        const int x = origin.x + XOf(layout, state.text.caret());
        FillSolid(hdc, RECT{x, origin.y, x + 1, origin.y + lineHeight}, GetTextColor(hdc));
    }
    RestoreDC(hdc, saved);
}

int HitOffset(HWND hwnd, const EditState& state, int x) {
    const Layout layout = LayOut(state);
    return OffsetAt(layout, x - TextStartX(hwnd, state, layout));
}

LRESULT CALLBACK EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY) {
        States().Drop(hwnd);
        return 0;
    }
    EditState& state = States().Get(hwnd);
    LRESULT common = 0;
    if (CommonControlMessage(hwnd, state.font, message, wParam, lParam, &common))
        return common;
    switch (message) {
    case WM_CREATE: {
        auto* cs = reinterpret_cast<LPCREATESTRUCT>(lParam);
        state.text.SetText(cs && cs->lpszName ? cs->lpszName : "");
        if (StyleOf(hwnd) & ES_PASSWORD)
            state.passwordChar = '*';
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
    case WM_GETDLGCODE:
        return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    case WM_SETTEXT: {
        state.text.SetText(lParam ? reinterpret_cast<LPCSTR>(lParam) : "");
        state.scroll = 0;
        state.modified = false;
        DefWindowProc(hwnd, message, wParam, lParam); // the window's copy of its text
        Refresh(hwnd, state);
        NotifyParent(hwnd, EN_UPDATE);
        NotifyParent(hwnd, EN_CHANGE);
        return TRUE;
    }
    case WM_GETTEXT: {
        const std::string& text = state.text.text();
        if (!lParam || wParam == 0)
            return 0;
        const size_t n = std::min(text.size(), size_t(wParam) - 1);
        memcpy(reinterpret_cast<LPSTR>(lParam), text.data(), n);
        reinterpret_cast<LPSTR>(lParam)[n] = '\0';
        return LRESULT(n);
    }
    case WM_GETTEXTLENGTH:
        return LRESULT(state.text.text().size());
    case WM_PAINT:
        Paint(hwnd, state);
        return 0;
    case WM_SETFOCUS:
        state.focused = true;
        Refresh(hwnd, state);
        NotifyParent(hwnd, EN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        state.focused = false;
        state.caretOn = false;
        state.lead = 0;
        KillTimer(hwnd, kCaretTimer);
        InvalidateRect(hwnd, nullptr, FALSE);
        NotifyParent(hwnd, EN_KILLFOCUS);
        return 0;
    case WM_TIMER:
        if (wParam == kCaretTimer) {
            state.caretOn = !state.caretOn;
            InvalidateRect(hwnd, nullptr, FALSE);
        }
        return 0;
    case WM_CHAR:
        OnChar(hwnd, state, static_cast<unsigned char>(wParam));
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(hwnd, state, UINT(wParam));
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        if (GetFocus() != hwnd)
            SetFocus(hwnd);
        const int at = HitOffset(hwnd, state, GET_X_LPARAM(lParam));
        if (message == WM_LBUTTONDBLCLK)
            state.text.SetSelection(0, -1);
        else
            state.text.MoveCaret(at, (wParam & MK_SHIFT) != 0);
        state.selecting = message == WM_LBUTTONDOWN;
        if (state.selecting)
            SetCapture(hwnd);
        Refresh(hwnd, state);
        return 0;
    }
    case WM_MOUSEMOVE:
        if (state.selecting) {
            state.text.MoveCaret(HitOffset(hwnd, state, GET_X_LPARAM(lParam)), true);
            Refresh(hwnd, state);
        }
        return 0;
    case WM_LBUTTONUP:
        if (state.selecting) {
            state.selecting = false;
            ReleaseCapture();
        }
        return 0;
    case WM_CAPTURECHANGED:
        state.selecting = false;
        return 0;
    case WM_SETCURSOR:
        SetCursor(LoadCursor(nullptr, IDC_IBEAM));
        return TRUE;
    case WM_COPY:
        CopySelection(hwnd, state);
        return 0;
    case WM_CUT:
        OnChar(hwnd, state, 0x18);
        return 0;
    case WM_PASTE:
        Paste(hwnd, state);
        return 0;
    case WM_CLEAR:
        if (!(StyleOf(hwnd) & ES_READONLY) && state.text.HasSelection()) {
            state.text.DeleteBackward();
            Changed(hwnd, state);
        }
        return 0;
    case EM_GETSEL: {
        const int start = state.text.SelectionStart();
        const int end = state.text.SelectionEnd();
        if (wParam)
            *reinterpret_cast<DWORD*>(wParam) = DWORD(start);
        if (lParam)
            *reinterpret_cast<DWORD*>(lParam) = DWORD(end);
        return MAKELONG(WORD(start), WORD(end));
    }
    case EM_SETSEL:
        state.text.SetSelection(int(wParam), int(lParam));
        Refresh(hwnd, state);
        return 0;
    case EM_REPLACESEL: {
        const std::string text = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
        if (!state.text.ReplaceSelection(text))
            NotifyParent(hwnd, EN_MAXTEXT);
        Changed(hwnd, state);
        return 0;
    }
    case EM_LIMITTEXT:
        state.text.SetLimit(int(wParam));
        return 0;
    case EM_GETLIMITTEXT:
        return state.text.limit();
    case EM_SETPASSWORDCHAR:
        state.passwordChar = char(wParam);
        SetWindowLong(hwnd, GWL_STYLE,
                      LONG(wParam ? StyleOf(hwnd) | ES_PASSWORD : StyleOf(hwnd) & ~ES_PASSWORD));
        Refresh(hwnd, state);
        return 0;
    case EM_GETPASSWORDCHAR:
        return static_cast<unsigned char>(state.passwordChar);
    case EM_SETREADONLY:
        SetWindowLong(hwnd, GWL_STYLE,
                      LONG(wParam ? StyleOf(hwnd) | ES_READONLY : StyleOf(hwnd) & ~ES_READONLY));
        InvalidateRect(hwnd, nullptr, FALSE);
        return TRUE;
    case EM_GETMODIFY:
        return state.modified;
    case EM_SETMODIFY:
        state.modified = wParam != 0;
        return 0;
    default:
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

} // namespace

void RegisterEditClass() {
    RegisterControlClass(WC_EDIT, EditProc);
}

} // namespace platform
