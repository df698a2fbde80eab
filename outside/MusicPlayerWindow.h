#pragma once

// The music player program "KNMusic.exe": a hidden top-level window titled
// "KNMusic" that takes its commands as WM_COPYDATA. The block is a 32-bit
// owner window followed, when bit 0 of dwData is set, by a text; the command
// is dwData's upper 16 bits:
//   bit 0 (1)   play the text's file (or its folder's first sound file),
//               replacing what plays; bit 4 (16) set plays it once, clear
//               loops it
//   0 or 16     stop (nothing to play)
//   6           stop
// Others are logged and ignored. Starting the program (CreateProcess of
// "KNMusic.exe" in any folder) makes the window once, in this process.

#include "outside/MusicTracks.h"
#include "platform/window/Wnd.h"

#include <string>
#include <vector>

class MusicPlayerWindow : public CWnd {
public:
    static constexpr int kCommandStop = 6;
    static constexpr int kPlayBit = 0x01;
    static constexpr int kOnceBit = 0x10;

    struct Command {
        int command;
        DWORD owner;
        bool hasText;
        std::string text;
    };

    // What it was sent, oldest first, and what it plays.
    const std::vector<Command>& Received() const { return m_received; }
    MusicTracks& Tracks() { return m_tracks; }
    int CurrentTrack() const { return m_current; }

protected:
    BOOL OnCopyData(CWnd* from, COPYDATASTRUCT* data) override;

private:
    void Run(const Command& command);

    std::vector<Command> m_received;
    MusicTracks m_tracks;
    int m_current = 0;
};

// The running player's window, or null.
MusicPlayerWindow* RunningMusicPlayer();
// Starts it (once): the built-in program's start.
bool StartMusicPlayer(const std::vector<std::string>& args, const std::string& folder);
// Ends it: its window goes and its music stops.
void StopMusicPlayer();
