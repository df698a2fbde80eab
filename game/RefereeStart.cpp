#include "game/GameLogic.h"

#include <algorithm>
#include <cstring>
#include <numeric>

// Game start, dealing, the point rounds and buying a 3.

namespace {

enum { kPhaseBuy3 = 0, kPhaseTribute = 1, kPhasePoint2 = 2, kPhaseRevolution = 3 };

} // namespace

void CGameLogic::SetRandomSource(std::unique_ptr<CRefereeRandom> source) {
    m_pRandom = std::move(source);
}

int CGameLogic::OnPlayerStart(int sender, const void* record, int length) {
    return RunHandler("Exception:-------:OnPlayerStart Erro!", [&] {
        tagSTARTMSG msg;
        if (!ReadGameRecord(record, length, msg) || msg.nSeat != sender ||
            m_nGameState != kStateWaitStart)
            return 1;
        const int seat = sender;
        tagUSERINFO& user = m_UserInfo[seat];
        if (m_nStartFlags[seat])
            return 1;
        if (user.nBeans < m_TableHead.nMinBeans) {
            m_nTrustWord[seat] = kTrustExit;
            SendTrustWords(seat);
            if (EscapeRulesApply()) {
                tagSETTLEMENTENTRY entries[kSeatCount] = {};
                ProcessExitBean(entries);
                SendGameAbort(entries, true);
            }
            return 1;
        }
        if (IsSeatTrusted(seat))
            return 1;
        m_nStartFlags[seat] = 1;
        const int multiple = msg.nMultiple;
        msg.nStartFee = 0;
        if (multiple > 0 && multiple <= m_TableHead.nMaxMultiple) {
            m_TableHead.nMultiple[seat] = multiple;
            m_nKeptMultiple[seat] = multiple;
            if (!user.bMember && multiple > m_TableHead.nBaseMultiple) {
                const int fee = std::clamp(GetOptionFee(0, multiple), 0, std::max(user.nBeans, 0));
                if (fee > 0) {
                    Charge(seat, -fee, kChargeOption);
                    user.nBeans -= fee;
                    m_Statistics.CountOptionFee(fee);
                    msg.nStartFee = fee;
                }
            }
        }
        SendToAll(&msg, sizeof(msg));
        for (int s = 0; s < kSeatCount; ++s) {
            if (!m_nStartFlags[s])
                return 1;
        }
        m_bFirstGame = 0;
        CallHost(kHostGameBegins, 0, nullptr, 0);
        ResetGameData();
        if (m_dwRuleFlags & kRulePointRound1) {
            StartFirstPointRound();
        } else {
            m_nGameState = kStatePointRound2;
            Deal();
            SendShuffle();
            RunPhasesAfterDeal(kPhaseBuy3);
        }
        return 1;
    });
}

// Every seat is asked, trusted seats answer at once.
void CGameLogic::StartFirstPointRound() {
    m_nGameState = kStatePointRound1;
    for (int seat = 0; seat < kSeatCount; ++seat) {
        m_nActionMask[seat] = kActionPointRound1;
        m_bPointAnswered[seat] = 0;
    }
    tagPOINTMSG msg;
    InitPointMsg(msg);
    msg.nKind = kStatePointRound1;
    SendToAll(&msg, sizeof(msg));
    m_TimeLimits.Start();
    for (int seat = 0; seat < kSeatCount; ++seat) {
        if (IsSeatTrusted(seat))
            QueueAutoAction(seat);
    }
}

// A shuffle drawn from the referee's random source, every order equally
// likely, and a fresh key for the game's card cipher.
void CGameLogic::Deal() {
    if (!m_pRandom)
        m_pRandom = std::make_unique<COsRandom>();
    int codes[kCardCodeCount];
    std::iota(codes, codes + kCardCodeCount, 0);
    for (int i = kCardCodeCount - 1; i > 0; --i)
        std::swap(codes[i], codes[m_pRandom->Below(i + 1)]);
    memset(m_HandCards, 0, sizeof(m_HandCards));
    const int perSeat = kCardCodeCount / kSeatCount;
    for (int i = 0; i < kCardCodeCount; ++i)
        m_HandCards[i / perSeat][i % perSeat] = CardFromIndex(codes[i]);
    for (int seat = 0; seat < kSeatCount; ++seat)
        m_nHandCount[seat] = perSeat;
    int digits[CTripleDes::kDigitCount];
    for (int& digit : digits)
        digit = m_pRandom->Below(10);
    const int seed = CTripleDes::SeedFromDigits(digits);
    m_Cipher.SetKeyFromDigits(digits, seed);
}

void CGameLogic::SendShuffle() {
    const int* digits = m_Cipher.GetDigits();
    for (int seat = 0; seat < kSeatCount; ++seat) {
        tagDEALMSG msg;
        InitDealMsg(msg);
        msg.nSeat = seat;
        memcpy(msg.hand, m_HandCards[seat], sizeof(msg.hand));
        msg.nCount = GetHandUsedCount(seat);
        for (int i = 0; i < CTripleDes::kDigitCount; ++i)
            msg.hand[i].spare = uint8_t(digits[i]);
        SendToSeat(seat, &msg, sizeof(msg));
        if (!m_bWatcher[seat]) {
            for (int i = 0; i < CTripleDes::kDigitCount; ++i) {
                msg.hand[i] = MakeHiddenCard();
                msg.hand[i].spare = uint8_t(digits[i]);
            }
            memset(&msg.hand[CTripleDes::kDigitCount], 0,
                   sizeof(tagCARD) * (int(kHandSize) - int(CTripleDes::kDigitCount)));
            msg.nCount = CTripleDes::kDigitCount;
        }
        SendToWatchers(seat, &msg, sizeof(msg));
        SortHandByGroup(m_HandCards[seat], GetHandUsedCount(seat), m_nHandSortMode);
    }
}

// Buying a 3 first, then the tributes the last game earned, then the second
// point round, then the revolution question. Buying a 3 does not skip the
// tributes: the phases run in this order whichever came first.
void CGameLogic::RunPhasesAfterDeal(int firstPhase) {
    if (firstPhase <= kPhaseBuy3 && (m_dwRuleFlags & kRuleThrees)) {
        for (int seat = 0; seat < kSeatCount; ++seat) {
            if (SeatHoldsNoThree(seat)) {
                StartBuy3Phase();
                if (m_nGameState == kStateBuyThree)
                    return;
                break;
            }
        }
    }
    if (firstPhase <= kPhaseTribute && (m_dwRuleFlags & kRuleTribute) && HasPendingTributes() &&
        RunTributeLists())
        return;
    if (firstPhase <= kPhasePoint2 && StartSecondPointRound())
        return;
    StartRevolutionPhase();
}

bool CGameLogic::StartSecondPointRound() {
    if ((m_dwRuleFlags & kRulePointRound2) == 0)
        return false;
    bool anyAsked = false;
    for (int seat = 0; seat < kSeatCount; ++seat) {
        const bool asked = m_nPointAnswer1[seat] == 0;
        m_nActionMask[seat] = asked ? kActionPointRound2 : 0;
        m_bPointAnswered[seat] = 0;
        anyAsked |= asked;
    }
    if (!anyAsked)
        return false;
    m_nGameState = kStatePointRound2;
    tagPOINTMSG msg;
    InitPointMsg(msg);
    msg.nKind = kStatePointRound2;
    SendToAll(&msg, sizeof(msg));
    m_TimeLimits.Start();
    for (int seat = 0; seat < kSeatCount; ++seat) {
        if (m_nActionMask[seat] && IsSeatTrusted(seat))
            QueueAutoAction(seat);
    }
    return true;
}

int CGameLogic::OnPoint(int sender, const void* record, int length) {
    return RunHandler("Exception:-------:OnPoint Erro!", [&] {
        tagPOINTMSG msg;
        if (!ReadGameRecord(record, length, msg) || msg.nSeat != sender)
            return 1;
        const int seat = sender;
        const bool round1 = m_nGameState == kStatePointRound1;
        const bool round2 = m_nGameState == kStatePointRound2;
        if (!(round1 && m_nActionMask[seat] == kActionPointRound1) &&
            !(round2 && m_nActionMask[seat] == kActionPointRound2))
            return 1;
        if (m_bPointAnswered[seat] || (round2 && m_nPointAnswer1[seat]))
            return 1;
        m_bPointAnswered[seat] = 1;
        m_nActionMask[seat] = 0;
        const int yes = msg.bYes ? 1 : 0;
        msg.nFee = 0;
        if (round1) {
            m_nPointAnswer1[seat] = yes;
            tagUSERINFO& user = m_UserInfo[seat];
            const int fee = std::clamp(GetOptionFee(1, 0), 0, std::max(user.nBeans, 0));
            if (yes && fee > 0) {
                Charge(seat, -fee, kChargePrePoint);
                user.nBeans -= fee;
                msg.nFee = fee;
            }
            if (yes)
                m_Statistics.CountPointDeclaration(msg.nFee);
        } else {
            m_nPointAnswer2[seat] = yes;
        }
        msg.bAnswer = 1;
        msg.bYes = yes;
        msg.nKind = round1 ? 1 : 2;
        SendToAll(&msg, sizeof(msg));
        for (int s = 0; s < kSeatCount; ++s) {
            if (m_nActionMask[s] & (kActionPointRound1 | kActionPointRound2))
                return 1;
        }
        if (round1) {
            m_nGameState = kStatePointRound2;
            Deal();
            SendShuffle();
            RunPhasesAfterDeal(kPhaseBuy3);
        } else {
            StartRevolutionPhase();
        }
        return 1;
    });
}

bool CGameLogic::SeatHoldsNoThree(int seat) const {
    return CountRankCards(m_HandCards[seat], GetHandUsedCount(seat), kRankThree) == 0;
}

// Seats without a 3 say they are ready to buy; no record asks them, so the
// trade also happens when the wait runs out. Trusted and empty seats are
// counted as ready.
void CGameLogic::StartBuy3Phase() {
    bool anyWaiting = false;
    for (int seat = 0; seat < kSeatCount; ++seat) {
        const bool waits = SeatHoldsNoThree(seat) && !IsSeatTrusted(seat) && m_bSeatTaken[seat];
        m_bBuyFlag[seat] = waits;
        m_nActionMask[seat] = waits ? kActionBuyThree : 0;
        anyWaiting |= waits;
    }
    if (!anyWaiting) {
        ResolveBuy3();
        return;
    }
    m_nGameState = kStateBuyThree;
    m_TimeLimits.Start();
}

void CGameLogic::ResolveBuy3() {
    static const int kSellerOffsets[] = {3, 4, 2, 5, 1};
    bool sold[kSeatCount] = {};
    for (int buyer = 0; buyer < kSeatCount; ++buyer) {
        m_bBuyFlag[buyer] = 0;
        if (m_nActionMask[buyer] == kActionBuyThree)
            m_nActionMask[buyer] = 0;
        if (!SeatHoldsNoThree(buyer))
            continue;
        for (int offset : kSellerOffsets) {
            const int seller = (buyer + offset) % kSeatCount;
            if (CountRankCards(m_HandCards[seller], GetHandUsedCount(seller), kRankThree) <= 1)
                continue;
            tagBUY3MSG msg;
            InitBuy3Msg(msg);
            msg.nBuyer = buyer;
            msg.nSeller = seller;
            if (!IsTeammate(buyer, seller)) {
                const tagCARD paid = PickBestCard(m_HandCards[buyer], GetHandUsedCount(buyer));
                if (paid.flags != 0 && DeleteHandCard(buyer, paid.code)) {
                    AddHandCard(seller, paid);
                    msg.paidCard = paid;
                    msg.paidCard.flags |= kCardHeld;
                }
            }
            const tagCARD three = FindRankZeroCard(m_HandCards[seller], GetHandUsedCount(seller));
            DeleteHandCard(seller, three.code);
            AddHandCard(buyer, three);
            msg.boughtThree = three;
            msg.bExchanged = 1;
            SendToAll(&msg, sizeof(msg));
            m_SentBuy3.push_back(msg);
            sold[seller] = true;
            break;
        }
    }
    for (int seat = 0; seat < kSeatCount; ++seat) {
        if (sold[seat])
            SortHandByGroup(m_HandCards[seat], GetHandUsedCount(seat), m_nHandSortMode);
    }
}

int CGameLogic::OnBuy3(int sender, const void* record, int length) {
    return RunHandler("Exception:-------:OnBuy3 Erro!", [&] {
        tagBUY3MSG msg;
        if (!ReadGameRecord(record, length, msg) || msg.nSeat != sender ||
            m_nGameState != kStateBuyThree || !m_bBuyFlag[sender] ||
            m_nActionMask[sender] != kActionBuyThree)
            return 1;
        m_bBuyFlag[sender] = 0;
        m_nActionMask[sender] = 0;
        for (int seat = 0; seat < kSeatCount; ++seat) {
            if (m_bBuyFlag[seat])
                return 1;
        }
        ResolveBuy3();
        RunPhasesAfterDeal(kPhaseTribute);
        return 1;
    });
}

// The wait for the buyers ran out: the trades happen without them.
void CGameLogic::FinishBuy3Phase() {
    ResolveBuy3();
    RunPhasesAfterDeal(kPhaseTribute);
}
