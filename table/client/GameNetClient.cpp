// The network client's life and its callbacks: records handed to the table
// window, notices, boxes and the roads that leave the table.

#include "table/client/GameNetClient.h"

#include "game/GameLogic.h"
#include "platform/resources/Resource.h"
#include "platform/resources/ResourceStyles.h"
#include "platform/system/Trace.h"
#include "platform/window/Messages.h"
#include "sprite/AppServices.h"
#include "table/client/ReceivedRecords.h"
#include "table/client/RecordKinds.h"

#include <cstdio>

CGameNetClient theClient{theBoard};

namespace {

// The start pane's countdown sprite.
constexpr int kStartCountdownSprite = 515;
// The table window's timer that watches a reconnected player.
constexpr UINT kReconnectTimer = 4000;
constexpr UINT kReconnectDelayMs = 3000;
constexpr UINT kStringPlayerDropped = 68;
constexpr UINT kStringPlayerBack = 69;

} // namespace

CGameNetClient::CGameNetClient(CGameLogic& board)
    : m_pGameWnd(nullptr), m_bTipShown(0), m_nExchangeAmount(0), m_bExchangePending(0),
      m_bWatchTargetLeft(0), m_bClosed(0), m_board(board), m_pShell(nullptr), m_nOpenBoxes(0),
      m_bLeaving(0), m_bGameEnded(0), m_gate([this](BOOL on) { HoldReceive(!on); }) {}

CGameNetClient::~CGameNetClient() {
    m_pGameWnd = nullptr;
}

void CGameNetClient::HoldReceive(BOOL hold) {
    if (hold)
        DisableReceive();
    else
        EnableReceive();
}

CGameWndLink* CGameNetClient::LiveGameWnd() const {
    if (m_pGameWnd == nullptr || !IsWindow(m_pGameWnd->GetLinkWindow()))
        return nullptr;
    return m_pGameWnd;
}

HWND CGameNetClient::LiveMainWnd() const {
    if (m_pShell == nullptr)
        return nullptr;
    HWND main = m_pShell->GetMainHwnd();
    return IsWindow(main) ? main : nullptr;
}

int CGameNetClient::ShowBox(LPCSTR text) {
    if (m_pShell == nullptr) {
        WriteLog("%s", text);
        return IDOK;
    }
    ++m_nOpenBoxes;
    const int result = m_pShell->ShowMessageBox(text);
    --m_nOpenBoxes;
    return result;
}

void CGameNetClient::PostLeave() {
    // Without a main window no table is shown, and no leave is under way.
    if (HWND main = LiveMainWnd()) {
        m_bLeaving = 1;
        PostMessage(main, WM_LEAVE_TABLE, 0, 0);
    }
}

void CGameNetClient::HideStartControls() {
    if (CGameWndLink* wnd = LiveGameWnd()) {
        wnd->ShowStartButtons(0);
        wnd->StopSprite(kStartCountdownSprite);
    }
}

int CGameNetClient::OnGameMsg(int length, void* record) {
    int id = 0;
    if (!PeekGameRecordId(record, length, &id))
        return 1;
    WriteLog("%x,%d", id, int(LoadRecordInt(record, offsetof(tagGAMEMSG, nBodyLen))));
    // Checked once, here: the table window trusts what arrives.
    std::vector<uint8_t> taken;
    const ReceivedRecordCheck check = TakeReceivedRecord(record, length, m_board, taken);
    if (check.fault != kReceivedOk) {
        WriteLog("Refused game record %x of %d bytes: %s", id, length,
                 ReceivedRecordFaultText(check).c_str());
        platform::Trace(platform::TraceChannel::kRecords, platform::kTraceError,
                        "record %x of %d bytes refused: %s", unsigned(id), length,
                        ReceivedRecordFaultText(check).c_str());
        return 1;
    }
    if (id == kMsgGameEnd)
        m_bGameEnded = 1;
    CGameWndLink* wnd = LiveGameWnd();
    if (wnd == nullptr) {
        WriteLog("GameWnd is not ready for type %d!", id);
        return 1;
    }
    // The window releases the gate when the record's presentation ends.
    const RecordKind* kind = FindRecordKind(id);
    const bool held = kind != nullptr && kind->held;
    platform::Trace(platform::TraceChannel::kRecords, platform::kTraceInfo,
                    "record %x of %d bytes handed to the table%s", unsigned(id), length,
                    held ? ", receiving held" : "");
    if (held)
        m_gate.Hold(CReceiveGate::kRecord);
    SendMessage(wnd->GetLinkWindow(), WM_GAME_RECORD, WPARAM(taken.size()), LPARAM(taken.data()));
    return 1;
}

void CGameNetClient::OnBreak(char* name) {
    CGameWndLink* wnd = LiveGameWnd();
    char format[256];
    if (wnd == nullptr || AfxLoadString(kStringPlayerDropped, format, sizeof format) == 0)
        return;
    char text[512];
    snprintf(text, sizeof text, format, name != nullptr ? name : "");
    wnd->ShowNotice(text);
}

void CGameNetClient::OnReConnet(char* name) {
    CGameWndLink* wnd = LiveGameWnd();
    if (wnd == nullptr)
        return;
    SetTimer(wnd->GetLinkWindow(), kReconnectTimer, kReconnectDelayMs, nullptr);
    char format[256];
    if (AfxLoadString(kStringPlayerBack, format, sizeof format) == 0)
        return;
    char text[512];
    snprintf(text, sizeof text, format, name != nullptr ? name : "");
    wnd->ShowNotice(text);
}

int CGameNetClient::OnTipMessage(UINT, UINT, UINT) {
    // The game is over for good: the flag stays set until the table is left.
    m_bTipShown = 1;
    HideStartControls();
    const int result = ShowBox("由于有玩家与服务器失去联系，现在游戏结束!");
    // The connection may have closed while the box was open; its close timer
    // was not started then, so the table is left from here.
    if (m_bClosed && !m_bLeaving)
        PostLeave();
    return result;
}

int CGameNetClient::OnTipMessage(LPCSTR text, UINT, UINT) {
    for (int seat = 0; seat < kSeatCount; ++seat) {
        if (m_board.IsSeatTrusted(seat))
            return 1;
    }
    if (m_bTipShown)
        return 1;
    m_bTipShown = 1;
    HideStartControls();
    ShowBox(text != nullptr ? text : "");
    m_bTipShown = 0;
    if (m_bClosed && !m_bLeaving)
        PostLeave();
    return 1;
}

void CGameNetClient::OnLeaveGame(WORD seatWord) {
    const int seat = seatWord & 0xFFFF;
    if ((m_board.GetRuleFlags() & kRuleChatWatchTarget) == 0)
        return;
    // The seat indexes every per-seat array below.
    if (!IsSeat(seat)) {
        WriteLog("Ignored the leave of seat %d", seat);
        return;
    }
    m_board.ResetLeftSeat(seat);
    CGameWndLink* wnd = LiveGameWnd();
    if (m_bWatcher && m_nMySeat == seat) {
        m_bWatchTargetLeft = 1;
        if (m_pShell != nullptr)
            m_pShell->SetChatUserField(m_szUserName, "旁观对象", "#无用户#");
        int beans = 0;
        int score = 0;
        if (wnd != nullptr)
            wnd->GetWatcherValues(&beans, &score);
        UpdateChatField(beans, score);
    }
    if (wnd == nullptr)
        return;
    wnd->ShowSeatMark(seat, 1);
    wnd->ResetTable();
    wnd->HideFreeSeatMarks();
    wnd->RedrawTableInfo();
    wnd->UpdateSeatCards(seat);
    wnd->RefreshUserList();
    if (!wnd->IsGameOverMarkShown() && !m_board.GetStartFlag(m_nMySeat) && !m_bWatcher) {
        wnd->ShowStartPane(0, 0);
        wnd->ShowStartPane(1, wnd->GetMultiple());
    }
}

void CGameNetClient::OnLeaveGame(char*) {
    // A table that closes after the game-end notice closes for a seat in
    // trusteeship at game over, not because its players left: say so.
    ShowBox(m_bGameEnded ? "有人托管游戏，游戏结束！" : "玩家都已退出，此桌解散!");
    PostLeave();
}

void CGameNetClient::LeaveAfterConnectionLost() {
    m_bClosed = 1;
    // An open box posts the leave when it closes; a leave under way needs
    // no second one.
    if (m_nOpenBoxes > 0 || m_bLeaving)
        return;
    if (HWND main = LiveMainWnd()) {
        m_bLeaving = 1;
        SetTimer(main, kCloseNoticeTimer, kCloseNoticeDelayMs, nullptr);
    }
}

void CGameNetClient::OnEscapeGame(char* text) {
    WriteLog("Left the table: %s", text != nullptr ? text : "");
    LeaveAfterConnectionLost();
}

void CGameNetClient::OnRoomBreak(char* text) {
    WriteLog("The room closed: %s", text != nullptr ? text : "");
    LeaveAfterConnectionLost();
}

void CGameNetClient::OnKickOut() {
    m_bTipShown = 1;
    ShowBox("发现另一位用户以您的用户名和口令进入了游戏室，您与服务器的连接已经断开!");
    PostLeave();
}

void CGameNetClient::OnNetTimeOut(char* text) {
    if (m_bWatcher) {
        ShowBox("您所旁观的玩家超时！");
        PostLeave();
        return;
    }
    // The library closed the connection of a player that timed out.
    WriteLog("Timed out: %s", text != nullptr ? text : "");
    LeaveAfterConnectionLost();
}

void CGameNetClient::OnError() {
    WriteLog("The game connection reported an error");
    LeaveAfterConnectionLost();
}

void CGameNetClient::OnMastGameOver() {}

void CGameNetClient::OnClose(int error) {
    WriteLog("The game connection closed (%d)", error);
    LeaveAfterConnectionLost();
}

void CGameNetClient::OnChangeSeat() {
    CGameWndLink* wnd = LiveGameWnd();
    if (wnd == nullptr)
        return;
    if (m_nChangeSeatResult != 0)
        wnd->OnChangeSeatScene();
    else
        ShowBox("换座位失败！");
}
