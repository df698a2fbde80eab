#pragma once

// Stand-ins for the two chat controls: the extended one of the chat pane
// ("KNChatEx.dll") and the older one ("KNChat.dll"). Each is a window of our
// own that accepts the dispatch members the wrappers call, with the types
// they pass, keeps what it is given (server, columns, rows, user fields,
// notify window) and shows its users in a list view along its top (a
// column per caption, as wide as the column table's field, a row per user)
// with the chat lines under it. There is no chat server behind them:
// Connect only records that a connection was asked for, and lines arrive
// through ChatControlReceiveLine.
//
// Column tables (members 47, 49, 88) are read in place during the call from
// the address passed as a pointer-sized integer: u32 total length, u32
// column count, one u32 width per column, then one text field per column of
// exactly its width. A table whose numbers do not add up, or that is longer
// than 1024 bytes, is refused (the member returns FALSE) and changes nothing.

#include "platform/controls/ControlHost.h"
#include "platform/system/Module.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

// The class ids the stand-ins register (the wrappers use the same).
extern const CLSID kChatExControlClsid;
extern const CLSID kChatControlClsid;

enum class ChatControlKind { Extended, Older };

// One member call as the control received it. For members that take a
// column table, the table's bytes as read during the call.
struct ChatControlCall {
    DISPID id = 0;
    WORD flags = 0;
    DispatchArgs args;
    std::string table;
};

struct ChatControlState {
    ChatControlKind kind = ChatControlKind::Extended;
    bool enabled = false;
    std::string serverAddress;
    short serverPort = 0;
    bool connectAsked = false;
    std::vector<UINT> columnWidths;
    std::vector<std::string> columnCaptions;
    // One row per user, a text per column; column 0 is the user name.
    std::vector<std::vector<std::string>> rows;
    HWND userList = nullptr; // the list view that shows the columns and rows
    int ownRow = -1;         // the row entered with EnterRoom, -1 before
    std::string room;
    LONG tableNumber = 0;
    std::vector<std::string> lines;
    size_t lineLimit = 500;
    HWND notifyWindow = nullptr;
    UINT ownLineMessage = 0;                              // a line this user sent
    UINT lineMessage = 0;                                 // a line that arrived
    std::vector<std::pair<std::string, LONG>> userValues; // older control's per-user values
    std::map<DISPID, DispatchValue> properties;           // older control's others, as last written
    std::vector<ChatControlCall> calls;                   // the latest, oldest dropped first
};

// Every member a control of that kind accepts: its id and its one kind of
// call (a method, a property's read or its write).
std::vector<std::pair<DISPID, WORD>> ChatControlMembers(ChatControlKind kind);

// How many calls a stand-in remembers.
constexpr size_t kChatControlCallLimit = 1000;

// The state behind a stand-in's window; null for any other window.
ChatControlState* ChatControlStateOf(HWND control);

// What a chat server and the user would do. A line that arrives goes to the
// notify window (lineMessage, lParam the text), whose owner shows it through
// the control; without a notify window the control shows it itself. A line
// the user sends goes the same way with ownLineMessage. A kick request is
// the control's event 2 with the user name, sent to the control's parent.
void ChatControlReceiveLine(HWND control, LPCSTR text);
void ChatControlSendLine(HWND control, LPCSTR text);
LRESULT ChatControlRequestKick(HWND control, LPCSTR userName);

// The modules that give the controls' file versions: "KNChatEx.dll"
// 2.7.0.13 (every gated member available) and "KNChat.dll" 2.5.1.30.
BuiltinModuleDefinition KNChatExModule();
BuiltinModuleDefinition KNChatModule();

// Registers both modules and both control classes.
void RegisterChatControls();
