#pragma once

// CAsyncSocket and CSocket: TCP sockets whose notifications arrive on the
// user-interface thread through the message loop, as messages of a hidden
// socket window, with Winsock's rules:
//
// - FD_READ comes once, then again only after a Receive (or AsyncSelect) while
//   bytes remain: a handler that reads one frame per notification is called
//   again for the next one; a handler that reads nothing is not called again.
// - AsyncSelect(0) stops every notification, FD_CLOSE included. Selecting again
//   reports what waits at once: FD_READ for waiting bytes, FD_CLOSE for an end
//   of stream that came meanwhile, FD_WRITE when a connected socket can send.
// - End of stream gives exactly one FD_CLOSE, after the bytes before it have
//   been read; error 0 for an orderly close, WSAECONNRESET for a reset. The
//   descriptor is not polled for reading after that.
// - FD_CONNECT comes once per Connect with 0 or the error (WSAECONNREFUSED...);
//   FD_WRITE once after a connect or accept, and again after a Send that would
//   block, once the socket can send.
// - FD_OOB is never reported: Linux sockets are used without urgent data.
//
// Sockets belong to the user-interface thread: create, use and close them there.
// A send never raises SIGPIPE; a send to a reset peer fails with WSAECONNRESET.

#include "platform/CString.h"
#include "platform/net/Winsock.h"

#include <memory>

namespace platform {
class SocketLink;
struct BlockingCall;
} // namespace platform

class CAsyncSocket {
public:
    enum { receives = 0, sends = 1, both = 2 };

    CAsyncSocket();
    virtual ~CAsyncSocket();
    CAsyncSocket(const CAsyncSocket&) = delete;
    CAsyncSocket& operator=(const CAsyncSocket&) = delete;

    SOCKET m_hSocket;
    operator SOCKET() const { return m_hSocket; }

    // A stream socket bound to the port (0: any) and address (null: any), with
    // the events to notify. Only SOCK_STREAM is supported.
    BOOL Create(UINT port = 0, int type = SOCK_STREAM, long events = FD_ALL_EVENTS,
                LPCTSTR address = nullptr);
    // Takes a handle: it becomes non-blocking and the events are selected. A
    // connected handle is reported as connected (FD_WRITE follows).
    BOOL Attach(SOCKET socket, long events = FD_ALL_EVENTS);
    // Gives the handle back as it is (still open, still non-blocking); the
    // object no longer has one and no notification of it is delivered.
    SOCKET Detach();
    // With SO_LINGER {1, n} set, Close waits as Linux close() does: up to n
    // seconds while unsent data remains, although the socket is non-blocking.
    // With nothing unsent it returns at once.
    virtual void Close();

    // Starts connecting to a dotted address or a host name (resolved here by
    // getaddrinfo, which blocks while the name service answers; a dotted address
    // never blocks). Returns FALSE with WSAEWOULDBLOCK while the connect runs;
    // FD_CONNECT reports the outcome. A name that cannot be resolved fails at
    // once with WSAHOST_NOT_FOUND.
    BOOL Connect(LPCTSTR host, UINT port);
    BOOL Listen(int backlog = 5);
    // The accepted socket is attached to connected with this socket's events.
    virtual BOOL Accept(CAsyncSocket& connected);
    BOOL ShutDown(int how = sends);

    // Send and Receive never block; SOCKET_ERROR with WSAEWOULDBLOCK when they
    // would. Receive returns 0 at the end of the stream.
    virtual int Send(const void* buffer, int length, int flags = 0);
    virtual int Receive(void* buffer, int length, int flags = 0);

    // Selects the events to notify (0: none).
    BOOL AsyncSelect(long events = FD_ALL_EVENTS);

    BOOL GetSockName(CString& address, UINT& port);
    BOOL SetSockOpt(int option, const void* value, int length, int level = SOL_SOCKET);
    BOOL GetSockOpt(int option, void* value, int* length, int level = SOL_SOCKET);
    // FIONREAD: bytes waiting. FIONBIO: refused (WSAEINVAL) while events are
    // selected, as the socket must stay non-blocking for its notifications.
    BOOL IOCtl(long command, DWORD* argument);

    static int GetLastError() { return WSAGetLastError(); }

protected:
    virtual void OnReceive(int errorCode);
    virtual void OnSend(int errorCode);
    virtual void OnOutOfBandData(int errorCode);
    virtual void OnAccept(int errorCode);
    virtual void OnConnect(int errorCode);
    virtual void OnClose(int errorCode);

    // The notification state of the handle; null without one.
    platform::SocketLink* Link() const { return m_link.get(); }

private:
    friend class platform::SocketLink;
    // An accepted descriptor is connected whatever its peer did meanwhile.
    BOOL AttachDescriptor(int fd, long events, bool accepted = false);
    void DropLink(bool objectGone);

    std::unique_ptr<platform::SocketLink> m_link;
};

// A socket whose Connect, Send and Receive wait until done, pumping messages
// meanwhile, so timers, input and other sockets go on. While a call waits, this
// socket's own notifications are held and delivered after it returns: a frame
// sent from a handler never has its bytes interleaved with another. A second
// blocking call on the same socket from inside the wait fails with
// WSAEINPROGRESS. A WM_QUIT ends the wait with WSAEINTR (the quit is posted
// again for the outer loop); closing or deleting the socket from inside the
// wait ends it with WSAENOTSOCK.
class CSocket : public CAsyncSocket {
public:
    CSocket() = default;

    // Connects, waiting for the outcome: TRUE when connected.
    BOOL Connect(LPCTSTR host, UINT port);
    // Sends the whole buffer; returns length, or SOCKET_ERROR.
    int Send(const void* buffer, int length, int flags = 0) override;
    // Waits for bytes; returns what came (0 at the end of the stream).
    int Receive(void* buffer, int length, int flags = 0) override;

private:
    bool BeginCall(platform::BlockingCall& call);
};
