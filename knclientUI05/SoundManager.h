#pragma once

// The library's one sound service, g_SoundManager, with four channels:
// short waves kept in a small cache of wave objects (up to nine overlapping
// plays of one sound, a wave dropped once it has fallen silent), the system
// PlaySound, one MIDI sequence through MCI, and background music through the
// outside music-player library. Used on the user-interface thread only.

#include "knbase05/TablehubApi.h"
#include "knclientUI05/DirectWave.h"
#include "knclientUI05/KNMPDllExp.h"
#include "knclientbase05/GrowPtrArray.h"
#include "platform/CString.h"

class TABLEHUB_API CSoundManager {
public:
    CSoundManager();
    virtual ~CSoundManager();
    CSoundManager(const CSoundManager&) = delete;
    CSoundManager& operator=(const CSoundManager&) = delete;

    // Waves. A file wave is keyed by its name as given, a resource wave by
    // "<resource module>_<id>"; keys compare without regard to case. Names
    // of 1024 bytes or more are refused. The Loop forms loop until stopped.
    void PlayWave(const char* file, DWORD flags);
    void PlayWave(const CString& file, DWORD flags);
    void LoopWave(const char* file);
    void LoopWave(const CString& file);
    void PlayWaveRes(UINT id, DWORD flags);
    void LoopWaveRes(UINT id);
    void StopWave(const char* key);
    void StopWave(const CString& key);
    void StopWaveRes(UINT id);

    // PlaySound: one at a time, the one before stopped.
    void PlayResSound(UINT id);
    void PlayFileSound(const char* file);
    void PlayFileSound(const CString& file);

    // MIDI under the alias "sq"; the main window hears when it ends.
    void PlayMidi(const char* file);
    void PlayMidi(const CString& file);
    void StopMidi();

    // Music: a play loads the library when it is not valid yet; the other
    // calls do nothing then.
    int PlayMusic(const char* file, int value);
    int PlayMusic(const CString& file, int value);
    void StopMusic(const char* name);
    void StopMusic(const CString& name);
    void StopMusicById(int id);
    void CloseAllMusic();
    void SetMusicVolume(int volume);
    void SetMusicVolume(const char* name, int volume);
    void SetMusicVolume(const CString& name, int volume);
    void SetMusicVolumeById(int id, int volume);

    int GetWaveCount() const { return m_arrWaves.GetSize(); }
    CDirectWave* GetWave(int index) const {
        return static_cast<CDirectWave*>(m_arrWaves.GetAt(index));
    }
    // The key of a resource wave in the current resource module.
    static CString ResourceKey(UINT id);

    BOOL m_bEnabled = TRUE;
    BOOL m_bMidiPlaying = FALSE;
    CGrowPtrArray m_arrWaves{10};
    BOOL m_bWaveReady = FALSE;
    CKNMPDllExp m_MusicDll;
};

extern TABLEHUB_API CSoundManager g_SoundManager;
