#pragma once

// Standard MIDI files built byte by byte for the sound tests and fuzz seeds.

#include <cstdint>
#include <string>
#include <vector>

namespace midi_bytes {

inline void PutBe(std::string& s, uint32_t v, int bytes) {
    for (int k = bytes - 1; k >= 0; --k)
        s += char((v >> (8 * k)) & 0xFF);
}
inline std::string Quantity(uint32_t v) {
    std::string s(1, char(v & 0x7F));
    while (v >>= 7)
        s.insert(s.begin(), char(0x80 | (v & 0x7F)));
    return s;
}
inline std::string Chunk(const char* id, const std::string& body) {
    std::string s(id, 4);
    PutBe(s, uint32_t(body.size()), 4);
    return s + body;
}
inline std::string Header(int format, int tracks, int division) {
    std::string body;
    PutBe(body, uint32_t(format), 2);
    PutBe(body, uint32_t(tracks), 2);
    PutBe(body, uint32_t(division), 2);
    return Chunk("MThd", body);
}
inline std::string Tempo(uint32_t microsPerQuarter) {
    std::string s = std::string("\xFF\x51\x03", 3);
    PutBe(s, microsPerQuarter, 3);
    return s;
}
inline std::string EndOfTrack() {
    return std::string("\xFF\x2F\x00", 3);
}

// A format-0 song at 120 quarters a minute (480 ticks a quarter): an
// instrument (the General MIDI program, piano unless given) playing the notes
// one after another, each lasting ms milliseconds at velocity 100, then the
// end of the track.
inline std::string Melody(const std::vector<int>& notes, int ms, int program = 0) {
    const uint32_t ticks = uint32_t(ms) * 480 / 500;
    std::string track = Quantity(0) + Tempo(500000) + Quantity(0) + "\xC0" + char(program);
    for (int note : notes) {
        track += Quantity(0) + "\x90" + char(note) + char(100);
        track += Quantity(ticks) + "\x80" + char(note) + char(64);
    }
    track += Quantity(0) + EndOfTrack();
    return Header(0, 1, 480) + Chunk("MTrk", track);
}

} // namespace midi_bytes
