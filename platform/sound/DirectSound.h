#pragma once

// DirectSound's shape over the platform's mixer: a sound object, secondary
// buffers of PCM bytes that the caller fills through Lock and Unlock,
// duplicates that share one buffer's bytes, and position notifications that
// set events as the play cursor passes them.
//
// A buffer plays through the mixer's output (the display driver's audio, or
// the recording null device on the platform clock). Its status and cursor
// follow the mixer: a buffer that is not looping stops by itself at its end,
// its cursor then back at 0. Only PCM of 8 or 16 bits, mono or stereo, is
// taken. The objects are counted references as COM objects are; they are
// used from one thread (the mixer's thread only sets notification events).

#include "platform/Types.h"

#include <memory>

#define WAVE_FORMAT_PCM 1

#pragma pack(push, 1)
struct WAVEFORMATEX {
    WORD wFormatTag;
    WORD nChannels;
    DWORD nSamplesPerSec;
    DWORD nAvgBytesPerSec;
    WORD nBlockAlign;
    WORD wBitsPerSample;
    WORD cbSize;
};
#pragma pack(pop)
static_assert(sizeof(WAVEFORMATEX) == 18, "the format record is 18 bytes in files");
typedef WAVEFORMATEX* LPWAVEFORMATEX;
typedef const WAVEFORMATEX* LPCWAVEFORMATEX;

#define DSBCAPS_CTRLFREQUENCY 0x00000020
#define DSBCAPS_CTRLPAN 0x00000040
#define DSBCAPS_CTRLVOLUME 0x00000080
#define DSBCAPS_CTRLPOSITIONNOTIFY 0x00000100
#define DSBCAPS_GLOBALFOCUS 0x00008000

#define DSBSIZE_MIN 4
#define DSBSIZE_MAX 0x0FFFFFFF

#define DSSCL_NORMAL 1
#define DSSCL_PRIORITY 2

#define DSBPLAY_LOOPING 0x00000001
#define DSBSTATUS_PLAYING 0x00000001
#define DSBSTATUS_LOOPING 0x00000004
#define DSBLOCK_FROMWRITECURSOR 0x00000001
#define DSBLOCK_ENTIREBUFFER 0x00000002
#define DSBPN_OFFSETSTOP 0xFFFFFFFF
#define DSBVOLUME_MAX 0
#define DSBVOLUME_MIN (-10000)

#define DS_OK S_OK
#define DSERR_INVALIDPARAM E_INVALIDARG
#define DSERR_INVALIDCALL ((HRESULT)0x88780032L)
#define DSERR_BADFORMAT ((HRESULT)0x88780064L)
#define DSERR_NOINTERFACE ((HRESULT)0x80004002L)
#define DSERR_CONTROLUNAVAIL ((HRESULT)0x8878001EL)
#define DSERR_PRIOLEVELNEEDED ((HRESULT)0x88780046L)
#define DSERR_NODRIVER ((HRESULT)0x88780078L)
#define DSERR_OUTOFMEMORY E_OUTOFMEMORY

struct DSBUFFERDESC {
    DWORD dwSize; // sizeof(DSBUFFERDESC)
    DWORD dwFlags;
    DWORD dwBufferBytes;
    DWORD dwReserved;
    LPWAVEFORMATEX lpwfxFormat;
};
typedef DSBUFFERDESC* LPDSBUFFERDESC;
typedef const DSBUFFERDESC* LPCDSBUFFERDESC;

struct DSBPOSITIONNOTIFY {
    DWORD dwOffset; // a byte offset, or DSBPN_OFFSETSTOP
    HANDLE hEventNotify;
};
typedef DSBPOSITIONNOTIFY* LPDSBPOSITIONNOTIFY;
typedef const DSBPOSITIONNOTIFY* LPCDSBPOSITIONNOTIFY;

extern const IID IID_IDirectSoundNotify;

namespace platform {
struct SoundBufferData;
struct BufferNotifications;
} // namespace platform

class IDirectSoundNotify;

class IDirectSoundBuffer {
public:
    ULONG AddRef();
    ULONG Release();
    // IID_IDirectSoundNotify gives the buffer's notification interface, for a
    // buffer made with DSBCAPS_CTRLPOSITIONNOTIFY.
    HRESULT QueryInterface(REFIID iid, LPVOID* object);

    HRESULT GetStatus(LPDWORD status);
    // From the play cursor; a playing buffer only takes the new loop flag.
    HRESULT Play(DWORD reserved, DWORD priority, DWORD flags);
    // Stops where it is: the cursor stays.
    HRESULT Stop();
    HRESULT SetCurrentPosition(DWORD offset);
    HRESULT GetCurrentPosition(LPDWORD play, LPDWORD write);
    // Two parts when the range wraps past the buffer's end; the bytes are the
    // buffer's own (shared with its duplicates) and sound from Unlock on.
    HRESULT Lock(DWORD offset, DWORD bytes, LPVOID* part1, LPDWORD bytes1, LPVOID* part2,
                 LPDWORD bytes2, DWORD flags);
    HRESULT Unlock(LPVOID part1, DWORD bytes1, LPVOID part2, DWORD bytes2);
    // Hundredths of a decibel, DSBVOLUME_MIN..DSBVOLUME_MAX; needs
    // DSBCAPS_CTRLVOLUME.
    HRESULT SetVolume(LONG volume);
    HRESULT GetVolume(LONG* volume);

private:
    friend class IDirectSound;
    friend class IDirectSoundNotify;
    explicit IDirectSoundBuffer(std::shared_ptr<platform::SoundBufferData> data);
    ~IDirectSoundBuffer();
    void SyncState();
    HRESULT SetNotifications(DWORD count, LPCDSBPOSITIONNOTIFY positions);

    ULONG m_refs = 1;
    std::shared_ptr<platform::SoundBufferData> m_data;
    std::shared_ptr<platform::BufferNotifications> m_notify;
    uint64_t m_voice = 0;
    DWORD m_position = 0; // bytes, while no voice plays
    bool m_looping = false;
    LONG m_volume = DSBVOLUME_MAX;
};
typedef IDirectSoundBuffer* LPDIRECTSOUNDBUFFER;

class IDirectSoundNotify {
public:
    ULONG AddRef();
    ULONG Release();
    // Replaces the buffer's positions; refused while the buffer plays.
    HRESULT SetNotificationPositions(DWORD count, LPCDSBPOSITIONNOTIFY positions);

private:
    friend class IDirectSoundBuffer;
    explicit IDirectSoundNotify(IDirectSoundBuffer* buffer) : m_buffer(buffer) {}
    ULONG m_refs = 1;
    IDirectSoundBuffer* m_buffer; // holds a reference
};
typedef IDirectSoundNotify* LPDIRECTSOUNDNOTIFY;

class IDirectSound {
public:
    ULONG AddRef();
    ULONG Release();
    // The window must exist; buffers are made only after this.
    HRESULT SetCooperativeLevel(HWND window, DWORD level);
    HRESULT CreateSoundBuffer(LPCDSBUFFERDESC desc, LPDIRECTSOUNDBUFFER* buffer, void* outer);
    // A new buffer over the same bytes, stopped at 0, at full volume.
    HRESULT DuplicateSoundBuffer(LPDIRECTSOUNDBUFFER original, LPDIRECTSOUNDBUFFER* duplicate);

private:
    friend HRESULT DirectSoundCreate(LPCGUID, IDirectSound**, void*);
    IDirectSound() = default;
    ULONG m_refs = 1;
    HWND m_window = nullptr;
};
typedef IDirectSound* LPDIRECTSOUND;

// The default device (a device id is refused).
HRESULT DirectSoundCreate(LPCGUID device, LPDIRECTSOUND* sound, void* outer);

namespace platform {
// Tests make the sound device unavailable: DirectSoundCreate then fails.
void SetDirectSoundAvailable(bool available);
} // namespace platform
