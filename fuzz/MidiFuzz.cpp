// Arbitrary bytes as a standard MIDI file: the checker refuses them or passes
// them with a tempo map that converts both ways; what passes is played for a
// quarter of a second by the synthesiser, as the MCI sequencer would, never
// crashing it or reading outside the bytes.

#include "platform/sound/MidiSynth.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
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
