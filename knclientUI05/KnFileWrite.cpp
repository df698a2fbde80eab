// Writing .bmp files through numbered file handles.

#include "knclientUI05/KnClientPublic.h"

#include <cstring>

namespace {

// One write of the old file calls moves at most this much.
constexpr DWORD kChunk = 32768;

bool WriteWhole(HFILE file, const BYTE* data, DWORD count) {
    UINT written = _lwrite(file, reinterpret_cast<LPCSTR>(data), UINT(count));
    return written != UINT(HFILE_ERROR) && written == count;
}

} // namespace

DWORD WriteFileInChunks(HFILE file, const void* data, DWORD size) {
    if (!data && size != 0)
        return 0;
    const BYTE* next = static_cast<const BYTE*>(data);
    DWORD left = size;
    while (left > kChunk) {
        if (!WriteWhole(file, next, kChunk))
            return 0;
        next += kChunk;
        left -= kChunk;
    }
    return WriteWhole(file, next, left) ? size : 0;
}

BOOL WriteBmpFileHeader(HFILE file, const BITMAPFILEHEADER* header) {
    if (!header)
        return FALSE;
    // The letters, then the twelve bytes of sizes and offsets behind them.
    BYTE bytes[sizeof(BITMAPFILEHEADER)];
    std::memcpy(bytes, header, sizeof bytes);
    return WriteWhole(file, bytes, 2) && WriteWhole(file, bytes + 2, 12) ? TRUE : FALSE;
}
