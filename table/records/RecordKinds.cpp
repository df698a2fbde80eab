#include "table/client/RecordKinds.h"

#include "game/GameLogic.h"
#include "game/PlayRecords.h"
#include "game/StateRecords.h"
#include "platform/system/Trace.h"
#include "table/client/ReceivedCards.h"
#include "table/client/ReceivedRecords.h"
#include "table/records/TableRecords.h"

#include <memory>

namespace {

// The record type a handler takes.
template <class Member> struct HandledRecord;
template <class T> struct HandledRecord<void (CTableRecords::*)(const T&)> { using Type = T; };
template <class T> struct HandledRecord<void (CTableRecords::*)(T&)> { using Type = T; };

// Reads the checked record on the heap (the snapshot is 25 KB) and runs the
// handler with it.
template <auto Handle> bool Run(CTableRecords& records, const void* record, int length) {
    using T = typename HandledRecord<decltype(Handle)>::Type;
    auto copy = std::make_unique<T>();
    if (!ReadGameRecord(record, length, *copy))
        return false;
    (records.*Handle)(*copy);
    return true;
}

// The card fields of a record read as T pass the test; name says which they are.
template <class T, class Test>
bool CardsOf(const void* record, int length, const char** what, const char* name, Test test) {
    auto copy = std::make_unique<T>();
    *what = name;
    return ReadGameRecord(record, length, *copy) && test(*copy);
}

bool SnapshotCards(const void* record, int length, const char** what) {
    return CardsOf<tagSNAPSHOTMSG>(record, length, what, "snapshot hand",
                                   [](const auto& m) { return CardsFit(m.hand, kHandSize, true); });
}

bool DealCards(const void* record, int length, const char** what) {
    return CardsOf<tagDEALMSG>(record, length, what, "dealt hand",
                               [](const auto& m) { return CardsFit(m.hand, kHandSize, true); });
}

bool ReturnCards(const void* record, int length, const char** what) {
    return CardsOf<tagRETURNTRIBUTEMSG>(record, length, what, "returned cards", [](const auto& m) {
        return CardsFit(m.cards, m.nCount, false);
    });
}

bool TributeCards(const void* record, int length, const char** what) {
    return CardsOf<tagTRIBUTEMSG>(record, length, what, "tribute cards",
                                  [](const auto& m) { return CardsFit(m.cards, m.nCount, false); });
}

bool BuyThreeCards(const void* record, int length, const char** what) {
    return CardsOf<tagBUY3MSG>(record, length, what, "bought three", [](const auto& m) {
        // A three bought without paying carries no paid card to read.
        const bool paid = (m.paidCard.flags & kCardHeld) != 0;
        return (!paid || IsReceivedCard(m.paidCard, false)) && IsReceivedCard(m.boughtThree, true);
    });
}

bool WatchedCards(const void* record, int length, const char** what) {
    return CardsOf<tagWATCHERVIEWMSG>(record, length, what, "watched hand", [](const auto& m) {
        return CardsFit(m.hand, kHandSize, true);
    });
}

bool CueCards(const void* record, int length, const char** what) {
    return CardsOf<tagCARDLIST>(record, length, what, "card list",
                                [](const auto& m) { return CodesFit(m.nCodes, m.nCount, true); });
}

bool ClearPlayCodes(std::vector<uint8_t>& bytes, CGameLogic& board, const char** what) {
    auto play = std::make_unique<tagPLAYMSG>();
    if (!ReadGameRecord(bytes.data(), int(bytes.size()), *play))
        return false;
    *what = "played cards";
    const bool inClear = (board.GetRuleFlags() & kRuleCardsInClear) != 0;
    if (play->nCount > 0 && !DecipherPlayCodes(*play, board.m_Cipher, inClear))
        return false;
    if (!CodesFit(play->nCodes, play->nCount, false))
        return false;
    // Within the delivered length: the cipher's blocks lie inside the body.
    const uint8_t* clear = reinterpret_cast<const uint8_t*>(play.get());
    std::copy(clear + kPlayCodesOffset, clear + std::min(bytes.size(), sizeof(tagPLAYMSG)),
              bytes.begin() + kPlayCodesOffset);
    return true;
}

// A kind of record, built a property at a time.
struct Kind : RecordKind {
    constexpr Kind Seat(size_t offset, int most = 5) const {
        Kind kind = *this;
        kind.seats[kind.seatCount++] = {offset, most};
        return kind;
    }
    constexpr Kind Cards(bool (*check)(const void*, int, const char**)) const {
        Kind kind = *this;
        kind.cards = check;
        return kind;
    }
    constexpr Kind Clear(bool (*put)(std::vector<uint8_t>&, CGameLogic&, const char**)) const {
        Kind kind = *this;
        kind.clear = put;
        return kind;
    }
    // The client holds the receive gate before it hands the record over.
    constexpr Kind Held() const {
        Kind kind = *this;
        kind.held = true;
        return kind;
    }
    // Held, and its handler releases the gate (its animation's end opens it).
    constexpr Kind HandlerReleases() const {
        Kind kind = Held();
        kind.handlerReleases = true;
        return kind;
    }
};

template <class T> constexpr Kind KindOf(bool (*handle)(CTableRecords&, const void*, int)) {
    Kind kind{};
    kind.id = GameRecordTraits<T>::kId;
    kind.layout = &CheckGameRecord<T>;
    kind.handle = handle;
    return kind;
}

// A record the table handles.
template <auto Handle> constexpr Kind Handled() {
    return KindOf<typename HandledRecord<decltype(Handle)>::Type>(Run<Handle>);
}

// A record that only ever goes to the server: the table has no handler.
template <class T> constexpr Kind Unhandled() {
    return KindOf<T>(nullptr);
}

// A record the table takes and does nothing with.
template <class T> constexpr Kind Ignored() {
    return KindOf<T>([](CTableRecords&, const void*, int) { return true; });
}

const RecordKind kKinds[] = {
    Handled<&CTableRecords::OnTableInfo>(),
    Handled<&CTableRecords::OnSnapshot>().Cards(SnapshotCards).Held(),
    Handled<&CTableRecords::OnStart>().Seat(offsetof(tagSTARTMSG, nSeat)),
    Handled<&CTableRecords::OnDeal>()
        .Seat(offsetof(tagDEALMSG, nSeat))
        .Cards(DealCards)
        .HandlerReleases(),
    Handled<&CTableRecords::OnPlay>()
        .Seat(offsetof(tagPLAYMSG, nSeat))
        .Clear(ClearPlayCodes)
        .HandlerReleases(),
    Handled<&CTableRecords::OnGameOver>(),
    Handled<&CTableRecords::OnReturnTribute>()
        .Seat(offsetof(tagRETURNTRIBUTEMSG, nSeat), 6)
        .Seat(offsetof(tagRETURNTRIBUTEMSG, nReceiver))
        .Seat(offsetof(tagRETURNTRIBUTEMSG, nReturner))
        .Cards(ReturnCards)
        .HandlerReleases(),
    Handled<&CTableRecords::OnPointMsg>().Seat(offsetof(tagPOINTMSG, nSeat)),
    Handled<&CTableRecords::OnRevolution>().Seat(offsetof(tagREVOLUTIONMSG, nSeat)),
    Handled<&CTableRecords::OnGousiji>().Seat(offsetof(tagGOUSIJIMSG, nSeat)),
    Handled<&CTableRecords::OnBuy3>()
        .Seat(offsetof(tagBUY3MSG, nSeat), 6)
        .Cards(BuyThreeCards)
        .HandlerReleases(),
    Handled<&CTableRecords::OnTribute>()
        .Seat(offsetof(tagTRIBUTEMSG, nSeat), 6)
        .Seat(offsetof(tagTRIBUTEMSG, nGiver))
        .Seat(offsetof(tagTRIBUTEMSG, nReceiver))
        .Cards(TributeCards)
        .HandlerReleases(),
    Handled<&CTableRecords::OnTrust>().Seat(offsetof(tagTRUSTMSG, nSeat)),
    Handled<&CTableRecords::OnTrustEnd>(),
    Handled<&CTableRecords::OnTrustWords>(),
    Handled<&CTableRecords::OnWatcherCards>()
        .Seat(offsetof(tagWATCHERVIEWMSG, nSeat))
        .Cards(WatchedCards),
    Handled<&CTableRecords::OnPlaces>(),
    Handled<&CTableRecords::OnUserRecord>().Seat(offsetof(tagUSERRECORDMSG, nSeat)),
    Handled<&CTableRecords::OnPluginData>(),
    Unhandled<tagSEATREQUESTMSG>().Seat(offsetof(tagSEATREQUESTMSG, nSeat)),
    Handled<&CTableRecords::OnCue>().Seat(offsetof(tagCARDLIST, nSeat)).Cards(CueCards),
    Handled<&CTableRecords::OnShaoBie>(),
    Handled<&CTableRecords::OnTakeChanceResult>().Seat(offsetof(tagGUESSMSG, nSeat)),
    Unhandled<tagTIMETICKMSG>(),
    Handled<&CTableRecords::OnTributeStopped>(),
    Handled<&CTableRecords::OnBeanLock>(),
    Ignored<tagEMPTYMSG>(),
};

} // namespace

const RecordKind* FindRecordKind(int id) {
    for (const RecordKind& kind : kKinds)
        if (kind.id == id)
            return &kind;
    return nullptr;
}

RecordDispatch DispatchRecord(CTableRecords& records, const void* record, int length) {
    RecordDispatch dispatch;
    dispatch.headed = PeekGameRecordId(record, length, &dispatch.id);
    dispatch.kind = dispatch.headed ? FindRecordKind(dispatch.id) : nullptr;
    PELLOR_ASSERT(CheckReceivedRecord(record, length).fault == kReceivedOk,
                  platform::TraceChannel::kRecords, "a record reached the table unchecked");
    platform::Trace(platform::TraceChannel::kRecords, platform::kTraceInfo,
                    "record %x of %d bytes to its handler", unsigned(dispatch.id), length);
    if (dispatch.kind == nullptr || dispatch.kind->handle == nullptr)
        return dispatch;
    dispatch.handled = true;
    dispatch.read = dispatch.kind->handle(records, record, length);
    dispatch.done = dispatch.kind->held && (!dispatch.kind->handlerReleases || !dispatch.read);
    return dispatch;
}
