// The chat pane's columns: the caller's column entries become the column
// table of the extended chat control, once with the captions and once with
// the player's own row. Two fixed columns come first: the user name and the
// nickname.
//
// The array is checked before anything reaches the control: more than
// kMaxChatColumns entries, a column of width 0 or a table over the 1,024
// bytes the control reads are refused with 0. Texts longer than their field
// are cut at a character boundary.

#include "Tablehub/EnterGameHandshake.h"
#include "Tablehub/KNChatEx.h"
#include "Tablehub/Tablehub.h"
#include "knclientbase05/ChatColumnBlock.h"
#include "knclientbase05/LaunchInfo.h"

#include <cstring>

namespace {

constexpr UINT kFixedColumnWidth = 20;
constexpr int kFixedColumns = 2;

// Counts the entries before the terminating one, looking at no more than
// one entry past the limit.
int CountEntries(const tagCMDINFO* entries) {
    int count = 0;
    while (count <= kMaxChatColumns && entries[count].lpszCaption != nullptr)
        ++count;
    return count;
}

// The table's layout from the entries; FALSE when the array is refused.
BOOL LayOutTable(const tagCMDINFO* entries, CChatColumnBlock& table) {
    if (entries == nullptr)
        return FALSE;
    const int count = CountEntries(entries);
    if (count > kMaxChatColumns)
        return FALSE;
    UINT widths[kFixedColumns + kMaxChatColumns] = {kFixedColumnWidth, kFixedColumnWidth};
    for (int i = 0; i < count; ++i)
        widths[kFixedColumns + i] = entries[i].nWidth;
    return table.SetWidths(widths, kFixedColumns + count);
}

void WriteCaptions(const tagCMDINFO* entries, CChatColumnBlock& table) {
    table.SetText(0, "用户名");
    table.SetText(1, "昵称");
    for (int i = 0; i + kFixedColumns < table.GetCount(); ++i)
        table.SetText(kFixedColumns + i, entries[i].lpszCaption);
}

void WriteOwnRow(const tagCMDINFO* entries, CChatColumnBlock& table) {
    table.SetText(0, theLaunchInfo.szUserName, sizeof theLaunchInfo.szUserName);
    table.SetText(1, theLaunchInfo.szNickName, sizeof theLaunchInfo.szNickName);
    for (int i = 0; i + kFixedColumns < table.GetCount(); ++i)
        table.SetText(kFixedColumns + i, entries[i].szValue, sizeof entries[i].szValue);
}

// A fixed-size text of the launch record, which need not end in a NUL.
CString RecordText(const char* field, size_t size) {
    return CString(field, int(strnlen(field, size)));
}

} // namespace

int CTablehub::EnterChat(CWnd* chatControl, tagCMDINFO* entries) {
    auto* chat = dynamic_cast<CKNChatEx*>(chatControl);
    CChatColumnBlock table;
    if (chat == nullptr || !LayOutTable(entries, table))
        return 0;

    chat->EnableControl(TRUE);
    chat->SetServerAddress(
        RecordText(theLaunchInfo.szChatServer, sizeof theLaunchInfo.szChatServer));
    chat->SetServerPort(short(theLaunchInfo.wChatServerPort));
    chat->Connect();

    WriteCaptions(entries, table);
    chat->SetColumns(table.GetData(), LONG(table.GetLength()));

    WriteOwnRow(entries, table);
    return chat->EnterRoom(table.GetData(), LONG(table.GetLength()),
                           RecordText(theLaunchInfo.szRoom, sizeof theLaunchInfo.szRoom), "", "",
                           LONG(GetLoginTableNumber()), 0);
}

int CTablehub::UpdateChatField(CWnd* chatControl, tagCMDINFO* entries) {
    auto* chat = dynamic_cast<CKNChatEx*>(chatControl);
    CChatColumnBlock table;
    if (chat == nullptr || !LayOutTable(entries, table))
        return 0;
    WriteOwnRow(entries, table);
    return chat->UpdateUserFields(table.GetData(), LONG(table.GetLength()));
}
