#pragma once

// The framing socket: writes one frame per call, gathers incoming bytes into
// whole frames (one frame per read notification, never reading past a frame),
// inflates compressed frames through "KNZip.dll", hands replies to the caller
// that waits for them and every other frame to OnMessage. Its waits pump
// messages, so the user interface stays alive and frames arrive meanwhile.
// Failures of the connection reach OnClose with a Winsock-style code.

#include "knclientbase05/MessageBoxes.h"
#include "knclientbase05/MessageHeader.h"
#include "platform/net/Socket.h"

#include <memory>
#include <vector>

// Close codes beyond the Winsock ones.
constexpr int kCloseWaitCancelled = 10200;
constexpr int kCloseProxyConnect = 10201;
constexpr int kCloseSocksHandshake = 10202;
constexpr int kErrorReplyWaitFailed = 10203;
constexpr int kCloseCodeReset = 10300;

// The reply argument of SendMessage that waits without taking the frame.
#define KN_WAIT_ONLY (reinterpret_cast<tagMSGHEADER**>(1))

struct tagREPLYWAIT {
    int busy = 0;
    DWORD expectType = 0;
    std::vector<BYTE> reply; // the received frame, owned by the slot
    int received = 0;
    int keep = 0;
};

class CPromptTarget;
class CWebPopupTarget;
class CKNChat;

class CKNSocket : public CSocket {
public:
    CKNSocket();
    ~CKNSocket() override;

    void Close() override;
    // Reads what is there without waiting (SOCKET_ERROR with WSAEWOULDBLOCK
    // when nothing is).
    int Receive(void* buffer, int length, int flags = 0) override;
    int Send(const void* buffer, int length, int flags = 0) override;

    virtual int Connect(LPCSTR host, UINT port, int ask);
    // Writes frame (when given); with reply, waits for the frame of
    // expectType (0: the frame's type as a reply). *reply then points at the
    // slot's copy, valid until the slot is taken again; never freed by the
    // caller. KN_WAIT_ONLY waits and leaves the frame to OnMessage.
    virtual int SendMessage(const tagMSGHEADER* frame, tagMSGHEADER** reply, DWORD expectType);
    virtual int OnMessage(tagMSGHEADER* frame);
    // The framework handlers, in this order (KNSocketFramework.cpp).
    // With a socket open: OnClose with -1.
    virtual void CloseForReason(int reason);
    // Receiving held; the notice "[name] dropped" / "came back" as a tip.
    virtual void OnPlayerBreak(LPCSTR name);
    virtual void OnPlayerReConnect(LPCSTR name);
    virtual void OnSpareEvent1();
    virtual void OnSpareEvent2();
    // The game-over notice (when asking is on) and WM_CLOSE to the main window.
    virtual void OnMastGameOver();
    // This process's id under "...\Share\Settings\MPID", named after the
    // program file; undone by OnClose.
    virtual void RegisterProcess(tagMSGHEADER* frame);
    // The quick-buy page of frame 0x249 in the pop-up (made once, kept
    // until Close): only http and https addresses.
    virtual void ShowWebPopup(tagMSGHEADER* frame);

    // Framework settings and operations this system does not call.
    // The attached prompt window takes the text; FALSE without one.
    BOOL ShowPrompt(LPCSTR text);
    void SetPromptWindow(CPromptTarget* prompt) { m_pPrompt = prompt; }
    void SetChatWindow(CKNChat* chat) { m_pChat = chat; }
    void SetWebPopupAllowed(int allowed) { m_bWebPopupAllowed = allowed; }
    // Frame 0x244 is kept when its name is this one (empty: the launch
    // record's user name).
    void SetSwitchName(LPCSTR name);
    const BYTE* GetSwitchRecord() const { return m_switchRecord; }
    static constexpr size_t kSwitchRecordSize = 44;
    // "IdleSecond" of the shared settings, 120 when absent.
    int GetIdleSeconds();
    // Sends frame and waits until a frame of expectType has come (it is
    // still dispatched). Unlike the rest of the socket it reports failure:
    // 1 when the frame could not be sent or the wait ended without it, 0
    // when it came; framework callers test it that way.
    int SendAndConfirm(const tagMSGHEADER* frame, DWORD expectType);
    // Frame 0x174 written directly: value, and a 1 in the word of kind 1-4.
    int SendStatusFrame(DWORD value, int kind);
    // Frame 0x21A with the launch record's user name, waiting for its reply.
    int TrustExitAndConfirm();
    // The framework's own way in: launch record, connect, login frame 0x200
    // (its table number goes to SetFrameworkTableNumber), chat set-up.
    int ConnectAndLogin();
    // Bytes held of the frame being gathered; *totalSize its whole size once
    // its header is in, else 0.
    DWORD GetPartialFrame(DWORD* totalSize);
    // Ends a running Connect as a cancel does (close code 10200); 1 when no
    // connect was running.
    int StopConnect();
    // Option 1: whether ConnectAndLogin tells its progress (on by default).
    void SetWaitDialogOption(int option, int value);
    void SetPumpWhileConnecting(int pump) { m_bPumpWhileConnecting = pump; }

    void EnableReceive();
    void DisableReceive();
    void SuspendReceive();
    void ResumeReceive();

    void SetTipCallbacks(TipTextCallback textTip, TipIdCallback idTip);
    int ShowTipText(LPCSTR text, UINT style, UINT extra);
    int ShowTipId(UINT id, UINT style, UINT extra);
    int ShowError(UINT id, UINT style);

    int SendIdle();
    int SendLeaveGame();
    int SendEscapeGame();
    int SendEnterDone();

    // One step of a blocking wait; 0 when the wait must stop.
    int WaitStep(DWORD* start, int pump);

    int* GetCancelFlag() const { return m_pCancel; }
    void SetCancelFlag(int* cancel);
    int SetWaitPeriod(int seconds);
    int IsWaitStopped() const { return m_bWaitStopped; }
    int GetWaitDepth() const { return m_nWaitDepth; }
    int IsReceiveEnabled() const { return m_bReceiveEnabled; }
    DWORD GetBytesAvailable();
    void SetAskOnTimeout(int ask) { m_bAskOnTimeout = ask; }
    int GetAskOnTimeout() const { return m_bAskOnTimeout; }

    // The user's SOCKS proxy ("...\Share\Proxy"), read again at every connect.
    void ReadProxySettings();
    int IsProxyEnabled() const { return m_bProxy; }
    // Reads exactly length bytes, pumping between reads. 0 when the wait
    // stops, the socket fails, or the peer closes (at once, close code 10054).
    int ReceiveExact(void* buffer, int length, int flags = 0);
    // The proxy handshakes on this socket's connection, to (host, port).
    int Socks4Connect(LPCSTR host, UINT port);
    int Socks5Connect(LPCSTR host, UINT port);
    // The SOCKS 5 exchange with the given account (user name and password
    // cut at 63 bytes); no port substitution.
    int Socks5Handshake(LPCSTR host, UINT port, LPCSTR user, LPCSTR password);
    // The port-80 service: 0 looks the port up at each connect, -1 means
    // none, above 0 is the port used instead of the one asked for. The value
    // is the header frame's second word.
    void SetRelayPort(int relayPort, DWORD relayValue);
    // The substitute port of the current connection (0: none).
    int GetConnectedRelayPort() const { return m_nConnectRelayPort > 0 ? m_nConnectRelayPort : 0; }
    // Sends the header frame {0x663, 8, port, relay value}; no reply.
    int SendRelayHeader(UINT port, DWORD relayValue);

    static constexpr int kReplySlots = 10;

protected:
    void OnReceive(int errorCode) override;
    void OnClose(int errorCode) override;

    int GetCloseCode() const { return m_nCloseCode; }
    // While set, a failed Connect keeps its close code in m_nHeldConnectCode
    // instead of calling OnClose: the path choice reports only the failure of
    // its last attempt.
    int m_bHoldConnectReports = 0;
    int m_nHeldConnectCode = 0;

private:
    int SendFixedFrame(DWORD type);
    void FlushAndClose();
    void Reselect();
    void ReceiveFailed(int code);
    bool Inflate(std::vector<BYTE>& frame);
    void DeliverFrame(std::vector<BYTE> frame);
    int TakeSlot(DWORD expectType, bool keep);
    void FreeSlot(int slot);
    void ResetState();

    // The framework frames (KNSocketFramework.cpp).
    void ShowServerNotice(const BYTE* payload, DWORD length);
    void ShowFrameNotice(const BYTE* payload, DWORD length);
    void AnswerQuestion(const BYTE* payload, DWORD length);
    void AnswerAddressQuery();
    void KeepSwitchRecord(const BYTE* payload);
    void HandleTrustExitReply(const tagMSGHEADER* frame, const BYTE* payload, DWORD length);
    void HandleTrusteeship(const tagMSGHEADER* frame, const BYTE* payload, DWORD length);
    void HandleRoundList(const tagMSGHEADER* frame, const BYTE* payload, DWORD length);
    void HandleLinkEvent(const tagMSGHEADER* frame, const BYTE* payload, DWORD length);
    void HandleLeaveReply(const BYTE* payload, DWORD length);
    int ShowCloseNotice(LPCSTR text, UINT style);
    void UndoProcessRegistration();
    int ConnectWaitStep(DWORD* start);
    bool TakeConnectStop();
    int m_bWebPopupAllowed = 1;
    CPromptTarget* m_pPrompt = nullptr;
    CKNChat* m_pChat = nullptr;
    std::unique_ptr<CWebPopupTarget> m_pWebPopup;
    int m_bRegisterOnClose = 0;
    BYTE m_switchRecord[kSwitchRecordSize] = {};
    char m_szSwitchName[20] = {};
    int m_bShowWaitDialogs = 1;
    int m_bStopConnect = 0;

    TipTextCallback m_pTextTip = nullptr;
    TipIdCallback m_pIdTip = nullptr;
    int m_bAskOnTimeout = 1;
    int m_nCloseCode = kCloseCodeReset;
    int m_nWaitPeriod = 30;
    int* m_pCancel = nullptr;
    int m_bWaitStopped = 0;
    int m_bReceiveEnabled = 1;
    int m_bDataPending = 0;
    int m_nSuspend = 0;
    tagREPLYWAIT m_slots[kReplySlots];
    FrameAssembler m_incoming;
    // Set when the peer broke the framing; nothing more is read until Close.
    int m_bStreamBroken = 0;
    int m_bClosing = 0;
    int m_nWaitDepth = 0;
    int m_bLoginPending = 0;
    int m_bConnecting = 0;
    int m_bPumpWhileConnecting = 1;
    HMODULE m_hZip = nullptr;
    UncompressFunction m_pUncompress = nullptr;

    // Connect's steps; the proxy ones live in KNSocketProxy.cpp.
    int OpenConnection(LPCSTR target, UINT targetPort, bool viaProxy);
    void ReportConnectFailure();
    int m_bProxy = 0;
    char m_szSocksServer[40] = {};
    UINT m_nSocksPort = 0;
    int m_nSocksVersion = 0;
    char m_szProxyUser[64] = {};
    char m_szProxyPassword[64] = {};
    int m_nRelayPort = 0;
    DWORD m_dwRelayValue = 0;
    int m_nConnectRelayPort = -1;
};
