#include "platform/resources/AniCursor.h"

#include "platform/window/SystemMetrics.h"

#include <cstring>

namespace platform {

namespace {

constexpr size_t kAniHeaderSize = 36;
constexpr DWORD kFramesAreIcons = 1; // AF_ICON
constexpr DWORD kMaxFrames = 1024;
constexpr DWORD kMaxSteps = 4096;

uint32_t U32(const uint8_t* bytes, size_t at) {
    return uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 | uint32_t(bytes[at + 2]) << 16 |
           uint32_t(bytes[at + 3]) << 24;
}

bool Is(const uint8_t* at, const char* id) {
    return std::memcmp(at, id, 4) == 0;
}

bool Refuse(std::string* error, const std::string& why) {
    if (error)
        *error = "animated cursor: " + why;
    return false;
}

// A chunk: its four-letter id and its bytes.
struct Chunk {
    const uint8_t* id;
    const uint8_t* data;
    size_t size;
};

// Splits [data, data + size) into chunks (each padded to an even length).
bool ReadChunks(const uint8_t* data, size_t size, std::vector<Chunk>& chunks, std::string* error) {
    size_t at = 0;
    while (at < size) {
        if (size - at < 8)
            return Refuse(error, "a chunk header is cut off");
        const size_t length = U32(data, at + 4);
        if (length > size - at - 8)
            return Refuse(error, "chunk \"" +
                                     std::string(reinterpret_cast<const char*>(data + at), 4) +
                                     "\" runs past the end of the file");
        chunks.push_back(Chunk{data + at, data + at + 8, length});
        at += 8 + length + (length & 1);
    }
    return true;
}

struct AniHeader {
    DWORD frames = 0, steps = 0, rate = 0, flags = 0;
};

bool ReadTable(const Chunk& chunk, DWORD steps, const char* what, std::vector<DWORD>& table,
               std::string* error) {
    if (chunk.size < size_t(steps) * 4)
        return Refuse(error, std::string(what) + " table is shorter than the step count");
    table.resize(steps);
    for (DWORD i = 0; i < steps; ++i)
        table[i] = U32(chunk.data, size_t(i) * 4);
    return true;
}

} // namespace

bool LooksLikeAniCursor(const uint8_t* data, size_t size) {
    return data && size >= 12 && Is(data, "RIFF") && Is(data + 8, "ACON");
}

bool IconFileFrame(const uint8_t* data, size_t size, int cx, int cy, IconParts& parts,
                   std::string* error) {
    const int type = size >= 4 ? data[2] | data[3] << 8 : 0;
    std::vector<IconDirectoryEntry> entries;
    if (!ParseIconDirectory(data, size, type == 2 ? 2 : 1, entries, error))
        return false;
    std::vector<IconCandidate> candidates;
    for (const IconDirectoryEntry& entry : entries)
        candidates.push_back(IconCandidate{entry.width, entry.height, entry.bitCount});
    const int best = cx && cy ? PickIconCandidate(candidates, cx, cy) : 0;
    const IconDirectoryEntry& entry = entries[size_t(best)];
    IconImage image;
    if (!DecodeIconImage(data + entry.offset, entry.size, image, error))
        return false;
    if (type == 2 && (entry.hotSpot.x >= image.width || entry.hotSpot.y >= image.height)) {
        if (error)
            *error = "hot spot outside the cursor";
        return false;
    }
    parts = PartsFromImage(std::move(image), type != 2, entry.hotSpot);
    return true;
}

bool ParseAniCursor(const uint8_t* data, size_t size, IconParts& parts, std::string* error) {
    if (!LooksLikeAniCursor(data, size))
        return Refuse(error, "not a RIFF ACON file");
    const size_t riffSize = U32(data, 4);
    if (riffSize < 4 || riffSize > size - 8)
        return Refuse(error, "the RIFF size runs past the end of the file");
    std::vector<Chunk> chunks;
    if (!ReadChunks(data + 12, riffSize - 4, chunks, error))
        return false;
    const Chunk* header = nullptr;
    const Chunk* rates = nullptr;
    const Chunk* sequence = nullptr;
    std::vector<Chunk> frames;
    for (const Chunk& chunk : chunks) {
        const Chunk** slot = Is(chunk.id, "anih")   ? &header
                             : Is(chunk.id, "rate") ? &rates
                             : Is(chunk.id, "seq ") ? &sequence
                                                    : nullptr;
        if (slot) {
            if (*slot)
                return Refuse(error, "chunk \"" +
                                         std::string(reinterpret_cast<const char*>(chunk.id), 4) +
                                         "\" appears twice");
            *slot = &chunk;
        } else if (Is(chunk.id, "LIST") && chunk.size >= 4 && Is(chunk.data, "fram")) {
            if (!frames.empty())
                return Refuse(error, "two frame lists");
            std::vector<Chunk> inner;
            if (!ReadChunks(chunk.data + 4, chunk.size - 4, inner, error))
                return false;
            for (const Chunk& frame : inner)
                if (Is(frame.id, "icon"))
                    frames.push_back(frame);
        }
    }
    if (!header || header->size < kAniHeaderSize)
        return Refuse(error, "the \"anih\" header is missing or short");
    AniHeader h{U32(header->data, 4), U32(header->data, 8), U32(header->data, 28),
                U32(header->data, 32)};
    if (!(h.flags & kFramesAreIcons))
        return Refuse(error, "frames are raw bitmaps, not icons");
    if (h.frames == 0 || h.frames > kMaxFrames)
        return Refuse(error, "frame count " + std::to_string(h.frames) + " is out of range");
    if (frames.size() != h.frames)
        return Refuse(error, "the header says " + std::to_string(h.frames) +
                                 " frames, the file holds " + std::to_string(frames.size()));
    IconParts result;
    if (sequence) {
        if (h.steps == 0 || h.steps > kMaxSteps)
            return Refuse(error, "step count " + std::to_string(h.steps) + " is out of range");
        std::vector<DWORD> order;
        if (!ReadTable(*sequence, h.steps, "sequence", order, error))
            return false;
        for (DWORD frame : order) {
            if (frame >= h.frames)
                return Refuse(error, "the sequence names frame " + std::to_string(frame) + " of " +
                                         std::to_string(h.frames));
            result.sequence.push_back(int(frame));
        }
    } else {
        h.steps = h.frames; // without a sequence every frame is one step
        for (DWORD i = 0; i < h.frames; ++i)
            result.sequence.push_back(int(i));
    }
    if (rates) {
        if (!ReadTable(*rates, h.steps, "rate", result.rates, error))
            return false;
    } else {
        result.rates.assign(h.steps, h.rate);
    }
    const int cx = GetSystemMetrics(SM_CXCURSOR), cy = GetSystemMetrics(SM_CYCURSOR);
    for (size_t i = 0; i < frames.size(); ++i) {
        IconParts frame;
        std::string why;
        if (!IconFileFrame(frames[i].data, frames[i].size, cx, cy, frame, &why))
            return Refuse(error, "frame " + std::to_string(i + 1) + ": " + why);
        frame.isIcon = false;
        result.frames.push_back(std::move(frame));
    }
    const IconParts& first = result.frames[size_t(result.sequence[0])];
    result.isIcon = false;
    result.width = first.width;
    result.height = first.height;
    result.hotSpot = first.hotSpot;
    result.bitCount = first.bitCount;
    result.hasAlpha = first.hasAlpha;
    result.monochrome = first.monochrome;
    result.colour = first.colour;
    result.andMask = first.andMask;
    parts = std::move(result);
    return true;
}

bool GetAnimatedCursorInfo(HCURSOR cursor, AnimatedCursorInfo& info) {
    const IconParts* parts = IconPartsOf(reinterpret_cast<HICON>(cursor));
    if (!parts || parts->frames.empty())
        return false;
    info.frameCount = int(parts->frames.size());
    info.rates = parts->rates;
    info.sequence = parts->sequence;
    return true;
}

int AnimatedCursorFrameAt(HCURSOR cursor, DWORD elapsedMs) {
    const IconParts* parts = IconPartsOf(reinterpret_cast<HICON>(cursor));
    if (!parts || parts->frames.empty())
        return -1;
    uint64_t cycle = 0; // in ms; a jiffy is 1/60 s
    for (DWORD rate : parts->rates)
        cycle += uint64_t(rate) * 1000 / 60;
    if (cycle == 0)
        return parts->sequence[0];
    uint64_t at = elapsedMs % cycle;
    for (size_t step = 0; step < parts->rates.size(); ++step) {
        const uint64_t length = uint64_t(parts->rates[step]) * 1000 / 60;
        if (at < length)
            return parts->sequence[step];
        at -= length;
    }
    return parts->sequence.back();
}

bool GetAnimatedCursorFrame(HCURSOR cursor, int frame, CursorShape& shape) {
    const IconParts* parts = IconPartsOf(reinterpret_cast<HICON>(cursor));
    if (!parts || frame < 0 || size_t(frame) >= parts->frames.size())
        return false;
    const IconParts& picture = parts->frames[size_t(frame)];
    shape = CursorShape{};
    shape.width = picture.width;
    shape.height = picture.height;
    shape.hotSpot = picture.hotSpot;
    shape.pixels = DisplayPixels(picture);
    return true;
}

} // namespace platform
