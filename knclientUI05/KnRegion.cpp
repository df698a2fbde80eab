// A window region from the pixels of a bitmap that differ from a key pixel.

#include "knclientUI05/DibCheck.h"
#include "knclientUI05/KnClientPublic.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// Runs are handed to the region maker 800 at a time, so one call covers
// many runs and few merges are needed.
constexpr DWORD kBatch = 800;

class RunCollector {
public:
    RunCollector() : m_buffer(sizeof(RGNDATAHEADER) + kBatch * sizeof(RECT)) { Reset(); }
    ~RunCollector() {
        if (m_result)
            DeleteObject(m_result);
    }
    RunCollector(const RunCollector&) = delete;
    RunCollector& operator=(const RunCollector&) = delete;

    void Add(int left, int right, int y) {
        RECT run{left, y, right, y + 1};
        std::memcpy(m_buffer.data() + sizeof(RGNDATAHEADER) + Header().nCount * sizeof(RECT), &run,
                    sizeof run);
        RECT& bound = Header().rcBound;
        bound.left = std::min(bound.left, run.left);
        bound.top = std::min(bound.top, run.top);
        bound.right = std::max(bound.right, run.right);
        bound.bottom = std::max(bound.bottom, run.bottom);
        if (++Header().nCount == kBatch)
            Flush();
    }
    void Flush() {
        DWORD count = Header().nCount;
        if (count == 0)
            return;
        HRGN part = ExtCreateRegion(nullptr, DWORD(sizeof(RGNDATAHEADER) + count * sizeof(RECT)),
                                    reinterpret_cast<const RGNDATA*>(m_buffer.data()));
        if (part && m_result) {
            CombineRgn(m_result, m_result, part, RGN_OR);
            DeleteObject(part);
        } else if (part) {
            m_result = part;
        }
        Reset();
    }
    HRGN Take() {
        Flush();
        HRGN result = m_result;
        m_result = nullptr;
        return result;
    }

private:
    RGNDATAHEADER& Header() { return *reinterpret_cast<RGNDATAHEADER*>(m_buffer.data()); }
    void Reset() {
        Header() = RGNDATAHEADER{sizeof(RGNDATAHEADER), RDH_RECTANGLES, 0, 0, {32767, 32767, 0, 0}};
    }

    std::vector<BYTE> m_buffer;
    HRGN m_result = nullptr;
};

} // namespace

namespace {

// The key is a pixel of the picture (keyPoint) or a colour given in 5-6-5.
struct RegionKey {
    bool fromPoint;
    int x;
    int y;
    WORD value;
};

HRGN RegionOtherThan(HBITMAP bitmap, RegionKey key) {
    int width = 0, height = 0;
    if (!bitmap || !GetBitmapExtent(bitmap, &width, &height) || width <= 0 || height <= 0)
        return nullptr;
    if (key.fromPoint) {
        // A negative coordinate means the last column or row; one past the
        // picture names no pixel.
        if (key.x < 0)
            key.x = width - 1;
        if (key.y < 0)
            key.y = height - 1;
        if (key.x >= width || key.y >= height)
            return nullptr;
    }
    // The scan runs on a 5-6-5 copy, so one 16-bit compare tests a pixel.
    void* bits = nullptr;
    HBITMAP section = CreateDibSection(width, height, 16, &bits);
    if (!section)
        return nullptr;
    if (!bits || !StretchDrawBitmap(section, bitmap, nullptr, nullptr, nullptr)) {
        DeleteObject(section);
        return nullptr;
    }
    size_t stride = DibRowLength(width, 16);
    const BYTE* rows = static_cast<const BYTE*>(bits);
    auto row = [&](int r) { return reinterpret_cast<const WORD*>(rows + size_t(r) * stride); };
    const WORD keyValue = key.fromPoint ? row(key.y)[key.x] : key.value;

    RunCollector runs;
    for (int r = 0; r < height; ++r) {
        const WORD* pixels = row(r);
        int start = -1;
        for (int c = 0; c < width; ++c) {
            if (pixels[c] != keyValue) {
                if (start < 0)
                    start = c;
            } else if (start >= 0) {
                runs.Add(start, c, r);
                start = -1;
            }
        }
        if (start >= 0)
            runs.Add(start, width, r);
    }
    DeleteObject(section);
    return runs.Take();
}

} // namespace

HRGN CreateRegionFromBitmap(HBITMAP bitmap, int x, int y) {
    return RegionOtherThan(bitmap, RegionKey{true, x, y, 0});
}

HRGN BitmapToRegion(HBITMAP bitmap, int x, int y) {
    return CreateRegionFromBitmap(bitmap, x, y);
}

HRGN BitmapToRegion(HBITMAP bitmap, COLORREF key) {
    WORD value =
        WORD((GetRValue(key) >> 3) << 11 | (GetGValue(key) >> 2) << 5 | GetBValue(key) >> 3);
    return RegionOtherThan(bitmap, RegionKey{false, 0, 0, value});
}
