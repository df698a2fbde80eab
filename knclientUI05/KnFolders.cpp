// Folders, paths and small text helpers. Paths are GBK: every search for a
// backslash or colon skips the trail bytes of double-byte characters, which
// may have the same values.

#include "knclientUI05/KnClientPublic.h"

#include "knclientbase05/FileVersionText.h"
#include "knclientbase05/PathCut.h"
#include "platform/CodePage.h"
#include "platform/system/FindFile.h"
#include "platform/system/Module.h"

#include <cstring>
#include <string>

namespace {

// Bytes of the character at p: 2 for a lead byte with its trail byte.
size_t CharLength(const char* p) {
    return IsDBCSLeadByte(BYTE(*p)) && p[1] != '\0' ? 2 : 1;
}

// The last backslash (or colon too, when asked) that is a character of its
// own; null when there is none.
char* LastSeparator(char* path, bool colonToo) {
    char* last = nullptr;
    for (char* p = path; *p; p += CharLength(p))
        if (*p == '\\' || (colonToo && *p == ':'))
            last = p;
    return last;
}

// Whether the character at p (length bytes) is one of the separators.
bool IsSeparator(const char* p, size_t length, const char* separators) {
    for (const char* s = separators; *s; s += CharLength(s))
        if (CharLength(s) == length && std::memcmp(s, p, length) == 0)
            return true;
    return false;
}

} // namespace

int GetModulePath(char* buffer, HMODULE module) {
    if (!buffer)
        return 1;
    DWORD length = GetModuleFileName(module, buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        buffer[length == 0 ? 0 : MAX_PATH - 1] = '\0';
    if (char* last = LastSeparator(buffer, false))
        last[1] = '\0';
    return 1;
}

BOOL PathExists(LPCSTR path) {
    return path && GetFileAttributes(path) != INVALID_FILE_ATTRIBUTES;
}

BOOL DeleteFolderTree(LPCSTR path) {
    if (!path)
        return FALSE;
    const DWORD attributes = GetFileAttributes(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return FALSE;
    // A link goes as itself, whatever it points to: nothing outside the tree
    // is reached through it.
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? RemoveDirectory(path) : DeleteFile(path);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return DeleteFile(path);
    const std::string folder(path);
    WIN32_FIND_DATA found;
    HANDLE search = FindFirstFile((folder + "\\*.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return FALSE;
    BOOL result = TRUE;
    do {
        const bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (isFolder &&
            (std::strcmp(found.cFileName, ".") == 0 || std::strcmp(found.cFileName, "..") == 0))
            continue;
        const std::string entry = folder + "\\" + found.cFileName;
        result = isFolder ? DeleteFolderTree(entry.c_str()) : DeleteFile(entry.c_str());
    } while (result && FindNextFile(search, &found));
    FindClose(search);
    return result ? RemoveDirectory(path) : FALSE;
}

BOOL CreateFolderPath(LPCSTR path) {
    // The folders are made through a MAX_PATH buffer: a longer path is
    // refused rather than cut.
    if (!path || std::strlen(path) >= MAX_PATH)
        return FALSE;
    char part[MAX_PATH];
    for (LPCSTR at = StrFindChar(path, '\\'); at; at = StrFindChar(at + 1, '\\')) {
        std::memset(part, 0, sizeof part);
        std::memcpy(part, path, size_t(at - path));
        if (!PathExists(part) && !CreateDirectory(part, nullptr))
            return FALSE;
    }
    return PathExists(path) || CreateDirectory(path, nullptr);
}

BOOL CutFileName(char* path) {
    return CutPathAtLastSeparator(path) != 0 ? TRUE : FALSE;
}

BOOL KeepFileName(char* path) {
    if (!path)
        return FALSE;
    if (char* last = LastSeparator(path, true))
        std::memmove(path, last + 1, std::strlen(last + 1) + 1);
    return TRUE;
}

void XorBytes(char* buffer, int length, char key) {
    if (!buffer)
        return;
    if (length < 1)
        length = int(std::strlen(buffer));
    for (int i = 0; i < length; ++i)
        buffer[i] = char(buffer[i] ^ key);
}

char* SplitToken(char* text, const char* separators) {
    thread_local char* next = nullptr;
    char* p = text ? text : next;
    if (!p || !separators)
        return nullptr;
    while (*p && IsSeparator(p, CharLength(p), separators))
        p += CharLength(p);
    if (*p == '\0') {
        next = p;
        return nullptr;
    }
    char* token = p;
    while (*p && !IsSeparator(p, CharLength(p), separators))
        p += CharLength(p);
    if (*p) {
        const size_t length = CharLength(p);
        std::memset(p, 0, length);
        p += length;
    }
    next = p;
    return token;
}
