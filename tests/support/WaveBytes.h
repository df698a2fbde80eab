#pragma once

// RIFF WAVE files built byte by byte for the sound tests and fuzz seeds.

#include <cstdint>
#include <initializer_list>
#include <string>

namespace wave_bytes {

inline void Put16(std::string& s, uint16_t v) {
    s += char(v & 0xFF);
    s += char(v >> 8);
}
inline void Put32(std::string& s, uint32_t v) {
    Put16(s, uint16_t(v));
    Put16(s, uint16_t(v >> 16));
}
inline std::string Chunk(const char* id, const std::string& body) {
    std::string s(id, 4);
    Put32(s, uint32_t(body.size()));
    s += body;
    if (body.size() & 1)
        s += '\0';
    return s;
}
inline std::string FormatChunk(int rate, int channels, int bits, uint16_t tag = 1) {
    std::string f;
    Put16(f, tag);
    Put16(f, uint16_t(channels));
    Put32(f, uint32_t(rate));
    Put32(f, uint32_t(rate * channels * bits / 8));
    Put16(f, uint16_t(channels * bits / 8));
    Put16(f, uint16_t(bits));
    return Chunk("fmt ", f);
}
inline std::string Riff(const std::string& chunks) {
    std::string s = "RIFF";
    Put32(s, uint32_t(4 + chunks.size()));
    return s + "WAVE" + chunks;
}
inline std::string Samples16(std::initializer_list<int16_t> values) {
    std::string s;
    for (int16_t v : values)
        Put16(s, uint16_t(v));
    return s;
}
inline std::string MonoWave16(int rate, std::initializer_list<int16_t> values) {
    return Riff(FormatChunk(rate, 1, 16) + Chunk("data", Samples16(values)));
}
// A wave of silence lasting ms milliseconds.
inline std::string SilentWave(int rate, int ms) {
    return Riff(FormatChunk(rate, 1, 16) +
                Chunk("data", std::string(size_t(rate) * size_t(ms) / 1000 * 2, '\0')));
}
// A mono 16-bit ramp of n samples: sample i is (i + 1) * step, so every
// sample is told apart from its neighbours and from silence.
inline std::string RampSamples(int n, int step) {
    std::string s;
    for (int i = 0; i < n; ++i)
        Put16(s, uint16_t(int16_t((i + 1) * step)));
    return s;
}
inline std::string RampWave(int rate, int n, int step) {
    return Riff(FormatChunk(rate, 1, 16) + Chunk("data", RampSamples(n, step)));
}

} // namespace wave_bytes
