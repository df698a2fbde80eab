#pragma once

// The process's mixer and its output: internal to the sound files. The
// output is the display driver's audio device, or the null device.

#include "platform/sound/Sound.h"

namespace platform {

SoundMixer& TheMixer();

// Starting, stopping and asking go through here, so the device sees them.
VoiceId StartVoice(const std::shared_ptr<const SoundClip>& clip, bool loop, float gain,
                   size_t from = 0, SoundMixer::Marks marks = {});
VoiceId StartStreamVoice(std::shared_ptr<SoundStream> stream, const std::string& name, float gain,
                         SoundMixer::Marks marks = {});
void StopVoice(VoiceId voice);
bool VoicePlaying(VoiceId voice);

} // namespace platform
