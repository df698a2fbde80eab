#pragma once

// "KNCards.dll": the card-face library, class Cards. It draws one playing
// card into a DC by card code and card size, from faces drawn by our own
// asset generator and compiled in.
//
// Codes: suit code x 16 + value (1 ace, 2..10, 11 jack, 12 queen, 13 king;
// suit code 1 spades, 2 hearts, 3 diamonds, 4 clubs); 30 the big joker, 46
// the small joker, 62 the back. Sizes: 1 = 54 x 72, 2 = 42 x 56, 4 = 27 x 38,
// 8 = 71 x 96 (the faces are drawn at each size, not scaled from another).

#include "platform/gdi/Dc.h"

#include <memory>

struct CardFaceSheets;

class Cards {
public:
    // What ShowCard answers besides 1 (drawn).
    enum Result { kNotDrawn = 0, kNoDc = 10, kBadSize = 100 };

    Cards();
    ~Cards();
    Cards(const Cards&) = delete;
    Cards& operator=(const Cards&) = delete;

    // Makes the faces ready (one deck style: the value is not looked at);
    // 1 when they are, 0 when they could not be unpacked.
    int Initialization(WORD value);
    // Draws the card with its top-left corner at (x, y) into w x h (0: the
    // size's own), taking the face's top-left srcW x srcH (0: the whole face)
    // and stretching it; the corners outside the card's outline keep what
    // is under them. 1 drawn; 0 for a code that is no card (nothing drawn) or
    // before Initialization; 10 for a null DC; 100 for a size not 1, 2, 4, 8.
    int ShowCard(CDC* dc, WORD code, WORD x, WORD y, WORD w, WORD h, WORD size, WORD srcW,
                 WORD srcH);

    // The size's default width and height; false for a size not 1, 2, 4, 8.
    static bool SizeOf(WORD size, SIZE& cell);
    // The face's cell in the 13 x 5 sheet (column, row); false for a code
    // that is no card.
    static bool CellOf(WORD code, POINT& cell);

private:
    std::shared_ptr<CardFaceSheets> m_faces;
};
