// Knowing sound files by their bytes, and decoding MP3 with libmpg123.

#include "platform/sound/SoundFile.h"

#include "platform/system/InputBounds.h"

#include <mpg123.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace platform {

namespace {

bool Refuse(std::string* error, const char* why) {
    return RefuseInput("sound", why, error);
}

// An MPEG audio frame header: the sync bits, a version, a layer, a bit rate
// and a sample rate that exist.
bool IsFrameHeader(const uint8_t* p) {
    return p[0] == 0xFF && (p[1] & 0xE0) == 0xE0 && ((p[1] >> 3) & 3) != 1 &&
           ((p[1] >> 1) & 3) != 0 && (p[2] >> 4) != 15 && ((p[2] >> 2) & 3) != 3;
}

bool IsMpegAudio(const uint8_t* p, size_t size) {
    size_t at = 0;
    if (size >= 10 && memcmp(p, "ID3", 3) == 0) {
        // The tag's size is four 7-bit bytes; a footer adds ten more.
        for (int k = 6; k < 10; ++k)
            if (p[k] & 0x80)
                return false;
        at = 10 + (size_t(p[6]) << 21 | size_t(p[7]) << 14 | size_t(p[8]) << 7 | p[9]);
        if (p[5] & 0x10)
            at += 10;
    }
    return at < size && size - at >= 4 && IsFrameHeader(p + at);
}

struct HandleDeleter {
    void operator()(mpg123_handle* h) const { mpg123_delete(h); }
};

} // namespace

SoundFormat SniffSound(const void* data, size_t size) {
    const auto* p = static_cast<const uint8_t*>(data);
    if (!p || size < 4)
        return SoundFormat::Unknown;
    if (size >= 12 && memcmp(p, "RIFF", 4) == 0 && memcmp(p + 8, "WAVE", 4) == 0)
        return SoundFormat::Wave;
    if (memcmp(p, "MThd", 4) == 0)
        return SoundFormat::Midi;
    if (IsMpegAudio(p, size))
        return SoundFormat::Mp3;
    return SoundFormat::Unknown;
}

bool DecodeMp3(const void* data, size_t size, Wave& wave, std::string* error) {
    wave = Wave();
    if (SniffSound(data, size) != SoundFormat::Mp3)
        return Refuse(error, "not MPEG audio");
    int status = MPG123_OK;
    std::unique_ptr<mpg123_handle, HandleDeleter> handle(mpg123_new(nullptr, &status));
    if (!handle)
        return Refuse(error, "the MP3 decoder cannot start");
    mpg123_handle* h = handle.get();
    mpg123_param(h, MPG123_ADD_FLAGS, MPG123_QUIET, 0);
    // Every rate the stream may have, always as 16-bit signed samples.
    mpg123_format_none(h);
    const long* rates = nullptr;
    size_t rateCount = 0;
    mpg123_rates(&rates, &rateCount);
    for (size_t k = 0; k < rateCount; ++k)
        mpg123_format(h, rates[k], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    if (mpg123_open_feed(h) != MPG123_OK ||
        mpg123_feed(h, static_cast<const unsigned char*>(data), size) != MPG123_OK)
        return Refuse(error, "the MP3 decoder refused the bytes");
    // With the size known the decoder estimates the length from the bit
    // rate, so the samples can be held without growing their block again
    // and again (each growth holds the old block and the new at once).
    mpg123_set_filesize(h, off_t(size));

    std::vector<unsigned char> block(64 * 1024);
    size_t limit = SIZE_MAX;
    for (;;) {
        size_t done = 0;
        status = mpg123_read(h, block.data(), block.size(), &done);
        if (status == MPG123_NEW_FORMAT) {
            long rate = 0;
            int channels = 0, encoding = 0;
            mpg123_getformat(h, &rate, &channels, &encoding);
            if (wave.format.rate && (wave.format.rate != rate || wave.format.channels != channels))
                break; // a stream that changes its format mid-way ends there
            wave.format = WaveFormat{int(rate), channels, 16};
            limit = size_t(kMaxSoundSeconds) * size_t(rate) * size_t(channels) * 2;
            const off_t estimate = mpg123_length(h);
            if (estimate > 0)
                wave.pcm.reserve(std::min(size_t(estimate) * size_t(channels) * 2, limit) +
                                 block.size());
        }
        wave.pcm.insert(wave.pcm.end(), block.data(), block.data() + done);
        if (wave.pcm.size() > limit)
            return Refuse(error, "the MP3 plays longer than ten minutes");
        if (status != MPG123_OK && status != MPG123_NEW_FORMAT)
            break; // all fed bytes decoded, or a frame it cannot decode
    }
    if (wave.format.FrameBytes() > 0)
        wave.pcm.resize(wave.pcm.size() / size_t(wave.format.FrameBytes()) *
                        size_t(wave.format.FrameBytes()));
    if (wave.pcm.empty())
        return Refuse(error, "no MP3 frame could be decoded");
    return true;
}

bool DecodeSound(const void* data, size_t size, Wave& wave, std::string* error) {
    switch (SniffSound(data, size)) {
    case SoundFormat::Wave:
        return ParseWave(data, size, wave, error);
    case SoundFormat::Mp3:
        return DecodeMp3(data, size, wave, error);
    case SoundFormat::Midi:
        return Refuse(error, "a MIDI file is played by the synthesiser, not decoded");
    default:
        return Refuse(error, "not a sound file (wave, MP3 or MIDI)");
    }
}

} // namespace platform
