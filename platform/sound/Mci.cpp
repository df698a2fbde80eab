// The MCI command-string interpreter for MIDI sequences.

#include "platform/sound/Mci.h"

#include "platform/sound/AudioOutput.h"
#include "platform/sound/MidiSynth.h"
#include "platform/system/DebugOutput.h"
#include "platform/system/FileIo.h"
#include "platform/system/InputBounds.h"
#include "platform/system/Path.h"
#include "platform/window/Messages.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <sys/stat.h>
#include <utility>

namespace platform {

namespace {

// A notice waiting for its sequence's end; whoever takes the window posts.
struct Notice {
    std::atomic<HWND> window{nullptr};
    WORD device = 0;
    void Post(WPARAM flag) {
        if (HWND to = window.exchange(nullptr))
            PostMessage(to, MM_MCINOTIFY, flag, LPARAM(device));
    }
};

struct Device {
    std::string file;
    WORD id = 0;
    std::shared_ptr<MidiSequence> sequence;
    VoiceId voice = 0;
    std::shared_ptr<Notice> notice;
    float gain = 1.0f;
    bool paused = false;
};

struct MciState {
    std::mutex lock;
    std::vector<std::string> sent;
    std::map<std::string, Device> open; // lower-case alias
    WORD lastId = 0;
};

MciState& State() {
    static MciState state;
    return state;
}

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return s;
}

// Words split at blanks; a double-quoted word may hold blanks.
std::vector<std::string> Words(const std::string& command) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < command.size()) {
        while (i < command.size() && (command[i] == ' ' || command[i] == '\t'))
            ++i;
        if (i >= command.size())
            break;
        std::string word;
        if (command[i] == '"') {
            const size_t close = command.find('"', i + 1);
            word = command.substr(i + 1,
                                  close == std::string::npos ? std::string::npos : close - i - 1);
            i = close == std::string::npos ? command.size() : close + 1;
        } else {
            const size_t blank = command.find_first_of(" \t", i);
            word = command.substr(i, blank == std::string::npos ? std::string::npos : blank - i);
            i = blank == std::string::npos ? command.size() : blank;
        }
        words.push_back(word);
    }
    return words;
}

bool Number(const std::string& word, unsigned long& value) {
    if (word.empty() || word.size() > 9 ||
        word.find_first_not_of("0123456789") != std::string::npos)
        return false;
    value = strtoul(word.c_str(), nullptr, 10);
    return true;
}

void Trace(const std::string& text) {
    OutputDebugString(("MCI: " + text + "\n").c_str());
}

// The device stops sounding; its notice stays.
void Silence(Device& d) {
    if (d.voice)
        StopVoice(std::exchange(d.voice, 0));
    d.sequence->Halt();
}

void Abort(Device& d) {
    Silence(d);
    if (d.notice)
        std::exchange(d.notice, nullptr)->Post(MCI_NOTIFY_ABORTED);
    d.paused = false;
}

// Starts the sequence sounding from the tick, its end telling the notice.
MCIERROR Sound(Device& d, uint64_t fromTick) {
    std::string why;
    if (!d.sequence->Start(fromTick, false, &why)) {
        Trace(d.file + " not played: " + why);
        return GeneralMidiSoundFont().empty() ? MCIERR_SEQ_NOMIDIPRESENT : MCIERR_SEQ_PORT_INUSE;
    }
    SoundMixer::Marks marks;
    marks.frames = {SoundMixer::kEndMark};
    marks.listener = [notice = d.notice](size_t) {
        if (notice)
            notice->Post(MCI_NOTIFY_SUCCESSFUL);
    };
    d.voice = StartStreamVoice(d.sequence, d.file, d.gain, std::move(marks));
    d.paused = false;
    return 0;
}

// "open <file> [type sequencer] [alias <name>]"
MCIERROR Open(MciState& s, const std::vector<std::string>& w) {
    if (w.size() < 2)
        return MCIERR_MISSING_PARAMETER;
    std::string alias = w[1];
    for (size_t i = 2; i < w.size(); ++i) {
        const std::string key = Lower(w[i]);
        if (key == "type" && i + 1 < w.size()) {
            if (Lower(w[++i]) != "sequencer")
                return MCIERR_INVALID_DEVICE_NAME; // only MIDI sequences are played here
        } else if (key == "alias" && i + 1 < w.size()) {
            alias = w[++i];
        } else if (key != "shareable" && key != "wait") {
            return MCIERR_UNRECOGNIZED_KEYWORD;
        }
    }
    alias = Lower(alias);
    if (s.open.count(alias))
        return MCIERR_DUPLICATE_ALIAS;
    std::string bytes;
    struct stat st {};
    const std::string path = NativePath(w[1].c_str());
    if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) ||
        !ReadWholeFile(path, bytes, kMaxMidiFileBytes))
        return MCIERR_FILE_NOT_FOUND;
    std::string why;
    auto sequence = MidiSequence::Load(std::vector<uint8_t>(bytes.begin(), bytes.end()), &why);
    if (!sequence) {
        Trace(w[1] + " refused: " + why);
        return MCIERR_INVALID_FILE;
    }
    Device& d = s.open[alias];
    d.file = w[1];
    d.id = ++s.lastId;
    d.sequence = std::move(sequence);
    return 0;
}

// "play <name> [from <ms>] [notify]"
MCIERROR Play(Device& d, const std::vector<std::string>& w, HWND callback) {
    bool notify = false;
    bool from = false;
    unsigned long fromMs = 0;
    for (size_t i = 2; i < w.size(); ++i) {
        const std::string key = Lower(w[i]);
        if (key == "from" && i + 1 < w.size()) {
            if (!Number(w[++i], fromMs))
                return MCIERR_BAD_INTEGER;
            from = true;
        } else if (key == "notify") {
            notify = true;
        } else if (key == "to" || key == "wait") {
            return MCIERR_UNSUPPORTED_FUNCTION;
        } else {
            return MCIERR_UNRECOGNIZED_KEYWORD;
        }
    }
    const MidiSong& song = d.sequence->Song();
    if (from && fromMs > song.LengthMs())
        return MCIERR_OUTOFRANGE;
    uint64_t tick = from ? song.TickAtMs(double(fromMs)) : d.sequence->PositionTick();
    if (tick >= song.lastTick)
        tick = 0; // played out: again from the start
    Silence(d);
    if (d.notice)
        std::exchange(d.notice, nullptr)->Post(MCI_NOTIFY_SUPERSEDED);
    if (notify && callback) {
        d.notice = std::make_shared<Notice>();
        d.notice->window = callback;
        d.notice->device = d.id;
    }
    const MCIERROR result = Sound(d, tick);
    if (result && d.notice)
        std::exchange(d.notice, nullptr)->Post(MCI_NOTIFY_FAILURE);
    return result;
}

MCIERROR SetAudio(Device& d, const std::vector<std::string>& w) {
    unsigned long volume = 0;
    if (w.size() != 5 || Lower(w[2]) != "volume" || Lower(w[3]) != "to")
        return MCIERR_UNRECOGNIZED_KEYWORD;
    if (!Number(w[4], volume) || volume > 1000)
        return MCIERR_OUTOFRANGE;
    d.gain = float(volume) / 1000.0f;
    if (d.voice)
        TheMixer().SetGain(d.voice, d.gain);
    return 0;
}

MCIERROR Status(Device& d, const std::vector<std::string>& w, LPSTR answer, UINT answerSize) {
    if (w.size() != 3)
        return MCIERR_MISSING_PARAMETER;
    const std::string item = Lower(w[2]);
    const MidiSong& song = d.sequence->Song();
    std::string text;
    if (item == "mode")
        text = d.paused ? "paused" : VoicePlaying(d.voice) ? "playing" : "stopped";
    else if (item == "length")
        text = std::to_string(uint64_t(song.LengthMs()));
    else if (item == "position")
        text = std::to_string(uint64_t(song.MsAtTick(d.sequence->PositionTick())));
    else
        return MCIERR_UNRECOGNIZED_KEYWORD;
    if (answer && answerSize)
        snprintf(answer, answerSize, "%s", text.c_str());
    return 0;
}

} // namespace

std::vector<std::string> SentMciCommands() {
    std::lock_guard<std::mutex> guard(State().lock);
    return State().sent;
}

std::vector<std::string> OpenMciDevices() {
    std::lock_guard<std::mutex> guard(State().lock);
    std::vector<std::string> aliases;
    for (const auto& [alias, device] : State().open)
        aliases.push_back(alias);
    return aliases;
}

void ClearMciCommands() {
    std::lock_guard<std::mutex> guard(State().lock);
    State().sent.clear();
}

} // namespace platform

using namespace platform;

MCIERROR mciSendString(LPCSTR command, LPSTR answer, UINT answerSize, HWND callback) {
    if (answer && answerSize)
        answer[0] = '\0';
    if (!command)
        return MCIERR_MISSING_PARAMETER;
    MciState& s = State();
    std::lock_guard<std::mutex> guard(s.lock);
    s.sent.push_back(command);
    const std::vector<std::string> w = Words(command);
    if (w.empty())
        return MCIERR_UNRECOGNIZED_COMMAND;
    const std::string verb = Lower(w[0]);
    if (verb == "open")
        return Open(s, w);
    if (w.size() < 2)
        return MCIERR_MISSING_PARAMETER;
    const std::string alias = Lower(w[1]);
    if (verb == "close" && alias == "all") {
        for (auto& [name, device] : s.open)
            Abort(device);
        s.open.clear();
        return 0;
    }
    auto found = s.open.find(alias);
    if (found == s.open.end())
        return MCIERR_INVALID_DEVICE_NAME;
    Device& d = found->second;
    if (verb == "play")
        return Play(d, w, callback);
    if (verb == "status")
        return Status(d, w, answer, answerSize);
    if (verb == "setaudio")
        return SetAudio(d, w);
    if (w.size() > 2 && !(w.size() == 3 && Lower(w[2]) == "wait"))
        return MCIERR_UNRECOGNIZED_KEYWORD;
    if (verb == "close") {
        Abort(d);
        s.open.erase(found);
        return 0;
    }
    if (verb == "stop") {
        Abort(d);
        return 0;
    }
    if (verb == "pause") {
        if (VoicePlaying(d.voice)) {
            Silence(d);
            d.paused = true;
        }
        return 0;
    }
    if (verb == "resume")
        return d.paused ? Sound(d, d.sequence->PositionTick()) : 0;
    return MCIERR_UNRECOGNIZED_COMMAND;
}
