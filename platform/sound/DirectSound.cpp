// DirectSound's sound object, buffers and notifications over the mixer.

#include "platform/sound/DirectSound.h"

#include "platform/sound/AudioOutput.h"
#include "platform/system/KernelObject.h"
#include "platform/system/Thread.h"
#include "platform/window/Window.h"

#include <algorithm>
#include <atomic>
#include <new>
#include <utility>
#include <vector>

const IID IID_IDirectSoundNotify = {
    0xb0210783, 0x89cd, 0x11d0, {0xaf, 0x08, 0x00, 0xa0, 0xc9, 0x25, 0xcd, 0x16}};

namespace platform {

namespace {
std::atomic<bool> g_available{true};
}

void SetDirectSoundAvailable(bool available) {
    g_available = available;
}

// A buffer's bytes, shared by its duplicates, and their last conversion for
// the mixer (made again after each Unlock).
struct SoundBufferData {
    WaveFormat format;
    DWORD caps = 0;
    std::vector<uint8_t> bytes;
    std::shared_ptr<const SoundClip> clip;
    bool changed = true;

    size_t Frames() const { return bytes.size() / size_t(format.FrameBytes()); }
    std::shared_ptr<const SoundClip> Clip() {
        if (changed) {
            Wave wave{format, bytes};
            wave.pcm.resize(Frames() * size_t(format.FrameBytes()));
            clip = TheMixer().Prepare(std::move(wave), "sound buffer");
            changed = false;
        }
        return clip;
    }
    // The mixer's frames run at its own rate: cursors are scaled between them.
    size_t FrameOfByte(DWORD offset) {
        const auto c = Clip();
        return c ? size_t(uint64_t(offset / DWORD(format.FrameBytes())) * c->Frames() /
                          std::max<size_t>(Frames(), 1))
                 : 0;
    }
    DWORD ByteOfFrame(size_t frame) {
        const auto c = Clip();
        if (!c || c->Frames() == 0)
            return 0;
        return DWORD(uint64_t(frame) * Frames() / c->Frames()) * DWORD(format.FrameBytes());
    }
};

// The events a buffer sets; each event is held while it is listed here.
struct BufferNotifications {
    struct Position {
        DWORD offset;
        HANDLE event;
    };
    std::vector<Position> positions;

    ~BufferNotifications() {
        for (const Position& p : positions)
            if (KernelObject* event = FromHandle(p.event))
                event->Release();
    }
    void SetAll(DWORD offset) const {
        for (const Position& p : positions)
            if (p.offset == offset)
                SetEvent(p.event);
    }
};

} // namespace platform

using namespace platform;

// --- IDirectSoundBuffer ---

IDirectSoundBuffer::IDirectSoundBuffer(std::shared_ptr<SoundBufferData> data)
    : m_data(std::move(data)) {}

IDirectSoundBuffer::~IDirectSoundBuffer() {
    if (m_voice)
        StopVoice(m_voice);
}

ULONG IDirectSoundBuffer::AddRef() {
    return ++m_refs;
}

ULONG IDirectSoundBuffer::Release() {
    const ULONG left = --m_refs;
    if (left == 0)
        delete this;
    return left;
}

HRESULT IDirectSoundBuffer::QueryInterface(REFIID iid, LPVOID* object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (iid != IID_IDirectSoundNotify || !(m_data->caps & DSBCAPS_CTRLPOSITIONNOTIFY))
        return DSERR_NOINTERFACE;
    AddRef();
    *object = new IDirectSoundNotify(this);
    return DS_OK;
}

// A voice that ended by itself leaves the buffer stopped at 0.
void IDirectSoundBuffer::SyncState() {
    if (m_voice && !VoicePlaying(m_voice)) {
        m_voice = 0;
        m_position = 0;
    }
}

HRESULT IDirectSoundBuffer::GetStatus(LPDWORD status) {
    if (!status)
        return DSERR_INVALIDPARAM;
    SyncState();
    *status = m_voice ? DSBSTATUS_PLAYING | (m_looping ? DSBSTATUS_LOOPING : 0) : 0;
    return DS_OK;
}

HRESULT IDirectSoundBuffer::Play(DWORD, DWORD, DWORD flags) {
    SyncState();
    m_looping = (flags & DSBPLAY_LOOPING) != 0;
    if (m_voice) {
        TheMixer().SetLoop(m_voice, m_looping);
        return DS_OK;
    }
    const auto clip = m_data->Clip();
    if (!clip)
        return DSERR_BADFORMAT;
    SoundMixer::Marks marks;
    if (m_notify) {
        for (const auto& p : m_notify->positions)
            marks.frames.push_back(p.offset == DSBPN_OFFSETSTOP ? SoundMixer::kEndMark
                                                                : m_data->FrameOfByte(p.offset));
        // Frames back to offsets: each mark sets the events of its offsets.
        std::vector<std::pair<size_t, DWORD>> offsetOf;
        for (size_t i = 0; i < marks.frames.size(); ++i)
            offsetOf.emplace_back(marks.frames[i], m_notify->positions[i].offset);
        marks.listener = [notify = m_notify, offsetOf](size_t frame) {
            for (const auto& [markFrame, offset] : offsetOf)
                if (markFrame == frame)
                    notify->SetAll(offset);
        };
    }
    m_voice = StartVoice(clip, m_looping, GainOfVolume(m_volume), m_data->FrameOfByte(m_position),
                         std::move(marks));
    return m_voice ? DS_OK : DSERR_INVALIDCALL;
}

HRESULT IDirectSoundBuffer::Stop() {
    SyncState();
    if (!m_voice)
        return DS_OK;
    size_t frame = 0;
    m_position = TheMixer().Position(m_voice, frame) ? m_data->ByteOfFrame(frame) : 0;
    StopVoice(m_voice);
    m_voice = 0;
    if (m_notify)
        m_notify->SetAll(DSBPN_OFFSETSTOP);
    return DS_OK;
}

HRESULT IDirectSoundBuffer::SetCurrentPosition(DWORD offset) {
    if (offset >= m_data->bytes.size())
        return DSERR_INVALIDPARAM;
    SyncState();
    const DWORD aligned = offset - offset % DWORD(m_data->format.FrameBytes());
    if (!m_voice) {
        m_position = aligned;
        return DS_OK;
    }
    // A playing buffer goes on from the new place.
    StopVoice(std::exchange(m_voice, 0));
    m_position = aligned;
    return Play(0, 0, m_looping ? DSBPLAY_LOOPING : 0);
}

HRESULT IDirectSoundBuffer::GetCurrentPosition(LPDWORD play, LPDWORD write) {
    SyncState();
    DWORD at = m_position;
    size_t frame = 0;
    if (m_voice && TheMixer().Position(m_voice, frame))
        at = m_data->ByteOfFrame(frame);
    if (play)
        *play = at;
    if (write)
        *write = at;
    return DS_OK;
}

HRESULT IDirectSoundBuffer::Lock(DWORD offset, DWORD bytes, LPVOID* part1, LPDWORD bytes1,
                                 LPVOID* part2, LPDWORD bytes2, DWORD flags) {
    const DWORD size = DWORD(m_data->bytes.size());
    if (flags & DSBLOCK_ENTIREBUFFER) {
        offset = 0;
        bytes = size;
    } else if (flags & DSBLOCK_FROMWRITECURSOR) {
        GetCurrentPosition(nullptr, &offset);
    }
    if (!part1 || !bytes1 || offset >= size || bytes == 0 || bytes > size)
        return DSERR_INVALIDPARAM;
    const DWORD first = std::min(bytes, size - offset);
    *part1 = m_data->bytes.data() + offset;
    *bytes1 = first;
    if (part2)
        *part2 = first < bytes ? m_data->bytes.data() : nullptr;
    if (bytes2)
        *bytes2 = bytes - first;
    return DS_OK;
}

HRESULT IDirectSoundBuffer::Unlock(LPVOID part1, DWORD, LPVOID, DWORD) {
    if (!part1)
        return DSERR_INVALIDPARAM;
    m_data->changed = true; // sounds from the next Play on
    return DS_OK;
}

HRESULT IDirectSoundBuffer::SetVolume(LONG volume) {
    if (!(m_data->caps & DSBCAPS_CTRLVOLUME))
        return DSERR_CONTROLUNAVAIL;
    if (volume < DSBVOLUME_MIN || volume > DSBVOLUME_MAX)
        return DSERR_INVALIDPARAM;
    m_volume = volume;
    if (m_voice)
        TheMixer().SetGain(m_voice, GainOfVolume(volume));
    return DS_OK;
}

HRESULT IDirectSoundBuffer::GetVolume(LONG* volume) {
    if (!volume)
        return DSERR_INVALIDPARAM;
    *volume = m_volume;
    return DS_OK;
}

HRESULT IDirectSoundBuffer::SetNotifications(DWORD count, LPCDSBPOSITIONNOTIFY positions) {
    SyncState();
    if (m_voice)
        return DSERR_INVALIDCALL;
    if (count > 0 && !positions)
        return DSERR_INVALIDPARAM;
    auto list = std::make_shared<BufferNotifications>();
    for (DWORD i = 0; i < count; ++i) {
        const DSBPOSITIONNOTIFY& p = positions[i];
        if (!FromHandle(p.hEventNotify) ||
            (p.dwOffset != DSBPN_OFFSETSTOP && p.dwOffset >= m_data->bytes.size()))
            return DSERR_INVALIDPARAM;
    }
    for (DWORD i = 0; i < count; ++i) {
        FromHandle(positions[i].hEventNotify)->AddRef();
        list->positions.push_back({positions[i].dwOffset, positions[i].hEventNotify});
    }
    m_notify = count ? list : nullptr;
    return DS_OK;
}

// --- IDirectSoundNotify ---

ULONG IDirectSoundNotify::AddRef() {
    return ++m_refs;
}

ULONG IDirectSoundNotify::Release() {
    const ULONG left = --m_refs;
    if (left == 0) {
        m_buffer->Release();
        delete this;
    }
    return left;
}

HRESULT IDirectSoundNotify::SetNotificationPositions(DWORD count, LPCDSBPOSITIONNOTIFY positions) {
    return m_buffer->SetNotifications(count, positions);
}

// --- IDirectSound ---

ULONG IDirectSound::AddRef() {
    return ++m_refs;
}

ULONG IDirectSound::Release() {
    const ULONG left = --m_refs;
    if (left == 0)
        delete this;
    return left;
}

HRESULT IDirectSound::SetCooperativeLevel(HWND window, DWORD level) {
    if (!IsWindow(window) || (level != DSSCL_NORMAL && level != DSSCL_PRIORITY))
        return DSERR_INVALIDPARAM;
    m_window = window;
    return DS_OK;
}

namespace {

bool FormatTaken(const WAVEFORMATEX& f) {
    return f.wFormatTag == WAVE_FORMAT_PCM && f.nChannels >= 1 && f.nChannels <= 2 &&
           (f.wBitsPerSample == 8 || f.wBitsPerSample == 16) && f.nSamplesPerSec >= 1000 &&
           f.nSamplesPerSec <= 192000 && f.nBlockAlign == f.nChannels * f.wBitsPerSample / 8;
}

} // namespace

HRESULT IDirectSound::CreateSoundBuffer(LPCDSBUFFERDESC desc, LPDIRECTSOUNDBUFFER* buffer,
                                        void* outer) {
    if (!buffer || outer || !desc || desc->dwSize < sizeof(DSBUFFERDESC) || !desc->lpwfxFormat)
        return DSERR_INVALIDPARAM;
    *buffer = nullptr;
    if (!m_window)
        return DSERR_PRIOLEVELNEEDED;
    const WAVEFORMATEX& f = *desc->lpwfxFormat;
    if (!FormatTaken(f))
        return DSERR_BADFORMAT;
    if (desc->dwBufferBytes < DSBSIZE_MIN || desc->dwBufferBytes > DSBSIZE_MAX ||
        desc->dwBufferBytes < f.nBlockAlign)
        return DSERR_INVALIDPARAM;
    auto data = std::make_shared<SoundBufferData>();
    data->format = WaveFormat{int(f.nSamplesPerSec), int(f.nChannels), int(f.wBitsPerSample)};
    data->caps = desc->dwFlags;
    try {
        // Silence: 8-bit samples are unsigned around 128.
        data->bytes.assign(desc->dwBufferBytes, f.wBitsPerSample == 8 ? 0x80 : 0);
    } catch (const std::bad_alloc&) {
        return DSERR_OUTOFMEMORY;
    }
    *buffer = new IDirectSoundBuffer(std::move(data));
    return DS_OK;
}

HRESULT IDirectSound::DuplicateSoundBuffer(LPDIRECTSOUNDBUFFER original,
                                           LPDIRECTSOUNDBUFFER* duplicate) {
    if (!original || !duplicate)
        return DSERR_INVALIDPARAM;
    *duplicate = new IDirectSoundBuffer(original->m_data);
    return DS_OK;
}

HRESULT DirectSoundCreate(LPCGUID device, LPDIRECTSOUND* sound, void* outer) {
    if (!sound || outer)
        return DSERR_INVALIDPARAM;
    *sound = nullptr;
    if (device || !g_available)
        return DSERR_NODRIVER;
    *sound = new IDirectSound;
    return DS_OK;
}
