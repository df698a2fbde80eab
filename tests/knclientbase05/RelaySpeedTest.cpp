// Relay speed tests and switching: the averages, the decisions that move a
// server on or off the relay list, the statistics frame after its interval,
// and the measurements themselves, run by a timer of the hidden window under
// a stepped clock against the test's frame server.

#include "PathFixture.h"
#include "SocksPeer.h"
#include "platform/window/Wnd.h"
#include "tests/support/RealWaits.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <ostream>

namespace {

using namespace path_test;
using peer_test::FrameRecord;
using peer_test::FrameServer;
using peer_test::LeWord;
using peer_test::LeWordAt;
using peer_test::SocksOptions;
using peer_test::SocksPeer;
using platform_test::PumpUntil;
using platform_test::Settle;

SpeedSampleList Samples(std::initializer_list<int> values) {
    SpeedSampleList list;
    for (int value : values)
        CKNRuviDerezSocket::AddSample(list, value, 100);
    return list;
}

std::vector<int> Values(const SpeedSampleList& list) {
    std::vector<int> values;
    for (const tagSPEEDSAMPLE& sample : list)
        values.push_back(sample.value);
    return values;
}

TEST(SpeedSampleTest, TrimmedMeanDropsTheLargestAndSmallest) {
    EXPECT_EQ(CKNRuviDerezSocket::TrimmedMean(Samples({10, 20, 30, 1000}), 4), 25);
    EXPECT_EQ(CKNRuviDerezSocket::TrimmedMean(Samples({10, 30}), 1), 20);
    EXPECT_EQ(CKNRuviDerezSocket::TrimmedMean(Samples({7}), 1), 7);
    EXPECT_EQ(CKNRuviDerezSocket::TrimmedMean(Samples({1, 2, 9}), 3), 2);
    EXPECT_EQ(CKNRuviDerezSocket::TrimmedMean(Samples({10, 20, 30}), 4), -1);
    EXPECT_EQ(CKNRuviDerezSocket::TrimmedMean(Samples({}), 0), -1);
}

TEST(SpeedSampleTest, AddSampleReplacesTheOldestRecord) {
    SpeedSampleList ring;
    for (int value : {1, 2, 3, 4, 5})
        CKNRuviDerezSocket::AddSample(ring, value, 3);
    EXPECT_EQ(Values(ring), (std::vector<int>{4, 5, 3}));
    CKNRuviDerezSocket::AddSample(ring, 6, 3);
    EXPECT_EQ(Values(ring), (std::vector<int>{4, 5, 6}));
    CKNRuviDerezSocket::AddSample(ring, -1, 3);
    CKNRuviDerezSocket::AddSample(ring, 9, 0);
    EXPECT_EQ(Values(ring), (std::vector<int>{4, 5, 6}));
}

// A window whose timer runs a step of the test inside the measurement's waits.
class StepWnd : public CWnd {
public:
    std::function<void()> step;

protected:
    void OnTimer(UINT_PTR id) override {
        KillTimer(id);
        if (step)
            step();
    }
};

class RelaySpeedTest : public PathFixture {
protected:
    void SetUp() override {
        PathFixture::SetUp();
        WriteRelayData("[Debug]\nlog=1\nEncrypt=0\n");
        WriteLangRsc("[RuviDerez]\nPort=" + std::to_string(relay.Port()) +
                     "\nWellUser=WellUser\nWellPwd=WellPwd\n1=127.0.0.1;" +
                     std::to_string(server.Port()) + "\n");
    }

    // Direct to the server, the relay serving its port (type 7).
    std::unique_ptr<PathSocket> ConnectDirect() {
        auto socket = std::make_unique<PathSocket>();
        AskThroughTips(*socket);
        EXPECT_TRUE(socket->Connect("127.0.0.1", server.Port(), 1));
        EXPECT_EQ(socket->nConnType, 7);
        return socket;
    }
    // Through the relay, the server being on the relay list (type 9).
    std::unique_ptr<PathSocket> ConnectThroughRelay() {
        WriteRelayData("[Debug]\nlog=1\nEncrypt=0\n[" + std::to_string(server.Port()) +
                       "]\n127.0.0.1=1\n");
        auto socket = std::make_unique<PathSocket>();
        AskThroughTips(*socket);
        EXPECT_TRUE(socket->Connect("127.0.0.1", server.Port(), 1));
        EXPECT_EQ(socket->nConnType, 9);
        return socket;
    }
    bool OnList(PathSocket& socket) {
        return socket.IsServerOnRelayList("127.0.0.1", server.Port());
    }

    // What the speed-test frame's echo carries: the client's tick moved by this.
    std::atomic<int64_t> tickShift{0};
    std::atomic<bool> answerSpeedTests{true};
    // Sent on a measurement connection ahead of the echo (set before connecting).
    std::vector<std::string> framesBeforeEcho;
    // While held, the server answers the speed-test frame only once released.
    std::mutex gateMutex;
    std::condition_variable gateOpened;
    bool gateHeld = false;
    void OpenGate() {
        std::lock_guard<std::mutex> lock(gateMutex);
        gateHeld = false;
        gateOpened.notify_all();
    }
    FrameServer server{[this](const FrameRecord& frame) -> std::vector<std::string> {
        if (frame.type != 0x110)
            return peer_test::EchoAnswer(frame);
        if (!answerSpeedTests)
            return {};
        {
            std::unique_lock<std::mutex> lock(gateMutex);
            gateOpened.wait_for(lock, std::chrono::seconds(kRealWaitSeconds),
                                [this] { return !gateHeld; });
        }
        const uint32_t tick = uint32_t(int64_t(LeWordAt(frame.payload, 4)) + tickShift);
        std::vector<std::string> answer = framesBeforeEcho;
        answer.push_back(peer_test::WireFrame(0x110, frame.payload.substr(0, 4) + LeWord(tick)));
        return answer;
    }};
    SocksPeer relay{[] {
        SocksOptions options;
        options.user = "WellUser";
        options.password = "WellPwd";
        return options;
    }()};
};

TEST_F(RelaySpeedTest, ParametersAreRaisedToTheirFloorsAndDebugOverridesWin) {
    auto socket = ConnectDirect();
    socket->SetSpeedTestParams(1, 20, 0, -5, 10, 100);
    EXPECT_EQ(socket->Valve, 30);
    EXPECT_EQ(socket->RoomAvgCnt, 1);
    EXPECT_EQ(socket->GSAvgCnt, 1);
    EXPECT_EQ(socket->GSTestTick, 30);
    EXPECT_EQ(socket->nSendStat, 300);

    WriteRelayData("[Debug]\nlog=1\nEncrypt=0\nvalve=55\ngstick=45\nroomavg=0\n");
    socket->SetSpeedTestParams(1, 40, 2, 3, 60, 600);
    EXPECT_EQ(socket->Valve, 55);
    EXPECT_EQ(socket->RoomAvgCnt, 2); // 0 does not override
    EXPECT_EQ(socket->GSTestTick, 45);
    EXPECT_TRUE(Logged("[调试]重新设置阀值"));
    EXPECT_TRUE(
        Logged("[设置]测速参数：Valve=55, RoomAvgCnt=2, GSAvgCnt=3, GSTestTick=45, nSendStat=600"));
}

TEST_F(RelaySpeedTest, DisablingTakesTheServerOffTheListAndIgnoresSamples) {
    auto socket = ConnectDirect();
    socket->AddServerToRelayList("127.0.0.1", server.Port());
    socket->SetSpeedTestParams(0, 30, 1, 1, 30, 300);
    EXPECT_FALSE(OnList(*socket));
    EXPECT_EQ(socket->Valve, -1);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(socket->OnRoomSpeedSample(100), -1);

    // The user's proxy and a disabled relay take no parameters at all.
    for (int type : {1, 5}) {
        socket->nConnType = type;
        socket->SetSpeedTestParams(1, 30, 1, 1, 30, 300);
        EXPECT_EQ(socket->Valve, -1);
    }
}

TEST_F(RelaySpeedTest, RoomAverageComesAfterThreeIgnoredSamplesAndAFullRing) {
    auto socket = ConnectDirect();
    socket->SetSpeedTestParams(1, 30, 5, 1, 30, 300);
    std::vector<int> results;
    for (int sample = 1; sample <= 8; ++sample)
        results.push_back(socket->OnRoomSpeedSample(sample * 10));
    // Samples 4..8 (40..80) fill the ring of five: (300 - 80 - 40) / 3.
    EXPECT_EQ(results, (std::vector<int>{-1, -1, -1, -1, -1, -1, -1, 60}));
    EXPECT_TRUE(Logged("[切换]第[3]个Room单次测速传入值 = 30，忽略"));
    EXPECT_TRUE(Logged("[切换]还未计算出Room测速结果"));
    EXPECT_EQ(socket->OnRoomSpeedSample(-4), -1);
}

TEST_F(RelaySpeedTest, FasterRelayPutsTheServerOnTheListOnce) {
    auto socket = ConnectDirect();
    socket->SetSpeedTestParams(1, 30, 1, 1, 30, 300);
    for (int i = 0; i < 3; ++i)
        socket->OnRoomSpeedSample(100);
    // Above the threshold: the background test starts, no relay result yet.
    EXPECT_EQ(socket->OnRoomSpeedSample(100), 100);
    EXPECT_TRUE(socket->IsSpeedTestRunning());
    EXPECT_FALSE(OnList(*socket));
    CKNRuviDerezSocket::AddSample(socket->ServerSamples(), 40, socket->GSAvgCnt);
    EXPECT_EQ(socket->OnRoomSpeedSample(100), 100);
    EXPECT_TRUE(OnList(*socket));
    EXPECT_FALSE(socket->IsSpeedTestRunning()); // the first decision ends the tests
    // Decided once: a further sample writes nothing again.
    socket->RemoveServerFromRelayList("127.0.0.1", server.Port());
    EXPECT_EQ(socket->OnRoomSpeedSample(100), 100);
    EXPECT_FALSE(OnList(*socket));
}

TEST_F(RelaySpeedTest, SlowerRelayStopsSwitchingForGood) {
    auto socket = ConnectDirect();
    socket->SetSpeedTestParams(1, 30, 1, 1, 30, 300);
    for (int i = 0; i < 4; ++i)
        socket->OnRoomSpeedSample(100);
    CKNRuviDerezSocket::AddSample(socket->ServerSamples(), 500, 1);
    EXPECT_EQ(socket->OnRoomSpeedSample(100), 100);
    EXPECT_EQ(socket->nConnType, 12);
    EXPECT_FALSE(OnList(*socket));
    EXPECT_TRUE(Logged("[切换]直连方式 - 互联代理比直连方式要慢不再尝试切换到互联代理的操作"));
    CKNRuviDerezSocket::AddSample(socket->ServerSamples(), 1, 1);
    EXPECT_EQ(socket->OnRoomSpeedSample(900), 900);
    EXPECT_FALSE(OnList(*socket));
    EXPECT_FALSE(socket->IsSpeedTestRunning());
}

TEST_F(RelaySpeedTest, FastDirectPathBelowTheThresholdLeavesTheList) {
    auto socket = ConnectDirect();
    socket->AddServerToRelayList("127.0.0.1", server.Port());
    socket->SetSpeedTestParams(1, 30, 1, 1, 30, 300);
    for (int i = 0; i < 3; ++i)
        socket->OnRoomSpeedSample(10);
    EXPECT_EQ(socket->OnRoomSpeedSample(10), 10);
    EXPECT_FALSE(OnList(*socket));
    EXPECT_FALSE(socket->IsSpeedTestRunning());
}

TEST_F(RelaySpeedTest, RelayModeSwitchesEachWayOnceAndNeverAfterAFailedDirectConnect) {
    auto socket = ConnectThroughRelay();
    socket->SetSpeedTestParams(1, 30, 1, 1, 100000, 300);
    EXPECT_TRUE(socket->IsSpeedTestRunning()); // measuring the direct path at once
    for (int i = 0; i < 3; ++i)
        socket->OnRoomSpeedSample(100);
    EXPECT_EQ(socket->OnRoomSpeedSample(100), 100); // no direct result yet
    EXPECT_TRUE(Logged("[切换]互联方式 - 还未计算出直连测速结果"));
    CKNRuviDerezSocket::AddSample(socket->ServerSamples(), 50, 1);
    socket->OnRoomSpeedSample(100); // direct faster: off the list
    EXPECT_FALSE(OnList(*socket));
    socket->AddServerToRelayList("127.0.0.1", server.Port());
    socket->OnRoomSpeedSample(100); // same decision: not written again
    EXPECT_TRUE(OnList(*socket));
    socket->OnRoomSpeedSample(20); // relay faster now
    EXPECT_TRUE(OnList(*socket));
    socket->RemoveServerFromRelayList("127.0.0.1", server.Port());

    socket->nConnType = 8;
    socket->OnRoomSpeedSample(100);
    socket->OnRoomSpeedSample(10);
    EXPECT_FALSE(OnList(*socket));
}

TEST_F(RelaySpeedTest, StatisticsFrameGoesOutAfterItsInterval) {
    platform::ManualClock clock;
    platform::ScopedClock useClock(clock);
    auto socket = ConnectThroughRelay();
    socket->SetSpeedTestParams(1, 30, 1, 1, 100000, 300);
    for (int i = 0; i < 3; ++i)
        socket->OnRoomSpeedSample(100);
    socket->OnRoomSpeedSample(100); // starts the interval
    clock.Advance(299000);
    socket->OnRoomSpeedSample(100);
    clock.Advance(1000);
    CKNRuviDerezSocket::AddSample(socket->ServerSamples(), 70, 1);
    socket->OnRoomSpeedSample(120);
    ASSERT_TRUE(RoundTrip(*socket, "after the statistics"));
    std::vector<FrameRecord> statistics;
    for (const FrameRecord& frame : server.log.Frames())
        if (frame.type == 0x1A9)
            statistics.push_back(frame);
    ASSERT_EQ(statistics.size(), 1u);
    const std::string expected = {char(120), 0, char(70), 0, char(9), 0, 0, 0};
    EXPECT_EQ(statistics[0].payload, expected);
    EXPECT_TRUE(Logged("wZuzuZazSpeed=120, wDCSpeed=70, nConnType=9"));
}

struct Clamp {
    const char* name;
    int64_t shiftMs;
    int value;
};

std::ostream& operator<<(std::ostream& out, const Clamp& clamp) {
    return out << clamp.name << " (echo shifted " << clamp.shiftMs << " ms)";
}

class MeasurementClampTest : public RelaySpeedTest, public ::testing::WithParamInterface<Clamp> {};

// The relay in use: the timer measures the direct path. Time stands still
// under the manual clock, so the response time is the shift of the echo.
TEST_P(MeasurementClampTest, DirectMeasurementByTheTimer) {
    platform::ManualClock clock;
    platform::ScopedClock useClock(clock);
    tickShift = GetParam().shiftMs;
    auto socket = ConnectThroughRelay();
    socket->SetSpeedTestParams(1, 30, 1, 2, 30, 300);
    clock.Advance(30000);
    ASSERT_TRUE(PumpUntil([&] { return !socket->ServerSamples().empty(); }));
    EXPECT_EQ(socket->ServerSamples()[0].value, GetParam().value);
    // Measured on a connection of its own, not through the relay.
    EXPECT_EQ(relay.Requests().size(), 1u);
    char line[64];
    snprintf(line, sizeof line, "[线程]直连GS单次返回值 = %d", GetParam().value);
    EXPECT_TRUE(Logged(line));
    // The next period counts from the end of this test; the measurement
    // carries the previous value in its first word.
    clock.Advance(30000);
    ASSERT_TRUE(PumpUntil([&] { return socket->ServerSamples().size() == 2; }));
    const std::vector<FrameRecord> frames = server.log.Frames();
    EXPECT_EQ(LeWordAt(frames.back().payload, 0), uint32_t(GetParam().value));
    EXPECT_TRUE(socket->closes.empty());
}

INSTANTIATE_TEST_SUITE_P(ResponseTime, MeasurementClampTest,
                         ::testing::Values(Clamp{"None", 0, 1}, Clamp{"FiveSeconds", -5000, 500},
                                           Clamp{"EchoFromTheFuture", 50, 5},
                                           Clamp{"TwoMinutes", -120000, 9999}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RelaySpeedTest, RelayMeasurementGoesThroughTheRelayWithItsAccount) {
    platform::ManualClock clock;
    platform::ScopedClock useClock(clock);
    auto socket = ConnectDirect();
    socket->SetSpeedTestParams(1, 30, 1, 1, 30, 300);
    for (int i = 0; i < 4; ++i)
        socket->OnRoomSpeedSample(100); // above the threshold: starts the test
    ASSERT_TRUE(socket->IsSpeedTestRunning());
    clock.Advance(30000);
    ASSERT_TRUE(PumpUntil([&] { return !socket->ServerSamples().empty(); }));
    ASSERT_EQ(relay.Requests().size(), 1u);
    EXPECT_EQ(relay.Requests()[0].user, "WellUser");
    EXPECT_EQ(relay.Requests()[0].port, server.Port());
    EXPECT_TRUE(Logged("[线程]互联GS单次返回值 = 1"));
    // The relay measured 1, the room 100: the relay is faster.
    EXPECT_EQ(socket->OnRoomSpeedSample(100), 100);
    EXPECT_TRUE(OnList(*socket));
}

// A measurement that fails asks nothing and reports nothing to the game.
TEST_F(RelaySpeedTest, FailedMeasurementStaysSilent) {
    answerSpeedTests = false;
    auto socket = ConnectThroughRelay();
    SteppingClock clock;
    platform::ScopedClock useClock(clock);
    socket->SetSpeedTestParams(1, 30, 1, 1, 30, 300);
    clock.Advance(30000);
    ASSERT_TRUE(PumpUntil([&] { return Logged("[线程]发送第一次直连测速消息失败"); }));
    EXPECT_TRUE(Tips::Asked().empty());
    EXPECT_TRUE(socket->closes.empty());
    EXPECT_TRUE(socket->ServerSamples().empty());
    EXPECT_TRUE(RoundTrip(*socket, "game goes on"));
}

// Counts the close requests that reach the main window while it is the
// main window.
class MainWindow : public CWnd {
public:
    MainWindow() { AfxSetMainWnd(this); }
    ~MainWindow() override { AfxSetMainWnd(nullptr); }

    int closes = 0;

protected:
    void OnClose() override { ++closes; }
};

// The measurement connection carries the speed test and nothing else: what
// else the server sends there (a game-over, an address query) is no business
// of the running game, which must neither close nor answer for it.
TEST_F(RelaySpeedTest, MeasurementConnectionActsOnNoOtherFrame) {
    MainWindow mainWnd;
    ASSERT_TRUE(mainWnd.CreateEx(0, nullptr, "main", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    framesBeforeEcho = {peer_test::WireFrame(0x80000219, ""), peer_test::WireFrame(0x231, "")};
    platform::ManualClock clock;
    platform::ScopedClock useClock(clock);
    auto socket = ConnectThroughRelay();
    socket->SetSpeedTestParams(1, 30, 1, 1, 30, 300);
    clock.Advance(30000);
    ASSERT_TRUE(PumpUntil([&] { return !socket->ServerSamples().empty(); }));
    Settle();
    EXPECT_EQ(mainWnd.closes, 0);
    for (const FrameRecord& frame : server.log.Frames())
        EXPECT_NE(frame.type, 0x80000231u);
    EXPECT_TRUE(Tips::Asked().empty());
    EXPECT_TRUE(socket->closes.empty());
}

// Closing the game socket while a measurement waits for its echo: the
// measurement ends, its window goes once it is off the stack, and its late
// result is not kept.
TEST_F(RelaySpeedTest, CloseDuringAMeasurementDropsIt) {
    auto socket = ConnectThroughRelay();
    SteppingClock clock;
    platform::ScopedClock useClock(clock);
    socket->SetSpeedTestParams(1, 30, 1, 1, 30, 300);
    gateHeld = true;
    StepWnd closer;
    ASSERT_TRUE(closer.CreateEx(0, nullptr, "closer", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr));
    closer.step = [&] {
        socket->Close();
        OpenGate();
    };
    // Due a moment after the measurement starts: it fires inside its wait.
    closer.SetTimer(1, 30001);
    clock.Advance(30000);
    ASSERT_TRUE(PumpUntil([&] { return Logged("[线程]直连GS单次返回值"); }));
    Settle();
    const std::string log = Log();
    EXPECT_LT(log.find("[线程]终止后台测速线程"), log.find("[线程]直连GS单次返回值"));
    EXPECT_FALSE(socket->IsSpeedTestRunning());
    EXPECT_TRUE(socket->ServerSamples().empty());
    EXPECT_FALSE(RoundTrip(*socket, "closed"));
}

} // namespace
