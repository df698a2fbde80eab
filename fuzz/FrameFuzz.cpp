// Wire frames from the network: the reassembler takes the bytes in pieces of
// sizes the input chooses, and every complete compressed frame is inflated.

#include "knclientbase05/MessageHeader.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

int Uncompress(BYTE* dest, DWORD* destLength, const BYTE* source, DWORD sourceLength) {
    uLongf length = *destLength;
    const int result = uncompress(dest, &length, source, sourceLength);
    *destLength = DWORD(length);
    return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FrameAssembler assembler;
    size_t at = 0;
    while (at < size) {
        // The first byte of each piece says how much of the rest arrives at once.
        size_t piece = std::min<size_t>(size - at - 1, data[at] + 1u);
        ++at;
        while (piece > 0) {
            size_t take = std::min(piece, assembler.Wanted());
            if (take == 0)
                break;
            memcpy(assembler.Space(take), data + at, take);
            at += take;
            piece -= take;
            FrameAssembler::Status status = assembler.Commit(take);
            if (status == FrameAssembler::kTooLarge)
                return 0;
            if (status == FrameAssembler::kComplete) {
                std::vector<BYTE> frame = assembler.Take();
                std::vector<BYTE> inflated;
                InflateFrame(reinterpret_cast<const tagMSGHEADER*>(frame.data()), frame.size(),
                             Uncompress, inflated);
            }
        }
        at += piece; // what the assembler did not want is dropped
    }
    return 0;
}
