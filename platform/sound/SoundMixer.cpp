// Converting and mixing sound.

#include "platform/sound/SoundMixer.h"

#include "platform/system/InputBounds.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace platform {

float GainOfVolume(long hundredthsOfDecibel) {
    if (hundredthsOfDecibel <= kVolumeMin)
        return 0.0f;
    hundredthsOfDecibel = std::min(hundredthsOfDecibel, kVolumeMax);
    return float(std::pow(10.0, double(hundredthsOfDecibel) / 2000.0));
}

// SDL's converter changes sample format, channel count and rate in one go.
std::shared_ptr<const SoundClip> SoundMixer::Prepare(Wave wave, std::string name) const {
    const WaveFormat& f = wave.format;
    if (f.FrameBytes() <= 0 || f.rate <= 0 || wave.pcm.empty())
        return nullptr;
    // Whatever made the wave (a file, a sound buffer), the mixer holds no
    // more than a sound may last.
    if (wave.pcm.size() / size_t(f.FrameBytes()) > size_t(kMaxSoundSeconds) * size_t(f.rate)) {
        RefuseInput("sound", name + " plays longer than ten minutes");
        return nullptr;
    }
    // 16-bit sound at the mixer's rate is taken as it is: SDL's converter
    // goes through floats and loses the lowest bit of loud samples.
    if (f.bits == 16 && f.rate == m_rate && f.channels <= 2) {
        auto clip = std::make_shared<SoundClip>();
        clip->name = std::move(name);
        const size_t frames = wave.pcm.size() / size_t(f.FrameBytes());
        clip->samples.resize(frames * 2);
        for (size_t i = 0; i < frames; ++i)
            for (int side = 0; side < 2; ++side) {
                const uint8_t* p = wave.pcm.data() + i * size_t(f.FrameBytes()) +
                                   size_t(f.channels == 2 ? side * 2 : 0);
                clip->samples[i * 2 + size_t(side)] = int16_t(uint16_t(p[0] | p[1] << 8));
            }
        return clip->samples.empty() ? nullptr : clip;
    }
    SDL_AudioCVT cvt;
    const SDL_AudioFormat from = f.bits == 8 ? AUDIO_U8 : AUDIO_S16LSB;
    if (SDL_BuildAudioCVT(&cvt, from, Uint8(f.channels), f.rate, AUDIO_S16SYS, 2, m_rate) < 0)
        return nullptr;
    cvt.len = int(wave.pcm.size());
    // SDL asks for room for its widest step (floats, more channels, a higher
    // rate: up to a hundred times the input) but fills only what each step
    // makes; the block is not cleared, so the room it does not use is never
    // resident, and once converted it is cut to the result.
    std::unique_ptr<uint8_t, decltype(&std::free)> buffer(
        static_cast<uint8_t*>(std::malloc(size_t(cvt.len) * size_t(std::max(cvt.len_mult, 1)))),
        &std::free);
    if (!buffer)
        return nullptr;
    memcpy(buffer.get(), wave.pcm.data(), wave.pcm.size());
    const size_t taken = wave.pcm.size();
    std::vector<uint8_t>().swap(wave.pcm);
    cvt.buf = buffer.get();
    if (cvt.needed && SDL_ConvertAudio(&cvt) < 0)
        return nullptr;
    const size_t bytes = cvt.needed ? size_t(cvt.len_cvt) : taken;
    if (void* cut = std::realloc(buffer.get(), std::max<size_t>(bytes, 1))) {
        buffer.release();
        buffer.reset(static_cast<uint8_t*>(cut));
    }
    auto clip = std::make_shared<SoundClip>();
    clip->name = std::move(name);
    const auto* converted = reinterpret_cast<const int16_t*>(buffer.get());
    clip->samples.assign(converted, converted + bytes / 4 * 2);
    if (clip->samples.empty())
        return nullptr;
    return clip;
}

VoiceId SoundMixer::Start(std::shared_ptr<const SoundClip> clip, bool loop, float gain, size_t from,
                          Marks marks) {
    if (!clip || clip->Frames() == 0)
        return 0;
    if (from >= clip->Frames())
        from = 0;
    std::lock_guard<std::mutex> guard(m_lock);
    const VoiceId id = ++m_lastId;
    Voice voice;
    voice.clip = std::move(clip);
    voice.position = from;
    voice.loop = loop;
    voice.gain = gain;
    voice.marks = std::move(marks);
    m_voices[id] = std::move(voice);
    return id;
}

VoiceId SoundMixer::StartStream(std::shared_ptr<SoundStream> stream, float gain, Marks marks) {
    if (!stream)
        return 0;
    std::lock_guard<std::mutex> guard(m_lock);
    const VoiceId id = ++m_lastId;
    Voice voice;
    voice.stream = std::move(stream);
    voice.gain = gain;
    voice.marks = std::move(marks);
    m_voices[id] = std::move(voice);
    return id;
}

bool SoundMixer::Position(VoiceId voice, size_t& frame) const {
    std::lock_guard<std::mutex> guard(m_lock);
    auto it = m_voices.find(voice);
    if (it == m_voices.end())
        return false;
    frame = it->second.position;
    return true;
}

// Tells the marks in [from, to) of a voice that has just played those frames.
void SoundMixer::TellMarks(const Voice& v, size_t from, size_t to) {
    if (!v.marks.listener)
        return;
    for (size_t mark : v.marks.frames)
        if (mark != kEndMark && mark >= from && mark < to)
            v.marks.listener(mark);
}

bool SoundMixer::Stop(VoiceId voice) {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_voices.erase(voice) > 0;
}

bool SoundMixer::IsPlaying(VoiceId voice) const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_voices.count(voice) > 0;
}

void SoundMixer::SetGain(VoiceId voice, float gain) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (auto it = m_voices.find(voice); it != m_voices.end())
        it->second.gain = gain;
}

void SoundMixer::SetLoop(VoiceId voice, bool loop) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (auto it = m_voices.find(voice); it != m_voices.end())
        it->second.loop = loop;
}

void SoundMixer::StopAll() {
    std::lock_guard<std::mutex> guard(m_lock);
    m_voices.clear();
}

void SoundMixer::SetEndListener(EndListener listener) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_onEnd = std::move(listener);
}

void SoundMixer::Render(int16_t* out, size_t frames) {
    std::lock_guard<std::mutex> guard(m_lock);
    Step(out, frames);
}

void SoundMixer::Advance(size_t frames) {
    std::lock_guard<std::mutex> guard(m_lock);
    Step(nullptr, frames);
}

uint64_t SoundMixer::FramesDone() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_framesDone;
}

// Runs every voice on by frames; with out, sums them into it.
void SoundMixer::Step(int16_t* out, size_t frames) {
    m_framesDone += frames;
    // Empty when nothing is mixed, which the voices' steps go by.
    if (out)
        m_accumulator.assign(frames * 2, 0);
    else
        m_accumulator.clear();
    for (auto it = m_voices.begin(); it != m_voices.end();) {
        Voice& v = it->second;
        size_t done = 0;
        const bool ended = v.stream ? StepStream(v, frames, done) : StepClip(v, frames, done);
        if (ended) {
            for (size_t mark : v.marks.frames)
                if (mark == kEndMark && v.marks.listener)
                    v.marks.listener(mark);
            if (m_onEnd)
                m_onEnd(it->first, done);
            it = m_voices.erase(it);
        } else {
            ++it;
        }
    }
    if (out)
        for (size_t i = 0; i < frames * 2; ++i)
            out[i] = int16_t(std::clamp<int32_t>(m_accumulator[i], INT16_MIN, INT16_MAX));
}

bool SoundMixer::StepClip(Voice& v, size_t frames, size_t& done) {
    const size_t length = v.clip->Frames();
    const bool mixing = !m_accumulator.empty();
    while (done < frames) {
        const size_t n = std::min(frames - done, length - v.position);
        if (mixing) {
            const int16_t* src = v.clip->samples.data() + v.position * 2;
            int32_t* dst = m_accumulator.data() + done * 2;
            for (size_t i = 0; i < n * 2; ++i)
                dst[i] += int32_t(std::lround(float(src[i]) * v.gain));
        }
        TellMarks(v, v.position, v.position + n);
        done += n;
        v.position += n;
        if (v.position < length)
            continue;
        if (!v.loop)
            return true;
        v.position = 0;
    }
    return false;
}

// A stream is read even when nothing is mixed: only reading finds its end.
bool SoundMixer::StepStream(Voice& v, size_t frames, size_t& done) {
    m_streamBuffer.resize(frames * 2);
    done = std::min(v.stream->Read(m_streamBuffer.data(), frames), frames);
    if (!m_accumulator.empty())
        for (size_t i = 0; i < done * 2; ++i)
            m_accumulator[i] += int32_t(std::lround(float(m_streamBuffer[i]) * v.gain));
    v.position += done;
    return done < frames;
}

} // namespace platform
