#include "game/GameLogic.h"

#include <algorithm>

// The finishing order: seats that ran out of cards, the revolutionary and the
// seats whose burn failed, and when the order is decided.

namespace {

bool Contains(const std::vector<int>& seats, int seat) {
    return std::find(seats.begin(), seats.end(), seat) != seats.end();
}

} // namespace

int CGameLogic::RevolutionarySeat() const {
    for (int seat = 0; seat < kSeatCount; ++seat) {
        if (m_nSeatStatus[seat] & kStatusOut1)
            return seat;
    }
    return -1;
}

void CGameLogic::SendPlaces(int seat) {
    tagPLACESMSG msg;
    InitPlacesMsg(msg);
    FillPlaces(msg.nPlaces);
    msg.nSeat = seat;
    SendToAll(&msg, sizeof(msg));
}

int CGameLogic::PlaceFinishedSeat(int seat) {
    if (!IsValidSeat(seat) || Contains(vecPlace, seat))
        return 0;
    m_bStillInPlay[seat] = 0;
    vecPlace.push_back(seat);
    const int revolutionary = RevolutionarySeat();
    if (vecPlace.size() == 3 && revolutionary >= 0 && !Contains(vecPlace, revolutionary))
        vecPlace.push_back(revolutionary);
    if (vecPlace.size() == 2 && revolutionary >= 0 && IsTeammate(revolutionary, vecPlace[0]) &&
        IsTeammate(revolutionary, vecPlace[1])) {
        // The revolutionary's side took places 1 and 2: it takes the third.
        vecPlace.push_back(revolutionary);
        int next = GetNextPlayingSeat(vecPlace[1]);
        for (int n = 0; n < 3 && IsValidSeat(next) && !Contains(vecPlace, next); ++n) {
            vecPlace.push_back(next);
            m_nSeatStatus[next] = kStatusOut2;
            next = GetNextPlayingSeat(next);
        }
        while (!m_FailShaoList.empty()) {
            if (!Contains(vecPlace, m_FailShaoList.back()))
                vecPlace.push_back(m_FailShaoList.back());
            m_FailShaoList.pop_back();
        }
        return 1;
    }
    const int trustedOrOut = CountTrustedOrOut();
    if (IsGameDecided())
        return SetOverPlace(seat);
    if (trustedOrOut < kSeatCount)
        return 0;
    // Every seat left is trusted: the order is closed in play order.
    int next = GetNextPlayingSeat(seat);
    for (int n = 0; n < kSeatCount && IsValidSeat(next); ++n) {
        if (vecPlace.size() == 3 && revolutionary >= 0 && !Contains(vecPlace, revolutionary))
            vecPlace.push_back(revolutionary);
        if (!Contains(vecPlace, next))
            vecPlace.push_back(next);
        m_nSeatStatus[next] = kStatusOut2;
        next = GetNextPlayingSeat(next);
    }
    if (vecPlace.size() < kSeatCount)
        SetOverPlace(seat);
    return 1;
}

bool CGameLogic::IsGameDecided() const {
    if (vecPlace.size() > 4)
        return true;
    std::vector<int> order = vecPlace;
    const int revolutionary = RevolutionarySeat();
    if (!order.empty() && revolutionary >= 0 && !Contains(order, revolutionary))
        order.push_back(revolutionary);
    for (int seat : m_FailShaoList) {
        if (!Contains(order, seat))
            order.push_back(seat);
    }
    if (order.size() < 3)
        return false;
    if (order.size() == 3)
        return IsTeammate(order[0], order[1]) && IsTeammate(order[0], order[2]);
    if (order.size() == 4) {
        int first = -1, second = -1;
        for (int seat = 0; seat < kSeatCount; ++seat) {
            if (IsSeatOut(seat))
                continue;
            if (first < 0)
                first = seat;
            else if (second < 0)
                second = seat;
        }
        return second < 0 || IsTeammate(first, second);
    }
    return true;
}

int CGameLogic::SetOverPlace(int seat) {
    try {
        const int revolutionary = RevolutionarySeat();
        const bool revolutionaryMissing = revolutionary >= 0 && !Contains(vecPlace, revolutionary);
        if (vecPlace.size() >= kSeatCount)
            return 1;
        if (vecPlace.size() < 3 && m_FailShaoList.empty())
            Trace("Exception:-------:Can't find FailShao side! shit!");
        auto appendPlaying = [&] {
            int next = GetNextPlayingSeat(seat);
            for (int n = 0; n < kSeatCount && IsValidSeat(next); ++n) {
                if (!Contains(vecPlace, next))
                    vecPlace.push_back(next);
                m_nSeatStatus[next] = kStatusOut2;
                next = GetNextPlayingSeat(next);
            }
        };
        auto moveFailedShao = [&](size_t upTo) {
            for (int n = 0; n < kSeatCount && !m_FailShaoList.empty() && vecPlace.size() < upTo;
                 ++n) {
                if (!Contains(vecPlace, m_FailShaoList.back()))
                    vecPlace.push_back(m_FailShaoList.back());
                m_FailShaoList.pop_back();
            }
        };
        appendPlaying();
        if (vecPlace.size() < 3 && revolutionaryMissing)
            moveFailedShao(3);
        if (revolutionary >= 0 && !Contains(vecPlace, revolutionary))
            vecPlace.push_back(revolutionary);
        moveFailedShao(kSeatCount);
        // Whatever else sits outside the order takes the last places, so
        // that settlement always sees six seats.
        for (int s = 0; s < kSeatCount && vecPlace.size() < kSeatCount; ++s) {
            if (!Contains(vecPlace, s))
                vecPlace.push_back(s);
        }
    } catch (...) {
        TraceCaught("Exception:-------:SetOverPlace Erro!");
    }
    return 1;
}
