#pragma once

// The music player program "KNMusic.exe": a hidden top-level window titled
// "KNMusic" that takes its commands as WM_COPYDATA. The block is a 32-bit
// owner window followed, when bit 0 of dwData is set, by a text; the command
// is dwData's upper 16 bits:
//   1, 17   the background music: the text's file (or its folder's first
//           sound file) replaces the music that plays; 1 loops it, 17 (bit 4,
//           value 16, set) plays it once
//   0, 16   a sound of the table: the text's file plays once, beside the
//           music and beside the sounds still sounding, as a game's sounds
//           overlap. With an empty text there is nothing to play and nothing
//           stops: the program sends one at start-up, before it names its
//           music, and a player that stopped things there would only cut
//           short what the player hears
//   6       stops the background music (the sounds play to their ends)
// Others are logged and ignored. A sound that has ended leaves the track
// list at the next play. Starting the program (CreateProcess of
// "KNMusic.exe" in any folder) makes the window once, in this process.

#include "outside/MusicTracks.h"
#include "platform/window/Wnd.h"

#include <string>
#include <vector>

class MusicPlayerWindow : public CWnd {
public:
    static constexpr int kCommandStop = 6;
    static constexpr int kMusicBit = 0x01;
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
    // The background music's track, 0 while none plays.
    int MusicTrack() const { return m_tracks.IsPlaying(m_music) ? m_music : 0; }

protected:
    BOOL OnCopyData(CWnd* from, COPYDATASTRUCT* data) override;

private:
    void Run(const Command& command);

    std::vector<Command> m_received;
    MusicTracks m_tracks;
    int m_music = 0;
};

// The running player's window, or null.
MusicPlayerWindow* RunningMusicPlayer();
// Starts it (once): the built-in program's start.
bool StartMusicPlayer(const std::vector<std::string>& args, const std::string& folder);
// Ends it: its window goes and its music stops.
void StopMusicPlayer();
