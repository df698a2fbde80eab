#pragma once

// The link to the platform's room program: its shared record "KN_ROOM_REC"
// names the room's message window, to which a game can send a short text
// or a wake-up message.

#include "platform/Types.h"

#pragma pack(push, 1)
// The text message sent with WM_COPYDATA (dwData 0xFFF03001).
struct tagROOMTEXT {
    char szText[32]; // at most 31 bytes, NUL-padded
    DWORD dwValue;
    DWORD dwZero;
};
#pragma pack(pop)
static_assert(sizeof(tagROOMTEXT) == 40, "the room text message is 40 bytes");

constexpr DWORD kRoomRecordSize = 42536;
constexpr DWORD kRoomWindowOffset = 13036;
constexpr ULONG_PTR kRoomTextData = 0xFFF03001;
constexpr UINT kRoomWakeMessage = 0x48E;

// 1 when the room's record is mapped.
int OpenRoomRecord();
void CloseRoomRecord();
void WakeRoomWindow();
// 1 when the text was sent to a live room window.
int SendRoomText(LPCSTR text, DWORD value, WPARAM wParam);
// The message for a text: cut to 31 bytes, never inside a double-byte
// character.
tagROOMTEXT MakeRoomText(LPCSTR text, DWORD value);
