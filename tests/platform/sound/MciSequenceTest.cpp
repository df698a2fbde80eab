// MIDI sequences through the MCI command strings: the synthesiser's sound on
// the recording null device, stepped by the test clock, and the notices the
// callback window receives.

#include "tests/support/MidiBytes.h"
#include "tests/support/TempFolder.h"

#include "platform/sound/Mci.h"
#include "platform/sound/MidiSynth.h"
#include "platform/sound/Sound.h"
#include "platform/sound/WaveFile.h"
#include "platform/system/Clock.h"
#include "platform/window/Wnd.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

using namespace platform;

namespace {

class MciSequenceTest : public ::testing::Test {
protected:
    ManualClock clock;
    ScopedClock useClock{clock};
    TempFolder folder;
    CWnd window;
    uint64_t captureStart = 0;

    void SetUp() override {
        ASSERT_FALSE(GeneralMidiSoundFont().empty()) << "the install step adds a GM sound font";
        StartAudio(AudioOutput::Null);
        mciSendString("close all", nullptr, 0, nullptr);
        ClearMciCommands();
        ASSERT_TRUE(window.CreateEx(0, nullptr, "main", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr));
        DrainNotices();
    }
    void TearDown() override {
        mciSendString("close all", nullptr, 0, nullptr);
        CaptureAudio(false);
        window.DestroyWindow();
    }

    MCIERROR Send(const std::string& command, HWND callback = nullptr) {
        return mciSendString(command.c_str(), nullptr, 0, callback);
    }
    std::string Status(const std::string& alias, const char* item) {
        char answer[64] = "?";
        EXPECT_EQ(
            mciSendString(("status " + alias + " " + item).c_str(), answer, sizeof answer, nullptr),
            0u);
        return answer;
    }
    long StatusNumber(const std::string& alias, const char* item) {
        return std::stol(Status(alias, item));
    }
    std::string OpenMelody(const std::string& alias, int notes, int ms) {
        std::vector<int> melody;
        for (int k = 0; k < notes; ++k)
            melody.push_back(60 + 2 * (k % 6));
        folder.Write(alias + ".mid", midi_bytes::Melody(melody, ms));
        const std::string file = folder.File(alias + ".mid");
        EXPECT_EQ(Send("open " + file + " type sequencer alias " + alias), 0u);
        return file;
    }
    void StartCapture() {
        CaptureAudio(true);
        captureStart = clock.NowMs();
    }
    // Moves the clock on in 10 ms steps; the notice, if one came.
    bool Advance(uint64_t ms, MSG* notice = nullptr) {
        for (uint64_t done = 0; done < ms; done += 10) {
            clock.Advance(10);
            SyncAudio();
            MSG msg{};
            if (PeekMessage(&msg, window.m_hWnd, MM_MCINOTIFY, MM_MCINOTIFY, PM_REMOVE)) {
                if (notice)
                    *notice = msg;
                return true;
            }
        }
        return false;
    }
    void DrainNotices() {
        MSG msg{};
        while (PeekMessage(&msg, window.m_hWnd, MM_MCINOTIFY, MM_MCINOTIFY, PM_REMOVE)) {
        }
    }
    // The loudness of the captured sound between two times after the
    // capture's start: root mean square of both channels, full scale 32767.
    double Rms(uint64_t fromMs, uint64_t toMs) {
        const std::vector<int16_t> samples = CapturedAudio();
        const size_t rate = size_t(MixerRate());
        const size_t first = std::min(samples.size(), size_t(fromMs) * rate / 1000 * 2);
        const size_t last = std::min(samples.size(), size_t(toMs) * rate / 1000 * 2);
        if (last <= first)
            return 0;
        double sum = 0;
        for (size_t i = first; i < last; ++i)
            sum += double(samples[i]) * samples[i];
        return std::sqrt(sum / double(last - first));
    }
};

// The loudness every tenth of a second of a playing melody stays above.
constexpr double kSoundFloor = 300;

TEST_F(MciSequenceTest, AMelodySoundsForItsLengthAndItsEndIsNoticedAfterIt) {
    OpenMelody("sq", 4, 250);
    EXPECT_EQ(StatusNumber("sq", "length"), 1000);
    StartCapture();
    ASSERT_EQ(Send("play sq from 0 notify", window.m_hWnd), 0u);
    EXPECT_EQ(Status("sq", "mode"), "playing");
    MSG notice{};
    ASSERT_FALSE(Advance(990, &notice)) << "noticed before the end, at " << notice.time;
    const uint64_t endsBy = 1000 + 1000; // and the last notes' ringing
    ASSERT_TRUE(Advance(endsBy - 990, &notice)) << "no notice after the sequence's end";
    const uint64_t noticedAt = clock.NowMs() - captureStart;
    EXPECT_EQ(notice.wParam, WPARAM(MCI_NOTIFY_SUCCESSFUL));
    EXPECT_NE(notice.lParam, 0);
    EXPECT_EQ(Status("sq", "mode"), "stopped");

    double quietest = 1e9, loudest = 0;
    for (uint64_t at = 0; at < 1000; at += 100) {
        const double rms = Rms(at, at + 100);
        quietest = std::min(quietest, rms);
        loudest = std::max(loudest, rms);
        EXPECT_GT(rms, kSoundFloor) << "silent between " << at << " and " << at + 100 << " ms";
    }
    // The figures, for whoever reads the run.
    printf("MIDI melody of 1000 ms: notice at %llu ms; loudness per 100 ms %.0f to %.0f (floor "
           "%.0f); after the notice %.0f\n",
           (unsigned long long)noticedAt, quietest, loudest, kSoundFloor,
           Rms(noticedAt, noticedAt + 200));
    EXPECT_LT(Rms(noticedAt, noticedAt + 200), 1.0); // nothing sounds after its end
}

TEST_F(MciSequenceTest, PauseResumeVolumeStopAndASecondPlayReplacingTheFirst) {
    OpenMelody("sq", 8, 250); // 2 seconds
    ASSERT_EQ(Send("play sq from 0 notify", window.m_hWnd), 0u);
    ASSERT_FALSE(Advance(500));
    EXPECT_NEAR(StatusNumber("sq", "position"), 500, 30);

    // Paused: silent, the position holds, the notice waits.
    ASSERT_EQ(Send("pause sq"), 0u);
    EXPECT_EQ(Status("sq", "mode"), "paused");
    StartCapture();
    EXPECT_FALSE(Advance(3000));
    EXPECT_LT(Rms(0, 3000), 1.0);
    EXPECT_NEAR(StatusNumber("sq", "position"), 500, 30);

    // Resumed at full volume, then at a tenth.
    ASSERT_EQ(Send("resume sq"), 0u);
    StartCapture();
    ASSERT_FALSE(Advance(300));
    const double full = Rms(0, 300);
    ASSERT_EQ(Send("setaudio sq volume to 100"), 0u);
    StartCapture();
    ASSERT_FALSE(Advance(300));
    const double tenth = Rms(0, 300);
    EXPECT_GT(full, kSoundFloor);
    EXPECT_LT(tenth, full / 5) << full << " then " << tenth;
    EXPECT_GT(tenth, 0);

    // Another play supersedes the waiting notice and starts again.
    ASSERT_EQ(Send("setaudio sq volume to 1000"), 0u);
    ASSERT_EQ(Send("play sq from 0 notify", window.m_hWnd), 0u);
    MSG notice{};
    ASSERT_TRUE(PeekMessage(&notice, window.m_hWnd, MM_MCINOTIFY, MM_MCINOTIFY, PM_REMOVE));
    EXPECT_EQ(notice.wParam, WPARAM(MCI_NOTIFY_SUPERSEDED));
    const uint64_t replayed = clock.NowMs();
    ASSERT_TRUE(Advance(4000, &notice));
    EXPECT_EQ(notice.wParam, WPARAM(MCI_NOTIFY_SUCCESSFUL));
    EXPECT_GE(clock.NowMs() - replayed, 2000u);

    // One sequence at a time; a stop aborts the notice.
    OpenMelody("other", 2, 250);
    ASSERT_EQ(Send("play sq from 0 notify", window.m_hWnd), 0u);
    EXPECT_EQ(Send("play other"), DWORD(MCIERR_SEQ_PORT_INUSE));
    ASSERT_EQ(Send("stop sq"), 0u);
    ASSERT_TRUE(PeekMessage(&notice, window.m_hWnd, MM_MCINOTIFY, MM_MCINOTIFY, PM_REMOVE));
    EXPECT_EQ(notice.wParam, WPARAM(MCI_NOTIFY_ABORTED));
    EXPECT_EQ(Send("play other notify", window.m_hWnd), 0u);
    ASSERT_EQ(Send("close other"), 0u);
    ASSERT_TRUE(PeekMessage(&notice, window.m_hWnd, MM_MCINOTIFY, MM_MCINOTIFY, PM_REMOVE));
    EXPECT_EQ(notice.wParam, WPARAM(MCI_NOTIFY_ABORTED));
    EXPECT_EQ(OpenMciDevices(), std::vector<std::string>{"sq"});
}

TEST_F(MciSequenceTest, BadCommandsAndBrokenFilesAreRefusedWithTheirErrors) {
    using namespace midi_bytes;
    using namespace std::string_literals;
    const std::string missing = "open " + folder.File("none.mid") + " type sequencer alias sq";
    EXPECT_EQ(Send(missing), DWORD(MCIERR_FILE_NOT_FOUND));
    EXPECT_EQ(Send(""), DWORD(MCIERR_UNRECOGNIZED_COMMAND));
    EXPECT_EQ(mciSendString(nullptr, nullptr, 0, nullptr), DWORD(MCIERR_MISSING_PARAMETER));

    const std::string good = Melody({60, 64}, 200);
    const std::string track = good.substr(14 + 8);
    const std::string broken[] = {
        "MThd",
        good.substr(0, good.size() - 5),                           // cut inside the track
        Header(0, 1, 480) + "MTrk\x7F\xFF\xFF\xFF" + track,        // a track longer than the file
        Header(1, 2, 480) + Chunk("MTrk", track),                  // fewer tracks than counted
        Header(0, 1, 0) + Chunk("MTrk", track),                    // no time division
        Header(0, 1, 480) + Chunk("MTrk", "\x00\x40\x40"s),        // running status, none before
        Header(0, 1, 480) + Chunk("MTrk", "\x00"s + Tempo(0)),     // a tempo of zero
        Header(0, 1, 480) + Chunk("MTrk", "\x00\xFF\x01\x7F"s),    // a text past its track
        Header(0, 1, 480) + Chunk("MTrk", "\xFF\xFF\xFF\xFF\x7F"), // a five-byte delta
        Header(0, 1, 480) + Chunk("MTrk", "\x00\xF8"s),            // a clock byte
    };
    int k = 0;
    for (const std::string& bytes : broken) {
        const std::string name = "broken" + std::to_string(k++) + ".mid";
        folder.Write(name, bytes);
        EXPECT_EQ(Send("open " + folder.File(name) + " alias b"), DWORD(MCIERR_INVALID_FILE))
            << name;
    }
    EXPECT_TRUE(OpenMciDevices().empty());

    folder.Write("a b.mid", good);
    ASSERT_EQ(Send("open \"" + folder.File("a b.mid") + "\" alias x"), 0u);
    EXPECT_EQ(Send("open \"" + folder.File("a b.mid") + "\" alias X"),
              DWORD(MCIERR_DUPLICATE_ALIAS));
    EXPECT_EQ(Send("play x sideways"), DWORD(MCIERR_UNRECOGNIZED_KEYWORD));
    EXPECT_EQ(Send("play x from ten"), DWORD(MCIERR_BAD_INTEGER));
    EXPECT_EQ(Send("play x from 999999"), DWORD(MCIERR_OUTOFRANGE));
    EXPECT_EQ(Send("setaudio x volume to 1001"), DWORD(MCIERR_OUTOFRANGE));
    EXPECT_EQ(Send("rewind x"), DWORD(MCIERR_UNRECOGNIZED_COMMAND));
    EXPECT_EQ(Send("open \"" + folder.File("a b.mid") + "\" type waveaudio alias w"),
              DWORD(MCIERR_INVALID_DEVICE_NAME));
    EXPECT_EQ(Send("close x"), 0u);
    EXPECT_EQ(Send("play x"), DWORD(MCIERR_INVALID_DEVICE_NAME));
}

// A song's stereo samples as the mixer reads them, until it ends or has
// given the frames asked for.
std::vector<int16_t> RenderSong(const std::string& bytes, bool loop, size_t frames) {
    auto song = MidiSequence::Load(std::vector<uint8_t>(bytes.begin(), bytes.end()), nullptr);
    std::vector<int16_t> out;
    if (!song || !song->Start(0, loop))
        return out;
    int16_t block[2 * 1000];
    while (!song->Ended() && out.size() < 2 * frames) {
        const size_t n = song->Read(block, 1000);
        out.insert(out.end(), block, block + 2 * n);
        if (n == 0)
            break;
    }
    song->Halt();
    return out;
}

// The frame after the last one that has a sample above the level.
size_t LoudEnd(const int16_t* samples, size_t count, int level) {
    for (size_t i = count; i > 0; --i)
        if (std::abs(samples[i - 1]) > level)
            return (i + 1) / 2;
    return 0;
}

TEST_F(MciSequenceTest, ASongPlaysOnWhileItsLastNoteRingsAndEndsOnceItHasDiedAway) {
    using namespace midi_bytes;
    const size_t rate = SoundMixer::kDefaultRate;
    const size_t lastEvent = rate / 5, quietRun = rate * MidiSequence::kQuietMs / 1000;
    const size_t bound = lastEvent + rate * MidiSequence::kLongestTailMs / 1000;
    const int quiet = MidiSequence::kQuietSample;
    // Looped, a music box struck every fifth of a second plays on past the
    // bound; halted, nothing of it sounds in the next song, a rest.
    const std::string ringing = Melody({72}, 200, 10);
    const std::vector<int16_t> looped = RenderSong(ringing, true, bound + 2 * rate);
    ASSERT_GE(looped.size() / 2, bound + 2 * rate);
    EXPECT_GT(LoudEnd(looped.data(), looped.size(), quiet * 10), bound + rate);
    const std::string rest = Header(0, 1, 480) + Chunk("MTrk", Quantity(480) + EndOfTrack());
    const std::vector<int16_t> after = RenderSong(rest, false, 60 * rate);
    EXPECT_EQ(LoudEnd(after.data(), after.size(), quiet), 0u) << "the halted song rang on";

    // Struck once, the note rings on for seconds after the song's last event.
    const std::vector<int16_t> ours = RenderSong(ringing, false, 60 * rate);
    const size_t frames = ours.size() / 2, loudEnd = LoudEnd(ours.data(), ours.size(), quiet);
    EXPECT_GT(loudEnd, lastEvent + rate) << "cut while it still rang";
    EXPECT_GE(frames, loudEnd + quietRun);
    EXPECT_LE(frames, loudEnd + quietRun + rate / 50) << "went on after it had died away";

    // A church organ's note held past the end never dies away: cut at the
    // bound.
    const std::string held =
        Header(0, 1, 480) + Chunk("MTrk", Quantity(0) + "\xC0\x13" + Quantity(0) + "\x90\x3C\x64" +
                                              Quantity(192) + EndOfTrack());
    const std::vector<int16_t> organ = RenderSong(held, false, 60 * rate);
    EXPECT_NEAR(double(organ.size() / 2), double(bound), double(rate / 50));
    EXPECT_EQ(LoudEnd(organ.data(), organ.size(), quiet), organ.size() / 2);

    // fluidsynth's own renderer, with the same sound font and gain, rings the
    // note out in the same samples (to the last bits of its dither; the strike
    // itself differs a little on a synthesiser that has played before) and
    // has nothing above the quiet level past the song's end.
    if (std::system("fluidsynth --version >/dev/null 2>&1") != 0) {
        printf("fluidsynth is not installed (scripts/install-deps.sh installs it): the ringing "
               "song is not compared with its render\n");
        return;
    }
    folder.Write("ringing.mid", ringing);
    const std::string render = folder.File("ringing.wav");
    ASSERT_EQ(std::system(("fluidsynth -ni -g " + std::to_string(MidiSequence::kGain) + " -F " +
                           render + " -r " + std::to_string(rate) + " '" + GeneralMidiSoundFont() +
                           "' " + folder.File("ringing.mid") + " >/dev/null 2>&1")
                              .c_str()),
              0);
    Wave wave;
    ASSERT_TRUE(LoadWaveFile(render, wave));
    const auto* theirs = reinterpret_cast<const int16_t*>(wave.pcm.data());
    const size_t count = wave.pcm.size() / 2;
    ASSERT_TRUE(wave.format.channels == 2 && count > ours.size());
    int difference = 0;
    for (size_t i = 2 * lastEvent; i < ours.size(); ++i)
        difference = std::max(difference, std::abs(int(ours[i]) - theirs[i]));
    EXPECT_LE(difference, 3);
    const size_t theirLoudEnd = LoudEnd(theirs, count, quiet);
    EXPECT_LE(theirLoudEnd, frames);
    printf("Ringing song: its tail %.2f s, fluidsynth's above %d for %.2f s; they differ by %d\n",
           double(frames - lastEvent) / double(rate), quiet,
           double(theirLoudEnd - lastEvent) / double(rate), difference);
}
} // namespace
