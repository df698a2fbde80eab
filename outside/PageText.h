#pragma once

// A fetched page's bytes as UTF-8 text for the layout. The charset is the
// Content-Type header's, else a <meta> tag's within the first 1024 bytes,
// else a byte-order mark's; without any, bytes that are valid UTF-8 are taken
// as such and others as GBK, the system's own code page. GB2312 and GBK pages
// are read as GB18030, which holds both. Bytes that do not convert become
// U+FFFD; an unknown charset is read as GBK.

#include <cstddef>
#include <functional>
#include <string>

std::string PageTextToUtf8(const std::string& body, const std::string& contentType,
                           std::string* charsetUsed = nullptr);

// Text as the layout cuts it: each run of letters is a word, each blank a
// piece of its own, and each Chinese, Japanese or Korean character a word
// (a line may break after any of them). onSpace may be null.
void SplitPageText(const char* text, const std::function<void(const char*)>& onWord,
                   const std::function<void(const char*)>& onSpace);
// How many pieces the layout makes of text, words and blanks together.
size_t CountPagePieces(const char* text, size_t length);
