#pragma once

// The types of the frames that a game server sends, shared by the framing
// socket's framework frames and the game socket's dispatch so that both
// read one list.

#include "knclientbase05/MessageHeader.h"

namespace server_frames {

constexpr DWORD kTransformFrame = 0x160;
constexpr DWORD kRegisterFrame = 0x1A1;
constexpr DWORD kServerNoticeFrame = 0x225;
constexpr DWORD kPlayerBreakFrame = 0x229;
constexpr DWORD kPlayerBackFrame = 0x22A;
constexpr DWORD kQuietFrame = 0x22D;
constexpr DWORD kQuestionFrame = 0x230;
constexpr DWORD kAddressQueryFrame = 0x231;
constexpr DWORD kNoticeFrame = 0x234;
constexpr DWORD kExchangeRequestFrame = 0x23B;
constexpr DWORD kServerValueFrame = 0x23D;
constexpr DWORD kChargeRequestFrame = 0x241;
constexpr DWORD kGameDataFrame = 0x243;
constexpr DWORD kSwitchFrame = 0x244;
constexpr DWORD kWebPopupFrame = 0x249;
constexpr DWORD kSeatLeftFrame = 0x250;

constexpr DWORD kChangeSeatReply = 0x800001AB;
constexpr DWORD kLeaveReply = 0x80000202;
constexpr DWORD kGameOverFrame = 0x80000219;
constexpr DWORD kTrustExitReply = 0x8000021A;
constexpr DWORD kTrusteeshipReply = 0x8000021B;
constexpr DWORD kQuietReply = 0x8000021C;
constexpr DWORD kRoundListReply = 0x80000233;
constexpr DWORD kExchangeReply = 0x8000023C;
constexpr DWORD kChargeReply = 0x80000242;

} // namespace server_frames
