// MIDI songs through libfluidsynth.

#include "platform/sound/MidiSynth.h"

#include <fluidsynth.h>

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <sys/stat.h>

namespace platform {

namespace {

bool Refuse(std::string* error, const char* why) {
    if (error)
        *error = why;
    return false;
}

// Frames at the end of a block of stereo samples that lie at or below the
// quiet level.
size_t QuietFramesAtEnd(const int16_t* samples, size_t frames) {
    size_t quiet = 0;
    while (quiet < frames) {
        const int16_t* frame = samples + 2 * (frames - 1 - quiet);
        if (std::abs(frame[0]) > MidiSequence::kQuietSample ||
            std::abs(frame[1]) > MidiSequence::kQuietSample)
            break;
        ++quiet;
    }
    return quiet;
}

bool IsFile(const std::string& path) {
    struct stat st {};
    return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// The one synthesiser, made on first use and kept for the process; every
// use of it and of a song's player goes under its lock.
struct Synth {
    std::mutex lock;
    bool tried = false;
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    MidiSequence* owner = nullptr;
    uint64_t frames = 0; // rendered since it was made
};

Synth& TheSynth() {
    static Synth* synth = new Synth; // outlives static destructors: the mixer may still pull
    return *synth;
}

// Under the lock. Null when no sound font loads.
fluid_synth_t* ReadySynth(Synth& s) {
    if (s.tried)
        return s.synth;
    s.tried = true;
    const std::string font = GeneralMidiSoundFont();
    if (font.empty())
        return nullptr;
    // The library's own notes go nowhere: a refusal is reported by the caller.
    for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
        fluid_set_log_function(level, nullptr, nullptr);
    s.settings = new_fluid_settings();
    fluid_settings_setnum(s.settings, "synth.sample-rate", double(SoundMixer::kDefaultRate));
    // Events follow the frames rendered, not the wall clock: the mixer decides
    // when frames are made, and a silent device makes them on the test clock.
    fluid_settings_setstr(s.settings, "player.timing-source", "sample");
    fluid_settings_setint(s.settings, "synth.lock-memory", 0);
    fluid_settings_setnum(s.settings, "synth.gain", MidiSequence::kGain);
    s.synth = new_fluid_synth(s.settings);
    if (s.synth && fluid_synth_sfload(s.synth, font.c_str(), 1) == FLUID_FAILED) {
        delete_fluid_synth(s.synth);
        s.synth = nullptr;
    }
    return s.synth;
}

// The synthesiser renders in blocks of its own; what is left of the one under
// way was made before a reset (the end of the song before). It goes unheard,
// so that a song starts on a fresh block, at the same frame as on a fresh
// synthesiser.
void SkipStaleFrames(Synth& s) {
    const uint64_t size = uint64_t(std::max(1, fluid_synth_get_internal_bufsize(s.synth)));
    const size_t stale = size_t((size - s.frames % size) % size);
    std::vector<int16_t> unheard(2 * stale);
    if (stale > 0 && fluid_synth_write_s16(s.synth, int(stale), unheard.data(), 0, 2,
                                           unheard.data(), 1, 2) == FLUID_OK)
        s.frames += stale;
}

} // namespace

std::string GeneralMidiSoundFont() {
    if (const char* chosen = getenv("PELLOR_SOUNDFONT"))
        return IsFile(chosen) ? chosen : std::string();
    for (const char* path :
         {"/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf2/TimGM6mb.sf2"})
        if (IsFile(path))
            return path;
    return std::string();
}

std::shared_ptr<MidiSequence> MidiSequence::Load(std::vector<uint8_t> bytes, std::string* error) {
    std::shared_ptr<MidiSequence> sequence(new MidiSequence);
    if (!CheckMidiFile(bytes.data(), bytes.size(), sequence->m_song, error))
        return nullptr;
    sequence->m_bytes = std::move(bytes);
    return sequence;
}

MidiSequence::~MidiSequence() {
    Halt();
}

void MidiSequence::DropPlayer() {
    Synth& s = TheSynth();
    if (!m_player)
        return;
    auto* player = static_cast<fluid_player_t*>(m_player);
    const int tick = fluid_player_get_current_tick(player);
    m_haltTick = tick > 0 ? uint64_t(tick) : 0;
    fluid_player_stop(player);
    delete_fluid_player(player);
    m_player = nullptr;
    fluid_synth_all_sounds_off(s.synth, -1);
    if (s.owner == this)
        s.owner = nullptr;
}

bool MidiSequence::Start(uint64_t fromTick, bool loop, std::string* error) {
    Synth& s = TheSynth();
    std::lock_guard<std::mutex> guard(s.lock);
    fluid_synth_t* synth = ReadySynth(s);
    if (!synth)
        return Refuse(error, "no General MIDI sound font is installed");
    if (s.owner && s.owner != this) {
        if (!s.owner->m_ended)
            return Refuse(error, "another song holds the synthesiser");
        s.owner->DropPlayer(); // it has ended: only its player is left
    }
    DropPlayer();
    fluid_synth_system_reset(synth);
    // The reset leaves the notes of a looping song that was halted ringing
    // into the next one; sounds off after it silences them.
    fluid_synth_all_sounds_off(synth, -1);
    SkipStaleFrames(s);
    fluid_player_t* player = new_fluid_player(synth);
    if (!player || fluid_player_add_mem(player, m_bytes.data(), m_bytes.size()) != FLUID_OK) {
        if (player)
            delete_fluid_player(player);
        return Refuse(error, "the synthesiser refused the song");
    }
    fluid_player_set_loop(player, loop ? -1 : 1);
    if (fluid_player_play(player) != FLUID_OK) {
        delete_fluid_player(player);
        return Refuse(error, "the synthesiser refused the song");
    }
    if (fromTick > 0 && fromTick < m_song.lastTick)
        fluid_player_seek(player, int(std::min<uint64_t>(fromTick, INT32_MAX)));
    m_player = player;
    m_haltTick = fromTick;
    m_tailFrames = 0;
    m_quietFrames = 0;
    m_loop = loop;
    m_ended = false;
    s.owner = this;
    return true;
}

void MidiSequence::Halt() {
    Synth& s = TheSynth();
    std::lock_guard<std::mutex> guard(s.lock);
    DropPlayer();
}

uint64_t MidiSequence::PositionTick() const {
    Synth& s = TheSynth();
    std::lock_guard<std::mutex> guard(s.lock);
    if (!m_player)
        return m_haltTick;
    const int tick = fluid_player_get_current_tick(static_cast<fluid_player_t*>(m_player));
    return tick > 0 ? uint64_t(tick) : 0;
}

size_t MidiSequence::Read(int16_t* out, size_t frames) {
    Synth& s = TheSynth();
    std::lock_guard<std::mutex> guard(s.lock);
    if (!m_player || s.owner != this || m_ended)
        return 0;
    auto* player = static_cast<fluid_player_t*>(m_player);
    const size_t rate = size_t(SoundMixer::kDefaultRate);
    const size_t quietNeeded = rate * kQuietMs / 1000;
    const size_t longestTail = rate * kLongestTailMs / 1000;
    // In small blocks, so the end falls where the song ends, however many
    // frames are asked for at once.
    size_t done = 0;
    while (done < frames) {
        // The player itself waits a while after the last event before it
        // calls itself done; the song is over when its last tick has played.
        const int tick = fluid_player_get_current_tick(player);
        const bool over = fluid_player_get_status(player) == FLUID_PLAYER_DONE ||
                          (!m_loop && tick >= 0 && uint64_t(tick) >= m_song.lastTick);
        if (over && (m_quietFrames >= quietNeeded || m_tailFrames >= longestTail)) {
            m_ended = true;
            break;
        }
        const size_t block = std::min<size_t>(frames - done, 512);
        int16_t* at = out + 2 * done;
        if (fluid_synth_write_s16(s.synth, int(block), at, 0, 2, at, 1, 2) != FLUID_OK) {
            m_ended = true;
            break;
        }
        s.frames += block;
        const size_t quiet = QuietFramesAtEnd(at, block);
        m_quietFrames = quiet == block ? m_quietFrames + block : quiet;
        if (over)
            m_tailFrames += block;
        done += block;
    }
    return done;
}

} // namespace platform
