#include "tests/support/SocketTestKit.h"

#include "platform/net/PendingConnect.h"

#include <cstring>
#include <ctime>
#include <memory>

using namespace platform_test;

namespace {

class AsyncSocketTest : public ::testing::Test {
protected:
    void SetUp() override { DrainMessages(); }
    void TearDown() override { DrainMessages(); }
};

// Frames of a 4-byte length and a payload, read the way a framing socket reads
// them: one Receive per notification, never past the end of the current frame.
class FrameReader {
public:
    explicit FrameReader(RecordingSocket& socket) : m_socket(socket) {
        socket.onReceive = [this](int) { ReadOnce(); };
    }
    std::vector<std::string> frames;
    int receives = 0;

private:
    void ReadOnce() {
        size_t want = 4;
        if (m_held.size() >= 4) {
            uint32_t length;
            std::memcpy(&length, m_held.data(), 4);
            want = 4 + length;
        }
        char buffer[256];
        const int asked = int(std::min(want - m_held.size(), sizeof buffer));
        const int got = m_socket.Receive(buffer, asked);
        ++receives;
        ASSERT_GT(got, 0);
        m_held.append(buffer, size_t(got));
        if (m_held.size() == want && want > 4) {
            frames.push_back(m_held.substr(4));
            m_held.clear();
        }
    }

    RecordingSocket& m_socket;
    std::string m_held;
};

std::string Frame(const std::string& payload) {
    const uint32_t length = uint32_t(payload.size());
    return std::string(reinterpret_cast<const char*>(&length), 4) + payload;
}

TEST_F(AsyncSocketTest, ConnectRefusedIsReportedOnceThroughOnConnect) {
    RecordingSocket socket;
    ASSERT_TRUE(socket.Create());
    EXPECT_FALSE(socket.CAsyncSocket::Connect("127.0.0.1", RefusingPort()));
    EXPECT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
    ASSERT_TRUE(PumpUntil([&] { return !socket.log.empty(); }));
    DrainMessages();
    EXPECT_EQ(socket.log, (std::vector<Notification>{{FD_CONNECT, WSAECONNREFUSED}}));
}

// A name is resolved before connecting; the outcome comes once, then FD_WRITE.
TEST_F(AsyncSocketTest, ConnectByNameReportsSuccessThenOneWriteNotification) {
    LoopbackListener listener;
    RecordingSocket socket;
    ASSERT_TRUE(socket.Create());
    socket.CAsyncSocket::Connect("localhost", listener.port);
    Peer peer(listener.Accept());
    ASSERT_TRUE(PumpUntil([&] { return socket.log.size() == 2; }));
    DrainMessages();
    EXPECT_EQ(socket.log, (std::vector<Notification>{{FD_CONNECT, 0}, {FD_WRITE, 0}}));
    EXPECT_EQ(socket.CAsyncSocket::Connect("127.0.0.1", listener.port), FALSE);
    EXPECT_EQ(WSAGetLastError(), WSAEISCONN);
}

TEST_F(AsyncSocketTest, BadTargetsFailAtOnce) {
    RecordingSocket nameless;
    ASSERT_TRUE(nameless.Create());
    EXPECT_FALSE(nameless.CAsyncSocket::Connect("", 80));
    EXPECT_EQ(WSAGetLastError(), WSAHOST_NOT_FOUND);
    EXPECT_FALSE(nameless.CAsyncSocket::Connect("127.0.0.1", 70000));
    EXPECT_EQ(WSAGetLastError(), WSAEINVAL);
    DrainMessages();
    EXPECT_TRUE(nameless.log.empty());
}

// The peer sends a burst of frames in one write; each arrives through its own
// notifications although the reader never reads past a frame.
TEST_F(AsyncSocketTest, ABurstOfFramesArrivesThroughRepeatedReadNotifications) {
    RecordingSocket socket;
    Peer peer;
    ConnectToPeer(socket, peer);
    FrameReader reader(socket);
    std::string burst;
    for (int i = 0; i < 40; ++i)
        burst += Frame("frame " + std::to_string(i) + std::string(size_t(i * 7), 'x'));
    peer.Write(burst);
    ASSERT_TRUE(PumpUntil([&] { return reader.frames.size() == 40; }));
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(reader.frames[size_t(i)],
                  "frame " + std::to_string(i) + std::string(size_t(i * 7), 'x'));
    EXPECT_EQ(socket.Count(FD_READ), reader.receives); // one Receive per notification
    EXPECT_EQ(socket.Count(FD_CLOSE), 0);
}

// A handler that reads nothing is not called again, and nothing spins; a later
// Receive enables the next notification.
TEST_F(AsyncSocketTest, ReadIsNotReportedAgainUntilTheHandlerReceives) {
    RecordingSocket socket;
    Peer peer;
    ConnectToPeer(socket, peer);
    peer.Write("abcdef");
    ASSERT_TRUE(PumpUntil([&] { return socket.Count(FD_READ) == 1; }));
    peer.Write("ghi");
    Settle();
    EXPECT_EQ(socket.Count(FD_READ), 1);

    char buffer[4];
    ASSERT_EQ(socket.Receive(buffer, 4), 4);
    ASSERT_TRUE(PumpUntil([&] { return socket.Count(FD_READ) == 2; }));
    char rest[16];
    ASSERT_EQ(socket.Receive(rest, sizeof rest), 5);
    EXPECT_EQ(std::string(rest, 5), "efghi");
    DrainMessages();
    EXPECT_EQ(socket.Count(FD_READ), 2);
}

TEST_F(AsyncSocketTest, PeekingLeavesTheBytesAndEnablesTheNextNotification) {
    RecordingSocket socket;
    Peer peer;
    ConnectToPeer(socket, peer);
    peer.Write("xyz");
    ASSERT_TRUE(PumpUntil([&] { return socket.Count(FD_READ) == 1; }));
    char buffer[8];
    ASSERT_EQ(socket.Receive(buffer, 8, MSG_PEEK), 3);
    DWORD waiting = 0;
    ASSERT_TRUE(socket.IOCtl(FIONREAD, &waiting));
    EXPECT_EQ(waiting, 3u);
    ASSERT_TRUE(PumpUntil([&] { return socket.Count(FD_READ) == 2; }));
}

// A handler that waits (as a reply wait inside a frame handler does) gets the
// next notification of its own socket inside that wait.
TEST_F(AsyncSocketTest, AHandlerThatPumpsReceivesTheNextNotificationInside) {
    RecordingSocket socket;
    Peer peer;
    ConnectToPeer(socket, peer);
    std::string order;
    socket.onReceive = [&](int) {
        char byte;
        ASSERT_EQ(socket.Receive(&byte, 1), 1);
        order += byte;
        if (byte == 'a') {
            EXPECT_TRUE(PumpUntil([&] { return order.size() == 2; }));
            order += '.';
        }
    };
    peer.Write("ab");
    ASSERT_TRUE(PumpUntil([&] { return order.size() == 3; }));
    EXPECT_EQ(order, "ab.");
}

// FD_WRITE comes again once a send that would block can go on.
TEST_F(AsyncSocketTest, ASendThatWouldBlockIsFollowedByOneWriteNotification) {
    RecordingSocket socket;
    Peer peer;
    ConnectToPeer(socket, peer);
    const std::string chunk(65536, 'w');
    size_t queued = 0;
    int result;
    while ((result = socket.CAsyncSocket::Send(chunk.data(), int(chunk.size()))) > 0)
        queued += size_t(result);
    ASSERT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
    Settle();
    EXPECT_EQ(socket.Count(FD_WRITE), 0); // nothing can go on yet
    size_t drained = 0;
    ASSERT_TRUE(PumpUntil([&] {
        drained += peer.ReadAvailable().size();
        return socket.Count(FD_WRITE) == 1;
    }));
    Settle();
    EXPECT_EQ(socket.Count(FD_WRITE), 1);
    drained += peer.ReadAvailable().size();
    EXPECT_LE(drained, queued);
}

// The peer closes in the middle of a frame: the bytes before the end come
// first, then exactly one FD_CLOSE, and the socket goes quiet.
TEST_F(AsyncSocketTest, APeerClosingMidFrameGivesOneCloseAfterTheData) {
    RecordingSocket socket;
    Peer peer;
    ConnectToPeer(socket, peer);
    std::string received;
    socket.onReceive = [&](int) {
        char buffer[3];
        const int got = socket.Receive(buffer, 3);
        ASSERT_GT(got, 0);
        received.append(buffer, size_t(got));
    };
    peer.Write(Frame("0123456789").substr(0, 10));
    peer.Close();
    ASSERT_TRUE(PumpUntil([&] { return socket.Count(FD_CLOSE) == 1; }));
    Settle();
    EXPECT_EQ(received, Frame("0123456789").substr(0, 10));
    ASSERT_EQ(socket.log.size(), 5u); // 3 + 3 + 3 + 1 bytes, then the close
    EXPECT_EQ(socket.log.back(), (Notification{FD_CLOSE, 0}));
    EXPECT_EQ(socket.Count(FD_CLOSE), 1);
    char buffer[4];
    EXPECT_EQ(socket.Receive(buffer, 4), 0);
    DrainMessages();
    EXPECT_EQ(socket.Count(FD_CLOSE), 1);
}

TEST_F(AsyncSocketTest, AResetPeerIsReportedAsCloseWithConnectionReset) {
    RecordingSocket socket;
    Peer peer;
    ConnectToPeer(socket, peer);
    peer.Reset();
    ASSERT_TRUE(PumpUntil([&] { return socket.Count(FD_CLOSE) == 1; }));
    EXPECT_EQ(socket.log.back(), (Notification{FD_CLOSE, WSAECONNRESET}));
}

// Selecting nothing silences every notification, the close included; selecting
// again reports at once what waited.
TEST_F(AsyncSocketTest, SelectingAgainReportsWaitingDataAtOnce) {
    RecordingSocket socket;
    Peer peer;
    ConnectToPeer(socket, peer);
    ASSERT_TRUE(socket.AsyncSelect(0));
    peer.Write("waiting");
    Settle();
    EXPECT_TRUE(socket.log.empty());
    ASSERT_TRUE(socket.AsyncSelect(FD_READ | FD_CLOSE));
    MSG msg;
    ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
    DispatchMessage(&msg);
    EXPECT_EQ(socket.log, (std::vector<Notification>{{FD_READ, 0}}));
}

TEST_F(AsyncSocketTest, ACloseWhileDeselectedIsReportedWhenSelectedAgain) {
    RecordingSocket socket;
    Peer peer;
    ConnectToPeer(socket, peer);
    peer.Write("last words");
    ASSERT_TRUE(PumpUntil([&] { return socket.Count(FD_READ) == 1; }));
    ASSERT_TRUE(socket.AsyncSelect(0));
    peer.Close();
    char buffer[64];
    ASSERT_EQ(socket.Receive(buffer, sizeof buffer), 10);
    Settle();
    EXPECT_EQ(socket.Count(FD_CLOSE), 0);
    ASSERT_TRUE(socket.AsyncSelect(FD_ALL_EVENTS));
    ASSERT_TRUE(PumpUntil([&] { return socket.Count(FD_CLOSE) == 1; }));
    DrainMessages();
    EXPECT_EQ(socket.Count(FD_CLOSE), 1);
}

// A send to a peer that reset the connection fails with WSAECONNRESET and does
// not kill the process with SIGPIPE.
TEST_F(AsyncSocketTest, SendingToAResetPeerFailsWithConnectionReset) {
    RecordingSocket socket;
    Peer peer;
    ConnectToPeer(socket, peer);
    peer.Reset();
    ASSERT_TRUE(PumpUntil([&] {
        return socket.CAsyncSocket::Send("x", 1) == SOCKET_ERROR &&
               WSAGetLastError() == WSAECONNRESET;
    }));
    EXPECT_EQ(socket.CAsyncSocket::Send("again", 5), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAECONNRESET);
}

TEST_F(AsyncSocketTest, DetachGivesBackAWorkingHandleAndSilencesTheObject) {
    RecordingSocket socket;
    Peer peer;
    ConnectToPeer(socket, peer);
    const SOCKET handle = socket.Detach();
    ASSERT_NE(handle, INVALID_SOCKET);
    EXPECT_EQ(socket.m_hSocket, INVALID_SOCKET);
    peer.Write("to nobody");
    Settle();
    EXPECT_TRUE(socket.log.empty());
    EXPECT_EQ(::send(int(handle), "hello", 5, MSG_NOSIGNAL), 5);
    ASSERT_TRUE(PumpUntil([&] { return peer.ReadAvailable() == "hello"; }));
    u_long blocking = 0;
    EXPECT_EQ(ioctlsocket(handle, FIONBIO, &blocking), 0);
    EXPECT_EQ(closesocket(handle), 0);
}

TEST_F(AsyncSocketTest, AttachingAConnectedHandleSelectsEveryEvent) {
    LoopbackListener listener;
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(uint16_t(listener.port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    Peer peer(listener.Accept());
    peer.Write("data");

    RecordingSocket socket;
    ASSERT_TRUE(socket.Attach(SOCKET(fd)));
    ASSERT_TRUE(PumpUntil([&] { return socket.log.size() == 2; }));
    EXPECT_EQ(socket.Count(FD_READ), 1);
    EXPECT_EQ(socket.Count(FD_WRITE), 1);
    EXPECT_EQ(socket.Count(FD_CONNECT), 0);
    DWORD blocking = 0;
    EXPECT_FALSE(socket.IOCtl(FIONBIO, &blocking)); // must stay non-blocking while selected
    EXPECT_EQ(WSAGetLastError(), WSAEINVAL);
}

TEST_F(AsyncSocketTest, AListeningSocketAcceptsWithItsOwnEvents) {
    RecordingSocket server, served, client;
    ASSERT_TRUE(server.Create(0, SOCK_STREAM, FD_ACCEPT | FD_READ | FD_CLOSE, "127.0.0.1"));
    ASSERT_TRUE(server.Listen());
    CString address;
    UINT port = 0;
    ASSERT_TRUE(server.GetSockName(address, port));
    EXPECT_EQ(address, "127.0.0.1");
    server.onAccept = [&](int) { EXPECT_TRUE(server.Accept(served)); };
    ASSERT_TRUE(client.Create());
    client.CAsyncSocket::Connect("127.0.0.1", port);
    ASSERT_TRUE(PumpUntil([&] { return served.m_hSocket != INVALID_SOCKET; }));
    ASSERT_TRUE(PumpUntil([&] { return client.Count(FD_WRITE) == 1; }));
    EXPECT_EQ(client.CAsyncSocket::Send("ping", 4), 4);
    ASSERT_TRUE(PumpUntil([&] { return served.Count(FD_READ) == 1; }));
    char buffer[8];
    EXPECT_EQ(served.Receive(buffer, sizeof buffer), 4);
    EXPECT_EQ(served.Count(FD_WRITE), 0); // the listener did not select FD_WRITE
    EXPECT_EQ(server.Count(FD_ACCEPT), 1);
}

TEST_F(AsyncSocketTest, TheLingerOptionReadsBackAndAnIdleCloseEndsAtOnce) {
    RecordingSocket socket;
    Peer peer;
    ConnectToPeer(socket, peer);
    linger wanted{1, 5};
    ASSERT_TRUE(socket.SetSockOpt(SO_LINGER, &wanted, sizeof wanted));
    linger seen{};
    int length = sizeof seen;
    ASSERT_TRUE(socket.GetSockOpt(SO_LINGER, &seen, &length));
    EXPECT_EQ(seen.l_onoff, 1);
    EXPECT_EQ(seen.l_linger, 5);
    // Nothing unsent: the lingering close returns at once and the peer sees the end.
    socket.Close();
    EXPECT_EQ(socket.m_hSocket, INVALID_SOCKET);
    char byte;
    EXPECT_EQ(::recv(peer.fd, &byte, 1, 0), 0);
}

// A notification still queued for a closed socket never reaches the socket that
// gets the same descriptor number next.
TEST_F(AsyncSocketTest, QueuedNotificationsOfAClosedSocketAreDropped) {
    RecordingSocket first;
    Peer peer;
    ConnectToPeer(first, peer);
    peer.Write("stale");
    platform::WaitForEvents(100); // the watch posts FD_READ; nobody dispatches it yet
    const SOCKET old = first.m_hSocket;
    const int filler = ::dup(peer.fd); // holds any lower free number
    first.Close();
    RecordingSocket second;
    ASSERT_TRUE(second.Create());
    ::close(filler);
    ASSERT_EQ(second.m_hSocket, old);
    DrainMessages();
    EXPECT_TRUE(first.log.empty());
    EXPECT_TRUE(second.log.empty());
}

TEST_F(AsyncSocketTest, AHandlerMayDeleteItsSocket) {
    auto* socket = new RecordingSocket;
    Peer peer;
    ConnectToPeer(*socket, peer);
    bool deleted = false;
    socket->onReceive = [&](int) {
        deleted = true; // first: this handler lives in the socket
        delete socket;
    };
    peer.Write("bye");
    ASSERT_TRUE(PumpUntil([&] { return deleted; }));
    DrainMessages();
}

TEST_F(AsyncSocketTest, APendingConnectIsPolledToItsOutcome) {
    platform::PendingConnect refused;
    auto state = refused.Start("127.0.0.1", RefusingPort());
    ASSERT_TRUE(PumpUntil([&] { return (state = refused.Poll()) != refused.kRunning; }));
    EXPECT_EQ(state, refused.kFailed);
    EXPECT_EQ(refused.Error(), WSAECONNREFUSED);
    EXPECT_EQ(refused.TakeHandle(), INVALID_SOCKET);

    platform::PendingConnect unnamed;
    EXPECT_EQ(unnamed.Start("", 80), unnamed.kFailed);
    EXPECT_EQ(unnamed.Error(), WSAHOST_NOT_FOUND);

    LoopbackListener listener;
    platform::PendingConnect attempt;
    state = attempt.Start("127.0.0.1", listener.port);
    Peer peer(listener.Accept());
    // Waiting in GetMessage is enough: the outcome wakes the loop.
    MSG msg;
    while ((state = attempt.Poll()) == attempt.kRunning) {
        ASSERT_TRUE(GetMessage(&msg, nullptr, 0, 0));
        DispatchMessage(&msg);
    }
    ASSERT_EQ(state, attempt.kConnected);
    RecordingSocket socket;
    ASSERT_TRUE(socket.Attach(attempt.TakeHandle()));
    EXPECT_EQ(attempt.TakeHandle(), INVALID_SOCKET);
    peer.Write("hi");
    ASSERT_TRUE(PumpUntil([&] { return socket.Count(FD_READ) == 1; }));
}

double ProcessCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

// On the real clock: sockets with unread bytes, a reported end of stream and a
// writable connection leave the loop asleep until the timer.
TEST_F(AsyncSocketTest, IdleSocketsLeaveTheLoopBlocked) {
    RecordingSocket unread, ended;
    Peer unreadPeer, endedPeer;
    ConnectToPeer(unread, unreadPeer);
    ConnectToPeer(ended, endedPeer);
    unreadPeer.Write("never read");
    endedPeer.Close();
    ASSERT_TRUE(PumpUntil([&] { return unread.Count(FD_READ) == 1 && ended.Count(FD_CLOSE); }));
    const double cpuBefore = ProcessCpuSeconds();
    const UINT_PTR timer = SetTimer(nullptr, 0, 150, nullptr);
    MSG msg;
    ASSERT_TRUE(GetMessage(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, UINT(WM_TIMER));
    KillTimer(nullptr, timer);
    EXPECT_LT(ProcessCpuSeconds() - cpuBefore, 0.03) << "the loop spun over idle sockets";
    EXPECT_EQ(unread.log.size(), 1u);
    EXPECT_EQ(ended.log.size(), 1u);
}

} // namespace
