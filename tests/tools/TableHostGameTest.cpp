// Games over loopback against the table host: a client of plain descriptors
// plays one seat with the rule book's Search, bots play the others. Whole
// games end in game over with every record in the order the referee sent
// it; the host's ticks take over a silent seat; a dropped player is played
// for and comes back to a snapshot; leaving, kicking and trusteeship exit.

#include "HostTestKit.h"
#include "SearchPlayer.h"

#include <functional>
#include <map>
#include <set>

namespace tools_test {
namespace {

using platform_test::PumpUntil;
using platform_test::Settle;

// One client at the table and the player that answers for it.
struct Seat {
    Seat(WireClient* c, CSearchPlayer* p, bool answers = true)
        : client(c), player(p), answering(answers) {}

    WireClient* client;
    CSearchPlayer* player;
    bool answering;
    std::vector<WireFrame> frames;

    // Reads what has come; the player answers when it may.
    void Read() {
        WireFrame frame;
        while (client->Poll(frame)) {
            frames.push_back(frame);
            if (frame.type != 0x243 || !answering)
                continue;
            const std::vector<uint8_t> record = frame.Record();
            for (const auto& answer : player->OnRecord(record.data(), int(record.size())))
                client->SendRecord(answer);
        }
    }
    bool Got(int recordId) const {
        for (const WireFrame& frame : frames) {
            if (frame.RecordId() == recordId)
                return true;
        }
        return false;
    }
    const WireFrame* Find(DWORD type) const {
        for (const WireFrame& frame : frames) {
            if (frame.type == type)
                return &frame;
        }
        return nullptr;
    }
};

bool PlayUntil(std::vector<Seat*> seats, const std::function<bool()>& done) {
    return PumpUntil([&] {
        for (Seat* seat : seats)
            seat->Read();
        return done();
    });
}

template <class T> bool ReadRecord(const WireFrame& frame, T& out) {
    return ReadGameRecord(frame.payload.data(), int(frame.payload.size()), out);
}

class HostGame : public HostTest {};

TEST_F(HostGame, WholeGamesOverTheWireEndInGameOverWithEveryRecordInOrder) {
    for (uint32_t seed : {11u, 12u, 13u}) {
        SCOPED_TRACE(seed);
        CTableHost::Options options = DefaultOptions(1);
        options.table.seed = seed;
        StartHost(options);
        std::map<int, std::vector<std::pair<DWORD, std::string>>> queued;
        host->onFrameQueued = [&](int id, DWORD type, DWORD, const BYTE* payload, size_t length) {
            queued[id].emplace_back(type, std::string(payload, payload + length));
        };
        WireClient client;
        CSearchPlayer player(2);
        Seat alice{&client, &player};
        Enter(client, "alice", 2);
        ASSERT_TRUE(PlayUntil({&alice}, [&] { return player.SawGameOver(); }));

        EXPECT_TRUE(player.Problems().empty()) << player.Problems().front();
        EXPECT_GT(player.PlaysSent(), 0);
        // Byte for byte what the host queued for this client, in its order
        // (the login reply, read by Enter, first).
        const auto& expected = queued[IdOf("alice")];
        ASSERT_GE(expected.size(), alice.frames.size() + 1);
        EXPECT_EQ(expected[0].first, 0x80000200u);
        for (size_t i = 0; i < alice.frames.size(); ++i) {
            ASSERT_EQ(alice.frames[i].type, expected[i + 1].first) << i;
            ASSERT_EQ(alice.frames[i].payload, expected[i + 1].second) << i;
        }
        // The game's story: the table, the deal, the plays, the places, the end.
        std::vector<int> ids;
        for (const WireFrame& frame : alice.frames) {
            if (frame.type == 0x243)
                ids.push_back(frame.RecordId());
        }
        ASSERT_FALSE(ids.empty());
        EXPECT_EQ(ids.front(), 0x901);
        const auto deal = std::find(ids.begin(), ids.end(), 0x904);
        const auto play = std::find(ids.begin(), ids.end(), 0x905);
        const auto over = std::find(ids.begin(), ids.end(), 0x906);
        EXPECT_LT(deal, play);
        EXPECT_EQ(std::count(ids.begin(), ids.end(), 0x904), 1);
        EXPECT_EQ(std::count(ids.begin(), ids.end(), 0x906), 1);
        ASSERT_NE(over, ids.end());
        EXPECT_EQ(std::find(over, ids.end(), 0x905), ids.end());
        EXPECT_LT(std::find(ids.begin(), ids.end(), 0x913), over);
        // After it only the bots' presses for the next game.
        EXPECT_EQ(size_t(std::count(over + 1, ids.end(), 0x903)), size_t(ids.end() - over - 1));
        const std::vector<int>& places = player.Places();
        ASSERT_EQ(places.size(), 6u);
        EXPECT_EQ(std::set<int>(places.begin(), places.end()), (std::set<int>{0, 1, 2, 3, 4, 5}));
        for (const WireFrame& frame : alice.frames) {
            tagGAMEOVERMSG record;
            if (frame.RecordId() != 0x906)
                continue;
            ASSERT_TRUE(ReadRecord(frame, record));
            EXPECT_EQ(record.nGamesPlayed, 1);
            EXPECT_STREQ(record.users[2].szUserName, "alice");
        }
        EXPECT_EQ(host->Table().Driver().GetRefusals(), 0);
        EXPECT_FALSE(Logged("Exception"));
        EXPECT_EQ(host->Table().TablesDissolved(), 0);
        host.reset();
    }
}

TEST_F(HostGame, TicksTakeOverASilentSeatAndTheTableDissolvesAfterTheGame) {
    StartHost(DefaultOptions(1));
    WireClient client;
    CSearchPlayer player(2);
    Seat alice{&client, &player};
    Enter(client, "alice", 2);
    auto myTurn = [&] {
        for (const WireFrame& frame : alice.frames) {
            tagPLAYMSG prompt;
            if (frame.RecordId() == 0x905 && ReadRecord(frame, prompt) && prompt.nActionMask[2])
                return true;
        }
        return false;
    };
    ASSERT_TRUE(PlayUntil({&alice}, myTurn));
    alice.answering = false;
    auto trusted = [&] {
        for (const WireFrame& frame : alice.frames) {
            tagTRUSTMSG trust;
            if (frame.RecordId() == 0x90E && ReadRecord(frame, trust) && trust.nSeat == 2 &&
                trust.bOn)
                return true;
        }
        return false;
    };
    // A play may take 30 seconds and a grace of 5; a tick comes each second.
    int seconds = 0;
    while (!trusted() && seconds < 100) {
        clock.Advance(1000);
        ++seconds;
        Settle();
        alice.Read();
    }
    ASSERT_TRUE(trusted());
    EXPECT_GE(seconds, 35);
    EXPECT_LE(seconds, 36);
    // The referee plays the seat to the end; a trusted seat at game over
    // ends the table, which the host dissolves.
    ASSERT_TRUE(PlayUntil({&alice}, [&] { return client.Ended(); }));
    EXPECT_TRUE(alice.Got(0x906));
    EXPECT_TRUE(alice.Got(0x910));
    const WireFrame* dissolved = alice.Find(0x80000202);
    ASSERT_NE(dissolved, nullptr);
    EXPECT_EQ(alice.frames.back().type, 0x80000202u);
    EXPECT_EQ(host->Table().TablesDissolved(), 1);
    EXPECT_FALSE(host->Table().IsSeated());
}

TEST_F(HostGame, DroppedPlayerIsPlayedForAndComesBackToASnapshot) {
    StartHost(DefaultOptions(2));
    WireClient aliceClient, bobClient, wendyClient;
    CSearchPlayer alicePlayer(2), bobPlayer(3), wendyPlayer(2);
    Seat alice{&aliceClient, &alicePlayer}, bob{&bobClient, &bobPlayer};
    Seat wendy{&wendyClient, &wendyPlayer, false};
    Enter(aliceClient, "alice", 2);
    Enter(bobClient, "bob", 3);
    Enter(wendyClient, "wendy", 8);
    ASSERT_TRUE(PlayUntil({&alice, &bob, &wendy}, [&] { return alice.Got(0x905); }));
    // Bob stops answering, so the game waits for him while alice is away.
    bob.answering = false;
    aliceClient.Close();
    ASSERT_TRUE(PlayUntil({&bob, &wendy}, [&] { return wendy.Find(0x229) != nullptr; }));
    EXPECT_EQ(wendy.Find(0x229)->payload, std::string("alice\0", 6));
    EXPECT_NE(bob.Find(0x229), nullptr);

    WireClient back;
    WireFrame frame;
    ASSERT_TRUE(back.Login(host->Port(), "alice", 2, &frame));
    back.Send(0x208);
    ASSERT_TRUE(back.NextOfType(0x243, frame));
    ASSERT_EQ(frame.RecordId(), 0x902);
    EXPECT_TRUE(frame.compressed);
    tagSNAPSHOTMSG snapshot;
    ASSERT_TRUE(ReadRecord(frame, snapshot));
    EXPECT_EQ(snapshot.nGameState, kStatePlay);
    EXPECT_EQ(snapshot.nTrustWords[2], kTrustBroken);
    EXPECT_STREQ(snapshot.users[2].szUserName, "alice");
    ASSERT_TRUE(PlayUntil({&bob, &wendy}, [&] { return wendy.Find(0x22A) != nullptr; }));
    EXPECT_EQ(wendy.Find(0x22A)->payload, std::string("alice\0", 6));
    EXPECT_EQ(host->Table().SeatOf(IdOf("alice")), 2);
    EXPECT_EQ(host->Table().TablesDissolved(), 0);
}

TEST_F(HostGame, LeavingBeforeAGameGivesTheSeatToABot) {
    StartHost(DefaultOptions(2));
    WireClient aliceClient, bobClient;
    CSearchPlayer alicePlayer(2), bobPlayer(3);
    Seat alice{&aliceClient, &alicePlayer, false}, bob{&bobClient, &bobPlayer, false};
    Enter(aliceClient, "alice", 2);
    Enter(bobClient, "bob", 3);
    ASSERT_TRUE(PlayUntil({&alice, &bob}, [&] { return alice.Got(0x901); }));
    bobClient.Send(0x202);
    EXPECT_TRUE(bobClient.WaitForEnd());
    alice.frames.clear();
    ASSERT_TRUE(PlayUntil({&alice}, [&] { return alice.Got(0x901); }));
    const WireFrame* left = alice.Find(0x250);
    ASSERT_NE(left, nullptr);
    EXPECT_EQ(left->payload, Half(3));
    tagTABLEINFO table{};
    for (const WireFrame& frame : alice.frames) {
        if (frame.RecordId() == 0x901) {
            ASSERT_TRUE(ReadRecord(frame, table));
        }
    }
    EXPECT_STREQ(table.users[3].szUserName, "bot3");
    EXPECT_STREQ(table.users[2].szUserName, "alice");
    EXPECT_TRUE(host->Table().IsSeated());
    EXPECT_EQ(host->Table().TablesDissolved(), 0);
}

TEST_F(HostGame, LastPlayerLeavingDissolvesTheTableForItsWatchers) {
    StartHost(DefaultOptions(1));
    WireClient aliceClient, wendyClient;
    Enter(aliceClient, "alice", 2);
    Enter(wendyClient, "wendy", 8);
    WireFrame frame;
    ASSERT_TRUE(wendyClient.NextOfType(0x243, frame));
    aliceClient.Send(0x202);
    std::vector<WireFrame> before;
    ASSERT_TRUE(wendyClient.NextOfType(0x80000202, frame, &before));
    EXPECT_TRUE(wendyClient.WaitForEnd());
    EXPECT_EQ(host->Table().TablesDissolved(), 1);
    bool seatLeft = false;
    for (const WireFrame& f : before)
        seatLeft |= f.type == 0x250 && f.payload == Half(2);
    EXPECT_TRUE(seatLeft);
}

TEST_F(HostGame, KickSendsAPlayerAwayOnlyOutsideAGame) {
    StartHost(DefaultOptions(2));
    WireClient aliceClient, bobClient;
    CSearchPlayer alicePlayer(0), bobPlayer(1);
    Seat alice{&aliceClient, &alicePlayer, false}, bob{&bobClient, &bobPlayer, false};
    Enter(aliceClient, "alice", 0);
    Enter(bobClient, "bob", 1);
    ASSERT_TRUE(PlayUntil({&alice, &bob}, [&] { return alice.Got(0x901); }));
    std::string kick = "nobody";
    kick.resize(20, '\0');
    aliceClient.Send(0x111, kick + Word(8));
    kick = "BOB";
    kick.resize(20, '\0');
    aliceClient.Send(0x111, kick + Word(8));
    ASSERT_TRUE(PlayUntil({&alice, &bob}, [&] { return bobClient.Ended(); }));
    const WireFrame* link = bob.Find(0xFFFFFFFF);
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->result, 2u);
    EXPECT_TRUE(Logged("no such player"));
    ASSERT_TRUE(PlayUntil({&alice}, [&] { return alice.Find(0x250) != nullptr; }));
    EXPECT_EQ(alice.Find(0x250)->payload, Half(1));
    EXPECT_EQ(host->Table().Driver().Referee().GetUserInfo(1).szUserName, std::string("bot1"));
}

TEST_F(HostGame, TrustExitHandsTheSeatToTheReferee) {
    StartHost(DefaultOptions(2));
    WireClient aliceClient, bobClient;
    CSearchPlayer alicePlayer(2), bobPlayer(3);
    Seat alice{&aliceClient, &alicePlayer}, bob{&bobClient, &bobPlayer, false};
    Enter(aliceClient, "alice", 2);
    Enter(bobClient, "bob", 3);
    // Bob answers the start and the deal only, so the game waits for him.
    bob.answering = true;
    ASSERT_TRUE(PlayUntil({&alice, &bob}, [&] { return bob.Got(0x904); }));
    bob.answering = false;
    std::string name = "alice";
    name.resize(20, '\0');
    aliceClient.Send(0x21A, name);
    auto exited = [&] {
        for (const WireFrame& frame : bob.frames) {
            tagTRUSTWORDSMSG words;
            if (frame.RecordId() == 0x911 && ReadRecord(frame, words) && words.nSeat == 2)
                return words.nTrustWords[2] == kTrustExit;
        }
        return false;
    };
    ASSERT_TRUE(PlayUntil({&alice, &bob}, exited));
    EXPECT_EQ(host->Table().Driver().Referee().GetTrustWord(2), kTrustExit);
}

TEST_F(HostGame, BotsTakeAHumanPauseBeforeTheyAct) {
    CTableHost::Options options = DefaultOptions(1);
    options.table.botPauseMs = 900; // 600 to 1200 ms
    StartHost(options);
    WireClient client;
    CSearchPlayer player(2);
    Seat alice{&client, &player, false};
    Enter(client, "alice", 2);
    ASSERT_TRUE(PlayUntil({&alice}, [&] { return alice.Got(0x901); }));
    auto starts = [&] {
        int n = 0;
        for (const WireFrame& frame : alice.frames)
            n += frame.RecordId() == 0x903;
        return n;
    };
    // The table is full: the five bots think before they press start, side
    // by side.
    for (int ms = 0; ms < 550; ms += 50) {
        clock.Advance(50);
        Settle();
        alice.Read();
    }
    EXPECT_EQ(starts(), 0) << "a bot pressed start at once";
    for (int ms = 550; ms < 1300; ms += 50) {
        clock.Advance(50);
        Settle();
        alice.Read();
    }
    EXPECT_EQ(starts(), 5) << "every bot has pressed start within its pause";
}

TEST_F(HostGame, ASeatThatSwitchesTrusteeshipOnHasItsCardsPlayed) {
    // Answers as well as leads: a trusted seat that only passed would keep
    // most of its hand to the end of many games.
    int cardsPlayed = 0;
    for (uint32_t seed : {11u, 12u, 13u, 14u}) {
        SCOPED_TRACE(seed);
        CTableHost::Options options = DefaultOptions(1);
        options.table.seed = seed;
        StartHost(options);
        WireClient client;
        CSearchPlayer player(2);
        Seat alice{&client, &player};
        Enter(client, "alice", 2);
        ASSERT_TRUE(PlayUntil({&alice}, [&] { return alice.Got(0x905); }));
        alice.answering = false;
        tagTRUSTMSG trust;
        InitTrustMsg(trust);
        trust.nSeat = 2;
        trust.bOn = 1;
        const auto* bytes = reinterpret_cast<const uint8_t*>(&trust);
        client.SendRecord(std::vector<uint8_t>(bytes, bytes + sizeof trust));
        ASSERT_TRUE(PlayUntil({&alice}, [&] { return client.Ended(); }));
        bool trusted = false;
        int played = 0;
        for (const WireFrame& frame : alice.frames) {
            tagTRUSTMSG echo;
            if (frame.RecordId() == 0x90E && ReadRecord(frame, echo) && echo.nSeat == 2)
                trusted = echo.bOn != 0;
            tagPLAYMSG play;
            if (trusted && frame.RecordId() == 0x905 && ReadRecord(frame, play) &&
                play.nSeat == 2 && play.nType == kActionTakeOut)
                played += play.nCount;
        }
        EXPECT_TRUE(alice.Got(0x906)) << "the game was played to its end";
        EXPECT_GT(played, 0) << "the trusted seat played no card";
        cardsPlayed += played;
        host.reset();
    }
    // Four games of 36 cards a seat: the seat played a fair part of them.
    EXPECT_GE(cardsPlayed, 60);
}

TEST_F(HostGame, APlayersStartAfterGameOverDealsTheNextGameAtTheSameTable) {
    StartHost(DefaultOptions(1));
    WireClient client;
    CSearchPlayer player(2);
    Seat alice{&client, &player};
    Enter(client, "alice", 2);
    auto count = [&](int id) {
        return std::count_if(alice.frames.begin(), alice.frames.end(),
                             [&](const WireFrame& frame) { return frame.RecordId() == id; });
    };
    ASSERT_TRUE(PlayUntil({&alice}, [&] { return count(0x906) == 1; }));
    // The bots press start again; the table waits for mine.
    Settle();
    alice.Read();
    EXPECT_EQ(count(0x904), 1);
    tagSTARTMSG start;
    InitStartMsg(start);
    start.nSeat = 2;
    start.nMultiple = 2;
    const auto* bytes = reinterpret_cast<const uint8_t*>(&start);
    client.SendRecord(std::vector<uint8_t>(bytes, bytes + sizeof start));
    ASSERT_TRUE(PlayUntil({&alice}, [&] { return count(0x906) == 2; }));
    EXPECT_EQ(count(0x904), 2);
    EXPECT_EQ(host->Table().TablesDissolved(), 0);
    EXPECT_FALSE(client.Ended());
}

} // namespace
} // namespace tools_test
