#include "platform/net/SocketLink.h"

#include "platform/net/SocketCalls.h"
#include "platform/window/Window.h"

#include <cerrno>
#include <cstdio>
#include <unordered_map>

namespace platform {

namespace {

// The socket window's one private message: wParam the socket's serial number,
// lParam MAKELPARAM(event, error). Serials are never reused, so a notification
// of a closed socket finds nobody even when its descriptor number was reused.
constexpr UINT kSocketNotify = WM_USER + 0x373;
constexpr char kSocketWindowClass[] = "PlatformSocketWindow";
constexpr UINT_PTR kAcceptRestTimer = 1;

std::unordered_map<uint64_t, SocketLink*>& Links() {
    static auto* links = new std::unordered_map<uint64_t, SocketLink*>;
    return *links;
}

uint64_t g_lastSerial = 0;
HWND g_socketWindow = nullptr;

LRESULT CALLBACK SocketWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == kAcceptRestTimer) {
        KillTimer(hwnd, kAcceptRestTimer);
        SocketLink::ResumeResting();
        return 0;
    }
    if (message != kSocketNotify)
        return DefWindowProc(hwnd, message, wParam, lParam);
    SocketLink::Dispatch(uint64_t(wParam), LOWORD(lParam), HIWORD(lParam));
    return 0;
}

HWND SocketWindow() {
    if (g_socketWindow && IsWindow(g_socketWindow))
        return g_socketWindow;
    static bool registered = false;
    if (!registered) {
        WNDCLASS wc{};
        wc.lpfnWndProc = SocketWindowProc;
        wc.lpszClassName = kSocketWindowClass;
        registered = RegisterClass(&wc) != FALSE;
    }
    // Hidden and never shown: a display backend has nothing to draw for it.
    g_socketWindow = CreateWindowEx(0, kSocketWindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr,
                                    nullptr, nullptr, nullptr);
    return g_socketWindow;
}

} // namespace

SocketLink::SocketLink(CAsyncSocket* owner, int fd, long events, Phase phase)
    : m_owner(owner), m_fd(fd), m_serial(++g_lastSerial), m_phase(phase) {
    Links()[m_serial] = this;
    m_watch = WatchFd(fd, 0, [this](int, uint32_t ready) { OnReady(ready); });
    SocketWindow(); // made now, on the thread that owns the sockets
    Select(events);
}

SocketLink::~SocketLink() {
    UnwatchFd(m_watch);
    Links().erase(m_serial);
    if (m_blocking)
        m_blocking->socketGone = true;
}

void SocketLink::Select(long events) {
    m_events = events;
    if (!(m_posted & FD_READ))
        m_readEnabled = true;
    if (m_phase == Phase::kConnected && !(m_posted & FD_WRITE))
        m_writeEnabled = true;
    if (!(m_posted & FD_ACCEPT))
        m_acceptEnabled = true;
    PostCloseIfDue();
    UpdateWatch();
}

void SocketLink::ConnectStarted() {
    m_phase = Phase::kConnecting;
    UpdateWatch();
}

void SocketLink::ConnectFinished(int error) {
    m_phase = error ? Phase::kIdle : Phase::kConnected;
    if (!error) {
        m_readEnabled = true;
        m_writeEnabled = true;
    }
    if (Wants(FD_CONNECT))
        Post(FD_CONNECT, error);
    UpdateWatch();
}

void SocketLink::ListenStarted() {
    m_phase = Phase::kListening;
    AcceptTried();
}

void SocketLink::ReceiveTried(int error, bool endOfStream) {
    if (!(m_posted & FD_READ))
        m_readEnabled = true;
    if (m_phase == Phase::kConnected && !m_endOfStream) {
        if (endOfStream)
            NoteEndOfStream(0);
        else if (error && error != WSAEWOULDBLOCK && error != WSAEINTR)
            NoteEndOfStream(error);
    }
    UpdateWatch();
}

void SocketLink::SendWouldBlock() {
    if (!(m_posted & FD_WRITE))
        m_writeEnabled = true;
    UpdateWatch();
}

void SocketLink::AcceptTried(int error) {
    if (!(m_posted & FD_ACCEPT))
        m_acceptEnabled = true;
    if (error == WSAEMFILE || error == WSAENOBUFS) {
        // The connection stays queued: watching now would report it again and
        // again while nothing can be accepted. Rest, then try again.
        if (!m_shortageLogged)
            fprintf(stderr, "socket: cannot accept (error %d): listener rests %u ms at a time\n",
                    error, kAcceptRestMs);
        m_shortageLogged = true;
        m_acceptResting = true;
        SetTimer(SocketWindow(), kAcceptRestTimer, kAcceptRestMs, nullptr);
    } else if (error == 0) {
        m_shortageLogged = false;
    }
    UpdateWatch();
}

void SocketLink::ResumeResting() {
    for (const auto& [serial, link] : Links()) {
        if (link->m_acceptResting) {
            link->m_acceptResting = false;
            link->UpdateWatch();
        }
    }
}

void SocketLink::BeginBlocking(BlockingCall* call) {
    m_blocking = call;
    call->link = this;
    UpdateWatch();
}

void SocketLink::EndBlocking() {
    if (!m_blocking)
        return;
    std::vector<std::pair<long, int>> held = std::move(m_blocking->held);
    m_blocking = nullptr;
    // Still marked as posted: they go to the back of the queue as they are.
    for (const auto& [event, error] : held)
        PostMessage(SocketWindow(), kSocketNotify, WPARAM(m_serial), MAKELPARAM(event, error));
    UpdateWatch();
}

void SocketLink::Dispatch(uint64_t serial, long event, int error) {
    auto it = Links().find(serial);
    if (it != Links().end())
        it->second->Deliver(event, error);
}

void SocketLink::PostWake() {
    PostMessage(SocketWindow(), kSocketNotify, 0, 0);
}

void SocketLink::OnReady(uint32_t ready) {
    const uint32_t watched = WantedFdEvents();
    const bool trouble = (ready & (kFdHangup | kFdError)) != 0;
    switch (m_phase) {
    case Phase::kConnecting:
        ConnectFinished(PendingSocketError(m_fd));
        return;
    case Phase::kListening:
        if ((watched & kFdReadable) && (ready & kFdReadable)) {
            m_acceptEnabled = false;
            Post(FD_ACCEPT, 0);
        }
        break;
    case Phase::kConnected:
        if ((watched & kFdReadable) && ((ready & kFdReadable) || trouble))
            ProbeRead();
        if ((watched & kFdWritable) && ((ready & kFdWritable) || trouble)) {
            // After a reset the next send reports the error.
            m_writeEnabled = false;
            Post(FD_WRITE, 0);
        }
        break;
    case Phase::kIdle:
        break;
    }
    UpdateWatch();
}

// Readable means bytes, or the end of the stream once the bytes are read.
void SocketLink::ProbeRead() {
    int waiting = 0;
    if (ioctl(m_fd, FIONREAD, &waiting) == 0 && waiting > 0) {
        DataWaiting();
        return;
    }
    char byte;
    const ssize_t peeked = recv(m_fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT);
    if (peeked > 0)
        DataWaiting();
    else if (peeked == 0)
        NoteEndOfStream(0);
    else if (errno != EAGAIN && errno != EINTR)
        NoteEndOfStream(WinsockErrorFromErrno(errno));
}

void SocketLink::DataWaiting() {
    // Paused until a Receive or AsyncSelect, even when FD_READ is not selected,
    // so waiting bytes do not keep the loop busy.
    m_readEnabled = false;
    if (Wants(FD_READ))
        Post(FD_READ, 0);
}

void SocketLink::NoteEndOfStream(int error) {
    m_endOfStream = true;
    m_closeError = error;
    PostCloseIfDue();
}

void SocketLink::PostCloseIfDue() {
    if (m_endOfStream && !m_closeReported && !(m_posted & FD_CLOSE) && Wants(FD_CLOSE))
        Post(FD_CLOSE, m_closeError);
}

void SocketLink::Post(long event, int error) {
    m_posted |= event;
    PostMessage(SocketWindow(), kSocketNotify, WPARAM(m_serial), MAKELPARAM(event, error));
}

void SocketLink::Deliver(long event, int error) {
    if (m_blocking) {
        const bool wakes = (event & m_blocking->wakeOn) != 0;
        if (wakes) {
            m_blocking->arrived |= event;
            m_blocking->error = error;
        }
        // The call consumes what it waited for; FD_CLOSE is still the handler's.
        if (wakes && event != FD_CLOSE) {
            m_posted &= ~event;
            UpdateWatch();
        } else {
            m_blocking->held.emplace_back(event, error);
        }
        return;
    }
    m_posted &= ~event;
    if (!(m_events & event)) {
        // Deselected meanwhile. An end of stream stays due and is reported when
        // FD_CLOSE is selected again; the others come back with AsyncSelect.
        UpdateWatch();
        return;
    }
    // The handler may close or delete the socket: nothing here is touched after.
    CAsyncSocket* owner = m_owner;
    switch (event) {
    case FD_READ:
        owner->OnReceive(error);
        break;
    case FD_WRITE:
        owner->OnSend(error);
        break;
    case FD_OOB:
        owner->OnOutOfBandData(error);
        break;
    case FD_ACCEPT:
        owner->OnAccept(error);
        break;
    case FD_CONNECT:
        owner->OnConnect(error);
        break;
    case FD_CLOSE:
        m_closeReported = true;
        owner->OnClose(error);
        break;
    default:
        break;
    }
}

bool SocketLink::Wants(long event) const {
    return (m_events & event) || (m_blocking && (m_blocking->wakeOn & event));
}

uint32_t SocketLink::WantedFdEvents() const {
    switch (m_phase) {
    case Phase::kConnecting:
        return kFdWritable;
    case Phase::kListening:
        return m_acceptEnabled && !m_acceptResting && Wants(FD_ACCEPT) ? uint32_t(kFdReadable) : 0u;
    case Phase::kConnected: {
        uint32_t wanted = 0;
        if (!m_endOfStream && m_readEnabled && (Wants(FD_READ) || Wants(FD_CLOSE)))
            wanted |= kFdReadable;
        if (m_writeEnabled && Wants(FD_WRITE))
            wanted |= kFdWritable;
        return wanted;
    }
    case Phase::kIdle:
        break;
    }
    return 0;
}

void SocketLink::UpdateWatch() {
    SetFdEvents(m_watch, WantedFdEvents());
}

} // namespace platform
