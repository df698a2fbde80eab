#include "game/GameLogic.h"

#include <algorithm>
#include <climits>
#include <cstring>

// The score and bean changes of a finished game, and the settlement of a
// seat that leaves outside a finished game.

namespace {

int32_t ClampToInt(int64_t value) {
    return int32_t(std::clamp<int64_t>(value, INT_MIN, INT_MAX));
}

// A seat that escaped loses the penalty, never more than its beans.
void ChargeEscape(int32_t& beanChange, int64_t beans, int64_t penaltyBeans) {
    if (beans + beanChange > penaltyBeans)
        beanChange = ClampToInt(beanChange - penaltyBeans);
    else
        beanChange = ClampToInt(-std::max<int64_t>(beans, 0));
}

} // namespace

void CGameLogic::SettleGame(tagGAMEOVERMSG& msg, tagSETTLEMENTENTRY entries[kSeatCount]) {
    memset(m_nPointValue, 0, sizeof(m_nPointValue));
    ComputePointTributes(m_nPointValue, m_nOpenedPoint, m_nPointAnswer1, m_nPointAnswer2);
    for (int seat = 0; seat < kSeatCount; ++seat) {
        if (m_nPointAnswer1[seat] && !m_nOpenedPoint[GetOppositeSeat(seat)])
            m_Statistics.CountUndefendedPoint();
    }
    const int32_t* multiple = m_TableHead.nMultiple;
    int64_t gameMultiplier = int64_t(multiple[1] + multiple[3] + multiple[5]) *
                             (multiple[0] + multiple[2] + multiple[4]);
    if (gameMultiplier < 0)
        gameMultiplier = 256;

    const std::vector<int>& places = vecPlace;
    int32_t team[kSeatCount] = {};
    if (IsTeammate(places[0], places[1]) && IsTeammate(places[0], places[2])) {
        for (int k = 0; k < 3; ++k) {
            team[places[k]] = 12;
            team[GetOppositeSeat(places[k])] = -12;
        }
    } else {
        static const int kPlacePoints[kSeatCount] = {4, 2, 0, 0, -2, -4};
        int32_t side[2] = {};
        for (int k = 0; k < kSeatCount; ++k)
            side[places[k] % 2] += kPlacePoints[k];
        for (int seat = 0; seat < kSeatCount; ++seat)
            team[seat] = side[seat % 2];
    }

    AddTributeValues(m_nPointValue, m_TributeList[kTributePoint - 1],
                     m_TributeList[kTributeBie - 1], m_TributeList[kTributeShao - 1],
                     m_TributeList[kTributePlace - 1]);
    bool anyTrusted = false;
    for (int seat = 0; seat < kSeatCount; ++seat)
        anyTrusted |= IsSeatTrusted(seat);
    int64_t factor = m_nPointFactor;
    if (anyTrusted && (m_dwRuleFlags & kRuleTribute))
        factor *= 2;
    for (int32_t& value : m_nPointValue)
        value = ClampToInt(value * factor);

    tagSETTLEREPORT reports[kSeatCount] = {};
    int32_t beans[kSeatCount], changes[kSeatCount], scores[kSeatCount];
    for (int seat = 0; seat < kSeatCount; ++seat) {
        tagUSERINFO& user = m_UserInfo[seat];
        tagSETTLEREPORT& report = reports[seat];
        report.nSize = sizeof(report);
        report.nSeat = user.nSeat;
        memcpy(report.szUserName, user.szUserName, sizeof(report.szUserName));
        scores[seat] = team[seat];
        changes[seat] = ClampToInt((int64_t(team[seat]) * gameMultiplier + m_nPointValue[seat]) *
                                   int64_t(m_nBeanRate));
        beans[seat] = user.nBeans;
        const int judged = IsValidSeat(report.nSeat) ? team[report.nSeat] : team[seat];
        if (judged > 0) {
            report.nWin = 1;
            msg.nResult[seat] = 2;
            ++user.nWins;
        } else if (judged < 0) {
            report.nLoss = 1;
            msg.nResult[seat] = 1;
            ++user.nLosses;
        } else {
            report.nDraw = 1;
            ++user.nDraws;
        }
    }
    CapLosses(beans, changes);

    bool escaped[kSeatCount] = {};
    if (anyTrusted && EscapeRulesApply()) {
        const int64_t penaltyBeans = int64_t(m_nEscapePenalty) * m_nBeanRate;
        for (int seat = 0; seat < kSeatCount; ++seat) {
            if (!IsSeatTrusted(seat))
                continue;
            escaped[seat] = true;
            scores[seat] = ClampToInt(int64_t(scores[seat]) - m_nEscapePenalty);
            ChargeEscape(changes[seat], beans[seat], penaltyBeans);
        }
    }

    tagHISTORYENTRY history{};
    for (int seat = 0; seat < kSeatCount; ++seat) {
        if (m_dwRuleFlags & kRuleAskHostPerSeat)
            changes[seat] =
                ClampToInt(int64_t(changes[seat]) - AskHostForSeat(seat, changes[seat]));
        tagUSERINFO& user = m_UserInfo[seat];
        user.nBeans = ClampToInt(int64_t(user.nBeans) + changes[seat]);
        user.nScore = ClampToInt(int64_t(user.nScore) + scores[seat]);
        history.nScoreChange[seat] = scores[seat];
        history.nBeanChange[seat] = changes[seat];
    }
    msg.change = history;

    for (int seat = 0; seat < kSeatCount; ++seat) {
        tagUSERINFO& user = m_UserInfo[seat];
        const int64_t multiplier = user.bMember ? m_nMemberMultiplier : m_nOtherMultiplier;
        const int32_t shown =
            scores[seat] > 0 ? ClampToInt(scores[seat] * multiplier) : scores[seat];
        entries[seat].nScoreChange = shown;
        entries[seat].nBeanChange = changes[seat];
        entries[seat].bEscaped = escaped[seat];
        const int level = GetLevelFromScore(user.nScore);
        tagSETTLEREPORT& report = reports[seat];
        report.nScoreChange = shown;
        report.nBeanChange = changes[seat];
        report.nLevelChange = level - user.nLevel;
        user.nLevel = level;
        report.bSettled = escaped[seat] ? 0 : 1;
        report.bEscaped = escaped[seat];
        CallHost(kHostBeanSettlement, 0, &report, sizeof(report));
    }
    m_Statistics.CountGame(changes);
    m_History.push_back(history);
}

void CGameLogic::ProcessExitBean(tagSETTLEMENTENTRY entries[kSeatCount]) {
    try {
        int32_t beans[kSeatCount], changes[kSeatCount] = {}, scores[kSeatCount] = {};
        for (int seat = 0; seat < kSeatCount; ++seat)
            beans[seat] = m_UserInfo[seat].nBeans;
        CapLosses(beans, changes);
        bool escaped[kSeatCount] = {};
        if (EscapeRulesApply()) {
            const int64_t penaltyBeans = int64_t(m_nEscapePenalty) * m_nBeanRate;
            for (int seat = 0; seat < kSeatCount; ++seat) {
                if (!IsSeatTrusted(seat))
                    continue;
                escaped[seat] = true;
                scores[seat] = -m_nEscapePenalty;
                ChargeEscape(changes[seat], beans[seat], penaltyBeans);
            }
        }
        for (int seat = 0; seat < kSeatCount; ++seat) {
            tagUSERINFO& user = m_UserInfo[seat];
            const int64_t multiplier = user.bMember ? m_nMemberMultiplier : m_nOtherMultiplier;
            const int32_t shown =
                scores[seat] > 0 ? ClampToInt(scores[seat] * multiplier) : scores[seat];
            if (m_dwRuleFlags & kRuleAskHostPerSeat)
                changes[seat] =
                    ClampToInt(int64_t(changes[seat]) - AskHostForSeat(seat, changes[seat]));
            entries[seat] = tagSETTLEMENTENTRY{shown, changes[seat], uint8_t(escaped[seat]), {}};
            if (!m_bSeatTaken[seat])
                continue;
            user.nBeans = ClampToInt(int64_t(user.nBeans) + changes[seat]);
            user.nScore = ClampToInt(int64_t(user.nScore) + scores[seat]);
            tagSETTLEREPORT report{};
            report.nSize = sizeof(report);
            report.nSeat = user.nSeat;
            memcpy(report.szUserName, user.szUserName, sizeof(report.szUserName));
            report.nScoreChange = shown;
            report.nBeanChange = changes[seat];
            const int level = GetLevelFromScore(user.nScore);
            report.nLevelChange = level - user.nLevel;
            user.nLevel = level;
            report.bSettled = escaped[seat] ? 0 : 1;
            report.bEscaped = escaped[seat];
            CallHost(kHostBeanSettlement, 0, &report, sizeof(report));
        }
    } catch (...) {
        TraceCaught("Exception:-------:ProcessExitBean Erro!");
    }
}
