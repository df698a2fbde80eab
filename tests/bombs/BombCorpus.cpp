// The bomb corpus run: every case of a corpus folder (make_bombs.py) in a
// process of its own, which measures its own peak resident memory and
// processor time around the read; the case passes when it was refused with a
// logged reason or taken, as it says, within its kind's bound.
//
//   bomb_corpus FOLDER [--only TEXT] [--memory-factor F] [--time-factor F]
//               [--end-above MIB]
//
// --only runs the cases whose line holds TEXT; the factors widen the bounds
// for a build whose sanitizers cost memory and time of their own. A case
// whose process passes twice its memory bound (or --end-above) or runs a
// minute is ended and fails.

#include "BombLoaders.h"

#include "platform/system/Trace.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <map>
#include <sstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kWallSeconds = 60;

// A field of /proc/<pid>/status in KiB ("VmRSS:", "VmHWM:"); 0 when unreadable.
long StatusKb(const std::string& pid, const char* field) {
    std::ifstream in("/proc/" + pid + "/status");
    for (std::string line; std::getline(in, line);)
        if (line.rfind(field, 0) == 0)
            return std::atol(line.c_str() + std::strlen(field));
    return 0;
}

long CpuMs(const rusage& u) {
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1000L +
           (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1000L;
}

int g_refusals = 0;
char g_reason[512];

void NoteRefusal(platform::TraceChannel, int level, LPCSTR line) {
    if (level <= platform::kTraceError && std::strstr(line, "refused") && g_refusals++ == 0)
        std::snprintf(g_reason, sizeof g_reason, "%.*s", int(std::strcspn(line, "\r\n")), line);
}

// The case's own process: prints "taken base peak cpu logged reason".
int LoadOne(const bombs::Loader& loader, const char* file, const char* warm) {
    bombs::PrepareLoaders();
    if (warm && !loader.load(warm))
        std::fprintf(stderr, "the warm-up file %s was not taken\n", warm);
    platform::SetTraceListener(NoteRefusal);
    std::ofstream("/proc/self/clear_refs") << "5"; // the peak counts from here
    const long baseKb = StatusKb("self", "VmRSS:");
    rusage before{}, after{};
    getrusage(RUSAGE_SELF, &before);
    const bool taken = loader.load(file);
    getrusage(RUSAGE_SELF, &after);
    std::printf("%d %ld %ld %ld %d %s\n", taken ? 1 : 0, baseKb, StatusKb("self", "VmHWM:"),
                CpuMs(after) - CpuMs(before), g_refusals, g_reason);
    return 0;
}

struct Case {
    std::string loader, expect, file;
};

// Runs the case in a child; its verdict, empty when it passed.
std::string RunCase(const Case& c, const std::string& folder, const std::string& warm,
                    const bombs::Loader& loader, double memoryFactor, double timeFactor,
                    long endAboveKb, long& costKb, long& cpuMs, std::string& reason) {
    const long boundKb = long(double(loader.bound.peakBytes / 1024) * memoryFactor);
    const long boundMs = long(loader.bound.cpuMs * timeFactor);
    const long limitKb = endAboveKb > 0 ? endAboveKb : 2 * boundKb;
    const std::string file = folder + "/" + c.file, warmFile = folder + "/" + warm;
    int out[2];
    if (pipe(out) != 0)
        return "no pipe";
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], 1);
        const int log = open((file + ".log").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(log, 2);
        const rlimit cpu{kWallSeconds, kWallSeconds + 5};
        setrlimit(RLIMIT_CPU, &cpu);
        execl("/proc/self/exe", "bomb_corpus", "--load", c.loader.c_str(), file.c_str(),
              warm.empty() ? nullptr : warmFile.c_str(), nullptr);
        _exit(127);
    }
    close(out[1]);
    const auto start = std::chrono::steady_clock::now();
    std::string fault;
    int status = 0;
    rusage usage{};
    while (wait4(pid, &status, WNOHANG, &usage) != pid) {
        costKb = std::max(costKb, StatusKb(std::to_string(pid), "VmRSS:"));
        if (fault.empty() && costKb > limitKb)
            fault = "ended: resident memory passed " + std::to_string(limitKb / 1024) + " MiB";
        if (fault.empty() && std::chrono::steady_clock::now() - start > std::chrono::seconds(60))
            fault = "ended: still running after a minute";
        if (!fault.empty())
            kill(pid, SIGKILL);
        usleep(5000);
    }
    char line[1024] = "";
    const ssize_t n = read(out[0], line, sizeof line - 1);
    close(out[0]);
    line[n > 0 ? n : 0] = '\0';
    cpuMs = CpuMs(usage);
    if (!fault.empty())
        return fault;
    if (WIFSIGNALED(status))
        return std::string("died: ") + strsignal(WTERMSIG(status));
    int taken = 0, logged = 0;
    long base = 0, peak = 0;
    char text[512] = "";
    if (std::sscanf(line, "%d %ld %ld %ld %d %511[^\n]", &taken, &base, &peak, &cpuMs, &logged,
                    text) < 5)
        return "ended with status " + std::to_string(WEXITSTATUS(status)) + ": " + line;
    costKb = std::max(0L, peak - base);
    reason = text;
    if ((taken != 0) != (c.expect == "loaded"))
        return taken ? "taken, should be refused" : "refused, should be taken";
    if (costKb > boundKb)
        return "over its memory bound of " + std::to_string(boundKb / 1024) + " MiB";
    if (cpuMs > boundMs)
        return "over its time bound of " + std::to_string(boundMs) + " ms";
    if (!taken && logged == 0)
        return "refused without a logged reason";
    return "";
}

int RunCorpus(const std::string& folder, const std::string& only, double memoryFactor,
              double timeFactor, long endAboveKb) {
    std::ifstream in(folder + "/cases.txt");
    std::map<std::string, std::string> warm;
    std::vector<Case> cases;
    for (std::string line; std::getline(in, line);) {
        Case c;
        if (!(std::istringstream(line) >> c.loader >> c.expect >> c.file))
            continue;
        if (c.loader == "warm")
            warm[c.expect] = c.file;
        else if ((c.loader + " " + c.expect + " " + c.file).find(only) != std::string::npos)
            cases.push_back(c);
    }
    int failed = 0;
    std::printf("%-13s %-31s %-8s %9s %7s  %s\n", "loader", "file", "expect", "peak MiB", "cpu ms",
                "verdict");
    for (const Case& c : cases) {
        const bombs::Loader* loader = bombs::FindLoader(c.loader);
        long costKb = 0, cpuMs = 0;
        std::string reason;
        const std::string verdict = loader
                                        ? RunCase(c, folder, warm[c.loader], *loader, memoryFactor,
                                                  timeFactor, endAboveKb, costKb, cpuMs, reason)
                                        : "no such loader";
        failed += verdict.empty() ? 0 : 1;
        std::printf("%-13s %-31s %-8s %9.1f %7ld  %s\n", c.loader.c_str(), c.file.c_str(),
                    c.expect.c_str(), double(costKb) / 1024, cpuMs,
                    verdict.empty() ? ("ok " + reason).c_str() : verdict.c_str());
        std::fflush(stdout);
    }
    std::printf("%d of %zu cases failed\n", failed, cases.size());
    return failed == 0 && !cases.empty() ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 4 && std::strcmp(argv[1], "--load") == 0) {
        const bombs::Loader* loader = bombs::FindLoader(argv[2]);
        return loader ? LoadOne(*loader, argv[3], argc > 4 ? argv[4] : nullptr) : 2;
    }
    if (argc < 2) {
        std::fprintf(stderr, "usage: bomb_corpus FOLDER [--only TEXT] [--memory-factor F] "
                             "[--time-factor F] [--end-above MIB]\n");
        return 2;
    }
    std::map<std::string, std::string> options;
    for (int i = 2; i + 1 < argc; i += 2)
        options[argv[i]] = argv[i + 1];
    auto number = [&](const char* name, double otherwise) {
        return options.count(name) ? std::atof(options[name].c_str()) : otherwise;
    };
    return RunCorpus(argv[1], options["--only"], number("--memory-factor", 1),
                     number("--time-factor", 1), long(number("--end-above", 0) * 1024));
}
