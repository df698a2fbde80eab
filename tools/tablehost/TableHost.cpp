#include "tools/tablehost/TableHost.h"

#include "platform/system/Clock.h"
#include "platform/window/Messages.h"

#include <cstdio>
#include <netinet/tcp.h>
#include <strings.h>

using namespace tablehost;

namespace {

// The tick timer's procedure finds its host by the timer id.
std::map<UINT_PTR, CTableHost*>& TimerHosts() {
    static std::map<UINT_PTR, CTableHost*> hosts;
    return hosts;
}

// How often paused bots are looked at: well below a pause.
constexpr UINT kBotPaceMs = 50;

std::string Hex(DWORD value) {
    char text[16];
    snprintf(text, sizeof text, "0x%X", value);
    return text;
}

} // namespace

CTableHost::CTableHost(const Options& options)
    : m_Options(options),
      m_pTable(std::make_unique<CHostTable>(options.table, static_cast<CTableOutput&>(*this))) {}

CTableHost::~CTableHost() {
    for (UINT_PTR timer : {m_nTimer, m_nPaceTimer}) {
        if (timer != 0) {
            KillTimer(nullptr, timer);
            TimerHosts().erase(timer);
        }
    }
    m_pTable.reset();
    m_Clients.clear();
    m_Gone.clear();
}

bool CTableHost::Start() {
    m_pListener = std::make_unique<CHostListener>(
        [this](CHostListener& listener) { Accept(listener, false); });
    if (!m_pListener->Open(m_Options.port)) {
        Log("cannot listen on port " + std::to_string(m_Options.port));
        return false;
    }
    if (m_Options.listenP80) {
        m_pP80Listener = std::make_unique<CHostListener>(
            [this](CHostListener& listener) { Accept(listener, true); });
        if (!m_pP80Listener->Open(m_Options.p80Port)) {
            Log("cannot listen on P80 port " + std::to_string(m_Options.p80Port));
            return false;
        }
    }
    m_nTimer = SetTimer(nullptr, 0, m_Options.tickMs, &CTableHost::TickProc);
    if (m_nTimer != 0)
        TimerHosts()[m_nTimer] = this;
    if (m_Options.table.botPauseMs > 0) {
        m_nPaceTimer = SetTimer(nullptr, 0, kBotPaceMs, &CTableHost::PaceProc);
        if (m_nPaceTimer != 0)
            TimerHosts()[m_nPaceTimer] = this;
    }
    Log("listening on 127.0.0.1:" + std::to_string(Port()) +
        (m_pP80Listener ? ", P80 port " + std::to_string(P80Port()) : std::string()));
    return true;
}

void CALLBACK CTableHost::TickProc(HWND, UINT, UINT_PTR id, DWORD) {
    auto found = TimerHosts().find(id);
    if (found != TimerHosts().end())
        found->second->Tick();
}

void CALLBACK CTableHost::PaceProc(HWND, UINT, UINT_PTR id, DWORD) {
    auto found = TimerHosts().find(id);
    if (found != TimerHosts().end())
        found->second->PaceBots();
}

void CTableHost::PaceBots() {
    ++m_nDepth;
    m_pTable->PaceBots();
    --m_nDepth;
    Settle();
}

void CTableHost::Tick() {
    ++m_nDepth;
    DropIdleLogins();
    m_pTable->Tick();
    --m_nDepth;
    Settle();
}

void CTableHost::DropIdleLogins() {
    const uint32_t now = GetTickCount();
    for (auto& [id, client] : m_Clients) {
        if (!client->IsGone() && client->session.state == CHostClient::Session::kNew &&
            now - client->session.connectedAt >= m_Options.loginTimeoutMs) {
            Log("client " + std::to_string(id) + ": no login in " +
                std::to_string(m_Options.loginTimeoutMs / 1000) + " s: dropped");
            client->Drop(false);
        }
    }
}

bool CTableHost::DropOldestNewcomer() {
    // Ids grow with each accept: the first connection still waiting for its
    // login is the one that has waited longest.
    for (auto& [id, client] : m_Clients) {
        if (client->IsGone() || client->session.state != CHostClient::Session::kNew)
            continue;
        // Every drop is counted but only the first, then one in
        // kEvictionsPerLogLine, is logged: connections that come again and
        // again do not flood the log.
        if (m_nEvictions++ % kEvictionsPerLogLine == 0)
            Log("client " + std::to_string(id) + ": no login yet, dropped to admit a new " +
                "connection (" + std::to_string(m_Options.maxClients) + " clients already, " +
                std::to_string(m_nEvictions) + " dropped so)");
        client->Drop(false);
        return true;
    }
    return false;
}

void CTableHost::Accept(CHostListener& listener, bool p80) {
    if (ClientIds().size() >= m_Options.maxClients && !DropOldestNewcomer()) {
        // Every connection has logged in. Taken off the queue and closed, so
        // the queue does not fill up.
        CAsyncSocket refused;
        if (listener.Accept(refused))
            refused.Close();
        if (!m_bClientCapLogged)
            Log("connections refused: " + std::to_string(m_Options.maxClients) +
                " clients logged in already");
        m_bClientCapLogged = true;
        return;
    }
    m_bClientCapLogged = false;
    const int id = m_nNextClientId++;
    auto client = std::make_unique<CHostClient>(id, static_cast<CHostClient::Owner&>(*this),
                                                m_Options.maxQueuedBytes);
    if (!listener.Accept(*client)) {
        Log("accept failed, error " + std::to_string(WSAGetLastError()));
        return;
    }
    client->AsyncSelect(FD_READ | FD_WRITE | FD_CLOSE);
    // Records are small and answered at once: no waiting to fill a segment.
    const int on = 1;
    client->SetSockOpt(TCP_NODELAY, &on, sizeof on, IPPROTO_TCP);
    client->session.viaP80 = p80;
    client->session.beans = m_Options.table.startBeans;
    client->session.wealth = m_Options.startWealth;
    client->session.connectedAt = GetTickCount();
    m_Clients[id] = std::move(client);
    Log("client " + std::to_string(id) + " connected" + (p80 ? " on the P80 port" : ""));
}

CHostClient* CTableHost::Find(int clientId) const {
    auto found = m_Clients.find(clientId);
    return found == m_Clients.end() || found->second->IsGone() ? nullptr : found->second.get();
}

std::vector<int> CTableHost::ClientIds() const {
    std::vector<int> ids;
    for (const auto& [id, client] : m_Clients) {
        if (!client->IsGone())
            ids.push_back(id);
    }
    return ids;
}

int CTableHost::FindClient(const std::string& userName) const {
    for (const auto& [id, client] : m_Clients) {
        const CHostClient::Session& session = client->session;
        const bool admitted = session.state == CHostClient::Session::kLoggedIn ||
                              session.state == CHostClient::Session::kAtTable;
        if (!client->IsGone() && admitted &&
            strcasecmp(session.login.userName.c_str(), userName.c_str()) == 0)
            return id;
    }
    return -1;
}

bool CTableHost::IsConnected(int clientId) const {
    return Find(clientId) != nullptr;
}

size_t CTableHost::QueuedBytes(int clientId) const {
    const CHostClient* client = Find(clientId);
    return client ? client->QueuedBytes() : 0;
}

// ---- Sending ------------------------------------------------------------------

bool CTableHost::QueueFrame(CHostClient& client, DWORD type, const void* payload, size_t length,
                            DWORD result, bool compress) {
    std::vector<BYTE> wire = compress ? EncodeCompressedFrame(type, payload, length, result)
                                      : EncodeHostFrame(type, payload, length, result);
    if (wire.empty()) {
        Log("frame " + Hex(type) + " of " + std::to_string(length) +
            " bytes cannot be sent: too large" + (compress ? " or not compressible" : ""));
        return false;
    }
    if (!RoomForOutput(client, wire.size()) || !client.Queue(std::move(wire)))
        return false;
    if (onFrameQueued)
        onFrameQueued(client.Id(), type, result, static_cast<const BYTE*>(payload), length);
    return true;
}

bool CTableHost::RoomForOutput(CHostClient& client, size_t bytes) {
    size_t total = bytes;
    CHostClient* largest = &client;
    for (const auto& [id, other] : m_Clients) {
        if (other->IsGone())
            continue;
        total += other->QueuedBytes();
        if (other->QueuedBytes() > largest->QueuedBytes())
            largest = other.get();
    }
    if (total <= m_Options.maxTotalQueuedBytes)
        return true;
    Log("client " + std::to_string(largest->Id()) + ": not reading, " +
        std::to_string(largest->QueuedBytes()) +
        " bytes queued while the host's output is full: " + "dropped");
    largest->Drop(false);
    return largest != &client;
}

size_t CTableHost::Watchers() const {
    size_t count = 0;
    for (const auto& [id, client] : m_Clients) {
        const CHostClient::Session& session = client->session;
        const bool admitted = session.state == CHostClient::Session::kLoggedIn ||
                              session.state == CHostClient::Session::kAtTable;
        count += !client->IsGone() && admitted && session.login.seat >= kSeatCount;
    }
    return count;
}

void CTableHost::LogIgnored(CHostClient& client, const std::string& line) {
    const int count = ++client.session.ignoredFrames;
    if (count <= m_Options.ignoredFramesLogged)
        Log(line);
    if (count == m_Options.ignoredFramesLogged)
        Log("client " + std::to_string(client.Id()) + ": further ignored frames not logged");
}

bool CTableHost::SendFrameTo(int clientId, DWORD type, const std::vector<BYTE>& payload,
                             DWORD result, bool compress) {
    CHostClient* client = Find(clientId);
    ++m_nDepth;
    const bool sent = client != nullptr &&
                      QueueFrame(*client, type, payload.data(), payload.size(), result, compress);
    --m_nDepth;
    Settle();
    return sent;
}

bool CTableHost::SendGameRecordTo(int clientId, const void* record, int length, bool compress) {
    if (record == nullptr || length < 0)
        return false;
    const auto* bytes = static_cast<const BYTE*>(record);
    return SendFrameTo(clientId, kFrameGameRecord, std::vector<BYTE>(bytes, bytes + length), 0,
                       compress);
}

bool CTableHost::SendLinkEvent(int clientId, DWORD subCode, const std::string& text) {
    return SendFrameTo(clientId, kFrameLinkEvent, TextPayload(text), subCode);
}

bool CTableHost::Drop(int clientId, bool reset) {
    CHostClient* client = Find(clientId);
    if (client == nullptr)
        return false;
    ++m_nDepth;
    client->Drop(reset);
    --m_nDepth;
    Settle();
    return true;
}

void CTableHost::SendRecord(int clientId, const void* record, int length) {
    CHostClient* client = Find(clientId);
    if (client == nullptr)
        return;
    int id = 0;
    PeekGameRecordId(record, length, &id);
    QueueFrame(*client, kFrameGameRecord, record, size_t(length), 0,
               m_Options.compressSnapshots && id == kMsgSnapshot);
}

void CTableHost::SendFrame(int clientId, DWORD type, const std::vector<BYTE>& payload,
                           DWORD result) {
    if (CHostClient* client = Find(clientId))
        QueueFrame(*client, type, payload.data(), payload.size(), result, false);
}

void CTableHost::Dismiss(int clientId) {
    if (CHostClient* client = Find(clientId)) {
        client->session.state = CHostClient::Session::kDismissed;
        client->CloseAfterFlush();
    }
}

void CTableHost::Log(const std::string& line) {
    if (m_Options.log)
        m_Options.log(line);
}

// ---- Receiving ----------------------------------------------------------------

void CTableHost::OnClientLog(CHostClient& client, const std::string& line) {
    Log("client " + std::to_string(client.Id()) + ": " + line);
}

void CTableHost::OnClientGone(CHostClient& client) {
    const int ignored = client.session.ignoredFrames;
    Log("client " + std::to_string(client.Id()) + " gone" +
        (ignored > m_Options.ignoredFramesLogged
             ? ", " + std::to_string(ignored) + " frames ignored in all"
             : std::string()));
    Settle();
}

void CTableHost::OnClientFrame(CHostClient& client, const tagMSGHEADER& header,
                               const BYTE* payload) {
    ++m_nDepth;
    if (onFrame)
        onFrame(client.Id(), header, payload);
    if (!client.IsGone())
        HandleFrame(client, header, payload);
    --m_nDepth;
    Settle();
}

void CTableHost::HandleFrame(CHostClient& client, const tagMSGHEADER& header, const BYTE* payload) {
    using Session = CHostClient::Session;
    Session& session = client.session;
    const DWORD type = header.type;
    const size_t length = header.length;
    const std::string who = "client " + std::to_string(client.Id()) + ": ";
    if (type & (kFrameReply | kFrameCompressed)) {
        LogIgnored(client, who + "frame " + Hex(type) + " is not a client's: ignored");
        return;
    }
    switch (session.state) {
    case Session::kNew:
        if (type == kFramePortRequest && !session.portAsked) {
            HandlePortRequest(client, payload, length);
        } else if (type == kFrameLogin) {
            if (session.viaP80 && !session.portAsked) {
                Log(who + "login on the P80 port without 0x663 first: dropped");
                client.Drop(false);
                return;
            }
            HandleLogin(client, payload, length);
        } else {
            LogIgnored(client, who + "frame " + Hex(type) + " before the login: ignored");
        }
        return;
    case Session::kRefused:
    case Session::kDismissed:
        return;
    case Session::kLoggedIn:
        if (type == kFrameEntered) {
            HandleEntered(client);
        } else if (type == kFrameLeave || type == kFrameEscape) {
            m_pTable->Dropped(client.Id());
            session.state = Session::kDismissed;
            client.CloseAfterFlush();
        } else if (type != kFrameKeepAlive) {
            LogIgnored(client, who + "frame " + Hex(type) + " before 0x208: ignored");
        }
        return;
    case Session::kAtTable:
        break;
    }
    switch (type) {
    case kFrameKeepAlive:
        return; // never answered
    case kFrameLeave:
    case kFrameEscape:
        m_pTable->Leave(client.Id());
        session.state = Session::kDismissed;
        client.CloseAfterFlush();
        return;
    case kFrameGameRecord:
        m_pTable->GameRecord(client.Id(), payload, int(length));
        return;
    case kFrameTrustExit:
        if (length < 20)
            Log(who + "short trusteeship exit (name missing)");
        m_pTable->TrustExit(client.Id());
        return;
    case kFrameKick:
        if (length < 20) {
            LogIgnored(client, who + "short stand-up frame: ignored");
            return;
        }
        m_pTable->Kick(client.Id(), GetTextField(payload, 20));
        return;
    case kFrameSeatChange:
        HandleSeatChange(client, payload, length);
        return;
    case kFrameCharge:
        HandleCharge(client);
        return;
    case kFrameExchange:
        HandleExchange(client, payload, length);
        return;
    case kFrameEntered:
        return;
    default:
        LogIgnored(client, who + "frame " + Hex(type) + " not served: ignored");
        return;
    }
}

void CTableHost::HandlePortRequest(CHostClient& client, const BYTE* payload, size_t length) {
    client.session.portAsked = true;
    if (length < 8) {
        Log("client " + std::to_string(client.Id()) + ": short 0x663: dropped");
        client.Drop(false);
        return;
    }
    const DWORD port = ReadWireWord(payload);
    if (port != Port()) {
        Log("client " + std::to_string(client.Id()) + ": asks for game port " +
            std::to_string(port) + ", served here is " + std::to_string(Port()) + ": dropped");
        client.Drop(false);
    }
}

void CTableHost::Refuse(CHostClient& client, DWORD result) {
    // The client closes the connection itself once it has read the refusal.
    client.session.state = CHostClient::Session::kRefused;
    QueueFrame(client, kFrameLoginReply, nullptr, 0, result, false);
}

void CTableHost::HandleLogin(CHostClient& client, const BYTE* payload, size_t length) {
    const std::string who = "client " + std::to_string(client.Id()) + ": ";
    LoginRequest request;
    const LoginFault fault = ParseLoginRequest(payload, length, request);
    if (fault != LoginFault::kNone) {
        Log(who + "bad login: " + LoginFaultText(fault));
        Refuse(client, fault == LoginFault::kUserName ? kLoginIllegalName : kLoginNotNow);
        return;
    }
    Log(who + "login " + request.userName + ", seat " + std::to_string(request.seat));
    switch (m_LoginAnswer) {
    case LoginAnswer::kNever:
        client.session.state = CHostClient::Session::kRefused;
        Log(who + "login left unanswered");
        return;
    case LoginAnswer::kRefuseIllegalName:
        Refuse(client, kLoginIllegalName);
        return;
    case LoginAnswer::kRefuseNotNow:
        Refuse(client, kLoginNotNow);
        return;
    case LoginAnswer::kAccept:
        break;
    }
    if (FindClient(request.userName) >= 0) {
        Log(who + request.userName + " is already at the table: refused");
        Refuse(client, kLoginNotNow);
        return;
    }
    const int seat = request.seat;
    if (seat >= kSeatCount) {
        if (Watchers() >= m_Options.maxWatchers) {
            if (!m_bWatcherCapLogged)
                Log(who + "watchers refused: " + std::to_string(m_Options.maxWatchers) +
                    " watch already");
            m_bWatcherCapLogged = true;
            Refuse(client, kLoginNotNow);
            return;
        }
        m_bWatcherCapLogged = false;
    }
    if (seat < kSeatCount) {
        if (m_pTable->ClaimSeat(seat, request.userName) == CHostTable::SeatClaim::kTaken) {
            Log(who + "seat " + std::to_string(seat) + " is taken: refused");
            Refuse(client, kLoginNotNow);
            return;
        }
        m_pTable->ReserveSeat(client.Id(), seat);
    }
    client.session.login = request;
    client.session.state = CHostClient::Session::kLoggedIn;
    std::vector<PlayerRecord> players;
    const std::vector<std::string> names = m_pTable->SeatNames();
    for (int s = 0; s < kSeatCount; ++s)
        players.push_back(PlayerRecord{s == seat ? request.userName : names[s]});
    const std::vector<BYTE> reply = BuildLoginReply(m_Options.tableNumber, players);
    QueueFrame(client, kFrameLoginReply, reply.data(), reply.size(), kLoginAccepted, false);
    if (m_Options.serverValue >= 0) {
        std::vector<BYTE> value(4, 0);
        PutWord(value, 0, DWORD(m_Options.serverValue));
        if (!m_Options.serverText.empty()) {
            const std::vector<BYTE> text = TextPayload(m_Options.serverText);
            value.insert(value.end(), text.begin(), text.end());
        }
        QueueFrame(client, kFrameServerValue, value.data(), value.size(), 0, false);
    }
}

void CTableHost::HandleEntered(CHostClient& client) {
    CHostClient::Session& session = client.session;
    session.state = CHostClient::Session::kAtTable;
    Log("client " + std::to_string(client.Id()) + " entered");
    m_pTable->Enter(client.Id(), session.login.userName, session.login.seat, session.beans,
                    session.wealth);
}

void CTableHost::HandleSeatChange(CHostClient& client, const BYTE* payload, size_t length) {
    if (length < 12) {
        Log("client " + std::to_string(client.Id()) + ": short seat change: ignored");
        return;
    }
    const int seat = payload[4];
    const bool watch = ReadWireWord(payload + 8) != 0;
    m_pTable->ChangeSeat(client.Id(), seat, watch, [&](const CHostTable::SeatChange& change) {
        if (change.ok)
            client.session.login.seat =
                uint16_t(change.watcher ? change.seat + kSeatCount : change.seat);
        std::vector<BYTE> reply(8 + 40, 0);
        reply[0] = BYTE(change.seat);
        PutWord(reply, 4, change.watcher ? 1 : 0);
        PutTextField(&reply[8], 40, client.session.login.room);
        QueueFrame(client, kFrameSeatChangeReply, reply.data(), reply.size(), change.ok ? 1 : 0,
                   false);
    });
}

void CTableHost::Beans(CHostClient& client, int* beans, int* wealth) const {
    tagUSERINFO user;
    if (m_pTable->GetUser(client.Id(), user)) {
        *beans = user.nBeans;
        *wealth = user.nWealth;
    } else {
        *beans = client.session.beans;
        *wealth = client.session.wealth;
    }
}

void CTableHost::SetBeans(CHostClient& client, int beans, int wealth) {
    client.session.beans = beans;
    client.session.wealth = wealth;
    m_pTable->UpdateUser(client.Id(), beans, wealth);
}

void CTableHost::HandleCharge(CHostClient& client) {
    int beans = 0, wealth = 0;
    Beans(client, &beans, &wealth);
    std::vector<BYTE> reply(44, 0);
    PutTextField(&reply[0], 20, client.session.login.userName);
    CHostClient::Session& session = client.session;
    if (session.charges >= kMaxCharges) {
        // Failure values sit at 24, 30 and 40 when the selector at 42 is 0.
        PutWord(reply, 24, DWORD(beans));
        PutHalf(reply, 30, uint16_t(session.charges));
        PutHalf(reply, 40, kMaxCharges);
        QueueFrame(client, kFrameChargeReply, reply.data(), reply.size(), 2, false);
        return;
    }
    ++session.charges;
    beans += kChargeAmount;
    PutWord(reply, 32, DWORD(beans));
    PutWord(reply, 36, DWORD(kChargeAmount));
    PutHalf(reply, 40, uint16_t(session.charges));
    // The reply goes out before the referee's record of the new beans.
    QueueFrame(client, kFrameChargeReply, reply.data(), reply.size(), 0, false);
    SetBeans(client, beans, wealth);
}

void CTableHost::HandleExchange(CHostClient& client, const BYTE* payload, size_t length) {
    if (length < 4) {
        Log("client " + std::to_string(client.Id()) + ": short exchange: ignored");
        return;
    }
    const DWORD amount = ReadWireWord(payload) & 0x7FFFFFFF;
    int beans = 0, wealth = 0;
    Beans(client, &beans, &wealth);
    const bool ok = amount != 0 && amount <= DWORD(std::max(wealth, 0));
    if (ok) {
        wealth -= int(amount);
        beans += int(amount);
    }
    std::vector<BYTE> reply(28, 0);
    PutTextField(&reply[0], 20, client.session.login.userName);
    PutWord(reply, 20, DWORD(beans));
    PutWord(reply, 24, DWORD(wealth));
    QueueFrame(client, kFrameExchangeReply, reply.data(), reply.size(), ok ? 1 : 2, false);
    if (ok)
        SetBeans(client, beans, wealth);
}

void CTableHost::Settle() {
    if (m_nDepth > 0)
        return;
    ++m_nDepth;
    bool again = true;
    while (again) {
        again = false;
        for (auto it = m_Clients.begin(); it != m_Clients.end(); ++it) {
            if (!it->second->IsGone())
                continue;
            std::unique_ptr<CHostClient> gone = std::move(it->second);
            m_Clients.erase(it);
            // Leaving the table may send frames that fail other clients.
            m_pTable->Dropped(gone->Id());
            m_Gone.push_back(std::move(gone));
            again = true;
            break;
        }
    }
    // A client inside its own notification is freed on a later turn.
    std::erase_if(m_Gone,
                  [](const std::unique_ptr<CHostClient>& client) { return !client->IsBusy(); });
    --m_nDepth;
}
