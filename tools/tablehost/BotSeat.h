#pragma once

#include <cstdint>
#include <random>
#include <vector>

#include "game/GameLogic.h"

// A seat played inside the table host: it reads the records the referee
// sends it as a client would, keeps its own card key from its deal record,
// and answers every question of the table with a record of its own. Its
// choices come from the rule book (Search and the play checks) on a copy
// of what the seat may know: its hand, its status and the play to beat.
class CBotSeat {
public:
    // How adventurous the seat is, in percent.
    struct Style {
        int declarePoint = 15;
        int declareRevolution = 60;
        int acceptGousiji = 50;
        int burn = 60;
        int passWhenAble = 10;
        int let = 50;
    };

    CBotSeat(int seat, uint32_t seed, const Style& style);

    int GetSeat() const { return m_nSeat; }

    // A record the referee sent to this seat (its own or one for all).
    void OnRecord(const uint8_t* record, int length);

    // What the table asks of this seat now, as the seat's records tell it:
    // 0 for nothing; otherwise a value that changes with every new question
    // (phase, mask and prompt), so a host that paces the seat knows when the
    // seat starts to think.
    uint32_t Question(const CGameLogic& referee) const;

    // The record the seat sends now, or an empty one when it has nothing to
    // do. Reads the referee only where a client learns the same from its
    // records (the phase, its own mask, hand and status, the play to beat).
    std::vector<uint8_t> Decide(const CGameLogic& referee);

    // Prompts whose card codes did not decipher into the play the table
    // recorded.
    int GetCipherMismatches() const { return m_nCipherMismatches; }
    int GetPlaysSent() const { return m_nPlaysSent; }

private:
    std::vector<uint8_t> DecidePlay(const CGameLogic& referee);
    std::vector<uint8_t> DecideReturn(const CGameLogic& referee);
    std::vector<uint8_t> PlayRecord(int type, const int* codes, int count);
    void CopyTable(const CGameLogic& referee);
    bool Chance(int percent);

    int m_nSeat;
    Style m_Style;
    std::mt19937 m_Random;
    CTripleDes m_Cipher;
    CGameLogic m_Board; // scratch copy of what the seat knows
    bool m_bTableFull = false;
    int m_nPlayCounter = 0;
    int32_t m_nPublishedMask[kSeatCount] = {};
    int m_nCipherMismatches = 0;
    int m_nPlaysSent = 0;
};
