#pragma once

// MIDI songs played by a General MIDI synthesiser (libfluidsynth with the
// sound font Debian installs) into the mixer, like every other sound. The
// process has one synthesiser, as a machine has one MIDI port: one song plays
// on it at a time, and another cannot start until that one is halted or has
// ended. The sound font is loaded on the first play and kept.
//
// A song that does not loop ends once its last event has played and its sound
// (notes still ringing, the reverb after them) has stayed below -60 dB of full
// scale (no sample beyond +-32) for a quarter of a second: a ringing note's
// level wavers, so a shorter lull is no end. A sound that never dies away (a
// note held and never released) is cut 5 s after the last event.

#include "platform/sound/MidiFile.h"
#include "platform/sound/SoundMixer.h"

#include <atomic>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// The General MIDI sound font: $PELLOR_SOUNDFONT when set, else Debian's
// default-GM or TimGM6mb; empty when none is installed.
std::string GeneralMidiSoundFont();

class MidiSequence : public SoundStream {
public:
    static constexpr int kQuietSample = 32; // -60 dB of full scale
    static constexpr int kQuietMs = 250;
    static constexpr int kLongestTailMs = 5000;
    // The synthesiser's gain: its own default of 0.2 is faint beside the
    // table's waves.
    static constexpr double kGain = 0.6;

    // A checked song; null with the reason for bytes that are not one.
    static std::shared_ptr<MidiSequence> Load(std::vector<uint8_t> bytes, std::string* error);
    ~MidiSequence() override;

    const MidiSong& Song() const { return m_song; }

    // Takes the synthesiser and plays from the tick, looping when asked
    // (then it never ends by itself). False with the reason when there is no
    // sound font or another song holds the synthesiser.
    bool Start(uint64_t fromTick, bool loop, std::string* error = nullptr);
    // Lets the synthesiser go; its sounding notes stop. Position keeps where
    // it was halted.
    void Halt();
    // The tick it plays at, or was halted at.
    uint64_t PositionTick() const;
    bool Ended() const { return m_ended; }

    size_t Read(int16_t* out, size_t frames) override;

private:
    MidiSequence() = default;
    void DropPlayer(); // under the synthesiser's lock

    std::vector<uint8_t> m_bytes;
    MidiSong m_song;
    void* m_player = nullptr; // the synthesiser's player while it holds it
    uint64_t m_haltTick = 0;
    size_t m_tailFrames = 0;  // played since the last event
    size_t m_quietFrames = 0; // played since the last sample above the quiet level
    bool m_loop = false;
    std::atomic<bool> m_ended{false};
};

} // namespace platform
