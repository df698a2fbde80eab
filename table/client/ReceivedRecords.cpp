#include "table/client/ReceivedRecords.h"

#include "table/client/RecordKinds.h"

ReceivedRecordCheck CheckReceivedRecord(const void* record, int length) {
    ReceivedRecordCheck check;
    int id = 0;
    const bool headed = PeekGameRecordId(record, length, &id);
    const RecordKind* kind = headed ? FindRecordKind(id) : nullptr;
    if (kind != nullptr)
        check.layout = kind->layout(record, length);
    else if (headed)
        return check; // an id that no record uses: the table reads only its head
    else
        check.layout = record != nullptr && length >= 0 ? kRecordTooShort : kRecordNull;
    if (check.layout != kRecordOk) {
        check.fault = kReceivedLayout;
        return check;
    }
    // The layout check guarantees the fixed part, which holds every field.
    for (int i = 0; i < kind->seatCount; ++i) {
        const int32_t seat = LoadRecordInt(record, kind->seats[i].offset);
        if (seat < 0 || seat > kind->seats[i].most) {
            check.fault = kReceivedSeat;
            check.seat = seat;
            return check;
        }
    }
    if (kind->cards != nullptr && !kind->cards(record, length, &check.cards))
        check.fault = kReceivedCard;
    return check;
}

ReceivedRecordCheck TakeReceivedRecord(const void* record, int length, CGameLogic& board,
                                       std::vector<uint8_t>& taken) {
    ReceivedRecordCheck check = CheckReceivedRecord(record, length);
    if (check.fault != kReceivedOk)
        return check;
    const uint8_t* bytes = static_cast<const uint8_t*>(record);
    taken.assign(bytes, bytes + length);
    int id = 0;
    PeekGameRecordId(record, length, &id);
    const RecordKind* kind = FindRecordKind(id);
    if (kind != nullptr && kind->clear != nullptr && !kind->clear(taken, board, &check.cards))
        check.fault = kReceivedCard;
    return check;
}

std::string ReceivedRecordFaultText(const ReceivedRecordCheck& check) {
    if (check.fault == kReceivedSeat)
        return "seat out of range";
    if (check.fault == kReceivedCard)
        return std::string("a card of the ") + check.cards + " is out of range";
    return GameRecordFaultText(check.layout);
}
