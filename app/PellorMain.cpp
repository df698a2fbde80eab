// Pellor: the game program. The lobby starts it with the launch record (13
// or 14 arguments, or one naming the shared block that holds it). With a
// display the player plays in a window; without one the seat plays one game
// under trusteeship (see HeadlessPlay.h).

#include "app/GameApp.h"
#include "app/HeadlessPlay.h"
#include "app/MainFrame.h"
#include "platform/CodePage.h"
#include "platform/display/Display.h"
#include "platform/net/Winsock.h"
#include "sprite/AppServices.h"

#include <cstdio>
#include <memory>

namespace {

const char kUsage[] =
    "usage: Pellor SEAT USER NICKNAME TICKET VALUE ROOM GAME-SERVER GAME-PORT EXTRA\n"
    "              CHAT-SERVER CHAT-PORT LEVEL NUMBER [OPTION]\n"
    "       Pellor SHARED-BLOCK-NAME\n"
    "The game lobby (or scripts/run.sh) starts Pellor with the launch record.\n";

// Start-up failures go to the error output (and to the log, unless start-up
// logged them already).
void Tell(const char* text) {
    fprintf(stderr, "Pellor: %s\n", platform::GbkToUtf8(text).c_str());
}
void Refuse(const char* text) {
    WriteLog("%s", text);
    Tell(text);
}

} // namespace

int main(int argc, char** argv) {
    (void)argv;
    // A launch record of the wrong length fails where the game is entered:
    // logged and shown to the user like any failed entry.
    const bool launchRecordShape = argc == 2 || argc == 14 || argc == 15;
    const platform::DisplayKind display = platform::StartDisplay();
    AfxSocketInit();
    const bool unattended = display != platform::DisplayKind::Sdl;
    theApp.m_bUnattended = unattended;
    if (!theApp.InitInstance()) {
        Tell(theApp.m_strStartFailure);
        if (!launchRecordShape)
            fputs(kUsage, stderr);
        theApp.ExitInstance();
        platform::StopDisplay();
        return 1;
    }
    std::unique_ptr<CHeadlessPlay> play;
    if (unattended) {
        play = std::make_unique<CHeadlessPlay>();
        if (!play->Start(CHeadlessPlay::Options{}))
            Refuse("无人值守的对局不能开始");
    }
    const int code = theApp.Run();
    play.reset();
    theApp.ExitInstance();
    platform::StopDisplay();
    return code;
}
