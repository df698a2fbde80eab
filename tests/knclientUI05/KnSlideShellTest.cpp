// Window slides on a clock that moves at every reading, and the mail program
// started from the registry without a command interpreter.

#include "knclientUI05/KnClientPublic.h"
#include "platform/controls/ImageList.h"
#include "platform/resources/Icon.h"
#include "platform/resources/Resource.h"
#include "platform/system/Clock.h"
#include "platform/system/Registry.h"
#include "platform/system/Shell.h"
#include "platform/window/SystemMetrics.h"
#include "platform/window/Window.h"
#include "tests/support/GdiCanvas.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Each reading moves time on, so a busy loop on the tick count ends.
class SteppingClock : public platform::Clock {
public:
    explicit SteppingClock(uint64_t step) : m_step(step) {}
    uint64_t NowMs() const override { return m_now += m_step; }
    void SleepMs(uint32_t) override {}
    bool IsManual() const override { return true; }

private:
    uint64_t m_step;
    mutable uint64_t m_now = 5000;
};

std::vector<POINT> g_moves;

LRESULT RecordMoves(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_MOVE)
        g_moves.push_back(POINT{short(LOWORD(l)), short(HIWORD(l))});
    return DefWindowProc(hwnd, message, w, l);
}

class SlideTest : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASS wc{};
        wc.lpfnWndProc = RecordMoves;
        wc.lpszClassName = "SlideTestWindow";
        RegisterClass(&wc);
        window = CreateWindowEx(0, "SlideTestWindow", "", WS_POPUP, 100, 50, 200, 100, nullptr,
                                nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        g_moves.clear();
        screenWidth = GetSystemMetrics(SM_CXSCREEN);
        screenHeight = GetSystemMetrics(SM_CYSCREEN);
    }
    void TearDown() override { DestroyWindow(window); }

    RECT Where() const {
        RECT r{};
        GetWindowRect(window, &r);
        return r;
    }

    HWND window = nullptr;
    int screenWidth = 0;
    int screenHeight = 0;
};

TEST_F(SlideTest, ADurationOfZeroMovesOnceAtMostThenPlaces) {
    SteppingClock clock(1);
    platform::ScopedClock use(clock);
    const RECT final{10, 20, 110, 70};
    EXPECT_TRUE(SlideWindowOut(window, 1, &final, 0));
    EXPECT_LE(g_moves.size(), 2u);
    const RECT r = Where();
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.right, 110);
    EXPECT_EQ(r.bottom, 70);
}

TEST_F(SlideTest, OutDownwardsForAnUnknownDirection) {
    SteppingClock clock(10);
    platform::ScopedClock use(clock);
    const RECT final{100, 50, 300, 150};
    EXPECT_TRUE(SlideWindowOut(window, 7, &final, 100));
    ASSERT_GE(g_moves.size(), 5u);
    for (size_t i = 0; i + 1 < g_moves.size() - 1; ++i) {
        EXPECT_EQ(g_moves[i].x, 100);
        EXPECT_LE(g_moves[i].y, g_moves[i + 1].y);
    }
    // The last slide position is short of the full way: the screen's bottom.
    EXPECT_LT(g_moves[g_moves.size() - 2].y, screenHeight);
    EXPECT_GT(g_moves[g_moves.size() - 2].y, screenHeight / 2);
}

TEST_F(SlideTest, AWindowPartlyOffTheScreenSlidesNoBackwardsOrHugeSteps) {
    SteppingClock clock(10);
    platform::ScopedClock use(clock);
    MoveWindow(window, -300, 50, 200, 100, FALSE); // right edge at -100
    g_moves.clear();
    const RECT final{0, 0, 200, 100};
    EXPECT_TRUE(SlideWindowOut(window, 1, &final, 100));
    ASSERT_FALSE(g_moves.empty());
    // No distance to go: the window stays where it was until placed.
    for (size_t i = 0; i + 1 < g_moves.size(); ++i)
        EXPECT_EQ(g_moves[i].x, -300);
}

TEST_F(SlideTest, InFromTheRightEndsAtTheScreenEdgeThenJumps) {
    SteppingClock clock(7);
    platform::ScopedClock use(clock);
    const RECT target{300, 200, 500, 300};
    EXPECT_TRUE(SlideWindowIn(window, 2, &target, 100));
    ASSERT_GE(g_moves.size(), 3u);
    EXPECT_EQ(g_moves.front().x, screenWidth) << "starts just outside";
    EXPECT_EQ(g_moves.front().y, 200);
    const POINT last = g_moves[g_moves.size() - 2];
    EXPECT_GE(last.x, screenWidth - 200);
    EXPECT_LT(last.x, screenWidth - 180);
    EXPECT_EQ(g_moves.back().x, 300);
    EXPECT_EQ(Where().top, 200);
}

class MailClientTest : public ::testing::Test {
protected:
    // A registry of the test's own: tests run side by side in processes of
    // their own, and none may see another's mail program.
    TempFolder config;

    void SetUp() override {
        setenv("PELLOR_CONFIG_DIR", config.Path().c_str(), 1);
        platform::SetShellProgramHook(
            [this](LPCSTR program, const std::vector<std::string>& arguments) -> INT_PTR {
                started.push_back(program);
                startedWith = arguments;
                return 33;
            });
    }
    void TearDown() override {
        platform::SetShellProgramHook(nullptr);
        platform::SetShellExecuteHook(nullptr);
        RegDeleteKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Clients\\Mail\\Quill\\shell\\open\\command");
        RegDeleteKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Clients\\Mail\\Quill\\shell\\open");
        RegDeleteKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Clients\\Mail\\Quill\\shell");
        RegDeleteKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Clients\\Mail\\Quill");
        RegDeleteKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Clients\\Mail");
        unsetenv("PELLOR_CONFIG_DIR");
    }
    void Register(const std::string& command) {
        ASSERT_EQ(RegSetValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Clients\\Mail", REG_SZ, "Quill", 5),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegSetValue(HKEY_LOCAL_MACHINE,
                              "SOFTWARE\\Clients\\Mail\\Quill\\shell\\open\\command", REG_SZ,
                              command.c_str(), DWORD(command.size())),
                  ERROR_SUCCESS);
    }
    std::vector<std::string> started;
    std::vector<std::string> startedWith;
};

TEST_F(MailClientTest, WithoutARegisteredProgramTheDesktopsHandlerOpensAndAFailureIsTold) {
    std::vector<std::string> opened;
    INT_PTR answer = 33;
    platform::SetShellExecuteHook([&](LPCSTR, LPCSTR file, int) {
        opened.push_back(file);
        return answer;
    });
    EXPECT_TRUE(OpenMailClient());
    EXPECT_EQ(opened, std::vector<std::string>{"mailto:"});
    answer = SE_ERR_NOASSOC; // no mail handler on the desktop
    EXPECT_FALSE(OpenMailClient());
    EXPECT_TRUE(started.empty());
    // A registered program that does not start is no success either.
    Register("\"/opt/quill/bin/quill\" -compose");
    platform::SetShellProgramHook(
        [](LPCSTR, const std::vector<std::string>&) -> INT_PTR { return SE_ERR_FNF; });
    EXPECT_FALSE(OpenMailClient());
}

TEST_F(MailClientTest, AQuotedProgramWithAnOptionStartsWithoutAShell) {
    Register("\"/opt/quill/bin/quill\" -compose; rm -rf x");
    EXPECT_TRUE(OpenMailClient());
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0], "/opt/quill/bin/quill");
    // The rest reaches the program as plain arguments.
    EXPECT_EQ(startedWith, (std::vector<std::string>{"-compose;", "rm", "-rf", "x"}));
}

TEST_F(MailClientTest, VariablesAreExpandedAndAThirdPartFollowsTheQuotedSecond) {
    setenv("QUILL_HOME", "/opt/quill", 1);
    Register("\"%QUILL_HOME%\\quill\"-a\"--to=x\"");
    EXPECT_TRUE(OpenMailClient());
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0], "/opt/quill\\quill");
    // Parameters "-a"--to=x: quotes group, they do not reach the program.
    EXPECT_EQ(startedWith, (std::vector<std::string>{"-a--to=x"}));
    unsetenv("QUILL_HOME");
}

TEST_F(MailClientTest, ACommandTooLongExpandedIsNotStarted) {
    setenv("QUILL_LONG", std::string(300, 'q').c_str(), 1);
    Register("\"/bin/%QUILL_LONG%\" -x");
    EXPECT_FALSE(OpenMailClient());
    EXPECT_TRUE(started.empty());
    unsetenv("QUILL_LONG");
}

TEST(SystemImageListTest, TheSystemIconsInOneSharedListASize) {
    HIMAGELIST small = GetSystemImageList(TRUE);
    HIMAGELIST large = GetSystemImageList(FALSE);
    ASSERT_NE(small, nullptr);
    ASSERT_NE(large, nullptr);
    EXPECT_EQ(GetSystemImageList(TRUE), small);
    int cx = 0, cy = 0;
    ASSERT_TRUE(ImageList_GetIconSize(small, &cx, &cy));
    EXPECT_EQ(cx, GetSystemMetrics(SM_CXSMICON));
    ASSERT_TRUE(ImageList_GetIconSize(large, &cx, &cy));
    EXPECT_EQ(cx, GetSystemMetrics(SM_CXICON));
    EXPECT_EQ(ImageList_GetImageCount(small), 5);
    // The second image is the hand icon: drawn from the list it shows what
    // the icon itself draws, transparent where the icon is.
    const int size = GetSystemMetrics(SM_CXICON);
    GdiCanvas fromList(size, size), fromIcon(size, size);
    fromList.Fill(0x123456);
    fromIcon.Fill(0x123456);
    ImageList_Draw(large, 1, fromList.dc(), 0, 0, ILD_NORMAL);
    DrawIconEx(fromIcon.dc(), 0, 0, LoadIcon(nullptr, IDI_HAND), size, size, 0, nullptr, DI_NORMAL);
    int differing = 0, showing = 0;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            differing += (fromList.At(x, y) & 0xFFFFFF) != (fromIcon.At(x, y) & 0xFFFFFF);
            showing += (fromIcon.At(x, y) & 0xFFFFFF) != 0x123456;
        }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(showing, size * size / 4);
}

} // namespace
