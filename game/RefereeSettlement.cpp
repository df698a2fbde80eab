#include "game/GameLogic.h"

#include <algorithm>
#include <climits>
#include <cstring>

// Game over: place points, the game multiplier, point and tribute values,
// bean changes with their caps and escape penalties, the reports to the host
// and the tributes the next game runs.

namespace {

int32_t ClampToInt(int64_t value) {
    return int32_t(std::clamp<int64_t>(value, INT_MIN, INT_MAX));
}

template <size_t N>
void CopyEntries(tagTRIBUTEENTRY (&room)[N], const std::vector<tagTRIBUTEENTRY>& list) {
    for (size_t i = 0; i < N && i < list.size(); ++i)
        room[i] = list[i];
}

} // namespace

int CGameLogic::AskHostForSeat(int seat, int beanChange) {
    tagSEATQUERY query{seat, beanChange};
    int answer = 0;
    return AskHost(kHostSeatQuery, &query, sizeof(query), &answer) ? answer : 0;
}

void CGameLogic::ComputePlaceTributes(std::vector<int> places, std::vector<tagTRIBUTEENTRY>& list) {
    if (places.size() != kSeatCount)
        return;
    list.clear();
    list.push_back(tagTRIBUTEENTRY{kTributePlace, places[0], places[5], 2});
    list.push_back(tagTRIBUTEENTRY{kTributePlace, places[1], places[4], 1});
}

void CGameLogic::ComputePointTributes(int32_t values[kSeatCount], const int32_t opened[kSeatCount],
                                      const int32_t answers1[kSeatCount],
                                      const int32_t answers2[kSeatCount]) {
    auto& list = m_TributeList[kTributePoint - 1];
    list.clear();
    const int32_t* multiple = m_TableHead.nMultiple;
    for (int a = 0; a < 3; ++a) {
        const int b = a + 3;
        if (a == m_nRevolutionSeat || b == m_nRevolutionSeat)
            continue;
        const int ra = answers1[a] ? 1 : 0, rb = answers1[b] ? 1 : 0;
        const int da = ra + (answers2[a] ? 1 : 0), db = rb + (answers2[b] ? 1 : 0);
        const int64_t w = int64_t(multiple[a]) * multiple[b];
        auto atLeastOne = [](int s) { return s == 0 ? 1 : s; };
        int sa, sb;
        int64_t valueA;
        auto give = [&](int giver, int receiver, int count) {
            if (count > 0)
                list.push_back(tagTRIBUTEENTRY{kTributePoint, receiver, giver, count});
        };
        if (opened[a] && opened[b]) {
            sa = atLeastOne(3 * da);
            sb = atLeastOne(3 * db);
            give(sa > sb ? a : b, sa > sb ? b : a, std::abs(sa - sb));
            valueA = int64_t(rb + 1) * sb - int64_t(ra + 1) * sa;
        } else if (opened[a]) {
            sa = atLeastOne(2 * da);
            sb = 3 * db;
            give(b, a, sa + sb);
            valueA = int64_t(ra + 1) * sa + int64_t(rb + 1) * sb;
        } else if (opened[b]) {
            sa = 3 * da;
            sb = atLeastOne(2 * db);
            give(a, b, sa + sb);
            valueA = -(int64_t(rb + 1) * sb + int64_t(ra + 1) * sa);
        } else {
            sa = atLeastOne(2 * da);
            sb = atLeastOne(2 * db);
            give(sa > sb ? b : a, sa > sb ? a : b, std::abs(sa - sb));
            valueA = int64_t(ra + 1) * sa - int64_t(rb + 1) * sb;
        }
        values[a] = ClampToInt(valueA * w);
        values[b] = -values[a];
    }
}

void CGameLogic::AddTributeValues(int32_t values[kSeatCount], std::vector<tagTRIBUTEENTRY>,
                                  std::vector<tagTRIBUTEENTRY> bie,
                                  std::vector<tagTRIBUTEENTRY> shao,
                                  std::vector<tagTRIBUTEENTRY> place) const {
    const int32_t* multiple = m_TableHead.nMultiple;
    auto move = [&](const tagTRIBUTEENTRY& entry, int64_t count) {
        if (!IsValidSeat(entry.nReceiver) || !IsValidSeat(entry.nGiver))
            return;
        const int64_t amount = int64_t(multiple[entry.nReceiver]) * multiple[entry.nGiver] * count;
        values[entry.nReceiver] = ClampToInt(values[entry.nReceiver] + amount);
        values[entry.nGiver] = ClampToInt(values[entry.nGiver] - amount);
    };
    for (const tagTRIBUTEENTRY& entry : place)
        move(entry, entry.nCount);
    if (m_dwRuleFlags & kRuleTributeVariant3)
        return;
    for (const tagTRIBUTEENTRY& entry : shao)
        move(entry, 1);
    for (const tagTRIBUTEENTRY& entry : bie)
        move(entry, 1);
}

int CGameLogic::CapLosses(const int32_t beans[kSeatCount], int32_t changes[kSeatCount]) {
    int64_t cut = 0, gains = 0;
    int32_t gain[kSeatCount] = {};
    for (int seat = 0; seat < kSeatCount; ++seat) {
        const int64_t held = std::max<int64_t>(beans[seat], 0);
        if (changes[seat] < 0 && -int64_t(changes[seat]) > held) {
            cut += -int64_t(changes[seat]) - held;
            changes[seat] = int32_t(-held);
        }
        if (changes[seat] > 0) {
            gain[seat] = changes[seat];
            gains += changes[seat];
        }
    }
    if (cut == 0 || gains == 0)
        return ClampToInt(cut);
    int64_t taken = 0;
    int largest = -1;
    for (int seat = 0; seat < kSeatCount; ++seat) {
        if (gain[seat] <= 0)
            continue;
        const int64_t share = cut * gain[seat] / gains;
        changes[seat] = ClampToInt(changes[seat] - share);
        taken += share;
        if (largest < 0 || gain[seat] > gain[largest])
            largest = seat;
    }
    changes[largest] = ClampToInt(changes[largest] - (cut - taken));
    return ClampToInt(cut);
}

void CGameLogic::GameOver() {
    try {
        ++m_nGamesPlayed;
        SendPlaces(-1);
        if (vecPlace.size() != kSeatCount) {
            Trace("Erro:-------:GameOver with vecPlace not enough! size is:%d",
                  int(vecPlace.size()));
            SetOverPlace(vecPlace.empty() ? 0 : vecPlace.back());
            if (vecPlace.size() != kSeatCount)
                return;
        }
        m_nKeptLeader[0] = m_nKeptLeader[1] = vecPlace[kSeatCount - 1];
        auto msg = std::make_unique<tagGAMEOVERMSG>();
        InitGameOverMsg(*msg);
        msg->nGamesPlayed = m_nGamesPlayed;
        m_nGameState = kStateWaitStart;
        ComputePlaceTributes(vecPlace, m_TributeList[kTributePlace - 1]);
        tagSETTLEMENTENTRY entries[kSeatCount] = {};
        SettleGame(*msg, entries);
        CopyEntries(msg->pointTributes, m_TributeList[kTributePoint - 1]);
        CopyEntries(msg->placeTributes, m_TributeList[kTributePlace - 1]);
        CopyEntries(msg->shaoTributes, m_TributeList[kTributeShao - 1]);
        CopyEntries(msg->bieTributes, m_TributeList[kTributeBie - 1]);
        memcpy(msg->users, m_UserInfo, sizeof(msg->users));
        SendToAll(msg.get(), sizeof(*msg));
        m_TimeLimits.Start();
        bool anyTrusted = false;
        for (int seat = 0; seat < kSeatCount; ++seat)
            anyTrusted |= IsSeatTrusted(seat);
        if (anyTrusted)
            SendGameAbort(entries, false);
        if ((m_dwRuleFlags & kRuleTribute) == 0)
            memset(m_nPointValue, 0, sizeof(m_nPointValue));
        ResetGameData();
        memset(m_nStartFlags, 0, sizeof(m_nStartFlags));
        CallHost(kHostGameOverValue, 0, nullptr, 0);
        CallHost(kHostGameOver, 0, nullptr, 0);
    } catch (...) {
        TraceCaught("Exception:-------:Game over Erro!");
    }
}
