// Chinese face names choose the installed font of that style.

#include "platform/text/Text.h"
#include "platform/window/SystemMetrics.h"
#include "tests/support/GdiCanvas.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <vector>

namespace {

std::vector<uint32_t> Drawn(const char* face, const char* text) {
    GdiCanvas canvas(64, 40);
    canvas.Fill(0xFFFFFF);
    HFONT font =
        CreateFont(-32, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_STROKE_PRECIS,
                   CLIP_STROKE_PRECIS, DRAFT_QUALITY, VARIABLE_PITCH, face);
    HGDIOBJ old = SelectObject(canvas.dc(), font);
    SetBkMode(canvas.dc(), TRANSPARENT);
    TextOut(canvas.dc(), 2, 2, text, int(strlen(text)));
    SelectObject(canvas.dc(), old);
    DeleteObject(font);
    return canvas.Pixels();
}

TEST(FontFaceTest, KaiFacesDrawWithTheKaiFontAndSongWithTheDefault) {
    std::vector<uint32_t> song = Drawn("宋体", "永字");
    std::vector<uint32_t> blank(song.size(), 0xFFFFFF);
    ASSERT_NE(song, blank);
    EXPECT_EQ(Drawn("新宋体", "永字").size(), song.size());
    if (!std::filesystem::exists("/usr/share/fonts/truetype/arphic/ukai.ttc"))
        GTEST_SKIP() << "no Kai font installed (fonts-arphic-ukai)";
    std::vector<uint32_t> kai = Drawn("楷体_GB2312", "永字");
    EXPECT_NE(kai, blank);
    EXPECT_NE(kai, song); // a different font's strokes
    EXPECT_EQ(Drawn("楷体", "永字"), kai);
    EXPECT_EQ(Drawn("Arial", "永字"), song); // unknown faces take the default
}

TEST(SystemColorTest, TheThreeDimensionalEdgesRunFromLightToDark) {
    auto brightness = [](COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c); };
    EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), RGB(255, 255, 255));
    EXPECT_GT(brightness(GetSysColor(COLOR_BTNHIGHLIGHT)), brightness(GetSysColor(COLOR_3DLIGHT)));
    EXPECT_GT(brightness(GetSysColor(COLOR_3DLIGHT)), brightness(GetSysColor(COLOR_BTNSHADOW)));
    EXPECT_GT(brightness(GetSysColor(COLOR_BTNFACE)), brightness(GetSysColor(COLOR_BTNSHADOW)));
    EXPECT_GT(brightness(GetSysColor(COLOR_BTNSHADOW)), brightness(GetSysColor(COLOR_3DDKSHADOW)));
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), RGB(255, 255, 255));
    EXPECT_LT(brightness(GetSysColor(COLOR_GRAYTEXT)), brightness(GetSysColor(COLOR_BTNFACE)));
    // The brushes paint the colours and are shared.
    GdiCanvas canvas(2, 2);
    RECT all{0, 0, 2, 2};
    FillRect(canvas.dc(), &all, GetSysColorBrush(COLOR_3DDKSHADOW));
    EXPECT_EQ(platform::ColorFromPixel(canvas.At(1, 1)), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(GetSysColorBrush(COLOR_3DLIGHT), GetSysColorBrush(COLOR_3DLIGHT));
    EXPECT_EQ(GetSysColorBrush(-1), nullptr);
    // The stock GUI font is the 9-point Song face.
    LOGFONT lf{};
    ASSERT_EQ(GetObject(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf), int(sizeof lf));
    EXPECT_EQ(lf.lfHeight, -12);
    EXPECT_STREQ(lf.lfFaceName, "宋体");
}

} // namespace
