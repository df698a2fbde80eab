#include "platform/system/Profile.h"

#include "platform/Errors.h"
#include "platform/system/FileIo.h"
#include "platform/system/FileStamp.h"
#include "platform/system/IniFile.h"
#include "platform/system/InputBounds.h"
#include "platform/system/Path.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

namespace {

// Writes are read-modify-write of the whole file: one at a time in the
// process (the mutex) and among processes (the settings lock).
std::mutex& WriteLock() {
    static std::mutex lock;
    return lock;
}

std::string IniPath(LPCSTR fileName) {
    // A bare name lives in the settings folder (Windows keeps it in its own).
    if (LastPathSeparator(fileName) == std::string::npos)
        return NativePath((WindowsPath(ConfigFolder()) + "\\" + fileName).c_str());
    return NativePath(fileName);
}

// The file's bytes, when it is within an ini file's bounds: its parsed form
// holds each line with its name and value, so the lines are counted too.
// False with errno set otherwise (EFBIG past the bounds).
bool ReadIniBytes(const std::string& path, std::string& bytes) {
    if (!ReadWholeFile(path, bytes, platform::kMaxIniFileBytes))
        return false;
    if (size_t(std::count(bytes.begin(), bytes.end(), '\n')) > platform::kMaxIniLines) {
        platform::RefuseInput("ini file", path + " has more than " +
                                              std::to_string(platform::kMaxIniLines) + " lines");
        bytes.clear();
        errno = EFBIG;
        return false;
    }
    return true;
}

// Files read again and again (a theme's values, the settings) are parsed
// once and kept while they stay unchanged on disk.
StampedFileCache<IniFile>& ParsedFiles() {
    static auto* cache = new StampedFileCache<IniFile>(16); // readers may outlive statics
    return *cache;
}

// A missing or unreadable file reads as an empty one.
std::shared_ptr<const IniFile> LoadIni(LPCSTR fileName) {
    static const auto empty = std::make_shared<const IniFile>();
    if (!fileName)
        return empty;
    // A bare name lives in the settings folder of the moment, a relative path
    // in the working folder of the moment: those are kept under the file they
    // were found as.
    const bool absolute = fileName[0] == '/' || fileName[0] == '\\';
    const std::string key = absolute ? std::string(fileName) : IniPath(fileName);
    std::shared_ptr<const IniFile> ini = ParsedFiles().Get(
        key, [&] { return absolute ? IniPath(fileName) : key; },
        [](const std::string& path) -> std::shared_ptr<const IniFile> {
            std::string bytes;
            if (ReadIniBytes(path, bytes))
                return std::make_shared<const IniFile>(IniFile::Parse(bytes));
            // A refused file reads as an empty one, kept while it stays as it
            // is: it is read and refused once, not at every look-up.
            if (errno == EFBIG || errno == EINVAL)
                return std::make_shared<const IniFile>();
            return nullptr;
        });
    return ini ? ini : empty;
}

bool IsGbkLeadByte(unsigned char c) {
    return c >= 0x81 && c <= 0xFE;
}

// The longest prefix of at most `limit` bytes that ends on a character boundary.
size_t GbkPrefix(const std::string& text, size_t limit) {
    size_t end = 0;
    while (end < text.size()) {
        size_t step =
            (IsGbkLeadByte(static_cast<unsigned char>(text[end])) && end + 1 < text.size()) ? 2 : 1;
        if (end + step > limit)
            break;
        end += step;
    }
    return end;
}

DWORD CopyValue(const std::string& value, LPSTR buffer, DWORD size) {
    if (!buffer || size == 0)
        return 0;
    size_t length = GbkPrefix(value, size - 1);
    memcpy(buffer, value.data(), length);
    buffer[length] = '\0';
    return static_cast<DWORD>(length);
}

// Each item NUL-terminated, one more NUL at the end; when it does not fit the
// list is cut and closed with two NULs.
DWORD CopyList(const std::vector<std::string>& items, LPSTR buffer, DWORD size) {
    if (!buffer || size == 0)
        return 0;
    std::string list;
    for (const std::string& item : items) {
        list += item;
        list.push_back('\0');
    }
    if (list.size() + 1 <= size) {
        memcpy(buffer, list.data(), list.size());
        buffer[list.size()] = '\0';
        return static_cast<DWORD>(list.size());
    }
    if (size < 2) {
        buffer[0] = '\0';
        return 0;
    }
    memcpy(buffer, list.data(), size - 2);
    buffer[size - 2] = '\0';
    buffer[size - 1] = '\0';
    return size - 2;
}

bool HasLineEnd(const char* text) {
    return text && (strchr(text, '\n') || strchr(text, '\r'));
}

bool Writable(LPCSTR section, LPCSTR key, LPCSTR value) {
    if (HasLineEnd(section) || HasLineEnd(key) || HasLineEnd(value) || strchr(section, ']'))
        return false;
    if (key &&
        (strchr(key, '=') || key[strspn(key, " \t")] == '[' || key[strspn(key, " \t")] == ';'))
        return false;
    return true;
}

} // namespace

DWORD GetPrivateProfileString(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer,
                              DWORD size, LPCSTR fileName) {
    const std::shared_ptr<const IniFile> ini = LoadIni(fileName);
    if (!section)
        return CopyList(ini->SectionNames(), buffer, size);
    if (!key)
        return CopyList(ini->KeyNames(section), buffer, size);
    if (const std::string* value = ini->Value(section, key))
        return CopyValue(*value, buffer, size);
    // Windows drops the default's trailing blanks.
    std::string fallback = defaultValue ? defaultValue : "";
    fallback.erase(fallback.find_last_not_of(' ') + 1);
    return CopyValue(fallback, buffer, size);
}

UINT GetPrivateProfileInt(LPCSTR section, LPCSTR key, int defaultValue, LPCSTR fileName) {
    if (!section || !key)
        return static_cast<UINT>(defaultValue);
    const std::shared_ptr<const IniFile> ini = LoadIni(fileName);
    const std::string* value = ini->Value(section, key);
    if (!value)
        return static_cast<UINT>(defaultValue);
    const char* text = value->c_str();
    bool negative = *text == '-';
    if (*text == '-' || *text == '+')
        ++text;
    if (*text < '0' || *text > '9')
        return static_cast<UINT>(defaultValue);
    UINT number = 0;
    for (; *text >= '0' && *text <= '9'; ++text)
        number = number * 10 + static_cast<UINT>(*text - '0'); // wraps like a 32-bit register
    return negative ? 0u - number : number;
}

DWORD GetPrivateProfileSection(LPCSTR section, LPSTR buffer, DWORD size, LPCSTR fileName) {
    if (!section)
        return CopyList({}, buffer, size);
    return CopyList(LoadIni(fileName)->SectionLines(section), buffer, size);
}

BOOL WritePrivateProfileString(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName) {
    if (!section && !key && !value) {
        ParsedFiles().Clear(); // "flush the cache"
        return TRUE;
    }
    if (!section || !fileName || !*fileName || !Writable(section, key, value)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::lock_guard<std::mutex> guard(WriteLock());
    SettingsLock fileLock(true);
    std::string path = IniPath(fileName);
    std::string bytes;
    if (!ReadIniBytes(path, bytes)) {
        if (errno != ENOENT) {
            SetLastError(ErrorFromErrno(errno));
            return FALSE; // an unreadable or refused file is not overwritten
        }
        bytes.clear();
    }
    IniFile ini = IniFile::Parse(bytes);
    if (!key)
        ini.DeleteSection(section);
    else if (!value)
        ini.DeleteKey(section, key);
    else
        ini.SetValue(section, key, value);
    std::string updated = ini.Serialize();
    if (updated == bytes)
        return TRUE; // deleting what is not there leaves the file (or its absence) alone
    if (!WriteFileAtomically(path, updated)) {
        SetLastError(ErrorFromErrno(errno));
        return FALSE;
    }
    return TRUE;
}
