// The sound manager's channels.

#include "knclientUI05/SoundManager.h"

#include "knclientbase05/KNpubSystem.h"
#include "platform/Crt.h"
#include "platform/resources/Resource.h"
#include "platform/sound/Mci.h"
#include "platform/sound/Sound.h"
#include "platform/window/Wnd.h"

#include <cstdio>
#include <cstring>

CSoundManager g_SoundManager;

namespace {

constexpr size_t kMidiCommandSize = 2048;

bool NameFits(const char* name) {
    if (!name)
        return false;
    if (strnlen(name, CDirectWave::kNameSize) >= size_t(CDirectWave::kNameSize)) {
        DebugTrace("sound name of %d bytes or more refused", CDirectWave::kNameSize);
        return false;
    }
    return true;
}

// The cached wave of the key (compared without case), or -1.
int FindWave(const CSoundManager& sound, const char* key) {
    for (int i = 0; i < sound.m_arrWaves.GetSize(); ++i)
        if (_stricmp(sound.GetWave(i)->m_szName, key) == 0)
            return i;
    return -1;
}

void DropWave(CSoundManager& sound, int index) {
    delete sound.GetWave(index);
    sound.m_arrWaves.RemoveAt(index);
}

// A cached wave lives only while one of its buffers sounds.
void PurgeSilentWaves(CSoundManager& sound) {
    for (int i = sound.m_arrWaves.GetSize() - 1; i >= 0; --i) {
        CDirectWave* wave = sound.GetWave(i);
        if (!wave->m_pBuffer)
            continue;
        DebugTrace("\nCheck the WAV file : %s\n", wave->m_szName);
        if (wave->IsPlaying())
            continue;
        DebugTrace("\nDelete Wav %d:%s \n", i, wave->m_szName);
        DropWave(sound, i);
    }
}

// resource null: the key is a file name.
void PlayKeyed(CSoundManager& sound, const char* key, LPCSTR resource, DWORD flags) {
    if (!sound.m_bEnabled)
        return;
    const int found = FindWave(sound, key);
    if (found >= 0) {
        CDirectWave* wave = sound.GetWave(found);
        sound.m_bWaveReady = wave->CheckMainWindow();
        if (!sound.m_bWaveReady) {
            DropWave(sound, found);
            return;
        }
        wave->Play(flags);
        return;
    }
    auto* wave = new CDirectWave;
    sound.m_bWaveReady = wave->m_bValid;
    if (!sound.m_bWaveReady) {
        delete wave;
        return;
    }
    strcpy(wave->m_szName, key); // fits: checked by the callers
    const BOOL loaded = resource ? wave->LoadResource(resource) : wave->LoadFile();
    if (!loaded || !sound.m_arrWaves.Add(wave)) {
        delete wave;
        return;
    }
    wave->Play(flags);
}

} // namespace

CSoundManager::CSoundManager() = default;

CSoundManager::~CSoundManager() {
    for (int i = 0; i < m_arrWaves.GetSize(); ++i)
        delete GetWave(i);
}

// The module handle at its full width: a cut one could make two modules'
// keys alike.
CString CSoundManager::ResourceKey(UINT id) {
    char key[64];
    snprintf(key, sizeof key, "%lld_%d", (long long)(intptr_t)AfxGetResourceHandle(), int(id));
    return CString(key);
}

void CSoundManager::PlayWave(const char* file, DWORD flags) {
    PurgeSilentWaves(*this);
    if (NameFits(file))
        PlayKeyed(*this, file, nullptr, flags);
}

void CSoundManager::PlayWave(const CString& file, DWORD flags) {
    PlayWave(LPCSTR(file), flags);
}

void CSoundManager::LoopWave(const char* file) {
    PlayWave(file, DSBPLAY_LOOPING);
}

void CSoundManager::LoopWave(const CString& file) {
    PlayWave(file, DSBPLAY_LOOPING);
}

void CSoundManager::PlayWaveRes(UINT id, DWORD flags) {
    PurgeSilentWaves(*this);
    const CString key = ResourceKey(id);
    PlayKeyed(*this, key, MAKEINTRESOURCE(id & 0xFFFF), flags);
}

void CSoundManager::LoopWaveRes(UINT id) {
    PlayWaveRes(id, DSBPLAY_LOOPING);
}

void CSoundManager::StopWave(const char* key) {
    if (!NameFits(key))
        return;
    const int found = FindWave(*this, key);
    if (found < 0)
        return;
    CDirectWave* wave = GetWave(found);
    wave->Stop();
    DebugTrace("\nDelete Wav %d:%s \n", found, wave->m_szName);
    DropWave(*this, found);
}

void CSoundManager::StopWave(const CString& key) {
    StopWave(LPCSTR(key));
}

void CSoundManager::StopWaveRes(UINT id) {
    StopWave(ResourceKey(id));
}

void CSoundManager::PlayResSound(UINT id) {
    if (!m_bEnabled)
        return;
    HINSTANCE module = AfxGetResourceHandle();
    PlaySound(nullptr, module, SND_PURGE);
    PlaySound(MAKEINTRESOURCE(id & 0xFFFF), module, SND_RESOURCE | SND_ASYNC);
}

void CSoundManager::PlayFileSound(const char* file) {
    if (!m_bEnabled)
        return;
    HINSTANCE module = AfxGetResourceHandle();
    PlaySound(nullptr, module, SND_PURGE);
    PlaySound(file, module, SND_FILENAME | SND_ASYNC);
}

void CSoundManager::PlayFileSound(const CString& file) {
    PlayFileSound(LPCSTR(file));
}

void CSoundManager::PlayMidi(const char* file) {
    char command[kMidiCommandSize];
    const int length =
        file ? snprintf(command, sizeof command, "open %s type sequencer alias sq", file) : -1;
    if (length < 0 || size_t(length) >= sizeof command) {
        DebugTrace("MIDI file name too long; not played");
        return;
    }
    mciSendString("close sq", nullptr, 0, nullptr);
    mciSendString(command, nullptr, 0, nullptr);
    CWnd* main = AfxGetMainWnd();
    mciSendString("play sq from 0 notify", nullptr, 0, main ? main->m_hWnd : nullptr);
    m_bMidiPlaying = TRUE;
}

void CSoundManager::PlayMidi(const CString& file) {
    PlayMidi(LPCSTR(file));
}

void CSoundManager::StopMidi() {
    mciSendString("close sq", nullptr, 0, nullptr);
    m_bMidiPlaying = FALSE;
}

int CSoundManager::PlayMusic(const char* file, int value) {
    if (!m_MusicDll.IsValid()) {
        m_MusicDll.Load();
        if (!m_MusicDll.IsValid())
            return 0;
    }
    return m_MusicDll.PlayFile(file, value);
}

int CSoundManager::PlayMusic(const CString& file, int value) {
    return PlayMusic(LPCSTR(file), value);
}

void CSoundManager::StopMusic(const char* name) {
    if (m_MusicDll.IsValid())
        m_MusicDll.StopPlayName(name);
}

void CSoundManager::StopMusic(const CString& name) {
    StopMusic(LPCSTR(name));
}

void CSoundManager::StopMusicById(int id) {
    if (m_MusicDll.IsValid())
        m_MusicDll.StopPlayID(id);
}

void CSoundManager::CloseAllMusic() {
    if (m_MusicDll.IsValid())
        m_MusicDll.CloseAll();
}

void CSoundManager::SetMusicVolume(int volume) {
    if (m_MusicDll.IsValid())
        m_MusicDll.SetVolume(volume);
}

void CSoundManager::SetMusicVolume(const char* name, int volume) {
    if (m_MusicDll.IsValid())
        m_MusicDll.SetVolumeF(name, volume);
}

void CSoundManager::SetMusicVolume(const CString& name, int volume) {
    SetMusicVolume(LPCSTR(name), volume);
}

void CSoundManager::SetMusicVolumeById(int id, int volume) {
    if (m_MusicDll.IsValid())
        m_MusicDll.SetVolumeD(id, volume);
}
