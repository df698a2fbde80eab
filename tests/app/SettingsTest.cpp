// The settings file pellor2.ini beside the program.

#include "app/GameApp.h"
#include "platform/system/Profile.h"
#include "sprite/AppServices.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetExeFolderOverride((folder.Path() + "/").c_str());
        SetLogFileOverride(folder.File("test.log").c_str());
    }
    void TearDown() override {
        SetExeFolderOverride(nullptr);
        SetLogFileOverride(nullptr);
    }
    std::string Value(LPCSTR section, LPCSTR key) {
        char buffer[300] = {};
        GetPrivateProfileString(section, key, "<none>", buffer, sizeof buffer,
                                folder.File("pellor2.ini").c_str());
        return buffer;
    }

    TempFolder folder;
    CGameApp app;
};

TEST_F(SettingsTest, AMissingFileGivesTheDefaultsAndIsWrittenAtExit) {
    app.LoadSettings();
    EXPECT_EQ(app.m_settings.m_bAllowWatch, 0);
    EXPECT_EQ(app.m_settings.m_bAllowPSound, 1);
    EXPECT_EQ(app.m_settings.m_bAllowBSound, 1);
    EXPECT_EQ(app.m_settings.m_nClockOrder, 0);
    EXPECT_EQ(app.m_settings.m_nCardOrder, 0);
    EXPECT_EQ(app.m_settings.m_nWindowWidth, 1024);
    EXPECT_EQ(app.m_settings.m_nWindowHeight, 734);
    EXPECT_STREQ(app.m_settings.m_strPhotoPath, (folder.Path() + "/snapshot").c_str());
    EXPECT_TRUE(app.m_settings.m_strBackMusic.IsEmpty());

    app.SaveSettings();
    EXPECT_EQ(Value("Setting", "AllowWatch"), "0");
    EXPECT_EQ(Value("Setting", "AllowPSound"), "1");
    EXPECT_EQ(Value("Setting", "WindowSize"), "1024,734");
    EXPECT_EQ(Value("Setting", "PhotoPath"), folder.Path() + "/snapshot");
    EXPECT_EQ(Value("BackMusic", "default"), "");
}

TEST_F(SettingsTest, ValuesRoundTripAndTheNextClockOrderIsWhatIsSaved) {
    folder.Write("pellor2.ini", "[Setting]\nAllowWatch=1\nAllowPSound=0\nAllowBSound=0\n"
                                "ClockOrder=1\nCardOrder=1\nWindowSize=1100,800\n"
                                "PhotoPath=/shots\nhelp=http://h/\n[BackMusic]\ndefault=a.wav\n");
    app.LoadSettings();
    EXPECT_EQ(app.m_settings.m_bAllowWatch, 1);
    EXPECT_EQ(app.m_settings.m_bAllowPSound, 0);
    EXPECT_EQ(app.m_settings.m_bAllowBSound, 0);
    EXPECT_EQ(app.m_settings.m_nClockOrder, 1);
    EXPECT_EQ(app.m_settings.m_nClockOrderNext, 1);
    EXPECT_EQ(app.m_settings.m_nCardOrder, 1);
    EXPECT_EQ(app.m_settings.m_nWindowWidth, 1100);
    EXPECT_EQ(app.m_settings.m_nWindowHeight, 800);
    EXPECT_STREQ(app.m_settings.m_strPhotoPath, "/shots");
    EXPECT_STREQ(app.m_settings.m_strBackMusic, "a.wav");

    // Changed in the settings dialog, saved even though no game started.
    app.m_settings.m_nClockOrderNext = 0;
    app.SaveSettings();
    EXPECT_EQ(Value("Setting", "ClockOrder"), "0");
    EXPECT_EQ(Value("Setting", "WindowSize"), "1100,800");
    EXPECT_EQ(Value("Setting", "help"), "http://h/") << "the help address is never written";
    EXPECT_EQ(Value("BackMusic", "default"), "a.wav");
}

TEST_F(SettingsTest, AnEmptyBackgroundMusicKeepsTheMember) {
    folder.Write("pellor2.ini", "[BackMusic]\ndefault=\n");
    app.m_settings.m_strBackMusic = "kept.wav";
    app.LoadSettings();
    EXPECT_STREQ(app.m_settings.m_strBackMusic, "kept.wav");
}

TEST_F(SettingsTest, GarbageValuesLoadTheDefaultsAndAreLogged) {
    folder.Write("pellor2.ini", "[Setting]\nAllowWatch=yes\nAllowPSound=7\nAllowBSound=-1\n"
                                "ClockOrder=2x\nCardOrder=\nWindowSize=wide,tall\nPhotoPath=\n");
    app.LoadSettings();
    EXPECT_EQ(app.m_settings.m_bAllowWatch, 0);
    EXPECT_EQ(app.m_settings.m_bAllowPSound, 1);
    EXPECT_EQ(app.m_settings.m_bAllowBSound, 1);
    EXPECT_EQ(app.m_settings.m_nClockOrder, 0);
    EXPECT_EQ(app.m_settings.m_nCardOrder, 0);
    EXPECT_EQ(app.m_settings.m_nWindowWidth, 1024);
    EXPECT_EQ(app.m_settings.m_nWindowHeight, 734);
    EXPECT_STREQ(app.m_settings.m_strPhotoPath, (folder.Path() + "/snapshot").c_str());
    const std::string log = folder.Read("test.log");
    EXPECT_NE(log.find("AllowWatch=yes"), std::string::npos) << log;
    EXPECT_NE(log.find("WindowSize=wide,tall"), std::string::npos) << log;
}

TEST_F(SettingsTest, SizesThatAreNotTwoSaneNumbersAreRefused) {
    for (const char* bad : {"1024", "1024,", ",734", "0,734", "-5,700", "99999,700", "1,2,3"}) {
        folder.Write("pellor2.ini", std::string("[Setting]\nWindowSize=") + bad + "\n");
        app.LoadSettings();
        EXPECT_EQ(app.m_settings.m_nWindowWidth, 1024) << bad;
        EXPECT_EQ(app.m_settings.m_nWindowHeight, 734) << bad;
    }
    folder.Write("pellor2.ini", "[Setting]\nWindowSize= 1200 , 900 \n");
    app.LoadSettings();
    EXPECT_EQ(app.m_settings.m_nWindowWidth, 1200);
    EXPECT_EQ(app.m_settings.m_nWindowHeight, 900);
}

} // namespace
