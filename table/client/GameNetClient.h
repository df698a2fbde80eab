#pragma once

// The program's network client: derived from the library's exported client,
// one global instance (theClient) for the whole run. Inbound it turns the
// library's callbacks into actions of the table window and the main frame;
// outbound it builds one game record per sender and sends it as wire message
// 0x243.

#include "Tablehub/Tablehub.h"
#include "game/Cards.h"
#include "table/client/ClientShell.h"
#include "table/client/GameWndLink.h"
#include "table/client/ReceiveGate.h"

class CGameLogic;

// SendTakeChance's refusals, in the order they are checked.
enum {
    kTakeChanceSent = 0,
    kTakeChanceWatcher = 1,
    kTakeChanceBadOption = 2,
    kTakeChanceBelowMinimum = 3,
    kTakeChanceReserve = 4,
    kTakeChanceAboveMaximum = 5,
    kTakeChanceNoneLeft = 6,
};

// SendAction's results beside CheckTakeOut's own.
enum { kActionSent = 1, kActionWatcher = -1, kActionNotACombination = 5 };

class CGameNetClient : public CTablehub {
public:
    // The client applies the records it takes to the board, and reads the
    // seats and rules its senders and chat columns need from it.
    explicit CGameNetClient(CGameLogic& board);
    ~CGameNetClient() override;
    CGameNetClient(const CGameNetClient&) = delete;
    CGameNetClient& operator=(const CGameNetClient&) = delete;

    int OnGameMsg(int length, void* record) override;
    void OnBreak(char* name) override;
    void OnReConnet(char* name) override;
    int OnTipMessage(UINT id, UINT style, UINT extra) override;
    int OnTipMessage(LPCSTR text, UINT style, UINT extra) override;
    void OnLeaveGame(WORD seat) override;
    void OnLeaveGame(char* text) override;
    void OnEscapeGame(char* text) override;
    void OnRoomBreak(char* text) override;
    void OnKickOut() override;
    void OnNetTimeOut(char* text) override;
    void OnError() override;
    void OnMastGameOver() override;
    void OnClose(int error) override;
    void OnNeedChargeGameCoin(tagGAMECOINCHARGE charge, LPCSTR text) override;
    using CTablehub::OnNeedChargeGameCoin;
    void OnChargedGameCoinSuccess(char* name, int beansAfter, int amount, WORD count) override;
    void OnChargedGameCoinFailed(int result, DWORD value, WORD count, WORD used) override;
    void OnNeedExchangeGameCoin(DWORD amount, DWORD value, LPCSTR text) override;
    void OnExchangedGameCoinSuccess(char* name, DWORD beans, DWORD wealth) override;
    void OnExchangedGameCoinFailed(int result) override;
    void OnChangeSeat() override;

    // Senders; a watcher sends nothing.
    int SendStart(int multiple);
    void SendTrust(int on, BYTE automatic);
    int SendReturnTribute(int toSeat, int fromSeat, const tagCARD* cards, int count, int kind);
    void SendRevolution(int yes);
    void SendGousiji(int yes);
    void SendWatcherCanSeeMyCard(int allow);
    int SendAction(int type, const int* codes, int count);
    int SendCue(int targetSeat, const int* codes, int count);
    void SendBuy3();
    void SendPayTribute();
    int SendTakeChance(int seat, int option, int amount);
    void SendTimeTick();
    // The sound plug-in's 128 bytes for the other seats (record 0x915).
    void SendPluginData(const void* data);
    // A record the table built itself (the point record), sent as it stands.
    int SendBuiltRecord(int length, void* record) { return SendRecord(length, record); }

    // The own row of the chat panel: BuildChatRow fills at most five
    // columns, the last with a null caption; EnterChat and UpdateChatField
    // send it.
    void BuildChatRow(tagCMDINFO* columns, int watcherBeans, int watcherScore);
    int EnterChat(int watcherBeans = 0, int watcherScore = 0);
    int UpdateChatField(int watcherBeans, int watcherScore);
    void ChangeSeat(WORD seat, int watch);
    void Standup(char* name);

    // Whether the table takes the next record (see ReceiveGate.h).
    CReceiveGate& ReceiveGate() { return m_gate; }

    void SetGameWnd(CGameWndLink* wnd) { m_pGameWnd = wnd; }
    void SetShell(CClientShell* shell) { m_pShell = shell; }
    // The main frame's side (its chat pane); null while there is none.
    CClientShell* GetShell() const { return m_pShell; }

    CGameWndLink* m_pGameWnd;
    BOOL m_bTipShown;
    int m_nExchangeAmount;
    BOOL m_bExchangePending;
    BOOL m_bWatchTargetLeft;
    BOOL m_bClosed;

protected:
    // The game connection; tests put a recording transport in its place.
    virtual int SendRecord(int length, void* record) { return SendMsg(length, record); }
    // The socket's reading, switched by the receive gate only.
    virtual void HoldReceive(BOOL hold);

private:
    // The table window when it is still a window, else null.
    CGameWndLink* LiveGameWnd() const;
    HWND LiveMainWnd() const;
    int ShowBox(LPCSTR text);
    void PostLeave();
    // The connection is gone: the user is told and the table left, once.
    void LeaveAfterConnectionLost();
    void HideStartControls();
    void ReopenExchange();
    template <class T> void SendPlain(T& record) { SendRecord(int(sizeof record), &record); }
    // A zeroed record of its id and full length, with my seat in it.
    template <class T> T MySeatRecord() const {
        T record;
        InitGameRecord(record);
        record.nSeat = m_nMySeat;
        return record;
    }
    // A coin request succeeded: no exchange is pending any more. Gives the
    // seat of the named user, -1 when none.
    int EndCoinRequest(const char* name);
    // A coin result's line in the chat, and the seat's display refreshed
    // (with the exchange mark over it after an exchange).
    void ReportCoinResult(int seat, LPCSTR text, bool exchanged);

    CGameLogic& m_board;
    CClientShell* m_pShell;
    // Boxes of the client open now, and whether the leave of the table is
    // under way (posted or its close timer started): kept apart from
    // m_bTipShown so that a close after a box still leaves the table.
    int m_nOpenBoxes;
    BOOL m_bLeaving;
    // The referee's game-end notice came: the table closes after it.
    BOOL m_bGameEnded;
    CReceiveGate m_gate;
};

extern CGameNetClient theClient;
