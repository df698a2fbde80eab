#include "platform/system/FileIo.h"

#include "platform/system/InputBounds.h"
#include "platform/system/Path.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The process id of "<pid>.<n>", or 0 when the name is not of that form.
pid_t TemporaryOwner(const char* suffix) {
    char* end = nullptr;
    const long pid = strtol(suffix, &end, 10);
    if (end == suffix || *end != '.' || pid <= 0)
        return 0;
    const char* serial = end + 1;
    strtoul(serial, &end, 10);
    if (end == serial || *end != '\0')
        return 0;
    return static_cast<pid_t>(pid);
}

bool IsGone(pid_t pid) {
    return kill(pid, 0) != 0 && errno == ESRCH;
}

} // namespace

void RemoveStaleTemporaries(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const std::string prefix =
        (slash == std::string::npos ? path : path.substr(slash + 1)) + ".tmp.";
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return;
    const int savedErrno = errno;
    while (dirent* entry = readdir(dir)) {
        if (strncmp(entry->d_name, prefix.c_str(), prefix.size()) != 0)
            continue;
        const pid_t owner = TemporaryOwner(entry->d_name + prefix.size());
        if (owner != 0 && owner != getpid() && IsGone(owner))
            unlinkat(dirfd(dir), entry->d_name, 0);
    }
    closedir(dir);
    errno = savedErrno;
}

SettingsLock::SettingsLock(bool exclusive) {
    m_fd = open((ConfigFolder() + "/registry.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (m_fd >= 0)
        while (flock(m_fd, exclusive ? LOCK_EX : LOCK_SH) != 0 && errno == EINTR) {
        }
}

SettingsLock::~SettingsLock() {
    if (m_fd >= 0)
        close(m_fd); // releases the lock
}

bool ReadWholeFile(const std::string& path, std::string& bytes, size_t limit) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    auto fail = [fd](int err, const std::string& why) {
        close(fd);
        if (!why.empty())
            platform::RefuseInput("file", why);
        errno = err;
        return false;
    };
    struct stat info;
    if (fstat(fd, &info) != 0)
        return fail(errno, "");
    if (!S_ISREG(info.st_mode))
        return fail(S_ISDIR(info.st_mode) ? EISDIR : EINVAL, path + " is no regular file");
    const auto tooLarge = [&] {
        return path + " holds more than " + std::to_string(limit) + " bytes";
    };
    if (uint64_t(info.st_size) > limit)
        return fail(EFBIG, tooLarge());
    bytes.clear();
    bytes.reserve(size_t(info.st_size));
    char chunk[65536];
    for (;;) {
        const ssize_t got = read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return fail(errno, "");
        if (got == 0)
            break;
        // A file that grows while it is read is held to the bound too.
        if (size_t(got) > limit - bytes.size())
            return fail(EFBIG, tooLarge());
        bytes.append(chunk, static_cast<size_t>(got));
    }
    close(fd);
    return true;
}

bool WriteFileAtomically(const std::string& path, const std::string& bytes) {
    RemoveStaleTemporaries(path);
    mode_t mode = 0644;
    struct stat info;
    if (stat(path.c_str(), &info) == 0)
        mode = info.st_mode & 07777;
    static std::atomic<unsigned> serial{0};
    std::string temporary =
        path + ".tmp." + std::to_string(getpid()) + "." + std::to_string(serial++);
    int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
    if (fd < 0)
        return false;
    size_t written = 0;
    while (written < bytes.size()) {
        ssize_t put = write(fd, bytes.data() + written, bytes.size() - written);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0) {
            int err = put < 0 ? errno : EIO;
            close(fd);
            unlink(temporary.c_str());
            errno = err;
            return false;
        }
        written += static_cast<size_t>(put);
    }
    fchmod(fd, mode); // the umask may have narrowed it
    bool stored = fsync(fd) == 0;
    int err = errno;
    if (close(fd) != 0 && stored) {
        stored = false;
        err = errno;
    }
    if (stored && rename(temporary.c_str(), path.c_str()) != 0) {
        stored = false;
        err = errno;
    }
    if (!stored) {
        unlink(temporary.c_str());
        errno = err;
    }
    return stored;
}
