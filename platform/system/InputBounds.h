#pragma once

// What one input from outside may cost: every reader of a file or of a
// server's bytes (pictures, sounds, ini, theme and layout files) holds to the
// bounds of its kind here, and refuses what passes them with the reason on
// the "files" trace channel (RefuseInput), before it spends what the input
// asks for. The bounds are those of the largest real input of the kind, with
// room: a picture of a few thousand pixels a side, a song of some minutes, an
// ini file of some MiB. The test run's bomb corpus (tests/bombs) holds every
// reader to its kind's cost.

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

// ---- Pictures: BMP (run lengths too), packed DIBs, icons, GIF, JPEG, PNG, TGA ----

// No side above 16384 pixels and no more pixels than a square of 4096 (64
// MiB at 32 bits a pixel), checked on the declared size before anything is
// allocated.
constexpr int kMaxImageSide = 16384;
constexpr int64_t kMaxImagePixels = int64_t(4096) * 4096;
inline bool ImageSizeAllowed(int64_t width, int64_t height) {
    return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide &&
           width * height <= kMaxImagePixels;
}
// A picture file: the largest picture uncompressed (a 32-bit BMP of the most
// pixels), with room for its headers.
constexpr size_t kMaxPictureFileBytes = size_t(65) << 20;
// A progressive JPEG sends its picture in scans, and each scan walks every
// block of it: writers use about ten; thousands cost minutes.
constexpr int kMaxJpegScans = 100;
// An animation (GIF) keeps every frame: the frames together may hold no more
// pixels than four pictures of the most pixels, and no more than 4096 frames.
constexpr int kMaxAnimationFrames = 4096;
constexpr int64_t kMaxAnimationPixels = 4 * kMaxImagePixels;

// ---- Sounds: WAV, MP3, MIDI ----

// Ten minutes of sound, whatever the rate: a wave or an MP3 is decoded whole
// and converted to the mixer's 16-bit stereo at 44.1 kHz (about 100 MiB for
// ten minutes). Another rate or depth goes through SDL's converter, which
// holds the sound as floats at both rates for a moment: up to four times
// the result.
constexpr int kMaxSoundSeconds = 10 * 60;
// A wave or MP3 file: ten minutes of 16-bit stereo at 48 kHz, with room.
constexpr size_t kMaxSoundFileBytes = size_t(128) << 20;
// A MIDI file is played as it goes, but the synthesiser holds every event of
// it (tens of bytes each); a song of some minutes has tens of thousands.
constexpr size_t kMaxMidiFileBytes = size_t(4) << 20;
constexpr size_t kMaxMidiEvents = 200000;

// ---- Text files: ini, theme and layout files, the settings ----

// The parsed form holds each line with its name and value; a real theme
// has some thousand lines.
constexpr size_t kMaxIniFileBytes = size_t(8) << 20;
constexpr size_t kMaxIniLines = 200000;
// The registry's keys nest as deep as Windows lets them, and no deeper: a
// key of a file's keys is a level of the tree in memory.
constexpr size_t kMaxRegistryDepth = 512;

// ---- Resources: the files a resource script names ----

// A resource is a picture, an icon, a sound or a text: the largest of their
// bounds.
constexpr size_t kMaxResourceFileBytes = kMaxSoundFileBytes;

// ---- What the test run holds each kind to ----

// The peak resident memory above the process's own and the processor time
// of one input through the reader that spends most on it, the largest input
// the bounds above let through included.
struct InputCost {
    size_t peakBytes;
    int cpuMs;
};
constexpr InputCost kPictureCost{size_t(400) << 20, 3000};
constexpr InputCost kSoundCost{size_t(512) << 20, 3000};
constexpr InputCost kMidiCost{size_t(64) << 20, 3000};
constexpr InputCost kIniCost{size_t(96) << 20, 2000};

// Traces "<what> refused: <why>" on the files channel at the error level,
// stores why in *error when it is given, and returns false.
bool RefuseInput(const char* what, const std::string& why, std::string* error = nullptr);

} // namespace platform
