// What the record handlers share: who I am at the table, the time limits,
// the seats' names and voices, the seats' state marks and the receive gate.

#include "table/records/TableRecords.h"

#include "table/client/GameNetClient.h"
#include "table/common/GameWndInfoText.h"
#include "table/records/TableView.h"

#include <algorithm>
#include <climits>
#include <cstdint>

BOOL CTableRecords::IsMe(int seat) const {
    return m_client != nullptr && m_viewpoint.IsMe(seat);
}

BOOL CTableRecords::IsPlayer() const {
    return m_client != nullptr && !m_viewpoint.bWatcher;
}

BOOL CTableRecords::IsBlindWatcher() const {
    return m_client != nullptr && m_viewpoint.bWatcher &&
           !m_board.GetWatcherSees(m_viewpoint.nMySeat);
}

int CTableRecords::MyMask() const {
    return m_board.GetSeatActionMask(m_viewpoint.nMySeat);
}

int CTableRecords::TimeLimit(TimeLimitSlot slot) const {
    return m_board.GetTableHead().nTimeLimit[slot];
}

int CTableRecords::LimitWithGrace(TimeLimitSlot slot, int moreSeconds) const {
    const int64_t seconds = int64_t(TimeLimit(slot)) + TimeLimit(kLimitGrace) + moreSeconds;
    return int(std::clamp<int64_t>(seconds, INT_MIN, INT_MAX));
}

int CTableRecords::VoiceOf(int seat) const {
    return m_board.GetUserInfo(seat).nVoice;
}

void CTableRecords::EndHeldRecord() {
    if (m_client != nullptr)
        m_client->ReceiveGate().Release(CReceiveGate::kRecord);
}

void CTableRecords::GetWatcherValues(int* beans, int* score) const {
    if (beans != nullptr)
        *beans = m_nWatcherBeans;
    if (score != nullptr)
        *score = m_nWatcherScore;
}

int CTableRecords::MarkPlaces(const int32_t places[kSeatCount], int seatAsked) {
    int placeAsked = -1;
    for (int place = 0; place < kSeatCount; ++place) {
        const int seat = places[place];
        if (!IsSeat(seat))
            continue;
        // Out of play; the action mask stays the referee's.
        m_board.SetSeatStatus(seat, kStatusOut2, 1);
        m_marks.ShowPlaceMark(seat, place);
        if (seat == seatAsked)
            placeAsked = place;
    }
    return placeAsked;
}

void CTableRecords::UpdateSeatStateMarks(const int32_t values[kSeatCount], BOOL flag) {
    const bool askOnlyFinishers = (m_board.GetRuleFlags() & kRuleAskOnlyFinishers) != 0;
    for (int seat = 0; seat < kSeatCount; ++seat) {
        const int status = m_board.GetSeatStatus(seat);
        const bool cleared = m_board.GetSeatActionMask(seat) != 0 ||
                             (askOnlyFinishers && (status & 0x08) && !(status & 0x01));
        m_marks.ShowActionMark(
            seat, cleared ? 0 : values[seat] & (kActionPass | kActionLet | kActionGiveUp));
        m_marks.MarkShao(seat, (status & kStatusLastPlay) ? TRUE : FALSE, flag);
    }
}
