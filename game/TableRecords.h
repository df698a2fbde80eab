#pragma once

#include <cstddef>
#include <cstdint>

// Records of the table that travel inside game records. Their byte layouts are
// fixed: little-endian 32-bit fields, no padding.

enum { kTimeLimitCount = 11, kGuessKindCount = 5 };

// What each of the head's time limits times (its index in nTimeLimit).
enum TimeLimitSlot {
    kLimitResultCountdown = 0, // the result pane's countdown to the next start
    kLimitPointRound1 = 1,
    kLimitPointRound2 = 2,
    kLimitReturnTribute = 3,
    kLimitRevolution = 4,
    kLimitGousiji = 5,
    kLimitTakeOut = 6, // my turn in trick play
    kLimitShao = 7,    // my turn when I may only burn
    kLimitWaitStart = 9,
    kLimitGrace = 10, // added to every limit for the network
};

// The table settings (172 bytes).
struct tagTABLEHEAD {
    int32_t nTimeLimit[kTimeLimitCount]; // seconds, rules-text fields 1..11
    int32_t nGamesToPlay;                // leaving is free after this many games (field 21)
    int32_t nProperty10004;
    int32_t nRuleFlags; // copy of the rule-flags word
    int32_t nMinBeans;  // minimum beans to start (field 27)
    int32_t nField13;
    int32_t nMultiple[6];  // each seat's chosen multiple
    int32_t nMaxMultiple;  // highest multiple a seat may choose (field 31)
    int32_t nBaseMultiple; // field 32
    int32_t nField29;
    int32_t nField30;
    int32_t nMaxGuesses;  // guessing bets a seat may place in one game (field 34)
    int32_t nMinStake;    // field 35
    int32_t nMaxStake;    // field 33
    int32_t nKeepBeans;   // beans a seat must keep after its stake (field 36)
    int32_t nPrePointFee; // field 37
    int32_t nFeePerStep;  // field 38
    int32_t nGuessOdds[kGuessKindCount];
    int32_t nGuessesPlaced[6];
};
static_assert(sizeof(tagTABLEHEAD) == 172);
static_assert(offsetof(tagTABLEHEAD, nGamesToPlay) == 44);
static_assert(offsetof(tagTABLEHEAD, nRuleFlags) == 52);
static_assert(offsetof(tagTABLEHEAD, nMultiple) == 64);
static_assert(offsetof(tagTABLEHEAD, nMaxMultiple) == 88);
static_assert(offsetof(tagTABLEHEAD, nField29) == 96);
static_assert(offsetof(tagTABLEHEAD, nMaxGuesses) == 104);
static_assert(offsetof(tagTABLEHEAD, nMaxStake) == 112);
static_assert(offsetof(tagTABLEHEAD, nFeePerStep) == 124);
static_assert(offsetof(tagTABLEHEAD, nGuessOdds) == 128);
static_assert(offsetof(tagTABLEHEAD, nGuessesPlaced) == 148);

// A seated player (144 bytes). Bytes without a named field are carried
// unchanged.
struct tagUSERINFO {
    int32_t nReserved0;
    char szUserName[20]; // compared without regard to case
    char szNickName[20];
    int32_t nSeat;
    int32_t nScore;
    int32_t nWins;
    int32_t nLosses;
    int32_t nDraws;
    int32_t nLevel; // 0..19
    uint8_t reserved68[8];
    int32_t nWealth;
    uint8_t bMember;
    uint8_t reserved81;
    uint8_t nVoice;
    uint8_t reserved83[53];
    int32_t nBeans;
    uint8_t reserved140[4];
};
static_assert(sizeof(tagUSERINFO) == 144);
static_assert(offsetof(tagUSERINFO, szUserName) == 4);
static_assert(offsetof(tagUSERINFO, szNickName) == 24);
static_assert(offsetof(tagUSERINFO, nSeat) == 44);
static_assert(offsetof(tagUSERINFO, nLevel) == 64);
static_assert(offsetof(tagUSERINFO, nWealth) == 76);
static_assert(offsetof(tagUSERINFO, bMember) == 80);
static_assert(offsetof(tagUSERINFO, nVoice) == 82);
static_assert(offsetof(tagUSERINFO, nBeans) == 136);

// The table record of game record 0x901 (1072 bytes).
struct tagTABLEINFO {
    int32_t nMsgId;   // 0x901
    int32_t nBodyLen; // 1064
    tagTABLEHEAD head;
    uint8_t zero180[4];
    tagUSERINFO users[6];
    int32_t nStartFlags[6];
};
static_assert(sizeof(tagTABLEINFO) == 1072);
static_assert(offsetof(tagTABLEINFO, head) == 8);
static_assert(offsetof(tagTABLEINFO, users) == 184);
static_assert(offsetof(tagTABLEINFO, nStartFlags) == 1048);
