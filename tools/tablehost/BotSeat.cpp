#include "tools/tablehost/BotSeat.h"

#include <cstring>

namespace {

template <class T> std::vector<uint8_t> Bytes(const T& record, int length = sizeof(T)) {
    const auto* begin = reinterpret_cast<const uint8_t*>(&record);
    return std::vector<uint8_t>(begin, begin + length);
}

} // namespace

CBotSeat::CBotSeat(int seat, uint32_t seed, const Style& style)
    : m_nSeat(seat), m_Style(style), m_Random(seed) {}

bool CBotSeat::Chance(int percent) {
    return int(m_Random() % 100) < percent;
}

void CBotSeat::OnRecord(const uint8_t* record, int length) {
    int id = 0;
    if (!PeekGameRecordId(record, length, &id))
        return;
    if (id == kMsgTableInfo) {
        m_bTableFull = true;
    } else if (id == kMsgDeal) {
        tagDEALMSG deal;
        if (ReadGameRecord(record, length, deal) && deal.nSeat == m_nSeat) {
            int digits[CTripleDes::kDigitCount];
            CGameLogic::GetKeyDigits(deal.hand, digits);
            const int seed = CTripleDes::SeedFromDigits(digits);
            m_Cipher.SetKeyFromDigits(digits, seed);
        }
    } else if (id == kMsgPlay) {
        tagPLAYMSG prompt;
        if (!ReadGameRecord(record, length, prompt))
            return;
        m_nPlayCounter = prompt.nPlayCounter;
        memcpy(m_nPublishedMask, prompt.nActionMask, sizeof(m_nPublishedMask));
        // The laid cards travel enciphered with the game key: they must
        // read back as a play of the seat that acted.
        // One seat reads each play back, the seat after the actor in seat
        // order, so every prompt is checked once.
        const bool mine = prompt.nSeat >= 0 && (prompt.nSeat + 1) % kSeatCount == m_nSeat;
        if (mine && (prompt.nType == kActionTakeOut || prompt.nType == kActionShao) &&
            prompt.nCount > 0) {
            if (!DecipherPlayCodes(prompt, m_Cipher, false)) {
                ++m_nCipherMismatches;
                return;
            }
            for (int i = 0; i < prompt.nCount; ++i) {
                if (prompt.nCodes[i] < 0 || prompt.nCodes[i] >= kCardCodeCount) {
                    ++m_nCipherMismatches;
                    return;
                }
            }
            if (CGameLogic::GetCardType(prompt.nCodes, prompt.nCount) == 0)
                ++m_nCipherMismatches;
        }
    }
}

uint32_t CBotSeat::Question(const CGameLogic& referee) const {
    const int seat = m_nSeat;
    if (referee.IsClosing() || referee.IsSeatTrusted(seat))
        return 0;
    const int state = referee.GetGameState();
    const int mask = referee.GetSeatActionMask(seat);
    bool asked = false;
    switch (state) {
    case kStateWaitStart:
        asked = m_bTableFull && !referee.GetStartFlag(seat);
        break;
    case kStatePlay:
        asked = (m_nPublishedMask[seat] & mask) != 0;
        break;
    default:
        asked = mask != 0;
        break;
    }
    if (!asked)
        return 0;
    // Phase, mask and prompt number, never 0.
    const uint32_t key =
        (uint32_t(state) << 24) ^ (uint32_t(mask) << 8) ^ uint32_t(m_nPlayCounter) * 2654435761u;
    return key != 0 ? key : 1;
}

std::vector<uint8_t> CBotSeat::Decide(const CGameLogic& referee) {
    const int seat = m_nSeat;
    if (Question(referee) == 0)
        return {};
    const int mask = referee.GetSeatActionMask(seat);
    switch (referee.GetGameState()) {
    case kStateWaitStart: {
        if (!m_bTableFull || referee.GetStartFlag(seat))
            return {};
        tagSTARTMSG msg;
        InitStartMsg(msg);
        msg.nSeat = seat;
        static const int kMultiples[] = {1, 1, 2, 4, 8, 16};
        msg.nMultiple = kMultiples[m_Random() % 6];
        return Bytes(msg);
    }
    case kStatePointRound1:
    case kStatePointRound2: {
        if (!(mask & (kActionPointRound1 | kActionPointRound2)))
            return {};
        tagPOINTMSG msg;
        InitPointMsg(msg);
        msg.bAnswer = 1;
        msg.bYes = Chance(m_Style.declarePoint);
        msg.nSeat = seat;
        return Bytes(msg);
    }
    case kStateTribute:
        return mask == kActionReturnTribute ? DecideReturn(referee) : std::vector<uint8_t>{};
    case kStateBuyThree: {
        if (mask != kActionBuyThree)
            return {};
        tagBUY3MSG msg;
        InitBuy3Msg(msg);
        msg.nSeat = seat;
        return Bytes(msg);
    }
    case kStateRevolution: {
        if (mask != kActionRevolution)
            return {};
        tagREVOLUTIONMSG msg;
        InitRevolutionMsg(msg);
        msg.nSeat = seat;
        msg.bYes = Chance(m_Style.declareRevolution);
        return Bytes(msg);
    }
    case kStateGousiji: {
        if (mask != kActionAnswer)
            return {};
        tagGOUSIJIMSG msg;
        InitGousijiMsg(msg);
        msg.nSeat = seat;
        msg.bYes = Chance(m_Style.acceptGousiji);
        return Bytes(msg);
    }
    case kStatePlay:
        return DecidePlay(referee);
    default:
        return {};
    }
}

std::vector<uint8_t> CBotSeat::DecideReturn(const CGameLogic& referee) {
    int kind = 0;
    tagTRIBUTEENTRY entry{};
    if (!referee.FindOwedReturn(m_nSeat, &kind, &entry))
        return {};
    int codes[kTributeMaxCards];
    if (!referee.ChooseReturnCards(m_nSeat, entry.nReceiver, entry.nCount, codes))
        return {}; // the referee takes the seat over when its wait runs out
    return Bytes(CGameLogic::MakeReturnRecord(m_nSeat, kind, entry, codes));
}

void CBotSeat::CopyTable(const CGameLogic& referee) {
    m_Board.SetRuleFlags(referee.GetRuleFlags());
    m_Board.SetHand(m_nSeat, referee.GetHand(m_nSeat), referee.GetHandUsedCount(m_nSeat));
    m_Board.SetSeatStatus(m_nSeat, referee.GetSeatStatus(m_nSeat), 0);
    m_Board.ClearPlayList();
    const auto& plays = referee.GetPlayList();
    if (!plays.empty())
        m_Board.AddPlay(plays.back().nSeat, plays.back().type);
}

std::vector<uint8_t> CBotSeat::DecidePlay(const CGameLogic& referee) {
    const int seat = m_nSeat;
    const int published = m_nPublishedMask[seat];
    if (published == 0 || (referee.GetSeatActionMask(seat) & published) == 0)
        return {};
    CopyTable(referee);
    const bool leads = m_Board.GetPlayList().empty();
    const CardType toBeat = leads ? 0 : m_Board.GetPlayList().back().type;
    std::vector<CardType> candidates;
    m_Board.Search(toBeat, seat, candidates);
    std::vector<std::vector<int>> plays;
    for (CardType candidate : candidates) {
        int codes[kHandSize];
        const int count = m_Board.PickCardsForType(seat, candidate, codes, kHandSize);
        if (count > 0 && m_Board.CheckTakeOut(seat, codes, count) == 1)
            plays.emplace_back(codes, codes + count);
    }
    // Leads and answers pick among the checked plays, the first most often.
    auto pick = [&]() -> const std::vector<int>& {
        return plays[Chance(50) ? 0 : m_Random() % plays.size()];
    };
    if (published & kActionTakeOut) {
        if (!plays.empty() && (leads || !Chance(m_Style.passWhenAble))) {
            const std::vector<int>& play = pick();
            return PlayRecord(kActionTakeOut, play.data(), int(play.size()));
        }
        if (leads)
            return {};
        if ((published & kActionLet) && Chance(m_Style.let))
            return PlayRecord(kActionLet, nullptr, 0);
        return PlayRecord(kActionPass, nullptr, 0);
    }
    if (published & kActionShao) {
        if (!plays.empty() && Chance(m_Style.burn)) {
            const std::vector<int>& play = pick();
            return PlayRecord(kActionShao, play.data(), int(play.size()));
        }
        return PlayRecord(kActionGiveUp, nullptr, 0);
    }
    return {};
}

std::vector<uint8_t> CBotSeat::PlayRecord(int type, const int* codes, int count) {
    tagPLAYMSG msg;
    std::vector<int32_t> values(codes, codes + count);
    InitPlayMsgWithCodes(msg, values.data(), count);
    msg.nSeat = m_nSeat;
    msg.nType = type;
    msg.nPlayCounter = m_nPlayCounter;
    EncipherPlayCodes(msg, m_Cipher, false);
    ++m_nPlaysSent;
    // Once sent, the prompt is answered: the seat waits for the next one.
    memset(m_nPublishedMask, 0, sizeof(m_nPublishedMask));
    return Bytes(msg, PlayMsgLength(count));
}
