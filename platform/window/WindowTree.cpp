// The window tree: classes, handles, creation and destruction, lookups.

#include "platform/window/WindowRecord.h"

#include "platform/DisplayDriver.h"
#include "platform/gdi/Gdi.h"
#include "platform/window/Menu.h"
#include "platform/window/Messages.h"

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <strings.h>
#include <utility>

namespace platform {

namespace {

struct ClassRecord {
    UINT style;
    WNDPROC proc;
    HCURSOR cursor;
    HBRUSH background;
    std::string name;
};

struct NoCaseLess {
    bool operator()(const std::string& a, const std::string& b) const {
        return strcasecmp(a.c_str(), b.c_str()) < 0;
    }
};

// Handles are never reused, so a stale handle stays invalid for good.
struct WindowTable {
    std::mutex lock;
    uintptr_t lastHandle = 0x1000;
    std::map<uintptr_t, std::unique_ptr<WindowRecord>> records;
    std::vector<WindowRecord*> topLevel; // front first
    std::map<std::string, ClassRecord, NoCaseLess> classes;
};

WindowTable& Table() {
    static WindowTable* table = new WindowTable; // outlives static destructors
    return *table;
}

// Front of the z-order, behind the topmost windows unless it is one.
void InsertAtFront(std::vector<WindowRecord*>& siblings, WindowRecord* record) {
    auto at = siblings.begin();
    if (!(record->exStyle & WS_EX_TOPMOST)) {
        while (at != siblings.end() && ((*at)->exStyle & WS_EX_TOPMOST))
            ++at;
    }
    siblings.insert(at, record);
}

void CollectDescendants(WindowRecord* record, std::vector<HWND>& out) {
    for (WindowRecord* child : record->children) {
        out.push_back(child->handle);
        CollectDescendants(child, out);
    }
}

void SendDestroy(WindowRecord* record) {
    record->destroying = true;
    SendMessage(record->handle, WM_DESTROY, 0, 0);
    // A handler may have destroyed children itself; walk a copy of the handles.
    std::vector<HWND> children;
    if (WindowRecord* still = FindWindowRecord(record->handle))
        for (WindowRecord* child : still->children)
            children.push_back(child->handle);
    for (HWND child : children)
        if (WindowRecord* c = FindWindowRecord(child); c && !c->destroying)
            SendDestroy(c);
}

void SendNcDestroyAndFree(HWND hwnd) {
    WindowRecord* record = FindWindowRecord(hwnd);
    if (!record)
        return;
    std::vector<HWND> children;
    for (WindowRecord* child : record->children)
        children.push_back(child->handle);
    for (HWND child : children)
        SendNcDestroyAndFree(child);

    record = FindWindowRecord(hwnd);
    if (!record)
        return;
    SendMessage(hwnd, WM_NCDESTROY, 0, 0);
    record = FindWindowRecord(hwnd);
    if (!record)
        return;
    GetDisplayDriver().WindowDestroyed(hwnd);
    if (record->systemMenu)
        DestroyMenu(std::exchange(record->systemMenu, nullptr));
    if (record->region)
        GetDisplayDriver().DeleteRegion(record->region);
    ForgetInvalid(record);
    ForgetWindowMessages(hwnd);

    auto& siblings = SiblingsOf(record);
    siblings.erase(std::remove(siblings.begin(), siblings.end(), record), siblings.end());
    CWnd* wnd = record->wnd;
    CWnd* wrapper = record->wrapper;
    std::unique_ptr<WindowRecord> owned;
    {
        WindowTable& table = Table();
        std::lock_guard<std::mutex> guard(table.lock);
        auto it = table.records.find(reinterpret_cast<uintptr_t>(hwnd));
        owned = std::move(it->second);
        table.records.erase(it);
    }
    if (wrapper)
        DetachWndObject(wrapper, false);
    if (wnd)
        DetachWndObject(wnd, true); // PostNcDestroy may delete the CWnd
}

} // namespace

WindowRecord* FindWindowRecord(HWND hwnd) {
    WindowTable& table = Table();
    std::lock_guard<std::mutex> guard(table.lock);
    auto it = table.records.find(reinterpret_cast<uintptr_t>(hwnd));
    return it == table.records.end() ? nullptr : it->second.get();
}

bool WindowThread(HWND hwnd, std::thread::id* thread) {
    WindowTable& table = Table();
    std::lock_guard<std::mutex> guard(table.lock);
    auto it = table.records.find(reinterpret_cast<uintptr_t>(hwnd));
    if (it == table.records.end())
        return false;
    *thread = it->second->thread;
    return true;
}

const std::vector<WindowRecord*>& TopLevelWindows() {
    return Table().topLevel;
}

std::vector<WindowRecord*>& SiblingsOf(WindowRecord* record) {
    return record->parent ? record->parent->children : Table().topLevel;
}

LRESULT DeliverMessage(WindowRecord* record, UINT message, WPARAM wParam, LPARAM lParam) {
    if (record->subclassProc)
        return record->subclassProc(record->handle, message, wParam, lParam);
    if (record->wnd)
        return CallWndObject(record->wnd, message, wParam, lParam);
    return record->classProc(record->handle, message, wParam, lParam);
}

LRESULT CALLBACK WndObjectProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowRecord* record = FindWindowRecord(hwnd);
    if (!record)
        return 0;
    if (record->wnd)
        return CallWndObject(record->wnd, message, wParam, lParam);
    return record->classProc(hwnd, message, wParam, lParam);
}

WNDPROC CurrentWindowProc(const WindowRecord* record) {
    if (record->subclassProc)
        return record->subclassProc;
    return record->wnd ? &WndObjectProc : record->classProc;
}

POINT ScreenOrigin(const WindowRecord* record) {
    POINT origin{record->rect.left, record->rect.top};
    if (record->parent) {
        const POINT parent = ClientScreenOrigin(record->parent);
        origin.x += parent.x;
        origin.y += parent.y;
    }
    return origin;
}

POINT ClientScreenOrigin(const WindowRecord* record) {
    POINT origin = ScreenOrigin(record);
    origin.x += record->client.left;
    origin.y += record->client.top;
    return origin;
}

HRGN GetWindowRegion(HWND hwnd) {
    WindowRecord* record = FindWindowRecord(hwnd);
    return record ? record->region : nullptr;
}

// Creates the record and links it in; the caller sends the creation messages.
HWND CreateWindowRecord(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                        int y, int width, int height, HWND parent, HMENU menu, CWnd* wnd) {
    WindowTable& table = Table();
    WindowRecord* parentRecord = nullptr;
    if (parent) {
        parentRecord = FindWindowRecord(parent);
        if (!parentRecord)
            return nullptr;
    } else if (style & WS_CHILD) {
        return nullptr;
    }
    auto record = std::make_unique<WindowRecord>();
    {
        std::lock_guard<std::mutex> guard(table.lock);
        auto cls = table.classes.find(className ? className : "");
        if (cls != table.classes.end()) {
            record->classProc = cls->second.proc;
            record->classStyle = cls->second.style;
            record->classCursor = cls->second.cursor;
            record->className = cls->second.name;
        } else if (wnd) {
            // A CWnd needs no registered class: it handles its own messages.
            record->classProc = DefWindowProc;
            record->className = className ? className : "";
        } else {
            return nullptr;
        }
        record->handle = reinterpret_cast<HWND>(table.lastHandle += 4);
    }
    if (x == CW_USEDEFAULT)
        x = y = 0;
    if (width == CW_USEDEFAULT)
        width = height = 0;
    record->text = windowName ? windowName : "";
    record->style = style;
    record->exStyle = exStyle;
    record->rect = {x, y, x + std::max(width, 0), y + std::max(height, 0)};
    record->client = {0, 0, record->Width(), record->Height()};
    record->thread = std::this_thread::get_id();
    if (style & WS_CHILD) {
        record->parent = parentRecord;
        record->id = reinterpret_cast<LONG_PTR>(menu);
    } else {
        record->owner = parent;
    }
    WindowRecord* raw = record.get();
    {
        std::lock_guard<std::mutex> guard(table.lock);
        table.records.emplace(reinterpret_cast<uintptr_t>(raw->handle), std::move(record));
    }
    InsertAtFront(SiblingsOf(raw), raw);
    if (wnd)
        AttachWndObject(wnd, raw->handle);
    return raw->handle;
}

HWND CreateWindowWithObject(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                            int y, int width, int height, HWND parent, HMENU menu,
                            HINSTANCE instance, LPVOID param, CWnd* wnd) {
    HWND hwnd = CreateWindowRecord(exStyle, className, windowName, style & ~WS_VISIBLE, x, y, width,
                                   height, parent, menu, wnd);
    if (!hwnd)
        return nullptr;
    WindowRecord* record = FindWindowRecord(hwnd);
    CREATESTRUCT cs{param,
                    instance,
                    menu,
                    parent,
                    record->Height(),
                    record->Width(),
                    int(record->rect.top),
                    int(record->rect.left),
                    LONG(style),
                    windowName,
                    className,
                    exStyle};
    GetDisplayDriver().WindowCreated(hwnd);
    RecalcClientArea(record, record->rect);
    if (!(record = FindWindowRecord(hwnd)))
        return nullptr;
    if (SendMessage(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    if (!(record = FindWindowRecord(hwnd)))
        return nullptr; // destroyed by its own WM_CREATE handler
    SendMessage(hwnd, WM_SIZE, SIZE_RESTORED,
                MAKELPARAM(record->ClientWidth(), record->ClientHeight()));
    SendMessage(hwnd, WM_MOVE, 0, MAKELPARAM(record->rect.left, record->rect.top));
    if ((style & WS_VISIBLE) && IsWindow(hwnd))
        ShowWindow(hwnd, SW_SHOWNA);
    return IsWindow(hwnd) ? hwnd : nullptr;
}

} // namespace platform

using namespace platform;

BOOL RegisterClass(const WNDCLASS* wc) {
    if (!wc || !wc->lpszClassName || !*wc->lpszClassName)
        return FALSE;
    WindowTable& table = Table();
    std::lock_guard<std::mutex> guard(table.lock);
    ClassRecord cls{wc->style, wc->lpfnWndProc ? wc->lpfnWndProc : DefWindowProc, wc->hCursor,
                    wc->hbrBackground, wc->lpszClassName};
    return table.classes.emplace(cls.name, cls).second;
}

BOOL GetClassInfo(HINSTANCE, LPCSTR className, WNDCLASS* wc) {
    WindowTable& table = Table();
    std::lock_guard<std::mutex> guard(table.lock);
    auto it = table.classes.find(className ? className : "");
    if (it == table.classes.end() || !wc)
        return FALSE;
    *wc = WNDCLASS{};
    wc->style = it->second.style;
    wc->lpfnWndProc = it->second.proc;
    wc->hCursor = it->second.cursor;
    wc->hbrBackground = it->second.background;
    wc->lpszClassName = it->second.name.c_str();
    return TRUE;
}

HWND CreateWindowEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                    LPVOID param) {
    return CreateWindowWithObject(exStyle, className, windowName, style, x, y, width, height,
                                  parent, menu, instance, param, nullptr);
}

BOOL DestroyWindow(HWND hwnd) {
    WindowRecord* record = FindWindowRecord(hwnd);
    if (!record || record->destroying)
        return FALSE;
    if (record->Visible())
        ShowWindow(hwnd, SW_HIDE);
    std::vector<HWND> dying{hwnd};
    CollectDescendants(record, dying);
    for (HWND h : dying) {
        KillAllTimers(h);
        if (GetCapture() == h)
            ReleaseCapture();
        if (GetFocus() == h)
            ForgetFocus();
    }
    SendDestroy(record);
    SendNcDestroyAndFree(hwnd);
    return TRUE;
}

BOOL IsWindow(HWND hwnd) {
    std::thread::id ignored;
    return WindowThread(hwnd, &ignored);
}

BOOL IsChild(HWND parent, HWND hwnd) {
    WindowRecord* record = FindWindowRecord(hwnd);
    for (record = record ? record->parent : nullptr; record; record = record->parent)
        if (record->handle == parent)
            return TRUE;
    return FALSE;
}

HWND GetParent(HWND hwnd) {
    WindowRecord* record = FindWindowRecord(hwnd);
    if (!record)
        return nullptr;
    return record->parent ? record->parent->handle : record->owner;
}

HWND GetDlgItem(HWND parent, int id) {
    WindowRecord* record = FindWindowRecord(parent);
    if (!record)
        return nullptr;
    for (WindowRecord* child : record->children)
        if (child->id == id)
            return child->handle;
    return nullptr;
}

int GetDlgCtrlID(HWND hwnd) {
    WindowRecord* record = FindWindowRecord(hwnd);
    return record && record->parent ? int(record->id) : 0;
}

HWND FindWindow(LPCSTR className, LPCSTR windowName) {
    for (WindowRecord* record : Table().topLevel) {
        if (className && strcasecmp(className, record->className.c_str()) != 0)
            continue;
        if (windowName && record->text != windowName)
            continue;
        return record->handle;
    }
    return nullptr;
}

BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam) {
    WindowRecord* record = FindWindowRecord(parent);
    if (!record || !proc)
        return FALSE;
    std::vector<HWND> all;
    CollectDescendants(record, all);
    for (HWND hwnd : all)
        if (IsWindow(hwnd) && !proc(hwnd, lParam))
            break;
    return TRUE;
}

namespace platform {

HWND DeepestWindowAt(const std::vector<WindowRecord*>& siblings, POINT point,
                     const std::vector<HWND>& passedOver) {
    for (WindowRecord* record : siblings) {
        if (!record->Visible())
            continue;
        RECT r = record->rect;
        if (point.x < r.left || point.x >= r.right || point.y < r.top || point.y >= r.bottom)
            continue;
        POINT inner{point.x - r.left, point.y - r.top};
        // A shaped window is hit only inside its region.
        if (record->region && !PtInRegion(record->region, inner.x, inner.y))
            continue;
        // Children show only inside the client area.
        const RECT& c = record->client;
        HWND child = nullptr;
        if (inner.x >= c.left && inner.x < c.right && inner.y >= c.top && inner.y < c.bottom)
            child =
                DeepestWindowAt(record->children, {inner.x - c.left, inner.y - c.top}, passedOver);
        if (child)
            return child;
        if (std::find(passedOver.begin(), passedOver.end(), record->handle) != passedOver.end())
            continue; // answered HTTRANSPARENT: the window beneath takes the point
        return record->handle;
    }
    return nullptr;
}

HWND WindowBeneath(POINT screen, const std::vector<HWND>& passedOver) {
    return DeepestWindowAt(Table().topLevel, screen, passedOver);
}

} // namespace platform

HWND WindowFromPoint(POINT point) {
    return WindowBeneath(point, {});
}

LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return proc ? proc(hwnd, message, wParam, lParam) : 0;
}
