#pragma once

// Standard MIDI files (formats 0, 1 and 2), checked whole before a synthesiser
// sees them: every chunk within the file, every event within its track,
// lengths and running status as the format allows, tempos above zero, and
// no more bytes and events than a song may have (platform/system/InputBounds.h:
// the synthesiser holds every event). A file that fails any check is refused
// with the reason logged; nothing is read past its end. A file that passes
// gives its tempo map, so times in milliseconds and ticks convert both ways.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct MidiSong {
    int format = 0;
    int tracks = 0;
    // Ticks a quarter note, or for SMPTE time the ticks a second.
    int ticksPerQuarter = 0;
    int ticksPerSecond = 0;
    uint64_t lastTick = 0; // the latest event of any track
    struct Tempo {
        uint64_t tick;
        uint32_t microsPerQuarter;
        double startMs; // when the tempo takes over
    };
    std::vector<Tempo> tempos; // by tick, the first at tick 0

    double MsAtTick(uint64_t tick) const;
    uint64_t TickAtMs(double ms) const;
    double LengthMs() const { return MsAtTick(lastTick); }
};

bool CheckMidiFile(const void* data, size_t size, MidiSong& song, std::string* error = nullptr);

} // namespace platform
