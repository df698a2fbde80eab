#include "knclientbase05/KNSocket.h"
#include "knclientbase05/WebPopupTarget.h"

#include "knclientbase05/DrawUtilities.h"
#include "knclientbase05/LangResource.h"
#include "platform/controls/MessageBox.h"
#include "platform/net/PendingConnect.h"
#include "platform/resources/ResourceStyles.h"
#include "platform/system/Clock.h"
#include "platform/system/Module.h"
#include "platform/window/Messages.h"
#include "platform/window/Wnd.h"

#include <utility>

namespace {

constexpr UINT kStringFrameTooLarge = 29674;
constexpr UINT kStringKeepWaiting = 29910;
constexpr long kNoEvents = 0;
constexpr DWORD kLoginFrame = 0x200;
constexpr DWORD kFirstLoginFrame = 0x100;
constexpr int kLingerSeconds = 5;

bool IsLoginFrame(DWORD type) {
    return type == kFirstLoginFrame || type == kLoginFrame;
}

} // namespace

CKNSocket::CKNSocket() = default;

CKNSocket::~CKNSocket() {
    CKNSocket::Close();
    if (m_hZip != nullptr)
        FreeLibrary(m_hZip);
}

void CKNSocket::Close() {
    // A close while a connect waits (the program leaves meanwhile) ends the
    // connect as a cancel does, so no connection is made behind the close.
    if (m_bConnecting)
        m_bStopConnect = 1;
    m_bClosing = 1;
    m_pWebPopup.reset();
    CSocket::Close();
    ResetState();
    m_bClosing = 0;
}

void CKNSocket::ResetState() {
    m_hSocket = INVALID_SOCKET;
    m_nCloseCode = kCloseCodeReset;
    m_bWaitStopped = 0;
    for (int slot = 0; slot < kReplySlots; ++slot)
        m_slots[slot] = tagREPLYWAIT{};
    m_bReceiveEnabled = 1;
    m_bDataPending = 0;
    m_nSuspend = 0;
    m_incoming.Reset();
    m_bStreamBroken = 0;
    m_bProxy = 0;
    m_nWaitDepth = 0;
    m_bLoginPending = 0;
}

int CKNSocket::Receive(void* buffer, int length, int flags) {
    return CAsyncSocket::Receive(buffer, length, flags);
}

int CKNSocket::Send(const void* buffer, int length, int flags) {
    return CSocket::Send(buffer, length, flags);
}

int CKNSocket::Connect(LPCSTR host, UINT port, int ask) {
    if (m_bConnecting)
        return 0;
    Close();
    m_bConnecting = 1;
    ReadProxySettings();
    // The port-80 service's port is looked up for this very port: one kept
    // from an earlier connect would belong to another game.
    m_nConnectRelayPort = m_nRelayPort;
    if (m_nConnectRelayPort == 0) {
        const UINT p80 = GetShareP80Port(port);
        m_nConnectRelayPort = p80 > 0 && p80 <= 0xFFFF ? int(p80) : -1;
    }
    const bool viaProxy = m_bProxy != 0;
    LPCSTR target = viaProxy ? m_szSocksServer : host;
    UINT targetPort = port;
    if (viaProxy)
        targetPort = m_nSocksPort;
    else if (m_nConnectRelayPort > 0)
        targetPort = UINT(m_nConnectRelayPort);
    const int savedAsk = m_bAskOnTimeout;
    m_bAskOnTimeout = ask;
    int ok = OpenConnection(target, targetPort, viaProxy);
    if (ok && viaProxy) {
        ok = m_nSocksVersion == 4 ? Socks4Connect(host, port) : Socks5Connect(host, port);
        if (!ok) {
            // A stopped wait keeps its own code (time-out, cancel).
            if (m_nCloseCode != WSAETIMEDOUT && m_nCloseCode != kCloseWaitCancelled)
                m_nCloseCode = kCloseSocksHandshake;
            // The refused stream is of no further use; dropping it here means
            // no late notification of it reaches OnClose a second time.
            CSocket::Close();
        }
    }
    if (ok && m_nConnectRelayPort > 0)
        SendRelayHeader(port, m_dwRelayValue);
    m_bAskOnTimeout = savedAsk;
    m_bConnecting = 0;
    if (!ok)
        ReportConnectFailure();
    return ok;
}

// The TCP connect itself: a non-blocking connect polled by the wait, instead
// of a thread to kill. 1 with the connection attached.
int CKNSocket::OpenConnection(LPCSTR target, UINT targetPort, bool viaProxy) {
    m_bStopConnect = 0;
    platform::PendingConnect attempt;
    platform::PendingConnect::State state = attempt.Start(target, targetPort);
    DWORD start = GetTickCount();
    while (state == platform::PendingConnect::kRunning) {
        if (!ConnectWaitStep(&start)) {
            attempt.Abandon();
            return 0;
        }
        state = attempt.Poll();
    }
    // A close may have come in the last step, just as the connect was made.
    if (TakeConnectStop()) {
        attempt.Abandon();
        return 0;
    }
    if (state == platform::PendingConnect::kFailed) {
        m_nCloseCode = viaProxy ? kCloseProxyConnect : attempt.Error();
        return 0;
    }
    const SOCKET handle = attempt.TakeHandle();
    if (!Attach(handle)) {
        closesocket(handle);
        return 0;
    }
    const linger flushLast{1, kLingerSeconds};
    SetSockOpt(SO_LINGER, &flushLast, sizeof flushLast);
    return 1;
}

void CKNSocket::ReportConnectFailure() {
    if (m_bHoldConnectReports)
        m_nHeldConnectCode = m_nCloseCode;
    else
        OnClose(m_nCloseCode);
}

int CKNSocket::TakeSlot(DWORD expectType, bool keep) {
    for (int slot = 0; slot < kReplySlots; ++slot) {
        tagREPLYWAIT& wait = m_slots[slot];
        if (wait.busy)
            continue;
        wait = tagREPLYWAIT{};
        wait.expectType = expectType;
        wait.keep = keep ? 1 : 0;
        wait.busy = 1;
        return slot;
    }
    return -1;
}

void CKNSocket::FreeSlot(int slot) {
    m_slots[slot].busy = 0;
}

int CKNSocket::SendMessage(const tagMSGHEADER* frame, tagMSGHEADER** reply, DWORD expectType) {
    if (m_hSocket == INVALID_SOCKET || m_bLoginPending)
        return 0;
    if (frame != nullptr && FrameTotalSize(*frame) > kMaxFrameSize) {
        ShowError(kStringFrameTooLarge, MB_ICONINFORMATION);
        return 0;
    }
    // The slot is taken before anything is written: with none free, no reply
    // can be matched, so the request must not go out.
    int slot = -1;
    if (reply != nullptr) {
        if (expectType == 0 && frame != nullptr)
            expectType = frame->type | kFrameReply;
        slot = TakeSlot(expectType, reply != KN_WAIT_ONLY);
        if (slot < 0) {
            OnClose(m_nCloseCode);
            return 0;
        }
    }
    if (frame != nullptr) {
        const std::vector<BYTE> wire = EncodeFrame(frame);
        const int sent = Send(wire.data(), int(wire.size()));
        if (sent == 0 || sent == SOCKET_ERROR) {
            if (slot >= 0 && m_hSocket != INVALID_SOCKET)
                FreeSlot(slot);
            return 0;
        }
    }
    if (reply == nullptr)
        return 1;

    const bool login = frame != nullptr && IsLoginFrame(frame->type);
    if (login)
        m_bLoginPending = 1;
    DWORD start = GetTickCount();
    ++m_nWaitDepth;
    while (!m_slots[slot].received) {
        if (m_hSocket == INVALID_SOCKET)
            return 0; // Close reset the slots and the depth
        if (!WaitStep(&start, 1)) {
            FreeSlot(slot);
            // The login wait is over either way; a late reply must not leave
            // the socket refusing every send.
            if (login)
                m_bLoginPending = 0;
            if (reply != KN_WAIT_ONLY)
                OnClose(m_nCloseCode);
            WSASetLastError(kErrorReplyWaitFailed);
            if (m_nWaitDepth > 0)
                --m_nWaitDepth;
            return 0;
        }
    }
    if (m_hSocket == INVALID_SOCKET)
        return 0;
    FreeSlot(slot);
    if (reply != KN_WAIT_ONLY)
        *reply = reinterpret_cast<tagMSGHEADER*>(m_slots[slot].reply.data());
    --m_nWaitDepth;
    if (login)
        m_bLoginPending = 0;
    return 1;
}

int CKNSocket::WaitStep(DWORD* start, int pump) {
    const DWORD elapsedSeconds = (GetTickCount() - *start) / 1000;
    if (elapsedSeconds >= DWORD(m_nWaitPeriod)) {
        int answer = 0;
        if (m_bAskOnTimeout) {
            answer = m_pIdTip != nullptr
                         ? m_pIdTip(kStringKeepWaiting, MB_YESNO | MB_ICONQUESTION, UINT(-1))
                         : GameMessageBoxId(kStringKeepWaiting, MB_YESNO | MB_ICONQUESTION, 0);
        }
        if (answer == IDYES) {
            *start = GetTickCount();
        } else {
            if (m_bAskOnTimeout && m_pCancel != nullptr)
                *m_pCancel = 1;
            m_bWaitStopped = m_bAskOnTimeout;
            m_nCloseCode = WSAETIMEDOUT;
            return 0;
        }
    }
    if (m_pCancel != nullptr && *m_pCancel) {
        m_bWaitStopped = 1;
        m_nCloseCode = kCloseWaitCancelled;
        return 0;
    }
    if (!pump) {
        Sleep(10);
        return 1;
    }
    MSG msg;
    if (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (!AfxPreTranslateMessage(&msg)) {
            TranslateMessage(&msg);
            DispatchMessage(&msg);
        }
    } else {
        Sleep(1);
    }
    return 1;
}

void CKNSocket::OnReceive(int errorCode) {
    m_nCloseCode = errorCode;
    if (errorCode != 0) {
        OnClose(errorCode);
        return;
    }
    if (m_bStreamBroken)
        return;
    if (!m_bReceiveEnabled || m_nSuspend > 0) {
        m_bDataPending = 1;
        return;
    }
    if (GetBytesAvailable() == 0) {
        AsyncSelect(kNoEvents);
        AsyncSelect(FD_ALL_EVENTS);
        return;
    }
    const size_t wanted = m_incoming.Wanted();
    BYTE* space = m_incoming.Space(wanted);
    const int got = Receive(space, int(wanted));
    if (got == 0) {
        OnClose(WSAGetLastError());
        return;
    }
    if (got == SOCKET_ERROR) {
        const int error = WSAGetLastError();
        if (error != WSAEWOULDBLOCK && error != WSAEINPROGRESS)
            OnClose(error);
        return;
    }
    switch (m_incoming.Commit(size_t(got))) {
    case FrameAssembler::kNeedMore:
        return;
    case FrameAssembler::kTooLarge:
        ReceiveFailed(WSAEMSGSIZE);
        return;
    case FrameAssembler::kComplete:
        break;
    }
    std::vector<BYTE> frame = m_incoming.Take();
    const DWORD type = reinterpret_cast<tagMSGHEADER*>(frame.data())->type;
    if (type != kLinkEventFrame && (type & kFrameCompressed) && !Inflate(frame)) {
        ReceiveFailed(m_nCloseCode);
        return;
    }
    DeliverFrame(std::move(frame));
}

// The stream can no longer be framed: stop reading it and report.
void CKNSocket::ReceiveFailed(int code) {
    m_bStreamBroken = 1;
    AsyncSelect(kNoEvents);
    m_nCloseCode = code;
    OnClose(code);
}

bool CKNSocket::Inflate(std::vector<BYTE>& frame) {
    if (m_hZip == nullptr) {
        m_hZip = LoadLibrary("KNZip.dll");
        if (m_hZip == nullptr)
            return false;
        m_pUncompress = reinterpret_cast<UncompressFunction>(GetProcAddress(m_hZip, "uncompress"));
        if (m_pUncompress == nullptr || GetProcAddress(m_hZip, "compress") == nullptr) {
            FreeLibrary(m_hZip);
            m_hZip = nullptr;
            m_pUncompress = nullptr;
            return false;
        }
    }
    std::vector<BYTE> inflated;
    if (!InflateFrame(reinterpret_cast<const tagMSGHEADER*>(frame.data()), frame.size(),
                      m_pUncompress, inflated))
        return false;
    frame = std::move(inflated);
    return true;
}

// A waiter for this type takes the frame, or learns that it came; every
// frame nobody takes goes to OnMessage.
void CKNSocket::DeliverFrame(std::vector<BYTE> frame) {
    tagMSGHEADER* header = reinterpret_cast<tagMSGHEADER*>(frame.data());
    bool taken = false;
    for (tagREPLYWAIT& wait : m_slots) {
        if (!wait.busy || wait.received || wait.expectType != header->type)
            continue;
        if (!wait.keep) {
            wait.received = 1;
        } else if (!taken) {
            // Only one keeper gets the frame; a second one waits on.
            wait.received = 1;
            wait.reply = std::move(frame);
            taken = true;
        }
    }
    if (!taken)
        OnMessage(header);
}

void CKNSocket::Reselect() {
    if (!m_bReceiveEnabled || m_nSuspend > 0 || m_hSocket == INVALID_SOCKET)
        return;
    AsyncSelect(FD_ALL_EVENTS);
    if (m_bDataPending) {
        m_bDataPending = 0;
        OnReceive(0);
    }
}

void CKNSocket::EnableReceive() {
    if (m_bReceiveEnabled)
        return;
    m_bReceiveEnabled = 1;
    Reselect();
}

void CKNSocket::DisableReceive() {
    m_bReceiveEnabled = 0;
    if (m_hSocket != INVALID_SOCKET)
        AsyncSelect(kNoEvents);
}

void CKNSocket::SuspendReceive() {
    ++m_nSuspend;
    if (m_hSocket != INVALID_SOCKET)
        AsyncSelect(kNoEvents);
}

void CKNSocket::ResumeReceive() {
    if (m_nSuspend == 0)
        return;
    --m_nSuspend;
    Reselect();
}

void CKNSocket::SetTipCallbacks(TipTextCallback textTip, TipIdCallback idTip) {
    m_pTextTip = textTip;
    m_pIdTip = idTip;
}

int CKNSocket::ShowTipText(LPCSTR text, UINT style, UINT extra) {
    CancelMainWindowModes();
    return m_pTextTip != nullptr ? m_pTextTip(text, style, extra)
                                 : GameMessageBox(text, style, extra);
}

int CKNSocket::ShowTipId(UINT id, UINT style, UINT extra) {
    CancelMainWindowModes();
    return m_pIdTip != nullptr ? m_pIdTip(id, style, extra) : GameMessageBoxId(id, style, extra);
}

int CKNSocket::ShowError(UINT id, UINT style) {
    return m_pIdTip != nullptr ? m_pIdTip(id, style, UINT(-1)) : GameMessageBoxId(id, style, 0);
}

int CKNSocket::SendFixedFrame(DWORD type) {
    if (m_hSocket == INVALID_SOCKET)
        return 0;
    const tagMSGHEADER frame{type, 0, 0};
    return SendMessage(&frame, nullptr, 0);
}

int CKNSocket::SendIdle() {
    return SendFixedFrame(0x201);
}

int CKNSocket::SendEnterDone() {
    return SendFixedFrame(0x208);
}

int CKNSocket::SendLeaveGame() {
    const int sent = SendFixedFrame(0x202);
    FlushAndClose();
    return sent;
}

int CKNSocket::SendEscapeGame() {
    const int sent = SendFixedFrame(0x203);
    FlushAndClose();
    return sent;
}

// The linger option set at connect makes the close wait for the last frame
// to leave.
void CKNSocket::FlushAndClose() {
    if (m_hSocket == INVALID_SOCKET)
        return;
    AsyncSelect(kNoEvents);
    const SOCKET handle = Detach();
    closesocket(handle);
    Close();
}

void CKNSocket::SetCancelFlag(int* cancel) {
    m_pCancel = cancel;
    if (cancel != nullptr)
        *cancel = 0;
}

int CKNSocket::SetWaitPeriod(int seconds) {
    const int old = m_nWaitPeriod;
    m_nWaitPeriod = seconds;
    return old;
}

DWORD CKNSocket::GetBytesAvailable() {
    DWORD available = 0;
    if (m_hSocket == INVALID_SOCKET || !IOCtl(FIONREAD, &available))
        return 0;
    return available;
}

namespace {
WebPopupMaker g_webPopupMaker = nullptr;
} // namespace

void SetWebPopupMaker(WebPopupMaker maker) {
    g_webPopupMaker = maker;
}

WebPopupMaker GetWebPopupMaker() {
    return g_webPopupMaker;
}
