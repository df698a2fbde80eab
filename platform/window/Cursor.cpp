// Cursor objects and the current cursor.

#include "platform/window/Cursor.h"

#include "platform/DisplayDriver.h"
#include "platform/window/Input.h"
#include "platform/window/Messages.h"
#include "platform/window/WindowRecord.h"

#include <map>
#include <memory>

namespace platform {

namespace {

struct CursorTable {
    std::map<int, std::unique_ptr<CursorShape>> standard;
    std::map<HCURSOR, std::unique_ptr<CursorShape>> made;
    HCURSOR current = nullptr;
    int showCount = 0;
};

CursorTable& Cursors() {
    static auto* table = new CursorTable;
    return *table;
}

HCURSOR HandleOf(CursorShape* shape) {
    return reinterpret_cast<HCURSOR>(shape);
}

bool IsStandardId(uintptr_t id) {
    static const LPCSTR kStandard[] = {
        IDC_ARROW,  IDC_IBEAM,  IDC_WAIT,    IDC_CROSS, IDC_UPARROW, IDC_SIZENWSE,   IDC_SIZENESW,
        IDC_SIZEWE, IDC_SIZENS, IDC_SIZEALL, IDC_NO,    IDC_HAND,    IDC_APPSTARTING};
    for (LPCSTR name : kStandard)
        if (reinterpret_cast<uintptr_t>(name) == id)
            return true;
    return false;
}

HCURSOR Register(std::unique_ptr<CursorShape> shape) {
    HCURSOR handle = HandleOf(shape.get());
    Cursors().made.emplace(handle, std::move(shape));
    return handle;
}

void Notify() {
    CursorTable& table = Cursors();
    GetDisplayDriver().ShowCursorShape(table.current, table.showCount >= 0);
}

} // namespace

HCURSOR CreatePictureCursor(int width, int height, const uint32_t* pixels, POINT hotSpot,
                            std::shared_ptr<const IconParts> parts) {
    if (width <= 0 || height <= 0 || width > 256 || height > 256 || !pixels)
        return nullptr;
    auto shape = std::make_unique<CursorShape>();
    shape->width = width;
    shape->height = height;
    shape->hotSpot = hotSpot;
    shape->pixels.assign(pixels, pixels + size_t(width) * size_t(height));
    shape->parts = std::move(parts);
    return Register(std::move(shape));
}

const CursorShape* CursorShapeOf(HCURSOR cursor) {
    CursorTable& table = Cursors();
    if (auto it = table.made.find(cursor); it != table.made.end())
        return it->second.get();
    for (auto& [id, shape] : table.standard)
        if (HandleOf(shape.get()) == cursor)
            return shape.get();
    return nullptr;
}

HCURSOR LoadStandardCursor(LPCSTR name) {
    const uintptr_t id = reinterpret_cast<uintptr_t>(name);
    if (!IS_INTRESOURCE(name) || !IsStandardId(id))
        return nullptr;
    auto& slot = Cursors().standard[int(id)];
    if (!slot) {
        slot = std::make_unique<CursorShape>();
        slot->standardId = int(id);
        slot->width = slot->height = 32;
    }
    return HandleOf(slot.get());
}

void ShowCurrentCursor() {
    Notify();
}

// The sizing borders show which way they size.
static LPCSTR FrameCursor(int hit) {
    switch (hit) {
    case HTLEFT:
    case HTRIGHT:
        return IDC_SIZEWE;
    case HTTOP:
    case HTBOTTOM:
        return IDC_SIZENS;
    case HTTOPLEFT:
    case HTBOTTOMRIGHT:
        return IDC_SIZENWSE;
    case HTTOPRIGHT:
    case HTBOTTOMLEFT:
        return IDC_SIZENESW;
    default:
        return IDC_ARROW;
    }
}

LRESULT DefaultSetCursor(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    // A parent that sets the cursor itself wins over its children's classes.
    HWND parent = (GetWindowLong(hwnd, GWL_STYLE) & WS_CHILD) ? GetParent(hwnd) : nullptr;
    if (parent && SendMessage(parent, WM_SETCURSOR, wParam, lParam))
        return TRUE;
    const short hit = short(LOWORD(lParam));
    if (hit != HTCLIENT) {
        SetCursor(LoadStandardCursor(FrameCursor(hit)));
        return FALSE;
    }
    WindowRecord* record = FindWindowRecord(hwnd);
    HCURSOR cursor = record ? record->classCursor : nullptr;
    SetCursor(cursor ? cursor : LoadStandardCursor(IDC_ARROW));
    return FALSE;
}

} // namespace platform

using namespace platform;

BOOL DestroyCursor(HCURSOR cursor) {
    CursorTable& table = Cursors();
    auto it = table.made.find(cursor);
    if (it == table.made.end())
        return FALSE;
    if (table.current == cursor) {
        table.current = nullptr;
        Notify();
    }
    table.made.erase(it);
    return TRUE;
}

HCURSOR SetCursor(HCURSOR cursor) {
    CursorTable& table = Cursors();
    if (cursor && !CursorShapeOf(cursor))
        return table.current;
    HCURSOR previous = table.current;
    if (previous != cursor) {
        table.current = cursor;
        Notify();
    }
    return previous;
}

HCURSOR GetCursor() {
    return Cursors().current;
}

int ShowCursor(BOOL show) {
    CursorTable& table = Cursors();
    table.showCount += show ? 1 : -1;
    Notify();
    return table.showCount;
}
