// The card painter: card kinds become the library's codes, and a custom
// sheet replaces the jokers and the back at its size only for the faces its
// options name; everything else goes to the card-face library unchanged.

#include "table/cards/CardPainter.h"
#include "tests/table/TableTestKit.h"

namespace {

using namespace table_test;

const uint32_t kFelt = 0x00206040;
const uint32_t kBigJoker = 0x00C00000, kSmallJoker = 0x0000C000, kBack = 0x000000C0;

TEST(CardFaceCodeTest, KindsBecomeSuitCodeTimesSixteenPlusValue) {
    EXPECT_EQ(CardFaceCode(11), 49);      // ace of diamonds: suit code 3, value 1
    EXPECT_EQ(CardFaceCode(12), 50);      // the 2 of diamonds
    EXPECT_EQ(CardFaceCode(0), 51);       // the 3 of diamonds
    EXPECT_EQ(CardFaceCode(13), 67);      // the 3 of clubs: suit code 4
    EXPECT_EQ(CardFaceCode(26 + 10), 45); // king of hearts: suit code 2, value 13
    EXPECT_EQ(CardFaceCode(39 + 7), 26);  // the 10 of spades: suit code 1
    EXPECT_EQ(CardFaceCode(52), kCodeSmallJoker);
    EXPECT_EQ(CardFaceCode(53), kCodeBigJoker);
    EXPECT_EQ(CardFaceCode(54), 0);
    EXPECT_EQ(CardFaceCode(255), 0);
    EXPECT_EQ(CardFaceCode(-1), 0);
}

// A resource library of its own: sheet 501 of 54 x 72 cells in three
// colours, its mask cell black inside a 2-pixel white frame (where the
// faces are black).
class CardPainterTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteBmp(folder.File("sheet.bmp"), Picture(108, 144, [](int x, int y) -> uint32_t {
                     const int cx = x % 54, cy = y % 72;
                     const bool frame = cx < 2 || cx >= 52 || cy < 2 || cy >= 70;
                     if (x >= 54 && y >= 72)
                         return frame ? 0xFFFFFF : 0;
                     if (frame) // faces are black outside the card
                         return 0;
                     if (x < 54)
                         return y < 72 ? kBigJoker : kSmallJoker;
                     return kBack;
                 }));
        std::string error;
        ASSERT_TRUE(RegisterResourceModuleText("PainterTest.dll", "501 BITMAP \"sheet.bmp\"\n",
                                               folder.Path(), &error))
            << error;
        module = LoadLibrary("PainterTest.dll");
        saved = AfxGetResourceHandle();
        AfxSetResourceHandle(module);
        ASSERT_EQ(painter.Initialization(1), 1);
        canvas.Fill(kFelt);
    }
    void TearDown() override {
        AfxSetResourceHandle(saved);
        FreeLibrary(module);
        UnregisterResourceModule("PainterTest.dll");
    }
    // Every pixel of the box is the colour (the frame of 2 shows the felt),
    // and nothing outside it was touched.
    void ExpectSheetCell(int x, int y, int w, int h, uint32_t colour) {
        for (int py = 0; py < canvas.height(); ++py)
            for (int px = 0; px < canvas.width(); ++px) {
                const bool inBox = px >= x && px < x + w && py >= y && py < y + h;
                const int fx = w * 2 / 54, fy = h * 2 / 72; // the frame, scaled
                const bool inner =
                    px >= x + fx && px < x + w - fx && py >= y + fy && py < y + h - fy;
                ASSERT_EQ(canvas.At(px, py), inBox && inner ? colour : kFelt) << px << "," << py;
            }
    }
    TempFolder folder;
    HMODULE module = nullptr;
    HINSTANCE saved = nullptr;
    CCardPainter painter;
    GdiCanvas canvas{160, 200};
    CDC* dc = CDC::FromHandle(canvas.dc());
};

TEST_F(CardPainterTest, SheetFacesAreDrawnFromTheSheetThroughItsMask) {
    ASSERT_TRUE(painter.AddCustomSheet(kCardSize54x72, 501, 7));
    EXPECT_EQ(painter.GetLoaded(), kCardSize54x72);
    EXPECT_EQ(painter.GetOptions(kCardSize54x72), 7);
    EXPECT_EQ(painter.ShowCard(dc, kCodeBigJoker, 10, 20, 0, 0, kCardSize54x72, 0, 0), 1);
    ExpectSheetCell(10, 20, 54, 72, kBigJoker);
    canvas.Fill(kFelt);
    painter.ShowCard(dc, kCodeSmallJoker, 0, 0, 0, 0, kCardSize54x72, 0, 0);
    ExpectSheetCell(0, 0, 54, 72, kSmallJoker);
    canvas.Fill(kFelt);
    // Stretched into 108 x 144.
    painter.ShowCard(dc, kCodeBack, 30, 40, 108, 144, kCardSize54x72, 0, 0);
    ExpectSheetCell(30, 40, 108, 144, kBack);
}

TEST_F(CardPainterTest, OtherCardsSizesAndOptionsGoToTheLibrary) {
    ASSERT_TRUE(painter.AddCustomSheet(kCardSize54x72, 501, kSheetBigJoker));
    Cards library;
    library.Initialization(1);
    GdiCanvas expected(160, 200);
    CDC* expectedDc = CDC::FromHandle(expected.dc());
    const struct {
        WORD code, size;
    } cases[] = {{17, kCardSize54x72},              // the ace of spades
                 {kCodeBack, kCardSize54x72},       // the sheet does not take the back
                 {kCodeSmallJoker, kCardSize54x72}, // nor the small joker
                 {kCodeBigJoker, kCardSize71x96}};  // no sheet of that size
    for (const auto& c : cases) {
        canvas.Fill(kFelt);
        expected.Fill(kFelt);
        EXPECT_EQ(painter.ShowCard(dc, c.code, 5, 6, 0, 0, c.size, 0, 0), 1) << c.code;
        library.ShowCard(expectedDc, c.code, 5, 6, 0, 0, c.size, 0, 0);
        EXPECT_EQ(canvas.Pixels(), expected.Pixels()) << c.code;
    }
    // Code 31 is no card: the library's refusal comes back, nothing drawn.
    canvas.Fill(kFelt);
    EXPECT_EQ(painter.ShowCard(dc, 31, 0, 0, 0, 0, kCardSize54x72, 0, 0), Cards::kNotDrawn);
    for (uint32_t p : canvas.Pixels())
        ASSERT_EQ(p, kFelt);
}

TEST_F(CardPainterTest, BadSizesAndResourcesLeaveNoSheet) {
    EXPECT_FALSE(painter.AddCustomSheet(3, 501, 7));
    EXPECT_FALSE(painter.AddCustomSheet(16, 501, 7));
    EXPECT_FALSE(painter.AddCustomSheet(kCardSize54x72, 599, 7)); // no such resource
    EXPECT_EQ(painter.GetLoaded(), 0);
    EXPECT_EQ(painter.GetOptions(kCardSize54x72), 0);
    // A failed load keeps the sheet held before.
    ASSERT_TRUE(painter.AddCustomSheet(kCardSize54x72, 501, 7));
    EXPECT_FALSE(painter.AddCustomSheet(kCardSize54x72, 599, 1));
    EXPECT_EQ(painter.GetOptions(kCardSize54x72), 7);
    EXPECT_EQ(painter.ShowCard(nullptr, kCodeBigJoker, 0, 0, 0, 0, kCardSize54x72, 0, 0),
              Cards::kNoDc);
    EXPECT_EQ(painter.ShowCard(dc, kCodeBigJoker, 0, 0, 0, 0, 3, 0, 0), Cards::kBadSize);
    EXPECT_EQ(painter.ShowCard(dc, 17, 0, 0, 0, 0, 0, 0, 0), Cards::kBadSize);
    for (uint32_t p : canvas.Pixels())
        ASSERT_EQ(p, kFelt);
}

TEST_F(CardPainterTest, SourcePartsStayInTheirCell) {
    ASSERT_TRUE(painter.AddCustomSheet(kCardSize54x72, 501, 7));
    // A source wider than the cell is held to the cell: no back pixels
    // come in beside the big joker.
    painter.ShowCard(dc, kCodeBigJoker, 0, 0, 54, 72, kCardSize54x72, 200, 72);
    for (int y = 0; y < 72; ++y)
        for (int x = 0; x < 54; ++x)
            ASSERT_NE(canvas.At(x, y), kBack) << x << "," << y;
}

TEST(ProgramCardSheetTest, ResourceSheetHasTheFacesAndTheSharedMask) {
    ProgramResources resources;
    ASSERT_TRUE(resources.registered);
    CCardPainter painter;
    painter.Initialization(1);
    ASSERT_TRUE(painter.AddCustomSheet(kCardSize54x72, 3008, 7));
    platform::PixelImage sheet;
    ASSERT_TRUE(platform::LoadBmpFile(kAssets + "card_sheet.bmp", sheet));
    ASSERT_EQ(sheet.width, 108);
    ASSERT_EQ(sheet.height, 144);
    // The mask: black inside the outline, white in the rounded corners.
    EXPECT_EQ(sheet.At(54, 72) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(sheet.At(81, 108) & 0xFFFFFF, 0u);
    GdiCanvas canvas(54 * 3, 72);
    canvas.Fill(kFelt);
    CDC* dc = CDC::FromHandle(canvas.dc());
    const WORD codes[3] = {kCodeBigJoker, kCodeSmallJoker, kCodeBack};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(painter.ShowCard(dc, codes[i], WORD(54 * i), 0, 0, 0, 1, 0, 0), 1);
    EXPECT_EQ(canvas.At(0, 0), kFelt); // corners keep the table
    int red = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 13; ++x)
            red += IsRedInk(canvas.At(x, y)); // the big joker's red "JOKER"
    EXPECT_GT(red, 20);
    SaveSheet("custom_sheet_faces.png", CanvasImage(canvas));
}

} // namespace
