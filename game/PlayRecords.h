#pragma once

#include "game/GameRecords.h"

class CTripleDes;

// Game records of the seats' actions: what a client sends, and the same ids as
// the referee relays or answers them (the referee fills more fields). Offsets
// are from the start of the record, head included.

// 0x903: a seat pressed start.
struct tagSTARTMSG {
    tagGAMEMSG head;
    int32_t nSeat;
    int32_t nMultiple; // client: 0..16
    int32_t nStartFee; // referee: beans deducted from the seat (0 = none)
};
static_assert(sizeof(tagSTARTMSG) == 20);

template <> struct GameRecordTraits<tagSTARTMSG> : GameRecordKind<kMsgStart, 20> {};

inline void InitStartMsg(tagSTARTMSG& msg) {
    InitGameRecord(msg);
}

// 0x905: a play (client: 80 + 4 x n bytes) or the referee's prompt (always
// 352 bytes, room for 68 codes of which n are valid). The card codes are
// enciphered unless the table plays with cards in clear; the 4 bytes after
// the last code leave room for the cipher's last 8-byte block.
enum { kPlayMaxCodes = 68, kPlayCodesOffset = 76 };

struct tagPLAYMSG {
    tagGAMEMSG head;
    int32_t nSeat;                   // client: my seat; referee: the seat that acted
    int32_t nType;                   // 16 take out, 1 pass, 2 let, 4 shao, 8 give up
    int32_t nPlayCounter;            // client: the counter last received
    int32_t nHandCount;              // referee: the actor's count as others may know it
    int32_t nActionMask[kSeatCount]; // referee
    int32_t nSeatStatus[kSeatCount]; // referee
    int32_t nCount;
    int32_t nCodes[kPlayMaxCodes];
    int32_t spare348;
};
static_assert(sizeof(tagPLAYMSG) == 352);
static_assert(offsetof(tagPLAYMSG, nActionMask) == 24);
static_assert(offsetof(tagPLAYMSG, nSeatStatus) == 48);
static_assert(offsetof(tagPLAYMSG, nCount) == 72);
static_assert(offsetof(tagPLAYMSG, nCodes) == kPlayCodesOffset);

template <> struct GameRecordTraits<tagPLAYMSG> : GameRecordKind<kMsgPlay, 80> {
    static bool CountsFit(const uint8_t* record, int length);
};

// Total size of a client's play of count codes.
constexpr int PlayMsgLength(int count) {
    return kPlayCodesOffset + 4 * count + 4;
}

// The referee's prompt: zeroed, full 352-byte body.
inline void InitPlayMsg(tagPLAYMSG& msg) {
    InitGameRecord(msg);
}

// A client's play: zeroed, the codes copied in plain and the body length set
// to 72 + 4 x count. False, leaving the record zeroed, for a count outside
// 0..68 or codes missing for a positive count.
bool InitPlayMsgWithCodes(tagPLAYMSG& msg, const int32_t* codes, int count);

// Encipher or decipher the code block of a play record in place: the record
// is the caller's own copy (from ReadGameRecord or an initialiser), never a
// receive buffer. The cipher covers 4 x n bytes rounded up to whole 8-byte
// blocks from offset 76. With cardsInClear nothing changes. False, changing
// nothing, when n is outside 0..68 or the rounded block would pass the end
// that the record's body length gives.
bool EncipherPlayCodes(tagPLAYMSG& msg, CTripleDes& cipher, bool cardsInClear);
bool DecipherPlayCodes(tagPLAYMSG& msg, CTripleDes& cipher, bool cardsInClear);

// 0x907: a return tribute. Referee: seat 6 = history only, else live; the two
// flags tell whether a return is now due (84 clear), running (84 set, 88
// clear) or done (both set).
enum { kTributeMaxCards = 12 };

struct tagRETURNTRIBUTEMSG {
    tagGAMEMSG head;
    int32_t nSeat; // client: my seat
    int32_t nReceiver;
    int32_t nReturner;
    int32_t nCount;
    tagCARD cards[kTributeMaxCards];
    int32_t bRequested; // referee
    int32_t bMoved;     // referee
    int32_t nKind;      // 0..3
};
static_assert(sizeof(tagRETURNTRIBUTEMSG) == 96);
static_assert(offsetof(tagRETURNTRIBUTEMSG, cards) == 24);
static_assert(offsetof(tagRETURNTRIBUTEMSG, bRequested) == 84);

template <> struct GameRecordTraits<tagRETURNTRIBUTEMSG> : GameRecordKind<kMsgReturnTribute, 96> {
    static bool CountsFit(const uint8_t* record, int length);
};

inline void InitReturnTributeMsg(tagRETURNTRIBUTEMSG& msg) {
    InitGameRecord(msg);
}

// 0x908: a point round begins (referee, bAnswer 0) or a seat answers.
struct tagPOINTMSG {
    tagGAMEMSG head;
    int32_t bAnswer;
    int32_t bYes;
    int32_t nSeat;
    int32_t nKind; // new round: the game state; answer: 1 pre-point, 2 open point, other opened
    int32_t nFee;  // referee: beans charged for a pre-point
};
static_assert(sizeof(tagPOINTMSG) == 28);

template <> struct GameRecordTraits<tagPOINTMSG> : GameRecordKind<kMsgPoint, 28> {};

inline void InitPointMsg(tagPOINTMSG& msg) {
    InitGameRecord(msg);
}

// 0x909: the revolution question or an answer.
struct tagREVOLUTIONMSG {
    tagGAMEMSG head;
    int32_t bAnswer; // referee
    int32_t bYes;
    int32_t nSeat;
    int32_t bAsked[kSeatCount]; // referee
    int32_t nCount;             // referee: revolutions so far
};
static_assert(sizeof(tagREVOLUTIONMSG) == 48);

template <> struct GameRecordTraits<tagREVOLUTIONMSG> : GameRecordKind<kMsgRevolution, 48> {};

inline void InitRevolutionMsg(tagREVOLUTIONMSG& msg) {
    InitGameRecord(msg);
}

// 0x90A: the gousiji question or an answer.
struct tagGOUSIJIMSG {
    tagGAMEMSG head;
    int32_t bYes; // client
    int32_t nSeat;
    int32_t nAnswer; // referee
    int32_t bFinal;  // referee: 0 the seat is asked now
};
static_assert(sizeof(tagGOUSIJIMSG) == 24);

template <> struct GameRecordTraits<tagGOUSIJIMSG> : GameRecordKind<kMsgGousiji, 24> {};

inline void InitGousijiMsg(tagGOUSIJIMSG& msg) {
    InitGameRecord(msg);
}

// 0x90B: buy a 3 (client: my seat only); the referee's record of a trade, in
// the 60-byte card-list layout. Seat 6 = history only.
struct tagBUY3MSG {
    tagGAMEMSG head;
    int32_t nSeat;
    int32_t reserved12[6];
    int32_t nBuyer;
    int32_t nSeller;
    tagCARD paidCard; // flags bit 0 set: paid with a card
    tagCARD boughtThree;
    uint8_t pad54[2];
    int32_t bExchanged;
};
static_assert(sizeof(tagBUY3MSG) == 60);
static_assert(offsetof(tagBUY3MSG, nBuyer) == 36);
static_assert(offsetof(tagBUY3MSG, paidCard) == 44);
static_assert(offsetof(tagBUY3MSG, boughtThree) == 49);
static_assert(offsetof(tagBUY3MSG, bExchanged) == 56);

template <> struct GameRecordTraits<tagBUY3MSG> : GameRecordKind<kMsgBuy3, 60> {};

inline void InitBuy3Msg(tagBUY3MSG& msg) {
    InitGameRecord(msg);
}

// 0x90D: a tribute (client: my seat only). Referee: seat 0 = live, 6 =
// history only.
struct tagTRIBUTEMSG {
    tagGAMEMSG head;
    int32_t nSeat;
    int32_t nGiver;
    int32_t nReceiver;
    tagCARD cards[kTributeMaxCards];
    int32_t nCount;
    int32_t nKind; // 0..3
};
static_assert(sizeof(tagTRIBUTEMSG) == 88);
static_assert(offsetof(tagTRIBUTEMSG, cards) == 20);
static_assert(offsetof(tagTRIBUTEMSG, nCount) == 80);

template <> struct GameRecordTraits<tagTRIBUTEMSG> : GameRecordKind<kMsgTribute, 88> {
    static bool CountsFit(const uint8_t* record, int length);
};

inline void InitTributeMsg(tagTRIBUTEMSG& msg) {
    InitGameRecord(msg);
}

// 0x90E: trusteeship on or off.
struct tagTRUSTMSG {
    tagGAMEMSG head;
    int32_t nSeat;
    uint8_t bAutomatic; // client: switched on by the program itself
    uint8_t pad13[3];
    int32_t bOn;
    int32_t nSwitchCount; // referee: times this seat switched on
    int32_t reserved24[7];
};
static_assert(sizeof(tagTRUSTMSG) == 52);
static_assert(offsetof(tagTRUSTMSG, bOn) == 16);

template <> struct GameRecordTraits<tagTRUSTMSG> : GameRecordKind<kMsgTrust, 52> {};

inline void InitTrustMsg(tagTRUSTMSG& msg) {
    InitGameRecord(msg);
}

// 0x915: data of the sound plug-in, opaque here; relayed unchanged.
enum { kPluginDataSize = 128 };

struct tagPLUGINMSG {
    tagGAMEMSG head;
    uint8_t data[kPluginDataSize];
};
static_assert(sizeof(tagPLUGINMSG) == 136);

template <> struct GameRecordTraits<tagPLUGINMSG> : GameRecordKind<kMsgPluginData, 136> {};

inline void InitPluginMsg(tagPLUGINMSG& msg) {
    InitGameRecord(msg);
}

// 0x917: a seat asks for its player record again.
struct tagSEATREQUESTMSG {
    tagGAMEMSG head;
    int32_t nSeat;
};
static_assert(sizeof(tagSEATREQUESTMSG) == 12);

template <> struct GameRecordTraits<tagSEATREQUESTMSG> : GameRecordKind<kMsgSeatRequest, 12> {};

inline void InitSeatRequestMsg(tagSEATREQUESTMSG& msg) {
    InitGameRecord(msg);
}

// 0x918: a cue to a teammate, or the referee's list of a seat's remaining
// cards. Codes travel plain; 255 = hidden.
enum { kCardListMaxCodes = 10 };

struct tagCARDLIST {
    tagGAMEMSG head;
    int32_t nSeat; // client: the teammate cued; referee: the seat whose cards these are
    int32_t nCodes[kCardListMaxCodes];
    int32_t nCount;
    int32_t nFromSeat; // the cueing seat; 6 or more: the referee's own list
};
static_assert(sizeof(tagCARDLIST) == 60);
static_assert(offsetof(tagCARDLIST, nCount) == 52);

template <> struct GameRecordTraits<tagCARDLIST> : GameRecordKind<kMsgCardList, 60> {
    static bool CountsFit(const uint8_t* record, int length);
};

inline void InitCardListMsg(tagCARDLIST& msg) {
    InitGameRecord(msg);
}

// 0x919: a shao or bie notice.
struct tagSHAOBIEMSG {
    tagGAMEMSG head;
    uint8_t bNotice; // also show it as a table notice
    uint8_t pad9[3];
    int32_t nKind; // 3 shao, 2 bie
    int32_t nActor;
    int32_t nAffected;
    int32_t nValue;
};
static_assert(sizeof(tagSHAOBIEMSG) == 28);

template <> struct GameRecordTraits<tagSHAOBIEMSG> : GameRecordKind<kMsgShaoBie, 28> {};

inline void InitShaoBieMsg(tagSHAOBIEMSG& msg) {
    InitGameRecord(msg);
}

// 0x91A: a guessing bet and its result.
struct tagGUESSMSG {
    tagGAMEMSG head;
    int32_t nSeat;
    int32_t nOption; // client: the kind 0..4; referee: the drawn card 0..53
    int32_t nAmount; // client: the stake; referee: beans won (0 or less: none)
};
static_assert(sizeof(tagGUESSMSG) == 20);

template <> struct GameRecordTraits<tagGUESSMSG> : GameRecordKind<kMsgGuess, 20> {};

inline void InitGuessMsg(tagGUESSMSG& msg) {
    InitGameRecord(msg);
}

// 0x91B: a client's countdown ran out.
struct tagTIMETICKMSG {
    tagGAMEMSG head;
    int32_t nZero;
};
static_assert(sizeof(tagTIMETICKMSG) == 12);

template <> struct GameRecordTraits<tagTIMETICKMSG> : GameRecordKind<kMsgTimeTick, 12> {};

inline void InitTimeTickMsg(tagTIMETICKMSG& msg) {
    InitGameRecord(msg);
}
