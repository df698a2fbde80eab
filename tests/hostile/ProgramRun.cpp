#include "ProgramRun.h"

#include "game/GameRecords.h"
#include "tools/tablehost/HostFrames.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <netinet/in.h>
#include <poll.h>
#include <sstream>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

using namespace tablehost;
namespace fs = std::filesystem;

namespace hostile {

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

bool Expired(Clock::time_point start, uint32_t ms) {
    return Clock::now() - start > std::chrono::milliseconds(ms);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The program under test, started and reaped.
class Program {
public:
    bool Start(const RunSettings& settings, UINT port) {
        const std::string& folder = settings.folder;
        const std::vector<std::string> arguments = {
            folder + "/Pellor",   "1", "bot0",      "Bot0", "ticket", "0", "room", "127.0.0.1",
            std::to_string(port), "",  "127.0.0.1", "7002", "lv1",    "0"};
        std::vector<std::string> environment;
        for (char** entry = environ; *entry != nullptr; ++entry) {
            const std::string text = *entry;
            static const char* const kOwn[] = {"PELLOR_",        "PATH=",    "ASAN_OPTIONS=",
                                               "UBSAN_OPTIONS=", "DISPLAY=", "WAYLAND_DISPLAY="};
            bool own = false;
            for (const char* prefix : kOwn)
                own = own || text.rfind(prefix, 0) == 0;
            if (!own)
                environment.push_back(text);
        }
        const char* path = getenv("PATH");
        environment.push_back("PATH=" + folder + "/bin:" + (path ? path : "/usr/bin:/bin"));
        environment.push_back("PELLOR_DISPLAY=headless");
        environment.push_back("PELLOR_CONFIG_DIR=" + folder + "/config");
        environment.push_back("ASAN_OPTIONS=detect_leaks=1:exitcode=86:print_summary=1");
        environment.push_back("UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:exitcode=87");
        std::vector<char*> argv, envp;
        for (const std::string& text : arguments)
            argv.push_back(const_cast<char*>(text.c_str()));
        argv.push_back(nullptr);
        for (const std::string& text : environment)
            envp.push_back(const_cast<char*>(text.c_str()));
        envp.push_back(nullptr);
        const std::string out = folder + "/stdout.txt", err = folder + "/stderr.txt";
        m_pid = fork();
        if (m_pid < 0)
            return false;
        if (m_pid == 0) {
            setpgid(0, 0);
            const int in = open("/dev/null", O_RDONLY);
            const int o = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            const int e = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (in < 0 || o < 0 || e < 0 || chdir(folder.c_str()) != 0)
                _exit(127);
            dup2(in, 0);
            dup2(o, 1);
            dup2(e, 2);
            execve(argv[0], argv.data(), envp.data());
            _exit(127);
        }
        setpgid(m_pid, m_pid);
        return true;
    }

    // True once it has ended (then status and usage hold).
    bool Ended() {
        if (m_ended)
            return true;
        const pid_t done = wait4(m_pid, &m_status, WNOHANG, &m_usage);
        m_ended = done == m_pid;
        return m_ended;
    }

    bool WaitEnd(uint32_t ms) {
        const Clock::time_point start = Clock::now();
        while (!Ended()) {
            if (Expired(start, ms))
                return false;
            usleep(5000);
        }
        return true;
    }

    // Where every thread stood, for a hang's report.
    std::string Stacks() const {
        const std::string command =
            "timeout 60 gdb -p " + std::to_string(m_pid) + " -batch -ex 'thread apply all bt' 2>&1";
        std::string text;
        if (FILE* pipe = popen(command.c_str(), "r")) {
            char buffer[4096];
            size_t n;
            while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
                text.append(buffer, n);
            pclose(pipe);
        }
        return text;
    }

    void Kill() {
        if (m_pid > 0 && !m_ended) {
            kill(-m_pid, SIGKILL);
            while (!Ended())
                usleep(1000);
        }
    }

    ~Program() { Kill(); }

    int Status() const { return m_status; }
    long PeakKb() const { return m_usage.ru_maxrss; }

private:
    pid_t m_pid = -1;
    bool m_ended = false;
    int m_status = 0;
    rusage m_usage{};
};

// The connection to the program: frames in, bytes out, never blocking.
class Link {
public:
    ~Link() { Close(); }

    bool Listen() {
        m_listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        return m_listener >= 0 &&
               bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
               listen(m_listener, 4) == 0 &&
               getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &size) == 0 &&
               (m_port = ntohs(address.sin_port)) != 0;
    }
    UINT Port() const { return m_port; }

    bool Accept(uint32_t waitMs) {
        pollfd listening{m_listener, POLLIN, 0};
        if (poll(&listening, 1, int(waitMs)) != 1)
            return false;
        m_socket = accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        return m_socket >= 0;
    }

    // Reads what has come, waiting up to waitMs for something. False once
    // the program closed its side.
    bool Read(int waitMs) {
        if (m_socket < 0 || m_closedByPeer)
            return false;
        pollfd socket{m_socket, POLLIN, 0};
        if (poll(&socket, 1, waitMs) <= 0)
            return true;
        char buffer[65536];
        for (;;) {
            const ssize_t n = recv(m_socket, buffer, sizeof buffer, 0);
            if (n > 0) {
                m_in.append(buffer, size_t(n));
                continue;
            }
            if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR))
                m_closedByPeer = true;
            break;
        }
        TakeFrames();
        return !m_closedByPeer;
    }

    // Writes all bytes, reading meanwhile; false when the program stopped
    // reading for longer than waitMs or went away (then ClosedByPeer).
    bool Write(const std::vector<uint8_t>& bytes, uint32_t waitMs) {
        size_t done = 0;
        const Clock::time_point start = Clock::now();
        while (done < bytes.size()) {
            const ssize_t n =
                send(m_socket, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
            if (n > 0) {
                done += size_t(n);
                continue;
            }
            if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
                // The program closed the connection (it may not have ended
                // yet): it went away, it did not stop reading.
                m_closedByPeer = true;
                return false;
            }
            if (Expired(start, waitMs))
                return false;
            pollfd socket{m_socket, POLLOUT, 0};
            poll(&socket, 1, 10);
            Read(0);
        }
        return true;
    }

    void Close() {
        for (int* fd : {&m_socket, &m_listener}) {
            if (*fd >= 0)
                close(*fd);
            *fd = -1;
        }
    }

    bool ClosedByPeer() const { return m_closedByPeer; }
    // The program said it leaves the table: leave, escape or trusteeship exit.
    bool Leaving() const {
        return m_closedByPeer ||
               Count(kFrameLeave) + Count(kFrameEscape) + Count(kFrameTrustExit) > 0;
    }
    // Frames the program sent, by type, and its answers to table records.
    int Count(DWORD type) const { return m_counts.count(type) ? m_counts.at(type) : 0; }
    int Answers() const { return m_answers; }
    const std::vector<uint8_t>& Login() const { return m_login; }

private:
    void TakeFrames() {
        while (m_in.size() >= 8) {
            DWORD type, length;
            memcpy(&type, m_in.data(), 4);
            memcpy(&length, m_in.data() + 4, 4);
            const size_t header = FrameHeaderSize(type);
            if (m_in.size() < header + size_t(length))
                return;
            const std::string payload = m_in.substr(header, length);
            ++m_counts[type];
            if (type == kFrameLogin)
                m_login.assign(payload.begin(), payload.end());
            int id = 0;
            if (type == kFrameGameRecord &&
                PeekGameRecordId(payload.data(), int(payload.size()), &id) && id == kMsgWatcherView)
                ++m_answers;
            m_in.erase(0, header + length);
        }
    }

    int m_listener = -1;
    int m_socket = -1;
    UINT m_port = 0;
    std::string m_in;
    bool m_closedByPeer = false;
    std::map<DWORD, int> m_counts;
    int m_answers = 0;
    std::vector<uint8_t> m_login;
};

bool Login(Link& link, Program& program, uint32_t waitMs) {
    const Clock::time_point start = Clock::now();
    while (link.Count(kFrameLogin) == 0) {
        if (!link.Read(10) || program.Ended() || Expired(start, waitMs))
            return false;
    }
    LoginRequest request;
    if (ParseLoginRequest(link.Login().data(), link.Login().size(), request) != LoginFault::kNone)
        return false;
    std::vector<PlayerRecord> players;
    for (int seat = 0; seat < kSeatCount; ++seat)
        players.push_back(PlayerRecord{"bot" + std::to_string(seat)});
    const std::vector<BYTE> reply = BuildLoginReply(1, players);
    if (!link.Write(EncodeHostFrame(kFrameLoginReply, reply.data(), reply.size(), kLoginAccepted),
                    waitMs))
        return false;
    while (link.Count(kFrameEntered) == 0) {
        if (!link.Read(10) || program.Ended() || Expired(start, waitMs))
            return false;
    }
    return true;
}

// What is wrong with the refusals in the program's log, or empty: each
// refused record is logged once, with its reason, right after the line that
// took it in, and every record whose layout or fields the check refuses
// whatever the table holds (due of them) is.
std::string RefusalFault(const std::string& log, int due) {
    std::istringstream lines(log);
    std::string previous, line;
    int refused = 0;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::string sign = "Refused game record ";
        const size_t at = line.find(sign);
        if (at != std::string::npos) {
            ++refused;
            const std::string id = line.substr(at + sign.size(), line.find(' ', at + sign.size()) -
                                                                     (at + sign.size()));
            const size_t reason = line.find(": ", at);
            if (reason == std::string::npos || reason + 2 >= line.size())
                return "a refusal without its reason: " + line;
            if (previous.find(" " + id + ",") == std::string::npos)
                return "a refusal that does not follow its record: " + line;
        }
        previous = line;
    }
    if (refused < due)
        return std::to_string(refused) + " refusals logged where " + std::to_string(due) +
               " are due";
    return {};
}

// The first line of a sanitizer's report, or empty when there is none.
std::string SanitizerReport(const std::string& errors) {
    for (const char* sign : {"ERROR: AddressSanitizer", "ERROR: LeakSanitizer",
                             "runtime error:", "ERROR: UndefinedBehaviorSanitizer"}) {
        const size_t at = errors.find(sign);
        if (at == std::string::npos)
            continue;
        const size_t start = errors.rfind('\n', at);
        const size_t end = errors.find('\n', at);
        return errors.substr(start == std::string::npos ? 0 : start + 1,
                             end == std::string::npos
                                 ? std::string::npos
                                 : end - (start == std::string::npos ? 0 : start + 1));
    }
    return {};
}

void ResetFolder(const std::string& folder, const std::string& program) {
    std::error_code ignored;
    for (const char* name : {"Pellor2.log", "stdout.txt", "stderr.txt", "stacks.txt"})
        fs::remove(folder + "/" + name, ignored);
    fs::remove_all(folder + "/snapshot", ignored);
    fs::remove_all(folder + "/config", ignored);
    fs::create_directories(folder + "/config", ignored);
    fs::copy_file(fs::path(program).parent_path() / "pellor2.ini", folder + "/pellor2.ini",
                  fs::copy_options::overwrite_existing, ignored);
    // Watchers may see my cards: the program then answers every table record
    // with the watchers' view, which the probe waits for.
    std::ofstream(folder + "/pellor2.ini", std::ios::app) << "\r\n[Setting]\r\nAllowWatch=1\r\n";
}

Outcome Judge(Program& program, const RunSettings& settings, Outcome outcome) {
    outcome.peakKb = program.PeakKb();
    const std::string errors = ReadFile(settings.folder + "/stderr.txt");
    const std::string report = SanitizerReport(errors);
    if (!report.empty())
        return Outcome{Verdict::kSanitizer, report, outcome.peakKb, outcome.seconds};
    const int status = program.Status();
    if (WIFSIGNALED(status))
        return Outcome{Verdict::kCrash, "killed by signal " + std::to_string(WTERMSIG(status)),
                       outcome.peakKb, outcome.seconds};
    if (WEXITSTATUS(status) != 0)
        return Outcome{Verdict::kCrash, "exit code " + std::to_string(WEXITSTATUS(status)),
                       outcome.peakKb, outcome.seconds};
    if (outcome.peakKb > settings.memoryBoundKb)
        return Outcome{Verdict::kMemory, std::to_string(outcome.peakKb / 1024) + " MiB at its peak",
                       outcome.peakKb, outcome.seconds};
    return outcome;
}

} // namespace

const char* VerdictName(Verdict verdict) {
    switch (verdict) {
    case Verdict::kPassed:
        return "passed";
    case Verdict::kLeftEarly:
        return "left the table by itself";
    case Verdict::kNoLogin:
        return "no login";
    case Verdict::kSanitizer:
        return "sanitizer report";
    case Verdict::kCrash:
        return "crash";
    case Verdict::kHang:
        return "hang";
    case Verdict::kMemory:
        return "over the memory bound";
    case Verdict::kRefusals:
        return "refusals not logged once";
    }
    return "?";
}

bool PrepareFolder(const std::string& program, const std::string& folder, std::string& error) {
    std::error_code failure;
    // Made afresh: a program of an earlier build would not match the
    // libraries it loads from the build.
    fs::remove_all(folder, failure);
    fs::create_directories(folder + "/bin", failure);
    const fs::path source = fs::path(program).parent_path();
    for (const fs::directory_entry& entry : fs::directory_iterator(source, failure)) {
        const std::string name = entry.path().filename().string();
        const fs::path target = fs::path(folder) / name;
        if (name == "Pellor2.log" || name == "snapshot" || name == "pellor2.ini")
            continue;
        if (name == "Pellor") {
            // The program finds its folder from its own path: a link of its
            // own here, or a copy where a link cannot be made.
            fs::create_hard_link(entry.path(), target, failure);
            if (failure)
                fs::copy_file(entry.path(), target, failure);
        } else {
            fs::create_symlink(entry.path(), target, failure);
        }
        if (failure) {
            error = "cannot place " + name + " in " + folder + ": " + failure.message();
            return false;
        }
    }
    std::ofstream opener(folder + "/bin/xdg-open");
    opener << "#!/bin/sh\nexit 0\n";
    opener.close();
    fs::permissions(folder + "/bin/xdg-open", fs::perms::owner_all, failure);
    if (failure) {
        error = "cannot make the opener in " + folder;
        return false;
    }
    return true;
}

Outcome RunConversation(const RunSettings& settings, const Conversation& conversation) {
    const Clock::time_point start = Clock::now();
    Outcome outcome;
    ResetFolder(settings.folder, settings.program);
    Link link;
    Program program;
    if (!link.Listen() || !program.Start(settings, link.Port()))
        return Outcome{Verdict::kNoLogin, "cannot start the program", 0, 0};
    const auto fail = [&](Verdict verdict, const std::string& detail) {
        outcome.seconds = SecondsSince(start);
        if (program.Ended())
            return Judge(program, settings, Outcome{verdict, detail, 0, outcome.seconds});
        std::ofstream(settings.folder + "/stacks.txt") << program.Stacks();
        program.Kill();
        Outcome judged = Judge(program, settings, Outcome{verdict, detail, 0, outcome.seconds});
        // A sanitizer's report says more than the kill that followed it.
        return judged.verdict == Verdict::kSanitizer
                   ? judged
                   : Outcome{verdict, detail, judged.peakKb, outcome.seconds};
    };
    if (!link.Accept(settings.loginMs) || !Login(link, program, settings.loginMs))
        return fail(Verdict::kNoLogin, "the program did not log in");
    const double loginSeconds = SecondsSince(start);

    // The body; the program may leave by itself on the way (a game over).
    const std::string logPath = settings.folder + "/Pellor2.log";
    bool left = false;
    for (const Write& write : conversation.body) {
        const Clock::time_point pause = Clock::now();
        while (!Expired(pause, write.pauseBeforeMs))
            link.Read(1);
        if (!link.Write(write.bytes, settings.probeMs)) {
            if (!link.ClosedByPeer() && !program.Ended())
                return fail(Verdict::kHang, "stopped reading in the body");
            left = true;
            break;
        }
    }
    const int answersBefore = link.Answers();
    bool marked = false;
    if (!left && link.Write(conversation.probe, settings.probeMs)) {
        const std::string marker = "91e," + std::to_string(conversation.markerLength);
        const Clock::time_point probe = Clock::now();
        const uint32_t longestMs = RunSettings::kProbeRounds * settings.probeMs +
                                   settings.probeMsPerFrame * uint32_t(conversation.outline.size());
        Clock::time_point progress = probe;
        size_t logged = 0;
        while (!marked && !link.Leaving() && !program.Ended()) {
            if (Expired(progress, settings.probeMs))
                return fail(Verdict::kHang, "the marker was not taken, and nothing new logged");
            if (Expired(probe, longestMs))
                return fail(Verdict::kHang, "the marker was not taken in time");
            link.Read(20);
            const std::string log = ReadFile(logPath);
            if (log.size() != logged) {
                logged = log.size();
                progress = Clock::now();
            }
            marked = log.find(marker) != std::string::npos;
        }
        const Clock::time_point answer = Clock::now();
        while (marked && link.Answers() == answersBefore && !link.Leaving() && !program.Ended()) {
            if (Expired(answer, settings.answerMs))
                return fail(Verdict::kHang, "the probe's table record was not answered");
            link.Read(20);
        }
    }
    // A program that left the table on its way (a game over) is let go.
    left = left || !marked || link.Leaving() || program.Ended();
    if (!left && !conversation.endingBytes.empty())
        link.Write(conversation.endingBytes, settings.exitMs);
    link.Close();
    if (!program.WaitEnd(settings.exitMs))
        return fail(Verdict::kHang, "the program did not end after the close");
    outcome.seconds = SecondsSince(start);
    if (left)
        outcome.verdict = Verdict::kLeftEarly;
    outcome = Judge(program, settings, outcome);
    outcome.loginSeconds = loginSeconds;
    if (outcome.verdict == Verdict::kPassed) {
        const std::string fault = RefusalFault(ReadFile(logPath), conversation.refusalsDue);
        if (!fault.empty())
            outcome = Outcome{Verdict::kRefusals, fault, outcome.peakKb, outcome.seconds};
    }
    return outcome;
}

} // namespace hostile
