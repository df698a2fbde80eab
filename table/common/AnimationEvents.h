// The events that end the table's animations: a one-shot sprite or a card's
// flight hands its event to the window when it stops, and what comes next
// is the end callback given beside it where the animation starts. One name
// per event; the window, the cards and the marks take theirs from here.

#pragma once

enum TableAnimationEvent {
    kDealFlightEnd = 200, // a dealt card has reached its seat
    kNoticeEnd = 1003,    // a notice has risen and gone: the next may show
    kShuffleEnd = 1006,   // the shuffle: the deal's cards are laid out
    // The last card of a flight has landed (the cards collected on the
    // table, a bought three): the cards settle and the record is done.
    kCardsLandedEnd = 1007,
    // One of the counted transfers (a tribute, a return, cards shown) has
    // landed: the last of them settles the cards.
    kTransferLandedEnd = 1008,
    kBurnOneFirstEnd = 1035, // the burn's first step, + the target's view
    kBurnOneLastEnd = 1040,
    kBurnTwoEnd = 1041,    // the burn's second step: the third comes
    kChuanSanHuEnd = 1051, // the clean-sweep text: the result may show
    // The turn clock's end events, one per kind of turn; each answers for me
    // in its own way when it runs out (GameWndActionRules.h).
    kClockEventMyTurn = 3000,        // my turn in trick play
    kClockEventCannotBeat = 3001,    // a play I cannot beat: the short clock
    kClockEventPoint = 3002,         // a point round's question
    kClockEventRevolution = 3003,    // the revolution question
    kClockEventGousiji = 3004,       // the gousiji question
    kClockEventReturnTribute = 3005, // a tribute to return
    kClockEventLast = kClockEventReturnTribute,
};
