#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "game/Cards.h"

// Game records: the fixed binary records that carry all game play between a
// client and the table's referee, one per wire message 0x243, both ways.
// Every record starts with the 8-byte head below; the bodies are in
// StateRecords.h (what the referee reports) and PlayRecords.h (the seats'
// actions and their relays). Layouts are fixed, little-endian, with every pad
// byte spelt out, so the structs below have no hidden padding (their sizes and
// key offsets are asserted).
//
// Reading: a record arrives as (pointer, delivered length). The delivered
// length wins: it bounds every read. A record is refused when it is shorter
// than its fixed part, when its id is not the one expected, when its body
// length field claims more than was delivered (a truncated record), or when a
// count inside it points past its array or past the delivered bytes. A body
// length that claims less than was delivered is accepted; the copy then says
// how many bytes it holds. Readers copy into an aligned struct and never
// touch the caller's buffer.

enum {
    kMsgTableInfo = 0x901,
    kMsgSnapshot = 0x902,
    kMsgStart = 0x903,
    kMsgDeal = 0x904,
    kMsgPlay = 0x905,
    kMsgGameOver = 0x906,
    kMsgReturnTribute = 0x907,
    kMsgPoint = 0x908,
    kMsgRevolution = 0x909,
    kMsgGousiji = 0x90A,
    kMsgBuy3 = 0x90B,
    kMsgTribute = 0x90D,
    kMsgTrust = 0x90E,
    kMsgGameEnd = 0x910,
    kMsgTrustWords = 0x911,
    kMsgWatcherView = 0x912,
    kMsgPlaces = 0x913,
    kMsgUserRecord = 0x914,
    kMsgPluginData = 0x915,
    kMsgSeatRequest = 0x917,
    kMsgCardList = 0x918,
    kMsgShaoBie = 0x919,
    kMsgGuess = 0x91A,
    kMsgTimeTick = 0x91B,
    kMsgTributeStopped = 0x91C,
    kMsgBeanLock = 0x91D,
    kMsgEmpty = 0x91E,

    kMsgFirst = kMsgTableInfo,
    kMsgLast = kMsgEmpty,
};

// The head of every game record.
struct tagGAMEMSG {
    int32_t nMsgId;
    int32_t nBodyLen; // total size - 8
};
static_assert(sizeof(tagGAMEMSG) == 8);

enum { kGameMsgHeadSize = sizeof(tagGAMEMSG) };

// ---- Pieces shared by several records --------------------------------------

// A tribute to pay or to return. The first seat always receives cards: the
// tribute's receiver in the referee's lists and in the game-over record, the
// seat that gets cards back in a pending return.
struct tagTRIBUTEENTRY {
    int32_t nKind; // 1 point, 2 bie, 3 shao, 4 place (0-based in 0x907 and 0x90D)
    int32_t nReceiver;
    int32_t nGiver;
    int32_t nCount;
};
static_assert(sizeof(tagTRIBUTEENTRY) == 16);

inline void InitTributeEntry(tagTRIBUTEENTRY& entry) {
    entry = tagTRIBUTEENTRY{};
}

// One take-out of the current round.
struct tagPLAYENTRY {
    int32_t nSeat; // 6 in a snapshot whose round has no play yet
    int32_t nReserved;
    CardType type;
};
static_assert(sizeof(tagPLAYENTRY) == 12);

inline void InitPlayEntry(tagPLAYENTRY& entry) {
    entry = tagPLAYENTRY{};
}

// One finished game: each seat's change of score, then of beans.
struct tagHISTORYENTRY {
    int32_t nScoreChange[kSeatCount];
    int32_t nBeanChange[kSeatCount];
};
static_assert(sizeof(tagHISTORYENTRY) == 48);
static_assert(offsetof(tagHISTORYENTRY, nBeanChange) == 24);

// One seat's settlement in the game-end notice.
struct tagSETTLEMENTENTRY {
    int32_t nScoreChange; // after the member multiplier
    int32_t nBeanChange;
    uint8_t bEscaped; // 1: the seat left and paid the escape settlement
    uint8_t pad9[3];
};
static_assert(sizeof(tagSETTLEMENTENTRY) == 12);

// A card the receiver may not see: code 255, flags 3, other bytes 0.
enum { kHiddenCardCode = kNoCard, kHiddenCardFlags = 0x03 };

inline tagCARD MakeHiddenCard() {
    return tagCARD{kHiddenCardCode, 0, 0, 0, kHiddenCardFlags};
}
inline bool IsHiddenCard(const tagCARD& card) {
    return card.code == kHiddenCardCode;
}

// ---- Reading and building ---------------------------------------------------

enum GameRecordFault {
    kRecordOk = 0,
    kRecordNull,       // no data, or a negative length
    kRecordTooShort,   // shorter than the record's fixed part
    kRecordWrongId,    // not the id expected (or no record has that id)
    kRecordBodyLength, // the body length field claims more than was delivered
    kRecordBadCount,   // a count outside its array or past the delivered bytes
};

// A short English word for a log line.
const char* GameRecordFaultText(GameRecordFault fault);

// Id and fixed part of each record type; specialised beside each record.
// CountsFit checks the count fields of a record whose head already passed:
// record holds length delivered bytes, at least the fixed part.
template <class T> struct GameRecordTraits;

template <int Id, int MinSize> struct GameRecordKind {
    static constexpr int kId = Id;
    static constexpr int kMinSize = MinSize;
    static bool CountsFit(const uint8_t*, int) { return true; }
};

// A 32-bit field of a delivered record, read without alignment.
inline int32_t LoadRecordInt(const void* record, size_t offset) {
    int32_t value;
    std::memcpy(&value, static_cast<const uint8_t*>(record) + offset, sizeof value);
    return value;
}

// The id of a record that has at least a head; false for 7 bytes or less.
bool PeekGameRecordId(const void* data, int length, int* id);

// The head checks every reader makes (see the top of this file).
GameRecordFault CheckGameRecordHead(const void* data, int length, int id, int minSize);

template <class T> GameRecordFault CheckGameRecord(const void* data, int length) {
    using Traits = GameRecordTraits<T>;
    static_assert(Traits::kMinSize >= kGameMsgHeadSize && Traits::kMinSize <= int(sizeof(T)));
    const GameRecordFault fault = CheckGameRecordHead(data, length, Traits::kId, Traits::kMinSize);
    if (fault != kRecordOk)
        return fault;
    if (!Traits::CountsFit(static_cast<const uint8_t*>(data), length))
        return kRecordBadCount;
    return kRecordOk;
}

// Checks a delivered record and copies what fits of it into out; bytes past
// the delivered length stay zero, and out's body length is what it holds.
// On refusal out is all zero and fault (when given) says why.
template <class T>
bool ReadGameRecord(const void* data, int length, T& out, GameRecordFault* fault = nullptr) {
    std::memset(&out, 0, sizeof out);
    const GameRecordFault result = CheckGameRecord<T>(data, length);
    if (fault)
        *fault = result;
    if (result != kRecordOk)
        return false;
    const int kept = std::min(length, int(sizeof out));
    std::memcpy(&out, data, kept);
    const int32_t bodyLen = kept - kGameMsgHeadSize;
    std::memcpy(reinterpret_cast<uint8_t*>(&out) + offsetof(tagGAMEMSG, nBodyLen), &bodyLen,
                sizeof bodyLen);
    return true;
}

// Checks a record of any id by the layout its id names; kRecordWrongId for
// ids that no record uses (0x90C, 0x90F, 0x916, anything outside the range).
GameRecordFault CheckAnyGameRecord(const void* data, int length);

// Zeroes a record and sets its id and its full body length.
template <class T> void InitGameRecord(T& record) {
    std::memset(&record, 0, sizeof record);
    const tagGAMEMSG head = {GameRecordTraits<T>::kId, int32_t(sizeof record) - kGameMsgHeadSize};
    std::memcpy(&record, &head, sizeof head);
}
