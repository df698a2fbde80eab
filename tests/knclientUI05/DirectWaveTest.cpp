// The wave object: what it loads and refuses, and how its nine buffers play.

#include "tests/knclientUI05/SoundFixture.h"

#include "knclientUI05/DirectWave.h"
#include "platform/system/Thread.h"

#include <cstring>

using namespace wave_bytes;

namespace {

using ui_test::SoundTest;
using DirectWaveTest = SoundTest;

bool LoadFrom(CDirectWave& wave, const std::string& path) {
    strcpy(wave.m_szName, path.c_str());
    return wave.LoadFile();
}

TEST_F(DirectWaveTest, AWaveFileLoadsIntoAMainBufferAndEightDuplicates) {
    CDirectWave wave;
    EXPECT_TRUE(wave.m_bValid);
    EXPECT_FALSE(wave.m_bCreateFailed);
    ASSERT_TRUE(LoadFrom(wave, Wave("a.wav", 100)));
    ASSERT_NE(wave.m_pBuffer, nullptr);
    for (IDirectSoundBuffer* duplicate : wave.m_pDup)
        EXPECT_NE(duplicate, nullptr);
    EXPECT_EQ(Plays(), 0u); // loading plays nothing
}

TEST_F(DirectWaveTest, NinePlaysOverlapAndATenthIsIgnored) {
    CDirectWave wave;
    ASSERT_TRUE(LoadFrom(wave, Wave("a.wav", 100)));
    for (int i = 0; i < 10; ++i)
        wave.Play(0);
    EXPECT_EQ(Plays(), 9u);
    EXPECT_EQ(Sounding(), 9u);
    clock.Advance(101);
    EXPECT_EQ(Sounding(), 0u);
    EXPECT_FALSE(wave.IsPlaying());
    wave.Play(0); // all idle again: the main buffer takes it
    DWORD status = 0;
    wave.m_pBuffer->GetStatus(&status);
    EXPECT_TRUE(status & DSBSTATUS_PLAYING);
}

TEST_F(DirectWaveTest, ALoopingBufferNeverEndsUntilStoppedAndRewound) {
    CDirectWave wave;
    ASSERT_TRUE(LoadFrom(wave, Wave("a.wav", 100)));
    wave.Stop(); // silent: nothing changes
    EXPECT_EQ(Plays(), 0u);
    wave.Play(DSBPLAY_LOOPING);
    wave.Play(0);
    clock.Advance(150);
    EXPECT_TRUE(wave.IsPlaying());
    EXPECT_EQ(Sounding(), 1u); // the one-shot duplicate has ended
    wave.Stop();
    EXPECT_FALSE(wave.IsPlaying());
    DWORD play = 1;
    wave.m_pBuffer->GetCurrentPosition(&play, nullptr);
    EXPECT_EQ(play, 0u);
}

TEST_F(DirectWaveTest, AResourceWaveLoadsThroughTheMemoryFile) {
    CDirectWave wave;
    EXPECT_TRUE(wave.LoadResource(MAKEINTRESOURCE(kClickId)));
    wave.Play(0);
    EXPECT_EQ(Sounding(), 1u);
    clock.Advance(100);
    EXPECT_EQ(Sounding(), 0u);

    CDirectWave broken, missing, unnamed;
    EXPECT_FALSE(broken.LoadResource(MAKEINTRESOURCE(kBrokenId)));
    EXPECT_FALSE(missing.LoadResource(MAKEINTRESOURCE(999)));
    EXPECT_FALSE(unnamed.LoadResource(nullptr));
}

TEST_F(DirectWaveTest, FormatsItCannotPlayAndBrokenFilesAreRefused) {
    const std::string data = Chunk("data", Samples16({1, 2, 3, 4}));
    const struct {
        const char* name;
        std::string bytes;
    } refused[] = {
        {"adpcm.wav", Riff(FormatChunk(8000, 1, 4, 2) + data)},
        {"24bit.wav", Riff(FormatChunk(8000, 1, 24) + data)},
        {"silentrate.wav", Riff(FormatChunk(0, 1, 16) + data)},
        {"nochannels.wav", Riff(FormatChunk(8000, 0, 16) + data)},
        {"short.wav", Riff(Chunk("fmt ", std::string(14, '\1')) + data)},
        {"nodata.wav", Riff(FormatChunk(8000, 1, 16))},
        {"noformat.wav", Riff(data)},
        {"emptydata.wav", Riff(FormatChunk(8000, 1, 16) + Chunk("data", ""))},
        {"notwave.wav", std::string("RIFF\x10\0\0\0AVI LIST", 16)},
        {"garbage.wav", std::string(100, '\xAB')},
    };
    for (const auto& file : refused) {
        CDirectWave wave;
        EXPECT_FALSE(LoadFrom(wave, File(file.name, file.bytes))) << file.name;
        EXPECT_EQ(wave.m_pDup[0], nullptr) << file.name;
    }
    std::string badAlign = Riff(FormatChunk(8000, 1, 16) + data);
    badAlign[32] = 4;
    CDirectWave aligned, missing;
    EXPECT_FALSE(LoadFrom(aligned, File("align.wav", badAlign)));
    EXPECT_FALSE(LoadFrom(missing, folder.File("none.wav")));
    EXPECT_EQ(Plays(), 0u);
}

TEST_F(DirectWaveTest, ADataSizeBeyondTheFilePlaysOnlyTheBytesThere) {
    // 100 ms of sound whose data chunk claims ten times as much.
    std::string lying = SilentWave(8000, 100);
    const uint32_t claimed = 16000;
    memcpy(&lying[40], &claimed, 4);
    CDirectWave wave;
    ASSERT_TRUE(LoadFrom(wave, File("lying.wav", lying)));
    wave.Play(0);
    clock.Advance(101);
    EXPECT_FALSE(wave.IsPlaying()); // 100 ms, not a second of stale bytes

    // A format chunk of 18 bytes (with its extra-size field) loads as well.
    std::string withExtra = Riff(Chunk("fmt ", FormatChunk(8000, 1, 16).substr(8) + "\0\0") +
                                 Chunk("data", Samples16({1, 2})));
    CDirectWave extra;
    EXPECT_TRUE(LoadFrom(extra, File("extra.wav", withExtra)));
}

TEST_F(DirectWaveTest, WithoutAMainWindowOrSoundDeviceTheObjectIsNotValid) {
    AfxSetMainWnd(nullptr);
    CDirectWave noWindow;
    EXPECT_FALSE(noWindow.m_bValid);
    EXPECT_FALSE(noWindow.m_bCreateFailed);
    EXPECT_FALSE(noWindow.CheckMainWindow());
    AfxSetMainWnd(&mainWindow);
    EXPECT_TRUE(noWindow.CheckMainWindow());

    platform::SetDirectSoundAvailable(false);
    {
        CDirectWave noDevice;
        EXPECT_FALSE(noDevice.m_bValid);
        EXPECT_TRUE(noDevice.m_bCreateFailed);
        EXPECT_FALSE(noDevice.LoadFile()); // no name, no device: refused, no crash
    }
    platform::SetDirectSoundAvailable(true);
}

TEST_F(DirectWaveTest, NotificationsNeedABufferMadeForThem) {
    // The wave's buffers are made with frequency, pan and volume control
    // only, so they offer no notification interface.
    CDirectWave wave;
    ASSERT_TRUE(LoadFrom(wave, Wave("a.wav", 100)));
    HANDLE event = CreateEvent(nullptr, FALSE, FALSE, nullptr);
    wave.SetNotify(wave.m_pBuffer, 0, event);
    EXPECT_EQ(wave.m_pNotify, nullptr);
    wave.SetNotify(nullptr, 0, event);
    CloseHandle(event);
}

} // namespace
