// The framework operations of the framing socket that this system does not
// call: the idle setting, sending with a confirmation, the status frame, the
// trust exit with its confirmation, the framework's own way into a game, and
// the small connect and reassembly controls.

#include "knclientbase05/KNSocket.h"

#include "knclientbase05/ChatSetup.h"
#include "knclientbase05/FrameworkSupport.h"
#include "knclientbase05/GameRegistry.h"
#include "knclientbase05/KNChat.h"
#include "knclientbase05/KNpubSystem.h"
#include "knclientbase05/LaunchInfo.h"
#include "knclientbase05/LoginFrame.h"
#include "knclientbase05/NoticeText.h"
#include "knclientbase05/ServerFrames.h"
#include "knclientbase05/WaitCursor.h"
#include "knclientbase05/WaitWindow.h"
#include "outside/CrtArguments.h"
#include "platform/controls/MessageBox.h"
#include "platform/window/Window.h"

#include <memory>
#include <vector>

using framework::HasPayload;
using framework::kNameField;
using framework::MakeFrame;
using framework::PayloadOf;
using framework::ResourceString;

namespace {

constexpr DWORD kStatusFrame = 0x174;
constexpr DWORD kStatusPayload = 28;
constexpr DWORD kDefaultIdleSeconds = 120;

constexpr UINT kStringConnecting = 29908;
constexpr UINT kStringNoLaunchRecord = 29912;
constexpr UINT kStringConnected = 29913;
constexpr UINT kStringIllegalName = 29914;
constexpr UINT kStringCannotEnter = 29915;

} // namespace

int CKNSocket::GetIdleSeconds() {
    DWORD seconds = kDefaultIdleSeconds;
    RegReadValue("Game\\Share", "IdleSecond", &seconds, sizeof seconds, kDefaultIdleSeconds);
    return int(seconds);
}

int CKNSocket::SendAndConfirm(const tagMSGHEADER* frame, DWORD expectType) {
    return SendMessage(frame, KN_WAIT_ONLY, expectType) ? 0 : 1;
}

int CKNSocket::SendStatusFrame(DWORD value, int kind) {
    if (m_hSocket == INVALID_SOCKET)
        return 0;
    BYTE wire[kShortHeaderSize + kStatusPayload] = {};
    WriteWireWord(wire, kStatusFrame);
    WriteWireWord(wire + 4, kStatusPayload);
    BYTE* payload = wire + kShortHeaderSize;
    WriteWireWord(payload, value);
    static const int kKindWord[] = {8, 12, 16, 24};
    if (kind >= 1 && kind <= 4)
        WriteWireWord(payload + kKindWord[kind - 1], 1);
    return Send(wire, int(sizeof wire)) == int(sizeof wire) ? 1 : 0;
}

int CKNSocket::TrustExitAndConfirm() {
    char name[kNameField] = {};
    CopyBoundedText(name, sizeof name, theLaunchInfo.szUserName, kNameField);
    const std::vector<BYTE> request = MakeFrame(framework::kTrustExitFrame, 0, name, sizeof name);
    tagMSGHEADER* reply = nullptr;
    if (!SendMessage(reinterpret_cast<const tagMSGHEADER*>(request.data()), &reply,
                     server_frames::kTrustExitReply) ||
        reply == nullptr)
        return 0;
    if (!HasPayload(reply->type, reply->length, kNameField))
        return 0;
    HandleTrustExitReply(reply, PayloadOf(reply), reply->length);
    return 1;
}

int CKNSocket::ConnectAndLogin() {
    tagLAUNCHINFO record{};
    if ((__argc != 14 && __argc != 15) || !ParseLaunchArguments(__argc, __argv, &record)) {
        ShowTipId(kStringNoLaunchRecord, MB_ICONHAND, 0);
        return 0;
    }
    theLaunchInfo = record;
    char server[sizeof record.szGameServer + 1];
    CopyBoundedText(server, sizeof server, record.szGameServer, sizeof record.szGameServer);

    // The progress goes to the log, and to the wait window when the UI kit
    // gives one.
    std::unique_ptr<CWaitWindow> wait = m_bShowWaitDialogs ? MakeWaitWindow() : nullptr;
    if (m_bShowWaitDialogs)
        DebugTrace("framework: %s", ResourceString(kStringConnecting).c_str());
    if (wait)
        wait->ShowText(kStringConnecting);
    tagMSGHEADER* reply = nullptr;
    {
        CWaitCursorScope cursor;
        if (!Connect(server, record.wGameServerPort, 1))
            return 0;
        if (m_bShowWaitDialogs)
            DebugTrace("framework: %s", ResourceString(kStringConnected).c_str());
        if (wait)
            wait->ShowText(kStringConnected);
        // The window goes before the login is sent.
        wait.reset();

        const std::vector<BYTE> frame = MakeLoginFrame(record);
        if (!SendMessage(reinterpret_cast<const tagMSGHEADER*>(frame.data()), &reply, 0) ||
            reply == nullptr)
            return 0;
    }
    switch (reply->result & 0xFF) {
    case 1: {
        const BYTE* payload = PayloadOf(reply);
        if (reply->length >= 4)
            SetFrameworkTableNumber(WORD(payload[2] | (payload[3] << 8)));
        if (m_pChat != nullptr && IsWindow(m_pChat->m_hWnd))
            SetupChatControl(m_pChat, 0, 0, nullptr);
        return 1;
    }
    case 4:
        Close();
        ShowTipId(kStringIllegalName, MB_ICONHAND, 0);
        return 0;
    default:
        Close();
        ShowTipId(kStringCannotEnter, MB_ICONHAND, 0);
        return 0;
    }
}

DWORD CKNSocket::GetPartialFrame(DWORD* totalSize) {
    const size_t held = m_incoming.Size();
    if (totalSize != nullptr) {
        *totalSize = 0;
        if (held >= kShortHeaderSize) {
            const BYTE* bytes = reinterpret_cast<const BYTE*>(m_incoming.Frame());
            const tagMSGHEADER header{ReadWireWord(bytes), ReadWireWord(bytes + 4), 0};
            *totalSize = DWORD(FrameTotalSize(header));
        }
    }
    return DWORD(held);
}

// The connect's wait, which StopConnect can end.
int CKNSocket::ConnectWaitStep(DWORD* start) {
    if (TakeConnectStop())
        return 0;
    return WaitStep(start, m_bPumpWhileConnecting);
}

// A stopped connect counts as a wait the user gave up on: the path choice
// then tries no other path.
bool CKNSocket::TakeConnectStop() {
    if (!m_bStopConnect)
        return false;
    m_bStopConnect = 0;
    m_nCloseCode = kCloseWaitCancelled;
    m_bWaitStopped = 1;
    return true;
}

int CKNSocket::StopConnect() {
    if (!m_bConnecting)
        return 1;
    m_bStopConnect = 1;
    return 0;
}

void CKNSocket::SetWaitDialogOption(int option, int value) {
    if (option == 1)
        m_bShowWaitDialogs = value;
}
