#include "tools/tablehost/TableDriver.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>

namespace {

// The host callback is a plain function: the owner id finds the driver.
std::mutex& RegistryLock() {
    static std::mutex lock;
    return lock;
}
std::map<int, CTableDriver*>& Registry() {
    static std::map<int, CTableDriver*> drivers;
    return drivers;
}
std::atomic<int> g_nNextOwnerId{1};

} // namespace

CTableDriver::CTableDriver(const Options& options)
    : m_Options(options), m_nOwnerId(g_nNextOwnerId++), m_pReferee(std::make_unique<CGameLogic>()) {
    {
        std::lock_guard<std::mutex> lock(RegistryLock());
        Registry()[m_nOwnerId] = this;
    }
    CGameLogic& referee = *m_pReferee;
    referee.SetOwnerId(m_nOwnerId);
    referee.SetHostCallback(&CTableDriver::HostCallback);
    referee.SetRandomSource(std::make_unique<CSeededRandom>(options.seed));
    if (options.tickSource)
        referee.m_TimeLimits.SetTickSource(options.tickSource);
    else
        referee.m_TimeLimits.SetTickSource([this] { return m_nNow; });
    referee.Dispatch(0, kPropRulesText, reinterpret_cast<intptr_t>(options.rulesText.c_str()));
    referee.SetRuleFlags(referee.GetRuleFlags() | options.extraRuleFlags);
    referee.GetTableHead().nRuleFlags = int32_t(referee.GetRuleFlags());
    int rate = options.beanRate;
    referee.Dispatch(0, kPropBeanRate, reinterpret_cast<intptr_t>(&rate));
    for (int seat = 0; seat < kSeatCount; ++seat)
        m_Bots.push_back(
            std::make_unique<CBotSeat>(seat, options.seed * 7919u + seat, options.style));
}

CTableDriver::~CTableDriver() {
    std::lock_guard<std::mutex> lock(RegistryLock());
    Registry().erase(m_nOwnerId);
}

int CTableDriver::HostCallback(tagHOSTCALL* call) {
    CTableDriver* driver = nullptr;
    {
        std::lock_guard<std::mutex> lock(RegistryLock());
        auto found = Registry().find(call->nOwnerId);
        if (found != Registry().end())
            driver = found->second;
    }
    if (driver == nullptr)
        return 0;
    driver->OnHostCall(*call);
    return 1;
}

void CTableDriver::OnHostCall(const tagHOSTCALL& call) {
    if (onHostCall)
        onHostCall(call);
    if (call.nCode >= 0 && call.nCode < 256)
        ++m_nCalls[call.nCode];
    switch (call.nCode) {
    case kHostTrace:
        // A table that runs for days must not keep every game's trace.
        m_Traces.emplace_back(static_cast<const char*>(call.pData));
        if (onTrace)
            onTrace(m_Traces.back());
        while (m_Traces.size() > m_Options.maxTraces)
            m_Traces.pop_front();
        return;
    case kHostTableGameEnded:
        m_bClosed = true;
        return;
    case kHostSendToAll:
    case kHostSendForwarded:
    case kHostSendToSeat:
    case kHostSendToWatchers:
    case kHostSendSnapshot:
        break;
    default:
        return;
    }
    const auto* bytes = static_cast<const uint8_t*>(call.pData);
    if (bytes == nullptr || call.nDataLen < kGameMsgHeadSize)
        return;
    int id = 0;
    PeekGameRecordId(bytes, call.nDataLen, &id);
    if (call.nCode == kHostSendToAll && id >= kMsgFirst && id <= kMsgLast)
        ++m_nRecords[id - kMsgFirst];
    if (id == kMsgPlay && call.nCode == kHostSendToAll && call.nDataLen >= 16) {
        const int kind = LoadRecordInt(bytes, offsetof(tagPLAYMSG, nType));
        if (kind >= 0 && kind < 32)
            ++m_nPromptKinds[kind];
    }
    if (id == kMsgPlaces && call.nCode == kHostSendToAll) {
        tagPLACESMSG places;
        if (ReadGameRecord(bytes, call.nDataLen, places))
            m_LastPlaces.assign(places.nPlaces, places.nPlaces + kSeatCount);
    }
    if (id == kMsgGameOver && call.nCode == kHostSendToAll) {
        ++m_nGamesFinished;
        tagGAMEOVERMSG over;
        if (onGameOver && ReadGameRecord(bytes, call.nDataLen, over))
            onGameOver(*this, over);
    }
    // A refused return comes back to the returning seat alone.
    if (id == kMsgReturnTribute && call.nCode == kHostSendForwarded)
        ++m_nRefusals;
    m_Outbox.push_back(
        Sent{call.nCode, call.nParam, std::vector<uint8_t>(bytes, bytes + call.nDataLen)});
}

// Hands every queued record to the seats it is for; watchers and snapshot
// receivers are not seated here.
void CTableDriver::Deliver() {
    while (!m_Outbox.empty()) {
        Sent sent = std::move(m_Outbox.front());
        m_Outbox.pop_front();
        const int length = int(sent.record.size());
        if (sent.code == kHostSendToAll) {
            for (auto& bot : m_Bots) {
                if (!m_bHuman[bot->GetSeat()])
                    bot->OnRecord(sent.record.data(), length);
            }
        } else if ((sent.code == kHostSendToSeat || sent.code == kHostSendForwarded) &&
                   sent.param >= 0 && sent.param < kSeatCount && !m_bHuman[sent.param]) {
            m_Bots[sent.param]->OnRecord(sent.record.data(), length);
        }
        if (onDeliver)
            onDeliver(sent);
    }
}

std::string CTableDriver::BotName(int seat) {
    return "bot" + std::to_string(seat);
}

void CTableDriver::SetHumanSeat(int seat, bool human) {
    if (seat >= 0 && seat < kSeatCount)
        m_bHuman[seat] = human;
}

bool CTableDriver::IsHumanSeat(int seat) const {
    return seat >= 0 && seat < kSeatCount && m_bHuman[seat];
}

void CTableDriver::SeatUser(const tagUSERINFO& user) {
    Dispatch(1, 0, reinterpret_cast<intptr_t>(&user));
}

int CTableDriver::Dispatch(int event, intptr_t a, intptr_t b) {
    const int result = m_pReferee->Dispatch(event, a, b);
    Deliver();
    return result;
}

void CTableDriver::SeatBots() {
    for (int seat = 0; seat < kSeatCount; ++seat) {
        if (!m_bHuman[seat] && !m_pReferee->IsSeatTaken(seat))
            SeatBot(seat);
    }
    Deliver();
}

void CTableDriver::SeatBot(int seat) {
    if (seat < 0 || seat >= kSeatCount)
        return;
    m_bHuman[seat] = false;
    // A fresh bot: what an earlier one learnt belongs to another sitting.
    m_Bots[seat] = std::make_unique<CBotSeat>(seat, m_Options.seed * 7919u + seat, m_Options.style);
    tagUSERINFO user{};
    snprintf(user.szUserName, sizeof(user.szUserName), "%s", BotName(seat).c_str());
    snprintf(user.szNickName, sizeof(user.szNickName), "Bot %d", seat);
    user.nSeat = seat;
    user.nBeans = m_Options.startBeans;
    user.bMember = seat % 2;
    user.nVoice = uint8_t(seat % 2);
    Dispatch(1, 0, reinterpret_cast<intptr_t>(&user));
}

int CTableDriver::RunBots(int maxActions) {
    int actions = 0;
    while (actions < maxActions && !m_bClosed && ActOneBot())
        ++actions;
    return actions;
}

uint32_t CTableDriver::BotQuestion(int seat) const {
    if (seat < 0 || seat >= kSeatCount || m_bHuman[seat] || m_bClosed)
        return 0;
    return m_Bots[seat]->Question(*m_pReferee);
}

bool CTableDriver::ActBot(int seat) {
    if (seat < 0 || seat >= kSeatCount || m_bHuman[seat] || m_bClosed)
        return false;
    std::vector<uint8_t> record = m_Bots[seat]->Decide(*m_pReferee);
    if (record.empty())
        return false;
    SendFromSeat(seat, record);
    return true;
}

// The first bot seat from the polling position that has something to send
// sends it; the next poll starts behind it. False when no bot can act.
bool CTableDriver::ActOneBot() {
    for (int k = 0; k < kSeatCount; ++k) {
        const int seat = (m_nNextPoll + k) % kSeatCount;
        if (m_bHuman[seat])
            continue;
        std::vector<uint8_t> record = m_Bots[seat]->Decide(*m_pReferee);
        if (record.empty())
            continue;
        SendFromSeat(seat, record);
        m_nNextPoll = (seat + 1) % kSeatCount;
        return true;
    }
    return false;
}

int CTableDriver::SendFromSeat(int seat, const std::vector<uint8_t>& record) {
    int id = 0;
    PeekGameRecordId(record.data(), int(record.size()), &id);
    const int emittedBefore = m_nCalls[kHostSendToAll];
    tagGAMEEVENT event{seat, int32_t(record.size()), record.data()};
    const int result = m_pReferee->Dispatch(5, 0, reinterpret_cast<intptr_t>(&event));
    // Every answer of a seat is relayed or answered for all; buying a 3 is
    // only acknowledged until the last buyer is ready.
    if (id != kMsgBuy3 && id != kMsgTimeTick && m_nCalls[kHostSendToAll] == emittedBefore)
        ++m_nRefusals;
    Deliver();
    return result;
}

int CTableDriver::Run(int games, int maxStalls) {
    const int target = m_nGamesFinished + games;
    int stallsHere = 0;
    int actions = 0;
    int gamesBefore = m_nGamesFinished;
    while (m_nGamesFinished < target && !m_bClosed && stallsHere <= maxStalls) {
        if (m_nGamesFinished != gamesBefore) {
            gamesBefore = m_nGamesFinished;
            actions = 0;
        }
        // A game of six hands of 36 takes a few hundred actions; thousands
        // mean the table goes round in circles.
        if (++actions > kMaxActionsPerGame) {
            m_bRunaway = true;
            break;
        }
        Deliver();
        if (ActOneBot())
            continue;
        // Nobody can act: the wait runs out and a client's countdown ticks.
        ++m_nStalls;
        ++stallsHere;
        Advance(120 * 1000);
        tagTIMETICKMSG tick;
        InitTimeTickMsg(tick);
        const auto* bytes = reinterpret_cast<const uint8_t*>(&tick);
        SendFromSeat(0, std::vector<uint8_t>(bytes, bytes + sizeof(tick)));
    }
    return m_nGamesFinished;
}

int CTableDriver::GetCipherMismatches() const {
    int total = 0;
    for (const auto& bot : m_Bots)
        total += bot->GetCipherMismatches();
    return total;
}

int CTableDriver::CountCalls(int code) const {
    return code >= 0 && code < 256 ? m_nCalls[code] : 0;
}

int CTableDriver::CountPrompts(int kind) const {
    return kind >= 0 && kind < 32 ? m_nPromptKinds[kind] : 0;
}

int CTableDriver::CountRecords(int id) const {
    return id >= kMsgFirst && id <= kMsgLast ? m_nRecords[id - kMsgFirst] : 0;
}
