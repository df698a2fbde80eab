#pragma once

// File names as the system's code writes them ("%s\%s", folders ending in a
// backslash, lower-cased folders, GBK text) and as Linux needs them (UTF-8,
// '/'). This is the one place where a name crosses between the two: every call
// that takes a name goes through NativePath, and every name handed back to the
// system (module file, folder listing, chosen folder) through WindowsPath.

#include "platform/Types.h"
#include "platform/system/FileOps.h" // the file calls that take these names

#include <string>
#include <string_view>

// The Linux path for a Windows-style GBK one: the text becomes UTF-8, a '\'
// that is a character of its own (not the trail byte of a double-byte
// character such as "運") becomes '/', doubled separators fold, and where a
// name does not exist with the case given, an existing entry that differs
// only in ASCII case is taken (Windows file names ignore case). Missing tails
// are kept as written so that files can be created.
std::string NativePath(const char* path);

// The Windows-style GBK form of a Linux path or name ('/' becomes '\'), as
// GetModuleFileName hands it to code that cuts at the last backslash.
std::string WindowsPath(const std::string& nativePath);

// A Windows-style GBK path as a person at this desktop writes it, to show in
// the program's own GBK texts: the separators become '/', a backslash that is
// the trail byte of a double-byte character stays.
std::string DesktopPath(const char* gbkPath);

// The index of the last separator ('\' or '/') of a GBK path, stepping over
// double-byte characters; npos when there is none.
size_t LastPathSeparator(std::string_view gbkPath);

// The running program's file (from /proc/self/exe), Linux form.
std::string ProgramPath();

// The per-user folder of the program's settings: $PELLOR_CONFIG_DIR when set,
// else $XDG_CONFIG_HOME/pellor, else ~/.config/pellor. Created on demand.
std::string ConfigFolder();
