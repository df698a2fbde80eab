#pragma once

// The music our player stand-ins play through the platform's sound output:
// wave, MP3 and MIDI files, known by their bytes, each a track with an id, a
// volume (0..100) and maybe a loop. Any other file (or a folder without a
// sound file) is refused with a logged line. A folder plays its first sound
// file by name. A track that has played to its end is dropped at the next
// play: however many sounds a game asks for, the list keeps only those
// still sounding.

#include "platform/sound/Sound.h"

#include <map>
#include <memory>
#include <string>

class MusicTracks {
public:
    // The new track's id (from 1), or 0 when refused.
    int Play(const std::string& file, bool loop);
    void StopName(const std::string& file);
    void StopId(int id);
    void StopAll();
    bool IsPlaying(int id) const;
    // The tracks kept: those sounding, and those ended since the last play.
    size_t Count() const { return m_tracks.size(); }

    // 0..100, values outside brought in.
    void SetMasterVolume(int volume);
    void SetVolume(const std::string& file, int volume);
    void SetVolume(int id, int volume);
    void SetMute(bool mute);
    bool Muted() const { return m_muted; }

    // The last refusal's line (also written to the error output).
    const std::string& LastRefusal() const { return m_lastRefusal; }

    // The sound volume (hundredths of a decibel) of a 0..100 volume.
    static long DecibelsOf(int volume);

private:
    struct Track {
        std::string file;
        int volume = 100;
        std::unique_ptr<platform::SoundBuffer> sound;
    };
    void Refuse(const std::string& file, const std::string& why);
    void ApplyVolume(Track& track) const;
    void DropEnded();

    std::map<int, Track> m_tracks;
    int m_lastId = 0;
    int m_masterVolume = 100;
    bool m_muted = false;
    std::string m_lastRefusal;
};
