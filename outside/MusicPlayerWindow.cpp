// The music player program's window.

#include "outside/MusicPlayerWindow.h"

#include "platform/window/Window.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>

namespace {

std::unique_ptr<MusicPlayerWindow> g_player;

} // namespace

BOOL MusicPlayerWindow::OnCopyData(CWnd*, COPYDATASTRUCT* data) {
    // The block is read only as far as its stated size.
    if (!data || !data->lpData || data->cbData < sizeof(DWORD)) {
        fprintf(stderr, "music player: a command without its owner block; ignored\n");
        return FALSE;
    }
    const auto* bytes = static_cast<const char*>(data->lpData);
    Command command{int(data->dwData >> 16), 0, (data->dwData & 1) != 0, std::string()};
    memcpy(&command.owner, bytes, sizeof command.owner);
    if (command.hasText) {
        const size_t room = data->cbData - sizeof(DWORD);
        command.text.assign(bytes + sizeof(DWORD), strnlen(bytes + sizeof(DWORD), room));
    }
    m_received.push_back(command);
    Run(command);
    return TRUE;
}

void MusicPlayerWindow::Run(const Command& command) {
    const int value = command.command;
    if (value == kCommandStop) {
        m_tracks.StopId(std::exchange(m_music, 0));
        return;
    }
    if ((value & ~(kMusicBit | kOnceBit)) != 0) {
        fprintf(stderr, "music player: unknown command %d; ignored\n", value);
        return;
    }
    if (value & kMusicBit) {
        m_tracks.StopId(std::exchange(m_music, 0));
        m_music = m_tracks.Play(command.text, (value & kOnceBit) == 0);
        return;
    }
    if (!command.text.empty())
        m_tracks.Play(command.text, false);
}

MusicPlayerWindow* RunningMusicPlayer() {
    return g_player && IsWindow(g_player->m_hWnd) ? g_player.get() : nullptr;
}

bool StartMusicPlayer(const std::vector<std::string>&, const std::string&) {
    if (RunningMusicPlayer())
        return true;
    auto player = std::make_unique<MusicPlayerWindow>();
    if (!player->CreateEx(0, AfxRegisterWndClass(0), "KNMusic", WS_POPUP, 0, 0, 0, 0, nullptr,
                          nullptr))
        return false;
    g_player = std::move(player);
    return true;
}

void StopMusicPlayer() {
    if (g_player && IsWindow(g_player->m_hWnd))
        g_player->DestroyWindow();
    g_player.reset();
}
