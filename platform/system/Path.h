#pragma once

// File names as the system's code writes them ("%s\%s", folders ending in a
// backslash, lower-cased folders) and as Linux needs them. Every call of the
// layer that opens a file goes through NativePath.

#include "platform/Types.h"
#include "platform/system/FileOps.h" // the file calls that take these names

#include <string>

// The Linux path for a Windows-style one: '\' becomes '/', doubled separators
// fold, and where a name does not exist with the case given, an existing entry
// that differs only in ASCII case is taken (Windows file names ignore case).
// Missing tails are kept as written so that files can be created.
std::string NativePath(const char* path);

// The Windows-style form of a Linux path ('/' becomes '\'), as
// GetModuleFileName hands it to code that cuts at the last backslash.
std::string WindowsPath(const std::string& nativePath);

// The running program's file (from /proc/self/exe), Linux form.
std::string ProgramPath();

// The per-user folder of the program's settings: $PELLOR_CONFIG_DIR when set,
// else $XDG_CONFIG_HOME/pellor, else ~/.config/pellor. Created on demand.
std::string ConfigFolder();
