#include <benchmark/benchmark.h>

#include "platform/display/Display.h"
#include "platform/system/Clock.h"
#include "sprite/AppServices.h"
#include "sprite/GameLayout.h"
#include "table/client/GameNetClient.h"
#include "table/window/GameWnd.h"
#include "table/common/TableAppLink.h"
#include "tools/tablehost/TableDriver.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <deque>
#include <dlfcn.h>
#include <fcntl.h>
#include <map>
#include <string>
#include <vector>

// Whole games through the table window on the headless display and a
// stepped clock: the referee and six bot seats in process, my seat's records
// handed to the window one at a time while it is ready, the clock stepped
// 10 ms between them until the window's animations let receiving go on.
// Reports games per second, the share of time spent running the window's
// timers, animations and painting (the rest is the referee, the bots and the
// record handlers), and the files opened during the games after the first
// (the log goes to /dev/null and is not counted, and sounds are off, so none
// should be; a pane or a text is made once, the first time it shows).

// Files opened by the program's code, counted while games run.
bool g_countOpens = false;
std::map<std::string, int> g_opened;

void NoteOpen(const char* path) {
    // The log is opened for each of its lines.
    if (g_countOpens && path && strcmp(path, "/dev/null") != 0)
        ++g_opened[path];
}

extern "C" int open(const char* path, int flags, ...) {
    using Open = int (*)(const char*, int, ...);
    static const Open real = reinterpret_cast<Open>(dlsym(RTLD_NEXT, "open"));
    va_list args;
    va_start(args, flags);
    const mode_t mode = (flags & O_CREAT) ? mode_t(va_arg(args, int)) : 0;
    va_end(args);
    NoteOpen(path);
    return real(path, flags, mode);
}

extern "C" FILE* fopen(const char* path, const char* mode) {
    using Fopen = FILE* (*)(const char*, const char*);
    static const Fopen real = reinterpret_cast<Fopen>(dlsym(RTLD_NEXT, "fopen"));
    NoteOpen(path);
    return real(path, mode);
}

namespace {

const std::string kTheme = std::string(PELLOR_ASSET_DIR) + "/theme_bmp/Default.thm";
const char* const kRules = "10 10 10 10 10 10 30 30 5 30 5 0 1 0 1 1 0 1 1 0 0 1 1 1 0 0 0 0 0 "
                           "0 0 0 0 0 0 0 0 0 0 0 2 3 4 5 6 50 60 9000 0 0 0";

class BenchClient : public CGameNetClient {
public:
    BenchClient() : CGameNetClient(theBoard) {}

protected:
    int SendRecord(int, void*) override { return 1; }
    void HoldReceive(BOOL) override {}
};

class BenchApp : public CTableAppLink {
public:
    CString GetThemeFile() const override { return kTheme.c_str(); }
    BOOL IsSoundEffectsOn() const override { return FALSE; }
};

int Pump() {
    MSG msg;
    int count = 0;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessage(&msg);
        ++count;
    }
    return count;
}

} // namespace

static void BM_TableWindowGames(benchmark::State& state) {
    platform::ManualClock clock;
    platform::ScopedClock useClock(clock);
    platform::StartDisplay(platform::DisplayKind::Headless);
    SetLogFileOverride("/dev/null");
    BenchApp app;
    SetTableAppLink(&app);
    CGameLayout layout;
    if (!layout.LoadFrom(kTheme.c_str())) {
        state.SkipWithError("the default theme is missing");
        return;
    }
    CWnd parent;
    parent.CreateEx(0, nullptr, "main", WS_POPUP | WS_VISIBLE, 0, 0, 1024, 768, nullptr, nullptr);
    BenchClient client;
    client.m_nMySeat = 2;
    auto* wnd = new CGameWnd;
    wnd->SetLayout(&layout);
    wnd->SetClient(&client);
    wnd->Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 1024, 768), &parent, 100);
    Pump();

    std::clock_t pumping = 0; // processor time, the one thread's
    int64_t games = 0;
    uint32_t seed = 1;
    const std::clock_t start = std::clock();
    for (auto _ : state) {
        CTableDriver::Options options;
        options.rulesText = kRules;
        options.seed = seed++;
        CTableDriver driver(options);
        std::deque<std::vector<uint8_t>> queue;
        driver.onDeliver = [&](const CTableDriver::Sent& sent) {
            if (sent.code == kHostSendToAll ||
                ((sent.code == kHostSendToSeat || sent.code == kHostSendForwarded) &&
                 sent.param == client.m_nMySeat))
                queue.push_back(sent.record);
            while (!queue.empty()) {
                const std::clock_t pumpStart = std::clock();
                for (int i = 0; i < 3000 && !wnd->IsReceiveReady(); ++i) {
                    clock.Advance(10);
                    Pump();
                }
                pumping += std::clock() - pumpStart;
                std::vector<uint8_t> record = std::move(queue.front());
                queue.pop_front();
                // Through the client, which checks, holds and hands it over.
                client.OnGameMsg(int(record.size()), record.data());
            }
        };
        driver.SeatBots();
        games += driver.Run(1);
        g_countOpens = true; // from the second game on
    }
    g_countOpens = false;
    int opens = 0;
    for (const auto& [path, count] : g_opened) {
        opens += count;
        fprintf(stderr, "opened during the games: %s (%d times)\n", path.c_str(), count);
    }
    const double total = double(std::clock() - start);
    state.counters["games/s"] = benchmark::Counter(double(games), benchmark::Counter::kIsRate);
    state.counters["drawing share"] = total > 0 ? double(pumping) / total : 0.0;
    state.counters["opens/game"] = games > 1 ? double(opens) / double(games - 1) : 0.0;
    wnd->DestroyWindow();
    parent.DestroyWindow();
    Pump();
    SetTableAppLink(nullptr);
    platform::StopDisplay();
}
BENCHMARK(BM_TableWindowGames)->Unit(benchmark::kMillisecond)->Iterations(10);
