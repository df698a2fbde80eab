// End to end: cards that move between seats outside trick play, as a person
// meets them. My seat plays whole games against the local table host's bots
// under tribute, return tribute and the threes rule (buying a three), only
// through clicks at drawn rectangles: cards of my hand, and buttons while
// they are shown and enabled. When a tribute, a return or a bought three
// has been presented, my drawn hand must be the referee's hand for my seat,
// and receiving must resume within the longest flight and a second.

#include "DrawnWords.h"
#include "HostTableKit.h"
#include "game/Cards.h"

#include <deque>
#include <functional>
#include <map>

namespace table_test {
namespace {

// The rules text: the threes rule (field 14), tribute (16) and its return
// of any rank (23); the betting tail makes the head carry the rule flags.
std::string TransferRules() {
    std::string text = "10 10 10 10 10 10 30 30 5 30 5 0 1";
    for (int field = 14; field <= 40; ++field)
        text += field == 14 || field == 16 || field == 23 ? " 1" : " 0";
    return text + " 2 3 4 5 6 50 60 9000 0 0 0";
}

bool IsTransfer(const std::vector<uint8_t>& record, int* id) {
    if (record.size() < size_t(kGameMsgHeadSize) ||
        !PeekGameRecordId(record.data(), int(record.size()), id))
        return false;
    const uint8_t* bytes = record.data();
    const int length = int(record.size());
    if (*id == kMsgTribute) {
        tagTRIBUTEMSG m;
        return ReadGameRecord(bytes, length, m) && m.nSeat != kSeatCount;
    }
    if (*id == kMsgReturnTribute) {
        tagRETURNTRIBUTEMSG m;
        return ReadGameRecord(bytes, length, m) && m.nSeat != kSeatCount && m.bRequested &&
               m.bMoved;
    }
    if (*id == kMsgBuy3) {
        tagBUY3MSG m;
        return ReadGameRecord(bytes, length, m) && m.nSeat != kSeatCount && m.bExchanged;
    }
    return false;
}

// The table window that, before it takes a record, says so: the record
// before it has been presented in full by then.
class WatchedTable : public TestTableWnd {
public:
    std::function<void(const void* record, int length)> beforeRecord;

protected:
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
        if (message == 0x1005 && beforeRecord)
            beforeRecord(reinterpret_cast<const void*>(lParam), int(wParam));
        return TestTableWnd::OnWndMsg(message, wParam, lParam, result);
    }
};

class TransferByHand : public HostTableKit<WatchedTable> {
protected:
    // My seat enters once the test has chosen the table's seed.
    bool EntersAtSetUp() const override { return false; }
    CTableHost::Options TableOptions() override {
        CTableHost::Options options = HostOptions(1);
        options.table.rulesText = TransferRules();
        options.table.seed = seed;
        options.tickMs = 1000; // the referee's clocks end the wait for buyers
        return options;
    }
    void StartTable(uint32_t tableSeed) {
        seed = tableSeed;
        StartHost(TableOptions());
        ASSERT_TRUE(Enter(client));
        me = client.m_nMySeat;
        wnd->UpdateViewpoint();
        ASSERT_TRUE(platform_test::PumpUntil([&] { return host->Table().IsSeated(); }));
        ListenToTheReferee();
    }

    // My hand in the order my drawn hand lays it (the card order is off).
    static std::vector<int> Sorted(std::vector<int> codes) {
        std::stable_sort(codes.begin(), codes.end(),
                         [](int x, int y) { return CompareCard(x, y) < 0; });
        return codes;
    }
    std::vector<int> RefereeHand() {
        std::vector<int> codes;
        const tagCARD* hand = Referee().GetHand(me);
        for (int i = 0; i < kHandSize; ++i)
            if (IsCountingCard(hand[i]) && hand[i].code < kCardCodeCount)
                codes.push_back(hand[i].code);
        return Sorted(codes);
    }
    std::vector<int> DrawnHand() {
        std::vector<int> codes;
        for (const HANDENTRY& entry : wnd->Hands().GetHand())
            codes.push_back(entry.nCard);
        return codes;
    }

    // What the referee held for my seat when it sent each transfer record
    // that reaches me; the window's next record, or the end, checks it.
    void ListenToTheReferee() {
        CTableDriver& driver = host->Table().Driver();
        auto routed = driver.onHostCall;
        driver.onHostCall = [this, routed](const tagHOSTCALL& call) {
            if (routed)
                routed(call);
            const bool forMe =
                call.nCode == kHostSendToAll ||
                ((call.nCode == kHostSendToSeat || call.nCode == kHostSendForwarded) &&
                 call.nParam == me);
            if (!forMe || call.pData == nullptr || call.nDataLen < kGameMsgHeadSize)
                return;
            const auto* bytes = static_cast<const uint8_t*>(call.pData);
            int id = 0;
            if (IsTransfer(std::vector<uint8_t>(bytes, bytes + call.nDataLen), &id))
                expected.push_back(RefereeHand());
        };
        wnd->beforeRecord = [this](const void* record, int length) {
            CheckPresented();
            const auto* bytes = static_cast<const uint8_t*>(record);
            int id = 0;
            if (!IsTransfer(std::vector<uint8_t>(bytes, bytes + length), &id))
                return;
            ASSERT_FALSE(expected.empty()) << "a transfer record the referee did not send";
            due = expected.front();
            expected.pop_front();
            dueId = id;
            dueSince = GetTickCount();
            Count(id, record, length);
        };
    }
    void Count(int id, const void* record, int length) {
        if (id == kMsgBuy3) {
            tagBUY3MSG m;
            ReadGameRecord(record, length, m);
            counts["bought a three"] += m.nBuyer == me;
            counts["sold a three"] += m.nSeller == me;
        } else if (id == kMsgTribute) {
            tagTRIBUTEMSG m;
            ReadGameRecord(record, length, m);
            counts["tribute received"] += m.nReceiver == me;
            counts["tribute given"] += m.nGiver == me;
        }
    }
    // The last transfer record has been presented: my drawn hand is the
    // referee's at that record.
    void CheckPresented() {
        if (!due)
            return;
        EXPECT_EQ(DrawnHand(), *due) << "my drawn hand after record " << std::hex << dueId;
        due.reset();
    }

    // Clicks at a client point, through the window's own mouse path; a
    // person's clicks lie apart: never a double click.
    void ClicksApart() {
        const DWORD from = GetTickCount();
        RunUntil([&] { return GetTickCount() - from >= 600 && wnd->IsReceiveReady(); });
    }
    void Click(POINT at) override {
        ClicksApart();
        QuickClick(at);
    }
    void RightClick(POINT at) {
        ClicksApart();
        QuickClick(at, true);
    }
    // A point of a drawn card that the next card leaves uncovered.
    POINT CardPoint(int code) {
        for (const HANDENTRY& entry : wnd->Hands().GetHand())
            if (entry.nCard == code) {
                const CRect r = wnd->GetSpriteRect(entry.pos);
                return POINT{r.left + 5, r.top + 10};
            }
        return POINT{-1, -1};
    }

    // No freeze: a presented transfer lets the records in again.
    void WhileWaiting() override {
        if (due && !wnd->IsReceiveReady()) {
            EXPECT_LT(GetTickCount() - dueSince, DWORD(kLongestFlightMs + 1000))
                << "receiving held after record " << std::hex << dueId;
        }
    }
    bool RunUntil(const std::function<bool()>& done) { return HostTableKit::RunUntil(done, 60000); }

    // The cards my drawn question asks me to return ("...[p0]2张贡牌..."); 0
    // while no return is asked.
    int AskedReturnCount() {
        const std::string words = DrawnWords(*wnd, kQuestionLineSprite);
        const size_t end = words.find("张贡牌");
        size_t start = end;
        while (start != std::string::npos && start > 0 && isdigit(uint8_t(words[start - 1])))
            --start;
        return start < end && end != std::string::npos ? atoi(words.c_str() + start) : 0;
    }
    // The return I owe, by hand: as many of the lowest cards that are not
    // threes as the question asks, picked one click each, then the button
    // (or, every other time, a right click on the table).
    void ReturnByHand() {
        const int count = AskedReturnCount();
        EXPECT_FALSE(Pressable(kCmdReturnTribute)) << "shown, but not enabled before the pick";
        std::vector<int> hand = DrawnHand();
        int picked = 0;
        for (auto it = hand.rbegin(); it != hand.rend() && picked < count; ++it) {
            if (CGameLogic::CardFromIndex(*it).rank == kRankThree)
                continue;
            Click(CardPoint(*it));
            ++picked;
        }
        ASSERT_EQ(wnd->Hands().CountSelected(), count) << "each click raised one card";
        const int before = Referee().GetHandCardCount(me);
        if (counts["returned by hand"] % 2 == 0) {
            ASSERT_TRUE(ClickButton(kCmdReturnTribute)) << "enabled once the count is raised";
        } else {
            RightClick(POINT{512, 250});
        }
        ++counts["returned by hand"];
        // Taken by the referee, and the raised cards have left my hand.
        ASSERT_TRUE(RunUntil([&] {
            return Referee().GetHandCardCount(me) != before && wnd->IsReceiveReady() &&
                   wnd->Hands().CountSelected() == 0;
        })) << "the referee did not take my return";
    }

    // Whole games: start, returns by hand, and on each of my turns the hint
    // and, when it raised cards, take out.
    bool AllPhasesMet() {
        return counts["returned by hand"] > 0 && counts["tribute received"] > 0 &&
               counts["tribute given"] > 0 && counts["bought a three"] + counts["sold a three"] > 0;
    }
    void PlayGames(int games) {
        for (int game = 0; game < games && !AllPhasesMet(); ++game) {
            const int played = Referee().GetGamesPlayed();
            ASSERT_TRUE(RunUntil([&] {
                return wnd->IsReceiveReady() && (Pressable(kCmdStart) || Pressable(kCmdRStart));
            })) << "no start button before game "
                << game + 1;
            ASSERT_TRUE(ClickButton(kCmdStart) || ClickButton(kCmdRStart));
            std::pair<int, int> lastTurn{-1, -1};
            for (int step = 0; step < 500 && Referee().GetGamesPlayed() == played; ++step) {
                const auto turnNow = [&] {
                    return std::make_pair(theBoard.GetPlayCounter(),
                                          theBoard.GetSeatActionMask(me));
                };
                const auto returnDue = [&] {
                    return wnd->IsReceiveReady() && theBoard.GetGameState() == kStateTribute &&
                           (theBoard.GetSeatActionMask(me) & kActionReturnTribute) &&
                           AskedReturnCount() > 0 && wnd->Button(kBtnReturnTribute).IsVisible();
                };
                const auto myTurn = [&] {
                    return wnd->IsReceiveReady() && wnd->IsInputAllowed() &&
                           theBoard.GetGameState() == kStatePlay &&
                           (theBoard.GetSeatActionMask(me) & (kActionTakeOut | kActionPass)) &&
                           turnNow() != lastTurn && Pressable(kCmdSearch);
                };
                // Two revolutions start the game afresh: press start again.
                const auto restart = [&] {
                    return wnd->IsReceiveReady() && theBoard.GetGameState() == kStateWaitStart &&
                           (Pressable(kCmdStart) || Pressable(kCmdRStart));
                };
                ASSERT_TRUE(RunUntil([&] {
                    return Referee().GetGamesPlayed() != played || returnDue() || myTurn() ||
                           restart();
                })) << "the game stopped in game "
                    << game + 1 << ", state " << theBoard.GetGameState();
                if (Referee().GetGamesPlayed() != played)
                    break;
                if (restart()) {
                    ASSERT_TRUE(ClickButton(kCmdStart) || ClickButton(kCmdRStart));
                    continue;
                }
                if (returnDue()) {
                    ReturnByHand();
                    continue;
                }
                lastTurn = turnNow();
                const int serial = Referee().GetActionSerial();
                ASSERT_TRUE(ClickButton(kCmdSearch));
                if (!ClickButton(kCmdTakeOut))
                    ++counts["passes"];
                ASSERT_TRUE(RunUntil([&] {
                    return Referee().GetActionSerial() != serial ||
                           Referee().GetGamesPlayed() != played;
                })) << "the referee did not take my play";
            }
        }
        ASSERT_TRUE(RunUntil(
            [&] { return wnd->IsReceiveReady() && theBoard.GetGameState() != kStatePlay; }));
        CheckPresented();
    }

    static constexpr int kLongestFlightMs = 1500 + 500; // a flight, then the re-sort

    uint32_t seed = 0;
    std::deque<std::vector<int>> expected;
    std::optional<std::vector<int>> due;
    int dueId = 0;
    DWORD dueSince = 0;
    std::map<std::string, int> counts;
};

TEST_F(TransferByHand, TributeReturnsAndBoughtThreesChangeMyDrawnHandAsTheReferees) {
    StartTable(2);
    PlayGames(8);
    for (const auto& [phase, count] : counts)
        RecordProperty(phase, count);
    EXPECT_TRUE(AllPhasesMet()) << "a return by hand, a tribute each way and a three bought "
                                   "or sold by my seat";
    EXPECT_FALSE(Referee().IsSeatTrusted(me)) << "my seat played every turn itself";
}

} // namespace
} // namespace table_test
