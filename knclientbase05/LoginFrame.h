#pragma once

// The login frame (0x200) both ways into a game send: the user, room and
// login texts of the launch record, its login value and seat, and the
// client's kind.

#include "knclientbase05/LaunchInfo.h"

#include <vector>

constexpr DWORD kLoginFrame = 0x200;
constexpr DWORD kLoginReply = 0x80000200;

// The whole frame, header included, in memory form.
std::vector<BYTE> MakeLoginFrame(const tagLAUNCHINFO& launch);
