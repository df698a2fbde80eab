#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "game/Cards.h"
#include "game/GameLogicBase.h"
#include "game/GameRecords.h" // tagPLAYENTRY
#include "game/GameStatistics.h"
#include "game/TableRecords.h"
#include "game/TakeChanceRule.h"
#include "game/TimeLimits.h"
#include "game/TripleDes.h"
#include "platform/Types.h"

// Game states.
enum {
    kStateWaitStart = 0,
    kStatePointRound1 = 1,
    kStatePointRound2 = 2,
    kStatePayingTribute = 3, // set by the table window only
    kStateTribute = 4,
    kStateBuyThree = 5,
    kStateRevolution = 6,
    kStateGousiji = 7,
    kStatePlay = 8,
    kStateAllStarted = 9, // set by the table window only
};

// Rule-flags word.
enum : uint32_t {
    kRuleThrees = 0x1, // restricted plays of 3s; the buy-3 phase
    kRulePointRound1 = 0x2,
    kRulePointRound2 = 0x4,
    kRuleTribute = 0x10,
    kRuleShao = 0x20,
    kRuleCardsLeftNotice = 0x40,
    kRuleReturnAnyRank = 0x80,
    kRuleAskOnlyFinishers = 0x100,
    kRuleOpenPointVariant = 0x200,
    kRuleGousijiAfterRevolution = 0x800,
    kRuleMostThreesLeads = 0x1000,
    kRuleRecordedSeatLeads = 0x2000,
    kRuleReturnTribute = 0x4000,
    kRuleTeammatesAnswerFirst = 0x8000,
    kRuleTributeVariant1 = 0x10000,
    kRuleTributeVariant2 = 0x20000,
    kRuleTributeVariant3 = 0x40000,
    kRuleRoomMode = 0x80000,
    kRuleEscapeBeforeGames = 0x100000,
    kRuleEscapeAfterStart = 0x200000,
    kRuleNextSeatLeadsAfterBurn = 0x400000,
    kRuleAskHostPerSeat = 0x1000000,
    kRuleChatWatchTarget = 0x2000000,
    kRuleCardsInClear = 0x10000000,
};

// Seat status bits.
enum {
    kStatusMark1 = 0x01,
    kStatusMark2 = 0x02,
    kStatusLastPlay = 0x04, // the seat's play is the one to beat: it leads with a joker
    kStatusMark8 = 0x08,
    kStatusToTakeOut = 0x10,
    kStatusOut1 = 0x80,
    kStatusOut2 = 0x100,
    kStatusOut3 = 0x200,
    kStatusOutOfPlay = kStatusOut1 | kStatusOut2 | kStatusOut3,
};

// Action mask bits.
enum {
    kActionPass = 1,
    kActionLet = 2,
    kActionShao = 4,
    kActionGiveUp = 8,
    kActionTakeOut = 16,
    kActionReturnTribute = 64,
    kActionRevolution = 128,
    kActionAnswer = 256,
    kActionPointRound1 = 512,
    kActionPointRound2 = 1024,
    kActionBuyThree = 2048,
};

enum { kActionRecordSize = 352 };

// The rule book and the state of one six-seat table. The table window keeps
// the one instance, theBoard, as the mirror of the table the game records
// describe and as its rule library; a table host drives another instance as
// the referee through the virtual slots of CGameLogicBase.
class CGameLogic : public CGameLogicBase {
public:
    CGameLogic();
    ~CGameLogic() override;
    CGameLogic(const CGameLogic&) = delete;
    CGameLogic& operator=(const CGameLogic&) = delete;

    int SetProperty(int id, const void* value) override;

    // Card codes and play words. A code outside 0..215 is never a card.
    static tagCARD CardFromIndex(int code);
    static tagCARD CheckedCardFromIndex(int code);
    static CardType GetCardType(const int* codes, int count);
    static CardType GetCardTypeOfCards(const tagCARD* cards, int count);
    static int GetCardTypeCount(CardType type);
    static int GetCardTypeNonJokers(CardType type);
    // -2 when either word is 0; 1 when a beats b; else 0.
    static int CompareCardType(CardType a, CardType b);

    // Hands.
    // Used entries of the seat's hand, and those among them that count
    // (held and not played).
    int GetHandUsedCount(int seat) const;
    int GetHandCardCount(int seat) const;
    static int CountRankCards(const tagCARD* cards, int count, int rank);
    int CountPlainRanks(int seat) const;
    int HoldsOnlyThrees(int seat) const;
    bool IsHandEmpty(int seat) const;
    static int HasNoJokersOrTwos(int count, const tagCARD* cards);
    BOOL AddHandCard(int seat, tagCARD card);
    BOOL DeleteHandCard(int seat, int code);
    static tagCARD PickBestCard(const tagCARD* cards, int count);
    static tagCARD FindRankZeroCard(const tagCARD* cards, int count);
    static void SortCards(int* codes, int count);
    static void SortHandByGroup(tagCARD* cards, int count, int mode);
    const tagCARD* GetHand(int seat) const;
    tagCARD* GetHand(int seat);
    void SetHand(int seat, const tagCARD* cards, int count);

    // Checks of a play against the hand and the last play, and the search for
    // plays that beat it.
    int CheckTakeOut(int seat, const int* codes, int count) const;
    int CheckTakeOutRecords(int seat, const tagCARD* cards, int count) const;
    int CheckCardsType(int seat, const int* codes, int count) const;
    int Search(CardType toBeat, int seat, std::vector<CardType>& candidates);
    int CannotBeatLastPlay(int seat);
    int SelectionLeavesJoker(int seat, const int* codes, int count, const tagCARD* hand,
                             int handCount) const;
    int IsSeveralSeatsOut() const;
    static int IsLevelPlay(CardType type);
    static int IsLevelPlayOfCards(const tagCARD* cards, int count);
    // Chooses the seat's counting cards that make up a candidate word of
    // Search, in hand order; plain ranks 12, 13 and 14 of a lead stand for
    // 2s, small and big jokers. Returns the number of codes written, 0 when
    // the hand cannot make the word.
    int PickCardsForType(int seat, CardType type, int* codes, int maxCount) const;

    // The play list of the current round.
    void AddPlay(int seat, CardType type);
    const std::vector<tagPLAYENTRY>& GetPlayList() const { return m_PlayList; }
    void ClearPlayList() { m_PlayList.clear(); }

    // Table state.
    void SetGameState(int state) { m_nGameState = state; }
    int GetGameState() const { return m_nGameState; }
    void SetRuleFlags(uint32_t flags) { m_dwRuleFlags = flags; }
    uint32_t GetRuleFlags() const { return m_dwRuleFlags; }
    int GetSeatStatus(int seat) const;
    int SetSeatStatus(int seat, int value, int mode);
    int GetSeatActionMask(int seat) const;
    int SetSeatActionMask(int seat, int mask);
    bool IsSeatOut(int seat) const;
    bool IsSeatTrusted(int seat) const;
    int GetOptionFee(int prePoint, int multiple) const;
    static void GetKeyDigits(const tagCARD* records, int digits[CTripleDes::kDigitCount]);
    void ResetGameData();
    const tagTABLEHEAD& GetTableHead() const { return m_TableHead; }
    tagTABLEHEAD& GetTableHead() { return m_TableHead; }
    const tagUSERINFO& GetUserInfo(int seat) const;

    // Seats. Play moves from seat s to seat (s + 5) mod 6.
    static int GetNextSeat(int seat);
    static int GetPrevSeat(int seat);
    static int GetPrevSeat2(int seat);
    static int GetOppositeSeat(int seat);
    static int GetNextTeammate(int seat);
    static int GetPrevTeammate(int seat);
    static bool IsTeammate(int a, int b);
    int GetNextPlayingSeat(int seat) const;

    static int GetLevelFromScore(int score);

    CTripleDes m_Cipher;
    CTimeLimits m_TimeLimits;
    CTakeChanceRule m_TakeChanceRule;
    CGameStatistics m_Statistics;

protected:
    // Starts a round led by the given seat: nothing to beat yet, every mask
    // cleared but the leader's take-out.
    void ResetRound(int leader);
    void ParseRulesText(const char* text);
    int CheckThreesRule(int seat, CardType type, int count) const;
    int CompareWithLastPlay(CardType type) const;
    int CheckPlay(int seat, CardType type, const int* codes, int count) const;
    static bool IsValidSeat(int seat) { return seat >= 0 && seat < kSeatCount; }

    int m_nGameState;
    uint32_t m_dwRuleFlags;
    int m_nCardsPerSeat;
    int m_nRevolutionSeat;
    tagTABLEHEAD m_TableHead;
    uint8_t m_bFirstGame;
    int32_t m_nSeatWord[kSeatCount];
    int32_t m_bSeatTaken[kSeatCount];
    tagUSERINFO m_UserInfo[kSeatCount];
    int m_nHandSortMode;
    int32_t m_nAnswerOrder[kSeatCount + 1]; // entries 1..6; 6 = none
    int32_t m_nStartFlags[kSeatCount];
    int32_t m_nPointAnswer1[kSeatCount];
    int32_t m_nPointAnswer2[kSeatCount];
    tagCARD m_HandCards[kSeatCount][kHandSize];
    tagCARD m_SpareCards[kHandSize];
    tagCARD m_LaidCards[kSeatCount][kHandSize];
    int32_t m_nHandCount[kSeatCount];
    int32_t m_nSeatCounter[5][kSeatCount];
    int32_t m_bStillInPlay[kSeatCount];
    int32_t m_nRefereeValue;
    int32_t m_nBeanRate;
    int32_t m_nPointFactor;      // rules-text field 26
    int32_t m_nMemberMultiplier; // field 39
    int32_t m_nOtherMultiplier;  // field 40
    int32_t m_nEscapePenalty;    // field 12, in score points
    int32_t m_nGamesPlayed;
    int32_t m_nTrustWord[kSeatCount]; // 300 own or time-out, 301 trusted exit, 302 broken
    int32_t m_nSeatFlag[kSeatCount];
    int32_t m_bWatcher[kSeatCount]; // the seat lets its watchers see its hand
    int32_t m_nSeatStatus[kSeatCount];
    int32_t m_nActionMask[kSeatCount];
    int32_t m_nPublishedMask[kSeatCount];
    int32_t m_nGousijiCount[kSeatCount];
    int32_t m_nTrustCount[kSeatCount];
    int m_nGousijiSeat;
    std::unique_ptr<uint8_t[]> m_pWaitShaoMsg; // the best waiting shao action, or null
    uint8_t m_CurrentAction[kActionRecordSize];
    std::vector<tagPLAYENTRY> m_PlayList;
    std::vector<std::vector<uint8_t>> m_ActionQueue;
    int m_nAwaitedAnswers;
    int m_nLastPlaySeat;
    int m_nPrevLastPlaySeat;
    int m_nKeptLeader[2];
    std::recursive_mutex m_Lock;
    uint8_t m_bClosing;
};

// The table the program shows.
extern CGameLogic theBoard;
