// The panes cut from cell strips: each value picks its picture cell and the
// alpha cell that belongs to it; values beyond the strip draw nothing (or,
// for the countdown, the nearest the two digits show).

#include "table/panes/CellPaneImages.h"
#include "tests/table/TableTestKit.h"

namespace {

using namespace table_test;

const uint32_t kFelt = 0x00206040;

uint32_t CellColour(int cell) {
    return platform::MakePixel(20 + cell * 10, 200 - cell * 7, 40 + cell * 5);
}

class CellPanesTest : public ::testing::Test {
protected:
    void SetUp() override {
        panes.Layout("[PANE_COUNTDOWN]\nCountDown_bmp=digits.bmp\n"
                     "[PANE_REMNANT]\nRemnantCard_bmp=remnant.bmp\n"
                     "[PANE_MULTIPLE]\nRemnantCard_bmp=multiple.bmp\n"
                     "[PANE_GOUSJ]\nGouSJ_bmp=gousj.bmp\n"
                     "[PANE_BROKEN]\nCountDown_bmp=broken.bmp\nGouSJ_bmp=narrow.bmp\n");
        // Digits 0..9 then their alphas (white): cells of 10 x 16.
        panes.Bitmap("digits.bmp", Picture(200, 16, [](int x, int) {
                         return x < 100 ? CellColour(x / 10) : 0xFFFFFFu;
                     }));
        // Ten pictures and ten alphas of 8 x 8; only alpha cell 12 opaque.
        panes.Bitmap("remnant.bmp", Picture(160, 8, [](int x, int) {
                         const int cell = x / 8;
                         return cell < 10 ? CellColour(cell) : cell == 12 ? 0xFFFFFFu : 0u;
                     }));
        // Five and five; alpha cells opaque.
        panes.Bitmap("multiple.bmp", Picture(80, 8, [](int x, int) {
                         return x < 40 ? CellColour(x / 8) : 0xFFFFFFu;
                     }));
        // Three pictures; the shared alpha opaque in its left half only.
        panes.Bitmap("gousj.bmp", Picture(48, 6, [](int x, int) {
                         return x < 36 ? CellColour(x / 12) : x < 42 ? 0xFFFFFFu : 0u;
                     }));
        panes.Bytes("broken.bmp", "BM not a bitmap at all");
        panes.Bitmap("narrow.bmp", Picture(3, 6, [](int, int) { return 0u; }));
        canvas.Fill(kFelt);
    }
    const char* File() const { return panes.layoutFile.c_str(); }
    // The w x h box at (x, y) is of one colour.
    void ExpectBox(int x, int y, int w, int h, uint32_t colour) {
        for (int py = y; py < y + h; ++py)
            for (int px = x; px < x + w; ++px)
                ASSERT_TRUE(Near(canvas.At(px, py), colour))
                    << px << "," << py << ": " << std::hex << canvas.At(px, py) << " not "
                    << colour;
    }
    void ExpectUntouched() {
        for (uint32_t p : canvas.Pixels())
            ASSERT_EQ(p, kFelt);
    }
    PaneFolder panes;
    GdiCanvas canvas{64, 32};
};

TEST_F(CellPanesTest, CountdownDrawsTensAtZeroAndUnitsAtTen) {
    CCountdownPaneImage pane(1033);
    ASSERT_TRUE(pane.LoadCountDownPane(File(), "PANE_COUNTDOWN"));
    EXPECT_EQ(pane.m_cx, 20);
    EXPECT_EQ(pane.m_cy, 16);
    pane.m_nValue = 7;
    DrawWhole(pane, canvas, 4, 2);
    ExpectBox(4, 2, 10, 16, CellColour(0));
    ExpectBox(14, 2, 10, 16, CellColour(7));
    ExpectBox(24, 2, 10, 16, kFelt);
    // Beyond two digits the strip has no cells: held to 99 and 0.
    pane.m_nValue = 150;
    DrawWhole(pane, canvas, 4, 2);
    ExpectBox(4, 2, 20, 16, CellColour(9));
    pane.m_nValue = -3;
    DrawWhole(pane, canvas, 4, 2);
    ExpectBox(4, 2, 20, 16, CellColour(0));
}

TEST_F(CellPanesTest, RemnantBlendsItsCellThroughTheMatchingAlpha) {
    CRemnantPaneImage pane(1014);
    ASSERT_TRUE(pane.LoadRemnantCardPane(File(), "PANE_REMNANT", FALSE));
    EXPECT_EQ(pane.m_cx, 8);
    pane.m_nValue = 3; // picture cell 2 through alpha cell 12, the only opaque one
    DrawWhole(pane, canvas, 0, 0);
    ExpectBox(0, 0, 8, 8, CellColour(2));
    canvas.Fill(kFelt);
    pane.m_nValue = 4; // alpha cell 13 is clear
    DrawWhole(pane, canvas, 0, 0);
    pane.m_nValue = 0;
    DrawWhole(pane, canvas, 0, 0);
    pane.m_nValue = 11;
    DrawWhole(pane, canvas, 0, 0);
    ExpectUntouched();
}

TEST_F(CellPanesTest, ShortStripTakesLevelsOneToFiveOnly) {
    CRemnantPaneImage pane(1056);
    ASSERT_TRUE(pane.LoadRemnantCardPane(File(), "PANE_MULTIPLE", TRUE));
    EXPECT_EQ(pane.m_cx, 8);
    pane.m_nValue = 5;
    DrawWhole(pane, canvas, 0, 0);
    ExpectBox(0, 0, 8, 8, CellColour(4));
    canvas.Fill(kFelt);
    // Level 6 would take an alpha cell as its picture and read past the strip.
    pane.m_nValue = 6;
    DrawWhole(pane, canvas, 0, 0);
    ExpectUntouched();
}

TEST_F(CellPanesTest, GouSJSharesTheAlphaInCellThree) {
    CGouSJPaneImage pane(1020);
    ASSERT_TRUE(pane.LoadGouSJPane(File(), "PANE_GOUSJ"));
    EXPECT_EQ(pane.m_cx, 12);
    for (int value = 1; value <= 3; ++value) {
        canvas.Fill(kFelt);
        pane.m_nValue = value;
        DrawWhole(pane, canvas, 0, 0);
        ExpectBox(0, 0, 6, 6, CellColour(value - 1));
        ExpectBox(6, 0, 6, 6, kFelt);
    }
    canvas.Fill(kFelt);
    for (int value : {0, 4, -1}) {
        pane.m_nValue = value;
        DrawWhole(pane, canvas, 0, 0);
    }
    ExpectUntouched();
}

TEST_F(CellPanesTest, MissingBrokenOrNarrowBitmapsLeaveAnEmptyPaneAndALogLine) {
    LogCapture log;
    CCountdownPaneImage missing(1), broken(2);
    EXPECT_FALSE(missing.LoadCountDownPane(File(), "PANE_NONE"));
    EXPECT_FALSE(broken.LoadCountDownPane(File(), "PANE_BROKEN"));
    CGouSJPaneImage narrow(3); // 3 pixels for 4 cells
    EXPECT_FALSE(narrow.LoadGouSJPane(File(), "PANE_BROKEN"));
    CRemnantPaneImage noFile(4);
    EXPECT_FALSE(noFile.LoadRemnantCardPane("/nonexistent/panes.thm", "PANE_REMNANT", FALSE));
    for (CPaneImage* pane :
         std::initializer_list<CPaneImage*>{&missing, &broken, &narrow, &noFile}) {
        EXPECT_EQ(pane->GetSize(nullptr).cx, 0);
        EXPECT_EQ(pane->GetSize(nullptr).cy, 0);
        EXPECT_EQ(pane->GetBitmap(), nullptr);
        pane->Draw(canvas.dc(), 0, nullptr, 0, 0, 20, 20, 0, 0, 255);
    }
    missing.m_nValue = 7;
    missing.Draw(canvas.dc(), 0, nullptr, 0, 0, 20, 16, 0, 0, 255);
    ExpectUntouched();
    const std::string text = log.Text();
    EXPECT_NE(text.find("Pane [PANE_NONE] CountDown_bmp"), std::string::npos) << text;
    EXPECT_NE(text.find("Pane [PANE_BROKEN] CountDown_bmp"), std::string::npos) << text;
    EXPECT_NE(text.find("Pane [PANE_BROKEN] GouSJ_bmp: the bitmap of 3x6 is too small"),
              std::string::npos)
        << text;
    // A pane that loaded once and then fails keeps nothing of the first.
    CCountdownPaneImage reloaded(5);
    ASSERT_TRUE(reloaded.LoadCountDownPane(File(), "PANE_COUNTDOWN"));
    EXPECT_FALSE(reloaded.LoadCountDownPane(File(), "PANE_BROKEN"));
    EXPECT_EQ(reloaded.m_cx, 0);
    EXPECT_EQ(reloaded.GetBitmap(), nullptr);
}

TEST_F(CellPanesTest, AlphaHalfImageTakesOnlyRectanglesThatFit) {
    CAlphaHalfImage image(7);
    HBITMAP bitmap = platform::CreateBitmapFromImage(
        Picture(20, 10, [](int x, int) { return x < 10 ? 0x00123456u : 0x00FFFFFFu; }));
    ASSERT_NE(bitmap, nullptr);
    EXPECT_FALSE(image.SetBitmap(bitmap, RECT{0, 0, 10, 10}, RECT{10, 0, 21, 10}));
    EXPECT_FALSE(image.SetBitmap(bitmap, RECT{0, 0, 10, 10}, RECT{12, 0, 20, 10}));
    ASSERT_TRUE(image.SetBitmap(bitmap));
    EXPECT_EQ(image.m_cx, 10);
    DrawWhole(image, canvas, 1, 1);
    ExpectBox(1, 1, 10, 10, 0x00123456);
    ExpectBox(11, 1, 5, 5, kFelt);
}

} // namespace
