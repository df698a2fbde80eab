#pragma once

// Records that the window's record tests and the record handling's tests on
// the recording view both hand over: my deal, a watcher's snapshot of a
// running game, a return of tribute due, and the places of a clean sweep.

#include "ClientFixture.h"

#include <algorithm>
#include <memory>

namespace table_test {

// My deal at seat 2: 36 cards, every sixth code.
inline std::unique_ptr<tagDEALMSG> DealOf36() {
    auto deal = NewRecord<tagDEALMSG>();
    deal->nSeat = 2;
    deal->nCount = 36;
    for (int i = 0; i < 36; ++i) {
        deal->hand[i] = CardOf(i * 6);
        deal->hand[i].spare = uint8_t(i % 10);
    }
    return deal;
}

// A watcher's snapshot of a game in play: three games of history, seat 4
// placed, the watched hand of three cards of which the second is played, a
// hand the watcher may see, and the watcher's own beans and score.
inline std::unique_ptr<tagSNAPSHOTMSG> WatchersSnapshot() {
    auto snap = NewRecord<tagSNAPSHOTMSG>();
    for (int seat = 0; seat < kSeatCount; ++seat)
        snap->users[seat] = Player(seat);
    snap->nGameState = kStatePlay;
    snap->nHistoryCount = 3;
    for (int k = 0; k < 3; ++k)
        snap->history[k].nScoreChange[0] = 30 - k * 10; // newest first: 30, 20, 10
    snap->nPlaces[0] = 4;
    for (int place = 1; place < kSeatCount; ++place)
        snap->nPlaces[place] = -1;
    for (int i = 0; i < 3; ++i)
        snap->hand[i] = CardOf(10 + i);
    snap->hand[1].flags |= kCardPlayed;
    snap->bWatcherMaySee = 1;
    snap->nWatcherBeans = 321;
    snap->nWatcherScore = 12;
    // A watcher's snapshot has no play: zeros, not a play of seat 0.
    snap->nPlayCounter = 9;
    return snap;
}

// The referee's word that the returner owes the receiver a return of the
// kind (0 point, 1 bie, 2 shao) of count cards.
inline std::unique_ptr<tagRETURNTRIBUTEMSG> ReturnDue(int kind, int receiver, int returner,
                                                      int count) {
    auto due = NewRecord<tagRETURNTRIBUTEMSG>();
    due->nKind = kind;
    due->nReceiver = receiver;
    due->nReturner = returner;
    due->nCount = count;
    return due;
}

// The places of a game whose first three are seat 2's side, whose game
// over is a clean sweep for seat 2.
inline tagPLACESMSG CleanSweepPlaces() {
    tagPLACESMSG places;
    InitPlacesMsg(places);
    const int order[kSeatCount] = {2, 0, 4, 1, 3, 5};
    std::copy(order, order + kSeatCount, places.nPlaces);
    places.nSeat = 9;
    return places;
}

} // namespace table_test
