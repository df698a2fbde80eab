// Arbitrary chat lines and seat names through the table's reading of a
// received line: the first six NUL-ended pieces are the seats' user names,
// the rest is the line. A tip belongs to a seated speaker and comes from the
// line's own bytes; the reading never runs past the line.

#include "table/panes/GameWndChatLine.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    CString names[6];
    size_t at = 0;
    for (CString& name : names) {
        const size_t end = input.find('\0', at);
        if (end == std::string::npos)
            break;
        name = CString(input.c_str() + at, int(end - at));
        at = end + 1;
    }
    const std::string line = at < input.size() ? input.substr(at) : std::string();
    const ChatSpeech speech = ReadChatLine(line.c_str(), names);
    if (speech.seat < -1 || speech.seat >= 6)
        abort();
    if (speech.seat >= 0 && names[speech.seat].IsEmpty())
        abort();
    if (speech.seat < 0 && !speech.tip.IsEmpty())
        abort();
    // The addressed form adds at most its fixed words and two names.
    if (size_t(speech.tip.GetLength()) > line.size() + 64)
        abort();
    return 0;
}
