// The tablehost program itself: started as its own process on a free port,
// it says where it listens, and a client of plain descriptors logs in.

#include "WireClient.h"

#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace tools_test {
namespace {

// The program, its standard output on a pipe; killed at the end.
class HostProcess {
public:
    explicit HostProcess(std::vector<std::string> args) {
        int pipeFds[2];
        if (pipe(pipeFds) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        args.insert(args.begin(), TABLEHOST_PROGRAM);
        std::vector<char*> argv;
        for (std::string& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        if (posix_spawn(&m_pid, TABLEHOST_PROGRAM, &actions, nullptr, argv.data(), environ) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(pipeFds[1]);
        m_out = pipeFds[0];
    }
    ~HostProcess() {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
        if (m_out >= 0)
            close(m_out);
    }

    // The first line of its output; empty when none comes within 5 seconds.
    std::string FirstLine() {
        std::string line;
        char c;
        while (line.find('\n') == std::string::npos) {
            pollfd ready{m_out, POLLIN, 0};
            if (poll(&ready, 1, 5000) <= 0 || read(m_out, &c, 1) != 1)
                return std::string();
            line += c;
        }
        return line;
    }

    // Its exit status once it has ended by itself.
    int ExitStatus() {
        int status = 0;
        if (waitpid(m_pid, &status, 0) != m_pid)
            return -1;
        m_pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t m_pid = -1;
    int m_out = -1;
};

TEST(TablehostProgram, ListensAndAnswersALogin) {
    HostProcess host({"--port", "0", "--human-seats", "2", "--table-number", "17"});
    const std::string line = host.FirstLine();
    const std::string prefix = "tablehost listening on 127.0.0.1:";
    ASSERT_EQ(line.rfind(prefix, 0), 0u) << line;
    const UINT port = UINT(std::stoul(line.substr(prefix.size())));
    ASSERT_NE(port, 0u);
    // The program runs its own loop: read the reply with a plain wait.
    WireClient client;
    ASSERT_TRUE(client.Connect(port));
    client.Send(0x200, LoginPayload("alice", 1));
    pollfd ready{client.fd, POLLIN, 0};
    std::string reply;
    while (reply.size() < 12 + 296 && poll(&ready, 1, 5000) > 0) {
        char buffer[512];
        const ssize_t n = recv(client.fd, buffer, sizeof buffer, 0);
        if (n <= 0)
            break;
        reply.append(buffer, size_t(n));
    }
    ASSERT_EQ(reply.size(), 12u + 296);
    EXPECT_EQ(WordAt(reply, 0), 0x80000200u);
    EXPECT_EQ(WordAt(reply, 8), 1u);
    EXPECT_EQ(HalfAt(reply, 14), 17);
    EXPECT_EQ(TextAt(reply, 12 + 4 + 48 + 24, 24), "alice");
}

TEST(TablehostProgram, RefusesABadCommandLine) {
    HostProcess host({"--human-seats", "9"});
    EXPECT_EQ(host.FirstLine(), "");
    EXPECT_EQ(host.ExitStatus(), 2);
}

} // namespace
} // namespace tools_test
