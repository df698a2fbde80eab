#include "game/GameLogic.h"

#include <algorithm>
#include <cstring>

// The full state of a running table for a watcher who enters or a player who
// comes back, and the records of the game so far that follow it.

void CGameLogic::FillPlaces(int32_t places[kSeatCount]) const {
    for (int place = 0; place < kSeatCount; ++place)
        places[place] = -1;
    const int placed = std::min<int>(int(vecPlace.size()), kSeatCount);
    for (int place = 0; place < placed; ++place)
        places[place] = vecPlace[place];
    // Seats whose burn failed wait at the end: the first of them last.
    int place = kSeatCount - 1;
    for (size_t i = 0; i < m_FailShaoList.size() && place >= placed; ++i, --place) {
        if (std::find(vecPlace.begin(), vecPlace.end(), m_FailShaoList[i]) == vecPlace.end())
            places[place] = m_FailShaoList[i];
        else
            ++place;
    }
}

void CGameLogic::BuildSnapshot(tagSNAPSHOTMSG& msg, int seat, const tagWATCHERINFO* watcher) const {
    InitSnapshotMsg(msg);
    InitPlayEntry(msg.lastPlay);
    memcpy(msg.users, m_UserInfo, sizeof(msg.users));
    msg.nGameState = m_nGameState;
    memcpy(msg.nStartFlags, m_nStartFlags, sizeof(msg.nStartFlags));
    msg.tableHead = m_TableHead;
    memcpy(msg.nTrustWords, m_nTrustWord, sizeof(msg.nTrustWords));
    memcpy(msg.nPointAnswers1, m_nPointAnswer1, sizeof(msg.nPointAnswers1));
    memcpy(msg.nPointAnswers2, m_nPointAnswer2, sizeof(msg.nPointAnswers2));
    memcpy(msg.nOpenedPoint, m_nOpenedPoint, sizeof(msg.nOpenedPoint));
    memcpy(msg.nSeatStatus, m_nSeatStatus, sizeof(msg.nSeatStatus));
    memcpy(msg.nActionMask, m_nActionMask, sizeof(msg.nActionMask));
    memcpy(msg.nGousijiAnswers, m_nGousijiAnswer, sizeof(msg.nGousijiAnswers));
    FillPlaces(msg.nPlaces);

    const int historyCount = std::min<int>(int(m_History.size()), kHistoryRoom);
    msg.nHistoryCount = historyCount;
    for (int k = 0; k < historyCount; ++k)
        msg.history[k] = m_History[m_History.size() - 1 - k];

    const bool threesRule = (m_dwRuleFlags & kRuleThrees) != 0;
    const int held = GetHandCardCount(seat);
    if (watcher == nullptr) {
        msg.nReturnSeat = seat;
        memcpy(msg.hand, m_HandCards[seat], sizeof(msg.hand));
        msg.nHandCount[seat] = GetHandUsedCount(seat);
        msg.nTrustCount = m_nTrustCount[seat];
        msg.nPlayCounter = m_nActionSerial;
        if (!m_PlayList.empty())
            msg.lastPlay = m_PlayList.back();
        else
            msg.lastPlay.nSeat = kSeatCount;
    } else {
        // A watcher's view gets no play entry; seat 6 keeps the receiver
        // from taking an empty entry for a play of seat 0.
        msg.lastPlay.nSeat = kSeatCount;
        msg.bWatcherMaySee = m_bWatcher[seat];
        msg.nWatcherBeans = watcher->user.nBeans;
        msg.nWatcherScore = watcher->user.nScore;
        if (m_nGameState != kStateWaitStart && m_nGameState != kStatePointRound1) {
            if (m_bWatcher[seat]) {
                memcpy(msg.hand, m_HandCards[seat], sizeof(msg.hand));
                msg.nHandCount[seat] = GetHandUsedCount(seat);
            } else {
                const int hidden = threesRule || held > 10 ? 36 : held;
                for (int i = 0; i < hidden; ++i)
                    msg.hand[i] = MakeHiddenCard();
                msg.nHandCount[seat] = hidden;
            }
        }
    }
    const int* digits = m_Cipher.GetDigits();
    for (int i = 0; i < CTripleDes::kDigitCount; ++i)
        msg.hand[i].spare = uint8_t(digits[i]);

    for (int other = 0; other < kSeatCount; ++other) {
        if (other == seat)
            continue;
        const int count = GetHandCardCount(other);
        const bool shown = watcher == nullptr || m_nGameState == kStatePlay;
        if (!threesRule && count <= 10 && shown)
            msg.nHandCount[other] = count;
    }
}

void CGameLogic::SendGameHistoryRecords(int code, int seat) {
    auto send = [&](auto record) {
        record.nSeat = kSeatCount; // history only
        if (code == kHostSendSnapshot)
            SendSnapshot(&record, sizeof(record));
        else
            SendToSeat(seat, &record, sizeof(record));
    };
    for (const tagBUY3MSG& record : m_SentBuy3)
        send(record);
    for (const tagTRIBUTEMSG& record : m_SentTributes)
        send(record);
    for (const tagRETURNTRIBUTEMSG& record : m_SentReturns)
        send(record);
    for (const tagTRIBUTEENTRY& entry : m_GameShaoList) {
        tagSHAOBIEMSG notice;
        InitShaoBieMsg(notice);
        notice.nKind = kTributeShao;
        notice.nActor = entry.nReceiver;
        notice.nAffected = entry.nGiver;
        notice.nValue = 1;
        if (code == kHostSendSnapshot)
            SendSnapshot(&notice, sizeof(notice));
        else
            SendToSeat(seat, &notice, sizeof(notice));
    }
}

int CGameLogic::OnWatcherEnter(const void* watcher) {
    return RunHandler("Exception:-------:OnWatcherEnter Erro!", [&] {
        const auto* info = static_cast<const tagWATCHERINFO*>(watcher);
        if (info == nullptr || !IsValidSeat(info->nSeat))
            return 1;
        auto msg = std::make_unique<tagSNAPSHOTMSG>();
        BuildSnapshot(*msg, info->nSeat, info);
        SendSnapshot(msg.get(), sizeof(*msg));
        SendGameHistoryRecords(kHostSendSnapshot, info->nSeat);
        return 1;
    });
}

int CGameLogic::OnBreakReturn(int seat, intptr_t) {
    return RunHandler("Exception:-------:OnBreakReturn Erro!", [&] {
        if (!IsValidSeat(seat))
            return 1;
        auto msg = std::make_unique<tagSNAPSHOTMSG>();
        BuildSnapshot(*msg, seat, nullptr);
        SendSnapshot(msg.get(), sizeof(*msg));
        SendTrustWords(seat);
        SendGameHistoryRecords(kHostSendToSeat, seat);
        return 1;
    });
}
