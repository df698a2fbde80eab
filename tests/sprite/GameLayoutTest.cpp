#include "sprite/GameLayout.h"
#include "tests/sprite/ThemeFixture.h"

namespace {

using sprite_test::ProgramFolderTest;

class GameLayoutTest : public ProgramFolderTest {
protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        CreateDirectory((folder + "theme_bmp").c_str(), nullptr);
        CreateDirectory((folder + "theme_bmp/Default").c_str(), nullptr);
        WritePicture("theme_bmp/Default/strip.bmp", 40, 8, [](int, int) { return 0x00808080u; });
    }
    void WriteLayout(const std::string& text) { Write("theme_bmp/Default.thm", text); }
    CString LayoutFile() const { return layout.GetThemeFile(0); }

    CGameLayout layout;
};

TEST_F(GameLayoutTest, ThemeFilesAndFolder) {
    EXPECT_EQ(std::string(layout.GetModuleDirectory()), folder);
    EXPECT_EQ(std::string(layout.GetThemeFile(0)), folder + "theme_bmp\\Default.thm");
    EXPECT_EQ(std::string(layout.GetThemeFile(1)), folder + "theme_gif\\Default.thm");
    EXPECT_TRUE(layout.GetThemeFile(2).IsEmpty());
    EXPECT_TRUE(layout.GetFileVersion("NoSuchProgram").IsEmpty());
}

TEST_F(GameLayoutTest, EmptyFileLoadsWithTheDefaults) {
    WriteLayout("; nothing\n");
    ASSERT_TRUE(layout.Load());
    EXPECT_EQ(layout.m_nInterval, 15);
    EXPECT_EQ(layout.m_nIntervalWork, 15);
    EXPECT_EQ(layout.m_nIntervalBig, 20);
    EXPECT_EQ(layout.m_nLittleInterval, 15);
    EXPECT_EQ(layout.m_sizeCard.cx, 0);
    EXPECT_EQ(layout.m_sizeCard.cy, 0);
    EXPECT_TRUE(layout.m_transparentPoints.empty());
    EXPECT_TRUE(layout.m_littleTransparentPoints.empty());
    EXPECT_EQ(std::string(layout.m_strFontName), "宋体");
    EXPECT_EQ(layout.m_nFontSize, 16);
    EXPECT_EQ(layout.m_nFontWeight, 400);
    EXPECT_EQ(layout.m_clrText, RGB(255, 255, 255));
    EXPECT_EQ(layout.m_clrText2, RGB(255, 255, 255));
    EXPECT_EQ(layout.m_nBorder, 40);
    EXPECT_EQ(layout.m_nTextSpriteSize, 20);
    EXPECT_EQ(layout.m_nTextSpriteDelay, 300);
    EXPECT_EQ(layout.m_bmpBack.GetSafeHandle(), nullptr);
    EXPECT_FALSE(layout.m_buttonsEx[CGameLayout::BX_START].IsLoaded());
    ASSERT_NE(layout.m_pSkinFrame, nullptr);
    EXPECT_TRUE(layout.m_pSkinFrame->m_userButtons.empty());
}

TEST_F(GameLayoutTest, BadNumbersReadAsTheDefaults) {
    WriteLayout("[MAIN]\nFONT_SIZE=big\nBORDER=\nTEXT_COLOR=red\nFONT_NAME=黑体\n"
                "[CARD]\nINTERVAL=wide\nSIZE=60,tall\nINTERVALBIG=-\nTRANSPTCOUNT=many\n"
                "LITTLETRANSPTCOUNT=100000\nLITTLETRANSPT_0=1,1\n"
                "[TEXTSPRITE]\ncolor=1,2\nbegin=5,x,7\n");
    ASSERT_TRUE(layout.Load());
    EXPECT_EQ(layout.m_nFontSize, 16);
    EXPECT_EQ(layout.m_nBorder, 40);
    EXPECT_EQ(layout.m_clrText, RGB(255, 255, 255));
    EXPECT_EQ(std::string(layout.m_strFontName), "黑体");
    EXPECT_EQ(layout.m_nInterval, 15);
    EXPECT_EQ(layout.m_sizeCard.cx, 60);
    EXPECT_EQ(layout.m_sizeCard.cy, 0);
    EXPECT_EQ(layout.m_nIntervalBig, 20);
    EXPECT_TRUE(layout.m_transparentPoints.empty());
    EXPECT_TRUE(layout.m_littleTransparentPoints.empty()) << "a huge count is refused";
    EXPECT_EQ(layout.m_clrTextSprite, RGB(255, 255, 255));
    EXPECT_EQ(layout.m_posTextBegin.x, 5);
    EXPECT_EQ(layout.m_posTextBegin.y, 0);
}

TEST_F(GameLayoutTest, CardMeasuresAndPoints) {
    WriteLayout("[CARD]\nINTERVAL=18\nSIZE=71,96\nSIZEBIG=80,108\nINTERVALBIG=24\n"
                "TRANSPTCOUNT=3\nTRANSPT_0=1,2\nTRANSPT_1=3,4\nTRANSPT_2=5,6\nTRANSPT_3=9,9\n"
                "LITTLESIZE=36,48\nLITTLEINTERVAL=12\n");
    ASSERT_TRUE(layout.Load());
    ASSERT_EQ(layout.m_transparentPoints.size(), 3u);
    EXPECT_EQ(layout.m_transparentPoints[2].x, 5);
    EXPECT_EQ(layout.m_transparentPoints[2].y, 6);
    EXPECT_EQ(layout.m_sizeCardWork.cx, 71);
    EXPECT_EQ(layout.m_nIntervalWork, 18);
    EXPECT_EQ(layout.m_sizeCardBig.cy, 108);
    EXPECT_EQ(layout.GetCardsWidth(1), 71);
    EXPECT_EQ(layout.GetCardsWidth(27), 26 * 18 + 71);
    EXPECT_EQ(layout.GetLittleCardsWidth(5), 4 * 12 + 36);
    EXPECT_EQ(layout.GetCardsFitting(26 * 18 + 71), 27);
}

TEST_F(GameLayoutTest, TextSpriteColourFallsBackToTheTextColour) {
    WriteLayout("[MAIN]\nTEXT_COLOR=10,20,30\nTEXT_COLOR2=1,2,3\n[TEXTSPRITE]\nfontsize=24\n");
    ASSERT_TRUE(layout.Load());
    EXPECT_EQ(layout.m_clrText, RGB(10, 20, 30));
    EXPECT_EQ(layout.m_clrText2, RGB(1, 2, 3));
    EXPECT_EQ(layout.m_clrTextSprite, RGB(10, 20, 30));
    EXPECT_EQ(layout.m_nTextSpriteSize, 24);
}

TEST_F(GameLayoutTest, ButtonRecords) {
    WriteLayout("[BUTTONEX]\nStart_bmp=strip.bmp\nStart_pos=-40,-60,15\nStart_layer=400\n"
                "Pass_cnl=strip.bmp\nSearch_bmp=missing.bmp\n"
                "TakeOut_bmp=strip.bmp\nTakeOut_cnl=strip.bmp\nTakeOut_samecnl=1\n"
                "[GAMEWND_BTN]\nTrust_bmp=strip.bmp\nTrust_mask=0\nHistory_bmp=strip.bmp\n");
    ASSERT_TRUE(layout.Load());
    const CThemeImagePair& start = layout.m_buttonsEx[CGameLayout::BX_START];
    ASSERT_TRUE(start.IsLoaded()) << "a record without _cnl still loads";
    EXPECT_EQ(start.m_channel.GetSafeHandle(), nullptr);
    EXPECT_TRUE(start.m_pos.IsEqual(-40, -60, 15));
    EXPECT_EQ(start.m_nLayer, 400);
    EXPECT_EQ(start.m_nKind, 4);
    EXPECT_FALSE(layout.m_buttonsEx[CGameLayout::BX_PASS].IsLoaded()) << "no _bmp";
    EXPECT_FALSE(layout.m_buttonsEx[CGameLayout::BX_SEARCH].IsLoaded()) << "bitmap missing";
    const CThemeImagePair& takeOut = layout.m_buttonsEx[CGameLayout::BX_TAKEOUT];
    EXPECT_NE(takeOut.m_channel.GetSafeHandle(), nullptr);
    EXPECT_EQ(takeOut.m_nSameChannel, 1);
    EXPECT_EQ(layout.m_gameWndButtons[CGameLayout::GB_TRUST].m_nMask, 0);
    EXPECT_EQ(layout.m_gameWndButtons[CGameLayout::GB_HISTORY].m_nMask, 1);

    // Loading again releases what the first load held.
    WriteLayout("[MAIN]\n");
    ASSERT_TRUE(layout.Load());
    EXPECT_FALSE(layout.m_buttonsEx[CGameLayout::BX_START].IsLoaded());
}

TEST_F(GameLayoutTest, PlacesAreKeptTwice) {
    WriteLayout("[REFPOINT]\navatar0=-470,-200,7\navatar5=-112,-40,14\noutcard3=0,150,1\n"
                "clock_putcard=-28,-30,4\n[AVATAR]\nSIZE=96,108\n[CLOCK]\npoint1=17,22\n");
    ASSERT_TRUE(layout.Load());
    EXPECT_TRUE(layout.m_posAvatar[0].IsEqual(-470, -200, 7));
    EXPECT_TRUE(layout.m_posAvatarRead[5].IsEqual(-112, -40, 14));
    EXPECT_TRUE(layout.m_posOutCard[3].IsEqual(0, 150, 1));
    EXPECT_TRUE(layout.m_posOutCardRead[1].IsEqual(0, 0, 0));
    EXPECT_TRUE(layout.m_posClockPutCard.IsEqual(-28, -30, 4));
    EXPECT_EQ(layout.m_sizeAvatar.cx, 96);
    EXPECT_EQ(layout.m_ptClockDigit1.y, 22);
}

TEST_F(GameLayoutTest, FrameSkinReadsItsSections) {
    WriteLayout("[FRAME]\nbmp_titleleft=a.bmp\ncolor_transparent=255,0,255\n"
                "[SYS_BUTTON]\nbmp_close=close.bmp\npos_close=10,4\n"
                "[USER_BUTTON]\ncount=2\nbmp_user0=u0.bmp\ntip_user0=设置\nbmp_user1=u1.bmp\n");
    ASSERT_TRUE(layout.Load());
    const CSkinFrame& skin = *layout.m_pSkinFrame;
    EXPECT_EQ(std::string(skin.m_strPieces[0]), "a.bmp");
    EXPECT_EQ(skin.m_clrTransparent, RGB(255, 0, 255));
    EXPECT_EQ(std::string(skin.m_strClose), "close.bmp");
    EXPECT_EQ(std::string(skin.m_strPosClose), "10,4");
    EXPECT_EQ(std::string(skin.m_strPosMax), "1000,1000");
    ASSERT_EQ(skin.m_userButtons.size(), 2u);
    EXPECT_EQ(std::string(skin.m_userButtons[0].tip), "设置");
    EXPECT_EQ(std::string(skin.m_userButtons[1].bitmap), "u1.bmp");
    EXPECT_FALSE(CSkinFrame().LoadSkin(LayoutFile(), folder.c_str())) << "pieces missing";
}

} // namespace

namespace {

// Extreme numbers of a broken theme are held to sensible ranges, so the
// card-fan arithmetic cannot overflow.
TEST_F(GameLayoutTest, BrokenNumbersAreHeldToSensibleRanges) {
    WriteLayout("[CARD]\nINTERVAL=2147483647\nSIZE=2147483647,-2147483648\n"
                "INTERVALBIG=-2147483648\nLITTLEINTERVAL=99999999999\nLITTLESIZE=-5,70\n"
                "[AVATAR]\nSIZE=100000,100000\n"
                "[MAIN]\nFONT_SIZE=-3\nFONT_WEIGHT=2147483647\nBORDER=-1\n"
                "[TEXTSPRITE]\nfontsize=100000\ndelay=-2147483648\n"
                "[REFPOINT]\navatar0=2147483647,-2147483648,1\n"
                "[GAMEWND_BTN]\nTrust_bmp=strip.bmp\nTrust_mask=-2147483648\n"
                "Sound_bmp=strip.bmp\nSound_mask=2147483647\n");
    ASSERT_TRUE(layout.Load());
    EXPECT_EQ(layout.m_nInterval, 4096);
    EXPECT_EQ(layout.m_nIntervalWork, 4096);
    EXPECT_EQ(layout.m_sizeCard.cx, 4096);
    EXPECT_EQ(layout.m_sizeCard.cy, 0);
    EXPECT_EQ(layout.m_nIntervalBig, 0);
    EXPECT_EQ(layout.m_nLittleInterval, 4096);
    EXPECT_EQ(layout.m_sizeLittleCard.cx, 0);
    EXPECT_EQ(layout.m_sizeLittleCard.cy, 70);
    EXPECT_EQ(layout.m_sizeAvatar.cx, 4096);
    EXPECT_EQ(layout.m_nFontSize, 1);
    EXPECT_EQ(layout.m_nFontWeight, 1000);
    EXPECT_EQ(layout.m_nBorder, 0);
    EXPECT_EQ(layout.m_nTextSpriteSize, 200);
    EXPECT_EQ(layout.m_nTextSpriteDelay, 0);
    EXPECT_EQ(layout.m_gameWndButtons[CGameLayout::GB_TRUST].m_nMask, 0);
    EXPECT_EQ(layout.m_gameWndButtons[CGameLayout::GB_SOUND].m_nMask, 1);
    EXPECT_EQ(layout.m_posAvatarRead[0].x, 32767);
    EXPECT_EQ(layout.m_posAvatarRead[0].y, -32768);
    // A fan of a whole hand stays a plain positive width.
    EXPECT_EQ(layout.GetCardsWidth(27), 26 * 4096 + 4096);
}

} // namespace
