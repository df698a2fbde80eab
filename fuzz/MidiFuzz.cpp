// Arbitrary bytes as a standard MIDI file, or as the events of its one track:
// the checker refuses them or passes them with a tempo map that converts both
// ways; what passes is played for a quarter of a second by the synthesiser,
// as the MCI sequencer would, never crashing it or reading outside the bytes.

#include "platform/sound/MidiSynth.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

// Bytes as the events of one track behind a good header, so that the events'
// reading and the synthesiser are reached, not only the chunk checks.
std::vector<uint8_t> AsTrack(const uint8_t* data, size_t size) {
    std::vector<uint8_t> file = {'M', 'T', 'h', 'd',  0,    0,   0,   6,   0,
                                 0,   0,   1,   0x01, 0xE0, 'M', 'T', 'r', 'k'};
    for (int shift = 24; shift >= 0; shift -= 8)
        file.push_back(uint8_t(size >> shift));
    file.insert(file.end(), data, data + size);
    return file;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* raw, size_t rawSize) {
    // The first byte's low bit: the bytes as a whole file, or as a track.
    if (rawSize == 0)
        return 0;
    std::vector<uint8_t> bytes =
        raw[0] & 1 ? AsTrack(raw + 1, rawSize - 1) : std::vector<uint8_t>(raw + 1, raw + rawSize);
    const uint8_t* data = bytes.data();
    const size_t size = bytes.size();
    platform::MidiSong song;
    if (!platform::CheckMidiFile(data, size, song))
        return 0;
    if (song.tempos.empty() || song.tempos.front().tick != 0)
        abort();
    const double length = song.LengthMs();
    // Back from the length lands on the last tick, give or take the rounding.
    const uint64_t back = song.TickAtMs(length);
    if (!(length >= 0) || back > song.lastTick + song.lastTick / 1000000 + 2)
        abort();

    auto sequence = platform::MidiSequence::Load(std::vector<uint8_t>(data, data + size), nullptr);
    if (!sequence)
        abort(); // the checker passed it
    if (!sequence->Start(song.lastTick / 2, false))
        return 0; // no sound font here
    std::vector<int16_t> frames(2 * 1024);
    for (int block = 0; block < 11; ++block)
        if (sequence->Read(frames.data(), 1024) < 1024)
            break;
    sequence->Halt();
    return 0;
}
