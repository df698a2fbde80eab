// The real output path: SDL's audio device (its dummy driver, which pulls
// mixed frames at the real pace without a sound card) under the SDL display.

#include "platform/display/Display.h"
#include "platform/sound/DirectSound.h"
#include "platform/sound/Sound.h"
#include "platform/system/KernelObject.h"
#include "platform/system/Thread.h"
#include "platform/window/Wnd.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace platform;

namespace {

TEST(SdlSoundTest, ABufferPlaysToItsEndThroughTheDevicesThread) {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display)
        GTEST_SKIP() << "no X display (the suite runs this under xvfb-run)";
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_EQ(StartDisplay(DisplayKind::Sdl), DisplayKind::Sdl);
    ASSERT_EQ(StartAudio(AudioOutput::Driver), AudioOutput::Driver);

    CWnd window;
    ASSERT_TRUE(window.CreateEx(0, nullptr, "main", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    IDirectSound* sound = nullptr;
    ASSERT_EQ(DirectSoundCreate(nullptr, &sound, nullptr), DS_OK);
    ASSERT_EQ(sound->SetCooperativeLevel(window.m_hWnd, DSSCL_NORMAL), DS_OK);
    WAVEFORMATEX format{WAVE_FORMAT_PCM, 2, 22050, 22050 * 4, 4, 16, 0};
    DSBUFFERDESC desc{sizeof(DSBUFFERDESC), DSBCAPS_CTRLPOSITIONNOTIFY, 22050 * 4 / 20, 0,
                      &format}; // 50 ms
    IDirectSoundBuffer* buffer = nullptr;
    ASSERT_EQ(sound->CreateSoundBuffer(&desc, &buffer, nullptr), DS_OK);
    void* object = nullptr;
    ASSERT_EQ(buffer->QueryInterface(IID_IDirectSoundNotify, &object), DS_OK);
    auto* notify = static_cast<IDirectSoundNotify*>(object);
    HANDLE ended = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    const DSBPOSITIONNOTIFY atEnd{DSBPN_OFFSETSTOP, ended};
    ASSERT_EQ(notify->SetNotificationPositions(1, &atEnd), DS_OK);

    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    // The device's own thread mixes it to its end and sets the event; the
    // wait is bounded for a loaded machine.
    EXPECT_EQ(WaitForSingleObject(ended, 10000), WAIT_OBJECT_0);
    DWORD status = DSBSTATUS_PLAYING;
    buffer->GetStatus(&status);
    EXPECT_EQ(status, 0u);
    EXPECT_TRUE(PlayedSounds().empty()); // the null device was not used

    notify->Release();
    buffer->Release();
    sound->Release();
    CloseHandle(ended);
    window.DestroyWindow();
    StartAudio(AudioOutput::Null);
    StopDisplay();
    unsetenv("SDL_AUDIODRIVER");
}

} // namespace
