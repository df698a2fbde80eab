#include "table/cards/CardPainter.h"

#include <algorithm>

namespace {

// Sheets and options are kept by the size's bit number: 1, 2, 4, 8 -> 0..3.
int SlotOf(WORD size) {
    switch (size) {
    case kCardSize54x72:
        return 0;
    case kCardSize42x56:
        return 1;
    case kCardSize27x38:
        return 2;
    case kCardSize71x96:
        return 3;
    default:
        return -1;
    }
}

} // namespace

WORD CardFaceCode(int kind) {
    if (kind == 52)
        return kCodeSmallJoker;
    if (kind == 53)
        return kCodeBigJoker;
    if (kind < 0 || kind > 53)
        return 0;
    static const WORD suitCodes[4] = {3, 4, 2, 1};
    int value = kind % 13 + 3;
    if (value > 13)
        value -= 13;
    return WORD(suitCodes[kind / 13] * 16 + value);
}

CCardPainter::~CCardPainter() {
    for (CKNBitmap*& sheet : m_pSheets) {
        delete sheet;
        sheet = nullptr;
    }
}

int CCardPainter::Initialization(WORD value) {
    return m_cards.Initialization(value);
}

BOOL CCardPainter::AddCustomSheet(WORD size, UINT id, WORD options) {
    const int slot = SlotOf(size);
    if (slot < 0)
        return FALSE;
    auto* sheet = new CKNBitmap;
    if (!sheet->LoadBitmap(id)) {
        delete sheet;
        return FALSE;
    }
    delete m_pSheets[slot];
    m_pSheets[slot] = sheet;
    m_options[slot] = options;
    m_nLoaded |= size;
    return TRUE;
}

WORD CCardPainter::GetOptions(WORD size) const {
    const int slot = SlotOf(size);
    return slot < 0 ? 0 : m_options[slot];
}

bool CCardPainter::DrawsFromSheet(WORD code, int slot) const {
    if (slot < 0 || !m_pSheets[slot] || !m_options[slot])
        return false;
    const WORD options = m_options[slot];
    return (code == kCodeBigJoker && (options & kSheetBigJoker)) ||
           (code == kCodeSmallJoker && (options & kSheetSmallJoker)) ||
           (code == kCodeBack && (options & kSheetBack));
}

int CCardPainter::ShowCard(CDC* dc, WORD code, WORD x, WORD y, WORD w, WORD h, WORD size, WORD srcW,
                           WORD srcH) {
    const int slot = SlotOf(size);
    if (!DrawsFromSheet(code, slot))
        return m_cards.ShowCard(dc, code, x, y, w, h, size, srcW, srcH);
    if (!dc || !dc->GetSafeHdc())
        return Cards::kNoDc;
    SIZE cell{0, 0};
    Cards::SizeOf(size, cell);
    w = w ? w : WORD(cell.cx);
    h = h ? h : WORD(cell.cy);
    // A source part beyond the cell would take its neighbour's pixels.
    const SIZE source{srcW ? std::min<LONG>(srcW, cell.cx) : cell.cx,
                      srcH ? std::min<LONG>(srcH, cell.cy) : cell.cy};
    POINT origin{0, 0};
    if (code == kCodeSmallJoker)
        origin = POINT{0, cell.cy};
    else if (code == kCodeBack)
        origin = POINT{cell.cx, 0};
    const POINT mask{cell.cx, cell.cy};
    const RECT box{x, y, x + w - 1, y + h - 1};
    m_pSheets[slot]->Draw(dc, &box, BD_STRETCH | BD_MASK, &origin, &mask, &source);
    return 1;
}
