// The sound manager: its wave cache, PlaySound, MIDI and music channels.

#include "tests/knclientUI05/SoundFixture.h"
#include "tests/support/MidiBytes.h"

#include "knclientUI05/SoundManager.h"
#include "platform/sound/Mci.h"

#include <cstdio>

namespace {

class SoundManagerTest : public ui_test::SoundTest {
protected:
    void SetUp() override {
        SoundTest::SetUp();
        mciSendString("close all", nullptr, 0, nullptr);
        platform::ClearMciCommands();
    }
    // The manager is made per test; the library's one global is left alone.
    CSoundManager manager;

    bool BufferPlays(IDirectSoundBuffer* buffer) {
        DWORD status = 0;
        return buffer && SUCCEEDED(buffer->GetStatus(&status)) && (status & DSBSTATUS_PLAYING);
    }
};

TEST_F(SoundManagerTest, TheSameFileTwicePlaysOnTheMainBufferAndTheFirstDuplicate) {
    const std::string file = Wave("a.wav", 100);
    manager.PlayWave(file.c_str(), 0);
    manager.PlayWave(CString(file.c_str()), 0);
    ASSERT_EQ(manager.GetWaveCount(), 1);
    CDirectWave* wave = manager.GetWave(0);
    EXPECT_TRUE(BufferPlays(wave->m_pBuffer));
    EXPECT_TRUE(BufferPlays(wave->m_pDup[0]));
    EXPECT_FALSE(BufferPlays(wave->m_pDup[1]));
    EXPECT_TRUE(manager.m_bWaveReady);

    for (int i = 0; i < 8; ++i) // seven more fill it; the tenth is silent
        manager.PlayWave(file.c_str(), 0);
    EXPECT_EQ(Plays(), 9u);
    EXPECT_EQ(manager.GetWaveCount(), 1);
}

TEST_F(SoundManagerTest, AFinishedWaveIsDiscardedByTheNextPlayAndLoadedAgainLater) {
    const std::string a = Wave("a.wav", 100), b = Wave("b.wav", 300);
    manager.PlayWave(a.c_str(), 0);
    manager.PlayWave(b.c_str(), 0);
    ASSERT_EQ(manager.GetWaveCount(), 2);
    clock.Advance(150);                   // a has ended, b still sounds
    EXPECT_EQ(manager.GetWaveCount(), 2); // nothing purges by itself
    manager.PlayWave(b.c_str(), 0);
    ASSERT_EQ(manager.GetWaveCount(), 1);
    EXPECT_STREQ(manager.GetWave(0)->m_szName, b.c_str());
    manager.PlayWave(a.c_str(), 0);
    ASSERT_EQ(manager.GetWaveCount(), 2);
    EXPECT_STREQ(manager.GetWave(1)->m_szName, a.c_str()); // loaded again, at the end
    EXPECT_EQ(Plays(), 4u);
}

TEST_F(SoundManagerTest, LoopingWavesStayUntilStoppedByTheirKey) {
    const std::string file = Wave("loop.wav", 100);
    manager.LoopWave(file.c_str());
    manager.LoopWaveRes(kClickId);
    clock.Advance(10000);
    manager.PlayWave(Wave("other.wav", 10).c_str(), 0); // purges: loops survive
    EXPECT_EQ(manager.GetWaveCount(), 3);
    EXPECT_EQ(Sounding(), 3u);

    manager.StopWave("no such key"); // nothing
    EXPECT_EQ(manager.GetWaveCount(), 3);
    std::string upper = file;
    for (char& c : upper)
        c = char(toupper(static_cast<unsigned char>(c)));
    manager.StopWave(CString(upper.c_str())); // keys ignore case
    manager.StopWaveRes(kClickId);
    EXPECT_EQ(manager.GetWaveCount(), 1);
    EXPECT_EQ(Sounding(), 1u); // only the one-shot, still within its 10 ms
}

TEST_F(SoundManagerTest, ResourceWavesAreKeyedByTheFullModuleHandleAndId) {
    char expected[64];
    snprintf(expected, sizeof expected, "%lld_%d", (long long)(intptr_t)module, int(kClickId));
    EXPECT_STREQ(CSoundManager::ResourceKey(kClickId), expected);
    manager.PlayWaveRes(kClickId, 0);
    manager.PlayWaveRes(kBrokenId, 0); // refused: not cached
    manager.PlayWaveRes(999, 0);
    ASSERT_EQ(manager.GetWaveCount(), 1);
    EXPECT_STREQ(manager.GetWave(0)->m_szName, expected);
    EXPECT_EQ(Plays(), 1u);
}

TEST_F(SoundManagerTest, WithoutAMainWindowWavesAreDroppedAndCachedOnesDiscarded) {
    const std::string file = Wave("a.wav", 1000);
    manager.PlayWave(file.c_str(), 0);
    ASSERT_EQ(manager.GetWaveCount(), 1);
    AfxSetMainWnd(nullptr);
    manager.PlayWave(file.c_str(), 0);
    EXPECT_FALSE(manager.m_bWaveReady);
    EXPECT_EQ(manager.GetWaveCount(), 0);
    manager.PlayWave(Wave("b.wav", 10).c_str(), 0);
    EXPECT_EQ(manager.GetWaveCount(), 0);
    EXPECT_EQ(Plays(), 1u);
}

TEST_F(SoundManagerTest, OverlongNamesAreRefusedWithoutSound) {
    const std::string longName(2000, 'x');
    manager.PlayWave(longName.c_str(), 0);
    manager.LoopWave(CString(longName.c_str()));
    manager.StopWave(longName.c_str());
    EXPECT_EQ(manager.GetWaveCount(), 0);
    // The MIDI command must fit its 2048 bytes with its terminator.
    const size_t around = sizeof("open  type sequencer alias sq") - 1;
    manager.PlayMidi(std::string(2048 - around, 'm').c_str());
    EXPECT_TRUE(platform::SentMciCommands().empty());
    EXPECT_FALSE(manager.m_bMidiPlaying);
    manager.PlayMidi(std::string(2047 - around, 'm').c_str());
    EXPECT_EQ(platform::SentMciCommands().size(), 3u);
    EXPECT_TRUE(manager.m_bMidiPlaying);
    manager.PlayWave(static_cast<const char*>(nullptr), 0);
    EXPECT_EQ(Plays(), 0u);
}

TEST_F(SoundManagerTest, PlaySoundPlaysOneResourceOrFileAtATime) {
    manager.PlayResSound(kClickId);
    const std::string file = Wave("a.wav", 1000);
    manager.PlayFileSound(file.c_str());
    const auto played = platform::PlayedSounds();
    ASSERT_EQ(played.size(), 2u);
    EXPECT_EQ(played[0].name, "resource " + std::to_string(kClickId));
    EXPECT_NE(played[0].stopMs, 0u); // purged by the next
    EXPECT_EQ(played[1].name, file);
    EXPECT_EQ(played[1].stopMs, 0u);
}

TEST_F(SoundManagerTest, MidiClosesOpensAndPlaysWithNoticeToTheMainWindowAtItsEnd) {
    folder.Write("tune.mid", midi_bytes::Melody({60, 67}, 400));
    const std::string tune = folder.File("tune.mid");
    manager.PlayMidi(tune.c_str());
    EXPECT_TRUE(manager.m_bMidiPlaying);
    const std::vector<std::string> expected = {
        "close sq", "open " + tune + " type sequencer alias sq", "play sq from 0 notify"};
    EXPECT_EQ(platform::SentMciCommands(), expected);
    // A host that restarts its music on the notice must not hear it at once.
    const auto noticed = [&] {
        MSG msg{};
        return PeekMessage(&msg, mainWindow.m_hWnd, MM_MCINOTIFY, MM_MCINOTIFY, PM_REMOVE) &&
               msg.wParam == MCI_NOTIFY_SUCCESSFUL;
    };
    clock.Advance(790);
    platform::SyncAudio();
    EXPECT_FALSE(noticed());
    clock.Advance(2000);
    platform::SyncAudio();
    EXPECT_TRUE(noticed());
    manager.PlayMidi(CString(tune.c_str())); // closes the first, starts again
    EXPECT_EQ(platform::OpenMciDevices(), std::vector<std::string>{"sq"});
    manager.StopMidi();
    EXPECT_FALSE(manager.m_bMidiPlaying);
    EXPECT_TRUE(platform::OpenMciDevices().empty());
    EXPECT_FALSE(noticed()); // stopped, not ended
}

TEST_F(SoundManagerTest, ADisabledManagerPlaysNoWavesOrSoundsButStillMidiAndMusic) {
    manager.m_bEnabled = FALSE;
    const std::string file = Wave("a.wav", 100);
    manager.PlayWave(file.c_str(), 0);
    manager.PlayWaveRes(kClickId, 0);
    manager.PlayResSound(kClickId);
    manager.PlayFileSound(file.c_str());
    EXPECT_EQ(Plays(), 0u);
    EXPECT_EQ(manager.GetWaveCount(), 0);

    folder.Write("tune.mid", "MThd");
    manager.PlayMidi(folder.File("tune.mid").c_str());
    EXPECT_TRUE(manager.m_bMidiPlaying);
    EXPECT_GT(manager.PlayMusic(file.c_str(), 0), 0); // the music library plays it
    EXPECT_EQ(Plays(), 1u);
    manager.CloseAllMusic();
    EXPECT_EQ(Sounding(), 0u);
}

} // namespace
