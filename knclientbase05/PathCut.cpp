#include "knclientbase05/PathCut.h"

#include "knclientbase05/KNpubText.h"

#include <cstring>

int CutPathAtLastSeparator(char* path) {
    if (path == nullptr)
        return 0;
    const char* slash = StrFindLastChar(path, '\\');
    const char* colon = strrchr(path, ':'); // never the second byte of a character
    const char* cut = slash > colon ? slash : colon;
    if (cut != nullptr)
        path[cut - path] = '\0';
    return 1;
}
