#pragma once

// The end-to-end tests of the exported client class: a client derived from
// it reads its launch record from the process's arguments and talks to the
// local table host on loopback. Host and client share this thread's message
// loop, so every wait of the client serves the host as well. The clock moves
// only when a test steps it; the registry and the shared folder are the
// test's own, so the connection goes direct unless a test sets a proxy.

#include "PathFixture.h"
#include "RecordingClient.h"
#include "WireClient.h"
#include "platform/system/Clock.h"
#include "tests/support/SocketTestKit.h"
#include "tools/tablehost/TableHost.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace wire_test {

// The lobby's launch record as command-line fields. The game server is the
// test's host unless a port is given.
struct LaunchFields {
    std::string seat = "3"; // 1-based, as the lobby hands it over
    std::string userName = "alice";
    std::string nickName = "Alice";
    std::string loginText = "ticket-77";
    std::string loginValue = "1234";
    std::string room = "room-9";
    std::string gameServer = "127.0.0.1";
    UINT gameServerPort = 0;
    std::string extra = "extra text";
    std::string chatServer = "127.0.0.1";
    std::string chatServerPort = "7002";
    std::string level = "lv3";
    std::string numberValue = "4096";
    std::string option; // empty: the thirteen-field form
};

// Makes the fields the process's arguments, where the library reads them;
// the real ones come back when it goes.
class LaunchArguments {
public:
    LaunchArguments();
    ~LaunchArguments();
    LaunchArguments(const LaunchArguments&) = delete;
    LaunchArguments& operator=(const LaunchArguments&) = delete;

    void Set(const LaunchFields& fields);

private:
    int m_nSavedCount;
    char** m_pSavedVector;
    std::vector<std::string> m_texts;
    std::vector<char*> m_pointers;
};

// A frame the host received, as it came.
struct HostFrame {
    int client;
    DWORD type;
    std::string payload;
};

// A game record of the given id and total length whose body starts with a
// sequence number; the rest is a pattern drawn from it.
std::vector<BYTE> NumberedRecord(int id, size_t length, uint32_t sequence);
uint32_t SequenceOf(const std::vector<BYTE>& record);

class WireTest : public path_test::PathFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // One player seat for the client; the host's ticks never come unless a
    // test calls Tick, so nothing moves behind the test's back.
    static CTableHost::Options HostOptions(int humanSeats = 1);
    void StartHost(CTableHost::Options options);

    // Reads the launch record into the process's arguments, then Init and
    // EnterGame as the program does; true when both return 1.
    bool Enter(CTablehub& client, LaunchFields fields = {});
    // Init and EnterGame with the launch record already set; EnterGame's result.
    int EnterOnly(CTablehub& client, LaunchFields fields);

    // A player of plain descriptors enters; it reads what comes, so the host
    // never holds back for it.
    void EnterRaw(tools_test::WireClient& raw, const std::string& name, uint16_t seat);
    // Bob of plain descriptors takes seat 0 of a one-player table, so the
    // bots take the rest and the table is there to be watched.
    void SeatBobForWatchers(tools_test::WireClient& bob);

    // The host's id of the client that entered with this name (pumps until
    // the host knows it); -1 when it never does.
    int IdOf(const std::string& name);
    // Pumps until the host has received a frame of that type from the client
    // as often as count.
    bool HostGets(int client, DWORD type, int count = 1);
    int CountReceived(int client, DWORD type) const;
    // The payload of the last frame of that type from the client; "" when none.
    std::string LastReceived(int client, DWORD type) const;
    // Sends a scripted frame to the client and pumps until the client has one
    // more call of the given name.
    bool Deliver(CRecordingClient& client, int clientId, DWORD type,
                 const std::vector<BYTE>& payload, const std::string& call, DWORD result = 0,
                 bool compress = false);
    bool Logged(const std::string& words) const;
    // Pumps until done(), for as long as each bounded round of pumping brings
    // progress: a long stream is not cut off by the pump's limit while it
    // still flows.
    static bool PumpWhileFlowing(const std::function<bool()>& done,
                                 const std::function<size_t()>& progress);

    platform::ManualClock clock;
    std::optional<platform::ScopedClock> scopedClock;
    LaunchArguments launch;
    std::vector<std::string> hostLog;
    std::vector<HostFrame> received;
    std::unique_ptr<CTableHost> host;
};

// The client alone at a table that waits for a second player: nothing comes
// but what the test has the host send.
class WireAloneTest : public WireTest {
protected:
    void SetUp() override;

    CRecordingClient client;
    int id = -1;
};

// A payload written field by field: words and halves little-endian, texts
// with their NUL, zeros up to an offset.
class Payload {
public:
    Payload& Word(DWORD value);
    Payload& Half(WORD value);
    Payload& Text(const std::string& text);
    Payload& PadTo(size_t offset);
    operator const std::vector<BYTE>&() const { return m_bytes; }
    const std::vector<BYTE>& Bytes() const { return m_bytes; }

private:
    std::vector<BYTE> m_bytes;
};

// A text in a fixed field, zero-filled behind it, as the frames carry names.
std::string Field(const std::string& text, size_t width);

} // namespace wire_test
