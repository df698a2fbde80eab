#include "Tablehub/LoginReply.h"

#include "knclientbase05/MessageHeader.h"
#include "knclientbase05/NoticeText.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr size_t kCountsSize = 4;
constexpr size_t kWordSize = 4;
// The replacement the converter puts for a character the target lacks.
constexpr WORD kReplacement = 0x5F5F;
// The converter is given no size. Ours never makes a text longer; a real
// one may, by a few bytes a character at most: four times the longest name
// and its NUL is far beyond what any code page needs.
constexpr size_t kConvertedSize = 4 * (sizeof(tagPLAYERINFO::szName) + 1);

WORD ReadWireHalf(const BYTE* bytes) {
    return WORD(bytes[0] | bytes[1] << 8);
}

} // namespace

int ReadLoginReply(BYTE* payload, size_t length, tagLOGINREPLY* reply) {
    if (payload == nullptr || reply == nullptr || length < kCountsSize)
        return 0;
    tagLOGINREPLY read;
    read.wPlayerCount = ReadWireHalf(payload);
    read.wTableNumber = ReadWireHalf(payload + 2);
    // 64-bit sums: no count the server sends can wrap them.
    const uint64_t firstLengthAt =
        kCountsSize + uint64_t(read.wPlayerCount) * sizeof(tagPLAYERINFO);
    if (firstLengthAt + kWordSize > length)
        return 0;
    read.dwFirstBlockLength = ReadWireWord(payload + firstLengthAt);
    const uint64_t firstBlockAt = firstLengthAt + kWordSize;
    const uint64_t firstBlockEnd = firstBlockAt + read.dwFirstBlockLength;
    if (firstBlockEnd > length)
        return 0;
    read.pPlayers = reinterpret_cast<tagPLAYERINFO*>(payload + kCountsSize);
    read.pFirstBlock = payload + firstBlockAt;
    if (firstBlockEnd < length) {
        if (firstBlockEnd + kWordSize > length)
            return 0;
        read.dwSecondValue = ReadWireWord(payload + firstBlockEnd);
        read.pSecondBlock = payload + firstBlockEnd + kWordSize;
        read.nSecondBlockLength = size_t(length - (firstBlockEnd + kWordSize));
    }
    *reply = read;
    return 1;
}

void ConvertPlayerNames(tagPLAYERINFO* players, int count, TranStrCodePageFunction convert,
                        WORD targetCodePage) {
    if (players == nullptr || convert == nullptr)
        return;
    for (int i = 0; i < count; ++i) {
        tagPLAYERINFO& player = players[i];
        BYTE* valueBytes = reinterpret_cast<BYTE*>(&player.dwValue);
        const DWORD value = ReadWireWord(valueBytes);
        const WORD codePage = WORD(value >> 16);
        if (codePage != 0 && codePage != targetCodePage) {
            char source[sizeof player.szName + 1] = {};
            memcpy(source, player.szName, strnlen(player.szName, sizeof player.szName));
            char converted[kConvertedSize] = {};
            convert(source, converted, codePage, targetCodePage, kReplacement);
            converted[sizeof converted - 1] = '\0';
            memset(player.szName, 0, sizeof player.szName);
            CopyBoundedText(player.szName, sizeof player.szName, converted, sizeof converted);
        }
        WriteWireWord(valueBytes, value & 0xFFFF);
    }
}
