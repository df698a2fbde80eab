#pragma once

// The few values of the table window that the card layout and the played
// cards read and write. The table window owns one record, keeps its
// viewpoint, and reads back the transfer counts, the re-sort flag and the
// last cards; the board the table shows comes with it, so the cards read
// the table's rules where they lie.

#include "game/Cards.h"
#include "platform/Types.h"
#include "sprite/SpriteInfo.h"
#include "sprite/SpritePos.h"
#include "table/common/TableViewpoint.h"

class CGameLayout;
class CGameLogic;

struct CTableWndFields {
    explicit CTableWndFields(const CGameLogic& table) : board(table) {}

    // The board the table shows: its rules and the seats' watcher flags.
    const CGameLogic& board;
    // The table's layout values (card sizes, border, reference points); not owned.
    CGameLayout* pLayout = nullptr;

    // My seat, watcher state, seat direction and card order.
    TableViewpoint viewpoint;

    // The card size and spacing the window's faces are cut at now (0: the
    // layout's "SIZE" and "INTERVAL"); the window switches them with its width.
    SIZE sizeCardNow{0, 0};
    int nIntervalNow = 0;

    // Set while my hand waits for a re-sort after cards arrived.
    BOOL bResortPending = FALSE;
    // Card flights the window still waits for, and those that have arrived.
    int nExpectedTransfers = 0;
    int nEndedTransfers = 0;
    // What the window does once a flight's cards have settled; set by it.
    std::function<void()> cardsSettled;
    // A drag over the hand is in progress.
    BOOL bDragging = FALSE;

    // The last cards each view position played, for the last-card pane.
    tagCARD lastCards[kSeatCount][kHandSize] = {};
    int nLastCards[kSeatCount] = {};

    // The end of a flight that settles the cards when it lands, and of one
    // of the counted transfers: the one that completes the count settles them.
    SpriteDone CardsLanded();
    SpriteDone TransferLanded();

    // Empties the last cards of one view position.
    void ClearLastCards(int view);
    // Appends a card to the last cards of a view; FALSE (nothing stored) when
    // the block is full or the code is not a card.
    BOOL AddLastCard(int view, int card);
    // Whether my own hand's faces may be shown: always to a player, to a
    // watcher only when my seat lets watchers see it.
    BOOL MayShowMyHand() const;

    // Layout values, with the defaults when no layout is set.
    SIZE CardSize() const;
    int CardInterval() const;
    SIZE LittleCardSize() const;
    int LittleInterval() const;
    int Border() const;
    CSpritePos AvatarPoint(int view) const;
    // The place of a seat's plate, by its view position.
    CSpritePos SeatPlace(int seat) const { return AvatarPoint(viewpoint.ViewOf(seat)); }
    CSpritePos OutCardPoint(int view) const;
    // Where the i-th of n cards a view lays on the table stands.
    CSpritePos TableCardPos(int view, int i, int n) const;
    // Width of a fan of n cards: (n - 1) spacings and one card.
    int CardsWidth(int n) const { return (n - 1) * CardInterval() + CardSize().cx; }
    int LittleCardsWidth(int n) const { return (n - 1) * LittleInterval() + LittleCardSize().cx; }
};
