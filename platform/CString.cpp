#include "platform/CString.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <strings.h>
#include <vector>

using platform::IsGbkLeadByte;

namespace {

// Byte length of the character starting at i (a lead byte at the very end is one byte).
size_t CharLength(const std::string& s, size_t i) {
    return IsGbkLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
}

// Byte offsets where characters start, from start on.
template <typename Visit> void ForEachChar(const std::string& s, size_t start, Visit visit) {
    size_t i = 0;
    while (i < start && i < s.size())
        i += CharLength(s, i); // stay in step with the characters before start
    while (i < s.size()) {
        const size_t length = CharLength(s, i);
        if (!visit(i, length))
            return;
        i += length;
    }
}

bool IsSpace(char ch) {
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n' || ch == '\v' || ch == '\f';
}

} // namespace

int CString::Compare(LPCSTR other) const {
    return strcmp(m_text.c_str(), other ? other : "");
}

int CString::CompareNoCase(LPCSTR other) const {
    return strcasecmp(m_text.c_str(), other ? other : "");
}

void CString::FormatV(LPCSTR format, va_list args) {
    va_list copy;
    va_copy(copy, args);
    const int length = vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (length < 0) {
        m_text.clear();
        return;
    }
    std::vector<char> buffer(size_t(length) + 1);
    vsnprintf(buffer.data(), buffer.size(), format, args);
    m_text.assign(buffer.data(), size_t(length));
}

void CString::Format(LPCSTR format, ...) {
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::AppendFormat(LPCSTR format, ...) {
    CString tail;
    va_list args;
    va_start(args, format);
    tail.FormatV(format, args);
    va_end(args);
    m_text += tail.m_text;
}

CString CString::Left(int count) const {
    return CString(m_text.substr(0, size_t(std::clamp(count, 0, GetLength()))));
}

CString CString::Mid(int first) const {
    return Mid(first, GetLength());
}

CString CString::Mid(int first, int count) const {
    first = std::clamp(first, 0, GetLength());
    count = std::clamp(count, 0, GetLength() - first);
    return CString(m_text.substr(size_t(first), size_t(count)));
}

CString CString::Right(int count) const {
    count = std::clamp(count, 0, GetLength());
    return CString(m_text.substr(m_text.size() - size_t(count)));
}

int CString::Find(char ch, int start) const {
    int found = -1;
    if (start < 0)
        start = 0;
    ForEachChar(m_text, size_t(start), [&](size_t i, size_t length) {
        if (length == 1 && m_text[i] == ch) {
            found = int(i);
            return false;
        }
        return true;
    });
    return found;
}

int CString::Find(LPCSTR sub, int start) const {
    if (!sub)
        return -1;
    const size_t subLength = strlen(sub);
    int found = -1;
    if (start < 0)
        start = 0;
    if (subLength == 0)
        return start <= GetLength() ? start : -1;
    ForEachChar(m_text, size_t(start), [&](size_t i, size_t) {
        if (m_text.compare(i, subLength, sub) == 0) {
            found = int(i);
            return false;
        }
        return true;
    });
    return found;
}

int CString::ReverseFind(char ch) const {
    int found = -1;
    ForEachChar(m_text, 0, [&](size_t i, size_t length) {
        if (length == 1 && m_text[i] == ch)
            found = int(i);
        return true;
    });
    return found;
}

int CString::FindOneOf(LPCSTR chars) const {
    int found = -1;
    if (!chars)
        return -1;
    ForEachChar(m_text, 0, [&](size_t i, size_t length) {
        if (length == 1 && m_text[i] != '\0' && strchr(chars, m_text[i])) {
            found = int(i);
            return false;
        }
        return true;
    });
    return found;
}

int CString::Replace(char from, char to) {
    int count = 0;
    ForEachChar(m_text, 0, [&](size_t i, size_t length) {
        if (length == 1 && m_text[i] == from) {
            m_text[i] = to;
            ++count;
        }
        return true;
    });
    return count;
}

int CString::Replace(LPCSTR from, LPCSTR to) {
    if (!from || !*from)
        return 0;
    const std::string pattern(from), replacement(to ? to : "");
    std::string result;
    int count = 0;
    size_t copied = 0;
    ForEachChar(m_text, 0, [&](size_t i, size_t) {
        if (i >= copied && m_text.compare(i, pattern.size(), pattern) == 0) {
            result.append(m_text, copied, i - copied);
            result += replacement;
            copied = i + pattern.size();
            ++count;
        }
        return true;
    });
    if (count) {
        result.append(m_text, copied, std::string::npos);
        m_text = std::move(result);
    }
    return count;
}

int CString::Remove(char ch) {
    std::string result;
    int count = 0;
    ForEachChar(m_text, 0, [&](size_t i, size_t length) {
        if (length == 1 && m_text[i] == ch)
            ++count;
        else
            result.append(m_text, i, length);
        return true;
    });
    m_text = std::move(result);
    return count;
}

int CString::Insert(int index, LPCSTR text) {
    m_text.insert(size_t(std::clamp(index, 0, GetLength())), text ? text : "");
    return GetLength();
}

int CString::Insert(int index, char ch) {
    const char text[2] = {ch, '\0'};
    return Insert(index, text);
}

int CString::Delete(int index, int count) {
    if (index >= 0 && index < GetLength() && count > 0)
        m_text.erase(size_t(index), size_t(count));
    return GetLength();
}

CString& CString::MakeUpper() {
    ForEachChar(m_text, 0, [&](size_t i, size_t length) {
        if (length == 1 && m_text[i] >= 'a' && m_text[i] <= 'z')
            m_text[i] = char(m_text[i] - 'a' + 'A');
        return true;
    });
    return *this;
}

CString& CString::MakeLower() {
    ForEachChar(m_text, 0, [&](size_t i, size_t length) {
        if (length == 1 && m_text[i] >= 'A' && m_text[i] <= 'Z')
            m_text[i] = char(m_text[i] - 'A' + 'a');
        return true;
    });
    return *this;
}

// Whitespace and the given characters are single bytes below 0x80, which never
// occur inside a double-byte character's lead position and are trimmed safely
// from the left; from the right a trail byte is never whitespace.
CString& CString::TrimLeft() {
    size_t i = 0;
    while (i < m_text.size() && IsSpace(m_text[i]))
        ++i;
    m_text.erase(0, i);
    return *this;
}

CString& CString::TrimRight() {
    while (!m_text.empty() && IsSpace(m_text.back()))
        m_text.pop_back();
    return *this;
}

CString& CString::Trim() {
    return TrimRight().TrimLeft();
}

CString& CString::TrimLeft(char ch) {
    size_t i = 0;
    while (i < m_text.size() && m_text[i] == ch)
        ++i;
    m_text.erase(0, i);
    return *this;
}

CString& CString::TrimRight(char ch) {
    size_t end = 0; // just past the last character that is not ch
    ForEachChar(m_text, 0, [&](size_t i, size_t length) {
        if (!(length == 1 && m_text[i] == ch))
            end = i + length;
        return true;
    });
    m_text.erase(end);
    return *this;
}

LPSTR CString::GetBuffer(int minLength) {
    if (minLength > GetLength())
        m_text.resize(size_t(minLength));
    return m_text.data();
}

LPSTR CString::GetBufferSetLength(int length) {
    m_text.resize(size_t(std::max(length, 0)));
    return m_text.data();
}

void CString::ReleaseBuffer(int newLength) {
    if (newLength < 0)
        newLength = int(strnlen(m_text.c_str(), m_text.size()));
    m_text.resize(size_t(std::min(newLength, GetLength())));
}

CString operator+(const CString& a, const CString& b) {
    return CString(a.str() + b.str());
}
CString operator+(const CString& a, LPCSTR b) {
    return CString(a.str() + (b ? b : ""));
}
CString operator+(LPCSTR a, const CString& b) {
    return CString((a ? a : "") + b.str());
}
CString operator+(const CString& a, char b) {
    return CString(a.str() + b);
}
CString operator+(char a, const CString& b) {
    return CString(a + b.str());
}

bool operator==(const CString& a, const CString& b) {
    return a.str() == b.str();
}
bool operator==(const CString& a, LPCSTR b) {
    return a.Compare(b) == 0;
}
bool operator==(LPCSTR a, const CString& b) {
    return b.Compare(a) == 0;
}
bool operator!=(const CString& a, const CString& b) {
    return !(a == b);
}
bool operator!=(const CString& a, LPCSTR b) {
    return !(a == b);
}
bool operator!=(LPCSTR a, const CString& b) {
    return !(a == b);
}
bool operator<(const CString& a, const CString& b) {
    return a.Compare(b) < 0;
}
bool operator>(const CString& a, const CString& b) {
    return a.Compare(b) > 0;
}
bool operator<=(const CString& a, const CString& b) {
    return a.Compare(b) <= 0;
}
bool operator>=(const CString& a, const CString& b) {
    return a.Compare(b) >= 0;
}
