// Sound buffers on the recording null device: what they play (the mixed
// samples), when they stop, their cursors, duplicates and notifications.

#include "tests/support/WaveBytes.h"

#include "platform/sound/DirectSound.h"
#include "platform/sound/Sound.h"
#include "platform/system/Clock.h"
#include "platform/system/KernelObject.h"
#include "platform/system/Thread.h"
#include "platform/window/Wnd.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

using namespace platform;

namespace {

// The mixer runs at 44.1 kHz, so a 44.1 kHz mono wave reaches it unconverted
// (each sample on both sides): 441 frames last 10 ms.
constexpr int kRate = 44100;
constexpr int kFrames10Ms = 441;

class DirectSoundTest : public ::testing::Test {
protected:
    ManualClock clock;
    ScopedClock useClock{clock};
    CWnd window;
    IDirectSound* sound = nullptr;

    void SetUp() override {
        StartAudio(AudioOutput::Null);
        ASSERT_EQ(MixerRate(), kRate);
        ASSERT_TRUE(window.CreateEx(0, nullptr, "main", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
        ASSERT_EQ(DirectSoundCreate(nullptr, &sound, nullptr), DS_OK);
        ASSERT_EQ(sound->SetCooperativeLevel(window.m_hWnd, DSSCL_NORMAL), DS_OK);
        CaptureAudio(true);
    }
    void TearDown() override {
        CaptureAudio(false);
        if (sound)
            sound->Release();
        window.DestroyWindow();
    }

    // A buffer holding the ramp of n samples (sample i = (i + 1) * step).
    IDirectSoundBuffer* RampBuffer(int n, int step, DWORD flags = DSBCAPS_CTRLVOLUME) {
        WAVEFORMATEX format{WAVE_FORMAT_PCM, 1, kRate, kRate * 2, 2, 16, 0};
        DSBUFFERDESC desc{sizeof(DSBUFFERDESC), flags, DWORD(n * 2), 0, &format};
        IDirectSoundBuffer* buffer = nullptr;
        EXPECT_EQ(sound->CreateSoundBuffer(&desc, &buffer, nullptr), DS_OK);
        if (!buffer)
            return nullptr;
        void* part1 = nullptr;
        DWORD bytes1 = 0;
        EXPECT_EQ(buffer->Lock(0, 0, &part1, &bytes1, nullptr, nullptr, DSBLOCK_ENTIREBUFFER),
                  DS_OK);
        const std::string ramp = wave_bytes::RampSamples(n, step);
        memcpy(part1, ramp.data(), std::min<size_t>(bytes1, ramp.size()));
        EXPECT_EQ(buffer->Unlock(part1, bytes1, nullptr, 0), DS_OK);
        return buffer;
    }
    static bool Playing(IDirectSoundBuffer* buffer) {
        DWORD status = 0;
        return SUCCEEDED(buffer->GetStatus(&status)) && (status & DSBSTATUS_PLAYING);
    }
    // The left side of what the device mixed.
    static std::vector<int16_t> Left(const std::vector<int16_t>& stereo) {
        std::vector<int16_t> left;
        for (size_t i = 0; i < stereo.size(); i += 2) {
            EXPECT_EQ(stereo[i], stereo[i + 1]) << "a mono sound is the same on both sides";
            left.push_back(stereo[i]);
        }
        return left;
    }
};

TEST_F(DirectSoundTest, ABufferPlaysItsSamplesOnceAtItsVolumeAndStopsAtItsEnd) {
    IDirectSoundBuffer* buffer = RampBuffer(kFrames10Ms, 50);
    ASSERT_NE(buffer, nullptr);
    ASSERT_EQ(buffer->SetVolume(-600), DS_OK); // -6 dB
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    clock.Advance(9);
    EXPECT_TRUE(Playing(buffer));
    clock.Advance(11);
    EXPECT_FALSE(Playing(buffer));

    const std::vector<int16_t> left = Left(CapturedAudio());
    ASSERT_EQ(left.size(), size_t(kFrames10Ms * 2)); // 20 ms were mixed
    const double gain = std::pow(10.0, -6.0 / 20.0);
    for (int i = 0; i < kFrames10Ms; ++i)
        ASSERT_NEAR(left[size_t(i)], (i + 1) * 50 * gain, 1.0) << "sample " << i;
    for (size_t i = kFrames10Ms; i < left.size(); ++i)
        ASSERT_EQ(left[i], 0) << "silence after the end, frame " << i;

    DWORD play = 1;
    EXPECT_EQ(buffer->GetCurrentPosition(&play, nullptr), DS_OK);
    EXPECT_EQ(play, 0u); // back at the start once it has ended
    EXPECT_EQ(buffer->SetVolume(-10001), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->SetVolume(1), DSERR_INVALIDPARAM);
    buffer->Release();
}

TEST_F(DirectSoundTest, TwoBuffersMixIntoTheirSumAndALoopNeverEnds) {
    IDirectSoundBuffer* once = RampBuffer(kFrames10Ms, 10);
    IDirectSoundBuffer* loop = RampBuffer(100, 7);
    ASSERT_TRUE(once && loop);
    ASSERT_EQ(once->Play(0, 0, 0), DS_OK);
    ASSERT_EQ(loop->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    DWORD status = 0;
    loop->GetStatus(&status);
    EXPECT_EQ(status, DWORD(DSBSTATUS_PLAYING | DSBSTATUS_LOOPING));
    clock.Advance(10000);
    EXPECT_FALSE(Playing(once));
    EXPECT_TRUE(Playing(loop));

    const std::vector<int16_t> left = Left(CapturedAudio());
    ASSERT_GE(left.size(), size_t(kFrames10Ms + 300));
    for (int i = 0; i < kFrames10Ms + 300; ++i) {
        const int expected = (i < kFrames10Ms ? (i + 1) * 10 : 0) + (i % 100 + 1) * 7;
        ASSERT_EQ(left[size_t(i)], expected) << "frame " << i;
    }
    ASSERT_EQ(loop->Stop(), DS_OK);
    EXPECT_FALSE(Playing(loop));
    once->Release();
    loop->Release();
}

TEST_F(DirectSoundTest, StopKeepsTheCursorPlayGoesOnFromItAndRewindingStartsOver) {
    IDirectSoundBuffer* buffer = RampBuffer(kFrames10Ms * 10, 1); // 100 ms
    ASSERT_NE(buffer, nullptr);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    clock.Advance(40);
    ASSERT_EQ(buffer->Stop(), DS_OK);
    DWORD play = 0;
    buffer->GetCurrentPosition(&play, nullptr);
    EXPECT_EQ(play, DWORD(4 * kFrames10Ms * 2)); // 40 ms of 2-byte frames

    CaptureAudio(true);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    clock.Advance(1);
    std::vector<int16_t> left = Left(CapturedAudio());
    ASSERT_FALSE(left.empty());
    EXPECT_EQ(left[0], 4 * kFrames10Ms + 1); // went on where it stopped
    buffer->Stop();

    ASSERT_EQ(buffer->SetCurrentPosition(0), DS_OK);
    CaptureAudio(true);
    buffer->Play(0, 0, 0);
    clock.Advance(1);
    left = Left(CapturedAudio());
    ASSERT_FALSE(left.empty());
    EXPECT_EQ(left[0], 1);
    EXPECT_EQ(buffer->SetCurrentPosition(kFrames10Ms * 20), DSERR_INVALIDPARAM);
    buffer->Release();
}

TEST_F(DirectSoundTest, DuplicatesShareTheBytesAndPlayOnTheirOwn) {
    IDirectSoundBuffer* original = RampBuffer(kFrames10Ms, 3);
    ASSERT_NE(original, nullptr);
    IDirectSoundBuffer* duplicate = nullptr;
    ASSERT_EQ(sound->DuplicateSoundBuffer(original, &duplicate), DS_OK);
    original->Release(); // the bytes live on in the duplicate
    ASSERT_EQ(duplicate->Play(0, 0, 0), DS_OK);
    clock.Advance(5);
    const std::vector<int16_t> left = Left(CapturedAudio());
    ASSERT_GT(left.size(), 10u);
    EXPECT_EQ(left[9], 30);
    duplicate->Release();
}

TEST_F(DirectSoundTest, ALockPastTheEndWrapsIntoASecondPart) {
    IDirectSoundBuffer* buffer = RampBuffer(10, 1); // 20 bytes
    ASSERT_NE(buffer, nullptr);
    void *part1 = nullptr, *part2 = nullptr;
    DWORD bytes1 = 0, bytes2 = 0;
    ASSERT_EQ(buffer->Lock(16, 8, &part1, &bytes1, &part2, &bytes2, 0), DS_OK);
    EXPECT_EQ(bytes1, 4u);
    EXPECT_EQ(bytes2, 4u);
    EXPECT_EQ(static_cast<char*>(part1) - static_cast<char*>(part2), 16);
    buffer->Unlock(part1, bytes1, part2, bytes2);
    EXPECT_EQ(buffer->Lock(20, 2, &part1, &bytes1, &part2, &bytes2, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Lock(0, 21, &part1, &bytes1, &part2, &bytes2, 0), DSERR_INVALIDPARAM);
    buffer->Release();
}

TEST_F(DirectSoundTest, NotificationsSetTheirEventsAsTheClockPassesTheirPositions) {
    IDirectSoundBuffer* buffer = RampBuffer(kFrames10Ms * 2, 1, DSBCAPS_CTRLPOSITIONNOTIFY);
    ASSERT_NE(buffer, nullptr);
    void* object = nullptr;
    ASSERT_EQ(buffer->QueryInterface(IID_IDirectSoundNotify, &object), DS_OK);
    auto* notify = static_cast<IDirectSoundNotify*>(object);
    HANDLE half = CreateEvent(nullptr, FALSE, FALSE, nullptr);
    HANDLE stopped = CreateEvent(nullptr, FALSE, FALSE, nullptr);
    const DSBPOSITIONNOTIFY positions[] = {{kFrames10Ms * 2, half}, {DSBPN_OFFSETSTOP, stopped}};
    ASSERT_EQ(notify->SetNotificationPositions(2, positions), DS_OK);
    CloseHandle(half); // the buffer holds the events while it needs them
    CloseHandle(stopped);

    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(notify->SetNotificationPositions(0, nullptr), DSERR_INVALIDCALL);
    clock.Advance(9);
    SyncAudio();
    EXPECT_EQ(WaitForSingleObject(half, 0), WAIT_TIMEOUT);
    clock.Advance(2);
    SyncAudio();
    EXPECT_EQ(WaitForSingleObject(half, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(stopped, 0), WAIT_TIMEOUT);
    clock.Advance(10);
    SyncAudio();
    EXPECT_EQ(WaitForSingleObject(stopped, 0), WAIT_OBJECT_0);

    // Stopping by hand tells the stop position too.
    buffer->Play(0, 0, DSBPLAY_LOOPING);
    clock.Advance(100);
    buffer->Stop();
    EXPECT_EQ(WaitForSingleObject(stopped, 0), WAIT_OBJECT_0);
    const DSBPOSITIONNOTIFY outside[] = {{kFrames10Ms * 4, half}};
    EXPECT_EQ(notify->SetNotificationPositions(1, outside), DSERR_INVALIDPARAM);
    notify->Release();
    buffer->Release();
}

TEST_F(DirectSoundTest, WrongCallsAreRefusedWithTheirErrors) {
    IDirectSoundBuffer* plain = RampBuffer(10, 1, 0);
    ASSERT_NE(plain, nullptr);
    void* object = nullptr;
    EXPECT_EQ(plain->QueryInterface(IID_IDirectSoundNotify, &object), DSERR_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(plain->SetVolume(-100), DSERR_CONTROLUNAVAIL);
    plain->Release();

    WAVEFORMATEX format{WAVE_FORMAT_PCM, 1, kRate, kRate * 2, 2, 16, 0};
    DSBUFFERDESC desc{sizeof(DSBUFFERDESC), 0, 100, 0, &format};
    IDirectSoundBuffer* buffer = nullptr;
    IDirectSound* fresh = nullptr;
    ASSERT_EQ(DirectSoundCreate(nullptr, &fresh, nullptr), DS_OK);
    EXPECT_EQ(fresh->CreateSoundBuffer(&desc, &buffer, nullptr), DSERR_PRIOLEVELNEEDED);
    EXPECT_EQ(fresh->SetCooperativeLevel(nullptr, DSSCL_NORMAL), DSERR_INVALIDPARAM);
    fresh->Release();

    format.wFormatTag = 2; // ADPCM
    EXPECT_EQ(sound->CreateSoundBuffer(&desc, &buffer, nullptr), DSERR_BADFORMAT);
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nBlockAlign = 4;
    EXPECT_EQ(sound->CreateSoundBuffer(&desc, &buffer, nullptr), DSERR_BADFORMAT);
    format.nBlockAlign = 2;
    desc.dwBufferBytes = DSBSIZE_MAX + 1;
    EXPECT_EQ(sound->CreateSoundBuffer(&desc, &buffer, nullptr), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer, nullptr);

    SetDirectSoundAvailable(false);
    EXPECT_EQ(DirectSoundCreate(nullptr, &fresh, nullptr), DSERR_NODRIVER);
    SetDirectSoundAvailable(true);
}

} // namespace
