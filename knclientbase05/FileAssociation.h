#pragma once

// Registers a game's document type with the shell, opened (and printed)
// through the platform's launcher "run.exe" or through the game's own
// program.

#include "platform/Types.h"

// 1 when every key was written; the first failed write stops with 0.
int RegisterFileType(LPCSTR progIdSuffix, LPCSTR game, LPCSTR description, LPCSTR extension,
                     int iconIndex, BOOL print, BOOL printTo);
int RegisterFileTypeOwnProgram(LPCSTR progIdSuffix, LPCSTR game, LPCSTR description,
                               LPCSTR extension, int iconIndex, BOOL print, BOOL printTo);
