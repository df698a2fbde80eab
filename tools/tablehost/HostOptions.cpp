#include "tools/tablehost/HostOptions.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>
#include <vector>

// The game as it is usually played. By field: the eleven time limits; no
// escape penalty; 1; the 3 rule with buying a 3; the point rounds; tribute;
// every seat asked; teammates answer first; the gousiji question; leaving is
// free; cards-left notices; return tribute of any rank; shao; the burned
// seat leads after a failed burn; point factor 1; no minimum beans; no
// value asked of the host; multiples 1, 1, highest 16, base 8; no guessing
// bets or fees; score multipliers 1 and 1. The tail (guessing-bet odds and
// bases, statistics off) makes the referee copy the rule flags into the
// table record, where the clients read them.
const char* const kDefaultRulesText = "10 10 10 10 10 10 30 30 5 30 5 0 1"
                                      " 1 1 1 0 1 1 0 0 1 1 1 0 1 0 0"
                                      " 1 1 16 8 0 0 0 0 0 0 1 1"
                                      " 1 1 1 1 1 10 10 0 0 0 1000";

const char* const kHostUsage =
    "usage: tablehost [options]\n"
    "  --port N            game port on 127.0.0.1 (default 7100; 0 any free port)\n"
    "  --p80-port N        also listen for P80 clients, which ask for the game port first\n"
    "  --human-seats N     players to wait for before bots take the other seats (0-6, default 1)\n"
    "  --rules TEXT        the table's rules text\n"
    "  --time-limits LIST  the first time limits of the rules text, seconds, e.g. \"10 10 10\"\n"
    "  --seed N            seed of the deals and the bots (default 1)\n"
    "  --bot-pause MS      how long a bot thinks before it acts, give or take a third\n"
    "                      (default 1000; 0 acts at once)\n"
    "  --table-number N    table number of the login reply (default 1)\n"
    "  --server-value N    send 0x23D with this value after each login\n"
    "  --log FILE          write a log line per event (\"-\": standard error)\n";

namespace {

bool ReadNumber(const std::string& text, long low, long high, long& value) {
    if (text.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    value = strtol(text.c_str(), &end, 10);
    return errno == 0 && end != nullptr && *end == '\0' && value >= low && value <= high;
}

std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

} // namespace

std::string ApplyTimeLimits(const std::string& rulesText, const std::string& limits,
                            std::string& error) {
    std::vector<std::string> fields = Words(rulesText);
    const std::vector<std::string> given = Words(limits);
    if (given.empty() || given.size() > kTimeLimitCount) {
        error = "--time-limits takes 1 to 11 numbers";
        return rulesText;
    }
    for (size_t i = 0; i < given.size(); ++i) {
        long seconds = 0;
        if (!ReadNumber(given[i], 0, 3600, seconds)) {
            error = "time limit '" + given[i] + "' is not a number of seconds (0-3600)";
            return rulesText;
        }
        if (i < fields.size())
            fields[i] = std::to_string(seconds);
        else
            fields.push_back(std::to_string(seconds));
    }
    std::string text;
    for (const std::string& field : fields)
        text += (text.empty() ? "" : " ") + field;
    return text;
}

bool ParseHostCommandLine(int argc, const char* const* argv, HostCommandLine& out,
                          std::string& error) {
    out = HostCommandLine{};
    out.host.port = 7100;
    out.host.table.rulesText = kDefaultRulesText;
    out.host.table.botPauseMs = kDefaultBotPauseMs;
    std::string timeLimits;
    bool timeLimitsGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i] ? argv[i] : "";
        if (option == "--help" || option == "-h") {
            out.help = true;
            continue;
        }
        if (i + 1 >= argc || argv[i + 1] == nullptr) {
            error = option.rfind("--", 0) == 0 ? option + " needs a value"
                                               : "unknown argument '" + option + "'";
            return false;
        }
        const std::string value = argv[++i];
        long number = 0;
        auto numberIn = [&](long low, long high) {
            if (ReadNumber(value, low, high, number))
                return true;
            error = option + " takes a number from " + std::to_string(low) + " to " +
                    std::to_string(high) + ", not '" + value + "'";
            return false;
        };
        if (option == "--port") {
            if (!numberIn(0, 65535))
                return false;
            out.host.port = UINT(number);
        } else if (option == "--p80-port") {
            if (!numberIn(0, 65535))
                return false;
            out.host.listenP80 = true;
            out.host.p80Port = UINT(number);
        } else if (option == "--human-seats") {
            if (!numberIn(0, kSeatCount))
                return false;
            out.host.table.humanSeats = int(number);
        } else if (option == "--rules") {
            out.host.table.rulesText = value;
        } else if (option == "--time-limits") {
            timeLimits = value;
            timeLimitsGiven = true;
        } else if (option == "--seed") {
            if (!numberIn(0, 0x7FFFFFFF))
                return false;
            out.host.table.seed = uint32_t(number);
        } else if (option == "--bot-pause") {
            if (!numberIn(0, 60000))
                return false;
            out.host.table.botPauseMs = int(number);
        } else if (option == "--table-number") {
            if (!numberIn(0, 0xFFFF))
                return false;
            out.host.tableNumber = uint16_t(number);
        } else if (option == "--server-value") {
            if (!numberIn(0, 0x7FFFFFFF))
                return false;
            out.host.serverValue = int(number);
        } else if (option == "--log") {
            out.logPath = value;
        } else {
            error = "unknown option '" + option + "'";
            return false;
        }
    }
    if (timeLimitsGiven) {
        out.host.table.rulesText = ApplyTimeLimits(out.host.table.rulesText, timeLimits, error);
        if (!error.empty())
            return false;
    }
    return true;
}
