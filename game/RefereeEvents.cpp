#include "game/GameLogic.h"
#include "platform/Crt.h"

#include <cstring>

// The table events a host forwards: players and watchers coming and going,
// broken connections, and the game records the seats send.

namespace {

bool SameName(const char* a, const char* b, bool ignoreCase) {
    const size_t room = sizeof(tagUSERINFO::szUserName);
    return ignoreCase ? _strnicmp(a, b, room) == 0 : strncmp(a, b, room) == 0;
}

} // namespace

void CGameLogic::QueueAutoAction(int seat) {
    if (IsValidSeat(seat))
        m_AutoQueue.push_back(seat);
}

// Acting for a seat may make another seat's turn come, which is queued in
// turn; a table of six trusted seats plays a whole game here. The bound only
// stops a fault from spinning for ever.
void CGameLogic::DrainAutoActions() {
    int steps = 0;
    while (!m_AutoQueue.empty() && steps++ < 100000) {
        const int seat = m_AutoQueue.front();
        m_AutoQueue.pop_front();
        try {
            DoAutoAction(seat);
        } catch (...) {
            TraceCaught("Exception:-------:DoAutoAction Erro!");
        }
    }
    m_AutoQueue.clear();
}

int CGameLogic::Charge(int seat, int amount, int kind) {
    tagCHARGE charge{};
    memcpy(charge.szUserName, m_UserInfo[seat].szUserName, sizeof(charge.szUserName));
    charge.nAmount = amount;
    charge.nKind = kind;
    return CallHost(kHostCharge, 0, &charge, sizeof(charge));
}

void CGameLogic::SendTableInfo() {
    tagTABLEINFO info;
    InitTableInfoMsg(info);
    info.head = m_TableHead;
    memcpy(info.users, m_UserInfo, sizeof(info.users));
    // The windows copy these flags: a seat that pressed start before someone
    // came or went stays started, or the game's start would go unseen.
    memcpy(info.nStartFlags, m_nStartFlags, sizeof(info.nStartFlags));
    SendToAll(&info, sizeof(info));
}

void CGameLogic::SendTrustWords(int seat) {
    tagTRUSTWORDSMSG msg;
    InitTrustWordsMsg(msg);
    memcpy(msg.nTrustWords, m_nTrustWord, sizeof(msg.nTrustWords));
    msg.nSeat = seat;
    SendToAll(&msg, sizeof(msg));
}

void CGameLogic::SendUserRecord(int seat, int code) {
    tagUSERRECORDMSG msg;
    InitUserRecordMsg(msg);
    msg.nSeat = seat;
    msg.user = m_UserInfo[seat];
    if (code == kHostSendToAll)
        SendToAll(&msg, sizeof(msg));
    else
        SendToSeat(seat, &msg, sizeof(msg));
}

int CGameLogic::OnUserEnter(int, const tagUSERINFO* user) {
    return RunHandler("Exception:-------:OnUserEnter Erro!", [&] {
        // The record names its own seat: one outside the table is refused.
        if (user == nullptr || !IsValidSeat(user->nSeat))
            return 1;
        const int seat = user->nSeat;
        m_UserInfo[seat] = *user;
        m_bSeatTaken[seat] = 1;
        for (int s = 0; s < kSeatCount; ++s) {
            if (!m_bSeatTaken[s])
                return 1;
        }
        SendTableInfo();
        m_TimeLimits.Start();
        return 1;
    });
}

int CGameLogic::OnUserLeave(const char* userName) {
    return RunHandler("Exception:-------:OnUserLeave Erro!", [&] {
        for (int seat = 0; userName != nullptr && seat < kSeatCount; ++seat) {
            if (!m_bSeatTaken[seat] || !SameName(m_UserInfo[seat].szUserName, userName, true))
                continue;
            m_UserInfo[seat] = tagUSERINFO{};
            m_bSeatTaken[seat] = 0;
            m_nStartFlags[seat] = 0;
            m_nTrustWord[seat] = 0;
            m_nSeatFlag[seat] = 0;
            m_bWatcher[seat] = 0;
            m_nSeatWord[seat] = 0;
            m_nKeptMultiple[seat] = 0;
            m_TableHead.nMultiple[seat] = 1;
            break;
        }
        SendTableInfo();
        return 1;
    });
}

int CGameLogic::OnUserInfoChange(int flags, const tagUSERINFO* user) {
    return RunHandler("Exception:-------:OnUserInfoChange Erro!", [&] {
        for (int seat = 0; user != nullptr && seat < kSeatCount; ++seat) {
            if (!m_bSeatTaken[seat] ||
                !SameName(m_UserInfo[seat].szUserName, user->szUserName, false))
                continue;
            if (flags & 0x1)
                m_UserInfo[seat].nBeans = user->nBeans;
            if (flags & 0x2)
                m_UserInfo[seat].nLevel = user->nLevel;
            if (flags & 0x4)
                m_UserInfo[seat].nWealth = user->nWealth;
            SendUserRecord(seat, kHostSendToAll);
            break;
        }
        return 1;
    });
}

int CGameLogic::CountTrustedOrOut() const {
    int count = 0;
    for (int seat = 0; seat < kSeatCount; ++seat)
        count += IsSeatTrusted(seat) || IsSeatOut(seat);
    return count;
}

// A seat that leaves pays the escape settlement while the table has played
// at least one but fewer games than it must, or once any game has begun
// here. At game over the game just played counts, so the first rule reads
// the same there.
bool CGameLogic::EscapeRulesApply() const {
    if ((m_dwRuleFlags & kRuleEscapeBeforeGames) && m_nGamesPlayed >= 1 &&
        m_nGamesPlayed < m_TableHead.nGamesToPlay)
        return true;
    return (m_dwRuleFlags & kRuleEscapeAfterStart) && !m_bFirstGame;
}

int CGameLogic::BreakOrExit(int seat, int trustWord, const char* failureLine) {
    return RunHandler(failureLine, [&] {
        if (!IsValidSeat(seat))
            return 1;
        if (m_bClosing) {
            m_Statistics.Report(*this, m_UserInfo);
            return 2;
        }
        m_nTrustWord[seat] = trustWord;
        SendTrustWords(seat);
        if (m_nGameState == kStateWaitStart) {
            tagSETTLEMENTENTRY entries[kSeatCount] = {};
            if (EscapeRulesApply())
                ProcessExitBean(entries);
            SendGameAbort(entries, true);
            return 2;
        }
        if (CountTrustedOrOut() < kSeatCount) {
            if (trustWord == kTrustBroken)
                ++m_nTrustCount[seat];
            QueueAutoAction(seat);
            return 1;
        }
        if (trustWord == kTrustBroken)
            Trace("Erro:------:All six players is break! How can this happen!");
        SendGameAbort(nullptr, true);
        return 1;
    });
}

int CGameLogic::OnBreak(int seat, intptr_t) {
    return BreakOrExit(seat, kTrustBroken, "Exception:-------:OnBreak Erro!");
}

int CGameLogic::OnTrustExit(int seat, intptr_t) {
    return BreakOrExit(seat, kTrustExit, "Exception:-------:OnTrustExit Erro!");
}

// The game-end notice: once in the referee's life. Afterwards time-out ticks
// are ignored and the host dissolves the table.
void CGameLogic::SendGameAbort(const tagSETTLEMENTENTRY* entries, bool withStatistics) {
    if (m_bClosing)
        return;
    m_bClosing = 1;
    tagGAMEENDMSG msg;
    InitGameEndMsg(msg);
    if (entries != nullptr)
        memcpy(msg.entries, entries, sizeof(msg.entries));
    SendToAll(&msg, sizeof(msg));
    if (withStatistics)
        m_Statistics.Report(*this, m_UserInfo);
    CallHost(kHostTableGameEnded, 0, nullptr, 0);
}

int CGameLogic::OnGameMsg(const tagGAMEEVENT* event) {
    int id = 0;
    if (event == nullptr || event->pRecord == nullptr || event->nLength <= 7 ||
        !PeekGameRecordId(event->pRecord, event->nLength, &id))
        return 1;
    const int sender = event->nSeat;
    const void* record = event->pRecord;
    const int length = event->nLength;
    if (!IsValidSeat(sender))
        return 1;
    switch (id) {
    case kMsgStart:
        return OnPlayerStart(sender, record, length);
    case kMsgPlay:
        return ProcessAction(sender, record, length);
    case kMsgReturnTribute:
        return OnReturnTribute(sender, record, length);
    case kMsgPoint:
        return OnPoint(sender, record, length);
    case kMsgRevolution:
        return OnRevolution(sender, record, length);
    case kMsgGousiji:
        return OnGousiji(sender, record, length);
    case kMsgBuy3:
        return OnBuy3(sender, record, length);
    case kMsgTrust:
        return OnTrustPlay(sender, record, length);
    case kMsgWatcherView:
        return OnWatcherCanSeeMyCard(sender, record, length);
    case kMsgPluginData:
        return OnPluginData(record, length);
    case kMsgSeatRequest:
        return OnSeatRequest(sender, record, length);
    case kMsgCardList:
        return OnDeclCard(sender, record, length);
    case kMsgGuess:
        return OnTakeChance(sender, record, length);
    case kMsgTimeTick:
        return OnTimeOutTick(sender, record, length);
    default: // 0x90D among them: tributes are taken, never sent
        return 1;
    }
}

int CGameLogic::OnPluginData(const void* record, int length) {
    return RunHandler("Exception:-------:OnPluginData Erro!", [&] {
        tagPLUGINMSG msg;
        if (ReadGameRecord(record, length, msg))
            SendToAll(&msg, sizeof(msg));
        return 1;
    });
}

int CGameLogic::OnSeatRequest(int sender, const void* record, int length) {
    return RunHandler("Exception:-------:OnSeatRequest Erro!", [&] {
        tagSEATREQUESTMSG msg;
        if (!ReadGameRecord(record, length, msg) || !IsValidSeat(msg.nSeat))
            return 1;
        // The asker gets the record it asked for.
        tagUSERRECORDMSG reply;
        InitUserRecordMsg(reply);
        reply.nSeat = msg.nSeat;
        reply.user = m_UserInfo[msg.nSeat];
        SendToSeat(sender, &reply, sizeof(reply));
        return 1;
    });
}

int CGameLogic::OnWatcherCanSeeMyCard(int sender, const void* record, int length) {
    return RunHandler("Exception:-------:OnWatcherCanSeeMyCard Erro!", [&] {
        tagWATCHERVIEWMSG in;
        if (!ReadGameRecord(record, length, in) || in.nSeat != sender)
            return 1;
        const int seat = sender;
        m_bWatcher[seat] = in.bAllow ? 1 : 0;
        tagWATCHERVIEWMSG out;
        InitWatcherViewMsg(out);
        out.bAllow = m_bWatcher[seat];
        out.nSeat = seat;
        const int held = GetHandCardCount(seat);
        if (m_bWatcher[seat]) {
            out.nCount = GetHandUsedCount(seat);
            memcpy(out.hand, m_HandCards[seat], sizeof(out.hand));
        } else {
            const bool fewShown = (m_dwRuleFlags & kRuleThrees) == 0 && held < 11;
            out.nCount = fewShown ? held : 36;
            for (int i = 0; i < out.nCount; ++i)
                out.hand[i] = MakeHiddenCard();
        }
        SendToWatchers(seat, &out, sizeof(out));
        SendCardsLeftToWatchers(seat);
        return 1;
    });
}

int CGameLogic::OnDeclCard(int sender, const void* record, int length) {
    return RunHandler("Exception:-------:OnDeclCard Erro!", [&] {
        tagCARDLIST msg;
        // The cue comes from the sending seat itself, to one of its
        // teammates; the reader has bounded the count to 0..10.
        if (!ReadGameRecord(record, length, msg) || msg.nFromSeat != sender)
            return 1;
        const int target = msg.nSeat;
        if (!IsTeammate(sender, target))
            return 1;
        if (GetHandCardCount(target) <= 10 && !IsSeatOut(target))
            SendForwardedToSeat(target, &msg, sizeof(msg));
        return 1;
    });
}
