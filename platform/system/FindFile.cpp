// Folder listings that match wildcard names.

#include "platform/system/FindFile.h"

#include "platform/CodePage.h"
#include "platform/Errors.h"
#include "platform/system/Path.h"

#include <algorithm>
#include <cstring>
#include <dirent.h>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <vector>

namespace platform {

namespace {

char Fold(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

// One character of the pattern against the name's character at n; sets the
// byte lengths of both.
bool CharMatches(std::string_view pattern, size_t p, std::string_view name, size_t n,
                 size_t& patternLength, size_t& nameLength) {
    nameLength = size_t(GbkCharLength(name, n));
    if (pattern[p] == '?') {
        patternLength = 1;
        return true;
    }
    patternLength = size_t(GbkCharLength(pattern, p));
    if (patternLength != nameLength)
        return false;
    for (size_t i = 0; i < nameLength; ++i)
        if (Fold(pattern[p + i]) != Fold(name[n + i]))
            return false;
    return true;
}

// Greedy matching that backs up to the last '*' only, so that no pattern
// takes more than pattern x name steps.
bool Match(std::string_view pattern, std::string_view name) {
    size_t p = 0, n = 0;
    size_t starPattern = std::string_view::npos, starName = 0;
    while (n < name.size()) {
        size_t patternLength = 0, nameLength = 0;
        if (p < pattern.size() && pattern[p] == '*') {
            starPattern = ++p;
            starName = n;
        } else if (p < pattern.size() &&
                   CharMatches(pattern, p, name, n, patternLength, nameLength)) {
            p += patternLength;
            n += nameLength;
        } else if (starPattern != std::string_view::npos) {
            starName += size_t(GbkCharLength(name, starName));
            n = starName;
            p = starPattern;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

// Seconds since 1970 to 100-ns intervals since 1601.
FILETIME FileTimeOf(const timespec& t) {
    uint64_t ticks =
        (uint64_t(t.tv_sec) + 11644473600ull) * 10000000ull + uint64_t(t.tv_nsec) / 100;
    return FILETIME{DWORD(ticks), DWORD(ticks >> 32)};
}

struct Search {
    std::vector<WIN32_FIND_DATA> entries;
    size_t next = 0;
};

struct Searches {
    std::mutex mutex;
    std::set<Search*> live;
};

Searches& AllSearches() {
    static auto* searches = new Searches;
    return *searches;
}

HANDLE NotFound(DWORD error) {
    SetLastError(error);
    return INVALID_HANDLE_VALUE;
}

bool Describe(const std::string& folder, const char* utf8Name, WIN32_FIND_DATA& data) {
    std::string gbk = WindowsPath(utf8Name);
    if (gbk.size() >= sizeof data.cFileName)
        return false;
    data = WIN32_FIND_DATA{};
    std::memcpy(data.cFileName, gbk.c_str(), gbk.size() + 1);
    std::string path = folder + "/" + utf8Name;
    data.dwFileAttributes = AttributesOfEntry(path);
    if (data.dwFileAttributes == INVALID_FILE_ATTRIBUTES)
        return false; // gone since the folder was read
    struct stat info;
    if (lstat(path.c_str(), &info) == 0) {
        if (!S_ISDIR(info.st_mode)) {
            data.nFileSizeLow = DWORD(uint64_t(info.st_size));
            data.nFileSizeHigh = DWORD(uint64_t(info.st_size) >> 32);
        }
        data.ftCreationTime = FileTimeOf(info.st_ctim);
        data.ftLastAccessTime = FileTimeOf(info.st_atim);
        data.ftLastWriteTime = FileTimeOf(info.st_mtim);
    }
    return true;
}

} // namespace

bool MatchesWildcard(const char* pattern, const char* name) {
    if (!pattern || !name)
        return false;
    std::string_view p(pattern), n(name);
    if (Match(p, n))
        return true;
    // "x.*" also matches "x": a name without an extension has an empty one.
    return p.size() >= 2 && p.substr(p.size() - 2) == ".*" && Match(p.substr(0, p.size() - 2), n);
}

} // namespace platform

using namespace platform;

HANDLE FindFirstFile(LPCSTR pattern, LPWIN32_FIND_DATA found) {
    if (!pattern || !*pattern || !found)
        return NotFound(ERROR_FILE_NOT_FOUND);
    std::string_view whole(pattern);
    const size_t cut = LastPathSeparator(whole);
    std::string folderPart(cut == std::string_view::npos ? "." : whole.substr(0, cut + 1));
    std::string namePart(cut == std::string_view::npos ? whole : whole.substr(cut + 1));
    if (namePart.empty())
        return NotFound(ERROR_FILE_NOT_FOUND);
    std::string folder = NativePath(folderPart.c_str());
    if (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return NotFound(ERROR_PATH_NOT_FOUND);
    std::vector<std::string> names;
    while (dirent* entry = readdir(dir))
        names.push_back(entry->d_name);
    closedir(dir);
    std::sort(names.begin(), names.end());

    auto search = std::make_unique<Search>();
    for (const std::string& name : names) {
        WIN32_FIND_DATA data;
        if (Describe(folder, name.c_str(), data) &&
            MatchesWildcard(namePart.c_str(), data.cFileName))
            search->entries.push_back(data);
    }
    if (search->entries.empty())
        return NotFound(ERROR_FILE_NOT_FOUND);
    *found = search->entries[0];
    search->next = 1;
    Searches& searches = AllSearches();
    std::lock_guard lock(searches.mutex);
    Search* handle = search.release();
    searches.live.insert(handle);
    return handle;
}

BOOL FindNextFile(HANDLE handle, LPWIN32_FIND_DATA found) {
    Searches& searches = AllSearches();
    std::lock_guard lock(searches.mutex);
    auto it = searches.live.find(static_cast<Search*>(handle));
    if (it == searches.live.end() || !found) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    Search& search = **it;
    if (search.next >= search.entries.size()) {
        SetLastError(ERROR_NO_MORE_FILES);
        return FALSE;
    }
    *found = search.entries[search.next++];
    return TRUE;
}

BOOL FindClose(HANDLE handle) {
    Searches& searches = AllSearches();
    std::lock_guard lock(searches.mutex);
    auto it = searches.live.find(static_cast<Search*>(handle));
    if (it == searches.live.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    delete *it;
    searches.live.erase(it);
    return TRUE;
}
