#include "platform/system/FileStamp.h"

#include <atomic>
#include <sys/stat.h>
#include <time.h>

namespace {

// Longer than any file system's timestamp grain.
std::atomic<int64_t> g_settleNs{2'000'000'000};

int64_t Nanoseconds(const timespec& t) {
    return int64_t(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

} // namespace

std::optional<FileStamp> StampOfFile(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    return FileStamp{uint64_t(info.st_dev), uint64_t(info.st_ino), int64_t(info.st_size),
                     Nanoseconds(info.st_mtim), Nanoseconds(info.st_ctim)};
}

bool IsSettledStamp(const FileStamp& stamp) {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const int64_t last = stamp.modifiedNs > stamp.changedNs ? stamp.modifiedNs : stamp.changedNs;
    return Nanoseconds(now) - last >= g_settleNs.load();
}

void SetFileSettleTime(int64_t nanoseconds) {
    g_settleNs = nanoseconds;
}
