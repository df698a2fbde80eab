#pragma once

// Sound files known by their bytes, whatever their names say: RIFF WAVE,
// MPEG audio (MP3, with or without an ID3 tag before its first frame) and
// standard MIDI files. Waves and MP3s decode to PCM (libmpg123 for MP3); a
// MIDI file is played by the synthesiser instead (platform/MidiSynth.h).

#include "platform/sound/WaveFile.h"

#include <cstddef>
#include <string>

namespace platform {

enum class SoundFormat { Unknown, Wave, Mp3, Midi };

SoundFormat SniffSound(const void* data, size_t size);

// MPEG audio to 16-bit PCM at the stream's own rate and channels. Refused:
// bytes with no frame, and more than ten minutes of sound.
bool DecodeMp3(const void* data, size_t size, Wave& wave, std::string* error = nullptr);

// A wave or an MP3, by its bytes.
bool DecodeSound(const void* data, size_t size, Wave& wave, std::string* error = nullptr);

} // namespace platform
