// The table window's information about its seats, on the headless display:
// chat lines shown in the speakers' tips, the information tip over a plate,
// the hint tips of buttons, the chat pane's user columns and the betting
// dialog's bean figure, the title after a seat change, and the seat pop-up
// that the hover ticks show and take away. The tips are saved as PNG.

#include "ClientFixture.h"
#include "TableTestKit.h"
#include "TableWindowsKit.h"
#include "Tablehub/KNChatEx.h"
#include "game/LevelTitles.h"
#include "outside/ChatControls.h"
#include "platform/display/Display.h"
#include "platform/window/Input.h"
#include "platform/window/SystemMetrics.h"
#include "sprite/GameLayout.h"
#include "sprite/SpriteButton.h"
#include "sprite/Theme.h"
#include "table/common/GameWndInfoText.h"
#include "table/common/TableAppLink.h"
#include "table/panes/SeatPopupWnd.h"
#include "table/window/GameWnd.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace table_test {
namespace {

using platform_test::PumpPending;

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

// The application's side: a main window, the betting dialog's figure and
// the history dialog's state.
class TestAppLink : public CTableAppLink {
public:
    HWND main = nullptr;
    BOOL takeChanceOpen = FALSE;
    BOOL historyShown = FALSE;
    std::vector<int> beanFigures;

    HWND GetMainHwnd() const override { return main; }
    BOOL HasTakeChanceDialog() const override { return takeChanceOpen; }
    void SetTakeChanceBeans(int beans) override { beanFigures.push_back(beans); }
    BOOL IsHistoryShown() const override { return historyShown; }
};

// The main frame with a real chat control.
class ChatShell : public StandInShell {
public:
    CKNChatEx* chat = nullptr;
    CWnd* GetChatControl() const override { return chat; }
};

class GameWndInfoTest : public platform_test::DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        setenv("PELLOR_CONFIG_DIR", config.Path().c_str(), 1);
        SetExeFolderOverride(kAssets.c_str());
        ClearBoard();
        RegisterChatControls();
        ASSERT_TRUE(kn::theTheme.Open("Pellor2"));
        ASSERT_TRUE(layout.LoadFrom(kLayoutFile.c_str()));
        ASSERT_TRUE(shell.frame.CreateTop(&shell.frameLog, kWidth, kHeight));
        chat = std::make_unique<CKNChatEx>();
        ASSERT_TRUE(chat->Create(nullptr, "chat", WS_CHILD, RECT{0, 0, 200, 300}, &shell.frame, 1));
        shell.chat = chat.get();
        client.SetShell(&shell);
        client.m_nMySeat = 0;
        app.main = shell.frame.m_hWnd;
        SetTableAppLink(&app);
        wnd = new CGameWnd;
        wnd->SetLayout(&layout);
        wnd->SetClient(&client);
        ASSERT_TRUE(wnd->Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, kWidth, kHeight),
                                &shell.frame, CGameWnd::kControlId));
        PumpPending();
        Seat(0, "me", "");
        Seat(1, "bob", "鲍勃");
        Seat(3, "carol", " ");
    }
    void TearDown() override {
        extraButtons.clear();
        if (wnd != nullptr && wnd->m_hWnd != nullptr)
            wnd->DestroyWindow();
        chat.reset();
        shell.frame.DestroyWindow();
        PumpPending();
        client.SetShell(nullptr);
        client.SetGameWnd(nullptr);
        SetTableAppLink(nullptr);
        SetPosResolver(nullptr);
        ClearBoard();
        kn::theTheme.Close();
        SetExeFolderOverride(nullptr);
        unsetenv("PELLOR_CONFIG_DIR");
        DisplayTest::TearDown();
    }

    void Seat(int seat, const char* name, const char* nick, int level = 0) {
        tagUSERINFO user = User(name, seat, 1000, 50);
        strncpy(user.szNickName, nick, sizeof user.szNickName);
        user.nLevel = level;
        theBoard.SetUserInfo(seat, user);
    }
    // The middle of a view's plate and of its name line, on the screen.
    POINT PlateCentre(int view) {
        const POINT at = ResolvePos(layout.m_posAvatar[view]);
        POINT p{at.x + layout.m_sizeAvatar.cx / 2, at.y + layout.m_sizeAvatar.cy / 2};
        wnd->ClientToScreen(&p);
        return p;
    }
    POINT NameLineCentre(int view) {
        const POINT at = ResolvePos(layout.m_posAvatar[view]);
        POINT p{at.x + layout.m_sizeAvatar.cx / 2, at.y + layout.m_sizeAvatar.cy + 15};
        wnd->ClientToScreen(&p);
        return p;
    }
    std::string TipText(int which) {
        std::string text;
        for (const std::string& line : wnd->Info().Tip(which).GetLines())
            text += (text.empty() ? "" : "|") + line;
        return text;
    }
    const std::vector<std::string>& ChatLines() { return ChatControlStateOf(chat->m_hWnd)->lines; }
    // The screen around a rectangle, saved for a person to look at.
    void SaveAround(const std::string& name, RECT r) {
        PumpPending();
        std::unique_ptr<platform::Surface> screen = platform::ComposeScreen();
        ASSERT_NE(screen, nullptr);
        r.left = std::max<LONG>(r.left - 20, 0);
        r.top = std::max<LONG>(r.top - 20, 0);
        r.right = std::min<LONG>(r.right + 20, screen->Width());
        r.bottom = std::min<LONG>(r.bottom + 20, screen->Height());
        platform::PixelImage shot;
        shot.Reset(r.right - r.left, r.bottom - r.top);
        for (int y = 0; y < shot.height; ++y)
            for (int x = 0; x < shot.width; ++x)
                shot.At(x, y) = screen->GetPixel(r.left + x, r.top + y) & 0xFFFFFF;
        SaveSheet(name, shot);
    }

    // The sprite ids of the notices drawn now.
    std::vector<int> DrawnNotices() {
        std::vector<int> ids;
        for (int id = kFirstNoticeId; id <= kLastNoticeId; ++id) {
            const POSITION pos = wnd->FindSpritePos(id);
            if (pos != nullptr && wnd->GetSpriteAt(pos)->nChannel >= 0)
                ids.push_back(id);
        }
        return ids;
    }
    // A button of the id where the table has none of its own (yet).
    void EnsureButton(int id) {
        if (wnd->FindItem(id) != nullptr)
            return;
        const CThemeImage& image = layout.m_gameWndButtons[CGameLayout::GB_HISTORY];
        extraButtons.push_back(std::make_unique<CSpriteButtonEx>());
        ASSERT_TRUE(extraButtons.back()->Create(image.m_bitmap, image.m_nKind, image.m_nMask, wnd,
                                                300 + 60 * int(extraButtons.size()), 400, 0, 500,
                                                id));
    }

    TempFolder config;
    LogCapture log;
    ProgramResources resources;
    CGameLayout layout;
    RecordingClient client;
    ChatShell shell;
    std::unique_ptr<CKNChatEx> chat;
    TestAppLink app;
    CGameWnd* wnd = nullptr;
    std::vector<std::unique_ptr<CSpriteButtonEx>> extraButtons;
};

TEST_F(GameWndInfoTest, AReceivedLineGoesToTheChatAndIntoItsSpeakersTip) {
    wnd->SendMessage(WM_CHAT_RECEIVED, 0, LPARAM("[bob]说：快出牌"));
    const int view = wnd->Viewpoint().ViewOf(1);
    EXPECT_TRUE(wnd->Info().Tip(view).IsShown());
    EXPECT_EQ(TipText(view), "快出牌");
    ASSERT_FALSE(ChatLines().empty());
    EXPECT_EQ(ChatLines().back(), "[bob]说：快出牌");

    // Addressed to another seated player.
    wnd->SendMessage(WM_CHAT_RECEIVED, 0, LPARAM("[bob]对[carol]说：笑着,好牌"));
    EXPECT_EQ(TipText(view), "[bob]对[carol]说道：好牌");
    SaveAround("speech_tip.png", wnd->Info().Tip(view).GetBodyRect());

    // A seat leaves a table that keeps its watchers: the table starts afresh
    // and the tips go, their words too.
    theBoard.SetRuleFlags(kRuleChatWatchTarget);
    client.OnLeaveGame(WORD(3));
    EXPECT_FALSE(wnd->Info().Tip(view).IsShown());
    EXPECT_TRUE(wnd->Info().Tip(view).GetLines().empty());
    theBoard.SetRuleFlags(0);
}

TEST_F(GameWndInfoTest, LinesWithoutASeatedSpeakerOrInASymbolFontShowNoTip) {
    const size_t before = ChatLines().size();
    wnd->SendMessage(WM_CHAT_RECEIVED, 0, LPARAM("[mallory]说：hi"));
    wnd->SendMessage(WM_CHAT_RECEIVED, 0, LPARAM("no brackets at all"));
    wnd->SendMessage(WM_CHAT_RECEIVED, 0, LPARAM("<f=Webdings>[bob]说：J"));
    wnd->SendMessage(WM_CHAT_RECEIVED, 0, LPARAM(""));
    wnd->SendMessage(WM_CHAT_RECEIVED, 0, 0);
    for (int tip = 0; tip < kSeatCount; ++tip)
        EXPECT_FALSE(wnd->Info().Tip(tip).IsShown()) << tip;
    // The two plain lines reach the chat; the symbol line and the empty ones do not.
    EXPECT_EQ(ChatLines().size(), before + 2);
}

TEST_F(GameWndInfoTest, MyOwnLinesShowInMyTipUnlessIWatch) {
    wnd->SendMessage(WM_CHAT_OWN_LINE, 0, LPARAM("大家好"));
    EXPECT_TRUE(wnd->Info().Tip(0).IsShown());
    EXPECT_EQ(TipText(0), "大家好");
    wnd->Info().Tip(0).Hide();

    for (const char* quiet : {"``clear", "<f=Wingdings>J", ""}) {
        wnd->SendMessage(WM_CHAT_OWN_LINE, 0, LPARAM(quiet));
        EXPECT_FALSE(wnd->Info().Tip(0).IsShown()) << quiet;
    }
    EXPECT_EQ(ChatLines().back(), "<f=Wingdings>J");

    client.m_bWatcher = TRUE;
    wnd->UpdateViewpoint();
    wnd->SendMessage(WM_CHAT_OWN_LINE, 0, LPARAM("看看"));
    EXPECT_FALSE(wnd->Info().Tip(0).IsShown());
    EXPECT_EQ(ChatLines().back(), "看看");
    client.m_bWatcher = FALSE;
    wnd->UpdateViewpoint();
}

TEST_F(GameWndInfoTest, EachSeatsTipStandsBesideItsPlate) {
    for (int seat = 0; seat < kSeatCount; ++seat) {
        wnd->Info().ShowSeatTip("好", seat);
        const int view = wnd->Viewpoint().ViewOf(seat);
        POINT place = ResolvePos(layout.m_posAvatar[view]);
        wnd->ClientToScreen(&place);
        const RECT body = wnd->Info().Tip(view).GetBodyRect();
        // Mode 0: the body's top left is the body point.
        EXPECT_EQ(body.left, place.x + (view >= 4 ? -80 : 90)) << seat;
        EXPECT_EQ(body.top, place.y - 30) << seat;
    }
    wnd->Info().ShowSeatTip("x", 6);
    wnd->Info().ShowSeatTip("x", -1);
    EXPECT_NE(log.Text().find("no speech tip for seat 6"), std::string::npos);
}

TEST_F(GameWndInfoTest, TheInformationTipFollowsTheCursorOverTakenPlates) {
    Seat(1, "bob", "鲍勃", 25);
    const int view = wnd->Viewpoint().ViewOf(1);
    wnd->Info().HitTestSeat(PlateCentre(view));
    CBalloonTipWnd& tip = wnd->Info().Tip(kTableTip);
    ASSERT_TRUE(tip.IsShown());
    // The tip names the seat's player.
    const std::string text = TipText(kTableTip);
    EXPECT_EQ(text.substr(0, text.find('|')), "用户名:bob");
    EXPECT_NE(text.find(std::string("级别:") + GetLevelTitle(19)), std::string::npos);
    SaveAround("information_tip.png", tip.GetBodyRect());

    // The same seat again is not shown again.
    tip.Hide();
    wnd->Info().HitTestSeat(PlateCentre(view));
    EXPECT_FALSE(tip.IsShown());

    // Off the plates the seat is forgotten: back on it, its tip comes again.
    wnd->Info().HitTestSeat(POINT{5, 5});
    wnd->Info().HitTestSeat(PlateCentre(view));
    EXPECT_TRUE(tip.IsShown());
    // A free seat shows nothing.
    const int freeView = wnd->Viewpoint().ViewOf(2);
    wnd->Info().HitTestSeat(PlateCentre(freeView));
    EXPECT_FALSE(tip.IsShown());
    // Straight from a taken plate to a free one: the taken seat's tip goes.
    wnd->Info().HitTestSeat(PlateCentre(view));
    ASSERT_TRUE(tip.IsShown());
    wnd->Info().HitTestSeat(PlateCentre(freeView));
    EXPECT_FALSE(tip.IsShown());

    // The timer's tick asks where the cursor is.
    const POINT p = PlateCentre(wnd->Viewpoint().ViewOf(3));
    SetCursorPos(p.x, p.y);
    wnd->Info().OnInfoTipTick();
    ASSERT_TRUE(tip.IsShown());
    const std::string carol = TipText(kTableTip);
    EXPECT_EQ(carol.substr(0, carol.find('|')), "用户名:carol");
}

TEST_F(GameWndInfoTest, TheStatusTipPointsAtTheMainWindowsBottomEdgeFromInside) {
    CBalloonTipWnd& tip = wnd->Info().Tip(kStatusTip);
    wnd->ShowStatusTip("网络连接正常");
    ASSERT_TRUE(tip.IsShown());
    EXPECT_EQ(TipText(kStatusTip), "网络连接正常");
    // The body's right end 160 pixels from the client's right, above the
    // bottom edge; the tail reaches down to the edge.
    RECT body = tip.GetBodyRect();
    RECT box{};
    tip.GetWindowRect(&box);
    EXPECT_EQ(body.right, kWidth - 160);
    EXPECT_LT(body.bottom, kHeight - 8);
    EXPECT_GT(body.top, kHeight / 2);
    EXPECT_NEAR(box.bottom, kHeight, 1);

    // A window that reaches past the screen's bottom keeps the tip on the
    // screen; one too narrow for the tip keeps it inside from the left.
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    shell.frame.MoveWindow(0, screenHeight - 300, kWidth, kHeight);
    wnd->ShowStatusTip("网络连接正常");
    tip.GetWindowRect(&box);
    EXPECT_LE(box.bottom, screenHeight);
    shell.frame.MoveWindow(20, 0, 600, kHeight);
    wnd->ShowStatusTip(std::string(90, 'x').c_str());
    body = tip.GetBodyRect();
    EXPECT_GT(body.right - body.left, 440) << "wider than the room left of its point";
    EXPECT_GE(body.left, 20);
    EXPECT_LE(body.right, 620);

    tip.Hide();
    app.main = nullptr;
    wnd->ShowStatusTip("x");
    EXPECT_FALSE(tip.IsShown());
    EXPECT_NE(log.Text().find("no main window for the status tip"), std::string::npos);
}

TEST_F(GameWndInfoTest, ButtonHintsSayWhatTheButtonDoesAndWhatItCosts) {
    CBalloonTipWnd& tip = wnd->Info().Tip(kHintTip);
    EnsureButton(kCmdHistory);
    wnd->SendMessage(WM_SPRITEBUTTON_HOVER, kCmdHistory, 0);
    EXPECT_EQ(TipText(kHintTip), "查看记录");
    app.historyShown = TRUE;
    wnd->SendMessage(WM_SPRITEBUTTON_HOVER, kCmdHistory, 0);
    EXPECT_EQ(TipText(kHintTip), "关闭记录");
    const RECT body = tip.GetBodyRect();
    CRect button = wnd->FindItem(kCmdHistory)->GetRect();
    wnd->ClientToScreen(&button);
    EXPECT_LE(body.bottom, button.top) << "the hint stands above its button";
    wnd->SendMessage(WM_SPRITEBUTTON_HOVER, kCmdHistory, 1);
    EXPECT_FALSE(tip.IsShown());
}

TEST_F(GameWndInfoTest, ThePointFeeIsHintedOnlyWhenThereIsOne) {
    CBalloonTipWnd& tip = wnd->Info().Tip(kHintTip);
    EnsureButton(kCmdDeclPoint);
    wnd->SendMessage(WM_SPRITEBUTTON_HOVER, kCmdDeclPoint, 0);
    EXPECT_FALSE(tip.IsShown());
    theBoard.GetTableHead().nPrePointFee = 30;
    wnd->SendMessage(WM_SPRITEBUTTON_HOVER, kCmdDeclPoint, 0);
    EXPECT_EQ(TipText(kHintTip), "使用预点功能将收取30豆");
}

TEST_F(GameWndInfoTest, AChipHintsItsFeeOnlyBetweenTheFreeAndTheLargestMultiple) {
    CBalloonTipWnd& tip = wnd->Info().Tip(kHintTip);
    tagTABLEHEAD& head = theBoard.GetTableHead();
    head.nBaseMultiple = 2;
    head.nMaxMultiple = 8;
    head.nFeePerStep = 10;
    for (int id : {401, 402, 404, 408, 416})
        EnsureButton(id);
    const struct {
        int id;
        const char* text; // null: no hint
    } cases[] = {
        {401, nullptr},
        {402, nullptr},
        {404, "非会员选择4倍将收取10豆,会员免费"},
        {408, "非会员选择8倍将收取20豆,会员免费"},
        {416, nullptr},
    };
    for (const auto& c : cases) {
        tip.Hide();
        wnd->SendMessage(WM_SPRITEBUTTON_HOVER, WPARAM(c.id), 0);
        EXPECT_EQ(tip.IsShown() != FALSE, c.text != nullptr) << c.id;
        if (c.text != nullptr) {
            EXPECT_EQ(TipText(kHintTip), c.text) << c.id;
        }
    }
}

TEST_F(GameWndInfoTest, UserColumnsAndTheBeanFigureFollowTheSeats) {
    wnd->RefreshUserList();
    auto has = [this](const std::string& field) {
        return std::find(shell.userFields.begin(), shell.userFields.end(), field) !=
               shell.userFields.end();
    };
    EXPECT_TRUE(has("bob|积分|50"));
    EXPECT_TRUE(has("bob|游戏豆|1000"));
    EXPECT_TRUE(has(std::string("bob|级别|") + GetLevelTitle(0)));
    EXPECT_TRUE(has("carol|财富|0"));
    // Free seats have no row.
    EXPECT_EQ(shell.userFields.size(), 12u);
    EXPECT_TRUE(app.beanFigures.empty()) << "no betting dialog, no figure";

    app.takeChanceOpen = TRUE;
    theBoard.GetTableHead().nKeepBeans = 200;
    theBoard.GetTableHead().nMaxStake = 500;
    wnd->UpdateUserInfo(FALSE);
    wnd->UpdateUserInfo(FALSE); // unchanged: not written again
    Seat(0, "me", "", 0);
    tagUSERINFO me = theBoard.GetUserInfo(0);
    me.nBeans = 250;
    theBoard.SetUserInfo(0, me);
    wnd->UpdateUserInfo(FALSE);
    me.nBeans = 100;
    theBoard.SetUserInfo(0, me);
    wnd->UpdateUserInfo(FALSE);
    EXPECT_EQ(app.beanFigures, (std::vector<int>{500, 50, 0}));
}

TEST_F(GameWndInfoTest, ALevelRiseShowsTheLevelUpOnlyWhenAskedAndOnlyForARise) {
    auto levelUpPlays = [this] {
        POSITION up = wnd->FindSpritePos(kUpgradeSprite);
        return up != nullptr && !wnd->GetSpriteRect(up).IsRectEmpty();
    };
    Seat(1, "bob", "鲍勃", 3);
    Seat(3, "carol", " ", 25);
    wnd->UpdateUserInfo(FALSE);
    EXPECT_FALSE(levelUpPlays()) << "no rise asked for";

    // Levels that stay (20 is the top kept) or fall show nothing, even when
    // asked; so the levels came in without a rise asked for too.
    Seat(3, "carol", " ", 30);
    Seat(1, "bob", "鲍勃", 2);
    wnd->UpdateUserInfo(TRUE);
    EXPECT_FALSE(levelUpPlays());

    // A rise by one from the fallen level shows it.
    Seat(1, "bob", "鲍勃", 3);
    wnd->UpdateUserInfo(TRUE);
    EXPECT_TRUE(levelUpPlays());
    // Once it has played, the level it rose to is kept: the same again shows nothing.
    for (int tick = 0; tick < 500 && levelUpPlays(); ++tick) {
        clock.Advance(10);
        PumpPending();
    }
    wnd->UpdateUserInfo(TRUE);
    EXPECT_FALSE(levelUpPlays());
}

TEST_F(GameWndInfoTest, TheTitleNamesTheVersionMeAndWhetherIWatch) {
    strcpy(client.m_szUserName, "me");
    strcpy(client.m_szNickName, "小我");
    wnd->UpdateTitle(TRUE);
    char title[256] = {};
    ::GetWindowText(shell.frame.m_hWnd, title, sizeof title);
    const std::string version(layout.GetFileVersion("Pellor2"));
    EXPECT_EQ(std::string(title), "Morvane积分版 (" + version + ") 小我 [me] 旁观");
    const std::vector<int> watcherNotice = DrawnNotices();
    ASSERT_EQ(watcherNotice.size(), 1u) << "the watcher is told whom he watches";
    // The next notice shows once the first has risen out of its way.
    for (int tick = 0; tick < layout.m_nTextSpriteDelay + 10; ++tick) {
        clock.Advance(10);
        PumpPending();
    }
    wnd->UpdateTitle(FALSE);
    ::GetWindowText(shell.frame.m_hWnd, title, sizeof title);
    EXPECT_EQ(std::string(title), "Morvane积分版 (" + version + ") 小我 [me] ");
    const std::vector<int> later = DrawnNotices();
    EXPECT_TRUE(std::any_of(later.begin(), later.end(), [&](int id) {
        return id != watcherNotice[0];
    })) << "the player is told the change worked";

    // A name that fills its field is read to its end and no further.
    memset(client.m_szNickName, 'n', sizeof client.m_szNickName);
    wnd->UpdateTitle(FALSE);
    ::GetWindowText(shell.frame.m_hWnd, title, sizeof title);
    EXPECT_EQ(std::string(title),
              "Morvane积分版 (" + version + ") " + std::string(20, 'n') + " [me] ");
}

TEST_F(GameWndInfoTest, TheDisplayNameIsTheNicknameOrElseTheUserName) {
    EXPECT_EQ(std::string(SeatDisplayName(theBoard, 1)), "鲍勃");
    EXPECT_EQ(std::string(SeatDisplayName(theBoard, 3)), "carol");
    EXPECT_EQ(std::string(SeatDisplayName(theBoard, 6)), "");
    EXPECT_EQ(std::string(SeatDisplayName(theBoard, -1)), "");
    // A blank nickname shows the user name; a field without its end is read
    // to its size and no further.
    tagUSERINFO user{};
    strcpy(user.szUserName, "player1");
    strcpy(user.szNickName, " ");
    EXPECT_STREQ(DisplayNameOf(user), "player1");
    memset(user.szNickName, 'a', sizeof user.szNickName);
    EXPECT_EQ(DisplayNameOf(user).GetLength(), 20);
}

class SeatPopupHoverTest : public GameWndInfoTest {
protected:
    void SetUp() override {
        GameWndInfoTest::SetUp();
        bobView = wnd->Viewpoint().ViewOf(1);
    }
    void RestOn(POINT p) {
        SetCursorPos(p.x, p.y);
        wnd->Info().OnSeatHoverTick();
    }
    // The table's seat pop-up, null while it has none.
    HWND Popup() {
        const std::vector<HWND> popups = SeatPopupsOf(*wnd);
        return popups.empty() ? nullptr : popups.front();
    }
    bool PopupShown() { return Popup() != nullptr && ::IsWindowVisible(Popup()); }
    int bobView = 0;
};

TEST_F(SeatPopupHoverTest, ItComesBesideAnotherPlayersNameLine) {
    const POINT p = NameLineCentre(bobView);
    RestOn(p);
    ASSERT_TRUE(PopupShown());
    RECT r{};
    ::GetWindowRect(Popup(), &r);
    EXPECT_EQ(r.left, bobView >= 4 ? p.x - 102 : p.x);
    EXPECT_EQ(r.top, p.y);
    EXPECT_EQ(r.right - r.left, 102);
    EXPECT_EQ(r.bottom - r.top, 32);
    SaveAround("seat_popup_on_table.png", r);

    // While shown, a later hover does not make a second one.
    const HWND first = Popup();
    wnd->Info().OnSeatPopupCheckTick();
    EXPECT_TRUE(PopupShown());
    EXPECT_EQ(SeatPopupsOf(*wnd), std::vector<HWND>{first});
}

TEST_F(SeatPopupHoverTest, NotOverMyOwnOrAFreeSeatNorDuringAGame) {
    RestOn(NameLineCentre(wnd->Viewpoint().ViewOf(0)));
    RestOn(NameLineCentre(wnd->Viewpoint().ViewOf(2)));
    EXPECT_FALSE(PopupShown());
    theBoard.SetGameState(8);
    RestOn(NameLineCentre(bobView));
    EXPECT_FALSE(PopupShown());
    theBoard.SetGameState(0);
}

TEST_F(SeatPopupHoverTest, ItGoesWhenTheCursorLeavesTheSeatEmptiesOrAGameStarts) {
    // The cursor moves from the name line onto the pop-up: it stays.
    RestOn(NameLineCentre(bobView));
    RECT r{};
    ::GetWindowRect(Popup(), &r);
    SetCursorPos(r.left + 50, r.top + 16);
    wnd->Info().OnSeatPopupCheckTick();
    EXPECT_TRUE(PopupShown());
    // Away from both: gone, and it may come again.
    SetCursorPos(2, 2);
    wnd->Info().OnSeatPopupCheckTick();
    EXPECT_FALSE(PopupShown());
    RestOn(NameLineCentre(bobView));
    EXPECT_TRUE(PopupShown());

    theBoard.SetGameState(2);
    wnd->Info().OnSeatPopupCheckTick();
    EXPECT_FALSE(PopupShown());
    theBoard.SetGameState(0);

    RestOn(NameLineCentre(bobView));
    ASSERT_TRUE(PopupShown());
    theBoard.SetUserInfo(1, tagUSERINFO{});
    wnd->Info().OnSeatPopupCheckTick();
    EXPECT_FALSE(PopupShown());
}

TEST_F(SeatPopupHoverTest, ItGoesWithTheTable) {
    RestOn(NameLineCentre(bobView));
    ASSERT_TRUE(PopupShown());
    const HWND popup = Popup();
    wnd->DestroyWindow();
    wnd = nullptr;
    EXPECT_FALSE(::IsWindow(popup));
}

TEST_F(SeatPopupHoverTest, AfterAButtonHidItTheNextHoverShowsItAgain) {
    RestOn(NameLineCentre(bobView));
    ASSERT_TRUE(PopupShown());
    // Sit on a taken seat: a notice, and the pop-up hides itself.
    ::SendMessage(Popup(), WM_COMMAND, CSeatPopupWnd::kSitId, 0);
    EXPECT_FALSE(PopupShown());
    wnd->Info().OnSeatPopupCheckTick();
    RestOn(NameLineCentre(bobView));
    EXPECT_TRUE(PopupShown());
}

} // namespace
} // namespace table_test
