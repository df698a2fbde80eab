// The witness: whole games at the local table host's table, my seat played
// only as a person plays it (clicks on drawn cards and on shown, enabled
// buttons at their drawn rectangles, through the window's own mouse path),
// the host's bots on the other seats, a second client watching a seat. Each
// time the window has caught up with the table and finished presenting, what
// it shows is held against the referee's truth; every fault is counted under
// its check, with the record, the seat and both values of its first case.

#include "DrawnWords.h"
#include "HostTableKit.h"
#include "TableFrameChecks.h"
#include "assets/resource.h"
#include "platform/CodePage.h"
#include "platform/window/Input.h"
#include "tools/tablehost/HostFrames.h"
#include "tools/tablehost/HostTable.h"

#include <bit>
#include <deque>
#include <random>
#include <sstream>

namespace table_test {
namespace {

// Raise to play more; each table plays kGamesPerTable games in a row. The
// sanitizer pass, many times slower, plays fewer.
#ifdef PELLOR_WITNESS_GAMES
constexpr int kGames = PELLOR_WITNESS_GAMES;
#else
constexpr int kGames = 200;
#endif
constexpr int kGamesPerTable = 4;
constexpr int kWatchedGames = 2;
// The longest presentation that may hold receiving (the deal of a hand)
// plus the second the witness allows on top.
constexpr int kLongestAnimationMs = 6000;
constexpr int kMaxHoldMs = kLongestAnimationMs + 1000;
constexpr int kTickMs = 10;
// The panes' sprites: the result, the reel, the last cards, each seat's multiple.
constexpr int kResultPaneSprite = 501;
constexpr int kReelPaneSprite = 502;
constexpr int kLastCardPaneSprite = 516;
constexpr int kMultiplePaneSprite = 517;
// Records between two comparisons of the whole frame with its sprites.
constexpr int kWholeFrameEvery = 32;

// Plain, tribute and its return, threes and buying a three, shao with
// revolution and gousiji, point rounds, and all together.
const std::map<int, int> kRuleSets[] = {
    {},
    {{15, 1}, {16, 1}, {23, 2}, {24, 1}},
    {{14, 1}},
    {{19, 1}, {24, 1}},
    {{15, 2}, {24, 1}},
    {{14, 1}, {15, 2}, {16, 2}, {18, 1}, {19, 1}, {22, 1}, {23, 1}, {24, 1}},
};

int Rank(int face) {
    return CGameLogic::CheckedCardFromIndex(face).rank;
}

std::string Faces(const std::multiset<int>& faces) {
    std::ostringstream out;
    out << "{";
    for (int f : faces)
        out << " " << f;
    out << " }";
    return out.str();
}
std::string Ids(const std::set<int>& ids) {
    return Faces(std::multiset<int>(ids.begin(), ids.end()));
}

// The referee's truth after the event that sent a record.
struct Truth {
    int state = 0;
    int mask[kSeatCount] = {};
    bool trusted[kSeatCount] = {};
    bool out[kSeatCount] = {};
    bool watcherSees[kSeatCount] = {};
    int startFlag[kSeatCount] = {};
    std::multiset<int> hand[kSeatCount]; // faces
    bool roundOpen = false;
    std::map<int, std::multiset<int>> lastPlay; // seat -> faces of its latest play
    std::set<int> roundMarks;  // seats whose last action in the round was pass, let or give-up
    std::set<int> passed;      // the seats whose mark shows
    std::set<int> marksBefore; // seats whose mark a snapshot may show from before it
    int32_t statusSeen[kSeatCount] = {}; // the status words of the latest play record or snapshot
    int askedMask[kSeatCount] = {};      // the masks of the latest play record
    int returnCount = 0;                 // the cards my seat owes back, 0 for none
    int returnKind = -1;                 // its tribute kind
    uint32_t rules = 0;
    int trustWord[kSeatCount] = {};
    bool prePoint[kSeatCount] = {}, nowPoint[kSeatCount] = {}, openedPoint[kSeatCount] = {};
    bool revolted[kSeatCount] = {};
    int multiple[kSeatCount] = {};
    int places[kSeatCount] = {-1, -1, -1, -1, -1, -1}; // the seat at each place
    int gamesPlayed = 0;
    bool resultDue = false;        // a game's result is to be shown
    bool pointMarksUnsure = false; // the point marks may be missing
};

// Each check's count of faults and its first one.
struct CheckLog {
    const char* name;
    int faults = 0;
    std::string first;
};

class PersonWitness : public platform_test::DisplayTest, public CTableOutput {
protected:
    static constexpr int kMe = 2;
    static constexpr int kClientId = 7;

    void SetUp() override {
        DisplayTest::SetUp();
        setenv("PELLOR_CONFIG_DIR", config.Path().c_str(), 1);
        SetTableAppLink(&app);
        ASSERT_TRUE(layout.LoadFrom(kLayoutFile.c_str()));
        ASSERT_TRUE(parent.CreateTop(&parentLog, 1024, 768));
        parent.ShowWindow(SW_SHOW);
    }
    void TearDown() override {
        CloseTable();
        parent.DestroyWindow();
        platform_test::PumpPending();
        SetTableAppLink(nullptr);
        ClearBoard();
        unsetenv("PELLOR_CONFIG_DIR");
        DisplayTest::TearDown();
    }

    // ---- the table host's side ----
    void SendRecord(int clientId, const void* record, int length) override {
        if (clientId != kClientId || length < 8)
            return;
        const BYTE* bytes = static_cast<const BYTE*>(record);
        inbox.push_back({std::vector<BYTE>(bytes, bytes + length), TruthNow(bytes, length), {}});
    }
    // The frames the client library turns into calls of the client: a seat
    // left, a player's connection broke or came back.
    void SendFrame(int clientId, DWORD type, const std::vector<BYTE>& payload, DWORD) override {
        if (clientId != kClientId)
            return;
        if (type == tablehost::kFrameTableDissolved)
            dissolved = true;
        if (type == tablehost::kFrameSeatLeft && payload.size() >= 2) {
            const WORD seat = WORD(payload[0] | (payload[1] << 8));
            inbox.push_back({{}, nullptr, [this, seat] {
                                 client.OnLeaveGame(seat);
                                 ++phase["a seat leaves the table"];
                             }});
        }
        if (type == tablehost::kFramePlayerBreak || type == tablehost::kFramePlayerBack) {
            std::string name(payload.begin(), payload.end());
            name = name.c_str();
            inbox.push_back({{}, nullptr, [this, type, name]() mutable {
                                 if (type == tablehost::kFramePlayerBreak)
                                     client.OnBreak(name.data());
                                 else
                                     client.OnReConnet(name.data());
                             }});
        }
    }
    void Dismiss(int) override {}
    void Log(const std::string&) override {}

    CGameLogic& Referee() { return table->Driver().Referee(); }
    int Seen() const { return client.m_nMySeat; }

    // What the table asks of a seat: in play the play record's masks, which
    // name only the first seat of the answer order that holds one.
    static int AskedMask(const CGameLogic& referee, int seat) {
        return referee.GetGameState() == kStatePlay ? referee.GetPublishedMask(seat)
                                                    : referee.GetSeatActionMask(seat);
    }

    // The referee now; the round's plays follow the play records.
    std::shared_ptr<Truth> TruthNow(const BYTE* record, int length) {
        auto t = std::make_shared<Truth>(roundTruth);
        CGameLogic& referee = Referee();
        t->state = referee.GetGameState();
        for (int seat = 0; seat < kSeatCount; ++seat) {
            t->mask[seat] = AskedMask(referee, seat);
            t->trusted[seat] = referee.IsSeatTrusted(seat);
            t->out[seat] = referee.IsSeatOut(seat);
            t->watcherSees[seat] = referee.GetWatcherSees(seat);
            t->startFlag[seat] = referee.GetStartFlag(seat);
            // A seat's revolution takes its hand off the table: it sits out
            // the game.
            const tagCARD* hand = referee.GetHand(seat);
            const bool revolted = (referee.GetSeatStatus(seat) & kStatusOut1) != 0;
            for (int i = 0; i < kHandSize && !revolted; ++i)
                if (IsCountingCard(hand[i]) && hand[i].code < kCardCodeCount)
                    t->hand[seat].insert(hand[i].code % 54);
        }
        int kind = 0;
        tagTRIBUTEENTRY owed{};
        if (referee.FindOwedReturn(Seen(), &kind, &owed)) {
            t->returnCount = owed.nCount;
            t->returnKind = kind;
        }
        t->rules = referee.GetRuleFlags();
        for (int seat = 0; seat < kSeatCount; ++seat) {
            t->trustWord[seat] = referee.GetTrustWord(seat);
            t->prePoint[seat] = referee.GetPointAnswer(1, seat) != 0;
            t->nowPoint[seat] = referee.GetPointAnswer(2, seat) != 0;
            t->openedPoint[seat] = referee.GetOpenedPoint(seat) != 0;
            t->revolted[seat] = (referee.GetSeatStatus(seat) & kStatusOut1) != 0;
            t->multiple[seat] = referee.GetTableHead().nMultiple[seat];
        }
        // The places as the referee publishes them (a seat that burned in vain
        // is placed last before the others finish).
        if (LoadRecordInt(record, 0) == kMsgPlaces && length >= int(sizeof(tagPLACESMSG))) {
            tagPLACESMSG places;
            memcpy(&places, record, sizeof places);
            std::copy(std::begin(places.nPlaces), std::end(places.nPlaces), publishedPlaces);
        } else if (t->state != kStatePlay) {
            std::fill(std::begin(publishedPlaces), std::end(publishedPlaces), -1);
        }
        std::copy(std::begin(publishedPlaces), std::end(publishedPlaces), t->places);
        t->gamesPlayed = referee.GetGamesPlayed();
        // The result stands from the game's end until the next deal (or the
        // start again that two revolutions bring).
        const int id = LoadRecordInt(record, 0);
        // Where partners' cards lie open a snapshot draws no point marks.
        if (id == kMsgSnapshot && (t->rules & kRuleCardsLeftNotice))
            pointMarksUnsure = true;
        else if (id == kMsgDeal)
            pointMarksUnsure = false;
        t->pointMarksUnsure = pointMarksUnsure;
        if (id == kMsgGameOver)
            resultDue = true;
        else if (id == kMsgDeal || id == kMsgRevolution || id == kMsgSnapshot)
            resultDue = false;
        t->resultDue = resultDue;
        t->roundOpen = t->state == kStatePlay && !referee.GetPlayList().empty();
        // A snapshot tells the round's last play but not its cards: the
        // table it draws holds none.
        if (!t->roundOpen || LoadRecordInt(record, 0) == kMsgSnapshot) {
            t->lastPlay.clear();
            t->roundMarks.clear();
            t->marksBefore.clear();
            // Its seats' status words say who passed, let the turn go or
            // gave up earlier: their marks may stand for the rest of the round.
            for (int seat = 0; seat < kSeatCount && t->roundOpen; ++seat)
                if (referee.GetSeatStatus(seat) & (kStatusMark1 | kStatusMark2 | kStatusMark8))
                    t->marksBefore.insert(seat);
        } else if (LoadRecordInt(record, 0) == kMsgPlay && length >= int(sizeof(tagPLAYMSG)) - 4) {
            tagPLAYMSG play;
            memcpy(&play, record, std::min<size_t>(length, sizeof play));
            const int seat = play.nSeat;
            if (seat >= 0 && seat < kSeatCount &&
                (play.nType == kActionTakeOut || play.nType == kActionShao)) {
                if (referee.GetPlayList().size() == 1) {
                    t->lastPlay.clear();
                    t->roundMarks.clear();
                    t->marksBefore.clear();
                }
                // The cards the referee says were played: its record's codes
                // (the hands' difference misses a play whose cards left the
                // hand before an earlier record was sent).
                std::multiset<int> played;
                tagPLAYMSG plain = play;
                if (DecipherPlayCodes(plain, referee.m_Cipher,
                                      (referee.GetRuleFlags() & kRuleCardsInClear) != 0))
                    for (int i = 0; i < plain.nCount && i < kPlayMaxCodes; ++i)
                        played.insert(plain.nCodes[i] % 54);
                t->lastPlay[seat] = played;
                t->roundMarks.erase(seat);
            } else if (seat >= 0 && seat < kSeatCount &&
                       (play.nType & (kActionPass | kActionLet | kActionGiveUp))) {
                // A pass, let or give-up keeps its mark for the rest of the
                // round, and the seat's earlier play stays on the table.
                t->roundMarks.insert(seat);
            }
            // The next actor and the seats the turn went past on its way
            // there take their old cards back off the table. The record's
            // masks name the next actor as the window learns it (the
            // referee's own may also hold the seats further down its answer
            // order).
            for (int seat = 0; seat < kSeatCount; ++seat)
                t->askedMask[seat] = play.nActionMask[seat];
            for (int taken :
                 SeatsTakingUpCards(play, referee.GetRuleFlags(), roundTruth.statusSeen, Seen()))
                t->lastPlay.erase(taken);
        }
        // The marks stand at the seats whose last action in the round was a
        // pass, let or give-up, never at a seat asked to act.
        t->passed.clear();
        for (int seat : t->roundMarks)
            if (t->askedMask[seat] == 0)
                t->passed.insert(seat);
        for (int seat = 0; seat < kSeatCount; ++seat)
            lastHands[seat] = t->hand[seat];
        // The status words the window holds once the record is presented.
        if (id == kMsgPlay && length >= int(sizeof(tagPLAYMSG)) - 4)
            for (int seat = 0; seat < kSeatCount; ++seat)
                roundTruth.statusSeen[seat] =
                    LoadRecordInt(record, offsetof(tagPLAYMSG, nSeatStatus) + 4 * size_t(seat));
        else if (id == kMsgSnapshot && length >= int(sizeof(tagSNAPSHOTMSG)))
            for (int seat = 0; seat < kSeatCount; ++seat)
                roundTruth.statusSeen[seat] =
                    LoadRecordInt(record, offsetof(tagSNAPSHOTMSG, nSeatStatus) + 4 * size_t(seat));
        else if (id == kMsgDeal)
            std::fill(std::begin(roundTruth.statusSeen), std::end(roundTruth.statusSeen), 0);
        roundTruth.lastPlay = t->lastPlay;
        roundTruth.roundMarks = t->roundMarks;
        roundTruth.marksBefore = t->marksBefore;
        std::copy(std::begin(t->askedMask), std::end(t->askedMask), roundTruth.askedMask);
        return t;
    }

    // ---- a table, its window and the stepped clock ----
    void OpenTable(const std::string& rules, uint32_t seed, bool watcher, int cardOrder) {
        CloseTable();
        ClearBoard();
        theBoard.ResetGameData();
        theBoard.ClearHistory();
        app.cardOrder = cardOrder;
        client.m_nMySeat = kMe;
        client.m_bWatcher = watcher ? TRUE : FALSE;
        client.m_bOption = FALSE;
        forwarded = client.sent.size();
        inbox.clear();
        roundTruth = Truth{};
        std::fill(std::begin(publishedPlaces), std::end(publishedPlaces), -1);
        resultDue = pointMarksUnsure = false;
        for (auto& h : lastHands)
            h.clear();
        dissolved = false;
        CHostTable::Options options;
        options.rulesText = rules;
        options.seed = seed;
        options.humanSeats = watcher ? 0 : 1;
        // A watcher changes seats by a click on a name line only where the
        // table's rules allow it.
        if (watcher)
            options.extraRuleFlags = kRuleChatWatchTarget;
        // Bots alone would play game after game in one turn. At my table a
        // bot answers one question at a time, once the window has shown all
        // before (PlayTable), as it would wait for a person: otherwise a
        // seat put in trusteeship has its whole game played for it before
        // the person sees the exit button, and the table closes at game over.
        options.maxBotActionsPerTurn = watcher ? 12 : 1;
        table = std::make_unique<CHostTable>(options, *this);
        MakeWindow();
        table->Enter(kClientId, watcher ? "watcher" : "me", watcher ? kSeatCount + kMe : kMe,
                     100000, 0);
    }
    // The table window as the program makes it when it comes to a table.
    void MakeWindow() {
        wnd = new SeenTableWnd;
        wnd->showNotices = true; // as the window shows them
        frames = std::make_unique<FrameChecks>(*wnd, layout);
        if (!pictures)
            pictures = std::make_unique<SeatPictures>(layout);
        wnd->SetLayout(&layout);
        wnd->SetClient(&client);
        wnd->onSeatRequest = [this](int seat, int watch) {
            seatRequests.emplace_back(seat, watch);
        };
        CRect area;
        parent.GetClientRect(&area);
        ASSERT_TRUE(
            wnd->Create(nullptr, "", WS_CHILD | WS_VISIBLE, area, &parent, CGameWnd::kControlId));
        client.SetGameWnd(wnd);
        platform_test::PumpPending();
    }
    void DropWindow() {
        frames.reset();
        if (wnd != nullptr && wnd->m_hWnd != nullptr)
            wnd->DestroyWindow();
        wnd = nullptr;
        client.SetGameWnd(nullptr);
        platform_test::PumpPending();
    }
    void CloseTable() {
        DropWindow();
        table.reset();
    }
    // My connection breaks mid-game; the program starts again, comes back to
    // my seat and is shown the table from the host's snapshot record.
    void Reconnect() {
        table->Dropped(kClientId);
        DropWindow();
        ClearBoard();
        theBoard.ResetGameData();
        theBoard.ClearHistory();
        // What was on its way to the old connection is lost with it.
        inbox.clear();
        forwarded = client.sent.size();
        client.m_nMySeat = kMe;
        client.m_bWatcher = FALSE;
        // The program comes back with the launch record's trusteeship flag:
        // the referee plays the seat until the person takes it back.
        client.m_bOption = TRUE;
        MakeWindow();
        reconnecting = true;
        table->Enter(kClientId, "me", kMe, 100000, 0);
        lastDecision.clear();
    }
    void Idle(int ms) {
        for (int t = 0; t < ms; t += kTickMs)
            StepClock();
    }
    void StepClock() {
        clock.Advance(kTickMs);
        sinceTick += kTickMs;
        // The host's second ticks; the bots wait while the window still has
        // records to show, as they would wait for a person.
        if (sinceTick >= 1000 && inbox.empty()) {
            sinceTick = 0;
            table->Tick();
        }
        platform_test::PumpPending();
        Forward();
    }
    bool Held() { return client.ReceiveGate().IsHeld() != FALSE; }
    // The clean-sweep mark plays: it holds the game's result back.
    bool CleanSweepMarkPlays() { return frames->Playing(kChuanSanHuSprite) != nullptr; }
    // What my window sent goes to the table, as the socket would take it.
    void Forward() {
        while (forwarded < client.sent.size() && table) {
            const std::vector<BYTE> record = client.sent[forwarded++];
            table->GameRecord(kClientId, record.data(), int(record.size()));
        }
        while (!seatRequests.empty() && table) {
            const auto [seat, watch] = seatRequests.front();
            seatRequests.pop_front();
            // The reply reaches the client behind the records already on
            // their way, and before the new seat's snapshot.
            table->ChangeSeat(kClientId, seat, watch != 0, [&](const CHostTable::SeatChange& c) {
                // The table is laid anew for the new seat: the last game's
                // result, seen from the old one, is not shown again.
                if (c.ok)
                    resultDue = false;
                inbox.push_back({{}, nullptr, [this, c] {
                                     client.m_nChangeSeatResult = c.ok ? 1 : 0;
                                     if (c.ok)
                                         client.m_nMySeat = c.seat;
                                     client.m_bWatcher = c.watcher ? TRUE : FALSE;
                                     client.OnChangeSeat();
                                     if (c.ok && c.watcher)
                                         ++phase["a watcher's seat change"];
                                     if (c.ok && !c.watcher)
                                         ++phase["a watcher sits down"];
                                 }});
            });
        }
    }

    // Hands the waiting records over one at a time while receiving is open,
    // each presented to its end; true once the window has caught up.
    bool CatchUp() {
        int waited = 0;
        // The clean-sweep mark holds the result pane back while it plays.
        while (!inbox.empty() || Held() || wnd->CardsMoving() || CleanSweepMarkPlays()) {
            if (waited > kMaxHoldMs + 4000)
                return false;
            if (!Held() && !inbox.empty() && !wnd->CardsMoving()) {
                CheckFrame();
                Inbound next = std::move(inbox.front());
                inbox.pop_front();
                if (next.reply) {
                    next.reply();
                    platform_test::PumpPending();
                    continue;
                }
                lastId = LoadRecordInt(next.record.data(), 0);
                truth = next.truth;
                ++recordsSeen;
                CountPhases(next.record);
                client.OnGameMsg(int(next.record.size()), next.record.data());
                platform_test::PumpPending();
                Forward();
                heldMs = 0;
                waited = 0;
                if (client.m_bWatcher)
                    CheckWatcherFaces(next.record);
                if (onPresented)
                    onPresented(lastId);
                continue;
            }
            StepClock();
            waited += kTickMs;
            if (wnd->CardsMoving())
                WhilePresenting();
            // Cards in flight are looked at once a record, on their way.
            if (wnd->CardsMoving() && flightCheckedAt != recordsSeen &&
                (flightMs += kTickMs) >= 60) {
                flightCheckedAt = recordsSeen;
                flightMs = 0;
                CheckCardsInFlight();
            }
            if (Held() && (heldMs += kTickMs) == kMaxHoldMs)
                Fault(checks[4], "receiving held " + std::to_string(kMaxHoldMs) +
                                     " ms after record " + Hex(lastId));
        }
        return true;
    }

    // ---- the checks ----
    static std::string Hex(int id) {
        char text[16];
        snprintf(text, sizeof text, "0x%X", unsigned(id));
        return text;
    }
    // PELLOR_WITNESS_FAULTS names a file that gets every fault, not only
    // each check's first.
    void Fault(CheckLog& check, const std::string& what) {
        if (check.faults++ == 0)
            check.first = what;
        static FILE* all =
            getenv("PELLOR_WITNESS_FAULTS") ? fopen(getenv("PELLOR_WITNESS_FAULTS"), "w") : nullptr;
        if (all != nullptr)
            fprintf(all, "%s: %s\n", check.name, what.c_str());
    }
    std::string At(int seat) const {
        return "after record " + Hex(lastId) + " (game " + std::to_string(gamesDone + 1) +
               "), seat " + std::to_string(seat) + ": ";
    }
    // The frame the window hands the display, once for each presented record.
    void CheckFrame(bool again = false) {
        if ((frameCheckedAt == recordsSeen && !again) || !frames->Take())
            return;
        frameCheckedAt = recordsSeen;
        ++framesChecked;
        CountFrameFaults(checks[7], frames->CardsVisible());
        CountFrameFaults(checks[8], frames->InsideTable());
        CountFrameFaults(checks[9], frames->TextsApart(DrawnNotices(*wnd)));
        CountFrameFaults(checks[10], frames->ButtonsUncovered());
        // What check 11 finds shown must also be seen: no seat's mark or pane
        // lies under another picture.
        CountFrameFaults(checks[11], frames->SeatPicturesUncovered());
        // The whole frame against its sprites is the costliest: every few
        // records (a stale picture stays until something paints over it).
        if (framesChecked % kWholeFrameEvery == 0)
            CountFrameFaults(checks[12], frames->FrameIsItsSprites(5));
    }
    void CheckCardsInFlight() {
        if (frames->Take())
            CountFrameFaults(checks[7], frames->CardsVisible());
    }
    void CountFrameFaults(CheckLog& check, const std::vector<std::string>& faults) {
        for (const std::string& fault : faults) {
            if (check.faults == 0)
                SaveFirstFault(check);
            Fault(check, At(Seen()) + platform::GbkToUtf8(fault));
        }
    }
    // The frame of a check's first fault, kept for a person to look at.
    void SaveFirstFault(const CheckLog& check) {
        const std::string number(check.name, strcspn(check.name, " "));
        const std::string name = "witness-check-" + number + ".png";
        CreateDirectory(TABLE_TEST_OUTPUT_DIR, nullptr);
        platform::SaveWindowPng(wnd->m_hWnd, std::string(TABLE_TEST_OUTPUT_DIR) + "/" + name);
    }
    void CheckShown() {
        CheckFrame();
        if (!truth || checkedAt == recordsSeen)
            return;
        checkedAt = recordsSeen;
        const Truth& t = *truth;
        const int me = Seen();
        // 1. my drawn hand.
        std::vector<DrawnCard> drawn = wnd->DrawnHand();
        std::multiset<int> faces;
        for (const DrawnCard& c : drawn)
            faces.insert(c.face);
        if (!client.m_bWatcher) {
            if (faces != t.hand[me])
                Fault(checks[0],
                      At(me) + "drawn " + Faces(faces) + ", referee " + Faces(t.hand[me]));
            else if (!InOrder(drawn))
                Fault(checks[0], At(me) + "drawn out of order " + Faces(faces) + " (card order " +
                                     std::to_string(app.cardOrder) + ")");
        } else if (t.watcherSees[me]
                       ? faces != t.hand[me]
                       : lastId == kMsgSnapshot && drawn.size() != t.hand[me].size()) {
            // A blind watcher's backs are counted anew by the snapshot of a
            // seat change (later plays redraw them only near the hand's end).
            Fault(checks[5],
                  At(me) + "watched hand drawn " + Faces(faces) + ", referee " + Faces(t.hand[me]));
        }
        // 2. the table's cards and pass marks.
        std::map<int, std::multiset<int>> onTable = wnd->DrawnTableCards();
        for (int seat = -1; seat < kSeatCount; ++seat) {
            const std::multiset<int> want =
                t.lastPlay.count(seat) ? t.lastPlay.at(seat) : std::multiset<int>{};
            const std::multiset<int> got =
                onTable.count(seat) ? onTable[seat] : std::multiset<int>{};
            if (got != want)
                Fault(checks[1],
                      At(seat) + "table drawn " + Faces(got) + ", referee's round " + Faces(want));
        }
        const std::set<int> marks = wnd->DrawnPassMarks();
        std::set<int> mayShow = t.passed;
        mayShow.insert(t.marksBefore.begin(), t.marksBefore.end());
        if (!std::includes(marks.begin(), marks.end(), t.passed.begin(), t.passed.end()) ||
            !std::includes(mayShow.begin(), mayShow.end(), marks.begin(), marks.end()))
            Fault(checks[1],
                  At(-1) + "pass marks at seats " + Ids(marks) + ", passed " + Ids(t.passed));
        // 3. the clock. It stands only at my seat on my turn, and not when the
        // referee acts for me in trusteeship; another seat to act is shown
        // by the waiting mark instead.
        const int clockSeat = wnd->DrawnClockSeat();
        if (t.state == kStatePlay) {
            const bool myTurn = !client.m_bWatcher &&
                                (t.mask[me] & (kActionTakeOut | kActionShao)) && !t.trusted[me] &&
                                !t.out[me];
            const int want = myTurn ? me : -1;
            if (clockSeat != want)
                Fault(checks[2], At(me) + "clock drawn at seat " + std::to_string(clockSeat) +
                                     ", expected at " + std::to_string(want) + " (my mask " +
                                     std::to_string(t.mask[me]) + ")");
        } else {
            bool anyActs = false;
            for (int seat = 0; seat < kSeatCount; ++seat)
                anyActs = anyActs || (t.mask[seat] != 0 && !t.out[seat]);
            if (!anyActs && clockSeat != -1)
                Fault(checks[2], At(clockSeat) + "clock drawn while no seat acts");
        }
        // 4. my buttons.
        if (!client.m_bWatcher)
            CheckButtons(t, me, drawn);
        CheckPanesAndMarks(t, me);
    }
    // 11. What each seat's panes and marks say, as the referee has it, drawn
    // as the theme's pictures show it; the clocks of the questions put to me.
    void CheckPanesAndMarks(const Truth& t, int me) {
        if (!frames->Take())
            return;
        CheckLog& check = checks[11];
        const bool inGame = t.state != kStateWaitStart;
        auto expect = [&](int seat, int id, const Ink* picture, const std::string& what) {
            SPRITEINFO* s = frames->Playing(id);
            if (picture == nullptr) {
                if (s != nullptr)
                    Fault(check, At(seat) + platform::GbkToUtf8(
                                                what + " shown (" +
                                                frames->Name(PaintedEntry{nullptr, s}) + ")"));
                return;
            }
            const std::string fault = s == nullptr
                                          ? what + " missing (sprite " + std::to_string(id) + ")"
                                          : frames->ShowsAs(s, *picture, what);
            if (!fault.empty())
                Fault(check, At(seat) + platform::GbkToUtf8(fault));
        };
        for (int seat = 0; seat < kSeatCount && inGame; ++seat) {
            const int view = wnd->Viewpoint().ViewOf(seat);
            const bool right = view == 4 || view == 5;
            // The cards left, from ten down, once the seat has played there.
            const int left = int(t.hand[seat].size());
            if (t.state == kStatePlay && !(t.rules & kRuleThrees))
                expect(seat, kRemnantPaneSprite + view,
                       left >= 1 && left <= 10 ? &pictures->Remnant(left) : nullptr,
                       "the remnant pane of " + std::to_string(left) + " cards");
            // x1, x2, x4, x8, x16 are the pane's five cells.
            const int m = t.multiple[seat];
            const int level =
                m > 0 && m <= 16 && (m & (m - 1)) == 0 ? std::countr_zero(unsigned(m)) + 1 : 0;
            if (!(t.rules & kRuleRoomMode) && level > 0)
                expect(seat, kMultiplePaneSprite + view, &pictures->Multiple(level),
                       "the multiple pane of x" + std::to_string(t.multiple[seat]));
            // A mark is its [FLAG] picture where the referee's words say so.
            auto mark = [&](int sprite, bool shown, int flag, const std::string& what) {
                expect(seat, sprite + view, shown ? &pictures->Flag(flag) : nullptr, what);
            };
            mark(kTrustMark, t.trustWord[seat] == kTrustOwn, CGameLayout::FLAG_TRUST,
                 "the trust mark");
            mark(kTrustExitMark, t.trustWord[seat] == kTrustExit, CGameLayout::FLAG_TRUSTEXIT,
                 "the trust-exit mark");
            mark(kBreakMark, t.trustWord[seat] == kTrustBroken, CGameLayout::FLAG_BREAK,
                 "the broken-link mark");
            if (!t.pointMarksUnsure) {
                mark(kPrePointMark, t.prePoint[seat], CGameLayout::FLAG_PREPOINT,
                     "the pre-point mark");
                mark(kNowPointMark, t.nowPoint[seat], CGameLayout::FLAG_NOWPOINT, "the point mark");
                mark(kOpenPointMark, t.openedPoint[seat], CGameLayout::FLAG_OPENPOINT,
                     "the opened-point mark");
            }
            mark(kRevolutionMark, t.revolted[seat], CGameLayout::FLAG_REVOLUTION,
                 "the revolution mark");
            if (t.state == kStatePlay) {
                const auto place = std::find(std::begin(t.places), std::end(t.places), seat);
                const int index = int(place - std::begin(t.places));
                mark(kPlaceMark, place != std::end(t.places),
                     (right ? CGameLayout::FLAG_ONEO : CGameLayout::FLAG_ONE) + index,
                     "the place mark " + std::to_string(index + 1));
            }
        }
        // The result of the last game stands until I start again.
        const bool resultUp = !client.m_bWatcher && t.state == kStateWaitStart && t.resultDue &&
                              t.startFlag[me] == 0 && !CleanSweepMarkPlays();
        if (resultUp != (frames->Playing(kResultPaneSprite) != nullptr) &&
            (resultUp || t.state >= kStatePointRound1))
            Fault(check, At(me) + (resultUp ? "the result pane missing" : "the result pane shown") +
                             " in state " + std::to_string(t.state));
        // The reel shows while its button says so.
        const bool reelOpen = wnd->ShownButtons().count(kCmdReelOpen) != 0;
        if (reelOpen != (frames->Playing(kReelPaneSprite) != nullptr))
            Fault(check, At(me) + "the reel pane " + (reelOpen ? "missing" : "shown") +
                             " with its button " + (reelOpen ? "open" : "closed"));
        // While my return is owed the prompt that says so stays up.
        if (!client.m_bWatcher && t.state == kStateTribute && t.returnCount > 0 &&
            t.returnKind < 4 && !t.trusted[me] && !PromptUp("请您还给"))
            Fault(check, At(me) + "the prompt to return tribute gone while the return is owed");
        // A question put to me runs its clock at my plate.
        const bool asked = !client.m_bWatcher && t.mask[me] != 0 && !t.trusted[me] && !t.out[me];
        const bool questionClock =
            asked && (t.state == kStatePointRound1 || t.state == kStatePointRound2 ||
                      t.state == kStateRevolution || t.state == kStateGousiji ||
                      (t.state == kStateTribute && t.returnCount > 0 && t.returnKind < 4));
        if (questionClock && wnd->DrawnClockSeat() != me)
            Fault(check, At(me) + "no clock at my plate for the question of state " +
                             std::to_string(t.state) + " (clock at seat " +
                             std::to_string(wnd->DrawnClockSeat()) + ")");
    }
    // Whether a notice or my question's line that begins with the words is up.
    bool PromptUp(const std::string& words) {
        if (frames->Playing(kQuestionLineSprite) != nullptr &&
            wnd->questionText.compare(0, words.size(), words) == 0)
            return true;
        for (const auto& [id, text] : DrawnNotices(*wnd))
            if (text.compare(0, words.size(), words) == 0)
                return true;
        return false;
    }
    bool InOrder(const std::vector<DrawnCard>& drawn) const {
        std::vector<tagHANDENTRY> weighed;
        for (const DrawnCard& c : drawn)
            weighed.push_back(tagHANDENTRY{c.face, -1, 0});
        if (app.cardOrder != 0) {
            const bool threesLast = (theBoard.GetRuleFlags() & kRuleThrees) != 0;
            for (tagHANDENTRY& e : weighed) {
                const int rank = Rank(e.nCard);
                e.nWeight = rank == kRankBigJoker     ? 19
                            : rank == kRankSmallJoker ? 18
                            : rank == kRankTwo        ? 17
                            : threesLast && rank == kRankThree
                                ? 0
                                : int(std::count_if(drawn.begin(), drawn.end(),
                                                    [&](auto& d) { return Rank(d.face) == rank; }));
            }
        }
        for (size_t i = 1; i < weighed.size(); ++i) {
            const int order = app.cardOrder != 0
                                  ? CompareCardWeight(weighed[i - 1], weighed[i])
                                  : CompareCard(weighed[i - 1].nCard, weighed[i].nCard);
            if (order > 0)
                return false;
        }
        return true;
    }
    // The buttons my mask allows, shown and enabled, and none other.
    void CheckButtons(const Truth& t, int me, const std::vector<DrawnCard>& drawn) {
        const int mask = t.mask[me];
        const bool raised = !Raised(drawn).empty();
        std::set<int> want;
        const bool acting = mask != 0 && !t.trusted[me] && !t.out[me];
        if (acting && t.state == kStatePlay) {
            want.insert(kCmdSearch);
            if (mask & kActionPass)
                want.insert(kCmdPass);
            if (mask & kActionLet)
                want.insert(kCmdRangpai);
            if (mask & kActionGiveUp)
                want.insert(kCmdGaveUp);
            if ((mask & kActionTakeOut) && raised)
                want.insert(kCmdTakeOut);
            if ((mask & kActionShao) && raised)
                want.insert(kCmdShaoPai);
        }
        if (acting && t.state == kStatePointRound1)
            want.insert({kCmdDeclPoint, kCmdDeclNoPoint});
        if (acting && t.state == kStatePointRound2)
            want.insert({kCmdDeclPointOpen, kCmdDeclNoPoint});
        // The return is sent once the owed number of cards stands raised.
        if (acting && t.state == kStateTribute && (mask & kActionReturnTribute) &&
            t.returnCount > 0 && int(Raised(drawn).size()) == t.returnCount)
            want.insert(kCmdReturnTribute);
        if (acting && t.state == kStateRevolution)
            want.insert({kCmdRevolution, kCmdNoRevolution});
        if (acting && t.state == kStateGousiji)
            want.insert({kCmdGousiji, kCmdNoGousiji});
        // Buying a three and paying tribute have no button: no record asks
        // the client, and the referee trades when its wait runs out.
        // Trusteeship is asked for during a game (the button does nothing before).
        const bool inGame = t.state != kStateWaitStart;
        // A finished seat may still leave trusteeship, but not enter it.
        if (inGame && t.trusted[me])
            want.insert(kCmdTrustExit);
        else if (inGame && !t.out[me])
            want.insert(kCmdTrust);
        std::set<int> got;
        bool startShown = false;
        for (const auto& [id, rect] : wnd->ShownEnabledButtons()) {
            if (id == kCmdStart || id == kCmdRStart || (id >= kCmdChipFirst && id <= kCmdChipLast))
                startShown = true;
            else if (id >= kCmdTrust && id <= kCmdDeclPointOpen && id != kCmdHistory &&
                     id != kCmdPrevturn && id != kCmdSound && id != kCmdExchange &&
                     id != kCmdReel && id != kCmdReelOpen && id != kCmdMagnif &&
                     id != kCmdMagnifOpen && id != kCmdTakeChance && id != kCmdLeftCue &&
                     id != kCmdRightCue && (inGame || (id != kCmdTrust && id != kCmdTrustExit)))
                got.insert(id);
        }
        if (got != want)
            Fault(checks[3], At(me) + "state " + std::to_string(t.state) + " mask " +
                                 std::to_string(mask) + (t.trusted[me] ? " trusted" : "") +
                                 ": shown and enabled " + Ids(got) + ", mask allows " + Ids(want));
        const bool mayStart = t.state == kStateWaitStart && t.startFlag[me] == 0;
        if (startShown != mayStart)
            Fault(checks[3], At(me) + "a start button " + (startShown ? "shown" : "missing") +
                                 " in state " + std::to_string(t.state) + ", start flag " +
                                 std::to_string(t.startFlag[me]));
        if (acting && t.state == kStateTribute && (mask & kActionReturnTribute) &&
            !wnd->ShownButtons().count(kCmdReturnTribute))
            Fault(checks[3], At(me) + "a return is owed but the return button is not shown");
    }
    // Whether the record moves cards between two seats other than the
    // watched one: a tribute, its return or a bought three.
    static bool TransferBetweenOthers(const std::vector<BYTE>& bytes, int seat) {
        auto read = [&](auto& record) {
            memcpy(&record, bytes.data(), std::min(bytes.size(), sizeof record));
        };
        int a = seat, b = seat;
        switch (bytes.size() >= 4 ? LoadRecordInt(bytes.data(), 0) : 0) {
        case kMsgTribute: {
            tagTRIBUTEMSG m{};
            read(m);
            a = m.nGiver, b = m.nReceiver;
            break;
        }
        case kMsgReturnTribute: {
            tagRETURNTRIBUTEMSG m{};
            read(m);
            a = m.nReturner, b = m.nReceiver;
            break;
        }
        case kMsgBuy3: {
            tagBUY3MSG m{};
            read(m);
            a = m.nSeller, b = m.nBuyer;
            break;
        }
        default:
            break;
        }
        return a != seat && b != seat;
    }
    void CheckWatcherFaces(const std::vector<BYTE>& record) {
        if (!truth)
            return;
        const int seat = Seen();
        // Cards flying between two other seats carry my hand's sprite name
        // but are no part of the watched hand: their faces are the record's,
        // told to every client, and they fly face up at every table.
        const bool othersFly = TransferBetweenOthers(record, seat);
        std::set<LONG> flying;
        for (SPRITEINFO* s : wnd->PlayingSprites())
            if (othersFly && s->nInterval != -1 && wnd->FaceOf(s) >= 0)
                flying.insert(wnd->RectOf(s).left);
        for (const DrawnCard& c : wnd->DrawnHand())
            if (c.face >= 0 && !truth->watcherSees[seat] && !flying.count(c.rect.left)) {
                Fault(checks[5], At(seat) + "the watcher sees face " + std::to_string(c.face) +
                                     " of a hand it may not see");
                return;
            }
    }

    // ---- the person ----
    // The cards drawn above my hand's base line (where the layout lays a
    // card that is down), which holds when every card is raised.
    std::vector<DrawnCard> Raised(const std::vector<DrawnCard>& drawn) const {
        CSpritePos line;
        line.Set(0, wnd->Hands().HandBaseY(), 7);
        int base = ResolvePos(line).y;
        for (const DrawnCard& c : drawn)
            base = std::max(base, int(c.rect.top));
        std::vector<DrawnCard> up;
        for (const DrawnCard& c : drawn)
            if (c.rect.top <= base - CCardLayout::kHandRaise / 2)
                up.push_back(c);
        return up;
    }
    void Mouse(platform::MouseAction action, POINT at) {
        wnd->ClientToScreen(&at);
        platform::InjectMouse(action, at);
        platform_test::PumpPending();
    }
    // A click as a quick hand gives it: a press and a release, then a short
    // pause before the next. The mouse moves only when it goes somewhere
    // else: two clicks at one place send no move between (an X server sends
    // none).
    void Click(POINT at, bool right = false) {
        if (at.x != lastMouse.x || at.y != lastMouse.y)
            Mouse(platform::MouseAction::Move, at);
        lastMouse = at;
        Mouse(right ? platform::MouseAction::RightDown : platform::MouseAction::LeftDown, at);
        Mouse(right ? platform::MouseAction::RightUp : platform::MouseAction::LeftUp, at);
        Idle(150);
    }
    // The sprites drawn over a point, which take a click there.
    std::string SpritesOver(POINT at) {
        std::string over;
        for (SPRITEINFO* sprite : wnd->PlayingSprites())
            if (wnd->RectOf(sprite).PtInRect(at))
                over += " " + std::to_string(sprite->nId);
        return over.empty() ? "" : "; sprites over it:" + over;
    }
    // Clicks the button when it is shown and enabled; false when it is not.
    // A click that sends nothing must have shown the refusal's notice.
    bool Press(int id, const char* refusal = nullptr) {
        const std::map<int, CRect> buttons = wnd->ShownEnabledButtons();
        auto found = buttons.find(id);
        if (found == buttons.end())
            return false;
        const size_t sentBefore = client.sent.size();
        Click(found->second.CenterPoint());
        // Every button a person may press here answers the table, but the
        // hint, which only picks cards.
        const bool refused =
            refusal != nullptr && !wnd->notices.empty() && wnd->notices.back() == refusal;
        if (id != kCmdSearch && client.sent.size() == sentBefore && !refused)
            Fault(checks[6], At(Seen()) + "a click on shown, enabled button " + std::to_string(id) +
                                 " sent nothing" + SpritesOver(found->second.CenterPoint()));
        return true;
    }
    // Raises the cards of these codes by clicking the drawn cards that stand
    // wrong, one at a time (a click may raise a card's whole rank), until
    // exactly those stand raised; every click must turn its own card.
    bool PickCards(const std::vector<int>& codes) {
        std::multiset<int> wanted;
        for (int code : codes)
            wanted.insert(code % 54);
        // A person picks only cards the window draws (a hand drawn wrong is
        // check 1's fault, counted there).
        std::multiset<int> shown;
        for (const DrawnCard& c : wnd->DrawnHand())
            shown.insert(c.face);
        if (!std::includes(shown.begin(), shown.end(), wanted.begin(), wanted.end()))
            return false;
        for (int clicks = 0; clicks < 2 * kHandSize; ++clicks) {
            const std::vector<DrawnCard> drawn = wnd->DrawnHand();
            const std::vector<DrawnCard> up = Raised(drawn);
            std::multiset<int> keep = wanted; // wanted cards not yet seen raised
            const DrawnCard* wrong = nullptr;
            for (const DrawnCard& c : up) {
                auto at = keep.find(c.face);
                if (at != keep.end())
                    keep.erase(at);
                else if (wrong == nullptr)
                    wrong = &c;
            }
            for (const DrawnCard& c : drawn) {
                if (wrong != nullptr)
                    break;
                const bool isUp = std::any_of(up.begin(), up.end(), [&](const DrawnCard& r) {
                    return r.rect.left == c.rect.left;
                });
                if (!isUp && keep.count(c.face))
                    wrong = &c;
            }
            if (wrong == nullptr)
                return true;
            const DrawnCard target = *wrong;
            auto lefts = [](const std::vector<DrawnCard>& cards) {
                std::set<long> at;
                for (const DrawnCard& c : cards)
                    at.insert(c.rect.left);
                return at;
            };
            const std::set<long> before = lefts(up);
            const bool wasUp = before.count(target.rect.left) != 0;
            Click(POINT{target.rect.left + 5, target.rect.top + 12});
            // A click may raise a card's whole rank, or refuse a rank that
            // cannot answer the play; a raised card always goes down.
            const std::set<long> after = lefts(Raised(wnd->DrawnHand()));
            if (wasUp && after.count(target.rect.left))
                Fault(checks[6], At(Seen()) + "a click on raised card " +
                                     std::to_string(target.face) + " left it raised");
            if (after == before)
                return false;
        }
        return false;
    }
    // A play that beats the round's last, as the rule book's search finds it.
    std::vector<int> ChoosePlay(int mask) {
        CGameLogic& referee = Referee();
        CGameLogic scratch;
        scratch.SetRuleFlags(referee.GetRuleFlags());
        scratch.SetHand(kMe, referee.GetHand(kMe), kHandSize);
        scratch.SetSeatStatus(kMe, referee.GetSeatStatus(kMe), 0);
        const bool leads = (mask & kActionPass) == 0 || referee.GetPlayList().empty();
        const CardType toBeat = leads ? 0 : referee.GetPlayList().back().type;
        if (!leads)
            scratch.AddPlay(referee.GetPlayList().back().nSeat, toBeat);
        std::vector<CardType> candidates;
        scratch.Search(toBeat, kMe, candidates);
        for (CardType candidate : candidates) {
            int codes[kHandSize];
            const int n = scratch.PickCardsForType(kMe, candidate, codes, kHandSize);
            if (n > 0 && referee.CheckTakeOut(kMe, codes, n) == 1)
                return std::vector<int>(codes, codes + n);
        }
        // A lead the search missed: the first single card the rules take.
        const tagCARD* hand = referee.GetHand(kMe);
        for (int i = 0; i < kHandSize && leads; ++i) {
            const int code = hand[i].code;
            if (IsCountingCard(hand[i]) && referee.CheckTakeOut(kMe, &code, 1) == 1)
                return {code};
        }
        return {};
    }
    // ---- what a person does besides answering the table ----
    // Starts with an enabled chip other than the multiple chosen now, the
    // chip drawn down.
    bool PressChip() {
        for (const auto& [id, rect] : wnd->ShownEnabledButtons()) {
            const auto* chip = dynamic_cast<const CSpriteButton*>(wnd->FindItem(id));
            if (id >= kCmdChipFirst && id <= kCmdChipLast && chip != nullptr &&
                chip->GetState() != kButtonDown && Press(id)) {
                ++phase["a chip pressed to start"];
                return true;
            }
        }
        return false;
    }
    // Clicks a shown, enabled button that opens or closes something of the
    // table; false when it is not there.
    bool PressToOpen(int id) {
        const std::map<int, CRect> buttons = wnd->ShownEnabledButtons();
        auto found = buttons.find(id);
        if (found == buttons.end())
            return false;
        Click(found->second.CenterPoint());
        return true;
    }
    // Once a game, while the table asks something of me, the person looks
    // at the reel, the last cards or the score history (opens it, looks,
    // closes it: the checks see it open), cues a partner whose cards lie
    // open, and after a reconnect opens the betting and the exchange.
    void LookAround(int state, int mask) {
        const int game = Referee().GetGamesPlayed();
        if (state == kStatePlay && lookedGame != game && mask != 0) {
            lookedGame = game;
            switch (looks++ % 3) {
            case 0:
                if (PressToOpen(kCmdReel)) {
                    LookAtPane(kReelPaneSprite, "the reel pane opened");
                    PressToOpen(kCmdReelOpen);
                }
                break;
            case 1:
                if (PressToOpen(kCmdPrevturn)) {
                    LookAtPane(kLastCardPaneSprite, "the last cards pane opened");
                    PressToOpen(kCmdPrevturn);
                }
                break;
            default: {
                const BOOL before = app.historyShown;
                if (PressToOpen(kCmdHistory)) {
                    if (app.historyShown != before)
                        ++phase["the score history opened"];
                    PressToOpen(kCmdHistory);
                }
                break;
            }
            }
        }
        // One cue a game: a refused one is not tried again.
        if (state == kStatePlay && cuedGame != game && CueButtonShown()) {
            cuedGame = game;
            Cue();
        }
        if (afterReconnect && state != kStateWaitStart) {
            afterReconnect = false;
            const BOOL betting = app.bettingShown;
            if (PressToOpen(kCmdTakeChance) && app.bettingShown != betting) {
                ++phase["the betting opened"];
                PressToOpen(kCmdTakeChance);
            }
            const int exchanges = app.exchanges;
            if (PressToOpen(kCmdExchange) && app.exchanges != exchanges)
                ++phase["the exchange opened"];
        }
    }
    // The pane a button opened shows; the frame with it is checked.
    void LookAtPane(int sprite, const char* name) {
        if (frames->Take() && frames->Playing(sprite) != nullptr)
            ++phase[name];
        else
            Fault(checks[11], At(kMe) + "no pane " + std::to_string(sprite) + " after its button");
        CheckFrame(true);
    }
    bool CueButtonShown() {
        const std::set<int> shown = wnd->ShownButtons();
        return shown.count(kCmdLeftCue) || shown.count(kCmdRightCue);
    }
    // A card of a partner's open hand picked and cued to him.
    bool Cue() {
        const std::set<int> shown = wnd->ShownButtons();
        for (const auto& [button, name] :
             {std::pair{kCmdLeftCue, kLeftShownName}, std::pair{kCmdRightCue, kRightShownName}}) {
            if (!shown.count(button))
                continue;
            for (SPRITEINFO* sprite : wnd->PlayingSprites())
                if (strcmp(sprite->szName, name) == 0) {
                    const CRect r = wnd->RectOf(sprite);
                    Click(POINT{r.left + 3, r.top + 8});
                    break;
                }
            // The cue button may be pressed now: the frame shows it so.
            CheckFrame(true);
            // A cue the partner could not play is refused with a notice.
            const size_t sentBefore = client.sent.size();
            if (Press(button, "您提示错误！") && client.sent.size() != sentBefore) {
                ++phase["a cue to a partner"];
                return true;
            }
        }
        return false;
    }
    // Presses the hint: what it raises is a play the rules take. True when
    // it answered the table itself (a pass where nothing beats the play).
    bool AskForHint(int mask) {
        const size_t sentBefore = client.sent.size();
        if (!Press(kCmdSearch))
            return false;
        ++phase["the hint (Search)"];
        if (client.sent.size() != sentBefore)
            return true;
        std::vector<int> codes;
        std::multiset<int> used;
        const tagCARD* hand = Referee().GetHand(kMe);
        for (const DrawnCard& c : Raised(wnd->DrawnHand()))
            for (int i = 0; i < kHandSize; ++i)
                if (IsCountingCard(hand[i]) && hand[i].code % 54 == c.face &&
                    !used.count(hand[i].code)) {
                    used.insert(hand[i].code);
                    codes.push_back(hand[i].code);
                    break;
                }
        if ((mask & kActionTakeOut) &&
            (codes.empty() || Referee().CheckTakeOut(kMe, codes.data(), int(codes.size())) != 1))
            Fault(checks[6], At(kMe) + "the hint raised " + std::to_string(codes.size()) +
                                 " cards the rules do not take");
        return false;
    }
    // A press on my first card, the mouse over the next three, a release:
    // the cards swept turn.
    void DragOverHand() {
        const std::vector<DrawnCard> drawn = wnd->DrawnHand();
        if (drawn.size() < 5)
            return;
        auto raised = [&] {
            std::set<long> at;
            for (const DrawnCard& c : Raised(wnd->DrawnHand()))
                at.insert(c.rect.left);
            return at;
        };
        const std::set<long> before = raised();
        const POINT from{drawn[0].rect.left + 4, drawn[0].rect.bottom - 20};
        Mouse(platform::MouseAction::Move, from);
        Mouse(platform::MouseAction::LeftDown, from);
        for (int k = 1; k <= 3; ++k)
            Mouse(platform::MouseAction::Move,
                  POINT{drawn[size_t(k)].rect.left + 4, drawn[size_t(k)].rect.bottom - 20});
        Mouse(platform::MouseAction::LeftUp,
              POINT{drawn[3].rect.left + 4, drawn[3].rect.bottom - 20});
        lastMouse = POINT{drawn[3].rect.left + 4, drawn[3].rect.bottom - 20};
        Idle(150);
        if (raised() == before)
            Fault(checks[6], At(kMe) + "a drag over four cards of my hand turned none");
        else
            ++phase["a drag over my hand"];
    }
    // While cards fly or the deal runs the person's hand is not still: a
    // click on a card of the hand now and then, and once a table a drag of
    // the window's edge.
    void WhilePresenting() {
        if (client.m_bWatcher || presentedAt == recordsSeen)
            return;
        presentedAt = recordsSeen;
        std::uniform_int_distribution<int> percent(0, 99);
        if (!resizedInFlight && gamesAtTable == 2) {
            resizedInFlight = true;
            ResizeNow();
            ++phase["a window resize while cards fly"];
            return;
        }
        const std::vector<DrawnCard> hand = wnd->DrawnHand();
        if (hand.empty() || percent(rng) >= 8)
            return;
        const DrawnCard& card = hand[size_t(percent(rng)) % hand.size()];
        const POINT at{card.rect.left + 4, card.rect.top + 12};
        Mouse(platform::MouseAction::Move, at);
        Mouse(platform::MouseAction::LeftDown, at);
        Mouse(platform::MouseAction::LeftUp, at);
        lastMouse = at;
        // The deal runs while the deck's last back, the last to go, lies there.
        ++phase[frames->Playing(kDeckSpriteBase) != nullptr ? "a click on my hand during the deal"
                                                            : "a click on my hand while cards fly"];
    }

    // One decision for each new question the table puts to my seat.
    void Act() {
        CGameLogic& referee = Referee();
        const int state = referee.GetGameState();
        const int mask = AskedMask(referee, kMe);
        const bool trusted = referee.IsSeatTrusted(kMe);
        const std::vector<int> now = {referee.GetActionSerial(),
                                      state,
                                      mask,
                                      trusted,
                                      referee.GetGamesPlayed(),
                                      referee.GetStartFlag(kMe),
                                      referee.GetReturnsOwed(kMe)};
        // A question still open two seconds after the person answered it
        // (a click that found its button not yet shown) is answered again.
        if (now == lastDecision && (letClockRun || ++sameQuestionLoops < 10))
            return;
        sameQuestionLoops = 0;
        lastDecision = now;
        if (trusted) {
            // Past three switches in a game the exit says why it stays.
            char limit[256] = {};
            AfxLoadString(IDS_TRUST_LIMIT, limit, sizeof limit);
            if (Press(kCmdTrustExit, limit))
                exitPressed = true;
            return;
        }
        std::uniform_int_distribution<int> percent(0, 99);
        if (state == kStateWaitStart) {
            // Now and then the person starts with a chip of another multiple.
            if (referee.GetStartFlag(kMe) == 0 && percent(rng) < 30 && PressChip())
                return;
            if (referee.GetStartFlag(kMe) == 0 && !Press(kCmdStart) && !Press(kCmdRStart))
                for (int id = kCmdChipFirst; id <= kCmdChipLast && !Press(id); ++id) {
                }
            return;
        }
        LookAround(state, mask);
        if (mask == 0 || referee.IsSeatOut(kMe))
            return;
        const int roll = percent(rng);
        // Once a game, early while the hand is still long (so the game does
        // not end in trusteeship and close the table), the person looks away
        // or hands the seat to the table; the exit button brings it back.
        const bool mayLeave =
            state == kStatePlay && handsOver && trustGame != referee.GetGamesPlayed() &&
            std::count_if(referee.GetHand(kMe), referee.GetHand(kMe) + kHandSize,
                          [](const tagCARD& c) { return IsCountingCard(c); }) >= 20;
        if (mayLeave && roll < 4) {
            trustGame = referee.GetGamesPlayed();
            letClockRun = true; // a person looks away
            return;
        }
        if (mayLeave && roll < 8 && Press(kCmdTrust)) {
            trustGame = referee.GetGamesPlayed();
            trustPressed = true;
            return;
        }
        switch (state) {
        case kStatePointRound1:
            Press(roll < 50 ? kCmdDeclPoint : kCmdDeclNoPoint);
            break;
        case kStatePointRound2:
            Press(roll < 50 ? kCmdDeclPointOpen : kCmdDeclNoPoint);
            break;
        case kStateRevolution:
            Press(roll < 40 ? kCmdRevolution : kCmdNoRevolution);
            break;
        case kStateGousiji:
            Press(roll < 40 ? kCmdGousiji : kCmdNoGousiji);
            break;
        case kStateBuyThree:
            break; // the referee trades the three when its wait runs out
        case kStateTribute: {
            int kind = 0;
            tagTRIBUTEENTRY entry{};
            if (!(mask & kActionReturnTribute) || !referee.FindOwedReturn(kMe, &kind, &entry))
                break;
            int codes[kHandSize];
            const int n = referee.ChooseReturnCards(kMe, entry.nGiver, entry.nCount, codes);
            if (n <= 0 || !PickCards(std::vector<int>(codes, codes + n)))
                break;
            returnsOwed = referee.GetReturnsOwed(kMe);
            // The right click returns as the button does.
            if (roll < 30 && !wnd->DrawnHand().empty())
                Click(wnd->DrawnHand().front().rect.CenterPoint(), true);
            else
                Press(kCmdReturnTribute);
            break;
        }
        case kStatePlay: {
            if ((mask & kActionTakeOut) && roll >= 90 && roll < 95)
                DragOverHand();
            if ((mask & kActionTakeOut) && roll >= 95 && AskForHint(mask))
                break;
            const std::vector<int> play = ChoosePlay(mask);
            if (!play.empty() && (mask & (kActionTakeOut | kActionShao)) && PickCards(play)) {
                if (mask & kActionTakeOut) {
                    if (roll < 20 && !wnd->DrawnHand().empty())
                        Click(wnd->DrawnHand().front().rect.CenterPoint(), true);
                    else
                        Press(kCmdTakeOut);
                } else if (Press(kCmdShaoPai)) {
                    ++phase["shao by my hand"];
                }
                break;
            }
            if (Press(kCmdPass) || Press(kCmdRangpai) || Press(kCmdGaveUp))
                break;
            // A lead the chosen play could not be picked for: a person
            // leads one card the window draws, rather than let the clock
            // run out and the table take the seat over.
            for (const DrawnCard& c : wnd->DrawnHand()) {
                const tagCARD* hand = referee.GetHand(kMe);
                const tagCARD* card = std::find_if(hand, hand + kHandSize, [&](const tagCARD& h) {
                    return IsCountingCard(h) && h.code % 54 == c.face;
                });
                const int code = card == hand + kHandSize ? -1 : card->code;
                if (code >= 0 && referee.CheckTakeOut(kMe, &code, 1) == 1 && PickCards({code}) &&
                    Press(kCmdTakeOut))
                    return;
            }
            // Nothing drawn matches the hand (check 1 counts that): the
            // person plays the first card the window draws.
            if (!wnd->DrawnHand().empty() && Raised(wnd->DrawnHand()).empty()) {
                const DrawnCard first = wnd->DrawnHand().front();
                Click(POINT{first.rect.left + 5, first.rect.top + 12});
                Press(kCmdTakeOut);
            }
            break;
        }
        default:
            break;
        }
    }
    // A person drags the window's edge across 1000 px and back.
    void Resize() {
        ResizeNow();
        ++phase["a window resize across 1000 px mid-game"];
        Idle(300);
    }
    void ResizeNow() {
        const int width = narrow ? 1024 : 960;
        parent.MoveWindow(0, 0, width, width * 3 / 4, TRUE);
        wnd->MoveWindow(0, 0, width, width * 3 / 4, TRUE);
        narrow = !narrow;
    }

    void CountPhases(const std::vector<BYTE>& bytes) {
        const int id = LoadRecordInt(bytes.data(), 0);
        const int me = Seen();
        auto read = [&](auto& record) {
            memcpy(&record, bytes.data(), std::min(bytes.size(), sizeof record));
        };
        if (id == kMsgBuy3 && !client.m_bWatcher) {
            tagBUY3MSG m{};
            read(m);
            if (m.nSeller == me)
                ++phase["buy-3 with my seat as seller"];
            if (m.nBuyer == me)
                ++phase["buy-3 with my seat as buyer"];
        } else if (id == kMsgTribute && !client.m_bWatcher) {
            tagTRIBUTEMSG m{};
            read(m);
            if (m.nReceiver == me || m.nGiver == me)
                ++phase["tribute to or from my seat"];
        } else if (id == kMsgReturnTribute && !client.m_bWatcher) {
            tagRETURNTRIBUTEMSG m{};
            read(m);
            if (m.nReturner == me && returnsOwed > 0)
                ++phase["tribute returned by hand"];
            returnsOwed = 0;
        } else if (id == kMsgPlay) {
            tagPLAYMSG m{};
            read(m);
            if (m.nType == kActionShao)
                ++phase["shao"];
        } else if (id == kMsgRevolution) {
            tagREVOLUTIONMSG m{};
            read(m);
            if (m.bAnswer && m.bYes)
                ++phase["revolution"];
        } else if (id == kMsgPoint) {
            tagPOINTMSG m{};
            read(m);
            if (m.bAnswer && m.bYes && m.nKind == 2)
                ++phase["opened points"];
        } else if (id == kMsgTrust && !client.m_bWatcher) {
            tagTRUSTMSG m{};
            read(m);
            if (m.nSeat == me && m.bOn && letClockRun)
                ++phase["trusteeship on by the clock"];
            if (m.nSeat == me && m.bOn && trustPressed)
                ++phase["trusteeship on by its button"];
            if (m.nSeat == me && !m.bOn && exitPressed)
                ++phase["trusteeship off by the exit button"];
            letClockRun = trustPressed = exitPressed = false;
        } else if (id == kMsgSnapshot && reconnecting) {
            ++phase["a reconnect from the snapshot"];
            reconnecting = false;
            afterReconnect = true;
        } else if (id == kMsgWatcherView && client.m_bWatcher) {
            tagWATCHERVIEWMSG m{};
            read(m);
            if (m.bAllow && m.nSeat == me)
                ++phase["a seat lets its watchers see"];
        } else if (id == kMsgGameOver) {
            ++gamesDone;
            ++gamesAtTable;
            if (gamesAtTable == 2)
                ++phase["several games in a row at one table"];
        }
    }

    // Plays games at one table until it has played `games` or closes.
    void PlayTable(int ruleSet, uint32_t seed, int games, int cardOrder) {
        OpenTable(RulesText(kRuleSets[ruleSet]), seed, false, cardOrder);
        gamesAtTable = 0;
        lastDecision.clear();
        bool resized = false, reconnected = false;
        resizedInFlight = false;
        for (int idle = 0; gamesAtTable < games && !dissolved && idle < 400;) {
            if (!CatchUp()) {
                Fault(checks[4], At(kMe) + "the table stopped presenting");
                break;
            }
            CheckShown();
            const int before = recordsSeen;
            Act();
            if (!resized && gamesAtTable == 1 && Referee().GetGameState() == kStatePlay) {
                Resize();
                resized = true;
            }
            if (!reconnected && gamesAtTable == 2 && Referee().GetGameState() == kStatePlay &&
                !Referee().GetPlayList().empty()) {
                Reconnect();
                reconnected = true;
            }
            if (inbox.empty())
                table->PaceBots();
            if (inbox.empty())
                Idle(200); // nothing to show: the clocks run
            idle = recordsSeen == before && inbox.empty() ? idle + 1 : 0;
        }
        if (narrow)
            Resize();
    }
    // A watcher at an all-bot table, changing the watched seat once.
    void WatchTable(int ruleSet, uint32_t seed) {
        OpenTable(RulesText(kRuleSets[ruleSet]), seed, true, 0);
        gamesAtTable = 0;
        bool changed = false, allowed = false, left = false;
        int plays = 0;
        // Well into the first game shown, a click on another seat's name
        // line watches that seat; later that seat lets its watchers see.
        onPresented = [&](int id) {
            if (id != kMsgPlay)
                return;
            ++plays;
            if (!changed && plays >= 20) {
                ClickNameLine((Seen() + 3) % kSeatCount);
                changed = true;
            } else if (changed && !allowed && plays >= 40 && client.m_bWatcher) {
                LetWatchersSee(Seen());
                allowed = true;
            }
        };
        handsOver = false; // the person who sits down plays the game through
        for (int idle = 0; gamesAtTable < kWatchedGames && !dissolved && idle < 400;) {
            if (!CatchUp())
                break;
            CheckShown();
            const int before = recordsSeen;
            // Between the games my old seat's bot gets up; the watcher sits
            // down there with a click on its name line and plays on.
            if (client.m_bWatcher && gamesAtTable >= 1 && !left &&
                Referee().GetGameState() == kStateWaitStart)
                left = table->BotLeaves(kMe);
            if (client.m_bWatcher && left && theBoard.GetUserInfo(kMe).szUserName[0] == '\0' &&
                seatRequests.empty() && GetTickCount() - wnd->GetSeatChangeTick() > 3500)
                ClickNameLine(kMe);
            if (!client.m_bWatcher) {
                Act();
                if (inbox.empty())
                    table->PaceBots();
            }
            Idle(200);
            idle = recordsSeen == before && inbox.empty() ? idle + 1 : 0;
        }
        onPresented = nullptr;
        handsOver = true;
        EXPECT_TRUE(changed) << "the watcher never got to change seats";
    }
    // A click on a seat's name line, below its plate.
    void ClickNameLine(int seat) {
        const int view = wnd->Viewpoint().ViewOf(seat);
        const POINT at = ResolvePos(layout.m_posAvatar[view]);
        Click(POINT{at.x + layout.m_sizeAvatar.cx / 2, at.y + layout.m_sizeAvatar.cy + 15});
    }
    // The seat (a bot's) lets its watchers see its hand, as a player does
    // with his setting on.
    void LetWatchersSee(int seat) {
        tagWATCHERVIEWMSG allow;
        InitWatcherViewMsg(allow);
        allow.bAllow = 1;
        allow.nSeat = seat;
        const auto* bytes = reinterpret_cast<const uint8_t*>(&allow);
        table->Driver().SendFromSeat(seat, std::vector<uint8_t>(bytes, bytes + sizeof allow));
    }

    struct Inbound {
        std::vector<BYTE> record;
        std::shared_ptr<Truth> truth;
        std::function<void()> reply; // a seat change's reply instead of a record
    };

    TempFolder config;
    LogCapture log;
    ProgramResources resources;
    TestTableApp app;
    CGameLayout layout;
    // The network client with the table host in place of its connection:
    // what it sends is forwarded to the table from the first record not yet
    // forwarded; a record it stopped reading for holds the next until the
    // window opens the receive gate (its held record ended).
    RecordingClient client;
    size_t forwarded = 0;
    std::vector<platform_test::Delivered> parentLog;
    platform_test::RecordingWnd parent;
    SeenTableWnd* wnd = nullptr;
    std::unique_ptr<CHostTable> table;
    std::deque<Inbound> inbox;
    std::deque<std::pair<int, int>> seatRequests;
    std::shared_ptr<Truth> truth;
    std::function<void(int id)> onPresented;
    int checkedAt = -1;
    int frameCheckedAt = -1, flightCheckedAt = -1, flightMs = 0, framesChecked = 0;
    std::unique_ptr<FrameChecks> frames;
    std::unique_ptr<SeatPictures> pictures;
    Truth roundTruth;
    int publishedPlaces[kSeatCount] = {-1, -1, -1, -1, -1, -1};
    bool resultDue = false, pointMarksUnsure = false;
    std::multiset<int> lastHands[kSeatCount];
    bool dissolved = false;
    int sinceTick = 0;
    int heldMs = 0;
    int lastId = 0;
    int recordsSeen = 0;
    int gamesDone = 0;
    int gamesAtTable = 0;
    int returnsOwed = 0;
    bool letClockRun = false, trustPressed = false, exitPressed = false;
    int sameQuestionLoops = 0;
    int trustGame = -1;    // the game of the latest trusteeship the person chose
    bool handsOver = true; // the person may hand the seat to the table
    bool narrow = false;
    bool reconnecting = false, afterReconnect = false, resizedInFlight = false;
    int lookedGame = -1, cuedGame = -1, looks = 0, presentedAt = -1;
    POINT lastMouse{-1, -1};
    std::vector<int> lastDecision;
    std::mt19937 rng{37};
    std::map<std::string, int> phase;
    CheckLog checks[13] = {{"1 my drawn hand", 0, {}},
                           {"2 the table's cards and pass marks", 0, {}},
                           {"3 the clock", 0, {}},
                           {"4 my buttons", 0, {}},
                           {"5 no freeze", 0, {}},
                           {"6 the watcher's view", 0, {}},
                           {"every click counts", 0, {}},
                           {"7 every card drawn visible", 0, {}},
                           {"8 all drawn inside the table", 0, {}},
                           {"9 texts apart and uncovered, each notice once", 0, {}},
                           {"10 shown buttons uncovered", 0, {}},
                           {"11 the panes, marks and clocks shown", 0, {}},
                           {"12 the frame is its sprites", 0, {}}};
};

// Its output names each check's first fault.
TEST_F(PersonWitness, WholeGamesPlayedByClicksShowTheRefereesTable) {
    // A table closes early when my seat is left stuck; twice the tables
    // that would do bound the run.
    int table = 0;
    while (gamesDone < kGames && table < 2 * kGames / kGamesPerTable)
        PlayTable(table % 6, 1000 + uint32_t(table), kGamesPerTable, (table / 6) % 2), ++table;
    const int played = gamesDone;
    WatchTable(1, 77);
    WatchTable(5, 78);

    const char* phases[] = {"tribute to or from my seat",
                            "tribute returned by hand",
                            "buy-3 with my seat as seller",
                            "buy-3 with my seat as buyer",
                            "shao",
                            "revolution",
                            "opened points",
                            "trusteeship on by the clock",
                            "trusteeship on by its button",
                            "trusteeship off by the exit button",
                            "a window resize across 1000 px mid-game",
                            "several games in a row at one table",
                            "a watcher's seat change",
                            "a click on my hand while cards fly",
                            "a click on my hand during the deal",
                            "a drag over my hand",
                            "a window resize while cards fly",
                            "the hint (Search)",
                            "a cue to a partner",
                            "a chip pressed to start",
                            "the score history opened",
                            "the reel pane opened",
                            "the last cards pane opened",
                            "the betting opened",
                            "the exchange opened",
                            "a seat lets its watchers see",
                            "a seat leaves the table",
                            "a watcher sits down",
                            "a reconnect from the snapshot"};
    printf("witness: %d games played at %d tables, %d records presented\n", played, table,
           recordsSeen);
    for (const char* name : phases)
        printf("  phase %-42s %d\n", name, phase[name]);
    for (const CheckLog& check : checks)
        printf("  check %-46s %d faults%s%s\n", check.name, check.faults,
               check.faults ? ", first " : "", check.first.c_str());
    EXPECT_GE(played, kGames);
    // Every phase comes in 200 games; fewer need not bring the rarest.
    for (const char* name : phases)
        EXPECT_TRUE(phase[name] > 0 || kGames < 200) << "phase never exercised: " << name;
    for (const CheckLog& check : checks)
        EXPECT_EQ(check.faults, 0) << "check " << check.name << ", first: " << check.first;
}

} // namespace
} // namespace table_test
