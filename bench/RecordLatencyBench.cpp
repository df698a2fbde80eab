// The program headless against the local table host in this process,
// watching a table of six bot seats play whole games one after another: for
// each game record, the time from its arrival on the socket (the network
// core reading it) to the frame that shows it (the table's drawing reaching
// the window's surface). Reported for the records that start no animation
// (goal: p99 under 2 ms) and for the play records, up to the first frame of
// their flight (goal: under 2 ms). Records that change nothing on the table
// have no frame and are not counted.

#include "app/MainFrame.h"
#include "bench/InProcessProgram.h"
#include "game/GameRecords.h"
#include "platform/display/WindowSurfaces.h"
#include "table/window/GameWnd.h"
#include "tools/tablehost/HostOptions.h"
#include "tools/tablehost/TableHost.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <arpa/inet.h>
#include <cstring>
#include <dlfcn.h>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <vector>

namespace {

using bench_program::Now;

constexpr int kGames = 3;

UINT g_hostPort = 0;
int g_gamesOver = 0;
double g_lastRead = 0; // when the client last took bytes from the host's socket

struct Sample {
    int id;
    double latency;
};
std::vector<Sample> g_samples;
// Records handled whose frame has not reached the screen yet.
std::vector<Sample> g_waiting;
WNDPROC g_tableProc = nullptr;

// The headless display, telling when drawing reaches a window's surface:
// that frame shows every record waiting for one.
class TimingSurfaces : public platform::WindowSurfaces {
protected:
    void SurfaceChanged(HWND) override {
        const double now = Now();
        for (Sample& waiting : g_waiting)
            g_samples.push_back({waiting.id, now - waiting.latency});
        g_waiting.clear();
    }
};

bool IsClientSocket(int fd) {
    sockaddr_in peer{};
    socklen_t length = sizeof peer;
    return g_hostPort != 0 && getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &length) == 0 &&
           peer.sin_family == AF_INET && ntohs(peer.sin_port) == g_hostPort;
}

// The table window's procedure, watched: a record's frame is the first
// drawing that reaches the screen after its arrival, drawn by its handler
// or by the paint the handler asked for. A record that changes nothing on
// the table has no frame and is not counted.
LRESULT CALLBACK WatchedTableProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_GAME_RECORD || lParam == 0 || wParam < 8)
        return CallWindowProc(g_tableProc, hwnd, message, wParam, lParam);
    int32_t id = 0;
    memcpy(&id, reinterpret_cast<const void*>(lParam), sizeof id);
    if (id == kMsgGameOver && ++g_gamesOver == kGames)
        PostQuitMessage(0);
    const size_t samplesBefore = g_samples.size();
    g_waiting.push_back({id, g_lastRead}); // its arrival, until its frame comes
    const LRESULT result = CallWindowProc(g_tableProc, hwnd, message, wParam, lParam);
    auto* table = static_cast<CSpriteWnd*>(CWnd::FromHandlePermanent(hwnd));
    if (g_samples.size() == samplesBefore && (table == nullptr || !table->HasChangesToShow()))
        g_waiting.clear(); // drew nothing and left nothing to draw
    return result;
}

bool Animates(int id) {
    return id == kMsgDeal || id == kMsgPlay || id == kMsgReturnTribute || id == kMsgBuy3 ||
           id == kMsgTribute;
}

double Percentile(std::vector<double> values, double p) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t at = std::min(values.size() - 1, size_t(p * double(values.size() - 1) + 0.5));
    return values[at];
}

void BM_RecordToItsFrame(benchmark::State& state) {
    TimingSurfaces surfaces; // outlives the program
    bench_program::InProcessProgram program;
    program.UseDriver(&surfaces);
    CTableHost::Options options;
    options.table.humanSeats = 0;
    options.table.botPauseMs = 30; // bots at about the pace the table shows them
    options.table.rulesText = kDefaultRulesText;
    CTableHost host(options);
    if (!host.Start()) {
        state.SkipWithError("the table host could not listen");
        return;
    }
    g_hostPort = host.Port();
    program.Launch(7, host.Port()); // a watcher of the first seat

    for (auto _ : state) {
        if (!theApp.InitInstance()) {
            state.SkipWithError(
                ("start-up failed: " + std::string(theApp.m_strStartFailure)).c_str());
            break;
        }
        CGameWnd* table = theApp.m_pMainWnd->GetGameWnd();
        g_tableProc =
            WNDPROC(SetWindowLongPtr(table->m_hWnd, GWLP_WNDPROC, LONG_PTR(&WatchedTableProc)));
        MSG msg;
        while (GetMessage(&msg, nullptr, 0, 0)) {
            TranslateMessage(&msg);
            DispatchMessage(&msg);
        }
    }

    std::vector<double> quiet, plays;
    for (const Sample& sample : g_samples) {
        if (sample.id == kMsgPlay)
            plays.push_back(sample.latency * 1000);
        else if (!Animates(sample.id))
            quiet.push_back(sample.latency * 1000);
    }
    state.counters["games"] = g_gamesOver;
    state.counters["still_records"] = double(quiet.size());
    state.counters["still_p50_ms"] = Percentile(quiet, 0.5);
    state.counters["still_p99_ms"] = Percentile(quiet, 0.99);
    state.counters["plays"] = double(plays.size());
    state.counters["play_p50_ms"] = Percentile(plays, 0.5);
    state.counters["play_p99_ms"] = Percentile(plays, 0.99);
}
BENCHMARK(BM_RecordToItsFrame)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

// The network core's reads, watched for the client's socket (the host in
// this process reads its own sockets through the same call).
extern "C" ssize_t recv(int fd, void* buffer, size_t length, int flags) {
    using Recv = ssize_t (*)(int, void*, size_t, int);
    static const Recv real = reinterpret_cast<Recv>(dlsym(RTLD_NEXT, "recv"));
    const ssize_t got = real(fd, buffer, length, flags);
    if (got > 0 && !(flags & MSG_PEEK) && IsClientSocket(fd))
        g_lastRead = Now();
    return got;
}
