#pragma once

// The launch record: who the player is, which table and seat the lobby chose
// and where the game and chat servers are. The lobby hands it over on the
// command line, field by field, or as the name of a shared-memory block that
// holds the record itself; its layout is therefore fixed to the byte.

#include "platform/Types.h"

#include <cstddef>

#pragma pack(push, 1)
struct tagLAUNCHINFO {
    int nSeatIndex; // delivered 1-based, kept 0-based
    char szUserName[20];
    char szNickName[20];
    char szLoginInfo[40]; // handed to the server, never interpreted
    WORD wLoginValue;     // handed to the server, never interpreted
    char szRoom[40];
    char szGameServer[40];
    WORD wGameServerPort;
    char szExtra[256];
    char szChatServer[40];
    WORD wChatServerPort;
    char szShortText[16];
    BYTE bPadding[2];
    DWORD dwNumberValue;
    DWORD dwOption; // 1 marks the client's option
    BYTE bReserved[4];
};
#pragma pack(pop)

static_assert(sizeof(tagLAUNCHINFO) == 496, "the launch record is 496 bytes");
static_assert(offsetof(tagLAUNCHINFO, szUserName) == 4);
static_assert(offsetof(tagLAUNCHINFO, szNickName) == 24);
static_assert(offsetof(tagLAUNCHINFO, szLoginInfo) == 44);
static_assert(offsetof(tagLAUNCHINFO, wLoginValue) == 84);
static_assert(offsetof(tagLAUNCHINFO, szRoom) == 86);
static_assert(offsetof(tagLAUNCHINFO, szGameServer) == 126);
static_assert(offsetof(tagLAUNCHINFO, wGameServerPort) == 166);
static_assert(offsetof(tagLAUNCHINFO, szExtra) == 168);
static_assert(offsetof(tagLAUNCHINFO, szChatServer) == 424);
static_assert(offsetof(tagLAUNCHINFO, wChatServerPort) == 464);
static_assert(offsetof(tagLAUNCHINFO, szShortText) == 466);
static_assert(offsetof(tagLAUNCHINFO, bPadding) == 482);
static_assert(offsetof(tagLAUNCHINFO, dwNumberValue) == 484);
static_assert(offsetof(tagLAUNCHINFO, dwOption) == 488);
static_assert(offsetof(tagLAUNCHINFO, bReserved) == 492);

// The library's one record, all zero until a launch record is read.
extern tagLAUNCHINFO theLaunchInfo;

// Fills theLaunchInfo from the process's own arguments: 13 or 14 fields, or
// the name of the shared block. 0 (logged, record unchanged) when neither
// form is there or the record is unusable.
int ReadLaunchInfo();
// As ReadLaunchInfo, but keeps the seat 1-based as delivered.
int ReadLaunchInfoOneBased();

// The two forms on their own, for a given argument vector (program name
// first) and for a named block. They write *record only on success.
int ParseLaunchArguments(int argc, const char* const* argv, tagLAUNCHINFO* record);
int ReadLaunchBlock(const char* blockName, tagLAUNCHINFO* record);
