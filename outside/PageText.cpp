// Converting fetched pages to UTF-8 with iconv.

#include "outside/PageText.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <iconv.h>

namespace {

const char kReplacement[] = "\xEF\xBF\xBD";

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

// The value after "charset=" in text, up to a quote, blank, ';' or '>'.
std::string CharsetIn(const std::string& text) {
    const std::string lower = Lower(text);
    const size_t at = lower.find("charset=");
    if (at == std::string::npos)
        return std::string();
    size_t begin = at + 8;
    while (begin < lower.size() && (lower[begin] == '"' || lower[begin] == '\''))
        ++begin;
    const size_t end = lower.find_first_of("\"'; \t\r\n>/", begin);
    return lower.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
}

bool ValidUtf8(const std::string& s) {
    size_t i = 0;
    while (i < s.size()) {
        const unsigned char c = s[i];
        const int more = c < 0x80         ? 0
                         : (c >> 5) == 6  ? 1
                         : (c >> 4) == 14 ? 2
                         : (c >> 3) == 30 ? 3
                                          : -1;
        if (more < 0 || i + size_t(more) >= s.size())
            return false;
        for (int k = 1; k <= more; ++k)
            if ((static_cast<unsigned char>(s[i + size_t(k)]) >> 6) != 2)
                return false;
        i += size_t(more) + 1;
    }
    return true;
}

// Converts with iconv, a byte it cannot take becoming U+FFFD.
bool Convert(const std::string& from, const std::string& body, std::string& out) {
    iconv_t cd = iconv_open("UTF-8", from.c_str());
    if (cd == iconv_t(-1))
        return false;
    out.clear();
    char buffer[4096];
    char* in = const_cast<char*>(body.data());
    size_t left = body.size();
    while (left > 0) {
        char* to = buffer;
        size_t room = sizeof buffer;
        const size_t done = iconv(cd, &in, &left, &to, &room);
        out.append(buffer, size_t(to - buffer));
        if (done == size_t(-1) && errno != E2BIG) {
            out += kReplacement; // a broken or cut-off sequence: skip one byte
            ++in;
            --left;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return true;
}

// The code point at text[0] and its byte count (at most left); a broken
// sequence counts as one byte.
char32_t NextCodePoint(const char* text, size_t left, size_t& bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    const int more = p[0] < 0x80         ? 0
                     : (p[0] >> 5) == 6  ? 1
                     : (p[0] >> 4) == 14 ? 2
                     : (p[0] >> 3) == 30 ? 3
                                         : -1;
    bytes = 1;
    if (more <= 0)
        return more == 0 ? p[0] : 0xFFFD;
    if (size_t(more) >= left)
        return 0xFFFD;
    char32_t c = p[0] & (0x3F >> more);
    for (int k = 1; k <= more; ++k) {
        if ((p[k] >> 6) != 2)
            return 0xFFFD;
        c = c << 6 | (p[k] & 0x3F);
    }
    bytes = size_t(more) + 1;
    return c;
}

// Chinese, Japanese and Korean text has no spaces: a line may break after
// any of its characters.
bool BreaksAlone(char32_t c) {
    return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7AF) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF00 && c <= 0xFFEF) ||
           (c >= 0x20000 && c <= 0x2FFFF);
}

bool IsBlank(char32_t c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

// Calls piece(start, bytes, blank) for each word and blank of text.
template <typename Piece> void ForEachPiece(const char* text, size_t length, Piece piece) {
    size_t word = 0, wordBytes = 0;
    for (size_t i = 0; i < length;) {
        size_t bytes = 1;
        const char32_t c = NextCodePoint(text + i, length - i, bytes);
        const bool blank = IsBlank(c);
        if (blank || BreaksAlone(c)) {
            if (wordBytes > 0)
                piece(text + word, wordBytes, false);
            wordBytes = 0;
            piece(text + i, bytes, blank);
        } else {
            if (wordBytes == 0)
                word = i;
            wordBytes += bytes;
        }
        i += bytes;
    }
    if (wordBytes > 0)
        piece(text + word, wordBytes, false);
}

} // namespace

void SplitPageText(const char* text, const std::function<void(const char*)>& onWord,
                   const std::function<void(const char*)>& onSpace) {
    if (!text)
        return;
    ForEachPiece(text, strlen(text), [&](const char* start, size_t bytes, bool blank) {
        const std::string piece(start, bytes);
        if (!blank)
            onWord(piece.c_str());
        else if (onSpace)
            onSpace(piece.c_str());
    });
}

size_t CountPagePieces(const char* text, size_t length) {
    size_t pieces = 0;
    if (text)
        ForEachPiece(text, length, [&](const char*, size_t, bool) { ++pieces; });
    return pieces;
}

std::string PageTextToUtf8(const std::string& body, const std::string& contentType,
                           std::string* charsetUsed) {
    std::string charset = CharsetIn(contentType);
    if (charset.empty()) {
        const std::string head = Lower(body.substr(0, 1024));
        for (size_t meta = head.find("<meta"); meta != std::string::npos && charset.empty();
             meta = head.find("<meta", meta + 5))
            charset = CharsetIn(head.substr(meta, head.find('>', meta) - meta));
    }
    std::string text = body;
    if (charset.empty() && body.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        charset = "utf-8";
        text = body.substr(3);
    }
    if (charset.empty())
        charset = ValidUtf8(body) ? "utf-8" : "gbk";
    if (charset == "gb2312" || charset == "gbk" || charset == "x-gbk" || charset == "gb18030")
        charset = "gb18030";
    std::string converted;
    if (!Convert(charset == "utf8" ? "utf-8" : charset, text, converted)) {
        charset = "gb18030";
        Convert(charset, text, converted);
    }
    if (charsetUsed)
        *charsetUsed = charset;
    return converted;
}
