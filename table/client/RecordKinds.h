#pragma once

// Every game record the table takes, by id, in one table: how the client
// checks it where it takes it from the socket (its layout, its seat fields,
// its card fields, a play's codes put in clear), whether the client holds the
// receive gate while it is presented, whether its handler releases the gate
// (when the animation it starts ends, on every path; else the gate opens
// when the handler returns), and its handler. The client's check, the client's hold
// and the window's dispatch all read it; no other list of ids exists.

#include "game/GameRecords.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class CGameLogic;
class CTableRecords;

// A seat field and the highest value it may hold: 5 for a seat the table
// indexes its per-seat state with, 6 where the record uses 6 for "history
// only".
struct RecordSeatField {
    size_t offset;
    int most;
};

struct RecordKind {
    int id;
    // The layout of the id: length, body length, counts within their arrays.
    GameRecordFault (*layout)(const void* record, int length);
    RecordSeatField seats[3];
    int seatCount;
    // Every card field within the decks; null when the record carries none.
    // On a refusal what names the field.
    bool (*cards)(const void* record, int length, const char** what);
    // Puts the card codes of a checked copy in clear for the table and
    // checks them (the play's ciphered codes); null when nothing is ciphered.
    bool (*clear)(std::vector<uint8_t>& record, CGameLogic& board, const char** what);
    bool held;
    // The handler (or the animation it starts) releases the gate, on every
    // path; else the dispatch releases it when the handler returns.
    bool handlerReleases;
    // Runs the handler on a checked record; null where the table has none.
    // False when the record could not be read (it was not checked).
    bool (*handle)(CTableRecords& records, const void* record, int length);
};

// The kind of an id; null for an id that no record uses.
const RecordKind* FindRecordKind(int id);

// A checked record handed to its handler, and the one decision of the gate.
struct RecordDispatch {
    int id = 0;
    bool headed = false;              // the record has a head to read its id from
    const RecordKind* kind = nullptr; // null for an id no record uses
    bool handled = false;             // a handler ran
    bool read = false;                // the handler could read the record
    // The held record is done when its handler returns: the gate opens.
    bool done = false;
};

// Runs the handler of a record the client checked. A held record whose
// handler does not release the gate is done when it returns; one whose
// handler does (its animation's end opens the gate) is done here only when
// it could not be read, since then nothing was started.
RecordDispatch DispatchRecord(CTableRecords& records, const void* record, int length);
