#include "platform/system/FileIo.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool ReadWholeFile(const std::string& path, std::string& bytes) {
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    bytes.clear();
    char chunk[65536];
    for (;;) {
        ssize_t got = read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            int err = errno;
            close(fd);
            errno = err;
            return false;
        }
        if (got == 0)
            break;
        bytes.append(chunk, static_cast<size_t>(got));
    }
    close(fd);
    return true;
}

bool WriteFileAtomically(const std::string& path, const std::string& bytes) {
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
