#pragma once

// One PCM wave ready to sound up to nine times at once: a sound object of
// its own, a main buffer and eight duplicates that share its bytes. The
// sound manager makes one for each sound it plays and drops it when it has
// fallen silent.

#include "knbase05/TablehubApi.h"
#include "platform/sound/DirectSound.h"
#include "platform/sound/Mmio.h"

class TABLEHUB_API CDirectWave {
public:
    static constexpr int kDuplicates = 8;
    static constexpr int kNameSize = 1024;

    CDirectWave();
    virtual ~CDirectWave();
    CDirectWave(const CDirectWave&) = delete;
    CDirectWave& operator=(const CDirectWave&) = delete;

    // The file named by m_szName.
    BOOL LoadFile();
    // A "WAVE" resource of the current resource module.
    BOOL LoadResource(LPCSTR name);
    // Reads a RIFF wave file into the buffers; closes the file on every path.
    BOOL Load(HMMIO mmio);
    // On the main buffer when it is idle, else on the first idle duplicate;
    // nothing when all nine play.
    void Play(DWORD flags);
    // Stops every playing buffer and rewinds it.
    void Stop();
    // One position event on the buffer (nothing while it plays).
    void SetNotify(IDirectSoundBuffer* buffer, DWORD offset, HANDLE event);
    BOOL CheckMainWindow();
    // Whether any of its buffers plays.
    BOOL IsPlaying();

    IDirectSound* m_pDS = nullptr;
    IDirectSoundBuffer* m_pBuffer = nullptr;
    IDirectSoundBuffer* m_pDup[kDuplicates] = {};
    IDirectSoundNotify* m_pNotify = nullptr;
    BOOL m_bValid = FALSE;
    BOOL m_bCreateFailed = FALSE;
    char m_szName[kNameSize] = {};
};
