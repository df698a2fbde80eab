#pragma once

#include "game/GameRecords.h"
#include "game/TableRecords.h"

// Game records in which the referee reports the state of the table: the
// table info, the snapshot, the deal, the game over and the notices around
// them. Offsets are from the start of the record, head included.

enum { kHistoryRoom = 500 };

// 0x901: the whole table record.
template <> struct GameRecordTraits<tagTABLEINFO> : GameRecordKind<kMsgTableInfo, 1072> {};

inline void InitTableInfoMsg(tagTABLEINFO& msg) {
    InitGameRecord(msg);
}

// 0x902: the whole state of a running table, for a watcher who enters or a
// player who comes back. Fields marked "return" or "watcher" are filled only
// for that receiver and stay zero for the other.
struct tagSNAPSHOTMSG {
    tagGAMEMSG head;
    tagUSERINFO users[kSeatCount];
    int32_t nGameState;
    int32_t nReturnSeat; // return
    int32_t nStartFlags[kSeatCount];
    int32_t zero904[kSeatCount];
    tagCARD hand[kHandSize]; // spare bytes of the first 36 carry the key digits
    uint8_t pad1203;
    int32_t nHandCount[kSeatCount];
    tagTABLEHEAD tableHead;
    int32_t nTrustWords[kSeatCount];
    int32_t nPointAnswers1[kSeatCount];
    int32_t nPointAnswers2[kSeatCount];
    int32_t nOpenedPoint[kSeatCount];
    int32_t nSeatStatus[kSeatCount];
    int32_t nActionMask[kSeatCount];
    tagHISTORYENTRY history[kHistoryRoom]; // latest game first
    int32_t nTrustCount;                   // return
    int32_t nHistoryCount;                 // 0..500, also the games played
    int32_t nPlaces[kSeatCount];           // seats by place, -1 = none
    int32_t nGousijiAnswers[kSeatCount];   // -1 = none
    tagPLAYENTRY lastPlay;                 // return; seat 6 when the round has no play
    int32_t nPlayCounter;                  // return
    int32_t bWatcherMaySee;                // watcher
    int32_t nWatcherBeans;                 // watcher
    int32_t nWatcherScore;                 // watcher
    int32_t zero25628;
};
static_assert(sizeof(tagSNAPSHOTMSG) == 25632);
static_assert(offsetof(tagSNAPSHOTMSG, users) == 8);
static_assert(offsetof(tagSNAPSHOTMSG, nGameState) == 872);
static_assert(offsetof(tagSNAPSHOTMSG, nStartFlags) == 880);
static_assert(offsetof(tagSNAPSHOTMSG, hand) == 928);
static_assert(offsetof(tagSNAPSHOTMSG, nHandCount) == 1204);
static_assert(offsetof(tagSNAPSHOTMSG, tableHead) == 1228);
static_assert(offsetof(tagSNAPSHOTMSG, tableHead.nRuleFlags) == 1280);
static_assert(offsetof(tagSNAPSHOTMSG, nTrustWords) == 1400);
static_assert(offsetof(tagSNAPSHOTMSG, nActionMask) == 1520);
static_assert(offsetof(tagSNAPSHOTMSG, history) == 1544);
static_assert(offsetof(tagSNAPSHOTMSG, nTrustCount) == 25544);
static_assert(offsetof(tagSNAPSHOTMSG, nHistoryCount) == 25548);
static_assert(offsetof(tagSNAPSHOTMSG, nPlaces) == 25552);
static_assert(offsetof(tagSNAPSHOTMSG, nGousijiAnswers) == 25576);
static_assert(offsetof(tagSNAPSHOTMSG, lastPlay) == 25600);
static_assert(offsetof(tagSNAPSHOTMSG, nPlayCounter) == 25612);
static_assert(offsetof(tagSNAPSHOTMSG, bWatcherMaySee) == 25616);
static_assert(offsetof(tagSNAPSHOTMSG, nWatcherScore) == 25624);

template <> struct GameRecordTraits<tagSNAPSHOTMSG> : GameRecordKind<kMsgSnapshot, 25632> {
    static bool CountsFit(const uint8_t* record, int length);
};

inline void InitSnapshotMsg(tagSNAPSHOTMSG& msg) {
    InitGameRecord(msg);
}

// 0x904: one seat's dealt hand (36 hidden cards for a watcher who may not
// see it).
struct tagDEALMSG {
    tagGAMEMSG head;
    int32_t nSeat;
    tagCARD hand[kHandSize]; // spare bytes of the first 36 carry the key digits
    uint8_t pad287;
    int32_t nCount;
};
static_assert(sizeof(tagDEALMSG) == 292);
static_assert(offsetof(tagDEALMSG, hand) == 12);
static_assert(offsetof(tagDEALMSG, nCount) == 288);

template <> struct GameRecordTraits<tagDEALMSG> : GameRecordKind<kMsgDeal, 292> {
    static bool CountsFit(const uint8_t* record, int length);
};

inline void InitDealMsg(tagDEALMSG& msg) {
    InitGameRecord(msg);
}

// 0x906: the result of a game and the tributes it sets up for the next one
// (kinds 1-based, 0 = empty entry).
struct tagGAMEOVERMSG {
    tagGAMEMSG head;
    tagTRIBUTEENTRY pointTributes[3]; // kind 1
    tagTRIBUTEENTRY shaoTributes[6];  // kind 3
    tagTRIBUTEENTRY bieTributes[6];   // kind 2
    tagTRIBUTEENTRY placeTributes[2]; // kind 4
    tagHISTORYENTRY change;           // score and bean changes: this game's history entry
    int32_t nResult[kSeatCount];      // 2 win, 1 loss, other draw
    int32_t nGamesPlayed;             // this game included
    int32_t reserved356;
    tagUSERINFO users[kSeatCount]; // after settlement
};
static_assert(sizeof(tagGAMEOVERMSG) == 1224);
static_assert(offsetof(tagGAMEOVERMSG, shaoTributes) == 56);
static_assert(offsetof(tagGAMEOVERMSG, bieTributes) == 152);
static_assert(offsetof(tagGAMEOVERMSG, placeTributes) == 248);
static_assert(offsetof(tagGAMEOVERMSG, change.nScoreChange) == 280);
static_assert(offsetof(tagGAMEOVERMSG, change.nBeanChange) == 304);
static_assert(offsetof(tagGAMEOVERMSG, nResult) == 328);
static_assert(offsetof(tagGAMEOVERMSG, nGamesPlayed) == 352);
static_assert(offsetof(tagGAMEOVERMSG, users) == 360);

template <> struct GameRecordTraits<tagGAMEOVERMSG> : GameRecordKind<kMsgGameOver, 1224> {};

inline void InitGameOverMsg(tagGAMEOVERMSG& msg) {
    InitGameRecord(msg);
}

// 0x910: the game-end notice, sent at most once in a referee's life; all zero
// entries when no settlement applies.
struct tagGAMEENDMSG {
    tagGAMEMSG head;
    tagSETTLEMENTENTRY entries[kSeatCount];
};
static_assert(sizeof(tagGAMEENDMSG) == 80);

template <> struct GameRecordTraits<tagGAMEENDMSG> : GameRecordKind<kMsgGameEnd, 80> {};

inline void InitGameEndMsg(tagGAMEENDMSG& msg) {
    InitGameRecord(msg);
}

// 0x911: the six trusteeship words and the seat whose word changed (above 5:
// the record changes nothing).
struct tagTRUSTWORDSMSG {
    tagGAMEMSG head;
    int32_t nTrustWords[kSeatCount];
    int32_t nSeat;
};
static_assert(sizeof(tagTRUSTWORDSMSG) == 36);

template <> struct GameRecordTraits<tagTRUSTWORDSMSG> : GameRecordKind<kMsgTrustWords, 36> {};

inline void InitTrustWordsMsg(tagTRUSTWORDSMSG& msg) {
    InitGameRecord(msg);
}

// 0x912: a seat allows or forbids watchers to see its hand (client: allow and
// seat only); to a watcher, the seat's hand as the watcher may see it.
struct tagWATCHERVIEWMSG {
    tagGAMEMSG head;
    int32_t bAllow;
    int32_t nSeat;
    int32_t nCount;
    tagCARD hand[kHandSize];
    uint8_t pad295;
};
static_assert(sizeof(tagWATCHERVIEWMSG) == 296);
static_assert(offsetof(tagWATCHERVIEWMSG, hand) == 20);

template <> struct GameRecordTraits<tagWATCHERVIEWMSG> : GameRecordKind<kMsgWatcherView, 296> {
    static bool CountsFit(const uint8_t* record, int length);
};

inline void InitWatcherViewMsg(tagWATCHERVIEWMSG& msg) {
    InitGameRecord(msg);
}

// 0x913: the finishing order and the seat whose placing caused it (outside
// 0..5: no notice).
struct tagPLACESMSG {
    tagGAMEMSG head;
    int32_t nPlaces[kSeatCount]; // seat by place, outside 0..5 = not placed
    int32_t nSeat;
};
static_assert(sizeof(tagPLACESMSG) == 36);

template <> struct GameRecordTraits<tagPLACESMSG> : GameRecordKind<kMsgPlaces, 36> {};

inline void InitPlacesMsg(tagPLACESMSG& msg) {
    InitGameRecord(msg);
}

// 0x914: one seat's player record after a change.
struct tagUSERRECORDMSG {
    tagGAMEMSG head;
    int32_t nSeat;
    int32_t reserved12;
    tagUSERINFO user;
};
static_assert(sizeof(tagUSERRECORDMSG) == 160);
static_assert(offsetof(tagUSERRECORDMSG, user) == 16);

template <> struct GameRecordTraits<tagUSERRECORDMSG> : GameRecordKind<kMsgUserRecord, 160> {};

inline void InitUserRecordMsg(tagUSERRECORDMSG& msg) {
    InitGameRecord(msg);
}

// 0x91C: the seats whose remaining tribute is dropped (at least 32 bytes).
struct tagTRIBUTESTOPPEDMSG {
    tagGAMEMSG head;
    int32_t bStopped[kSeatCount];
};
static_assert(sizeof(tagTRIBUTESTOPPEDMSG) == 32);

template <>
struct GameRecordTraits<tagTRIBUTESTOPPEDMSG> : GameRecordKind<kMsgTributeStopped, 32> {};

inline void InitTributeStoppedMsg(tagTRIBUTESTOPPEDMSG& msg) {
    InitGameRecord(msg);
}

// 0x91D: the result of locking the start beans (at least 12 bytes).
struct tagBEANLOCKMSG {
    tagGAMEMSG head;
    int32_t nResult; // 0 locked, non-zero: the lock failed
};
static_assert(sizeof(tagBEANLOCKMSG) == 12);

template <> struct GameRecordTraits<tagBEANLOCKMSG> : GameRecordKind<kMsgBeanLock, 12> {};

inline void InitBeanLockMsg(tagBEANLOCKMSG& msg) {
    InitGameRecord(msg);
}

// 0x91E: a head alone; any body is ignored.
struct tagEMPTYMSG {
    tagGAMEMSG head;
};
static_assert(sizeof(tagEMPTYMSG) == 8);

template <> struct GameRecordTraits<tagEMPTYMSG> : GameRecordKind<kMsgEmpty, 8> {};

inline void InitEmptyMsg(tagEMPTYMSG& msg) {
    InitGameRecord(msg);
}
