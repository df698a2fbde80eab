#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "game/GameLogic.h"
#include "tools/tablehost/BotSeat.h"

// Drives one referee in process: attaches itself as the referee's host,
// queues what the referee sends for each recipient, seats bot players that
// answer the table's questions, steps the referee's clock and sends it the
// time ticks a client would. The local table host wraps it with sockets.
class CTableDriver {
public:
    struct Options {
        std::string rulesText;
        uint32_t seed = 1;
        int beanRate = 1;
        int startBeans = 100000;
        CBotSeat::Style style;
        // Where the referee reads the time; the driver's own stepped clock
        // (Now, Advance) when empty.
        std::function<uint32_t()> tickSource;
        // The referee's latest traces kept (older ones are dropped).
        size_t maxTraces = 1000;
        // Rule bits no rules-text field sets (such as changing seats by a
        // click on a name line), added after the text is read.
        uint32_t extraRuleFlags = 0;
    };

    // What the referee emitted, with the host call code and its param.
    struct Sent {
        int code;
        int param;
        std::vector<uint8_t> record;
    };

    explicit CTableDriver(const Options& options);
    ~CTableDriver();
    CTableDriver(const CTableDriver&) = delete;
    CTableDriver& operator=(const CTableDriver&) = delete;

    CGameLogic& Referee() { return *m_pReferee; }

    // Seats a bot on every seat that is neither taken nor played from
    // outside (the sixth seat taken makes the referee send the table info).
    void SeatBots();
    // Seats a fresh bot on one seat, which stops being played from outside.
    void SeatBot(int seat);
    static std::string BotName(int seat);

    // A seat played from outside (a client of the table host): its bot
    // neither acts nor reads, and its records go only to onDeliver.
    void SetHumanSeat(int seat, bool human);
    bool IsHumanSeat(int seat) const;
    // Seats a user that the host built (event 1).
    void SeatUser(const tagUSERINFO& user);

    // Hands any table event to the referee, then delivers what it emitted.
    int Dispatch(int event, intptr_t a, intptr_t b);

    // Lets the bots act, one record at a time, until none has anything to
    // do or maxActions records went out. Returns the records sent.
    int RunBots(int maxActions);

    // What the table asks of a bot seat now (CBotSeat::Question); 0 for a
    // seat played from outside.
    uint32_t BotQuestion(int seat) const;
    // Lets one bot seat send its answer now; false when it had none.
    bool ActBot(int seat);

    // Plays until the given number of games is over, the table closes, or
    // the table stalls too often. Returns the games finished.
    int Run(int games, int maxStalls = 50);

    // Hands a seat's record to the referee as game message, then delivers
    // what it emitted. Returns the referee's result.
    int SendFromSeat(int seat, const std::vector<uint8_t>& record);

    // The referee's clock, in milliseconds.
    uint32_t Now() const { return m_nNow; }
    void Advance(uint32_t milliseconds) { m_nNow += milliseconds; }

    // Called first for every host call the referee makes.
    std::function<void(const tagHOSTCALL&)> onHostCall;

    // Called for every record the referee emitted, in order, once the bots
    // have read theirs (outside the referee's lock).
    std::function<void(const Sent&)> onDeliver;

    // Called inside the host callback for every game-over record, while the
    // referee still holds the finished game's hands and places.
    std::function<void(CTableDriver&, const tagGAMEOVERMSG&)> onGameOver;

    int GetGamesFinished() const { return m_nGamesFinished; }
    bool IsClosed() const { return m_bClosed; }
    int GetRefusals() const { return m_nRefusals; }
    int GetStalls() const { return m_nStalls; }
    // Run stopped a game that went on far longer than any real one.
    bool IsRunaway() const { return m_bRunaway; }
    enum { kMaxActionsPerGame = 5000 };
    int GetCipherMismatches() const;
    // The latest traces, oldest first; onTrace sees every one.
    const std::deque<std::string>& GetTraces() const { return m_Traces; }
    std::function<void(const std::string&)> onTrace;
    const std::vector<int>& GetLastPlaces() const { return m_LastPlaces; }
    // Host calls of each code received so far.
    int CountCalls(int code) const;
    // Game records of each id sent to all so far.
    int CountRecords(int id) const;
    // Play prompts that announced an action of this kind (1, 2, 4, 8, 16).
    int CountPrompts(int kind) const;

private:
    bool ActOneBot();
    static int HostCallback(tagHOSTCALL* call);
    void OnHostCall(const tagHOSTCALL& call);
    void Deliver();

    Options m_Options;
    int m_nOwnerId;
    std::unique_ptr<CGameLogic> m_pReferee;
    std::vector<std::unique_ptr<CBotSeat>> m_Bots;
    std::deque<Sent> m_Outbox;
    std::deque<std::string> m_Traces;
    std::vector<int> m_LastPlaces;
    int m_nCalls[256] = {};
    int m_nRecords[0x20] = {};
    int m_nPromptKinds[32] = {};
    uint32_t m_nNow = 1000000;
    int m_nGamesFinished = 0;
    bool m_bClosed = false;
    int m_nRefusals = 0;
    int m_nStalls = 0;
    int m_nNextPoll = 0;
    bool m_bRunaway = false;
    bool m_bHuman[kSeatCount] = {};
};
