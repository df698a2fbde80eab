// "KNMPDll.dll": the music-player library. It plays wave, MP3 and MIDI files
// (known by their bytes) through the platform's sound output; each play is a
// track with an id. The value given with a play asks for a loop when it is
// not 0; volumes are 0..100; the library answers only after its initialiser
// has run.

#include "outside/MusicTracks.h"
#include "outside/OutsideModules.h"

#include <memory>

namespace {

std::unique_ptr<MusicTracks> g_tracks; // made by the initialiser

int WINAPI Init() {
    if (!g_tracks)
        g_tracks = std::make_unique<MusicTracks>();
    return 1;
}

int WINAPI IsValid() {
    return g_tracks ? 1 : 0;
}

int WINAPI PlayFile(char* name, int loop) {
    return g_tracks && name ? g_tracks->Play(name, loop != 0) : 0;
}

void WINAPI StopPlayName(char* name) {
    if (g_tracks && name)
        g_tracks->StopName(name);
}

void WINAPI StopPlayId(int id) {
    if (g_tracks)
        g_tracks->StopId(id);
}

void WINAPI CloseAll() {
    if (g_tracks)
        g_tracks->StopAll();
}

void WINAPI SetVolume(int volume) {
    if (g_tracks)
        g_tracks->SetMasterVolume(volume);
}

void WINAPI SetMute(int mute) {
    if (g_tracks)
        g_tracks->SetMute(mute != 0);
}

int WINAPI GetMute() {
    return g_tracks && g_tracks->Muted() ? 1 : 0;
}

void WINAPI SetVolumeByName(char* name, int volume) {
    if (g_tracks && name)
        g_tracks->SetVolume(std::string(name), volume);
}

void WINAPI SetVolumeById(int id, int volume) {
    if (g_tracks)
        g_tracks->SetVolume(id, volume);
}

// Unloading the library silences it.
void Detach() {
    g_tracks.reset();
}

} // namespace

MusicTracks* KNMPDllTracks() {
    return g_tracks.get();
}

BuiltinModuleDefinition KNMPDllModule() {
    BuiltinModuleDefinition module;
    module.fileName = "KNMPDll.dll";
    module.exports = {
        {"KNMPInit", reinterpret_cast<FARPROC>(Init)},
        {"KNMPIsValid", reinterpret_cast<FARPROC>(IsValid)},
        {"KNMPPlayFile", reinterpret_cast<FARPROC>(PlayFile)},
        {"KNMPStopPlayName", reinterpret_cast<FARPROC>(StopPlayName)},
        {"KNMPStopPlayID", reinterpret_cast<FARPROC>(StopPlayId)},
        {"KNMPCloseAll", reinterpret_cast<FARPROC>(CloseAll)},
        {"KNMPDeleteMusic", reinterpret_cast<FARPROC>(StopPlayId)},
        {"KNMPSetVolume", reinterpret_cast<FARPROC>(SetVolume)},
        {"KNMPSetMute", reinterpret_cast<FARPROC>(SetMute)},
        {"KNMPGetMute", reinterpret_cast<FARPROC>(GetMute)},
        {"KNMPSetVolumeF", reinterpret_cast<FARPROC>(SetVolumeByName)},
        {"KNMPSetVolumeD", reinterpret_cast<FARPROC>(SetVolumeById)},
    };
    module.detach = Detach;
    return module;
}
