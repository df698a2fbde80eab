// End to end: my seat plays whole games against the local table host's bots
// only through the mouse (the start button, the hint and take-out or pass
// buttons, each clicked at its drawn rectangle while shown and enabled), and
// after every play record the window has presented, what it draws is held
// against the referee: each seat's cards on the table are its latest play
// of the round that is running until its turn comes or the turn goes past
// it, nothing of a closed round is left, and the turn clock stands inside
// the window.

#include "DrawnPaneKit.h"
#include "HostTableKit.h"
#include "platform/images/PngFile.h"
#include "table/common/TableWndFields.h"
#include "table/panes/LastCardPaneImage.h"

#include <array>
#include <deque>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>

namespace table_test {
namespace {

using platform_test::PumpUntil;

// Sprites of the panes that the 上轮 and 战报 buttons open.
constexpr int kReelPane = 502, kLastCardPane = 516;

constexpr int kFaceCount = 54; // a card's face is its code within one deck

// The table window with its sprites listed and the records it is handed seen
// before it handles them.
class WatchedTable : public TestTableWnd {
public:
    std::function<void(int id)> beforeRecord;
    std::function<void(int event)> onEnd;

    std::vector<POSITION> Sprites() {
        std::vector<POSITION> all;
        for (POSITION pos = m_sprites.GetHeadPosition(); pos != nullptr;) {
            auto* s = static_cast<SPRITEINFO*>(m_sprites.GetNext(pos));
            all.push_back(reinterpret_cast<POSITION>(s));
        }
        return all;
    }

protected:
    void OnSpriteEnd(POSITION pos, int nParam) override {
        if (onEnd)
            onEnd(nParam);
        TestTableWnd::OnSpriteEnd(pos, nParam);
    }
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
        if (message == WM_GAME_RECORD && beforeRecord) {
            int id = 0;
            PeekGameRecordId(reinterpret_cast<const void*>(lParam), int(wParam), &id);
            beforeRecord(id);
        }
        return TestTableWnd::OnWndMsg(message, wParam, lParam, result);
    }
};

// What the referee holds after one play record went out.
struct RoundTruth {
    int actor = -1;
    int type = 0;
    std::array<std::vector<int>, kSeatCount> onTable; // each seat's latest play
    std::array<bool, kSeatCount> passed{};            // passed since its latest play
    // Each seat's cards as they last left the table: taken up while a round
    // runs, or gathered when a round closed (then every seat's, none too).
    std::array<std::vector<int>, kSeatCount> lastCards;
    std::array<int32_t, kSeatCount> status{};
    std::array<int, kSeatCount> mask{};
};

class TableRoundsShown : public HostTableKit<WatchedTable> {
protected:
    void SetUp() override {
        HostTableKit::SetUp();
        if (HasFatalFailure())
            return;
        WatchTheReferee();
        wnd->onEnd = [this](int event) {
            if (event != kClockEventMyTurn + 1)
                return;
            // The clock of a turn that cannot beat the last play ran out:
            // the table passes for me. The referee waits on my answer.
            ++cannotBeatClocks;
            CGameLogic& referee = Referee();
            EXPECT_TRUE(referee.GetSeatActionMask(me) & kActionPass)
                << "passed for a seat that may not pass";
            EXPECT_FALSE(referee.GetPlayList().empty()) << "passed for a seat that leads";
            EXPECT_NE(referee.GetLastPlaySeat(), me) << "passed over my own play";
        };
        wnd->beforeRecord = [this](int id) {
            // The record before this one has been presented in full.
            if (shown)
                CheckTable(*shown, "before record " + Hex(id));
            shown.reset();
            if (id == kMsgPlay) {
                EXPECT_FALSE(truths.empty()) << "a play record the referee did not send";
                if (!truths.empty()) {
                    shown = truths.front();
                    truths.pop_front();
                }
            }
        };
    }
    void TearDown() override {
        if (wnd != nullptr && wnd->m_hWnd != nullptr)
            wnd->beforeRecord = nullptr;
        HostTableKit::TearDown();
    }

    static std::string Hex(int id) {
        std::ostringstream out;
        out << std::hex << "0x" << id;
        return out.str();
    }

    // Each play record the referee sends to all: the seats' latest plays of
    // the round it is running after it, kept in the order sent.
    void WatchTheReferee() {
        CTableDriver& driver = host->Table().Driver();
        auto before = driver.onHostCall;
        driver.onHostCall = [this, before](const tagHOSTCALL& call) {
            int id = 0;
            if (call.nCode == kHostSendToAll && call.pData != nullptr &&
                PeekGameRecordId(call.pData, call.nDataLen, &id) && id == kMsgPlay)
                Witness(call);
            if (before)
                before(call);
        };
    }
    void Witness(const tagHOSTCALL& call) {
        CGameLogic& referee = Referee();
        tagPLAYMSG msg;
        if (!ReadGameRecord(call.pData, call.nDataLen, msg) ||
            !DecipherPlayCodes(msg, referee.m_Cipher,
                               (referee.GetRuleFlags() & kRuleCardsInClear) != 0)) {
            ADD_FAILURE() << "a play record the test cannot read";
            return;
        }
        const auto takeUp = [&](int seat) {
            if (round.onTable[size_t(seat)].empty())
                return;
            round.lastCards[size_t(seat)] = round.onTable[size_t(seat)];
            round.onTable[size_t(seat)].clear();
        };
        if (msg.nSeat >= 0 && msg.nSeat < kSeatCount) {
            if (msg.nType & (kActionTakeOut | kActionShao)) {
                takeUp(msg.nSeat);
                round.onTable[msg.nSeat].assign(msg.nCodes, msg.nCodes + msg.nCount);
            }
            round.passed[msg.nSeat] = msg.nType == kActionPass;
        }
        if (referee.GetPlayList().empty()) { // the round closed with this record
            round.lastCards = round.onTable;
            for (std::vector<int>& cards : round.onTable)
                cards.clear();
            round.passed = {};
        } else {
            for (int seat :
                 SeatsTakingUpCards(msg, referee.GetRuleFlags(), round.status.data(), me))
                takeUp(seat);
        }
        round.actor = msg.nSeat;
        round.type = msg.nType;
        for (int seat = 0; seat < kSeatCount; ++seat) {
            round.status[seat] = msg.nSeatStatus[seat];
            round.mask[seat] = msg.nActionMask[seat];
        }
        truths.push_back(round);
        if (referee.GetGameState() != kStatePlay)
            round = RoundTruth{};
    }

    // The faces drawn outside my hand, by the seat whose fan holds them, in
    // their places in the fan.
    std::array<std::vector<int>, kSeatCount> DrawnTableCards(std::vector<int>& strays) {
        std::array<std::vector<std::pair<int, int>>, kSeatCount> placed; // place, face
        std::vector<POSITION> hand;
        for (const HANDENTRY& e : wnd->Hands().GetHand())
            hand.push_back(e.pos);
        // The fans as the theme lays them with the small faces (the table is
        // narrower than 1000 pixels), seen from my seat.
        CTableWndFields fans{theBoard};
        fans.pLayout = &layout;
        fans.viewpoint = wnd->Viewpoint();
        for (POSITION pos : wnd->Sprites()) {
            SPRITEINFO* s = wnd->GetSpriteAt(pos);
            // Cards in flight (gathered into the centre, moving between seats)
            // go by themselves when they arrive.
            if (s == nullptr || s->nChannel < 0 || s->bAutoRemove ||
                std::find(hand.begin(), hand.end(), pos) != hand.end())
                continue;
            const int code = CardImageCode(s->posImage);
            if (code < 0)
                continue;
            // Where the card comes to rest (a play's cards glide there).
            const CRect r = wnd->GetSpriteRect(pos);
            const POINT rest = s->pLine != nullptr ? ResolvePos(s->pLine->EndPos()) : r.TopLeft();
            int owner = -1, place = -1;
            for (int seat = 0; seat < kSeatCount && owner < 0; ++seat) {
                const int view = wnd->Viewpoint().ViewOf(seat);
                const int n = int(shown ? shown->onTable[seat].size() : 0);
                for (int k = 0; k < n && owner < 0; ++k) {
                    const POINT at = ResolvePos(fans.TableCardPos(view, k, n));
                    if (at.x == rest.x && at.y == rest.y)
                        owner = seat, place = k;
                }
            }
            if (owner >= 0)
                placed[owner].emplace_back(place, code);
            else
                strays.push_back(rest.x * 10000 + rest.y);
        }
        std::array<std::vector<int>, kSeatCount> drawn;
        for (int seat = 0; seat < kSeatCount; ++seat) {
            std::sort(placed[seat].begin(), placed[seat].end());
            for (const auto& card : placed[seat])
                drawn[seat].push_back(card.second);
        }
        return drawn;
    }
    int CardImageCode(POSITION image) {
        for (int code = 0; code < kCardCodeCount; ++code)
            if (wnd->Hands().GetCardImage(code) == image)
                return code % kFaceCount;
        return -1;
    }

    void CheckTable(const RoundTruth& truth, const std::string& when) {
        ++checks;
        std::vector<int> strays;
        const auto drawn = DrawnTableCards(strays);
        for (int seat = 0; seat < kSeatCount; ++seat) {
            EXPECT_EQ(Faces(drawn[seat]), Faces(truth.onTable[seat]))
                << "seat " << seat << "'s cards on the table, " << when << " (play of seat "
                << truth.actor << ", type " << truth.type << ")";
            if (!drawn[seat].empty())
                laidFaces[seat] = drawn[seat];
        }
        EXPECT_TRUE(strays.empty()) << strays.size() << " cards drawn off every seat's fan, "
                                    << when << " first at " << (strays.empty() ? 0 : strays[0]);
        if (::testing::Test::HasFailure() && !savedFailure) {
            savedFailure = true;
            SaveSheet("rounds_failure.png");
        }
        // A seat that passed shows it until it acts again or the round closes.
        for (int seat = 0; seat < kSeatCount; ++seat) {
            const POSITION pos = wnd->FindSpritePos(kPassMark + wnd->Viewpoint().ViewOf(seat));
            SPRITEINFO* s = pos != nullptr ? wnd->GetSpriteAt(pos) : nullptr;
            const bool drawn = s != nullptr && s->nChannel >= 0;
            EXPECT_EQ(drawn, truth.passed[seat] && truth.mask[seat] == 0)
                << "seat " << seat << "'s pass mark, " << when << " (play of seat " << truth.actor
                << ", type " << truth.type << ", status " << truth.status[seat] << ", masks "
                << truth.mask[0] << " " << truth.mask[1] << " " << truth.mask[2] << " "
                << truth.mask[3] << " " << truth.mask[4] << " " << truth.mask[5] << ", cards "
                << truth.onTable[0].size() << truth.onTable[1].size() << truth.onTable[2].size()
                << truth.onTable[3].size() << truth.onTable[4].size() << truth.onTable[5].size()
                << ")";
        }
        // The turn clock, while it runs, stands whole inside the window.
        CRect client;
        wnd->GetClientRect(&client);
        for (int id : {int(kClockSprite), int(kClockCounterSprite)}) {
            const POSITION pos = wnd->FindSpritePos(id);
            SPRITEINFO* s = pos != nullptr ? wnd->GetSpriteAt(pos) : nullptr;
            if (s == nullptr || s->nChannel < 0)
                continue;
            const CRect r = wnd->GetSpriteRect(pos);
            CRect inside;
            inside.IntersectRect(&r, &client);
            EXPECT_EQ(inside, r) << "clock sprite " << id << " leaves the window, " << when;
        }
    }

    void SaveSheet(const std::string& name) { SaveWindowSheet(wnd, name); }

    // A button as a person finds it: shown and enabled, clicked at its middle.
    bool Clickable(int id) { return Pressable(id) != nullptr; }
    void Click(POINT at) override {
        // Clicks a person makes are apart in time.
        clock.Advance(400);
        QuickClick(at);
    }
    // The faces in a list of codes, sorted.
    static std::vector<int> Faces(const std::vector<int>& codes) {
        std::vector<int> faces;
        for (int code : codes)
            faces.push_back(code % kFaceCount);
        std::sort(faces.begin(), faces.end());
        return faces;
    }
    bool PaneShown(int id) {
        const POSITION pos = wnd->FindSpritePos(id);
        SPRITEINFO* s = pos != nullptr ? wnd->GetSpriteAt(pos) : nullptr;
        return s != nullptr && s->nChannel >= 0;
    }
    // A pane opened by a button leaves the action buttons (and my hand below
    // them) uncovered, and a click on it closes it.
    void CheckPaneAndClose(int pane, const std::string& what) {
        ASSERT_TRUE(RunUntil([&] { return PaneShown(pane); })) << what << " opens nothing";
        for (int tick = 0; tick < 100; ++tick) { // the opening zoom
            clock.Advance(10);
            platform_test::PumpPending();
        }
        const std::string sheet = pane == kReelPane ? "reel_open.png" : "last_cards_open.png";
        SaveSheet(sheet);
        const CRect r = wnd->GetSpriteRect(wnd->FindSpritePos(pane));
        if (pane == kLastCardPane) {
            // The last round's cards are drawn in it: card faces are near white.
            std::ifstream file(std::string(TABLE_TEST_OUTPUT_DIR) + "/" + sheet, std::ios::binary);
            const std::string bytes((std::istreambuf_iterator<char>(file)),
                                    std::istreambuf_iterator<char>());
            platform::PixelImage image;
            ASSERT_TRUE(platform::DecodePng(bytes.data(), bytes.size(), image));
            int light = 0;
            for (int y = std::max(0, int(r.top)); y < r.bottom && y < image.height; ++y)
                for (int x = std::max(0, int(r.left)); x < r.right && x < image.width; ++x) {
                    const uint32_t p = image.At(x, y);
                    light +=
                        ((p >> 16) & 0xFF) > 230 && ((p >> 8) & 0xFF) > 230 && (p & 0xFF) > 220;
                }
            EXPECT_GT(light, 54 * 72) << "no card is drawn in " << what;
        }
        CRect client, inside;
        wnd->GetClientRect(&client);
        inside.IntersectRect(&r, &client);
        EXPECT_EQ(inside, r) << what << " leaves the window";
        // Where the table is high enough for it, the pane stands above them.
        const int buttonsTop = wnd->FindItem(CGameWnd::ButtonIdOf(kBtnTakeOut))->GetRect().top;
        for (int button : {kBtnTakeOut, kBtnSearch, kBtnPass, kBtnRangpai}) {
            CSpriteItem* item = wnd->FindItem(CGameWnd::ButtonIdOf(button));
            ASSERT_NE(item, nullptr);
            const CRect at = item->GetRect();
            CRect both;
            if (r.Height() < buttonsTop) {
                EXPECT_FALSE(both.IntersectRect(&r, &at))
                    << what << " covers action button " << button;
            }
        }
        Click(r.CenterPoint());
        EXPECT_FALSE(PaneShown(pane)) << "a click on " << what << " closes it";
    }
    // 上轮 shows every seat's cards as they last left the table, 战报 the
    // game's messages; both through their buttons.
    void OpenThePanes(const RoundTruth& truth) {
        for (int tick = 0; tick < 10; ++tick) { // the latest play comes to rest
            clock.Advance(10);
            platform_test::PumpPending();
        }
        SaveSheet("rounds_in_progress.png");
        ASSERT_TRUE(ClickButton(CGameWnd::ButtonIdOf(kBtnPrevturn)));
        ASSERT_TRUE(RunUntil([&] { return PaneShown(kLastCardPane); }));
        // The pane draws each seat's cards as they lay on the table.
        CLastCardPaneImage expected(0);
        ASSERT_TRUE(expected.LoadLastCardPane(kLayoutFile.c_str(), "PANE_LASTCARD"));
        tagCARD rows[kSeatCount][kHandSize] = {};
        int counts[kSeatCount] = {};
        for (int seat = 0; seat < kSeatCount; ++seat) {
            const int view = wnd->Viewpoint().ViewOf(seat);
            const bool same = Faces(laidFaces[seat]) == Faces(truth.lastCards[seat]);
            for (int code : same ? laidFaces[seat] : truth.lastCards[seat])
                rows[view][counts[view]++] = CGameLogic::CardFromIndex(code);
        }
        expected.SetLastCards(rows, counts);
        CLastCardPaneImage* drawn = SpriteImageOf<CLastCardPaneImage>(*wnd, kLastCardPane);
        ASSERT_NE(drawn, nullptr);
        EXPECT_EQ(PixelsApart(*drawn, expected), 0)
            << "the last-card pane draws other cards than the seats' last";
        CheckPaneAndClose(kLastCardPane, "the last-card pane");
        ASSERT_TRUE(ClickButton(CGameWnd::ButtonIdOf(kBtnReel)));
        CheckPaneAndClose(kReelPane, "the reel");
        panesOpened = true;
    }

    RoundTruth round;
    // Each seat's faces as they lay on the table last, left to right.
    std::array<std::vector<int>, kSeatCount> laidFaces;
    std::deque<RoundTruth> truths;
    std::optional<RoundTruth> shown;
    int checks = 0;
    int cannotBeatClocks = 0;
    bool panesOpened = false;
    bool savedFailure = false;
};

TEST_F(TableRoundsShown, EverySeatsPlayStaysOnTheTableUntilItsRoundCloses) {
    ASSERT_TRUE(PumpUntil([&] { return host->Table().IsSeated(); }));
    const int gamesBefore = Referee().GetGamesPlayed();
    ASSERT_TRUE(RunUntil([&] { return wnd->IsReceiveReady() != FALSE && Clickable(kCmdStart); }));
    // A table smaller than the big cards need: the clock and every seat's
    // cards must still stand inside it, where they belong.
    parent.MoveWindow(0, 0, 900, 660, TRUE);
    wnd->MoveWindow(0, 0, 900, 660, TRUE);
    platform_test::PumpPending();
    ASSERT_TRUE(ClickButton(kCmdStart));
    const auto gameOver = [&] { return Referee().GetGamesPlayed() != gamesBefore; };
    std::pair<int, int> lastTurn{-1, -1};
    for (int turn = 0; turn < 500 && !gameOver(); ++turn) {
        ASSERT_TRUE(RunUntil([&] {
            return gameOver() ||
                   (MyTurn() && std::make_pair(theBoard.GetPlayCounter(),
                                               theBoard.GetSeatActionMask(me)) != lastTurn);
        }));
        if (gameOver())
            break;
        lastTurn = {theBoard.GetPlayCounter(), theBoard.GetSeatActionMask(me)};
        const std::vector<int> before = Fingerprint();
        // After some rounds, a look at the last round and at the reel.
        if (!panesOpened && shown && turn > 6 &&
            std::any_of(shown->lastCards.begin(), shown->lastCards.end(),
                        [](const std::vector<int>& cards) { return !cards.empty(); }))
            OpenThePanes(*shown);
        // Holding fewer cards than the play, the table passes for me at once;
        // holding nothing that beats it, it passes when the short clock ends.
        if (theBoard.CannotBeatLastPlay(me)) {
            ASSERT_TRUE(RunUntil([&] { return Fingerprint() != before || gameOver(); }));
            continue;
        }
        if (ClickButton(CGameWnd::ButtonIdOf(kBtnSearch)) &&
            !ClickButton(CGameWnd::ButtonIdOf(kBtnTakeOut)))
            ClickButton(CGameWnd::ButtonIdOf(kBtnPass));
        ASSERT_TRUE(RunUntil([&] { return Fingerprint() != before || gameOver(); }));
    }
    ASSERT_TRUE(gameOver());
    EXPECT_GT(checks, 30);
    EXPECT_TRUE(panesOpened);
    RecordProperty("cannotBeatClocks", cannotBeatClocks);
}

} // namespace
} // namespace table_test
