// The mixer, the recording null device and choosing the output.

#include "platform/sound/AudioOutput.h"

#include "platform/system/Clock.h"

#include <algorithm>
#include <map>
#include <mutex>

namespace platform {

namespace {

// Plays nothing; runs the mixer on by the platform clock and lists the plays.
class NullAudioDevice : public AudioDevice {
public:
    explicit NullAudioDevice(SoundMixer& mixer) : m_mixer(mixer), m_lastMs(GetClock().NowMs()) {
        m_mixer.SetEndListener([this](VoiceId voice, size_t offset) {
            Close(voice, m_syncFromMs + offset * 1000 / size_t(m_mixer.Rate()));
        });
    }
    ~NullAudioDevice() override { m_mixer.SetEndListener(nullptr); }

    void Sync() override {
        const uint64_t now = GetClock().NowMs();
        if (now <= m_lastMs)
            return;
        m_syncFromMs = m_lastMs;
        m_lastMs = now;
        m_mixer.Advance(size_t((now - m_syncFromMs) * uint64_t(m_mixer.Rate()) / 1000));
    }
    void Started(VoiceId voice, const SoundClip& clip, bool loop) override {
        std::lock_guard<std::mutex> guard(m_lock);
        m_open[voice] = m_played.size();
        m_played.push_back(PlayedSound{clip.name, loop, GetClock().NowMs(), 0});
    }
    void Stopped(VoiceId voice) override { Close(voice, GetClock().NowMs()); }

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
    uint64_t m_lastMs;
    uint64_t m_syncFromMs = 0;
    std::mutex m_lock;
    std::vector<PlayedSound> m_played;
    std::map<VoiceId, size_t> m_open;
};

struct Audio {
    SoundMixer mixer;
    std::unique_ptr<AudioDevice> device;
    AudioOutput kind = AudioOutput::Null;
};

Audio& TheAudio() {
    static Audio* audio = [] {
        auto* a = new Audio;
        a->device = std::make_unique<NullAudioDevice>(a->mixer);
        return a;
    }();
    return *audio;
}

} // namespace

SoundMixer& TheMixer() {
    return TheAudio().mixer;
}

AudioDevice& TheAudioDevice() {
    return *TheAudio().device;
}

AudioOutput StartAudio(AudioOutput wanted) {
    Audio& audio = TheAudio();
    audio.mixer.StopAll();
    audio.device.reset();
    if (wanted == AudioOutput::Sdl)
        audio.device = OpenSdlAudio(audio.mixer);
    audio.kind = audio.device ? AudioOutput::Sdl : AudioOutput::Null;
    if (!audio.device)
        audio.device = std::make_unique<NullAudioDevice>(audio.mixer);
    return audio.kind;
}

AudioOutput CurrentAudio() {
    return TheAudio().kind;
}

std::vector<PlayedSound> PlayedSounds() {
    auto* null = dynamic_cast<NullAudioDevice*>(&TheAudioDevice());
    if (!null)
        return {};
    null->Sync();
    return null->Played();
}

void ClearPlayedSounds() {
    if (auto* null = dynamic_cast<NullAudioDevice*>(&TheAudioDevice()))
        null->Clear();
}

VoiceId StartVoice(const std::shared_ptr<const SoundClip>& clip, bool loop, float gain) {
    TheAudioDevice().Sync();
    const VoiceId voice = TheMixer().Start(clip, loop, gain);
    if (voice)
        TheAudioDevice().Started(voice, *clip, loop);
    return voice;
}

void StopVoice(VoiceId voice) {
    TheAudioDevice().Sync();
    if (TheMixer().Stop(voice))
        TheAudioDevice().Stopped(voice);
}

bool VoicePlaying(VoiceId voice) {
    TheAudioDevice().Sync();
    return voice && TheMixer().IsPlaying(voice);
}

} // namespace platform
