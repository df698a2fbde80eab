// The frame skin without a window: loading and its fall-backs, the caption
// buttons' places, hit-testing, the outline, and the painted frame's pixels.

#include "app/SkinFrameDraw.h"
#include "tests/app/SkinFixture.h"

#include "platform/gdi/Gdi.h"
#include "sprite/MemDC.h"

using namespace app_test;
using skin::FrameState;

namespace {

class SkinFrameTest : public ::testing::Test {
protected:
    SkinFolder folder;
    CSkinFrame frame;

    void LoadFull(const std::string& extra = "") {
        folder.WriteFull(extra);
        ASSERT_TRUE(frame.LoadSkin(folder.layout.c_str(), folder.bitmaps.c_str()));
    }
    static FrameState State(int w, int h, DWORD style, std::vector<int> users = {}) {
        FrameState state;
        state.width = w;
        state.height = h;
        state.style = style;
        state.userButtons = std::move(users);
        return state;
    }
};

constexpr DWORD kMainStyle =
    WS_POPUP | WS_SYSMENU | WS_MAXIMIZEBOX | WS_MINIMIZEBOX | WS_THICKFRAME;

TEST_F(SkinFrameTest, CaptionButtonsArePlacedFromTheRightWithTheGap) {
    LoadFull();
    EXPECT_EQ(frame.GetFrameSize(0), 4);
    EXPECT_EQ(frame.GetFrameSize(1), 24);
    EXPECT_EQ(frame.GetFrameSize(2), 4);
    EXPECT_EQ(frame.GetFrameSize(3), 4);
    const FrameState state = State(1024, 700, kMainStyle, {0, 2});
    const int expectedX[] = {968, 940, 912, 884, 856};
    const int hits[] = {HTCLOSE, HTMAXBUTTON, HTMINBUTTON, 50, 52};
    for (int i = 0; i < 5; ++i) {
        const skin::PlacedButton button = skin::PlaceButton(frame, state, hits[i]);
        EXPECT_EQ(button.rect.left, expectedX[i]) << hits[i];
        EXPECT_EQ(button.rect.top, 4) << hits[i];
        EXPECT_EQ(button.rect.Width(), 26) << hits[i];
        EXPECT_EQ(button.rect.Height(), 18) << hits[i];
    }
    // A user button the window does not show has no place.
    EXPECT_EQ(skin::PlaceButton(frame, state, 51).art, nullptr);
    // Restore takes the maximise button's place while zoomed.
    FrameState zoomed = state;
    zoomed.zoomed = TRUE;
    const skin::PlacedButton restore = skin::PlaceButton(frame, zoomed, HTMAXBUTTON);
    EXPECT_EQ(restore.rect.left, 940);
    EXPECT_EQ(restore.art, &frame.m_sysButtons[CSkinFrame::SYS_RESTORE]);
    // Without the system menu the row starts with maximise.
    EXPECT_EQ(skin::PlaceButton(frame, State(1024, 700, WS_POPUP | WS_MAXIMIZEBOX), HTMAXBUTTON)
                  .rect.left,
              968);
}

TEST_F(SkinFrameTest, AButtonWithAPlaceOfItsOwnKeepsItAndMovesTheRowOn) {
    folder.WriteFull();
    std::string text;
    ReadWholeFile(folder.layout, text, size_t(1) << 30);
    const size_t at = text.find("bmp_close=close.bmp\n");
    text.insert(at, "pos_close=-10,2\n");
    folder.Write(text);
    ASSERT_TRUE(frame.LoadSkin(folder.layout.c_str(), folder.bitmaps.c_str()));
    const FrameState state = State(500, 300, kMainStyle);
    EXPECT_EQ(skin::PlaceButton(frame, state, HTCLOSE).rect.left, 500 - 10 - 26);
    EXPECT_EQ(skin::PlaceButton(frame, state, HTCLOSE).rect.top, 2);
    EXPECT_EQ(skin::PlaceButton(frame, state, HTMAXBUTTON).rect.left, 500 - 38 - 26);
}

TEST_F(SkinFrameTest, HitTestingFollowsTheFrameAndTheStyle) {
    LoadFull();
    FrameState state = State(600, 400, kMainStyle, {0});
    EXPECT_EQ(skin::HitTest(frame, state, {100, 3}), HTTOP);
    EXPECT_EQ(skin::HitTest(frame, state, {100, 10}), HTCAPTION);
    EXPECT_EQ(skin::HitTest(frame, state, {100, 200}), HTCLIENT);
    EXPECT_EQ(skin::HitTest(frame, state, {100, 398}), HTBOTTOM);
    EXPECT_EQ(skin::HitTest(frame, state, {1, 2}), HTTOPLEFT);
    EXPECT_EQ(skin::HitTest(frame, state, {598, 200}), HTRIGHT);
    EXPECT_EQ(skin::HitTest(frame, state, {2, 399}), HTBOTTOMLEFT);
    EXPECT_EQ(skin::HitTest(frame, state, {15, 12}), HTSYSMENU); // the icon area
    EXPECT_EQ(skin::HitTest(frame, state, {600 - 30 - 13, 10}), HTCLOSE);
    EXPECT_EQ(skin::HitTest(frame, state, {600 - 58 - 13, 10}), HTMAXBUTTON);
    EXPECT_EQ(skin::HitTest(frame, state, {600 - 86 - 13, 10}), HTMINBUTTON);
    EXPECT_EQ(skin::HitTest(frame, state, {600 - 114 - 13, 10}), 50);

    frame.m_userButtons[0].art.enabled = FALSE;
    EXPECT_EQ(skin::HitTest(frame, state, {600 - 114 - 13, 10}), HTNOWHERE);

    // Zoomed or fixed-size windows have no sizing codes.
    state.zoomed = TRUE;
    EXPECT_EQ(skin::HitTest(frame, state, {100, 3}), HTCAPTION);
    EXPECT_EQ(skin::HitTest(frame, state, {1, 200}), HTCLIENT);
    const FrameState fixed = State(600, 400, WS_POPUP | WS_MINIMIZEBOX);
    EXPECT_EQ(skin::HitTest(frame, fixed, {100, 3}), HTCAPTION);
    EXPECT_EQ(skin::HitTest(frame, fixed, {15, 12}), HTCAPTION);
    // The maximise place without its style answers nothing.
    EXPECT_EQ(skin::HitTest(frame, fixed, {600 - 30 - 13, 10}), HTNOWHERE);
    EXPECT_EQ(skin::HitTest(frame, fixed, {600 - 58 - 13, 10}), HTMINBUTTON);
}

TEST_F(SkinFrameTest, MissingColoursTakeTheOneReadBefore) {
    folder.WriteFull("", false);
    ASSERT_TRUE(frame.LoadSkin(folder.layout.c_str(), folder.bitmaps.c_str()));
    EXPECT_EQ(frame.m_clrKey, RGB(255, 0, 255));  // from color_transparent
    EXPECT_EQ(frame.m_clrText, RGB(255, 0, 255)); // from KEYCOLOR
    EXPECT_EQ(frame.m_clrTextInactive, RGB(10, 20, 30));

    folder.Write("[FRAME]\ncolor_transparent=1,2,3\nTextColor=4,5,x\n[DEFAULT]\nKEYCOLOR=7,8,9\n");
    frame.LoadSkin(folder.layout.c_str(), folder.bitmaps.c_str());
    EXPECT_EQ(frame.m_clrKey, RGB(7, 8, 9));
    EXPECT_EQ(frame.m_clrText, RGB(7, 8, 9)); // unreadable
    EXPECT_EQ(frame.m_clrTextInactive, RGB(7, 8, 9));
}

TEST_F(SkinFrameTest, TheOutlineCutsTheCornersOfTheOutlineColourOnly) {
    LoadFull();
    HRGN region = skin::MakeRegion(frame, 300, 200);
    ASSERT_NE(region, nullptr);
    EXPECT_FALSE(PtInRegion(region, 0, 0));
    EXPECT_FALSE(PtInRegion(region, 1, 0));
    EXPECT_TRUE(PtInRegion(region, 2, 0));
    EXPECT_TRUE(PtInRegion(region, 0, 1));
    EXPECT_FALSE(PtInRegion(region, 299, 0));
    EXPECT_FALSE(PtInRegion(region, 298, 0));
    EXPECT_FALSE(PtInRegion(region, 0, 199));
    EXPECT_FALSE(PtInRegion(region, 299, 199));
    EXPECT_TRUE(PtInRegion(region, 150, 100));
    DeleteObject(region);

    // A white outline keeps the window rectangular, even with roundmax.
    frame.m_clrTransparent = RGB(255, 255, 255);
    EXPECT_EQ(skin::MakeRegion(frame, 300, 200), nullptr);
}

// The frame painted into a canvas first filled black, as pixels 0x00RRGGBB.
class Canvas {
public:
    Canvas(int w, int h) : width(w), height(h) {
        HDC screen = GetDC(nullptr);
        dc = CreateCompatibleDC(screen);
        bitmap = CreateCompatibleBitmap(screen, w, h);
        ReleaseDC(nullptr, screen);
        old = SelectObject(dc, bitmap);
        RECT all{0, 0, w, h};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
    ~Canvas() {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    uint32_t At(int x, int y) {
        SelectObject(dc, old);
        std::vector<uint32_t> pixels;
        ReadBitmapPixels(bitmap, CSize(width, height), pixels);
        SelectObject(dc, bitmap);
        return pixels[size_t(y) * width + x];
    }
    void Save(const std::string& name) {
        SelectObject(dc, old);
        std::vector<uint32_t> pixels;
        ReadBitmapPixels(bitmap, CSize(width, height), pixels);
        SelectObject(dc, bitmap);
        platform::PixelImage image;
        image.Reset(width, height);
        image.pixels = pixels;
        platform::SavePngFile(OutputPath(name), image);
    }
    int width, height;
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
};

TEST_F(SkinFrameTest, ThePaintedFrameShowsEachPieceAndButtonState) {
    LoadFull();
    const int w = 400, h = 300;
    FrameState state = State(w, h, kMainStyle, {0});
    Canvas active(w, h);
    skin::PaintFrame(frame, active.dc, state, "Pellor");
    EXPECT_EQ(active.At(2, 2), kTitleActive) << "title left";
    EXPECT_EQ(active.At(100, 22), kTitleActive) << "title centre";
    EXPECT_EQ(active.At(w - 182 + 3, 22), kTitleCenterA) << "the A piece of the usual look";
    EXPECT_EQ(active.At(1, 100), kBorder);
    EXPECT_EQ(active.At(w - 2, 100), kBorder);
    EXPECT_EQ(active.At(w - 2, 24 + 140), kBorderA) << "the right band 138-144 below the title";
    EXPECT_EQ(active.At(100, h - 2), kBottom);
    EXPECT_EQ(active.At(w - 178, h - 2), kBorderA) << "the bottom band 182-175 from the right";
    EXPECT_EQ(active.At(150, 150), 0u) << "the client area is left alone";
    // Buttons in frame 0, the key column showing the title beneath.
    EXPECT_EQ(active.At(w - 30 - 13, 10), kFrameColours[0]);
    EXPECT_EQ(active.At(w - 30 - 26, 10), kTitleActive);
    // The caption is drawn somewhere right of the title-left piece.
    int captionPixels = 0;
    for (int x = 8; x < 80; ++x)
        for (int y = 0; y < 24; ++y)
            captionPixels += active.At(x, y) != kTitleActive;
    EXPECT_GT(captionPixels, 20);
    active.Save("frame_active.png");

    state.active = FALSE;
    Canvas inactive(w, h);
    skin::PaintFrame(frame, inactive.dc, state, "Pellor");
    EXPECT_EQ(inactive.At(100, 22), kTitleInactive);
    EXPECT_EQ(inactive.At(w - 2, 2), kTitleInactive) << "title right NA";
    bool captionInInactiveColour = false;
    for (int x = 8; x < 80 && !captionInInactiveColour; ++x)
        for (int y = 0; y < 24; ++y)
            captionInInactiveColour |= inactive.At(x, y) == 0x0A141E;
    EXPECT_TRUE(captionInInactiveColour);
    inactive.Save("frame_inactive.png");

    frame.m_bAltLook = TRUE;
    state.active = TRUE;
    Canvas alt(w, h);
    skin::PaintFrame(frame, alt.dc, state, "Pellor");
    EXPECT_EQ(alt.At(w - 2, 2), kTitleRightA);
    EXPECT_EQ(alt.At(w - 182 + 3, 22), kTitleActive) << "no A piece in the alternative look";
    EXPECT_EQ(alt.At(w - 2, 100), kBorderA) << "the whole right border";
    EXPECT_EQ(alt.At(w - 178, h - 2), kBottom);
    EXPECT_EQ(alt.At(w - 2, h - 2), kBorderA) << "bottom right A";
    alt.Save("frame_alternative.png");
}

TEST_F(SkinFrameTest, ButtonsShowTheirStatesAndStylesDisableThem) {
    LoadFull();
    const int w = 400, h = 200;
    FrameState state = State(w, h, WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX, {0});
    frame.m_userButtons[0].art.enabled = FALSE;
    Canvas canvas(w, h);
    skin::PaintFrame(frame, canvas.dc, state, "");
    EXPECT_EQ(canvas.At(w - 30 - 13, 10), kFrameColours[0]) << "close";
    EXPECT_EQ(canvas.At(w - 58 - 13, 10), kFrameColours[3]) << "maximise without its style";
    EXPECT_EQ(canvas.At(w - 86 - 13, 10), kFrameColours[0]) << "minimise";
    EXPECT_EQ(canvas.At(w - 114 - 13, 10), kFrameColours[3]) << "disabled user button";
    for (int s = 0; s < 4; ++s) {
        skin::DrawButton(frame, canvas.dc, state, HTCLOSE, s);
        EXPECT_EQ(canvas.At(w - 30 - 13, 10), kFrameColours[s]) << "state " << s;
    }
}

TEST_F(SkinFrameTest, MissingPiecesAreLoggedAndTheRestStillPaints) {
    folder.WriteFull();
    std::remove((folder.bitmaps + "/titlecenterA.bmp").c_str());
    std::remove((folder.bitmaps + "/min.bmp").c_str());
    EXPECT_FALSE(frame.LoadSkin(folder.layout.c_str(), folder.bitmaps.c_str()));
    EXPECT_NE(folder.Log().find("bmp_titlecenterA \"titlecenterA.bmp\" did not load"),
              std::string::npos)
        << folder.Log();
    EXPECT_NE(folder.Log().find("bmp_min"), std::string::npos);
    const int w = 300;
    Canvas canvas(w, 200);
    skin::PaintFrame(frame, canvas.dc, State(w, 200, kMainStyle), "x");
    EXPECT_EQ(canvas.At(w - 182 + 3, 22), kTitleActive) << "the title without its A piece";
    EXPECT_EQ(canvas.At(1, 100), kBorder);
    EXPECT_EQ(canvas.At(w - 30 - 13, 10), kFrameColours[0]) << "close is still there";
    // The minimise button has no picture and no width: the next button moves up.
    EXPECT_EQ(skin::PlaceButton(frame, State(w, 200, kMainStyle), HTMINBUTTON).rect.Width(), 0);

    // Without the title piece the frame has no title: the client area takes it.
    std::remove((folder.bitmaps + "/titlecenter.bmp").c_str());
    EXPECT_FALSE(frame.LoadSkin(folder.layout.c_str(), folder.bitmaps.c_str()));
    EXPECT_EQ(frame.GetFrameSize(1), 0);
    EXPECT_EQ(skin::ClientInside(frame, CRect(0, 0, w, 200)).top, 0);
}

TEST_F(SkinFrameTest, ALayoutWithoutTheFrameSectionsGivesNoFrameAndSaysSo) {
    folder.Write("[MAIN]\nBORDER=40\n[USER_BUTTON]\ncount=100000\n");
    EXPECT_FALSE(frame.LoadSkin(folder.layout.c_str(), folder.bitmaps.c_str()));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(frame.GetFrameSize(i), 0);
    EXPECT_EQ(frame.m_userButtons.size(), size_t(CSkinFrame::kMaxUserButtons));
    EXPECT_NE(folder.Log().find("user buttons asked for"), std::string::npos);
    const FrameState state = State(300, 200, kMainStyle);
    EXPECT_EQ(skin::HitTest(frame, state, {100, 100}), HTCLIENT);
    EXPECT_EQ(skin::MakeRegion(frame, 300, 200), nullptr);
    Canvas canvas(300, 200);
    skin::PaintFrame(frame, canvas.dc, state, "x"); // nothing to draw, nothing breaks
    EXPECT_EQ(canvas.At(150, 100), 0u);
}

} // namespace
