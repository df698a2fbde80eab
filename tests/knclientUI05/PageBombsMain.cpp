// Hostile pages against the quick-buy pop-up's page control, each shown in a
// process of its own: 1 MB of short words, 1 MB of plain text, 32 pictures
// of 4096 x 4096 pixels drawn whole and drawn small, markup nested 200000
// deep, and the largest page the control accepts, with a hover style on
// every element, moused over and scrolled. A web server on loopback (in
// this process) serves them; each child shows its page, moves the mouse over
// it and turns the wheel, and reports the user-interface thread's longest
// step (its processor time between two returns to the message loop) and
// what the page showed, and its peak resident memory as the system counts
// it (VmHWM: a child started by this process would otherwise be counted
// with this one's memory until it runs its own program).
//
//   page_bombs [--check | --no-bounds]   every case, a line each; with
//       --check every step must stay within 50 ms, the memory within its
//       bound and each page end as it should (shown, or our error page);
//       --no-bounds checks only how each page ends (for sanitizer builds)
//   page_bombs --show URL | --close URL    (the child; --close closes the
//       control 30 ms after it asked for the page, while the page is read)

#include "outside/PageDefaults.h"
#include "outside/WebBrowser.h"
#include "platform/display/Display.h"
#include "platform/images/PngFile.h"
#include "platform/system/Path.h"
#include "platform/window/Input.h"
#include "platform/window/Wnd.h"
#include "tests/support/LocalHttpServer.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using platform_test::LocalHttpServer;

constexpr double kLongestStepMs = 50;
constexpr int kPictures = 32;
constexpr int kPictureSide = 4096;
constexpr int kLeft = 100, kTop = 100, kWidth = 520, kHeight = 420;

double Seconds(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// ---- the child: one page in the control, driven by a timer ----

class Driver : public CWnd {
public:
    CWebBrowser2 page;
    bool leave = false; // the control is closed while its page is read
    std::string outcome = "timed out";
    double started = Seconds(CLOCK_MONOTONIC);
    double loadedAfterS = 0;

protected:
    void OnTimer(UINT_PTR) override {
        const double now = Seconds(CLOCK_MONOTONIC);
        if (now - started > 120) {
            PostQuitMessage(1);
            return;
        }
        if (leave) {
            outcome = page.GetBusy() ? "closed while busy" : "closed when done";
            page.DestroyWindow();
            PostQuitMessage(0);
            return;
        }
        if (m_step == 0 && page.GetBusy())
            return;
        if (m_step == 0) {
            loadedAfterS = now - started;
            outcome = page.GetLocationName() == kErrorPageTitle ? "error page" : "shown";
        }
        // Then the mouse goes over the page and the wheel turns, a step a tick.
        const POINT at{kLeft + 20 + (m_step * 37) % (kWidth - 40),
                       kTop + 20 + (m_step * 53) % (kHeight - 40)};
        if (m_step < 24)
            platform::InjectMouse(platform::MouseAction::Move, at);
        else if (m_step < 36)
            platform::InjectMouse(platform::MouseAction::Wheel, at,
                                  (m_step < 32 ? -3 : 3) * WHEEL_DELTA);
        else
            PostQuitMessage(0);
        ++m_step;
    }

private:
    int m_step = 0;
};

// The process's peak resident memory, in KiB.
long PeakKiB() {
    FILE* status = fopen("/proc/self/status", "r");
    long peak = 0;
    char line[256];
    while (status && fgets(line, sizeof line, status))
        if (strncmp(line, "VmHWM:", 6) == 0)
            peak = strtol(line + 6, nullptr, 10);
    if (status)
        fclose(status);
    return peak;
}

int Show(const char* url, bool leave) {
    platform::StartDisplay(platform::DisplayKind::Headless);
    Driver driver;
    if (!driver.CreateEx(0, nullptr, "page", WS_POPUP | WS_VISIBLE, kLeft, kTop, kWidth, kHeight,
                         nullptr, nullptr) ||
        !driver.page.Create("", WS_CHILD | WS_VISIBLE, CRect(0, 0, kWidth, kHeight), &driver,
                            101)) {
        printf("no window\n");
        return 1;
    }
    driver.leave = leave;
    driver.started = Seconds(CLOCK_MONOTONIC);
    driver.page.Navigate(url);
    driver.SetTimer(1, leave ? 30 : 20);
    double longestCpu = 0, longestWall = 0;
    int steps = 0;
    // Processor time from one return to the loop to the next (what the loop
    // itself does included); wall time of each message's handling, so a
    // handler that waits is seen too.
    for (MSG msg;;) {
        const double cpu = Seconds(CLOCK_THREAD_CPUTIME_ID);
        if (!GetMessage(&msg, nullptr, 0, 0))
            break;
        const double wall = Seconds(CLOCK_MONOTONIC);
        DispatchMessage(&msg);
        longestWall = std::max(longestWall, Seconds(CLOCK_MONOTONIC) - wall);
        longestCpu = std::max(longestCpu, Seconds(CLOCK_THREAD_CPUTIME_ID) - cpu);
        ++steps;
    }
    printf("%d %.1f %.1f %.2f %ld %s\n", steps, longestCpu * 1000, longestWall * 1000,
           driver.loadedAfterS, PeakKiB(), driver.outcome.c_str());
    fflush(stdout);
    driver.DestroyWindow();
    return 0;
}

// ---- the cases ----

struct Case {
    const char* name;
    const char* path;
    const char* expected; // how the page ends
    int boundMiB;         // peak resident memory of the child
    bool leave;           // closed 30 ms after it was asked for
};

// Words of one letter, the most pieces a megabyte makes.
std::string Words(size_t bytes) {
    std::string text;
    for (size_t k = 0; text.size() < bytes; ++k)
        text += std::string(1, char('a' + k % 26)) + ' ';
    return text;
}

void ServeCases(LocalHttpServer& server) {
    LocalHttpServer::Answer small;
    small.body = "<html><head><title>small</title></head><body><h2>Coins</h2><p>" + Words(2000) +
                 "</p><p><a href=\"/small\">again</a></p></body></html>";
    server.Serve("/small", small);

    LocalHttpServer::Answer words;
    words.body = "<html><body><p>" + Words((size_t(1) << 20) - 64) + "</p></body></html>";
    server.Serve("/words", words);

    LocalHttpServer::Answer plain;
    plain.contentType = "text/plain";
    for (int line = 0; plain.body.size() < (size_t(1) << 20) - 200; ++line)
        plain.body += "line " + std::to_string(line) + ": " + Words(60) + "\n";
    server.Serve("/plain", plain);

    // Pictures that are small on the wire and huge decoded.
    platform::PixelImage image;
    image.Reset(kPictureSide, kPictureSide, platform::MakePixel(0x20, 0x80, 0xC0));
    for (int k = 0; k < kPictureSide; ++k)
        image.At(k, k) = platform::MakePixel(0xFF, 0xC8, 0x00);
    LocalHttpServer::Answer png;
    png.contentType = "image/png";
    platform::EncodePng(image, png.body);
    LocalHttpServer::Answer whole, thumbnails;
    whole.body = thumbnails.body = "<html><body>";
    for (int k = 0; k < kPictures; ++k) {
        const std::string path = "/picture" + std::to_string(k) + ".png";
        server.Serve(path, png);
        whole.body += "<img src=\"" + path + "\">";
        thumbnails.body += "<img src=\"" + path + "\" width=\"48\" height=\"48\">";
    }
    server.Serve("/pictures", whole);
    server.Serve("/thumbnails", thumbnails);

    LocalHttpServer::Answer silent;
    silent.silent = true;
    server.Serve("/silent", silent);

    LocalHttpServer::Answer deep;
    for (int k = 0; k < 200000; ++k)
        deep.body += "<div>";
    server.Serve("/deep", deep);

    // As much as the control takes: elements and words just within its limits,
    // each element restyled as the mouse comes over it.
    const CWebBrowser2::Limits limits;
    LocalHttpServer::Answer largest;
    largest.body = "<html><head><style>*:hover{color:#c00000;background:#eee}</style></head>"
                   "<body><table border=1>";
    const int rows = (limits.elements - 20) / 4; // a row: tr, two td and a b
    const std::string cell = Words(size_t(limits.pieces) * 9 / 10 / size_t(rows * 2));
    for (int row = 0; row < rows; ++row)
        largest.body += "<tr><td>" + cell + "<td><b>" + cell + "</b></tr>";
    largest.body += "</table></body></html>";
    server.Serve("/largest", largest);
}

// Bounds: about 26 MiB of the process itself; a page's layout; a page's
// pictures, at most 32 MiB as drawn besides the one being decoded (the
// decoders take at most 4096 x 4096 pixels: 64 MiB).
const Case kCases[] = {
    {"small", "/small", "shown", 64, false},
    {"words", "/words", "error page", 64, false},
    {"plain", "/plain", "error page", 64, false},
    {"pictures", "/pictures", "error page", 160, false},
    {"thumbnails", "/thumbnails", "shown", 160, false},
    {"deep", "/deep", "error page", 64, false},
    {"largest", "/largest", "shown", 96, false},
    {"closed", "/words", "closed while busy", 64, true},
    {"unanswered", "/silent", "closed while busy", 64, true},
};

struct Result {
    bool ran = false;
    int steps = 0;
    double longestCpuMs = 0, longestWallMs = 0, loadedS = 0;
    std::string outcome;
    double peakMiB = 0;
};

Result RunChild(const std::string& url, bool leave) {
    Result result;
    int out[2];
    if (pipe(out) != 0)
        return result;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    const std::string program = ProgramPath();
    std::vector<char*> argv = {const_cast<char*>(program.c_str()),
                               const_cast<char*>(leave ? "--close" : "--show"),
                               const_cast<char*>(url.c_str()), nullptr};
    pid_t pid = 0;
    const bool spawned =
        posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    std::string report;
    char buffer[512];
    for (ssize_t got; spawned && (got = read(out[0], buffer, sizeof buffer)) > 0;)
        report.append(buffer, size_t(got));
    close(out[0]);
    int status = 0;
    if (!spawned || waitpid(pid, &status, 0) != pid)
        return result;
    char outcome[64] = "";
    long peakKiB = 0;
    result.ran =
        WIFEXITED(status) && WEXITSTATUS(status) == 0 &&
        sscanf(report.c_str(), "%d %lf %lf %lf %ld %63[^\n]", &result.steps, &result.longestCpuMs,
               &result.longestWallMs, &result.loadedS, &peakKiB, outcome) == 6;
    result.peakMiB = double(peakKiB) / 1024;
    result.outcome = outcome;
    if (!result.ran)
        result.outcome = "ended badly: " + report;
    return result;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && (strcmp(argv[1], "--show") == 0 || strcmp(argv[1], "--close") == 0))
        return Show(argv[2], strcmp(argv[1], "--close") == 0);
    const bool bounds = argc > 1 && strcmp(argv[1], "--check") == 0;
    const bool shapes = bounds || (argc > 1 && strcmp(argv[1], "--no-bounds") == 0);
    LocalHttpServer server;
    if (!server.Ready())
        return 1;
    ServeCases(server);
    int failures = 0;
    printf("%-11s %9s %9s %8s %9s  %s\n", "page", "step cpu", "step wall", "shown", "peak",
           "outcome");
    for (const Case& c : kCases) {
        const Result r = RunChild(server.Url(c.path), c.leave);
        std::string faults;
        if (shapes && r.outcome != c.expected)
            faults += " (expected: " + std::string(c.expected) + ")";
        if (bounds && std::max(r.longestCpuMs, r.longestWallMs) > kLongestStepMs)
            faults += " (a step over " + std::to_string(int(kLongestStepMs)) + " ms)";
        if (bounds && r.peakMiB > c.boundMiB)
            faults += " (over " + std::to_string(c.boundMiB) + " MiB)";
        printf("%-11s %6.1f ms %6.1f ms %6.2f s %5.0f MiB  %s%s\n", c.name, r.longestCpuMs,
               r.longestWallMs, r.loadedS, r.peakMiB, r.outcome.c_str(), faults.c_str());
        fflush(stdout);
        failures += (shapes && !r.ran) || !faults.empty();
    }
    return failures == 0 ? 0 : 1;
}
