// The SDL2 audio output: the device's thread pulls frames from the mixer.

#include "platform/display/SdlAudio.h"

#include "platform/sound/SoundMixer.h"
#include "platform/system/Trace.h"

#include <SDL.h>

namespace platform {

namespace {

void PullFromMixer(void* mixer, Uint8* stream, int bytes) {
    static_cast<SoundMixer*>(mixer)->Render(reinterpret_cast<int16_t*>(stream), size_t(bytes) / 4);
}

} // namespace

bool SdlAudioOutput::Open(SoundMixer& mixer) {
    Close();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    SDL_AudioSpec want{};
    want.freq = mixer.Rate();
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 1024;
    want.callback = PullFromMixer;
    want.userdata = &mixer;
    // No changes allowed: SDL converts to the device's own format itself.
    SDL_AudioSpec have{};
    const SDL_AudioDeviceID id = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (id == 0) {
        Trace(TraceChannel::kSound, kTraceError, "audio device: %s", SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    // Each pull takes a block, so a sound begins where a block does.
    Trace(TraceChannel::kSound, kTraceInfo,
          "audio device open (%s): %d Hz, %d channels, %d frames a block",
          SDL_GetCurrentAudioDriver(), have.freq, int(have.channels), int(have.samples));
    m_device = id;
    SDL_PauseAudioDevice(m_device, 0);
    return true;
}

void SdlAudioOutput::Close() {
    if (m_device == 0)
        return;
    SDL_CloseAudioDevice(m_device);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    m_device = 0;
}

} // namespace platform
