#pragma once

// The SDL driver's audio output (SdlAudio.cpp): internal to the display layer.

#include <cstdint>

namespace platform {

class SoundMixer;

class SdlAudioOutput {
public:
    SdlAudioOutput() = default;
    ~SdlAudioOutput() { Close(); }
    SdlAudioOutput(const SdlAudioOutput&) = delete;
    SdlAudioOutput& operator=(const SdlAudioOutput&) = delete;

    // The device's thread pulls frames from the mixer until Close; false when
    // no device opens. The mixer must outlive the open device.
    bool Open(SoundMixer& mixer);
    void Close();

private:
    uint32_t m_device = 0; // SDL_AudioDeviceID, 0 when closed
};

} // namespace platform
