// Files and folders by name.

#include "platform/system/FileOps.h"

#include "platform/CodePage.h"
#include "platform/Errors.h"
#include "platform/system/Path.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr mode_t kWriteBits = S_IWUSR | S_IWGRP | S_IWOTH;

DWORD AttributesOf(const struct stat& info) {
    if (S_ISDIR(info.st_mode))
        return FILE_ATTRIBUTE_DIRECTORY;
    DWORD attributes = FILE_ATTRIBUTE_ARCHIVE;
    if ((info.st_mode & kWriteBits) == 0)
        attributes |= FILE_ATTRIBUTE_READONLY;
    return attributes;
}

BOOL FailWithErrno() {
    SetLastError(ErrorFromErrno(errno));
    return FALSE;
}

BOOL FailWith(DWORD error) {
    SetLastError(error);
    return FALSE;
}

} // namespace

DWORD AttributesOfEntry(const std::string& nativePath) {
    struct stat info;
    if (lstat(nativePath.c_str(), &info) != 0) {
        SetLastError(ErrorFromErrno(errno));
        return INVALID_FILE_ATTRIBUTES;
    }
    // A link is shown as a link only, so a walk over a folder tree deletes the
    // link instead of descending into what it points at.
    if (S_ISLNK(info.st_mode))
        return FILE_ATTRIBUTE_REPARSE_POINT;
    return AttributesOf(info);
}

} // namespace platform

using namespace platform;

DWORD GetFileAttributes(LPCSTR path) {
    if (!path || !*path) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_FILE_ATTRIBUTES;
    }
    std::string native = NativePath(path);
    struct stat link;
    if (lstat(native.c_str(), &link) != 0) {
        SetLastError(ErrorFromErrno(errno));
        return INVALID_FILE_ATTRIBUTES;
    }
    if (!S_ISLNK(link.st_mode))
        return AttributesOf(link);
    struct stat target;
    if (stat(native.c_str(), &target) != 0)
        return FILE_ATTRIBUTE_REPARSE_POINT; // a dangling link still exists
    return AttributesOf(target) | FILE_ATTRIBUTE_REPARSE_POINT;
}

BOOL SetFileAttributes(LPCSTR path, DWORD attributes) {
    if (!path || !*path)
        return FailWith(ERROR_FILE_NOT_FOUND);
    std::string native = NativePath(path);
    struct stat info;
    if (stat(native.c_str(), &info) != 0)
        return FailWithErrno();
    mode_t mode = info.st_mode & 07777;
    mode = (attributes & FILE_ATTRIBUTE_READONLY) ? mode & ~kWriteBits : mode | S_IWUSR;
    return chmod(native.c_str(), mode) == 0 ? TRUE : FailWithErrno();
}

BOOL CreateDirectory(LPCSTR path, LPSECURITY_ATTRIBUTES) {
    if (!path || !*path)
        return FailWith(ERROR_PATH_NOT_FOUND);
    return mkdir(NativePath(path).c_str(), 0777) == 0 ? TRUE : FailWithErrno();
}

BOOL RemoveDirectory(LPCSTR path) {
    if (!path || !*path)
        return FailWith(ERROR_PATH_NOT_FOUND);
    std::string native = NativePath(path);
    struct stat link;
    if (lstat(native.c_str(), &link) != 0)
        return FailWithErrno();
    if (S_ISLNK(link.st_mode)) {
        struct stat target;
        if (stat(native.c_str(), &target) != 0 || !S_ISDIR(target.st_mode))
            return FailWith(ERROR_DIRECTORY);
        return unlink(native.c_str()) == 0 ? TRUE : FailWithErrno();
    }
    return rmdir(native.c_str()) == 0 ? TRUE : FailWithErrno();
}

BOOL DeleteFile(LPCSTR path) {
    if (!path || !*path)
        return FailWith(ERROR_FILE_NOT_FOUND);
    std::string native = NativePath(path);
    DWORD attributes = AttributesOfEntry(native);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return FALSE;
    if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))
        return FailWith(ERROR_ACCESS_DENIED);
    return unlink(native.c_str()) == 0 ? TRUE : FailWithErrno();
}
