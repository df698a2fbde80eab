#pragma once

// The framing socket: writes one frame per call, gathers incoming bytes into
// whole frames (one frame per read notification, never reading past a frame),
// inflates compressed frames through "KNZip.dll", hands replies to the caller
// that waits for them and every other frame to OnMessage. Its waits pump
// messages, so the user interface stays alive and frames arrive meanwhile.
// Failures of the connection reach OnClose with a Winsock-style code.

#include "knclientbase05/MessageBoxes.h"
#include "knclientbase05/MessageHeader.h"
#include "platform/Socket.h"

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

    static constexpr int kReplySlots = 10;

protected:
    void OnReceive(int errorCode) override;
    void OnClose(int errorCode) override;

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
};
