#include "sprite/MusicPlayerLink.h"

#include "platform/system/KernelObject.h"
#include "platform/system/Process.h"
#include "platform/system/Registry.h"
#include "platform/window/Window.h"
#include "platform/window/Wnd.h"

#include <cstdio>
#include <cstring>

namespace {

const char kShareKey[] = "Software\\Quillane\\Game\\Share";
const char kPlayerTitle[] = "KNMusic";

// Window handles here are small counters, so they fit the block's 32 bits.
DWORD WindowField(HWND window) {
    return DWORD(uintptr_t(window));
}

} // namespace

void CMusicPlayerLink::PlayFile(LPCSTR name, int flag1, int flag2, HWND owner) {
    Send(owner, name, CommandFor(flag1, flag2));
}

void CMusicPlayerLink::StopMusic(LPCSTR text, HWND owner) {
    Send(owner, text, kCommandStop);
}

void CMusicPlayerLink::Send(HWND owner, LPCSTR text, int command) {
    if (!owner) {
        if (!m_hPlayer) {
            CWnd* main = AfxGetMainWnd();
            m_hOwner = main ? main->m_hWnd : nullptr;
        }
        owner = m_hOwner;
    }
    CommandBlock block{};
    block.owner = WindowField(owner);
    COPYDATASTRUCT data{};
    data.dwData = ULONG_PTR(command) << 16;
    data.cbData = sizeof block.owner;
    if (text) {
        const size_t length = strnlen(text, kTextField - 1);
        memcpy(block.text, text, length);
        data.dwData |= 1;
        data.cbData += DWORD(length + 1);
    }
    data.lpData = &block;
    if (FindPlayer())
        ::SendMessage(m_hPlayer, WM_COPYDATA, 0, LPARAM(&data));
}

BOOL CMusicPlayerLink::GetPlayerFolder(LPSTR buffer, size_t size) {
    HKEY key = nullptr;
    if (!buffer || RegOpenKeyEx(HKEY_CURRENT_USER, kShareKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return FALSE;
    char path[MAX_PATH] = {};
    DWORD bytes = sizeof path - 1;
    DWORD type = 0;
    const bool read = RegQueryValueEx(key, "path", nullptr, &type, reinterpret_cast<LPBYTE>(path),
                                      &bytes) == ERROR_SUCCESS;
    RegCloseKey(key);
    if (!read)
        return FALSE;
    // A path that leaves no room for the folder's name is refused, not cut.
    const int length = snprintf(buffer, size, "%s\\KNSound", path);
    return length > 0 && size_t(length) < size;
}

BOOL CMusicPlayerLink::StartPlayer() {
    char folder[MAX_PATH];
    if (!GetPlayerFolder(folder, sizeof folder))
        return FALSE;
    // Quoted, so that a folder with blanks names the player and no other
    // program.
    char commandLine[MAX_PATH + 16];
    snprintf(commandLine, sizeof commandLine, "\"%s\\KNMusic.exe\"", folder);
    STARTUPINFO startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcess(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, folder, &startup,
                       &process))
        return FALSE;
    const DWORD idle = WaitForInputIdle(process.hProcess, 200);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return idle == 0;
}

BOOL CMusicPlayerLink::FindPlayer() {
    if (m_hPlayer && IsWindow(m_hPlayer))
        return TRUE;
    m_hPlayer = FindWindow(nullptr, kPlayerTitle);
    if (!m_hPlayer && StartPlayer())
        m_hPlayer = FindWindow(nullptr, kPlayerTitle);
    return m_hPlayer != nullptr;
}
