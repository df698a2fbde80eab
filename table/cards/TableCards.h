#pragma once

// The cards each seat has just played, lying face up in a fan next to the
// seat's place; their arrival from my hand or from the seat, their gathering
// into the centre when a round ends (they become the seats' last cards), and
// the single cards that move between my hand and other seats for tribute,
// return tribute and buying a three.

#include "game/Cards.h"
#include "sprite/SpritePos.h"
#include "table/cards/CardLayout.h"

struct CTableWndFields;

class CTableCards {
public:
    // The played cards are sprites of the window, laid by the fields'
    // layout and viewpoint.
    CTableCards(CSpriteWnd& wnd, CTableWndFields& fields) : m_wnd(wnd), m_fields(fields) {}
    virtual ~CTableCards() = default;
    CTableCards(const CTableCards&) = delete;
    CTableCards& operator=(const CTableCards&) = delete;

    // Group ids and notifications.
    static constexpr int kBlindGroupId = 1001;
    static constexpr int kRelayGroupId = 0;
    static constexpr int kFlightDepth = 301;

    // The place of the i-th of n cards of the seat at that view position.
    CSpritePos CalcTableCardPos(int view, int i, int n) const;

    BOOL PutCard(CCardLayout* hands, int seat, const int* cards, int n, UINT groupId);
    BOOL PutCardBlind(CCardLayout* hands, int seat, const int* cards, int n, BOOL redrawBacks,
                      int backs);
    BOOL RelayTable(CCardLayout* hands);
    BOOL CollectToCentre(int seat, BOOL record);
    void ClearSeat(int seat);

    // ---- transfers (TableTransfers.cpp) ----
    // The flight that names the event runs onLanded when it lands.
    BOOL GiveCard(CCardLayout* hands, int fromSeat, int toSeat, int card, int event,
                  SpriteDone onLanded = {});
    BOOL ExchangeCard(CCardLayout* hands, int fromSeat, int card, int toSeat, int cardIn, int event,
                      SpriteDone onLanded = {});
    BOOL FlyOneCard(CCardLayout* hands, int fromSeat, int toSeat, int card, int event,
                    SpriteDone onLanded = {});
    BOOL FlyTwoCards(CCardLayout* hands, int fromSeat, int card, int toSeat, int cardIn, int event,
                     SpriteDone onLanded = {});
    BOOL GiveCards(CCardLayout* hands, int fromSeat, int toSeat, const int* cards, int n);

    const CHandList& GetSeatCards(int seat) const { return m_seats[seat]; }

private:
    CSpriteWnd& m_wnd;
    CTableWndFields& m_fields;

    // Whether the hands are given, both seats are seats and the cards are
    // cards; logs a refusal.
    bool CanTransfer(CCardLayout* hands, int fromSeat, int toSeat, const int* cards, int n,
                     LPCSTR what) const;
    int Depth(int seat, int i) const { return seat * 20 + CCardLayout::kFirstDepth + i; }
    // Lays face sprites of the cards from `from(k)` to their table places and
    // plays them as one group.
    BOOL LayNewCards(CCardLayout* hands, int seat, const int* cards, int n, UINT groupId,
                     bool fromSeatPlace);
    // Takes the hand entry out of my hand and flies a new sprite of its face
    // to the point; FALSE when the flight could not start.
    BOOL FlyOutOfHand(CCardLayout* hands, CHandList::iterator entry, const CSpritePos& to, int z,
                      int notifyEvent, SpriteDone onLanded = {});
    // A face sprite flying between my hand's right part and a seat's place.
    POSITION FlySingle(CCardLayout* hands, int card, const CSpritePos& from, const CSpritePos& to,
                       int notifyEvent, SpriteDone onLanded = {});
    // The right part of my hand that single cards leave from and land on.
    CSpritePos HandPart(CCardLayout* hands, int cardsAfter, int n, int k) const;
    void RemoveSprites(CHandList& list);
    // With the transfer event: the window now waits for that many arrivals.
    void ExpectTransfers(int event, int notifying);

    CHandList m_seats[kSeatCount];
};
