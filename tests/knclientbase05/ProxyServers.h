#pragma once

// The Debian SOCKS servers, started by a test on a free loopback port and
// stopped by pid: microsocks (SOCKS 5, optionally with a user name and
// password) and dante's danted (SOCKS 4 and 5; its user name method checks
// the system's accounts, so a test account is made and removed here).

#include "ThreadedPeers.h"
#include "tests/support/TempFolder.h"

#include <csignal>
#include <cstdio>
#include <ctime>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace peer_test {

// The program's full name, or "" when it is not installed.
inline std::string FindProgram(const std::string& name) {
    for (const char* folder :
         {"/usr/bin", "/usr/sbin", "/usr/local/bin", "/usr/local/sbin", "/bin", "/sbin"}) {
        const std::string path = std::string(folder) + "/" + name;
        if (access(path.c_str(), X_OK) == 0)
            return path;
    }
    return "";
}

// A port that was free a moment ago.
inline unsigned FreeLoopbackPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), length);
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

// Runs a command to its end; its exit status, or -1.
inline int RunCommand(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A server process of the test; SIGTERM and reaped when the object goes.
class ServerProcess {
public:
    ServerProcess() = default;
    ~ServerProcess() { Stop(); }
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    bool Start(const std::vector<std::string>& arguments) {
        std::vector<char*> argv;
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        return posix_spawn(&m_pid, argv[0], nullptr, nullptr, argv.data(), environ) == 0;
    }
    // Waits until the server takes connections on the port: the other process
    // needs a moment to bind. False when it has not after kRealWaitSeconds or
    // when it ended.
    bool WaitUntilListening(unsigned port) const {
        timespec began{};
        clock_gettime(CLOCK_MONOTONIC, &began);
        for (;;) {
            const int fd = ConnectTo("127.0.0.1", port);
            if (fd >= 0) {
                ::close(fd);
                return true;
            }
            int status = 0;
            if (waitpid(m_pid, &status, WNOHANG) == m_pid)
                return false;
            timespec now{};
            clock_gettime(CLOCK_MONOTONIC, &now);
            if (now.tv_sec - began.tv_sec > kRealWaitSeconds)
                return false;
            ::poll(nullptr, 0, 10);
        }
    }
    void Stop() {
        if (m_pid <= 0)
            return;
        kill(m_pid, SIGTERM);
        int status = 0;
        waitpid(m_pid, &status, 0);
        m_pid = -1;
    }

private:
    pid_t m_pid = -1;
};

// microsocks on 127.0.0.1; Start fails when it is not installed.
class Microsocks {
public:
    bool Installed() const { return !FindProgram("microsocks").empty(); }
    bool Start(const std::string& user = "", const std::string& password = "") {
        port = FreeLoopbackPort();
        std::vector<std::string> arguments = {FindProgram("microsocks"), "-i", "127.0.0.1", "-p",
                                              std::to_string(port)};
        if (!user.empty())
            arguments.insert(arguments.end(), {"-u", user, "-P", password});
        return m_process.Start(arguments) && m_process.WaitUntilListening(port);
    }

    unsigned port = 0;

private:
    ServerProcess m_process;
};

// danted on 127.0.0.1, with or without its user name method.
class Dante {
public:
    bool Installed() const { return !FindProgram("danted").empty(); }
    bool Start(bool userNameMethod) {
        port = FreeLoopbackPort();
        const std::string config = "logoutput: " + m_folder.File("danted.log") +
                                   "\n"
                                   "internal: 127.0.0.1 port = " +
                                   std::to_string(port) +
                                   "\n"
                                   "external: 127.0.0.1\n"
                                   "clientmethod: none\n"
                                   "socksmethod: " +
                                   (userNameMethod ? "username" : "none") +
                                   "\n"
                                   "user.privileged: root\n"
                                   "user.unprivileged: nobody\n"
                                   "client pass {\n"
                                   "  from: 127.0.0.0/8 to: 0.0.0.0/0\n"
                                   "}\n"
                                   "socks pass {\n"
                                   "  from: 127.0.0.0/8 to: 0.0.0.0/0\n"
                                   "  command: connect\n"
                                   "  log: connect disconnect error\n"
                                   "}\n";
        m_folder.Write("danted.conf", config);
        return m_process.Start({FindProgram("danted"), "-f", m_folder.File("danted.conf"), "-p",
                                m_folder.File("danted.pid")}) &&
               m_process.WaitUntilListening(port);
    }
    std::string Log() const { return m_folder.Read("danted.log"); }

    unsigned port = 0;

private:
    TempFolder m_folder;
    ServerProcess m_process;
};

// A system account for dante's user name method, removed again. Needs root
// and the shadow tools; Create says why when it cannot.
class SystemAccount {
public:
    ~SystemAccount() {
        if (m_created)
            RunCommand({FindProgram("userdel"), name});
    }
    std::string Create() {
        if (geteuid() != 0)
            return "dante's user name method checks system accounts; creating one needs root";
        const std::string useradd = FindProgram("useradd"), chpasswd = FindProgram("chpasswd");
        if (useradd.empty() || chpasswd.empty() || FindProgram("userdel").empty())
            return "useradd, chpasswd or userdel is missing";
        name = "plrsox" + std::to_string(getpid() % 100000);
        password = "Pw" + std::to_string(time(nullptr) % 100000) + "x";
        if (RunCommand({useradd, "-M", "-N", "-s", "/usr/sbin/nologin", name}) != 0)
            return "useradd failed for " + name;
        m_created = true;
        FILE* pipe = popen(chpasswd.c_str(), "w");
        if (pipe == nullptr)
            return "chpasswd could not be started";
        fprintf(pipe, "%s:%s\n", name.c_str(), password.c_str());
        if (pclose(pipe) != 0)
            return "chpasswd failed";
        return "";
    }

    std::string name, password;

private:
    bool m_created = false;
};

} // namespace peer_test
