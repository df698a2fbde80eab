// The table window: made from its runtime class as the main pane's child,
// its parts created, its link to the network client made on creation and
// undone on destruction, and its background drawn from the default theme.

#include "table/window/GameWnd.h"
#include "ClientFixture.h"
#include "TableTestKit.h"
#include "TableWindowsKit.h"
#include "game/PlayRecords.h"
#include "platform/gdi/Dc.h"
#include "platform/gdi/WindowDc.h"
#include "sprite/GameLayout.h"

namespace table_test {
namespace {

using platform_test::Delivered;
using platform_test::PumpPending;

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

// A table window that keeps the records the client hands it.
class RecordingGameWnd : public CGameWnd {
public:
    std::vector<int>* recordLengths = nullptr;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_GAME_RECORD && recordLengths != nullptr)
            recordLengths->push_back(int(wParam));
        return CGameWnd::WindowProc(message, wParam, lParam);
    }
};

uint32_t Red(uint32_t p) {
    return (p >> 16) & 0xFF;
}
uint32_t Green(uint32_t p) {
    return (p >> 8) & 0xFF;
}

class GameWndTest : public platform_test::DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        // Settings of its own: no sound plug-in is registered here.
        setenv("PELLOR_CONFIG_DIR", config.Path().c_str(), 1);
        ASSERT_TRUE(layout.LoadFrom(kLayoutFile.c_str()));
        ASSERT_TRUE(parent.CreateTop(&parentLog, kWidth, kHeight));
    }
    void TearDown() override {
        if (wnd != nullptr && wnd->m_hWnd != nullptr)
            wnd->DestroyWindow(); // deletes the window object
        parent.DestroyWindow();
        PumpPending();
        SetPosResolver(nullptr);
        unsetenv("PELLOR_CONFIG_DIR");
        DisplayTest::TearDown();
    }

    // Makes the table as the main pane does; the object deletes itself when
    // its window is destroyed.
    bool CreateTable(CGameWnd* table, DWORD extraStyle = 0) {
        wnd = table;
        wnd->SetLayout(&layout);
        wnd->SetClient(&client);
        const BOOL made = wnd->Create(nullptr, "", WS_CHILD | WS_VISIBLE | extraStyle,
                                      CRect(0, 0, kWidth, kHeight), &parent, CGameWnd::kControlId);
        PumpPending();
        return made != FALSE;
    }
    bool Logged(const std::string& words) const {
        return log.Text().find(words) != std::string::npos;
    }
    std::vector<BYTE> StartRecord() const {
        tagSTARTMSG start;
        InitGameRecord(start);
        const BYTE* bytes = reinterpret_cast<const BYTE*>(&start);
        return std::vector<BYTE>(bytes, bytes + sizeof start);
    }
    uint32_t BackPixel(int x, int y) { return BackSurface().GetPixel(x, y) & 0xFFFFFF; }
    platform::PixelImage Background() { return platform::ImageOfSurface(BackSurface()); }
    platform::Surface& BackSurface() {
        HGDIOBJ bits = GetCurrentObject(wnd->GetBackgroundDC()->m_hDC, OBJ_BITMAP);
        return *platform::SurfaceOfBitmap(static_cast<HBITMAP>(bits));
    }

    TempFolder config;
    LogCapture log;
    CGameLayout layout;
    RecordingClient client;
    std::vector<Delivered> parentLog;
    platform_test::RecordingWnd parent;
    CGameWnd* wnd = nullptr;
};

TEST_F(GameWndTest, TheRuntimeClassMakesATableWindowWithItsParts) {
    const CRuntimeClass* runtime = RUNTIME_CLASS(CGameWnd);
    EXPECT_STREQ(runtime->m_lpszClassName, "CGameWnd");
    CObject* made = runtime->CreateObject();
    ASSERT_NE(made, nullptr);
    ASSERT_TRUE(made->IsKindOf(RUNTIME_CLASS(CWnd)));
    ASSERT_TRUE(CreateTable(static_cast<CGameWnd*>(made), WS_BORDER));

    EXPECT_EQ(wnd->GetDlgCtrlID(), CGameWnd::kControlId);
    EXPECT_EQ(wnd->GetStyle() & WS_BORDER, 0u);
    char className[128] = {};
    ASSERT_GT(GetClassName(wnd->m_hWnd, className, sizeof className), 0);
    WNDCLASS wc{};
    ASSERT_TRUE(GetClassInfo(nullptr, className, &wc));
    // Double clicks come, and count as presses (the table's input test).
    EXPECT_EQ(wc.style & (CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS),
              UINT(CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS));

    EXPECT_NE(DealPaceOf(*wnd), nullptr);
    for (int seat = 0; seat < kSeatCount; ++seat) {
        const CSeatDisplayWnd* picture = SeatPictureOf(*wnd, seat);
        ASSERT_NE(picture, nullptr) << seat;
        EXPECT_EQ(picture->GetStyle() & WS_VISIBLE, 0u) << seat;
    }
    for (int tip = 0; tip < kTipCount; ++tip)
        EXPECT_NE(wnd->Info().Tip(tip).m_hWnd, nullptr) << tip;
    EXPECT_EQ(wnd->GetSeatChangeTick(), DWORD(clock.NowMs()));
    // No plug-in is installed here: the table, left without the plug-in's
    // object, says it goes on without sound.
    EXPECT_TRUE(Logged("without it"));
}

TEST_F(GameWndTest, RecordsReachTheTableOnlyWhileItIsLinked) {
    std::vector<int> lengths;
    auto* table = new RecordingGameWnd;
    table->recordLengths = &lengths;
    std::vector<BYTE> record = StartRecord();

    client.OnGameMsg(int(record.size()), record.data());
    EXPECT_TRUE(Logged("GameWnd is not ready"));

    ASSERT_TRUE(CreateTable(table));
    EXPECT_EQ(client.m_pGameWnd, static_cast<CGameWndLink*>(wnd));
    EXPECT_TRUE(wnd->IsReceiveReady());
    client.OnGameMsg(int(record.size()), record.data());
    ASSERT_EQ(lengths.size(), 1u);
    EXPECT_EQ(lengths[0], int(record.size()));

    // Once the window is gone the client no longer reaches it.
    wnd->DestroyWindow();
    wnd = nullptr;
    EXPECT_EQ(client.m_pGameWnd, nullptr);
    client.OnGameMsg(int(record.size()), record.data());
    EXPECT_EQ(lengths.size(), 1u);
}

TEST_F(GameWndTest, DestroyingAnotherTableLeavesTheLinkAlone) {
    ASSERT_TRUE(CreateTable(new CGameWnd));
    CGameWnd* first = wnd;
    auto* second = new CGameWnd;
    second->SetLayout(&layout);
    second->SetClient(&client);
    ASSERT_TRUE(second->Create(nullptr, "", WS_CHILD, CRect(0, 0, 200, 100), &parent, 101));
    EXPECT_EQ(client.m_pGameWnd, static_cast<CGameWndLink*>(second));
    client.SetGameWnd(first);
    second->DestroyWindow();
    EXPECT_EQ(client.m_pGameWnd, static_cast<CGameWndLink*>(first));
}

TEST_F(GameWndTest, TheSoundPluginsPeerDataGoesToTheOtherSeats) {
    ASSERT_TRUE(CreateTable(new CGameWnd));
    BYTE data[kSoundPeerDataSize];
    for (int i = 0; i < kSoundPeerDataSize; ++i)
        data[i] = BYTE(i * 3);
    CEventSink* sink = wnd;
    EXPECT_EQ(sink->OnSinkEvent(kSoundEventPeerData, 0, data, sizeof data), 1);
    ASSERT_EQ(client.sent.size(), 1u);
    const std::vector<BYTE>& sent = client.sent[0];
    ASSERT_GE(sent.size(), sizeof data);
    EXPECT_TRUE(std::equal(data, data + sizeof data, sent.end() - sizeof data));

    // A short block or another event sends nothing.
    EXPECT_EQ(sink->OnSinkEvent(kSoundEventPeerData, 0, data, 12), 0);
    EXPECT_EQ(sink->OnSinkEvent(kSoundEventText, 0, nullptr, 0), 0);
    EXPECT_EQ(client.sent.size(), 1u);
}

TEST(GameWndNames, ThePictureFolderIsTheThemeFileWithoutItsExtension) {
    EXPECT_EQ(CGameWnd::BitmapFolderOf("/p/theme_bmp/Default.thm"),
              CString("/p/theme_bmp/Default"));
    EXPECT_EQ(CGameWnd::BitmapFolderOf("C:\\p\\theme_bmp\\Default.a.thm"),
              CString("C:\\p\\theme_bmp\\Default.a"));
    EXPECT_EQ(CGameWnd::BitmapFolderOf("/p/theme_bmp/Default"), CString());
    // A dot in a folder name is not an extension.
    EXPECT_EQ(CGameWnd::BitmapFolderOf("/p/v1.2/Default"), CString());
    EXPECT_EQ(CGameWnd::BitmapFolderOf(""), CString());
}

TEST_F(GameWndTest, TheEmptyTableShowsTheFeltTheCentreAndTheSixSeatFrames) {
    ASSERT_TRUE(CreateTable(new CGameWnd));
    SaveSheet("game_wnd_empty_table.png", Background());

    // The felt is green, the seat frames are wood (red over green).
    const uint32_t felt = BackPixel(300, 80);
    EXPECT_GT(Green(felt), Red(felt) + 40) << std::hex << felt;
    for (int view = 0; view < kSeatCount; ++view) {
        const POINT at = ResolvePos(layout.m_posAvatar[view]);
        const uint32_t wood = BackPixel(at.x + 2, at.y + 40);
        EXPECT_GT(Red(wood), Green(wood)) << "view " << view << " at " << at.x << "," << at.y;
        // Just left of the frame the felt shows.
        const uint32_t beside = BackPixel(at.x - 3, at.y + 40);
        EXPECT_GT(Green(beside), Red(beside) + 40) << "view " << view;
    }
    // The centre picture sits in the middle and is not felt.
    const uint32_t centre = BackPixel(kWidth / 2, kHeight / 2 - 40);
    EXPECT_NE(centre, felt);
}

TEST_F(GameWndTest, TheTableMaskLeavesBlackWhereItIsBlack) {
    // A mask black in its left half.
    CBitmap mask;
    {
        CWindowDC screen(nullptr);
        ASSERT_TRUE(mask.CreateCompatibleBitmap(&screen, 64, 64));
        CDC dc;
        dc.CreateCompatibleDC(&screen);
        CBitmap* old = dc.SelectObject(&mask);
        dc.FillSolidRect(0, 0, 64, 64, RGB(255, 255, 255));
        dc.FillSolidRect(0, 0, 32, 64, RGB(0, 0, 0));
        dc.SelectObject(old);
    }
    layout.m_bmpBackA.DeleteObject();
    layout.m_bmpBackA.Attach(mask.Detach());
    ASSERT_TRUE(CreateTable(new CGameWnd));
    EXPECT_EQ(BackPixel(kWidth / 4, 20), 0u);
    EXPECT_EQ(BackPixel(kWidth / 2 - 2, kHeight - 300), 0u);
    EXPECT_NE(BackPixel(kWidth * 3 / 4, 20), 0u);
}

TEST_F(GameWndTest, WithoutTablePicturesTheTableIsBlackAndSaysWhy) {
    layout.m_bmpBack.DeleteObject();
    ASSERT_TRUE(CreateTable(new CGameWnd));
    EXPECT_EQ(BackPixel(300, 80), 0u);
    EXPECT_TRUE(Logged("table picture is missing"));
}

} // namespace
} // namespace table_test
