#pragma once

// The login on the game socket: connect to the launch record's game server,
// send the login frame, wait for the answer and read the table's players.

#include "Tablehub/LoginReply.h"
#include "knclientbase05/LaunchInfo.h"

// Connects through the connection-path choice (asking the user whether to
// keep waiting), logs in and holds receiving until the caller has set up
// what the first frames need. 1 when the server accepted; then every
// out-parameter that is not null is filled, the pointers pointing into the
// reply, which the game socket keeps until its next wait. A refusal, or a
// reply that does not hold what it announces, is shown to the user and
// closes the connection; a failed connect or wait has already been reported
// through the client's OnClose.
int EnterGameHandshake(const tagLAUNCHINFO* launch, int* playerCount, tagPLAYERINFO** players,
                       DWORD* firstBlockLength, BYTE** firstBlock, DWORD* secondValue,
                       BYTE** secondBlock);

// The table number of the last accepted login (the chat room needs it).
WORD GetLoginTableNumber();
