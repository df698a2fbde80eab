// The program brought up headless against the local table host in this
// process: the time from start-up to the table drawn, the resident memory at
// the running table, and the processor time a quiet table takes over 10
// seconds. Goals: under 0.5 s to the table, under 80 MB resident, idle near 0%.
//
// One start-up per process (the application and its client are the
// program's single global objects), so each figure is one measurement.

#include "app/AppServices.h"
#include "app/GameApp.h"
#include "app/MainFrame.h"
#include "outside/CrtArguments.h"
#include "platform/display/Display.h"
#include "platform/net/Winsock.h"
#include "platform/system/EventLoop.h"
#include "tools/tablehost/TableHost.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

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

// A program folder of its own: the build's assets linked in, a settings file
// that may be written.
std::string MakeProgramFolder() {
    const std::string folder = (fs::temp_directory_path() / "pellor-bench-XXXXXX").string();
    std::string pattern = folder;
    const std::string made = mkdtemp(pattern.data());
    for (const fs::directory_entry& entry : fs::directory_iterator(PELLOR_ASSET_DIR)) {
        const std::string name = entry.path().filename().string();
        if (name == "pellor2.ini")
            fs::copy_file(entry.path(), made + "/" + name);
        else if (name != "Pellor" && name != "snapshot" && name != "Pellor2.log")
            fs::create_symlink(entry.path(), made + "/" + name);
    }
    fs::create_directory(made + "/config");
    return made;
}

double Now() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
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
    const std::string folder = MakeProgramFolder();
    setenv("PELLOR_CONFIG_DIR", (folder + "/config").c_str(), 1);
    SetExeFolderOverride((folder + "/").c_str());
    platform::StartDisplay(platform::DisplayKind::Headless);
    AfxSocketInit();

    CTableHost::Options options;
    options.table.humanSeats = 1;
    options.tickMs = 24 * 3600 * 1000;
    CTableHost host(options);
    if (!host.Start()) {
        state.SkipWithError("the table host could not listen");
        return;
    }
    std::vector<std::string> texts = {"Pellor", "1",         "bench",
                                      "Bench",  "ticket",    "0",
                                      "room",   "127.0.0.1", std::to_string(host.Port()),
                                      "extra",  "127.0.0.1", "7002",
                                      "lv1",    "0"};
    std::vector<char*> pointers;
    for (std::string& text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    __argc = int(texts.size());
    __argv = pointers.data();
    theApp.m_bUnattended = TRUE;

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
    theApp.ExitInstance();
    platform::StopDisplay();
    SetExeFolderOverride(nullptr);
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}

BENCHMARK(BM_StartupToTableThenIdle)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
