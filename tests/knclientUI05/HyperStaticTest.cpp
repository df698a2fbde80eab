// The hyperlink text: where links land, how they look, and that a click
// opens the address it shows (through the shell hook, nothing is started).

#include "BoxFixture.h"

#include "platform/system/Shell.h"

#include <string>
#include <vector>

namespace {

using ui_test::BoxTest;

struct ShellCall {
    std::string operation, file;
    int show;
};

class HyperStaticTest : public BoxTest {
protected:
    void SetUp() override {
        BoxTest::SetUp();
        platform::SetShellExecuteHook([this](LPCSTR operation, LPCSTR file, int show) -> INT_PTR {
            calls.push_back({operation ? operation : "", file, show});
            return 42;
        });
        ASSERT_TRUE(parent.Top(RECT{100, 100, 500, 300}));
        parent.color = RGB(255, 255, 255);
    }
    void TearDown() override {
        link.DestroyWindow();
        parent.DestroyWindow();
        platform::SetShellExecuteHook(nullptr);
        BoxTest::TearDown();
    }
    // Makes the control and lets it paint once.
    void Show(const char* text, RECT place = RECT{10, 10, 390, 190}) {
        ASSERT_TRUE(link.Create(text, WS_CHILD | WS_VISIBLE, place, &parent, 7));
        link.UpdateWindow();
        platform_test::PumpPending();
    }
    POINT ScreenOf(POINT client) const {
        ::ClientToScreen(link.m_hWnd, &client);
        return client;
    }
    void MoveTo(POINT client) {
        platform::InjectMouse(platform::MouseAction::Move, ScreenOf(client));
        PumpInput();
    }
    static POINT Middle(const RECT& r) {
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    int LineHeight() {
        CClientDC dc(&parent); // the parent has no font: the control paints with the DC's
        return dc.GetTextExtent("a", 1).cy;
    }

    platform_test::SolidWnd parent;
    CHyperStatic link;
    std::vector<ShellCall> calls;
};

TEST_F(HyperStaticTest, TaggedLinkIsBlueUnderlinedAndOpensItsAddress) {
    Show("看看 <A href=\"http://example.com/a\">这里</a> 吧");
    ASSERT_EQ(link.m_links.size(), 1u);
    const CHyperStatic::LinkRecord& record = link.m_links[0];
    EXPECT_STREQ(record.szURL, "http://example.com/a");
    EXPECT_GT(record.rect.left, 0);

    // The underline, one row under the text, in pure blue.
    POINT under{record.rect.left + 1, record.rect.bottom - 2};
    ::MapWindowPoints(link.m_hWnd, parent.m_hWnd, &under, 1);
    EXPECT_EQ(PixelOf(parent.m_hWnd, under.x, under.y), 0x0000FFu);

    MoveTo(Middle(record.rect));
    EXPECT_TRUE(link.m_bOverLink);
    EXPECT_EQ(::GetCapture(), link.m_hWnd);
    ASSERT_NE(link.m_hHandCursor, nullptr); // the library holds the hand cursor
    EXPECT_EQ(GetCursor(), link.m_hHandCursor);
    ClickAt(ScreenOf(Middle(record.rect)));
    PumpInput();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].operation, "open");
    EXPECT_EQ(calls[0].file, "http://example.com/a");
    EXPECT_EQ(calls[0].show, SW_SHOW);
}

TEST_F(HyperStaticTest, LeavingTheLinkGivesBackCaptureAndCursor) {
    Show("www.example.com");
    ASSERT_EQ(link.m_links.size(), 1u);
    MoveTo(POINT{300, 100}); // on the control, away from the link
    HCURSOR before = GetCursor();
    MoveTo(Middle(link.m_links[0].rect));
    ASSERT_TRUE(link.m_bOverLink);
    MoveTo(POINT{link.m_links[0].rect.right + 40, 100});
    EXPECT_FALSE(link.m_bOverLink);
    EXPECT_NE(::GetCapture(), link.m_hWnd);
    EXPECT_EQ(GetCursor(), before);
    ClickAt(ScreenOf(POINT{link.m_links[0].rect.right + 40, 100}));
    PumpInput();
    EXPECT_TRUE(calls.empty());
}

TEST_F(HyperStaticTest, BareAddressStopsAtCommaAndWideCharacters) {
    Show("见 www.example.com, 或 http://a.b/c好");
    ASSERT_EQ(link.m_links.size(), 2u);
    EXPECT_STREQ(link.m_links[0].szURL, "www.example.com");
    EXPECT_STREQ(link.m_links[1].szURL, "http://a.b/c");
}

TEST_F(HyperStaticTest, LineBreaksStartTheNextLineTwoPixelsBelow) {
    for (const char* text : {"a\r\nwww.x.com", "a\\nwww.x.com", "a\n\rwww.x.com"}) {
        Show(text);
        ASSERT_EQ(link.m_links.size(), 1u) << text;
        EXPECT_EQ(link.m_links[0].rect.left, 0) << text;
        EXPECT_EQ(link.m_links[0].rect.top, LineHeight() + 2) << text;
        link.DestroyWindow();
        link.m_bCollectLinks = TRUE;
    }
    Show("\r\nwww.x.com");
    ASSERT_EQ(link.m_links.size(), 1u);
    EXPECT_EQ(link.m_links[0].rect.top, 2); // nothing drawn before the break
}

TEST_F(HyperStaticTest, LinkTooLongForTheLineMovesWhole) {
    Show("abc www.a-rather-long-address.example.com", RECT{10, 10, 130, 190});
    ASSERT_EQ(link.m_links.size(), 1u);
    EXPECT_EQ(link.m_links[0].rect.left, 0);
    EXPECT_GT(link.m_links[0].rect.top, 0);
}

TEST_F(HyperStaticTest, TextBelowTheControlIsNotPaintedNorLinked) {
    const int h = LineHeight();
    // Room for two lines and most of a third.
    Show("a\r\nb\r\nwww.x.com", RECT{10, 10, 390, 10 + 2 * (h + 2) + h + 1});
    EXPECT_TRUE(link.m_links.empty());
}

TEST_F(HyperStaticTest, LongAddressIsCutToItsRecord) {
    const std::string address = "http://" + std::string(400, 'x') + ".com";
    Show(address.c_str());
    ASSERT_EQ(link.m_links.size(), 1u);
    EXPECT_EQ(strlen(link.m_links[0].szURL), 255u);
}

TEST(ShellExecuteTest, RefusesWhatTheOpenerMustNotSee) {
    int started = 0;
    platform::SetShellExecuteHook([&](LPCSTR, LPCSTR, int) -> INT_PTR {
        ++started;
        return 33;
    });
    EXPECT_EQ(INT_PTR(ShellExecute(nullptr, "open", "--help", nullptr, nullptr, SW_SHOW)),
              SE_ERR_FNF);
    EXPECT_EQ(INT_PTR(ShellExecute(nullptr, "open", "", nullptr, nullptr, SW_SHOW)), SE_ERR_FNF);
    EXPECT_EQ(INT_PTR(ShellExecute(nullptr, "print", "a.txt", nullptr, nullptr, SW_SHOW)),
              SE_ERR_NOASSOC);
    EXPECT_EQ(started, 0);
    EXPECT_GT(INT_PTR(ShellExecute(nullptr, nullptr, "www.x.com", nullptr, nullptr, SW_SHOW)), 32);
    EXPECT_EQ(started, 1);
    platform::SetShellExecuteHook(nullptr);
}

} // namespace
