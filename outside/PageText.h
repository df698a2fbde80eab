#pragma once

// A fetched page's bytes as UTF-8 text for the layout. The charset is the
// Content-Type header's, else a <meta> tag's within the first 1024 bytes,
// else a byte-order mark's; without any, bytes that are valid UTF-8 are taken
// as such and others as GBK, the system's own code page. GB2312 and GBK pages
// are read as GB18030, which holds both. Bytes that do not convert become
// U+FFFD; an unknown charset is read as GBK.

#include <string>

std::string PageTextToUtf8(const std::string& body, const std::string& contentType,
                           std::string* charsetUsed = nullptr);
