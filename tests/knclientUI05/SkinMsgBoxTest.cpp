// The skinned message box: every button set and icon in the default skin,
// icons from the skin, the layout in the skin's inner rectangle, the front
// ends choosing it, its countdown, and a broken skin falling back to the
// plain box.

#include "SkinFixture.h"

#include "knclientUI05/GameBoxes.h"
#include "knclientUI05/SkinIcon.h"
#include "knclientUI05/SkinMsgBox.h"
#include "knclientbase05/MessageBoxes.h"
#include "tests/support/IconBytes.h"

#include <string>
#include <vector>

namespace {

using platform_test::Script;
using ui_test::SkinTest;

class SkinMsgBoxTest : public SkinTest {
protected:
    void SetUp() override {
        SkinTest::SetUp();
        previousMaker = SetGameBoxMaker(RunGameBox);
    }
    void TearDown() override {
        SetGameBoxMaker(previousMaker);
        SkinTest::TearDown();
    }
    static HWND Box() { return GetActiveWindow(); }
    static void Press(int button) { Click(Item(Box(), IDC_KN_BUTTON1 + button)); }
    static bool Skinned(HWND box) { return GetWindowLong(box, GWL_USERDATA) == KN_DIALOG_MARK; }

    GameBoxMaker previousMaker = nullptr;
};

// Keeps what its set-up made.
class WatchedBox : public CSkinMsgBox {
public:
    using CSkinMsgBox::CSkinMsgBox;
    RECT inner{}, text{}, button{}, icon{};
    bool countdownShown = true, iconControlShown = false;
    int closeShown = -1;

    BOOL OnInitDialog() override {
        const BOOL result = CSkinMsgBox::OnInitDialog();
        GetInnerRect(&inner);
        Rect(m_txtMessage, &text);
        Rect(m_btn1, &button);
        Rect(m_stcIcon, &icon);
        countdownShown = (m_stcCountdown.GetStyle() & WS_VISIBLE) != 0;
        iconControlShown = (m_stcIcon.GetStyle() & WS_VISIBLE) != 0;
        closeShown = m_sysBtns.GetCount() > 0 ? m_sysBtns.GetButton(0).bVisible : -1;
        return result;
    }

private:
    void Rect(CWnd& control, RECT* r) {
        control.GetWindowRect(r);
        ScreenToClient(r);
    }
};

TEST_F(SkinMsgBoxTest, EveryButtonSetGivesItsResultsInTheDefaultSkin) {
    struct Set {
        UINT style;
        std::vector<int> results;
        const char* name;
    };
    const Set sets[] = {
        {MB_OK | MB_ICONASTERISK, {IDOK}, "ok_asterisk"},
        {MB_OKCANCEL | MB_ICONQUESTION, {IDOK, IDCANCEL}, "okcancel_question"},
        {MB_ABORTRETRYIGNORE | MB_ICONHAND, {IDABORT, IDRETRY, IDIGNORE}, "abortretryignore_hand"},
        {MB_YESNOCANCEL | MB_ICONEXCLAMATION, {IDYES, IDNO, IDCANCEL}, "yesnocancel_exclamation"},
        {MB_YESNO, {IDYES, IDNO}, "yesno_noicon"},
        {MB_RETRYCANCEL | MB_ICONQUESTION, {IDRETRY, IDCANCEL}, "retrycancel_question"},
    };
    for (const Set& set : sets) {
        for (size_t pressed = 0; pressed < set.results.size(); ++pressed) {
            WatchedBox box("打出的牌不符合规则,\n请重新选择。", set.style, 0);
            bool skinned = false;
            Script::Run({[&] {
                skinned = Skinned(box.m_hWnd);
                box.UpdateWindow();
                if (pressed == 0)
                    SaveWindow(box.m_hWnd, std::string("skin_msgbox_") + set.name);
                Press(int(pressed));
            }});
            EXPECT_EQ(box.DoModal(), set.results[pressed]) << set.name;
            EXPECT_TRUE(skinned);
            // Laid out in the skin's inner rectangle, the text right of the
            // icon by the inner offset twice.
            EXPECT_EQ(box.icon.left, box.inner.left + 8);
            EXPECT_EQ(box.text.left, box.icon.right + box.inner.left + 8) << set.name;
            EXPECT_FALSE(box.countdownShown);
            EXPECT_EQ(box.closeShown, 0);
        }
    }
}

TEST_F(SkinMsgBoxTest, TheButtonRowSitsBelowTheTextInTheInnerRect) {
    WatchedBox box("短", MB_OK, 0);
    Script::Run({[&] { Press(0); }});
    EXPECT_EQ(box.DoModal(), IDOK);
    const int textHeight = box.text.bottom - box.text.top;
    const int iconHeight = box.icon.bottom - box.icon.top;
    EXPECT_EQ(box.button.top, std::max(textHeight, iconHeight) + 16 + box.inner.top);
}

TEST_F(SkinMsgBoxTest, TheSkinsIconReplacesTheSystemIconAndIsPaintedByTheHook) {
    iconbytes::Picture red = iconbytes::MakePicture(64, 64, 0xFFFF0000);
    m_folder.Write("question.ico", iconbytes::IconFile({{64, 64, 32, DibImage(red, 32)}}));
    for (const char* name : {"KNDlgBack.bmp", "KNDlgClose.bmp"})
        std::filesystem::copy_file(std::string(PELLOR_ASSET_DIR) + "/Theme/" + name,
                                   m_folder.File(name));
    WriteSkin("[KNDLG]\nbackgrdbmp=KNDlgBack.bmp\ntitleclose=KNDlgClose.bmp\n"
              "[KNDLG_MsgBox]\nICONQUESTION=question.ico\nICONHAND=\n");
    WatchedBox box("问", MB_YESNO | MB_ICONQUESTION, 0);
    uint32_t painted = 0;
    Script::Run({[&] {
        box.UpdateWindow();
        painted = PixelOf(box.m_hWnd, box.icon.left + 10, box.icon.top + 10);
        SaveWindow(box.m_hWnd, "skin_msgbox_skin_icon");
        Press(0);
    }});
    EXPECT_EQ(box.DoModal(), IDYES);
    EXPECT_NE(box.m_hSkinIcon, nullptr);
    EXPECT_EQ(painted, 0xFF0000u);
    // A path too long for the folder and name together gives no icon.
    EXPECT_EQ(LoadSkinIcon(CString('x', 400)), nullptr);
}

TEST_F(SkinMsgBoxTest, TheFrontEndsChooseTheBoxByTheSkinFlag) {
    for (bool skin : {true, false}) {
        theSkin.bSkinInUse = skin;
        bool skinned = !skin;
        Script::Run({[&] {
            skinned = Skinned(Box());
            Press(1);
        }});
        EXPECT_EQ(GameMessageBox("继续吗?", MB_YESNO, 0), IDNO);
        EXPECT_EQ(skinned, skin);
        Script::Run({[&] { Press(0); }});
        EXPECT_EQ(GameMessageBoxId(29705, MB_OKCANCEL, 0), IDOK);
    }
}

TEST_F(SkinMsgBoxTest, ACountdownEndsTheSkinnedBoxWithItsDefaultButton) {
    const uint64_t start = clock.NowMs();
    EXPECT_EQ(GameMessageBox("稍等", MB_OKCANCEL | MB_DEFBUTTON2, 3), IDCANCEL);
    EXPECT_GE(clock.NowMs() - start, 3000u);
    WatchedBox box("倒计时", MB_OK, 2);
    EXPECT_EQ(box.DoModal(), IDOK);
    EXPECT_TRUE(box.countdownShown);
}

// Runs a timer of its own beside the countdown.
class BusyBox : public CSkinMsgBox {
public:
    using CSkinMsgBox::CSkinMsgBox;
    int ownTicks = 0;
    BOOL OnInitDialog() override {
        const BOOL result = CSkinMsgBox::OnInitDialog();
        SetTimer(7, 100);
        return result;
    }
    void OnTimer(UINT_PTR id) override {
        ownTicks += id == 7;
        CSkinMsgBox::OnTimer(id);
    }
};

TEST_F(SkinMsgBoxTest, OnlyTheCountdownsOwnTimerCountsTheSecondsDown) {
    const uint64_t start = clock.NowMs();
    BusyBox box("倒计时", MB_OK, 3);
    EXPECT_EQ(box.DoModal(), IDOK);
    EXPECT_GE(clock.NowMs() - start, 3000u);
    EXPECT_GE(box.ownTicks, 20);
}

TEST_F(SkinMsgBoxTest, TheSkinnedBoxCannotBeClosedFromItsCaption) {
    WatchedBox box("不能关", MB_OK, 0);
    bool stillOpen = false;
    Script::Run({[&] {
                     box.SendMessage(WM_COMMAND, IDC_KN_SYS_CLOSE, 0);
                     box.SendMessage(WM_CLOSE);
                     Key(VK_ESCAPE);
                 },
                 [&] {
                     stillOpen = IsWindowVisible(box.m_hWnd);
                     Press(0);
                 }});
    EXPECT_EQ(box.DoModal(), IDOK);
    EXPECT_TRUE(stillOpen);
}

TEST_F(SkinMsgBoxTest, ASkinWithoutItsSectionsFallsBackToThePlainBox) {
    WriteSkin("[Other]\nkey=1\n");
    bool skinned = true;
    std::string caption;
    Script::Run({[&] {
        skinned = Skinned(Box());
        caption = TextOf(Box());
        Press(0);
    }});
    EXPECT_EQ(GameMessageBox("皮肤坏了", MB_OK, 0), IDOK);
    EXPECT_FALSE(skinned);
    EXPECT_EQ(caption, "提示");
    // A skin ini that is not there at all.
    SetSkin(m_folder.File("none.ini"), m_folder.Path() + "/");
    Script::Run({[&] { Press(0); }});
    EXPECT_EQ(GameMessageBox("没有皮肤", MB_OK, 0), IDOK);
}

} // namespace
