#include "knclientbase05/RoomRecord.h"

#include "knclientbase05/FileVersionText.h"
#include "platform/system/KernelObject.h"
#include "platform/system/SharedMemory.h"
#include "platform/window/Messages.h"
#include "platform/window/Window.h"

#include <cstring>

namespace {

HANDLE roomMapping = nullptr;
BYTE* roomView = nullptr;

// The room window the record names, or null.
HWND RoomWindow() {
    if (roomView == nullptr)
        return nullptr;
    DWORD value;
    memcpy(&value, roomView + kRoomWindowOffset, sizeof value);
    HWND window = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(value));
    return (value != 0 && IsWindow(window)) ? window : nullptr;
}

} // namespace

int OpenRoomRecord() {
    if (roomView != nullptr)
        return 1;
    roomMapping = OpenFileMapping(FILE_MAP_ALL_ACCESS, FALSE, "KN_ROOM_REC");
    if (roomMapping == nullptr)
        return 0;
    roomView =
        static_cast<BYTE*>(MapViewOfFile(roomMapping, FILE_MAP_WRITE, 0, 0, kRoomRecordSize));
    if (roomView == nullptr) {
        CloseHandle(roomMapping);
        roomMapping = nullptr;
        return 0;
    }
    return 1;
}

void CloseRoomRecord() {
    if (roomView != nullptr)
        UnmapViewOfFile(roomView);
    if (roomMapping != nullptr)
        CloseHandle(roomMapping);
    roomView = nullptr;
    roomMapping = nullptr;
}

void WakeRoomWindow() {
    if (HWND window = RoomWindow())
        PostMessage(window, kRoomWakeMessage, 4, 0);
}

tagROOMTEXT MakeRoomText(LPCSTR text, DWORD value) {
    tagROOMTEXT message{};
    StrCopyN(message.szText, text, sizeof message.szText - 1);
    message.dwValue = value;
    return message;
}

int SendRoomText(LPCSTR text, DWORD value, WPARAM wParam) {
    bool openedHere = roomView == nullptr;
    if (openedHere && !OpenRoomRecord())
        return 0;
    int sent = 0;
    if (HWND window = RoomWindow()) {
        tagROOMTEXT message = MakeRoomText(text, value);
        COPYDATASTRUCT data = {kRoomTextData, sizeof message, &message};
        SendMessage(window, WM_COPYDATA, wParam, reinterpret_cast<LPARAM>(&data));
        sent = 1;
    }
    if (openedHere)
        CloseRoomRecord();
    return sent;
}
