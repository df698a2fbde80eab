#pragma once

// An animated GIF held as its frames: each an 8-bit bottom-up DIB with its
// palette, offset, delay and transparent index, drawn alone at its own offset
// (no compositing, no disposal). Read by the program's own block parser and
// LZW decoder, or from the frame cache beside the GIF (its path with ".data"),
// which a load of the GIF writes when it is missing or differs. A file is
// decoded once while it stays unchanged; later loads share its frames.

#include "platform/gdi/Gdi.h"
#include "platform/system/InputBounds.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CGifImage;

class CGifFrame {
public:
    // Bytes of one pixel row, padded to a multiple of 4.
    int Stride() const { return (int(m_nWidth) + 3) & ~3; }
    // Entries of the frame's colour table (its own or the global one).
    int PaletteCount() const;
    const RGBQUAD* Palette() const;
    // The palette index at a logical-screen point; false outside the frame.
    bool IndexAt(int x, int y, BYTE& index) const;
    // The colour of a palette index (black beyond the table).
    COLORREF ColorOf(int index) const;

    // Draws the part of the frame inside the logical rectangle (sx, sy, w, h)
    // at the matching place of the destination.
    void Draw(HDC hdc, int dx, int dy, int sx, int sy, int w, int h, DWORD rop) const;
    // As Draw, leaving the transparent index's pixels out.
    void DrawTransparent(HDC hdc, int dx, int dy, int sx, int sy, int w, int h, DWORD rop) const;
    // The part of the logical rectangle the frame covers; empty when none.
    RECT Clip(int sx, int sy, int w, int h) const;

    // The frame as an 8-bit bitmap with its palette, made once: frames are
    // drawn again and again, and drawing through a DIB every time is slow.
    // With a transparent index, that entry holds a key colour that no shown
    // pixel has.
    struct Rendered {
        Rendered() = default;
        ~Rendered();
        Rendered(const Rendered&) = delete;
        Rendered& operator=(const Rendered&) = delete;
        HBITMAP bitmap = nullptr;
        bool keyed = false;
        COLORREF key = 0;
    };

    WORD m_nDelay = 5; // hundredths of a second
    WORD m_nLeft = 0;
    WORD m_nTop = 0;
    WORD m_nWidth = 0;
    WORD m_nHeight = 0;
    int m_bBorrowedPalette = 1; // uses the global table
    int m_nTransparent = -1;
    std::vector<BYTE> m_bits;            // bottom-up rows of Stride() bytes
    std::vector<RGBQUAD> m_localPalette; // when not borrowed
    int m_nPaletteBits = 0;              // the table has 2^(bits + 1) entries
    // The image's global table, which a borrowing frame uses.
    std::shared_ptr<const std::vector<RGBQUAD>> m_globalPalette;

private:
    friend class CGifImage;
    // Null when the bitmaps cannot be made.
    const Rendered* Render() const;
    struct Placement;
    bool Place(int dx, int dy, int sx, int sy, int w, int h, Placement& at) const;
    struct IndexedDib;
    void Describe(IndexedDib& info) const;
    // StretchDIBits of the part at (x, y) from frame column col, row `row` (top-down).
    void DrawIndexes(HDC hdc, int x, int y, int col, int row, int w, int h, DWORD rop) const;

    mutable std::unique_ptr<Rendered> m_rendered;
    mutable bool m_bRenderTried = false;
};

class CGifImage {
public:
    // An animation's bounds (platform/system/InputBounds.h): a screen or a
    // frame beyond a picture's, more frames, or frames whose rows together
    // pass the budget are refused rather than allocated.
    static constexpr size_t kMaxFramePixels = size_t(platform::kMaxImagePixels);
    static constexpr size_t kMaxTotalPixels = size_t(platform::kMaxAnimationPixels);
    static constexpr size_t kMaxFrames = size_t(platform::kMaxAnimationFrames);
    // A screen of no size is taken (it draws nothing); a larger one than a
    // picture may have is not.
    static bool ScreenAllowed(int width, int height) {
        return (width == 0 || height == 0) || platform::ImageSizeAllowed(width, height);
    }

    // With bCacheOnly only the ".data" cache is read. Any earlier content is
    // discarded first; FALSE leaves the image empty.
    BOOL Load(LPCSTR path, BOOL bCacheOnly);
    // The same from bytes in memory.
    BOOL LoadGif(const uint8_t* data, size_t size);
    BOOL LoadCache(const uint8_t* data, size_t size);
    // The cache file's bytes for what is held.
    std::string SaveCache() const;
    void Free();

    // Null when the index is not below the frame count.
    const CGifFrame* GetFrame(int index) const;
    int GetFrameCount() const { return int(m_frames.size()); }
    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }
    COLORREF GetBackground() const { return m_background; }
    const std::vector<RGBQUAD>& GetGlobalPalette() const { return m_globalPalette; }
    int GetPaletteBits() const { return m_nPaletteBits; }

    // Makes every frame's bitmap now: the images a file is loaded into share
    // the frames, so a picture's memory is taken once, when it is first loaded.
    void RenderFrames() const;

    // The cache path for a GIF path: the name's extension becomes ".data".
    static std::string CachePath(LPCSTR gifPath);

private:
    friend class GifParser;
    friend class GifCacheReader;
    // Takes the frames, pointing them at the global table.
    void AdoptFrames(std::vector<std::unique_ptr<CGifFrame>> frames);
    // Load's reading and decoding, from the GIF or from its frame cache.
    BOOL Decode(const std::string& gifPath, const std::string& cachePath, BOOL bCacheOnly);
    void CopyFrom(const CGifImage& other);

    std::vector<std::shared_ptr<const CGifFrame>> m_frames;
    std::vector<RGBQUAD> m_globalPalette;
    int m_nPaletteBits = 0;
    COLORREF m_background = 0;
    WORD m_nWidth = 0;
    WORD m_nHeight = 0;
};

// Whether two images hold the same frames, palettes and sizes.
bool SameGifContent(const CGifImage& a, const CGifImage& b);
