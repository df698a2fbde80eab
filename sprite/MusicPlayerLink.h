#pragma once
// The link to the outside music player, a program whose window is titled
// "KNMusic": every table sound and the background music go through it. The
// link finds the window (starting the program from the shared components'
// folder when it is not running) and sends it WM_COPYDATA commands. Nothing
// comes back, and a player that cannot be found or started drops the
// command silently.

#include "platform/CString.h"
#include "platform/window/Messages.h"

class CMusicPlayerLink {
public:
    static constexpr int kCommandStop = 6;
    static constexpr size_t kTextField = 256; // text and its terminator

    // The block the player receives: the owner window, then the text.
#pragma pack(push, 1)
    struct CommandBlock {
        DWORD owner;
        char text[kTextField];
    };
#pragma pack(pop)

    CMusicPlayerLink() = default;
    virtual ~CMusicPlayerLink() = default;

    // Sends the file (or folder) name with its command. A null owner means
    // the application's main window.
    void PlayFile(LPCSTR name, int flag1, int flag2, HWND owner = nullptr);
    void StopMusic(LPCSTR text = "", HWND owner = nullptr);
    // Command number and optional text (null: none; longer than 255
    // characters: cut).
    void Send(HWND owner, LPCSTR text, int command);

    BOOL FindPlayer();
    BOOL StartPlayer();
    // The player's folder: the shared components' path from the registry
    // with "\KNSound" after it; FALSE when unknown or too long for buffer.
    BOOL GetPlayerFolder(LPSTR buffer, size_t size = MAX_PATH);

    static int CommandFor(int flag1, int flag2) {
        return (flag2 == 0 ? 16 : 0) + (flag1 ? 1 : 0);
    }

    HWND m_hOwner = nullptr;
    HWND m_hPlayer = nullptr;
};
