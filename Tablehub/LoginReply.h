#pragma once

// The answer to the login frame: the table's players and two blocks the
// server adds behind them. An accepted reply's payload:
//   u16 player count n, u16 table number,
//   n player records of 48 bytes,
//   u32 L, then L bytes (the first block),
//   optionally u32 value, then the rest (the second block).
// The server's counts are checked against the bytes that really came before
// anything is read or changed.

#include "knclientbase05/CodePageConverter.h"
#include "platform/Types.h"

#include <cstddef>

#pragma pack(push, 1)
struct tagPLAYERINFO {
    // Little-endian as on the wire. Low half: a player value the library
    // leaves alone; high half: the code page of szName (0: no conversion).
    DWORD dwValue;
    BYTE bUnread[20];
    char szName[24]; // need not end in a NUL when it comes from the server
};
#pragma pack(pop)
static_assert(sizeof(tagPLAYERINFO) == 48, "player record layout");

// An accepted reply as read; the pointers point into its payload.
struct tagLOGINREPLY {
    WORD wPlayerCount = 0;
    WORD wTableNumber = 0;
    tagPLAYERINFO* pPlayers = nullptr;
    DWORD dwFirstBlockLength = 0;
    BYTE* pFirstBlock = nullptr;
    // Value 0 and no data when the payload ends behind the first block.
    DWORD dwSecondValue = 0;
    BYTE* pSecondBlock = nullptr;
    size_t nSecondBlockLength = 0;
};

// Reads the payload of an accepted reply. 0, with *reply untouched, when the
// payload is shorter than its counts say or ends inside a length or value
// word; nothing is read past length and nothing in the payload is changed.
int ReadLoginReply(BYTE* payload, size_t length, tagLOGINREPLY* reply);

// Converts the name of every record whose code page is set and differs from
// targetCodePage, then clears every record's code page. A name is read to
// its NUL or the end of its field, converted into a buffer of its own and
// written back cut at a character boundary to leave room for the NUL.
// Nothing happens without a converter.
void ConvertPlayerNames(tagPLAYERINFO* players, int count, TranStrCodePageFunction convert,
                        WORD targetCodePage);
