// The music player link: the command blocks it sends, finding and starting
// the player, and the stand-in player playing what it is sent.

#include "sprite/MusicPlayerLink.h"

#include "outside/MusicPlayerWindow.h"
#include "outside/OutsideModules.h"
#include "platform/sound/Sound.h"
#include "platform/system/Clock.h"
#include "platform/system/FileIo.h"
#include "platform/system/Process.h"
#include "platform/system/Registry.h"
#include "tests/sprite/MusicPlayerKit.h"
#include "tests/support/MidiBytes.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WaveBytes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

using sprite_test::RecordingMusicPlayer;

// A player program that counts its starts and may open its window.
struct FakePlayerProgram {
    static inline int starts = 0;
    static inline bool opensWindow = true;
    static inline std::unique_ptr<RecordingMusicPlayer> window;
    static bool Start(const std::vector<std::string>&, const std::string&) {
        ++starts;
        if (opensWindow && !window) {
            window = std::make_unique<RecordingMusicPlayer>();
            window->Open();
        }
        return true;
    }
};

class MusicPlayerLinkTest : public ::testing::Test {
protected:
    TempFolder config;
    CWnd mainWindow;

    void SetUp() override {
        setenv("PELLOR_CONFIG_DIR", config.Path().c_str(), 1);
        ASSERT_TRUE(
            mainWindow.CreateEx(0, nullptr, "main", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
        AfxSetMainWnd(&mainWindow);
        FakePlayerProgram::starts = 0;
        FakePlayerProgram::opensWindow = true;
        platform::RegisterBuiltinProgram("KNMusic.exe", FakePlayerProgram::Start);
    }
    void TearDown() override {
        if (FakePlayerProgram::window)
            FakePlayerProgram::window->DestroyWindow();
        FakePlayerProgram::window.reset();
        StopMusicPlayer();
        RegisterOutsidePrograms();
        AfxSetMainWnd(nullptr);
        mainWindow.DestroyWindow();
        unsetenv("PELLOR_CONFIG_DIR");
    }
    static void SetSharePath(const std::string& path) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\Quillane\\Game\\Share", 0, nullptr,
                                 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueEx(key, "path", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                      DWORD(path.size() + 1));
        RegCloseKey(key);
    }
    static DWORD Field(HWND window) { return DWORD(uintptr_t(window)); }
};

TEST_F(MusicPlayerLinkTest, PlayAndStopSendTheirCommandsAndTexts) {
    RecordingMusicPlayer player;
    ASSERT_TRUE(player.Open());
    CMusicPlayerLink link;
    link.PlayFile("a", 1, 1);
    link.PlayFile("a", 0, 1);
    link.PlayFile("a", 1, 0);
    link.PlayFile("a", 0, 0);
    link.PlayFile("", 1, 1);
    link.StopMusic();
    link.Send(nullptr, nullptr, 8);
    ASSERT_EQ(player.received.size(), 7u);
    const ULONG_PTR commands[] = {1, 0, 17, 16, 1, 6};
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(player.received[i].data, (commands[i] << 16) | 1u) << i;
        EXPECT_EQ(player.received[i].owner, Field(mainWindow.m_hWnd)) << i;
    }
    EXPECT_EQ(player.received[0].bytes, 6u);
    EXPECT_EQ(player.received[4].bytes, 5u); // an empty text is still a text
    EXPECT_EQ(player.received[5].bytes, 5u);
    EXPECT_EQ(player.received[6].data, ULONG_PTR(8) << 16);
    EXPECT_EQ(player.received[6].bytes, 4u);
    EXPECT_EQ(FakePlayerProgram::starts, 0); // it was running
    player.DestroyWindow();
}

TEST_F(MusicPlayerLinkTest, ALongNameIsCutTo255AndTheOwnerIsTheOneGiven) {
    RecordingMusicPlayer player;
    ASSERT_TRUE(player.Open());
    CMusicPlayerLink link;
    link.PlayFile(std::string(300, 'n').c_str(), 1, 1, player.m_hWnd);
    ASSERT_EQ(player.received.size(), 1u);
    EXPECT_EQ(player.received[0].bytes, 4u + 256u);
    EXPECT_EQ(player.received[0].text, std::string(255, 'n') + '\0');
    EXPECT_EQ(player.received[0].owner, Field(player.m_hWnd));
    player.DestroyWindow();
}

TEST_F(MusicPlayerLinkTest, AnAbsentPlayerIsStartedOnceFromTheSharedFolder) {
    CMusicPlayerLink link;
    link.PlayFile("a.wav", 1, 1); // no shared folder known: dropped
    EXPECT_EQ(FakePlayerProgram::starts, 0);

    SetSharePath("C:\\Shared Things");
    char folder[MAX_PATH];
    ASSERT_TRUE(link.GetPlayerFolder(folder));
    EXPECT_STREQ(folder, "C:\\Shared Things\\KNSound");
    link.PlayFile("a.wav", 1, 1);
    link.PlayFile("b.wav", 1, 1);
    EXPECT_EQ(FakePlayerProgram::starts, 1);
    ASSERT_TRUE(FakePlayerProgram::window);
    EXPECT_EQ(FakePlayerProgram::window->received.size(), 2u);

    // A program that opens no window is tried once for each command.
    FakePlayerProgram::window->DestroyWindow();
    FakePlayerProgram::window.reset();
    FakePlayerProgram::opensWindow = false;
    link.PlayFile("c.wav", 1, 1);
    link.StopMusic();
    EXPECT_EQ(FakePlayerProgram::starts, 3);

    SetSharePath(std::string(MAX_PATH - 5, 'p')); // no room for "\KNSound"
    EXPECT_FALSE(link.GetPlayerFolder(folder));
}

// The real player program on the null device, on a clock of the test's.
class StandInPlayerTest : public MusicPlayerLinkTest {
protected:
    platform::ManualClock clock;
    platform::ScopedClock useClock{clock};

    void SetUp() override {
        MusicPlayerLinkTest::SetUp();
        platform::StartAudio(platform::AudioOutput::Null);
        platform::ClearPlayedSounds();
        RegisterOutsidePrograms();
        SetSharePath("C:\\Shared");
    }
};

TEST_F(StandInPlayerTest, TheStandInPlayerPlaysWavesLoopedOrOnceAndRefusesOthers) {
    TempFolder music;
    music.Write("bgm.wav", wave_bytes::SilentWave(8000, 100));
    music.Write("win.wav", wave_bytes::SilentWave(8000, 100));
    music.Write("bgm.mp3", "ID3");

    CMusicPlayerLink link;
    link.PlayFile("", 0, 1); // the start-up's reset
    link.PlayFile(music.File("bgm.wav").c_str(), 1, 1);
    MusicPlayerWindow* player = RunningMusicPlayer();
    ASSERT_NE(player, nullptr);
    clock.Advance(1000);
    auto played = platform::PlayedSounds();
    ASSERT_EQ(played.size(), 1u);
    EXPECT_TRUE(played[0].loop);
    EXPECT_EQ(played[0].stopMs, 0u);

    link.PlayFile(music.Path().c_str(), 1, 0); // a folder: its first wave, once
    clock.Advance(200);
    played = platform::PlayedSounds();
    ASSERT_EQ(played.size(), 2u);
    EXPECT_NE(played[0].stopMs, 0u); // replaced
    EXPECT_FALSE(played[1].loop);
    EXPECT_NE(played[1].stopMs, 0u); // played once to its end

    testing::internal::CaptureStderr();
    link.PlayFile(music.File("bgm.mp3").c_str(), 1, 1);
    link.Send(nullptr, nullptr, 8);
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_NE(log.find("bgm.mp3\" not played: not a sound file"), std::string::npos) << log;
    EXPECT_NE(log.find("unknown command 8"), std::string::npos) << log;
    EXPECT_EQ(platform::PlayedSounds().size(), 2u);

    link.PlayFile(music.File("win.wav").c_str(), 1, 1);
    link.StopMusic();
    EXPECT_NE(platform::PlayedSounds().back().stopMs, 0u);
    ASSERT_EQ(player->Received().size(), 7u);
    EXPECT_EQ(player->Received()[6].command, CMusicPlayerLink::kCommandStop);
}

// The program's own commands: start-up sends an empty table sound, then its
// music; every table sound after that plays once beside the music, however
// many sound at once, and is dropped from the player's tracks once it ends.
TEST_F(StandInPlayerTest, TheTablesSoundsPlayOnceBesideTheLoopingMusic) {
    TempFolder music;
    music.Write("bgm.wav", wave_bytes::SilentWave(8000, 1000));
    music.Write("other.wav", wave_bytes::SilentWave(8000, 1000));
    music.Write("pass.wav", wave_bytes::SilentWave(8000, 300));
    music.Write("win.wav", wave_bytes::SilentWave(8000, 500));
    const std::string bgm = music.File("bgm.wav"), pass = music.File("pass.wav");

    CMusicPlayerLink link;
    testing::internal::CaptureStderr();
    link.PlayFile("", 0, 1); // nothing to play, nothing to stop
    link.PlayFile(bgm.c_str(), 1, 1);
    MusicPlayerWindow* player = RunningMusicPlayer();
    ASSERT_NE(player, nullptr);
    const int musicTrack = player->MusicTrack();
    EXPECT_NE(musicTrack, 0);
    clock.Advance(100);
    link.PlayFile(pass.c_str(), 0, 1);
    link.PlayFile(pass.c_str(), 0, 1); // two seats pass at once: two sounds
    link.PlayFile(music.File("win.wav").c_str(), 0, 0);
    clock.Advance(100);
    link.PlayFile("", 0, 1);
    link.PlayFile("", 0, 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    auto played = platform::PlayedSounds();
    ASSERT_EQ(played.size(), 4u);
    EXPECT_TRUE(played[0].loop);
    for (size_t i = 1; i < 4; ++i) {
        EXPECT_FALSE(played[i].loop) << i;
        EXPECT_EQ(played[i].startMs, played[1].startMs) << i;
    }
    for (const auto& sound : played)
        EXPECT_EQ(sound.stopMs, 0u) << sound.name << " was stopped";

    // The sounds end by themselves; the music loops on.
    clock.Advance(2000);
    played = platform::PlayedSounds();
    EXPECT_EQ(played[0].stopMs, 0u);
    EXPECT_EQ(played[1].stopMs - played[1].startMs, 300u);
    EXPECT_EQ(played[3].stopMs - played[3].startMs, 500u);
    EXPECT_EQ(player->MusicTrack(), musicTrack);

    // However many sounds a game asks for, the player keeps only those
    // still sounding.
    for (int i = 0; i < 100; ++i) {
        link.PlayFile(pass.c_str(), 0, 1);
        clock.Advance(200);
    }
    EXPECT_LE(player->Tracks().Count(), 3u);
    EXPECT_EQ(platform::PlayedSounds().size(), 104u);

    // Stopping the music leaves a sound to its end; new music replaces the
    // music, not the sounds.
    link.PlayFile(pass.c_str(), 0, 1);
    link.StopMusic();
    EXPECT_EQ(player->MusicTrack(), 0);
    played = platform::PlayedSounds();
    EXPECT_NE(played[0].stopMs, 0u);
    EXPECT_EQ(played.back().stopMs, 0u);
    link.PlayFile(music.File("other.wav").c_str(), 1, 1);
    link.PlayFile(pass.c_str(), 0, 1);
    link.PlayFile(bgm.c_str(), 1, 1);
    played = platform::PlayedSounds();
    ASSERT_EQ(played.size(), 108u);
    EXPECT_NE(played[105].stopMs, 0u); // the other music, replaced
    EXPECT_EQ(played[106].stopMs, 0u); // the sound
    EXPECT_EQ(played[107].name, bgm);
    EXPECT_TRUE(played[107].loop);
    link.StopMusic();
}

// What the table's voices and the music list name: MP3 files (made here by
// lame from a tone) and MIDI songs, known by their bytes whatever their names.
TEST_F(StandInPlayerTest, TheStandInPlayerPlaysMp3AndMidiKnownByTheirBytes) {
    ASSERT_EQ(std::system("lame --version >/dev/null 2>&1"), 0)
        << "lame is not installed (scripts/install-deps.sh installs it)";
    TempFolder music;
    // One second of 440 Hz at half of full scale, 44.1 kHz mono.
    std::string tone;
    for (int i = 0; i < 44100; ++i)
        wave_bytes::Put16(
            tone, uint16_t(int16_t(std::lround(16384 * std::sin(i * 2 * M_PI * 440 / 44100)))));
    music.Write("tone.wav", wave_bytes::Riff(wave_bytes::FormatChunk(44100, 1, 16) +
                                             wave_bytes::Chunk("data", tone)));
    const std::string encode = "lame --quiet -b 128 '" + music.File("tone.wav") + "' '" +
                               music.File("gj0-shao1.mp3") + "'";
    ASSERT_EQ(std::system(encode.c_str()), 0) << encode;
    std::string mp3;
    ASSERT_TRUE(ReadWholeFile(music.File("gj0-shao1.mp3"), mp3, size_t(1) << 30));
    music.Write("disguised.wav", mp3);
    music.Write("song.mid", midi_bytes::Melody({60, 64, 67}, 300));

    CMusicPlayerLink link;
    link.PlayFile("", 0, 1);
    const auto playOnce = [&](const std::string& file) {
        platform::ClearPlayedSounds();
        platform::CaptureAudio(true);
        link.PlayFile(music.File(file).c_str(), 1, 0);
        for (int step = 0; step < 300; ++step) {
            clock.Advance(10);
            platform::SyncAudio();
        }
        const auto played = platform::PlayedSounds();
        return played.empty() ? 0 : int(played.back().stopMs - played.back().startMs);
    };
    const auto loudness = [](int fromMs, int toMs) {
        const std::vector<int16_t> samples = platform::CapturedAudio();
        const size_t first = size_t(fromMs) * 441 / 10 * 2, last = size_t(toMs) * 441 / 10 * 2;
        double sum = 0;
        for (size_t i = first; i < last && i < samples.size(); ++i)
            sum += double(samples[i]) * samples[i];
        return std::sqrt(sum / double(last - first));
    };

    const int mp3Ms = playOnce("gj0-shao1.mp3");
    const double mp3Level = loudness(100, 900);
    const double toneLevel = 16384 / std::sqrt(2.0);
    EXPECT_NEAR(mp3Ms, 1000, 30);
    EXPECT_NEAR(mp3Level, toneLevel, toneLevel * 0.1);
    EXPECT_EQ(playOnce("disguised.wav"), mp3Ms);
    const int midiMs = playOnce("song.mid");
    const double midiLevel = loudness(0, 900);
    EXPECT_GE(midiMs, 900);
    EXPECT_GT(midiLevel, 300);
    printf("MP3 of a 1000 ms tone: %d ms at loudness %.0f (the tone's %.0f); MIDI of 900 ms: %d "
           "ms at loudness %.0f\n",
           mp3Ms, mp3Level, toneLevel, midiMs, midiLevel);
    platform::CaptureAudio(false);
    link.StopMusic();
}

// The voice lines the table names for a seat's voice byte ship in the sound
// folder and are heard: each a spoken word or two.
TEST_F(StandInPlayerTest, EveryVoiceLineTheTableNamesShipsAndIsHeard) {
    CMusicPlayerLink link;
    link.PlayFile("", 0, 1);
    for (int voice : {0, 1}) {
        for (const char* line :
             {"shao0", "shao1", "shaoagain", "revolution1", "revolution2", "tribute"}) {
            const std::string file = std::string(PELLOR_ASSET_DIR) + "/sound/gj" +
                                     std::to_string(voice) + "-" + line + ".mp3";
            platform::ClearPlayedSounds();
            platform::CaptureAudio(true);
            link.PlayFile(file.c_str(), 1, 0);
            for (int step = 0; step < 400; ++step) {
                clock.Advance(10);
                platform::SyncAudio();
            }
            const auto played = platform::PlayedSounds();
            ASSERT_FALSE(played.empty()) << file << " did not play";
            const int ms = int(played.back().stopMs - played.back().startMs);
            EXPECT_GE(ms, 200) << file;
            EXPECT_LE(ms, 3000) << file;
            int peak = 0;
            for (int16_t sample : platform::CapturedAudio())
                peak = std::max(peak, std::abs(int(sample)));
            EXPECT_GT(peak, 2000) << file << " is silent";
            platform::CaptureAudio(false);
        }
    }
    link.StopMusic();
}

} // namespace
