#include "game/GameLogic.h"

#include <algorithm>
#include <cstring>

// Acting for seats that are absent, trusted or too slow, the trusteeship
// switch, time-out ticks and the cards-left notices. Records made for a seat
// go through the seat's own handlers and their checks.

void CGameLogic::DoAutoAction(int seat) {
    if (!IsValidSeat(seat) || m_bClosing)
        return;
    const int mask = m_nActionMask[seat];
    switch (m_nGameState) {
    case kStateWaitStart: {
        if (!m_bSeatTaken[seat] || m_nStartFlags[seat])
            return;
        tagSTARTMSG msg;
        InitStartMsg(msg);
        msg.nSeat = seat;
        msg.nMultiple = m_nKeptMultiple[seat]      ? m_nKeptMultiple[seat]
                        : m_UserInfo[seat].bMember ? m_TableHead.nMaxMultiple
                                                   : m_TableHead.nBaseMultiple;
        OnPlayerStart(seat, &msg, sizeof(msg));
        return;
    }
    case kStatePointRound1:
    case kStatePointRound2: {
        const int asked =
            m_nGameState == kStatePointRound1 ? kActionPointRound1 : kActionPointRound2;
        if (mask != asked)
            return;
        tagPOINTMSG msg;
        InitPointMsg(msg);
        msg.bAnswer = 1;
        msg.nSeat = seat;
        OnPoint(seat, &msg, sizeof(msg));
        return;
    }
    case kStateTribute:
        AutoReturnTribute(seat);
        return;
    case kStateBuyThree: {
        if (mask != kActionBuyThree)
            return;
        tagBUY3MSG msg;
        InitBuy3Msg(msg);
        msg.nSeat = seat;
        OnBuy3(seat, &msg, sizeof(msg));
        return;
    }
    case kStateRevolution: {
        if (mask != kActionRevolution)
            return;
        tagREVOLUTIONMSG msg;
        InitRevolutionMsg(msg);
        msg.nSeat = seat;
        OnRevolution(seat, &msg, sizeof(msg));
        return;
    }
    case kStateGousiji: {
        if (mask != kActionAnswer)
            return;
        tagGOUSIJIMSG msg;
        InitGousijiMsg(msg);
        msg.nSeat = seat;
        OnGousiji(seat, &msg, sizeof(msg));
        return;
    }
    case kStatePlay:
        AutoPlay(seat);
        return;
    default:
        return;
    }
}

// The first play the search offers that the checks accept, beating toBeat
// (0: a lead); 0 cards when there is none.
int CGameLogic::PickAutoPlay(int seat, CardType toBeat, int codes[kHandSize]) {
    std::vector<CardType> candidates;
    Search(toBeat, seat, candidates);
    for (CardType candidate : candidates) {
        const int count = PickCardsForType(seat, candidate, codes, kHandSize);
        if (count > 0 && CheckTakeOut(seat, codes, count) == 1)
            return count;
    }
    return 0;
}

// Leads the first searched play; answers a play it was asked to take out
// with the first searched play that beats it, else passes, so a trusted seat
// plays its hand instead of keeping it to the end. A burn needs judgement
// the search does not have: asked to burn, the seat gives up.
void CGameLogic::AutoPlay(int seat) {
    const int mask = m_nActionMask[seat];
    if ((mask & (kActionTakeOut | kActionShao)) == 0)
        return;
    int codes[kHandSize];
    int count = 0;
    int type;
    if (!m_PlayList.empty()) {
        if ((mask & kActionTakeOut) && (m_nPublishedMask[seat] & kActionTakeOut)) {
            count = PickAutoPlay(seat, m_PlayList.back().type, codes);
            type = count > 0 ? kActionTakeOut : kActionPass;
        } else if ((mask & kActionShao) && (m_nPublishedMask[seat] & kActionShao)) {
            type = kActionGiveUp;
        } else {
            return;
        }
    } else {
        type = kActionTakeOut;
        count = PickAutoPlay(seat, 0, codes);
        if (count == 0)
            return;
    }
    tagPLAYMSG msg;
    InitPlayMsgWithCodes(msg, codes, count);
    msg.nSeat = seat;
    msg.nType = type;
    msg.nPlayCounter = m_nActionSerial;
    EncipherPlayCodes(msg, m_Cipher, (m_dwRuleFlags & kRuleCardsInClear) != 0);
    ProcessAction(seat, &msg, PlayMsgLength(count));
}

// Returns the first return the seat owes. A trusted seat is not held to the
// rank rule, so when no rank suits it returns its lowest cards instead of
// holding the table.
void CGameLogic::AutoReturnTribute(int seat) {
    int kind = 0;
    tagTRIBUTEENTRY entry{};
    if (m_nActionMask[seat] != kActionReturnTribute || !FindOwedReturn(seat, &kind, &entry))
        return;
    int codes[kTributeMaxCards];
    if (!ChooseReturnCards(seat, entry.nReceiver, entry.nCount, codes)) {
        if (!IsSeatTrusted(seat))
            return;
        const uint32_t saved = m_dwRuleFlags;
        m_dwRuleFlags |= kRuleReturnAnyRank;
        const int chosen = ChooseReturnCards(seat, entry.nReceiver, entry.nCount, codes);
        m_dwRuleFlags = saved;
        if (!chosen)
            return;
    }
    const tagRETURNTRIBUTEMSG msg = MakeReturnRecord(seat, kind, entry, codes);
    OnReturnTribute(seat, &msg, sizeof(msg));
}

tagRETURNTRIBUTEMSG CGameLogic::MakeReturnRecord(int seat, int kind, const tagTRIBUTEENTRY& entry,
                                                 const int* codes) {
    tagRETURNTRIBUTEMSG msg;
    InitReturnTributeMsg(msg);
    msg.nSeat = seat;
    msg.nReceiver = entry.nReceiver;
    msg.nReturner = seat;
    msg.nCount = std::clamp(int(entry.nCount), 0, int(kTributeMaxCards));
    msg.nKind = kind - 1;
    for (int i = 0; i < msg.nCount; ++i)
        msg.cards[i] = CardFromIndex(codes[i]);
    return msg;
}

void CGameLogic::SwitchTrustOn(int seat) {
    ++m_nTrustCount[seat];
    m_nTrustWord[seat] = kTrustOwn;
    tagTRUSTMSG msg;
    InitTrustMsg(msg);
    msg.nSeat = seat;
    msg.bOn = 1;
    msg.nSwitchCount = m_nTrustCount[seat];
    SendToAll(&msg, sizeof(msg));
}

int CGameLogic::OnTrustPlay(int sender, const void* record, int length) {
    return RunHandler("Exception:-------:OnTrustPlay Erro!", [&] {
        tagTRUSTMSG msg;
        if (!ReadGameRecord(record, length, msg) || msg.nSeat != sender ||
            m_nGameState == kStateWaitStart)
            return 1;
        const int seat = sender;
        if (msg.bOn) {
            if (m_nTrustCount[seat] >= 4)
                return 1;
            ++m_nTrustCount[seat];
            m_nTrustWord[seat] = kTrustOwn;
        } else {
            if (m_nTrustCount[seat] >= 5)
                return 1;
            m_nTrustWord[seat] = 0;
        }
        msg.bOn = msg.bOn ? 1 : 0;
        msg.nSwitchCount = m_nTrustCount[seat];
        SendToAll(&msg, sizeof(msg));
        if (CountTrustedOrOut() == kSeatCount) {
            SendGameAbort(nullptr, true);
            return 1;
        }
        if (msg.bOn && m_nActionMask[seat])
            QueueAutoAction(seat);
        return 1;
    });
}

int CGameLogic::OnTimeOutTick(int sender, const void* record, int length) {
    return RunHandler("Exception:-------:OnTimeOutTick Erro!", [&] {
        tagTIMETICKMSG msg;
        if (!ReadGameRecord(record, length, msg) || m_bClosing || !IsValidSeat(sender))
            return 1;
        if (m_nGameState == kStateBuyThree) {
            if (m_TimeLimits.IsLimitOver(3))
                FinishBuy3Phase();
            return 1;
        }
        if (!m_TimeLimits.IsTimeOut(m_nGameState))
            return 1;
        if (m_nGameState == kStateWaitStart) {
            // Only a full table starts, and only its players are started.
            for (int seat = 0; seat < kSeatCount; ++seat) {
                if (!m_bSeatTaken[seat])
                    return 1;
            }
            for (int seat = 0; seat < kSeatCount; ++seat)
                DoAutoAction(seat);
            return 1;
        }
        // The seat the table waits for: the one the last prompt named, else
        // the first that holds a mask and has not answered yet.
        int late = -1;
        for (int pass = 0; pass < 2 && late < 0; ++pass) {
            for (int seat = 0; seat < kSeatCount && late < 0; ++seat) {
                const int mask = pass == 0 && m_nGameState == kStatePlay ? m_nPublishedMask[seat]
                                                                         : m_nActionMask[seat];
                if (mask && m_nActionMask[seat] && !IsSeatOut(seat) && !HasAnswered(seat))
                    late = seat;
            }
        }
        if (late < 0)
            return 1;
        if (m_nGameState == kStatePlay) {
            if (!IsSeatTrusted(late))
                SwitchTrustOn(late);
            DoAutoAction(late);
            return 1;
        }
        const int state = m_nGameState;
        const int owed = m_nReturnsOwed[late];
        DoAutoAction(late);
        // A return it could not choose: the referee takes the seat over.
        if (state == kStateTribute && m_nGameState == state && m_nReturnsOwed[late] == owed &&
            !IsSeatTrusted(late)) {
            SwitchTrustOn(late);
            DoAutoAction(late);
        }
        return 1;
    });
}

namespace {

// Up to ten unplayed card codes of a hand; 255 each when hidden.
int ListCardsLeft(const tagCARD* hand, int used, bool hidden, int32_t codes[kCardListMaxCodes]) {
    int count = 0;
    for (int i = 0; i < used && count < kCardListMaxCodes; ++i) {
        if (IsCountingCard(hand[i]))
            codes[count++] = hidden ? int32_t(kHiddenCardCode) : int32_t(hand[i].code);
    }
    return count;
}

} // namespace

void CGameLogic::SendCardsLeft(int seat) {
    for (int teammate : {GetPrevTeammate(seat), GetNextTeammate(seat)}) {
        tagCARDLIST msg;
        InitCardListMsg(msg);
        msg.nSeat = seat;
        msg.nFromSeat = kSeatCount;
        msg.nCount = ListCardsLeft(m_HandCards[seat], GetHandUsedCount(seat), false, msg.nCodes);
        SendToSeat(teammate, &msg, sizeof(msg));
        if (!m_bWatcher[teammate])
            ListCardsLeft(m_HandCards[seat], GetHandUsedCount(seat), true, msg.nCodes);
        SendToWatchers(teammate, &msg, sizeof(msg));
    }
}

void CGameLogic::SendCardsLeftToWatchers(int watchedSeat) {
    if ((m_dwRuleFlags & kRuleCardsLeftNotice) == 0 || m_nGameState != kStatePlay)
        return;
    for (int teammate : {GetPrevTeammate(watchedSeat), GetNextTeammate(watchedSeat)}) {
        const int held = GetHandCardCount(teammate);
        if (held < 1 || held > 10)
            continue;
        tagCARDLIST msg;
        InitCardListMsg(msg);
        msg.nSeat = teammate;
        msg.nFromSeat = kSeatCount;
        msg.nCount = ListCardsLeft(m_HandCards[teammate], GetHandUsedCount(teammate),
                                   !m_bWatcher[watchedSeat], msg.nCodes);
        SendToWatchers(watchedSeat, &msg, sizeof(msg));
    }
}
