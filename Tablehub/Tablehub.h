#pragma once

// The one class the library exports. A game program derives its network
// client from it, calls its operations to enter the table and send, and
// overrides the callbacks to receive. The order of the virtual callbacks is
// part of the program's binding and must not change.

#include "knbase05/TablehubApi.h"
#include "platform/CString.h"
#include "platform/window/Wnd.h"

// The charge request the server sends (frame 0x241), passed by value.
#pragma pack(push, 1)
struct tagGAMECOINCHARGE {
    DWORD dwValue0;
    DWORD dwValue1;
    WORD wValue2;
    WORD wValue3;
    WORD wValue4;
    WORD wValue5;
};
#pragma pack(pop)
static_assert(sizeof(tagGAMECOINCHARGE) == 16, "charge record layout");

// One chat column: a null caption ends the array; at most 50 entries come
// before it. Lives only in memory, so its size on 64-bit Linux may differ.
struct tagCMDINFO {
    LPCSTR lpszCaption;
    UINT nWidth;
    char szValue[64];
};

constexpr int kMaxChatColumns = 50;

class TABLEHUB_API CTablehub {
public:
    CTablehub();
    CTablehub(const CTablehub& other);
    CTablehub& operator=(const CTablehub& other);
    virtual ~CTablehub();

    // Slots 1-22, in the program's binding order.
    virtual int OnGameMsg(int length, void* record);
    virtual void OnBreak(char* name);
    virtual void OnReConnet(char* name);
    virtual int OnTipMessage(UINT id, UINT style, UINT extra);
    virtual int OnTipMessage(LPCSTR text, UINT style, UINT extra);
    virtual void OnLeaveGame(WORD seat);
    virtual void OnLeaveGame(char* text);
    virtual void OnEscapeGame(char* text);
    virtual void OnRoomBreak(char* text);
    virtual void OnKickOut();
    virtual void OnNetTimeOut(char* text);
    virtual void OnError();
    virtual void OnMastGameOver();
    virtual void OnClose(int error);
    virtual void OnNeedChargeGameCoin(tagGAMECOINCHARGE charge, LPCSTR text);
    virtual void OnNeedChargeGameCoin(DWORD value, WORD count, WORD used, LPCSTR text);
    virtual void OnChargedGameCoinSuccess(char* text, int beans, int amount, WORD count);
    virtual void OnChargedGameCoinFailed(int result, DWORD value, WORD count, WORD used);
    virtual void OnNeedExchangeGameCoin(DWORD amount, DWORD value, LPCSTR text);
    virtual void OnExchangedGameCoinSuccess(char* text, DWORD beans, DWORD wealth);
    virtual void OnExchangedGameCoinFailed(int result);
    virtual void OnChangeSeat();

    int Init(int unused = 0);
    int EnterGame();
    void EnableReceive();
    void DisableReceive();
    int SendMsg(int length, void* record);
    void SendIdle();
    void LeaveGame();
    void EscapeGame();
    void TrustExitGame();
    void Standup(char* name);
    void ChangeSeat(WORD seat, int watch);
    int ChargeGameCoin(DWORD amount);
    int ExchangeGameCoin(DWORD amount);
    int EnterChat(CWnd* chatControl, tagCMDINFO* entries);
    int UpdateChatField(CWnd* chatControl, tagCMDINFO* entries);

    int m_nPlayerCount;
    int m_nMySeat;
    char m_szUserName[20];
    char m_szNickName[20];
    char m_szLoginInfo[40];
    int m_nChangeSeatResult;
    char m_szLevel[16];
    DWORD m_dwLaunchParam;
    int m_nServerValue;
    CString m_strServerText;
    BOOL m_bWatcher;
    BOOL m_bOption;
};
