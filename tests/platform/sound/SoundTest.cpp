// Wave files, mixing, and the recording null device behind PlaySound and
// sound buffers.

#include "tests/support/TempFolder.h"
#include "tests/support/WaveBytes.h"

#include "platform/resources/Resource.h"
#include "platform/sound/Sound.h"
#include "platform/system/Clock.h"
#include "platform/system/Module.h"
#include "tests/support/ResourceScriptText.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

using namespace platform;

namespace {

using namespace wave_bytes;

// Parses from a heap copy of exactly the given bytes, so a read past the end
// shows under the address sanitizer.
bool Parse(const std::string& bytes, Wave& wave, std::string* error = nullptr) {
    auto copy = std::make_unique<uint8_t[]>(bytes.size() + (bytes.empty() ? 1 : 0));
    memcpy(copy.get(), bytes.data(), bytes.size());
    return ParseWave(copy.get(), bytes.size(), wave, error);
}

TEST(WaveFileTest, ReadsPcmFormatsAndSkipsOtherChunksWithTheirPadding) {
    Wave wave;
    const std::string stereo8 = Riff(FormatChunk(11025, 2, 8) + Chunk("LIST", "odd") +
                                     Chunk("data", std::string("\x80\xFF\x00\x80\x10", 5)));
    ASSERT_TRUE(Parse(stereo8, wave));
    EXPECT_EQ(wave.format.rate, 11025);
    EXPECT_EQ(wave.format.channels, 2);
    EXPECT_EQ(wave.format.bits, 8);
    EXPECT_EQ(wave.pcm.size(), 4u); // the half frame at the end is dropped

    ASSERT_TRUE(Parse(MonoWave16(44100, {1, -1}), wave));
    EXPECT_EQ(wave.format.bits, 16);
    EXPECT_EQ(wave.pcm.size(), 4u);
}

TEST(WaveFileTest, RefusesBrokenAndTruncatedFilesWithoutReadingPastTheirEnd) {
    Wave wave;
    std::string error;
    const std::string good = MonoWave16(8000, {1, 2, 3, 4});
    for (size_t n = 0; n < good.size(); ++n)
        EXPECT_FALSE(Parse(good.substr(0, n), wave)) << "prefix of " << n << " bytes";

    std::string longData = good;
    longData[40] = char(0x7F); // the data chunk claims more than there is
    longData[4] = char(0x7F);  // and so does the RIFF size: both are checked
    EXPECT_FALSE(Parse(longData, wave, &error));
    std::string longChunk = Riff(FormatChunk(8000, 1, 16) + Chunk("data", Samples16({1})));
    longChunk[40] = char(0x40);
    EXPECT_FALSE(Parse(longChunk, wave, &error));
    EXPECT_EQ(error, "chunk runs past the end of the file");

    EXPECT_FALSE(Parse(Riff(FormatChunk(8000, 1, 16, 3) + Chunk("data", "ab")), wave, &error));
    EXPECT_EQ(error, "not PCM");
    EXPECT_FALSE(Parse(Riff(FormatChunk(8000, 3, 16) + Chunk("data", "abcdef")), wave));
    EXPECT_FALSE(Parse(Riff(FormatChunk(8000, 1, 24) + Chunk("data", "abc")), wave));
    EXPECT_FALSE(Parse(Riff(FormatChunk(50, 1, 16) + Chunk("data", "ab")), wave));
    EXPECT_FALSE(Parse(Riff(Chunk("data", "ab") + FormatChunk(8000, 1, 16)), wave, &error));
    EXPECT_EQ(error, "sound data before the format");
    EXPECT_FALSE(Parse(Riff(FormatChunk(8000, 1, 16)), wave, &error));
    EXPECT_EQ(error, "no sound data");
    std::string badAlign = Riff(FormatChunk(8000, 1, 16) + Chunk("data", "ab"));
    badAlign[32] = 4;
    EXPECT_FALSE(Parse(badAlign, wave, &error));
    EXPECT_FALSE(Parse("RIFX....WAVE", wave));
}

TEST(SoundMixerTest, TwoVoicesMixIntoTheSumWithGainsLoopsAndClipping) {
    SoundMixer mixer(8000);
    Wave a, b, loud;
    ASSERT_TRUE(Parse(MonoWave16(8000, {1000, 2000, 3000, 4000}), a));
    ASSERT_TRUE(Parse(MonoWave16(8000, {100, -200}), b));
    ASSERT_TRUE(Parse(MonoWave16(8000, {30000, -30000}), loud));
    auto clipA = mixer.Prepare(a, "a"), clipB = mixer.Prepare(b, "b");
    ASSERT_TRUE(clipA && clipB);
    ASSERT_EQ(clipA->Frames(), 4u);

    const VoiceId va = mixer.Start(clipA, false, 1.0f);
    mixer.Start(clipB, true, 0.5f);
    int16_t out[12];
    mixer.Render(out, 6);
    const int16_t expected[12] = {1050, 1050, 1900, 1900, 3050, 3050,
                                  3900, 3900, 50,   50,   -100, -100};
    EXPECT_EQ(std::vector<int16_t>(out, out + 12), std::vector<int16_t>(expected, expected + 12));
    EXPECT_FALSE(mixer.IsPlaying(va)); // ran out
    mixer.StopAll();

    mixer.Start(mixer.Prepare(loud, "loud"), false, 1.0f);
    mixer.Start(mixer.Prepare(loud, "loud"), false, 1.0f);
    mixer.Render(out, 2);
    EXPECT_EQ(out[0], 32767);
    EXPECT_EQ(out[2], -32768);
}

TEST(SoundMixerTest, ConvertsDepthChannelsAndRateAndMapsVolumes) {
    SoundMixer mixer(44100);
    Wave eight;
    ASSERT_TRUE(
        Parse(Riff(FormatChunk(44100, 1, 8) + Chunk("data", std::string("\x80\xFF", 2))), eight));
    auto clip = mixer.Prepare(eight, "8-bit");
    ASSERT_TRUE(clip);
    ASSERT_EQ(clip->Frames(), 2u);
    EXPECT_EQ(clip->samples[0], 0);
    EXPECT_EQ(clip->samples[1], 0);
    EXPECT_NEAR(clip->samples[2], 127 * 256, 1); // SDL goes through floats

    Wave slow;
    ASSERT_TRUE(Parse(SilentWave(22050, 100), slow));
    auto doubled = mixer.Prepare(slow, "22 kHz");
    ASSERT_TRUE(doubled);
    EXPECT_NEAR(double(doubled->Frames()), 4410.0, 45.0);

    EXPECT_FLOAT_EQ(GainOfVolume(kVolumeMax), 1.0f);
    EXPECT_NEAR(GainOfVolume(-2000), 0.1f, 1e-6);
    EXPECT_EQ(GainOfVolume(kVolumeMin), 0.0f);
    EXPECT_EQ(GainOfVolume(-20000), 0.0f);
}

class NullAudioTest : public ::testing::Test {
protected:
    ManualClock clock;
    ScopedClock useClock{clock};
    TempFolder folder;

    void SetUp() override {
        StartAudio(AudioOutput::Null);
        ClearPlayedSounds();
    }
    void TearDown() override { PlaySound(nullptr, nullptr, 0); }
    std::string WaveFile(const std::string& name, const std::string& bytes) {
        folder.Write(name, bytes);
        return folder.File(name);
    }
};

TEST_F(NullAudioTest, PlaySoundListsStartsStopsAndLoops) {
    const std::string shortSound = WaveFile("short.wav", SilentWave(8000, 250));
    const std::string longSound = WaveFile("long.wav", SilentWave(8000, 1000));
    const uint64_t t0 = clock.NowMs();
    ASSERT_TRUE(PlaySound(shortSound.c_str(), nullptr, SND_FILENAME | SND_ASYNC));
    clock.Advance(400); // it has ended by itself at 250 ms
    ASSERT_TRUE(PlaySound(longSound.c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_LOOP));
    clock.Advance(3000); // looping: still playing
    ASSERT_TRUE(PlaySound(nullptr, nullptr, SND_PURGE));

    const std::vector<PlayedSound> played = PlayedSounds();
    ASSERT_EQ(played.size(), 2u);
    EXPECT_EQ(played[0].name, shortSound);
    EXPECT_EQ(played[0].startMs, t0);
    EXPECT_EQ(played[0].stopMs, t0 + 250);
    EXPECT_FALSE(played[0].loop);
    EXPECT_EQ(played[1].name, longSound);
    EXPECT_TRUE(played[1].loop);
    EXPECT_EQ(played[1].stopMs, t0 + 3400);

    // The output's position counts from its start, whatever played before.
    EXPECT_EQ(AudioOutputMs(), 3400u);
    StartAudio(AudioOutput::Null);
    clock.Advance(1000);
    EXPECT_EQ(AudioOutputMs(), 1000u);
}

TEST_F(NullAudioTest, ANewPlaySoundStopsTheOneBeforeAndFailuresChangeNothing) {
    const std::string a = WaveFile("a.wav", SilentWave(8000, 1000));
    const std::string broken = WaveFile("broken.wav", SilentWave(8000, 1000).substr(0, 100));
    ASSERT_TRUE(PlaySound(a.c_str(), nullptr, SND_ASYNC | SND_NODEFAULT));
    clock.Advance(100);
    EXPECT_FALSE(PlaySound(broken.c_str(), nullptr, SND_ASYNC | SND_NODEFAULT));
    EXPECT_FALSE(PlaySound(folder.File("missing.wav").c_str(), nullptr, SND_ASYNC));
    EXPECT_FALSE(PlaySound(a.c_str(), nullptr, SND_ASYNC | SND_NOSTOP)); // one is playing
    EXPECT_FALSE(PlaySound("x", nullptr, SND_RESOURCE | SND_ASYNC));
    ASSERT_EQ(PlayedSounds().size(), 1u);
    EXPECT_EQ(PlayedSounds()[0].stopMs, 0u); // the failures left it playing

    const std::string image = SilentWave(8000, 500);
    ASSERT_TRUE(PlaySound(image.data(), nullptr, SND_MEMORY | SND_ASYNC));
    const auto played = PlayedSounds();
    ASSERT_EQ(played.size(), 2u);
    EXPECT_EQ(played[0].stopMs, played[1].startMs);
    EXPECT_EQ(played[1].name, "memory");

    // Synchronous: returns when it has ended (at once on a manual clock); a
    // loop needs SND_ASYNC.
    ASSERT_TRUE(PlaySound(a.c_str(), nullptr, SND_FILENAME | SND_LOOP));
    EXPECT_FALSE(PlayedSounds().back().loop);
    EXPECT_NE(PlayedSounds().back().stopMs, 0u);
}

TEST_F(NullAudioTest, SoundBuffersPlayStopLoopAndTakeVolumes) {
    SoundBuffer buffer;
    const std::string bytes = SilentWave(8000, 200);
    std::string error;
    EXPECT_FALSE(buffer.Play(false)); // nothing loaded
    EXPECT_FALSE(buffer.LoadFromMemory(bytes.data(), bytes.size() - 1, "cut", &error));
    EXPECT_EQ(error, "truncated wave file");
    ASSERT_TRUE(buffer.LoadFromMemory(bytes.data(), bytes.size(), "click"));
    ASSERT_TRUE(buffer.Play(false));
    EXPECT_TRUE(buffer.IsPlaying());
    clock.Advance(199);
    EXPECT_TRUE(buffer.IsPlaying());
    clock.Advance(2);
    EXPECT_FALSE(buffer.IsPlaying());

    ASSERT_TRUE(buffer.Play(true));
    clock.Advance(1000);
    EXPECT_TRUE(buffer.IsPlaying());
    buffer.SetVolume(-20000);
    EXPECT_EQ(buffer.GetVolume(), kVolumeMin);
    buffer.Stop();
    EXPECT_FALSE(buffer.IsPlaying());
    const auto played = PlayedSounds();
    ASSERT_EQ(played.size(), 2u);
    EXPECT_TRUE(played[1].loop);
    EXPECT_EQ(played[1].stopMs - played[1].startMs, 1000u);
    EXPECT_FALSE(buffer.LoadFromFile(folder.File("none.wav")));
}

TEST_F(NullAudioTest, PlaySoundFindsWaveResourcesOfTheModule) {
    folder.Write("click.wav", SilentWave(8000, 100));
    folder.Write("broken.wav", "RIFF....WAVE");
    ASSERT_TRUE(RegisterResourceModuleText("SoundTest_res.dll", Utf8(u8R"(
        101 WAVE "click.wav"
        102 WAVE "broken.wav"
    )"),
                                           folder.Path()));
    HMODULE module = LoadLibrary("SoundTest_res.dll");
    ASSERT_NE(module, nullptr);
    EXPECT_TRUE(PlaySound(MAKEINTRESOURCE(101), module, SND_RESOURCE | SND_ASYNC));
    EXPECT_FALSE(PlaySound(MAKEINTRESOURCE(102), module, SND_RESOURCE | SND_ASYNC));
    EXPECT_FALSE(PlaySound(MAKEINTRESOURCE(103), module, SND_RESOURCE | SND_ASYNC));
    const auto played = PlayedSounds();
    ASSERT_EQ(played.size(), 1u);
    EXPECT_EQ(played[0].name, "resource 101");
    clock.Advance(150);
    EXPECT_NE(PlayedSounds()[0].stopMs, 0u);
    FreeLibrary(module);
    UnregisterResourceModule("SoundTest_res.dll");
}

} // namespace
