// A program that uses the library's sound manager as a third party may, and
// ends in the order it is told: it plays every kind of sound the manager
// offers (a wave file, a wave resource, PlaySound, a MIDI sequence, and wave,
// MP3 and MIDI music through the music-player library), checks that each
// one plays, and ends. The test run starts it once for each order and
// output, also under the sanitizers: every run must end with code 0 and no
// report.
//
//   sound_exit ORDER [null|driver]
//     end          the process ends while everything still sounds
//     close        the music closed, the waves and the MIDI stopped, then end
//     close-twice  closed twice, played again (the MIDI sequence in place of
//                  MIDI music), the music closed twice, then end
//     exit         exit() from a message handler while everything sounds
//   null (the default) is the recording device; driver is the display
//   driver's device (SDL's, with SDL_AUDIODRIVER=disk in the test run).

#include "tests/support/MidiBytes.h"
#include "tests/support/ResourceScriptText.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WaveBytes.h"

#include "knclientUI05/SoundManager.h"
#include "platform/display/Display.h"
#include "platform/resources/Resource.h"
#include "platform/sound/Sound.h"
#include "platform/system/Module.h"
#include "platform/window/Wnd.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr const char* kModule = "SoundExit_res.dll";
constexpr UINT kWaveId = 301;
constexpr UINT kExitMessage = WM_USER + 7;
int g_failures = 0;

void Check(bool ok, const std::string& what) {
    printf("%s: %s\n", ok ? "ok" : "FAILED", what.c_str());
    if (!ok)
        ++g_failures;
}

struct Files {
    TempFolder folder;
    std::string wave, tune, voice;
    Files() {
        folder.Write("long.wav", wave_bytes::SilentWave(8000, 60000));
        folder.Write("tune.mid", midi_bytes::Melody({60, 64, 67, 72}, 15000));
        wave = folder.File("long.wav");
        tune = folder.File("tune.mid");
        voice = std::string(PELLOR_ASSET_DIR) + "/sound/gj0-shao0.mp3";
    }
};

// Every channel once; the null device lists each play. The synthesiser
// plays one song at a time: the MIDI sequence and MIDI music take turns.
void PlayEverything(const Files& files, bool listed, bool midiSequence) {
    const size_t before = platform::PlayedSounds().size();
    g_SoundManager.PlayWave(files.wave.c_str(), 0);
    g_SoundManager.LoopWaveRes(kWaveId);
    g_SoundManager.PlayFileSound(files.wave.c_str());
    Check(g_SoundManager.PlayMusic(files.wave.c_str(), 1) > 0, "wave music plays");
    Check(g_SoundManager.PlayMusic(files.voice.c_str(), 0) > 0, "MP3 music plays");
    if (midiSequence)
        g_SoundManager.PlayMidi(files.tune.c_str());
    else
        Check(g_SoundManager.PlayMusic(files.tune.c_str(), 1) > 0, "MIDI music plays");
    g_SoundManager.SetMusicVolume(40);
    Check(g_SoundManager.GetWaveCount() == 2, "both waves are kept while they sound");
    if (listed)
        Check(platform::PlayedSounds().size() - before == 6, "every sound reached the output");
}

void StopEverything() {
    g_SoundManager.CloseAllMusic();
    g_SoundManager.StopWaveRes(kWaveId);
    g_SoundManager.StopMidi();
    PlaySound(nullptr, nullptr, SND_PURGE);
}

// Ends the process from inside the message loop, as a program's handler may.
class ExitingWnd : public CWnd {
protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kExitMessage) {
            fflush(stdout);
            exit(g_failures == 0 ? 0 : 1);
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// The main window lives to the end of the process, as a program's does.
ExitingWnd g_main;

} // namespace

int main(int argc, char** argv) {
    const std::string order = argc > 1 ? argv[1] : "";
    const bool driver = argc > 2 && strcmp(argv[2], "driver") == 0;
    if (order != "end" && order != "close" && order != "close-twice" && order != "exit") {
        fprintf(stderr, "usage: sound_exit end|close|close-twice|exit [null|driver]\n");
        return 2;
    }
    platform::StartDisplay(driver ? platform::DisplayKind::Sdl : platform::DisplayKind::Headless);
    const bool listed =
        platform::StartAudio(driver ? platform::AudioOutput::Driver
                                    : platform::AudioOutput::Null) == platform::AudioOutput::Null;
    Check(driver != listed, driver ? "the driver's device plays" : "the null device plays");
    Check(g_main.CreateEx(0, nullptr, "main", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr),
          "the main window is made");
    AfxSetMainWnd(&g_main);

    static Files files; // kept to the end: the sounds play from them
    files.folder.Write("click.wav", wave_bytes::SilentWave(8000, 30000));
    std::string error;
    Check(RegisterResourceModuleText(kModule, "301 WAVE \"click.wav\"\n", files.folder.Path(),
                                     &error),
          "the wave resource is made " + error);
    AfxSetResourceHandle(LoadLibrary(kModule));

    PlayEverything(files, listed, false);
    if (order == "close" || order == "close-twice") {
        StopEverything();
        Check(g_SoundManager.GetWaveCount() == 1, "only the wave played once is still kept");
    }
    if (order == "close-twice") {
        StopEverything();
        PlayEverything(files, listed, true);
        g_SoundManager.CloseAllMusic();
        g_SoundManager.CloseAllMusic(); // the MIDI sequence and the waves sound on
    }
    // As a program does, it takes its display down as it ends (the audio
    // device with it), before the library's own objects go.
    if (order == "exit") {
        atexit([] { platform::StopDisplay(); });
        g_main.PostMessage(kExitMessage, 0, 0);
        MSG msg;
        while (GetMessage(&msg, nullptr, 0, 0))
            DispatchMessage(&msg);
        Check(false, "the handler ended the process");
    }
    platform::StopDisplay();
    fflush(stdout);
    return g_failures == 0 ? 0 : 1;
}
