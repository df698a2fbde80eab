#include "game/GameLogic.h"

#include <algorithm>
#include <cstring>

// The steps that apply an accepted action: take out, burn (shao), pass, let
// and give up, and who answers next.

namespace {

bool HoldsJoker(CardType type) {
    return CardTypeSmallJokers(type) + CardTypeBigJokers(type) > 0;
}

} // namespace

// True while answers simply go round in play order: without the burning
// rule, or once the table has thinned out.
bool CGameLogic::IsOpenRound() const {
    if ((m_dwRuleFlags & kRuleShao) == 0)
        return true;
    for (int seat = 0; seat < 3; ++seat) {
        const int opposite = seat + 3;
        if (!m_bStillInPlay[seat] && !m_bStillInPlay[opposite] && IsSeatOut(seat) &&
            IsSeatOut(opposite))
            return true;
    }
    int sittingOut = 0;
    for (int seat = 0; seat < kSeatCount; ++seat)
        sittingOut += !m_bStillInPlay[seat] && !IsSeatOut(seat);
    return sittingOut > 1;
}

void CGameLogic::MarkLaidCards(const tagACTIONRECORD& action) {
    const int seat = action.nSeat;
    const int count = std::clamp(int(action.nCount), 0, int(kHandSize));
    const int used = GetHandUsedCount(seat);
    for (int i = 0; i < count; ++i) {
        for (int j = 0; j < used; ++j) {
            tagCARD& card = m_HandCards[seat][j];
            if (card.code == action.cards[i].code && IsCountingCard(card)) {
                card.flags = uint8_t((card.flags | kCardPlayed) & ~kCardPicked);
                break;
            }
        }
    }
    memset(m_LaidCards[seat], 0, sizeof(m_LaidCards[seat]));
    memcpy(m_LaidCards[seat], action.cards, count * sizeof(tagCARD));
}

// Under the 3 rule, beating the play of a seat that holds nothing but 3s
// earns a bie tribute from it.
void CGameLogic::AddBieEntry(int actor) {
    if (m_PlayList.empty() || (m_dwRuleFlags & kRuleThrees) == 0)
        return;
    const int beaten = m_PlayList.back().nSeat;
    if (IsValidSeat(beaten) && beaten != actor && HoldsOnlyThrees(beaten))
        m_TributeList[kTributeBie - 1].push_back(tagTRIBUTEENTRY{kTributeBie, actor, beaten, 1});
}

// A burner that went out with its burn standing earns a shao tribute from
// the seat it burned.
void CGameLogic::EarnShao(int actor) {
    const int burned = m_nBurnedSeat;
    if (!IsValidSeat(burned))
        return;
    const tagTRIBUTEENTRY entry{kTributeShao, actor, burned, 1};
    m_TributeList[kTributeShao - 1].push_back(entry);
    m_GameShaoList.push_back(entry);
    tagSHAOBIEMSG notice;
    InitShaoBieMsg(notice);
    notice.bNotice = 1;
    notice.nKind = kTributeShao;
    notice.nActor = actor;
    notice.nAffected = burned;
    notice.nValue = 1;
    SendToAll(&notice, sizeof(notice));
    m_nBurnedSeat = -1;
}

// Asks the seats after a level play (or a burn) of the actor: partners of the
// actor may burn or give up, the opposite seat and seats that sit out may
// take out or pass.
void CGameLogic::RunAskingLoop(int actor, bool shaoLoop) {
    const int notOut = CountSeatsNotOut();
    const int opposite = GetOppositeSeat(actor);
    int firstAnswerer = -1;
    bool letMark = false;
    int visited = 0;
    for (int s = GetNextPlayingSeat(actor); s != actor && visited < notOut - 1;
         s = GetNextPlayingSeat(s)) {
        if (!IsValidSeat(s))
            break;
        ++visited;
        const bool isOpposite = s == opposite;
        if (shaoLoop && (isOpposite || !m_bStillInPlay[s]))
            m_nSeatStatus[s] &= ~kStatusMark8;
        if (!isOpposite && m_bStillInPlay[s]) {
            if (m_nSeatStatus[s] & (kStatusMark1 | kStatusMark8)) {
                m_nActionMask[s] = 0;
                m_nSeatStatus[s] |= kStatusMark8;
                --m_nAwaitedAnswers;
            } else if ((m_dwRuleFlags & kRuleAskOnlyFinishers) && !CanAnswerLastPlay(s)) {
                m_nActionMask[s] = 0;
                m_nSeatStatus[s] = kStatusMark8;
                --m_nAwaitedAnswers;
            } else {
                m_nActionMask[s] = kActionShao | kActionGiveUp;
                m_nSeatStatus[s] = kStatusToTakeOut;
            }
        } else if (isOpposite) {
            m_nActionMask[s] = kActionTakeOut | kActionPass;
            if (firstAnswerer < 0) {
                firstAnswerer = s;
                m_nSeatStatus[s] = kStatusToTakeOut;
            }
        } else if (m_nSeatStatus[s] & kStatusMark1) {
            m_nActionMask[s] = 0;
            --m_nAwaitedAnswers;
        } else {
            m_nActionMask[s] = kActionTakeOut | kActionPass;
            if (firstAnswerer < 0) {
                firstAnswerer = s;
                m_nSeatStatus[s] = kStatusToTakeOut;
            } else {
                letMark = true;
            }
        }
    }
    if (letMark && firstAnswerer >= 0)
        m_nActionMask[firstAnswerer] = kActionTakeOut | kActionPass | kActionLet;
}

int CGameLogic::FindNextAnswerer(int seat) const {
    if (IsOpenRound())
        return GetNextPlayingSeat(seat);
    const int last = m_nLastPlaySeat;
    const int notOut = CountSeatsNotOut();
    int s = GetNextPlayingSeat(seat);
    int steps = 0;
    bool ranOut = false;
    while (IsValidSeat(s) && (m_nSeatStatus[s] & kStatusMark1)) {
        if (seat == last && s == GetOppositeSeat(last))
            break;
        if (++steps > notOut) {
            ranOut = true;
            break;
        }
        s = GetNextPlayingSeat(s);
    }
    if (ranOut || !IsValidSeat(s))
        return IsValidSeat(last) ? GetNextPlayingSeat(last) : s;
    if (IsValidSeat(last) && s == last && (m_nSeatStatus[GetOppositeSeat(last)] & kStatusMark2))
        return GetOppositeSeat(last);
    return s;
}

void CGameLogic::BuildAnswerOrder(int actor) {
    for (int k = 1; k <= kSeatCount; ++k)
        m_nAnswerOrder[k] = kSeatCount;
    if (!IsValidSeat(actor))
        return;
    const bool teammatesFirst = (m_dwRuleFlags & kRuleTeammatesAnswerFirst) != 0;
    if (CountSeatsNotOut() == kSeatCount) {
        // The opposite seat always answers last.
        static const int kTeammatesFirst[] = {4, 2, 5, 1, 3};
        static const int kPlayOrder[] = {5, 4, 2, 1, 3};
        const int* offsets = teammatesFirst ? kTeammatesFirst : kPlayOrder;
        for (int k = 0; k < 5; ++k)
            m_nAnswerOrder[k + 1] = (actor + offsets[k]) % kSeatCount;
        return;
    }
    int next = 1;
    auto append = [&](int seat) {
        if (seat == actor || IsSeatOut(seat) || AnswerPosition(seat) != 0 || next > 5)
            return;
        m_nAnswerOrder[next++] = seat;
    };
    static const int kBurnersTeammatesFirst[] = {4, 2, 5, 1};
    static const int kFromPrevious[] = {5, 4, 3, 2, 1};
    if (teammatesFirst) {
        for (int offset : kBurnersTeammatesFirst) {
            const int seat = (actor + offset) % kSeatCount;
            if ((m_nActionMask[seat] & kActionShao) || (m_nSeatStatus[seat] & kStatusMark8))
                append(seat);
        }
    } else {
        for (int offset : kFromPrevious) {
            const int seat = (actor + offset) % kSeatCount;
            if ((m_nActionMask[seat] & kActionShao) || (m_nSeatStatus[seat] & kStatusMark8))
                append(seat);
        }
    }
    for (int offset : kFromPrevious) {
        const int seat = (actor + offset) % kSeatCount;
        if ((m_nActionMask[seat] & kActionTakeOut) || (m_nSeatStatus[seat] & kStatusMark1))
            append(seat);
    }
}

// Whether the seat could answer the last play and still be able to finish:
// after some answer, no more plain ranks are left than jokers plus one.
int CGameLogic::CanAnswerLastPlay(int seat) {
    const CardType last = LastPlayType();
    if (!IsValidSeat(seat) || last == 0)
        return 0;
    int held[kRankCount] = {};
    const int used = GetHandUsedCount(seat);
    for (int i = 0; i < used; ++i) {
        if (IsCountingCard(m_HandCards[seat][i]) && m_HandCards[seat][i].rank < kRankCount)
            ++held[m_HandCards[seat][i].rank];
    }
    std::vector<CardType> answers;
    Search(last, seat, answers);
    for (CardType answer : answers) {
        int left[kRankCount];
        std::copy(held, held + kRankCount, left);
        if (CardTypePlainCount(answer) > 0 && CardTypeRank(answer) < kRankCount)
            left[CardTypeRank(answer)] -= CardTypePlainCount(answer);
        left[kRankTwo] -= CardTypeTwos(answer);
        left[kRankSmallJoker] -= CardTypeSmallJokers(answer);
        left[kRankBigJoker] -= CardTypeBigJokers(answer);
        int plainRanks = 0;
        for (int rank = 0; rank < kPlainRankCount; ++rank)
            plainRanks += left[rank] > 0;
        const int jokers = std::max(left[kRankSmallJoker], 0) + std::max(left[kRankBigJoker], 0);
        if (plainRanks > jokers + 1)
            continue;
        if ((m_dwRuleFlags & kRuleThrees) && plainRanks == 1 && left[kRankTwo] > 0 && jokers == 0)
            continue;
        return 1;
    }
    return 0;
}

int CGameLogic::TakeoutSetNextAction(const tagACTIONRECORD& action) {
    try {
        const int actor = action.nSeat;
        const CardType word = GetCardTypeOfCards(action.cards, action.nCount);
        const int gousiji = m_nGousijiSeat;
        ++m_nActionSerial;
        if (IsValidSeat(gousiji)) {
            if (CountSeatsNotOut() <= kSeatCount - 2 && !(m_nSeatStatus[actor] & kStatusLastPlay))
                m_bStillInPlay[gousiji] = 0;
            if (gousiji != actor && (m_nSeatStatus[gousiji] & kStatusLastPlay) &&
                m_nGousijiCount[gousiji] >= 3)
                m_bStillInPlay[gousiji] = 0;
        }
        for (int seat = 0; seat < kSeatCount; ++seat) {
            if (seat != actor)
                m_nSeatStatus[seat] &= ~kStatusLastPlay;
        }
        m_nPrevLastPlaySeat = m_nLastPlaySeat;
        m_nLastPlaySeat = actor;
        AddBieEntry(actor);
        for (int& mask : m_nActionMask)
            mask = 0;
        if (!(m_nSeatStatus[actor] & kStatusLastPlay))
            m_nSeatStatus[actor] = 0;
        MarkLaidCards(action);
        AddPlay(actor, word);
        m_pWaitShaoMsg.reset();

        const bool level = IsLevelPlay(word) != 0;
        if (IsHandEmpty(actor)) {
            if ((m_nSeatStatus[actor] & kStatusLastPlay) && !IsOpenRound())
                EarnShao(actor);
            m_nSeatStatus[actor] = kStatusOut2;
            if (!level) {
                m_bStillInPlay[actor] = 0;
                m_bStillInPlay[GetOppositeSeat(actor)] = 0;
                DropGousijiSeat();
            }
        }

        if (IsOpenRound()) {
            m_ActionQueue.clear();
            const int next = GetNextPlayingSeat(actor);
            if (IsValidSeat(next)) {
                m_nActionMask[next] = kActionTakeOut | kActionPass;
                m_nSeatStatus[next] = 0;
            }
            for (int seat = 0; seat < kSeatCount; ++seat) {
                if (!IsSeatOut(seat))
                    m_nSeatStatus[seat] &= ~kStatusMark1;
            }
        } else if (level && m_bStillInPlay[actor]) {
            m_ActionQueue.clear();
            m_nAwaitedAnswers = CountSeatsNotOut() - 1;
            RunAskingLoop(actor, false);
            BuildAnswerOrder(actor);
            if ((m_dwRuleFlags & kRuleGousijiAfterRevolution) && actor == gousiji &&
                m_bStillInPlay[gousiji] && !(m_nSeatStatus[gousiji] & kStatusLastPlay)) {
                SendGousijiNotice(gousiji, ++m_nGousijiCount[gousiji]);
                if (m_nGousijiCount[gousiji] >= 3)
                    m_bStillInPlay[gousiji] = 0;
            }
        } else {
            // Kept as the rules have it, though the bit is the tribute
            // variant "shao, place".
            if (m_dwRuleFlags & kRuleTributeVariant3) {
                for (int& status : m_nSeatStatus)
                    status &= ~kStatusMark8;
            }
            m_nAwaitedAnswers = 1;
            const int n1 = GetNextPlayingSeat(actor), n2 = GetNextPlayingSeat(n1),
                      n3 = GetNextPlayingSeat(n2);
            auto passedOrOut = [&](int s) {
                return IsSeatOut(s) || (m_nSeatStatus[s] & kStatusMark1);
            };
            auto openPartner = [&](int s) {
                const int o = GetOppositeSeat(s);
                return !IsSeatOut(o) && !(m_nSeatStatus[o] & kStatusMark1);
            };
            if (!level && n3 == actor && passedOrOut(n1) && passedOrOut(n2)) {
                // Only the actor is left to answer: its round.
                StartNewRound(actor);
            } else if (!level && IsValidSeat(n3) && !IsSeatOut(n3) && passedOrOut(n1) &&
                       passedOrOut(n2)) {
                const bool mayLet = (openPartner(n1) && !IsSeatOut(actor)) || openPartner(n2);
                m_nActionMask[n3] = kActionTakeOut | kActionPass | (mayLet ? kActionLet : 0);
            } else {
                const int next = FindNextAnswerer(actor);
                if (next == m_nLastPlaySeat)
                    StartNewRound(next);
                else if (IsValidSeat(next))
                    m_nActionMask[next] = kActionTakeOut | kActionPass;
            }
        }

        const bool burner = (m_nSeatStatus[actor] & kStatusLastPlay) != 0;
        if (burner && m_PlayList.size() == 1 && !IsHandEmpty(actor) && !HoldsJoker(word)) {
            // A burner must lead with a joker: this burn failed.
            m_nSeatStatus[actor] = kStatusOut3;
            m_FailShaoList.push_back(actor);
            for (int seat = 0; seat < kSeatCount; ++seat) {
                if (!IsSeatOut(seat))
                    m_nSeatStatus[seat] = 0;
            }
            SendPlaces(actor);
            const int burned = m_nBurnedSeat;
            const bool burnedLeads = !(m_dwRuleFlags & kRuleNextSeatLeadsAfterBurn) &&
                                     IsValidSeat(burned) && !IsSeatOut(burned);
            const int leader = burnedLeads ? burned : GetNextPlayingSeat(actor);
            m_nBurnedSeat = -1;
            m_bStillInPlay[actor] = 0;
            m_bStillInPlay[GetOppositeSeat(actor)] = 0;
            if (IsValidSeat(gousiji)) {
                m_bStillInPlay[gousiji] = 0;
                m_nGousijiCount[gousiji] = 3;
                SendGousijiNotice(gousiji, 3);
            }
            if (IsGameDecided())
                return SetOverPlace(actor);
            StartNewRound(leader);
            return 0;
        }

        int result = 0;
        if (m_nAwaitedAnswers < 1)
            StartNewRound(actor);
        if (IsHandEmpty(actor)) {
            result = PlaceFinishedSeat(actor);
            SendPlaces(-1);
        }
        if (m_nAwaitedAnswers < 1 || m_nAwaitedAnswers > kSeatCount)
            Trace("Exception:-------:Take Out Card Action side is wrong! cnt is:%d",
                  m_nAwaitedAnswers);
        return result;
    } catch (...) {
        TraceCaught("Exception:-------:TakeoutSetNextAction Erro!");
        return 0;
    }
}

int CGameLogic::ShaoSetNextAction(const tagACTIONRECORD& action) {
    try {
        const int burner = action.nSeat;
        const CardType word = GetCardTypeOfCards(action.cards, action.nCount);
        const int gousiji = m_nGousijiSeat;
        ++m_nActionSerial;
        if (IsValidSeat(gousiji) && gousiji != burner &&
            (m_nSeatStatus[gousiji] & kStatusLastPlay) && m_nGousijiCount[gousiji] >= 3)
            m_bStillInPlay[gousiji] = 0;
        for (int seat = 0; seat < kSeatCount; ++seat) {
            if (seat != burner)
                m_nSeatStatus[seat] &= ~kStatusLastPlay;
        }
        m_nSeatStatus[burner] = kStatusLastPlay;
        m_nPrevLastPlaySeat = m_nLastPlaySeat;
        m_nLastPlaySeat = burner;
        if (!m_PlayList.empty()) {
            AddBieEntry(burner);
            if ((m_dwRuleFlags & kRuleGousijiAfterRevolution) && burner == gousiji &&
                m_bStillInPlay[gousiji])
                SendGousijiNotice(gousiji, ++m_nGousijiCount[gousiji]);
        }
        for (int& mask : m_nActionMask)
            mask = 0;
        MarkLaidCards(action);
        m_nBurnedSeat = m_PlayList.empty() ? -1 : int(m_PlayList.back().nSeat);
        AddPlay(burner, word);

        m_nAwaitedAnswers = CountSeatsNotOut() - 1;
        RunAskingLoop(burner, true);
        if (m_nAwaitedAnswers < 1)
            StartNewRound(burner);
        BuildAnswerOrder(burner);

        int result = 0;
        if (IsHandEmpty(burner)) {
            if (m_nSeatStatus[burner] & kStatusLastPlay)
                EarnShao(burner);
            m_nSeatStatus[burner] = kStatusOut2;
            result = PlaceFinishedSeat(burner);
            SendPlaces(-1);
            // A burner that led the new round itself hands the lead on.
            if (!result && m_nActionMask[burner] == kActionTakeOut)
                StartNewRound(burner);
        }
        m_ActionQueue.clear();
        if (m_nAwaitedAnswers < 1 || m_nAwaitedAnswers > kSeatCount)
            Trace("Exception:-------:Fire Card Action side is wrong! cnt is:%d", m_nAwaitedAnswers);
        m_pWaitShaoMsg.reset();
        return result;
    } catch (...) {
        TraceCaught("Exception:-------:ShaoSetNextAction Erro!");
        return 0;
    }
}
