#pragma once

// Helpers shared by the framing socket's framework frames and its framework
// operations (KNSocketFramework.cpp, KNSocketFrameworkOps.cpp).

#include "knclientbase05/MessageHeader.h"

#include <cstddef>
#include <string>
#include <vector>

namespace framework {

// The user name fields of the framework frames.
constexpr DWORD kNameField = 20;
constexpr DWORD kTrustExitFrame = 0x21A;

// True when the payload holds what the frame's layout needs; a short frame
// is logged (and then dropped by the caller).
bool HasPayload(DWORD type, DWORD length, DWORD needed);

// A frame in memory form: the header in host order, then the payload. Never
// shorter than tagMSGHEADER, so every header field may be read.
std::vector<BYTE> MakeFrame(DWORD type, DWORD result, const void* payload, size_t length);

inline const BYTE* PayloadOf(const tagMSGHEADER* frame) {
    return reinterpret_cast<const BYTE*>(frame) + FrameHeaderSize(frame->type);
}

// A string of the resource search; empty when there is none.
std::string ResourceString(UINT id);

} // namespace framework
