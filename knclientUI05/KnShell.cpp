// The shell: a message box with the caller's icon, the user's mail program
// (or the desktop's mail handler), and the system image list.

#include "knclientUI05/KnClientPublic.h"

#include "platform/controls/ImageList.h"
#include "platform/controls/MessageBox.h"
#include "platform/resources/Resource.h"
#include "platform/system/Environment.h"
#include "platform/system/Registry.h"
#include "platform/system/Shell.h"
#include "platform/window/SystemMetrics.h"
#include "platform/window/Window.h"

#include <cstring>
#include <iterator>
#include <string>

namespace {

constexpr DWORD kValueBuffer = 256;
const char kMailClients[] = "SOFTWARE\\Clients\\Mail";

// The default value (a text) of a key under the local machine; false when
// the key or the value is missing or is no text of at most 256 bytes.
bool ReadDefaultText(const std::string& subKey, std::string& text) {
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    char buffer[kValueBuffer + 1] = {};
    DWORD type = 0, size = kValueBuffer;
    const bool read = RegQueryValueEx(key, nullptr, nullptr, &type,
                                      reinterpret_cast<LPBYTE>(buffer), &size) == ERROR_SUCCESS &&
                      type == REG_SZ;
    RegCloseKey(key);
    if (read)
        text = buffer;
    return read;
}

} // namespace

int ShowIconMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT style, LPCSTR icon,
                       HINSTANCE instance) {
    MSGBOXPARAMS params{};
    params.cbSize = sizeof params;
    params.hwndOwner = owner;
    params.hInstance = instance ? instance : AfxGetResourceHandle();
    params.lpszText = text;
    params.lpszCaption = caption;
    params.dwStyle = style;
    if (icon) {
        params.dwStyle |= MB_USERICON;
        params.lpszIcon = icon;
    }
    return MessageBoxIndirect(&params);
}

BOOL OpenMailClient() {
    // Without a registered mail program the desktop's own mail handler opens
    // a new mail.
    std::string program, command;
    if (!ReadDefaultText(kMailClients, program) || program.empty())
        return INT_PTR(ShellExecute(nullptr, "open", "mailto:", nullptr, nullptr, SW_SHOWNORMAL)) >
               32;
    if (!ReadDefaultText(std::string(kMailClients) + "\\" + program + "\\shell\\open\\command",
                         command))
        return FALSE;
    // A command that does not fit expanded is not started cut short.
    char expanded[kValueBuffer] = {};
    const DWORD needed = ExpandEnvironmentStrings(command.c_str(), expanded, kValueBuffer);
    if (needed == 0 || needed > kValueBuffer)
        return FALSE;
    // "program" option -> program, " option"; "program" "file" rest -> three.
    char* first = SplitToken(expanded, "\"");
    char* second = SplitToken(nullptr, "\"");
    char* third = SplitToken(nullptr, "\"");
    if (!first)
        return FALSE;
    std::string parameters;
    if (third)
        parameters = "\"" + std::string(second) + "\"" + third;
    else if (second)
        parameters = second;
    // Only a program that started counts as opened.
    return INT_PTR(ShellExecute(nullptr, "open", first,
                                parameters.empty() ? nullptr : parameters.c_str(), nullptr,
                                SW_SHOWNORMAL)) > 32;
}

HIMAGELIST GetSystemImageList(BOOL small) {
    // The desktop's system icons, made into a list once a size and shared by
    // every caller for the process, as the shell's own list is.
    static HIMAGELIST lists[2] = {nullptr, nullptr};
    HIMAGELIST& list = lists[small ? 1 : 0];
    if (list != nullptr)
        return list;
    const int size = GetSystemMetrics(small ? SM_CXSMICON : SM_CXICON);
    const LPCSTR icons[] = {IDI_APPLICATION, IDI_HAND, IDI_QUESTION, IDI_EXCLAMATION, IDI_ASTERISK};
    list = ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 0, int(std::size(icons)));
    if (list == nullptr)
        return nullptr;
    // Each icon drawn at the list's size over the key colour, which the list
    // then leaves out.
    constexpr COLORREF kKey = RGB(255, 0, 255);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    for (LPCSTR id : icons) {
        HBITMAP cell = CreateCompatibleBitmap(screen, size, size);
        HGDIOBJ old = SelectObject(dc, cell);
        HBRUSH key = CreateSolidBrush(kKey);
        const RECT all{0, 0, size, size};
        FillRect(dc, &all, key);
        DeleteObject(key);
        DrawIconEx(dc, 0, 0, LoadIcon(nullptr, id), size, size, 0, nullptr, DI_NORMAL);
        SelectObject(dc, old);
        ImageList_AddMasked(list, cell, kKey);
        DeleteObject(cell);
    }
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return list;
}
