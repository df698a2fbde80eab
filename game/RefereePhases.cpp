#include "game/GameLogic.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

// The revolution question, the gousiji question and the guessing bet.

void CGameLogic::StartRevolutionPhase() {
    m_nGameState = kStateRevolution;
    bool anyAsked = false;
    tagREVOLUTIONMSG msg;
    InitRevolutionMsg(msg);
    for (int seat = 0; seat < kSeatCount; ++seat) {
        const bool may = HasNoJokersOrTwos(GetHandUsedCount(seat), m_HandCards[seat]) != 0;
        m_nActionMask[seat] = may ? kActionRevolution : 0;
        m_bRevolutionAnswered[seat] = !may;
        msg.bAsked[seat] = may;
        anyAsked |= may;
    }
    if (!anyAsked) {
        StartPlay();
        return;
    }
    msg.nCount = m_nRevolutionCount;
    SendToAll(&msg, sizeof(msg));
    m_TimeLimits.Start();
    for (int seat = 0; seat < kSeatCount; ++seat) {
        if (m_nActionMask[seat] && IsSeatTrusted(seat))
            QueueAutoAction(seat);
    }
}

int CGameLogic::OnRevolution(int sender, const void* record, int length) {
    return RunHandler("Exception:-------:OnRevolution Erro!", [&] {
        tagREVOLUTIONMSG msg;
        if (!ReadGameRecord(record, length, msg) || msg.nSeat != sender ||
            m_nGameState != kStateRevolution || m_nActionMask[sender] != kActionRevolution)
            return 1;
        const int seat = sender;
        m_nActionMask[seat] = 0;
        m_bRevolutionAnswered[seat] = 1;
        const int yes = msg.bYes ? 1 : 0;
        if (yes) {
            m_nSeatStatus[seat] = kStatusOut1;
            if (m_nRevolutionSeat < 0)
                m_nRevolutionSeat = seat;
            ++m_nRevolutionCount;
            if ((m_dwRuleFlags & kRuleGousijiAfterRevolution) == 0)
                m_bStillInPlay[GetOppositeSeat(seat)] = 0;
        }
        msg.bAnswer = 1;
        msg.bYes = yes;
        for (int s = 0; s < kSeatCount; ++s)
            msg.bAsked[s] = !m_bRevolutionAnswered[s];
        msg.nCount = m_nRevolutionCount;
        SendToAll(&msg, sizeof(msg));
        if (m_nRevolutionCount >= 2) {
            // Two revolutions: the game is played again from the start.
            m_bFirstGame = 1;
            for (int s = 0; s < kSeatCount; ++s) {
                if (IsSeatTrusted(s)) {
                    SendGameAbort(nullptr, true);
                    break;
                }
            }
            ResetGameData();
            for (auto& list : m_TributeList)
                list.clear();
            m_nGameState = kStateWaitStart;
            return 1;
        }
        for (int s = 0; s < kSeatCount; ++s) {
            if (!m_bRevolutionAnswered[s])
                return 1;
        }
        if ((m_dwRuleFlags & kRuleGousijiAfterRevolution) && m_nRevolutionSeat >= 0) {
            const int asked = GetOppositeSeat(m_nRevolutionSeat);
            m_nGameState = kStateGousiji;
            for (int s = 0; s < kSeatCount; ++s)
                m_nActionMask[s] = s == asked ? kActionAnswer : 0;
            tagGOUSIJIMSG question;
            InitGousijiMsg(question);
            question.nSeat = asked;
            SendToAll(&question, sizeof(question));
            m_TimeLimits.Start();
            if (IsSeatTrusted(asked))
                QueueAutoAction(asked);
            return 1;
        }
        StartPlay();
        return 1;
    });
}

int CGameLogic::OnGousiji(int sender, const void* record, int length) {
    return RunHandler("Exception:-------:OnGousiji Erro!", [&] {
        tagGOUSIJIMSG msg;
        if (!ReadGameRecord(record, length, msg) || msg.nSeat != sender ||
            m_nGameState != kStateGousiji || m_nActionMask[sender] != kActionAnswer ||
            (m_dwRuleFlags & kRuleGousijiAfterRevolution) == 0 ||
            (m_nSeatStatus[GetOppositeSeat(sender)] & kStatusOut1) == 0)
            return 1;
        const int seat = sender;
        m_nActionMask[seat] = 0;
        tagGOUSIJIMSG answer;
        InitGousijiMsg(answer);
        answer.nSeat = seat;
        answer.bFinal = 1;
        if (msg.bYes) {
            m_nGousijiSeat = seat;
            m_nGousijiCount[seat] = 0;
            answer.nAnswer = 1;
        } else {
            m_bStillInPlay[seat] = 0;
        }
        m_nGousijiAnswer[seat] = answer.nAnswer;
        SendToAll(&answer, sizeof(answer));
        for (int s = 0; s < kSeatCount; ++s) {
            if (m_nActionMask[s] == kActionAnswer)
                return 1;
        }
        StartPlay();
        return 1;
    });
}

int CGameLogic::OnTakeChance(int sender, const void* record, int length) {
    tagGUESSMSG msg;
    if (!ReadGameRecord(record, length, msg))
        return 1;
    char failure[64];
    snprintf(failure, sizeof(failure), "Exception:-------:OnTakeChance kind:%d", msg.nOption);
    return RunHandler(failure, [&] {
        const int seat = sender;
        const int stake = msg.nAmount;
        tagUSERINFO& user = m_UserInfo[seat];
        const tagTABLEHEAD& head = m_TableHead;
        if (msg.nSeat != sender || msg.nOption < 0 || msg.nOption >= kGuessKindCount ||
            stake < head.nMinStake || stake > head.nMaxStake ||
            int64_t(user.nBeans) - stake < head.nKeepBeans ||
            head.nGuessesPlaced[seat] >= head.nMaxGuesses)
            return 1;
        if (!m_pRandom)
            m_pRandom = std::make_unique<COsRandom>();
        int result = 0;
        int card = 0;
        // A table whose rules give no odds or bases takes no bets.
        if (!m_TakeChanceRule.Resolve(msg.nOption, user.bMember != 0, stake, *m_pRandom, &result,
                                      &card))
            return 1;
        if (result < 0)
            result = std::max(result, -std::max(user.nBeans, 0));
        ++m_TakeChanceRule.m_nBets[seat];
        ++m_TableHead.nGuessesPlaced[seat];
        Charge(seat, result, kChargeBet);
        m_Statistics.CountBet(result);
        const int threshold = m_TakeChanceRule.GetAnnounceThreshold();
        if (result > 0 && result >= threshold) {
            char text[128];
            snprintf(text, sizeof(text), "恭喜[%.20s]竞猜成功，赢得 %d 游戏豆", user.szNickName,
                     result);
            CallHost(kHostGuessResult, 0, text, int(strlen(text)));
        }
        user.nBeans += result;
        msg.nAmount = result;
        // The answer carries the drawn card where the bet carried the kind:
        // the player's betting dialog shows it.
        msg.nOption = card;
        SendToAll(&msg, sizeof(msg));
        return 1;
    });
}
