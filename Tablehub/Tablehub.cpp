// The exported client class: its life, its base callbacks, entering the
// table and every frame it sends on the game socket.

#include "Tablehub/Tablehub.h"

#include "Tablehub/EnterGameHandshake.h"
#include "Tablehub/GameSocket.h"
#include "knclientbase05/FrameworkSupport.h"
#include "knclientbase05/LaunchInfo.h"
#include "knclientbase05/MessageBoxes.h"
#include "knclientbase05/NoticeText.h"
#include "knclientbase05/SocketStartup.h"
#include "platform/controls/MessageBox.h"
#include "platform/system/Clock.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

namespace {

constexpr DWORD kGameDataFrame = 0x243;
constexpr DWORD kTrustExitFrame = 0x21A;
constexpr DWORD kStandupFrame = 0x111;
constexpr DWORD kChangeSeatFrame = 0x1AB;
constexpr DWORD kChargeFrame = 0x242;
constexpr DWORD kExchangeFrame = 0x23C;
constexpr DWORD kStandupKind = 8;
constexpr DWORD kExchangeAnswersRequest = 0x80000000;
constexpr size_t kNameField = 20;
// Records whose frame fits this stay on the stack.
constexpr size_t kLocalFrameSize = 1024;
constexpr UINT kStringFrameTooLarge = 29674;
// A keep-alive goes out when no game record has gone for longer than this.
constexpr int64_t kIdleMs = 30000;
constexpr DWORD kOptionSet = 1;

// Tick count of the last game record sent (or of entering the table).
DWORD idleClock = 0;

// The library's notices reach the registered client's OnTipMessage; with
// none registered, the library's own boxes show them.
int TextTip(LPCSTR text, UINT style, UINT extra) {
    if (CTablehub* client = GetRegisteredClient())
        return client->OnTipMessage(text, style, extra);
    return GameMessageBox(text, style, 0);
}

int IdTip(UINT id, UINT style, UINT extra) {
    if (CTablehub* client = GetRegisteredClient())
        return client->OnTipMessage(id, style, extra);
    return GameMessageBoxId(id, style, 0);
}

int SendFrame(DWORD type, const void* payload, size_t length) {
    const std::vector<BYTE> frame = framework::MakeFrame(type, 0, payload, length);
    return GetGameSocket().SendMessage(reinterpret_cast<const tagMSGHEADER*>(frame.data()), nullptr,
                                       0);
}

// A 20-byte name field: at most 19 bytes, whole characters, zero behind.
void FillNameField(char (&field)[kNameField], const char* name, size_t available) {
    memset(field, 0, sizeof field);
    CopyBoundedText(field, sizeof field, name, available);
}

} // namespace

CTablehub::CTablehub()
    : m_nPlayerCount(0), m_nMySeat(0), m_szUserName{}, m_szNickName{}, m_szLoginInfo{},
      m_nChangeSeatResult(0), m_szLevel{}, m_dwLaunchParam(0), m_nServerValue(1), m_bWatcher(0),
      m_bOption(0) {
    // The game socket must outlive every client, whose destructor may close
    // it: made before the client is complete, it is destroyed after it.
    GetGameSocket();
}

CTablehub::CTablehub(const CTablehub& other) = default;
CTablehub& CTablehub::operator=(const CTablehub& other) = default;

CTablehub::~CTablehub() {
    // A copy does not own the connection: only the client the game socket
    // calls closes it, and no callback may reach it once it is gone.
    if (GetRegisteredClient() != this)
        return;
    RegisterClient(nullptr);
    GetGameSocket().Close();
}

int CTablehub::OnGameMsg(int, void*) {
    return 1;
}
void CTablehub::OnBreak(char*) {}
void CTablehub::OnReConnet(char*) {}

int CTablehub::OnTipMessage(UINT id, UINT style, UINT) {
    return AfxMessageBox(id, style, UINT(-1));
}

int CTablehub::OnTipMessage(LPCSTR text, UINT style, UINT) {
    return AfxMessageBox(text, style, 0);
}

void CTablehub::OnLeaveGame(WORD) {}
void CTablehub::OnLeaveGame(char*) {}
void CTablehub::OnEscapeGame(char*) {}
void CTablehub::OnRoomBreak(char*) {}
void CTablehub::OnKickOut() {}
void CTablehub::OnNetTimeOut(char*) {}
void CTablehub::OnError() {}
void CTablehub::OnMastGameOver() {}
void CTablehub::OnClose(int) {}
void CTablehub::OnNeedChargeGameCoin(tagGAMECOINCHARGE, LPCSTR) {}
void CTablehub::OnNeedChargeGameCoin(DWORD, WORD, WORD, LPCSTR) {}
void CTablehub::OnChargedGameCoinSuccess(char*, int, int, WORD) {}
void CTablehub::OnChargedGameCoinFailed(int, DWORD, WORD, WORD) {}
void CTablehub::OnNeedExchangeGameCoin(DWORD, DWORD, LPCSTR) {}
void CTablehub::OnExchangedGameCoinSuccess(char*, DWORD, DWORD) {}
void CTablehub::OnExchangedGameCoinFailed(int) {}
void CTablehub::OnChangeSeat() {}

int CTablehub::Init(int) {
    RegisterClient(this);
    GetGameSocket().SetTipCallbacks(TextTip, IdTip);
    if (!SocketStartup()) {
        TextTip("Socket初始化失败!", MB_ICONSTOP, 10);
        return 0;
    }
    return 1;
}

int CTablehub::EnterGame() {
    if (!ReadLaunchInfo())
        return 0;
    int playerCount = 0;
    tagPLAYERINFO* players = nullptr;
    DWORD firstBlockLength = 0;
    BYTE* firstBlock = nullptr;
    if (!EnterGameHandshake(&theLaunchInfo, &playerCount, &players, &firstBlockLength, &firstBlock,
                            nullptr, nullptr))
        return 0;

    const tagLAUNCHINFO& launch = theLaunchInfo;
    m_nPlayerCount = playerCount;
    CopyBoundedText(m_szUserName, sizeof m_szUserName, launch.szUserName, sizeof launch.szUserName);
    CopyBoundedText(m_szNickName, sizeof m_szNickName, launch.szNickName, sizeof launch.szNickName);
    CopyBoundedText(m_szLoginInfo, sizeof m_szLoginInfo, launch.szLoginInfo,
                    sizeof launch.szLoginInfo);
    m_nMySeat = launch.nSeatIndex;
    m_dwLaunchParam = launch.dwNumberValue;
    CopyBoundedText(m_szLevel, sizeof m_szLevel, launch.szShortText, sizeof launch.szShortText);
    if (launch.dwOption == kOptionSet)
        m_bOption = 1;
    m_bWatcher = m_nMySeat >= m_nPlayerCount ? 1 : 0;

    idleClock = GetTickCount();
    CGameSocket& socket = GetGameSocket();
    socket.EnableReceive();
    socket.SendEnterDone();
    return 1;
}

void CTablehub::EnableReceive() {
    GetGameSocket().EnableReceive();
}

void CTablehub::DisableReceive() {
    GetGameSocket().DisableReceive();
}

int CTablehub::SendMsg(int length, void* record) {
    // Checked before anything is copied: a length the frame cannot carry is
    // refused as the socket refuses an oversized frame.
    if (length < 0 || (length > 0 && record == nullptr))
        return 0;
    const size_t frameSize = kShortHeaderSize + size_t(length);
    if (frameSize > kMaxFrameSize) {
        GetGameSocket().ShowError(kStringFrameTooLarge, MB_ICONINFORMATION);
        return 0;
    }
    alignas(tagMSGHEADER) BYTE local[kLocalFrameSize];
    std::unique_ptr<BYTE[]> heap;
    BYTE* frame = local;
    if (frameSize >= kLocalFrameSize) {
        heap.reset(new (std::nothrow) BYTE[frameSize]);
        if (heap == nullptr)
            return 0;
        frame = heap.get();
    }
    auto* header = reinterpret_cast<tagMSGHEADER*>(frame);
    header->type = kGameDataFrame;
    header->length = DWORD(length);
    if (length > 0)
        memcpy(frame + kShortHeaderSize, record, size_t(length));
    const int sent = GetGameSocket().SendMessage(header, nullptr, 0);
    idleClock = GetTickCount();
    return sent;
}

void CTablehub::SendIdle() {
    // Signed: the tick count wraps after 49 days.
    int64_t since = int32_t(GetTickCount() - idleClock);
    if (since < 0)
        since = -since;
    if (since > kIdleMs)
        GetGameSocket().SendIdle();
}

void CTablehub::LeaveGame() {
    GetGameSocket().SendLeaveGame();
}

void CTablehub::EscapeGame() {
    GetGameSocket().SendEscapeGame();
}

void CTablehub::TrustExitGame() {
    char name[kNameField];
    FillNameField(name, m_szUserName, sizeof m_szUserName);
    SendFrame(kTrustExitFrame, name, sizeof name);
}

void CTablehub::Standup(char* name) {
    BYTE payload[kNameField + 4] = {};
    char field[kNameField];
    FillNameField(field, name, name != nullptr ? strlen(name) : 0);
    memcpy(payload, field, sizeof field);
    WriteWireWord(payload + kNameField, kStandupKind);
    SendFrame(kStandupFrame, payload, sizeof payload);
}

void CTablehub::ChangeSeat(WORD seat, int watch) {
    BYTE payload[12];
    WriteWireWord(payload, 0);
    WriteWireWord(payload + 4, seat & 0xFF);
    WriteWireWord(payload + 8, DWORD(watch));
    SendFrame(kChangeSeatFrame, payload, sizeof payload);
}

int CTablehub::ChargeGameCoin(DWORD) {
    // The server knows the amount it offered: the request carries none.
    return SendFrame(kChargeFrame, nullptr, 0);
}

int CTablehub::ExchangeGameCoin(DWORD amount) {
    CGameSocket& socket = GetGameSocket();
    // Bit 31 tells the server this answers its own request.
    if (socket.IsExchangeRequested())
        amount |= kExchangeAnswersRequest;
    socket.SetExchangeRequested(0);
    BYTE payload[4];
    WriteWireWord(payload, amount);
    return SendFrame(kExchangeFrame, payload, sizeof payload);
}
