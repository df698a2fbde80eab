#pragma once

// Sound: PlaySound for wave files, and a sound buffer object for the sound
// manager's waves. Everything plays through one mixer (platform/SoundMixer.h)
// on one output: the display driver's audio (SDL2 audio under the SDL
// display) when it has one, else a recording null
// device that plays nothing and lists what played, its clock being the
// platform clock (a sound "ends" when the clock passes its length).
//
// Volumes are DirectSound's: hundredths of a decibel, 0 = as recorded down to
// -10000 = silent.

#include "platform/Types.h"
#include "platform/sound/SoundMixer.h"

#include <string>
#include <vector>

#define SND_SYNC 0x0000
#define SND_ASYNC 0x0001
#define SND_NODEFAULT 0x0002
#define SND_MEMORY 0x0004
#define SND_LOOP 0x0008
#define SND_NOSTOP 0x0010
#define SND_PURGE 0x0040
#define SND_FILENAME 0x00020000
#define SND_RESOURCE 0x00040004

// One PlaySound sound at a time: a new one stops the one before. A null sound
// or SND_PURGE stops it. SND_FILENAME (or no kind flag) names a wave file;
// SND_MEMORY points at a wave file's bytes. SND_LOOP needs SND_ASYNC. Without
// SND_ASYNC the call returns when the sound has ended. There is no system
// default sound: a missing or broken file gives FALSE whatever SND_NODEFAULT
// says. SND_RESOURCE names a "WAVE" resource of the module.
BOOL PlaySound(LPCSTR sound, HMODULE module, DWORD flags);

namespace platform {

class MidiSequence;

// A sound ready to play, loaded once and played any number of times: a wave
// or an MP3 decoded whole, or a MIDI song for the synthesiser, each known by
// its bytes.
class SoundBuffer {
public:
    SoundBuffer() = default;
    ~SoundBuffer();
    SoundBuffer(const SoundBuffer&) = delete;
    SoundBuffer& operator=(const SoundBuffer&) = delete;

    bool LoadFromFile(const std::string& path, std::string* error = nullptr);
    bool LoadFromMemory(const void* data, size_t size, const std::string& name,
                        std::string* error = nullptr);
    bool IsLoaded() const { return m_clip != nullptr || m_song != nullptr; }

    // From the start; a buffer already playing goes on and only takes the loop flag.
    bool Play(bool loop);
    void Stop();
    bool IsPlaying() const;
    // Hundredths of a decibel, clamped to kVolumeMin..kVolumeMax.
    void SetVolume(long volume);
    long GetVolume() const { return m_volume; }

private:
    bool Load(const void* data, size_t size, const std::string& name, std::string* error);
    bool UseWave(Wave wave, const std::string& name, std::string* error);

    std::shared_ptr<const SoundClip> m_clip;
    std::shared_ptr<MidiSequence> m_song;
    std::string m_name;
    VoiceId m_voice = 0;
    long m_volume = kVolumeMax;
};

// What the null device saw: one entry a play, times on the platform clock.
struct PlayedSound {
    std::string name; // the file's path, or the name given for a memory wave
    bool loop = false;
    uint64_t startMs = 0;
    uint64_t stopMs = 0; // 0 while it plays
};

enum class AudioOutput { Null, Driver };
// The display driver's output falls back to the null device when the driver
// has none or its device does not open.
AudioOutput StartAudio(AudioOutput wanted);
AudioOutput CurrentAudio();
// How much sound the output has played since StartAudio, in milliseconds: a
// sound asked for now begins this far into a recording of the output (SDL's
// disk driver writes one), give or take the device's buffer.
uint64_t AudioOutputMs();
// The null device's list (empty while the driver plays), oldest first.
std::vector<PlayedSound> PlayedSounds();
void ClearPlayedSounds();
// The null device keeps the frames it mixes from CaptureAudio(true) on
// (interleaved stereo at the mixer's rate); each call starts afresh.
void CaptureAudio(bool on);
std::vector<int16_t> CapturedAudio();
int MixerRate();
// Brings the null device up to the clock now: a sound's end and its position
// notifications happen when the device catches up, which any sound call does.
void SyncAudio();

} // namespace platform
