#include "outside/CardFaces.h"

#include "outside/OutsideModules.h"
#include "platform/images/BmpFile.h"
#include "platform/images/Picture.h"

#include <algorithm>
#include <mutex>
#include <string_view>
#include <zlib.h>

namespace {

struct PackedSheet {
    int size, cellW, cellH;
    size_t bmpLength;
    std::string_view deflated;
};

const PackedSheet kPackedSheets[] = {
#include "CardFaceSheets.inc"
};

constexpr int kSizeCount = 4;

int SizeSlot(WORD size) {
    switch (size) {
    case 1:
        return 0;
    case 2:
        return 1;
    case 4:
        return 2;
    case 8:
        return 3;
    default:
        return -1;
    }
}

// Column of a value in the sheet (ranks 3..2); -1 for no card value.
int ColumnOf(int value) {
    if (value == 1)
        return 11;
    if (value == 2)
        return 12;
    return value >= 3 && value <= 13 ? value - 3 : -1;
}

} // namespace

// The unpacked sheets, shared by every Cards object alive.
struct CardFaceSheets {
    HBITMAP sheet[kSizeCount] = {};
    SIZE cell[kSizeCount] = {};

    ~CardFaceSheets() {
        for (HBITMAP bitmap : sheet)
            if (bitmap)
                DeleteObject(bitmap);
    }
    bool Unpack() {
        for (const PackedSheet& packed : kPackedSheets) {
            const int slot = SizeSlot(WORD(packed.size));
            std::string bmp(packed.bmpLength, '\0');
            uLongf length = uLongf(bmp.size());
            platform::PixelImage image;
            if (slot < 0 ||
                uncompress(reinterpret_cast<Bytef*>(bmp.data()), &length,
                           reinterpret_cast<const Bytef*>(packed.deflated.data()),
                           uLong(packed.deflated.size())) != Z_OK ||
                !platform::DecodeBmp(bmp.data(), length, image) ||
                image.width != 13 * packed.cellW || image.height != 5 * packed.cellH)
                return false;
            sheet[slot] = platform::CreateBitmapFromImage(image);
            cell[slot] = SIZE{packed.cellW, packed.cellH};
            if (!sheet[slot])
                return false;
        }
        return true;
    }
};

namespace {

// One unpacking while any Cards object holds the faces.
std::shared_ptr<CardFaceSheets> SharedSheets() {
    static std::mutex lock;
    static std::weak_ptr<CardFaceSheets> shared;
    std::lock_guard<std::mutex> guard(lock);
    if (auto sheets = shared.lock())
        return sheets;
    auto sheets = std::make_shared<CardFaceSheets>();
    if (!sheets->Unpack())
        return nullptr;
    shared = sheets;
    return sheets;
}

} // namespace

Cards::Cards() = default;
Cards::~Cards() = default;

int Cards::Initialization(WORD) {
    if (!m_faces)
        m_faces = SharedSheets();
    return m_faces ? 1 : 0;
}

bool Cards::SizeOf(WORD size, SIZE& cell) {
    static const SIZE sizes[kSizeCount] = {{54, 72}, {42, 56}, {27, 38}, {71, 96}};
    const int slot = SizeSlot(size);
    if (slot < 0)
        return false;
    cell = sizes[slot];
    return true;
}

bool Cards::CellOf(WORD code, POINT& cell) {
    switch (code) {
    case 30:
        cell = POINT{1, 4};
        return true;
    case 46:
        cell = POINT{0, 4};
        return true;
    case 62:
        cell = POINT{2, 4};
        return true;
    default:
        break;
    }
    // Sheet rows are diamonds, clubs, hearts, spades: suit codes 3, 4, 2, 1.
    static const int rowOfSuitCode[5] = {-1, 3, 2, 0, 1};
    const int suitCode = code / 16, column = ColumnOf(code % 16);
    if (suitCode < 1 || suitCode > 4 || column < 0)
        return false;
    cell = POINT{column, rowOfSuitCode[suitCode]};
    return true;
}

int Cards::ShowCard(CDC* dc, WORD code, WORD x, WORD y, WORD w, WORD h, WORD size, WORD srcW,
                    WORD srcH) {
    if (!dc || !dc->GetSafeHdc())
        return kNoDc;
    SIZE face{0, 0};
    if (!SizeOf(size, face))
        return kBadSize;
    POINT cell{0, 0};
    if (!m_faces || !CellOf(code, cell))
        return kNotDrawn;
    const int slot = SizeSlot(size);
    const int cw = int(m_faces->cell[slot].cx), ch = int(m_faces->cell[slot].cy);
    const int dw = w ? w : cw, dh = h ? h : ch;
    // A source part beyond the face would take its neighbour's pixels.
    const int sw = srcW ? std::min<int>(srcW, cw) : cw;
    const int sh = srcH ? std::min<int>(srcH, ch) : ch;
    HDC source = CreateCompatibleDC(dc->GetSafeHdc());
    HGDIOBJ old = SelectObject(source, m_faces->sheet[slot]);
    // The mask cell (row 4, column 3) blackens the card's outline; the face,
    // black outside it, is then painted in. At the face's own size (the
    // usual case) plain blits do it.
    if (dw == sw && dh == sh) {
        BitBlt(*dc, x, y, dw, dh, source, 3 * cw, 4 * ch, SRCAND);
        BitBlt(*dc, x, y, dw, dh, source, cell.x * cw, cell.y * ch, SRCPAINT);
    } else {
        StretchBlt(*dc, x, y, dw, dh, source, 3 * cw, 4 * ch, sw, sh, SRCAND);
        StretchBlt(*dc, x, y, dw, dh, source, cell.x * cw, cell.y * ch, sw, sh, SRCPAINT);
    }
    SelectObject(source, old);
    DeleteDC(source);
    return 1;
}

BuiltinModuleDefinition KNCardsModule() {
    BuiltinModuleDefinition module;
    module.fileName = "KNCards.dll";
    module.version[0] = 1;
    module.version[3] = 1;
    module.versionStrings = {{"FileDescription", "Card faces"}};
    return module;
}
