#pragma once

// The fixed version of a module or file as four 16-bit words, compared with
// version texts such as "2.7.0.13" before a newer member of an outside
// component is used.

#include "knbase05/TablehubApi.h"
#include "platform/Types.h"

class TABLEHUB_API CFileVersion {
public:
    CFileVersion();
    ~CFileVersion();
    CFileVersion(const CFileVersion&) = delete;
    CFileVersion& operator=(const CFileVersion&) = delete;

    // "a.b.c.d" (or with ","); missing words are 0, words after four ignored.
    static void Parse(LPCSTR text, WORD version[4]);

    // A null or empty path reads this library's own version. 0 on failure,
    // which also forgets an earlier version.
    int Load(LPCSTR path);
    // The file in a game's folder of the registry ("Share" when folder is
    // null or empty).
    int LoadFromGameFolder(LPCSTR fileName, LPCSTR folder);
    // An item of the version strings; 0xFFFF for language or code page takes
    // the first translation. Null when absent or nothing is loaded.
    LPCSTR GetStringInfo(LPCSTR item, WORD language, WORD codePage) const;

    bool IsAtLeast(LPCSTR text) const;
    bool IsEqual(LPCSTR text) const;

    LPCSTR GetPath() const { return m_szPath; }
    LPCSTR GetVersionText() const { return m_szVersion; }
    WORD GetWord(int index) const { return m_wVersion[index]; }

private:
    char m_szPath[MAX_PATH];
    BYTE* m_pInfo;
    WORD m_wVersion[4];
    char m_szVersion[64];
};
