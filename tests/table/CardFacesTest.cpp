// The card-face library's stand-in: every card code draws its own face, the
// same picture as the table's sheet cell of that card, legible when fanned;
// codes that are no card, null DCs and unknown sizes draw nothing.

#include "outside/CardFaces.h"
#include "game/GameLogic.h"
#include "table/cards/CardPainter.h"
#include "tests/table/TableTestKit.h"

#include <set>
#include <vector>

namespace {

using namespace table_test;

const uint32_t kFelt = 0x00206040;

// The pixels of a w x h box of the canvas.
std::vector<uint32_t> BoxPixels(const GdiCanvas& canvas, int x, int y, int w, int h) {
    std::vector<uint32_t> out;
    for (int py = y; py < y + h; ++py)
        for (int px = x; px < x + w; ++px)
            out.push_back(canvas.At(px, py));
    return out;
}

class CardFacesTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(cards.Initialization(1), 1); }
    Cards cards;
};

TEST_F(CardFacesTest, EveryCodeDrawsTheSheetCellOfItsKind) {
    // The table's big sheet is drawn at 71 x 96 by the same hand, its cells
    // numbered by card kind: the painter's codes must land on the same faces.
    platform::PixelImage sheet;
    ASSERT_TRUE(platform::LoadBmpFile(kAssets + "theme_bmp/Default/cards_big.bmp", sheet));
    ASSERT_EQ(sheet.width, 13 * 71);
    GdiCanvas canvas(71, 96);
    CDC* dc = CDC::FromHandle(canvas.dc());
    for (int code = 0; code < kCardCodeCount; ++code) {
        const int kind = code % kDeckSize;
        canvas.Fill(kFelt);
        ASSERT_EQ(cards.ShowCard(dc, CardFaceCode(kind), 0, 0, 0, 0, kCardSize71x96, 0, 0), 1)
            << code;
        const int cx = (kind % 13) * 71, cy = (kind / 13) * 96;
        int compared = 0;
        for (int y = 0; y < 96; ++y)
            for (int x = 0; x < 71; ++x) {
                const uint32_t mask = sheet.At(3 * 71 + x, 4 * 96 + y) & 0xFFFFFF;
                if (mask == 0) { // inside the outline
                    ASSERT_EQ(canvas.At(x, y), sheet.At(cx + x, cy + y) & 0xFFFFFF)
                        << "code " << code << " at " << x << "," << y;
                    ++compared;
                } else {
                    ASSERT_EQ(canvas.At(x, y), kFelt) << "corner of code " << code;
                }
            }
        EXPECT_GT(compared, 71 * 96 * 9 / 10);
    }
}

TEST_F(CardFacesTest, TableSizeFacesCarryRankAndSuitInTheFannedStrip) {
    // At 54 x 72, 15 pixels apart: the index and its suit sign stand in the
    // first 13 columns, red for diamonds and hearts, dark for clubs and
    // spades; every face there differs from every other.
    GdiCanvas canvas(54, 72);
    CDC* dc = CDC::FromHandle(canvas.dc());
    std::set<std::vector<uint32_t>> strips;
    for (int kind = 0; kind < kDeckSize; ++kind) {
        canvas.Fill(kFelt);
        ASSERT_EQ(cards.ShowCard(dc, CardFaceCode(kind), 0, 0, 0, 0, kCardSize54x72, 0, 0), 1);
        int red = 0, dark = 0;
        for (int y = 2; y < 40; ++y) // inside the outline
            for (int x = 2; x < 13; ++x) {
                red += IsRedInk(canvas.At(x, y));
                dark += IsDarkInk(canvas.At(x, y));
            }
        const bool redSuit = kind == 53 || (kind < 52 && (kind / 13 == 0 || kind / 13 == 2));
        if (redSuit) {
            EXPECT_GT(red, 20) << kind;
            EXPECT_LT(dark, red / 4) << kind;
        } else {
            EXPECT_GT(dark, 20) << kind;
            EXPECT_LT(red, dark / 4) << kind;
        }
        strips.insert(BoxPixels(canvas, 0, 0, 13, 40));
    }
    EXPECT_EQ(strips.size(), size_t(kDeckSize));
}

TEST_F(CardFacesTest, SheetOfEveryFaceAtEverySize) {
    // For a person to look at: each size's 55 pictures in rows of 13, the
    // table-size row also fanned 15 pixels apart as the last-card pane does.
    const struct {
        WORD size;
        int w, h;
    } sizes[] = {{1, 54, 72}, {2, 42, 56}, {4, 27, 38}, {8, 71, 96}};
    int height = 0;
    for (const auto& s : sizes)
        height += 5 * (s.h + 4);
    GdiCanvas canvas(13 * 75 + 10, height + 100);
    canvas.Fill(kFelt);
    CDC* dc = CDC::FromHandle(canvas.dc());
    int top = 0, drawn = 0;
    for (const auto& s : sizes) {
        for (int i = 0; i < 55; ++i) {
            const WORD code = i < 54 ? CardFaceCode(i) : WORD(62);
            drawn += cards.ShowCard(dc, code, WORD(4 + (i % 13) * (s.w + 4)),
                                    WORD(top + (i / 13) * (s.h + 4)), 0, 0, s.size, 0, 0);
        }
        top += 5 * (s.h + 4);
    }
    for (int i = 0; i < 20; ++i)
        drawn += cards.ShowCard(dc, CardFaceCode(i * 53 / 19), WORD(4 + 15 * i), WORD(top + 10), 0,
                                0, kCardSize54x72, 0, 0);
    EXPECT_EQ(drawn, 4 * 55 + 20);
    SaveSheet("card_faces.png", CanvasImage(canvas));
}

TEST_F(CardFacesTest, CodesThatAreNoCardDrawNothing) {
    GdiCanvas canvas(80, 100);
    CDC* dc = CDC::FromHandle(canvas.dc());
    canvas.Fill(kFelt);
    // Suit codes 0 and 5 and up, values 0, 14 (but for the jokers and back), 15.
    for (WORD code : {0, 5, 14, 15, 16, 31, 47, 63, 64, 78, 79, 80, 0xFFFF}) {
        EXPECT_EQ(cards.ShowCard(dc, code, 0, 0, 0, 0, kCardSize54x72, 0, 0), Cards::kNotDrawn)
            << code;
    }
    EXPECT_EQ(cards.ShowCard(nullptr, 17, 0, 0, 0, 0, 1, 0, 0), Cards::kNoDc);
    for (WORD size : {0, 3, 16, 0xFFFF})
        EXPECT_EQ(cards.ShowCard(dc, 17, 0, 0, 0, 0, size, 0, 0), Cards::kBadSize) << size;
    Cards unready;
    EXPECT_EQ(unready.ShowCard(dc, 17, 0, 0, 0, 0, 1, 0, 0), Cards::kNotDrawn);
    for (uint32_t p : canvas.Pixels())
        ASSERT_EQ(p, kFelt);
}

TEST_F(CardFacesTest, SizesStretchAndSourceParts) {
    GdiCanvas canvas(200, 200);
    CDC* dc = CDC::FromHandle(canvas.dc());
    const struct {
        WORD size;
        int w, h;
    } sizes[] = {{1, 54, 72}, {2, 42, 56}, {4, 27, 38}, {8, 71, 96}};
    for (const auto& s : sizes) {
        canvas.Fill(kFelt);
        ASSERT_EQ(cards.ShowCard(dc, 62, 10, 20, 0, 0, s.size, 0, 0), 1);
        // The back's centre is drawn; just outside the card nothing is.
        EXPECT_NE(canvas.At(10 + s.w / 2, 20 + s.h / 2), kFelt) << s.size;
        EXPECT_EQ(canvas.At(10 + s.w, 20 + s.h / 2), kFelt) << s.size;
        EXPECT_EQ(canvas.At(10 + s.w / 2, 20 + s.h), kFelt) << s.size;
        EXPECT_EQ(canvas.At(9, 20 + s.h / 2), kFelt) << s.size;
    }
    // Stretched to 108 x 144 the card covers the larger box.
    canvas.Fill(kFelt);
    cards.ShowCard(dc, 17, 0, 0, 108, 144, 1, 0, 0);
    EXPECT_NE(canvas.At(100, 130), kFelt);
    EXPECT_EQ(canvas.At(110, 130), kFelt);
    // The left 27 columns of the face fill the whole 54 x 72: the corner
    // index grows to twice its width.
    GdiCanvas whole(54, 72), part(54, 72);
    whole.Fill(kFelt);
    part.Fill(kFelt);
    cards.ShowCard(CDC::FromHandle(whole.dc()), 17, 0, 0, 108, 72, 1, 0, 0);
    cards.ShowCard(CDC::FromHandle(part.dc()), 17, 0, 0, 0, 0, 1, 27, 0);
    EXPECT_EQ(whole.Pixels(), part.Pixels());
    // A source part larger than the face is held to the face: the
    // neighbouring cell never shows.
    whole.Fill(kFelt);
    part.Fill(kFelt);
    cards.ShowCard(CDC::FromHandle(whole.dc()), 17, 0, 0, 0, 0, 1, 0, 0);
    cards.ShowCard(CDC::FromHandle(part.dc()), 17, 0, 0, 0, 0, 1, 500, 500);
    EXPECT_EQ(whole.Pixels(), part.Pixels());
}

TEST_F(CardFacesTest, TheModuleIsKnownByItsName) {
    BuiltinModuleDefinition module;
    ASSERT_TRUE(FindBuiltinModule("KNCards.dll", module));
    EXPECT_TRUE(module.hasVersionInfo);
}

} // namespace
