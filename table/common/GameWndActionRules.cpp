#include "table/common/GameWndActionRules.h"

#include "assets/resource.h"
#include "game/GameLogic.h"
#include "table/common/GameWndIds.h"

RightClickPlay RightClickPlayFor(int gameState, int mask, bool cardSelected) {
    if (gameState == kStatePlay) {
        if (mask & kActionTakeOut)
            return cardSelected ? RightClickPlay::kTakeOut : RightClickPlay::kPass;
        if (mask & kActionShao)
            return cardSelected ? RightClickPlay::kShao : RightClickPlay::kGiveUp;
        return RightClickPlay::kNothing;
    }
    if (gameState == kStateTribute && (mask & kActionReturnTribute))
        return RightClickPlay::kReturnTribute;
    return RightClickPlay::kNothing;
}

bool IsPickingState(int gameState, int mask) {
    return gameState == kStatePlay ||
           (gameState == kStateTribute && (mask & kActionReturnTribute) != 0);
}

ClockAnswer ClockAnswerFor(int event, int mask, bool trusted, bool watcher) {
    const bool player = !watcher && !trusted;
    switch (event) {
    case kClockEventMyTurn:
        if (!player)
            return ClockAnswer::kNothing;
        if (mask & kActionTakeOut)
            return ClockAnswer::kTrustOn;
        return (mask & kActionShao) ? ClockAnswer::kGiveUp : ClockAnswer::kNothing;
    case kClockEventCannotBeat:
        if (trusted)
            return ClockAnswer::kNothing;
        if (mask & kActionPass)
            return ClockAnswer::kPass;
        return (player && (mask & kActionShao)) ? ClockAnswer::kGiveUp : ClockAnswer::kNothing;
    case kClockEventPoint:
        return ClockAnswer::kNoPoint;
    case kClockEventRevolution:
        return ClockAnswer::kNoRevolution;
    case kClockEventGousiji:
        return ClockAnswer::kNoGousiji;
    case kClockEventReturnTribute:
        return ClockAnswer::kTrustOn;
    default:
        return ClockAnswer::kNothing;
    }
}

UINT PlayRefusalString(int result) {
    switch (result) {
    case 0:
        return IDS_PLAY_REFUSED_0;
    case 2:
        return IDS_PLAY_REFUSED_2;
    case 3:
        return IDS_PLAY_REFUSED_3;
    case 4:
        return IDS_PLAY_REFUSED_4;
    default:
        return IDS_PLAY_REFUSED;
    }
}

bool ReturnCountFits(int entryCount, int selected) {
    // The return record holds twelve cards; an empty return gives nothing back.
    if (selected < 1 || selected > kTributeMaxCards)
        return false;
    return entryCount < 1 || entryCount == selected;
}

SeatClick SeatClickFor(int seat, int mySeat, bool watcher, bool seatTaken, bool gameRunning,
                       DWORD ticksSinceLast) {
    if (!gameRunning && seatTaken)
        return SeatClick::kNothing;
    if (ticksSinceLast < kSeatChangeGapMs)
        return SeatClick::kTooSoon;
    if (!seatTaken)
        return (seat != mySeat || watcher) ? SeatClick::kSit : SeatClick::kNoRequest;
    return seat != mySeat ? SeatClick::kWatch : SeatClick::kNoRequest;
}

RECT NameLineOf(const RECT& avatar) {
    return RECT{avatar.left + 1, avatar.bottom + 3, avatar.right + 1, avatar.bottom + 32};
}

int MultipleLevel(int multiple) {
    for (int i = 0; i < 5; ++i)
        if (kChipMultiples[i] == multiple)
            return i + 1;
    return 0;
}

bool ChipEnabled(int chipMultiple, int largestMultiple, bool watcher) {
    return !watcher && chipMultiple <= largestMultiple;
}

POINT RemnantOffset(int view) {
    return view >= 4 ? POINT{5, 100} : POINT{77, 100};
}

POINT MultipleOffset(int view, BOOL flag) {
    if (view < 4)
        return POINT{2, 87};
    return flag ? POINT{66, 87} : POINT{90, 87};
}

POINT CountdownOffset(int kind, BOOL multiplesFlag) {
    if (kind == kCountdownOnStart)
        return multiplesFlag ? POINT{122, 22} : POINT{98, 22};
    if (kind == kCountdownOnResult)
        return POINT{33, 288};
    return POINT{0, 0};
}
