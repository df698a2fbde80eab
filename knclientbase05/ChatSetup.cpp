#include "knclientbase05/ChatSetup.h"

#include "knclientbase05/ChatColumnBlock.h"
#include "knclientbase05/KNChat.h"
#include "knclientbase05/LaunchInfo.h"
#include "knclientbase05/MessageBoxes.h"
#include "platform/gdi/Gdi.h"
#include "platform/system/Shell.h"
#include "platform/window/SystemMetrics.h"
#include "platform/window/Window.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr UINT kUserCaption = 29923;
constexpr UINT kNicknameCaption = 29924;
constexpr UINT kFifthCaption = 29927;
constexpr UINT kNameWidth = 20;
constexpr UINT kValueWidth = 16;
constexpr UINT kFifthWidth = 20;

WORD g_frameworkTableNumber = 2;

CString LoadCaption(UINT id) {
    CString text;
    text.LoadString(id);
    return text;
}

// A fixed-size text of the launch record, which need not end in a NUL.
CString RecordText(const char* field, size_t size) {
    return CString(field, int(strnlen(field, size)));
}

} // namespace

WORD GetFrameworkTableNumber() {
    return g_frameworkTableNumber;
}

void SetFrameworkTableNumber(WORD tableNumber) {
    g_frameworkTableNumber = tableNumber;
}

void SetupChatControl(CKNChat* chat, UINT caption3, UINT caption4, LPCSTR text5) {
    if (chat == nullptr)
        return;
    chat->EnableControl(TRUE);
    chat->SetServerAddress(
        RecordText(theLaunchInfo.szChatServer, sizeof theLaunchInfo.szChatServer));
    chat->SetServerPort(short(theLaunchInfo.wChatServerPort));
    chat->Connect();

    const bool hasShortText = caption3 != 0;
    const bool hasNumber = caption4 != 0;
    const bool hasFifth = text5 != nullptr;
    UINT widths[5] = {kNameWidth, kNameWidth};
    int count = 2;
    if (hasShortText)
        widths[count++] = kValueWidth;
    if (hasNumber)
        widths[count++] = kValueWidth;
    if (hasFifth)
        widths[count++] = kFifthWidth;
    CChatColumnBlock block;
    block.SetWidths(widths, count); // at most 120 bytes: always fits

    int column = 0;
    block.SetText(column++, LoadCaption(kUserCaption));
    block.SetText(column++, LoadCaption(kNicknameCaption));
    if (hasShortText)
        block.SetText(column++, LoadCaption(caption3));
    if (hasNumber)
        block.SetText(column++, LoadCaption(caption4));
    if (hasFifth)
        block.SetText(column++, LoadCaption(kFifthCaption));
    chat->SetColumns(block.GetData(), LONG(block.GetLength()));

    column = 0;
    block.SetText(column++, theLaunchInfo.szUserName, sizeof theLaunchInfo.szUserName);
    block.SetText(column++, theLaunchInfo.szNickName, sizeof theLaunchInfo.szNickName);
    if (hasShortText)
        block.SetText(column++, theLaunchInfo.szShortText, sizeof theLaunchInfo.szShortText);
    if (hasNumber) {
        char number[16];
        snprintf(number, sizeof number, "%u", unsigned(theLaunchInfo.dwNumberValue));
        block.SetText(column++, number);
    }
    if (hasFifth)
        block.SetText(column++, text5);
    chat->EnterRoom(block.GetData(), LONG(block.GetLength()),
                    RecordText(theLaunchInfo.szRoom, sizeof theLaunchInfo.szRoom), nullptr, nullptr,
                    LONG(g_frameworkTableNumber), 0);
}

int ShowGameMessage(LPCSTR text, UINT style) {
    return GameMessageBox(text, style, 0);
}

int ShowGameMessageId(UINT stringId, UINT style) {
    return GameMessageBoxId(stringId, style, 0);
}

HINSTANCE OpenDocument(LPCSTR path) {
    return ShellExecute(nullptr, "open", path, nullptr, nullptr, SW_SHOW);
}

int IsLowColorDisplay() {
    // The screen's DC stands for the desktop window's.
    HDC screen = GetDC(nullptr);
    if (screen == nullptr)
        return 1;
    const int bits = GetDeviceCaps(screen, BITSPIXEL);
    ReleaseDC(nullptr, screen);
    return bits < 9 ? 1 : 0;
}

int GetFullScreenWidth() {
    return GetSystemMetrics(SM_CXFULLSCREEN);
}

int GetFullScreenHeight() {
    return GetSystemMetrics(SM_CYFULLSCREEN);
}
