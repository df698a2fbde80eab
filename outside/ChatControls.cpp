// The chat control stand-ins: one window class for both controls, the
// state of each window, the members each control accepts and what they do.
//
// All of a window's work happens in its class procedure, reached through
// messages, so the state stays in one place even when this file is linked
// into more than one module of the process.

#include "outside/ChatControls.h"

#include "platform/controls/ControlDefs.h"
#include "platform/gdi/Gdi.h"
#include "platform/text/Text.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>

const CLSID kChatExControlClsid = {
    0x5A8C1E47, 0x2B3D, 0x4F61, {0x9C, 0x0E, 0x71, 0x3A, 0xD2, 0x44, 0x8B, 0x15}};
const CLSID kChatControlClsid = {
    0x5A8C1E46, 0x2B3D, 0x4F61, {0x9C, 0x0E, 0x71, 0x3A, 0xD2, 0x44, 0x8B, 0x15}};

namespace {

constexpr char kWindowClass[] = "ChatControlStandIn";
// Asks a stand-in's window for its state; wParam must be kStateMagic.
constexpr UINT kStateQuery = WM_USER + 0x3A1;
constexpr WPARAM kStateMagic = 0x43484154; // "CHAT"
constexpr LONG kMaxTableLength = 1024;
constexpr size_t kMaxLineLimit = 10000;
// The user list is as tall as this many rows need, at most half the control.
constexpr int kUserListRows = 8;
constexpr int kUserListId = 1;
// A column's byte width at the list font's average character width, and a
// character's room more on each side; 6 when the font cannot be measured.
constexpr int kColumnMarginBytes = 2;
constexpr int kFallbackByteWidth = 6;

// Members as the controls declare them.
enum : DISPID {
    kServerAddress = 18,
    kServerPort = 19,
    kConnect = 35,
    kEnterRoom = 47,
    kSetColumns = 49,
    kLineLimit = 50,
    kAddText = 52,
    kClearLines = 53,
    kEnableControl = 57,
    kSetUserValue = 64,
    kSetUserField = 68,
    kAppendMarkup = 75,
    kSetNotifyWindow = 76,
    kCountUsers = 77,
    kUpdateUserFields = 88,
};

struct Member {
    DISPID id;
    WORD flags;
    VARTYPE result;
    std::vector<VARTYPE> params;
};

constexpr WORD M = DISPATCH_METHOD;
constexpr WORD GET = DISPATCH_PROPERTYGET;
constexpr WORD PUT = DISPATCH_PROPERTYPUT;
constexpr VARTYPE NONE = VT_EMPTY;
constexpr VARTYPE I4REF = VT_I4 | VT_BYREF;

// Members both controls share.
const std::vector<Member>& CommonMembers() {
    static const std::vector<Member> members = {
        {kServerAddress, GET, VT_BSTR, {}},
        {kServerAddress, PUT, NONE, {VT_BSTR}},
        {kServerPort, GET, VT_I2, {}},
        {kServerPort, PUT, NONE, {VT_I2}},
        {kConnect, M, VT_BOOL, {}},
        {kEnterRoom, M, VT_BOOL, {VT_INT_PTR, VT_I4, VT_BSTR, VT_BSTR, VT_BSTR, VT_I4, VT_I4}},
        {kSetColumns, M, VT_BOOL, {VT_INT_PTR, VT_I4}},
        {kEnableControl, M, NONE, {VT_BOOL}},
    };
    return members;
}

const std::vector<Member>& ExtendedMembers() {
    static const std::vector<Member> members = {
        {41, M, NONE, {}},
        {kLineLimit, M, VT_BOOL, {VT_I2}},
        {kAddText, M, NONE, {VT_I4, VT_BSTR}},
        {kClearLines, M, NONE, {}},
        {kSetUserField, M, VT_BOOL, {VT_BSTR, VT_BSTR, VT_BSTR}},
        {70, M, NONE, {VT_BOOL}},
        {kAppendMarkup, M, NONE, {VT_BSTR}},
        {kSetNotifyWindow, M, NONE, {VT_INT_PTR, VT_I4, VT_I4}},
        {kCountUsers, M, NONE, {I4REF}},
        {81, M, NONE, {VT_I4}},
        {82, M, NONE, {VT_BSTR}},
        {83, M, NONE, {VT_I4}},
        {84, M, NONE, {}},
        {85, M, NONE, {VT_BOOL}},
        {86, M, NONE, {VT_BOOL}},
        {87, M, NONE, {VT_BOOL}},
        {kUpdateUserFields, M, VT_BOOL, {VT_INT_PTR, VT_I4}},
    };
    return members;
}

// The older control's properties beyond the server's two, each read and
// written with one type.
void AddOlderProperties(std::vector<Member>& members) {
    const std::pair<VARTYPE, std::vector<DISPID>> byType[] = {
        {VT_I2, {DISPID_BORDERSTYLE, DISPID_APPEARANCE}},
        {VT_I4, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 16, 17, 34}},
        {VT_BOOL, {15}},
        {VT_BSTR, {20, 31, 32}},
        {VT_DISPATCH, {21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 33}},
    };
    for (const auto& [type, ids] : byType) {
        for (DISPID id : ids) {
            members.push_back({id, GET, type, {}});
            members.push_back({id, PUT, NONE, {type}});
        }
    }
}

const std::vector<Member>& OlderMembers() {
    static const std::vector<Member> members = [] {
        constexpr VARTYPE S = VT_BSTR, L = VT_I4, B = VT_BOOL;
        std::vector<Member> list = {
            {36, M, NONE, {}},
            {37, M, NONE, {S, S, S, S, S, L, L}},
            {38, M, NONE, {S, S, S, S}},
            {39, M, NONE, {S, S, S, S, S, L, L}},
            {40, M, B, {S}},
            {41, M, NONE, {}},
            {42, M, NONE, {}},
            {43, M, NONE, {S}},
            {44, M, L, {}},
            {45, M, B, {L, L, S, S, S, L, L}},
            {46, M, B, {L, L, S, S}},
            {48, M, B, {L, B}},
            {50, M, B, {VT_I2}},
            {51, M, B, {S, S}},
            {52, M, NONE, {L, S}},
            {53, M, NONE, {}},
            {54, M, NONE, {}},
            {55, M, NONE, {S}},
            {56, M, B, {}},
            {58, M, NONE, {S}},
            {59, M, NONE, {B}},
            {60, M, NONE, {B}},
            {61, M, B, {S, S, S, S, S}},
            {62, M, B, {S, S, S, S, S, S}},
            {63, M, B, {S, I4REF}},
            {kSetUserValue, M, L, {S, L}},
            {65, M, B, {S, I4REF}},
            {66, M, L, {S, L}},
            {67, M, B, {S, S, L}},
            {68, M, B, {S, S, S}},
            {69, M, B, {S, S, S, S, S, S}},
            {70, M, NONE, {B}},
            {71, M, NONE, {S}},
            {72, M, NONE, {}},
            {73, M, NONE, {B}},
            {74, M, NONE, {B}},
            {DISPID_ABOUTBOX, M, NONE, {}},
        };
        AddOlderProperties(list);
        return list;
    }();
    return members;
}

// What the older control does with the properties it only keeps.
void KeepOlderProperty(ChatControlState& state, const ControlInvocation& call,
                       DispatchValue* result) {
    if (call.flags & DISPATCH_PROPERTYPUT)
        state.properties[call.id] = (*call.args)[0];
    else if (call.flags & DISPATCH_PROPERTYGET)
        *result = state.properties[call.id];
}

// The members both controls share, then the kind's own.
std::array<const std::vector<Member>*, 2> MemberLists(ChatControlKind kind) {
    return {&CommonMembers(),
            kind == ChatControlKind::Extended ? &ExtendedMembers() : &OlderMembers()};
}

const Member* FindMember(ChatControlKind kind, DISPID id, WORD flags) {
    for (const auto* list : MemberLists(kind)) {
        for (const Member& member : *list) {
            if (member.id == id && (member.flags & flags) != 0)
                return &member;
        }
    }
    return nullptr;
}

std::map<HWND, std::unique_ptr<ChatControlState>>& States() {
    static std::map<HWND, std::unique_ptr<ChatControlState>> states;
    return states;
}

ChatControlState* FindState(HWND hwnd) {
    auto it = States().find(hwnd);
    return it == States().end() ? nullptr : it->second.get();
}

// A column table read in place. False when its numbers do not add up.
struct ColumnTable {
    std::vector<UINT> widths;
    std::vector<std::string> texts;
};

DWORD ReadDword(const std::string& bytes, size_t offset) {
    DWORD value;
    memcpy(&value, bytes.data() + offset, 4);
    return value;
}

// The table's bytes, when its address and length can be read at all.
bool CopyTable(const DispatchArgs& args, std::string* bytes) {
    const void* address = args[0].AsPointer();
    const LONG length = args[1].AsI4();
    if (address == nullptr || length < 8 || length > kMaxTableLength)
        return false;
    bytes->assign(static_cast<const char*>(address), size_t(length));
    return true;
}

bool ParseTable(const std::string& bytes, ColumnTable* table) {
    if (bytes.size() < 8 || ReadDword(bytes, 0) != bytes.size())
        return false;
    const DWORD count = ReadDword(bytes, 4);
    if (count > (bytes.size() - 8) / 4)
        return false;
    size_t position = 8 + 4 * size_t(count);
    unsigned long long widthSum = 0;
    std::vector<UINT> widths(count);
    for (DWORD i = 0; i < count; ++i) {
        widths[i] = ReadDword(bytes, 8 + 4 * size_t(i));
        widthSum += widths[i];
    }
    if (position + widthSum != bytes.size())
        return false;
    table->widths = widths;
    table->texts.clear();
    for (UINT width : widths) {
        const char* field = bytes.data() + position;
        table->texts.emplace_back(field, strnlen(field, width));
        position += width;
    }
    return true;
}

int FindColumn(const ChatControlState& state, const std::string& caption) {
    for (size_t i = 0; i < state.columnCaptions.size(); ++i) {
        if (state.columnCaptions[i] == caption)
            return int(i);
    }
    return -1;
}

int FindRow(const ChatControlState& state, const std::string& user) {
    for (size_t i = 0; i < state.rows.size(); ++i) {
        if (!state.rows[i].empty() && state.rows[i][0] == user)
            return int(i);
    }
    return -1;
}

void TrimLines(ChatControlState& state) {
    if (state.lines.size() > state.lineLimit)
        state.lines.erase(state.lines.begin(),
                          state.lines.begin() + long(state.lines.size() - state.lineLimit));
}

void AddLine(ChatControlState& state, const std::string& line) {
    state.lines.push_back(line);
    TrimLines(state);
}

BOOL SetColumns(ChatControlState& state, const std::string& bytes) {
    ColumnTable table;
    if (!ParseTable(bytes, &table))
        return FALSE;
    state.columnWidths = table.widths;
    state.columnCaptions = table.texts;
    state.rows.clear();
    state.ownRow = -1;
    return TRUE;
}

// The own row of a room entry or an update: it must fit the columns.
bool ReadOwnRow(const ChatControlState& state, const std::string& bytes,
                std::vector<std::string>* row) {
    ColumnTable table;
    if (!ParseTable(bytes, &table) || state.columnWidths.empty() ||
        table.widths != state.columnWidths || table.texts.empty())
        return false;
    *row = table.texts;
    return true;
}

BOOL EnterRoom(ChatControlState& state, const std::string& bytes, const DispatchArgs& args) {
    std::vector<std::string> row;
    if (!ReadOwnRow(state, bytes, &row))
        return FALSE;
    state.room = args[2].text.GetString();
    state.tableNumber = args[5].AsI4();
    int index = FindRow(state, row[0]);
    if (index < 0) {
        state.rows.push_back(row);
        index = int(state.rows.size() - 1);
    } else {
        state.rows[size_t(index)] = row;
    }
    state.ownRow = index;
    return TRUE;
}

BOOL UpdateOwnRow(ChatControlState& state, const std::string& bytes) {
    std::vector<std::string> row;
    if (state.ownRow < 0 || !ReadOwnRow(state, bytes, &row))
        return FALSE;
    state.rows[size_t(state.ownRow)] = row;
    return TRUE;
}

BOOL SetUserField(ChatControlState& state, const DispatchArgs& args) {
    const int column = FindColumn(state, args[1].text.GetString());
    if (column < 0 || args[0].text.IsEmpty())
        return FALSE;
    int row = FindRow(state, args[0].text.GetString());
    if (row < 0) {
        state.rows.emplace_back(state.columnCaptions.size());
        state.rows.back()[0] = args[0].text.GetString();
        row = int(state.rows.size() - 1);
    }
    state.rows[size_t(row)][size_t(column)] = args[2].text.GetString();
    return TRUE;
}

LONG SetUserValue(ChatControlState& state, const DispatchArgs& args) {
    const std::string user = args[0].text.GetString();
    for (auto& [name, value] : state.userValues) {
        if (name == user) {
            value = args[1].AsI4();
            return 1;
        }
    }
    state.userValues.emplace_back(user, args[1].AsI4());
    return 1;
}

// ---- the user list ----

int PixelsPerByte(HWND list) {
    int width = 0;
    if (HDC dc = ::GetDC(list)) {
        HGDIOBJ before = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
        TEXTMETRIC metrics{};
        if (::GetTextMetrics(dc, &metrics))
            width = int(metrics.tmAveCharWidth);
        ::SelectObject(dc, before);
        ::ReleaseDC(list, dc);
    }
    return width > 0 ? width : kFallbackByteWidth;
}

HWND CreateUserList(HWND control) {
    HWND list = ::CreateWindowEx(0, WC_LISTVIEW, "", WS_CHILD | LVS_REPORT, 0, 0, 0, 0, control,
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kUserListId)),
                                 nullptr, nullptr);
    if (list != nullptr)
        ::SendMessage(list, WM_SETFONT,
                      reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return list;
}

// Along the control's top, shown once there are columns.
void PlaceUserList(HWND control, const ChatControlState& state) {
    if (state.userList == nullptr)
        return;
    RECT client;
    ::GetClientRect(control, &client);
    const LRESULT needed = ::SendMessage(state.userList, LVM_APPROXIMATEVIEWRECT, kUserListRows,
                                         MAKELPARAM(client.right, 0xFFFF));
    const int height = std::min(int(HIWORD(needed)), int(client.bottom / 2));
    const UINT show = state.columnCaptions.empty() ? SWP_HIDEWINDOW : SWP_SHOWWINDOW;
    ::SetWindowPos(state.userList, nullptr, 0, 0, client.right, height,
                   SWP_NOZORDER | SWP_NOACTIVATE | show);
    ::EnableWindow(state.userList, state.enabled);
}

void ShowColumns(const ChatControlState& state) {
    HWND list = state.userList;
    if (list == nullptr)
        return;
    ::SendMessage(list, LVM_DELETEALLITEMS, 0, 0);
    while (::SendMessage(list, LVM_DELETECOLUMN, 0, 0)) {
    }
    const int perByte = PixelsPerByte(list);
    for (size_t i = 0; i < state.columnCaptions.size(); ++i) {
        LVCOLUMN column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = int(state.columnWidths[i] + kColumnMarginBytes) * perByte;
        column.pszText = const_cast<char*>(state.columnCaptions[i].c_str());
        ::SendMessage(list, LVM_INSERTCOLUMN, i, reinterpret_cast<LPARAM>(&column));
    }
}

// The list's rows follow the kept rows: rows are only added or all cleared.
void ShowRows(const ChatControlState& state) {
    HWND list = state.userList;
    if (list == nullptr)
        return;
    if (size_t(::SendMessage(list, LVM_GETITEMCOUNT, 0, 0)) > state.rows.size())
        ::SendMessage(list, LVM_DELETEALLITEMS, 0, 0);
    const size_t shown = size_t(::SendMessage(list, LVM_GETITEMCOUNT, 0, 0));
    for (size_t i = 0; i < state.rows.size(); ++i) {
        if (i >= shown) {
            LVITEM item{};
            item.mask = LVIF_TEXT;
            item.iItem = int(i);
            item.pszText = const_cast<char*>("");
            ::SendMessage(list, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item));
        }
        for (size_t c = 0; c < state.rows[i].size(); ++c) {
            LVITEM cell{};
            cell.iSubItem = int(c);
            cell.pszText = const_cast<char*>(state.rows[i][c].c_str());
            ::SendMessage(list, LVM_SETITEMTEXT, i, reinterpret_cast<LPARAM>(&cell));
        }
    }
}

bool TakesTable(DISPID id) {
    return id == kEnterRoom || id == kSetColumns || id == kUpdateUserFields;
}

HRESULT Invoke(HWND hwnd, ChatControlState& state, const ControlInvocation& call) {
    const Member* member = FindMember(state.kind, call.id, call.flags);
    if (member == nullptr)
        return DISP_E_MEMBERNOTFOUND;
    const DispatchArgs& args = *call.args;
    if (args.size() != member->params.size())
        return DISP_E_BADPARAMCOUNT;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i].type != member->params[i])
            return DISP_E_TYPEMISMATCH;
    }

    ChatControlCall record{call.id, call.flags, args, {}};
    const bool tableRead = TakesTable(call.id) && CopyTable(args, &record.table);
    const std::string table = record.table;
    state.calls.push_back(std::move(record));
    if (state.calls.size() > kChatControlCallLimit)
        state.calls.erase(state.calls.begin());

    DispatchValue result;
    switch (call.id) {
    case kServerAddress:
        if (call.flags & DISPATCH_PROPERTYGET)
            result = DispatchValue::Text(state.serverAddress.c_str());
        else
            state.serverAddress = args[0].text.GetString();
        break;
    case kServerPort:
        if (call.flags & DISPATCH_PROPERTYGET)
            result = DispatchValue::I2(state.serverPort);
        else
            state.serverPort = args[0].AsI2();
        break;
    case kConnect:
        // No server: a connection counts as asked for when there is somewhere to go.
        state.connectAsked = state.enabled && !state.serverAddress.empty() && state.serverPort != 0;
        result = DispatchValue::Bool(state.connectAsked);
        break;
    case kEnableControl:
        state.enabled = args[0].AsBool() != FALSE;
        break;
    case kSetColumns:
        result = DispatchValue::Bool(tableRead && SetColumns(state, table));
        break;
    case kEnterRoom:
        result = DispatchValue::Bool(tableRead && EnterRoom(state, table, args));
        break;
    default:
        break;
    }
    if (state.kind == ChatControlKind::Extended) {
        switch (call.id) {
        case kUpdateUserFields:
            result = DispatchValue::Bool(tableRead && UpdateOwnRow(state, table));
            break;
        case kSetUserField:
            result = DispatchValue::Bool(SetUserField(state, args));
            break;
        case kLineLimit: {
            const short limit = args[0].AsI2();
            state.lineLimit = std::clamp<size_t>(limit > 0 ? size_t(limit) : 1, 1, kMaxLineLimit);
            TrimLines(state);
            result = DispatchValue::Bool(TRUE);
            break;
        }
        case kAddText:
            AddLine(state, args[1].text.GetString());
            break;
        case kAppendMarkup:
            AddLine(state, args[0].text.GetString());
            break;
        case kClearLines:
            state.lines.clear();
            break;
        case kSetNotifyWindow:
            state.notifyWindow = reinterpret_cast<HWND>(args[0].AsIntPtr());
            state.ownLineMessage = UINT(args[1].AsI4());
            state.lineMessage = UINT(args[2].AsI4());
            break;
        case kCountUsers:
            if (args[0].reference)
                *args[0].reference = LONG(state.rows.size());
            break;
        default:
            break;
        }
    } else if (call.id == kSetUserValue) {
        result = DispatchValue::I4(SetUserValue(state, args));
    } else if (call.id != kServerAddress && call.id != kServerPort) {
        KeepOlderProperty(state, call, &result);
    }
    if (member->result != NONE && call.result)
        *call.result = result.IsEmpty() ? DispatchValue() : result;
    if (call.id == kSetColumns && result.AsBool()) {
        ShowColumns(state);
        PlaceUserList(hwnd, state);
    }
    if (call.id == kEnableControl)
        PlaceUserList(hwnd, state);
    ShowRows(state);
    ::InvalidateRect(hwnd, nullptr, TRUE);
    return S_OK;
}

// How a line is drawn: the control's markup "<s=size,c=#RR#GG#BB,b>" sets
// the point size, the colour and bold for the text after it; a line break
// in front of it only starts the line.
struct LineLook {
    int points = 9;
    COLORREF colour = RGB(0, 0, 0);
    bool bold = false;
    bool styled = false;
};

int HexByte(const std::string& text, size_t at) {
    if (at + 2 > text.size() || !isxdigit(static_cast<unsigned char>(text[at])) ||
        !isxdigit(static_cast<unsigned char>(text[at + 1])))
        return -1;
    return int(strtol(text.substr(at, 2).c_str(), nullptr, 16));
}

// Takes the markup off the line; an unknown tag is left as text.
std::string ParseLine(const std::string& raw, LineLook* look) {
    std::string text = raw;
    while (!text.empty() && (text[0] == '\r' || text[0] == '\n'))
        text.erase(0, 1);
    if (text.size() < 3 || text[0] != '<')
        return text;
    const size_t end = text.find('>');
    if (end == std::string::npos)
        return text;
    LineLook found;
    size_t at = 1;
    while (at < end) {
        size_t next = text.find(',', at);
        if (next == std::string::npos || next > end)
            next = end;
        const std::string item = text.substr(at, next - at);
        if (item.rfind("s=", 0) == 0 && item.size() > 2 &&
            isdigit(static_cast<unsigned char>(item[2]))) {
            found.points = std::clamp(atoi(item.c_str() + 2), 6, 36);
        } else if (item.rfind("c=", 0) == 0 && item.size() == 11 && item[2] == '#' &&
                   item[5] == '#' && item[8] == '#') {
            const int r = HexByte(item, 3), g = HexByte(item, 6), b = HexByte(item, 9);
            if (r < 0 || g < 0 || b < 0)
                return text;
            found.colour = RGB(r, g, b);
        } else if (item == "b") {
            found.bold = true;
        } else {
            return text;
        }
        at = next + 1;
    }
    found.styled = true;
    *look = found;
    return text.substr(end + 1);
}

// The chat lines under the user list, newest line at the bottom.
void Paint(HWND hwnd, const ChatControlState& state) {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(hwnd, &paint);
    if (dc == nullptr)
        return;
    RECT client;
    ::GetClientRect(hwnd, &client);
    ::FillRect(dc, &client, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, state.enabled ? RGB(0, 0, 0) : RGB(128, 128, 128));
    TEXTMETRIC metrics{};
    const int lineHeight =
        ::GetTextMetrics(dc, &metrics) && metrics.tmHeight > 0 ? int(metrics.tmHeight) + 2 : 16;
    int y = 2;
    RECT list{};
    if (state.userList != nullptr && ::IsWindowVisible(state.userList) &&
        ::GetWindowRect(state.userList, &list)) {
        POINT bottom{list.left, list.bottom};
        ::ScreenToClient(hwnd, &bottom);
        y = int(bottom.y);
    }
    RECT separator{client.left, y, client.right, y + 1};
    ::FillRect(dc, &separator, static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH)));
    const int top = y + 3;
    // Newest line at the bottom; a line wider than the control wraps, and
    // the oldest line that no longer fits whole is left off.
    int bottom = client.bottom - 2;
    for (auto it = state.lines.rbegin(); it != state.lines.rend() && bottom > top; ++it) {
        LineLook look;
        const std::string text = ParseLine(*it, &look);
        HFONT font = nullptr;
        HGDIOBJ before = nullptr;
        if (look.styled) {
            // Points at 96 dots an inch.
            font = ::CreateFont(look.points * 4 / 3, 0, 0, 0, look.bold ? 700 : 400, 0, 0, 0, 134,
                                0, 0, 0, 0, "宋体");
            before = ::SelectObject(dc, font);
            ::SetTextColor(dc, state.enabled ? look.colour : RGB(128, 128, 128));
        }
        const UINT format = DT_LEFT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX;
        RECT area{client.left + 4, 0, client.right - 4, 0};
        const int height =
            std::max(::DrawText(dc, text.c_str(), int(text.size()), &area, format | DT_CALCRECT),
                     lineHeight);
        const bool fits = bottom - height >= top;
        if (fits) {
            area = RECT{client.left + 4, bottom - height, client.right - 4, bottom};
            ::DrawText(dc, text.c_str(), int(text.size()), &area, format);
        }
        if (look.styled) {
            ::SelectObject(dc, before);
            ::DeleteObject(font);
            ::SetTextColor(dc, state.enabled ? RGB(0, 0, 0) : RGB(128, 128, 128));
        }
        if (!fits)
            break;
        bottom -= height;
    }
    ::EndPaint(hwnd, &paint);
}

LRESULT CALLBACK ChatControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: {
        auto state = std::make_unique<ChatControlState>();
        const auto* cs = reinterpret_cast<const CREATESTRUCT*>(lParam);
        state->kind = cs && cs->lpCreateParams ? ChatControlKind::Older : ChatControlKind::Extended;
        ChatControlState& kept = *state;
        States()[hwnd] = std::move(state);
        kept.userList = CreateUserList(hwnd);
        return 0;
    }
    case WM_SIZE:
        if (ChatControlState* state = FindState(hwnd))
            PlaceUserList(hwnd, *state);
        break;
    case WM_NCDESTROY:
        States().erase(hwnd);
        break;
    case WM_PAINT:
        if (ChatControlState* state = FindState(hwnd)) {
            Paint(hwnd, *state);
            return 0;
        }
        break;
    case WM_CONTROLINVOKE: {
        auto* call = reinterpret_cast<ControlInvocation*>(lParam);
        ChatControlState* state = FindState(hwnd);
        if (call == nullptr || call->args == nullptr || state == nullptr)
            return 0;
        call->hr = Invoke(hwnd, *state, *call);
        return 1;
    }
    case kStateQuery:
        if (wParam == kStateMagic)
            return reinterpret_cast<LRESULT>(FindState(hwnd));
        break;
    default:
        break;
    }
    return ::DefWindowProc(hwnd, message, wParam, lParam);
}

void RegisterWindowClass() {
    WNDCLASS wc{};
    wc.lpfnWndProc = ChatControlProc;
    wc.lpszClassName = kWindowClass;
    ::RegisterClass(&wc); // already there when another module registered it first
}

HWND CreateChatWindow(const ControlCreateParams& params, ChatControlKind kind) {
    RegisterWindowClass();
    const RECT& r = params.rect;
    // The kind travels as the creation parameter: null for the extended control.
    LPVOID kindParam = kind == ChatControlKind::Older ? reinterpret_cast<LPVOID>(1) : nullptr;
    return ::CreateWindowEx(0, kWindowClass, params.windowName, params.style, r.left, r.top,
                            r.right - r.left, r.bottom - r.top, params.parent,
                            reinterpret_cast<HMENU>(static_cast<UINT_PTR>(params.id)), nullptr,
                            kindParam);
}

HWND CreateExtended(const ControlCreateParams& params) {
    return CreateChatWindow(params, ChatControlKind::Extended);
}

HWND CreateOlder(const ControlCreateParams& params) {
    return CreateChatWindow(params, ChatControlKind::Older);
}

void Notify(HWND control, LPCSTR text, bool own) {
    ChatControlState* state = ChatControlStateOf(control);
    if (state == nullptr || text == nullptr)
        return;
    const UINT message = own ? state->ownLineMessage : state->lineMessage;
    if (state->notifyWindow && ::IsWindow(state->notifyWindow) && message != 0) {
        ::SendMessage(state->notifyWindow, message, 0, reinterpret_cast<LPARAM>(text));
        return;
    }
    // Looked up again: the notify window may have destroyed the control.
    if ((state = ChatControlStateOf(control)) != nullptr) {
        AddLine(*state, text);
        ::InvalidateRect(control, nullptr, TRUE);
    }
}

BuiltinModuleDefinition ChatModule(const char* fileName, std::initializer_list<WORD> version,
                                   const char* description) {
    BuiltinModuleDefinition module;
    module.fileName = fileName;
    std::copy(version.begin(), version.end(), module.version);
    module.versionStrings = {{"FileDescription", description}, {"ProductName", description}};
    return module;
}

} // namespace

ChatControlState* ChatControlStateOf(HWND control) {
    if (!::IsWindow(control))
        return nullptr;
    return reinterpret_cast<ChatControlState*>(::SendMessage(control, kStateQuery, kStateMagic, 0));
}

void ChatControlReceiveLine(HWND control, LPCSTR text) {
    Notify(control, text, false);
}

void ChatControlSendLine(HWND control, LPCSTR text) {
    Notify(control, text, true);
}

LRESULT ChatControlRequestKick(HWND control, LPCSTR userName) {
    if (ChatControlStateOf(control) == nullptr)
        return 0;
    return FireControlEvent(control, 2, DispatchArgs{DispatchValue::Text(userName)});
}

std::vector<std::pair<DISPID, WORD>> ChatControlMembers(ChatControlKind kind) {
    std::vector<std::pair<DISPID, WORD>> members;
    for (const auto* list : MemberLists(kind)) {
        for (const Member& member : *list)
            members.emplace_back(member.id, member.flags);
    }
    return members;
}

BuiltinModuleDefinition KNChatExModule() {
    return ChatModule("KNChatEx.dll", {2, 7, 0, 13}, "KNChatEx");
}

BuiltinModuleDefinition KNChatModule() {
    return ChatModule("KNChat.dll", {2, 5, 1, 30}, "KNChat");
}

void RegisterChatControls() {
    RegisterBuiltinModule(KNChatExModule());
    RegisterBuiltinModule(KNChatModule());
    RegisterControlClass({kChatExControlClsid, "KNChatEx.KNChatExCtrl.1", CreateExtended});
    RegisterControlClass({kChatControlClsid, "KNChat.KNChatCtrl.1", CreateOlder});
}
