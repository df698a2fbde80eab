#include "SpriteTestKit.h"

#include "platform/images/BmpFile.h"
#include "platform/images/PngFile.h"
#include "platform/system/Profile.h"
#include "sprite/DigitImage.h"
#include "sprite/FrameImage.h"
#include "sprite/GdiRoutines.h"
#include "sprite/Picture.h"
#include "sprite/StateImage.h"
#include "sprite/TextImage.h"

#include <filesystem>
#include <string>

using namespace sprite_test;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
const uint32_t kBack = Rgb(TestSpriteWnd::kBackground);

class CountedImage : public SolidImage {
public:
    CountedImage(bool* deleted) : SolidImage(1, 1, {0}), m_deleted(deleted) {}
    ~CountedImage() override { *m_deleted = true; }

private:
    bool* m_deleted;
};

TEST(SpriteImageListTest, AutofreeImagesGoAtTheirLastReleaseOthersStay) {
    bool keptGone = false, freedGone = false;
    CSpriteImageList list;
    auto* kept = new CountedImage(&keptGone);
    auto* freed = new CountedImage(&freedGone);
    freed->m_bAutoFree = TRUE;
    freed->m_nId = 9;
    POSITION k = list.Add(kept);
    POSITION f = list.Add(freed);
    CSpriteImage* found = nullptr;
    EXPECT_EQ(list.Find(9, &found), f);
    EXPECT_EQ(found, freed);
    list.AddRef(k);
    list.AddRef(f);
    EXPECT_EQ(list.Release(k), 0);
    EXPECT_EQ(list.Release(f), 0);
    EXPECT_FALSE(keptGone);
    EXPECT_TRUE(freedGone);
    EXPECT_EQ(list.Find(9), nullptr);
    EXPECT_EQ(list.GetCount(), 1);
}

TEST(SpriteImageTest, LimitsOfFramesAndText) {
    HBITMAP strip = MakeBitmap(40, 10, [](int, int) { return kWhite; });
    CFrameImage frames;
    for (int i = 0; i < CFrameImage::kMaxFrames; ++i) {
        RECT cell{i * 4, 0, i * 4 + 4, 10};
        ASSERT_TRUE(frames.AddFrame(strip, &cell, 10));
    }
    EXPECT_FALSE(frames.AddFrame(strip, nullptr, 10));
    EXPECT_EQ(frames.GetSize(nullptr).cx, 4);
    EXPECT_EQ(frames.GetFrameCount(nullptr), 10);

    CTextImage text;
    EXPECT_TRUE(text.SetText(std::string(499, 'a').c_str(), "宋体", 12, kBlack));
    EXPECT_FALSE(text.SetText(std::string(500, 'a').c_str(), "宋体", 12, kBlack));
    DeleteObject(strip);
}

TEST(SpriteImageTest, ACardInsideAFanIsHitOnlyOnItsVisibleStrip) {
    HBITMAP face = MakeBitmap(71, 96, [](int, int) { return kWhite; });
    CCardFaceImage card;
    card.AddFrame(face, nullptr, 0);
    card.SetFanLastIndex(5);
    SPRITEINFO sprite{};
    sprite.nUser[0] = CCardFaceImage::kFanCard;
    sprite.nUser[1] = (15 << 16) | 2;
    EXPECT_EQ(card.GetRect(&sprite, 0).right, 15);
    sprite.nUser[1] = (15 << 16) | 5; // the last card shows whole
    EXPECT_EQ(card.GetRect(&sprite, 0).right, 71);
    sprite.nUser[0] = 7;
    sprite.nUser[1] = (15 << 16) | 2;
    EXPECT_EQ(card.GetRect(&sprite, 0).right, 71);
    DeleteObject(face);
}

class ImageSceneTest : public SpriteWndTestBase {
protected:
    POSITION Show(CSpriteImage* image, int x, int y, int z = 0, int value = 0) {
        CSpriteLine* line = CreateSpriteLine(kLineFixed);
        line->SetFrom(x, y, 0, 255);
        POSITION s = wnd.AddSprite(wnd.AddImage(image), line, 0, z, 0, value, nullptr, FALSE);
        wnd.StartSprite(s, 0, 0, -1, -1, TRUE);
        return s;
    }
};

// A masked frame may be drawn in one pass with its clear pixels in a key
// colour: a shown pixel of any colour, the usual key's too, must still show.
TEST_F(ImageSceneTest, AMaskedFrameShowsTheBackgroundThroughItsMaskAndEveryColourOfItsPicture) {
    // Frame: a square of three colours (the usual key, the next one, red);
    // mask: white (keep the background) around the square.
    HBITMAP picture = MakeBitmap(20, 20, [](int x, int y) {
        if (x < 5 || x >= 15 || y < 5 || y >= 15)
            return kBlack;
        return x < 8 ? RGB(255, 0, 255) : x < 11 ? RGB(255, 1, 0) : RGB(255, 0, 0);
    });
    HBITMAP mask = MakeBitmap(20, 20, [](int x, int y) {
        return x >= 5 && x < 15 && y >= 5 && y < 15 ? kBlack : kWhite;
    });
    auto* image = new CFrameImage;
    image->AddFrame(picture, nullptr, 0);
    image->SetMask(mask, nullptr);
    Show(image, 50, 50);
    Run(10);
    EXPECT_EQ(wnd.Pixel(56, 60), Rgb(RGB(255, 0, 255)));
    EXPECT_EQ(wnd.Pixel(59, 60), Rgb(RGB(255, 1, 0)));
    EXPECT_EQ(wnd.Pixel(62, 60), Rgb(RGB(255, 0, 0)));
    EXPECT_EQ(wnd.Pixel(51, 51), kBack);
    EXPECT_EQ(wnd.Pixel(68, 68), kBack);
    DeleteObject(picture);
    DeleteObject(mask);
}

TEST_F(ImageSceneTest, ConstantAlphaBlendsAndTheHighlightTintsOnlyItsCard) {
    HBITMAP white = MakeBitmap(10, 10, [](int, int) { return kWhite; });
    auto* card = new CAlphaFrameImage;
    card->AddFrame(white, nullptr, 0);
    POSITION image = wnd.AddImage(card);
    auto place = [&](int x, BYTE alpha, int words) {
        CSpriteLine* line = CreateSpriteLine(kLineFixed);
        line->SetFrom(x, 10, 0, alpha);
        POSITION s = wnd.AddSprite(image, line, 0, 0, 0, 0, nullptr, FALSE);
        wnd.GetSpriteAt(s)->nUser[2] = words;
        wnd.StartSprite(s, 0, 0, -1, -1, TRUE);
    };
    place(10, 255, 0);
    place(30, 255, CAlphaFrameImage::kHighlightBit);
    place(50, 128, 0);
    Run(10);
    EXPECT_EQ(wnd.Pixel(15, 15), 0xFFFFFFu);
    const uint32_t tinted = wnd.Pixel(35, 15);
    EXPECT_NE(tinted, 0xFFFFFFu);
    EXPECT_EQ(tinted & 0xFF, 0xDFu); // blue: (0xC0 * 128 + 0xFF * 127) / 255
    const uint32_t half = wnd.Pixel(55, 15);
    EXPECT_EQ(half >> 8 & 0xFF, (0xFFu * 128 + 96 * 127) / 255);
    DeleteObject(white);
}

TEST_F(ImageSceneTest, ACountdownShowsEachSecondsNumber) {
    // Background: grey picture, opaque alpha. Digits: cell d has red d*20.
    HBITMAP background =
        MakeBitmap(40, 20, [](int x, int) { return x < 20 ? RGB(128, 128, 128) : kWhite; });
    HBITMAP digits = MakeBitmap(
        50, 8, [](int x, int y) { return y < 4 ? RGB((x / 5) * 20 + 10, 0, 0) : kKeyColor; });
    auto* countdown = new CDigitImage;
    countdown->SetBitmaps(background, digits, 2, 2, 10, 2);
    CSpriteLine* line = CreateSpriteLine(kLineFixed);
    line->SetFrom(100, 100, 0, 255);
    POSITION s = wnd.AddSprite(wnd.AddImage(countdown), line, 0, 0, 1, 0, nullptr, FALSE);
    wnd.GetSpriteAt(s)->nUser[1] = 5;
    wnd.StartSprite(s, kNotifyWindow, 0, -1, -1, TRUE);
    for (int shown = 5; shown >= 1; --shown) {
        Run(10);
        EXPECT_EQ(wnd.Pixel(102, 102) >> 16, 10u) << "tens of " << shown;
        EXPECT_EQ(wnd.Pixel(110, 102) >> 16, unsigned(shown * 20 + 10)) << "units";
        EXPECT_EQ(wnd.Pixel(110, 108), 0x7F7F7Fu) << "the key shows the background";
        Run(990);
    }
    EXPECT_EQ(wnd.Count("end"), 1);
    DeleteObject(background);
    DeleteObject(digits);
}

TEST(GdiRoutineTest, StateImagesBlendEachStateByItsOwnAlphaCell) {
    // Eight cells: states 0..3 in red 0, 60, 120, 180; alpha cell 4 opaque,
    // cells 5..7 clear.
    HBITMAP eight = MakeBitmap(80, 10, [](int x, int) {
        return x < 40 ? RGB(x / 10 * 60, 0, 0) : (x < 50 ? kWhite : kBlack);
    });
    CStateImage image;
    ASSERT_TRUE(image.SetBitmaps(eight, nullptr, FALSE));
    EXPECT_EQ(image.GetSize(nullptr).cx, 10);
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP target = MakeBitmap(10, 10, [](int, int) { return RGB(0, 0, 200); });
    HGDIOBJ old = SelectObject(dc, target);
    image.Draw(dc, 1, nullptr, 0, 0, 10, 10, 0, 0, 255);
    EXPECT_EQ(GetPixel(dc, 5, 5), RGB(0, 0, 200)); // state 1's alpha is 0
    image.Draw(dc, 0, nullptr, 0, 0, 10, 10, 0, 0, 255);
    EXPECT_EQ(GetPixel(dc, 5, 5), RGB(0, 0, 0)); // state 0's is opaque
    CStateImage five;
    ASSERT_TRUE(five.SetBitmaps(eight, nullptr, TRUE));
    EXPECT_EQ(five.GetSize(nullptr).cx, 16);
    SelectObject(dc, old);
    DeleteObject(target);
    DeleteDC(dc);
    DeleteObject(eight);
}

TEST(GdiRoutineTest, TransparentBlitKeysAndAlphaBlitBlends) {
    HBITMAP source =
        MakeBitmap(4, 4, [](int x, int) { return x < 2 ? RGB(9, 9, 9) : RGB(200, 0, 0); });
    HBITMAP dest = MakeBitmap(4, 4, [](int, int) { return RGB(0, 0, 100); });
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, dest);
    {
        SourceDC src(source);
        TransparentBlit(dc, 0, 0, 4, 4, src.dc(), 0, 0, 4, 4, 0); // key: the top-left's colour
    }
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 0, 100));
    EXPECT_EQ(GetPixel(dc, 3, 0), RGB(200, 0, 0));

    HBITMAP opaque = MakeBitmap(4, 4, [](int, int) { return RGB(0, 0, 255); });
    HBITMAP clear = MakeBitmap(4, 4, [](int, int) { return RGB(255, 255, 0); }); // blue byte 0
    AlphaBlit(dc, 0, 0, 4, 4, source, 0, 0, clear, 0, 0);
    EXPECT_EQ(GetPixel(dc, 3, 3), RGB(200, 0, 0)); // clear alpha: unchanged
    AlphaBlit(dc, 0, 0, 4, 4, source, 0, 0, opaque, 0, 0);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(8, 8, 8)); // 9 * 255 / 256
    EXPECT_EQ(GetPixel(dc, 3, 3), RGB(199, 0, 0));
    SelectObject(dc, old);
    DeleteDC(dc);
    for (HBITMAP b : {source, dest, opaque, clear})
        DeleteObject(b);
}

TEST(GdiRoutineTest, MemoryDCsRegionsPicturesAndThemeBitmaps) {
    const std::string folder = ::testing::TempDir() + "pellor-sprite-gdi";
    std::filesystem::create_directories(folder);
    platform::PixelImage ring;
    ring.Reset(8, 8, platform::MakePixel(255, 0, 255));
    for (int y = 2; y < 6; ++y)
        for (int x = 2; x < 6; ++x)
            ring.At(x, y) = platform::MakePixel(0, 200, 0);
    ASSERT_TRUE(platform::SaveBmpFile(folder + "/ring.bmp", ring, platform::BmpFormat::Rgb24));
    const std::string ini = folder + "/theme.ini";
    WritePrivateProfileString("MAIN", "back", (folder + "/ring.bmp").c_str(), ini.c_str());
    WritePrivateProfileString("MAIN", "near", "ring.bmp", ini.c_str());

    HBITMAP whole = LoadThemeBitmap(ini.c_str(), "MAIN", "back", nullptr);
    HBITMAP joined = LoadThemeBitmap(ini.c_str(), "MAIN", "near", folder.c_str());
    ASSERT_NE(whole, nullptr);
    ASSERT_NE(joined, nullptr);
    EXPECT_EQ(GetHBitmapSize(whole).cx, 8);
    EXPECT_EQ(LoadThemeBitmap(ini.c_str(), "MAIN", "missing", nullptr), nullptr);

    CBitmap* held = new CBitmap;
    held->Attach(whole);
    CMemDC memory(nullptr, held);
    HRGN region = memory.RegionFromBitmap(kKeyColor);
    RECT box;
    GetRgnBox(region, &box);
    EXPECT_EQ(box.left, 2);
    EXPECT_EQ(box.bottom, 6);
    DeleteObject(region);
    memory.Create(nullptr, 30, 20); // again: the first bitmap is let go, the DC kept
    EXPECT_EQ(memory.GetSize().cx, 30);
    EXPECT_EQ(GetPixel(memory.m_hDC, 0, 0), RGB(0, 0, 0));
    HBITMAP taken = memory.DetachBitmap();
    EXPECT_EQ(GetHBitmapSize(taken).cy, 20);
    DeleteObject(taken);
    delete held;
    DeleteObject(joined);

    CPicture picture;
    EXPECT_FALSE(picture.Load(""));
    EXPECT_FALSE(picture.Load((folder + "/none.bmp").c_str()));
    ASSERT_TRUE(picture.Load((folder + "/ring.bmp").c_str()));
    EXPECT_EQ(picture.GetWidth(), 8);
    HRGN shape = picture.GetRegion(kKeyColor);
    EXPECT_TRUE(PtInRegion(shape, 3, 3));
    EXPECT_FALSE(PtInRegion(shape, 0, 0));
    DeleteObject(shape);
    std::filesystem::remove_all(folder);
}

} // namespace
