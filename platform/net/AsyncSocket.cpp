// CAsyncSocket: the calls on the handle. Notifications live in SocketLink.

#include "platform/net/Socket.h"

#include "platform/net/SocketCalls.h"
#include "platform/net/SocketLink.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

using platform::SocketLink;

namespace {

BOOL Fail(int error) {
    WSASetLastError(error);
    return FALSE;
}

BOOL FailFromErrno() {
    return Fail(platform::WinsockErrorFromErrno(errno));
}

int SocketError(int error) {
    WSASetLastError(error);
    return SOCKET_ERROR;
}

} // namespace

CAsyncSocket::CAsyncSocket() : m_hSocket(INVALID_SOCKET) {}

CAsyncSocket::~CAsyncSocket() {
    if (m_hSocket == INVALID_SOCKET)
        return;
    DropLink(true);
    ::close(int(m_hSocket));
    m_hSocket = INVALID_SOCKET;
}

void CAsyncSocket::DropLink(bool objectGone) {
    if (m_link && objectGone && m_link->Blocking())
        m_link->Blocking()->objectGone = true;
    m_link.reset();
}

BOOL CAsyncSocket::AttachDescriptor(int fd, long events, bool accepted) {
    SocketLink::Phase phase = SocketLink::Phase::kIdle;
    int listening = 0;
    socklen_t length = sizeof listening;
    sockaddr_in peer{};
    socklen_t peerLength = sizeof peer;
    // A peer that reset before the accept leaves a socket getpeername calls
    // unconnected; it is still a connection, whose first event is the reset.
    if (accepted)
        phase = SocketLink::Phase::kConnected;
    else if (getsockopt(fd, SOL_SOCKET, SO_ACCEPTCONN, &listening, &length) == 0 && listening)
        phase = SocketLink::Phase::kListening;
    else if (getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &peerLength) == 0)
        phase = SocketLink::Phase::kConnected;
    m_hSocket = SOCKET(fd);
    m_link = std::make_unique<SocketLink>(this, fd, events, phase);
    return TRUE;
}

BOOL CAsyncSocket::Create(UINT port, int type, long events, LPCTSTR address) {
    if (m_hSocket != INVALID_SOCKET)
        return Fail(WSAEINVAL);
    if (type != SOCK_STREAM)
        return Fail(WSAESOCKTNOSUPPORT);
    sockaddr_in local;
    if (int error = platform::ResolveIPv4(address, port, &local))
        return Fail(error);
    const int fd = platform::NewStreamDescriptor();
    if (fd < 0)
        return FALSE;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
        const int error = platform::WinsockErrorFromErrno(errno);
        ::close(fd);
        return Fail(error);
    }
    return AttachDescriptor(fd, events);
}

BOOL CAsyncSocket::Attach(SOCKET socket, long events) {
    if (m_hSocket != INVALID_SOCKET)
        return Fail(WSAEINVAL);
    if (socket == INVALID_SOCKET)
        return Fail(WSAENOTSOCK);
    const int fd = int(socket);
    int type = 0;
    socklen_t length = sizeof type;
    if (getsockopt(fd, SOL_SOCKET, SO_TYPE, &type, &length) != 0)
        return FailFromErrno();
    if (type != SOCK_STREAM)
        return Fail(WSAESOCKTNOSUPPORT);
    // Selecting events makes a Winsock handle non-blocking; so here.
    const int flags = fcntl(fd, F_GETFL);
    if (flags < 0 || fcntl(fd, F_SETFL, flags | O_NONBLOCK) != 0)
        return FailFromErrno();
    return AttachDescriptor(fd, events);
}

SOCKET CAsyncSocket::Detach() {
    const SOCKET socket = m_hSocket;
    DropLink(false);
    m_hSocket = INVALID_SOCKET;
    return socket;
}

void CAsyncSocket::Close() {
    if (m_hSocket == INVALID_SOCKET)
        return;
    DropLink(false);
    // With SO_LINGER on, Linux waits here while unsent data remains.
    ::close(int(m_hSocket));
    m_hSocket = INVALID_SOCKET;
}

BOOL CAsyncSocket::Connect(LPCTSTR host, UINT port) {
    if (!m_link)
        return Fail(WSAENOTSOCK);
    switch (m_link->GetPhase()) {
    case SocketLink::Phase::kConnected:
        return Fail(WSAEISCONN);
    case SocketLink::Phase::kConnecting:
        return Fail(WSAEALREADY);
    case SocketLink::Phase::kListening:
        return Fail(WSAEINVAL);
    case SocketLink::Phase::kIdle:
        break;
    }
    sockaddr_in remote;
    if (!host || !*host)
        return Fail(WSAHOST_NOT_FOUND);
    if (int error = platform::ResolveIPv4(host, port, &remote))
        return Fail(error);
    if (::connect(m_link->Fd(), reinterpret_cast<sockaddr*>(&remote), sizeof remote) == 0) {
        m_link->ConnectFinished(0);
        return TRUE;
    }
    const int error = platform::WinsockErrorFromErrno(errno);
    switch (error) {
    case WSAEINPROGRESS:
        m_link->ConnectStarted();
        return Fail(WSAEWOULDBLOCK);
    case WSAECONNREFUSED:
    case WSAENETUNREACH:
    case WSAEHOSTUNREACH:
    case WSAETIMEDOUT:
        // Loopback can refuse at once; Winsock reports that through FD_CONNECT.
        m_link->ConnectFinished(error);
        return Fail(WSAEWOULDBLOCK);
    default:
        return Fail(error);
    }
}

BOOL CAsyncSocket::Listen(int backlog) {
    if (!m_link)
        return Fail(WSAENOTSOCK);
    if (::listen(m_link->Fd(), backlog) != 0)
        return FailFromErrno();
    m_link->ListenStarted();
    return TRUE;
}

BOOL CAsyncSocket::Accept(CAsyncSocket& connected) {
    if (!m_link)
        return Fail(WSAENOTSOCK);
    if (connected.m_hSocket != INVALID_SOCKET)
        return Fail(WSAEINVAL);
    const int fd = ::accept4(m_link->Fd(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    const int error = fd < 0 ? platform::WinsockErrorFromErrno(errno) : 0;
    m_link->AcceptTried(error);
    if (fd < 0)
        return Fail(error);
    return connected.AttachDescriptor(fd, m_link->Events(), true);
}

BOOL CAsyncSocket::ShutDown(int how) {
    if (!m_link)
        return Fail(WSAENOTSOCK);
    const int mode = how == receives ? SHUT_RD : how == sends ? SHUT_WR : SHUT_RDWR;
    return ::shutdown(m_link->Fd(), mode) == 0 ? TRUE : FailFromErrno();
}

int CAsyncSocket::Send(const void* buffer, int length, int flags) {
    if (!m_link)
        return SocketError(WSAENOTSOCK);
    if (length < 0 || (!buffer && length > 0))
        return SocketError(WSAEFAULT);
    const ssize_t sent = ::send(m_link->Fd(), buffer, size_t(length), flags | MSG_NOSIGNAL);
    if (sent >= 0)
        return int(sent);
    const int error = platform::WinsockErrorFromErrno(errno);
    if (error == WSAEWOULDBLOCK)
        m_link->SendWouldBlock();
    return SocketError(error);
}

int CAsyncSocket::Receive(void* buffer, int length, int flags) {
    if (!m_link)
        return SocketError(WSAENOTSOCK);
    if (length < 0 || (!buffer && length > 0))
        return SocketError(WSAEFAULT);
    const ssize_t received = ::recv(m_link->Fd(), buffer, size_t(length), flags);
    const int error = received < 0 ? platform::WinsockErrorFromErrno(errno) : 0;
    m_link->ReceiveTried(error, received == 0 && length > 0);
    if (received >= 0)
        return int(received);
    return SocketError(error);
}

BOOL CAsyncSocket::AsyncSelect(long events) {
    if (!m_link)
        return Fail(WSAENOTSOCK);
    m_link->Select(events);
    return TRUE;
}

BOOL CAsyncSocket::GetSockName(CString& address, UINT& port) {
    if (!m_link)
        return Fail(WSAENOTSOCK);
    sockaddr_in local{};
    socklen_t length = sizeof local;
    if (getsockname(m_link->Fd(), reinterpret_cast<sockaddr*>(&local), &length) != 0)
        return FailFromErrno();
    char text[INET_ADDRSTRLEN] = "";
    inet_ntop(AF_INET, &local.sin_addr, text, sizeof text);
    address = text;
    port = ntohs(local.sin_port);
    return TRUE;
}

BOOL CAsyncSocket::SetSockOpt(int option, const void* value, int length, int level) {
    if (!m_link)
        return Fail(WSAENOTSOCK);
    if (length < 0)
        return Fail(WSAEFAULT);
    if (::setsockopt(m_link->Fd(), level, option, value, socklen_t(length)) != 0)
        return FailFromErrno();
    return TRUE;
}

BOOL CAsyncSocket::GetSockOpt(int option, void* value, int* length, int level) {
    if (!m_link)
        return Fail(WSAENOTSOCK);
    if (!length || *length < 0)
        return Fail(WSAEFAULT);
    socklen_t size = socklen_t(*length);
    if (::getsockopt(m_link->Fd(), level, option, value, &size) != 0)
        return FailFromErrno();
    *length = int(size);
    return TRUE;
}

BOOL CAsyncSocket::IOCtl(long command, DWORD* argument) {
    if (!m_link)
        return Fail(WSAENOTSOCK);
    if (!argument)
        return Fail(WSAEFAULT);
    if (command == long(FIONBIO) && m_link->Events() != 0)
        return Fail(WSAEINVAL);
    u_long value = *argument;
    if (ioctlsocket(m_hSocket, command, &value) != 0)
        return FALSE;
    *argument = DWORD(value);
    return TRUE;
}

void CAsyncSocket::OnReceive(int) {}
void CAsyncSocket::OnSend(int) {}
void CAsyncSocket::OnOutOfBandData(int) {}
void CAsyncSocket::OnAccept(int) {}
void CAsyncSocket::OnConnect(int) {}
void CAsyncSocket::OnClose(int) {}
