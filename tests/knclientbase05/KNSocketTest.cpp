// The framing socket against a plain loopback peer: frames written and read
// byte for byte as the peer sees them, reassembly at every split, inflating,
// reply waits under a stepped clock, and a hostile peer's frames.

#include "knclientbase05/KNSocket.h"
#include "outside/OutsideModules.h"
#include "platform/controls/MessageBox.h"
#include "platform/resources/ResourceStyles.h"
#include "platform/system/Clock.h"
#include "platform/system/Module.h"
#include "tests/knclientbase05/CompressedPayload.h"
#include "tests/support/SocketTestKit.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

using platform_test::LoopbackListener;
using platform_test::Peer;
using platform_test::PumpUntil;
using platform_test::Settle;

std::string Word(DWORD value) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = char(value >> (8 * i));
    return bytes;
}

// A frame as the peer writes it, encoded here independently of the socket.
std::string WireFrame(DWORD type, const std::string& payload, DWORD result = 0) {
    std::string bytes = Word(type) + Word(DWORD(payload.size()));
    if (type & kFrameReply)
        bytes += Word(result);
    return bytes + payload;
}

// A frame received, as header words and payload.
struct Received {
    DWORD type, length, result;
    std::string payload;
    bool operator==(const Received&) const = default;
};

Received Unpack(const tagMSGHEADER* frame) {
    const size_t headerSize = FrameHeaderSize(frame->type);
    const char* payload = reinterpret_cast<const char*>(frame) + headerSize;
    return {frame->type, frame->length, headerSize == 12 ? frame->result : 0,
            std::string(payload, frame->length)};
}

class FrameSocket : public CKNSocket {
public:
    std::vector<Received> messages;
    std::vector<int> closes;
    std::function<void()> onMessage;

protected:
    int OnMessage(tagMSGHEADER* frame) override {
        messages.push_back(Unpack(frame));
        if (onMessage)
            onMessage();
        return 0;
    }
    void OnClose(int error) override { closes.push_back(error); }
};

int g_asked = 0;
std::vector<UINT> g_tips;
int g_answers[4] = {};

int AnswerTip(UINT id, UINT, UINT) {
    g_tips.push_back(id);
    return g_answers[g_asked++ % 4];
}

// Sleeping spends the stepped time, so a wait's period runs out in a moment.
class SteppingClock : public platform::ManualClock {
public:
    void SleepMs(uint32_t ms) override { Advance(ms); }
};

class KNSocketTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterBuiltinModule(KNZipModule());
        g_asked = 0;
        g_tips.clear();
        socket.SetTipCallbacks(nullptr, AnswerTip);
        ASSERT_TRUE(socket.Connect("127.0.0.1", listener.port, 0));
        peer.fd = listener.Accept();
        ASSERT_GE(peer.fd, 0);
        Settle();
    }

    bool PumpUntilMessages(size_t count) {
        return PumpUntil([&] { return socket.messages.size() >= count || !socket.closes.empty(); });
    }
    bool PumpUntilClosed() {
        return PumpUntil([&] { return !socket.closes.empty(); });
    }

    LoopbackListener listener;
    FrameSocket socket;
    Peer peer;
};

TEST_F(KNSocketTest, RequestGoesOutByteForByteAndItsReplyIsHandedToTheWaiter) {
    const std::string payload = "seat 3";
    std::vector<BYTE> request(8 + payload.size());
    auto* header = reinterpret_cast<tagMSGHEADER*>(request.data());
    header->type = 0x300;
    header->length = DWORD(payload.size());
    std::copy(payload.begin(), payload.end(), request.begin() + 8);
    // The reply is already on its way when the wait begins.
    peer.Write(WireFrame(0x80000300, "ok", 7));

    tagMSGHEADER* reply = nullptr;
    ASSERT_EQ(socket.SendMessage(header, &reply, 0), 1);
    ASSERT_NE(reply, nullptr);
    EXPECT_EQ(Unpack(reply), (Received{0x80000300, 2, 7, "ok"}));
    EXPECT_TRUE(socket.messages.empty()); // the waiter took it
    EXPECT_EQ(peer.ReadAvailable(), WireFrame(0x300, payload));
    EXPECT_EQ(socket.GetWaitDepth(), 0);
}

TEST_F(KNSocketTest, WaitOnlyReleasesTheWaiterAndStillDispatches) {
    const tagMSGHEADER idle{0x201, 0, 0};
    peer.Write(WireFrame(0x80000201, "", 1));
    EXPECT_EQ(socket.SendMessage(&idle, KN_WAIT_ONLY, 0), 1);
    ASSERT_EQ(socket.messages.size(), 1u);
    EXPECT_EQ(socket.messages[0].type, 0x80000201u);
}

TEST_F(KNSocketTest, FrameSizeLimitIsKeptOnSending) {
    std::vector<BYTE> largest(kMaxFrameSize, 'x');
    auto* header = reinterpret_cast<tagMSGHEADER*>(largest.data());
    *header = {0x300, DWORD(kMaxFrameSize - 8), 0};
    EXPECT_EQ(socket.SendMessage(header, nullptr, 0), 1);
    std::string got;
    ASSERT_TRUE(PumpUntil([&] {
        got += peer.ReadAvailable();
        return got.size() >= kMaxFrameSize;
    }));
    EXPECT_EQ(got.size(), kMaxFrameSize);

    std::vector<BYTE> tooLarge(kMaxFrameSize + 1, 'x');
    header = reinterpret_cast<tagMSGHEADER*>(tooLarge.data());
    *header = {0x300, DWORD(kMaxFrameSize - 7), 0};
    EXPECT_EQ(socket.SendMessage(header, nullptr, 0), 0);
    EXPECT_EQ(g_tips, std::vector<UINT>{29674});
    Settle();
    EXPECT_EQ(peer.ReadAvailable(), "");
}

// Plain, reply, compressed, and a link event whose bit 30 is not compression.
std::string MixedStream(std::vector<Received>& expected) {
    const std::string text(300, 'q');
    expected = {{0x301, 4, 0, "abcd"},
                {0x80000302, 3, 99, "xyz"},
                {0x303, DWORD(text.size()), 0, text},
                {0xFFFFFFFF, 2, 5, "ev"}};
    return WireFrame(0x301, "abcd") + WireFrame(0x80000302, "xyz", 99) +
           WireFrame(0x303 | kFrameCompressed, CompressedPayload(text)) +
           WireFrame(0xFFFFFFFF, "ev", 5);
}

TEST_F(KNSocketTest, StreamSplitAtEveryByteReassemblesToTheSameFrames) {
    std::vector<Received> expected;
    const std::string stream = MixedStream(expected);
    for (size_t cut = 1; cut < stream.size(); ++cut) {
        socket.messages.clear();
        peer.Write(stream.substr(0, cut));
        Settle();
        peer.Write(stream.substr(cut));
        ASSERT_TRUE(PumpUntilMessages(expected.size())) << "cut at " << cut;
        ASSERT_EQ(socket.messages, expected) << "cut at " << cut;
        ASSERT_TRUE(socket.closes.empty());
    }
}

TEST_F(KNSocketTest, ReadingStopsAtTheFrameEndAndResumesWhenEnabled) {
    std::vector<Received> expected;
    const std::string stream = MixedStream(expected);
    socket.onMessage = [&] { socket.DisableReceive(); };
    peer.Write(stream);
    ASSERT_TRUE(PumpUntilMessages(1));
    Settle();
    ASSERT_EQ(socket.messages.size(), 1u);
    // The next frames' bytes are still in the socket, not in our buffer.
    EXPECT_EQ(socket.GetBytesAvailable(), stream.size() - 12);
    socket.onMessage = nullptr;
    socket.EnableReceive();
    ASSERT_TRUE(PumpUntilMessages(expected.size()));
    EXPECT_EQ(socket.messages, expected);
}

TEST_F(KNSocketTest, TenThousandFramesArriveInOrder) {
    constexpr int kFrames = 10000, kBatch = 500;
    for (int first = 0; first < kFrames; first += kBatch) {
        std::string batch;
        for (int i = first; i < first + kBatch; ++i)
            batch += WireFrame(0x400, Word(DWORD(i)));
        peer.Write(batch);
        ASSERT_TRUE(PumpUntilMessages(size_t(first + kBatch)));
    }
    ASSERT_EQ(socket.messages.size(), size_t(kFrames));
    for (int i = 0; i < kFrames; ++i)
        ASSERT_EQ(socket.messages[size_t(i)].payload, Word(DWORD(i)));
    EXPECT_TRUE(socket.closes.empty());
}

TEST_F(KNSocketTest, ReplyWaitAsksAfterItsPeriodAndGivesUpOnNo) {
    SteppingClock clock;
    platform::ScopedClock useClock(clock);
    socket.SetAskOnTimeout(1);
    g_answers[0] = IDYES;
    g_answers[1] = IDNO;
    const uint64_t began = clock.NowMs();
    const tagMSGHEADER request{0x300, 0, 0};
    tagMSGHEADER* reply = nullptr;
    EXPECT_EQ(socket.SendMessage(&request, &reply, 0), 0);
    EXPECT_EQ(WSAGetLastError(), kErrorReplyWaitFailed);
    EXPECT_EQ(g_tips, (std::vector<UINT>{29910, 29910}));
    EXPECT_GE(clock.NowMs() - began, 60000u); // IDYES restarted the period
    EXPECT_EQ(socket.closes, std::vector<int>{WSAETIMEDOUT});
    EXPECT_TRUE(socket.IsWaitStopped());
    EXPECT_EQ(socket.GetWaitDepth(), 0);
}

TEST_F(KNSocketTest, CancelFlagStopsTheWait) {
    int cancel = 0;
    socket.SetCancelFlag(&cancel);
    cancel = 1;
    const tagMSGHEADER request{0x300, 0, 0};
    tagMSGHEADER* reply = nullptr;
    EXPECT_EQ(socket.SendMessage(&request, &reply, 0), 0);
    EXPECT_EQ(socket.closes, std::vector<int>{kCloseWaitCancelled});
}

// A listener whose accept queue is full: the kernel drops the handshakes of
// further connects, so a connect to it keeps waiting.
class FullListener {
public:
    FullListener() : m_listener(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        EXPECT_EQ(::bind(m_listener, reinterpret_cast<sockaddr*>(&address), length), 0);
        EXPECT_EQ(::listen(m_listener, 0), 0);
        EXPECT_EQ(getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length), 0);
        port = ntohs(address.sin_port);
        for (int& filler : m_fillers) {
            filler = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
            ::connect(filler, reinterpret_cast<sockaddr*>(&address), sizeof address);
        }
        Settle();
    }
    ~FullListener() {
        for (int filler : m_fillers)
            ::close(filler);
        ::close(m_listener);
    }

    UINT port = 0;

private:
    int m_listener;
    int m_fillers[2] = {};
};

FrameSocket* g_closeDuringConnect = nullptr;

void CALLBACK CloseTheConnectingSocket(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    g_closeDuringConnect->Close();
}

TEST_F(KNSocketTest, CloseDuringAConnectEndsItWithoutAConnection) {
    FullListener full;
    FrameSocket connecting;
    g_closeDuringConnect = &connecting;
    ASSERT_NE(SetTimer(nullptr, 0, 100, CloseTheConnectingSocket), 0u);
    EXPECT_EQ(connecting.Connect("127.0.0.1", full.port, 0), 0);
    EXPECT_EQ(connecting.m_hSocket, INVALID_SOCKET);
    EXPECT_EQ(connecting.closes, std::vector<int>{kCloseWaitCancelled});
    EXPECT_TRUE(connecting.IsWaitStopped());
    EXPECT_EQ(connecting.SendIdle(), 0);
}

TEST_F(KNSocketTest, FailedLoginWaitDoesNotBlockLaterSends) {
    SteppingClock clock;
    platform::ScopedClock useClock(clock);
    socket.SetAskOnTimeout(0);
    const tagMSGHEADER login{0x200, 0, 0};
    tagMSGHEADER* reply = nullptr;
    EXPECT_EQ(socket.SendMessage(&login, &reply, 0), 0);
    EXPECT_EQ(socket.SendIdle(), 1);
}

// Each hostile stream ends in one OnClose and never reaches OnMessage; an
// inflate failure reports the close code the notification carried.
struct BadStream {
    const char* name;
    std::string bytes;
    int closeCode;
};

std::vector<BadStream> BadStreams() {
    const DWORD zipped = 0x300 | kFrameCompressed;
    return {
        {"length over the limit", WireFrame(0x300, "").substr(0, 4) + Word(0xFFFFFFFC),
         WSAEMSGSIZE},
        {"compressed without its length word", WireFrame(zipped, "ab"), 0},
        {"absurd inflated length", WireFrame(zipped, Word(0xFFFFFFF0) + "junkjunk"), 0},
        {"data that does not inflate", WireFrame(zipped, Word(16) + "not zlib data"), 0},
        {"inflates to another length",
         WireFrame(zipped, Word(9999) + CompressedPayload("short").substr(4)), 0},
    };
}

TEST_F(KNSocketTest, HostileFramesEndInOnClose) {
    for (const BadStream& bad : BadStreams()) {
        FrameSocket fresh;
        LoopbackListener server;
        ASSERT_TRUE(fresh.Connect("127.0.0.1", server.port, 0));
        Peer hostile(server.Accept());
        hostile.Write(bad.bytes + WireFrame(0x301, "after"));
        ASSERT_TRUE(PumpUntil([&] { return !fresh.closes.empty(); })) << bad.name;
        Settle();
        EXPECT_TRUE(fresh.messages.empty()) << bad.name;
        EXPECT_EQ(fresh.closes, std::vector<int>{bad.closeCode}) << bad.name;
    }
}

TEST_F(KNSocketTest, PeerClosingMidFrameEndsInOnClose) {
    peer.Write(WireFrame(0x301, "whole").substr(0, 10));
    peer.Close();
    ASSERT_TRUE(PumpUntilClosed());
    EXPECT_TRUE(socket.messages.empty());
}

TEST_F(KNSocketTest, MissingCompressionLibraryEndsInOnClose) {
    ASSERT_TRUE(UnregisterBuiltinModule("KNZip.dll"));
    peer.Write(WireFrame(0x300 | kFrameCompressed, Word(4) + "zzzz"));
    ASSERT_TRUE(PumpUntilClosed());
    EXPECT_TRUE(socket.messages.empty());
    RegisterBuiltinModule(KNZipModule());
}

} // namespace
