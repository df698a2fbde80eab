#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "game/Cards.h"
#include "game/GameLogicBase.h"
#include "game/GameRecords.h" // tagPLAYENTRY
#include "game/GameStatistics.h"
#include "game/PlayRecords.h"
#include "game/RefereeRandom.h"
#include "game/RefereeRecords.h"
#include "game/StateRecords.h"
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

enum { kActionRecordSize = sizeof(tagACTIONRECORD) };

// Tribute kinds, counted from 1 in the referee's lists and the game-over
// record; the tribute and return records carry the kind minus 1.
enum { kTributePoint = 1, kTributeBie = 2, kTributeShao = 3, kTributePlace = 4, kTributeKinds = 4 };

// Trusteeship words.
enum { kTrustOwn = 300, kTrustExit = 301, kTrustBroken = 302 };

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
    // Whether the seat lets its watchers see its hand.
    bool GetWatcherSees(int seat) const {
        return seat >= 0 && seat < kSeatCount && m_bWatcher[seat] != 0;
    }
    void SetWatcherSees(int seat, bool sees) {
        if (seat >= 0 && seat < kSeatCount)
            m_bWatcher[seat] = sees ? 1 : 0;
    }
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

    // ---- The program's mirror of the table -------------------------------
    // The table window copies what the records report; the network client
    // reads the play counter and resets a seat that left.
    void SetUserInfo(int seat, const tagUSERINFO& user);
    int GetPlayCounter() const { return m_nActionSerial; }
    void SetPlayCounter(int counter) { m_nActionSerial = counter; }
    void SetTrustWord(int seat, int word);
    // How often the seat switched trusteeship on in this game.
    int GetTrustCount(int seat) const { return IsValidSeat(seat) ? m_nTrustCount[seat] : 0; }
    void SetTrustCount(int seat, int count) {
        if (IsValidSeat(seat))
            m_nTrustCount[seat] = count;
    }
    void SetStartFlag(int seat, int flag);
    // Clears the seat's start, trusteeship, watcher and round words, sets its
    // multiple to 1, empties the round and waits for starts again.
    void ResetLeftSeat(int seat);
    // What the table window copies from the records beside the above
    // (seats outside 0..5 change nothing).
    void ClearHistory() { m_History.clear(); }
    void AddHistory(const tagHISTORYENTRY& entry) { m_History.push_back(entry); }
    // Seats by place: the leading entries of 0..5 (a failed burn's seat
    // waiting at the end is not placed yet).
    void SetPlaces(const int32_t places[kSeatCount]);
    void SetSeatHandCount(int seat, int count);
    int GetSeatHandCount(int seat) const { return IsValidSeat(seat) ? m_nHandCount[seat] : 0; }
    void SetPointAnswer(int round, int seat, int value);
    int GetPointAnswer(int round, int seat) const;
    void SetOpenedPoint(int seat, int value);
    int GetOpenedPoint(int seat) const { return IsValidSeat(seat) ? m_nOpenedPoint[seat] : 0; }
    void SetGousijiAnswer(int seat, int value);
    int GetGousijiAnswer(int seat) const { return IsValidSeat(seat) ? m_nGousijiAnswer[seat] : -1; }
    void SetGamesPlayed(int games) { m_nGamesPlayed = games; }
    void SetFirstGame(bool first) { m_bFirstGame = first ? 1 : 0; }
    bool IsFirstGame() const { return m_bFirstGame != 0; }
    // A hand parked beside the seats' hands (a later snapshot's), with the
    // word that says whether its seat lets watchers see it.
    void SetSpareHand(const tagCARD cards[kHandSize], bool watcherSees = false);
    const tagCARD* GetSpareHand() const { return m_SpareCards; }
    bool GetSpareWatcherSees() const { return m_bSpareWatcher != 0; }
    // A new deal: start flags, status words, hands, laid cards and the first
    // per-seat counters cleared.
    void ClearForDeal();
    // A guess of the seat counted.
    void CountGuess(int seat);
    // The guesses each seat made in this game, as a table head from the
    // referee counts them (a snapshot of a running game).
    void TakeGuessCountsFromHead();
    int GetGuessCount(int seat) const { return IsValidSeat(seat) ? m_nSeatCounter[1][seat] : 0; }

    // ---- The referee, as a host drives it through the virtual slots -------
    int OnUserEnter(int flags, const tagUSERINFO* user) override;
    int OnUserLeave(const char* userName) override;
    int OnWatcherEnter(const void* watcher) override;
    int OnGameMsg(const tagGAMEEVENT* event) override;
    int OnBreak(int seat, intptr_t x) override;
    int OnBreakReturn(int seat, intptr_t x) override;
    int OnTrustExit(int seat, intptr_t x) override;
    int OnUserInfoChange(int flags, const tagUSERINFO* user) override;

    // Draws of the deal, the key digits and the bets; the operating system's
    // unless a test gives its own.
    void SetRandomSource(std::unique_ptr<CRefereeRandom> source);

    // Read by a host's own seats and by tests.
    int GetActionSerial() const { return m_nActionSerial; }
    int GetLastPlaySeat() const { return m_nLastPlaySeat; }
    int GetTrustWord(int seat) const { return IsValidSeat(seat) ? m_nTrustWord[seat] : 0; }
    int GetPublishedMask(int seat) const { return IsValidSeat(seat) ? m_nPublishedMask[seat] : 0; }
    int GetGamesPlayed() const { return m_nGamesPlayed; }
    bool IsClosing() const { return m_bClosing != 0; }
    const std::vector<int>& GetPlaces() const { return vecPlace; }
    // The places as last published, with the seats waiting at the end.
    const int32_t* GetPublishedPlaces() const { return m_nPublishedPlaces; }
    const std::vector<tagHISTORYENTRY>& GetHistory() const { return m_History; }
    const std::vector<tagTRIBUTEENTRY>& GetTributeList(int kind) const;
    const std::vector<tagTRIBUTEENTRY>& GetReturnQueue(int kind) const;
    int GetReturnsOwed(int seat) const { return IsValidSeat(seat) ? m_nReturnsOwed[seat] : 0; }
    int GetStartFlag(int seat) const { return IsValidSeat(seat) ? m_nStartFlags[seat] : 0; }
    bool IsSeatTaken(int seat) const { return IsValidSeat(seat) && m_bSeatTaken[seat]; }
    // The return the seat owes first: the queue's kind (1..4) and entry;
    // false while an earlier kind is still being returned.
    bool FindOwedReturn(int seat, int* kind, tagTRIBUTEENTRY* entry) const;

    // Chooses count cards that the returning seat gives back to the
    // receiving seat; the codes go to codes[0..count-1]. 1 when found.
    int ChooseReturnCards(int returner, int receiver, int count, int* codes) const;
    // The return record of a seat for the entry it owes (kind 1..4).
    static tagRETURNTRIBUTEMSG MakeReturnRecord(int seat, int kind, const tagTRIBUTEENTRY& entry,
                                                const int* codes);
    // Caps each loss at the seat's beans and takes what was cut from the
    // winners; returns the amount cut.
    static int CapLosses(const int32_t beans[kSeatCount], int32_t changes[kSeatCount]);

    CTripleDes m_Cipher;
    CTimeLimits m_TimeLimits;
    CTakeChanceRule m_TakeChanceRule;
    CGameStatistics m_Statistics;

protected:
    // Starts a round led by the given seat: nothing to beat yet, every mask
    // cleared but the leader's take-out.
    void ResetRound(int leader);
    void ResetRefereeGameData();
    void ParseRulesText(const char* text);
    int CheckThreesRule(int seat, CardType type, int count) const;
    int CompareWithLastPlay(CardType type) const;
    int CheckPlay(int seat, CardType type, const int* codes, int count) const;
    static bool IsValidSeat(int seat) { return IsSeat(seat); }

    // ---- Referee: events (RefereeEvents.cpp) ------------------------------
    // Runs one handler under the lock; a failure inside is traced with the
    // given line. The outermost handler then acts for the seats queued for
    // acting, one after the other, instead of nesting.
    template <class Body> int RunHandler(const char* failureLine, Body&& body);
    void QueueAutoAction(int seat);
    void DrainAutoActions();
    int OnWatcherCanSeeMyCard(int sender, const void* record, int length);
    int OnDeclCard(int sender, const void* record, int length);
    int OnSeatRequest(int sender, const void* record, int length);
    int OnPluginData(const void* record, int length);
    int BreakOrExit(int seat, int trustWord, const char* failureLine);
    void SendTableInfo();
    void SendTrustWords(int seat);
    void SendUserRecord(int seat, int code);
    void SendGameAbort(const tagSETTLEMENTENTRY* entries, bool withStatistics);
    bool EscapeRulesApply() const;
    int CountTrustedOrOut() const;
    int Charge(int seat, int amount, int kind);

    // ---- Referee: snapshot (RefereeSnapshot.cpp) ---------------------------
    void BuildSnapshot(tagSNAPSHOTMSG& msg, int seat, const tagWATCHERINFO* watcher) const;
    void SendGameHistoryRecords(int code, int seat);
    void FillPlaces(int32_t places[kSeatCount]) const;

    // ---- Referee: start, deal and the phases before play -------------------
    int OnPlayerStart(int sender, const void* record, int length);
    void Deal();
    void SendShuffle();
    void StartFirstPointRound();
    void RunPhasesAfterDeal(int firstPhase);
    bool StartSecondPointRound();
    int OnPoint(int sender, const void* record, int length);
    void StartBuy3Phase();
    void ResolveBuy3();
    void FinishBuy3Phase();
    int OnBuy3(int sender, const void* record, int length);
    void StartRevolutionPhase();
    int OnRevolution(int sender, const void* record, int length);
    int OnGousiji(int sender, const void* record, int length);
    int OnTakeChance(int sender, const void* record, int length);
    bool SeatHoldsNoThree(int seat) const;

    // ---- Referee: tribute and its return (RefereeTribute.cpp) --------------
    bool RunTributeLists();
    void RunTributeList(int kind);
    void RunPointTributes() { RunTributeList(kTributePoint); }
    void RunBieTributes() { RunTributeList(kTributeBie); }
    void RunShaoTributes() { RunTributeList(kTributeShao); }
    void RunPlaceTributes() { RunTributeList(kTributePlace); }
    bool HasPendingTributes() const;
    bool AnyReturnQueued() const;
    void SendReturnPrompts();
    int OnReturnTribute(int sender, const void* record, int length);
    int CheckReturnTribute(const tagRETURNTRIBUTEMSG& msg) const;
    void SendReturnTributeReturn(const tagRETURNTRIBUTEMSG& msg);
    void FinishReturnKind();

    // ---- Referee: trick play (RefereePlay.cpp, RefereeSteps.cpp) ------------
    void StartPlay();
    int ChooseFirstLeader();
    void StartNewRound(int leader);
    int ProcessAction(int sender, const void* record, int length);
    int ProcessActionRecord(const tagACTIONRECORD& action);
    bool ConvertPlayRecord(int sender, const void* record, int length, tagACTIONRECORD& out);
    bool MayActNow(const tagACTIONRECORD& action) const;
    int AnswerPosition(int seat) const;
    bool HasAnswered(int seat) const;
    void SetNextAction(const tagACTIONRECORD& action);
    void SetActionMsg(const tagACTIONRECORD& action);
    int TakeoutSetNextAction(const tagACTIONRECORD& action);
    int ShaoSetNextAction(const tagACTIONRECORD& action);
    int PassSetNextAction(const tagACTIONRECORD& action);
    int GiveupSetNextAction(const tagACTIONRECORD& action, bool* sendPrompt);
    void LetSetNextAction(const tagACTIONRECORD& action);
    int ReleaseWaitingAction();
    bool WaitingActionReleasable(int seat) const;
    bool AllBeforeAnswered(int seat) const;
    void RunAskingLoop(int actor, bool shaoLoop);
    bool IsOpenRound() const;
    int FindNextAnswerer(int seat) const;
    void BuildAnswerOrder(int actor);
    int CanAnswerLastPlay(int seat);
    void MarkLaidCards(const tagACTIONRECORD& action);
    void SendGousijiNotice(int seat, int value);
    void DropGousijiSeat();
    void AddBieEntry(int actor);
    void EarnShao(int actor);
    int CountSeatsNotOut() const;
    CardType LastPlayType() const;

    // ---- Referee: places, game over and settlement -------------------------
    int PlaceFinishedSeat(int seat);
    bool IsGameDecided() const;
    int SetOverPlace(int seat);
    void SendPlaces(int seat);
    void GameOver();
    void SettleGame(tagGAMEOVERMSG& msg, tagSETTLEMENTENTRY entries[kSeatCount]);
    static void ComputePlaceTributes(std::vector<int> places, std::vector<tagTRIBUTEENTRY>& list);
    void ComputePointTributes(int32_t values[kSeatCount], const int32_t opened[kSeatCount],
                              const int32_t answers1[kSeatCount],
                              const int32_t answers2[kSeatCount]);
    void AddTributeValues(int32_t values[kSeatCount], std::vector<tagTRIBUTEENTRY> point,
                          std::vector<tagTRIBUTEENTRY> bie, std::vector<tagTRIBUTEENTRY> shao,
                          std::vector<tagTRIBUTEENTRY> place) const;
    void ProcessExitBean(tagSETTLEMENTENTRY entries[kSeatCount]);
    int RevolutionarySeat() const;
    int AskHostForSeat(int seat, int beanChange);

    // ---- Referee: acting for seats, trusteeship, time-outs (RefereeAuto.cpp)
    void DoAutoAction(int seat);
    void AutoPlay(int seat);
    int PickAutoPlay(int seat, CardType toBeat, int codes[kHandSize]);
    void AutoReturnTribute(int seat);
    int OnTrustPlay(int sender, const void* record, int length);
    int OnTimeOutTick(int sender, const void* record, int length);
    void SwitchTrustOn(int seat);
    void SendCardsLeft(int seat);
    void SendCardsLeftToWatchers(int watchedSeat);

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
    int32_t m_bSpareWatcher = 0;
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
    std::unique_ptr<tagACTIONRECORD> m_pWaitShaoMsg; // the best waiting action, or null
    tagACTIONRECORD m_CurrentAction;
    std::vector<tagPLAYENTRY> m_PlayList;
    std::vector<tagACTIONRECORD> m_ActionQueue; // answers received since the last prompt
    int m_nAwaitedAnswers;
    int m_nLastPlaySeat;
    int m_nPrevLastPlaySeat;
    int m_nKeptLeader[2];
    std::recursive_mutex m_Lock;
    uint8_t m_bClosing;

    // Referee working state beyond the table of members above.
    int m_nActionSerial = 0;
    tagACTIONRECORD m_LastAction{};
    int m_nBurnedSeat = -1;
    int32_t m_nOpenedPoint[kSeatCount] = {};
    int32_t m_bPointAnswered[kSeatCount] = {};
    int32_t m_bBuyFlag[kSeatCount] = {};
    int32_t m_bRevolutionAnswered[kSeatCount] = {};
    int32_t m_nGousijiAnswer[kSeatCount] = {-1, -1, -1, -1, -1, -1};
    int m_nRevolutionCount = 0;
    int32_t m_nKeptMultiple[kSeatCount] = {}; // 0 until the seat chose one
    std::vector<tagTRIBUTEENTRY>
        m_TributeList[kTributeKinds]; // by kind - 1, kept for the next game
    std::vector<tagTRIBUTEENTRY> m_GameShaoList;
    std::vector<tagTRIBUTEENTRY> m_ReturnQueue[kTributeKinds];
    int32_t m_nReturnsOwed[kSeatCount] = {};
    std::vector<tagTRIBUTEMSG> m_SentTributes;
    std::vector<tagRETURNTRIBUTEMSG> m_SentReturns;
    std::vector<tagBUY3MSG> m_SentBuy3;
    std::vector<int> m_FailShaoList;
    std::vector<int> vecPlace;
    int32_t m_nPublishedPlaces[kSeatCount] = {-1, -1, -1, -1, -1, -1};
    int32_t m_nPointValue[kSeatCount] = {};
    std::vector<tagHISTORYENTRY> m_History;
    std::deque<int> m_AutoQueue;
    int m_nHandlerDepth = 0;
    std::unique_ptr<CRefereeRandom> m_pRandom;
};

template <class Body> int CGameLogic::RunHandler(const char* failureLine, Body&& body) {
    std::lock_guard<std::recursive_mutex> lock(m_Lock);
    ++m_nHandlerDepth;
    int result = 1;
    try {
        result = body();
    } catch (...) {
        TraceCaught(failureLine);
    }
    if (m_nHandlerDepth == 1)
        DrainAutoActions();
    --m_nHandlerDepth;
    return result;
}

// The table the program shows.
extern CGameLogic theBoard;
