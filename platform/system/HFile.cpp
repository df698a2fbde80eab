// Numbered files over Linux descriptors the layer keeps track of.

#include "platform/system/HFile.h"

#include "platform/Errors.h"
#include "platform/system/FileOps.h"
#include "platform/system/Path.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct OpenFiles {
    std::mutex mutex;
    std::map<int, bool> readOnlyOnClose; // descriptor -> make read-only when closed
    std::map<int, std::string> paths;
};

OpenFiles& Files() {
    static auto* files = new OpenFiles;
    return *files;
}

HFILE Register(int fd, const std::string& path, bool readOnlyOnClose) {
    OpenFiles& files = Files();
    std::lock_guard lock(files.mutex);
    files.readOnlyOnClose[fd] = readOnlyOnClose;
    files.paths[fd] = path;
    return fd;
}

bool Known(HFILE file) {
    OpenFiles& files = Files();
    std::lock_guard lock(files.mutex);
    return files.readOnlyOnClose.count(file) != 0;
}

HFILE FailWithErrno(LPOFSTRUCT record = nullptr) {
    DWORD error = ErrorFromErrno(errno);
    SetLastError(error);
    if (record)
        record->nErrCode = WORD(error);
    return HFILE_ERROR;
}

int AccessFlags(UINT style) {
    switch (style & 0x3) {
    case OF_WRITE:
        return O_WRONLY;
    case OF_READWRITE:
        return O_RDWR;
    default:
        return O_RDONLY;
    }
}

HFILE Open(LPCSTR path, int flags, bool readOnlyOnClose = false) {
    if (!path || !*path) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return HFILE_ERROR;
    }
    std::string native = NativePath(path);
    int fd = ::open(native.c_str(), flags | O_CLOEXEC, 0666);
    if (fd < 0)
        return FailWithErrno();
    return Register(fd, native, readOnlyOnClose);
}

} // namespace

HFILE OpenFile(LPCSTR path, LPOFSTRUCT record, UINT style) {
    if (record) {
        *record = OFSTRUCT{};
        record->cBytes = BYTE(sizeof(OFSTRUCT));
        if (path) {
            size_t length = std::min(std::strlen(path), size_t(OFS_MAXPATHNAME - 1));
            std::memcpy(record->szPathName, path, length);
        }
    }
    if (!path || !*path) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        if (record)
            record->nErrCode = ERROR_FILE_NOT_FOUND;
        return HFILE_ERROR;
    }
    if (style & OF_PARSE)
        return 0;
    if (style & OF_DELETE) {
        if (DeleteFile(path))
            return 1;
        if (record)
            record->nErrCode = WORD(GetLastError());
        return HFILE_ERROR;
    }
    int flags = (style & OF_CREATE) ? O_RDWR | O_CREAT | O_TRUNC : AccessFlags(style);
    DWORD existing = GetFileAttributes(path);
    if ((style & OF_CREATE) && existing != INVALID_FILE_ATTRIBUTES &&
        (existing & FILE_ATTRIBUTE_READONLY)) {
        // Our own check: root could otherwise empty a read-only file.
        SetLastError(ERROR_ACCESS_DENIED);
        if (record)
            record->nErrCode = ERROR_ACCESS_DENIED;
        return HFILE_ERROR;
    }
    HFILE file = Open(path, flags);
    if (file == HFILE_ERROR) {
        if (record)
            record->nErrCode = WORD(GetLastError());
        return HFILE_ERROR;
    }
    if (style & OF_EXIST) {
        _lclose(file);
        return 1;
    }
    return file;
}

HFILE _lopen(LPCSTR path, int mode) {
    return Open(path, AccessFlags(UINT(mode)));
}

HFILE _lcreat(LPCSTR path, int attribute) {
    DWORD existing = path ? GetFileAttributes(path) : INVALID_FILE_ATTRIBUTES;
    if (existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_READONLY)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return HFILE_ERROR;
    }
    return Open(path, O_WRONLY | O_CREAT | O_TRUNC, (attribute & 1) != 0);
}

UINT _lread(HFILE file, LPVOID buffer, UINT count) {
    LONG n = _hread(file, buffer, LONG(std::min<UINT>(count, INT32_MAX)));
    return n < 0 ? UINT(HFILE_ERROR) : UINT(n);
}

UINT _lwrite(HFILE file, LPCSTR buffer, UINT count) {
    LONG n = _hwrite(file, buffer, LONG(std::min<UINT>(count, INT32_MAX)));
    return n < 0 ? UINT(HFILE_ERROR) : UINT(n);
}

LONG _hread(HFILE file, LPVOID buffer, LONG count) {
    if (!Known(file) || count < 0 || (!buffer && count > 0)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return HFILE_ERROR;
    }
    LONG total = 0;
    while (total < count) {
        ssize_t n = ::read(file, static_cast<char*>(buffer) + total, size_t(count - total));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return FailWithErrno();
        if (n == 0)
            break;
        total += LONG(n);
    }
    return total;
}

LONG _hwrite(HFILE file, LPCSTR buffer, LONG count) {
    if (!Known(file) || count < 0 || (!buffer && count > 0)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return HFILE_ERROR;
    }
    LONG total = 0;
    while (total < count) {
        ssize_t n = ::write(file, buffer + total, size_t(count - total));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return total > 0 ? total : FailWithErrno(); // the bytes that did go stay counted
        total += LONG(n);
    }
    return total;
}

LONG _llseek(HFILE file, LONG offset, int origin) {
    static const int whence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    if (!Known(file) || origin < 0 || origin > 2) {
        SetLastError(ERROR_INVALID_HANDLE);
        return HFILE_ERROR;
    }
    off_t at = ::lseek(file, offset, whence[origin]);
    if (at < 0)
        return FailWithErrno();
    if (at > INT32_MAX) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return HFILE_ERROR;
    }
    return LONG(at);
}

HFILE _lclose(HFILE file) {
    bool makeReadOnly = false;
    std::string path;
    {
        OpenFiles& files = Files();
        std::lock_guard lock(files.mutex);
        auto it = files.readOnlyOnClose.find(file);
        if (it == files.readOnlyOnClose.end()) {
            SetLastError(ERROR_INVALID_HANDLE);
            return HFILE_ERROR;
        }
        makeReadOnly = it->second;
        path = files.paths[file];
        files.readOnlyOnClose.erase(it);
        files.paths.erase(file);
    }
    if (::close(file) != 0)
        return FailWithErrno();
    if (makeReadOnly)
        ::chmod(path.c_str(), 0444);
    return 0;
}
