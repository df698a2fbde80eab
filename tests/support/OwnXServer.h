#pragma once

// An X server of a test's own (Xvfb on the first free display number), so
// that what the test does on its screen (the pointer it moves, the windows it
// shows, the pixels it reads back) meets nothing of the other tests and
// programs of the run, which share the run's X server.

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <ctime>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <poll.h>

namespace platform_test {

inline long long MonotonicMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000LL + now.tv_nsec / 1000000;
}

// Reads one line from fd within the time given; false when none came.
inline bool ReadLineWithin(int fd, int timeoutMs, std::string* line) {
    line->clear();
    const long long until = MonotonicMs() + timeoutMs;
    while (MonotonicMs() < until) {
        pollfd ready{fd, POLLIN, 0};
        if (poll(&ready, 1, 100) <= 0)
            continue;
        char c = 0;
        if (read(fd, &c, 1) != 1)
            return false;
        if (c == '\n')
            return true;
        *line += c;
    }
    return false;
}

inline bool HaveXvfb() {
    return std::system("command -v Xvfb >/dev/null 2>&1") == 0;
}

class OwnXServer {
public:
    // Starts the server with one screen of the size given ("1280x1024x24").
    explicit OwnXServer(const char* screen = "1280x1024x24") {
        int ready[2];
        if (pipe(ready) != 0)
            return;
        m_pid = fork();
        if (m_pid == 0) {
            close(ready[0]);
            // The server goes with the test program, also when it is killed.
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            const std::string fd = std::to_string(ready[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen, "-nolisten",
                   "tcp", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(ready[1]);
        if (m_pid > 0 && !ReadLineWithin(ready[0], 20000, &m_number))
            m_number.clear();
        close(ready[0]);
    }
    ~OwnXServer() {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
    }
    OwnXServer(const OwnXServer&) = delete;
    OwnXServer& operator=(const OwnXServer&) = delete;

    // The display's number; empty when the server did not start.
    const std::string& Number() const { return m_number; }
    std::string Name() const { return ":" + m_number; }

private:
    pid_t m_pid = -1;
    std::string m_number;
};

} // namespace platform_test
