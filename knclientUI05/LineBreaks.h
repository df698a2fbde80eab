#pragma once

// Where a text's lines break, as the hyperlink text draws it and the message
// boxes measure it.

#include "platform/Types.h"

// The length of a line break starting at text[i], or 0: CR or LF with one
// more CR or LF belonging to it, or the two characters backslash and 'n'.
int LineBreakLengthAt(LPCSTR text, int length, int i);
