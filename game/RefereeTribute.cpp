#include "game/GameLogic.h"

#include <algorithm>
#include <bitset>
#include <cstring>

// Tributes earned in the last game, and their return.

namespace {

// The mark the table window shows on a moved card, by tribute kind.
const uint8_t kTributeMark[kTributeKinds] = {kCardMark1, kCardMark2, kCardMark3,
                                             kCardMark1 | kCardMark2};

bool ValidKind(int kind) {
    return kind >= kTributePoint && kind <= kTributePlace;
}

} // namespace

const std::vector<tagTRIBUTEENTRY>& CGameLogic::GetTributeList(int kind) const {
    static const std::vector<tagTRIBUTEENTRY> kNone;
    return ValidKind(kind) ? m_TributeList[kind - 1] : kNone;
}

const std::vector<tagTRIBUTEENTRY>& CGameLogic::GetReturnQueue(int kind) const {
    static const std::vector<tagTRIBUTEENTRY> kNone;
    return ValidKind(kind) ? m_ReturnQueue[kind - 1] : kNone;
}

bool CGameLogic::HasPendingTributes() const {
    for (const auto& list : m_TributeList) {
        if (!list.empty())
            return true;
    }
    return false;
}

bool CGameLogic::AnyReturnQueued() const {
    for (const auto& queue : m_ReturnQueue) {
        if (!queue.empty())
            return true;
    }
    return false;
}

// Runs the lists the tribute variant names; true when the return phase
// started and waits for the seats.
bool CGameLogic::RunTributeLists() {
    static const int kOrder1[] = {kTributePoint, kTributeBie, kTributeShao, kTributePlace};
    static const int kOrder2[] = {kTributeBie, kTributeShao, kTributePoint, kTributePlace};
    static const int kOrder3[] = {kTributeShao, kTributePlace};
    if (m_dwRuleFlags & kRuleTributeVariant1) {
        for (int kind : kOrder1)
            RunTributeList(kind);
    } else if (m_dwRuleFlags & kRuleTributeVariant2) {
        for (int kind : kOrder2)
            RunTributeList(kind);
    } else if (m_dwRuleFlags & kRuleTributeVariant3) {
        for (int kind : kOrder3)
            RunTributeList(kind);
    }
    if ((m_dwRuleFlags & kRuleReturnTribute) == 0 || !AnyReturnQueued())
        return false;
    m_nGameState = kStateTribute;
    for (int seat = 0; seat < kSeatCount; ++seat)
        m_nActionMask[seat] = m_nReturnsOwed[seat] > 0 ? kActionReturnTribute : 0;
    SendReturnPrompts();
    return true;
}

// Each entry moves the giver's leading 2s and jokers, up to its count, to
// the receiver; the receiver then owes the giver a return of as many cards.
void CGameLogic::RunTributeList(int kind) {
    if (!ValidKind(kind))
        return;
    std::vector<tagTRIBUTEENTRY>& list = m_TributeList[kind - 1];
    std::vector<tagTRIBUTEENTRY> kept;
    for (tagTRIBUTEENTRY entry : list) {
        const int giver = entry.nGiver, receiver = entry.nReceiver;
        if (!IsValidSeat(giver) || !IsValidSeat(receiver) || giver == receiver)
            continue;
        tagTRIBUTEMSG msg;
        InitTributeMsg(msg);
        const int wanted = std::clamp(int(entry.nCount), 0, int(kTributeMaxCards));
        int moved = 0;
        while (moved < wanted && GetHandUsedCount(giver) > 0) {
            const tagCARD first = m_HandCards[giver][0];
            if (!IsCountingCard(first) || first.rank <= kRankAce)
                break;
            DeleteHandCard(giver, first.code);
            AddHandCard(receiver, first);
            tagCARD shown = first;
            shown.flags = uint8_t((first.flags & ~(kCardMark1 | kCardMark2 | kCardMark3)) |
                                  kTributeMark[kind - 1]);
            msg.cards[moved++] = shown;
        }
        if (moved == 0)
            continue;
        entry.nCount = moved;
        kept.push_back(entry);
        msg.nGiver = giver;
        msg.nReceiver = receiver;
        msg.nCount = moved;
        msg.nKind = kind - 1;
        SendToAll(&msg, sizeof(msg));
        m_SentTributes.push_back(msg);
        m_ReturnQueue[kind - 1].push_back(tagTRIBUTEENTRY{kind, giver, receiver, moved});
        ++m_nReturnsOwed[receiver];
    }
    list = kept;
}

void CGameLogic::SendReturnPrompts() {
    for (int index = 0; index < kTributeKinds; ++index) {
        for (const tagTRIBUTEENTRY& entry : m_ReturnQueue[index]) {
            tagRETURNTRIBUTEMSG msg;
            InitReturnTributeMsg(msg);
            msg.nSeat = entry.nGiver;
            msg.nReceiver = entry.nReceiver;
            msg.nReturner = entry.nGiver;
            msg.nCount = entry.nCount;
            msg.nKind = index;
            SendToAll(&msg, sizeof(msg));
        }
    }
    m_TimeLimits.Start();
    for (int seat = 0; seat < kSeatCount; ++seat) {
        if (m_nActionMask[seat] == kActionReturnTribute && IsSeatTrusted(seat))
            QueueAutoAction(seat);
    }
}

bool CGameLogic::FindOwedReturn(int seat, int* kind, tagTRIBUTEENTRY* entry) const {
    for (int index = 0; index < kTributeKinds; ++index) {
        if (m_ReturnQueue[index].empty())
            continue;
        // Returns go kind by kind: only the first queue that holds entries.
        for (const tagTRIBUTEENTRY& queued : m_ReturnQueue[index]) {
            if (queued.nGiver == seat) {
                *kind = index + 1;
                *entry = queued;
                return true;
            }
        }
        return false;
    }
    return false;
}

// The return must answer an entry of the first kind still owed, between
// these two seats and of its count, with distinct cards of the returning
// seat's hand; under the 3 rule no 3 goes back.
int CGameLogic::CheckReturnTribute(const tagRETURNTRIBUTEMSG& msg) const {
    const int returner = msg.nReturner, receiver = msg.nReceiver;
    if (!IsValidSeat(returner) || !IsValidSeat(receiver) || m_nReturnsOwed[returner] < 1)
        return 0;
    if (msg.nKind < 0 || msg.nKind >= kTributeKinds || msg.nCount < 1)
        return 0;
    for (int lower = 0; lower < msg.nKind; ++lower) {
        if (!m_ReturnQueue[lower].empty())
            return 0;
    }
    const auto& queue = m_ReturnQueue[msg.nKind];
    const bool queued = std::any_of(queue.begin(), queue.end(), [&](const tagTRIBUTEENTRY& e) {
        return e.nGiver == returner && e.nReceiver == receiver && e.nCount == msg.nCount;
    });
    if (!queued)
        return 0;
    std::bitset<kCardCodeCount> seen;
    const tagCARD* hand = m_HandCards[returner];
    const int used = GetHandUsedCount(returner);
    for (int i = 0; i < msg.nCount; ++i) {
        const int code = msg.cards[i].code;
        if (code >= kCardCodeCount || seen.test(code))
            return 0;
        seen.set(code);
        const tagCARD* held = std::find_if(hand, hand + used, [&](const tagCARD& card) {
            return card.code == code && IsCountingCard(card);
        });
        if (held == hand + used)
            return 0;
        if ((m_dwRuleFlags & kRuleThrees) && held->rank == kRankThree)
            return 0;
    }
    return 1;
}

int CGameLogic::OnReturnTribute(int sender, const void* record, int length) {
    return RunHandler("Exception:-------:OnReturnTribute Erro!", [&] {
        tagRETURNTRIBUTEMSG msg;
        if (!ReadGameRecord(record, length, msg) || m_nGameState != kStateTribute ||
            msg.nSeat != sender || msg.nReturner != sender ||
            m_nActionMask[sender] != kActionReturnTribute || !CheckReturnTribute(msg))
            return 1;
        const int returner = msg.nReturner, receiver = msg.nReceiver;
        // Take the card records from the hand, not the sender's rank bytes.
        tagCARD cards[kTributeMaxCards];
        for (int i = 0; i < msg.nCount; ++i)
            cards[i] = CheckedCardFromIndex(msg.cards[i].code);
        tagRETURNTRIBUTEMSG refusal;
        InitReturnTributeMsg(refusal);
        const bool rankRule = (m_dwRuleFlags & kRuleReturnAnyRank) == 0 &&
                              !IsSeatTrusted(returner) && !IsTeammate(returner, receiver);
        for (int i = 0; rankRule && i < msg.nCount; ++i) {
            bool paired = false;
            for (int j = 0; j < msg.nCount; ++j)
                paired |= j != i && cards[j].rank == cards[i].rank;
            const int receiverHolds =
                CountRankCards(m_HandCards[receiver], GetHandUsedCount(receiver), cards[i].rank);
            if (!paired && receiverHolds == 0)
                refusal.cards[refusal.nCount++] = msg.cards[i];
        }
        if (refusal.nCount > 0) {
            refusal.nSeat = returner;
            refusal.nReceiver = receiver;
            refusal.nReturner = returner;
            refusal.bRequested = 1;
            refusal.nKind = msg.nKind;
            SendForwardedToSeat(returner, &refusal, sizeof(refusal));
            return 1;
        }
        auto& queue = m_ReturnQueue[msg.nKind];
        auto entry = std::find_if(queue.begin(), queue.end(), [&](const tagTRIBUTEENTRY& e) {
            return e.nGiver == returner && e.nReceiver == receiver && e.nCount == msg.nCount;
        });
        if (entry == queue.end())
            return 1;
        queue.erase(entry);
        for (int i = 0; i < msg.nCount; ++i) {
            AddHandCard(receiver, cards[i]);
            DeleteHandCard(returner, cards[i].code);
            msg.cards[i] = cards[i];
        }
        if (--m_nReturnsOwed[returner] <= 0) {
            m_nReturnsOwed[returner] = 0;
            m_nActionMask[returner] = 0;
        }
        SendReturnTributeReturn(msg);
        if (queue.empty())
            FinishReturnKind();
        return 1;
    });
}

void CGameLogic::SendReturnTributeReturn(const tagRETURNTRIBUTEMSG& msg) {
    tagRETURNTRIBUTEMSG done = msg;
    done.head.nBodyLen = sizeof(done) - kGameMsgHeadSize;
    done.bRequested = 1;
    done.bMoved = 1;
    SendToAll(&done, sizeof(done));
    m_SentReturns.push_back(done);
}

// One kind of return is complete: the next kind is asked for, or the game
// goes on to the second point round or the revolution question.
void CGameLogic::FinishReturnKind() {
    if (AnyReturnQueued()) {
        SendReturnPrompts();
        return;
    }
    for (int seat = 0; seat < kSeatCount; ++seat) {
        if (m_nActionMask[seat] == kActionReturnTribute)
            m_nActionMask[seat] = 0;
    }
    if (!StartSecondPointRound())
        StartRevolutionPhase();
}

// The cards a seat returns when the referee returns for it: the lowest
// ranks first (never a joker, no 3 under the 3 rule), a rank being usable
// when the receiver holds it too or when it goes back as a pair. Takes at
// most count cards, from the end of the hand.
int CGameLogic::ChooseReturnCards(int returner, int receiver, int count, int* codes) const {
    if (!IsValidSeat(returner) || !IsValidSeat(receiver) || codes == nullptr || count < 1 ||
        count > kTributeMaxCards)
        return 0;
    const tagCARD* hand = m_HandCards[returner];
    const int used = GetHandUsedCount(returner);
    int n = count;
    for (int rank = kRankThree; rank <= kRankTwo && n > 0; ++rank) {
        if (rank == kRankThree && (m_dwRuleFlags & kRuleThrees))
            continue;
        const int held = CountRankCards(hand, used, rank);
        if (held == 0)
            continue;
        const bool receiverHolds =
            CountRankCards(m_HandCards[receiver], GetHandUsedCount(receiver), rank) > 0;
        const bool usable =
            (m_dwRuleFlags & kRuleReturnAnyRank) || (held >= 2 && n >= 2) || receiverHolds;
        if (!usable)
            continue;
        for (int i = used - 1; i >= 0 && n > 0; --i) {
            if (IsCountingCard(hand[i]) && hand[i].rank == rank && !IsJoker(hand[i]))
                codes[--n] = hand[i].code;
        }
    }
    return n == 0 ? 1 : 0;
}
