// The program brought up headless against the local table host in this
// process: the time from start-up to the table drawn, the resident memory at
// the running table, and the processor time a quiet table takes over 10
// seconds. The figures of the program as a person runs it, in window mode,
// come from startup_bench, memory_games.sh and idle_cpu.sh.
//
// One start-up per process (the application and its client are the
// program's single global objects), so each figure is one measurement.

#include "app/MainFrame.h"
#include "bench/InProcessProgram.h"
#include "platform/system/EventLoop.h"
#include "tools/tablehost/TableHost.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <string>

namespace {

using bench_program::Now;

double ResidentMegabytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atof(line.c_str() + 6) / 1024.0;
    }
    return 0;
}

double ProcessorSeconds() {
    timespec used{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used);
    return double(used.tv_sec) + double(used.tv_nsec) / 1e9;
}

void PumpFor(double seconds) {
    const double end = Now() + seconds;
    while (Now() < end) {
        MSG msg;
        while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessage(&msg);
        platform::WaitForEvents(20);
    }
}

void BM_StartupToTableThenIdle(benchmark::State& state) {
    bench_program::InProcessProgram program;
    CTableHost::Options options;
    options.table.humanSeats = 1;
    options.tickMs = 24 * 3600 * 1000;
    CTableHost host(options);
    if (!host.Start()) {
        state.SkipWithError("the table host could not listen");
        return;
    }
    program.Launch(1, host.Port());

    for (auto _ : state) {
        const double start = Now();
        const BOOL started = theApp.InitInstance();
        // Drawn: everything the start-up left for the loop is painted.
        MSG msg;
        while (started && PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessage(&msg);
        const double took = Now() - start;
        state.SetIterationTime(took);
        if (!started) {
            state.SkipWithError(
                ("start-up failed: " + std::string(theApp.m_strStartFailure)).c_str());
            break;
        }
        state.counters["startup_s"] = took;
    }
    if (theApp.m_pMainWnd != nullptr) {
        state.counters["resident_MB"] = ResidentMegabytes();
        PumpFor(0.5);
        const double before = ProcessorSeconds();
        PumpFor(10);
        state.counters["idle_cpu_percent"] = (ProcessorSeconds() - before) / 10.0 * 100.0;
    }
}

BENCHMARK(BM_StartupToTableThenIdle)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
