// The mixer, the recording null device and choosing the output.

#include "platform/sound/AudioOutput.h"

#include "platform/DisplayDriver.h"
#include "platform/system/Clock.h"

#include <algorithm>
#include <map>
#include <mutex>

namespace platform {

namespace {

// Plays nothing; runs the mixer on by the platform clock and lists the plays.
// It can also keep the mixed frames it would have played.
class NullAudioDevice {
public:
    explicit NullAudioDevice(SoundMixer& mixer)
        : m_mixer(mixer), m_startMs(GetClock().NowMs()), m_lastMs(m_startMs) {
        m_mixer.SetEndListener([this](VoiceId voice, size_t offset) {
            Close(voice, m_syncFromMs + offset * 1000 / size_t(m_mixer.Rate()));
        });
    }
    ~NullAudioDevice() { m_mixer.SetEndListener(nullptr); }

    // Brings the mixer up to now: voices run on by the clock.
    void Sync() {
        const uint64_t now = GetClock().NowMs();
        if (now <= m_lastMs)
            return;
        m_syncFromMs = m_lastMs;
        m_lastMs = now;
        // Counted from the start, so that many small steps lose no frames.
        const uint64_t due = (now - m_startMs) * uint64_t(m_mixer.Rate()) / 1000;
        const size_t frames = size_t(due - m_framesDone);
        m_framesDone = due;
        if (!m_capturing) {
            m_mixer.Advance(frames);
            return;
        }
        std::vector<int16_t> mixed(frames * 2);
        m_mixer.Render(mixed.data(), frames);
        std::lock_guard<std::mutex> guard(m_lock);
        m_captured.insert(m_captured.end(), mixed.begin(), mixed.end());
    }
    void Capture(bool on) {
        Sync();
        std::lock_guard<std::mutex> guard(m_lock);
        m_capturing = on;
        m_captured.clear();
    }
    std::vector<int16_t> Captured() {
        Sync();
        std::lock_guard<std::mutex> guard(m_lock);
        return m_captured;
    }
    void Started(VoiceId voice, const std::string& name, bool loop) {
        std::lock_guard<std::mutex> guard(m_lock);
        m_open[voice] = m_played.size();
        m_played.push_back(PlayedSound{name, loop, GetClock().NowMs(), 0});
    }
    void Stopped(VoiceId voice) { Close(voice, GetClock().NowMs()); }

    std::vector<PlayedSound> Played() {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_played;
    }
    void Clear() {
        std::lock_guard<std::mutex> guard(m_lock);
        m_played.clear();
        m_open.clear();
    }

private:
    void Close(VoiceId voice, uint64_t atMs) {
        std::lock_guard<std::mutex> guard(m_lock);
        auto it = m_open.find(voice);
        if (it == m_open.end())
            return;
        m_played[it->second].stopMs = std::max<uint64_t>(atMs, 1);
        m_open.erase(it);
    }

    SoundMixer& m_mixer;
    uint64_t m_startMs;
    uint64_t m_lastMs;
    uint64_t m_syncFromMs = 0;
    uint64_t m_framesDone = 0;
    bool m_capturing = false;
    std::vector<int16_t> m_captured;
    std::mutex m_lock;
    std::vector<PlayedSound> m_played;
    std::map<VoiceId, size_t> m_open;
};

struct Audio {
    SoundMixer mixer;
    std::unique_ptr<NullAudioDevice> null; // unless the driver plays
    AudioOutput kind = AudioOutput::Null;
    uint64_t startFrame = 0; // the mixer's count when the output started
};

Audio& TheAudio() {
    static Audio* audio = [] {
        auto* a = new Audio;
        a->null = std::make_unique<NullAudioDevice>(a->mixer);
        return a;
    }();
    return *audio;
}

NullAudioDevice* TheNullDevice() {
    return TheAudio().null.get();
}

} // namespace

SoundMixer& TheMixer() {
    return TheAudio().mixer;
}

int MixerRate() {
    return TheMixer().Rate();
}

AudioOutput StartAudio(AudioOutput wanted) {
    Audio& audio = TheAudio();
    audio.mixer.StopAll();
    audio.null.reset();
    if (audio.kind == AudioOutput::Driver)
        GetDisplayDriver().CloseAudio();
    audio.startFrame = audio.mixer.FramesDone();
    const bool driverPlays =
        wanted == AudioOutput::Driver && GetDisplayDriver().OpenAudio(audio.mixer);
    audio.kind = driverPlays ? AudioOutput::Driver : AudioOutput::Null;
    if (!driverPlays)
        audio.null = std::make_unique<NullAudioDevice>(audio.mixer);
    return audio.kind;
}

AudioOutput CurrentAudio() {
    return TheAudio().kind;
}

uint64_t AudioOutputMs() {
    SyncAudio();
    const Audio& audio = TheAudio();
    return (audio.mixer.FramesDone() - audio.startFrame) * 1000 / uint64_t(audio.mixer.Rate());
}

std::vector<PlayedSound> PlayedSounds() {
    NullAudioDevice* null = TheNullDevice();
    if (!null)
        return {};
    null->Sync();
    return null->Played();
}

void ClearPlayedSounds() {
    if (NullAudioDevice* null = TheNullDevice())
        null->Clear();
}

void CaptureAudio(bool on) {
    if (NullAudioDevice* null = TheNullDevice())
        null->Capture(on);
}

std::vector<int16_t> CapturedAudio() {
    NullAudioDevice* null = TheNullDevice();
    return null ? null->Captured() : std::vector<int16_t>();
}

void SyncAudio() {
    if (NullAudioDevice* null = TheNullDevice())
        null->Sync();
}

VoiceId StartVoice(const std::shared_ptr<const SoundClip>& clip, bool loop, float gain, size_t from,
                   SoundMixer::Marks marks) {
    NullAudioDevice* null = TheNullDevice();
    if (null)
        null->Sync();
    const VoiceId voice = TheMixer().Start(clip, loop, gain, from, std::move(marks));
    if (voice && null)
        null->Started(voice, clip->name, loop);
    return voice;
}

VoiceId StartStreamVoice(std::shared_ptr<SoundStream> stream, const std::string& name, float gain,
                         SoundMixer::Marks marks) {
    NullAudioDevice* null = TheNullDevice();
    if (null)
        null->Sync();
    const VoiceId voice = TheMixer().StartStream(std::move(stream), gain, std::move(marks));
    if (voice && null)
        null->Started(voice, name, false);
    return voice;
}

void StopVoice(VoiceId voice) {
    NullAudioDevice* null = TheNullDevice();
    if (null)
        null->Sync();
    if (TheMixer().Stop(voice) && null)
        null->Stopped(voice);
}

bool VoicePlaying(VoiceId voice) {
    if (NullAudioDevice* null = TheNullDevice())
        null->Sync();
    return voice && TheMixer().IsPlaying(voice);
}

} // namespace platform
