// Our default theme as the build leaves it: every file it names exists, the
// theme object and the layout holder take it whole, and a table drawn from it
// is saved for a person to look at.

#include "platform/images/GifFile.h"
#include "platform/images/PngFile.h"
#include "platform/system/Profile.h"
#include "sprite/GameLayout.h"
#include "sprite/GdiRoutines.h"
#include "sprite/GifSpriteImage.h"
#include "sprite/Theme.h"
#include "tests/sprite/ThemeFixture.h"

#include <cstring>
#include <vector>

namespace {

const std::string kProgram = std::string(PELLOR_ASSET_DIR) + "/";

std::vector<std::string> ListOf(const char* section, const std::string& file) {
    std::vector<char> buffer(65536, '\0');
    GetPrivateProfileString(section, nullptr, "", buffer.data(), DWORD(buffer.size()),
                            file.c_str());
    std::vector<std::string> names;
    for (const char* name = buffer.data(); *name; name += strlen(name) + 1)
        names.emplace_back(name);
    return names;
}

bool NamesAFile(const std::string& value) {
    const auto dot = value.rfind('.');
    if (dot == std::string::npos)
        return false;
    const std::string ext = value.substr(dot);
    return ext == ".bmp" || ext == ".gif";
}

class DefaultThemeTest : public ::testing::Test {
protected:
    void SetUp() override { SetExeFolderOverride(kProgram.c_str()); }
    void TearDown() override {
        kn::theTheme.Close();
        SetExeFolderOverride(nullptr);
    }
    const std::string layoutFile = kProgram + "theme_bmp/Default.thm";
};

TEST_F(DefaultThemeTest, EveryNamedFileExists) {
    int named = 0;
    for (const std::string& section : ListOf(nullptr, layoutFile)) {
        // The library's skinned dialogs keep their pictures with the dialogs'.
        const bool dialogs = section == "Image" || section.rfind("KNDLG", 0) == 0;
        for (const std::string& key : ListOf(section.c_str(), layoutFile)) {
            char value[260] = {};
            GetPrivateProfileString(section.c_str(), key.c_str(), "", value, sizeof value,
                                    layoutFile.c_str());
            if (!NamesAFile(value))
                continue;
            ++named;
            const std::string path = kProgram + (dialogs ? "Theme/" : "theme_bmp/Default/") + value;
            EXPECT_TRUE(FileExists(path.c_str())) << section << " " << key << ": " << path;
        }
    }
    EXPECT_GT(named, 150);
    for (const char* sound : {"button", "start", "takeout2", "pass", "win", "loss", "xipai"})
        EXPECT_TRUE(FileExists((kProgram + "sound/" + sound + ".wav").c_str())) << sound;
}

TEST_F(DefaultThemeTest, TheThemeOpensWithTheProductCode) {
    ASSERT_TRUE(kn::theTheme.Open("Pellor2"));
    CPicture* back = kn::theTheme.GetImage("MessageBack", FALSE);
    ASSERT_NE(back, nullptr);
    HRGN region = kn::theTheme.GetRegion("MessageBack", RGB(255, 0, 255));
    ASSERT_NE(region, nullptr);
    EXPECT_FALSE(PtInRegion(region, 0, 0)) << "the rounded corner is cut away";
    EXPECT_TRUE(PtInRegion(region, back->GetWidth() / 2, back->GetHeight() / 2));
    DeleteObject(region);
}

TEST_F(DefaultThemeTest, TheLayoutLoadsWhole) {
    CGameLayout layout;
    ASSERT_TRUE(layout.Load());
    EXPECT_NE(layout.m_bmpBack.GetSafeHandle(), nullptr);
    for (int i = 0; i < CGameLayout::FLAG_COUNT; ++i)
        EXPECT_NE(layout.m_bmpFlags[i].GetSafeHandle(), nullptr) << CGameLayout::kFlagKeys[i];
    for (int i = 0; i < CGameLayout::GB_COUNT; ++i)
        EXPECT_TRUE(layout.m_gameWndButtons[i].IsLoaded()) << CGameLayout::kGameWndButtonNames[i];
    for (int i = 0; i < CGameLayout::BX_COUNT; ++i)
        EXPECT_TRUE(layout.m_buttonsEx[i].IsLoaded()) << CGameLayout::kButtonExNames[i];
    for (int i = 0; i < CGameLayout::JETON_COUNT; ++i)
        EXPECT_TRUE(layout.m_jetons[i].IsLoaded()) << CGameLayout::kJetonNames[i];
    // Each card sheet is 13 x 5 cells of its card size.
    const CSize big = GetBitmapSize(layout.m_bmpCardsBig);
    EXPECT_EQ(big.cx, 13 * layout.m_sizeCardBig.cx);
    EXPECT_EQ(big.cy, 5 * layout.m_sizeCardBig.cy);
    const CSize small = GetBitmapSize(layout.m_bmpCards);
    EXPECT_EQ(small.cx, 13 * layout.m_sizeCard.cx);
    // Play buttons: four states and one alpha cell.
    const CSize takeOut = GetBitmapSize(layout.m_buttonsEx[CGameLayout::BX_TAKEOUT].m_bitmap);
    EXPECT_EQ(takeOut.cx % 5, 0);
    EXPECT_EQ(std::string(layout.m_strFontName), "宋体");
    EXPECT_EQ(layout.m_pSkinFrame->LoadSkin(layout.GetThemeFile(0),
                                            (kProgram + "theme_bmp/Default").c_str()),
              TRUE);
    EXPECT_EQ(layout.m_pSkinFrame->m_userButtons.size(), 5u);
}

// The blue byte of a bitmap's pixel (pixels as 0x00RRGGBB).
int BlueAt(HBITMAP bitmap, int x, int y) {
    const CSize size = GetHBitmapSize(bitmap);
    std::vector<uint32_t> pixels;
    if (!ReadBitmapPixels(bitmap, size, pixels))
        return -1;
    return int(pixels[size_t(y) * size_t(size.cx) + size_t(x)] & 0xFF);
}

TEST_F(DefaultThemeTest, StripsCarryTheirMaskAndAlphaCells) {
    CGameLayout layout;
    ASSERT_TRUE(layout.Load());
    // Mask cells: white where the picture is transparent, black where it shows.
    for (const CThemeImage& record : layout.m_gameWndButtons) {
        const CSize strip = GetBitmapSize(record.m_bitmap);
        const int cell = strip.cx / 5;
        EXPECT_EQ(BlueAt(record.m_bitmap, 4 * cell, 0), 255);
        EXPECT_EQ(BlueAt(record.m_bitmap, 4 * cell + cell / 2, strip.cy / 2), 0);
        EXPECT_EQ(BlueAt(record.m_bitmap, 0, 0), 0) << "the picture is black under the mask";
    }
    // Alpha cells: black where transparent, white where the button shows.
    for (const CThemeImagePair& record : layout.m_buttonsEx) {
        const CSize strip = GetBitmapSize(record.m_bitmap);
        const int cell = strip.cx / 5;
        EXPECT_EQ(BlueAt(record.m_bitmap, 4 * cell, 0), 0);
        EXPECT_EQ(BlueAt(record.m_bitmap, 4 * cell + cell / 2, strip.cy / 2), 255);
    }
    // Card sheets: the shared mask is cell (3, 4).
    const SIZE card = layout.m_sizeCard;
    EXPECT_EQ(BlueAt(layout.m_bmpCards, 3 * card.cx, 4 * card.cy), 255);
    EXPECT_EQ(BlueAt(layout.m_bmpCards, 3 * card.cx + card.cx / 2, 4 * card.cy + card.cy / 2), 0);
}

TEST_F(DefaultThemeTest, SpriteGifsDecodeWithTransparentCorners) {
    // Resource sections name their GIF by "GIF"; the turn clock's sprite by "resource".
    std::vector<std::pair<std::string, const char*>> named;
    for (const std::string& section : ListOf(nullptr, layoutFile))
        named.emplace_back(section, "GIF");
    named.emplace_back("SPRITE_倒计时", "resource");
    int gifs = 0;
    for (const auto& [section, key] : named) {
        char name[260] = {};
        GetPrivateProfileString(section.c_str(), key, "", name, sizeof name, layoutFile.c_str());
        if (!name[0])
            continue;
        ++gifs;
        std::string bytes;
        ASSERT_TRUE(ReadWholeFile(kProgram + "theme_bmp/Default/" + name, bytes, size_t(1) << 30))
            << name;
        platform::PixelImage frame;
        ASSERT_TRUE(platform::DecodeGif(bytes.data(), bytes.size(), frame)) << name;
        EXPECT_EQ(frame.At(0, 0) >> 24, 0u) << name << ": the corner is transparent";
    }
    EXPECT_EQ(gifs, 17);
}

// A table of the default theme: felt, centre picture, seat frames, play
// buttons from their strips, a fanned hand and the frames of a GIF, in a
// 1000 x 700 picture.
class TestTable {
public:
    TestTable() {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = kWidth;
        info.bmiHeader.biHeight = -kHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        dc = CreateCompatibleDC(nullptr);
        void* bits = nullptr;
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        old = SelectObject(dc, bitmap);
    }
    ~TestTable() {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    // A picture | mask strip: mask with SRCAND, then the picture with SRCPAINT.
    void ThroughMask(HBITMAP strip, int x, int y, int cx, int cy, int sx, int sy, int mx, int my) {
        BlitBitmap(dc, x, y, cx, cy, strip, mx, my, SRCAND);
        BlitBitmap(dc, x, y, cx, cy, strip, sx, sy, SRCPAINT);
    }
    uint32_t Pixel(int x, int y) {
        std::vector<uint32_t> pixels;
        ReadBitmapPixels(bitmap, SIZE{kWidth, kHeight}, pixels);
        return pixels[size_t(y) * kWidth + size_t(x)];
    }

    static constexpr int kWidth = 1000;
    static constexpr int kHeight = 700;
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
};

TEST_F(DefaultThemeTest, TableFromTheThemeIsSavedForALook) {
    CGameLayout layout;
    ASSERT_TRUE(layout.Load());
    TestTable table;
    const int w = TestTable::kWidth, h = TestTable::kHeight;

    const CSize back = GetBitmapSize(layout.m_bmpBack);
    {
        SourceDC source(layout.m_bmpBack);
        SetStretchBltMode(table.dc, COLORONCOLOR);
        StretchBlt(table.dc, 0, 0, w, h, source.dc(), 0, 0, back.cx, back.cy, SRCCOPY);
    }
    const CSize centre = GetBitmapSize(layout.m_bmpBackF);
    const int cw = centre.cx / 2;
    table.ThroughMask(layout.m_bmpBackF, (w - cw) / 2, (h - centre.cy) / 2 - 40, cw, centre.cy, 0,
                      0, cw, 0);

    // Seat frames at fixed places around the table.
    const CSize seat = GetBitmapSize(layout.m_bmpAvatarBack);
    const POINT seats[6] = {{30, 500}, {16, 380}, {16, 200}, {452, 16}, {884, 200}, {884, 380}};
    for (const POINT& place : seats)
        table.ThroughMask(layout.m_bmpAvatarBack, place.x, place.y, seat.cx / 2, seat.cy, 0, 0,
                          seat.cx / 2, 0);

    // Play buttons: the normal cell blended by the shared alpha cell (cell 4);
    // the search button shown hovered, pass disabled.
    const struct {
        int button, state, x;
    } buttons[] = {{CGameLayout::BX_TAKEOUT, 0, 330},
                   {CGameLayout::BX_SEARCH, 1, 420},
                   {CGameLayout::BX_RANGPAI, 2, 510},
                   {CGameLayout::BX_PASS, 3, 600}};
    for (const auto& b : buttons) {
        const CThemeImagePair& record = layout.m_buttonsEx[b.button];
        const CSize strip = GetBitmapSize(record.m_bitmap);
        const int cell = strip.cx / 5;
        AlphaBlit(table.dc, b.x, 470, cell, strip.cy, record.m_bitmap, cell * b.state, 0,
                  record.m_bitmap, cell * 4, 0);
    }
    // The table window's own buttons: four states and a mask cell.
    for (int i = 0; i < 5; ++i) {
        const CThemeImage& record = layout.m_gameWndButtons[CGameLayout::GB_HISTORY + i];
        const CSize strip = GetBitmapSize(record.m_bitmap);
        const int cell = strip.cx / 5;
        table.ThroughMask(record.m_bitmap, w - 70 * (i + 1), 8, cell, strip.cy, 0, 0, cell * 4, 0);
    }

    // A fanned hand of 13 big cards (rows: suits; columns: 3 to 2), shared mask cell (3, 4).
    const SIZE card = layout.m_sizeCardBig;
    const int interval = layout.m_nIntervalBig;
    const int count = 13;
    const int handLeft = (w - ((count - 1) * interval + card.cx)) / 2;
    for (int i = 0; i < count; ++i) {
        const int suit = i % 4, rank = (i * 5) % 13;
        table.ThroughMask(layout.m_bmpCardsBig, handLeft + i * interval, h - card.cy - 30, card.cx,
                          card.cy, rank * card.cx, suit * card.cy, 3 * card.cx, 4 * card.cy);
    }
    // Played cards in the middle: a joker pair and a card back.
    for (int i = 0; i < 3; ++i)
        table.ThroughMask(layout.m_bmpCardsBig, 440 + i * interval, 300, card.cx, card.cy,
                          i * card.cx, 4 * card.cy, 3 * card.cx, 4 * card.cy);

    // A playing GIF: two frames of the waiting mark side by side, as the
    // animation shows them one after the other.
    CGifSpriteImage waiting;
    ASSERT_TRUE(waiting.Load("RES_WAIT", layoutFile.c_str(),
                             (kProgram + "theme_bmp/Default/").c_str(), FALSE));
    const SIZE mark = waiting.GetSize(nullptr);
    ASSERT_GT(waiting.GetFrameCount(nullptr), 1);
    const int shown = 2;
    const int markLeft = w - shown * (mark.cx + 8) - 20;
    for (int frame = 0; frame < shown; ++frame)
        waiting.Draw(table.dc, frame, nullptr, markLeft + frame * (mark.cx + 8), 130, mark.cx,
                     mark.cy, 0, 0, 255);

    const std::string folder = SPRITE_TEST_OUTPUT_DIR;
    CreateDirectory(folder.c_str(), nullptr);
    platform::PixelImage image;
    image.Reset(w, h);
    std::vector<uint32_t> pixels;
    ASSERT_TRUE(ReadBitmapPixels(table.bitmap, SIZE{w, h}, pixels));
    image.pixels = pixels;
    ASSERT_TRUE(platform::SavePngFile(folder + "/default-table.png", image));

    // The felt is green, a card's middle is paper, a button is not felt.
    const uint32_t felt = table.Pixel(200, 60);
    EXPECT_GT(int((felt >> 8) & 0xFF), int((felt >> 16) & 0xFF) + 40);
    const uint32_t paper =
        table.Pixel(handLeft + 12 * interval + card.cx - 8, h - 30 - card.cy / 2);
    EXPECT_GT(int((paper >> 16) & 0xFF), 200) << std::hex << paper;
    EXPECT_GT(int((paper >> 8) & 0xFF), 200) << std::hex << paper;
    const uint32_t button = table.Pixel(330 + 40, 470 + 17);
    EXPECT_GT(int((button >> 16) & 0xFF), int((button >> 8) & 0xFF)) << "lacquer red";
}

} // namespace
