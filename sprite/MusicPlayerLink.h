#pragma once
// The link to the outside music player: every table sound and the background
// music go through it. The player itself is an outside component; while none
// is attached the link keeps the last request, so nothing is lost silently.

#include "platform/CString.h"

// The player's entry: the file name and the command
// ((flag 2 = 0 ? 16 : 0) + (flag 1 != 0 ? 1 : 0)).
using MusicPlayerEntry = void (*)(LPCSTR file, int command);

class CMusicPlayerLink {
public:
    // Sends the player the file name with its command.
    void PlayFile(LPCSTR file, int flag1, int flag2);

    static int CommandFor(int flag1, int flag2) { return (flag2 == 0 ? 16 : 0) + (flag1 ? 1 : 0); }

    // The outside player (null: none, the requests are only recorded).
    static void AttachPlayer(MusicPlayerEntry player);

    // The last request made while no player was attached.
    const CString& LastUnplayedFile() const { return m_lastFile; }
    int LastUnplayedCommand() const { return m_lastCommand; }
    int UnplayedCount() const { return m_unplayed; }

private:
    CString m_lastFile;
    int m_lastCommand = 0;
    int m_unplayed = 0;
};
