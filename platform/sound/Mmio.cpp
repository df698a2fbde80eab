// Multimedia file input over whole files or memory.

#include "platform/sound/Mmio.h"

#include "platform/system/FileIo.h"
#include "platform/system/Path.h"

#include <cerrno>
#include <cstring>
#include <string>
#include <sys/stat.h>

struct HMMIO__ {
    std::string owned; // a file's bytes; memory files point at the caller's
    const uint8_t* bytes = nullptr;
    size_t size = 0;
    size_t at = 0;
};

namespace {

DWORD Le32(const uint8_t* p) {
    return DWORD(p[0]) | DWORD(p[1]) << 8 | DWORD(p[2]) << 16 | DWORD(p[3]) << 24;
}

HMMIO Fail(LPMMIOINFO info, UINT error) {
    if (info)
        info->wErrorRet = error;
    return nullptr;
}

} // namespace

HMMIO mmioOpen(LPSTR fileName, LPMMIOINFO info, DWORD flags) {
    if (flags & (MMIO_WRITE | MMIO_READWRITE))
        return Fail(info, MMIOERR_CANNOTOPEN);
    auto* mmio = new HMMIO__;
    if (info && info->fccIOProc == FOURCC_MEM) {
        if (!info->pchBuffer || info->cchBuffer <= 0) {
            delete mmio;
            return Fail(info, MMIOERR_UNBUFFERED);
        }
        mmio->bytes = reinterpret_cast<const uint8_t*>(info->pchBuffer);
        mmio->size = size_t(info->cchBuffer);
    } else {
        const std::string path = fileName ? NativePath(fileName) : std::string();
        struct stat st {};
        if (path.empty() || stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
            delete mmio;
            return Fail(info, MMIOERR_FILENOTFOUND);
        }
        if (!ReadWholeFile(path, mmio->owned, kMmioMaxFileBytes)) {
            const bool tooLarge = errno == EFBIG;
            delete mmio;
            return Fail(info, tooLarge ? MMIOERR_OUTOFMEMORY : MMIOERR_CANNOTOPEN);
        }
        mmio->bytes = reinterpret_cast<const uint8_t*>(mmio->owned.data());
        mmio->size = mmio->owned.size();
    }
    if (info) {
        info->wErrorRet = MMSYSERR_NOERROR;
        info->hmmio = mmio;
    }
    return mmio;
}

MMRESULT mmioClose(HMMIO mmio, UINT) {
    delete mmio;
    return MMSYSERR_NOERROR;
}

LONG mmioRead(HMMIO mmio, HPSTR buffer, LONG count) {
    if (!mmio || count < 0 || (count > 0 && !buffer))
        return -1;
    const size_t n = std::min(size_t(count), mmio->size - mmio->at);
    if (n)
        memcpy(buffer, mmio->bytes + mmio->at, n);
    mmio->at += n;
    return LONG(n);
}

LONG mmioSeek(HMMIO mmio, LONG offset, int origin) {
    if (!mmio)
        return -1;
    const int64_t base = origin == SEEK_SET   ? 0
                         : origin == SEEK_CUR ? int64_t(mmio->at)
                         : origin == SEEK_END ? int64_t(mmio->size)
                                              : -1;
    const int64_t to = base + offset;
    if (base < 0 || to < 0 || to > int64_t(mmio->size))
        return -1;
    mmio->at = size_t(to);
    return LONG(to);
}

MMRESULT mmioDescend(HMMIO mmio, LPMMCKINFO chunk, const MMCKINFO* parent, UINT flags) {
    if (!mmio || !chunk)
        return MMIOERR_CANNOTREAD;
    // Where the search must stop: the parent's end, or the file's.
    size_t end = mmio->size;
    if (parent)
        end = std::min(end, size_t(parent->dwDataOffset) + parent->cksize);
    const FOURCC wantedId = flags & MMIO_FINDCHUNK  ? chunk->ckid
                            : flags & MMIO_FINDRIFF ? FOURCC_RIFF
                            : flags & MMIO_FINDLIST ? FOURCC_LIST
                                                    : 0;
    const bool wantType = flags & (MMIO_FINDRIFF | MMIO_FINDLIST);
    const FOURCC wantedType = chunk->fccType;
    size_t at = mmio->at;
    while (at < end && end - at >= 8) {
        const uint8_t* header = mmio->bytes + at;
        MMCKINFO found{};
        found.ckid = Le32(header);
        const size_t data = at + 8;
        found.cksize = Le32(header + 4); // as claimed: reads stop at the end anyway
        found.dwDataOffset = DWORD(data);
        const bool hasType = found.ckid == FOURCC_RIFF || found.ckid == FOURCC_LIST;
        if (hasType && found.cksize >= 4 && end - data >= 4)
            found.fccType = Le32(header + 8);
        const bool match =
            wantedId == 0 ||
            (found.ckid == wantedId && (!wantType || (hasType && found.fccType == wantedType)));
        if (match) {
            *chunk = found;
            mmio->at = std::min(data + (hasType && found.cksize >= 4 ? 4 : 0), mmio->size);
            return MMSYSERR_NOERROR;
        }
        at = data + found.cksize + (found.cksize & 1);
    }
    return MMIOERR_CHUNKNOTFOUND;
}

MMRESULT mmioAscend(HMMIO mmio, LPMMCKINFO chunk, UINT) {
    if (!mmio || !chunk)
        return MMIOERR_CANNOTSEEK;
    const size_t end = size_t(chunk->dwDataOffset) + chunk->cksize + (chunk->cksize & 1);
    mmio->at = std::min(end, mmio->size);
    return MMSYSERR_NOERROR;
}
