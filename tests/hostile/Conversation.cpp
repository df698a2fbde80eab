#include "Conversation.h"

#include "game/GameLogic.h"
#include "game/GameRecords.h"
#include "game/TableRecords.h"
#include "table/client/ReceivedRecords.h"
#include "tools/tablehost/HostFrames.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <random>

using namespace tablehost;

namespace hostile {

namespace {

struct Frame {
    DWORD type = kFrameGameRecord;
    std::vector<uint8_t> payload;
    DWORD result = 0;
    bool compress = false;
    bool inPieces = false;
};

class Maker {
public:
    Maker(uint32_t seed, const std::vector<GenuineTable>& tables)
        : m_Random(seed), m_Table(tables[seed % tables.size()]) {}

    Conversation Make(uint32_t seed);

private:
    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_Random); }
    bool Chance(int percent) { return Pick(0, 99) < percent; }
    uint8_t Byte() { return uint8_t(Pick(0, 255)); }
    template <class T> T& OneOf(std::vector<T>& items) {
        return items[size_t(Pick(0, int(items.size()) - 1))];
    }
    // A value a field was never meant to hold, or one at its edge.
    int32_t Boundary();
    std::vector<uint8_t> Bytes(size_t count);
    // A text that never ends: no NUL in it.
    std::vector<uint8_t> EndlessText(size_t count);
    const Record& GenuineOf(int id);
    size_t RandomBodyIndex() { return size_t(Pick(1, int(m_Frames.size()) - 1)); }

    void StartFromGenuine(bool withGameOver);
    void Reorder();
    void DamageFields();
    void LieAboutLengths();
    void AddEndlessTexts();
    void AddRandomFrames();
    void FloodAnimation();
    void CutIntoPieces();
    std::vector<uint8_t> Probe(int* markerLength, uint32_t seed);
    std::vector<uint8_t> EndingBytes(Ending ending);

    std::mt19937 m_Random;
    const GenuineTable& m_Table;
    std::vector<Frame> m_Frames;
    std::string m_Plan;
};

int32_t Maker::Boundary() {
    static const int32_t kValues[] = {-1,  0,   1,    5,      6,          7,       12,
                                      13,  35,  36,   52,     53,         54,      215,
                                      216, 255, 256,  0xFFFF, 0x10000,    INT_MAX, INT_MIN,
                                      -6,  -36, 1000, 100000, 0x7FFFFFF0, -255};
    if (Chance(15))
        return int32_t(m_Random());
    return kValues[Pick(0, int(sizeof kValues / sizeof kValues[0]) - 1)];
}

std::vector<uint8_t> Maker::Bytes(size_t count) {
    std::vector<uint8_t> bytes(count);
    for (uint8_t& byte : bytes)
        byte = Byte();
    return bytes;
}

std::vector<uint8_t> Maker::EndlessText(size_t count) {
    // Plain letters, GBK lead bytes with no trail, or any byte but NUL.
    const int kind = Pick(0, 2);
    std::vector<uint8_t> text(count);
    for (uint8_t& byte : text)
        byte = kind == 0 ? 'A' : kind == 1 ? 0xB0 : uint8_t(Pick(1, 255));
    return text;
}

const Record& Maker::GenuineOf(int id) {
    std::vector<const Record*> found;
    for (const Record& record : m_Table.records) {
        int recordId = 0;
        if (PeekGameRecordId(record.data(), int(record.size()), &recordId) && recordId == id)
            found.push_back(&record);
    }
    if (found.empty()) // a record of no table's, such as a seat's own: the table record
        return m_Table.records[0];
    return *found[size_t(Pick(0, int(found.size()) - 1))];
}

void Maker::StartFromGenuine(bool withGameOver) {
    const std::vector<Record>& records = m_Table.records;
    const int count = int(records.size());
    // The table record first, as every real table begins; then the game from
    // its start or from anywhere in it.
    m_Frames.push_back(Frame{kFrameGameRecord, records[0]});
    const int length = Pick(6, 30);
    const int first = Chance(50) ? 1 : Pick(1, std::max(1, count - length));
    for (int i = first; i < std::min(count, first + length); ++i) {
        int id = 0;
        PeekGameRecordId(records[size_t(i)].data(), int(records[size_t(i)].size()), &id);
        // The unattended program leaves at game over: most conversations go on.
        if (id == kMsgGameOver && !withGameOver)
            continue;
        m_Frames.push_back(Frame{kFrameGameRecord, records[size_t(i)]});
    }
    if (m_Frames.size() < 3)
        m_Frames.push_back(Frame{kFrameGameRecord, GenuineOf(kMsgDeal)});
}

void Maker::Reorder() {
    m_Plan += " order";
    for (int op = Pick(1, 4); op > 0; --op) {
        const size_t a = RandomBodyIndex(), b = RandomBodyIndex();
        switch (Pick(0, 6)) {
        case 0:
            std::swap(m_Frames[a], m_Frames[b]);
            break;
        case 1: { // twice, such as two deals
            const Frame copy = m_Frames[a];
            m_Frames.insert(m_Frames.begin() + std::ptrdiff_t(std::max(a, b)), copy);
            break;
        }
        case 2:
            if (m_Frames.size() > 3)
                m_Frames.erase(m_Frames.begin() + std::ptrdiff_t(a));
            break;
        case 3:
            std::reverse(m_Frames.begin() + std::ptrdiff_t(std::min(a, b)),
                         m_Frames.begin() + std::ptrdiff_t(std::max(a, b)));
            break;
        case 4: { // a record of another moment: a play before the deal, a tribute mid-trick
            static const int kIds[] = {kMsgPlay,   kMsgDeal,    kMsgTribute,    kMsgReturnTribute,
                                       kMsgBuy3,   kMsgPoint,   kMsgRevolution, kMsgGousiji,
                                       kMsgPlaces, kMsgGameEnd, kMsgTableInfo,  kMsgCardList};
            m_Frames.insert(m_Frames.begin() + std::ptrdiff_t(a),
                            Frame{kFrameGameRecord, GenuineOf(kIds[Pick(0, 11)])});
            break;
        }
        case 5:
            if (!m_Table.snapshot.empty())
                m_Frames.insert(m_Frames.begin() + std::ptrdiff_t(a),
                                Frame{kFrameGameRecord, m_Table.snapshot});
            break;
        default: // a game over in the middle of a trick (the program leaves then)
            if (Chance(70))
                break;
            m_Plan += "+gameover";
            m_Frames.insert(m_Frames.begin() + std::ptrdiff_t(a),
                            Frame{kFrameGameRecord, GenuineOf(kMsgGameOver)});
            break;
        }
    }
}

void Maker::DamageFields() {
    m_Plan += " fields";
    for (int n = Pick(1, 6); n > 0; --n) {
        Frame& frame = m_Frames[RandomBodyIndex()];
        std::vector<uint8_t>& record = frame.payload;
        if (frame.type != kFrameGameRecord || record.size() < 12)
            continue;
        for (int m = Pick(1, 4); m > 0; --m) {
            if (Chance(70)) {
                const size_t offset = 8 + 4 * size_t(Pick(0, int(record.size() - 12) / 4));
                const int32_t value = Boundary();
                memcpy(&record[offset], &value, sizeof value);
            } else {
                // Cards and names: any byte anywhere in the body.
                record[size_t(Pick(8, int(record.size()) - 1))] = Byte();
            }
        }
    }
}

void Maker::LieAboutLengths() {
    m_Plan += " lengths";
    for (int n = Pick(1, 4); n > 0; --n) {
        std::vector<uint8_t>& record = m_Frames[RandomBodyIndex()].payload;
        if (record.size() < 8)
            continue;
        switch (Pick(0, 2)) {
        case 0: {
            const int32_t body = int32_t(record.size()) - 8;
            const int32_t lies[] = {body + 1, body - 1, body + Pick(2, 100000), 0, -1, INT_MIN,
                                    INT_MAX,  -8};
            const int32_t lie = lies[Pick(0, 7)];
            memcpy(&record[4], &lie, sizeof lie);
            break;
        }
        case 1:
            record.resize(size_t(Pick(0, int(record.size()) - 1)));
            break;
        default: { // padded up to the largest frame
            const int room = int(kMaxFrameSize - 8) - int(record.size());
            if (room < 1)
                break;
            const std::vector<uint8_t> tail = Bytes(size_t(Pick(1, room)));
            record.insert(record.end(), tail.begin(), tail.end());
            break;
        }
        }
    }
}

void Maker::AddEndlessTexts() {
    m_Plan += " texts";
    static const size_t kSizes[] = {20, 40, 300, 4096, kMaxFrameSize - 40};
    for (int n = Pick(1, 3); n > 0; --n) {
        const std::vector<uint8_t> text = EndlessText(kSizes[Pick(0, 4)]);
        auto words = [&](std::initializer_list<int32_t> values) {
            std::vector<uint8_t> payload;
            for (int32_t value : values) {
                const auto* bytes = reinterpret_cast<const uint8_t*>(&value);
                payload.insert(payload.end(), bytes, bytes + 4);
            }
            payload.insert(payload.end(), text.begin(), text.end());
            return payload;
        };
        Frame frame;
        switch (Pick(0, 9)) {
        case 0:
            frame = Frame{kFramePlayerBreak, text};
            break;
        case 1:
            frame = Frame{kFramePlayerBack, text};
            break;
        case 2:
            frame = Frame{0x234, words({Chance(50) ? 0 : Boundary(), Boundary(), Boundary()})};
            break;
        case 3: // a notice that neither closes nor opens a page
            frame = Frame{0x225, words({Chance(50) ? 0 : Boundary(), Boundary(), Boundary(), -1, 0,
                                        0, Boundary()})};
            break;
        case 4:
            frame = Frame{0x23B, words({Boundary(), Boundary()})};
            break;
        case 5:
            frame = Frame{0x241, words({Boundary(), Boundary(), Boundary(), Boundary()})};
            break;
        case 6:
            frame = Frame{kFrameServerValue, words({Boundary()})};
            break;
        case 7: { // my seat and watching from the server's answer
            std::vector<uint8_t> payload = words({0, Boundary()});
            payload[0] = Chance(50) ? uint8_t(Pick(0, 5)) : Byte();
            frame = Frame{kFrameSeatChangeReply, payload, DWORD(Boundary())};
            break;
        }
        case 8:
            frame = Frame{Chance(50) ? kFrameExchangeReply : kFrameChargeReply,
                          Chance(50) ? text : Bytes(size_t(Pick(0, 44))), DWORD(Boundary())};
            break;
        default: { // names without an end in the table record
            Record table = GenuineOf(kMsgTableInfo);
            if (table.size() >= sizeof(tagTABLEINFO)) {
                for (int seat = 0; seat < kSeatCount; ++seat) {
                    const size_t user = offsetof(tagTABLEINFO, users) + seat * sizeof(tagUSERINFO);
                    memset(&table[user + offsetof(tagUSERINFO, szUserName)], 0xB0,
                           sizeof(tagUSERINFO::szUserName));
                    memset(&table[user + offsetof(tagUSERINFO, szNickName)], 'N',
                           sizeof(tagUSERINFO::szNickName));
                }
            }
            frame = Frame{kFrameGameRecord, table};
            break;
        }
        }
        m_Frames.insert(m_Frames.begin() + std::ptrdiff_t(RandomBodyIndex()), frame);
    }
}

void Maker::AddRandomFrames() {
    m_Plan += " random";
    static const DWORD kTypes[] = {kFrameGameRecord,
                                   kFrameGameRecord,
                                   kFrameGameRecord,
                                   kFramePlayerBreak,
                                   kFramePlayerBack,
                                   0x22D,
                                   0x230,
                                   0x231,
                                   0x234,
                                   0x23B,
                                   kFrameServerValue,
                                   0x241,
                                   kFrameSeatLeft,
                                   0x160,
                                   0x249,
                                   0x80000219,
                                   0x8000021A,
                                   0x8000021B,
                                   0x8000021C,
                                   0x80000233,
                                   kFrameExchangeReply,
                                   kFrameChargeReply,
                                   kFrameSeatChangeReply,
                                   kFrameLoginReply,
                                   0x7777,
                                   0x3FFFFFFF};
    static const size_t kLengths[] = {0, 4, 8, 16, 64, 512, 8192, kMaxFrameSize - 12};
    for (int n = Pick(1, 8); n > 0; --n) {
        Frame frame;
        frame.type = kTypes[Pick(0, int(sizeof kTypes / sizeof kTypes[0]) - 1)];
        const size_t length = kLengths[Pick(0, 7)];
        frame.payload = Bytes(length < 16 ? length : size_t(Pick(int(length / 2), int(length))));
        frame.result = DWORD(Boundary());
        if (frame.type == kFrameGameRecord && frame.payload.size() >= 8) {
            // A real record's id, and a body length that is often true.
            const int32_t id = Chance(90) ? Pick(kMsgFirst - 1, kMsgLast + 1) : Boundary();
            const int32_t body = Chance(60) ? int32_t(frame.payload.size() - 8) : Boundary();
            memcpy(&frame.payload[0], &id, 4);
            memcpy(&frame.payload[4], &body, 4);
        }
        frame.compress = Chance(20);
        m_Frames.insert(m_Frames.begin() + std::ptrdiff_t(RandomBodyIndex()), frame);
    }
}

void Maker::FloodAnimation() {
    m_Plan += " flood";
    // Right behind a deal, while its cards fly, hundreds of records at once:
    // mostly small ones, with a few that animate in turn.
    size_t at = RandomBodyIndex();
    m_Frames.insert(m_Frames.begin() + std::ptrdiff_t(at),
                    Frame{kFrameGameRecord, GenuineOf(kMsgDeal)});
    std::vector<const Record*> quiet;
    for (const Record& record : m_Table.records) {
        int id = 0;
        PeekGameRecordId(record.data(), int(record.size()), &id);
        if (id == kMsgStart || id == kMsgTrust || id == kMsgPlaces || id == kMsgUserRecord ||
            id == kMsgTrustWords || id == kMsgBeanLock || id == kMsgCardList || id == kMsgPoint ||
            id == kMsgGousiji || id == kMsgTimeTick)
            quiet.push_back(&record);
    }
    const int32_t empty[2] = {kMsgEmpty, 0};
    const Record nothing(reinterpret_cast<const uint8_t*>(empty),
                         reinterpret_cast<const uint8_t*>(empty) + sizeof empty);
    std::vector<Frame> flood;
    for (int n = Pick(100, 400); n > 0; --n) {
        const Record& record = Chance(3)                     ? GenuineOf(kMsgPlay)
                               : quiet.empty() || Chance(70) ? nothing
                                                             : *OneOf(quiet);
        flood.push_back(Frame{kFrameGameRecord, record});
    }
    m_Frames.insert(m_Frames.begin() + std::ptrdiff_t(at + 1), flood.begin(), flood.end());
}

void Maker::CutIntoPieces() {
    m_Plan += " pieces";
    for (Frame& frame : m_Frames)
        frame.inPieces = Chance(25);
}

std::vector<uint8_t> Maker::Probe(int* markerLength, uint32_t seed) {
    std::vector<uint8_t> bytes;
    auto add = [&](const std::vector<uint8_t>& wire) {
        bytes.insert(bytes.end(), wire.begin(), wire.end());
    };
    // My seat back, as a player: what the body did to it is undone.
    std::vector<uint8_t> seat(48, 0);
    memcpy(&seat[8], "room", 4);
    add(EncodeHostFrame(kFrameSeatChangeReply, seat.data(), seat.size(), 1));
    // A table record: the program answers it with the watchers' view of my
    // cards (the chat's watch target is off, so every one is answered).
    Record table = m_Table.records[0];
    int32_t flags = LoadRecordInt(table.data(), offsetof(tagTABLEINFO, head.nRuleFlags));
    flags &= ~int32_t(kRuleChatWatchTarget);
    memcpy(&table[offsetof(tagTABLEINFO, head.nRuleFlags)], &flags, sizeof flags);
    add(EncodeHostFrame(kFrameGameRecord, table.data(), table.size()));
    // The marker: a length no other record claims, which the program logs
    // as it takes the record.
    *markerLength = -int(7000000 + seed % 1000000);
    const int32_t marker[2] = {kMsgEmpty, *markerLength};
    add(EncodeHostFrame(kFrameGameRecord, marker, sizeof marker));
    return bytes;
}

std::vector<uint8_t> Maker::EndingBytes(Ending ending) {
    switch (ending) {
    case Ending::kClose:
        return {};
    case Ending::kCloseMidFrame: {
        const Record& record = GenuineOf(kMsgPlay);
        std::vector<uint8_t> wire = EncodeHostFrame(kFrameGameRecord, record.data(), record.size());
        wire.resize(size_t(Pick(1, int(wire.size()) - 1)));
        return wire;
    }
    case Ending::kOversizedFrame: {
        std::vector<uint8_t> wire = EncodeHostFrame(kFrameGameRecord, nullptr, 0);
        const DWORD length = DWORD(Pick(int(kMaxFrameSize - 7), INT_MAX)) * (Chance(50) ? 1u : 2u);
        memcpy(&wire[4], &length, 4);
        const std::vector<uint8_t> some = Bytes(size_t(Pick(0, 5000)));
        wire.insert(wire.end(), some.begin(), some.end());
        return wire;
    }
    case Ending::kLinkEvent: {
        static const DWORD kCodes[] = {1, 2, 3, 4, 8, 0, 0xFFFFFFFF};
        const std::vector<uint8_t> text = TextPayload("adversary");
        return EncodeHostFrame(kFrameLinkEvent, text.data(), text.size(), kCodes[Pick(0, 6)]);
    }
    case Ending::kLeaveReply: {
        const std::vector<uint8_t> text = TextPayload("dissolved");
        return EncodeHostFrame(kFrameTableDissolved, text.data(), text.size());
    }
    case Ending::kBadCompression: {
        std::vector<uint8_t> payload = Bytes(size_t(Pick(0, 2000)));
        if (payload.size() >= 4 && Chance(50)) {
            const DWORD stated = DWORD(Pick(0, INT_MAX));
            memcpy(payload.data(), &stated, 4);
        }
        return EncodeHostFrame(kFrameGameRecord | kFrameCompressed, payload.data(), payload.size());
    }
    }
    return {};
}

Conversation Maker::Make(uint32_t seed) {
    Conversation conversation;
    conversation.seed = seed;
    const int damages = Pick(0, 127);
    StartFromGenuine(Chance(10));
    if (damages & 1)
        Reorder();
    if (damages & 2)
        DamageFields();
    if (damages & 4)
        LieAboutLengths();
    if (damages & 8)
        AddEndlessTexts();
    if (damages & 16)
        AddRandomFrames();
    if (damages & 32)
        FloodAnimation();
    if (damages & 64)
        CutIntoPieces();
    conversation.plan = m_Plan.empty() ? "genuine" : m_Plan.substr(1);

    // Mostly back to back (records wait in the socket while the table
    // animates), with a few pauses that let animations start between them.
    for (const Frame& frame : m_Frames) {
        std::vector<uint8_t> wire = frame.compress
                                        ? EncodeCompressedFrame(frame.type, frame.payload.data(),
                                                                frame.payload.size(), frame.result)
                                        : std::vector<uint8_t>{};
        if (wire.empty())
            wire = EncodeHostFrame(frame.type, frame.payload.data(), frame.payload.size(),
                                   frame.result);
        const uint32_t pause = Chance(8) ? uint32_t(Pick(5, 200)) : 0;
        if (frame.inPieces && wire.size() > 1) {
            size_t done = 0;
            while (done < wire.size()) {
                const size_t piece = std::min(wire.size() - done, size_t(Pick(1, 64)));
                conversation.body.push_back(
                    Write{std::vector<uint8_t>(wire.begin() + std::ptrdiff_t(done),
                                               wire.begin() + std::ptrdiff_t(done + piece)),
                          done == 0 ? pause : uint32_t(Pick(0, 3))});
                done += piece;
            }
        } else {
            conversation.body.push_back(Write{std::move(wire), pause});
        }
        char line[160];
        const int32_t id = frame.payload.size() >= 4 ? LoadRecordInt(frame.payload.data(), 0) : 0;
        const int32_t claimed =
            frame.payload.size() >= 8 ? LoadRecordInt(frame.payload.data(), 4) : 0;
        snprintf(line, sizeof line, "frame %#x%s of %zu bytes: id %#x, body length %d",
                 unsigned(frame.type), frame.compress ? " (compressed)" : "", frame.payload.size(),
                 unsigned(id), claimed);
        conversation.outline.push_back(line);
        if (frame.type == kFrameGameRecord && frame.payload.size() >= kGameMsgHeadSize &&
            CheckReceivedRecord(frame.payload.data(), int(frame.payload.size())).fault !=
                kReceivedOk)
            ++conversation.refusalsDue;
    }
    conversation.probe = Probe(&conversation.markerLength, seed);
    const int32_t marker[2] = {kMsgEmpty, conversation.markerLength};
    if (CheckReceivedRecord(marker, sizeof marker).fault != kReceivedOk)
        ++conversation.refusalsDue;
    static const Ending kEndings[] = {Ending::kClose,          Ending::kCloseMidFrame,
                                      Ending::kOversizedFrame, Ending::kLinkEvent,
                                      Ending::kLeaveReply,     Ending::kBadCompression};
    conversation.ending = Chance(60) ? Ending::kClose : kEndings[Pick(1, 5)];
    conversation.endingBytes = EndingBytes(conversation.ending);
    return conversation;
}

} // namespace

const char* EndingName(Ending ending) {
    switch (ending) {
    case Ending::kClose:
        return "close";
    case Ending::kCloseMidFrame:
        return "close mid-frame";
    case Ending::kOversizedFrame:
        return "oversized frame";
    case Ending::kLinkEvent:
        return "link event";
    case Ending::kLeaveReply:
        return "table dissolved";
    case Ending::kBadCompression:
        return "bad compression";
    }
    return "?";
}

Conversation MakeConversation(uint32_t seed, const std::vector<GenuineTable>& tables) {
    return Maker(seed, tables).Make(seed);
}

} // namespace hostile
