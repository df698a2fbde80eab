#pragma once

// One adversarial conversation of the hostile host, made from a seed: what
// a server sends after the login, in writes with pauses between them, and
// how it ends. It starts from genuine records of a real table and damages
// them: valid records in orders no referee sends, out-of-range fields,
// lying lengths and cut or padded records, huge unterminated texts, random
// frames, a flood while the deal animates, frames written in pieces. Every
// conversation ends with the liveness probe: my seat given back, a table
// record the program answers and a marker record it logs, and then one of
// the endings below.

#include "GenuineGames.h"

#include <cstdint>
#include <string>
#include <vector>

namespace hostile {

struct Write {
    std::vector<uint8_t> bytes;
    uint32_t pauseBeforeMs = 0;
};

enum class Ending {
    kClose,          // the server closes between frames
    kCloseMidFrame,  // the server closes inside a frame
    kOversizedFrame, // a header that announces more than any frame holds
    kLinkEvent,      // the link event: escaped, kicked, room closed, time-out, other
    kLeaveReply,     // the table dissolved (0x80000202)
    kBadCompression, // a compressed frame that does not inflate
};
const char* EndingName(Ending ending);

struct Conversation {
    uint32_t seed = 0;
    std::string plan; // the damages done, for the report
    std::vector<Write> body;
    // A line a frame of the body: its type, its record's id and sizes.
    std::vector<std::string> outline;
    // Game records that the program must refuse whatever its table holds (a
    // layout, seat or card fault); it may refuse more (a play it cannot
    // decipher with its key), each once in its log.
    int refusalsDue = 0;
    // The probe: the marker's body length, as the program logs it.
    int markerLength = 0;
    std::vector<uint8_t> probe; // restore the seat, the table record, the marker
    Ending ending = Ending::kClose;
    std::vector<uint8_t> endingBytes;
};

Conversation MakeConversation(uint32_t seed, const std::vector<GenuineTable>& tables);

} // namespace hostile
