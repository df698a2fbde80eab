#include "platform/net/PendingConnect.h"

#include "platform/net/SocketCalls.h"
#include "platform/net/SocketLink.h"

#include <cerrno>
#include <poll.h>
#include <unistd.h>

namespace platform {

PendingConnect::State PendingConnect::Start(LPCSTR host, UINT port) {
    Abandon();
    m_error = 0;
    sockaddr_in remote;
    const int resolved = host && *host ? ResolveIPv4(host, port, &remote) : WSAHOST_NOT_FOUND;
    if (resolved) {
        m_error = resolved;
        return m_state;
    }
    m_fd = NewStreamDescriptor();
    if (m_fd < 0) {
        m_error = WSAGetLastError();
        return m_state;
    }
    m_state = kRunning;
    if (::connect(m_fd, reinterpret_cast<sockaddr*>(&remote), sizeof remote) == 0) {
        Finish(0);
    } else if (errno != EINPROGRESS) {
        Finish(WinsockErrorFromErrno(errno));
    } else {
        m_watch = WatchFd(m_fd, kFdWritable, [this](int, uint32_t) {
            StopWatching();
            Poll();
            SocketLink::PostWake();
        });
    }
    return m_state;
}

PendingConnect::State PendingConnect::Poll() {
    if (m_state != kRunning)
        return m_state;
    pollfd check{m_fd, POLLOUT, 0};
    if (::poll(&check, 1, 0) > 0)
        Finish(PendingSocketError(m_fd));
    return m_state;
}

SOCKET PendingConnect::TakeHandle() {
    if (m_state != kConnected || m_fd < 0)
        return INVALID_SOCKET;
    const SOCKET handle = SOCKET(m_fd);
    m_fd = -1;
    return handle;
}

void PendingConnect::Abandon() {
    StopWatching();
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    if (m_state == kRunning)
        m_error = WSAEINTR;
    m_state = kFailed;
}

void PendingConnect::Finish(int error) {
    StopWatching();
    m_error = error;
    m_state = error ? kFailed : kConnected;
    if (error) {
        ::close(m_fd);
        m_fd = -1;
    }
}

void PendingConnect::StopWatching() {
    if (m_watch)
        UnwatchFd(m_watch);
    m_watch = 0;
}

} // namespace platform
