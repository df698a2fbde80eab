// Accepting under faults: a peer that resets before its connection is
// accepted, and a process that has run out of descriptors.

#include "tests/support/SocketTestKit.h"

#include "platform/system/Clock.h"

#include <sys/resource.h>

using namespace platform_test;

namespace {

class AcceptFaultsTest : public ::testing::Test {
protected:
    void SetUp() override {
        DrainMessages();
        ASSERT_TRUE(server.Create(0, SOCK_STREAM, FD_ACCEPT | FD_READ | FD_CLOSE, "127.0.0.1"));
        ASSERT_TRUE(server.Listen());
        CString address;
        ASSERT_TRUE(server.GetSockName(address, port));
    }
    void TearDown() override { DrainMessages(); }

    // A plain client whose connect completes in the listener's queue.
    int ConnectPlain() const {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(uint16_t(port));
        EXPECT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        return fd;
    }

    // A bounded number of turns of the loop: a listener that spins must not
    // hang the test.
    static void Turns(int count) {
        MSG msg;
        for (int i = 0; i < count; ++i) {
            platform::WaitForEvents(0);
            if (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
                DispatchMessage(&msg);
        }
    }

    platform::ManualClock clock;
    platform::ScopedClock scopedClock{clock};
    RecordingSocket server;
    UINT port = 0;
};

// Holds the descriptor limit at the lowest free number: the next descriptor
// the process makes fails with EMFILE.
class DescriptorsExhausted {
public:
    DescriptorsExhausted() {
        getrlimit(RLIMIT_NOFILE, &m_saved);
        const int lowestFree = ::dup(0);
        ::close(lowestFree);
        rlimit tight = m_saved;
        tight.rlim_cur = rlim_t(lowestFree);
        EXPECT_EQ(setrlimit(RLIMIT_NOFILE, &tight), 0);
    }
    ~DescriptorsExhausted() { setrlimit(RLIMIT_NOFILE, &m_saved); }

private:
    rlimit m_saved{};
};

TEST_F(AcceptFaultsTest, APeerThatResetBeforeTheAcceptIsReportedAsAReset) {
    Peer peer(ConnectPlain());
    peer.Reset(); // the connection waits in the queue, already reset
    RecordingSocket served;
    server.onAccept = [&](int) { EXPECT_TRUE(server.Accept(served)); };
    ASSERT_TRUE(PumpUntil([&] { return served.m_hSocket != INVALID_SOCKET; }));
    ASSERT_TRUE(PumpUntil([&] { return served.Count(FD_CLOSE) == 1; }))
        << "the accepted socket was never polled";
    EXPECT_EQ(served.log.back(), (Notification{FD_CLOSE, WSAECONNRESET}));
    // Many such peers leave nothing behind once their sockets are closed.
    int closed = 0;
    server.onAccept = [&](int) {
        auto* socket = new RecordingSocket;
        ASSERT_TRUE(server.Accept(*socket));
        socket->onClose = [&closed, socket](int) {
            ++closed;
            socket->Close();
            delete socket;
        };
    };
    for (int i = 0; i < 20; ++i) {
        Peer another(ConnectPlain());
        another.Reset();
        ASSERT_TRUE(PumpUntil([&] { return closed == i + 1; })) << closed << " closed";
    }
}

TEST_F(AcceptFaultsTest, OutOfDescriptorsTheListenerRestsInsteadOfSpinning) {
#if defined(__SANITIZE_ADDRESS__)
    // The sanitizers' own checks open pipes; without descriptors they report
    // false faults.
    GTEST_SKIP() << "not under the sanitizers";
#endif
    Peer waiting(ConnectPlain());
    RecordingSocket served;
    std::vector<int> errors;
    server.onAccept = [&](int) { errors.push_back(server.Accept(served) ? 0 : WSAGetLastError()); };
    {
        DescriptorsExhausted exhausted;
        Turns(50);
    }
    // One try, not one per turn of the loop.
    ASSERT_EQ(errors, std::vector<int>{WSAEMFILE});
    Turns(20);
    EXPECT_EQ(errors.size(), 1u) << "tried again before its rest was over";
    clock.Advance(1000);
    ASSERT_TRUE(PumpUntil([&] { return errors.size() == 2; }));
    EXPECT_EQ(errors.back(), 0);
    EXPECT_NE(served.m_hSocket, INVALID_SOCKET);
    waiting.Write("ok");
    ASSERT_TRUE(PumpUntil([&] { return served.Count(FD_READ) == 1; }));
}

} // namespace
