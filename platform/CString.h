#pragma once

// CString: a byte string of the program's text, GBK at run time. Searches,
// replacements and case changes step over double-byte characters, so a trail
// byte that happens to equal '\\' or a letter is never taken for one.

#include "platform/Types.h"

#include <cstdarg>
#include <string>

class CString {
public:
    CString() = default;
    CString(LPCSTR text) : m_text(text ? text : "") {}
    CString(LPCSTR text, int length) : m_text(text ? text : "", text ? size_t(length) : 0) {}
    CString(char ch, int repeat = 1) : m_text(size_t(repeat > 0 ? repeat : 0), ch) {}
    CString(const std::string& text) : m_text(text) {}

    int GetLength() const { return int(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }
    char GetAt(int index) const { return m_text.at(size_t(index)); }
    void SetAt(int index, char ch) { m_text.at(size_t(index)) = ch; }
    char operator[](int index) const { return GetAt(index); }
    operator LPCSTR() const { return m_text.c_str(); }
    LPCSTR GetString() const { return m_text.c_str(); }
    const std::string& str() const { return m_text; }

    CString& operator=(LPCSTR text) {
        m_text = text ? text : "";
        return *this;
    }
    CString& operator=(char ch) {
        m_text.assign(1, ch);
        return *this;
    }
    CString& operator+=(const CString& other) {
        m_text += other.m_text;
        return *this;
    }
    CString& operator+=(LPCSTR text) {
        if (text)
            m_text += text;
        return *this;
    }
    CString& operator+=(char ch) {
        m_text += ch;
        return *this;
    }

    int Compare(LPCSTR other) const;
    int CompareNoCase(LPCSTR other) const;

    // printf-style; replaces the contents.
    void Format(LPCSTR format, ...) __attribute__((format(printf, 2, 3)));
    void FormatV(LPCSTR format, va_list args);
    void AppendFormat(LPCSTR format, ...) __attribute__((format(printf, 2, 3)));
    // The string resource through the resource search (platform/Resource.h);
    // FALSE, leaving the contents empty, when no module has it.
    BOOL LoadString(UINT id);

    // Counts are clamped to the string, as MFC does.
    CString Left(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Right(int count) const;

    // Byte index of the first match at or after start, or -1.
    int Find(char ch, int start = 0) const;
    int Find(LPCSTR sub, int start = 0) const;
    int ReverseFind(char ch) const;
    int FindOneOf(LPCSTR chars) const;

    // Number of replacements made.
    int Replace(char from, char to);
    int Replace(LPCSTR from, LPCSTR to);
    int Remove(char ch);
    int Insert(int index, LPCSTR text);
    int Insert(int index, char ch);
    int Delete(int index, int count = 1);

    CString& MakeUpper();
    CString& MakeLower();
    CString& TrimLeft();
    CString& TrimRight();
    CString& Trim();
    CString& TrimLeft(char ch);
    CString& TrimRight(char ch);

    // A writable buffer of at least minLength bytes plus a terminator; call
    // ReleaseBuffer before using the string again (-1: up to the first NUL).
    LPSTR GetBuffer(int minLength = 0);
    LPSTR GetBufferSetLength(int length);
    void ReleaseBuffer(int newLength = -1);

private:
    std::string m_text;
};

CString operator+(const CString& a, const CString& b);
CString operator+(const CString& a, LPCSTR b);
CString operator+(LPCSTR a, const CString& b);
CString operator+(const CString& a, char b);
CString operator+(char a, const CString& b);

bool operator==(const CString& a, const CString& b);
bool operator==(const CString& a, LPCSTR b);
bool operator==(LPCSTR a, const CString& b);
bool operator!=(const CString& a, const CString& b);
bool operator!=(const CString& a, LPCSTR b);
bool operator!=(LPCSTR a, const CString& b);
bool operator<(const CString& a, const CString& b);
bool operator>(const CString& a, const CString& b);
bool operator<=(const CString& a, const CString& b);
bool operator>=(const CString& a, const CString& b);

namespace platform {
// True for a byte that starts a double-byte GBK character.
inline bool IsGbkLeadByte(unsigned char byte) {
    return byte >= 0x81 && byte <= 0xFE;
}
} // namespace platform
