// Programs started as a person starts them, each start its own process:
// - Pellor in window mode on the X screen (run under xvfb-run), with the
//   table host already up: from exec to the first frame of the table on the
//   screen, read back from the X server (a pixel of the table's cloth in the
//   program's main window turning green). Goal: median under 0.3 s.
// - A program that only reads an ini file through the platform: from exec
//   to its end. Nothing costly may happen as the platform loads. Goal: under
//   30 ms.
// Ten starts each; the median is the figure.

#include <benchmark/benchmark.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Another build's programs may be measured in the same run (to compare):
// PELLOR_BUILD_DIR names its build folder.
std::string FromBuild(const char* relative, const char* ours) {
    const char* other = getenv("PELLOR_BUILD_DIR");
    return other ? std::string(other) + "/" + relative : std::string(ours);
}

double Now() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

pid_t Spawn(const std::vector<std::string>& args, const std::string& outFile) {
    const pid_t pid = fork();
    if (pid == 0) {
        std::vector<char*> argv;
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        if (FILE* out = fopen(outFile.c_str(), "w")) {
            dup2(fileno(out), 1);
            dup2(fileno(out), 2);
        }
        execv(argv[0], argv.data());
        _exit(127);
    }
    return pid;
}

void Stop(pid_t pid) {
    if (pid <= 0)
        return;
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
}

// A scratch folder with the program and the build's files linked beside it,
// so that the program's log and settings are this run's own.
struct ProgramFolder {
    ProgramFolder() {
        std::string pattern = (fs::temp_directory_path() / "pellor-start-XXXXXX").string();
        path = mkdtemp(pattern.data());
        for (const fs::directory_entry& entry :
             fs::directory_iterator(FromBuild("assets", PELLOR_ASSET_DIR))) {
            const std::string name = entry.path().filename().string();
            if (name == "Pellor" || name == "pellor2.ini")
                fs::copy_file(entry.path(), path + "/" + name);
            else if (name != "snapshot" && name != "Pellor2.log")
                fs::create_symlink(entry.path(), path + "/" + name);
        }
        fs::create_directory(path + "/config");
        setenv("PELLOR_CONFIG_DIR", (path + "/config").c_str(), 1);
    }
    ~ProgramFolder() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    std::string path;
};

// The table host, up before the first start and for all of them.
struct Host {
    explicit Host(const std::string& folder) {
        const std::string out = folder + "/host.out";
        pid = Spawn({FromBuild("tools/tablehost/tablehost", PELLOR_TABLEHOST), "--port", "0",
                     "--human-seats", "1", "--bot-pause", "1000", "--time-limits",
                     "10 10 10 10 10 10 30 30 5 600 5"},
                    out);
        for (int i = 0; i < 100 && port.empty(); ++i) {
            usleep(100000);
            std::ifstream in(out);
            std::string line;
            while (std::getline(in, line))
                if (line.rfind("tablehost listening on 127.0.0.1:", 0) == 0)
                    port = line.substr(line.rfind(':') + 1);
        }
    }
    ~Host() { Stop(pid); }
    pid_t pid = -1;
    std::string port;
};

// The X server's view of the started program.
class Screen {
public:
    Screen() : m_display(XOpenDisplay(nullptr)) {
        if (m_display)
            m_pidAtom = XInternAtom(m_display, "_NET_WM_PID", False);
        // A window still off the screen (a shaped window is made there) cannot
        // be read yet: that is a "not yet", not a failure.
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    }
    ~Screen() {
        if (m_display)
            XCloseDisplay(m_display);
    }
    bool Open() const { return m_display != nullptr; }

    // The program's main window (the widest of its windows, at least 900
    // pixels) once its table shows: the cloth at (300, 150) is green.
    bool TableShown(pid_t pid) {
        Window root = DefaultRootWindow(m_display), parent = 0, *children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(m_display, root, &root, &parent, &children, &count))
            return false;
        bool shown = false;
        for (unsigned i = 0; i < count && !shown; ++i)
            shown = IsTableOf(children[i], pid);
        if (children)
            XFree(children);
        return shown;
    }

private:
    bool IsTableOf(Window window, pid_t pid) {
        Atom type = 0;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(m_display, window, m_pidAtom, 0, 1, False, XA_CARDINAL, &type,
                               &format, &items, &after, &data) != Success ||
            !data)
            return false;
        const bool ours = items == 1 && pid_t(*reinterpret_cast<unsigned long*>(data)) == pid;
        XFree(data);
        XWindowAttributes attributes{};
        if (!ours || !XGetWindowAttributes(m_display, window, &attributes) ||
            attributes.map_state != IsViewable || attributes.width < 900)
            return false;
        XImage* image = XGetImage(m_display, window, 300, 150, 1, 1, AllPlanes, ZPixmap);
        if (!image)
            return false;
        const unsigned long pixel = XGetPixel(image, 0, 0);
        XDestroyImage(image);
        const int red = int(pixel >> 16 & 0xFF), green = int(pixel >> 8 & 0xFF),
                  blue = int(pixel & 0xFF);
        return green > red + 20 && green > blue + 20;
    }

    Display* m_display;
    Atom m_pidAtom = 0;
};

void BM_StartToTheTableOnTheScreen(benchmark::State& state) {
    if (!getenv("DISPLAY")) {
        state.SkipWithError("no X display (run under xvfb-run)");
        return;
    }
    static ProgramFolder folder;
    static Host host(folder.path);
    static Screen screen;
    if (host.port.empty() || !screen.Open()) {
        state.SkipWithError("the table host or the X display did not come up");
        return;
    }
    const std::string program = folder.path + "/Pellor";
    for (auto _ : state) {
        const double start = Now();
        const pid_t pid = Spawn({program, "1", "start", "Start", "ticket", "0", "room", "127.0.0.1",
                                 host.port, "", "127.0.0.1", "7002", "lv1", "0"},
                                folder.path + "/pellor.out");
        bool shown = false;
        while (!shown && Now() - start < 20) {
            shown = screen.TableShown(pid);
            if (!shown)
                usleep(1000);
        }
        const double took = Now() - start;
        Stop(pid);
        usleep(300000); // the host sees the seat free again
        // A start that fails counts as its full wait and is told (skipping
        // one repetition of several would end the whole run).
        if (!shown) {
            std::ifstream out(folder.path + "/pellor.out");
            fprintf(stderr, "startup_bench: the table never showed:\n%s\n",
                    std::string(std::istreambuf_iterator<char>(out), {}).c_str());
            state.counters["failed"] = 1;
        }
        state.SetIterationTime(took);
    }
}
BENCHMARK(BM_StartToTheTableOnTheScreen)
    ->Iterations(1)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_ProgramThatOnlyReadsAnIniFile(benchmark::State& state) {
    static ProgramFolder folder;
    const std::string ini = folder.path + "/probe.ini";
    std::ofstream(ini) << "[Probe]\nvalue=read through the platform\n";
    for (auto _ : state) {
        const double start = Now();
        const pid_t pid = Spawn({FromBuild("bench/ini_probe", PELLOR_INI_PROBE), ini},
                                folder.path + "/probe.out");
        int status = 0;
        waitpid(pid, &status, 0);
        state.SetIterationTime(Now() - start);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
            state.counters["failed"] = 1;
    }
}
BENCHMARK(BM_ProgramThatOnlyReadsAnIniFile)
    ->Iterations(1)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
