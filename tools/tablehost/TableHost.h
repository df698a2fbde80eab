#pragma once

// The local table host: a game server of our own on loopback. It runs on the
// message loop of the thread that creates it, beside a client under test in
// the same process or alone in the tablehost program. It accepts the login
// and the framework frames as the game server does, seats the clients at one
// table whose other seats are bots, and relays the game between the clients
// and the referee. Tests reach in through the controls below: scripted
// frames, the login's answer, dropped connections and a hook on every frame
// received.

#include "platform/window/Messages.h"
#include "tools/tablehost/HostClient.h"
#include "tools/tablehost/HostListener.h"
#include "tools/tablehost/HostTable.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class CTableHost : private CHostClient::Owner, private CTableOutput {
public:
    struct Options {
        UINT port = 0; // 0: any free port
        bool listenP80 = false;
        UINT p80Port = 0; // with listenP80; 0: any free port
        uint16_t tableNumber = 1;
        CHostTable::Options table;
        int startWealth = 10000;
        // Sent as 0x23D right after an accepted login when 0 or more.
        int serverValue = -1;
        std::string serverText;
        // Snapshots (0x902, 25,632 bytes) go compressed.
        bool compressSnapshots = true;
        // A client whose unsent frames pass this is dropped.
        size_t maxQueuedBytes = 16u << 20;
        // When the unsent frames of all clients together would pass this, the
        // client holding the most is dropped.
        size_t maxTotalQueuedBytes = 64u << 20;
        // Connections beyond this drop the oldest one that has not logged in,
        // or are closed at once when every one has.
        size_t maxClients = 256;
        // Logins that would watch beyond this many watchers are refused.
        size_t maxWatchers = 64;
        // A connection that has not logged in after this long is dropped.
        UINT loginTimeoutMs = 30000;
        // Ignored frames logged per client; the rest are counted.
        int ignoredFramesLogged = 5;
        UINT tickMs = 1000;
        std::function<void(const std::string&)> log;
    };

    // How the host answers the next logins.
    enum class LoginAnswer { kAccept, kRefuseIllegalName, kRefuseNotNow, kNever };

    enum { kChargeAmount = 1000, kMaxCharges = 3 };

    explicit CTableHost(const Options& options);
    ~CTableHost() override;
    CTableHost(const CTableHost&) = delete;
    CTableHost& operator=(const CTableHost&) = delete;

    // Opens the listeners and starts the tick timer; false when a port
    // cannot be had.
    bool Start();
    UINT Port() const { return m_pListener ? m_pListener->Port() : 0; }
    UINT P80Port() const { return m_pP80Listener ? m_pP80Listener->Port() : 0; }

    void SetLoginAnswer(LoginAnswer answer) { m_LoginAnswer = answer; }

    // ---- Test controls -----------------------------------------------------
    // Sends any frame to a client, compressed on request (refused for the
    // link event). False when there is no such client or the frame is too big.
    bool SendFrameTo(int clientId, DWORD type, const std::vector<BYTE>& payload, DWORD result = 0,
                     bool compress = false);
    bool SendGameRecordTo(int clientId, const void* record, int length, bool compress = false);
    // 0xFFFFFFFF with the sub-code as result word and a NUL-terminated text.
    bool SendLinkEvent(int clientId, DWORD subCode, const std::string& text);
    // Closes the connection at once (reset: the client sees a reset).
    bool Drop(int clientId, bool reset = false);
    // Sees every frame received, before the host acts on it.
    std::function<void(int clientId, const tagMSGHEADER& header, const BYTE* payload)> onFrame;
    // Sees every frame queued for a client, with its payload before any
    // compression.
    std::function<void(int clientId, DWORD type, DWORD result, const BYTE* payload, size_t length)>
        onFrameQueued;

    // ---- Queries -----------------------------------------------------------
    std::vector<int> ClientIds() const;
    // The connected client that logged in with this name; -1 when none.
    int FindClient(const std::string& userName) const;
    bool IsConnected(int clientId) const;
    size_t QueuedBytes(int clientId) const;
    CHostTable& Table() { return *m_pTable; }
    // Called by the tick timer; a test may call it too.
    void Tick();

private:
    // CHostClient::Owner
    void OnClientFrame(CHostClient& client, const tagMSGHEADER& header,
                       const BYTE* payload) override;
    void OnClientGone(CHostClient& client) override;
    void OnClientLog(CHostClient& client, const std::string& line) override;
    // CTableOutput
    void SendRecord(int clientId, const void* record, int length) override;
    void SendFrame(int clientId, DWORD type, const std::vector<BYTE>& payload,
                   DWORD result) override;
    void Dismiss(int clientId) override;
    void Log(const std::string& line) override;

    void Accept(CHostListener& listener, bool p80);
    // Logs a client's ignored frame while it has not sent too many.
    void LogIgnored(CHostClient& client, const std::string& line);
    size_t Watchers() const;
    // Makes room for wire bytes under the total cap; false when the client
    // itself had to go.
    bool RoomForOutput(CHostClient& client, size_t bytes);
    void DropIdleLogins();
    // Makes room at the cap: drops the connection that has waited longest
    // for its login; false when every connection has logged in.
    bool DropOldestNewcomer();
    CHostClient* Find(int clientId) const;
    bool QueueFrame(CHostClient& client, DWORD type, const void* payload, size_t length,
                    DWORD result, bool compress);
    void HandleFrame(CHostClient& client, const tagMSGHEADER& header, const BYTE* payload);
    void HandlePortRequest(CHostClient& client, const BYTE* payload, size_t length);
    void HandleLogin(CHostClient& client, const BYTE* payload, size_t length);
    void Refuse(CHostClient& client, DWORD result);
    void HandleEntered(CHostClient& client);
    void HandleSeatChange(CHostClient& client, const BYTE* payload, size_t length);
    void HandleCharge(CHostClient& client);
    void HandleExchange(CHostClient& client, const BYTE* payload, size_t length);
    void Beans(CHostClient& client, int* beans, int* wealth) const;
    void SetBeans(CHostClient& client, int beans, int wealth);
    // Work left for when no handler runs: gone clients leave the table and
    // are freed.
    void Settle();
    static void CALLBACK TickProc(HWND, UINT, UINT_PTR id, DWORD);
    // While bots pause: lets those whose pause is over answer.
    static void CALLBACK PaceProc(HWND, UINT, UINT_PTR id, DWORD);
    void PaceBots();

    Options m_Options;
    LoginAnswer m_LoginAnswer = LoginAnswer::kAccept;
    std::unique_ptr<CHostListener> m_pListener;
    std::unique_ptr<CHostListener> m_pP80Listener;
    std::map<int, std::unique_ptr<CHostClient>> m_Clients;
    std::vector<std::unique_ptr<CHostClient>> m_Gone;
    std::unique_ptr<CHostTable> m_pTable;
    int m_nNextClientId = 1;
    int m_nDepth = 0;
    UINT_PTR m_nTimer = 0;
    UINT_PTR m_nPaceTimer = 0;
    // Refusals are logged once until the host is below its cap again.
    bool m_bClientCapLogged = false;
    enum { kEvictionsPerLogLine = 256 };
    int64_t m_nEvictions = 0;
    bool m_bWatcherCapLogged = false;
};
