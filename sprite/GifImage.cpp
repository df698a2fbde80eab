#include "sprite/GifImage.h"

#include "platform/Geometry.h"
#include "platform/system/FileIo.h"
#include "platform/system/FileStamp.h"
#include "platform/system/InputBounds.h"
#include "platform/system/Path.h"

#include <algorithm>
#include <cstring>

static_assert(sizeof(RGBQUAD) == 4, "palettes are stored as 4-byte entries");

// ---- CGifFrame ----

int CGifFrame::PaletteCount() const {
    if (!m_bBorrowedPalette)
        return int(m_localPalette.size());
    return m_globalPalette ? int(m_globalPalette->size()) : 0;
}

const RGBQUAD* CGifFrame::Palette() const {
    if (!m_bBorrowedPalette)
        return m_localPalette.data();
    return m_globalPalette ? m_globalPalette->data() : nullptr;
}

COLORREF CGifFrame::ColorOf(int index) const {
    if (index < 0 || index >= PaletteCount())
        return 0;
    const RGBQUAD& q = Palette()[index];
    return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
}

bool CGifFrame::IndexAt(int x, int y, BYTE& index) const {
    const int col = x - m_nLeft, row = y - m_nTop;
    if (col < 0 || row < 0 || col >= m_nWidth || row >= m_nHeight)
        return false;
    index = m_bits[size_t(m_nHeight - 1 - row) * size_t(Stride()) + size_t(col)];
    return true;
}

RECT CGifFrame::Clip(int sx, int sy, int w, int h) const {
    const RECT frame{m_nLeft, m_nTop, m_nLeft + m_nWidth, m_nTop + m_nHeight};
    const RECT asked{sx, sy, sx + w, sy + h};
    RECT part{0, 0, 0, 0};
    IntersectRect(&part, &frame, &asked);
    return part;
}

// ---- CGifImage ----

void CGifImage::Free() {
    m_frames.clear();
    m_globalPalette.clear();
    m_nPaletteBits = 0;
    m_background = 0;
    m_nWidth = m_nHeight = 0;
}

void CGifImage::AdoptFrames(std::vector<std::unique_ptr<CGifFrame>> frames) {
    auto palette = std::make_shared<const std::vector<RGBQUAD>>(m_globalPalette);
    m_frames.clear();
    for (auto& frame : frames) {
        frame->m_globalPalette = palette;
        m_frames.push_back(std::move(frame));
    }
}

const CGifFrame* CGifImage::GetFrame(int index) const {
    if (index < 0 || index >= GetFrameCount())
        return nullptr;
    return m_frames[size_t(index)].get();
}

std::string CGifImage::CachePath(LPCSTR gifPath) {
    std::string path = gifPath ? gifPath : "";
    const size_t dot = path.rfind('.');
    const size_t slash = path.find_last_of("\\/");
    // Only a dot of the file's own name starts its extension.
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
        path.erase(dot);
    return path + ".data";
}

namespace {

// Each picture is decoded once: text sprites come and go all game long.
StampedFileCache<CGifImage>& DecodedPictures() {
    static auto* cache = new StampedFileCache<CGifImage>(64);
    return *cache;
}

} // namespace

void CGifImage::CopyFrom(const CGifImage& other) {
    m_frames = other.m_frames; // frames are not changed once read: they are shared
    m_globalPalette = other.m_globalPalette;
    m_nPaletteBits = other.m_nPaletteBits;
    m_background = other.m_background;
    m_nWidth = other.m_nWidth;
    m_nHeight = other.m_nHeight;
}

BOOL CGifImage::Load(LPCSTR path, BOOL bCacheOnly) {
    Free();
    if (!path || !path[0])
        return FALSE;
    // Kept under the path as given when it does not depend on the working folder.
    const bool absolute = path[0] == '/' || path[0] == '\\';
    auto decoded = DecodedPictures().Get(
        (absolute ? std::string(path) : NativePath(path)) + (bCacheOnly ? "|cache" : "|gif"),
        [&] { return NativePath(bCacheOnly ? CachePath(path).c_str() : path); },
        [&](const std::string&) {
            auto image = std::make_shared<CGifImage>();
            if (!image->Decode(NativePath(path), NativePath(CachePath(path).c_str()), bCacheOnly))
                return std::shared_ptr<CGifImage>();
            image->RenderFrames();
            return image;
        });
    if (!decoded)
        return FALSE;
    CopyFrom(*decoded);
    return TRUE;
}

void CGifImage::RenderFrames() const {
    for (const auto& frame : m_frames)
        frame->Render();
}

namespace {

// A frame cache holds the frames' rows (which the budget counts), and each
// frame's record and palette: 2 KiB a frame, and one more for the header and
// the global palette, hold more than those.
constexpr size_t kMaxCacheBytes = CGifImage::kMaxTotalPixels + (CGifImage::kMaxFrames + 1) * 2048;

} // namespace

BOOL CGifImage::Decode(const std::string& gifPath, const std::string& cachePath, BOOL bCacheOnly) {
    std::string bytes;
    if (bCacheOnly) {
        return ReadWholeFile(cachePath, bytes, kMaxCacheBytes) &&
               LoadCache(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }
    if (!ReadWholeFile(gifPath, bytes, platform::kMaxPictureFileBytes) ||
        !LoadGif(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()))
        return FALSE;
    // The cache is written once: again only when it is missing, damaged or
    // holds another picture than the GIF now does.
    std::string cached;
    CGifImage previous;
    if (!ReadWholeFile(cachePath, cached, kMaxCacheBytes) ||
        !previous.LoadCache(reinterpret_cast<const uint8_t*>(cached.data()), cached.size()) ||
        !SameGifContent(previous, *this))
        WriteFileAtomically(cachePath, SaveCache()); // a folder we cannot write costs only speed
    return TRUE;
}

bool SameGifContent(const CGifImage& a, const CGifImage& b) {
    auto samePalette = [](const std::vector<RGBQUAD>& x, const std::vector<RGBQUAD>& y) {
        return x.size() == y.size() &&
               (x.empty() || memcmp(x.data(), y.data(), x.size() * sizeof(RGBQUAD)) == 0);
    };
    if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight() ||
        a.GetBackground() != b.GetBackground() || a.GetPaletteBits() != b.GetPaletteBits() ||
        a.GetFrameCount() != b.GetFrameCount() ||
        !samePalette(a.GetGlobalPalette(), b.GetGlobalPalette()))
        return false;
    for (int i = 0; i < a.GetFrameCount(); ++i) {
        const CGifFrame& x = *a.GetFrame(i);
        const CGifFrame& y = *b.GetFrame(i);
        if (x.m_nDelay != y.m_nDelay || x.m_nLeft != y.m_nLeft || x.m_nTop != y.m_nTop ||
            x.m_nWidth != y.m_nWidth || x.m_nHeight != y.m_nHeight ||
            x.m_bBorrowedPalette != y.m_bBorrowedPalette || x.m_nTransparent != y.m_nTransparent ||
            x.m_nPaletteBits != y.m_nPaletteBits || x.m_bits != y.m_bits ||
            !samePalette(x.m_localPalette, y.m_localPalette))
            return false;
    }
    return true;
}
