#pragma once

// CCardPainter: draws one playing card into a DC by card code and size
// through the card-face library, except the big joker, the small joker and
// the back, which a custom sheet of the program's own may replace per size.
//
// A custom sheet is 2 x 2 cells of the size's width w and height h: big
// joker (0, 0), small joker (0, h), back (w, 0), and the mask the three
// share (w, h): black inside the card's outline, white outside.

#include "knclientUI05/KNBitmap.h"
#include "outside/CardFaces.h"

// Card sizes (bits) and the custom sheets' options.
enum {
    kCardSize54x72 = 1,
    kCardSize42x56 = 2,
    kCardSize27x38 = 4,
    kCardSize71x96 = 8,
};
enum { kSheetBigJoker = 1, kSheetSmallJoker = 2, kSheetBack = 4 };
enum { kCodeBigJoker = 30, kCodeSmallJoker = 46, kCodeBack = 62 };

// The painter's code of a card kind 0..53 (kind / 13 suit, kind % 13 rank
// 3..2); 0 (no card) for a kind above 53.
WORD CardFaceCode(int kind);

class CCardPainter {
public:
    static constexpr int kSizes = 4;

    CCardPainter() = default;
    virtual ~CCardPainter();
    CCardPainter(const CCardPainter&) = delete;
    CCardPainter& operator=(const CCardPainter&) = delete;

    int Initialization(WORD value);
    // FALSE (and no sheet) when the resource does not load or the size is
    // not 1, 2, 4 or 8; a sheet of that size held before then stays.
    BOOL AddCustomSheet(WORD size, UINT id, WORD options);
    // 1 drawn from a custom sheet; else the card-face library's answer.
    // 10 for a null DC, 100 for a size not 1, 2, 4 or 8.
    int ShowCard(CDC* dc, WORD code, WORD x, WORD y, WORD w, WORD h, WORD size, WORD srcW,
                 WORD srcH);

    int GetLoaded() const { return m_nLoaded; }
    WORD GetOptions(WORD size) const;

private:
    bool DrawsFromSheet(WORD code, int slot) const;

    Cards m_cards;
    WORD m_options[kSizes] = {};
    int m_nLoaded = 0;
    CKNBitmap* m_pSheets[kSizes] = {};
};
