#include "SearchPlayer.h"

#include <cstring>

namespace tools_test {

namespace {

template <class T> std::vector<uint8_t> Bytes(const T& record, int length = sizeof(T)) {
    const auto* begin = reinterpret_cast<const uint8_t*>(&record);
    return std::vector<uint8_t>(begin, begin + length);
}

} // namespace

CSearchPlayer::CSearchPlayer(int seat) : m_nSeat(seat) {}

std::vector<std::vector<uint8_t>> CSearchPlayer::OnRecord(const uint8_t* record, int length) {
    std::vector<std::vector<uint8_t>> answers;
    int id = 0;
    if (!PeekGameRecordId(record, length, &id))
        return answers;
    switch (id) {
    case kMsgTableInfo: {
        tagTABLEINFO table;
        if (!ReadGameRecord(record, length, table))
            break;
        m_Board.SetRuleFlags(uint32_t(table.head.nRuleFlags));
        m_bCardsInClear = (uint32_t(table.head.nRuleFlags) & kRuleCardsInClear) != 0;
        // Press start once per game, as soon as the record shows this seat taken.
        if (!m_bStartSent && table.users[m_nSeat].szUserName[0] != '\0') {
            tagSTARTMSG start;
            InitStartMsg(start);
            start.nSeat = m_nSeat;
            start.nMultiple = 1;
            answers.push_back(Bytes(start));
            m_bStartSent = true;
        }
        break;
    }
    case kMsgDeal: {
        tagDEALMSG deal;
        if (!ReadGameRecord(record, length, deal) || deal.nSeat != m_nSeat)
            break;
        int digits[CTripleDes::kDigitCount];
        CGameLogic::GetKeyDigits(deal.hand, digits);
        m_Cipher.SetKeyFromDigits(digits, CTripleDes::SeedFromDigits(digits));
        m_Board.SetHand(m_nSeat, deal.hand, deal.nCount);
        m_bDealt = true;
        break;
    }
    case kMsgRevolution: {
        tagREVOLUTIONMSG question;
        if (!ReadGameRecord(record, length, question) || question.bAnswer ||
            !question.bAsked[m_nSeat])
            break;
        tagREVOLUTIONMSG answer;
        InitRevolutionMsg(answer);
        answer.nSeat = m_nSeat;
        answers.push_back(Bytes(answer));
        break;
    }
    case kMsgPlay: {
        tagPLAYMSG prompt;
        if (!ReadGameRecord(record, length, prompt)) {
            m_Problems.push_back("unreadable play record");
            break;
        }
        std::vector<uint8_t> answer = OnPrompt(prompt);
        if (!answer.empty())
            answers.push_back(std::move(answer));
        break;
    }
    case kMsgPlaces: {
        tagPLACESMSG places;
        if (ReadGameRecord(record, length, places))
            m_Places.assign(places.nPlaces, places.nPlaces + kSeatCount);
        break;
    }
    case kMsgGameOver:
        m_bGameOver = true;
        m_bStartSent = false;
        break;
    default:
        break;
    }
    return answers;
}

std::vector<uint8_t> CSearchPlayer::OnPrompt(const tagPLAYMSG& received) {
    tagPLAYMSG prompt = received;
    if (prompt.nPlayCounter < m_nLastCounter)
        m_Problems.push_back("play counter went back to " + std::to_string(prompt.nPlayCounter));
    m_nLastCounter = prompt.nPlayCounter;
    // The cards of a take-out or a burn: the new play to beat.
    if ((prompt.nType == kActionTakeOut || prompt.nType == kActionShao) && prompt.nCount > 0) {
        if (!DecipherPlayCodes(prompt, m_Cipher, m_bCardsInClear)) {
            m_Problems.push_back("play codes do not decipher");
            return {};
        }
        m_nLastPlaySeat = prompt.nSeat;
        m_LastPlayType = CGameLogic::GetCardType(prompt.nCodes, prompt.nCount);
        if (prompt.nSeat == m_nSeat) {
            for (int i = 0; i < prompt.nCount; ++i) {
                if (!m_Board.DeleteHandCard(m_nSeat, prompt.nCodes[i]))
                    m_Problems.push_back("own card " + std::to_string(prompt.nCodes[i]) +
                                         " came back but is not in the hand");
            }
        }
    }
    const int mask = prompt.nActionMask[m_nSeat];
    if (mask == 0)
        return {};
    // A seat that may not pass leads a new round; one that may answers the
    // last take-out.
    const bool leads = (mask & kActionPass) == 0;
    const CardType toBeat = leads ? 0 : m_LastPlayType;
    if (mask & kActionTakeOut) {
        m_Board.SetSeatStatus(m_nSeat, prompt.nSeatStatus[m_nSeat], 0);
        m_Board.ClearPlayList();
        if (!leads)
            m_Board.AddPlay(m_nLastPlaySeat, toBeat);
        std::vector<CardType> candidates;
        m_Board.Search(toBeat, m_nSeat, candidates);
        for (CardType candidate : candidates) {
            int codes[kHandSize];
            const int count = m_Board.PickCardsForType(m_nSeat, candidate, codes, kHandSize);
            if (count > 0 && m_Board.CheckTakeOut(m_nSeat, codes, count) == 1)
                return Play(kActionTakeOut, codes, count, prompt.nPlayCounter);
        }
        if (leads) {
            m_Problems.push_back("asked to lead with no play found");
            return {};
        }
        return Play(kActionPass, nullptr, 0, prompt.nPlayCounter);
    }
    if (mask & kActionShao)
        return Play(kActionGiveUp, nullptr, 0, prompt.nPlayCounter);
    if (mask & kActionPass)
        return Play(kActionPass, nullptr, 0, prompt.nPlayCounter);
    return {};
}

std::vector<uint8_t> CSearchPlayer::Play(int type, const int* codes, int count, int counter) {
    tagPLAYMSG msg;
    std::vector<int32_t> values(codes, codes + count);
    InitPlayMsgWithCodes(msg, values.data(), count);
    msg.nSeat = m_nSeat;
    msg.nType = type;
    msg.nPlayCounter = counter;
    EncipherPlayCodes(msg, m_Cipher, m_bCardsInClear);
    ++m_nPlaysSent;
    return Bytes(msg, PlayMsgLength(count));
}

} // namespace tools_test
