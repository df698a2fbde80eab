// The network client's chat row, seat forwarding, coin dialogs and coin
// results.

#include "game/GameLogic.h"
#include "table/client/GameNetClient.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr size_t kLevelChars = 16;
constexpr size_t kWatchedNameChars = 20;
constexpr size_t kNoUserLimit = 9;
constexpr size_t kUserNameField = sizeof(tagUSERINFO::szUserName);

void SetColumn(tagCMDINFO& column, LPCSTR caption, UINT width, const char* value, size_t limit) {
    column.lpszCaption = caption;
    column.nWidth = width;
    const size_t length = strnlen(value, std::min(limit, sizeof column.szValue - 1));
    memcpy(column.szValue, value, length);
    column.szValue[length] = '\0';
}

void SetNumberColumn(tagCMDINFO& column, LPCSTR caption, UINT width, int value) {
    char text[16];
    snprintf(text, sizeof text, "%d", value);
    SetColumn(column, caption, width, text, sizeof text);
}

// The user name of the record that sits at the seat (the one watched).
const char* NameOfSeat(const CGameLogic& board, int seat) {
    for (int index = 0; index < kSeatCount; ++index) {
        const tagUSERINFO& user = board.GetUserInfo(index);
        if (user.nSeat == seat && user.szUserName[0] != '\0')
            return user.szUserName;
    }
    return "";
}

int SeatOfUser(const CGameLogic& board, const char* name) {
    if (name == nullptr)
        return -1;
    for (int seat = 0; seat < kSeatCount; ++seat) {
        const tagUSERINFO& user = board.GetUserInfo(seat);
        if (strncmp(user.szUserName, name, kUserNameField) == 0 && user.szUserName[0] != '\0')
            return seat;
    }
    return -1;
}

const char* ChargeFailureText(int result) {
    switch (result) {
    case 0:
        return "服务器!";
    case 2:
        return "充够当天次数，不能再充!";
    case 3:
        return "此游戏不能充值!";
    case 4:
        return "到数据库充值失败!";
    case 5:
        return "不到充值的条件!";
    case 10:
        return "未知失败!";
    case 11:
        return "正在游戏，不允许在大厅充值游戏豆!";
    default:
        return nullptr;
    }
}

const char* ExchangeFailureText(int result) {
    switch (result) {
    case 0:
        return "不允许兑换!";
    case 2:
        return "您的财富值不够!";
    case 3:
        return "服务器忙，稍后再试!";
    case 4:
        return "您兑换的游戏豆不能使你的总游戏豆满足房间要求!";
    case 5:
        return "正在游戏，不允许在这里兑换游戏豆!";
    default:
        return nullptr;
    }
}

} // namespace

void CGameNetClient::BuildChatRow(tagCMDINFO* columns, int watcherBeans, int watcherScore) {
    const tagUSERINFO& me = m_board.GetUserInfo(m_nMySeat);
    const uint32_t rules = m_board.GetRuleFlags();
    int index = 0;
    SetNumberColumn(columns[index++], "积分", 16, m_bWatcher ? watcherScore : me.nScore);
    if ((rules & kRuleRoomMode) == 0)
        SetNumberColumn(columns[index++], "游戏豆", 16, m_bWatcher ? watcherBeans : me.nBeans);
    SetColumn(columns[index++], "级别", 32, m_szLevel, kLevelChars);
    if (!m_bWatcher) {
        SetColumn(columns[index++], "旁观对象", 20, "", 1);
    } else if ((rules & kRuleChatWatchTarget) != 0 && m_bWatchTargetLeft) {
        m_bWatchTargetLeft = 0;
        SetColumn(columns[index++], "旁观对象", 20, "#无用户#", kNoUserLimit);
    } else {
        SetColumn(columns[index++], "旁观对象", 20, NameOfSeat(m_board, m_nMySeat),
                  kWatchedNameChars);
    }
    SetColumn(columns[index], nullptr, 0, "", 1);
}

int CGameNetClient::EnterChat(int watcherBeans, int watcherScore) {
    tagCMDINFO columns[5] = {};
    BuildChatRow(columns, watcherBeans, watcherScore);
    return CTablehub::EnterChat(m_pShell != nullptr ? m_pShell->GetChatControl() : nullptr,
                                columns);
}

int CGameNetClient::UpdateChatField(int watcherBeans, int watcherScore) {
    tagCMDINFO columns[5] = {};
    BuildChatRow(columns, watcherBeans, watcherScore);
    return CTablehub::UpdateChatField(m_pShell != nullptr ? m_pShell->GetChatControl() : nullptr,
                                      columns);
}

void CGameNetClient::ChangeSeat(WORD seat, int watch) {
    CTablehub::ChangeSeat(seat, watch);
}

void CGameNetClient::Standup(char* name) {
    if (name != nullptr)
        CTablehub::Standup(name);
}

void CGameNetClient::OnNeedChargeGameCoin(tagGAMECOINCHARGE charge, LPCSTR) {
    CGameWndLink* wnd = LiveGameWnd();
    if (m_bTipShown || wnd == nullptr)
        return;
    wnd->ShowStartButtons(0);
    DWORD values[4];
    if (charge.wValue5 != 0) {
        values[0] = charge.dwValue0;
        values[1] = DWORD(charge.wValue2 - charge.wValue4);
    } else {
        values[0] = charge.dwValue1;
        values[1] = DWORD(charge.wValue3 - charge.wValue4);
    }
    values[2] = charge.wValue2;
    values[3] = charge.dwValue0;
    wnd->OpenChargeDialog(values);
}

void CGameNetClient::OnNeedExchangeGameCoin(DWORD amount, DWORD, LPCSTR) {
    CGameWndLink* wnd = LiveGameWnd();
    if (m_bTipShown || wnd == nullptr)
        return;
    wnd->ShowStartButtons(0);
    m_nExchangeAmount = int(amount);
    m_bExchangePending = 1;
    wnd->OpenExchangeDialog(amount);
}

void CGameNetClient::ReopenExchange() {
    if (m_bExchangePending && !m_bTipShown)
        OnNeedExchangeGameCoin(DWORD(m_nExchangeAmount), 0, nullptr);
}

int CGameNetClient::EndCoinRequest(const char* name) {
    m_nExchangeAmount = 0;
    m_bExchangePending = 0;
    return SeatOfUser(m_board, name);
}

void CGameNetClient::ReportCoinResult(int seat, LPCSTR text, bool exchanged) {
    if (m_pShell != nullptr)
        m_pShell->AppendChatSysText(text);
    const int recordSeat = m_board.GetUserInfo(seat).nSeat;
    CGameWndLink* wnd = LiveGameWnd();
    if (wnd == nullptr || recordSeat < 0 || recordSeat >= 6)
        return;
    wnd->RefreshSeat(recordSeat);
    if (exchanged)
        wnd->ShowExchangeMark(recordSeat);
}

void CGameNetClient::OnChargedGameCoinSuccess(char* name, int beansAfter, int amount, WORD count) {
    const int seat = EndCoinRequest(name);
    if (seat < 0)
        return;
    char text[512];
    if (seat != m_nMySeat || m_bWatcher)
        snprintf(text, sizeof text,
                 "[%s]成功获得游戏豆%d,免费获得游戏豆后游戏豆:%d,[%s]已经成功免费获得%d次游戏豆!",
                 name, amount, beansAfter, name, int(count));
    else
        snprintf(text, sizeof text,
                 "您成功获得游戏豆%d,免费获得游戏豆后游戏豆:%d,您已经成功免费获得%d次游戏豆!",
                 amount, beansAfter, int(count));
    ReportCoinResult(seat, text, false);
}

void CGameNetClient::OnExchangedGameCoinSuccess(char* name, DWORD beans, DWORD wealth) {
    const int seat = EndCoinRequest(name);
    if (seat < 0)
        return;
    char text[512];
    if (seat != m_nMySeat || m_bWatcher)
        snprintf(text, sizeof text, "[%s]兑换游戏豆成功,兑换后,游戏豆:%d,财富值:%d", name,
                 int(beans), int(wealth));
    else
        snprintf(text, sizeof text, "恭喜您兑换游戏豆成功,兑换后,游戏豆:%d,财富值:%d", int(beans),
                 int(wealth));
    ReportCoinResult(seat, text, true);
}

void CGameNetClient::OnChargedGameCoinFailed(int result, DWORD, WORD, WORD) {
    if (const char* text = ChargeFailureText(result))
        ShowBox(text);
    ReopenExchange();
}

void CGameNetClient::OnExchangedGameCoinFailed(int result) {
    if (const char* text = ExchangeFailureText(result))
        ShowBox(text);
    ReopenExchange();
}
