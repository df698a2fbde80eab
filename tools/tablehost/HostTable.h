#pragma once

// The table of the local table host: one referee driven through a
// CTableDriver, the clients seated at it or watching it, and the bots on the
// other seats. It turns what clients do into the referee's table events,
// sends what the referee emits to the clients it is for, and dissolves the
// table when the referee closes it, making a fresh referee for the next one.

#include "tools/tablehost/TableDriver.h"

#include <functional>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

// What the table needs from the host around it.
class CTableOutput {
public:
    virtual ~CTableOutput() = default;
    // A game record to one client (0x243).
    virtual void SendRecord(int clientId, const void* record, int length) = 0;
    // Any other frame to one client.
    virtual void SendFrame(int clientId, DWORD type, const std::vector<BYTE>& payload,
                           DWORD result = 0) = 0;
    // The client no longer belongs to the table: it is closed once its
    // queue is out.
    virtual void Dismiss(int clientId) = 0;
    virtual void Log(const std::string& line) = 0;
};

class CHostTable {
public:
    struct Options {
        std::string rulesText;
        uint32_t seed = 1;
        // The table starts (bots take the other seats) once this many
        // players have entered.
        int humanSeats = 1;
        int startBeans = 100000;
        CBotSeat::Style style;
        // Bot records sent in one turn at most, so bots alone never hold the
        // loop for long.
        int maxBotActionsPerTurn = 5000;
        // How long a bot thinks before it answers a question of the table,
        // in milliseconds, give or take a third, so that a person can follow
        // a round. 0: bots answer at once (tests).
        int botPauseMs = 0;
        // Rule bits added to the rules text's (see CTableDriver::Options).
        uint32_t extraRuleFlags = 0;
    };

    // A login's claim on a seat, before the client enters.
    enum class SeatClaim { kFree, kReturn, kTaken };

    CHostTable(const Options& options, CTableOutput& output);
    ~CHostTable();
    CHostTable(const CHostTable&) = delete;
    CHostTable& operator=(const CHostTable&) = delete;

    // Whether a player of this name may take the seat (0..5) now: a free or
    // bot seat while no game runs, or its own seat after it dropped.
    SeatClaim ClaimSeat(int seat, const std::string& userName) const;
    // Holds a seat for a logged-in client until it enters or goes.
    void ReserveSeat(int clientId, int seat);
    // The names on the six seats, for the login reply.
    std::vector<std::string> SeatNames() const;

    // The client sent 0x208. seat 0..5 plays, 6 and more watches seat mod 6.
    void Enter(int clientId, const std::string& userName, int seat, int beans, int wealth);
    // A game record from a client.
    void GameRecord(int clientId, const BYTE* record, int length);
    // 0x202 or 0x203.
    void Leave(int clientId);
    // The connection ended without a leave.
    void Dropped(int clientId);
    // 0x21A.
    void TrustExit(int clientId);
    // 0x111 from kicker naming a player; true when that player was sent away.
    bool Kick(int kickerId, const std::string& userName);

    struct SeatChange {
        bool ok = false;
        int seat = 0; // 0..5: the seat taken or watched
        bool watcher = false;
    };
    // Answers through reply before the table sends the records of the new
    // seat (a watcher's snapshot).
    SeatChange ChangeSeat(int clientId, int seat, bool watch,
                          const std::function<void(const SeatChange&)>& reply);

    // A bot gets up while no game runs: its seat stays empty, the others
    // hear it was left, until a client sits down there. False when the seat
    // holds no bot or a game runs.
    bool BotLeaves(int seat);

    // The user record the referee holds for a seated client; false for
    // watchers and clients not at the table.
    bool GetUser(int clientId, tagUSERINFO& user) const;
    // New beans and wealth for a seated client (event 10 to the referee).
    void UpdateUser(int clientId, int beans, int wealth);

    // The host's time tick: a 0x91B for the referee once six seats are
    // taken, then the bots' turn.
    void Tick();
    // Lets the bots whose pause is over answer; the host calls it often
    // while bots pause.
    void PaceBots();

    bool IsSeated() const { return m_bSeated; }
    bool IsAtTable(int clientId) const;
    int SeatOf(int clientId) const;    // -1 unless the client plays
    int WatchedBy(int clientId) const; // -1 unless the client watches
    int TablesDissolved() const { return m_nDissolved; }
    CTableDriver& Driver() { return *m_pDriver; }

private:
    struct SeatState {
        enum Kind { kEmpty, kBot, kHuman } kind = kEmpty;
        int clientId = -1;
        std::string userName;
        int beans = 0;
        int wealth = 0;
        bool broken = false; // the link dropped during a game
        bool exited = false; // left the game to the referee (0x21A)
    };

    void NewReferee();
    void SeatEveryone();
    tagUSERINFO MakeUser(int seat, const SeatState& state) const;
    void PlayerEnters(int clientId, const std::string& userName, int seat, int beans, int wealth);
    void WatcherEnters(int clientId, const std::string& userName, int seat);
    void SeatGoes(int seat);
    int HumansSeated() const;
    bool GameRunning() const;
    void Route(const CTableDriver::Sent& sent);
    void SendToOthers(int exceptClient, DWORD type, const std::vector<BYTE>& payload);
    // After every event: the bots' turn, then a closed table is dissolved.
    void Settle();
    void Dissolve();
    // One bot whose pause is over answers; false when none did.
    bool ActOnePacedBot();
    uint32_t BotPause();

    Options m_Options;
    CTableOutput& m_Output;
    std::unique_ptr<CTableDriver> m_pDriver;
    SeatState m_Seats[kSeatCount];
    std::map<int, int> m_Reserved; // seat -> logged-in client that has not entered
    std::map<int, int> m_Watchers; // client -> watched seat
    std::map<int, std::string> m_WatcherNames;
    bool m_bSeated = false;
    int m_nCurrentClient = -1; // receiver of the snapshot records (code 106)
    int m_nDissolved = 0;
    int m_nTables = 0;
    int m_nDepth = 0;
    // Per seat: the question a bot is thinking about and when it answers.
    uint32_t m_nBotQuestion[kSeatCount] = {};
    uint32_t m_nBotAnswerAt[kSeatCount] = {};
    int m_nNextPacedBot = 0;
    std::mt19937 m_PauseRandom;
};
