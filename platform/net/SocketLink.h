#pragma once

// The notification state of one socket handle: the events it selected, which
// notifications Winsock would have re-enabled, the descriptor watch of the
// message loop, and delivery through the hidden socket window. Used by the
// socket files only.
//
// A watch callback never calls the socket's handlers: it posts a notification
// to the socket window and narrows the watch, so the handlers run from the
// message loop and may pump (a reply wait inside OnReceive gets its reply).

#include "platform/net/Socket.h"
#include "platform/system/EventLoop.h"

#include <utility>
#include <vector>

namespace platform {

// A blocking CSocket call in progress, kept on the caller's stack.
struct BlockingCall {
    long wakeOn = 0;  // the events that end a wait
    long arrived = 0; // which of them came during the current wait
    int error = 0;    // the error that came with the last of them
    // The socket's other notifications, delivered once the call returns.
    std::vector<std::pair<long, int>> held;
    SocketLink* link = nullptr;
    bool socketGone = false; // closed or detached during the call
    bool objectGone = false; // the socket object was destroyed during the call
};

class SocketLink {
public:
    enum class Phase { kIdle, kConnecting, kConnected, kListening };

    SocketLink(CAsyncSocket* owner, int fd, long events, Phase phase);
    ~SocketLink();
    SocketLink(const SocketLink&) = delete;
    SocketLink& operator=(const SocketLink&) = delete;

    int Fd() const { return m_fd; }
    Phase GetPhase() const { return m_phase; }
    long Events() const { return m_events; }

    // AsyncSelect: what waits is reported at once.
    void Select(long events);
    void ConnectStarted();
    // The outcome of a connect, reported through FD_CONNECT.
    void ConnectFinished(int error);
    void ListenStarted();
    // After a recv: FD_READ is enabled again. error is the Winsock code of a
    // failed recv; endOfStream when it returned 0 for a non-empty buffer.
    void ReceiveTried(int error, bool endOfStream);
    void SendWouldBlock();
    // After an accept: FD_ACCEPT is enabled again. error is the Winsock code
    // of a failed accept; out of descriptors, the listener rests a while
    // instead of being reported again at once with the connection still queued.
    void AcceptTried(int error = 0);

    BlockingCall* Blocking() const { return m_blocking; }
    void BeginBlocking(BlockingCall* call);
    // Ends the call and delivers the notifications it held back.
    void EndBlocking();

    // Delivers a notification taken from the queue.
    static void Dispatch(uint64_t serial, long event, int error);
    // Wakes a loop that waits for messages; delivers nothing.
    static void PostWake();
    // How long a listener rests when descriptors ran out.
    static constexpr UINT kAcceptRestMs = 500;
    // Ends the rest of every resting listener (the socket window's timer).
    static void ResumeResting();

private:
    void OnReady(uint32_t ready);
    void ProbeRead();
    void DataWaiting();
    void NoteEndOfStream(int error);
    void PostCloseIfDue();
    void Post(long event, int error);
    void Deliver(long event, int error);
    bool Wants(long event) const;
    uint32_t WantedFdEvents() const;
    void UpdateWatch();

    CAsyncSocket* m_owner;
    int m_fd;
    uint64_t m_serial;
    WatchId m_watch = 0;
    long m_events = 0;
    Phase m_phase;
    // Winsock's re-enabling: a notification comes once, then again only after
    // the call that re-enables it (Receive, Send that would block, Accept,
    // AsyncSelect).
    bool m_readEnabled = true;
    bool m_writeEnabled = false;
    bool m_acceptEnabled = true;
    bool m_acceptResting = false; // out of descriptors: not watched until the timer
    bool m_shortageLogged = false;
    bool m_endOfStream = false;
    int m_closeError = 0;
    bool m_closeReported = false;
    long m_posted = 0; // posted or held, not yet delivered
    BlockingCall* m_blocking = nullptr;
};

} // namespace platform
