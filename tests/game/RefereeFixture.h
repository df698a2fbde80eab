#pragma once

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/game/CardHelpers.h"

// A referee with a recording host, a seeded random source and a clock the
// test steps, and access to the working members the referee tests look at.
class RefereeProbe : public CGameLogic {
public:
    using CGameLogic::BuildAnswerOrder;
    using CGameLogic::CheckReturnTribute;
    using CGameLogic::DoAutoAction;
    using CGameLogic::GameOver;
    using CGameLogic::IsGameDecided;
    using CGameLogic::m_bFirstGame;
    using CGameLogic::m_bStillInPlay;
    using CGameLogic::m_bWatcher;
    using CGameLogic::m_FailShaoList;
    using CGameLogic::m_History;
    using CGameLogic::m_Lock;
    using CGameLogic::m_nActionMask;
    using CGameLogic::m_nActionSerial;
    using CGameLogic::m_nAnswerOrder;
    using CGameLogic::m_nAwaitedAnswers;
    using CGameLogic::m_nBurnedSeat;
    using CGameLogic::m_nEscapePenalty;
    using CGameLogic::m_nGamesPlayed;
    using CGameLogic::m_nLastPlaySeat;
    using CGameLogic::m_nOpenedPoint;
    using CGameLogic::m_nPointAnswer1;
    using CGameLogic::m_nPointAnswer2;
    using CGameLogic::m_nPointValue;
    using CGameLogic::m_nReturnsOwed;
    using CGameLogic::m_nSeatStatus;
    using CGameLogic::m_nStartFlags;
    using CGameLogic::m_nTrustCount;
    using CGameLogic::m_nTrustWord;
    using CGameLogic::m_ReturnQueue;
    using CGameLogic::m_TakeChanceRule;
    using CGameLogic::m_TributeList;
    using CGameLogic::m_UserInfo;
    using CGameLogic::PlaceFinishedSeat;
    using CGameLogic::ResolveBuy3;
    using CGameLogic::RunTributeList;
    using CGameLogic::SetActionMsg;
    using CGameLogic::SetOverPlace;
    using CGameLogic::StartNewRound;
    using CGameLogic::StartRevolutionPhase;
    using CGameLogic::vecPlace;
    void SetState(int state) { m_nGameState = state; }
};

struct HostCallRecord {
    int code;
    int param;
    std::vector<uint8_t> data;
    std::string text;
    int Id() const { return data.size() >= 4 ? LoadRecordInt(data.data(), 0) : 0; }
};

class RefereeTest : public ::testing::Test {
protected:
    static std::vector<HostCallRecord>& Calls() {
        static std::vector<HostCallRecord> calls;
        return calls;
    }
    static int Record(tagHOSTCALL* call) {
        HostCallRecord record{call->nCode, call->nParam, {}, {}};
        if (call->nCode == kHostTrace) {
            record.text = static_cast<const char*>(call->pData);
        } else if (call->pData && call->nDataLen > 0) {
            const auto* bytes = static_cast<const uint8_t*>(call->pData);
            record.data.assign(bytes, bytes + call->nDataLen);
        }
        Calls().push_back(record);
        if (call->nCode == kHostSeatQuery)
            call->nParam = s_nHostAnswer;
        return 1;
    }

    void SetUp() override {
        Calls().clear();
        s_nHostAnswer = 0;
        board.SetHostCallback(&Record);
        board.SetRandomSource(std::make_unique<CSeededRandom>(12345));
        board.m_TimeLimits.SetTickSource([this] { return now; });
    }

    void SetRules(const std::string& text) {
        board.Dispatch(0, kPropRulesText, reinterpret_cast<intptr_t>(text.c_str()));
    }

    void SeatSix(int beans = 10000) {
        for (int seat = 0; seat < kSeatCount; ++seat) {
            tagUSERINFO user{};
            snprintf(user.szUserName, sizeof(user.szUserName), "user%d", seat);
            user.nSeat = seat;
            user.nBeans = beans;
            board.Dispatch(1, 0, reinterpret_cast<intptr_t>(&user));
        }
    }

    template <class T> int Send(int seat, const T& record, int length = sizeof(T)) {
        tagGAMEEVENT event{seat, length, &record};
        return board.Dispatch(5, 0, reinterpret_cast<intptr_t>(&event));
    }

    void PressStart(int seat, int multiple = 1) {
        tagSTARTMSG msg;
        InitStartMsg(msg);
        msg.nSeat = seat;
        msg.nMultiple = multiple;
        Send(seat, msg);
    }

    std::vector<HostCallRecord> Sent(int id, int code = -1) const {
        std::vector<HostCallRecord> found;
        for (const HostCallRecord& call : Calls()) {
            if (call.code != kHostTrace && call.Id() == id && (code < 0 || call.code == code))
                found.push_back(call);
        }
        return found;
    }

    template <class T> static T As(const HostCallRecord& call) {
        T record{};
        memcpy(&record, call.data.data(), std::min(sizeof(T), call.data.size()));
        return record;
    }

    int CountCode(int code) const {
        int count = 0;
        for (const HostCallRecord& call : Calls())
            count += call.code == code;
        return count;
    }

    // A play record as a client sends it, enciphered with the game key.
    tagPLAYMSG PlayRecord(int seat, int type, const std::vector<int>& codes) {
        tagPLAYMSG msg;
        std::vector<int32_t> values(codes.begin(), codes.end());
        InitPlayMsgWithCodes(msg, values.data(), int(values.size()));
        msg.nSeat = seat;
        msg.nType = type;
        msg.nPlayCounter = board.GetActionSerial();
        EncipherPlayCodes(msg, board.m_Cipher, false);
        return msg;
    }
    int Play(int seat, int type, const std::vector<int>& codes = {}) {
        tagPLAYMSG msg = PlayRecord(seat, type, codes);
        return Send(seat, msg, PlayMsgLength(int(codes.size())));
    }

    // Trick play with the given hands, all six seats playing, seat leading.
    void StartTrickPlay(const std::vector<std::vector<int>>& hands, int leader) {
        for (int seat = 0; seat < kSeatCount; ++seat)
            DealHand(board, seat, hands[seat]);
        board.SetState(kStatePlay);
        board.StartNewRound(leader);
        Calls().clear();
    }

    static inline int s_nHostAnswer = 0;
    uint32_t now = 5000000;
    RefereeProbe board;
};
