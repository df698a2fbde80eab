// hostile_host: the program against a hostile server. Each conversation
// starts Pellor (built with AddressSanitizer and UndefinedBehaviorSanitizer)
// headless against this host, logs it in, plays one adversarial
// conversation made from its seed, probes it and lets it go; see --help.
// The summary gives the conversations, their time, the failures by kind and
// the program's peak memory; the folders of failed conversations are kept.

#include "Conversation.h"
#include "GenuineGames.h"
#include "ProgramRun.h"

#include "game/GameRecords.h"
#include "tools/tablehost/HostOptions.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;
using namespace hostile;

namespace {

const char kUsage[] =
    "usage: hostile_host --program PELLOR [options]\n"
    "  --conversations N  conversations to play (default: as many as --seconds allows)\n"
    "  --seconds S        start no conversation after S seconds (default 60)\n"
    "  --jobs J           programs at a time (default 2)\n"
    "  --seed N           seed of the first conversation (default 1); the next add 1\n"
    "  --seeds FILE       seeds to play first, one a line ('#' starts a comment)\n"
    "  --memory-mb M      the bound on the program's peak memory (default 1024)\n"
    "  --patience P       how many times the usual waits count as no hang yet (default 1:\n"
    "                     a minute to the login and to the marker, 30 s to the end)\n"
    "  --outline SEED     print the frames of the conversation of this seed and end\n"
    "  --work DIR         the programs' folders; failed conversations are kept\n"
    "                     in DIR/failed (default hostile-work)\n";

struct Options {
    std::string program;
    long conversations = -1;
    double seconds = 60;
    int jobs = 2;
    uint32_t seed = 1;
    std::string seedsFile;
    long memoryMb = 1024;
    long patience = 1;
    long outline = -1;
    std::string work = "hostile-work";
};

bool ReadOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (i + 1 >= argc)
            return false;
        const std::string value = argv[++i];
        char* end = nullptr;
        const long number = strtol(value.c_str(), &end, 10);
        const bool isNumber = end != nullptr && *end == '\0' && !value.empty() && number >= 0;
        if (name == "--program")
            options.program = value;
        else if (name == "--work")
            options.work = value;
        else if (name == "--seeds")
            options.seedsFile = value;
        else if (!isNumber)
            return false;
        else if (name == "--conversations")
            options.conversations = number;
        else if (name == "--seconds")
            options.seconds = double(number);
        else if (name == "--jobs")
            options.jobs = int(std::max(1L, number));
        else if (name == "--seed")
            options.seed = uint32_t(number);
        else if (name == "--memory-mb")
            options.memoryMb = number;
        else if (name == "--outline")
            options.outline = number;
        else if (name == "--patience")
            options.patience = std::max(1L, number);
        else
            return false;
    }
    return !options.program.empty() || options.outline >= 0;
}

std::vector<uint32_t> ReadSeeds(const std::string& path) {
    std::vector<uint32_t> seeds;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        line = line.substr(0, line.find('#'));
        std::istringstream words(line);
        unsigned long seed = 0;
        if (words >> seed)
            seeds.push_back(uint32_t(seed));
    }
    return seeds;
}

// Tables to cut conversations from: the usual rules and the plain ones,
// each over two games, so that tribute and its return come too.
std::vector<GenuineTable> GenuineTables() {
    std::string plain = "10 10 10 10 10 10 30 30 5 30 5 0 1";
    for (int field = 14; field <= 40; ++field)
        plain += " 0";
    std::vector<GenuineTable> tables;
    for (uint32_t seed : {3u, 5u, 8u, 13u}) {
        tables.push_back(PlayGenuineTable(seed, seed % 2 ? kDefaultRulesText : plain, 2));
        const std::vector<Record>& records = tables.back().records;
        int id = 0;
        if (records.empty() || !PeekGameRecordId(records[0].data(), int(records[0].size()), &id) ||
            id != kMsgTableInfo) {
            fprintf(stderr, "hostile_host: the table of seed %u does not begin with its record\n",
                    seed);
            exit(2);
        }
    }
    return tables;
}

// Set by an interrupt: no conversation starts after it, and the summary
// still comes.
std::atomic<bool> g_stopping{false};

void Stop(int) {
    g_stopping = true;
}

struct Tally {
    std::mutex lock;
    long played = 0;
    std::map<Verdict, long> verdicts;
    long peakKb = 0;
    double longest = 0;
    double totalSeconds = 0;
    double totalLoginSeconds = 0;
};

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ReadOptions(argc, argv, options)) {
        fputs(kUsage, stderr);
        return 2;
    }
    signal(SIGPIPE, SIG_IGN);
    signal(SIGINT, Stop);
    signal(SIGTERM, Stop);
    const std::vector<GenuineTable> tables = GenuineTables();
    if (options.outline >= 0) {
        const Conversation conversation = MakeConversation(uint32_t(options.outline), tables);
        printf("seed %ld: %s; ends: %s; %d refusals due\n", options.outline,
               conversation.plan.c_str(), EndingName(conversation.ending),
               conversation.refusalsDue);
        for (const std::string& line : conversation.outline)
            printf("  %s\n", line.c_str());
        return 0;
    }
    std::vector<uint32_t> seeds;
    if (!options.seedsFile.empty())
        seeds = ReadSeeds(options.seedsFile);
    const size_t regressions = seeds.size();
    const long total = options.conversations >= 0 ? long(regressions) + options.conversations : -1;

    RunSettings base;
    base.program = fs::absolute(options.program).string();
    base.memoryBoundKb = options.memoryMb * 1024;
    for (uint32_t* wait :
         {&base.loginMs, &base.probeMs, &base.probeMsPerFrame, &base.answerMs, &base.exitMs})
        *wait *= uint32_t(options.patience);
    std::atomic<long> next{0};
    Tally tally;
    const auto started = std::chrono::steady_clock::now();
    const auto elapsed = [&] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    };
    auto worker = [&](int job) {
        RunSettings settings = base;
        settings.folder = fs::absolute(options.work + "/job" + std::to_string(job)).string();
        std::string error;
        if (!PrepareFolder(settings.program, settings.folder, error)) {
            fprintf(stderr, "hostile_host: %s\n", error.c_str());
            return;
        }
        for (;;) {
            if (g_stopping)
                break;
            const long index = next++;
            // The regression seeds always play; new ones while there is time.
            if (total >= 0 ? index >= total
                           : index >= long(regressions) && elapsed() > options.seconds)
                break;
            const uint32_t seed = size_t(index) < regressions
                                      ? seeds[size_t(index)]
                                      : options.seed + uint32_t(index - long(regressions));
            const Conversation conversation = MakeConversation(seed, tables);
            const Outcome outcome = RunConversation(settings, conversation);
            std::lock_guard<std::mutex> guard(tally.lock);
            ++tally.played;
            ++tally.verdicts[outcome.verdict];
            if (tally.played % 100 == 0) {
                long failed = 0;
                for (const auto& [verdict, count] : tally.verdicts)
                    failed += IsFailure(verdict) ? count : 0;
                printf("hostile_host: %ld conversations so far in %.0f s, %ld failed\n",
                       tally.played, elapsed(), failed);
                fflush(stdout);
            }
            tally.peakKb = std::max(tally.peakKb, outcome.peakKb);
            tally.longest = std::max(tally.longest, outcome.seconds);
            tally.totalSeconds += outcome.seconds;
            tally.totalLoginSeconds += outcome.loginSeconds;
            if (!IsFailure(outcome.verdict))
                continue;
            const std::string kept = options.work + "/failed/seed-" + std::to_string(seed);
            std::error_code ignored;
            fs::remove_all(kept, ignored);
            fs::create_directories(kept, ignored);
            for (const char* name : {"Pellor2.log", "stderr.txt", "stdout.txt", "stacks.txt"})
                fs::copy_file(settings.folder + "/" + name, kept + "/" + name, ignored);
            printf("seed %u (%s; ends: %s): %s: %s; kept in %s\n", seed, conversation.plan.c_str(),
                   EndingName(conversation.ending), VerdictName(outcome.verdict),
                   outcome.detail.c_str(), kept.c_str());
            fflush(stdout);
        }
    };
    std::vector<std::thread> jobs;
    for (int job = 0; job < options.jobs; ++job)
        jobs.emplace_back(worker, job);
    for (std::thread& job : jobs)
        job.join();

    long failures = 0;
    for (const auto& [verdict, count] : tally.verdicts)
        failures += IsFailure(verdict) ? count : 0;
    const auto count = [&](Verdict verdict) {
        return tally.verdicts.count(verdict) ? tally.verdicts.at(verdict) : 0L;
    };
    printf("hostile_host: %ld conversations (%zu regression seeds) in %.0f s, %d at a time: "
           "%ld passed, %ld left the table by themselves; sanitizer reports %ld, "
           "crashes %ld, hangs %ld, no login %ld, over the memory bound %ld, refusals not "
           "logged once %ld; peak memory %ld MiB (bound %ld MiB); a conversation took %.1f s "
           "on average (%.1f s of it to the login), the longest %.1f s\n",
           tally.played, regressions, elapsed(), options.jobs, count(Verdict::kPassed),
           count(Verdict::kLeftEarly), count(Verdict::kSanitizer), count(Verdict::kCrash),
           count(Verdict::kHang), count(Verdict::kNoLogin), count(Verdict::kMemory),
           count(Verdict::kRefusals), tally.peakKb / 1024, options.memoryMb,
           tally.totalSeconds / double(std::max(1L, tally.played)),
           tally.totalLoginSeconds / double(std::max(1L, tally.played)), tally.longest);
    return failures == 0 && tally.played > 0 ? 0 : 1;
}
