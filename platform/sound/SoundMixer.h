#pragma once

// Mixing sounds: clips converted once to the mixer's format (16-bit signed
// stereo at its rate), or streams that make their frames as they are played
// (a synthesiser), voices that play them with a gain and maybe a loop,
// summed with clipping. An output device pulls rendered frames from its own
// thread; Render is also the offline form the tests use. Thread-safe.

#include "platform/sound/WaveFile.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace platform {

struct SoundClip {
    std::string name;
    std::vector<int16_t> samples; // interleaved left, right
    size_t Frames() const { return samples.size() / 2; }
};

// A source of frames in the mixer's format made while it plays. Read is
// called on the thread that renders, under the mixer's lock (a stream must not
// call the mixer); fewer frames than asked for end the voice.
class SoundStream {
public:
    virtual ~SoundStream() = default;
    virtual size_t Read(int16_t* out, size_t frames) = 0;
};

using VoiceId = uint64_t; // 0 is never a voice

// A DirectSound volume (hundredths of a decibel, 0 = as recorded, -10000 =
// silent) as a linear gain.
float GainOfVolume(long hundredthsOfDecibel);
constexpr long kVolumeMax = 0;
constexpr long kVolumeMin = -10000;

class SoundMixer {
public:
    static constexpr int kDefaultRate = 44100;
    explicit SoundMixer(int rate = kDefaultRate) : m_rate(rate) {}

    int Rate() const { return m_rate; }
    // Converts a wave to the mixer's format; null when it cannot be converted
    // or lasts longer than a sound may (platform/system/InputBounds.h). The
    // wave's samples go as soon as they are taken, so a caller done with
    // them moves them in.
    std::shared_ptr<const SoundClip> Prepare(Wave wave, std::string name) const;

    // A voice marks are told of each time it passes one of their frames, on
    // the thread that renders (under the mixer's lock: a listener must not
    // call the mixer). kEndMark is told when the voice ends by itself.
    static constexpr size_t kEndMark = SIZE_MAX;
    using MarkListener = std::function<void(size_t frame)>;
    struct Marks {
        std::vector<size_t> frames;
        MarkListener listener;
    };

    // From frame `from` (0 when past the end).
    VoiceId Start(std::shared_ptr<const SoundClip> clip, bool loop, float gain, size_t from = 0,
                  Marks marks = {});
    // A stream plays once, to its own end; its voice's position counts the
    // frames read. Of marks only kEndMark is told.
    VoiceId StartStream(std::shared_ptr<SoundStream> stream, float gain, Marks marks = {});
    // False when the voice had already ended.
    bool Stop(VoiceId voice);
    bool IsPlaying(VoiceId voice) const;
    // The frame the voice plays next; false when it has ended.
    bool Position(VoiceId voice, size_t& frame) const;
    void SetGain(VoiceId voice, float gain);
    void SetLoop(VoiceId voice, bool loop);
    void StopAll();

    // Mixes the next frames into out (2 samples a frame).
    void Render(int16_t* out, size_t frames);
    // Moves every voice on as Render would, without mixing (a silent device).
    void Advance(size_t frames);
    // Every frame rendered or advanced since the mixer was made.
    uint64_t FramesDone() const;

    // Told, under the mixer's lock, when a voice ends by itself: the voice and
    // how many frames into the current Render or Advance that happened.
    using EndListener = std::function<void(VoiceId, size_t frameOffset)>;
    void SetEndListener(EndListener listener);

private:
    struct Voice {
        std::shared_ptr<const SoundClip> clip;
        std::shared_ptr<SoundStream> stream; // instead of a clip
        size_t position = 0;                 // frames
        bool loop = false;
        float gain = 1.0f;
        Marks marks;
    };
    void Step(int16_t* out, size_t frames);
    // Runs a clip's voice on; true when it ended after `done` frames.
    bool StepClip(Voice& v, size_t frames, size_t& done);
    bool StepStream(Voice& v, size_t frames, size_t& done);
    static void TellMarks(const Voice& v, size_t from, size_t to);

    int m_rate;
    mutable std::mutex m_lock;
    std::map<VoiceId, Voice> m_voices;
    VoiceId m_lastId = 0;
    uint64_t m_framesDone = 0;
    EndListener m_onEnd;
    std::vector<int32_t> m_accumulator;
    std::vector<int16_t> m_streamBuffer;
};

} // namespace platform
