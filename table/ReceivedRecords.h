#pragma once

// The check every game record passes before the table window sees it: the
// fixed part of its id (every id that no record uses is refused), its counts
// within their arrays and its seat fields within the table.

#include "game/GameRecords.h"

enum ReceivedRecordFault {
    kReceivedOk = 0,
    kReceivedLayout, // too short, unknown id, body or count fault: see the layout fault
    kReceivedSeat,   // a seat field outside the table
};

struct ReceivedRecordCheck {
    ReceivedRecordFault fault = kReceivedOk;
    GameRecordFault layout = kRecordOk;
    int seat = 0; // the offending seat value
};

ReceivedRecordCheck CheckReceivedRecord(const void* record, int length);

// A short English text of the refusal for the log.
const char* ReceivedRecordFaultText(const ReceivedRecordCheck& check);
