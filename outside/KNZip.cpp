// "KNZip.dll": the compression library, over zlib. Its calls keep zlib's
// names and result convention, with the 32-bit lengths of the library the
// program was written against.

#include "outside/OutsideModules.h"

#include <zlib.h>

namespace {

int Compress(BYTE* dest, DWORD* destLength, const BYTE* source, DWORD sourceLength) {
    uLongf length = *destLength;
    const int result = compress(dest, &length, source, sourceLength);
    *destLength = DWORD(length);
    return result;
}

int Uncompress(BYTE* dest, DWORD* destLength, const BYTE* source, DWORD sourceLength) {
    uLongf length = *destLength;
    const int result = uncompress(dest, &length, source, sourceLength);
    *destLength = DWORD(length);
    return result;
}

} // namespace

BuiltinModuleDefinition KNZipModule() {
    BuiltinModuleDefinition module;
    module.fileName = "KNZip.dll";
    module.exports = {{"compress", reinterpret_cast<FARPROC>(Compress)},
                      {"uncompress", reinterpret_cast<FARPROC>(Uncompress)}};
    return module;
}
