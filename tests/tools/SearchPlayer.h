#pragma once

// A player for one seat that knows only what reaches it on the wire: it
// reads the game records the table sends, keeps its hand and the card key
// from its deal, and answers each question of the table. It picks its plays
// with the rule book's Search and the play checks. It covers the phases of a
// table without tribute, points, buying a 3 or gousiji.

#include "game/GameLogic.h"

#include <string>
#include <vector>

namespace tools_test {

class CSearchPlayer {
public:
    explicit CSearchPlayer(int seat);

    // A record for this seat; returns the records it sends back, in order.
    std::vector<std::vector<uint8_t>> OnRecord(const uint8_t* record, int length);

    bool SawGameOver() const { return m_bGameOver; }
    bool SawDeal() const { return m_bDealt; }
    int PlaysSent() const { return m_nPlaysSent; }
    int HandCount() const { return m_Board.GetHandCardCount(m_nSeat); }
    const std::vector<int>& Places() const { return m_Places; }
    // What did not add up: a counter that went back, a prompt to lead
    // without a play to lead, one of its plays that did not come back.
    const std::vector<std::string>& Problems() const { return m_Problems; }

private:
    std::vector<uint8_t> OnPrompt(const tagPLAYMSG& prompt);
    std::vector<uint8_t> Play(int type, const int* codes, int count, int counter);

    int m_nSeat;
    CGameLogic m_Board;
    CTripleDes m_Cipher;
    bool m_bCardsInClear = false;
    bool m_bStartSent = false;
    bool m_bDealt = false;
    bool m_bGameOver = false;
    int m_nLastCounter = -1;
    int m_nLastPlaySeat = -1;
    CardType m_LastPlayType = 0;
    int m_nPlaysSent = 0;
    std::vector<int> m_Places;
    std::vector<std::string> m_Problems;
};

} // namespace tools_test
