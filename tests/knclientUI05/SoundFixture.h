#pragma once

// Sound tests of the UI kit: a main window, the stepped clock, the recording
// null device, and a resource module holding "WAVE" resources as the
// resource handle. Waves are 8 kHz mono 16-bit files in a temporary folder.

#include "tests/support/ResourceScriptText.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WaveBytes.h"

#include "platform/resources/Resource.h"
#include "platform/sound/Sound.h"
#include "platform/system/Clock.h"
#include "platform/system/Module.h"
#include "platform/window/Wnd.h"

#include <gtest/gtest.h>

#include <string>

namespace ui_test {

class SoundTest : public ::testing::Test {
protected:
    static constexpr const char* kModule = "SoundKit_res.dll";
    static constexpr UINT kClickId = 301;
    static constexpr UINT kBrokenId = 302;

    platform::ManualClock clock;
    platform::ScopedClock useClock{clock};
    TempFolder folder;
    CWnd mainWindow;
    HINSTANCE savedHandle = nullptr;
    HMODULE module = nullptr;

    void SetUp() override {
        platform::StartAudio(platform::AudioOutput::Null);
        platform::ClearPlayedSounds();
        ASSERT_TRUE(
            mainWindow.CreateEx(0, nullptr, "main", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
        AfxSetMainWnd(&mainWindow);
        folder.Write("click.wav", wave_bytes::SilentWave(8000, 100));
        folder.Write("broken.wav", std::string("RIFF\x04\0\0\0WAVE", 12));
        std::string error;
        ASSERT_TRUE(RegisterResourceModuleText(kModule, Utf8(u8R"(
            301 WAVE "click.wav"
            302 WAVE "broken.wav"
        )"),
                                               folder.Path(), &error))
            << error;
        module = LoadLibrary(kModule);
        ASSERT_NE(module, nullptr);
        savedHandle = AfxGetResourceHandle();
        AfxSetResourceHandle(module);
    }
    void TearDown() override {
        PlaySound(nullptr, nullptr, SND_PURGE);
        AfxSetResourceHandle(savedHandle);
        FreeLibrary(module);
        UnregisterResourceModule(kModule);
        AfxSetMainWnd(nullptr);
        mainWindow.DestroyWindow();
    }

    // A wave file of ms milliseconds of silence; its path.
    std::string Wave(const std::string& name, int ms) {
        folder.Write(name, wave_bytes::SilentWave(8000, ms));
        return folder.File(name);
    }
    std::string File(const std::string& name, const std::string& bytes) {
        folder.Write(name, bytes);
        return folder.File(name);
    }
    // How many plays the device has seen, and how many still sound.
    static size_t Plays() { return platform::PlayedSounds().size(); }
    static size_t Sounding() {
        size_t n = 0;
        for (const auto& played : platform::PlayedSounds())
            n += played.stopMs == 0;
        return n;
    }
};

} // namespace ui_test
