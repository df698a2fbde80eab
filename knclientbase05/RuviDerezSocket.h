#pragma once

// The connection-path choice between the framing socket and the game socket:
// at each connect it decides whether the game connection goes direct (maybe
// through the user's SOCKS proxy), through the platform's relay, or to the
// substitute port with a header frame, and falls back when a path fails.
// It also measures the other path while a game runs and keeps the relay list
// of "RuviDerez.dat" up to date for the next login.

#include "knclientbase05/KNSocket.h"
#include "platform/CString.h"

#include <cstdio>
#include <vector>

// One measured response time (10-ms units) with its place in the ring.
struct tagSPEEDSAMPLE {
    int value;
    int sequence;
};
typedef std::vector<tagSPEEDSAMPLE> SpeedSampleList;

class CRuviDerezWnd;

class CKNRuviDerezSocket : public CKNSocket {
public:
    CKNRuviDerezSocket();
    ~CKNRuviDerezSocket() override;

    int Connect(LPCSTR host, UINT port, int ask) override;
    void Close() override;

    int DirectConnect(LPCSTR host, UINT port, int ask);
    int RelayConnect(LPCSTR host, UINT port, int ask, int header);
    int RelaySocks5Connect(LPCSTR host, UINT port);
    // 1 when a relay server address was found (and stored) for the port.
    int FindRelayAddress(UINT port, int firewall);
    int IsRelayAllowed();
    int IsServerOnRelayList(LPCSTR address, UINT port);
    // The name as it is written in "RuviDerez.dat": the length bytes of text
    // (never past its end) XOR-ed with the name key, in upper-case hex, or
    // the text itself when encoding is off.
    void EncodeName(LPCSTR text, int length, CString& out) const;
    void LogLine(const char* format, ...) __attribute__((format(printf, 2, 3)));

    // Speed tests and switching.
    void SetSpeedTestParams(int enable, int valve, int roomAvgCnt, int gsAvgCnt, int gsTestTick,
                            int sendStat);
    // The room average, or -1 while none can be given.
    int OnRoomSpeedSample(int value);
    void StartSpeedTest();
    void StopSpeedTest();
    void ClearSamples();
    void DirectSpeedTest(int* previous);
    void RelaySpeedTest(int* previous);
    void SendSpeedStatistics(int direct, int relay);
    int CanSwitchToRelay() const;
    void ReadDebugOverrides();
    static void AddSample(SpeedSampleList& list, int value, int capacity);
    static int TrimmedMean(const SpeedSampleList& list, int minimum);
    void AddServerToRelayList(LPCSTR address, UINT port);
    void RemoveServerFromRelayList(LPCSTR address, UINT port);
    void SetRelayAllowed(int allowed);

    SpeedSampleList& RoomSamples() { return m_roomSamples; }
    SpeedSampleList& ServerSamples() { return m_serverSamples; }
    int IsSpeedTestRunning() const { return m_pTestWnd != nullptr; }
    int IsRelayInUse() const { return m_bRelayInUse; }
    LPCSTR GetServerAddress() const { return m_szServerAddr; }
    int GetServerPort() const { return m_nServerPort; }
    LPCSTR GetRelayServerAddress() const { return m_szRelayServerAddr; }
    int GetRelayServerPort() const { return m_nRelayServerPort; }
    // The base path of the relay files with its trailing separator; empty
    // when the shared folder is unknown.
    const CString& GetBasePath() const { return m_strBasePath; }

    // The speed-test parameters (-1: not set).
    int Valve = -1;
    int RoomAvgCnt = -1;
    int GSAvgCnt = -1;
    int GSTestTick = -1;
    int nSendStat = -1;
    // The path the last connect took (0 before the first).
    int nConnType = 0;

protected:
    void OnClose(int errorCode) override;

private:
    friend class CRuviDerezWnd;

    int ChoosePath(LPCSTR host, UINT port, int ask);
    void ReadSettings();
    void OpenLog();
    CString RelayIniPath() const;
    CString RelayDataPath() const;
    void ClearCancelFlag();
    void SetCurrentServer(LPCSTR host, UINT port);
    void RunScheduledSpeedTest();
    int ConnectTestSocket(CKNSocket& test, bool relay);
    void MeasurePath(bool relay, int* previous);
    void DeleteRetiredWindows();
    void SetRelayListEntry(LPCSTR address, UINT port, bool onList);
    void DecideInRelayMode(int room);
    void DecideInDirectMode(int room);

    CString m_strBasePath;
    DWORD m_dwFirewallMode = 0;
    int m_bProxyInUse = 0;
    int m_nServerPort = 0;
    char m_szServerAddr[40] = {};
    int m_nRelayServerPort = 80;
    char m_szRelayServerAddr[40] = {};
    int m_bRelayInUse = 0;
    char m_szRelayUser[64] = {};
    char m_szRelayPassword[64] = {};
    SpeedSampleList m_roomSamples;
    SpeedSampleList m_serverSamples;
    int m_nLastDecision = 0;
    int m_nRoomSampleCount = 0;
    CRuviDerezWnd* m_pTestWnd = nullptr;
    DWORD m_dwStatStamp = 0;
    int m_bRelayTestAllowed = 1;
    int m_nPreviousMeasure = 0;
    FILE* m_pLog = nullptr;
    int m_bEncodeNames = 1;
    int m_bCancelledAtClose = 0;
    int m_bChoosingPath = 0;
    // A measurement runs with waits that pump; a stop meanwhile retires its
    // window (deleted once no measurement runs) and bumps the generation, so
    // the late result is dropped.
    int m_bMeasuring = 0;
    int m_nSpeedTestGeneration = 0;
    std::vector<CRuviDerezWnd*> m_retiredWnds;
};
