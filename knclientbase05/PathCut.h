#pragma once

// Cutting a GBK path text at its last separator, in place.

#include "knbase05/TablehubApi.h"

// Writes a terminator over the last "\" or ":" of the path (a trail byte of
// a double-byte character is no separator): a program's full path becomes
// its folder, without the separator. 0 for a null path, else 1; a path with
// neither is left as it is.
TABLEHUB_API int CutPathAtLastSeparator(char* path);
