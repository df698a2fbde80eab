// The login reply's payload from arbitrary input, read and then its names
// converted by a converter that makes each text grow as much as a code page
// can. Whatever the counts say, nothing is read or written outside the
// payload (the sanitizers watch), and what is handed back lies inside it.

#include "Tablehub/LoginReply.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// Every source byte becomes three, the most a name could grow by.
int Growing(const char* source, char* destination, WORD, WORD, WORD) {
    size_t length = strlen(source);
    for (size_t i = 0; i < length; ++i)
        memset(destination + 3 * i, source[i], 3);
    destination[3 * length] = '\0';
    return 1;
}

void Check(bool holds) {
    if (!holds)
        abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // An exact-size copy, so that any read past the payload is caught.
    std::vector<BYTE> payload(data, data + size);
    tagLOGINREPLY reply;
    if (!ReadLoginReply(payload.data(), payload.size(), &reply))
        return 0;
    const BYTE* begin = payload.data();
    const BYTE* end = begin + payload.size();
    const auto* players = reinterpret_cast<const BYTE*>(reply.pPlayers);
    Check(players + size_t(reply.wPlayerCount) * sizeof(tagPLAYERINFO) <= end);
    Check(reply.pFirstBlock >= begin && reply.pFirstBlock + reply.dwFirstBlockLength <= end);
    if (reply.pSecondBlock != nullptr)
        Check(reply.pSecondBlock + reply.nSecondBlockLength == end);

    std::vector<DWORD> before(reply.wPlayerCount);
    for (int i = 0; i < reply.wPlayerCount; ++i)
        memcpy(&before[size_t(i)], &reply.pPlayers[i].dwValue, sizeof(DWORD));
    ConvertPlayerNames(reply.pPlayers, reply.wPlayerCount, Growing, 0);
    for (int i = 0; i < reply.wPlayerCount; ++i) {
        const tagPLAYERINFO& player = reply.pPlayers[i];
        DWORD value;
        memcpy(&value, &player.dwValue, sizeof value);
        Check(value == (before[size_t(i)] & 0xFFFF));
        // A converted name ends inside its field; others stay as they came.
        if ((before[size_t(i)] >> 16) != 0)
            Check(memchr(player.szName, '\0', sizeof player.szName) != nullptr);
    }
    return 0;
}
