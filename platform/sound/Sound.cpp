// PlaySound and the sound buffer object.

#include "platform/sound/Sound.h"

#include "platform/resources/Resource.h"
#include "platform/sound/AudioOutput.h"
#include "platform/sound/MidiSynth.h"
#include "platform/sound/SoundFile.h"
#include "platform/system/Clock.h"
#include "platform/system/FileIo.h"
#include "platform/system/InputBounds.h"
#include "platform/system/Path.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace platform {

namespace {

VoiceId g_playSoundVoice = 0;

bool Refuse(std::string* error, const char* why) {
    if (error)
        *error = why;
    return false;
}

std::shared_ptr<const SoundClip> ClipOf(Wave wave, const std::string& name, std::string* error) {
    auto clip = TheMixer().Prepare(std::move(wave), name);
    if (!clip)
        Refuse(error, "the sound cannot be converted");
    return clip;
}

// A wave image in memory carries its own length in its RIFF header.
bool ParseWaveImage(const void* image, Wave& wave) {
    const auto* bytes = static_cast<const uint8_t*>(image);
    if (memcmp(bytes, "RIFF", 4) != 0)
        return false;
    const uint32_t size = uint32_t(bytes[4]) | uint32_t(bytes[5]) << 8 | uint32_t(bytes[6]) << 16 |
                          uint32_t(bytes[7]) << 24;
    return ParseWave(bytes, size_t(size) + 8, wave);
}

// A "WAVE" resource of the module: the bytes of a wave file.
bool ParseWaveResource(HMODULE module, LPCSTR name, Wave& wave) {
    HRSRC found = FindResource(module, name, "WAVE");
    const void* bytes = found ? LockResource(LoadResource(module, found)) : nullptr;
    return bytes && ParseWave(bytes, SizeofResource(module, found), wave);
}

} // namespace

SoundBuffer::~SoundBuffer() {
    Stop();
}

bool SoundBuffer::LoadFromFile(const std::string& path, std::string* error) {
    std::string bytes;
    if (!ReadWholeFile(NativePath(path.c_str()), bytes, kMaxSoundFileBytes))
        return Refuse(error, "cannot read the file");
    if (SniffSound(bytes.data(), bytes.size()) == SoundFormat::Midi)
        return Load(bytes.data(), bytes.size(), path, error);
    Wave wave;
    if (!DecodeSound(bytes.data(), bytes.size(), wave, error))
        return false;
    std::string().swap(bytes); // the file's bytes go before the sound is converted
    return UseWave(std::move(wave), path, error);
}

bool SoundBuffer::LoadFromMemory(const void* data, size_t size, const std::string& name,
                                 std::string* error) {
    return Load(data, size, name, error);
}

bool SoundBuffer::Load(const void* data, size_t size, const std::string& name, std::string* error) {
    if (SniffSound(data, size) == SoundFormat::Midi) {
        const auto* bytes = static_cast<const uint8_t*>(data);
        auto song = MidiSequence::Load(std::vector<uint8_t>(bytes, bytes + size), error);
        if (!song)
            return false;
        Stop();
        m_clip = nullptr;
        m_song = std::move(song);
        m_name = name;
        return true;
    }
    Wave wave;
    return DecodeSound(data, size, wave, error) && UseWave(std::move(wave), name, error);
}

bool SoundBuffer::UseWave(Wave wave, const std::string& name, std::string* error) {
    auto clip = ClipOf(std::move(wave), name, error);
    if (!clip)
        return false;
    Stop();
    m_song = nullptr;
    m_clip = std::move(clip);
    m_name = name;
    return true;
}

bool SoundBuffer::Play(bool loop) {
    if (VoicePlaying(m_voice)) {
        if (m_clip)
            TheMixer().SetLoop(m_voice, loop);
        return true;
    }
    if (m_song) {
        if (!m_song->Start(0, loop))
            return false;
        m_voice = StartStreamVoice(m_song, m_name, GainOfVolume(m_volume));
    } else if (m_clip) {
        m_voice = StartVoice(m_clip, loop, GainOfVolume(m_volume));
    }
    return m_voice != 0;
}

void SoundBuffer::Stop() {
    if (m_voice)
        StopVoice(std::exchange(m_voice, 0));
    if (m_song)
        m_song->Halt();
}

bool SoundBuffer::IsPlaying() const {
    return VoicePlaying(m_voice);
}

void SoundBuffer::SetVolume(long volume) {
    m_volume = std::clamp(volume, kVolumeMin, kVolumeMax);
    if (m_voice)
        TheMixer().SetGain(m_voice, GainOfVolume(m_volume));
}

} // namespace platform

using namespace platform;

BOOL PlaySound(LPCSTR sound, HMODULE module, DWORD flags) {
    if (!sound || (flags & SND_PURGE)) {
        if (g_playSoundVoice)
            StopVoice(std::exchange(g_playSoundVoice, 0));
        return TRUE;
    }
    if ((flags & SND_NOSTOP) && VoicePlaying(g_playSoundVoice))
        return FALSE;
    Wave wave;
    std::string name;
    if ((flags & SND_RESOURCE) == SND_RESOURCE) {
        if (!ParseWaveResource(module, sound, wave))
            return FALSE;
        name = IS_INTRESOURCE(sound) ? "resource " + std::to_string(uintptr_t(sound)) : sound;
    } else if (flags & SND_MEMORY) {
        if (!ParseWaveImage(sound, wave))
            return FALSE;
        name = "memory";
    } else {
        name = sound;
        if (!LoadWaveFile(NativePath(sound), wave))
            return FALSE;
    }
    auto clip = TheMixer().Prepare(std::move(wave), name);
    if (!clip)
        return FALSE;
    if (g_playSoundVoice)
        StopVoice(std::exchange(g_playSoundVoice, 0));
    const bool loop = (flags & SND_LOOP) && (flags & SND_ASYNC);
    g_playSoundVoice = StartVoice(clip, loop, 1.0f);
    if (!g_playSoundVoice)
        return FALSE;
    if (!(flags & SND_ASYNC)) {
        // A synchronous sound holds the caller until it ends. On a manual clock
        // nothing would end it: it counts as played at once.
        Clock& clock = GetClock();
        if (clock.IsManual())
            StopVoice(g_playSoundVoice);
        while (VoicePlaying(g_playSoundVoice))
            clock.SleepMs(10);
        g_playSoundVoice = 0;
    }
    return TRUE;
}
