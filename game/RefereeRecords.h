#pragma once

#include <cstddef>
#include <cstdint>

#include "game/Cards.h"
#include "game/GameRecords.h"
#include "game/TableRecords.h"

// Records that pass between the referee and its host inside one process, and
// the referee's own working record of an action. None of them travels on the
// wire, but the host reads the ones handed to its callback field by field.

// An action as the referee works on it: the play record of a seat with its
// card codes deciphered and turned into card records (352 bytes, like the
// referee's prompt).
struct tagACTIONRECORD {
    tagGAMEMSG head; // 0x905
    int32_t nSeat;
    int32_t nType; // 16 take out, 1 pass, 2 let, 4 shao, 8 give up
    int32_t nSerial;
    int32_t nHandCount;
    int32_t nActionMask[kSeatCount];
    int32_t nSeatStatus[kSeatCount];
    int32_t nCount;
    tagCARD cards[kHandSize];
    uint8_t pad351;
};
static_assert(sizeof(tagACTIONRECORD) == 352);
static_assert(offsetof(tagACTIONRECORD, cards) == 76);

// Event 3: a watcher joins the table, watching a seat.
struct tagWATCHERINFO {
    int32_t nSeat; // the seat watched
    tagUSERINFO user;
};

// Host code 12: a bean charge (negative amount) or credit.
enum { kChargeBet = 1, kChargePrePoint = 4, kChargeOption = 8 };
struct tagCHARGE {
    char szUserName[20];
    int32_t nAmount;
    int32_t nKind;
};
static_assert(sizeof(tagCHARGE) == 28);

// Host code 4: one seat's settlement (68 bytes).
struct tagSETTLEREPORT {
    int32_t nSize; // 68
    int32_t nSeat;
    char szUserName[20];
    int32_t nZero32;
    int32_t nScoreChange;
    int32_t nWin;
    int32_t nLoss;
    int32_t nDraw;
    int32_t nLevelChange;
    int32_t nZero56;
    int32_t nBeanChange;
    int32_t bSettled; // 0 for an escaped seat
    int32_t bEscaped; // charged the escape penalty
};
static_assert(sizeof(tagSETTLEREPORT) == 68);

// Host code 9: the referee asks the host for a value for a seat.
struct tagSEATQUERY {
    int32_t nSeat;
    int32_t nBeanChange;
};
static_assert(sizeof(tagSEATQUERY) == 8);
