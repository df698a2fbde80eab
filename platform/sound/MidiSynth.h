#pragma once

// MIDI songs played by a General MIDI synthesiser (libfluidsynth with the
// sound font Debian installs) into the mixer, like every other sound. The
// process has one synthesiser, as a machine has one MIDI port: one song plays
// on it at a time, and another cannot start until that one is halted or has
// ended. The sound font is loaded on the first play and kept.

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
    size_t m_tailFrames = 0;
    bool m_loop = false;
    std::atomic<bool> m_ended{false};
};

} // namespace platform
