#include "WireFixture.h"

#include "HostTestKit.h"
#include "outside/CrtArguments.h"

#include <cstring>

namespace wire_test {

using platform_test::PumpUntil;

LaunchArguments::LaunchArguments() : m_nSavedCount(__argc), m_pSavedVector(__argv) {}

LaunchArguments::~LaunchArguments() {
    __argc = m_nSavedCount;
    __argv = m_pSavedVector;
}

void LaunchArguments::Set(const LaunchFields& fields) {
    m_texts = {"pellor",        fields.seat,       fields.userName,
               fields.nickName, fields.loginText,  fields.loginValue,
               fields.room,     fields.gameServer, std::to_string(fields.gameServerPort),
               fields.extra,    fields.chatServer, fields.chatServerPort,
               fields.level,    fields.numberValue};
    if (!fields.option.empty())
        m_texts.push_back(fields.option);
    m_pointers.clear();
    for (std::string& text : m_texts)
        m_pointers.push_back(text.data());
    m_pointers.push_back(nullptr);
    __argc = int(m_texts.size());
    __argv = m_pointers.data();
}

std::vector<BYTE> NumberedRecord(int id, size_t length, uint32_t sequence) {
    std::vector<BYTE> record(std::max<size_t>(length, 12), 0);
    const int32_t head[2] = {id, int32_t(record.size() - 8)};
    memcpy(record.data(), head, sizeof head);
    memcpy(record.data() + 8, &sequence, sizeof sequence);
    for (size_t i = 12; i < record.size(); ++i)
        record[i] = BYTE(sequence * 7 + i);
    return record;
}

uint32_t SequenceOf(const std::vector<BYTE>& record) {
    uint32_t sequence = UINT32_MAX;
    if (record.size() >= 12)
        memcpy(&sequence, record.data() + 8, sizeof sequence);
    return sequence;
}

Payload& Payload::Word(DWORD value) {
    for (int i = 0; i < 4; ++i)
        m_bytes.push_back(BYTE(value >> (8 * i)));
    return *this;
}

Payload& Payload::Half(WORD value) {
    m_bytes.push_back(BYTE(value));
    m_bytes.push_back(BYTE(value >> 8));
    return *this;
}

Payload& Payload::Text(const std::string& text) {
    m_bytes.insert(m_bytes.end(), text.begin(), text.end());
    m_bytes.push_back(0);
    return *this;
}

Payload& Payload::PadTo(size_t offset) {
    if (m_bytes.size() < offset)
        m_bytes.resize(offset, 0);
    return *this;
}

std::string Field(const std::string& text, size_t width) {
    std::string field = text.substr(0, width);
    field.resize(width, '\0');
    return field;
}

void WireTest::SetUp() {
    PathFixture::SetUp();
    scopedClock.emplace(clock);
}

void WireTest::TearDown() {
    host.reset();
    // What the host's going left for the loop is dealt with under this clock.
    platform_test::Settle();
    scopedClock.reset();
    PathFixture::TearDown();
}

CTableHost::Options WireTest::HostOptions(int humanSeats) {
    CTableHost::Options options;
    options.table.humanSeats = humanSeats;
    options.table.rulesText = tools_test::PlainRules();
    options.table.seed = 11;
    options.tableNumber = 42;
    options.tickMs = 24 * 3600 * 1000;
    return options;
}

void WireTest::StartHost(CTableHost::Options options) {
    options.log = [this](const std::string& line) { hostLog.push_back(line); };
    host = std::make_unique<CTableHost>(options);
    ASSERT_TRUE(host->Start());
    ASSERT_NE(host->Port(), 0u);
    host->onFrame = [this](int client, const tagMSGHEADER& header, const BYTE* payload) {
        received.push_back(HostFrame{client, header.type,
                                     std::string(reinterpret_cast<const char*>(payload),
                                                 payload != nullptr ? header.length : 0)});
    };
}

int WireTest::EnterOnly(CTablehub& client, LaunchFields fields) {
    if (fields.gameServerPort == 0 && host)
        fields.gameServerPort = host->Port();
    launch.Set(fields);
    if (client.Init() != 1)
        return -1;
    return client.EnterGame();
}

bool WireTest::Enter(CTablehub& client, LaunchFields fields) {
    const std::string name = fields.userName;
    if (EnterOnly(client, fields) != 1)
        return false;
    const int id = IdOf(name);
    return id >= 0 && HostGets(id, 0x208);
}

void WireTest::EnterRaw(tools_test::WireClient& raw, const std::string& name, uint16_t seat) {
    ASSERT_TRUE(raw.Login(host->Port(), name, seat)) << name;
    raw.Send(0x208);
    ASSERT_TRUE(PumpUntil([&] { return host->FindClient(name) >= 0; }));
}

void WireTest::SeatBobForWatchers(tools_test::WireClient& bob) {
    EnterRaw(bob, "bob", 0);
    ASSERT_TRUE(PumpUntil([&] { return host->Table().IsSeated(); }));
}

void WireAloneTest::SetUp() {
    WireTest::SetUp();
    StartHost(HostOptions(2));
    ASSERT_TRUE(Enter(client)) << client.Describe();
    id = IdOf("alice");
}

int WireTest::IdOf(const std::string& name) {
    PumpUntil([&] { return host->FindClient(name) >= 0; });
    return host->FindClient(name);
}

int WireTest::CountReceived(int client, DWORD type) const {
    int count = 0;
    for (const HostFrame& frame : received)
        count += frame.client == client && frame.type == type;
    return count;
}

std::string WireTest::LastReceived(int client, DWORD type) const {
    for (auto it = received.rbegin(); it != received.rend(); ++it) {
        if (it->client == client && it->type == type)
            return it->payload;
    }
    return "";
}

bool WireTest::HostGets(int client, DWORD type, int count) {
    return PumpUntil([&] { return CountReceived(client, type) >= count; });
}

bool WireTest::Deliver(CRecordingClient& client, int clientId, DWORD type,
                       const std::vector<BYTE>& payload, const std::string& call, DWORD result,
                       bool compress) {
    const int before = client.Count(call);
    if (!host->SendFrameTo(clientId, type, payload, result, compress))
        return false;
    return PumpUntil([&] { return client.Count(call) > before; });
}

bool WireTest::Logged(const std::string& words) const {
    for (const std::string& line : hostLog) {
        if (line.find(words) != std::string::npos)
            return true;
    }
    return false;
}

bool WireTest::PumpWhileFlowing(const std::function<bool()>& done,
                                const std::function<size_t()>& progress) {
    for (;;) {
        const size_t before = progress();
        if (PumpUntil(done))
            return true;
        if (progress() == before)
            return false;
    }
}

} // namespace wire_test
