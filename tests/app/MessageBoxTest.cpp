// The program's message box on the headless display with the default theme
// and the program's resource library: the answers by key and by button, the
// box's size by text, the link, the drawn lines, and the skin button rules.

#include "app/AppServices.h"
#include "app/GameSettings.h"
#include "app/MessageBoxDlg.h"
#include "app/MessageText.h"
#include "tests/app/SkinFixture.h"
#include "tests/support/DialogFixture.h"

#include "assets/resource.h"
#include "platform/display/Display.h"
#include "platform/system/Shell.h"
#include "sprite/Theme.h"

#include <filesystem>

using namespace app_test;
using namespace platform;
using namespace platform_test;

namespace {

const std::string kProgram = std::string(PELLOR_ASSET_DIR) + "/";

class MessageBoxTest : public DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        clock.SetAutoAdvance(true);
        std::string error;
        ASSERT_TRUE(RegisterResourceModule("Pellor2_res.dll", kProgram + "Pellor2_res.rc", &error))
            << error;
        module = LoadLibrary("Pellor2_res.dll");
        ASSERT_NE(module, nullptr);
        savedHandle = AfxGetResourceHandle();
        AfxSetResourceHandle(module);
        SetExeFolderOverride(kProgram.c_str());
        SetLogFileOverride(temp.File("test.log").c_str());
        ASSERT_TRUE(kn::theTheme.Open("Pellor2"));
        InstallMessageBox();
    }
    void TearDown() override {
        ReleaseCapture();
        InjectMouse(MouseAction::LeftUp, {1000, 760});
        PumpPending();
        SetMessageBoxPresenter(nullptr);
        SetShellExecuteHook(nullptr);
        kn::theTheme.Close();
        SetExeFolderOverride(nullptr);
        SetLogFileOverride(nullptr);
        AfxSetResourceHandle(savedHandle);
        FreeLibrary(module);
        DisplayTest::TearDown();
    }
    static void Key(UINT vk) {
        InjectKey(vk, true);
        InjectKey(vk, false);
    }
    static void Click(POINT p) {
        InjectMouse(MouseAction::Move, p);
        InjectMouse(MouseAction::LeftDown, p);
        InjectMouse(MouseAction::LeftUp, p);
    }
    static POINT CenterOf(HWND hwnd) {
        RECT r;
        GetWindowRect(hwnd, &r);
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    // The box's pixel at a client point, 0x00RRGGBB.
    static uint32_t PixelOf(CWnd& box, int x, int y) { return DisplayTest::PixelOf(box, x, y); }
    // Counts pixels of one colour in a client rectangle.
    static int CountColour(CWnd& box, RECT area, uint32_t colour) {
        RECT client;
        box.GetClientRect(&client);
        IntersectRect(&area, &area, &client);
        int count = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                count += PixelOf(box, x, y) == colour;
        return count;
    }

    TempFolder temp;
    HINSTANCE module = nullptr;
    HINSTANCE savedHandle = nullptr;
};

TEST_F(MessageBoxTest, EnterAndOkAgreeEscapeCancelAndCloseRefuse) {
    Script::Run({[] { Key(VK_RETURN); }});
    EXPECT_EQ(ShowMessageBox("确定要离开吗?"), IDOK);
    Script::Run({[] { Key(VK_ESCAPE); }});
    EXPECT_EQ(ShowMessageBox("确定要离开吗?"), IDCANCEL);

    const std::pair<int, int> buttons[] = {
        {IDOK, IDOK}, {IDCANCEL, IDCANCEL}, {IDC_CLOSE, IDCANCEL}};
    for (const auto& [id, expected] : buttons) {
        CMessageBoxDlg box;
        box.SetText("确定要离开吗?");
        Script::Run({[&box, id = id] { Click(CenterOf(::GetDlgItem(box, id))); }});
        EXPECT_EQ(box.DoModal(), expected) << "button " << id;
    }
}

// Without the resource library the box's template is missing: the system's
// box asks in its place, with the same text and answers.
TEST_F(MessageBoxTest, WithoutItsTemplateTheSystemsBoxAsks) {
    AfxSetResourceHandle(nullptr);
    std::string shown;
    Script::Run({[&shown] {
        HWND box = GetActiveWindow();
        EnumChildWindows(
            box,
            [](HWND child, LPARAM texts) -> BOOL {
                char text[256] = {};
                GetWindowText(child, text, sizeof text);
                *reinterpret_cast<std::string*>(texts) += std::string(text) + "|";
                return TRUE;
            },
            LPARAM(&shown));
        Key(VK_RETURN);
    }});
    EXPECT_EQ(ShowMessageBox("载入资源库失败!"), IDOK);
    EXPECT_NE(shown.find("载入资源库失败!|"), std::string::npos) << shown;
    Script::Run({[] { Key(VK_ESCAPE); }});
    EXPECT_EQ(ShowMessageBox("载入资源库失败!"), IDCANCEL);
}

TEST_F(MessageBoxTest, TimersGoOnWhileTheBoxIsOpen) {
    RecordingWnd table;
    std::vector<Delivered> log;
    ASSERT_TRUE(table.CreateTop(&log));
    table.SetTimer(5, 20);
    Script::Run({[] {}, [] {}, [] {}, [] {}, [] {}, [] {}, [] { Key(VK_ESCAPE); }});
    ShowMessageBox("等待中");
    int ticks = 0;
    for (const Delivered& d : log)
        ticks += d.message == WM_TIMER && d.wParam == 5;
    EXPECT_GT(ticks, 0);
    table.DestroyWindow();
}

TEST_F(MessageBoxTest, LongTextsGetTheBigBox) {
    for (int length : {150, 151}) {
        CMessageBoxDlg box;
        box.SetText(CString(std::string(size_t(length), 'x').c_str()));
        bool big = false;
        CSize area;
        Script::Run({[&] {
            big = box.IsBig();
            area = box.GetTextArea();
            Key(VK_ESCAPE);
        }});
        box.DoModal();
        EXPECT_EQ(big, length == 151) << length;
        EXPECT_EQ(area.cx, length == 151 ? 390 : 265);
        EXPECT_EQ(area.cy, length == 151 ? 155 : 65);
    }
}

TEST_F(MessageBoxTest, TheWealthTextShowsABlueLinkThatOpensTheHelpPage) {
    std::vector<std::string> opened;
    SetShellExecuteHook([&opened](LPCSTR operation, LPCSTR file, int) {
        opened.push_back(std::string(operation) + " " + file);
        return INT_PTR(33);
    });
    CMessageBoxDlg box;
    box.SetText(CString("您的财富值 不足。") + message_text::kWealthPhrase);
    CRect link;
    int blue = 0;
    Script::Run({[&] {
                     link = box.GetLinkRect();
                     blue = CountColour(box, link, 0x0000FF);
                     SaveWindowPng(box, OutputPath("messagebox_link.png"));
                     RECT r;
                     box.GetWindowRect(&r);
                     Click(POINT{r.left + link.left + 10, r.top + link.top + 6});
                 },
                 [] { Key(VK_ESCAPE); }});
    box.DoModal();
    EXPECT_TRUE(box.IsLink());
    EXPECT_EQ(box.GetText().Find(' '), -1) << "spaces are removed";
    EXPECT_GE(box.GetText().Find(CString("\n") + WebLinkAddress(kLinkWealthHelp) + "\n"), 0);
    EXPECT_NE(link.top, 100) << "the link's rectangle is where its line was drawn";
    EXPECT_EQ(link.Height(), 12);
    EXPECT_GT(blue, 20);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], std::string("open ") + (LPCSTR)WebLinkAddress(kLinkWealthHelp));
}

TEST_F(MessageBoxTest, OneTwoAndThreeLinesAndALongTextAreDrawn) {
    const std::pair<const char*, const char*> texts[] = {
        {"messagebox_1line.png", "网络连接关闭!"},
        {"messagebox_2lines.png", "您的游戏豆不足。\n请兑换后再来。"},
        {"messagebox_3lines.png", "第一行\n第二行\n第三行"},
        {"messagebox_long.png",
         "本局游戏尚未结束，如果现在离开，系统将按照逃跑处理并扣除相应的游戏豆。"
         "您确定要离开吗？离开后您可以在大厅中重新选择桌子加入游戏，也可以观看其他玩家的"
         "对局。祝您游戏愉快！本局游戏尚未结束，如果现在离开，系统将按照逃跑处理。"
         "本局游戏尚未结束，如果现在离开，系统将按照逃跑处理并扣除相应的游戏豆。"
         "本局游戏尚未结束，如果现在离开，系统将按照逃跑处理并扣除相应的游戏豆。"
         "本局游戏尚未结束，如果现在离开，系统将按照逃跑处理并扣除相应的游戏豆。"},
    };
    int expectedLines[] = {1, 2, 3, 0};
    for (size_t i = 0; i < std::size(texts); ++i) {
        CMessageBoxDlg box;
        box.SetText(texts[i].second);
        int lines = 0, black = 0, keyed = -1;
        Script::Run({[&] {
            lines = box.GetLineCount();
            black = CountColour(box, RECT{60, 30, 420, 200}, 0x000000);
            keyed = CountColour(box, RECT{0, 0, 1000, 1000}, 0xFF00FF);
            SaveWindowPng(box, OutputPath(texts[i].first));
            Key(VK_ESCAPE);
        }});
        box.DoModal();
        if (expectedLines[i])
            EXPECT_EQ(lines, expectedLines[i]) << texts[i].first;
        else
            EXPECT_GT(lines, 3) << "the long text wraps";
        EXPECT_GT(black, 30) << texts[i].first << ": the text is drawn";
        EXPECT_EQ(keyed, 0) << texts[i].first
                            << ": no key colour shows, the buttons' corners "
                               "included";
    }
}

TEST_F(MessageBoxTest, WithoutItsPicturesTheBoxStillShowsItsTextAndAnswers) {
    // A theme that names no pictures at all.
    kn::theTheme.Close();
    temp.Write("Pellor2.ini", "[Theme]\nTheme=theme_bmp\\Bare\n");
    std::filesystem::create_directories(temp.File("theme_bmp"));
    temp.Write("theme_bmp/Bare.thm", "[Image]\n");
    SetExeFolderOverride((temp.Path() + "/").c_str());
    ASSERT_TRUE(kn::theTheme.Open("Pellor2"));

    CMessageBoxDlg box;
    box.SetText("网络连接关闭!");
    int black = 0;
    Script::Run({[&] {
        RECT client;
        box.GetClientRect(&client);
        black = CountColour(box, client, 0x000000);
        SaveWindowPng(box, OutputPath("messagebox_bare.png"));
        Key(VK_RETURN);
    }});
    EXPECT_EQ(box.DoModal(), IDOK);
    EXPECT_GT(black, 30) << "the text is drawn on the plain face";
    EXPECT_NE(temp.Read("test.log").find("no picture \"MessageBack\""), std::string::npos);
}

} // namespace
