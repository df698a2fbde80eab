// The program's mirror of the table: setters the table window and the network
// client use on theBoard.

#include "game/GameLogic.h"

#include <cstring>

void CGameLogic::SetUserInfo(int seat, const tagUSERINFO& user) {
    if (IsValidSeat(seat))
        m_UserInfo[seat] = user;
}

void CGameLogic::SetTrustWord(int seat, int word) {
    if (IsValidSeat(seat))
        m_nTrustWord[seat] = word;
}

void CGameLogic::SetStartFlag(int seat, int flag) {
    if (IsValidSeat(seat))
        m_nStartFlags[seat] = flag;
}

void CGameLogic::ResetLeftSeat(int seat) {
    if (!IsValidSeat(seat))
        return;
    m_nStartFlags[seat] = 0;
    m_nTrustWord[seat] = 0;
    m_bWatcher[seat] = 0;
    m_nSeatStatus[seat] = 0;
    m_nActionMask[seat] = 0;
    m_nPublishedMask[seat] = 0;
    m_TableHead.nMultiple[seat] = 1;
    m_PlayList.clear();
    m_ActionQueue.clear();
    m_nGameState = kStateWaitStart;
}

void CGameLogic::SetPlaces(const int32_t places[kSeatCount]) {
    // The finishing order proper; seats waiting at the end (a failed burn)
    // are not placed yet.
    vecPlace.clear();
    memcpy(m_nPublishedPlaces, places, sizeof m_nPublishedPlaces);
    for (int place = 0; place < kSeatCount && IsValidSeat(places[place]); ++place)
        vecPlace.push_back(places[place]);
}

void CGameLogic::SetSeatHandCount(int seat, int count) {
    if (IsValidSeat(seat))
        m_nHandCount[seat] = count;
}

void CGameLogic::SetPointAnswer(int round, int seat, int value) {
    if (IsValidSeat(seat))
        (round == 1 ? m_nPointAnswer1 : m_nPointAnswer2)[seat] = value;
}

int CGameLogic::GetPointAnswer(int round, int seat) const {
    if (!IsValidSeat(seat))
        return 0;
    return (round == 1 ? m_nPointAnswer1 : m_nPointAnswer2)[seat];
}

void CGameLogic::SetOpenedPoint(int seat, int value) {
    if (IsValidSeat(seat))
        m_nOpenedPoint[seat] = value;
}

void CGameLogic::SetGousijiAnswer(int seat, int value) {
    if (IsValidSeat(seat))
        m_nGousijiAnswer[seat] = value;
}

void CGameLogic::SetSpareHand(const tagCARD cards[kHandSize], bool watcherSees) {
    memcpy(m_SpareCards, cards, sizeof m_SpareCards);
    m_bSpareWatcher = watcherSees ? 1 : 0;
}

void CGameLogic::ClearForDeal() {
    memset(m_nStartFlags, 0, sizeof m_nStartFlags);
    memset(m_nSeatStatus, 0, sizeof m_nSeatStatus);
    memset(m_HandCards, 0, sizeof m_HandCards);
    memset(m_LaidCards, 0, sizeof m_LaidCards);
    memset(m_nSeatCounter[0], 0, sizeof m_nSeatCounter[0]);
}

void CGameLogic::CountGuess(int seat) {
    if (!IsValidSeat(seat))
        return;
    ++m_TableHead.nGuessesPlaced[seat];
    ++m_nSeatCounter[1][seat];
}

void CGameLogic::TakeGuessCountsFromHead() {
    for (int seat = 0; seat < kSeatCount; ++seat)
        m_nSeatCounter[1][seat] = m_TableHead.nGuessesPlaced[seat];
}
