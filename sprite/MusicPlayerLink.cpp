#include "sprite/MusicPlayerLink.h"

namespace {
MusicPlayerEntry g_player = nullptr;
}

void CMusicPlayerLink::AttachPlayer(MusicPlayerEntry player) {
    g_player = player;
}

void CMusicPlayerLink::PlayFile(LPCSTR file, int flag1, int flag2) {
    const int command = CommandFor(flag1, flag2);
    if (g_player) {
        g_player(file ? file : "", command);
        return;
    }
    m_lastFile = file ? file : "";
    m_lastCommand = command;
    ++m_unplayed;
}
