#include "table/panes/GameWndChatLine.h"

#include <cstring>

namespace {

// A user name fills at most 20 bytes; a longer "speaker" is no user.
constexpr int kMaxSpeakerBytes = 20;
const char kColon[] = "：";

BOOL StartsWith(LPCSTR text, LPCSTR prefix) {
    return text != nullptr && strncmp(text, prefix, strlen(prefix)) == 0;
}

// The first '<' or ']' at or after start, -1 when there is none.
int FindNameEnd(const CString& line, int start) {
    const int angle = line.Find('<', start);
    const int bracket = line.Find(']', start);
    if (angle < 0)
        return bracket;
    if (bracket < 0)
        return angle;
    return angle < bracket ? angle : bracket;
}

// The seat whose user name is exactly the name; -1 for none or an empty name.
int SeatNamed(const CString& name, const CString names[6]) {
    if (name.IsEmpty())
        return -1;
    for (int seat = 0; seat < 6; ++seat) {
        if (!names[seat].IsEmpty() && strcmp(names[seat], name) == 0)
            return seat;
    }
    return -1;
}

} // namespace

BOOL IsSymbolFontLine(LPCSTR text) {
    return StartsWith(text, "<f=Webdings") || StartsWith(text, "<f=Wingdings");
}

BOOL IsChatCommandLine(LPCSTR text) {
    return StartsWith(text, "``");
}

ChatSpeech ReadChatLine(LPCSTR text, const CString names[6]) {
    ChatSpeech speech;
    if (text == nullptr || *text == '\0' || IsSymbolFontLine(text))
        return speech;
    const CString line(text);
    const int open = line.Find('[');
    if (open < 0)
        return speech;
    const int end = FindNameEnd(line, open + 1);
    if (end < 0 || end - open - 1 > kMaxSpeakerBytes)
        return speech;
    const CString speaker = line.Mid(open + 1, end - open - 1);
    const int seat = SeatNamed(speaker, names);
    if (seat < 0)
        return speech;
    const int colon = line.Find(kColon, end);
    if (colon < 0)
        return speech;
    CString spoken = line.Mid(colon + int(strlen(kColon)));

    // A player addressed by name between the speaker and the colon.
    const CString head = line.Left(colon);
    const int otherOpen = head.Find('[', end);
    if (otherOpen >= 0) {
        const int otherEnd = FindNameEnd(head, otherOpen + 1);
        const CString other =
            otherEnd > otherOpen ? head.Mid(otherOpen + 1, otherEnd - otherOpen - 1) : CString();
        const int otherSeat =
            otherEnd - otherOpen - 1 <= kMaxSpeakerBytes ? SeatNamed(other, names) : -1;
        if (otherSeat >= 0 && otherSeat != seat) {
            const int comma = spoken.Find(',');
            if (comma >= 0)
                spoken = spoken.Mid(comma + 1);
            speech.tip = "[" + speaker + "]对[" + other + "]说道：" + spoken;
            speech.seat = seat;
            return speech;
        }
    }
    speech.tip = spoken;
    speech.seat = seat;
    return speech;
}
