#pragma once

// The process's mixer and its output device: internal to the sound files.

#include "platform/sound/Sound.h"

namespace platform {

class AudioDevice {
public:
    virtual ~AudioDevice() = default;
    // Brings the mixer up to now (the null device runs voices on by the clock).
    virtual void Sync() {}
    virtual void Started(VoiceId, const SoundClip&, bool /*loop*/) {}
    virtual void Stopped(VoiceId) {}
};

SoundMixer& TheMixer();
AudioDevice& TheAudioDevice();

// The SDL output (SdlAudio.cpp); null when no device opens.
std::unique_ptr<AudioDevice> OpenSdlAudio(SoundMixer& mixer);

// Starting, stopping and asking go through here, so the device sees them.
VoiceId StartVoice(const std::shared_ptr<const SoundClip>& clip, bool loop, float gain);
void StopVoice(VoiceId voice);
bool VoicePlaying(VoiceId voice);

} // namespace platform
