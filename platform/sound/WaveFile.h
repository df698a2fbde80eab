#pragma once

// RIFF WAVE files of PCM sound: 8-bit unsigned or 16-bit signed samples, one
// or two channels, any rate from 1 kHz to 192 kHz. A file that is not one,
// whose chunks claim more bytes than it has, or that plays longer than a
// sound may (platform/system/InputBounds.h) is refused with the reason
// logged; nothing is read past its end.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct WaveFormat {
    int rate = 0;
    int channels = 0;
    int bits = 0;
    int FrameBytes() const { return channels * bits / 8; }
};

struct Wave {
    WaveFormat format;
    std::vector<uint8_t> pcm; // whole frames only
};

bool ParseWave(const void* data, size_t size, Wave& wave, std::string* error = nullptr);
bool LoadWaveFile(const std::string& path, Wave& wave, std::string* error = nullptr);

} // namespace platform
