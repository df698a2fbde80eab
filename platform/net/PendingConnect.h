#pragma once

// A TCP connect that runs while the caller's wait loop pumps messages: what a
// connect thread would do, without a thread to kill. The caller polls the state
// at each step of its wait and takes the handle once connected:
//
//   platform::PendingConnect attempt;
//   auto state = attempt.Start(host, port);
//   while (state == platform::PendingConnect::kRunning) {
//       if (!WaitStep(...)) { attempt.Abandon(); ...fail }
//       state = attempt.Poll();
//   }
//   if (state == platform::PendingConnect::kConnected) socket.Attach(attempt.TakeHandle());
//
// When the outcome arrives while the loop pumps, a message is posted so that a
// loop blocked in GetMessage wakes and polls.

#include "platform/net/Winsock.h"
#include "platform/system/EventLoop.h"

namespace platform {

class PendingConnect {
public:
    // The values of a connect state: 0 failed, 1 running, 2 connected.
    enum State { kFailed = 0, kRunning = 1, kConnected = 2 };

    PendingConnect() = default;
    ~PendingConnect() { Abandon(); }
    PendingConnect(const PendingConnect&) = delete;
    PendingConnect& operator=(const PendingConnect&) = delete;

    // Starts connecting to host (a dotted address, or a name resolved here by
    // getaddrinfo, which blocks while the name service answers) and port. An
    // attempt still running is abandoned first.
    State Start(LPCSTR host, UINT port);
    // Looks at the attempt without blocking.
    State Poll();
    // The Winsock code of a failed attempt (WSAECONNREFUSED, WSAHOST_NOT_FOUND...).
    int Error() const { return m_error; }
    // The connected handle, now the caller's; INVALID_SOCKET when there is none.
    SOCKET TakeHandle();
    // Stops a running attempt and closes its socket; the state becomes failed.
    void Abandon();

private:
    void Finish(int error);
    void StopWatching();

    State m_state = kFailed;
    int m_error = 0;
    int m_fd = -1;
    WatchId m_watch = 0;
};

} // namespace platform
