// What reached the audio device while the real Pellor played: a recording of
// SDL's disk driver (16-bit stereo at 44.1 kHz, raw) read beside the
// program's sound trace, which says how the device pulls its sound ("audio
// device open (...): ... N frames a block") and where in the output each
// request falls ("sound PATH at N ms of the audio output", "music PATH at
// ...").
//
//   recording_check RAW TRACE
//       The background music must begin within a second of its request and
//       sound, at its level, in every second from there to the recording's
//       end (or to where a sound asked for too late to tell may begin), which
//       must run a second past the music's end, so that it is heard looping.
//       The music is known by its own samples: a wave's, looped, or those the
//       program's synthesiser makes of a MIDI song (on the frames it makes,
//       not the clock, so the same in every run). Each sound the table asked
//       for must begin within 300 ms of its request: it is found by its own
//       samples in what the recording holds beyond the music, and taken out
//       once found, so that one sound heard answers one request. Prints
//       every request, then each second's levels.
//   recording_check --write-song FILE
//       Writes a two-second MIDI melody for the music test.
//
// Exit status 0 when all holds, 1 when not, 2 when the files cannot be read.

#include "platform/sound/MidiSynth.h"
#include "platform/sound/SoundFile.h"
#include "platform/sound/SoundMixer.h"
#include "platform/system/FileIo.h"
#include "platform/system/Path.h"
#include "tests/support/MidiBytes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace {

constexpr int kRate = platform::SoundMixer::kDefaultRate;
constexpr size_t kLatestFrames = kRate * 300 / 1000; // a request's 300 ms
// The music's second: the first MIDI song waits for the synthesiser's sound
// font.
constexpr size_t kMusicLatestFrames = kRate;
constexpr size_t kWindowFrames = kRate / 10; // of a sound's start
constexpr size_t kNearFrames = 8;            // a start a few frames off a block's start
constexpr double kLikeness = 0.5;            // of a sound's samples and the recording
constexpr double kLevel = 0.5;               // heard at half its level or more
constexpr double kFaint = 0.15;              // a fit worth taking out first
constexpr double kAsWell = 0.6;              // of the best fit: an earlier place as good

using Signal = std::vector<float>; // one channel: left and right summed

// For each frame of a recording and one past its end, the first from there
// on that a comparison takes.
using Taken = std::vector<size_t>;

Taken TakenWhereNot(const std::vector<bool>& left) {
    Taken next(left.size() + 1, left.size());
    for (size_t i = left.size(); i-- > 0;)
        next[i] = left[i] ? next[i + 1] : i;
    return next;
}

struct Samples {
    Signal raw;
    // A sound's start: from its first frame above a hundredth of its peak (a
    // quiet lead-in tells nothing), kWindowFrames at most.
    size_t first = 0, count = 0;
    // Of a recording: the frames the mixer clipped (a channel at its limit),
    // where the sounds' sum is not heard. They are left out of every
    // comparison and are silent in raw.
    std::vector<bool> clipped;
    Taken unclipped;
};

double Dot(const float* a, const float* b, size_t n) {
    double sum = 0;
    for (size_t i = 0; i < n; ++i)
        sum += double(a[i]) * double(b[i]);
    return sum;
}

double Rms(const Signal& x, size_t from, size_t count) {
    count = std::min(count, x.size() - std::min(from, x.size()));
    return count ? std::sqrt(Dot(x.data() + from, x.data() + from, count) / double(count)) / 2 : 0;
}

bool ReadRecording(const std::string& path, Samples& out) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes, size_t(1) << 30))
        return false;
    const size_t frames = bytes.size() / 4;
    out.raw.resize(frames);
    out.clipped.resize(frames);
    for (size_t i = 0; i < frames; ++i) {
        int16_t left, right;
        memcpy(&left, bytes.data() + i * 4, 2);
        memcpy(&right, bytes.data() + i * 4 + 2, 2);
        const auto atLimit = [](int16_t v) { return v == INT16_MAX || v == INT16_MIN; };
        out.clipped[i] = atLimit(left) || atLimit(right);
        out.raw[i] = out.clipped[i] ? 0.0f : float(left) + float(right);
    }
    out.unclipped = TakenWhereNot(out.clipped);
    return true;
}

struct Request {
    std::string kind; // "sound" or "music"
    std::string path;
    size_t frame = 0;
};

struct Trace {
    size_t block = 0; // frames the device takes at a time
    std::vector<Request> requests;
};

Trace ReadTrace(const std::string& path) {
    Trace trace;
    std::ifstream in(path);
    const std::regex request(R"(^\[sound\] (sound|music) (.+) at (\d+) ms of the audio output$)");
    const std::regex device(R"(^\[sound\] audio device open .*, (\d+) frames a block$)");
    std::string line;
    std::smatch m;
    while (std::getline(in, line)) {
        if (std::regex_match(line, m, request))
            trace.requests.push_back(
                {m[1], NativePath(m[2].str().c_str()), size_t(std::stoull(m[3])) * kRate / 1000});
        else if (std::regex_match(line, m, device))
            trace.block = size_t(std::stoul(m[1]));
    }
    return trace;
}

// Where a signal's start lies: from its first frame above a hundredth of
// its peak.
void FindStart(Samples& s) {
    float peak = 0;
    for (float v : s.raw)
        peak = std::max(peak, std::fabs(v));
    s.first = 0;
    while (s.first < s.raw.size() && std::fabs(s.raw[s.first]) < peak / 100)
        ++s.first;
    s.count = std::min(s.raw.size() - s.first, kWindowFrames);
}

// The sound as the mixer plays it: decoded and converted to its format.
const Samples* SoundFrom(const std::string& path) {
    static std::map<std::string, Samples> known;
    if (auto it = known.find(path); it != known.end())
        return &it->second;
    std::string bytes;
    platform::Wave wave;
    if (!ReadWholeFile(path, bytes, size_t(1) << 30) ||
        !platform::DecodeSound(bytes.data(), bytes.size(), wave))
        return nullptr;
    auto clip = platform::SoundMixer().Prepare(wave, path);
    if (!clip)
        return nullptr;
    Samples& s = known[path];
    s.raw.resize(clip->Frames());
    for (size_t i = 0; i < s.raw.size(); ++i)
        s.raw[i] = float(clip->samples[2 * i]) + float(clip->samples[2 * i + 1]);
    FindStart(s);
    return &s;
}

struct Match {
    size_t at = 0;
    double likeness = 0;
    double level = 0;
    size_t compared = 0; // frames
};

// How like the sound's start the recording is when the sound begins at
// `at`, and at what level: over as many frames as its start has of those
// `taken` (by default those that did not clip) takes from there on. Where
// several sounds at once clipped, that reaches further into the sound, so
// that its place is still told by as many frames.
Match Compare(const Samples& x, const Samples& sound, size_t at, const Taken* taken = nullptr) {
    Match m{at, 0, 0};
    const size_t begin = at + sound.first;
    if (begin + sound.count > x.raw.size())
        return m;
    const Taken& next = taken ? *taken : x.unclipped;
    double both = 0, heard = 0, own = 0;
    for (size_t i = next[begin];
         i < x.raw.size() && m.compared < sound.count && i - at < sound.raw.size();
         i = next[i + 1], ++m.compared) {
        const double xs = x.raw[i], cs = sound.raw[i - at];
        both += xs * cs;
        heard += xs * xs;
        own += cs * cs;
    }
    if (own > 0 && heard > 0) {
        m.likeness = both / std::sqrt(own * heard);
        m.level = both / own;
    }
    return m;
}

// Heard: like the sound, at half its level at least (or at twice it, where
// two of it begin at once).
bool Heard(const Match& m) {
    return m.likeness >= kLikeness && m.level >= kLevel;
}

// How well the place fits: its likeness, less as its level strays from the
// sound's own, or from a whole number of times that, where the sound began
// that many times at once. A decaying tone is as like its own later part,
// but there it is quieter.
double Fit(const Match& m) {
    const double times = std::max(1.0, std::round(m.level));
    const double level = m.level / times;
    return level > 0 ? m.likeness * std::min(level, 1 / level) : 0;
}

// The best fit within a few frames of `at`.
Match Near(const Samples& x, const Samples& sound, size_t at) {
    Match best{at, 0, 0};
    for (size_t k = at > kNearFrames ? at - kNearFrames : 0; k <= at + kNearFrames; ++k) {
        const Match m = Compare(x, sound, k);
        if (Fit(m) > Fit(best))
            best = m;
    }
    return best;
}

// A sound asked for begins at the start of the first block the device
// pulls after the request, or of a later one when the program was slow:
// where the blocks of the output begin (`phase`, within a few frames) in
// the first 300 ms after `asked`, the place that fits best. Where another
// sound begins a block later, the start of this one is less like the sum
// there than the sum's start is, but may still pass for heard: the earliest
// heard place wins only when it fits about as well as the best, as the
// first of two of one file does (they begin in the order they were asked
// for, so the earliest not yet taken out is this request's).
Match Find(const Samples& x, const Samples& sound, size_t asked, size_t block, size_t phase) {
    std::vector<Match> places;
    size_t at = asked - asked % block + phase % block;
    if (at > asked + kNearFrames)
        at -= std::min(at, block);
    for (; at <= asked + kLatestFrames; at += block)
        places.push_back(Near(x, sound, at));
    Match best{asked, 0, 0}, heard{asked, 0, 0};
    for (const Match& m : places) {
        if (Fit(m) > Fit(best))
            best = m;
        if (Heard(m) && m.at + kNearFrames >= asked && Fit(m) > Fit(heard))
            heard = m;
    }
    if (!Heard(heard))
        return best;
    for (const Match& m : places)
        if (Heard(m) && m.at + kNearFrames >= asked && Fit(m) >= kAsWell * Fit(heard))
            return m;
    return heard;
}

// Adds the sound to x from `at` on, scaled by `level`; clipped frames stay
// silent.
void Mix(Samples& x, const Signal& sound, size_t at, double level) {
    for (size_t i = at; i < x.raw.size() && i - at < sound.size(); ++i)
        if (x.clipped.empty() || !x.clipped[i])
            x.raw[i] += float(level * sound[i - at]);
}

int WriteSong(const char* path) {
    const std::string song = midi_bytes::Melody({60, 62, 64, 67, 69, 67, 64, 62}, 250);
    std::ofstream out(path, std::ios::binary);
    out.write(song.data(), std::streamsize(song.size()));
    return out ? 0 : 2;
}

// The music as heard: where it begins, how long it runs before it loops,
// and what it sounds like from its start on.
struct Music {
    size_t length = 0;
    Samples sound;
    Match start;
};

// A MIDI song as the program's synthesiser makes it, looping, in the
// device's blocks: events follow the frames made, so it sounds the same in
// every run.
bool RenderMidi(const std::string& bytes, size_t frames, size_t block, Music& music) {
    std::string why;
    auto sequence =
        platform::MidiSequence::Load(std::vector<uint8_t>(bytes.begin(), bytes.end()), &why);
    if (!sequence || !sequence->Start(0, true, &why)) {
        printf("the MIDI song cannot be played here: %s\n", why.c_str());
        return false;
    }
    music.length = size_t(sequence->Song().LengthMs() * kRate / 1000);
    std::vector<int16_t> made(2 * block);
    music.sound.raw.resize(frames);
    for (size_t at = 0; at < frames; at += block) {
        const size_t n = sequence->Read(made.data(), std::min(block, frames - at));
        for (size_t i = 0; i < n; ++i)
            music.sound.raw[at + i] = float(made[2 * i]) + float(made[2 * i + 1]);
    }
    sequence->Halt();
    return true;
}

// A wave as the mixer loops it.
bool LoopWave(const std::string& path, size_t frames, Music& music) {
    const Samples* wave = SoundFrom(path);
    if (!wave)
        return false;
    music.length = wave->raw.size();
    music.sound.raw.resize(frames);
    for (size_t i = 0; i < frames; ++i)
        music.sound.raw[i] = wave->raw[i % music.length];
    return true;
}

// The frames of the recording that no sound asked for may fill (from its
// request to its length past the latest it may begin) and that did not
// clip: a busy table may ask for sounds on top of the music's start, and the
// music is told where it sounds alone.
Taken WithoutSounds(const Samples& x, const Trace& trace) {
    std::vector<bool> left(x.clipped);
    for (const Request& r : trace.requests) {
        const Samples* sound = r.kind == "sound" ? SoundFrom(r.path) : nullptr;
        if (!sound)
            continue;
        const size_t to =
            std::min(left.size(), r.frame + kLatestFrames + kNearFrames + sound->raw.size());
        for (size_t i = r.frame - std::min(r.frame, kNearFrames); i < to; ++i)
            left[i] = true;
    }
    return TakenWhereNot(left);
}

// Finds the music's start within a second of its request: the place its
// first tenth of a second where no sound may sound fits best, frame by frame
// (or its first tenth, when sounds fill the rest of the recording).
bool FindMusic(const Samples& x, const Trace& trace, const Request& request, Music& music) {
    const size_t block = trace.block;
    const size_t frames = x.raw.size() - std::min(x.raw.size(), request.frame);
    std::string bytes;
    if (!ReadWholeFile(request.path, bytes, size_t(1) << 30))
        return false;
    const bool midi =
        platform::SniffSound(bytes.data(), bytes.size()) == platform::SoundFormat::Midi;
    if (!(midi ? RenderMidi(bytes, frames, block, music) : LoopWave(request.path, frames, music)))
        return false;
    FindStart(music.sound);
    const Taken alone = WithoutSounds(x, trace);
    for (size_t at = request.frame; at <= request.frame + kMusicLatestFrames; ++at) {
        Match m = Compare(x, music.sound, at, &alone);
        if (m.compared < music.sound.count)
            m = Compare(x, music.sound, at);
        if (Fit(m) > Fit(music.start))
            music.start = m;
    }
    return Heard(music.start);
}

struct Found {
    const Request* request;
    const Samples* sound;
    Match match;
    bool heard;
    bool current; // match is the best place in x as it is
};

struct Heards {
    std::vector<Found> found;
    size_t asked = 0, heard = 0, late = 0;
    size_t lateFrom = SIZE_MAX; // where the first sound asked for too late may begin
    Samples sounds;             // all that were heard, as they sounded
};

// Each sound asked for found within 300 ms of its request in x (the
// recording without the music) and taken out of it, as the program plays
// it: at its own level. Several sounds asked for at once are told apart
// the clearest first: of all the requests not yet found, the one whose
// sound fits x best is taken out, and those whose places that changes are
// looked at again. Then each is found again with all the others taken out,
// until nothing changes.
Heards HearSounds(const Trace& trace, size_t phase, Samples x) {
    Heards result;
    std::vector<Found>& found = result.found;
    for (const Request& r : trace.requests) {
        if (r.kind != "sound")
            continue;
        const Samples* sound = SoundFrom(r.path);
        if (sound &&
            r.frame + kLatestFrames + kNearFrames + sound->first + sound->count > x.raw.size()) {
            ++result.late; // its 300 ms run past the recording's end
            result.lateFrom = std::min(result.lateFrom, r.frame - std::min(r.frame, kNearFrames));
            continue;
        }
        ++result.asked;
        if (!sound)
            printf("  %8.3f s %s cannot be read\n", double(r.frame) / kRate, r.path.c_str());
        else
            found.push_back({&r, sound, {}, false, false});
    }
    const auto search = [&](Found& f) {
        f.match = Find(x, *f.sound, f.request->frame, trace.block, phase);
        f.current = true;
    };
    for (;;) {
        Found* clearest = nullptr;
        for (Found& f : found) {
            if (f.heard)
                continue;
            if (!f.current)
                search(f);
            if (Fit(f.match) >= kFaint && f.match.level >= kLevel &&
                (!clearest || Fit(f.match) > Fit(clearest->match)))
                clearest = &f;
        }
        if (!clearest)
            break;
        clearest->heard = true;
        Mix(x, clearest->sound->raw, clearest->match.at, -1);
        const size_t from = clearest->match.at, to = from + clearest->sound->raw.size();
        for (Found& f : found)
            f.current &= !(f.request->frame < to &&
                           from < f.request->frame + kLatestFrames + f.sound->raw.size());
    }
    for (int pass = 0; pass < 4; ++pass) {
        bool changed = false;
        for (Found& f : found) {
            if (f.heard)
                Mix(x, f.sound->raw, f.match.at, 1);
            const Match before = f.match;
            const bool wasHeard = f.heard;
            search(f);
            f.heard = Heard(f.match);
            changed |= f.heard != wasHeard || f.match.at != before.at;
            if (f.heard)
                Mix(x, f.sound->raw, f.match.at, -1);
        }
        if (!changed)
            break;
    }
    result.sounds.raw.assign(x.raw.size(), 0.0f);
    for (const Found& f : found) {
        result.heard += f.heard;
        if (f.heard)
            Mix(result.sounds, f.sound->raw, f.match.at, 1);
    }
    return result;
}

void PrintSounds(const Heards& heards) {
    for (const Found& f : heards.found)
        printf("  %8.3f s %-50s %s after %4.0f ms (likeness %.2f, level %.2f)\n",
               double(f.request->frame) / kRate, f.request->path.c_str(),
               f.heard ? "heard" : "NOT HEARD",
               (double(f.match.at) - double(f.request->frame)) * 1000 / kRate, f.match.likeness,
               f.match.level);
    printf("sounds: %zu asked for, %zu heard within 300 ms (%zu asked for too late to tell)\n",
           heards.asked, heards.heard, heards.late);
}

struct Second {
    double recording, sounds, measure;
    bool plays;
};

// The music in every whole second from its start: the recording without
// the sounds heard is the music, at its level. Where a quarter of the second
// or more holds no sound, the music is judged there alone: several sounds
// at once, taken out with their levels' small errors, would drown it. From
// lateFrom on sounds may play that could not be taken out, so the seconds
// end there.
std::vector<Second> HearMusic(const Samples& recording, const Heards& heards, const Music& music) {
    const Samples& sounds = heards.sounds;
    std::vector<Second> seconds;
    const size_t end = std::min(recording.raw.size(), heards.lateFrom);
    for (size_t at = music.start.at; at + kRate <= end; at += kRate) {
        size_t quiet = 0;
        for (size_t i = at; i < at + kRate; ++i)
            quiet += !recording.clipped[i] && sounds.raw[i] == 0;
        const bool quietOnly = quiet >= kRate / 4;
        Signal rest(kRate), expected(kRate);
        for (size_t i = 0; i < rest.size(); ++i) {
            if (recording.clipped[at + i] || (quietOnly && sounds.raw[at + i] != 0))
                continue; // silent in both
            rest[i] = recording.raw[at + i] - sounds.raw[at + i];
            expected[i] = music.sound.raw[at + i - music.start.at];
        }
        Second second{Rms(recording.raw, at, kRate), Rms(sounds.raw, at, kRate), 0, false};
        const double both = Dot(rest.data(), expected.data(), kRate);
        const double own = Dot(expected.data(), expected.data(), kRate);
        const double heard = Dot(rest.data(), rest.data(), kRate);
        second.measure = own > 0 && heard > 0 ? both / std::sqrt(own * heard) : 0;
        const double level = own > 0 ? both / own : 0;
        second.plays = second.measure >= 0.9 && level >= 0.9 && level <= 1.1;
        seconds.push_back(second);
    }
    return seconds;
}

// The recording without the music where it was heard: everywhere until the
// seconds are known, and past the last second judged.
Samples WithoutMusic(const Samples& recording, const Music& music,
                     const std::vector<Second>* seconds) {
    Samples x = recording;
    for (size_t i = music.start.at; i < x.raw.size(); ++i) {
        const size_t second = (i - music.start.at) / kRate;
        if (!seconds || second >= seconds->size() || (*seconds)[second].plays)
            if (!x.clipped[i])
                x.raw[i] -= music.sound.raw[i - music.start.at];
    }
    return x;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--write-song") == 0)
        return WriteSong(argv[2]);
    if (argc != 3) {
        fprintf(stderr, "usage: recording_check RAW TRACE\n"
                        "       recording_check --write-song FILE\n");
        return 2;
    }
    Samples recording;
    if (!ReadRecording(argv[1], recording)) {
        fprintf(stderr, "recording_check: cannot read %s\n", argv[1]);
        return 2;
    }
    const Trace trace = ReadTrace(argv[2]);
    printf("recording: %.1f s; %zu requests traced; the device takes %zu frames a block\n",
           double(recording.raw.size()) / kRate, trace.requests.size(), trace.block);
    const auto request = std::find_if(trace.requests.begin(), trace.requests.end(),
                                      [](const Request& r) { return r.kind == "music"; });
    if (trace.block == 0 || request == trace.requests.end()) {
        printf("FAIL: the trace names no audio device or no background music\n");
        return 1;
    }
    Music music;
    bool ok = FindMusic(recording, trace, *request, music);
    printf("music %s asked for at %.3f s: %s at %.3f s (likeness %.2f, level %.2f)\n",
           request->path.c_str(), double(request->frame) / kRate,
           ok ? "begins" : "does NOT begin within a second", double(music.start.at) / kRate,
           music.start.likeness, music.start.level);
    if (!ok) {
        printf("FAIL\n");
        return 1;
    }
    // The music began where a block did: so does every sound. The sounds
    // are found beside the music as if it played throughout, then again
    // beside it only where it was heard.
    Heards heards = HearSounds(trace, music.start.at, WithoutMusic(recording, music, nullptr));
    std::vector<Second> seconds = HearMusic(recording, heards, music);
    if (std::any_of(seconds.begin(), seconds.end(), [](const Second& s) { return !s.plays; })) {
        heards = HearSounds(trace, music.start.at, WithoutMusic(recording, music, &seconds));
        seconds = HearMusic(recording, heards, music);
    }
    PrintSounds(heards);
    ok &= heards.heard == heards.asked;

    size_t playing = 0;
    printf("second  recording  sounds  music\n");
    for (size_t k = 0; k < seconds.size(); ++k) {
        playing += seconds[k].plays;
        printf("%5zu  %9.0f  %6.0f  %s %.2f\n", k, seconds[k].recording, seconds[k].sounds,
               seconds[k].plays ? "yes" : "NO ", seconds[k].measure);
    }
    // A second past the music's end at least, so that it is heard looping.
    const size_t needed = (music.length + kRate - 1) / kRate + 1;
    printf("music of %.1f s: sounds in %zu of %zu seconds from its start (%zu needed to hear it "
           "loop)\n",
           double(music.length) / kRate, playing, seconds.size(), needed);
    if (heards.lateFrom < recording.raw.size())
        printf("  (judged until %.3f s, where a sound asked for too late to tell may begin)\n",
               double(heards.lateFrom) / kRate);
    ok &= playing == seconds.size() && seconds.size() >= needed;
    printf("%s\n", ok ? "PASS" : "FAIL");
    return ok ? 0 : 1;
}
