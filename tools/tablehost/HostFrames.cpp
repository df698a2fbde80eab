#include "tools/tablehost/HostFrames.h"

#include <algorithm>
#include <cstring>
#include <zlib.h>

namespace tablehost {

namespace {

// The longest prefix of text within limit bytes that does not split a
// two-byte GBK character.
size_t CutAtCharacter(const std::string& text, size_t limit) {
    size_t i = 0;
    while (i < text.size()) {
        const size_t step = static_cast<unsigned char>(text[i]) >= 0x81 ? 2 : 1;
        if (i + step > limit || i + step > text.size())
            break;
        i += step;
    }
    return i;
}

bool FieldHasNul(const BYTE* field, size_t width) {
    return memchr(field, 0, width) != nullptr;
}

} // namespace

const char* LoginFaultText(LoginFault fault) {
    switch (fault) {
    case LoginFault::kNone:
        return "ok";
    case LoginFault::kLength:
        return "payload is not 108 bytes";
    case LoginFault::kKind:
        return "client kind is not 3";
    case LoginFault::kUserName:
        return "user name empty or unterminated";
    case LoginFault::kText:
        return "room or login text unterminated";
    }
    return "?";
}

LoginFault ParseLoginRequest(const BYTE* payload, size_t length, LoginRequest& out) {
    out = LoginRequest{};
    if (payload == nullptr || length != kLoginPayloadSize)
        return LoginFault::kLength;
    if (payload[104] != kLoginClientKind)
        return LoginFault::kKind;
    if (!FieldHasNul(payload, 20) || payload[0] == 0)
        return LoginFault::kUserName;
    if (!FieldHasNul(payload + 20, 40) || !FieldHasNul(payload + 60, 40))
        return LoginFault::kText;
    out.userName = GetTextField(payload, 20);
    out.room = GetTextField(payload + 20, 40);
    out.loginText = GetTextField(payload + 60, 40);
    out.loginValue = uint16_t(payload[100] | payload[101] << 8);
    out.seat = uint16_t(payload[102] | payload[103] << 8);
    return LoginFault::kNone;
}

std::vector<BYTE> BuildLoginReply(uint16_t tableNumber, const std::vector<PlayerRecord>& players) {
    const size_t count = std::min<size_t>(players.size(), 0xFFFF);
    std::vector<BYTE> payload(4 + kPlayerRecordSize * count + 4, 0);
    PutHalf(payload, 0, uint16_t(count));
    PutHalf(payload, 2, tableNumber);
    for (size_t i = 0; i < count; ++i) {
        const size_t at = 4 + kPlayerRecordSize * i;
        PutWord(payload, at, DWORD(players[i].value) | DWORD(players[i].codePage) << 16);
        PutTextField(&payload[at + 24], 24, players[i].name);
    }
    // The first block's length stays 0: its contents mean nothing to the client.
    return payload;
}

std::vector<BYTE> EncodeHostFrame(DWORD type, const void* payload, size_t length, DWORD result) {
    const size_t headerSize = FrameHeaderSize(type);
    if (headerSize + length > kMaxFrameSize || (length != 0 && payload == nullptr))
        return {};
    std::vector<BYTE> frame(headerSize + length);
    tagMSGHEADER header{type, DWORD(length), result};
    memcpy(frame.data(), &header, headerSize);
    if (length != 0)
        memcpy(frame.data() + headerSize, payload, length);
    return EncodeFrame(reinterpret_cast<const tagMSGHEADER*>(frame.data()));
}

std::vector<BYTE> EncodeCompressedFrame(DWORD type, const void* payload, size_t length,
                                        DWORD result) {
    if (type == kLinkEventFrame || (length != 0 && payload == nullptr) ||
        length > kMaxInflatedLength)
        return {};
    uLongf packedLength = compressBound(uLong(length));
    std::vector<BYTE> packed(4 + packedLength);
    PutWord(packed, 0, DWORD(length));
    if (compress(packed.data() + 4, &packedLength, static_cast<const Bytef*>(payload),
                 uLong(length)) != Z_OK)
        return {};
    packed.resize(4 + packedLength);
    return EncodeHostFrame(type | kFrameCompressed, packed.data(), packed.size(), result);
}

std::vector<BYTE> TextPayload(const std::string& text) {
    std::vector<BYTE> payload(text.begin(), text.end());
    payload.push_back(0);
    return payload;
}

void PutTextField(BYTE* field, size_t width, const std::string& text) {
    if (width == 0)
        return;
    memset(field, 0, width);
    memcpy(field, text.data(), CutAtCharacter(text, width - 1));
}

std::string GetTextField(const BYTE* field, size_t width) {
    const void* nul = memchr(field, 0, width);
    const size_t length = nul ? size_t(static_cast<const BYTE*>(nul) - field) : width;
    return std::string(reinterpret_cast<const char*>(field), length);
}

void PutWord(std::vector<BYTE>& bytes, size_t offset, DWORD value) {
    if (offset + 4 <= bytes.size())
        WriteWireWord(&bytes[offset], value);
}

void PutHalf(std::vector<BYTE>& bytes, size_t offset, uint16_t value) {
    if (offset + 2 <= bytes.size()) {
        bytes[offset] = BYTE(value);
        bytes[offset + 1] = BYTE(value >> 8);
    }
}

} // namespace tablehost
