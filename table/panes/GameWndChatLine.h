#pragma once

// Reading the chat lines the chat pane hands to the table: who spoke, to
// whom, and what goes into the speaker's speech tip. Lines are GBK text;
// every search steps over double-byte characters, so the trail byte of one
// character is never taken for '[' or for half of "：".

#include "platform/CString.h"

// Lines written in a symbol font are pictures, not speech.
BOOL IsSymbolFontLine(LPCSTR text);
// Own lines that begin with two backquotes are commands of the chat pane.
BOOL IsChatCommandLine(LPCSTR text);

// What a received line shows on the table.
struct ChatSpeech {
    int seat = -1; // the speaker's seat, -1: no tip
    CString tip;   // the text of the speech tip
};

// The speaker is the text between the first '[' and the next '<' or ']'; it
// must be the user name of a seated player (names[seat], empty for a free
// seat). The spoken part follows the first "：" after the name. A line that
// names another seated player ("[a]对[b]说：...") becomes "[a]对[b]说道："
// followed by the spoken part after its first ','. A line without these
// markers gives no tip.
ChatSpeech ReadChatLine(LPCSTR text, const CString names[6]);
