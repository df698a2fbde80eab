// A popup menu on the screen: its window, its drawing and the modal loop of
// TrackPopupMenu.

#include "platform/Geometry.h"
#include "platform/window/Menu.h"

#include "platform/gdi/Gdi.h"
#include "platform/text/Text.h"
#include "platform/window/Input.h"
#include "platform/window/MenuRecord.h"
#include "platform/window/SystemMetrics.h"
#include "platform/window/WindowRecord.h"

#include <algorithm>
#include <cctype>
#include <map>

using namespace platform;

namespace {

constexpr const char* kMenuClass = "#32768";
constexpr int kEdge = 2;        // the frame around the items
constexpr int kTextIndent = 22; // room for a check mark
constexpr int kKeyGap = 24;     // between an item's text and its key
constexpr int kSeparatorHeight = 8;

// What a menu window shows: the menu, where its items are, which is hot.
struct OpenMenu {
    HMENU menu = nullptr;
    std::vector<RECT> itemRects; // client coordinates
    int hot = -1;
};

std::map<HWND, OpenMenu>& OpenMenus() {
    static std::map<HWND, OpenMenu> open;
    return open;
}

HFONT MenuFont() {
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

// "Text\tKey": the two parts of an item's label.
std::pair<std::string, std::string> SplitLabel(const std::string& text) {
    const size_t tab = text.find('\t');
    if (tab == std::string::npos)
        return {text, {}};
    return {text.substr(0, tab), text.substr(tab + 1)};
}

SIZE Measure(HDC hdc, const std::string& text) {
    SIZE size{0, 0};
    if (!text.empty())
        GetTextExtentPoint32(hdc, text.c_str(), int(text.size()), &size);
    return size;
}

// Lays the items out top to bottom; returns the window's size.
SIZE LayOut(const MenuRecord& menu, std::vector<RECT>& rects) {
    HDC hdc = CreateCompatibleDC(nullptr);
    HGDIOBJ oldFont = SelectObject(hdc, MenuFont());
    const int lineHeight = std::max<int>(Measure(hdc, "Ag").cy + 6, GetSystemMetrics(SM_CYMENU));
    int textWidth = 0, keyWidth = 0;
    for (const MenuItem& item : menu.items) {
        auto [text, key] = SplitLabel(item.text);
        textWidth = std::max<int>(textWidth, Measure(hdc, text).cx);
        keyWidth = std::max<int>(keyWidth, Measure(hdc, key).cx);
    }
    SelectObject(hdc, oldFont);
    DeleteDC(hdc);
    const int width = kTextIndent + textWidth + (keyWidth ? kKeyGap + keyWidth : 0) + kTextIndent;
    rects.clear();
    int y = kEdge;
    for (const MenuItem& item : menu.items) {
        const int height = (item.flags & MF_SEPARATOR) ? kSeparatorHeight : lineHeight;
        rects.push_back(RECT{kEdge, y, kEdge + width, y + height});
        y += height;
    }
    return SIZE{width + 2 * kEdge, y + kEdge};
}

void PaintItem(HDC hdc, const MenuItem& item, const RECT& r, bool hot) {
    if (item.flags & MF_SEPARATOR) {
        RECT line{r.left + 1, (r.top + r.bottom) / 2 - 1, r.right - 1, (r.top + r.bottom) / 2};
        FillRect(hdc, &line, GetSysColorBrush(COLOR_BTNSHADOW));
        OffsetRect(&line, 0, 1);
        FillRect(hdc, &line, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
        return;
    }
    const bool enabled = !(item.flags & (MF_GRAYED | MF_DISABLED));
    if (hot)
        FillRect(hdc, &r, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetTextColor(hdc, GetSysColor(!enabled ? COLOR_GRAYTEXT
                                  : hot    ? COLOR_HIGHLIGHTTEXT
                                           : COLOR_MENUTEXT));
    auto [text, key] = SplitLabel(item.text);
    RECT textRect{r.left + kTextIndent, r.top, r.right - kTextIndent, r.bottom};
    DrawText(hdc, text.c_str(), int(text.size()), &textRect, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    if (!key.empty())
        DrawText(hdc, key.c_str(), int(key.size()), &textRect,
                 DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
    if (item.flags & MF_CHECKED) {
        // A tick in the indent.
        HPEN pen = CreatePen(PS_SOLID, 2, GetTextColor(hdc));
        HGDIOBJ oldPen = SelectObject(hdc, pen);
        const int cy = (r.top + r.bottom) / 2;
        MoveToEx(hdc, r.left + 6, cy, nullptr);
        LineTo(hdc, r.left + 9, cy + 3);
        LineTo(hdc, r.left + 15, cy - 4);
        SelectObject(hdc, oldPen);
        DeleteObject(pen);
    }
}

void PaintMenu(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    auto open = OpenMenus().find(hwnd);
    MenuRecord* menu = open != OpenMenus().end() ? FindMenuRecord(open->second.menu) : nullptr;
    if (hdc && menu) {
        RECT client;
        GetClientRect(hwnd, &client);
        FillRect(hdc, &client, GetSysColorBrush(COLOR_MENU));
        FrameRect(hdc, &client, GetSysColorBrush(COLOR_BTNSHADOW));
        SetBkMode(hdc, TRANSPARENT);
        HGDIOBJ oldFont = SelectObject(hdc, MenuFont());
        const std::vector<RECT>& rects = open->second.itemRects;
        for (size_t i = 0; i < menu->items.size() && i < rects.size(); ++i)
            PaintItem(hdc, menu->items[i], rects[i], int(i) == open->second.hot);
        SelectObject(hdc, oldFont);
    }
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK MenuWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        PaintMenu(hwnd);
        return 0;
    case WM_ERASEBKGND:
        return 1; // the paint fills everything
    case WM_NCDESTROY:
        OpenMenus().erase(hwnd);
        return 0;
    default:
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

void RegisterMenuClass() {
    static bool registered = false;
    if (registered)
        return;
    WNDCLASS wc{};
    wc.lpfnWndProc = MenuWindowProc;
    wc.lpszClassName = kMenuClass;
    registered = RegisterClass(&wc) || GetClassInfo(nullptr, kMenuClass, &wc);
}

// Where the menu goes: aligned to (x, y) as the flags say, kept on the screen
// (flipped to the other side of the point when it does not fit).
POINT PlaceMenu(int x, int y, SIZE size, UINT flags) {
    const int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
    int left = x, top = y;
    if (flags & TPM_RIGHTALIGN)
        left = x - size.cx;
    else if (flags & TPM_CENTERALIGN)
        left = x - size.cx / 2;
    if (flags & TPM_BOTTOMALIGN)
        top = y - size.cy;
    else if (flags & TPM_VCENTERALIGN)
        top = y - size.cy / 2;
    if (left + size.cx > screenW)
        left = std::max(0, x - size.cx);
    if (top + size.cy > screenH)
        top = std::max(0, y - size.cy);
    return POINT{std::max(0, left), std::max(0, top)};
}

// The item at a screen point, -1 for none (or outside the menu).
int ItemAt(HWND hwnd, POINT screen) {
    auto open = OpenMenus().find(hwnd);
    if (open == OpenMenus().end())
        return -1;
    ScreenToClient(hwnd, &screen);
    const std::vector<RECT>& rects = open->second.itemRects;
    for (size_t i = 0; i < rects.size(); ++i) {
        const RECT& r = rects[i];
        if (screen.x >= r.left && screen.x < r.right && screen.y >= r.top && screen.y < r.bottom)
            return int(i);
    }
    return -1;
}

bool InsideWindow(HWND hwnd, POINT screen) {
    RECT r;
    return GetWindowRect(hwnd, &r) && screen.x >= r.left && screen.x < r.right &&
           screen.y >= r.top && screen.y < r.bottom;
}

void SetHot(HWND hwnd, int hot) {
    auto open = OpenMenus().find(hwnd);
    if (open == OpenMenus().end() || open->second.hot == hot)
        return;
    open->second.hot = hot;
    InvalidateRect(hwnd, nullptr, FALSE);
}

// The next item from `from` in a direction that is not a separator.
int Step(const MenuRecord& menu, int from, int direction) {
    const int count = int(menu.items.size());
    if (count == 0)
        return -1;
    int at = from;
    for (int tries = 0; tries < count; ++tries) {
        at = at < 0 ? (direction > 0 ? 0 : count - 1) : (at + direction + count) % count;
        if (!(menu.items[size_t(at)].flags & MF_SEPARATOR))
            return at;
    }
    return -1;
}

// The selectable item whose '&' letter is ch; -1 when none.
int ItemOfLetter(const MenuRecord& menu, unsigned char ch) {
    const int wanted = std::tolower(ch);
    for (size_t i = 0; i < menu.items.size(); ++i) {
        const std::string& text = menu.items[i].text;
        for (size_t k = 0; k + 1 < text.size(); ++k) {
            if (text[k] != '&')
                continue;
            if (text[k + 1] == '&') {
                ++k; // "&&" is a plain ampersand
                continue;
            }
            if (std::tolower(static_cast<unsigned char>(text[k + 1])) == wanted &&
                menu.items[i].Selectable())
                return int(i);
            break;
        }
    }
    return -1;
}

bool IsMouseMessage(UINT message) {
    return (message >= WM_MOUSEMOVE && message <= WM_MBUTTONUP + 1) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK);
}

bool IsPress(UINT m) {
    return m == WM_LBUTTONDOWN || m == WM_RBUTTONDOWN || m == WM_MBUTTONDOWN ||
           m == WM_LBUTTONDBLCLK || m == WM_RBUTTONDBLCLK || m == WM_NCLBUTTONDOWN ||
           m == WM_NCRBUTTONDOWN || m == WM_NCMBUTTONDOWN || m == WM_NCLBUTTONDBLCLK ||
           m == WM_NCRBUTTONDBLCLK;
}

bool IsRelease(UINT m) {
    return m == WM_LBUTTONUP || m == WM_RBUTTONUP || m == WM_NCLBUTTONUP || m == WM_NCRBUTTONUP;
}

// Runs the menu window until a choice (its command) or a close (0).
UINT RunMenu(HWND window, HMENU menu) {
    for (;;) {
        MenuRecord* record = FindMenuRecord(menu);
        if (!record || !IsWindow(window) || GetCapture() != window)
            return 0;
        MSG msg;
        if (!PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
            WaitMessage();
            continue;
        }
        if (msg.message == WM_QUIT) {
            PostQuitMessage(int(msg.wParam)); // for the loop outside
            return 0;
        }
        if (msg.message == WM_CANCELMODE)
            return 0;
        if (IsMouseMessage(msg.message)) {
            const int item = ItemAt(window, msg.pt);
            if (IsPress(msg.message) && !InsideWindow(window, msg.pt))
                return 0; // a press elsewhere closes the menu and is spent
            if (item >= 0 && (record->items[size_t(item)].flags & MF_SEPARATOR))
                SetHot(window, -1);
            else if (item >= 0 || msg.message == WM_MOUSEMOVE)
                SetHot(window, item);
            if (IsRelease(msg.message) && item >= 0 && record->items[size_t(item)].Selectable())
                return record->items[size_t(item)].id;
            continue;
        }
        const int hot = OpenMenus()[window].hot;
        if (msg.message == WM_KEYDOWN) {
            switch (msg.wParam) {
            case VK_ESCAPE:
                return 0;
            case VK_RETURN:
                if (hot >= 0 && record->items[size_t(hot)].Selectable())
                    return record->items[size_t(hot)].id;
                break;
            case VK_DOWN:
            case VK_UP:
                SetHot(window, Step(*record, hot, msg.wParam == VK_DOWN ? 1 : -1));
                break;
            case VK_HOME:
                SetHot(window, Step(*record, -1, 1));
                break;
            case VK_END:
                SetHot(window, Step(*record, -1, -1));
                break;
            default:
                break;
            }
            continue;
        }
        if (msg.message == WM_CHAR) {
            const int item = ItemOfLetter(*record, static_cast<unsigned char>(msg.wParam));
            if (item >= 0)
                return record->items[size_t(item)].id;
            continue;
        }
        if (msg.message == WM_KEYUP)
            continue;
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
}

} // namespace

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*) {
    if (!FindMenuRecord(menu) || !IsWindow(owner))
        return FALSE;
    const bool system = IsSystemMenuOf(owner, menu);
    if (!(flags & TPM_NONOTIFY)) {
        SendMessage(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu),
                    MAKELPARAM(0, system ? 1 : 0));
    }
    MenuRecord* record = FindMenuRecord(menu);
    if (!record || record->items.empty() || !IsWindow(owner))
        return FALSE;

    RegisterMenuClass();
    OpenMenu open;
    open.menu = menu;
    const SIZE size = LayOut(*record, open.itemRects);
    const POINT at = PlaceMenu(x, y, size, flags);
    HWND window = CreateWindowEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kMenuClass, "", WS_POPUP, at.x,
                                 at.y, size.cx, size.cy, owner, nullptr, nullptr, nullptr);
    if (!window)
        return FALSE;
    OpenMenus()[window] = std::move(open);
    ShowWindow(window, SW_SHOWNA);
    SetCapture(window);

    const UINT command = RunMenu(window, menu);

    if (GetCapture() == window)
        ReleaseCapture();
    if (IsWindow(window))
        DestroyWindow(window);
    if (flags & TPM_RETURNCMD)
        return BOOL(command);
    if (command && IsWindow(owner))
        PostMessage(owner, system ? WM_SYSCOMMAND : WM_COMMAND, command, 0);
    return TRUE;
}
