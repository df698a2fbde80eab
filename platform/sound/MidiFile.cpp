// Checking standard MIDI files and their tempo map.

#include "platform/sound/MidiFile.h"

#include "platform/system/InputBounds.h"

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

// The synthesiser's player holds at most this many tracks.
constexpr int kMaxTracks = 128;
constexpr uint32_t kDefaultTempo = 500000; // 120 quarters a minute

bool Refuse(std::string* error, const std::string& why) {
    return RefuseInput("MIDI file", why, error);
}

uint32_t Be32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}
uint16_t Be16(const uint8_t* p) {
    return uint16_t(p[0] << 8 | p[1]);
}

// One track's events, read within [p, end).
class TrackReader {
public:
    TrackReader(const uint8_t* p, const uint8_t* end) : m_p(p), m_end(end) {}

    // events counts the song's events so far, every track's.
    bool Read(uint64_t& lastTick, std::vector<MidiSong::Tempo>& tempos, size_t& events,
              std::string& why) {
        uint64_t tick = 0;
        uint8_t running = 0;
        while (m_p < m_end) {
            if (++events > kMaxMidiEvents)
                return Fail(why, "more events than a song may have");
            uint32_t delta = 0;
            if (!Quantity(delta))
                return Fail(why, "a delta time runs past its track or over four bytes");
            tick += delta;
            if (m_p >= m_end)
                return Fail(why, "a track ends inside an event");
            uint8_t status = *m_p;
            if (status < 0x80) {
                if (running == 0)
                    return Fail(why, "running status with no status before it");
                status = running; // the byte read is the first data byte
            } else {
                ++m_p;
            }
            if (status < 0xF0) {
                running = status;
                const int bytes = (status & 0xE0) == 0xC0 ? 1 : 2;
                for (int k = 0; k < bytes; ++k)
                    if (m_p >= m_end || *m_p++ >= 0x80)
                        return Fail(why, "a channel message lacks its data");
            } else if (status == 0xF0 || status == 0xF7) {
                running = 0;
                uint32_t length = 0;
                if (!Quantity(length) || length > size_t(m_end - m_p))
                    return Fail(why, "a system exclusive message runs past its track");
                m_p += length;
            } else if (status == 0xFF) {
                running = 0;
                if (m_p >= m_end)
                    return Fail(why, "a meta event lacks its type");
                const uint8_t type = *m_p++;
                uint32_t length = 0;
                if (!Quantity(length) || length > size_t(m_end - m_p))
                    return Fail(why, "a meta event runs past its track");
                if (type == 0x51) {
                    if (length != 3)
                        return Fail(why, "a tempo is not three bytes long");
                    const uint32_t micros = uint32_t(m_p[0]) << 16 | uint32_t(m_p[1]) << 8 | m_p[2];
                    if (micros == 0)
                        return Fail(why, "a tempo of zero");
                    tempos.push_back({tick, micros, 0});
                }
                m_p += length;
                if (type == 0x2F)
                    break; // end of track: what follows in the chunk is not read
            } else {
                return Fail(why, "a real-time or common message has no place in a file");
            }
        }
        lastTick = std::max(lastTick, tick);
        return true;
    }

private:
    // A variable-length quantity of at most four bytes.
    bool Quantity(uint32_t& value) {
        value = 0;
        for (int k = 0; k < 4; ++k) {
            if (m_p >= m_end)
                return false;
            const uint8_t byte = *m_p++;
            value = value << 7 | (byte & 0x7F);
            if (!(byte & 0x80))
                return true;
        }
        return false;
    }
    static bool Fail(std::string& why, const char* text) {
        why = text;
        return false;
    }

    const uint8_t* m_p;
    const uint8_t* m_end;
};

} // namespace

double MidiSong::MsAtTick(uint64_t tick) const {
    if (ticksPerSecond > 0)
        return double(tick) * 1000.0 / ticksPerSecond;
    auto next = std::upper_bound(tempos.begin(), tempos.end(), tick,
                                 [](uint64_t t, const Tempo& tempo) { return t < tempo.tick; });
    if (next == tempos.begin() || ticksPerQuarter <= 0)
        return 0;
    const Tempo& tempo = *std::prev(next);
    return tempo.startMs +
           double(tick - tempo.tick) * tempo.microsPerQuarter / 1000.0 / ticksPerQuarter;
}

uint64_t MidiSong::TickAtMs(double ms) const {
    if (ms <= 0)
        return 0;
    if (ticksPerSecond > 0)
        return uint64_t(ms * ticksPerSecond / 1000.0);
    auto next = std::upper_bound(tempos.begin(), tempos.end(), ms,
                                 [](double t, const Tempo& tempo) { return t < tempo.startMs; });
    if (next == tempos.begin() || ticksPerQuarter <= 0)
        return 0;
    const Tempo& tempo = *std::prev(next);
    return tempo.tick +
           uint64_t((ms - tempo.startMs) * 1000.0 * ticksPerQuarter / tempo.microsPerQuarter);
}

bool CheckMidiFile(const void* data, size_t size, MidiSong& song, std::string* error) {
    song = MidiSong();
    const auto* bytes = static_cast<const uint8_t*>(data);
    if (!bytes || size < 14 || memcmp(bytes, "MThd", 4) != 0)
        return Refuse(error, "not a MIDI file");
    if (size > kMaxMidiFileBytes)
        return Refuse(error, "the MIDI file is too large");
    const uint32_t headerLength = Be32(bytes + 4);
    if (headerLength < 6 || headerLength > size - 8)
        return Refuse(error, "the MIDI header's length is wrong");
    song.format = Be16(bytes + 8);
    song.tracks = Be16(bytes + 10);
    const uint16_t division = Be16(bytes + 12);
    if (song.format > 2)
        return Refuse(error, "an unknown MIDI format");
    if (song.tracks == 0 || song.tracks > kMaxTracks || (song.format == 0 && song.tracks != 1))
        return Refuse(error, "a track count the format does not allow");
    if (division & 0x8000) {
        const int frames = -int(int8_t(division >> 8));
        const int ticksPerFrame = division & 0xFF;
        if ((frames != 24 && frames != 25 && frames != 29 && frames != 30) || ticksPerFrame == 0)
            return Refuse(error, "an unknown SMPTE time division");
        song.ticksPerSecond = frames * ticksPerFrame;
    } else {
        if (division == 0)
            return Refuse(error, "a time division of zero");
        song.ticksPerQuarter = division;
    }

    std::vector<MidiSong::Tempo> tempos;
    size_t events = 0;
    int found = 0;
    size_t at = 8 + headerLength;
    while (found < song.tracks) {
        if (size - at < 8)
            return Refuse(error, "fewer tracks than the header counts");
        const uint32_t length = Be32(bytes + at + 4);
        if (length > size - at - 8)
            return Refuse(error, "a chunk runs past the end of the file");
        const uint8_t* body = bytes + at + 8;
        if (memcmp(bytes + at, "MTrk", 4) == 0) {
            std::string why;
            if (!TrackReader(body, body + length).Read(song.lastTick, tempos, events, why))
                return Refuse(error, "track " + std::to_string(found + 1) + ": " + why);
            ++found;
        }
        at += 8 + size_t(length);
    }

    // One tempo map for all tracks, as the player keeps it.
    std::stable_sort(
        tempos.begin(), tempos.end(),
        [](const MidiSong::Tempo& a, const MidiSong::Tempo& b) { return a.tick < b.tick; });
    song.tempos.push_back({0, kDefaultTempo, 0});
    for (const MidiSong::Tempo& tempo : tempos) {
        if (tempo.tick == song.tempos.back().tick) {
            song.tempos.back().microsPerQuarter = tempo.microsPerQuarter;
            continue;
        }
        MidiSong::Tempo next = tempo;
        next.startMs = song.MsAtTick(tempo.tick);
        song.tempos.push_back(next);
    }
    return true;
}

} // namespace platform
