// The quick-buy pop-up showing real pages from a web server on loopback: a
// GBK page with a heading, a table, a PNG and a link, a UTF-8 page the link
// opens, the way back by Backspace, and the error page for a page that is
// missing, silent, too large, nested too deep, too costly to lay out, with a
// huge table grid, too many words or its pictures past their budget; a
// hostile page ends in a page. A big picture drawn small, a hover style
// under the mouse and the wheel over a tall page. Pictures of the pop-up are
// left in output/ for a person to look at.

#include "BoxFixture.h"

#include "knclientUI05/KnQuickbuyDlg.h"
#include "outside/PageDefaults.h"
#include "outside/WebBrowser.h"
#include "platform/CodePage.h"
#include "platform/display/Display.h"
#include "platform/images/PngFile.h"
#include "platform/system/FileOps.h"
#include "tests/support/LocalHttpServer.h"

#include <gtest/gtest.h>

#include <ctime>
#include <functional>
#include <limits>
#include <unistd.h>

namespace {

using platform_test::LocalHttpServer;

constexpr uint32_t kHeadingRed = 0xC00000;
constexpr uint32_t kCoinGold = 0xFFC800;
constexpr uint32_t kLinkBlue = 0x0000EE;

class QuickbuyPageTest : public ui_test::BoxTest {
protected:
    void SetUp() override {
        BoxTest::SetUp();
        ASSERT_TRUE(server.Ready());
        ASSERT_TRUE(m_main.CreateEx(0, nullptr, "main", WS_POPUP | WS_VISIBLE, 100, 100, 800, 600,
                                    nullptr, nullptr));
        ServeCoin("/coin.png", 40);
        // The test's literals are GBK, the system's own text.
        LocalHttpServer::Answer shop;
        shop.body = "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
                    "charset=gb2312\"><title>商城</title></head><body>"
                    "<h2 style=\"color:#c00000\">快速购买金豆</h2>"
                    "<table border=\"1\" cellpadding=\"4\"><tr><th>商品</th><th>价格</th></tr>"
                    "<tr><td>金豆一百个</td><td>一元</td></tr></table>"
                    "<p><img src=\"coin.png\"> 点击下面的链接查看更多商品。</p>"
                    "<p><a href=\"/more\">更多商品</a></p></body></html>";
        server.Serve("/shop", shop);
        LocalHttpServer::Answer more;
        more.contentType = "text/html; charset=utf-8";
        more.body = platform::GbkToUtf8("<html><head><title>更多</title></head><body>"
                                        "<h2>欢迎光临</h2><p>更多商品即将上架。</p></body></html>");
        server.Serve("/more", more);
        LocalHttpServer::Answer silent;
        silent.silent = true;
        server.Serve("/slow", silent);
        LocalHttpServer::Answer endless;
        endless.endless = true;
        server.Serve("/huge", endless);
        LocalHttpServer::Answer deep;
        for (int k = 0; k < 400; ++k)
            deep.body += "<div>";
        server.Serve("/deep", deep);
        // Tables in tables: each level lays its cells out again.
        LocalHttpServer::Answer costly;
        for (int k = 0; k < 14; ++k)
            costly.body += "<table><tr><td>";
        server.Serve("/costly", costly);
        LocalHttpServer::Answer spans;
        spans.body = "<table><tr><td colspan=99999>x<tr><td rowspan=9999>y</table>";
        server.Serve("/spans", spans);
        LocalHttpServer::Answer hostile;
        hostile.body = "<table><tr><td><table><tr><td colspan=0 rowspan=-3>x<td>"
                       "<div style=\"width:2147483000px;height:99999999px;font-size:100000px;"
                       "margin:-99999999px;border:99999px solid red\">大</div>"
                       "<img src=\"coin.png\" width=\"100000\" height=\"100000\">"
                       "<p><b><i></b></i><ul><li><ol><li>&#x10FFFF;&#0;&amp<</table></p>"
                       "<span style=\"background:url(coin.png) repeat;width:9999px\">a</span>";
        server.Serve("/hostile", hostile);
        // A big picture drawn small, a style under the mouse, a page taller
        // than the pop-up with its end in red, and pages past the costs.
        ServeCoin("/big.png", 400);
        LocalHttpServer::Answer icon;
        icon.body = "<html><head><title>icon</title><style>p:hover{color:#00c000}</style></head>"
                    "<body><p><img src=\"big.png\" width=\"40\" height=\"40\"></p>"
                    "<p>悬停变绿的一段文字，悬停变绿的一段文字。</p>"
                    "<div style=\"height:1500px\"></div>"
                    "<div style=\"height:40px;background:#c00000\"></div></body></html>";
        server.Serve("/icon", icon);
        LocalHttpServer::Answer whole;
        whole.body = "<html><body><img src=\"big.png\"></body></html>";
        server.Serve("/whole", whole);
        LocalHttpServer::Answer words;
        for (int k = 0; k < 60000; ++k)
            words.body += "a ";
        server.Serve("/words", words);
    }
    void TearDown() override {
        m_main.DestroyWindow();
        BoxTest::TearDown();
    }

    // A gold square of side pixels as a PNG.
    void ServeCoin(const std::string& path, int side) {
        platform::PixelImage coin;
        coin.Reset(side, side, platform::MakePixel(0xFF, 0xC8, 0x00));
        LocalHttpServer::Answer png;
        png.contentType = "image/png";
        ASSERT_TRUE(platform::EncodePng(coin, png.body));
        server.Serve(path, png);
    }
    // Pumps until the page and its pictures are in and painted: the fetches
    // take real time, whatever the test's clock says.
    static bool WaitForPage(CWebBrowser2& browser) {
        timespec start{}, now{};
        clock_gettime(CLOCK_MONOTONIC, &start);
        // Input waiting in the queue may start a navigation: pumped first.
        for (platform_test::PumpPending(); browser.GetBusy(); platform_test::PumpPending()) {
            clock_gettime(CLOCK_MONOTONIC, &now);
            if (now.tv_sec - start.tv_sec > 20)
                break;
            usleep(5000);
        }
        platform_test::PumpPending();
        return !browser.GetBusy();
    }
    // The pixels of the page area, in the pop-up's coordinates, that match.
    int Count(CKnQuickbuyDlg& popup, const std::function<bool(uint32_t)>& match,
              CRect* bounds = nullptr) {
        const CRect page = popup.GetBrowserRect();
        int count = 0;
        CRect box(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
        for (int y = page.top; y < page.bottom; ++y)
            for (int x = page.left; x < page.right; ++x)
                if (match(PixelOf(popup.GetSafeHwnd(), x, y))) {
                    ++count;
                    box = CRect(std::min<int>(box.left, x), std::min<int>(box.top, y),
                                std::max<int>(box.right, x + 1), std::max<int>(box.bottom, y + 1));
                }
        if (bounds)
            *bounds = box;
        return count;
    }
    // Rows of the page area holding a run of at least `length` pixels of one
    // colour: lines, which text never draws.
    int Lines(CKnQuickbuyDlg& popup, uint32_t rgb, int length) {
        const CRect page = popup.GetBrowserRect();
        int lines = 0;
        for (int y = page.top; y < page.bottom; ++y) {
            int run = 0, longest = 0;
            for (int x = page.left; x < page.right; ++x) {
                run = PixelOf(popup.GetSafeHwnd(), x, y) == rgb ? run + 1 : 0;
                longest = std::max(longest, run);
            }
            lines += longest >= length;
        }
        return lines;
    }
    static std::function<bool(uint32_t)> Is(uint32_t rgb) {
        return [rgb](uint32_t pixel) { return pixel == rgb; };
    }
    static std::string Utf8(const char* gbk) { return platform::GbkToUtf8(gbk); }
    static std::string OutputPath(const std::string& name) {
        CreateDirectory(UI_TEST_OUTPUT_DIR, nullptr);
        return std::string(UI_TEST_OUTPUT_DIR) + "/" + name;
    }
    void Save(CKnQuickbuyDlg& popup, const char* name) {
        std::string error;
        EXPECT_TRUE(platform::SaveWindowPng(popup.GetSafeHwnd(), OutputPath(name), &error))
            << error;
    }

    LocalHttpServer server;
    CWnd m_main;
};

TEST_F(QuickbuyPageTest, APageItsLinkTheWayBackAndTheErrorPages) {
    CKnQuickbuyDlg popup(&m_main);
    ASSERT_TRUE(popup.CreatePopup(520, 420));
    popup.SetPageTitle("快速购买");
    ASSERT_TRUE(popup.Navigate(server.Url("/shop").c_str()));
    CWebBrowser2& browser = popup.GetBrowser();
    ASSERT_TRUE(WaitForPage(browser));
    EXPECT_EQ(browser.GetLocationName(), Utf8("商城"));
    Save(popup, "quickbuy_page.png");
    // The heading in its colour, the picture whole, the table's borders and
    // the link are drawn.
    EXPECT_GT(Count(popup, Is(kHeadingRed)), 200);
    CRect coin;
    EXPECT_EQ(Count(popup, Is(kCoinGold), &coin), 40 * 40);
    EXPECT_EQ(coin.Size(), CSize(40, 40));
    EXPECT_GE(Lines(popup, 0x808080, 40), 6); // the table's and its cells' edges
    CRect link;
    ASSERT_GT(Count(popup, Is(kLinkBlue), &link), 50);
    EXPECT_EQ(server.Requests(), (std::vector<std::string>{"/shop", "/coin.png"}));

    // A click on the link opens it in the pop-up.
    CRect whole;
    popup.GetWindowRect(&whole);
    ClickAt(CPoint(whole.left + link.CenterPoint().x, whole.top + link.CenterPoint().y));
    ASSERT_TRUE(WaitForPage(browser));
    EXPECT_EQ(browser.GetLocationName(), Utf8("更多"));
    EXPECT_EQ(std::string(browser.GetLocationURL().GetString()), server.Url("/more"));
    EXPECT_EQ(Count(popup, Is(kLinkBlue)), 0);
    EXPECT_EQ(std::string(popup.GetUrl().GetString()), server.Url("/shop")); // the pushed page

    // Backspace goes back to the page before.
    Key(VK_BACK);
    ASSERT_TRUE(WaitForPage(browser));
    EXPECT_EQ(browser.GetLocationName(), Utf8("商城"));
    EXPECT_EQ(Count(popup, Is(kCoinGold)), 40 * 40);

    // Pages that cannot be had end in our error page, saying why.
    CWebBrowser2::Limits limits;
    limits.timeoutMs = 600;
    limits.pageBytes = 64 * 1024;
    browser.SetLimits(limits);
    limits.keptPictureBytes = 400 * 400 * 4 - 1; // the big picture drawn whole passes it
    browser.SetLimits(limits);
    for (const char* path :
         {"/missing", "/slow", "/huge", "/deep", "/costly", "/spans", "/words", "/whole"}) {
        ASSERT_TRUE(popup.Navigate(server.Url(path).c_str())) << path;
        ASSERT_TRUE(WaitForPage(browser)) << path;
        EXPECT_EQ(browser.GetLocationName(), std::string(kErrorPageTitle)) << path;
        EXPECT_GT(Count(popup, Is(0xA00000)), 100) << path; // the error's heading
        if (std::string(path) == "/huge")
            Save(popup, "quickbuy_error.png");
    }
    // A hostile page is drawn, not refused, and the pop-up lives on.
    ASSERT_TRUE(popup.Navigate(server.Url("/hostile").c_str()));
    ASSERT_TRUE(WaitForPage(browser));
    EXPECT_NE(browser.GetLocationName(), std::string(kErrorPageTitle));
    Save(popup, "quickbuy_hostile.png");
    EXPECT_TRUE(popup.IsWindowVisible());
}

TEST_F(QuickbuyPageTest, ABigPictureDrawnSmallAHoverStyleAndTheWheel) {
    CKnQuickbuyDlg popup(&m_main);
    ASSERT_TRUE(popup.CreatePopup(520, 420));
    ASSERT_TRUE(popup.Navigate(server.Url("/icon").c_str()));
    CWebBrowser2& browser = popup.GetBrowser();
    ASSERT_TRUE(WaitForPage(browser));
    EXPECT_EQ(browser.GetLocationName(), "icon");
    CRect picture;
    EXPECT_EQ(Count(popup, Is(kCoinGold), &picture), 40 * 40);
    EXPECT_EQ(picture.Size(), CSize(40, 40));

    // The text turns green under the mouse, and back when it leaves.
    const auto green = [](uint32_t pixel) {
        return (pixel >> 8 & 0xFF) > 0x80 && (pixel >> 16 & 0xFF) < 0x40 && (pixel & 0xFF) < 0x40;
    };
    EXPECT_EQ(Count(popup, green), 0);
    CRect whole, page = popup.GetBrowserRect();
    popup.GetWindowRect(&whole);
    const POINT text{whole.left + page.left + 60, whole.top + picture.bottom + 24};
    platform::InjectMouse(platform::MouseAction::Move, text);
    ASSERT_TRUE(WaitForPage(browser));
    EXPECT_GT(Count(popup, green), 50) << "the hover style applies under the mouse";
    platform::InjectMouse(platform::MouseAction::Move, {whole.left + 5, whole.top + 5});
    ASSERT_TRUE(WaitForPage(browser));
    EXPECT_EQ(Count(popup, green), 0);

    // The page's red end comes into view as the wheel turns over it (a
    // click on the page first gives it the keyboard, and so the wheel).
    EXPECT_EQ(Count(popup, Is(kHeadingRed)), 0);
    ClickAt(CPoint(whole.left + page.left + 200, whole.top + page.bottom - 20));
    ASSERT_TRUE(WaitForPage(browser));
    for (int turn = 0; turn < 40; ++turn)
        platform::InjectMouse(platform::MouseAction::Wheel, text, -WHEEL_DELTA);
    ASSERT_TRUE(WaitForPage(browser));
    EXPECT_GT(Count(popup, Is(kHeadingRed)), 40 * 100);
    EXPECT_EQ(Count(popup, Is(kCoinGold)), 0) << "the picture scrolled away";
}

} // namespace
