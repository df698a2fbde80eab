#include "knclientbase05/MessageHeader.h"

#include <cstring>

DWORD ReadWireWord(const BYTE* bytes) {
    return DWORD(bytes[0]) | DWORD(bytes[1]) << 8 | DWORD(bytes[2]) << 16 | DWORD(bytes[3]) << 24;
}

void WriteWireWord(BYTE* bytes, DWORD value) {
    for (int i = 0; i < 4; ++i)
        bytes[i] = BYTE(value >> (8 * i));
}

std::vector<BYTE> EncodeFrame(const tagMSGHEADER* frame) {
    const size_t headerSize = FrameHeaderSize(frame->type);
    std::vector<BYTE> wire(headerSize + frame->length);
    WriteWireWord(&wire[0], frame->type);
    WriteWireWord(&wire[4], frame->length);
    if (headerSize == 12)
        WriteWireWord(&wire[8], frame->result);
    if (frame->length != 0)
        memcpy(&wire[headerSize], reinterpret_cast<const BYTE*>(frame) + headerSize, frame->length);
    return wire;
}

size_t FrameAssembler::Wanted() const {
    if (m_state != kNeedMore)
        return 0;
    if (m_held < kShortHeaderSize)
        return kShortHeaderSize - m_held;
    // The header words are still in wire order until the frame completes.
    tagMSGHEADER header{ReadWireWord(&m_bytes[0]), ReadWireWord(&m_bytes[4]), 0};
    return size_t(FrameTotalSize(header) - m_held);
}

BYTE* FrameAssembler::Space(size_t n) {
    if (m_bytes.size() < m_held + n)
        m_bytes.resize(m_held + n);
    return m_bytes.data() + m_held;
}

FrameAssembler::Status FrameAssembler::Commit(size_t n) {
    m_held += n;
    m_state = Check();
    return m_state;
}

FrameAssembler::Status FrameAssembler::Check() {
    if (m_held < kShortHeaderSize)
        return kNeedMore;
    tagMSGHEADER header{ReadWireWord(&m_bytes[0]), ReadWireWord(&m_bytes[4]), 0};
    // A peer may not announce more than either side ever sends.
    if (FrameTotalSize(header) > kMaxFrameSize)
        return kTooLarge;
    if (m_held < FrameTotalSize(header))
        return kNeedMore;
    m_bytes.resize(m_held);
    tagMSGHEADER* frame = Frame();
    frame->type = header.type;
    frame->length = header.length;
    if (FrameHeaderSize(header.type) == 12)
        frame->result = ReadWireWord(&m_bytes[8]);
    return kComplete;
}

std::vector<BYTE> FrameAssembler::Take() {
    std::vector<BYTE> frame = std::move(m_bytes);
    frame.resize(m_held);
    Reset();
    return frame;
}

void FrameAssembler::Reset() {
    m_bytes.clear();
    m_held = 0;
    m_state = kNeedMore;
}

bool InflateFrame(const tagMSGHEADER* frame, size_t frameSize, UncompressFunction uncompress,
                  std::vector<BYTE>& inflated) {
    const size_t headerSize = FrameHeaderSize(frame->type);
    if (frame->length < 4 || frameSize < headerSize + frame->length)
        return false;
    const BYTE* payload = reinterpret_cast<const BYTE*>(frame) + headerSize;
    const DWORD stated = ReadWireWord(payload);
    if (stated > kMaxInflatedLength)
        return false;
    inflated.assign(headerSize + stated, 0);
    DWORD produced = stated;
    if (uncompress(inflated.data() + headerSize, &produced, payload + 4, frame->length - 4) != 0 ||
        produced != stated) {
        inflated.clear();
        return false;
    }
    memcpy(inflated.data(), frame, headerSize);
    tagMSGHEADER* plain = reinterpret_cast<tagMSGHEADER*>(inflated.data());
    plain->type &= ~kFrameCompressed;
    plain->length = produced;
    return true;
}
