// Converting fetched pages to UTF-8 with iconv.

#include "outside/PageText.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
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

} // namespace

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
