// The skinned dialogs' skin ini: which section wins for each kind of key,
// the colour syntaxes, and how picture names become pictures.

#include "tests/knclientUI05/BitmapKit.h"
#include "tests/support/TempFolder.h"

#include "knclientUI05/DlgSkinIni.h"
#include "knclientUI05/KNBitmap.h"
#include "knclientbase05/SkinSettings.h"
#include "platform/resources/Resource.h"
#include "platform/system/Module.h"

#include <gtest/gtest.h>

#include <cstring>

namespace ui_test {
namespace {

class DlgSkinIniTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = theSkin;
        theSkin = tagSKINSETTINGS{};
    }
    void TearDown() override { theSkin = saved_; }

    // Chooses a skin whose ini holds text and whose pictures lie in folder.
    void UseSkin(const std::string& text) {
        folder.Write("skin.thm", text);
        strcpy(theSkin.szThemeFile, folder.File("skin.thm").c_str());
        strcpy(theSkin.szThemeFolder, (folder.Path() + "/").c_str());
    }
    // A one-colour 4 x 2 .bmp in the skin folder.
    void WritePicture(const std::string& name, uint32_t rgb) {
        DibLayout layout;
        layout.width = 4;
        layout.height = 2;
        layout.values.assign(8, rgb);
        std::string dib = PackedDib(layout);
        folder.Write(name, BmpFile(dib, 40));
    }

    TempFolder folder;

private:
    tagSKINSETTINGS saved_{};
};

TEST_F(DlgSkinIniTest, NumbersTakeTheDialogOverTheSharedOverTheDefault) {
    UseSkin("[KNDLG]\nBorderWidth=6\nCaptionHeight=30\nResize=1\n"
            "[kndlg_msgbox]\nCaptionHeight=24\n"
            "[KNDLG_Wait]\nBorderWidth=2\nResize=1\nSysBtnTop=12abc\n");
    tagDLGSKINVALUES box;
    ReadDlgSkinValues(CDlgSkinIni("MsgBox"), &box);
    EXPECT_EQ(box.nBorderWidth, 6);    // shared only
    EXPECT_EQ(box.nCaptionHeight, 24); // own section, any case
    EXPECT_EQ(box.nResize, 0);         // "KNDLG" does not count for Resize
    EXPECT_EQ(box.nAnomalyFrame, 1);   // built-in
    EXPECT_EQ(box.nSysBtnRight, 6);
    EXPECT_EQ(box.nSysBtnTop, 3);

    tagDLGSKINVALUES wait;
    ReadDlgSkinValues(CDlgSkinIni("Wait"), &wait);
    EXPECT_EQ(wait.nBorderWidth, 2);
    EXPECT_EQ(wait.nCaptionHeight, 30);
    EXPECT_EQ(wait.nResize, 1);
    EXPECT_EQ(wait.nSysBtnTop, 12); // leading digits, as profile integers read
}

TEST_F(DlgSkinIniTest, WithoutASkinEveryValueIsItsDefault) {
    tagDLGSKINVALUES v;
    v.nBorderWidth = 99;
    ReadDlgSkinValues(CDlgSkinIni("MsgBox"), &v);
    EXPECT_EQ(v.nBorderWidth, 4);
    EXPECT_EQ(v.nCaptionHeight, 20);
    EXPECT_EQ(v.crCtrl, RGB(0x80, 0x80, 0x80));
    EXPECT_EQ(v.crTitle, RGB(0xFF, 0xFF, 0xFF));
    EXPECT_TRUE(v.strTitle.IsEmpty());
    CKNBitmap bitmap;
    EXPECT_FALSE(CDlgSkinIni("MsgBox").LoadRestorePicture(&bitmap));
}

TEST_F(DlgSkinIniTest, ColoursReadEveryTextForm) {
    UseSkin("[KNDLG]\nctrlcolor=255,0,0\ntitlecolor=0,128,0\n"
            "[KNDLG_A]\nctrlcolor=0xFF0000\n[KNDLG_B]\nctrlcolor=0xff0000\n"
            "[KNDLG_C]\nctrlcolor=FF0000\nctrltextcolor=7\n"
            "[KNDLG_D]\nctrlcolor=\n");
    const COLORREF red = 0x0000FF;
    for (const char* name : {"A", "B", "D", "none"}) {
        tagDLGSKINVALUES v;
        ReadDlgSkinValues(CDlgSkinIni(name), &v);
        EXPECT_EQ(v.crCtrl, red) << name;
        EXPECT_EQ(v.crTitle, RGB(0, 128, 0)) << name;
    }
    tagDLGSKINVALUES c;
    ReadDlgSkinValues(CDlgSkinIni("C"), &c);
    EXPECT_EQ(c.crCtrl, 0u);     // no prefix: decimal, and "FF0000" reads as 0
    EXPECT_EQ(c.crCtrlText, 7u); // one character: a COLORREF as it stands
}

TEST_F(DlgSkinIniTest, StringsTakeTheDialogFirstAndPairsFallBackWhenZero) {
    UseSkin("[KNDLG]\ntitle=Shared\ntitlefont=SharedFace\ntitlefontsize=14,7\n"
            "[KNDLG_Own]\ntitle=Own\ntitlefont=\ntitlefontsize=16,8\n"
            "[KNDLG_Zero]\ntitlefontsize=0,0\n");
    tagDLGSKINVALUES own;
    ReadDlgSkinValues(CDlgSkinIni("Own"), &own);
    EXPECT_STREQ(own.strTitle, "Own");
    EXPECT_STREQ(own.strTitleFont, "SharedFace"); // empty in the dialog
    EXPECT_EQ(own.nTitleFontSize[0], 16);
    EXPECT_EQ(own.nTitleFontSize[1], 8);
    tagDLGSKINVALUES zero;
    ReadDlgSkinValues(CDlgSkinIni("Zero"), &zero);
    EXPECT_STREQ(zero.strTitle, "Shared");
    EXPECT_EQ(zero.nTitleFontSize[0], 14);
    EXPECT_EQ(zero.nTitleFontSize[1], 7);
}

TEST_F(DlgSkinIniTest, CaptionButtonPlaceIsReadAgainFromTheCurrentIni) {
    UseSkin("[KNDLG]\nSysBtnRight=9\n");
    CDlgSkinIni ini("MsgBox");
    tagDLGSKINVALUES v;
    ReadDlgSkinValues(ini, &v);
    EXPECT_EQ(v.nSysBtnRight, 9);
    UseSkin("[KNDLG]\nSysBtnRight=9\n[KNDLG_MsgBox]\nSysBtnRight=15\nSysBtnTop=5\n"
            "BorderWidth=8\n");
    ReadDlgSkinButtonPlace(ini, &v);
    EXPECT_EQ(v.nSysBtnRight, 15);
    EXPECT_EQ(v.nSysBtnTop, 5);
    EXPECT_EQ(v.nBorderWidth, 4); // only the button place is re-read
}

TEST_F(DlgSkinIniTest, BackgroundsFallBackToTheSharedNameThenTheBuiltInFile) {
    UseSkin("[KNDLG]\nbackgrdbmp=shared.bmp\n[KNDLG_Own]\nbackgrdbmp=own.bmp\n"
            "[KNDLG_Empty]\nbackgrdbmp=\n");
    WritePicture("shared.bmp", 0x112233);
    WritePicture("own.bmp", 0x445566);
    CKNBitmap bitmap;
    ASSERT_TRUE(CDlgSkinIni("Own").LoadPicture(&bitmap, "backgrdbmp", "dialogBK.jpg"));
    EXPECT_EQ(PixelOf(static_cast<HBITMAP>(bitmap.GetSafeHandle()), 3, 1), 0x445566u);
    ASSERT_TRUE(CDlgSkinIni("Empty").LoadPicture(&bitmap, "backgrdbmp", "dialogBK.jpg"));
    EXPECT_EQ(PixelOf(static_cast<HBITMAP>(bitmap.GetSafeHandle()), 0, 0), 0x112233u);

    EXPECT_EQ(std::string(CDlgSkinIni("Empty").PicturePath("backgrdbmpNA", "dialogBKNA.jpg")),
              folder.File("dialogBKNA.jpg"));
    // The built-in name is missing from the folder: refused, the old picture kept.
    EXPECT_FALSE(CDlgSkinIni("Empty").LoadPicture(&bitmap, "backgrdbmpNA", "dialogBKNA.jpg"));
    EXPECT_EQ(PixelOf(static_cast<HBITMAP>(bitmap.GetSafeHandle()), 0, 0), 0x112233u);
    EXPECT_FALSE(CDlgSkinIni("Empty").LoadPicture(&bitmap, "titlemax", nullptr));
    EXPECT_FALSE(CDlgSkinIni("Empty").LoadPicture(nullptr, "backgrdbmp", "dialogBK.jpg"));
}

TEST_F(DlgSkinIniTest, BrokenPicturesAreRefused) {
    UseSkin("[KNDLG]\ntitleclose=broken.bmp\n");
    folder.Write("broken.bmp", "BM not a bitmap");
    CKNBitmap bitmap;
    EXPECT_FALSE(CDlgSkinIni("MsgBox").LoadPicture(&bitmap, "titleclose", nullptr));
    EXPECT_EQ(bitmap.GetSafeHandle(), nullptr);
}

TEST_F(DlgSkinIniTest, RestoreButtonIsSharedAndNamedAfterTheComma) {
    UseSkin("[KNDLG]\ntitlerestore=12,  restore.bmp\n[KNDLG_MsgBox]\ntitlerestore=own.bmp\n");
    WritePicture("restore.bmp", 0x0A0B0C);
    WritePicture("own.bmp", 0x445566);
    CKNBitmap bitmap;
    ASSERT_TRUE(CDlgSkinIni("MsgBox").LoadRestorePicture(&bitmap));
    EXPECT_EQ(PixelOf(static_cast<HBITMAP>(bitmap.GetSafeHandle()), 1, 1), 0x0A0B0Cu);

    UseSkin("[KNDLG]\ntitlerestore=restore.bmp\n");
    ASSERT_TRUE(CDlgSkinIni("MsgBox").LoadRestorePicture(&bitmap));
    UseSkin("[KNDLG]\ntitlerestore=12,\n");
    EXPECT_FALSE(CDlgSkinIni("MsgBox").LoadRestorePicture(&bitmap));
}

TEST_F(DlgSkinIniTest, ThemeLibraryPicturesAreResourcePairs) {
    UseSkin("[KNDLG]\nbackgrdbmp=302,0\ntitlerestore=301,0\n"
            "[KNDLG_Own]\nbackgrdbmp=301,0\n[KNDLG_Missing]\nbackgrdbmp=399,0\n");
    WritePicture("own.bmp", 0x445566);
    WritePicture("shared.bmp", 0x112233);
    std::string error;
    ASSERT_TRUE(RegisterResourceModuleText("SkinIniTest.dll",
                                           "301 BITMAP \"own.bmp\"\n302 BITMAP \"shared.bmp\"\n",
                                           folder.Path(), &error))
        << error;
    HMODULE module = LoadLibrary("SkinIniTest.dll");
    ASSERT_NE(module, nullptr);
    theSkin.nThemeResMode = 2;
    theSkin.hThemeRes = module;
    ASSERT_TRUE(CDlgSkinIni("Own").ThemeLibraryMode());

    CKNBitmap bitmap;
    ASSERT_TRUE(CDlgSkinIni("Own").LoadPicture(&bitmap, "backgrdbmp", "dialogBK.jpg"));
    EXPECT_EQ(PixelOf(static_cast<HBITMAP>(bitmap.GetSafeHandle()), 0, 0), 0x445566u);
    // A pair naming no resource falls back to the shared pair.
    ASSERT_TRUE(CDlgSkinIni("Missing").LoadPicture(&bitmap, "backgrdbmp", "dialogBK.jpg"));
    EXPECT_EQ(PixelOf(static_cast<HBITMAP>(bitmap.GetSafeHandle()), 0, 0), 0x112233u);
    ASSERT_TRUE(CDlgSkinIni("Own").LoadRestorePicture(&bitmap));
    EXPECT_EQ(PixelOf(static_cast<HBITMAP>(bitmap.GetSafeHandle()), 0, 0), 0x445566u);
    // No built-in file in this mode.
    EXPECT_FALSE(CDlgSkinIni("Own").LoadPicture(&bitmap, "backgrdbmpNA", "dialogBKNA.jpg"));
    FreeLibrary(module);
}

} // namespace
} // namespace ui_test
