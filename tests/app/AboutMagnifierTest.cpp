// The about box's version line from a program file's version, its two
// answers; and the magnifier following a scripted cursor over a patterned
// table, its pixels a scaled copy of what lies under the cursor.

#include "app/AboutDlg.h"
#include "app/MagnifierWnd.h"
#include "assets/resource.h"
#include "platform/system/Module.h"
#include "sprite/MemDC.h"
#include "tests/app/DialogKit.h"

#include <algorithm>

using namespace app_test;

namespace {

class AboutDlgTest : public AppDialogTest {
protected:
    // A program file of version 1.<minor>.3.4.
    static bool RegisterVersioned(WORD minor = 2) {
        UnregisterBuiltinModule("Versioned.exe");
        BuiltinModuleDefinition versioned;
        versioned.fileName = "Versioned.exe";
        const WORD numbers[4] = {1, minor, 3, 4};
        std::copy(numbers, numbers + 4, versioned.version);
        return RegisterBuiltinModule(versioned);
    }
    void TearDown() override {
        UnregisterBuiltinModule("Versioned.exe");
        UnregisterBuiltinModule("Plain.exe");
        AppDialogTest::TearDown();
    }
};

TEST_F(AboutDlgTest, TheVersionLineComesFromThePackedFileVersion) {
    ASSERT_TRUE(RegisterVersioned());
    EXPECT_EQ(CAboutDlg::GetFileVersion("Versioned.exe"), 0x01020304u);
    EXPECT_STREQ(CAboutDlg::VersionText(0x01020304), "Morvane 1.2 Beta:4 Build:4");

    BuiltinModuleDefinition plain;
    plain.fileName = "Plain.exe";
    plain.hasVersionInfo = false;
    ASSERT_TRUE(RegisterBuiltinModule(plain));
    EXPECT_EQ(CAboutDlg::GetFileVersion("Plain.exe"), 0u);
    EXPECT_EQ(CAboutDlg::GetFileVersion("Missing.exe"), 0u);
    EXPECT_STREQ(CAboutDlg::VersionText(0), "Morvane 0.0 Beta:1 Build:0");

    ASSERT_TRUE(RegisterVersioned(0x1FF)); // only the low bytes are kept
    EXPECT_EQ(CAboutDlg::GetFileVersion("Versioned.exe"), 0x01FF0304u);
}

TEST_F(AboutDlgTest, OkAnswersOkAndCloseAnswersCancel) {
    ASSERT_TRUE(RegisterVersioned());
    clock.SetAutoAdvance(true);
    for (const auto& [id, answer] :
         {std::pair{IDC_ABOUT_OK, IDOK}, std::pair{IDC_CLOSE, IDCANCEL}}) {
        CAboutDlg about(nullptr, "Versioned.exe");
        std::string version;
        int white = 0, lightElsewhere = 0;
        RECT box{}, close{};
        Script::Run({[&, id = id] {
            version = (LPCSTR)about.m_strVersion;
            white = CountColour(about, RECT{135, 12, 300, 30}, 0xFFFFFF);
            // Nothing written on the band before the title: it shows once.
            for (int y = 6; y < 29; ++y)
                for (int x = 8; x < 130; ++x) {
                    const uint32_t c = PixelOf(about.GetSafeHwnd(), x, y);
                    lightElsewhere += (c >> 16) > 180 && ((c >> 8) & 0xFF) > 140;
                }
            about.GetWindowRect(&box);
            ::GetWindowRect(::GetDlgItem(about.GetSafeHwnd(), IDC_CLOSE), &close);
            Save(about, "about.png");
            const POINT p = CentreOf(about, id);
            InjectMouse(MouseAction::Move, p);
            InjectMouse(MouseAction::LeftDown, p);
            InjectMouse(MouseAction::LeftUp, p);
        }});
        EXPECT_EQ(about.DoModal(), answer) << id;
        EXPECT_EQ(version, "Morvane 1.2 Beta:4 Build:4");
        EXPECT_GT(white, 20) << "the title in white";
        EXPECT_EQ(lightElsewhere, 0) << "the picture carries no title of its own";
        // The box is its picture, and the close button stands at the band's end.
        EXPECT_EQ(box.right - box.left, 330);
        EXPECT_EQ(box.bottom - box.top, 120);
        EXPECT_GE(box.right - close.right, 4);
        EXPECT_LE(box.right - close.right, 10);
    }
}

// A table window painted in 20-pixel blocks whose colour encodes the block.
class PatternWnd : public SolidWnd {
public:
    static uint32_t BlockColour(int x, int y) {
        const int bx = x / 20, by = y / 20;
        return uint32_t((bx * 37 % 256) << 16 | (by * 53 % 256) << 8 | ((bx + by) * 11 % 256));
    }
    void OnPaint() override {
        CPaintDC dc(this);
        RECT client;
        GetClientRect(&client);
        for (int y = 0; y < client.bottom; y += 20)
            for (int x = 0; x < client.right; x += 20) {
                const uint32_t c = BlockColour(x, y);
                dc.FillSolidRect(x, y, 20, 20, RGB(c >> 16, (c >> 8) & 0xFF, c & 0xFF));
            }
    }
};

class MagnifierTest : public AppDialogTest {
protected:
    void SetUp() override {
        AppDialogTest::SetUp();
        ASSERT_TRUE(table.Top(RECT{100, 100, 740, 580}));
        table.UpdateWindow();
        PumpPending();
        ASSERT_TRUE(magnifier.Create(&table, "Dovrik"));
    }
    void TearDown() override {
        magnifier.Hide();
        if (magnifier.GetSafeHwnd())
            magnifier.DestroyWindow();
        table.DestroyWindow();
        AppDialogTest::TearDown();
    }
    void MoveCursor(int x, int y) {
        InjectMouse(MouseAction::Move, POINT{x, y});
        PumpPending();
    }
    bool Shown() { return magnifier.IsWindowVisible() != 0; }
    CRect Place() {
        CRect r;
        magnifier.GetWindowRect(&r);
        return r;
    }

    PatternWnd table;
    CMagnifierWnd magnifier;
};

TEST_F(MagnifierTest, ItIsCreatedHiddenOnceAndCentredOnTheTable) {
    EXPECT_FALSE(Shown());
    EXPECT_FALSE(magnifier.Create(&table, "Dovrik")) << "one window only";
    CMagnifierWnd orphan;
    EXPECT_FALSE(orphan.Create(nullptr, "Dovrik"));
    magnifier.Show();
    PumpPending();
    EXPECT_TRUE(Shown());
    EXPECT_EQ(Place(), CRect(320, 280, 520, 400));
}

TEST_F(MagnifierTest, TheViewIsTheTableUnderTheCursorEnlarged) {
    MoveCursor(300, 200); // table client (200, 100)
    magnifier.Show();
    Step(CMagnifierWnd::kRefreshMs);
    Step(CMagnifierWnd::kFollowMs);
    ASSERT_TRUE(Shown());
    // Each view pixel shows the block of its source point; points within a
    // pixel of a block edge are left out, as the nearest pixel may fall
    // either side.
    int checked = 0, wrong = 0;
    for (int vy = 6; vy < 114; vy += 3)
        for (int vx = 6; vx < 194; vx += 3) {
            if (vx >= 100 && vx < 132 && vy >= 60 && vy < 92)
                continue; // the cursor mark
            const double sx = 150 + (vx - 5 + 0.5) * 100.0 / 190;
            const double sy = 70 + (vy - 5 + 0.5) * 60.0 / 110;
            if (int(sx) % 20 < 1 || int(sx) % 20 > 18 || int(sy) % 20 < 1 || int(sy) % 20 > 18)
                continue;
            ++checked;
            wrong += PixelOf(magnifier.GetSafeHwnd(), vx, vy) !=
                     PatternWnd::BlockColour(int(sx), int(sy));
        }
    EXPECT_GT(checked, 1000);
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(PixelOf(magnifier.GetSafeHwnd(), 2, 60), 0x00F3BE) << "the green frame";
    Save(magnifier, "magnifier.png");
}

TEST_F(MagnifierTest, NearTheTablesEdgeNothingOutsideTheCopyIsShown) {
    MoveCursor(102, 103); // the table's top-left corner
    magnifier.Show();
    Step(CMagnifierWnd::kRefreshMs);
    EXPECT_EQ(PixelOf(magnifier.GetSafeHwnd(), 10, 10), 0x2C3035)
        << "outside the copy the background stays";
    EXPECT_EQ(PixelOf(magnifier.GetSafeHwnd(), 190, 110), PatternWnd::BlockColour(51, 31));
}

TEST_F(MagnifierTest, ItStepsAsideFromTheCursorAndComesBackOverTheTable) {
    MoveCursor(150, 150);
    magnifier.Show();
    Step(CMagnifierWnd::kFollowMs);
    ASSERT_TRUE(Shown());

    MoveCursor(420, 300); // onto the pop-up
    Step(CMagnifierWnd::kFollowMs);
    EXPECT_FALSE(Shown());
    EXPECT_TRUE(magnifier.IsHiddenByMouse());
    MoveCursor(430, 310); // still its place
    Step(CMagnifierWnd::kFollowMs);
    EXPECT_FALSE(Shown()) << "not back while the cursor is on its place";
    MoveCursor(200, 150);
    Step(CMagnifierWnd::kFollowMs);
    EXPECT_TRUE(Shown()) << "back once the cursor leaves its place over the table";

    MoveCursor(900, 700); // off the table
    Step(CMagnifierWnd::kFollowMs);
    EXPECT_FALSE(Shown());
    MoveCursor(420, 300); // back, but onto its place
    Step(CMagnifierWnd::kFollowMs);
    EXPECT_FALSE(Shown());
    MoveCursor(600, 500);
    Step(CMagnifierWnd::kFollowMs);
    EXPECT_TRUE(Shown());
}

TEST_F(MagnifierTest, RefreshesFreeTheOldCopyAndHideStopsBothTimers) {
    MoveCursor(300, 200);
    magnifier.Show();
    Step(CMagnifierWnd::kRefreshMs);
    ASSERT_NE(magnifier.GetSnapshot(), nullptr);
    const HGDIOBJ firstCopy = magnifier.GetSnapshot()->GetBitmap()->GetSafeHandle();
    BITMAP info{};
    ASSERT_NE(GetObject(firstCopy, sizeof info, &info), 0);
    EXPECT_EQ(info.bmWidth, 640);
    // Every copy but the one held is freed (an address may be reused).
    std::vector<HGDIOBJ> copies{firstCopy};
    for (int i = 0; i < 100; ++i) {
        Step(CMagnifierWnd::kRefreshMs);
        copies.push_back(magnifier.GetSnapshot()->GetBitmap()->GetSafeHandle());
    }
    int live = 0;
    for (HGDIOBJ copy : copies)
        live += copy != copies.back() && GetObject(copy, sizeof info, &info) != 0;
    EXPECT_EQ(live, 0) << "each old copy's bitmap is freed";

    magnifier.Hide();
    PumpPending();
    const HGDIOBJ lastCopy = magnifier.GetSnapshot()->GetBitmap()->GetSafeHandle();
    MoveCursor(150, 150);
    Step(1000);
    EXPECT_FALSE(Shown()) << "no follow tick shows it again";
    EXPECT_EQ(magnifier.GetSnapshot()->GetBitmap()->GetSafeHandle(), lastCopy)
        << "no refresh after Hide";
}

} // namespace
