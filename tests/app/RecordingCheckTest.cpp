// The recording check (recording_check) on recordings made the way the
// program's audio device makes them: the mixer pulled a block at a time,
// each sound traced at the output's count of frames when it was asked for
// and begun at the start of that block or a later one. It must hear every
// sound begun within 300 ms however many overlap, and the music looping,
// and fail a sound that is missing or late, music that stops or skips back,
// and silence.

#include "platform/sound/MidiSynth.h"
#include "platform/sound/SoundFile.h"
#include "platform/sound/SoundMixer.h"
#include "platform/system/FileIo.h"
#include "tests/support/CommandOutput.h"
#include "tests/support/MidiBytes.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WaveBytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <regex>
#include <string>
#include <vector>

namespace {

constexpr size_t kBlock = 1024;
constexpr size_t kNever = SIZE_MAX;

std::string Asset(const std::string& name) {
    return std::string(PELLOR_ASSET_DIR) + "/sound/" + name;
}

// A sound asked for at a block of the output, begun `delay` blocks later
// (or never).
struct Ask {
    std::string file;
    size_t block;
    size_t delay = 0;
};

struct Session {
    std::string music;       // a wave or a MIDI song, asked for at block 4
    size_t musicDelay = 0;   // blocks from its request to its start
    size_t stopAt = kNever;  // the block where the music stops
    size_t againAt = kNever; // where it starts again from its beginning
    std::vector<Ask> sounds;
    size_t blocks = 0;
};

struct Verdict {
    int status = -1;
    std::string report;
    int Count(const std::string& pattern) const {
        const std::regex re(pattern);
        return int(std::distance(std::sregex_iterator(report.begin(), report.end(), re),
                                 std::sregex_iterator()));
    }
};

class RecordingCheckTest : public ::testing::Test {
protected:
    // Plays the session through a mixer as the device pulls it, writes its
    // recording and trace and judges them.
    Verdict Judge(const Session& session) {
        platform::SoundMixer mixer;
        std::string trace = "[sound] audio device open (disk): 44100 Hz, 2 channels, 1024 frames "
                            "a block\n";
        const auto traced = [&](const char* kind, const std::string& file) {
            char line[512];
            snprintf(line, sizeof line, "[sound] %s %s at %llu ms of the audio output\n", kind,
                     file.c_str(),
                     (unsigned long long)(mixer.FramesDone() * 1000 / uint64_t(mixer.Rate())));
            trace += line;
        };
        std::shared_ptr<platform::MidiSequence> song;
        platform::VoiceId music = 0;
        const auto startMusic = [&] {
            if (song) {
                EXPECT_TRUE(song->Start(0, true));
                music = mixer.StartStream(song, 1.0f);
            } else {
                music = mixer.Start(Clip(mixer, session.music), true, 1.0f);
            }
        };
        std::string bytes;
        EXPECT_TRUE(ReadWholeFile(session.music, bytes, size_t(1) << 26));
        if (platform::SniffSound(bytes.data(), bytes.size()) == platform::SoundFormat::Midi)
            song = platform::MidiSequence::Load(std::vector<uint8_t>(bytes.begin(), bytes.end()),
                                                nullptr);
        std::string recording;
        std::vector<int16_t> block(2 * kBlock);
        for (size_t b = 0; b < session.blocks; ++b) {
            if (b == 4)
                traced("music", session.music);
            if (b == 4 + session.musicDelay)
                startMusic();
            if (b == session.stopAt || b == session.againAt) {
                mixer.Stop(music);
                if (song)
                    song->Halt();
            }
            if (b == session.againAt)
                startMusic();
            for (const Ask& ask : session.sounds) {
                if (ask.block == b)
                    traced("sound", ask.file);
                if (ask.delay != kNever && ask.block + ask.delay == b)
                    mixer.Start(Clip(mixer, ask.file), false, 1.0f);
            }
            mixer.Render(block.data(), kBlock);
            recording.append(reinterpret_cast<const char*>(block.data()), block.size() * 2);
        }
        if (song)
            song->Halt();
        m_folder.Write("audio.raw", recording);
        m_folder.Write("trace", trace);
        Verdict verdict;
        verdict.report =
            CommandOutput(std::string(RECORDING_CHECK) + " " + m_folder.File("audio.raw") + " " +
                          m_folder.File("trace") + " 2>&1; echo status $?");
        std::smatch m;
        if (std::regex_search(verdict.report, m, std::regex("status (\\d+)\\n$")))
            verdict.status = std::stoi(m[1]);
        return verdict;
    }

    std::shared_ptr<const platform::SoundClip> Clip(platform::SoundMixer& mixer,
                                                    const std::string& file) {
        auto& clip = m_clips[file];
        if (!clip) {
            std::string bytes;
            platform::Wave wave;
            EXPECT_TRUE(ReadWholeFile(file, bytes, size_t(1) << 26) &&
                        platform::DecodeSound(bytes.data(), bytes.size(), wave))
                << file;
            clip = mixer.Prepare(std::move(wave), file);
        }
        return clip;
    }

    TempFolder m_folder;
    std::map<std::string, std::shared_ptr<const platform::SoundClip>> m_clips;
};

// The shipped music cut to its first three seconds, so that a short
// recording hears it loop.
std::string ShortMusic(const TempFolder& folder) {
    platform::Wave wave;
    EXPECT_TRUE(platform::LoadWaveFile(Asset("pastorale.wav"), wave));
    const platform::WaveFormat& f = wave.format;
    wave.pcm.resize(std::min(wave.pcm.size(), size_t(3 * f.rate * f.FrameBytes())));
    folder.Write(
        "music.wav",
        wave_bytes::Riff(wave_bytes::FormatChunk(f.rate, f.channels, f.bits) +
                         wave_bytes::Chunk("data", std::string(wave.pcm.begin(), wave.pcm.end()))));
    return folder.File("music.wav");
}

// Sounds that overlap as a table's do: two of one file two blocks apart and
// two at once, four asked for at once with one begun a block later (the
// program was still loading it), one begun 279 ms late, and two asked for in
// the recording's last moments, too late to tell.
std::vector<Ask> TableSounds(size_t blocks) {
    return {{Asset("start.wav"), 30},         {Asset("start.wav"), 32},
            {Asset("start.wav"), 45},         {Asset("start.wav"), 45},
            {Asset("openpoint.wav"), 80},     {Asset("takeout5.wav"), 80},
            {Asset("takeout5.wav"), 80},      {Asset("giveup.wav"), 80, 1},
            {Asset("xipai.wav"), 120, 12},    {Asset("giveup.wav"), blocks - 8},
            {Asset("giveup.wav"), blocks - 8}};
}

TEST_F(RecordingCheckTest, HearsOverlappingSoundsBesideLoopingMusicAndFailsWhatIsMissing) {
    Session session;
    session.music = ShortMusic(m_folder);
    session.blocks = 200;
    session.sounds = TableSounds(session.blocks);
    Verdict all = Judge(session);
    EXPECT_EQ(all.status, 0) << all.report;
    EXPECT_EQ(all.Count(" heard after"), 9) << all.report;

    // A sound that never began, and one begun 325 ms after its request.
    Session missing = session;
    missing.sounds[6].delay = kNever;
    Verdict verdict = Judge(missing);
    EXPECT_EQ(verdict.status, 1) << verdict.report;
    EXPECT_EQ(verdict.Count("takeout5.wav +NOT HEARD"), 1) << verdict.report;
    Session late = session;
    late.sounds[8].delay = 14;
    verdict = Judge(late);
    EXPECT_EQ(verdict.status, 1) << verdict.report;
    EXPECT_EQ(verdict.Count("xipai.wav +NOT HEARD"), 1) << verdict.report;

    // The music that stops, or starts again from its beginning.
    Session stopped = session;
    stopped.stopAt = 110;
    verdict = Judge(stopped);
    EXPECT_EQ(verdict.status, 1) << verdict.report;
    EXPECT_GE(verdict.Count("\n +[0-9]+ +[0-9]+ +[0-9]+  NO "), 1) << verdict.report;
    EXPECT_EQ(verdict.Count("NOT HEARD"), 0) << verdict.report;
    Session skipped = session;
    skipped.againAt = 110;
    verdict = Judge(skipped);
    EXPECT_EQ(verdict.status, 1) << verdict.report;
    EXPECT_GE(verdict.Count("\n +[0-9]+ +[0-9]+ +[0-9]+  NO "), 1) << verdict.report;

    // Music alone, and silence.
    Session alone = session;
    for (Ask& ask : alone.sounds)
        ask.delay = kNever;
    verdict = Judge(alone);
    EXPECT_EQ(verdict.status, 1) << verdict.report;
    EXPECT_EQ(verdict.Count("NOT HEARD"), 9) << verdict.report;
    Session silent = alone;
    silent.stopAt = 5;
    verdict = Judge(silent);
    EXPECT_EQ(verdict.status, 1) << verdict.report;
    EXPECT_EQ(verdict.Count("does NOT begin"), 1) << verdict.report;
}

TEST_F(RecordingCheckTest, KnowsAMidiSongAsTheSynthesiserMakesIt) {
    if (platform::GeneralMidiSoundFont().empty())
        GTEST_SKIP() << "no General MIDI sound font";
    Session session;
    m_folder.Write("song.mid", midi_bytes::Melody({60, 62, 64, 67, 69, 67, 64, 62}, 250));
    session.music = m_folder.File("song.mid");
    session.blocks = 150;
    session.sounds = {{Asset("start.wav"), 30},
                      {Asset("start.wav"), 32},
                      {Asset("start.wav"), 34, 1},
                      {Asset("start.wav"), 36}};
    Verdict all = Judge(session);
    EXPECT_EQ(all.status, 0) << all.report;
    EXPECT_EQ(all.Count(" heard after"), 4) << all.report;

    Session missing = session;
    missing.sounds[2].delay = kNever;
    Verdict verdict = Judge(missing);
    EXPECT_EQ(verdict.status, 1) << verdict.report;
    EXPECT_EQ(verdict.Count("NOT HEARD"), 1) << verdict.report;

    // The song begun 325 ms after its request (the sound font loading on a
    // busy machine) under five sounds asked for at its start, two at once
    // and three a block later, whose sum clips: each is heard, and one
    // missing still fails.
    Session crowded = session;
    crowded.musicDelay = 14;
    crowded.sounds.clear();
    for (size_t block : {19, 19, 20, 20, 20})
        crowded.sounds.push_back({Asset("start.wav"), block});
    verdict = Judge(crowded);
    EXPECT_EQ(verdict.status, 0) << verdict.report;
    EXPECT_EQ(verdict.Count(" heard after"), 5) << verdict.report;
    std::string recording;
    ASSERT_TRUE(ReadWholeFile(m_folder.File("audio.raw"), recording, size_t(1) << 26));
    std::vector<int16_t> samples(recording.size() / 2);
    memcpy(samples.data(), recording.data(), samples.size() * 2);
    EXPECT_NE(std::count(samples.begin(), samples.end(), INT16_MAX) +
                  std::count(samples.begin(), samples.end(), INT16_MIN),
              0)
        << "the sum never clipped";
    crowded.sounds[3].delay = kNever;
    verdict = Judge(crowded);
    EXPECT_EQ(verdict.status, 1) << verdict.report;
    EXPECT_EQ(verdict.Count("NOT HEARD"), 1) << verdict.report;

    // The song that stops, or starts again from its beginning: never silent
    // for long, but not the song as it goes on.
    for (size_t Session::*change : {&Session::stopAt, &Session::againAt}) {
        Session broken = session;
        broken.*change = 100;
        verdict = Judge(broken);
        EXPECT_EQ(verdict.status, 1) << verdict.report;
        EXPECT_GE(verdict.Count("\n +[0-9]+ +[0-9]+ +[0-9]+  NO "), 1) << verdict.report;
    }
}

} // namespace
