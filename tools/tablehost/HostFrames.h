#pragma once

// The frames the local table host reads and writes, and the payloads it
// builds and checks. Wire words are little-endian; a frame is at most
// kMaxFrameSize bytes in total, header included.

#include "knclientbase05/MessageHeader.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tablehost {

enum : DWORD {
    kFrameKick = 0x111, // "stand up": make the named user leave the seat
    kFrameSeatChange = 0x1AB,
    kFrameLogin = 0x200,
    kFrameKeepAlive = 0x201,
    kFrameLeave = 0x202,
    kFrameEscape = 0x203,
    kFrameEntered = 0x208,
    kFrameTrustExit = 0x21A,
    kFramePlayerBreak = 0x229,
    kFramePlayerBack = 0x22A,
    kFrameExchange = 0x23C,
    kFrameServerValue = 0x23D,
    kFrameCharge = 0x242,
    kFrameGameRecord = 0x243,
    kFrameSeatLeft = 0x250,
    kFramePortRequest = 0x663,
    kFrameSeatChangeReply = 0x800001AB,
    kFrameLoginReply = 0x80000200,
    kFrameTableDissolved = 0x80000202,
    kFrameExchangeReply = 0x8000023C,
    kFrameChargeReply = 0x80000242,
    kFrameLinkEvent = kLinkEventFrame,
};

// Login reply results (low byte of the result word).
enum : DWORD { kLoginAccepted = 1, kLoginNotNow = 2, kLoginIllegalName = 4 };

// Link-event sub-codes (the result word of 0xFFFFFFFF).
enum : DWORD {
    kLinkEscaped = 1,
    kLinkKickedOut = 2,
    kLinkRoomBreak = 4,
    kLinkNetTimeOut = 8,
};

enum { kLoginPayloadSize = 108, kLoginClientKind = 3, kPlayerRecordSize = 48 };

// The login frame's payload, read.
struct LoginRequest {
    std::string userName;  // char[20] at 0
    std::string room;      // char[40] at 20
    std::string loginText; // char[40] at 60
    uint16_t loginValue = 0;
    uint16_t seat = 0; // 0-based; 6 and more watch seat mod 6
};

enum class LoginFault {
    kNone,
    kLength,   // not exactly 108 bytes
    kKind,     // client kind byte is not 3
    kUserName, // the name is empty or has no NUL inside its field
    kText,     // the room or login text has no NUL inside its field
};
const char* LoginFaultText(LoginFault fault);

LoginFault ParseLoginRequest(const BYTE* payload, size_t length, LoginRequest& out);

// One seat's record of the login reply.
struct PlayerRecord {
    std::string name; // cut to 23 bytes
    uint16_t value = 0;
    uint16_t codePage = 0; // 0: the text needs no conversion
};

// Payload of an accepted login reply: u16 n, u16 table number, n records of
// 48 bytes, and an empty first block (u32 0).
std::vector<BYTE> BuildLoginReply(uint16_t tableNumber, const std::vector<PlayerRecord>& players);

// Wire bytes of one frame; empty when it would exceed kMaxFrameSize.
std::vector<BYTE> EncodeHostFrame(DWORD type, const void* payload, size_t length, DWORD result = 0);

// The same frame with bit 30 set and the payload as u32 inflated length
// followed by zlib's compress() output. Empty for the link event (never
// compressed), for a compressor failure, or when it would exceed the limit.
std::vector<BYTE> EncodeCompressedFrame(DWORD type, const void* payload, size_t length,
                                        DWORD result = 0);

// A NUL-terminated text as payload.
std::vector<BYTE> TextPayload(const std::string& text);

// A text field of a fixed width: cut to width - 1 bytes, zero-filled.
void PutTextField(BYTE* field, size_t width, const std::string& text);
// A text of a fixed field, read up to its NUL or the field's end.
std::string GetTextField(const BYTE* field, size_t width);

void PutWord(std::vector<BYTE>& bytes, size_t offset, DWORD value);
void PutHalf(std::vector<BYTE>& bytes, size_t offset, uint16_t value);

} // namespace tablehost
