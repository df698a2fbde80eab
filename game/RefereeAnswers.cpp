#include "game/GameLogic.h"
#include <cstring>

// The answers that lay no cards: pass, let and give up, and the release of
// an answer that waited for its turn.

// Every seat before this one in the answer order has given up or passed.
bool CGameLogic::AllBeforeAnswered(int seat) const {
    const int position = AnswerPosition(seat);
    for (int k = 1; k < position; ++k) {
        const int before = m_nAnswerOrder[k];
        if (IsValidSeat(before) && !(m_nSeatStatus[before] & (kStatusMark8 | kStatusMark1)))
            return false;
    }
    return true;
}

// The seat comes before the waiting seat and every seat between them has
// given up or passed.
bool CGameLogic::WaitingActionReleasable(int seat) const {
    if (!m_pWaitShaoMsg)
        return false;
    const int position = AnswerPosition(seat);
    const int waiting = AnswerPosition(m_pWaitShaoMsg->nSeat);
    if (position == 0 || waiting == 0 || position >= waiting)
        return false;
    for (int k = position + 1; k < waiting; ++k) {
        const int between = m_nAnswerOrder[k];
        if (IsValidSeat(between) && !(m_nSeatStatus[between] & (kStatusMark8 | kStatusMark1)))
            return false;
    }
    return true;
}

// The waiting answer runs as a take-out or a burn, by what its seat may do,
// and is announced before the answer that released it.
int CGameLogic::ReleaseWaitingAction() {
    const tagACTIONRECORD waiting = *m_pWaitShaoMsg;
    m_pWaitShaoMsg.reset();
    const int mask = m_nActionMask[waiting.nSeat];
    int over = 0;
    m_ActionQueue.clear();
    if (mask & kActionTakeOut)
        over = TakeoutSetNextAction(waiting);
    else if (mask & kActionShao)
        over = ShaoSetNextAction(waiting);
    else
        return 0;
    SetActionMsg(waiting);
    return over;
}

void CGameLogic::LetSetNextAction(const tagACTIONRECORD& action) {
    const int seat = action.nSeat;
    m_nActionMask[seat] = 0;
    m_nSeatStatus[seat] = kStatusMark2;
    if (IsLevelPlay(LastPlayType()))
        return;
    m_ActionQueue.clear();
    // As after a pass: when the answers come back round to the seat that
    // played last, it has won the round; it is never asked to beat itself.
    const int last = m_nLastPlaySeat;
    const int next = FindNextAnswerer(seat);
    const bool lastOut = !IsValidSeat(last) || IsSeatOut(last);
    if (next == last || (IsValidSeat(last) && next == GetNextPlayingSeat(last) && lastOut))
        StartNewRound(next);
    else if (IsValidSeat(next))
        m_nActionMask[next] = kActionTakeOut | kActionPass;
}

int CGameLogic::PassSetNextAction(const tagACTIONRECORD& action) {
    try {
        const int passer = action.nSeat;
        const int last = m_nLastPlaySeat;
        const CardType word = LastPlayType();
        m_nActionMask[passer] = 0;
        if (IsOpenRound()) {
            for (int seat = 0; seat < kSeatCount; ++seat) {
                if (!IsSeatOut(seat))
                    m_nSeatStatus[seat] = 0;
            }
        }
        m_nSeatStatus[passer] = kStatusMark1;
        memset(m_LaidCards[passer], 0, sizeof(m_LaidCards[passer]));
        const int afterLast = IsValidSeat(last) ? GetNextPlayingSeat(last) : kSeatCount;

        if (!IsLevelPlay(word)) {
            m_ActionQueue.clear();
            const int d = GetNextPlayingSeat(passer);
            if (!IsValidSeat(d))
                return 0;
            if (IsOpenRound()) {
                if (d == afterLast || d == last) {
                    // Back round to the seat that played last: its round.
                    m_PlayList.clear();
                    m_nActionMask[d] = kActionTakeOut;
                    m_nSeatStatus[d] = kStatusToTakeOut;
                    m_nSeatStatus[passer] = 0;
                } else {
                    m_nActionMask[d] = kActionTakeOut | kActionPass;
                    m_nSeatStatus[d] = kStatusToTakeOut;
                }
                return 0;
            }
            const bool lastPlaying = IsValidSeat(last) && !IsSeatOut(last);
            const int e = GetNextPlayingSeat(d);
            if (GetOppositeSeat(d) == last && lastPlaying) {
                m_nActionMask[d] =
                    kActionTakeOut | kActionPass | (FindNextAnswerer(d) != last ? kActionLet : 0);
            } else if ((m_nSeatStatus[d] & kStatusMark1) && IsValidSeat(e) &&
                       GetOppositeSeat(e) == last && lastPlaying) {
                m_nActionMask[e] =
                    kActionTakeOut | kActionPass | (FindNextAnswerer(e) != last ? kActionLet : 0);
            } else {
                const int f = FindNextAnswerer(passer);
                if (f == last || (f == afterLast && !lastPlaying))
                    StartNewRound(f);
                else if (IsValidSeat(f))
                    m_nActionMask[f] = kActionTakeOut | kActionPass;
            }
            return 0;
        }

        const int opposite = IsValidSeat(last) ? GetOppositeSeat(last) : kSeatCount;
        if (IsOpenRound() || (IsValidSeat(last) && !m_bStillInPlay[last] && IsSeatOut(opposite))) {
            const int d = GetNextPlayingSeat(passer);
            if (d == afterLast) {
                StartNewRound(d);
            } else if (d == last) {
                StartNewRound(last);
            } else if (IsValidSeat(d)) {
                m_nActionMask[d] = kActionTakeOut | kActionPass;
                m_nSeatStatus[d] = kStatusToTakeOut;
                m_nAwaitedAnswers = 1;
            }
        } else if (int(m_ActionQueue.size()) < m_nAwaitedAnswers || m_pWaitShaoMsg) {
            if (!AllBeforeAnswered(passer))
                return 0;
            if (m_pWaitShaoMsg)
                return WaitingActionReleasable(passer) ? ReleaseWaitingAction() : 0;
            for (int seat = 0; seat < kSeatCount; ++seat) {
                if (m_nActionMask[seat] & kActionTakeOut) {
                    m_nSeatStatus[seat] = kStatusToTakeOut;
                    break;
                }
            }
        } else if (opposite != passer && IsValidSeat(opposite) &&
                   (m_nSeatStatus[opposite] & kStatusMark2)) {
            m_nSeatStatus[opposite] = kStatusToTakeOut;
            m_nActionMask[opposite] = kActionTakeOut | kActionPass;
        } else {
            if (IsSeatOut(last))
                m_nSeatStatus[last] = kStatusOut2;
            StartNewRound(last);
        }
        return 0;
    } catch (...) {
        TraceCaught("Exception:-------:PassSetNextAction Erro!");
        return 0;
    }
}

int CGameLogic::GiveupSetNextAction(const tagACTIONRECORD& action, bool* sendPrompt) {
    try {
        const int seat = action.nSeat;
        m_nActionMask[seat] = 0;
        m_nSeatStatus[seat] = kStatusMark8;
        if (m_pWaitShaoMsg) {
            if (AllBeforeAnswered(seat) && WaitingActionReleasable(seat))
                return ReleaseWaitingAction();
            *sendPrompt = false;
            return 0;
        }
        const int received = int(m_ActionQueue.size());
        if (m_nAwaitedAnswers == received + 1) {
            for (int s = 0; s < kSeatCount; ++s) {
                if (m_nActionMask[s] & kActionTakeOut) {
                    m_nSeatStatus[s] = kStatusToTakeOut;
                    break;
                }
            }
        }
        if (received == m_nAwaitedAnswers) {
            const int last = m_nLastPlaySeat;
            if (!IsSeatOut(last)) {
                StartNewRound(last);
            } else {
                m_nSeatStatus[last] = kStatusOut2;
                StartNewRound(GetNextPlayingSeat(last));
            }
        }
        return 0;
    } catch (...) {
        TraceCaught("Exception:-------:GiveupSetNextAction Erro!");
        return 0;
    }
}
