#pragma once

// Whether markup is safe to lay out. The layout recurses once for each level
// of nesting and the parser's tree is freed the same way, so a page of many
// thousands of nested elements would exhaust the stack; and it keeps an
// object of some hundred bytes for each element and for each word and blank
// of the text. A page with more start tags than maxElements is refused
// unparsed; then one whose parsed tree holds more elements (with those HTML
// implies) than maxElements, more words and blanks than maxPieces, nests
// deeper than maxDepth, or whose tables' grids (rows times the widest row's
// columns, spans counted) hold more than 20000 cells.
// Empty when the markup may be laid out, else the reason, in words the
// error page shows (UTF-8).

#include <string>

std::string ScreenMarkup(const std::string& utf8, int maxElements, int maxPieces, int maxDepth);

namespace litehtml {
class document;
}

// Whether a parsed page lays out in reasonable time. The layout measures a
// box that shrinks to fit its content (a float, an inline block, a table
// cell, an absolutely placed box) by laying its content out more than once,
// so each such box nested in another multiplies the work: a page nesting
// more than maxNested of them is refused. Empty when it may be laid out,
// else the reason (UTF-8).
std::string ScreenLayout(litehtml::document& page, int maxNested);
