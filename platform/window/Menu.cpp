// Menu objects, their items, the system menu and CMenu.

#include "platform/window/Menu.h"

#include "platform/CodePage.h"
#include "platform/window/MenuRecord.h"
#include "platform/window/WindowRecord.h"
#include "platform/window/Wnd.h"

#include <map>
#include <memory>
#include <utility>

using namespace platform;

namespace {

struct MenuTable {
    uintptr_t lastHandle = 0x7000;
    std::map<HMENU, MenuRecord> menus;
    std::map<HMENU, std::unique_ptr<CMenu>> wrappers;
};

MenuTable& Table() {
    static MenuTable* table = new MenuTable; // outlives static destructors
    return *table;
}

HMENU NewMenu(bool popup) {
    MenuTable& table = Table();
    HMENU handle = reinterpret_cast<HMENU>(table.lastHandle += 4);
    table.menus[handle].popup = popup;
    return handle;
}

// The index of an item named by command or by position; -1 when there is none.
int IndexOf(const MenuRecord& menu, UINT item, UINT flags) {
    if (flags & MF_BYPOSITION)
        return item < menu.items.size() ? int(item) : -1;
    for (size_t i = 0; i < menu.items.size(); ++i)
        if (!menu.items[i].submenu && !(menu.items[i].flags & MF_SEPARATOR) &&
            menu.items[i].id == item)
            return int(i);
    return -1;
}

MenuItem MakeItem(UINT flags, UINT_PTR idOrPopup, LPCSTR text) {
    MenuItem item;
    item.flags = flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_POPUP | MF_SEPARATOR);
    if (flags & MF_POPUP)
        item.submenu = reinterpret_cast<HMENU>(idOrPopup);
    else
        item.id = UINT(idOrPopup);
    if (text && !(flags & MF_SEPARATOR))
        item.text = text;
    return item;
}

bool ValidItem(const MenuItem& item) {
    return !(item.flags & MF_POPUP) || IsMenu(item.submenu);
}

void ForgetWrapper(HMENU menu) {
    MenuTable& table = Table();
    auto it = table.wrappers.find(menu);
    if (it == table.wrappers.end())
        return;
    it->second->m_hMenu = nullptr; // a wrapper does not own the menu
    table.wrappers.erase(it);
}

// The standard system menu; its texts are the system's own (GBK).
void FillSystemMenu(HMENU menu) {
    AppendMenu(menu, MF_STRING, SC_RESTORE, Utf8ToGbk("还原(&R)").c_str());
    AppendMenu(menu, MF_STRING, SC_MOVE, Utf8ToGbk("移动(&M)").c_str());
    AppendMenu(menu, MF_STRING, SC_SIZE, Utf8ToGbk("大小(&S)").c_str());
    AppendMenu(menu, MF_STRING, SC_MINIMIZE, Utf8ToGbk("最小化(&N)").c_str());
    AppendMenu(menu, MF_STRING, SC_MAXIMIZE, Utf8ToGbk("最大化(&X)").c_str());
    AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenu(menu, MF_STRING, SC_CLOSE, Utf8ToGbk("关闭(&C)\tAlt+F4").c_str());
}

} // namespace

namespace platform {

MenuRecord* FindMenuRecord(HMENU menu) {
    MenuTable& table = Table();
    auto it = table.menus.find(menu);
    return it == table.menus.end() ? nullptr : &it->second;
}

bool IsSystemMenuOf(HWND hwnd, HMENU menu) {
    WindowRecord* record = FindWindowRecord(hwnd);
    return record && menu && record->systemMenu == menu;
}

} // namespace platform

HMENU CreateMenu() {
    return NewMenu(false);
}

HMENU CreatePopupMenu() {
    return NewMenu(true);
}

BOOL DestroyMenu(HMENU menu) {
    MenuRecord* record = FindMenuRecord(menu);
    if (!record)
        return FALSE;
    std::vector<HMENU> submenus;
    for (const MenuItem& item : record->items)
        if (item.submenu)
            submenus.push_back(item.submenu);
    Table().menus.erase(menu);
    ForgetWrapper(menu);
    for (HMENU submenu : submenus)
        DestroyMenu(submenu);
    return TRUE;
}

BOOL IsMenu(HMENU menu) {
    return FindMenuRecord(menu) != nullptr;
}

BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR idOrPopup, LPCSTR text) {
    MenuRecord* record = FindMenuRecord(menu);
    MenuItem item = MakeItem(flags, idOrPopup, text);
    if (!record || !ValidItem(item))
        return FALSE;
    record->items.push_back(std::move(item));
    return TRUE;
}

BOOL InsertMenu(HMENU menu, UINT position, UINT flags, UINT_PTR idOrPopup, LPCSTR text) {
    MenuRecord* record = FindMenuRecord(menu);
    MenuItem item = MakeItem(flags, idOrPopup, text);
    if (!record || !ValidItem(item))
        return FALSE;
    const int at = IndexOf(*record, position, flags);
    record->items.insert(at < 0 ? record->items.end() : record->items.begin() + at,
                         std::move(item));
    return TRUE;
}

BOOL RemoveMenu(HMENU menu, UINT position, UINT flags) {
    MenuRecord* record = FindMenuRecord(menu);
    const int at = record ? IndexOf(*record, position, flags) : -1;
    if (at < 0)
        return FALSE;
    record->items.erase(record->items.begin() + at);
    return TRUE;
}

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags) {
    MenuRecord* record = FindMenuRecord(menu);
    const int at = record ? IndexOf(*record, position, flags) : -1;
    if (at < 0)
        return FALSE;
    HMENU submenu = record->items[size_t(at)].submenu;
    record->items.erase(record->items.begin() + at);
    if (submenu)
        DestroyMenu(submenu);
    return TRUE;
}

BOOL ModifyMenu(HMENU menu, UINT position, UINT flags, UINT_PTR idOrPopup, LPCSTR text) {
    MenuRecord* record = FindMenuRecord(menu);
    const int at = record ? IndexOf(*record, position, flags) : -1;
    MenuItem item = MakeItem(flags, idOrPopup, text);
    if (at < 0 || !ValidItem(item))
        return FALSE;
    record->items[size_t(at)] = std::move(item);
    return TRUE;
}

UINT EnableMenuItem(HMENU menu, UINT item, UINT enable) {
    MenuRecord* record = FindMenuRecord(menu);
    const int at = record ? IndexOf(*record, item, enable) : -1;
    if (at < 0)
        return UINT(-1);
    UINT& flags = record->items[size_t(at)].flags;
    const UINT previous = flags & (MF_GRAYED | MF_DISABLED);
    flags = (flags & ~UINT(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
    return previous;
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT check) {
    MenuRecord* record = FindMenuRecord(menu);
    const int at = record ? IndexOf(*record, item, check) : -1;
    if (at < 0)
        return DWORD(-1);
    UINT& flags = record->items[size_t(at)].flags;
    const DWORD previous = flags & MF_CHECKED;
    flags = (flags & ~UINT(MF_CHECKED)) | (check & MF_CHECKED);
    return previous;
}

int GetMenuItemCount(HMENU menu) {
    MenuRecord* record = FindMenuRecord(menu);
    return record ? int(record->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position) {
    MenuRecord* record = FindMenuRecord(menu);
    if (!record || position < 0 || size_t(position) >= record->items.size())
        return UINT(-1);
    const MenuItem& item = record->items[size_t(position)];
    return item.submenu ? UINT(-1) : item.id;
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
    MenuRecord* record = FindMenuRecord(menu);
    const int at = record ? IndexOf(*record, item, flags) : -1;
    return at < 0 ? UINT(-1) : record->items[size_t(at)].flags;
}

int GetMenuString(HMENU menu, UINT item, LPSTR buffer, int bufferSize, UINT flags) {
    MenuRecord* record = FindMenuRecord(menu);
    const int at = record ? IndexOf(*record, item, flags) : -1;
    if (at < 0)
        return 0;
    const std::string& text = record->items[size_t(at)].text;
    if (!buffer || bufferSize <= 0)
        return int(text.size());
    const int n = std::min<int>(int(text.size()), bufferSize - 1);
    text.copy(buffer, size_t(n));
    buffer[n] = '\0';
    return n;
}

HMENU GetSubMenu(HMENU menu, int position) {
    MenuRecord* record = FindMenuRecord(menu);
    if (!record || position < 0 || size_t(position) >= record->items.size())
        return nullptr;
    return record->items[size_t(position)].submenu;
}

HMENU GetSystemMenu(HWND hwnd, BOOL revert) {
    WindowRecord* record = FindWindowRecord(hwnd);
    if (!record)
        return nullptr;
    if (revert) {
        if (record->systemMenu)
            DestroyMenu(std::exchange(record->systemMenu, nullptr));
        return nullptr;
    }
    if (!record->systemMenu) {
        record->systemMenu = CreatePopupMenu();
        FillSystemMenu(record->systemMenu);
    }
    return record->systemMenu;
}

CMenu::~CMenu() {
    if (m_hMenu)
        ::DestroyMenu(m_hMenu);
}

CMenu* CMenu::FromHandle(HMENU menu) {
    if (!IsMenu(menu))
        return nullptr;
    auto& slot = Table().wrappers[menu];
    if (!slot) {
        slot = std::make_unique<CMenu>();
        slot->m_hMenu = menu;
    }
    return slot.get();
}

BOOL CMenu::Attach(HMENU menu) {
    if (m_hMenu || !IsMenu(menu))
        return FALSE;
    m_hMenu = menu;
    return TRUE;
}

HMENU CMenu::Detach() {
    return std::exchange(m_hMenu, nullptr);
}

BOOL CMenu::DestroyMenu() {
    return ::DestroyMenu(Detach());
}

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT rect) {
    return ::TrackPopupMenu(m_hMenu, flags, x, y, 0, owner ? owner->GetSafeHwnd() : nullptr, rect);
}
