// The program's mirror of the table: setters the table window and the network
// client use on theBoard.

#include "game/GameLogic.h"

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
