// Relay speed tests and switching: the lobby hands in response times of the
// current path, a timer measures the other path to the same server, and the
// faster one decides whether the server is on the relay list of
// "RuviDerez.dat" at the next login. The measurements run on the user-interface
// thread from a timer of a hidden window, so nothing has to be stopped across
// threads; their sockets ask nothing and show no notice.

#include "knclientbase05/RuviDerezSocket.h"

#include "knclientbase05/LangResource.h"
#include "platform/system/Clock.h"
#include "platform/system/Profile.h"
#include "platform/window/Wnd.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr UINT_PTR kSpeedTestTimer = 1;
constexpr DWORD kSpeedTestFrame = 0x110;
constexpr DWORD kStatisticsFrame = 0x1A9;
constexpr int kTestWaitSeconds = 10;
constexpr int kLowestMeasure = 1, kHighestMeasure = 9999;
constexpr int kDecisionRelay = 1, kDecisionDirect = 2;

// A measuring socket: a failure is the measurement's own business, never a
// notice in the middle of a game. Its connection carries the speed test and
// nothing else; any other frame the server sends there (a notice, a
// game-over, a question) is dropped, as it does not concern the running game.
class CSilentSocket : public CKNSocket {
protected:
    int OnMessage(tagMSGHEADER*) override { return 0; }
    void OnClose(int) override {}
};

// One round trip of the speed-test frame; the tick count the server echoes
// back (second payload word), or false.
bool SpeedRoundTrip(CKNSocket& test, DWORD previous, DWORD* echoedTick) {
    DWORD words[4] = {kSpeedTestFrame, 8, 0, 0};
    WriteWireWord(reinterpret_cast<BYTE*>(&words[2]), previous);
    WriteWireWord(reinterpret_cast<BYTE*>(&words[3]), GetTickCount());
    tagMSGHEADER* reply = nullptr;
    if (!test.SendMessage(reinterpret_cast<tagMSGHEADER*>(words), &reply, kSpeedTestFrame) ||
        reply == nullptr || reply->length < 8)
        return false;
    *echoedTick = ReadWireWord(reinterpret_cast<const BYTE*>(reply) + 12);
    return true;
}

} // namespace

// The hidden window whose timer runs the measurements.
class CRuviDerezWnd : public CWnd {
public:
    explicit CRuviDerezWnd(CKNRuviDerezSocket* owner) : m_owner(owner) {}

    bool measuring = false;
    bool retired = false;

protected:
    void OnTimer(UINT_PTR id) override {
        if (id == kSpeedTestTimer && !retired)
            m_owner->RunScheduledSpeedTest();
    }

private:
    CKNRuviDerezSocket* m_owner;
};

void CKNRuviDerezSocket::SetSpeedTestParams(int enable, int valve, int roomAvgCnt, int gsAvgCnt,
                                            int gsTestTick, int sendStat) {
    if (nConnType == 1 || nConnType == 5)
        return;
    if (m_szServerAddr[0] == '\0' || m_nServerPort == 0)
        return;
    LogLine("[设置]Room设置测速参数");
    StopSpeedTest();
    ClearSamples();
    Valve = RoomAvgCnt = GSAvgCnt = GSTestTick = nSendStat = -1;
    m_nLastDecision = 0;
    m_nRoomSampleCount = 0;
    m_dwStatStamp = 0;
    if (!enable) {
        LogLine("[设置]游戏服务器设置了下次登录禁用互联代理标志，则本次不进行任何测速操作");
        RemoveServerFromRelayList(m_szServerAddr, UINT(m_nServerPort));
        return;
    }
    Valve = std::max(valve, 30);
    RoomAvgCnt = std::max(roomAvgCnt, 1);
    GSAvgCnt = std::max(gsAvgCnt, 1);
    GSTestTick = std::max(gsTestTick, 30);
    nSendStat = std::max(sendStat, 300);
    ReadDebugOverrides();
    LogLine("[设置]测速参数：Valve=%d, RoomAvgCnt=%d, GSAvgCnt=%d, GSTestTick=%d, nSendStat=%d",
            Valve, RoomAvgCnt, GSAvgCnt, GSTestTick, nSendStat);
    if (m_bRelayInUse)
        StartSpeedTest();
}

void CKNRuviDerezSocket::ReadDebugOverrides() {
    if (m_strBasePath.IsEmpty())
        return;
    struct Override {
        const char* key;
        int* parameter;
        const char* line;
    };
    const Override overrides[] = {
        {"valve", &Valve, "[调试]重新设置阀值"},
        {"roomavg", &RoomAvgCnt, "[调试]重新设置Room测速采样数"},
        {"gsavg", &GSAvgCnt, "[调试]重新设置直连GS测速采样数"},
        {"gstick", &GSTestTick, "[调试]重新设置直连测速间隔"},
        {"sendstat", &nSendStat, "[调试]重新设置发送统计数据时间间隔"},
    };
    const CString file = RelayDataPath();
    for (const Override& entry : overrides) {
        const int value = int(GetPrivateProfileInt("Debug", entry.key, -1, file));
        if (value > 0) {
            *entry.parameter = value;
            LogLine("%s", entry.line);
        }
    }
}

int CKNRuviDerezSocket::OnRoomSpeedSample(int value) {
    if (nConnType == 1 || nConnType == 5 || RoomAvgCnt < 0 || Valve < 0 || value < 0 ||
        m_szServerAddr[0] == '\0' || m_nServerPort == 0)
        return -1;
    ++m_nRoomSampleCount;
    if (m_nRoomSampleCount <= 3) {
        LogLine("[切换]第[%d]个Room单次测速传入值 = %d，忽略", m_nRoomSampleCount, value);
        return -1;
    }
    LogLine("[切换]第[%d]个Room单次测速传入值 = %d", m_nRoomSampleCount, value);
    AddSample(m_roomSamples, value, RoomAvgCnt);
    const int room = TrimmedMean(m_roomSamples, RoomAvgCnt);
    if (room < 0) {
        LogLine("[切换]还未计算出Room测速结果");
        return -1;
    }
    if (m_bRelayInUse)
        DecideInRelayMode(room);
    else
        DecideInDirectMode(room);
    return room;
}

void CKNRuviDerezSocket::DecideInRelayMode(int room) {
    LogLine("[切换]互联方式 - Room测速值:%d", room);
    const int direct = TrimmedMean(m_serverSamples, GSAvgCnt);
    SendSpeedStatistics(direct, room);
    if (direct < 0) {
        LogLine("[切换]互联方式 - 还未计算出直连测速结果");
        return;
    }
    LogLine("[切换]互联方式 - 后台直连测速值:%d", direct);
    // The relay was taken because the direct connect failed: never switch.
    if (nConnType == 8)
        return;
    if (room < direct) {
        if (m_nLastDecision != kDecisionRelay) {
            LogLine("[切换]互联方式 - 将%s:%d切换为使用互联代理", m_szServerAddr, m_nServerPort);
            AddServerToRelayList(m_szServerAddr, UINT(m_nServerPort));
            m_nLastDecision = kDecisionRelay;
        }
    } else if (m_nLastDecision != kDecisionDirect) {
        LogLine("[切换]互联方式 - 将%s:%d切换为使用直连GS", m_szServerAddr, m_nServerPort);
        RemoveServerFromRelayList(m_szServerAddr, UINT(m_nServerPort));
        m_nLastDecision = kDecisionDirect;
    }
}

void CKNRuviDerezSocket::DecideInDirectMode(int room) {
    if (!CanSwitchToRelay())
        return;
    LogLine("[切换]直连方式 - Room测速值:%d 阀值:%d", room, Valve);
    if (room < Valve) {
        if (m_nLastDecision != kDecisionDirect) {
            LogLine("[切换]直连方式 - 将%s:%d切换为使用直连GS", m_szServerAddr, m_nServerPort);
            RemoveServerFromRelayList(m_szServerAddr, UINT(m_nServerPort));
            m_nLastDecision = kDecisionDirect;
        }
        return;
    }
    LogLine("[切换]直连方式 - 速度大于阀值");
    int relay = -1;
    if (m_bRelayTestAllowed) {
        if (!IsSpeedTestRunning())
            StartSpeedTest();
        relay = TrimmedMean(m_serverSamples, GSAvgCnt);
        if (relay < 0) {
            LogLine("[切换]直连方式 - 还未计算出互联代理测速结果");
            return;
        }
        LogLine("[切换]直连方式 - 互联代理后台测速结果:%d", relay);
    }
    if (room > relay) {
        if (relay > 0)
            LogLine("[切换]直连方式 - 经过与互联代理的测速发现互联方式较快，可以启用切换判断");
        if (m_nLastDecision != kDecisionRelay) {
            LogLine("[切换]直连方式 - 将%s:%d切换为使用互联代理", m_szServerAddr, m_nServerPort);
            AddServerToRelayList(m_szServerAddr, UINT(m_nServerPort));
            m_nLastDecision = kDecisionRelay;
        }
    } else {
        nConnType = 12;
        LogLine("[切换]直连方式 - 互联代理比直连方式要慢不再尝试切换到互联代理的操作");
    }
    m_bRelayTestAllowed = 0;
    StopSpeedTest();
}

int CKNRuviDerezSocket::CanSwitchToRelay() const {
    switch (nConnType) {
    case 3:
    case 4:
    case 7:
    case 8:
    case 9:
        return 1;
    default:
        return nConnType > 12 ? 1 : 0;
    }
}

void CKNRuviDerezSocket::SendSpeedStatistics(int direct, int relay) {
    if (nSendStat < 0)
        return;
    const DWORD now = GetTickCount() / 1000;
    if (m_dwStatStamp == 0) {
        m_dwStatStamp = now;
        return;
    }
    if (now - m_dwStatStamp < DWORD(nSendStat))
        return;
    const WORD relaySpeed = WORD(std::clamp(relay, 0, 0xFFFF));
    const WORD directSpeed = WORD(std::clamp(direct, 0, 0xFFFF));
    m_dwStatStamp = now;
    DWORD words[4] = {kStatisticsFrame, 8, 0, 0};
    BYTE* payload = reinterpret_cast<BYTE*>(&words[2]);
    const WORD fields[4] = {relaySpeed, directSpeed, WORD(nConnType), 0};
    for (int i = 0; i < 4; ++i) {
        payload[2 * i] = BYTE(fields[i]);
        payload[2 * i + 1] = BYTE(fields[i] >> 8);
    }
    SendMessage(reinterpret_cast<tagMSGHEADER*>(words), nullptr, 0);
    LogLine("[切换]向游戏服务器发送了统计消息 wZuzuZazSpeed=%d, wDCSpeed=%d, nConnType=%d",
            relaySpeed, directSpeed, nConnType);
}

void CKNRuviDerezSocket::StartSpeedTest() {
    if (m_pTestWnd != nullptr)
        return;
    DeleteRetiredWindows();
    auto* wnd = new CRuviDerezWnd(this);
    if (!wnd->CreateEx(0, nullptr, "RuviDerezWnd", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr)) {
        delete wnd;
        LogLine("[线程]CKNSocket线程操作窗口创建失败");
        return;
    }
    if (GSTestTick < 0) {
        LogLine("[线程]后台测速参数不正确，线程退出 m_nGSTestTick<0");
        wnd->DestroyWindow();
        delete wnd;
        return;
    }
    m_pTestWnd = wnd;
    m_nPreviousMeasure = 0;
    wnd->SetTimer(kSpeedTestTimer, UINT(std::min<int64_t>(int64_t(GSTestTick) * 1000, INT_MAX)));
    if (m_bRelayInUse)
        LogLine("[线程]直连测速线程启动%s:%d", m_szServerAddr, m_nServerPort);
    else
        LogLine("[线程]互联测速线程启动%s:%d", m_szRelayServerAddr, m_nRelayServerPort);
}

void CKNRuviDerezSocket::StopSpeedTest() {
    ++m_nSpeedTestGeneration;
    if (m_pTestWnd != nullptr) {
        LogLine("[线程]终止后台测速线程");
        CRuviDerezWnd* wnd = m_pTestWnd;
        m_pTestWnd = nullptr;
        wnd->KillTimer(kSpeedTestTimer);
        wnd->retired = true;
        m_retiredWnds.push_back(wnd);
        LogLine("[线程]后台测速线程退出");
    }
    DeleteRetiredWindows();
}

// A window whose measurement is still on the stack (its timer handler runs
// it) is deleted at a later start or stop.
void CKNRuviDerezSocket::DeleteRetiredWindows() {
    if (m_bMeasuring)
        return;
    for (CRuviDerezWnd* wnd : m_retiredWnds) {
        wnd->DestroyWindow();
        delete wnd;
    }
    m_retiredWnds.clear();
}

// The timer's turn: one measurement of the path not in use, then the next
// period counted from its end.
void CKNRuviDerezSocket::RunScheduledSpeedTest() {
    CRuviDerezWnd* wnd = m_pTestWnd;
    if (wnd == nullptr || m_bMeasuring)
        return;
    wnd->KillTimer(kSpeedTestTimer);
    m_bMeasuring = 1;
    int previous = m_nPreviousMeasure;
    if (m_bRelayInUse)
        DirectSpeedTest(&previous);
    else
        RelaySpeedTest(&previous);
    m_bMeasuring = 0;
    // Stopped meanwhile: the window is retired and this is its handler.
    if (m_pTestWnd != wnd)
        return;
    m_nPreviousMeasure = previous;
    wnd->SetTimer(kSpeedTestTimer, UINT(std::min<int64_t>(int64_t(GSTestTick) * 1000, INT_MAX)));
}

int CKNRuviDerezSocket::ConnectTestSocket(CKNSocket& test, bool relay) {
    test.SetAskOnTimeout(0);
    test.SetWaitPeriod(kTestWaitSeconds);
    if (!relay)
        return test.Connect(m_szServerAddr, UINT(m_nServerPort), 0);
    test.SetRelayPort(-1, 0);
    if (!test.Connect(m_szRelayServerAddr, UINT(m_nRelayServerPort), 0))
        return 0;
    const UINT p80 = GetShareP80Port(UINT(m_nServerPort));
    const bool substitute = p80 > 0 && p80 <= 0xFFFF;
    const UINT target = substitute ? p80 : UINT(m_nServerPort);
    if (!test.Socks5Handshake(m_szServerAddr, target, m_szRelayUser, m_szRelayPassword) ||
        (substitute && !test.SendRelayHeader(UINT(m_nServerPort), 0))) {
        test.Close();
        return 0;
    }
    return 1;
}

void CKNRuviDerezSocket::DirectSpeedTest(int* previous) {
    MeasurePath(false, previous);
}

void CKNRuviDerezSocket::RelaySpeedTest(int* previous) {
    MeasurePath(true, previous);
}

// A separate socket, two round trips of the speed-test frame, the second one
// timed. A stop while it waits drops the result.
void CKNRuviDerezSocket::MeasurePath(bool relay, int* previous) {
    struct Texts {
        const char* connectFailed;
        const char* firstFailed;
        const char* secondFailed;
        const char* result;
    };
    static const Texts kDirect = {
        "[线程]与游戏服务器直连测速失败 %s:%d", "[线程]发送第一次直连测速消息失败 %s:%d",
        "[线程]发送第二次直连测速消息失败 %s:%d", "[线程]直连GS单次返回值 = %d"};
    static const Texts kRelay = {
        "[线程]与游戏服务器互联测速失败 %s:%d", "[线程]发送第一次互联测速消息失败 %s:%d",
        "[线程]发送第二次互联测速消息失败 %s:%d", "[线程]互联GS单次返回值 = %d"};
    const Texts& texts = relay ? kRelay : kDirect;
    const int generation = m_nSpeedTestGeneration;
    CSilentSocket test;
    if (!ConnectTestSocket(test, relay)) {
        LogLine(texts.connectFailed, m_szServerAddr, m_nServerPort);
        return;
    }
    DWORD echoed = 0;
    if (!SpeedRoundTrip(test, DWORD(*previous), &echoed)) {
        LogLine(texts.firstFailed, m_szServerAddr, m_nServerPort);
        test.Close();
        return;
    }
    if (!SpeedRoundTrip(test, DWORD(*previous), &echoed)) {
        LogLine(texts.secondFailed, m_szServerAddr, m_nServerPort);
        test.Close();
        return;
    }
    const int64_t response = int32_t(GetTickCount() - echoed);
    test.Close();
    const int value =
        int(std::clamp<int64_t>(std::llabs(response) / 10, kLowestMeasure, kHighestMeasure));
    *previous = value;
    LogLine(texts.result, value);
    if (generation == m_nSpeedTestGeneration)
        AddSample(m_serverSamples, value, GSAvgCnt);
}

void CKNRuviDerezSocket::AddSample(SpeedSampleList& list, int value, int capacity) {
    if (value < 0 || capacity < 1)
        return;
    int highest = -1;
    size_t oldest = 0;
    for (size_t i = 0; i < list.size(); ++i) {
        highest = std::max(highest, list[i].sequence);
        if (list[i].sequence < list[oldest].sequence)
            oldest = i;
    }
    if (list.size() < size_t(capacity))
        list.push_back({value, highest + 1});
    else
        list[oldest] = {value, highest + 1};
}

int CKNRuviDerezSocket::TrimmedMean(const SpeedSampleList& list, int minimum) {
    if (list.empty() || list.size() < size_t(std::max(minimum, 0)))
        return -1;
    int64_t sum = 0;
    int largest = INT_MIN, smallest = INT_MAX;
    for (const tagSPEEDSAMPLE& sample : list) {
        sum += sample.value;
        largest = std::max(largest, sample.value);
        smallest = std::min(smallest, sample.value);
    }
    const int64_t count = int64_t(list.size());
    if (count > 2)
        return int((sum - largest - smallest) / (count - 2));
    return int(sum / count);
}

void CKNRuviDerezSocket::ClearSamples() {
    m_roomSamples.clear();
    m_serverSamples.clear();
}

void CKNRuviDerezSocket::SetRelayListEntry(LPCSTR address, UINT port, bool onList) {
    if (m_strBasePath.IsEmpty() || address == nullptr)
        return;
    char portText[16];
    snprintf(portText, sizeof portText, "%u", port);
    CString section, key;
    EncodeName(portText, int(strlen(portText)), section);
    EncodeName(address, 39, key);
    if (section.IsEmpty() || key.IsEmpty())
        return;
    WritePrivateProfileString(section, key, onList ? "1" : nullptr, RelayDataPath());
}

void CKNRuviDerezSocket::AddServerToRelayList(LPCSTR address, UINT port) {
    SetRelayListEntry(address, port, true);
}

void CKNRuviDerezSocket::RemoveServerFromRelayList(LPCSTR address, UINT port) {
    SetRelayListEntry(address, port, false);
}

void CKNRuviDerezSocket::SetRelayAllowed(int allowed) {
    if (m_strBasePath.IsEmpty())
        return;
    CString section, key;
    EncodeName("Setting", 7, section);
    EncodeName("UseZuzuZaz", 10, key);
    WritePrivateProfileString(section, key, allowed ? "1" : "0", RelayDataPath());
}
