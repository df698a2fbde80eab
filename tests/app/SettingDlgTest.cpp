// The settings dialog driven by clicks: the music list from the settings
// file, when the music is stopped and started, what OK writes to the store
// and posts to the main window, what Cancel, close and the keys leave alone,
// and the folder picker; then the store saved and read back.

#include "app/SettingDlg.h"
#include "app/ShellMessages.h"
#include "assets/resource.h"
#include "platform/controls/FolderPicker.h"
#include "tests/app/DialogKit.h"

#include <cstdlib>
#include <filesystem>
#include <string>

using namespace app_test;

namespace {

class SettingDlgTest : public AppDialogTest {
protected:
    void SetUp() override {
        AppDialogTest::SetUp();
        ASSERT_TRUE(mainWnd.CreateTop(&mainLog));
        file = temp.File("pellor2.ini");
        temp.Write("pellor2.ini", "[BackMusic]\ndefault=b.mid\n甲=a.mid\n乙=b.mid\n");
        settings.m_strBackMusic = "b.mid";
        settings.m_strPhotoPath = "C:\\shots";
    }
    void TearDown() override {
        if (dlg && dlg->GetSafeHwnd())
            dlg->DestroyWindow();
        dlg.reset();
        mainWnd.DestroyWindow();
        AppDialogTest::TearDown();
    }
    void Open() {
        dlg = std::make_unique<CSettingDlg>(&mainWnd, settings, file.c_str(), "snd\\");
        dlg->SetMusicControl(
            {[this] { music.push_back("stop"); },
             [this](LPCSTR path) { music.push_back(std::string("play ") + path); }});
        ASSERT_TRUE(dlg->Create());
        dlg->ShowWindow(SW_SHOW);
        PumpPending();
    }
    CComboBox& Combo() {
        return *static_cast<CComboBox*>(dlg->GetDlgItem(IDC_SETTINGS_MUSIC_LIST));
    }
    void Choose(int index) {
        ::SendMessage(::GetDlgItem(dlg->GetSafeHwnd(), IDC_SETTINGS_MUSIC_LIST), CB_SETCURSEL,
                      WPARAM(index), 0);
    }
    std::vector<std::string> Posts() const {
        std::vector<std::string> seen;
        for (const Delivered& d : mainLog)
            if (d.message == WM_SHELL_RESORT)
                seen.push_back(std::to_string(d.wParam) + "," + std::to_string(d.lParam));
        return seen;
    }

    RecordingWnd mainWnd;
    std::vector<Delivered> mainLog;
    CGameSettings settings;
    std::string file;
    std::unique_ptr<CSettingDlg> dlg;
    std::vector<std::string> music;
};

TEST_F(SettingDlgTest, TheFolderLabelSitsOnThePagesOwnColour) {
    Open();
    HWND label = nullptr;
    ::EnumChildWindows(
        dlg->GetSafeHwnd(),
        [](HWND child, LPARAM found) {
            char text[64] = {};
            ::GetWindowText(child, text, sizeof text);
            if (std::string(text) != "截图保存到:")
                return TRUE;
            *reinterpret_cast<HWND*>(found) = child;
            return FALSE;
        },
        LPARAM(&label));
    ASSERT_NE(label, nullptr);
    RECT r{};
    ::GetWindowRect(label, &r);
    POINT corner{r.right - 2, r.top + 1};
    dlg->ScreenToClient(&corner);
    PumpPending();
    // The label's empty end against the page just above the label.
    EXPECT_EQ(PixelOf(dlg->GetSafeHwnd(), corner.x, corner.y),
              PixelOf(dlg->GetSafeHwnd(), corner.x, corner.y - 4))
        << "no grey box on the page";
    // So does the end of a check box's line.
    RECT box{};
    ::GetWindowRect(::GetDlgItem(dlg->GetSafeHwnd(), IDC_SETTINGS_CARD_ORDER), &box);
    POINT end{box.right - 2, box.top + 1};
    dlg->ScreenToClient(&end);
    EXPECT_EQ(PixelOf(dlg->GetSafeHwnd(), end.x, end.y),
              PixelOf(dlg->GetSafeHwnd(), corner.x, corner.y - 4))
        << "no white box on the page";
    Save(*dlg, "settings_labels.png");
}

TEST_F(SettingDlgTest, TheListSkipsDefaultAndSelectsTheMusicInUse) {
    Open();
    HWND combo = ::GetDlgItem(dlg->GetSafeHwnd(), IDC_SETTINGS_MUSIC_LIST);
    ASSERT_EQ(::SendMessage(combo, CB_GETCOUNT, 0, 0), 2);
    char text[64] = {};
    ::SendMessage(combo, CB_GETLBTEXT, 0, LPARAM(text));
    EXPECT_STREQ(text, "甲");
    EXPECT_EQ(::SendMessage(combo, CB_GETCURSEL, 0, 0), 1) << "乙 plays b.mid, the music in use";
    EXPECT_EQ(TextOf(*dlg, IDC_SETTINGS_PHOTO_PATH), "C:/shots") << "as the desktop writes it";
    Save(*dlg, "settings.png");
}

TEST_F(SettingDlgTest, TheSameMusicWithMusicOnIsNotRestarted) {
    Open();
    ClickItem(*dlg, IDC_SETTINGS_OK);
    EXPECT_TRUE(music.empty());
    EXPECT_FALSE(dlg->IsWindowVisible());
    EXPECT_STREQ(settings.m_strBackMusic, "b.mid");
    EXPECT_TRUE(Posts().empty()) << "the card order did not change";
}

TEST_F(SettingDlgTest, AnotherChoiceRestartsTheMusic) {
    Open();
    Choose(0);
    ClickItem(*dlg, IDC_SETTINGS_OK);
    EXPECT_EQ(music, (std::vector<std::string>{"stop", "play snd\\a.mid"}));
    EXPECT_STREQ(settings.m_strBackMusic, "a.mid");
}

TEST_F(SettingDlgTest, SwitchingMusicOnRestartsItAndOffStopsItOnce) {
    settings.m_bAllowBSound = 0;
    Open();
    ClickItem(*dlg, IDC_SETTINGS_MUSIC);
    ClickItem(*dlg, IDC_SETTINGS_OK);
    EXPECT_EQ(music, (std::vector<std::string>{"stop", "play snd\\b.mid"}));
    EXPECT_EQ(settings.m_bAllowBSound, 1);

    music.clear();
    dlg->DestroyWindow();
    Open();
    ClickItem(*dlg, IDC_SETTINGS_MUSIC);
    ClickItem(*dlg, IDC_SETTINGS_OK);
    EXPECT_EQ(music, std::vector<std::string>{"stop"});
    EXPECT_EQ(settings.m_bAllowBSound, 0);
}

TEST_F(SettingDlgTest, ACardOrderChangeIsPostedAndLeftToTheMainWindow) {
    Open();
    ClickItem(*dlg, IDC_SETTINGS_CARD_ORDER);
    ClickItem(*dlg, IDC_SETTINGS_OK);
    PumpPending();
    EXPECT_EQ(Posts(), std::vector<std::string>{"1,1"});
    EXPECT_EQ(settings.m_nCardOrder, 0) << "the main window stores it";
}

TEST_F(SettingDlgTest, ASeatDirectionChangeWaitsForTheNextGame) {
    Open();
    ClickItem(*dlg, IDC_SETTINGS_CLOCK_ORDER);
    ClickItem(*dlg, IDC_SETTINGS_SOUND);
    ClickItem(*dlg, IDC_SETTINGS_OK);
    EXPECT_EQ(settings.m_nClockOrderNext, 1);
    EXPECT_EQ(settings.m_nClockOrder, 0);
    EXPECT_EQ(settings.m_bAllowPSound, 0);
}

TEST_F(SettingDlgTest, CancelCloseEnterAndEscapeChangeNothing) {
    Open();
    const auto change = [this] {
        ClickItem(*dlg, IDC_SETTINGS_CARD_ORDER);
        ClickItem(*dlg, IDC_SETTINGS_CLOCK_ORDER);
        ClickItem(*dlg, IDC_SETTINGS_MUSIC);
        Choose(0);
    };
    change();
    PressKey(*dlg, VK_RETURN, IDC_SETTINGS_PHOTO_PATH);
    PressKey(*dlg, VK_ESCAPE, IDC_SETTINGS_PHOTO_PATH);
    EXPECT_TRUE(dlg->IsWindowVisible()) << "the keys do nothing";
    for (int id : {IDC_SETTINGS_CANCEL, IDC_CLOSE}) {
        dlg->DestroyWindow();
        Open();
        change();
        ClickItem(*dlg, id);
        EXPECT_FALSE(dlg->IsWindowVisible()) << id;
    }
    EXPECT_TRUE(music.empty());
    EXPECT_TRUE(Posts().empty());
    EXPECT_EQ(settings.m_nClockOrderNext, 0);
    EXPECT_EQ(settings.m_bAllowBSound, 1);
    EXPECT_STREQ(settings.m_strBackMusic, "b.mid");
}

TEST_F(SettingDlgTest, WithoutAnyMusicListedTheStoredMusicIsKept) {
    temp.Write("pellor2.ini", "[Setting]\nCardOrder=0\n");
    Open();
    ClickItem(*dlg, IDC_SETTINGS_OK);
    EXPECT_STREQ(settings.m_strBackMusic, "b.mid") << "never replaced by an empty name";
    EXPECT_TRUE(music.empty());
}

TEST_F(SettingDlgTest, TheChosenFolderIsShownSavedAndReadBack) {
    std::filesystem::create_directories(temp.File("home/shots"));
    const char* savedHome = std::getenv("HOME");
    const std::string oldHome = savedHome ? savedHome : "";
    setenv("HOME", temp.File("home").c_str(), 1);
    Open();
    std::string shown;
    Script::Run({[&shown] {
        HWND picker = ::GetActiveWindow();
        char folder[MAX_PATH] = {};
        ::GetWindowText(::GetDlgItem(picker, IDC_FOLDER_PATH), folder, MAX_PATH);
        shown = folder;
        HWND list = ::GetDlgItem(picker, IDC_FOLDER_LIST);
        const int count = int(::SendMessage(list, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char name[MAX_PATH] = {};
            ::SendMessage(list, LB_GETTEXT, WPARAM(i), LPARAM(name));
            if (std::string(name) == "shots")
                ::SendMessage(list, LB_SETCURSEL, WPARAM(i), 0);
        }
        ::SendMessage(picker, WM_COMMAND, IDOK, 0);
    }});
    clock.SetAutoAdvance(true);
    ClickItem(*dlg, IDC_SETTINGS_SET_PATH);
    clock.SetAutoAdvance(false);
    setenv("HOME", oldHome.c_str(), 1);
    ASSERT_FALSE(shown.empty());
    const std::string chosen = shown + "/shots";
    EXPECT_EQ(TextOf(*dlg, IDC_SETTINGS_PHOTO_PATH), chosen);
    EXPECT_STREQ(settings.m_strPhotoPath, "C:\\shots") << "not before OK";
    ClickItem(*dlg, IDC_SETTINGS_OK);
    EXPECT_STREQ(settings.m_strPhotoPath, chosen.c_str());

    ASSERT_TRUE(settings.SaveSettings(file.c_str()));
    CGameSettings read;
    read.LoadSettings(file.c_str());
    EXPECT_STREQ(read.m_strPhotoPath, chosen.c_str());
    EXPECT_STREQ(read.m_strBackMusic, "b.mid");
    EXPECT_EQ(ReadMusicList(file.c_str()).size(), 2u) << "the list survives the save";
    EXPECT_TRUE(music.empty()) << "browsing never changes the music chosen";
}

} // namespace
