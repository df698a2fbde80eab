#include "tools/tablehost/HostTable.h"

#include "platform/system/Clock.h"
#include "tools/tablehost/HostFrames.h"

#include <cstdio>
#include <strings.h>

using namespace tablehost;

namespace {

bool SameUser(const std::string& a, const std::string& b) {
    return strcasecmp(a.c_str(), b.c_str()) == 0;
}

std::vector<BYTE> SeatPayload(int seat) {
    std::vector<BYTE> payload(2, 0);
    PutHalf(payload, 0, uint16_t(seat));
    return payload;
}

} // namespace

CHostTable::CHostTable(const Options& options, CTableOutput& output)
    : m_Options(options), m_Output(output), m_PauseRandom(options.seed) {
    NewReferee();
}

CHostTable::~CHostTable() = default;

void CHostTable::NewReferee() {
    CTableDriver::Options driverOptions;
    driverOptions.rulesText = m_Options.rulesText;
    driverOptions.seed = m_Options.seed + uint32_t(m_nTables++);
    driverOptions.startBeans = m_Options.startBeans;
    driverOptions.style = m_Options.style;
    driverOptions.extraRuleFlags = m_Options.extraRuleFlags;
    // The referee's time-outs run on the process clock, which tests step.
    driverOptions.tickSource = [] { return uint32_t(GetTickCount()); };
    m_pDriver = std::make_unique<CTableDriver>(driverOptions);
    m_pDriver->onDeliver = [this](const CTableDriver::Sent& sent) { Route(sent); };
    m_pDriver->onHostCall = [this](const tagHOSTCALL& call) {
        if (call.nCode == kHostTrace && call.pData != nullptr)
            m_Output.Log(std::string("referee: ") + static_cast<const char*>(call.pData));
    };
    for (SeatState& seat : m_Seats)
        seat = SeatState{};
    for (uint32_t& question : m_nBotQuestion)
        question = 0;
    m_Watchers.clear();
    m_WatcherNames.clear();
    m_bSeated = false;
    if (m_Options.humanSeats <= 0)
        SeatEveryone();
}

CHostTable::SeatClaim CHostTable::ClaimSeat(int seat, const std::string& userName) const {
    if (seat < 0 || seat >= kSeatCount)
        return SeatClaim::kTaken;
    if (m_Reserved.count(seat))
        return SeatClaim::kTaken;
    const SeatState& state = m_Seats[seat];
    switch (state.kind) {
    case SeatState::kEmpty:
        return SeatClaim::kFree;
    case SeatState::kBot:
        return GameRunning() ? SeatClaim::kTaken : SeatClaim::kFree;
    case SeatState::kHuman:
        return state.broken && SameUser(state.userName, userName) ? SeatClaim::kReturn
                                                                  : SeatClaim::kTaken;
    }
    return SeatClaim::kTaken;
}

void CHostTable::ReserveSeat(int clientId, int seat) {
    if (seat >= 0 && seat < kSeatCount)
        m_Reserved[seat] = clientId;
}

std::vector<std::string> CHostTable::SeatNames() const {
    std::vector<std::string> names;
    for (int seat = 0; seat < kSeatCount; ++seat) {
        const SeatState& state = m_Seats[seat];
        names.push_back(state.kind == SeatState::kBot ? CTableDriver::BotName(seat)
                                                      : state.userName);
    }
    return names;
}

tagUSERINFO CHostTable::MakeUser(int seat, const SeatState& state) const {
    tagUSERINFO user{};
    snprintf(user.szUserName, sizeof(user.szUserName), "%s", state.userName.c_str());
    snprintf(user.szNickName, sizeof(user.szNickName), "%s", state.userName.c_str());
    user.nSeat = seat;
    user.nBeans = state.beans;
    user.nWealth = state.wealth;
    // Alternate seats speak in a man's and a woman's voice.
    user.nVoice = uint8_t(seat % 2);
    return user;
}

void CHostTable::Enter(int clientId, const std::string& userName, int seat, int beans, int wealth) {
    for (auto it = m_Reserved.begin(); it != m_Reserved.end();) {
        it = it->second == clientId ? m_Reserved.erase(it) : std::next(it);
    }
    if (seat < 0) {
        m_Output.Log("enter: no seat");
        return;
    }
    if (seat >= kSeatCount)
        WatcherEnters(clientId, userName, seat % kSeatCount);
    else
        PlayerEnters(clientId, userName, seat, beans, wealth);
    Settle();
}

void CHostTable::PlayerEnters(int clientId, const std::string& userName, int seat, int beans,
                              int wealth) {
    SeatState& state = m_Seats[seat];
    if (state.kind == SeatState::kHuman && state.broken && SameUser(state.userName, userName)) {
        // Back after a drop: the snapshot goes to it alone, the others hear.
        state.clientId = clientId;
        state.broken = false;
        m_nCurrentClient = clientId;
        m_pDriver->Dispatch(7, seat, 0);
        m_nCurrentClient = -1;
        SendToOthers(clientId, kFramePlayerBack, TextPayload(userName));
        return;
    }
    const bool botLeaves = state.kind == SeatState::kBot && !GameRunning();
    if (state.kind != SeatState::kEmpty && !botLeaves) {
        m_Output.Log("enter: seat " + std::to_string(seat) + " is taken");
        m_Output.SendFrame(clientId, kFrameTableDissolved, TextPayload("seat taken"));
        m_Output.Dismiss(clientId);
        return;
    }
    if (botLeaves)
        m_pDriver->Dispatch(2, 0, reinterpret_cast<intptr_t>(CTableDriver::BotName(seat).c_str()));
    state = SeatState{};
    state.kind = SeatState::kHuman;
    state.clientId = clientId;
    state.userName = userName;
    state.beans = beans;
    state.wealth = wealth;
    if (!m_bSeated) {
        if (HumansSeated() >= m_Options.humanSeats)
            SeatEveryone();
        return;
    }
    m_pDriver->SetHumanSeat(seat, true);
    m_pDriver->SeatUser(MakeUser(seat, state));
}

void CHostTable::WatcherEnters(int clientId, const std::string& userName, int seat) {
    m_Watchers[clientId] = seat;
    m_WatcherNames[clientId] = userName;
    tagWATCHERINFO watcher{};
    watcher.nSeat = seat;
    snprintf(watcher.user.szUserName, sizeof(watcher.user.szUserName), "%s", userName.c_str());
    watcher.user.nSeat = seat;
    watcher.user.nBeans = m_Options.startBeans;
    m_nCurrentClient = clientId;
    m_pDriver->Dispatch(3, 0, reinterpret_cast<intptr_t>(&watcher));
    m_nCurrentClient = -1;
}

void CHostTable::SeatEveryone() {
    m_bSeated = true;
    // Players first, so that the sixth seat, which makes the referee send
    // the table record, is a bot's whenever bots play.
    for (int seat = 0; seat < kSeatCount; ++seat) {
        if (m_Seats[seat].kind != SeatState::kHuman)
            continue;
        m_pDriver->SetHumanSeat(seat, true);
        m_pDriver->SeatUser(MakeUser(seat, m_Seats[seat]));
    }
    for (int seat = 0; seat < kSeatCount; ++seat) {
        if (m_Seats[seat].kind == SeatState::kEmpty)
            m_Seats[seat].kind = SeatState::kBot;
    }
    m_pDriver->SeatBots();
}

int CHostTable::HumansSeated() const {
    int count = 0;
    for (const SeatState& seat : m_Seats)
        count += seat.kind == SeatState::kHuman && !seat.broken && !seat.exited;
    return count;
}

bool CHostTable::GameRunning() const {
    return m_bSeated && m_pDriver->Referee().GetGameState() != kStateWaitStart;
}

int CHostTable::SeatOf(int clientId) const {
    for (int seat = 0; seat < kSeatCount && clientId >= 0; ++seat) {
        if (m_Seats[seat].kind == SeatState::kHuman && m_Seats[seat].clientId == clientId)
            return seat;
    }
    return -1;
}

int CHostTable::WatchedBy(int clientId) const {
    auto found = m_Watchers.find(clientId);
    return found == m_Watchers.end() ? -1 : found->second;
}

bool CHostTable::IsAtTable(int clientId) const {
    return SeatOf(clientId) >= 0 || WatchedBy(clientId) >= 0;
}

void CHostTable::GameRecord(int clientId, const BYTE* record, int length) {
    const int seat = SeatOf(clientId);
    if (seat < 0 || !m_bSeated || record == nullptr || length <= 0) {
        m_Output.Log("game record from a client without a seat at a full table: ignored");
        return;
    }
    m_pDriver->SendFromSeat(seat, std::vector<uint8_t>(record, record + length));
    Settle();
}

void CHostTable::Leave(int clientId) {
    const int seat = SeatOf(clientId);
    if (seat >= 0 && GameRunning()) {
        // The game goes on without it: the referee plays for the seat.
        Dropped(clientId);
        return;
    }
    if (seat >= 0) {
        SeatGoes(seat);
        Settle();
        return;
    }
    Dropped(clientId);
}

void CHostTable::SeatGoes(int seat) {
    SeatState state = m_Seats[seat];
    m_Seats[seat] = SeatState{};
    if (!m_bSeated)
        return;
    m_pDriver->Dispatch(2, 0, reinterpret_cast<intptr_t>(state.userName.c_str()));
    SendToOthers(state.clientId, kFrameSeatLeft, SeatPayload(seat));
    if (m_Options.humanSeats > 0 && HumansSeated() == 0) {
        Dissolve();
        return;
    }
    m_Seats[seat].kind = SeatState::kBot;
    m_pDriver->SeatBot(seat);
}

void CHostTable::Dropped(int clientId) {
    for (auto it = m_Reserved.begin(); it != m_Reserved.end();) {
        it = it->second == clientId ? m_Reserved.erase(it) : std::next(it);
    }
    if (WatchedBy(clientId) >= 0) {
        tagWATCHERINFO watcher{};
        watcher.nSeat = m_Watchers[clientId];
        snprintf(watcher.user.szUserName, sizeof(watcher.user.szUserName), "%s",
                 m_WatcherNames[clientId].c_str());
        m_Watchers.erase(clientId);
        m_WatcherNames.erase(clientId);
        m_pDriver->Dispatch(4, 0, reinterpret_cast<intptr_t>(&watcher));
        return;
    }
    const int seat = SeatOf(clientId);
    if (seat < 0)
        return;
    SeatState& state = m_Seats[seat];
    state.clientId = -1;
    if (!m_bSeated) {
        state = SeatState{};
        return;
    }
    if (state.exited || state.broken)
        return;
    state.broken = true;
    SendToOthers(-1, kFramePlayerBreak, TextPayload(state.userName));
    m_pDriver->Dispatch(6, seat, 0);
    Settle();
}

void CHostTable::TrustExit(int clientId) {
    const int seat = SeatOf(clientId);
    if (seat < 0 || !m_bSeated) {
        Leave(clientId);
        return;
    }
    m_Seats[seat].exited = true;
    m_pDriver->Dispatch(9, seat, 0);
    Settle();
}

bool CHostTable::Kick(int kickerId, const std::string& userName) {
    if (SeatOf(kickerId) < 0 || GameRunning()) {
        m_Output.Log("kick of " + userName + " refused: not a player, or a game runs");
        return false;
    }
    for (int seat = 0; seat < kSeatCount; ++seat) {
        const SeatState& state = m_Seats[seat];
        if (state.kind != SeatState::kHuman || state.clientId == kickerId ||
            !SameUser(state.userName, userName))
            continue;
        if (state.clientId >= 0) {
            m_Output.SendFrame(state.clientId, kFrameLinkEvent, TextPayload(userName),
                               kLinkKickedOut);
            m_Output.Dismiss(state.clientId);
        }
        SeatGoes(seat);
        Settle();
        return true;
    }
    m_Output.Log("kick of " + userName + " refused: no such player");
    return false;
}

CHostTable::SeatChange CHostTable::ChangeSeat(int clientId, int seat, bool watch,
                                              const std::function<void(const SeatChange&)>& reply) {
    SeatChange change;
    const int watched = WatchedBy(clientId);
    const int own = SeatOf(clientId);
    change.seat = own >= 0 ? own : std::max(watched, 0);
    change.watcher = watched >= 0;
    if (watched >= 0 && watch && seat >= 0) {
        // Another seat to watch: its snapshot follows the reply.
        change = SeatChange{true, seat % kSeatCount, true};
        reply(change);
        const std::string name = m_WatcherNames[clientId];
        Dropped(clientId);
        WatcherEnters(clientId, name, change.seat);
        Settle();
        return change;
    }
    // A watcher sits down on a seat left empty while no game runs.
    if (watched >= 0 && !watch && seat >= 0 && seat < kSeatCount && m_bSeated && !GameRunning() &&
        m_Seats[seat].kind == SeatState::kEmpty && !m_Reserved.count(seat)) {
        change = SeatChange{true, seat, false};
        reply(change);
        const std::string name = m_WatcherNames[clientId];
        Dropped(clientId);
        SeatState& state = m_Seats[seat];
        state = SeatState{};
        state.kind = SeatState::kHuman;
        state.clientId = clientId;
        state.userName = name;
        state.beans = m_Options.startBeans;
        m_pDriver->SetHumanSeat(seat, true);
        m_pDriver->SeatUser(MakeUser(seat, state));
        Settle();
        return change;
    }
    // A player may move only while the table waits for its players.
    if (own >= 0 && !watch && !m_bSeated && seat >= 0 && seat < kSeatCount &&
        m_Seats[seat].kind == SeatState::kEmpty && !m_Reserved.count(seat)) {
        m_Seats[seat] = m_Seats[own];
        m_Seats[own] = SeatState{};
        change = SeatChange{true, seat, false};
    }
    reply(change);
    return change;
}

bool CHostTable::BotLeaves(int seat) {
    if (seat < 0 || seat >= kSeatCount || !m_bSeated || m_Seats[seat].kind != SeatState::kBot ||
        GameRunning())
        return false;
    m_Seats[seat] = SeatState{};
    // Nobody plays the seat until someone sits down.
    m_pDriver->SetHumanSeat(seat, true);
    m_pDriver->Dispatch(2, 0, reinterpret_cast<intptr_t>(CTableDriver::BotName(seat).c_str()));
    SendToOthers(-1, kFrameSeatLeft, SeatPayload(seat));
    return true;
}

bool CHostTable::GetUser(int clientId, tagUSERINFO& user) const {
    const int seat = SeatOf(clientId);
    if (seat < 0 || !m_bSeated)
        return false;
    user = m_pDriver->Referee().GetUserInfo(seat);
    return true;
}

void CHostTable::UpdateUser(int clientId, int beans, int wealth) {
    const int seat = SeatOf(clientId);
    if (seat < 0)
        return;
    m_Seats[seat].beans = beans;
    m_Seats[seat].wealth = wealth;
    if (!m_bSeated)
        return;
    tagUSERINFO user = m_pDriver->Referee().GetUserInfo(seat);
    user.nBeans = beans;
    user.nWealth = wealth;
    m_pDriver->Dispatch(10, 0x1 | 0x4, reinterpret_cast<intptr_t>(&user));
    Settle();
}

void CHostTable::Tick() {
    if (!m_bSeated || m_pDriver->IsClosed())
        return;
    // Time-outs only count once the table is full; earlier a tick would
    // start a game with empty seats.
    for (int seat = 0; seat < kSeatCount; ++seat) {
        if (!m_pDriver->Referee().IsSeatTaken(seat))
            return;
    }
    tagTIMETICKMSG tick;
    InitTimeTickMsg(tick);
    const auto* bytes = reinterpret_cast<const uint8_t*>(&tick);
    m_pDriver->SendFromSeat(0, std::vector<uint8_t>(bytes, bytes + sizeof tick));
    Settle();
}

void CHostTable::Route(const CTableDriver::Sent& sent) {
    const void* record = sent.record.data();
    const int length = int(sent.record.size());
    auto toSeat = [&](int seat) {
        if (seat >= 0 && seat < kSeatCount && m_Seats[seat].kind == SeatState::kHuman &&
            m_Seats[seat].clientId >= 0)
            m_Output.SendRecord(m_Seats[seat].clientId, record, length);
    };
    switch (sent.code) {
    case kHostSendToAll:
        for (int seat = 0; seat < kSeatCount; ++seat)
            toSeat(seat);
        for (const auto& [client, seat] : m_Watchers)
            m_Output.SendRecord(client, record, length);
        break;
    case kHostSendForwarded:
    case kHostSendToSeat:
        toSeat(sent.param);
        break;
    case kHostSendToWatchers:
        for (const auto& [client, seat] : m_Watchers) {
            if (seat == sent.param)
                m_Output.SendRecord(client, record, length);
        }
        break;
    case kHostSendSnapshot:
        if (m_nCurrentClient >= 0)
            m_Output.SendRecord(m_nCurrentClient, record, length);
        break;
    default:
        break;
    }
}

void CHostTable::SendToOthers(int exceptClient, DWORD type, const std::vector<BYTE>& payload) {
    for (const SeatState& seat : m_Seats) {
        if (seat.kind == SeatState::kHuman && seat.clientId >= 0 && seat.clientId != exceptClient)
            m_Output.SendFrame(seat.clientId, type, payload);
    }
    for (const auto& [client, seat] : m_Watchers) {
        if (client != exceptClient)
            m_Output.SendFrame(client, type, payload);
    }
}

void CHostTable::Settle() {
    if (m_nDepth > 0)
        return;
    ++m_nDepth;
    if (m_bSeated && !m_pDriver->IsClosed()) {
        if (m_Options.botPauseMs > 0) {
            for (int actions = 0; actions < m_Options.maxBotActionsPerTurn && ActOnePacedBot();)
                ++actions;
        } else {
            m_pDriver->RunBots(m_Options.maxBotActionsPerTurn);
        }
    }
    --m_nDepth;
    if (m_pDriver->IsClosed())
        Dissolve();
}

void CHostTable::PaceBots() {
    Settle();
}

uint32_t CHostTable::BotPause() {
    const uint32_t pause = uint32_t(m_Options.botPauseMs);
    const uint32_t spread = pause / 3;
    return pause - spread + (spread > 0 ? m_PauseRandom() % (2 * spread + 1) : 0);
}

// A bot starts to think when the table asks it something new and answers
// once its pause is over; bots asked at the same time think side by side.
bool CHostTable::ActOnePacedBot() {
    const uint32_t now = GetTickCount();
    for (int seat = 0; seat < kSeatCount; ++seat) {
        const uint32_t question = m_pDriver->BotQuestion(seat);
        if (question != m_nBotQuestion[seat])
            m_nBotAnswerAt[seat] = now + BotPause();
        m_nBotQuestion[seat] = question;
    }
    for (int k = 0; k < kSeatCount; ++k) {
        const int seat = (m_nNextPacedBot + k) % kSeatCount;
        if (m_nBotQuestion[seat] == 0 || int32_t(now - m_nBotAnswerAt[seat]) < 0)
            continue;
        // Asked again after it answered, the seat thinks again.
        m_nBotQuestion[seat] = 0;
        m_nNextPacedBot = (seat + 1) % kSeatCount;
        if (m_pDriver->ActBot(seat))
            return true;
    }
    return false;
}

void CHostTable::Dissolve() {
    m_Output.Log("table dissolved");
    std::vector<int> clients;
    for (const SeatState& seat : m_Seats) {
        if (seat.kind == SeatState::kHuman && seat.clientId >= 0)
            clients.push_back(seat.clientId);
    }
    for (const auto& [client, seat] : m_Watchers)
        clients.push_back(client);
    for (int client : clients) {
        m_Output.SendFrame(client, kFrameTableDissolved, TextPayload("table dissolved"));
        m_Output.Dismiss(client);
    }
    ++m_nDissolved;
    NewReferee();
}
