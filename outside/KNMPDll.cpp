// "KNMPDll.dll": the music-player library. It plays wave, MP3 and MIDI files
// (known by their bytes) through the platform's sound output; each play is a
// track with an id. The value given with a play asks for a loop when it is
// not 0; volumes are 0..100; the library answers only after its initialiser
// has run.

#include "outside/MusicTracks.h"
#include "outside/OutsideModules.h"

#include <utility>

namespace {

// Made by the initialiser and freed only when the library is let go. Not a
// static object: that would be destroyed again at the process's end, before
// or after the binder that holds the library lets it go.
MusicTracks* g_tracks = nullptr;

int WINAPI Init() {
    if (!g_tracks)
        g_tracks = new MusicTracks;
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
    delete std::exchange(g_tracks, nullptr);
}

} // namespace

MusicTracks* KNMPDllTracks() {
    return g_tracks;
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
