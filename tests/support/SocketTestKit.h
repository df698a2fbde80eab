#pragma once

// Test helpers for the sockets: a loopback peer made of plain descriptors (so
// the side under test is checked against something independent of it), a
// socket that records its notifications, and a bounded pump.

#include "platform/net/Socket.h"
#include "platform/system/EventLoop.h"
#include "platform/window/Messages.h"
#include "tests/support/RealWaits.h"

#include <ctime>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace platform_test {

struct Notification {
    long event;
    int error;
    bool operator==(const Notification&) const = default;
};

// Records every notification; a test can hook each one.
class RecordingSocket : public CSocket {
public:
    std::vector<Notification> log;
    std::function<void(int)> onReceive, onSend, onConnect, onClose, onAccept;

    int Count(long event) const {
        int n = 0;
        for (const Notification& note : log)
            n += note.event == event;
        return n;
    }

protected:
    void OnReceive(int error) override { Note(FD_READ, error, onReceive); }
    void OnSend(int error) override { Note(FD_WRITE, error, onSend); }
    void OnConnect(int error) override { Note(FD_CONNECT, error, onConnect); }
    void OnClose(int error) override { Note(FD_CLOSE, error, onClose); }
    void OnAccept(int error) override { Note(FD_ACCEPT, error, onAccept); }

private:
    void Note(long event, int error, const std::function<void(int)>& hook) {
        log.push_back({event, error});
        if (hook)
            hook(error);
    }
};

// Dispatches what is waiting and what arrives until done() holds; false when
// kRealWaitSeconds pass first (a test failure, never a timing measure).
inline bool PumpUntil(const std::function<bool()>& done) {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const time_t limit = now.tv_sec + kRealWaitSeconds;
    while (!done()) {
        MSG msg;
        if (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessage(&msg);
            continue;
        }
        clock_gettime(CLOCK_MONOTONIC, &now);
        if (now.tv_sec > limit)
            return false;
        platform::WaitForEvents(10);
    }
    return true;
}

// Dispatches everything retrievable now, descriptor events included.
inline int DrainMessages() {
    int count = 0;
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessage(&msg);
        ++count;
    }
    return count;
}

// Gives the loop a few turns to show what it would deliver, without waiting.
inline void Settle() {
    for (int i = 0; i < 5; ++i) {
        platform::WaitForEvents(0);
        DrainMessages();
    }
}

// A listening descriptor on 127.0.0.1 with an ephemeral port.
class LoopbackListener {
public:
    LoopbackListener() {
        fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        EXPECT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), length), 0);
        EXPECT_EQ(::listen(fd, 8), 0);
        EXPECT_EQ(getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length), 0);
        port = ntohs(address.sin_port);
    }
    ~LoopbackListener() { ::close(fd); }
    int Accept() const { return ::accept4(fd, nullptr, nullptr, SOCK_CLOEXEC); }

    int fd;
    UINT port;
};

// A port on which nothing listens (it was free a moment ago).
inline UINT RefusingPort() {
    LoopbackListener probe;
    return probe.port;
}

// The peer's end of a connection: blocking, plain calls.
class Peer {
public:
    explicit Peer(int descriptor = -1) : fd(descriptor) {}
    ~Peer() { Close(); }
    void Write(const std::string& bytes) const {
        ASSERT_EQ(::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL), ssize_t(bytes.size()));
    }
    std::string ReadAvailable() const {
        std::string bytes;
        char buffer[65536];
        ssize_t n;
        while ((n = ::recv(fd, buffer, sizeof buffer, MSG_DONTWAIT)) > 0)
            bytes.append(buffer, size_t(n));
        return bytes;
    }
    // Closes with a reset instead of an orderly end of stream.
    void Reset() {
        linger abort{1, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
        Close();
    }
    void Close() {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }

    int fd;
};

// Connects socket (created here) to a fresh listener; the peer's end is returned.
// The connect notifications are pumped and cleared from the log.
inline void ConnectToPeer(RecordingSocket& socket, Peer& peer, long events = FD_ALL_EVENTS) {
    LoopbackListener listener;
    ASSERT_TRUE(socket.Create(0, SOCK_STREAM, events));
    const BOOL connected = socket.CAsyncSocket::Connect("127.0.0.1", listener.port);
    ASSERT_TRUE(connected || WSAGetLastError() == WSAEWOULDBLOCK);
    peer.fd = listener.Accept();
    ASSERT_GE(peer.fd, 0);
    if (events & FD_CONNECT) {
        ASSERT_TRUE(PumpUntil([&] { return socket.Count(FD_CONNECT) == 1; }));
    }
    if (events & FD_WRITE) {
        ASSERT_TRUE(PumpUntil([&] { return socket.Count(FD_WRITE) == 1; }));
    }
    socket.log.clear();
}

} // namespace platform_test
