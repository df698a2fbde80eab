#include "tests/support/MessageLog.h"
#include "tests/support/SocketTestKit.h"

using namespace platform_test;

namespace {

// A client CSocket connected to a server-side socket of the same thread, so
// whatever one side does while the other waits runs in the waiting loop.
class BlockingSocketTest : public ::testing::Test {
protected:
    void SetUp() override {
        DrainMessages();
        // The accepted socket takes the listener's events.
        ASSERT_TRUE(listener.Create(0, SOCK_STREAM, FD_ACCEPT | FD_READ | FD_CLOSE, "127.0.0.1"));
        ASSERT_TRUE(listener.Listen());
        CString address;
        ASSERT_TRUE(listener.GetSockName(address, port));
        listener.onAccept = [this](int) {
            EXPECT_TRUE(listener.Accept(served.m_hSocket == INVALID_SOCKET ? served : other));
        };
        served.onReceive = [this](int) { ReadSome(); };
        ASSERT_TRUE(client.Create());
    }
    void TearDown() override { DrainMessages(); }

    void ConnectClient() {
        ASSERT_TRUE(client.Connect("127.0.0.1", port));
        ASSERT_TRUE(PumpUntil([&] { return served.m_hSocket != INVALID_SOCKET; }));
        // The server reads slowly: a few kilobytes per notification.
        int small = 16 * 1024;
        ASSERT_TRUE(client.SetSockOpt(SO_SNDBUF, &small, sizeof small));
        ASSERT_TRUE(served.SetSockOpt(SO_RCVBUF, &small, sizeof small));
    }

    void ReadSome() {
        char buffer[4096];
        const int got = served.Receive(buffer, sizeof buffer);
        if (got > 0)
            received.append(buffer, size_t(got));
        if (afterServerRead)
            afterServerRead();
    }

    static std::string Pattern(size_t size) {
        std::string bytes(size, '\0');
        for (size_t i = 0; i < size; ++i)
            bytes[i] = char((i * 131 + i / 4099) & 0xFF);
        return bytes;
    }

    RecordingSocket listener, served, client;
    RecordingSocket other; // the server's end of a second connection
    UINT port = 0;
    std::string received;
    std::function<void()> afterServerRead;
};

TEST_F(BlockingSocketTest, ALargeSendCompletesInPartsWhileThePeerReadsSlowly) {
    ConnectClient();
    const std::string payload = Pattern(4 * 1024 * 1024);
    ASSERT_EQ(client.Send(payload.data(), int(payload.size())), int(payload.size()));
    // The send could only finish because the server read inside its wait.
    EXPECT_GT(served.Count(FD_READ), 100);
    ASSERT_TRUE(PumpUntil([&] { return received.size() == payload.size(); }));
    EXPECT_TRUE(received == payload) << "the bytes arrived altered or out of order";
}

// The client's own read notification comes after its send, never inside it, and
// a second blocking send from inside the wait is refused.
TEST_F(BlockingSocketTest, WhileASendWaitsItsOwnNotificationsAreHeld) {
    ConnectClient();
    bool sending = false;
    int readsDuringSend = 0;
    client.onReceive = [&](int) { readsDuringSend += sending; };
    int nestedResult = 0, nestedError = 0;
    afterServerRead = [&] {
        if (nestedResult)
            return;
        EXPECT_EQ(served.CAsyncSocket::Send("answer", 6), 6);
        nestedResult = client.Send("x", 1);
        nestedError = WSAGetLastError();
    };
    const std::string payload = Pattern(1024 * 1024);
    sending = true;
    ASSERT_EQ(client.Send(payload.data(), int(payload.size())), int(payload.size()));
    sending = false;
    EXPECT_EQ(nestedResult, SOCKET_ERROR);
    EXPECT_EQ(nestedError, WSAEINPROGRESS);
    EXPECT_EQ(client.Count(FD_READ), 0);
    ASSERT_TRUE(PumpUntil([&] { return client.Count(FD_READ) == 1; }));
    EXPECT_EQ(readsDuringSend, 0);
    char buffer[16];
    EXPECT_EQ(client.CAsyncSocket::Receive(buffer, sizeof buffer), 6);
    ASSERT_TRUE(PumpUntil([&] { return received.size() == payload.size(); }));
    EXPECT_TRUE(received == payload);
}

// A handler answers a request with a large blocking send of the same socket.
TEST_F(BlockingSocketTest, AHandlerMaySendALargeAnswerOnItsOwnSocket) {
    ConnectClient();
    const std::string answer = Pattern(1024 * 1024);
    int answered = 0;
    client.onReceive = [&](int) {
        char request[8];
        ASSERT_EQ(client.CAsyncSocket::Receive(request, sizeof request), 3);
        answered = client.Send(answer.data(), int(answer.size()));
    };
    EXPECT_EQ(served.CAsyncSocket::Send("ask", 3), 3);
    ASSERT_TRUE(PumpUntil([&] { return received.size() == answer.size(); }));
    EXPECT_EQ(answered, int(answer.size()));
    EXPECT_TRUE(received == answer);
}

// A peer that resets while a send waits ends the send with WSAECONNRESET
// (and no SIGPIPE) instead of leaving it waiting.
TEST_F(BlockingSocketTest, APeerResettingDuringASendEndsItWithConnectionReset) {
    ConnectClient();
    afterServerRead = [&] {
        linger abort{1, 0};
        EXPECT_TRUE(served.SetSockOpt(SO_LINGER, &abort, sizeof abort));
        served.Close();
        afterServerRead = nullptr;
    };
    const std::string payload = Pattern(4 * 1024 * 1024);
    EXPECT_EQ(client.Send(payload.data(), int(payload.size())), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAECONNRESET);
    EXPECT_LT(received.size(), payload.size());
}

TEST_F(BlockingSocketTest, ConnectWaitsForItsOutcome) {
    RecordingSocket refused;
    ASSERT_TRUE(refused.Create());
    EXPECT_FALSE(refused.Connect("127.0.0.1", RefusingPort()));
    EXPECT_EQ(WSAGetLastError(), WSAECONNREFUSED);

    ASSERT_TRUE(client.Connect("127.0.0.1", port));
    DrainMessages();
    // The wait took FD_CONNECT; the write notification that follows is the handler's.
    EXPECT_EQ(client.log, (std::vector<Notification>{{FD_WRITE, 0}}));
    EXPECT_TRUE(refused.log.empty());
}

class BlockingReceiveTest : public BlockingSocketTest {
protected:
    void SetUp() override {
        BlockingSocketTest::SetUp();
        clock.SetAutoAdvance(true);
        ASSERT_TRUE(window.CreateTop(&messages));
    }
    void TearDown() override {
        window.DestroyWindow();
        BlockingSocketTest::TearDown();
    }
    // Runs action from a timer that fires while the client waits.
    void Later(UINT ms, std::function<void()> action) {
        window.hooks[WM_TIMER] = [this, action](WPARAM, LPARAM) {
            window.KillTimer(1);
            action();
            return LRESULT(0);
        };
        window.SetTimer(1, ms);
    }

    platform::ManualClock clock;
    platform::ScopedClock scoped{clock};
    std::vector<Delivered> messages;
    RecordingWnd window;
};

TEST_F(BlockingReceiveTest, ReceiveWaitsPumpingUntilBytesOrTheEndArrive) {
    ConnectClient();
    const uint64_t start = clock.NowMs();
    Later(500, [&] { EXPECT_EQ(served.CAsyncSocket::Send("late", 4), 4); });
    char buffer[16];
    ASSERT_EQ(client.Receive(buffer, sizeof buffer), 4);
    EXPECT_EQ(std::string(buffer, 4), "late");
    EXPECT_EQ(clock.NowMs() - start, 500u); // the timer ran inside the wait

    Later(200, [&] { served.Close(); });
    EXPECT_EQ(client.Receive(buffer, sizeof buffer), 0);
    DrainMessages();
    EXPECT_EQ(client.Count(FD_CLOSE), 1); // delivered once the wait was over
    EXPECT_EQ(client.Count(FD_READ), 0);
}

TEST_F(BlockingReceiveTest, ClosingOrDeletingTheSocketEndsTheWait) {
    ConnectClient();
    Later(100, [&] { client.Close(); });
    char buffer[16];
    EXPECT_EQ(client.Receive(buffer, sizeof buffer), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAENOTSOCK);

    auto* doomed = new RecordingSocket;
    ASSERT_TRUE(doomed->Create());
    ASSERT_TRUE(doomed->Connect("127.0.0.1", port));
    Later(100, [&] { delete doomed; });
    EXPECT_EQ(doomed->Receive(buffer, sizeof buffer), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAENOTSOCK);
}

TEST_F(BlockingReceiveTest, AQuitEndsTheWaitAndReachesTheOuterLoop) {
    ConnectClient();
    Later(100, [] { PostQuitMessage(7); });
    char buffer[16];
    EXPECT_EQ(client.Receive(buffer, sizeof buffer), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEINTR);
    MSG msg;
    ASSERT_TRUE(PeekMessage(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
}

} // namespace
