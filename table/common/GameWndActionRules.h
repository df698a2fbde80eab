#pragma once

// The decisions behind the table's input and the player's actions, apart
// from the window so that each can be checked on its own: what a right
// click plays, what a clock that ran out answers, which notice a refused
// play gets, whether a seat change may go out, and where the panes stand.

#include "platform/Types.h"
#include "sprite/SpritePos.h"

// What the right mouse button plays.
enum class RightClickPlay { kNothing, kTakeOut, kPass, kShao, kGiveUp, kReturnTribute };
RightClickPlay RightClickPlayFor(int gameState, int mask, bool cardSelected);

// Whether the state is one in which my hand's cards are picked: trick play,
// or returning tribute while my mask asks for it.
bool IsPickingState(int gameState, int mask);

// The automatic answer when one of the table's clocks runs out (its end
// event, AnimationEvents.h).
enum class ClockAnswer { kNothing, kTrustOn, kPass, kGiveUp, kNoPoint, kNoRevolution, kNoGousiji };
ClockAnswer ClockAnswerFor(int event, int mask, bool trusted, bool watcher);

// The string of a play the rule book refused (result of the play sender).
UINT PlayRefusalString(int result);

// Whether a return of `selected` cards meets the entry's count: the count
// itself, or any 1..12 cards when the entry names none.
bool ReturnCountFits(int entryCount, int selected);

// A click on a name line while seats may be changed: nothing at all, the
// too-frequent notice, or a change (the throttle restarts) that sits, watches
// or asks nothing.
enum class SeatClick { kNothing, kTooSoon, kNoRequest, kSit, kWatch };
// seatTaken: the seat shown at the line has a player; gameRunning: game
// state is not 0; ticksSinceLast: now - the last seat change (unsigned, so
// a wrapped tick count still measures the time passed).
SeatClick SeatClickFor(int seat, int mySeat, bool watcher, bool seatTaken, bool gameRunning,
                       DWORD ticksSinceLast);
constexpr DWORD kSeatChangeGapMs = 3000;

// The name line of a seat plate: below the avatar place, 29 px high.
RECT NameLineOf(const RECT& avatar);

// Multiple 1, 2, 4, 8, 16 as pane levels 1..5; 0 for anything else.
int MultipleLevel(int multiple);
// Whether the chip of a multiple may be pressed.
bool ChipEnabled(int chipMultiple, int largestMultiple, bool watcher);
// The chips' multiples, in the order they are made.
constexpr int kChipMultiples[5] = {1, 2, 4, 8, 16};
constexpr int kChipBaseId = 400;

// Offsets of the per-seat panes from the seat's place.
POINT RemnantOffset(int view);
POINT MultipleOffset(int view, BOOL flag);
// Offset of the countdown pane from the pane it belongs to (kind 4: the
// start pane, kind 5: the result pane); (0, 0) for another kind.
POINT CountdownOffset(int kind, BOOL multiplesFlag);
enum { kCountdownOnStart = 4, kCountdownOnResult = 5 };

// A sprite position of its three values.
inline CSpritePos PosAt(int x, int y, int anchor) {
    CSpritePos pos;
    pos.Set(x, y, anchor);
    return pos;
}
