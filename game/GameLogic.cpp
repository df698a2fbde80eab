#include "game/GameLogic.h"

#include "game/Seats.h"

#include <cstring>
#include <exception>

CGameLogic theBoard;

CGameLogicBase* CreateGameLogic() {
    return new (std::nothrow) CGameLogic;
}

CGameLogic::CGameLogic()
    : m_nGameState(kStateWaitStart), m_dwRuleFlags(0), m_nCardsPerSeat(36),
      m_nRevolutionSeat(-1), m_TableHead{},
      m_bFirstGame(1), m_nSeatWord{}, m_bSeatTaken{}, m_UserInfo{}, m_nHandSortMode(0),
      m_nAnswerOrder{}, m_nStartFlags{}, m_nPointAnswer1{}, m_nPointAnswer2{}, m_HandCards{},
      m_SpareCards{}, m_LaidCards{}, m_nHandCount{}, m_nSeatCounter{}, m_bStillInPlay{},
      m_nRefereeValue(0), m_nBeanRate(1), m_nPointFactor(1), m_nMemberMultiplier(1),
      m_nOtherMultiplier(1), m_nEscapePenalty(0),
      m_nGamesPlayed(0), m_nTrustWord{}, m_nSeatFlag{}, m_bWatcher{}, m_nSeatStatus{},
      m_nActionMask{}, m_nPublishedMask{}, m_nGousijiCount{}, m_nTrustCount{},
      m_nGousijiSeat(kSeatCount), m_CurrentAction{}, m_nAwaitedAnswers(1), m_nLastPlaySeat(-1),
      m_nPrevLastPlaySeat(-1), m_nKeptLeader{kSeatCount, kSeatCount}, m_bClosing(0) {
    static const int32_t kDefaultTimeLimits[kTimeLimitCount] = {10, 10, 10, 10, 10, 10,
                                                                30, 30, 5,  30, 5};
    memcpy(m_TableHead.nTimeLimit, kDefaultTimeLimits, sizeof(kDefaultTimeLimits));
    m_TableHead.nField13 = 1;
    m_TableHead.nMaxMultiple = 16;
    m_TableHead.nBaseMultiple = 8;
    m_TableHead.nField29 = 1;
    m_TableHead.nField30 = 1;
    ResetGameData();
    ResetRound(0);
    for (int& multiple : m_TableHead.nMultiple)
        multiple = 1;
}

CGameLogic::~CGameLogic() = default;

int CGameLogic::SetProperty(int id, const void* value) {
    std::lock_guard<std::recursive_mutex> lock(m_Lock);
    int result = CGameLogicBase::SetProperty(id, value);
    if (result == 0)
        return 0;
    if (id == kPropRulesText) {
        ParseRulesText(static_cast<const char*>(value));
        m_TimeLimits.SetLimits(m_TableHead.nTimeLimit);
    } else if (id == kPropBeanRate) {
        memcpy(&m_TableHead.nProperty10004, value, sizeof(int32_t));
        m_nBeanRate = m_TableHead.nProperty10004;
    }
    return result;
}

int CGameLogic::GetSeatStatus(int seat) const {
    return IsValidSeat(seat) ? m_nSeatStatus[seat] : 0;
}

int CGameLogic::SetSeatStatus(int seat, int value, int mode) {
    if (!IsValidSeat(seat))
        return 0;
    if (mode == 0)
        m_nSeatStatus[seat] = value;
    else
        m_nSeatStatus[seat] |= value;
    return m_nSeatStatus[seat];
}

int CGameLogic::GetSeatActionMask(int seat) const {
    return IsValidSeat(seat) ? m_nActionMask[seat] : 0;
}

int CGameLogic::SetSeatActionMask(int seat, int mask) {
    if (!IsValidSeat(seat))
        return 0;
    m_nActionMask[seat] = mask;
    return 1;
}

bool CGameLogic::IsSeatOut(int seat) const {
    return (GetSeatStatus(seat) & kStatusOutOfPlay) != 0;
}

bool CGameLogic::IsSeatTrusted(int seat) const {
    return IsValidSeat(seat) && m_nTrustWord[seat] != 0;
}

const tagUSERINFO& CGameLogic::GetUserInfo(int seat) const {
    static const tagUSERINFO kNobody{};
    return IsValidSeat(seat) ? m_UserInfo[seat] : kNobody;
}

int CGameLogic::GetOptionFee(int prePoint, int multiple) const {
    if (prePoint)
        return m_TableHead.nPrePointFee;
    int base = m_TableHead.nBaseMultiple;
    if (base > 0 && multiple > base)
        return multiple / base / 2 * m_TableHead.nFeePerStep;
    return 0;
}

void CGameLogic::GetKeyDigits(const tagCARD* records, int digits[CTripleDes::kDigitCount]) {
    for (int i = 0; i < CTripleDes::kDigitCount; ++i)
        digits[i] = records[i].spare;
}

void CGameLogic::ResetGameData() {
    try {
        memset(m_HandCards, 0, sizeof(m_HandCards));
        memset(m_SpareCards, 0, sizeof(m_SpareCards));
        m_bSpareWatcher = 0;
        memset(m_LaidCards, 0, sizeof(m_LaidCards));
        memset(m_nHandCount, 0, sizeof(m_nHandCount));
        memset(m_nStartFlags, 0, sizeof(m_nStartFlags));
        m_CurrentAction = tagACTIONRECORD{};
        memset(m_nSeatCounter, 0, sizeof(m_nSeatCounter));
        memset(m_TableHead.nGuessesPlaced, 0, sizeof(m_TableHead.nGuessesPlaced));
        for (int seat = 0; seat < kSeatCount; ++seat) {
            m_nSeatStatus[seat] = 0;
            m_nActionMask[seat] = 0;
            m_nAnswerOrder[seat + 1] = kSeatCount;
            m_bStillInPlay[seat] = 1;
            m_nGousijiCount[seat] = -1;
        }
        m_nAnswerOrder[0] = kSeatCount;
        m_nAwaitedAnswers = 1;
        m_nGousijiSeat = kSeatCount;
        m_nRevolutionSeat = -1;
        m_nGameState = kStateWaitStart;
        m_PlayList.clear();
        m_ActionQueue.clear();
        m_pWaitShaoMsg.reset();
        ResetRefereeGameData();
    } catch (const std::exception&) {
        Trace("Exception:-------:ResetGameData Erro!");
    }
}

// The referee's per-game lists. The tribute lists, the point values, the
// history and the next game's leader are kept: the next game runs the
// tributes that this one earned and its first leader follows this one's
// places.
void CGameLogic::ResetRefereeGameData() {
    m_LastAction = tagACTIONRECORD{};
    m_nBurnedSeat = -1;
    m_nLastPlaySeat = -1;
    m_nPrevLastPlaySeat = -1;
    for (int seat = 0; seat < kSeatCount; ++seat) {
        m_nPointAnswer1[seat] = 0;
        m_nPointAnswer2[seat] = 0;
        m_nOpenedPoint[seat] = 0;
        m_bPointAnswered[seat] = 0;
        m_bBuyFlag[seat] = 0;
        m_bRevolutionAnswered[seat] = 0;
        m_nGousijiAnswer[seat] = -1;
        m_nReturnsOwed[seat] = 0;
        m_nTrustCount[seat] = 0;
        m_nPublishedMask[seat] = 0;
    }
    m_nRevolutionCount = 0;
    m_GameShaoList.clear();
    for (auto& queue : m_ReturnQueue)
        queue.clear();
    m_SentTributes.clear();
    m_SentReturns.clear();
    m_SentBuy3.clear();
    m_FailShaoList.clear();
    vecPlace.clear();
    std::fill(std::begin(m_nPublishedPlaces), std::end(m_nPublishedPlaces), -1);
}

void CGameLogic::ResetRound(int leader) {
    m_nLastPlaySeat = -1;
    m_nAwaitedAnswers = 1;
    m_PlayList.clear();
    m_pWaitShaoMsg.reset();
    for (int seat = 0; seat < kSeatCount; ++seat) {
        m_nActionMask[seat] = 0;
        m_nAnswerOrder[seat + 1] = kSeatCount;
    }
    if (IsValidSeat(leader))
        m_nActionMask[leader] = kActionTakeOut;
}

void CGameLogic::AddPlay(int seat, CardType type) {
    m_PlayList.push_back(tagPLAYENTRY{seat, 0, type});
}

int CGameLogic::GetNextSeat(int seat) {
    return WrapSeat(seat + 1);
}
int CGameLogic::GetPrevSeat(int seat) {
    return WrapSeat(seat + 5);
}
int CGameLogic::GetPrevSeat2(int seat) {
    return GetPrevSeat(seat);
}
int CGameLogic::GetOppositeSeat(int seat) {
    return WrapSeat(seat + 3);
}
int CGameLogic::GetNextTeammate(int seat) {
    return WrapSeat(seat + 2);
}
int CGameLogic::GetPrevTeammate(int seat) {
    return WrapSeat(seat + 4);
}

bool CGameLogic::IsTeammate(int a, int b) {
    return IsValidSeat(a) && (b == GetNextTeammate(a) || b == GetPrevTeammate(a));
}

int CGameLogic::GetNextPlayingSeat(int seat) const {
    if (!IsValidSeat(seat))
        return kSeatCount;
    for (int step = 0; step < kSeatCount; ++step) {
        seat = GetPrevSeat(seat);
        if (!IsSeatOut(seat))
            return seat;
    }
    return kSeatCount;
}
