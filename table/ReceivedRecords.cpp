#include "table/ReceivedRecords.h"

#include "game/PlayRecords.h"
#include "game/StateRecords.h"

#include <cstddef>

namespace {

// A seat field of a record and the highest value it may hold: 5 for a seat
// the window indexes its per-seat state with, 6 where the record uses 6 for
// "history only".
struct SeatField {
    int id;
    size_t offset;
    int most;
};

constexpr SeatField kSeatFields[] = {
    {kMsgStart, offsetof(tagSTARTMSG, nSeat), 5},
    {kMsgDeal, offsetof(tagDEALMSG, nSeat), 5},
    {kMsgPlay, offsetof(tagPLAYMSG, nSeat), 5},
    {kMsgReturnTribute, offsetof(tagRETURNTRIBUTEMSG, nSeat), 6},
    {kMsgReturnTribute, offsetof(tagRETURNTRIBUTEMSG, nReceiver), 5},
    {kMsgReturnTribute, offsetof(tagRETURNTRIBUTEMSG, nReturner), 5},
    {kMsgPoint, offsetof(tagPOINTMSG, nSeat), 5},
    {kMsgRevolution, offsetof(tagREVOLUTIONMSG, nSeat), 5},
    {kMsgGousiji, offsetof(tagGOUSIJIMSG, nSeat), 5},
    {kMsgBuy3, offsetof(tagBUY3MSG, nSeat), 6},
    {kMsgTribute, offsetof(tagTRIBUTEMSG, nSeat), 6},
    {kMsgTribute, offsetof(tagTRIBUTEMSG, nGiver), 5},
    {kMsgTribute, offsetof(tagTRIBUTEMSG, nReceiver), 5},
    {kMsgTrust, offsetof(tagTRUSTMSG, nSeat), 5},
    {kMsgWatcherView, offsetof(tagWATCHERVIEWMSG, nSeat), 5},
    {kMsgUserRecord, offsetof(tagUSERRECORDMSG, nSeat), 5},
    {kMsgSeatRequest, offsetof(tagSEATREQUESTMSG, nSeat), 5},
    {kMsgCardList, offsetof(tagCARDLIST, nSeat), 5},
    {kMsgGuess, offsetof(tagGUESSMSG, nSeat), 5},
};

} // namespace

ReceivedRecordCheck CheckReceivedRecord(const void* record, int length) {
    ReceivedRecordCheck check;
    check.layout = CheckAnyGameRecord(record, length);
    if (check.layout != kRecordOk) {
        check.fault = kReceivedLayout;
        return check;
    }
    int id = 0;
    PeekGameRecordId(record, length, &id);
    // The layout check guarantees the fixed part, which holds every field.
    for (const SeatField& field : kSeatFields) {
        if (field.id != id)
            continue;
        const int32_t seat = LoadRecordInt(record, field.offset);
        if (seat < 0 || seat > field.most) {
            check.fault = kReceivedSeat;
            check.seat = seat;
            return check;
        }
    }
    return check;
}

const char* ReceivedRecordFaultText(const ReceivedRecordCheck& check) {
    if (check.fault == kReceivedSeat)
        return "seat out of range";
    return GameRecordFaultText(check.layout);
}
