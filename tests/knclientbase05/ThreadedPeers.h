#pragma once

// Loopback peers that run in threads of their own on plain blocking
// descriptors: the client under test waits by pumping its message loop, and
// meets a peer that owes nothing to the code under test. Every read gives up
// when the peer is stopped or when kRealWaitSeconds pass without a byte
// (a test failure, never a timing measure).

#include "tests/support/RealWaits.h"

#include <arpa/inet.h>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <ctime>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <mutex>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace peer_test {

inline std::string LeWord(uint32_t value) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[size_t(i)] = char(value >> (8 * i));
    return bytes;
}

inline uint32_t LeWordAt(const std::string& bytes, size_t at) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | uint8_t(bytes[at + size_t(i)]);
    return value;
}

// A frame as a peer writes it: header words little-endian, then the payload.
inline std::string WireFrame(uint32_t type, const std::string& payload, uint32_t result = 0) {
    std::string bytes = LeWord(type) + LeWord(uint32_t(payload.size()));
    if (type & 0x80000000u)
        bytes += LeWord(result);
    return bytes + payload;
}

// A connected descriptor seen from the peer's side.
class Conn {
public:
    Conn(int descriptor, const std::atomic<bool>& stop) : fd(descriptor), m_stop(stop) {}

    bool WaitReadable() const {
        timespec began{};
        clock_gettime(CLOCK_MONOTONIC, &began);
        for (;;) {
            if (m_stop)
                return false;
            pollfd check{fd, POLLIN, 0};
            if (::poll(&check, 1, 20) > 0)
                return true;
            timespec now{};
            clock_gettime(CLOCK_MONOTONIC, &now);
            if (now.tv_sec - began.tv_sec > kRealWaitSeconds)
                return false;
        }
    }
    bool ReadExact(void* buffer, size_t count) {
        auto* bytes = static_cast<char*>(buffer);
        size_t got = 0;
        while (got < count) {
            if (!WaitReadable())
                return false;
            const ssize_t n = ::recv(fd, bytes + got, count - got, 0);
            if (n <= 0)
                return false;
            got += size_t(n);
        }
        return true;
    }
    bool ReadString(std::string& out, size_t count) {
        out.assign(count, '\0');
        return count == 0 || ReadExact(out.data(), count);
    }
    bool ReadByte(uint8_t& byte) { return ReadExact(&byte, 1); }
    // Bytes up to a NUL (not kept), at most limit of them.
    bool ReadUntilNul(std::string& out, size_t limit) {
        out.clear();
        for (uint8_t byte = 0; out.size() <= limit;) {
            if (!ReadByte(byte))
                return false;
            if (byte == 0)
                return true;
            out.push_back(char(byte));
        }
        return false;
    }
    bool Write(const std::string& bytes) const {
        return ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL) == ssize_t(bytes.size());
    }
    bool Stopped() const { return m_stop; }

    int fd;

private:
    const std::atomic<bool>& m_stop;
};

// A listener on 127.0.0.1 whose connections are served one thread each.
class PeerServer {
public:
    explicit PeerServer(std::function<void(Conn&)> serve) : m_serve(std::move(serve)) {
        m_listen = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        EXPECT_EQ(::bind(m_listen, reinterpret_cast<sockaddr*>(&address), length), 0);
        EXPECT_EQ(::listen(m_listen, 16), 0);
        EXPECT_EQ(getsockname(m_listen, reinterpret_cast<sockaddr*>(&address), &length), 0);
        port = ntohs(address.sin_port);
        m_acceptor = std::thread([this] { AcceptLoop(); });
    }
    ~PeerServer() {
        m_stop = true;
        m_acceptor.join();
        for (std::thread& worker : m_workers)
            worker.join();
        ::close(m_listen);
    }
    PeerServer(const PeerServer&) = delete;
    PeerServer& operator=(const PeerServer&) = delete;

    int Connections() const { return m_connections; }

    unsigned port = 0;

private:
    void AcceptLoop() {
        while (!m_stop) {
            pollfd check{m_listen, POLLIN, 0};
            if (::poll(&check, 1, 20) <= 0)
                continue;
            const int fd = ::accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0)
                continue;
            ++m_connections;
            m_workers.emplace_back([this, fd] {
                Conn conn(fd, m_stop);
                m_serve(conn);
                ::close(fd);
            });
        }
    }

    std::function<void(Conn&)> m_serve;
    int m_listen = -1;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_connections{0};
    std::thread m_acceptor;
    std::vector<std::thread> m_workers;
};

struct FrameRecord {
    uint32_t type = 0, length = 0, result = 0;
    std::string payload;
};

// What a frame server sends back for a frame it got (any number of frames,
// as wire bytes).
typedef std::function<std::vector<std::string>(const FrameRecord&)> FrameAnswer;

// The usual answer: a request of type T comes back as the reply T | bit 31
// with the same payload; the speed-test frame 0x110 comes back as it is.
inline std::vector<std::string> EchoAnswer(const FrameRecord& frame) {
    if (frame.type == 0x110)
        return {WireFrame(0x110, frame.payload)};
    if (frame.type == 0x663 || (frame.type & 0x80000000u))
        return {};
    return {WireFrame(frame.type | 0x80000000u, frame.payload, 1)};
}

// Frames received by the peers of a test, in order, and a way to wait for them.
class FrameLog {
public:
    void Add(const FrameRecord& frame) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_frames.push_back(frame);
        m_changed.notify_all();
    }
    std::vector<FrameRecord> Frames() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_frames;
    }
    bool WaitFor(size_t count) const {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::seconds(kRealWaitSeconds),
                                  [&] { return m_frames.size() >= count; });
    }

private:
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    std::vector<FrameRecord> m_frames;
};

// Reads frames until the connection ends, logs each and answers it.
inline void ServeFrames(Conn& conn, const FrameAnswer& answer, FrameLog& log) {
    for (;;) {
        std::string header;
        if (!conn.ReadString(header, 8))
            return;
        FrameRecord frame;
        frame.type = LeWordAt(header, 0);
        frame.length = LeWordAt(header, 4);
        if (frame.type & 0x80000000u) {
            std::string result;
            if (!conn.ReadString(result, 4))
                return;
            frame.result = LeWordAt(result, 0);
        }
        if (frame.length > 65536 || !conn.ReadString(frame.payload, frame.length))
            return;
        log.Add(frame);
        for (const std::string& bytes : answer(frame))
            if (!conn.Write(bytes))
                return;
    }
}

// The small game server of the tests: answers every frame by its answer
// function and logs what it got.
class FrameServer {
public:
    explicit FrameServer(FrameAnswer answer = EchoAnswer)
        : m_answer(std::move(answer)),
          m_server([this](Conn& conn) { ServeFrames(conn, m_answer, log); }) {}

    unsigned Port() const { return m_server.port; }
    int Connections() const { return m_server.Connections(); }

    FrameLog log;

private:
    FrameAnswer m_answer;
    PeerServer m_server;
};

// Connects to host:port (a dotted address or a name) with a blocking socket;
// -1 on failure.
inline int ConnectTo(const std::string& host, unsigned port) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0 || !found)
        return -1;
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int connected = ::connect(fd, found->ai_addr, found->ai_addrlen);
    freeaddrinfo(found);
    if (connected != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Copies bytes both ways until either side ends or the peer stops.
inline void Splice(Conn& client, int target) {
    char buffer[16384];
    while (!client.Stopped()) {
        pollfd both[2] = {{client.fd, POLLIN, 0}, {target, POLLIN, 0}};
        if (::poll(both, 2, 20) <= 0)
            continue;
        for (int side = 0; side < 2; ++side) {
            if (!(both[side].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            const int from = side == 0 ? client.fd : target;
            const int to = side == 0 ? target : client.fd;
            const ssize_t n = ::recv(from, buffer, sizeof buffer, 0);
            if (n <= 0 || ::send(to, buffer, size_t(n), MSG_NOSIGNAL) != n)
                return;
        }
    }
}

} // namespace peer_test
