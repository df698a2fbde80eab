#include "knclientbase05/LaunchInfo.h"

#include <climits>

#include "knclientbase05/KNpubSystem.h"
#include "outside/CrtArguments.h"
#include "platform/system/KernelObject.h"
#include "platform/system/SharedMemory.h"

#include <cstring>

tagLAUNCHINFO theLaunchInfo;

namespace {

// Argument positions of the command-line form.
enum Argument {
    kSeat = 1,
    kUserName,
    kNickName,
    kLoginInfo,
    kLoginValue,
    kRoom,
    kGameServer,
    kGameServerPort,
    kExtra,
    kChatServer,
    kChatServerPort,
    kShortText,
    kNumberValue,
    kOption
};

// Decimal with optional blanks and sign, stopping at the first non-digit;
// false when there is no digit (the value is then 0).
bool ReadDecimal(const char* text, DWORD* value) {
    while (*text == ' ' || *text == '\t')
        ++text;
    bool negative = *text == '-';
    if (*text == '-' || *text == '+')
        ++text;
    DWORD magnitude = 0;
    bool digits = false;
    for (; *text >= '0' && *text <= '9'; ++text, digits = true)
        magnitude = magnitude * 10 + static_cast<DWORD>(*text - '0');
    *value = negative ? 0u - magnitude : magnitude;
    return digits;
}

DWORD NumberArgument(const char* const* argv, int index, const char* field) {
    DWORD value = 0;
    if (!ReadDecimal(argv[index], &value))
        DebugTrace("launch record: %s \"%s\" is not a number, taken as 0", field, argv[index]);
    return value;
}

WORD PortArgument(const char* const* argv, int index, const char* field) {
    DWORD value = NumberArgument(argv, index, field);
    if (value > 0xFFFF)
        DebugTrace("launch record: %s %u does not fit 16 bits, kept as %u", field, value,
                   value & 0xFFFF);
    return static_cast<WORD>(value);
}

// Copies at most width - 1 bytes, never half a double-byte character.
void CopyText(char* field, size_t width, const char* text, const char* name) {
    size_t length = 0;
    while (text[length] != '\0') {
        size_t step = (static_cast<BYTE>(text[length]) & 0x80) && text[length + 1] != '\0' ? 2 : 1;
        if (length + step > width - 1) {
            DebugTrace("launch record: %s longer than %u bytes, cut", name,
                       static_cast<unsigned>(width - 1));
            break;
        }
        length += step;
    }
    memset(field, 0, width);
    memcpy(field, text, length);
}

// A block from outside may fill a text field to its last byte.
void TerminateTexts(tagLAUNCHINFO& record) {
    record.szUserName[sizeof record.szUserName - 1] = '\0';
    record.szNickName[sizeof record.szNickName - 1] = '\0';
    record.szLoginInfo[sizeof record.szLoginInfo - 1] = '\0';
    record.szRoom[sizeof record.szRoom - 1] = '\0';
    record.szGameServer[sizeof record.szGameServer - 1] = '\0';
    record.szExtra[sizeof record.szExtra - 1] = '\0';
    record.szChatServer[sizeof record.szChatServer - 1] = '\0';
    record.szShortText[sizeof record.szShortText - 1] = '\0';
}

// Seats count from 1 as delivered; a seat below that would index the
// table's seat arrays with a negative number.
bool SeatUsable(const tagLAUNCHINFO& record) {
    if (record.nSeatIndex >= 0)
        return true;
    DebugTrace("launch record refused: seat %d is not a seat (seats count from 1)",
               record.nSeatIndex + 1);
    return false;
}

} // namespace

int ParseLaunchArguments(int argc, const char* const* argv, tagLAUNCHINFO* record) {
    if (argv == nullptr || (argc != 14 && argc != 15)) {
        DebugTrace("launch record refused: %d arguments, expected 13 or 14", argc - 1);
        return 0;
    }
    for (int i = 1; i < argc; ++i) {
        if (argv[i] == nullptr) {
            DebugTrace("launch record refused: argument %d is missing", i);
            return 0;
        }
    }
    tagLAUNCHINFO filled = *record;
    // Seats count from 1; a number that reads as negative is no seat (and the
    // lowest one must not overflow on the way).
    const int seat = static_cast<int>(NumberArgument(argv, kSeat, "seat"));
    filled.nSeatIndex = seat > INT_MIN ? seat - 1 : -1;
    CopyText(filled.szUserName, sizeof filled.szUserName, argv[kUserName], "user name");
    CopyText(filled.szNickName, sizeof filled.szNickName, argv[kNickName], "nickname");
    CopyText(filled.szLoginInfo, sizeof filled.szLoginInfo, argv[kLoginInfo], "login text");
    filled.wLoginValue = static_cast<WORD>(NumberArgument(argv, kLoginValue, "login value"));
    CopyText(filled.szRoom, sizeof filled.szRoom, argv[kRoom], "room");
    CopyText(filled.szGameServer, sizeof filled.szGameServer, argv[kGameServer], "game server");
    filled.wGameServerPort = PortArgument(argv, kGameServerPort, "game server port");
    CopyText(filled.szExtra, sizeof filled.szExtra, argv[kExtra], "extra text");
    CopyText(filled.szChatServer, sizeof filled.szChatServer, argv[kChatServer], "chat server");
    filled.wChatServerPort = PortArgument(argv, kChatServerPort, "chat server port");
    CopyText(filled.szShortText, sizeof filled.szShortText, argv[kShortText], "short text");
    filled.dwNumberValue = NumberArgument(argv, kNumberValue, "number value");
    filled.dwOption = argc == 15 ? NumberArgument(argv, kOption, "option flag") : 0;
    if (!SeatUsable(filled))
        return 0;
    *record = filled;
    return 1;
}

int ReadLaunchBlock(const char* blockName, tagLAUNCHINFO* record) {
    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, blockName);
    if (mapping == nullptr) {
        DebugTrace("launch record refused: no shared block \"%s\"", blockName);
        return 0;
    }
    const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, sizeof(tagLAUNCHINFO));
    if (view == nullptr) {
        DebugTrace("launch record refused: shared block \"%s\" is shorter than %u bytes", blockName,
                   static_cast<unsigned>(sizeof(tagLAUNCHINFO)));
        CloseHandle(mapping);
        return 0;
    }
    tagLAUNCHINFO filled;
    memcpy(&filled, view, sizeof filled);
    UnmapViewOfFile(view);
    CloseHandle(mapping);
    --filled.nSeatIndex;
    TerminateTexts(filled);
    if (!SeatUsable(filled))
        return 0;
    *record = filled;
    return 1;
}

int ReadLaunchInfo() {
    if (__argc == 2 && __argv != nullptr && __argv[1] != nullptr)
        return ReadLaunchBlock(__argv[1], &theLaunchInfo);
    return ParseLaunchArguments(__argc, __argv, &theLaunchInfo);
}

int ReadLaunchInfoOneBased() {
    if (!ReadLaunchInfo())
        return 0;
    ++theLaunchInfo.nSeatIndex;
    return 1;
}
