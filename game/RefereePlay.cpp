#include "game/GameLogic.h"

#include <algorithm>
#include <cstring>

// Trick play: the first leader, new rounds, accepting the seats' actions and
// the prompt that tells every seat who acts next.

int CGameLogic::CountSeatsNotOut() const {
    int count = 0;
    for (int seat = 0; seat < kSeatCount; ++seat)
        count += !IsSeatOut(seat);
    return count;
}

CardType CGameLogic::LastPlayType() const {
    return m_PlayList.empty() ? 0 : m_PlayList.back().type;
}

void CGameLogic::SendGousijiNotice(int seat, int value) {
    tagGOUSIJIMSG msg;
    InitGousijiMsg(msg);
    msg.nSeat = seat;
    msg.nAnswer = value;
    msg.bFinal = 1;
    SendToAll(&msg, sizeof(msg));
}

// The gousiji seat stops answering like a partner; the table hears of it once.
void CGameLogic::DropGousijiSeat() {
    const int seat = m_nGousijiSeat;
    if (!IsValidSeat(seat))
        return;
    m_bStillInPlay[seat] = 0;
    if (m_nGousijiCount[seat] != 3) {
        m_nGousijiCount[seat] = 3;
        SendGousijiNotice(seat, 3);
    }
}

int CGameLogic::ChooseFirstLeader() {
    if (m_dwRuleFlags & kRuleMostThreesLeads) {
        const int kept = m_nKeptLeader[0];
        if (IsValidSeat(kept) && !IsSeatOut(kept))
            return kept;
        int best = -1, most = -1;
        for (int seat = 0; seat < kSeatCount; ++seat) {
            if (IsSeatOut(seat))
                continue;
            const int threes =
                CountRankCards(m_HandCards[seat], GetHandUsedCount(seat), kRankThree);
            if (threes > most) {
                most = threes;
                best = seat;
            }
        }
        return best;
    }
    if (m_dwRuleFlags & kRuleRecordedSeatLeads) {
        const int kept = m_nKeptLeader[1];
        return IsValidSeat(kept) ? GetNextPlayingSeat(kept) : -1;
    }
    Trace("Erro:-------:Game can not get start rule!");
    return -1;
}

void CGameLogic::StartPlay() {
    m_nGameState = kStatePlay;
    int leader = ChooseFirstLeader();
    if (!IsValidSeat(leader) || IsSeatOut(leader)) {
        leader = -1;
        for (int seat = 0; seat < kSeatCount && leader < 0; ++seat) {
            if (!IsSeatOut(seat))
                leader = seat;
        }
    }
    for (auto& list : m_TributeList)
        list.clear();
    StartNewRound(leader);
    // The prompt goes out also when a trusted seat leads, so every seat
    // knows the counter before the referee plays for it.
    tagACTIONRECORD prompt{};
    prompt.nSeat = leader;
    SetActionMsg(prompt);
    if (IsSeatTrusted(leader))
        QueueAutoAction(leader);
}

void CGameLogic::StartNewRound(int leader) {
    if ((m_dwRuleFlags & kRulePointRound2) && IsValidSeat(leader) && leader == m_nLastPlaySeat &&
        !m_nOpenedPoint[leader] && !m_PlayList.empty()) {
        const CardType won = m_PlayList.back().type;
        const bool noJoker = CardTypeSmallJokers(won) + CardTypeBigJokers(won) == 0;
        bool qualifies = IsLevelPlay(won) && noJoker && GetCardTypeCount(won) > 1;
        if (m_dwRuleFlags & kRuleOpenPointVariant)
            qualifies = qualifies && (CardTypePlainCount(won) == 0 || CardTypeTwos(won) == 0);
        if (qualifies) {
            m_nOpenedPoint[leader] = 1;
            tagPOINTMSG msg;
            InitPointMsg(msg);
            msg.bAnswer = 1;
            msg.bYes = 1;
            msg.nSeat = leader;
            msg.nKind = 3;
            SendToAll(&msg, sizeof(msg));
        }
    }
    if (IsSeatOut(leader))
        leader = GetNextPlayingSeat(leader);
    m_nLastPlaySeat = -1;
    m_nAwaitedAnswers = 1;
    m_ActionQueue.clear();
    m_PlayList.clear();
    m_pWaitShaoMsg.reset();
    const int playing = CountSeatsNotOut();
    if (playing <= 4)
        DropGousijiSeat();
    for (int seat = 0; seat < kSeatCount; ++seat) {
        if (!IsSeatOut(seat)) {
            const bool keepsBurn = (m_nSeatStatus[seat] & kStatusLastPlay) && playing > 4;
            m_nSeatStatus[seat] = keepsBurn ? kStatusLastPlay : 0;
        }
        m_nActionMask[seat] = 0;
        m_nAnswerOrder[seat + 1] = kSeatCount;
    }
    for (int seat = 0; seat < kSeatCount; ++seat) {
        if (m_nSeatStatus[seat] & (kStatusOut2 | kStatusOut3))
            m_bStillInPlay[GetOppositeSeat(seat)] = 0;
        if (IsSeatOut(seat))
            m_bStillInPlay[seat] = 0;
    }
    if (IsValidSeat(leader))
        m_nActionMask[leader] = kActionTakeOut;
}

// A play record of a seat, its codes deciphered into card records. Refused:
// another seat's record, a count outside 0..55, a record shorter than its
// codes, and codes that are no card.
bool CGameLogic::ConvertPlayRecord(int sender, const void* record, int length,
                                   tagACTIONRECORD& out) {
    tagPLAYMSG msg;
    if (!ReadGameRecord(record, length, msg) || msg.nSeat != sender || msg.nCount < 0 ||
        msg.nCount > kHandSize)
        return false;
    if (!DecipherPlayCodes(msg, m_Cipher, (m_dwRuleFlags & kRuleCardsInClear) != 0))
        return false;
    out = tagACTIONRECORD{};
    out.head = tagGAMEMSG{kMsgPlay, int32_t(sizeof(out)) - kGameMsgHeadSize};
    out.nSeat = msg.nSeat;
    out.nType = msg.nType;
    out.nSerial = msg.nPlayCounter;
    out.nCount = msg.nCount;
    for (int i = 0; i < msg.nCount; ++i) {
        if (msg.nCodes[i] < 0 || msg.nCodes[i] >= kCardCodeCount)
            return false;
        out.cards[i] = CardFromIndex(msg.nCodes[i]);
    }
    return true;
}

int CGameLogic::ProcessAction(int sender, const void* record, int length) {
    return RunHandler("Exception:-------:ProcessAction Erro!", [&] {
        tagACTIONRECORD action;
        if (ConvertPlayRecord(sender, record, length, action))
            ProcessActionRecord(action);
        return 1;
    });
}

int CGameLogic::AnswerPosition(int seat) const {
    for (int k = 1; k <= kSeatCount - 1; ++k) {
        if (m_nAnswerOrder[k] == seat)
            return k;
    }
    return 0;
}

bool CGameLogic::HasAnswered(int seat) const {
    return std::any_of(m_ActionQueue.begin(), m_ActionQueue.end(), [&](const tagACTIONRECORD& r) {
        return r.nSeat == seat && r.nSerial == m_nActionSerial;
    });
}

bool CGameLogic::MayActNow(const tagACTIONRECORD& action) const {
    if (action.nType == kActionPass || action.nType == kActionGiveUp)
        return true;
    const int position = AnswerPosition(action.nSeat);
    if (position == 0)
        return false;
    for (int k = 1; k < position; ++k) {
        const int seat = m_nAnswerOrder[k];
        if (!IsValidSeat(seat))
            continue;
        const bool done = m_nSeatStatus[seat] & (kStatusMark8 | kStatusMark1 | kStatusMark2);
        if (!done && !IsSeatOut(seat))
            return false;
    }
    return true;
}

int CGameLogic::ProcessActionRecord(const tagACTIONRECORD& action) {
    const int seat = action.nSeat, kind = action.nType;
    if (m_nGameState != kStatePlay || !IsValidSeat(seat) || action.nSerial != m_nActionSerial ||
        IsSeatOut(seat))
        return 1;
    const bool singleKind = kind == kActionPass || kind == kActionLet || kind == kActionShao ||
                            kind == kActionGiveUp || kind == kActionTakeOut;
    if (!singleKind || (m_nActionMask[seat] & kind) == 0)
        return 1;
    if ((kind == kActionTakeOut || kind == kActionShao) &&
        CheckTakeOutRecords(seat, action.cards, action.nCount) != 1)
        return 1;
    for (const tagACTIONRECORD& received : m_ActionQueue) {
        if (received.nSeat == seat && received.nSerial == action.nSerial &&
            received.nType != kActionLet)
            return 1;
    }
    m_ActionQueue.push_back(action);
    if (m_nAwaitedAnswers == 1 || MayActNow(action)) {
        SetNextAction(action);
        return 1;
    }
    // Too early: it waits until the seats before it in the answer order
    // have answered; of two waiting answers the earlier seat's wins.
    if (m_pWaitShaoMsg) {
        if (AnswerPosition(seat) < AnswerPosition(m_pWaitShaoMsg->nSeat)) {
            *m_pWaitShaoMsg = action;
            m_CurrentAction = action;
        }
        return 1;
    }
    m_pWaitShaoMsg = std::make_unique<tagACTIONRECORD>(action);
    m_CurrentAction = action;
    return 1;
}

void CGameLogic::SetNextAction(const tagACTIONRECORD& action) {
    m_LastAction = action;
    const int seat = action.nSeat, kind = action.nType;
    if ((m_nActionMask[seat] & kind) == 0)
        return;
    int over = 0;
    bool sendPrompt = true;
    switch (kind) {
    case kActionPass:
        over = PassSetNextAction(action);
        break;
    case kActionLet:
        LetSetNextAction(action);
        break;
    case kActionShao:
        m_ActionQueue.clear();
        over = ShaoSetNextAction(action);
        break;
    case kActionTakeOut:
        m_ActionQueue.clear();
        over = TakeoutSetNextAction(action);
        break;
    case kActionGiveUp:
        over = GiveupSetNextAction(action, &sendPrompt);
        break;
    default:
        Trace("Erro:-------:ProcessAction can't switch the kind! nAction is :%d", kind);
        return;
    }
    if (over) {
        for (int s = 0; s < kSeatCount; ++s) {
            m_nSeatStatus[s] = 0;
            m_nActionMask[s] = 0;
        }
    }
    if (sendPrompt)
        SetActionMsg(action);
    if (over) {
        GameOver();
        return;
    }
    // Trusted seats whose turn may have come, in play order after the actor
    // and the actor last (a burner may lead the next round itself).
    for (int step = 1, s = GetPrevSeat(seat); step <= kSeatCount; ++step, s = GetPrevSeat(s)) {
        if (IsSeatTrusted(s) && (m_nActionMask[s] & (kActionTakeOut | kActionShao)))
            QueueAutoAction(s);
    }
}

// The prompt: what was done and who acts next. Only the first seat in the
// answer order that holds a mask is shown one; when the order names no such
// seat (a new round, a play no one may burn) the masks are shown as they are.
void CGameLogic::SetActionMsg(const tagACTIONRECORD& action) {
    try {
        tagPLAYMSG msg;
        InitPlayMsg(msg);
        msg.nSeat = action.nSeat;
        msg.nType = action.nType;
        msg.nPlayCounter = m_nActionSerial;
        const int actor = action.nSeat;
        const int held = IsValidSeat(actor) ? GetHandCardCount(actor) : 0;
        msg.nHandCount = (m_dwRuleFlags & kRuleThrees) == 0 && held <= 10 ? held : 36;
        int shown = -1;
        for (int k = 1; k < kSeatCount && shown < 0; ++k) {
            const int seat = m_nAnswerOrder[k];
            if (IsValidSeat(seat) && m_nActionMask[seat] != 0 && !IsSeatOut(seat))
                shown = seat;
        }
        for (int seat = 0; seat < kSeatCount; ++seat) {
            m_nPublishedMask[seat] = shown < 0 || seat == shown ? m_nActionMask[seat] : 0;
            msg.nActionMask[seat] = m_nPublishedMask[seat];
            msg.nSeatStatus[seat] = m_nSeatStatus[seat];
            if (seat != m_nLastPlaySeat)
                msg.nSeatStatus[seat] &= ~kStatusLastPlay;
        }
        msg.nCount = std::clamp(int(action.nCount), 0, int(kHandSize));
        for (int i = 0; i < msg.nCount; ++i)
            msg.nCodes[i] = action.cards[i].code;
        if (!EncipherPlayCodes(msg, m_Cipher, (m_dwRuleFlags & kRuleCardsInClear) != 0)) {
            Trace("Exception:-------:GetNewTypeMsg failed!");
            return;
        }
        SendToAll(&msg, sizeof(msg));
        m_TimeLimits.Start();
        if ((m_dwRuleFlags & kRuleCardsLeftNotice) && m_nGameState == kStatePlay &&
            IsValidSeat(actor) && held >= 1 && held <= 10)
            SendCardsLeft(actor);
    } catch (...) {
        TraceCaught("Exception:-------:SetActionMsg Erro!");
    }
}
