#pragma once

// The table window as its tests make it: a real window on the headless
// display and the stepped clock, made as the main pane makes it from the
// default theme and the program's resource library, with a client that
// records what it sends and every hold of receiving, an application link
// that records what the table asks of the application, and a window that
// keeps its notices, sounds and seat requests. Three fixtures:
// TableWindowTest (the test makes the window; it shows its notices and keeps
// the end events of its sprites instead of running them), RecordsTest
// (records handed over through the client) and TableInputTest (my hand and
// the person's mouse). And a fourth for the card layout of the hands and the
// played cards alone, on a sprite window of the sprite engine's tests
// (CardTableTest).

#include "ClientFixture.h"
#include "RecordsKit.h"
#include "TableTestKit.h"
#include "game/GameLogic.h"
#include "game/PlayRecords.h"
#include "platform/display/Display.h"
#include "platform/system/FileIo.h"
#include "platform/system/FileOps.h"
#include "platform/window/Input.h"
#include "sprite/GameLayout.h"
#include "table/cards/CardLayout.h"
#include "table/cards/TableCards.h"
#include "table/client/ReceiveGate.h"
#include "table/common/TableAppLink.h"
#include "table/common/TableWndFields.h"
#include "table/window/GameWnd.h"
#include "tests/sprite/SpriteTestKit.h"
#include "tests/support/TempFolder.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace table_test {

inline std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The default theme with one text replaced, written into the folder beside
// a link to the default theme's pictures; the theme file's path.
inline std::string ThemeVariant(const TempFolder& folder, const std::string& from,
                                const std::string& to) {
    std::string text = ReadFileBytes(kLayoutFile);
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    folder.Write("Default.thm", text);
    const std::string pictures = kAssets + "theme_bmp/Default";
    EXPECT_EQ(symlink(pictures.c_str(), folder.File("Default").c_str()), 0);
    return folder.File("Default.thm");
}

// The fourteen play and declaration buttons.
inline const int kActionButtons[] = {
    kBtnTakeOut,    kBtnShaoPai,      kBtnPass,          kBtnGaveUp,      kBtnRangpai,
    kBtnSearch,     kBtnDeclPoint,    kBtnDeclPointOpen, kBtnDeclNoPoint, kBtnReturnTribute,
    kBtnRevolution, kBtnNoRevolution, kBtnGousiji,       kBtnNoGousiji};

// The table window with what it shows in words kept for the test, its
// sounds and seat requests recorded instead of made, and its hooks reachable;
// with ends set it keeps the end events of its sprites instead of running them.
class TestTableWnd : public CGameWnd {
public:
    std::vector<std::string> notices;
    std::vector<std::string> sounds; // full paths
    std::vector<std::pair<int, int>> seatRequests;
    std::vector<int>* ends = nullptr;
    bool showNotices = false; // notices also shown, as the window shows them

    void ShowNotice(LPCSTR text) override {
        notices.emplace_back(text != nullptr ? text : "");
        if (showNotices)
            CGameWnd::ShowNotice(text);
    }
    using CGameWnd::OnLButtonDownEx;
    using CGameWnd::OnLButtonUpEx;
    using CGameWnd::OnMouseMoveEx;
    using CGameWnd::OnRButtonDownEx;
    using CGameWnd::OnResize;
    using CGameWnd::OnUserTimer;
    void OnSpriteEnd(POSITION pos, int nParam) override {
        if (ends != nullptr)
            ends->push_back(nParam);
        else
            CGameWnd::OnSpriteEnd(pos, nParam);
    }

protected:
    void PlaySoundPath(LPCSTR path) override { sounds.emplace_back(path); }
    void RequestSeatChange(int seat, int watch) override { seatRequests.emplace_back(seat, watch); }
};

class TableWindowTest : public ClientKitTest {
protected:
    static constexpr int kWidth = 1024;
    static constexpr int kHeight = 768;

    void SetUp() override {
        ClientKitTest::SetUp();
        setenv("PELLOR_CONFIG_DIR", config.Path().c_str(), 1);
        ResetTableBoard();
        ASSERT_TRUE(layout.LoadFrom(kLayoutFile.c_str()));
        SetTableAppLink(&app);
        ASSERT_TRUE(parent.CreateTop(&parentLog, kWidth, kHeight));
        client.m_nMySeat = 0;
        client.m_bWatcher = FALSE;
        client.m_bOption = FALSE;
    }
    void TearDown() override {
        // Every presentation the test started has ended: a hold left here is a
        // release some path forgot.
        EXPECT_FALSE(client.ReceiveGate().IsHeld()) << "the test ended with receiving held";
        if (wnd != nullptr && wnd->m_hWnd != nullptr)
            wnd->DestroyWindow(); // deletes the window object
        parent.DestroyWindow();
        platform_test::PumpPending();
        SetPosResolver(nullptr);
        SetTableAppLink(nullptr);
        client.SetGameWnd(nullptr);
        ClearBoard();
        theBoard.SetGameState(kStateWaitStart);
        for (int seat = 0; seat < kSeatCount; ++seat)
            theBoard.SetSeatActionMask(seat, 0);
        unsetenv("PELLOR_CONFIG_DIR");
        ClientKitTest::TearDown();
    }

    static tagUSERINFO Named(const char* name, const char* nick) {
        tagUSERINFO user{};
        strncpy(user.szUserName, name, sizeof user.szUserName - 1);
        strncpy(user.szNickName, nick, sizeof user.szNickName - 1);
        return user;
    }

    // Makes the table (a TestTableWnd keeping its sprites' end events unless
    // the test gives another) as the main pane makes it.
    bool CreateTable(TestTableWnd* table = nullptr) {
        if (table == nullptr) {
            table = new TestTableWnd;
            table->ends = &ends;
            table->showNotices = true;
        }
        wnd = table;
        wnd->SetLayout(&layout);
        wnd->SetClient(&client);
        const BOOL made = wnd->Create(nullptr, "", WS_CHILD | WS_VISIBLE,
                                      CRect(0, 0, kWidth, kHeight), &parent, CGameWnd::kControlId);
        platform_test::PumpPending();
        return made != FALSE;
    }

    // A person's click at a client point, through the window's mouse path
    // (the mouse finds the table only while its parent is shown).
    void Click(POINT at) {
        wnd->ClientToScreen(&at);
        for (auto action : {platform::MouseAction::Move, platform::MouseAction::LeftDown,
                            platform::MouseAction::LeftUp}) {
            platform::InjectMouse(action, at);
            platform_test::PumpPending();
        }
    }
    // A click at the middle of the button of the command id, only while it
    // is shown and enabled; false when it is not.
    bool ClickButton(int id) {
        CSpriteItem* item = wnd->FindItem(id);
        if (item == nullptr || !item->IsVisible() || !item->IsEnabled())
            return false;
        Click(item->GetRect().CenterPoint());
        return true;
    }

    // n sprite ticks of 10 ms; ms steps of 1 ms, pumping after each.
    void Tick(int n = 1) {
        for (int i = 0; i < n; ++i) {
            clock.Advance(10);
            platform_test::PumpPending();
        }
    }
    void Run(int ms) {
        for (int t = 0; t < ms; ++t) {
            clock.Advance(1);
            platform_test::PumpPending();
        }
    }

    // ---- what the sprite engine shows ----
    SPRITEINFO* Sprite(int id) {
        POSITION pos = wnd->FindSpritePos(id);
        return pos != nullptr ? wnd->GetSpriteAt(pos) : nullptr;
    }
    bool Shown(int id) {
        SPRITEINFO* s = Sprite(id);
        return s != nullptr && s->nChannel >= 0;
    }
    // The client point of a shown sprite's top left.
    POINT At(int id) {
        SPRITEINFO* s = Sprite(id);
        return s != nullptr ? POINT{s->x, s->y} : POINT{-9999, -9999};
    }
    // The client point of a layout place.
    POINT Resolved(int x, int y, int anchor) {
        CSpritePos pos;
        pos.Set(x, y, anchor);
        return ResolvePos(pos);
    }
    int Count(int event) const { return int(std::count(ends.begin(), ends.end(), event)); }
    // Saves the window as shown (background and sprites) where the test run
    // leaves its sheets; the path.
    std::string SaveWindowSheet(const std::string& name) {
        return table_test::SaveWindowSheet(wnd, name);
    }

    // ---- what the log, the sounds and the client say ----
    bool Logged(const std::string& words) const {
        return log.Text().find(words) != std::string::npos;
    }
    bool Sounded(const std::string& file) const {
        for (const std::string& path : wnd->sounds)
            if (path == "/sounds/" + file)
                return true;
        return false;
    }
    bool Noticed(const std::string& text) const {
        const std::vector<std::string>& notices = wnd->notices;
        return std::find(notices.begin(), notices.end(), text) != notices.end();
    }
    std::string Text(UINT id) const {
        char text[512] = {};
        AfxLoadString(id, text, sizeof text);
        return text;
    }
    TempFolder config;
    LogCapture log;
    ProgramResources resources;
    CGameLayout layout;
    TestTableApp app;
    std::vector<platform_test::Delivered> parentLog;
    platform_test::RecordingWnd parent;
    TestTableWnd* wnd = nullptr;
    std::vector<int> ends;
};

// The table at my seat 2, fed game records as the socket hands them to the
// client: checked, held by their kind, then handed over.
class RecordsTest : public TableWindowTest {
protected:
    static constexpr int kMe = 2;

    void SetUp() override {
        TableWindowTest::SetUp();
        client.m_nMySeat = kMe;
        ASSERT_TRUE(CreateTable(new TestTableWnd));
        client.holds.clear();
        client.sent.clear();
    }

    // My hand: the codes, all held.
    void GiveMeHand(std::initializer_list<int> codes) { GiveHand(kMe, codes); }
};

// The table at my seat 2, shown so that the mouse finds it, with the cards
// in the clear and my hand's faces loaded, for the person's clicks.
class TableInputTest : public TableWindowTest {
protected:
    static constexpr int kMe = 2;

    void SetUp() override {
        TableWindowTest::SetUp();
        theBoard.SetGameState(kStateWaitStart);
        theBoard.SetRuleFlags(kRuleCardsInClear);
        theBoard.GetTableHead().nMaxMultiple = 16;
        for (int seat = 0; seat < kSeatCount; ++seat)
            theBoard.SetTrustCount(seat, 0);
        parent.ShowWindow(SW_SHOW);
        client.m_nMySeat = kMe;
        auto* table = new TestTableWnd;
        ASSERT_TRUE(CreateTable(table));
        if (wnd->Hands().GetCardBackImage() == nullptr) {
            ASSERT_TRUE(wnd->Hands().LoadCardFaces(&layout.m_bmpCards, layout.m_sizeCard.cx,
                                                   layout.m_sizeCard.cy));
        }
    }

    // My hand on the board and on the table, settled.
    void GiveHand(const std::vector<int>& codes) {
        std::vector<tagCARD> records;
        for (int code : codes)
            records.push_back(CardOf(code));
        theBoard.SetHand(kMe, records.data(), int(records.size()));
        for (int code : codes)
            ASSERT_TRUE(wnd->Hands().DisplayCard(code)) << code;
        Run(400);
    }
    // My turn in trick play with the mask.
    void MyTurn(int mask) {
        theBoard.SetGameState(kStatePlay);
        theBoard.SetSeatActionMask(kMe, mask);
    }
    POSITION SpriteOf(int code) {
        for (const HANDENTRY& e : wnd->Hands().GetHand())
            if (e.nCard == code)
                return e.pos;
        return nullptr;
    }
    void Raise(int code) { wnd->Hands().SelectHandCard(SpriteOf(code), TRUE); }
    std::vector<int> Raised() {
        int codes[kHandSize];
        const int n = wnd->Hands().GetSelectedCards(codes, kHandSize);
        std::vector<int> out(codes, codes + (n > 0 ? n : 0));
        std::sort(out.begin(), out.end());
        return out;
    }
    // A point of the part of a card that the next card leaves uncovered, in
    // client coordinates.
    POINT CentreOf(int code) {
        const CRect r = wnd->GetSpriteRect(SpriteOf(code));
        return POINT{r.left + 5, r.top + 10};
    }
    void Command(int id) {
        wnd->SendMessage(WM_COMMAND, WPARAM(id), 0);
        platform_test::PumpPending();
    }
    // The size path the main pane takes when the frame changes size (the
    // frame around it large enough that the mouse reaches every part).
    void Resize(SIZE size) {
        parent.MoveWindow(0, 0, std::max<int>(size.cx, kWidth), std::max<int>(size.cy, kHeight),
                          TRUE);
        wnd->MoveWindow(0, 0, size.cx, size.cy, TRUE);
        Run(50);
    }
};

constexpr int kTableWidth = 1024;
constexpr int kTableHeight = 768;

// Card codes of a readable kind: suit 0..3 (方块, 梅花, 红桃, 黑桃), rank 0..12
// (3 .. 2), deck 0..3.
constexpr int Card(int suit, int rank, int deck = 0) {
    return deck * kDeckSize + suit * 13 + rank;
}
constexpr int SmallJoker(int deck = 0) {
    return deck * kDeckSize + 52;
}
constexpr int BigJoker(int deck = 0) {
    return deck * kDeckSize + 53;
}

// The hands and the played cards without a table window: a 1024 x 768
// sprite window on the headless display and a stepped clock, anchored positions, the
// default theme's layout and card sheets, the layout and the played cards
// wired to one window-fields record, and the log kept apart.
class CardTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        CreateDirectory(TABLE_TEST_OUTPUT_DIR, nullptr);
        // One log per test and process, as the shuffled runs go beside the
        // single ones.
        logFile = std::string(TABLE_TEST_OUTPUT_DIR) + "/" + info->test_suite_name() + "_" +
                  info->name() + "_" + std::to_string(getpid()) + ".log";
        DeleteFile(logFile.c_str());
        SetLogFileOverride(logFile.c_str());
        platform::StartDisplay(platform::DisplayKind::Headless);
        sprite_test::PumpPending();
        const std::string thm = std::string(PELLOR_ASSET_DIR) + "/theme_bmp/Default.thm";
        ASSERT_TRUE(gameLayout.LoadFrom(thm.c_str()));
        ASSERT_TRUE(wnd.CreateTable(kTableWidth, kTableHeight));
        sprite_test::PumpPending();
        SetAnchorWindow(wnd.m_hWnd);
        SetPosResolver(AnchorToClient);
        fields.pLayout = &gameLayout;
        ASSERT_TRUE(hands.LoadCardFaces(&gameLayout.m_bmpCards, gameLayout.m_sizeCard.cx,
                                        gameLayout.m_sizeCard.cy));
        ASSERT_TRUE(hands.LoadLittleCardFaces(&gameLayout.m_bmpLittleCards,
                                              gameLayout.m_sizeLittleCard.cx,
                                              gameLayout.m_sizeLittleCard.cy));
        theBoard.SetRuleFlags(0);
        for (int seat = 0; seat < kSeatCount; ++seat)
            theBoard.SetWatcherSees(seat, false);
    }
    void TearDown() override {
        theBoard.SetRuleFlags(0);
        SetPosResolver(nullptr);
        SetAnchorWindow(nullptr);
        if (wnd.m_hWnd)
            wnd.DestroyWindow();
        sprite_test::PumpPending();
        platform::StopDisplay();
        SetLogFileOverride(nullptr);
    }

    // Steps the clock a millisecond at a time, pumping after each.
    void Run(int ms) {
        for (int t = 0; t < ms; ++t) {
            clock.Advance(1);
            sprite_test::PumpPending();
        }
    }
    // Runs every animation of the hand and the table to its end.
    void Settle() { Run(1600); }

    std::string Log() const {
        std::string text;
        ReadWholeFile(logFile, text, size_t(1) << 30);
        return text;
    }
    SPRITEINFO* Info(POSITION pos) { return wnd.GetSpriteAt(pos); }
    std::vector<int> Codes(const CHandList& list) const {
        std::vector<int> codes;
        for (const HANDENTRY& e : list)
            codes.push_back(e.nCard);
        return codes;
    }
    // Every sprite that is drawn (plays), as the window lists them.
    int PlayingSprites() {
        int n = 0;
        for (int c = 0; c < CSpriteWnd::kChannels; ++c)
            n += wnd.GetChannel(c).posSprite != nullptr;
        return n;
    }
    void Deal(const std::vector<int>& codes) {
        for (int code : codes)
            ASSERT_TRUE(hands.DisplayCard(code)) << code;
    }
    // Sprite events the window received with the given notify word.
    int Notified(int word) const {
        return int(std::count_if(wnd.events.begin(), wnd.events.end(),
                                 [word](const auto& e) { return e.what == "end" && e.a == word; }));
    }
    int CardW() const { return gameLayout.m_sizeCard.cx; }
    int CardH() const { return gameLayout.m_sizeCard.cy; }
    int Interval() const { return gameLayout.m_nInterval; }
    int BaseTop() const { return kTableHeight - CardH() - gameLayout.m_nBorder; }

    platform::ManualClock clock;
    platform::ScopedClock scoped{clock};
    sprite_test::TestSpriteWnd wnd;
    CGameLayout gameLayout;
    CTableWndFields fields{theBoard};
    CCardLayout hands{wnd, fields};
    CTableCards table{wnd, fields};
    std::string logFile;
};

} // namespace table_test
