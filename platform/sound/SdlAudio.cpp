// The SDL2 audio output: the device's thread pulls frames from the mixer.

#include "platform/sound/AudioOutput.h"

#include <SDL.h>

namespace platform {

namespace {

// The mixer outlives the device (the device closes first), so the callback
// may hold it directly.
void PullFromMixer(void* mixer, Uint8* stream, int bytes) {
    static_cast<SoundMixer*>(mixer)->Render(reinterpret_cast<int16_t*>(stream), size_t(bytes) / 4);
}

class SdlAudioDevice : public AudioDevice {
public:
    explicit SdlAudioDevice(SDL_AudioDeviceID device) : m_device(device) {
        SDL_PauseAudioDevice(m_device, 0);
    }
    ~SdlAudioDevice() override {
        SDL_CloseAudioDevice(m_device);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

private:
    SDL_AudioDeviceID m_device;
};

} // namespace

std::unique_ptr<AudioDevice> OpenSdlAudio(SoundMixer& mixer) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return nullptr;
    SDL_AudioSpec want{};
    want.freq = mixer.Rate();
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 1024;
    want.callback = PullFromMixer;
    want.userdata = &mixer;
    // No changes allowed: SDL converts to the device's own format itself.
    const SDL_AudioDeviceID id = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
    if (id == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    return std::make_unique<SdlAudioDevice>(id);
}

} // namespace platform
