#pragma once
// The message box's text rules: blank lines folded, the shop's help address
// put on a line of its own, and lines broken by byte count without ever
// splitting a double-byte (GBK) character.

#include "platform/CString.h"

#include <functional>
#include <vector>

namespace message_text {

// The shop pages the box links to are the settings' wealth help and card
// shop links (WebLinkAddress).
// The phrase that asks the user to visit the shop for more wealth.
extern const char* const kWealthPhrase;

// Every "\n\n" becomes "\n", in one pass from the left.
CString FoldBlankLines(const CString& text);
// The text speaks of the shop (its phrase or either address).
bool IsLinkText(const CString& text);
// A link text without an address: spaces gone and the help address on its
// own line after the phrase. Texts that hold "http://" come back unchanged.
CString InsertHelpAddress(const CString& text);

// The number of bytes of the next line when at most n fit: n, or n - 1 when
// the n-th byte would split a double-byte character; never less than one
// whole character.
int LineStep(const char* text, int length, int n);

// The lines the text takes in an area `width` pixels wide: each "\n" piece
// counts alone, an empty one as 0, one that fits as 1, a wider one by steps
// of n = width / charWidth bytes. extent gives a piece's width in pixels.
int CountLines(const CString& text, int width, int charWidth,
               const std::function<int(const char*, int)>& extent);

// The lines drawn, n bytes at most each, at most maxLines of them. When text
// is left over, the last line ends in " ...", whole characters dropped to
// make room for it.
std::vector<CString> BreakLines(const CString& text, int n, int maxLines);

} // namespace message_text
