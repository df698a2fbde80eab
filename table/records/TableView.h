#pragma once

// What the record handling asks of the screen, in three parts: the table
// window (CTableView), its seat marks and text animations (CMarkView) and
// its panes (CPaneView). The window and its parts implement them, tests
// give a stand-in that records the calls. The handlers decide what a record
// means for the board; this is only how it is shown. Seats are seats
// (0..5); the window turns them into views. The clock's end events are the
// window's (AnimationEvents.h).

#include "game/StateRecords.h"
#include "platform/Types.h"
#include "table/common/GameWndIds.h"

class CTableView {
public:
    virtual ~CTableView() = default;

    // ---- cards ----
    // My hand (the watched hand for a watcher) drawn from the board, or none.
    virtual void ShowMyHand() = 0;
    virtual void ClearMyHand() = 0;
    // A play laid at the seat's place; a blind play shows backs (handCount
    // the seat's cards left).
    virtual void LayPlay(int seat, const int32_t* codes, int count, BOOL blind, int handCount) = 0;
    // The seat's played cards go when its turn comes; a seat with nothing
    // lying keeps its last cards for the last-card pane.
    virtual void TakeUpSeatCards(int seat) = 0;
    // Every seat's played cards go (a new table).
    virtual void ClearTableCards() = 0;
    // A finished round's cards fly to the centre; FALSE when nothing flies
    // (the flight's end otherwise opens the receive gate).
    virtual BOOL CollectRound() = 0;
    // Card flights between two seats; FALSE (0) when none could be made.
    virtual int IntributeFlyCard(int fromSeat, const int* cards, int count, int toSeat) = 0;
    virtual BOOL FlyCards(int fromSeat, int toSeat, int card, int endEvent) = 0;
    virtual BOOL SwapFlyCards(int seatA, int cardA, int seatB, int cardB, int endEvent) = 0;
    // The shuffle, then the deal of my cards (codes) and the others' backs;
    // the deal's end opens the receive gate.
    virtual void StartDeal(const int* codes, int count, int mySeat) = 0;
    // The partners' open hands and the cue cards beside my hand.
    virtual void ClearCues() = 0;
    virtual void ClearShownHands() = 0;
    virtual void ShowCueCards(const int32_t* codes, int count, int fromSeat) = 0;
    virtual void ShowAllyHand(const int32_t* codes, int count, int seat) = 0;
    virtual void ClearSelection() = 0;
    // The last-card pane forgets the game's plays.
    virtual void ClearLastCards() = 0;

    // ---- seats ----
    // A seat's waiting mark (a seat left a table that keeps its watchers).
    virtual void ShowSeatMark(int seat, BOOL show) = 0;
    // The sprite of the id stops being drawn (a text of the last game).
    virtual void StopSprite(int id) = 0;

    // ---- the clock and the timers ----
    // My turn's clock of seconds; endEvent 3000..3005 names whose turn it is.
    virtual void ShowTurnClock(int seconds, int endEvent) = 0;
    virtual void StopCountdown() = 0;
    // Tells the server the seconds passed unless something comes first.
    virtual void StartTurnTimeout(int seconds) = 0;
    // The step that collects a finished round, a second from now.
    virtual void StartRoundEnd() = 0;
    virtual void StopRoundEnd() = 0;
    // The plates repainted now and for a while, and the information timers.
    virtual void RepaintPlates() = 0;
    virtual void RestartInfoTimers(UINT plateMs) = 0;

    // ---- buttons ----
    // Hides and disables the play and declaration buttons, then, when show is
    // set and I may act, shows those of the state and mask.
    virtual void UpdateActionButtons(int state, int mask, BOOL show) = 0;
    // Trust for a player out of trusteeship, TrustExit for one in it.
    virtual void ShowTrustButtons(BOOL trusted) = 0;
    // A seat that enters in trusteeship: only its exit shows.
    virtual void ShowTrustExitOnly() = 0;
    virtual void UpdateCueButtons() = 0;
    // A new play was shown: the next hint searches afresh.
    virtual void ResetHints() = 0;
    // A watcher presses none of the seat's own buttons (trusteeship, sound,
    // exchange, betting); a watcher who sits down gets them back.
    virtual void EnableSeatButtons(BOOL enable) = 0;
    // The betting and exchange buttons of a coin table.
    virtual void ShowCoinButtons() = 0;

    // ---- texts, plates, sounds ----
    virtual void ShowNotice(LPCSTR text) = 0;
    // The question my seat has open, in words that stay while it is open;
    // null or empty: none.
    virtual void ShowQuestionLine(LPCSTR text) = 0;
    // The seats' speech tips go.
    virtual void HideSeatTips() = 0;
    // A file of the theme's sound folder; a seat's voice file by its format.
    virtual void PlayGameSound(LPCSTR file) = 0;
    virtual void PlayVoice(LPCSTR format, int seat, int variant = -1) = 0;
    // The seat's picture and texts; its plate; every seat's information
    // (with levelRise a seat whose level rose shows the level-up).
    virtual void RefreshSeat(int seat) = 0;
    virtual void RedrawSeatPlate(int seat) = 0;
    virtual void UpdateUserInfo(BOOL levelRise) = 0;
    virtual void SetSeatLevel(int seat, int level) = 0;
    // The main window's title after a seat change.
    virtual void UpdateTitle(BOOL watcher) = 0;
    // The seats turn as the settings' direction says, for the game starting.
    virtual void TurnSeatsForGame() = 0;
    // The sound plug-in: my seat and voice, and the other seats' data.
    virtual void SetSoundPlayer(int seat, BOOL male) = 0;
    virtual void PassPluginData(const void* data) = 0;
};

// The seat marks and the text animations over the seats.
class CMarkView {
public:
    virtual ~CMarkView() = default;

    // ---- seat marks ----
    // hide: the wait mark goes.
    virtual void ShowWaitMark(int seat, BOOL hide) = 0;
    // clear: removes all six.
    virtual void ShowReadyMark(int seat, BOOL clear) = 0;
    // place 0..5 (0 = first place).
    virtual void ShowPlaceMark(int seat, int place) = 0;
    // Every seat's marks and panes of a game go.
    virtual void ClearAllSeats() = 0;
    // status 300 trusted, 301 left trusteeship, 302 connection broke, other
    // values remove all three.
    virtual void ShowTrustMark(int seat, int status) = 0;
    virtual void ClearTrustMarks() = 0;
    // flags: bit 1 pass, else bit 2 let, else bit 8 give up, else none.
    virtual void ShowActionMark(int seat, int flags) = 0;
    virtual void MarkOpenPoint(int seat, BOOL show) = 0;
    virtual void MarkShao(int seat, BOOL show, BOOL effect) = 0;
    virtual void MarkRevolution(int seat, BOOL show) = 0;
    virtual void MarkNowPoint(int seat, BOOL show) = 0;
    virtual void MarkPrePoint(int seat, BOOL show) = 0;

    // ---- text animations ----
    virtual void ShowRevolutionMark(int seat) = 0;
    virtual void ShowOpenPointMark(int seat) = 0;
    virtual void ShowPrePointMark(int seat) = 0;
    virtual void ShowTributeMark(int seat) = 0;
    virtual void ShowTouKeMark() = 0;
    // The three-step burn of a seat over another.
    virtual void PlayBurnCardAnim(int burningSeat, int targetSeat) = 0;
    // My side took the first three places: the clean-sweep mark, then the
    // result of the game; the mark stays until my seat starts again.
    virtual void ShowCleanSweep(const tagGAMEOVERMSG& gameOver) = 0;
    virtual void EndCleanSweepMark() = 0;
    // The shuffle and the clean-sweep mark of a table that starts afresh.
    virtual void StopTableAnimations() = 0;
};

// The panes: the start and result panes, each seat's small panes and the
// lines of the reel of messages.
class CPaneView {
public:
    virtual ~CPaneView() = default;

    virtual void ShowStartPane(BOOL show, int multiple) = 0;
    // Whether the start pane may come (no result pane has been up).
    virtual BOOL MayOfferStartPane() const = 0;
    // multiple 0 or flag 0 hides it.
    virtual void ShowMultiplePane(int seat, int multiple, BOOL flag) = 0;
    // count 0 hides the seat's pane.
    virtual void ShowRemnantPane(int seat, int count) = 0;
    virtual void ShowGousjPane(int seat, int value) = 0;
    virtual void ShowResultPane(const tagGAMEOVERMSG& gameOver) = 0;
    // The finishing order the result pane draws.
    virtual void SetFinishingOrder(const int placeSeat[kSeatCount]) = 0;
    // Hides the result pane and the countdown, removes the win and loss texts.
    virtual void ResetPanes() = 0;
    // A line of the reel list; ClearReel empties it.
    virtual void WriteReelLine(LPCSTR text) = 0;
    virtual void ClearReel() = 0;
};
