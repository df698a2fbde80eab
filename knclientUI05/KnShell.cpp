// The shell: a message box with the caller's icon, the user's mail program,
// and the system image list this desktop does not have.

#include "knclientUI05/KnClientPublic.h"

#include "platform/controls/MessageBox.h"
#include "platform/resources/Resource.h"
#include "platform/system/Environment.h"
#include "platform/system/Registry.h"
#include "platform/system/Shell.h"
#include "platform/window/Window.h"

#include <cstring>
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
    std::string program, command;
    if (!ReadDefaultText(kMailClients, program) ||
        !ReadDefaultText(std::string(kMailClients) + "\\" + program + "\\shell\\open\\command",
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
    ShellExecute(nullptr, "open", first, parameters.empty() ? nullptr : parameters.c_str(), nullptr,
                 SW_SHOWNORMAL);
    return TRUE;
}

HIMAGELIST GetSystemImageList(BOOL /*small*/) {
    // No desktop shell keeps an image list of file types here.
    return nullptr;
}
