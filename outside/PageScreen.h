#pragma once

// Whether markup is safe to lay out. The layout recurses once for each level
// of nesting and the parser's tree is freed the same way, so a page of many
// thousands of nested elements would exhaust the stack: a page with more
// start tags than maxElements is refused unparsed, and one whose parsed tree
// (with the elements HTML implies) nests deeper than maxDepth is refused too.
// Empty when the markup may be laid out, else the reason, in words the
// error page shows (UTF-8).

#include <string>

std::string ScreenMarkup(const std::string& utf8, int maxElements, int maxDepth);
