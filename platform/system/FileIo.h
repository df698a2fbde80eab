#pragma once

// Whole-file reads and crash-safe whole-file writes for the settings stores
// (ini files, the registry). Paths are Linux paths.

#include <string>

// False (errno set) when the file cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& bytes);

// Writes a temporary file beside the target and renames it over the target,
// so a reader sees the old or the new file, never a half-written one. The
// target's permissions are kept. False (errno set) on failure; the target is
// then unchanged.
bool WriteFileAtomically(const std::string& path, const std::string& bytes);
