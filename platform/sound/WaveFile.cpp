// Reading RIFF WAVE files.

#include "platform/sound/WaveFile.h"

#include "platform/system/FileIo.h"
#include "platform/system/InputBounds.h"

#include <cstring>

namespace platform {

namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatExtensible = 0xFFFE;

uint16_t Le16(const uint8_t* p) {
    return uint16_t(p[0] | p[1] << 8);
}
uint32_t Le32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

bool Refuse(std::string* error, const char* why) {
    return RefuseInput("wave", why, error);
}

bool ReadFormat(const uint8_t* chunk, uint32_t size, WaveFormat& format, std::string* error) {
    if (size < 16)
        return Refuse(error, "format chunk too short");
    uint16_t tag = Le16(chunk);
    // The extensible form names its real format in the first two bytes of its sub-format.
    if (tag == kFormatExtensible) {
        if (size < 40)
            return Refuse(error, "extensible format chunk too short");
        tag = Le16(chunk + 24);
    }
    if (tag != kFormatPcm)
        return Refuse(error, "not PCM");
    format.channels = Le16(chunk + 2);
    format.rate = int(Le32(chunk + 4));
    const int blockAlign = Le16(chunk + 12);
    format.bits = Le16(chunk + 14);
    if (format.channels < 1 || format.channels > 2)
        return Refuse(error, "only mono and stereo");
    if (format.bits != 8 && format.bits != 16)
        return Refuse(error, "only 8 and 16 bits per sample");
    if (format.rate < 1000 || format.rate > 192000)
        return Refuse(error, "sample rate out of range");
    if (blockAlign != format.FrameBytes())
        return Refuse(error, "block alignment does not match the format");
    return true;
}

} // namespace

bool ParseWave(const void* data, size_t size, Wave& wave, std::string* error) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    if (!bytes || size < 12 || memcmp(bytes, "RIFF", 4) != 0 || memcmp(bytes + 8, "WAVE", 4) != 0)
        return Refuse(error, "not a RIFF WAVE file");
    if (size > kMaxSoundFileBytes)
        return Refuse(error, "wave file too large");
    // A RIFF size claiming more than the file holds means a truncated file.
    if (uint64_t(Le32(bytes + 4)) + 8 > size)
        return Refuse(error, "truncated wave file");
    bool haveFormat = false;
    WaveFormat format;
    size_t at = 12;
    while (size - at >= 8) {
        const uint8_t* header = bytes + at;
        const uint32_t chunkSize = Le32(header + 4);
        if (chunkSize > size - at - 8)
            return Refuse(error, "chunk runs past the end of the file");
        const uint8_t* chunk = header + 8;
        if (memcmp(header, "fmt ", 4) == 0) {
            if (!ReadFormat(chunk, chunkSize, format, error))
                return false;
            haveFormat = true;
        } else if (memcmp(header, "data", 4) == 0) {
            if (!haveFormat)
                return Refuse(error, "sound data before the format");
            const size_t whole = chunkSize - chunkSize % uint32_t(format.FrameBytes());
            // A slow rate makes hours of a few megabytes, and the mixer's
            // form of them gigabytes.
            if (whole / size_t(format.FrameBytes()) >
                size_t(kMaxSoundSeconds) * size_t(format.rate))
                return Refuse(error, "the wave plays longer than ten minutes");
            wave.format = format;
            wave.pcm.assign(chunk, chunk + whole);
            return true;
        }
        at += 8 + size_t(chunkSize) + (chunkSize & 1); // chunks are padded to even sizes
        if (at > size)
            break;
    }
    return Refuse(error, haveFormat ? "no sound data" : "no format chunk");
}

bool LoadWaveFile(const std::string& path, Wave& wave, std::string* error) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes, kMaxSoundFileBytes))
        return Refuse(error, "cannot read the file");
    return ParseWave(bytes.data(), bytes.size(), wave, error);
}

} // namespace platform
