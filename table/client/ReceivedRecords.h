#pragma once

// The one check of a game record, where the client takes it from the socket
// (by its kind, RecordKinds.h): the layout of its id, its counts within their
// arrays, its seat fields within the table and its card fields within the
// decks. An id that no record uses passes with its head alone: the table
// reads nothing else of it and names it to the player. What passes is
// trusted from then on.

#include "game/GameRecords.h"

#include <cstdint>
#include <string>
#include <vector>

class CGameLogic;

enum ReceivedRecordFault {
    kReceivedOk = 0,
    kReceivedLayout, // too short, unknown id, body or count fault: see the layout fault
    kReceivedSeat,   // a seat field outside the table
    kReceivedCard,   // a card outside the decks, or a play that cannot be deciphered
};

struct ReceivedRecordCheck {
    ReceivedRecordFault fault = kReceivedOk;
    GameRecordFault layout = kRecordOk;
    int seat = 0;           // the offending seat value
    const char* cards = ""; // the card field refused
};

ReceivedRecordCheck CheckReceivedRecord(const void* record, int length);

// Checks the record and, when it passes, gives the table's copy of it in
// taken: a play's codes in clear (deciphered with the board's key unless the
// table plays in the clear) and checked.
ReceivedRecordCheck TakeReceivedRecord(const void* record, int length, CGameLogic& board,
                                       std::vector<uint8_t>& taken);

// A short English text of the refusal for the log.
std::string ReceivedRecordFaultText(const ReceivedRecordCheck& check);
