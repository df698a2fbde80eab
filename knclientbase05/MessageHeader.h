#pragma once

// Wire frames: a header of 8 bytes (type, length), or 12 when bit 31 of the
// type marks a reply (then a result word follows), then `length` payload
// bytes. All words are 32-bit little-endian on the wire; in memory a frame
// is its header as a tagMSGHEADER in host order followed by the payload.

#include "platform/Types.h"

#include <cstddef>
#include <cstdint>
#include <vector>

struct tagMSGHEADER {
    DWORD type;   // bit 31 reply, bit 30 compressed, bits 0-29 the message id
    DWORD length; // payload bytes after the header
    DWORD result; // present only in a reply (bit 31 set)
};
static_assert(sizeof(tagMSGHEADER) == 12);

constexpr DWORD kFrameReply = 0x80000000;
constexpr DWORD kFrameCompressed = 0x40000000;
// The link-event frame: a 12-byte header, never compressed whatever bit 30 says.
constexpr DWORD kLinkEventFrame = 0xFFFFFFFF;
// The largest frame in total, header included, either way on the wire.
constexpr size_t kMaxFrameSize = 65536;
// The largest inflated payload accepted; the largest record is far smaller.
constexpr size_t kMaxInflatedLength = 1u << 20;
constexpr size_t kShortHeaderSize = 8;

inline size_t FrameHeaderSize(DWORD type) {
    return (type & kFrameReply) ? 12 : 8;
}
// 64-bit, so that a hostile length never wraps.
inline uint64_t FrameTotalSize(const tagMSGHEADER& header) {
    return FrameHeaderSize(header.type) + uint64_t(header.length);
}

DWORD ReadWireWord(const BYTE* bytes);
void WriteWireWord(BYTE* bytes, DWORD value);

// The wire bytes of an in-memory frame (header written field by field).
std::vector<BYTE> EncodeFrame(const tagMSGHEADER* frame);

// Incoming bytes gathered into one frame: the caller asks how many bytes to
// read next (never past the header mark or the frame's end), reads them into
// Space() and reports them with Commit. Once complete, the held bytes are the
// frame in memory form (header in host order).
class FrameAssembler {
public:
    enum Status { kNeedMore, kComplete, kTooLarge };

    size_t Wanted() const;
    // Room for n more bytes; stays valid until the next call.
    BYTE* Space(size_t n);
    Status Commit(size_t n);
    Status State() const { return m_state; }

    tagMSGHEADER* Frame() { return reinterpret_cast<tagMSGHEADER*>(m_bytes.data()); }
    size_t Size() const { return m_held; }
    // Hands the held frame over and starts afresh.
    std::vector<BYTE> Take();
    void Reset();

private:
    Status Check();

    std::vector<BYTE> m_bytes;
    size_t m_held = 0;
    Status m_state = kNeedMore;
};

// zlib's uncompress convention over 32-bit lengths: 0 on success, the
// inflated length reported through destLength.
typedef int (*UncompressFunction)(BYTE* dest, DWORD* destLength, const BYTE* source,
                                  DWORD sourceLength);

// Rebuilds a compressed frame (payload: u32 inflated length, then the
// compressed bytes) as the plain frame. False for a payload too short to hold
// its length word, an inflated length over the cap, data that does not
// inflate, or data that inflates to another length than stated.
bool InflateFrame(const tagMSGHEADER* frame, size_t frameSize, UncompressFunction uncompress,
                  std::vector<BYTE>& inflated);
