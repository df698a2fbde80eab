#pragma once

// Whole-file reads of outside files, and crash-safe whole-file writes for the
// settings stores (ini files, the registry). Paths are Linux paths.

#include <cstddef>
#include <string>

// The whole file, when it holds at most limit bytes (the bound of its kind,
// platform/system/InputBounds.h). False (errno set) when it cannot be opened
// or read; refused, with the reason on the files trace channel, when it is
// larger (EFBIG) or no regular file at all (EINVAL, EISDIR): a device or a
// pipe may never end, and a pipe nobody writes to would hold the open.
bool ReadWholeFile(const std::string& path, std::string& bytes, size_t limit);

// Writes a temporary file beside the target and renames it over the target,
// so a reader sees the old or the new file, never a half-written one. The
// target's permissions are kept. False (errno set) on failure; the target is
// then unchanged. Temporaries of the target left by processes that died
// mid-write are removed first; call it under SettingsLock.
bool WriteFileAtomically(const std::string& path, const std::string& bytes);

// Removes "<path>.tmp.<pid>.<n>" files whose process no longer runs.
void RemoveStaleTemporaries(const std::string& path);

// The lock every process of the user takes around a settings store's
// read-modify-write (the registry and every ini file), so that two programs
// never lose each other's changes: exclusive to change, shared to read.
// Without a settings folder to hold it, the caller goes on unlocked.
class SettingsLock {
public:
    explicit SettingsLock(bool exclusive);
    ~SettingsLock();
    SettingsLock(const SettingsLock&) = delete;
    SettingsLock& operator=(const SettingsLock&) = delete;

private:
    int m_fd = -1;
};
