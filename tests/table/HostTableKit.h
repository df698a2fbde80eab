#pragma once

// The table window against a table host: what a person sees on it, read
// from what the sprite engine draws (the cards of my hand in their drawn
// order, the cards lying on the table by the seat they lie at, the pass
// marks, where the turn clock stands, which buttons are shown and enabled
// where), and a fixture that seats my table at the in-process local table
// host over loopback: my seat enters through the network client, the
// records come back to the window's own handlers, and the person's mouse
// reaches the window through the platform's injected input.

#include "ClientFixture.h"
#include "TableWindowKit.h"
#include "WireFixture.h"
#include "platform/display/Display.h"
#include "platform/window/Input.h"

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace table_test {

// One card face or back as drawn.
struct DrawnCard {
    int face; // 0..53, -1 for a back
    CRect rect;
    std::string name;
};

// A table window whose drawing a test reads as a person sees it (what its
// sprite engine draws: its playing sprites, their images and rectangles,
// and its items, never the game model), and that carries a seat request to
// the test's table host instead of a socket.
class SeenTableWnd : public TestTableWnd {
public:
    std::function<void(int seat, int watch)> onSeatRequest;
    // The places of the table's layout, to tell which seat a drawn card or
    // clock is at; the layout is kept as the table is given it.
    CTableWndFields places{theBoard};
    void SetLayout(CGameLayout* layout) {
        places.pLayout = layout;
        TestTableWnd::SetLayout(layout);
    }
    // The words of my open question, empty when none is put.
    std::string questionText;
    void ShowQuestionLine(LPCSTR text) override {
        TestTableWnd::ShowQuestionLine(text);
        questionText = text != nullptr ? text : "";
    }

    // Every playing sprite, in drawing order.
    std::vector<SPRITEINFO*> PlayingSprites() const {
        std::vector<SPRITEINFO*> out;
        for (POSITION p = m_sprites.GetHeadPosition(); p != nullptr;) {
            auto* s = static_cast<SPRITEINFO*>(m_sprites.GetNext(p));
            if (s != nullptr && s->nChannel >= 0 && s->bShown)
                out.push_back(s);
        }
        return out;
    }
    std::vector<CSpriteItem*> Items() const {
        std::vector<CSpriteItem*> out;
        for (POSITION p = m_items.GetHeadPosition(); p != nullptr;)
            out.push_back(static_cast<CSpriteItem*>(m_items.GetNext(p)));
        return out;
    }
    // Whether any card sprite still moves along its line.
    bool CardsMoving() {
        for (SPRITEINFO* s : PlayingSprites())
            if (FaceOf(s) != kNotACard && s->nInterval != -1)
                return true;
        return false;
    }
    static constexpr int kNotACard = -2;
    // The face a sprite shows: 0..53, -1 for the card back, kNotACard else.
    int FaceOf(const SPRITEINFO* s) {
        // A window crossing 1000 px cuts its faces anew: the images read
        // before the resize name no card any more.
        if (faceOfImage.empty() || cutFrom != Hands().GetCardImage(0) ||
            cutBack != Hands().GetCardBackImage()) {
            faceOfImage.clear();
            for (int face = 0; face < 54; ++face)
                faceOfImage[Hands().GetCardImage(face)] = face;
            faceOfImage[Hands().GetCardBackImage()] = -1;
            cutFrom = Hands().GetCardImage(0);
            cutBack = Hands().GetCardBackImage();
        }
        auto found = faceOfImage.find(s->posImage);
        return found == faceOfImage.end() ? kNotACard : found->second;
    }
    CRect RectOf(SPRITEINFO* s) { return GetSpriteRect(reinterpret_cast<POSITION>(s)); }

    // My hand (the watched hand for a watcher) left to right.
    std::vector<DrawnCard> DrawnHand() {
        std::vector<DrawnCard> cards;
        for (SPRITEINFO* s : PlayingSprites()) {
            const std::string name = s->szName;
            if ((name == kMyCardName || name == kHiddenBackName) && FaceOf(s) != kNotACard)
                cards.push_back(DrawnCard{FaceOf(s), RectOf(s), name});
        }
        std::stable_sort(cards.begin(), cards.end(), [](const DrawnCard& a, const DrawnCard& b) {
            return a.rect.left < b.rect.left;
        });
        return cards;
    }
    // The faces lying on the table by the seat whose place is nearest; seat
    // -1 holds those that lie near no seat's place (the centre, the edge).
    std::map<int, std::multiset<int>> DrawnTableCards() {
        std::map<int, std::multiset<int>> bySeat;
        // A seat's one played card at the size the faces are drawn now.
        places.sizeCardNow = GetImageList().GetAt(Hands().GetCardImage(0))->GetSize(nullptr);
        for (SPRITEINFO* s : PlayingSprites()) {
            const std::string name = s->szName;
            const int face = FaceOf(s);
            if (face < 0 || name == kMyCardName || name == kHiddenBackName ||
                name == kLeftShownName || name == kRightShownName || name == kCueCardName)
                continue;
            const CRect r = RectOf(s);
            bySeat[NearestSeat(r.CenterPoint(), [&](int view) {
                const POINT at = ResolvePos(places.TableCardPos(view, 0, 1));
                const SIZE card = places.CardSize();
                return POINT{at.x + card.cx / 2, at.y + card.cy / 2};
            })].insert(face);
        }
        return bySeat;
    }
    // Seats whose pass, let or give-up mark is drawn.
    std::set<int> DrawnPassMarks() {
        std::set<int> seats;
        for (int mark : {kPassMark, kLetMark, kGaveUpMark})
            for (int view = 0; view < kSeatCount; ++view) {
                POSITION pos = FindSpritePos(mark + view);
                SPRITEINFO* s = pos != nullptr ? GetSpriteAt(pos) : nullptr;
                if (s != nullptr && s->nChannel >= 0 && s->bShown)
                    seats.insert(SeatOfView(view));
            }
        return seats;
    }
    // The seat whose plate the drawn clock stands at; -1 when no clock shows,
    // -2 when it stands near no plate.
    int DrawnClockSeat() {
        POSITION pos = FindSpritePos(kClockSprite);
        SPRITEINFO* s = pos != nullptr ? GetSpriteAt(pos) : nullptr;
        if (s == nullptr || s->nChannel < 0 || !s->bShown)
            return -1;
        const int seat = NearestSeat(RectOf(s).CenterPoint(), [&](int view) {
            return ResolvePos(places.AvatarPoint(view));
        });
        return seat < 0 ? -2 : seat;
    }
    // Command ids of the items shown and enabled, with their rectangles.
    std::map<int, CRect> ShownEnabledButtons() {
        std::map<int, CRect> out;
        for (CSpriteItem* item : Items())
            if (item->IsVisible() && item->IsEnabled() && item->GetId() >= kCmdTrust &&
                item->GetId() <= kCmdChipLast)
                out[item->GetId()] = item->GetRect();
        return out;
    }
    std::set<int> ShownButtons() {
        std::set<int> out;
        for (CSpriteItem* item : Items())
            if (item->IsVisible() && item->GetId() >= kCmdTrust && item->GetId() <= kCmdChipLast)
                out.insert(item->GetId());
        return out;
    }
    int SeatOfView(int view) {
        for (int seat = 0; seat < kSeatCount; ++seat)
            if (Viewpoint().ViewOf(seat) == view)
                return seat;
        return -1;
    }

protected:
    void RequestSeatChange(int seat, int watch) override {
        TestTableWnd::RequestSeatChange(seat, watch);
        if (onSeatRequest)
            onSeatRequest(seat, watch);
    }

private:
    // The seat of the view whose point lies nearest, -1 when none is within
    // a card's reach.
    template <class PointOf> int NearestSeat(POINT at, PointOf pointOf) {
        int best = -1;
        long bestDistance = 0;
        for (int view = 0; view < kSeatCount; ++view) {
            const POINT p = pointOf(view);
            const long d = long(p.x - at.x) * (p.x - at.x) + long(p.y - at.y) * (p.y - at.y);
            if (best < 0 || d < bestDistance)
                best = view, bestDistance = d;
        }
        return bestDistance <= 200L * 200L ? SeatOfView(best) : -1;
    }
    std::map<POSITION, int> faceOfImage;
    POSITION cutFrom = nullptr, cutBack = nullptr; // the images it was read from
};

// The seats whose cards leave the table as a play record is shown: the next
// actor as its turn comes (a seat asked whether it shaos keeps them, unless
// it is the seat I see), and the seats the turn goes past on its way back to
// the next actor, unless a shao may burn what lies there, the play gave up,
// or the next actor had let the turn go before (statusBefore: the status
// words the window held before the record).
inline std::vector<int> SeatsTakingUpCards(const tagPLAYMSG& play, uint32_t rules,
                                           const int32_t statusBefore[kSeatCount], int seen) {
    std::vector<int> seats;
    int next = 0;
    while (next < kSeatCount && !(play.nActionMask[next] & (kActionTakeOut | kActionShao)))
        ++next;
    if (next == kSeatCount)
        return seats;
    const bool openCards = (rules & kRuleCardsLeftNotice) != 0;
    const bool shaoAsked = (play.nActionMask[next] & kActionShao) != 0;
    if (!shaoAsked || openCards || next == seen)
        seats.push_back(next);
    if (play.nSeat < 0 || play.nSeat >= kSeatCount || openCards || shaoAsked ||
        play.nType == kActionGiveUp || (statusBefore[next] & kStatusMark2))
        return seats;
    for (int s = (play.nSeat + 5) % kSeatCount, k = 0; s != next && k < 8;
         s = (s + 5) % kSeatCount, ++k)
        seats.push_back(s);
    return seats;
}

// Table is the window the test watches: TestTableWnd or a subclass of it.
template <class Table = SeenTableWnd> class HostTableKit : public wire_test::WireTest {
protected:
    void SetUp() override {
        WireTest::SetUp();
        platform::StartDisplay(platform::DisplayKind::Headless);
        ClearBoard();
        ASSERT_TRUE(layout.LoadFrom(kLayoutFile.c_str()));
        SetTableAppLink(&app);
        ASSERT_TRUE(parent.CreateTop(&parentLog, 1024, 768));
        if (MouseFindsTable())
            parent.ShowWindow(SW_SHOW); // the mouse finds only shown windows
        wnd = new Table;
        wnd->SetLayout(&layout);
        wnd->SetClient(&client);
        ASSERT_TRUE(wnd->Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 1024, 768), &parent,
                                CGameWnd::kControlId));
        client.SetGameWnd(wnd);
        if (!EntersAtSetUp())
            return;
        StartHost(TableOptions());
        ASSERT_TRUE(Enter(client));
        me = client.m_nMySeat;
        wnd->UpdateViewpoint();
    }
    void TearDown() override {
        // Every presentation the game started ends within the longest one: a
        // hold left after that is a release some path forgot.
        EXPECT_TRUE(RunUntil([&] { return !client.ReceiveGate().IsHeld(); },
                             int(CReceiveGate::kLongestHoldMs / 10)))
            << "the test ended with receiving held";
        if (wnd != nullptr && wnd->m_hWnd != nullptr)
            wnd->DestroyWindow();
        parent.DestroyWindow();
        platform_test::PumpPending();
        SetPosResolver(nullptr);
        SetTableAppLink(nullptr);
        ClearBoard();
        theBoard.SetGameState(kStateWaitStart);
        WireTest::TearDown();
        platform::StopDisplay();
    }

    // Where the tests differ: the table they sit at, whether my seat enters
    // it during SetUp (else the test starts the host itself), and whether
    // the parent is shown so that injected mouse input finds the table.
    virtual CTableHost::Options TableOptions() { return HostOptions(1); }
    virtual bool EntersAtSetUp() const { return true; }
    virtual bool MouseFindsTable() const { return true; }
    // Called on every pass of RunUntil, for checks that hold while waiting.
    virtual void WhileWaiting() {}

    CGameLogic& Referee() { return host->Table().Driver().Referee(); }

    // Pumps what waits, and steps the clock 10 ms whenever nothing does, so
    // that the window's animations end and it takes the next record, until
    // done (or maxSteps steps of the clock have passed).
    bool RunUntil(const std::function<bool()>& done, int maxSteps = 30000) {
        for (int idle = 0; idle < maxSteps;) {
            if (done())
                return true;
            WhileWaiting();
            MSG msg;
            if (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
                DispatchMessage(&msg);
                continue;
            }
            platform::WaitForEvents(1);
            if (!PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
                clock.Advance(10);
                ++idle;
            }
        }
        return done();
    }

    // One mouse action at a client point of the table, through the window's
    // own mouse path.
    void Mouse(platform::MouseAction action, POINT at) {
        wnd->ClientToScreen(&at);
        platform::InjectMouse(action, at);
        platform_test::PumpPending();
    }
    // A left click at a client point; tests whose clicks must lie apart in
    // time override it.
    virtual void Click(POINT at) {
        Mouse(platform::MouseAction::Move, at);
        Mouse(platform::MouseAction::LeftDown, at);
        Mouse(platform::MouseAction::LeftUp, at);
    }
    // A click whose three actions are queued together and then pumped, as
    // a quick hand makes them: the window sees no message between them.
    void QuickClick(POINT at, bool right = false) {
        wnd->ClientToScreen(&at);
        platform::InjectMouse(platform::MouseAction::Move, at);
        platform::InjectMouse(
            right ? platform::MouseAction::RightDown : platform::MouseAction::LeftDown, at);
        platform::InjectMouse(
            right ? platform::MouseAction::RightUp : platform::MouseAction::LeftUp, at);
        platform_test::PumpPending();
    }
    // A button the person can press: shown and enabled.
    CSpriteItem* Pressable(int id) {
        CSpriteItem* item = wnd->FindItem(id);
        return item != nullptr && item->IsVisible() && item->IsEnabled() ? item : nullptr;
    }
    // A click at the middle of a button only while it is shown and enabled.
    bool ClickButton(int id) {
        CSpriteItem* item = Pressable(id);
        if (item == nullptr)
            return false;
        Click(item->GetRect().CenterPoint());
        return true;
    }

    // My turn as the window knows it from its records: it is ready for
    // records and input, and my mask offers a play.
    bool MyTurn() const {
        return wnd->IsReceiveReady() && wnd->IsInputAllowed() &&
               theBoard.GetGameState() == kStatePlay &&
               (theBoard.GetSeatActionMask(me) & (kActionTakeOut | kActionPass)) != 0;
    }
    // What changes when the referee takes a play of mine.
    std::vector<int> Fingerprint() {
        CGameLogic& referee = Referee();
        return {referee.GetActionSerial(), int(referee.GetPlayList().size()),
                referee.GetSeatActionMask(me), referee.GetHandCardCount(me),
                referee.GetGamesPlayed()};
    }

    ProgramResources resources;
    TestTableApp app;
    LogCapture log;
    CGameLayout layout;
    CGameNetClient client{theBoard};
    std::vector<platform_test::Delivered> parentLog;
    platform_test::RecordingWnd parent;
    Table* wnd = nullptr;
    int me = -1;
};

} // namespace table_test
