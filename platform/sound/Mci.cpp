// The MCI command-string interpreter for silent MIDI sequences.

#include "platform/sound/Mci.h"

#include "platform/system/Path.h"
#include "platform/window/Messages.h"

#include <map>
#include <mutex>
#include <strings.h>
#include <sys/stat.h>

namespace platform {

namespace {

struct MciState {
    std::mutex lock;
    std::vector<std::string> sent;
    std::map<std::string, std::string> open; // lower-case alias -> file
    WORD lastId = 0;
    std::map<std::string, WORD> ids;
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

bool FileExists(const std::string& file) {
    struct stat st {};
    return stat(NativePath(file.c_str()).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// "open <file> [type <kind>] [alias <name>]"
MCIERROR Open(MciState& s, const std::vector<std::string>& w) {
    if (w.size() < 2)
        return MCIERR_MISSING_PARAMETER;
    std::string alias = w[1];
    for (size_t i = 2; i < w.size(); ++i) {
        const std::string key = Lower(w[i]);
        if ((key == "type" || key == "alias") && i + 1 < w.size()) {
            if (key == "alias")
                alias = w[i + 1];
            ++i;
        } else if (key != "shareable" && key != "wait") {
            return MCIERR_UNRECOGNIZED_KEYWORD;
        }
    }
    alias = Lower(alias);
    if (s.open.count(alias))
        return MCIERR_DUPLICATE_ALIAS;
    if (!FileExists(w[1]))
        return MCIERR_FILE_NOT_FOUND;
    s.open[alias] = w[1];
    s.ids[alias] = ++s.lastId;
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
    for (const auto& [alias, file] : State().open)
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
    std::unique_lock<std::mutex> guard(s.lock);
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
        s.open.clear();
        return 0;
    }
    if (!s.open.count(alias))
        return MCIERR_INVALID_DEVICE_NAME;
    if (verb == "close") {
        s.open.erase(alias);
        return 0;
    }
    if (verb == "stop")
        return 0;
    if (verb != "play")
        return MCIERR_UNRECOGNIZED_COMMAND;
    bool notify = false;
    for (size_t i = 2; i < w.size(); ++i) {
        const std::string key = Lower(w[i]);
        if ((key == "from" || key == "to") && i + 1 < w.size())
            ++i;
        else if (key == "notify")
            notify = true;
        else if (key != "wait")
            return MCIERR_UNRECOGNIZED_KEYWORD;
    }
    const WORD id = s.ids[alias];
    guard.unlock();
    // Nothing sounds, so the sequence has already played to its end.
    if (notify && callback)
        PostMessage(callback, MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, LPARAM(id));
    return 0;
}
